#include "platform/path/Path.h"

#include <gtest/gtest.h>

using plat::PathFlavour;

namespace {

struct RelativeCase {
    PathFlavour flavour;
    const char* base;
    const char* path;
    const char* expected;
};

class MakeRelativePathTest : public testing::TestWithParam<RelativeCase> {};

TEST_P(MakeRelativePathTest, FromBaseFolder) {
    const auto& c = GetParam();
    EXPECT_EQ(plat::MakeRelativePath(c.path, c.base, c.flavour), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeRelativePathTest,
    testing::Values(
        RelativeCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "C:\\Shows\\Pics\\gull.jpg",
                     "..\\Pics\\gull.jpg"},
        RelativeCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "C:\\Shows\\Sea\\gull.jpg", "gull.jpg"},
        RelativeCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "E:\\gull.jpg", "E:\\gull.jpg"},
        RelativeCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "", ""},
        // Drive and folder names compare without letter case on Windows.
        RelativeCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "c:\\SHOWS\\sea\\a\\b.jpg", "a\\b.jpg"},
        RelativeCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "C:\\x.jpg", "..\\..\\x.jpg"},
        RelativeCase{PathFlavour::Windows, "\\\\server\\share\\Sea\\", "\\\\SERVER\\share\\Pics\\a.jpg",
                     "..\\Pics\\a.jpg"},
        RelativeCase{PathFlavour::Windows, "\\\\server\\share\\Sea\\", "\\\\other\\share\\a.jpg",
                     "\\\\other\\share\\a.jpg"},
        RelativeCase{PathFlavour::Windows, "\\\\server\\share\\Sea\\", "C:\\Sea\\a.jpg", "C:\\Sea\\a.jpg"},
        RelativeCase{PathFlavour::Posix, "/home/u/Shows/Sea/", "/home/u/Shows/Pics/gull.jpg",
                     "../Pics/gull.jpg"},
        RelativeCase{PathFlavour::Posix, "/home/u/Shows/Sea/", "/home/u/Shows/Sea/gull.jpg", "gull.jpg"},
        RelativeCase{PathFlavour::Posix, "/home/u/Shows/Sea/", "/media/x/gull.jpg",
                     "../../../../media/x/gull.jpg"},
        // POSIX file names are case-sensitive: "sea" is another folder.
        RelativeCase{PathFlavour::Posix, "/home/u/Sea/", "/home/u/sea/a.jpg", "../sea/a.jpg"},
        RelativeCase{PathFlavour::Posix, "/home/u/Sea/", "", ""},
        RelativeCase{PathFlavour::Posix, "/home/u/Sea/", "already/relative.jpg", "already/relative.jpg"}));

struct ExpandCase {
    PathFlavour flavour;
    const char* current;
    const char* path;
    const char* expected;
};

class ExpandFileNameTest : public testing::TestWithParam<ExpandCase> {};

TEST_P(ExpandFileNameTest, AgainstCurrentFolder) {
    const auto& c = GetParam();
    EXPECT_EQ(plat::ExpandFileName(c.path, c.current, c.flavour), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandFileNameTest,
    testing::Values(
        ExpandCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "..\\Pics\\gull.jpg",
                   "C:\\Shows\\Pics\\gull.jpg"},
        ExpandCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "gull.jpg", "C:\\Shows\\Sea\\gull.jpg"},
        ExpandCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "E:\\a\\.\\b\\..\\gull.jpg", "E:\\a\\gull.jpg"},
        ExpandCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "\\root.jpg", "C:\\root.jpg"},
        ExpandCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "..\\..\\..\\..\\x.jpg", "C:\\x.jpg"},
        ExpandCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "\\\\server\\share\\a\\..\\b.jpg",
                   "\\\\server\\share\\b.jpg"},
        ExpandCase{PathFlavour::Windows, "C:\\Shows\\Sea\\", "", ""},
        ExpandCase{PathFlavour::Posix, "/home/u/Sea/", "../Pics/gull.jpg", "/home/u/Pics/gull.jpg"},
        // A relative path a Windows host stored with backslashes.
        ExpandCase{PathFlavour::Posix, "/home/u/Sea/", "..\\Pics\\gull.jpg", "/home/u/Pics/gull.jpg"},
        ExpandCase{PathFlavour::Posix, "/home/u/Sea", "gull.jpg", "/home/u/Sea/gull.jpg"},
        ExpandCase{PathFlavour::Posix, "/home/u/Sea/", "/abs/./x/../y.jpg", "/abs/y.jpg"},
        ExpandCase{PathFlavour::Posix, "/home/u/Sea/", "sub/", "/home/u/Sea/sub/"}));

struct PartsCase {
    PathFlavour flavour;
    const char* path;
    const char* drive;
    const char* folder;
    const char* name;
};

class PathPartsTest : public testing::TestWithParam<PartsCase> {};

TEST_P(PathPartsTest, Split) {
    const auto& c = GetParam();
    EXPECT_EQ(plat::ExtractFileDrive(c.path, c.flavour), c.drive);
    EXPECT_EQ(plat::ExtractFilePath(c.path, c.flavour), c.folder);
    EXPECT_EQ(plat::ExtractFileName(c.path, c.flavour), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathPartsTest,
    testing::Values(PartsCase{PathFlavour::Windows, "D:\\Shows\\Sea.ini", "D:", "D:\\Shows\\", "Sea.ini"},
                    PartsCase{PathFlavour::Windows, "\\\\server\\share\\Sea.ini", "\\\\server\\share",
                              "\\\\server\\share\\", "Sea.ini"},
                    PartsCase{PathFlavour::Windows, "\\\\server\\share", "\\\\server\\share", "\\\\server\\",
                              "share"},
                    PartsCase{PathFlavour::Windows, "C:name.ini", "C:", "C:", "name.ini"},
                    PartsCase{PathFlavour::Posix, "/home/u/Sea.ini", "", "/home/u/", "Sea.ini"},
                    PartsCase{PathFlavour::Posix, "Sea.ini", "", "", "Sea.ini"}));

TEST(PathDelimiters, IncludeAndExclude) {
    EXPECT_EQ(plat::IncludeTrailingPathDelimiter("C:\\a", PathFlavour::Windows), "C:\\a\\");
    EXPECT_EQ(plat::IncludeTrailingPathDelimiter("C:\\a\\", PathFlavour::Windows), "C:\\a\\");
    EXPECT_EQ(plat::ExcludeTrailingPathDelimiter("/a/", PathFlavour::Posix), "/a");
    EXPECT_EQ(plat::ExcludeTrailingPathDelimiter("/a", PathFlavour::Posix), "/a");
    EXPECT_TRUE(plat::SameDrive("c:\\x", "C:\\y", PathFlavour::Windows));
    EXPECT_FALSE(plat::SameDrive("C:\\x", "D:\\x", PathFlavour::Windows));
}

TEST(CurrentFolder, SetAndGet) {
    std::string old = plat::GetCurrentFolder();
    ASSERT_TRUE(plat::SetCurrentFolder("/"));
    EXPECT_EQ(plat::GetCurrentFolder(), "/");
    EXPECT_EQ(plat::ExpandFileName("tmp/x"), "/tmp/x");
    EXPECT_FALSE(plat::SetCurrentFolder("/no/such/folder/here"));
    ASSERT_TRUE(plat::SetCurrentFolder(old));
}

} // namespace
