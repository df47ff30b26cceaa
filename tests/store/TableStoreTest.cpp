#include "engine/store/StoreFilter.h"
#include "engine/store/TTinyDatabase.h"
#include "engine/store/TTinyTable.h"
#include "somnex/EngineError.h"
#include "tests/store/TempDir.h"

#include <gtest/gtest.h>

using namespace somnex;

namespace {

std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EngineError& e) {
        return e.what();
    }
    return "";
}

// A music-library-like database: auto-increment id, a short text, a processed blob and a memo.
struct LibraryFile {
    TempDir dir;
    std::string file = dir.file("lib.db");

    void create(const std::string& cipher, const std::string& password, bool checksums = false) {
        TTinyDatabase db;
        ASSERT_TRUE(db.CreateDatabase(file, true, clFast, "ZLIB", true, cipher, password, checksums));
        db.SetFileName(file);
        db.SetPassword(password);
        db.CreateTable("Music", {{"ID", TFieldType::AutoInc, 0, TFieldProcessing::Default},
                                 {"FileName", TFieldType::String, 10, TFieldProcessing::Default},
                                 {"MusicData", TFieldType::Blob, 0, TFieldProcessing::Default},
                                 {"Opts", TFieldType::Memo, 0, TFieldProcessing::Default}});
        db.Disconnect();
    }
    void open(TTinyTable& t, const std::string& password) {
        t.SetDatabaseName(file);
        t.SetPassword(password);
        t.SetTableName("Music");
        t.Open();
    }
    void add(TTinyTable& t, const std::string& name, const std::string& data) {
        t.Append();
        t.FieldByName("FileName").SetAsString(name);
        t.FieldByName("MusicData").LoadFromStream(std::vector<uint8_t>(data.begin(), data.end()));
        t.FieldByName("Opts").SetAsString("8\x17-1\x17");
        t.Post();
    }
};

class CipherTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CipherTest, ReadsBackOnlyWithTheRightPassword) {
    LibraryFile lib;
    lib.create(GetParam(), "TORVALQUINE");
    std::string data(50000, 'a');
    for (size_t i = 0; i < data.size(); i += 7) data[i] = static_cast<char>(i);
    {
        TTinyTable t;
        lib.open(t, "TORVALQUINE");
        lib.add(t, "one.mp3", data);
        lib.add(t, "a-much-longer-name.mp3", "second");
    }
    std::string bytes = readAll(lib.file);
    EXPECT_EQ(bytes.find("one.mp3"), std::string::npos);
    EXPECT_EQ(bytes.find(data.substr(0, 100)), std::string::npos);

    TTinyTable t;
    lib.open(t, "TORVALQUINE");
    ASSERT_EQ(t.RecordCount(), 2);
    EXPECT_EQ(t.FieldByName("ID").AsString(), "1");
    EXPECT_EQ(t.FieldByName("FileName").AsString(), "one.mp3");
    EXPECT_EQ(t.FieldByName("MusicData").AsString(), data);
    EXPECT_EQ(t.FieldByName("Opts").AsString(), "8\x17-1\x17");
    t.Next();
    EXPECT_EQ(t.FieldByName("ID").AsString(), "2");
    EXPECT_EQ(t.FieldByName("FileName").AsString(), "a-much-lon");
    t.Close();

    TTinyTable wrong;
    EXPECT_EQ(errorOf([&] { lib.open(wrong, "torvalquine"); }),
              "Invalid password for database file '" + lib.file + "'");
    EXPECT_FALSE(wrong.Active());
}

INSTANTIATE_TEST_SUITE_P(Ciphers, CipherTest, ::testing::Values("Gost", "Blowfish"));

TEST(TableStore, CreateDatabaseRefusesUnknownOptions) {
    TempDir dir;
    TTinyDatabase db;
    EXPECT_FALSE(db.CreateDatabase(dir.file("a.db"), true, clFast, "LZMA", false, "", "", false));
    EXPECT_FALSE(db.CreateDatabase(dir.file("a.db"), false, clFast, "ZLIB", true, "Rot13", "", false));
    EXPECT_FALSE(db.CreateDatabase(dir.file("a.db"), true, 7, "ZLIB", false, "", "", false));
    EXPECT_FALSE(db.CreateDatabase(dir.file("missing/a.db"), false, 0, "", false, "", "", false));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path)); // nothing left behind
}

TEST(TableStore, StoredUnchangedKeepsTheRawBytes) {
    TempDir dir;
    std::string file = dir.file("img.db");
    TTinyDatabase db;
    ASSERT_TRUE(db.CreateDatabase(file, true, clFast, "ZLIB", true, "Gost", "pw", false));
    db.SetFileName(file);
    db.SetPassword("pw");
    db.CreateTable("Images", {{"ID", TFieldType::AutoInc, 0, TFieldProcessing::Default},
                              {"ImageData", TFieldType::Blob, 0, TFieldProcessing::Unchanged},
                              {"Name", TFieldType::String, 40, TFieldProcessing::Unchanged}});
    db.Disconnect();
    TTinyTable t;
    t.SetDatabaseName(file);
    t.SetPassword("pw");
    t.SetTableName("images"); // table names are case-insensitive
    t.Open();
    std::string jpeg = "\xFF\xD8\xFF\xE0-JPEG-BYTES-AS-THEY-ARE-\xFF\xD9";
    t.Append();
    t.FieldByName("imagedata").SetAsString(jpeg);
    t.FieldByName("Name").SetAsString("VisibleName");
    t.Post();
    t.Close();
    std::string bytes = readAll(file);
    EXPECT_NE(bytes.find(jpeg), std::string::npos);
    EXPECT_NE(bytes.find("VisibleName"), std::string::npos);
}

TEST(TableStore, CommentIsCutTo256Characters) {
    TempDir dir;
    TTinyDatabase db;
    ASSERT_TRUE(db.CreateDatabase(dir.file("c.db"), false, 0, "", false, "", "", false));
    db.SetFileName(dir.file("c.db"));
    db.SetComment(std::string(300, 'c'));
    db.Disconnect();
    EXPECT_EQ(db.Comment(), std::string(256, 'c'));
}

class FilteredTable : public ::testing::Test {
protected:
    void SetUp() override {
        lib.create("Blowfish", "pw");
        lib.open(t, "pw");
        for (auto name : {"a", "b", "a", "c"}) lib.add(t, name, name);
    }
    LibraryFile lib;
    TTinyTable t;
};

TEST_F(FilteredTable, RecordCountRespectsTheFilter) {
    EXPECT_EQ(t.RecordCount(), 4);
    t.SetFilter("FileName='a'");
    EXPECT_EQ(t.RecordCount(), 4); // not applied while filtering is off
    t.SetFiltered(true);
    EXPECT_EQ(t.RecordCount(), 2);
    t.SetFilter("filename = 'c'");
    EXPECT_EQ(t.RecordCount(), 1);
    EXPECT_EQ(t.FieldByName("ID").AsString(), "4");
    t.SetFilter("FileName='zzz'");
    EXPECT_EQ(t.RecordCount(), 0);
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.FieldByName("FileName").AsString(), "");
    t.SetFiltered(false);
    EXPECT_EQ(t.RecordCount(), 4);
}

TEST_F(FilteredTable, FindFirstMovesWithinTheWholeTable) {
    t.SetFilter("FileName='c'");
    ASSERT_TRUE(t.FindFirst());
    EXPECT_EQ(t.FieldByName("ID").AsString(), "4");
    EXPECT_EQ(t.RecordCount(), 4);
    t.SetFilter("FileName='none'");
    EXPECT_FALSE(t.FindFirst());
}

TEST_F(FilteredTable, EditChangesOnlyThatRecord) {
    t.SetFilter("FileName='b'");
    ASSERT_TRUE(t.FindFirst());
    t.Edit();
    t.FieldByName("MusicData").SetAsString("changed");
    t.Post();
    t.Refresh();
    EXPECT_EQ(t.FieldByName("ID").AsString(), "2");
    EXPECT_EQ(t.FieldByName("MusicData").AsString(), "changed");
    t.First();
    EXPECT_EQ(t.FieldByName("MusicData").AsString(), "a");
}

TEST_F(FilteredTable, MalformedFilterLeavesTheRecordSet) {
    t.SetFilter("FileName='a'");
    t.SetFiltered(true);
    EXPECT_THROW(t.SetFilter("FileName='a'b'"), EngineError);
    EXPECT_EQ(t.Filter(), "FileName='a'");
    EXPECT_EQ(t.RecordCount(), 2);
    EXPECT_THROW(t.SetFilter("MusicData='a'"), EngineError); // not a text field
    EXPECT_THROW(t.SetFilter("Nope='a'"), EngineError);
}

TEST_F(FilteredTable, WritingOutsideEditModeRaises) {
    EXPECT_EQ(errorOf([&] { t.FieldByName("FileName").SetAsString("x"); }),
              "Table is not in edit or insert mode");
    t.Edit();
    EXPECT_EQ(errorOf([&] { t.FieldByName("ID").SetAsString("9"); }), "Field 'ID' cannot be modified");
    EXPECT_EQ(errorOf([&] { t.FieldByName("Missing"); }), "Field 'Missing' not found");
}

TEST_F(FilteredTable, CloseDropsUnpostedChanges) {
    t.Append();
    t.FieldByName("FileName").SetAsString("lost");
    t.Close();
    lib.open(t, "pw");
    EXPECT_EQ(t.RecordCount(), 4);
}

struct FilterCase {
    const char* text;
    size_t conditions; // 0 with valid=false means an error
    bool valid;
};

class FilterParse : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterParse, AcceptsOnlyQuotedComparisonsJoinedByAnd) {
    const auto& c = GetParam();
    if (c.valid) {
        EXPECT_EQ(parseFilter(c.text).size(), c.conditions);
    } else {
        try {
            parseFilter(c.text);
            FAIL() << c.text;
        } catch (const EngineError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Invalid filter '", 0), 0u) << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FilterParse,
    ::testing::Values(FilterCase{"", 0, true}, FilterCase{"  ", 0, true}, FilterCase{"Section='A'", 1, true},
                      FilterCase{"Section='A' and Key='B'", 2, true},
                      FilterCase{"Section = 'A'  AND  Key=''", 2, true},
                      FilterCase{"Section='A b c'", 1, true}, FilterCase{"Key='O'Brien'", 0, false},
                      FilterCase{"Key='O''Brien'", 0, false}, FilterCase{"Key='open", 0, false},
                      FilterCase{"Key=A", 0, false}, FilterCase{"Key='a' or Key='b'", 0, false},
                      FilterCase{"Key='a' and", 0, false}, FilterCase{"'a'='a'", 0, false},
                      FilterCase{"Key='a'; DROP TABLE Params", 0, false}, FilterCase{"1Key='a'", 0, false},
                      FilterCase{"Key='a'and Section='b'", 0, false}));

TEST(FilterParse, KeepsTheValueVerbatim) {
    auto conds = parseFilter("Section='Control' and Key=' x; -- '");
    ASSERT_EQ(conds.size(), 2u);
    EXPECT_EQ(conds[0].field, "Section");
    EXPECT_EQ(conds[0].value, "Control");
    EXPECT_EQ(conds[1].value, " x; -- ");
}

} // namespace
