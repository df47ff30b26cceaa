#include "tests/store/IndependentReader.h"
#include "engine/store/TTinyDatabase.h"
#include "engine/store/TTinyTable.h"
#include "engine/store/Unit_DBParams.h"
#include "tests/store/TempDir.h"

#include <gtest/gtest.h>

using namespace somnex;

namespace {

TEST(IndependentReader, ReadsAParameterDatabase) {
    TempDir dir;
    std::string file = dir.file("params.db");
    {
        TTinyDBParams p;
        p.Password = "pw";
        p.ProcessValues = true;
        p.Open(file);
        p.WriteString("Control", "RestByKey", "1");
        p.WriteStream("Info", "Photo", std::vector<uint8_t>(5000, 0xAB));
    }
    auto rows = independent::readTable(file, "pw", "Params");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["Section"], "CONTROL");
    EXPECT_EQ(rows[0]["Key"], "RESTBYKEY");
    EXPECT_EQ(rows[0]["Value"], "1");
    EXPECT_EQ(rows[1]["Value"], std::string(5000, '\xAB'));
    EXPECT_THROW(independent::readTable(file, "wrong", "Params"), std::runtime_error);
}

struct LibraryCase {
    const char* cipher;
    bool checksums;
    bool encrypt;
};

class IndependentLibrary : public ::testing::TestWithParam<LibraryCase> {};

TEST_P(IndependentLibrary, ReadsEveryFieldKind) {
    const auto& c = GetParam();
    TempDir dir;
    std::string file = dir.file("lib.db");
    TTinyDatabase db;
    ASSERT_TRUE(db.CreateDatabase(file, true, clFast, "ZLIB", c.encrypt, c.cipher, "", c.checksums));
    db.SetFileName(file);
    db.CreateTable("Music", {{"ID", TFieldType::AutoInc, 0, TFieldProcessing::Default},
                             {"FileName", TFieldType::String, 100, TFieldProcessing::Default},
                             {"MusicData", TFieldType::Blob, 0, TFieldProcessing::Default},
                             {"Raw", TFieldType::Blob, 0, TFieldProcessing::Unchanged},
                             {"Opts", TFieldType::Memo, 0, TFieldProcessing::Default}});
    db.Disconnect();
    std::string music;
    for (uint32_t i = 0; i < 100000; ++i) music.push_back(static_cast<char>((i * i) >> 7));
    TTinyTable t;
    t.SetDatabaseName(file);
    t.SetTableName("Music");
    t.Open();
    t.Append();
    t.FieldByName("FileName").SetAsString("song.ogg");
    t.FieldByName("MusicData").SetAsString(music);
    t.FieldByName("Raw").SetAsString(std::string("\0raw", 4));
    t.FieldByName("Opts").SetAsString("0\x17"
                                      "0\x17");
    t.Post();
    t.Append();
    t.Post(); // a record with nothing set
    t.Close();

    auto rows = independent::readTable(file, "", "Music");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["ID"], "1");
    EXPECT_EQ(rows[0]["FileName"], "song.ogg");
    EXPECT_EQ(rows[0]["MusicData"], music);
    EXPECT_EQ(rows[0]["Raw"], std::string("\0raw", 4));
    EXPECT_EQ(rows[0]["Opts"], "0\x17"
                               "0\x17");
    EXPECT_EQ(rows[1]["ID"], "2");
    EXPECT_EQ(rows[1]["MusicData"], "");
}

INSTANTIATE_TEST_SUITE_P(Options, IndependentLibrary,
                         ::testing::Values(LibraryCase{"Gost", false, true},
                                           LibraryCase{"Blowfish", true, true}, LibraryCase{"", true, false},
                                           LibraryCase{"", false, false}));

} // namespace
