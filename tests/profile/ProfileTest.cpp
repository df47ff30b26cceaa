#include "platform/profile/Profile.h"
#include "tests/ini/TempFolder.h"
#include "tests/ini/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using somnex::test::ReadFile;
using somnex::test::TempFolder;
using somnex::test::WriteFile;

namespace {

class ProfileTest : public testing::Test {
protected:
    TempFolder dir;
    std::string file = dir / "p.ini";

    std::string Get(const char* s, const char* k) { return plat::GetProfileString(file, s, k, "<none>"); }
    void Put(const char* s, const char* k, const char* v) {
        ASSERT_TRUE(plat::WriteProfileString(file, s, k, v));
    }
};

// Each write is followed by the exact file bytes it must leave.
struct WriteCase {
    const char* name;
    const char* before; // nullptr: no file yet
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class ProfileWriteTest : public ProfileTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(ProfileWriteTest, LeavesExactBytes) {
    const auto& c = GetParam();
    if (c.before) WriteFile(file, c.before);
    Put(c.section, c.key, c.value);
    EXPECT_EQ(ReadFile(file), c.after);
    EXPECT_EQ(dir.Listing(), "p.ini;"); // no temporary file stays
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWriteTest,
    testing::Values(
        WriteCase{"NewFile", nullptr, "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"NewSectionAfterLastLine", "[A]\r\nx=1\r\n\r\n", "B", "k", "v",
                  "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        WriteCase{"NewSectionAddsMissingLineEnd", "[A]\r\nx=1", "B", "k", "v",
                  "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        WriteCase{"NewKeyEndsItsSection", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3",
                  "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"NewKeyInLastSection", "[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"ReplaceKeepsPlaceAndSpelling", "[Sec]\r\nKey = old \r\nz=1\r\n", "SEC", "key", "new",
                  "[Sec]\r\nKey=new\r\nz=1\r\n"},
        WriteCase{"BlanksRemovedOnWrite", nullptr, " S ", " k ", "  v w  ", "[S]\r\nk=v w\r\n"},
        WriteCase{"LfFileBecomesCrLf", "[A]\nx=1\ny=2\n", "A", "x", "9", "[A]\r\nx=9\r\ny=2\r\n"},
        WriteCase{"LineBreakCannotStartNewLines", nullptr, "S", "k", "v\r\n[Evil]\r\nx=1", "[S]\r\nk=v\r\n"},
        WriteCase{"FirstOfTwoSectionsUsed", "[A]\r\nx=1\r\n[A]\r\nx=2\r\n", "A", "x", "3",
                  "[A]\r\nx=3\r\n[A]\r\nx=2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileTest, WriteThatChangesNothingKeepsBytes) {
    const std::string original = "; comment\n[A]\n  x = 1  \ny=\"q\"\n"; // LF ends, blanks, quotes
    WriteFile(file, original);
    struct stat before;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    Put("a", "X", "1");
    Put("A", "y", "\"q\"");
    EXPECT_TRUE(plat::DeleteProfileKey(file, "A", "missing"));
    EXPECT_TRUE(plat::EraseProfileSection(file, "Missing"));
    EXPECT_EQ(ReadFile(file), original);
    struct stat after;
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

struct ReadCase {
    const char* name;
    const char* line;
    const char* expected;
};

class ProfileReadTest : public ProfileTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ProfileReadTest, Value) {
    WriteFile(file, std::string("[S]\r\n") + GetParam().line + "\r\n");
    EXPECT_EQ(Get("s", "KEY"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadTest,
    testing::Values(ReadCase{"Plain", "key=value", "value"}, ReadCase{"Blanks", "  Key \t=  a b  ", "a b"},
                    ReadCase{"DoubleQuotes", "key=\" a \"", " a "}, ReadCase{"SingleQuotes", "key='x'", "x"},
                    ReadCase{"MixedQuotesStay", "key=\"x'", "\"x'"},
                    ReadCase{"LoneQuoteStays", "key=\"", "\""},
                    ReadCase{"FirstEqualsSplits", "key=a=b", "a=b"}, ReadCase{"Empty", "key=", ""},
                    ReadCase{"Comment", ";key=x", "<none>"}, ReadCase{"NoEquals", "key", "<none>"}),
    [](const auto& info) { return std::string(info.param.name); });

class ProfileLineEndTest : public ProfileTest, public testing::WithParamInterface<const char*> {};

TEST_P(ProfileLineEndTest, ReadsEveryLineEnd) {
    const std::string eol = GetParam();
    WriteFile(file, "[A]" + eol + "x=1" + eol + "[B]" + eol + "y=2");
    EXPECT_EQ(Get("A", "x"), "1");
    EXPECT_EQ(Get("B", "y"), "2");
    EXPECT_EQ(Get("A", "y"), "<none>");
}

INSTANTIATE_TEST_SUITE_P(Ends, ProfileLineEndTest, testing::Values("\r\n", "\n", "\r"));

TEST_F(ProfileTest, ReadsAreCutToTheBuffer) {
    Put("S", "k", std::string(5000, 'x').c_str());
    EXPECT_EQ(plat::GetProfileString(file, "S", "k", "").size(), 2047u);
    EXPECT_EQ(plat::GetProfileString(file, "S", "k", "", 11), "xxxxxxxxxx");
    EXPECT_EQ(plat::GetProfileString(file, "S", "missing", "defaultvalue", 4), "def");
}

TEST_F(ProfileTest, KeyEnumerationStopsAtItsBuffer) {
    for (int i = 0; i < 3; ++i) Put("S", ("Key" + std::to_string(i)).c_str(), "v");
    EXPECT_EQ(plat::GetProfileKeys(file, "s"), (std::vector<std::string>{"Key0", "Key1", "Key2"}));
    // 5 + 5 + "Ke" + terminators fill a buffer of 14.
    EXPECT_EQ(plat::GetProfileKeys(file, "S", 14), (std::vector<std::string>{"Key0", "Key1", "Ke"}));
    EXPECT_TRUE(plat::GetProfileKeys(file, "None").empty());
}

TEST_F(ProfileTest, DeleteAndErase) {
    WriteFile(file, "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n");
    ASSERT_TRUE(plat::DeleteProfileKey(file, "a", "X"));
    EXPECT_EQ(ReadFile(file), "[A]\r\n; note\r\n\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n");
    ASSERT_TRUE(plat::EraseProfileSection(file, "b"));
    EXPECT_EQ(ReadFile(file), "[A]\r\n; note\r\n\r\n[C]\r\nz=3\r\n");
    ASSERT_TRUE(plat::EraseProfileSection(file, "A"));
    EXPECT_EQ(ReadFile(file), "[C]\r\nz=3\r\n");
}

TEST_F(ProfileTest, OtherWritersAreSeenAtOnce) {
    Put("S", "k", "1");
    EXPECT_EQ(Get("S", "k"), "1");
    WriteFile(file, "[S]\r\nk=22\r\n");
    EXPECT_EQ(Get("S", "k"), "22");
    std::filesystem::remove(file);
    EXPECT_EQ(Get("S", "k"), "<none>");
    // And every write of ours is in the file before the call returns.
    Put("S", "k", "3");
    Put("S", "j", "4");
    EXPECT_EQ(ReadFile(file), "[S]\r\nk=3\r\nj=4\r\n");
}

TEST_F(ProfileTest, ReadOnlyFolderRefusesAndLeavesFile) {
    somnex::test::Unprivileged unprivileged(dir.Dir());
    ASSERT_TRUE(unprivileged.Ok());
    Put("S", "k", "1");
    std::filesystem::permissions(dir.Dir(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(plat::WriteProfileString(file, "S", "k", "2"));
    EXPECT_FALSE(plat::WriteProfileString(file, "S", "k", std::string(5000, 'y')));
    EXPECT_FALSE(plat::WriteProfileString(dir / "new.ini", "S", "k", "1"));
    std::filesystem::permissions(dir.Dir(), std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadFile(file), "[S]\r\nk=1\r\n");
    EXPECT_EQ(Get("S", "k"), "1");
    EXPECT_EQ(dir.Listing(), "p.ini;");
}

TEST_F(ProfileTest, UnreadableOrReadOnlyFileIsNeverReplaced) {
    somnex::test::Unprivileged unprivileged(dir.Dir());
    ASSERT_TRUE(unprivileged.Ok());
    WriteFile(file, "[S]\r\nk=1\r\n");
    chmod(file.c_str(), 0200);
    EXPECT_EQ(Get("S", "k"), "<none>");
    EXPECT_FALSE(plat::WriteProfileString(file, "S", "j", "2"));
    chmod(file.c_str(), 0400);
    EXPECT_FALSE(plat::WriteProfileString(file, "S", "j", "2"));
    EXPECT_EQ(ReadFile(file), "[S]\r\nk=1\r\n");
}

TEST_F(ProfileTest, NamesThatWouldBreakTheFileAreRefused) {
    EXPECT_FALSE(plat::WriteProfileString(file, "A]x", "k", "v"));
    EXPECT_FALSE(plat::WriteProfileString(file, "A", "k=x", "v"));
    EXPECT_FALSE(plat::WriteProfileString(file, "A", "k\nx", "v"));
    EXPECT_FALSE(plat::WriteProfileString(file, "A", "", "v"));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ProfileTest, KeepsFileMode) {
    Put("S", "k", "1");
    chmod(file.c_str(), 0640);
    Put("S", "k", "2"); // a rewrite through a new file
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

} // namespace
