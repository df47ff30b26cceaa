#include "EngineLibrary.h"

#include <filesystem>

namespace {

using enginetest::BoxesOf;
using enginetest::EngineTest;

constexpr const char* kWrongParameter = "[] You input wrong parameter. [OK] -> OK\n";

class CompilerTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        project = MakeFile("Sea.ini");
        compiler = Create<IScrCompiler>(CLSID_PcvCompiler, IID_IScrCompiler);
        ASSERT_NE(compiler, nullptr);
    }
    void TearDown() override {
        if (compiler) compiler->Release();
        EngineTest::TearDown();
    }
    // The seven entries of a slideshow compile writing to output.
    void GiveList(const std::string& output) {
        std::string work = dir + "work/";
        const char* list[] = {"player.exe", output.c_str(), project.c_str(), work.c_str(),
                              "params.db",  "images.db",    "music.db"};
        compiler->SetParams(list, 6);
    }
    bool Compile(std::string& boxes) {
        bool result = true;
        boxes = BoxesOf([&] { result = compiler->Compile(0); });
        return result;
    }

    std::string project;
    IScrCompiler* compiler = nullptr;
};

TEST_F(CompilerTest, EmptyListIsAWrongParameter) {
    compiler->SetParams(nullptr, -1);
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    EXPECT_EQ(boxes, kWrongParameter);
}

struct CountCase {
    const char* name;
    CLSID clsid;
    int32_t last;
    bool accepted;
};

class ParameterCount : public EngineTest, public ::testing::WithParamInterface<CountCase> {};

// Right count and an existing project get past the check to the work itself;
// any other count stops at it.
TEST_P(ParameterCount, IsCheckedBeforeAnythingElse) {
    // A project section without the project mark: every kind refuses it once past the count.
    std::string project = MakeFile("p.ini");
    std::ofstream(project, std::ios::app) << "Version=2.0\r\n";
    std::string output = dir + "out.scr";
    const char* list[] = {"player", output.c_str(), project.c_str(), "w/", "a", "b", "c", "d"};
    if (GetParam().clsid == CLSID_PcvPreview || GetParam().clsid == CLSID_VcvPreview)
        list[0] = project.c_str();
    auto* object = Create<IUnknown>(GetParam().clsid, IID_IUnknown);
    ISomnex* engine = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_ISomnex, reinterpret_cast<void**>(&engine)), S_OK);
    engine->SetParams(list, GetParam().last);
    void* p = nullptr;
    bool result = true;
    std::string boxes = BoxesOf([&] {
        if (SUCCEEDED(object->QueryInterface(IID_IScrCompiler, &p))) {
            result = static_cast<IScrCompiler*>(p)->Compile(0);
            static_cast<IScrCompiler*>(p)->Release();
        } else if (SUCCEEDED(object->QueryInterface(IID_IScrPreview, &p))) {
            result = static_cast<IScrPreview*>(p)->Preview(false, 0);
            static_cast<IScrPreview*>(p)->Release();
        }
    });
    EXPECT_FALSE(result);
    if (GetParam().accepted) {
        // Past the check the work itself starts, and stops at what this bare fixture lacks.
        EXPECT_EQ(boxes.find("You input wrong parameter."), std::string::npos) << boxes;
        EXPECT_NE(boxes.find("[OK] -> OK"), std::string::npos) << boxes;
    } else {
        EXPECT_EQ(boxes, kWrongParameter);
    }
    engine->Release();
    object->Release();
}

INSTANTIATE_TEST_SUITE_P(Cases, ParameterCount,
                         ::testing::Values(CountCase{"pcv_seven", CLSID_PcvCompiler, 6, true},
                                           CountCase{"pcv_six", CLSID_PcvCompiler, 5, false},
                                           CountCase{"pcv_eight", CLSID_PcvCompiler, 7, false},
                                           CountCase{"vcv_six", CLSID_VcvCompiler, 5, true},
                                           CountCase{"vcv_seven", CLSID_VcvCompiler, 6, false},
                                           CountCase{"pcv_preview_one", CLSID_PcvPreview, 0, true},
                                           CountCase{"pcv_preview_two", CLSID_PcvPreview, 1, false},
                                           CountCase{"vcv_preview_one", CLSID_VcvPreview, 0, true},
                                           CountCase{"vcv_preview_none", CLSID_VcvPreview, -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CompilerTest, MissingProjectFileIsAWrongParameter) {
    project = dir + "missing.ini";
    GiveList(dir + "out.scr");
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    EXPECT_EQ(boxes, kWrongParameter);
}

TEST_F(CompilerTest, ANewShorterListLeavesNoTraceOfTheOldOne) {
    GiveList(dir + "out.scr");
    const char* shorter[] = {"a", "b"};
    compiler->SetParams(shorter, 1);
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    EXPECT_EQ(boxes, kWrongParameter);
}

TEST_F(CompilerTest, ListIsCopiedSoTheHostMayReuseItsArray) {
    std::string output = dir + "out.scr";
    std::string text = project;
    const char* list[] = {"p", output.c_str(), text.c_str(), "w/", "a", "b", "c"};
    compiler->SetParams(list, 6);
    text.assign(text.size(), 'x'); // the host overwrites its text
    list[2] = nullptr;             // and its array
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    // The build got the project and went on to the work folder and database the list named.
    EXPECT_NE(boxes.find("w/a'"), std::string::npos) << boxes;
}

// Null entries keep the places of the entries after them: the project still sits at index 2.
TEST_F(CompilerTest, NullEntriesBecomeEmptyTextsInPlace) {
    const char* list[] = {nullptr, nullptr, project.c_str(), nullptr, "a", "b", "c"};
    compiler->SetParams(list, 6);
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    // The project was found at index 2; the empty output name at index 1 is what stops the build.
    EXPECT_NE(boxes.find("[] Not specify package file name. [OK] -> OK\n"), std::string::npos) << boxes;
}

TEST_F(CompilerTest, MissingOutputFolderIsOfferedWithNoAsDefault) {
    std::string folder = dir + "new/deeper/";
    GiveList(folder + "Sea.scr");
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    EXPECT_EQ(boxes,
              "[] This output folder did not exist. Do you want to create this folder? [Yes/No] -> No\n");
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(CompilerTest, AcceptedFolderIsCreatedBeforeTheBuild) {
    ::setenv("SOMNEX_ANSWER", "yes", 1);
    std::string folder = dir + "new/deeper/";
    GiveList(folder + "Sea.scr");
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    // Past the question the build starts, and stops at the work folder this fixture never made.
    EXPECT_NE(boxes.find("[] Cannot open database file '" + dir + "work/params.db'"), std::string::npos)
        << boxes;
}

TEST_F(CompilerTest, ExistingOutputIsNotOverwrittenWithoutYes) {
    std::string output = MakeFile("Sea.scr");
    GiveList(output);
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    EXPECT_EQ(boxes, "[] The file \"Sea.scr\" is existing, Do you want to overwrite it? [Yes/No] -> No\n");
    EXPECT_TRUE(std::filesystem::exists(output));
}

TEST_F(CompilerTest, TheSameObjectCompilesAgainAfterANewList) {
    compiler->SetParams(nullptr, -1);
    std::string boxes;
    EXPECT_FALSE(Compile(boxes));
    GiveList(dir + "out.scr");
    EXPECT_FALSE(Compile(boxes));
    EXPECT_NE(boxes.find("[] Cannot open database file '" + dir + "work/params.db' [OK] -> OK\n"),
              std::string::npos)
        << boxes;
}

} // namespace
