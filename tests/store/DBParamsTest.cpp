#include "engine/store/TTinyDatabase.h"
#include "engine/store/Unit_DBParams.h"
#include "somnex/EngineError.h"
#include "tests/store/TempDir.h"

#include <gtest/gtest.h>

using namespace somnex;

namespace {

class DBParamsTest : public ::testing::Test {
protected:
    void SetUp() override {
        params.Password = "secret";
        params.Open(file);
    }
    // All records of the Params table as SECTION/KEY=VALUE, read through the store itself.
    std::vector<std::string> records() {
        TTinyTable t;
        t.SetDatabaseName(file);
        t.SetPassword("secret");
        t.SetTableName("Params");
        t.Open();
        std::vector<std::string> out;
        for (t.First(); !t.Eof(); t.Next())
            out.push_back(t.FieldByName("Section").AsString() + "/" + t.FieldByName("Key").AsString() + "=" +
                          t.FieldByName("Value").AsString());
        return out;
    }
    TempDir dir;
    std::string file = dir.file("params.db");
    TTinyDBParams params;
};

TEST_F(DBParamsTest, NewFileHasTheDatabaseProperties) {
    EXPECT_TRUE(params.IsOpen());
    TTinyDatabase db;
    db.SetFileName(file);
    db.SetPassword("secret");
    EXPECT_EQ(db.Comment(), "Brindlewood DBParamsFile");
    EXPECT_EQ(db.TableNames(), std::vector<std::string>{"Params"});
    params.Close();
    EXPECT_FALSE(params.IsOpen());
}

TEST_F(DBParamsTest, NamesAreCaseInsensitiveAndStoredInCapitals) {
    params.WriteString("Control", "RestByKey", "Yes Sir");
    EXPECT_EQ(params.ReadString("control", "restbykey", "none"), "Yes Sir");
    EXPECT_EQ(records(), std::vector<std::string>{"CONTROL/RESTBYKEY=Yes Sir"});
}

TEST_F(DBParamsTest, WritingAPairTwiceKeepsOneRecord) {
    params.WriteInteger("Image", "Count", 3);
    params.WriteInteger("image", "COUNT", -42);
    EXPECT_EQ(params.ReadInteger("Image", "Count", 0), -42);
    EXPECT_EQ(records(), std::vector<std::string>{"IMAGE/COUNT=-42"});
}

TEST_F(DBParamsTest, LongNamesAreCutTo32Characters) {
    std::string common(32, 'K');
    params.WriteString("S", common + "first", "1");
    params.WriteString("S", common + "second", "2");
    EXPECT_EQ(records(), std::vector<std::string>{"S/" + common + "=2"});
    EXPECT_EQ(params.ReadString("S", common + "anything", ""), "2");
}

TEST_F(DBParamsTest, KeyWithAQuoteAppendsOnEveryWriteAndFailsToRead) {
    params.WriteString("S", "O'Brien", "a");
    params.WriteString("S", "O'Brien", "b");
    EXPECT_EQ(records(), (std::vector<std::string>{"S/O'BRIEN=a", "S/O'BRIEN=b"}));
    EXPECT_THROW(params.ReadString("S", "O'Brien", ""), EngineError);
    std::vector<uint8_t> stream{1, 2};
    EXPECT_FALSE(params.ReadStream("S", "O'Brien", stream));
    EXPECT_TRUE(stream.empty());
    std::string out = "x";
    params.ReadFile("S", "O'Brien", out, dir.folder());
    EXPECT_EQ(out, "");
    // The table is still usable afterwards.
    params.WriteString("S", "Plain", "p");
    EXPECT_EQ(params.ReadString("S", "Plain", ""), "p");
}

TEST_F(DBParamsTest, MissingKeysReadAsTheDefault) {
    EXPECT_EQ(params.ReadString("S", "K", "def"), "def");
    EXPECT_EQ(params.ReadInteger("S", "K", 7), 7);
    EXPECT_TRUE(params.ReadBool("S", "K", true));
    EXPECT_EQ(params.ReadFloat("S", "K", 2.5), 2.5);
    EXPECT_EQ(params.ReadCurrency("S", "K", 15000), 15000);
    EXPECT_EQ(params.ReadDateTime("S", "K", 45000.5), 45000.5);
}

TEST_F(DBParamsTest, TypedValuesRoundTrip) {
    params.WriteBool("S", "B", true);
    params.WriteFloat("S", "F", 0.1);
    params.WriteCurrency("S", "C", -123456789); // -12345.6789
    params.WriteDateTime("S", "D", 45292.75);   // 2024-01-01 18:00
    params.WriteInteger("S", "I", INT32_MIN);
    EXPECT_TRUE(params.ReadBool("S", "B", false));
    EXPECT_EQ(params.ReadFloat("S", "F", 0), 0.1);
    EXPECT_EQ(params.ReadCurrency("S", "C", 0), -123456789);
    EXPECT_DOUBLE_EQ(params.ReadDateTime("S", "D", 0), 45292.75);
    EXPECT_EQ(params.ReadInteger("S", "I", 0), INT32_MIN);
    EXPECT_EQ(params.ReadString("S", "C", ""), "-12345.6789");
    EXPECT_EQ(params.ReadString("S", "D", ""), "01/01/2024 18:00:00");
}

TEST_F(DBParamsTest, NonIntegerTextRaisesTheConversionError) {
    params.WriteString("S", "I", "12a");
    try {
        params.ReadInteger("S", "I", 0);
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
}

class StoredBoolText : public DBParamsTest,
                       public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(StoredBoolText, ReadsAsTrueOnlyForOne) {
    params.WriteString("S", "B", GetParam().first);
    EXPECT_EQ(params.ReadBool("S", "B", !GetParam().second), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Texts, StoredBoolText,
                         ::testing::Values(std::pair{"1", true}, std::pair{"0", false},
                                           std::pair{"true", false}, std::pair{"-1", false},
                                           std::pair{"", false}, std::pair{" 1", false}));

TEST_F(DBParamsTest, WriteFileAndReadFileUseTheNamePart) {
    std::filesystem::create_directories(dir.path / "Media");
    std::filesystem::create_directories(dir.path / "Temp");
    writeAll(dir.file("Media/Intro.wav"), std::string("RIFF\0\1\2", 7));
    params.WriteFile("Sound", dir.file("Media/Intro.wav"));
    EXPECT_EQ(records(), std::vector<std::string>{"SOUND/INTRO.WAV=" + std::string("RIFF\0\1\2", 7)});

    std::string out;
    params.ReadFile("sound", "Intro.wav", out, dir.folder() + "Temp/");
    EXPECT_EQ(out, dir.folder() + "Temp/Intro.wav");
    EXPECT_EQ(readAll(out), std::string("RIFF\0\1\2", 7));

    params.ReadFile("sound", "Missing.wav", out, dir.folder() + "Temp/");
    EXPECT_EQ(out, "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Temp/Missing.wav")));
}

TEST_F(DBParamsTest, WriteFileTakesTheNameAfterABackslash) {
    // A Windows path handed over by a host still names its file by the part after the folder.
    std::string path = dir.file("C:\\Media\\Intro.wav");
    writeAll(path, "bytes");
    params.WriteFile("Sound", path);
    EXPECT_EQ(params.ReadString("Sound", "INTRO.WAV", ""), "bytes");
}

TEST_F(DBParamsTest, WriteFileOfAMissingFileRaises) {
    EXPECT_THROW(params.WriteFile("S", dir.file("nope.bin")), EngineError);
}

TEST_F(DBParamsTest, ReadStreamOfAMissingKeyEmptiesTheStream) {
    std::vector<uint8_t> stream{9, 9, 9};
    EXPECT_FALSE(params.ReadStream("S", "Missing", stream));
    EXPECT_TRUE(stream.empty());
    params.WriteStream("S", "Bytes", {0, 1, 2, 255});
    EXPECT_TRUE(params.ReadStream("s", "bytes", stream));
    EXPECT_EQ(stream, (std::vector<uint8_t>{0, 1, 2, 255}));
}

TEST_F(DBParamsTest, SectionKeyCountAndListing) {
    params.WriteString("A", "One", "1");
    params.WriteString("A", "Two", "2");
    params.WriteString("B", "One", "1");
    EXPECT_EQ(params.SectionKeyCount("a"), 2);
    EXPECT_EQ(params.SectionKeyCount("C"), 0);
    std::vector<std::string> keys;
    params.ReadSectionKeys("a", keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"ONE", "TWO"}));
    EXPECT_FALSE(params.Table().Filtered());
}

TEST_F(DBParamsTest, ValuesSurviveReopening) {
    params.WriteString("S", "K", "kept");
    params.Close();
    TTinyDBParams again;
    again.Password = "secret";
    again.Open(file);
    EXPECT_EQ(again.ReadString("S", "K", ""), "kept");
}

TEST_F(DBParamsTest, WrongPasswordFailsToOpen) {
    params.Close();
    TTinyDBParams other;
    other.Password = "guess";
    EXPECT_THROW(other.Open(file), EngineError);
    EXPECT_FALSE(other.IsOpen());
}

// ProcessValues decides whether the value's bytes are visible in the file.
class ProcessValuesTest : public ::testing::TestWithParam<bool> {};

TEST_P(ProcessValuesTest, ValueBytesVisibleOnlyWhenUnprocessed) {
    TempDir dir;
    std::string file = dir.file("p.db");
    std::string marker = "PLAINMARKER-0123456789-PLAINMARKER";
    {
        TTinyDBParams p;
        p.Password = "pw";
        p.ProcessValues = GetParam();
        p.Open(file);
        p.WriteString("Section", "SecretKeyName", marker);
        EXPECT_EQ(p.ReadString("Section", "SecretKeyName", ""), marker);
    }
    std::string bytes = readAll(file);
    bool visible = bytes.find(marker) != std::string::npos;
    EXPECT_EQ(visible, !GetParam());
    // Section and key names are encrypted either way.
    EXPECT_EQ(bytes.find("SECRETKEYNAME"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Both, ProcessValuesTest, ::testing::Bool());

TEST(DBParamsCreate, UnwritableFolderSurfacesWhenOpening) {
    TTinyDBParams p;
    EXPECT_THROW(p.Open("/nonexistent-folder-somnex/params.db"), EngineError);
    EXPECT_FALSE(p.IsOpen());
}

} // namespace
