// The engine's message and folder services, linked directly so a scripted handler can watch them.
#include "engine/com/Unit_Somnex.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

struct Box {
    std::string caption, text;
    uint32_t flags;
};

class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::SetMessageBoxHandler([this](const std::string& c, const std::string& t, uint32_t f) {
            boxes.push_back({c, t, f});
            return plat::DefaultButton(f); // what Enter presses
        });
        dir = (fs::temp_directory_path() /
               ("somnex-svc-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}())))
                  .string() +
              "/";
        fs::create_directories(dir);
    }
    void TearDown() override {
        plat::SetMessageBoxHandler({});
        somnex::SetMessageCaption("");
        fs::remove_all(dir);
    }
    std::vector<Box> boxes;
    std::string dir;
};

TEST_F(ServicesTest, AskYesNoAddsYesNoWithNoAsDefault) {
    somnex::SetMessageCaption("Pictavio");
    EXPECT_EQ(somnex::AskYesNo("Overwrite?", plat::MB_ICONQUESTION), plat::IDNO);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Pictavio");
    EXPECT_EQ(boxes[0].flags, 292u);
}

TEST_F(ServicesTest, InfoAndErrorUseTheCommonCaptionAndTheirFlags) {
    somnex::ShowInfo("You input wrong parameter.", plat::MB_ICONINFORMATION);
    somnex::SetMessageCaption("Vectavio");
    somnex::ShowError("Disk full", plat::MB_ICONERROR);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, ""); // empty until the host gives its title
    EXPECT_EQ(boxes[0].flags, 64u);
    EXPECT_EQ(boxes[1].caption, "Vectavio");
    EXPECT_EQ(boxes[1].text, "Disk full");
    EXPECT_EQ(boxes[1].flags, 16u);
}

struct FolderCase {
    const char* name;
    const char* path; // below the test folder
    bool result;
    const char* mustExist;
};

class CreateFolder : public ServicesTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(CreateFolder, MakesMissingParentsFirst) {
    std::ofstream(dir + "file") << "x";
    fs::create_directory(dir + "there");
    EXPECT_EQ(somnex::CreateFolderPath(dir + GetParam().path), GetParam().result);
    if (*GetParam().mustExist) {
        EXPECT_TRUE(fs::is_directory(dir + GetParam().mustExist));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateFolder,
                         ::testing::Values(FolderCase{"one_level", "a", true, "a"},
                                           FolderCase{"deep", "a/b/c", true, "a/b/c"},
                                           FolderCase{"trailing_delimiter", "a/b/", true, "a/b"},
                                           FolderCase{"existing", "there", true, "there"},
                                           FolderCase{"doubled_delimiters", "a//b", true, "a/b"},
                                           FolderCase{"under_a_file", "file/sub", false, ""},
                                           FolderCase{"is_a_file", "file", false, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ServicesTest, CreateFolderPathOnAnExistingFolderCreatesNothing) {
    fs::create_directory(dir + "there");
    EXPECT_TRUE(somnex::CreateFolderPath(dir + "there/"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir + "there"), fs::directory_iterator()), 0);
    EXPECT_TRUE(somnex::CreateFolderPath("/"));
}

TEST_F(ServicesTest, RelativeFoldersGrowFromTheCurrentFolder) {
    fs::path before = fs::current_path();
    fs::current_path(dir);
    EXPECT_TRUE(somnex::CreateFolderPath("ab"));
    EXPECT_TRUE(somnex::CreateFolderPath("x/y/"));
    fs::current_path(before);
    EXPECT_TRUE(fs::is_directory(dir + "ab"));
    EXPECT_TRUE(fs::is_directory(dir + "x/y"));
}

TEST_F(ServicesTest, EmptyPathIsAnError) {
    try {
        somnex::CreateFolderPath("");
        FAIL() << "no error";
    } catch (const somnex::EngineError& e) {
        EXPECT_STREQ(e.what(), "Unable to create directory");
    }
}

TEST(EngineParams, ReplacedWholeAndCopiedWithNullsAsEmptyTexts) {
    const char* first[] = {"a", "b", "c"};
    const char* second[] = {nullptr, "y"};
    auto* engine = new somnex::TSomnex;
    engine->SetParams(first, 2);
    engine->SetParams(second, 1);
    EXPECT_EQ(engine->EngineParams, (somnex::TEngineParams{"", "y"}));
    engine->SetParams(first, -1);
    EXPECT_TRUE(engine->EngineParams.empty());
    engine->SetParams(nullptr, 3);
    EXPECT_TRUE(engine->EngineParams.empty());
    engine->Release();
}

} // namespace
