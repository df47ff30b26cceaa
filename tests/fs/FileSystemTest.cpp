#include "platform/fs/FileSystem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (fs::temp_directory_path() /
               ("somnex-fs-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}())))
                  .string() +
              "/";
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const std::string& name, const std::string& text) { std::ofstream(dir + name) << text; }
    std::string Read(const std::string& name) {
        std::ifstream in(dir + name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string dir;
};

TEST_F(FileSystemTest, FilesAndFoldersAreTellApart) {
    Write("a.ini", "x");
    EXPECT_TRUE(plat::FileExists(dir + "a.ini"));
    EXPECT_FALSE(plat::DirectoryExists(dir + "a.ini"));
    EXPECT_TRUE(plat::DirectoryExists(dir));
    EXPECT_FALSE(plat::FileExists(dir));
    EXPECT_FALSE(plat::FileExists(""));
    EXPECT_FALSE(plat::DirectoryExists(""));
}

TEST_F(FileSystemTest, CopyWithoutOverwriteKeepsTheTarget) {
    Write("src", "new");
    Write("dst", "old");
    EXPECT_FALSE(plat::CopyFile(dir + "src", dir + "dst", true));
    EXPECT_EQ(Read("dst"), "old");
    EXPECT_TRUE(plat::CopyFile(dir + "src", dir + "dst", false));
    EXPECT_EQ(Read("dst"), "new");
    EXPECT_TRUE(plat::CopyFile(dir + "src", dir + "fresh", true));
    EXPECT_EQ(Read("fresh"), "new");
    EXPECT_FALSE(plat::CopyFile(dir + "missing", dir + "other", false));
    EXPECT_FALSE(plat::FileExists(dir + "other"));
}

TEST_F(FileSystemTest, DeleteTouchesOnlyFiles) {
    Write("f", "x");
    fs::create_directory(dir + "sub");
    EXPECT_FALSE(plat::DeleteFile(dir + "sub"));
    EXPECT_TRUE(plat::DirectoryExists(dir + "sub"));
    EXPECT_TRUE(plat::DeleteFile(dir + "f"));
    EXPECT_FALSE(plat::DeleteFile(dir + "f"));
    EXPECT_TRUE(plat::RemoveDir(dir + "sub"));
}

TEST_F(FileSystemTest, CurrentFolderAndFullPaths) {
    std::string before = plat::GetCurrentDir();
    ASSERT_TRUE(plat::SetCurrentDir(dir));
    EXPECT_EQ(fs::path(plat::GetCurrentDir()), fs::canonical(dir));
    EXPECT_EQ(plat::ExpandFileName("x/../Sea.ini"), (fs::current_path() / "Sea.ini").string());
    EXPECT_EQ(plat::ExpandFileName("/a/./b/../c"), "/a/c");
    EXPECT_FALSE(plat::SetCurrentDir(dir + "missing"));
    plat::SetCurrentDir(before);
}

TEST(ShortPath, APathWithABlankStaysAsItIs) {
    EXPECT_EQ(plat::ShortPathName("/opt/My Shows/libsomnex.so"), "/opt/My Shows/libsomnex.so");
}

} // namespace
