#include "engine/store/TTinyDatabase.h"
#include "engine/store/TTinyTable.h"
#include "engine/store/Unit_DBParams.h"
#include "somnex/EngineError.h"
#include "tests/store/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace somnex;

namespace {

// A small store with one processed and one unchanged value, then damaged by each case.
class MalformedFile : public ::testing::Test {
protected:
    void SetUp() override {
        TTinyDBParams p;
        p.Password = "pw";
        p.ProcessValues = true;
        p.Open(file);
        p.WriteString("S", "K", std::string(3000, 'v'));
    }
    // The error opening and reading every record raises, or "" when all of it reads as written.
    std::string openError() {
        TTinyTable t;
        t.SetDatabaseName(file);
        t.SetPassword("pw");
        t.SetTableName("Params");
        try {
            t.Open();
            int records = 0;
            for (t.First(); !t.Eof(); t.Next(), ++records) {
                EXPECT_EQ(t.FieldByName("Section").AsString(), "S");
                EXPECT_EQ(t.FieldByName("Key").AsString(), "K");
                EXPECT_EQ(t.FieldByName("Value").AsString(), std::string(3000, 'v'));
            }
            EXPECT_EQ(records, 1);
        } catch (const EngineError& e) {
            EXPECT_FALSE(e.what() == std::string());
            return e.what();
        }
        return "";
    }
    void sql(const std::string& statement) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << statement;
        sqlite3_close(db);
    }
    TempDir dir;
    std::string file = dir.file("p.db");
};

TEST_F(MalformedFile, IntactFileOpens) {
    EXPECT_EQ(openError(), "");
}

TEST_F(MalformedFile, MissingFile) {
    std::filesystem::remove(file);
    EXPECT_EQ(openError(), "Cannot open database file '" + file + "'");
    EXPECT_FALSE(std::filesystem::exists(file)); // opening never creates
}

TEST_F(MalformedFile, TextFileIsNotAStore) {
    writeAll(file, "[Control]\r\nRestByKey=1\r\n");
    EXPECT_EQ(openError(), "File '" + file + "' is not a table store database");
}

TEST_F(MalformedFile, EmptyFileIsNotAStore) {
    writeAll(file, "");
    EXPECT_EQ(openError(), "File '" + file + "' is not a table store database");
}

TEST_F(MalformedFile, PlainSqliteDatabaseIsNotAStore) {
    std::filesystem::remove(file);
    sql("CREATE TABLE Params(Section TEXT, Key TEXT, Value BLOB)");
    EXPECT_EQ(openError(), "File '" + file + "' is not a table store database");
}

TEST_F(MalformedFile, TruncatedFile) {
    std::string bytes = readAll(file);
    for (size_t keep : {size_t(100), bytes.size() / 2, bytes.size() - 4096}) {
        writeAll(file, bytes.substr(0, keep));
        EXPECT_NE(openError(), "") << keep;
    }
}

TEST_F(MalformedFile, OverwrittenPagesGiveAnErrorOrTheRightValues) {
    // A page the read never touches (an index, the free list) may go unnoticed; a used one may not.
    std::string bytes = readAll(file);
    int reported = 0;
    for (size_t at = 0; at + 512 <= bytes.size(); at += 4096) {
        std::string broken = bytes;
        for (size_t i = at + 100; i < at + 612 && i < broken.size(); ++i)
            broken[i] = static_cast<char>(i * 31);
        writeAll(file, broken);
        reported += openError() != "";
    }
    EXPECT_GT(reported, 0);
}

struct CatalogueDamage {
    const char* name;
    const char* statement;
};

class DamagedCatalogue : public MalformedFile, public ::testing::WithParamInterface<CatalogueDamage> {};

TEST_P(DamagedCatalogue, IsTheDamagedError) {
    sql(GetParam().statement);
    EXPECT_EQ(openError(), "Database file '" + file + "' is damaged");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedCatalogue,
    ::testing::Values(
        CatalogueDamage{"HugeKdfCount",
                        "UPDATE _store_info SET value=2000000000 WHERE name='kdf_iterations'"},
        CatalogueDamage{"UnknownCipher",
                        "UPDATE _store_info SET value='Rot13' WHERE name='encrypt_algorithm'"},
        CatalogueDamage{"ShortCheck", "UPDATE _store_info SET value=x'00' WHERE name='password_check'"},
        CatalogueDamage{"MissingColumn", "ALTER TABLE Params DROP COLUMN Value"},
        CatalogueDamage{"DroppedTable", "DROP TABLE Params"},
        CatalogueDamage{"UnknownType", "UPDATE _store_fields SET type='Float' WHERE name='Value'"},
        CatalogueDamage{"FlippedValue", "UPDATE Params SET Value=x'01' || substr(Value, 2)"},
        CatalogueDamage{"CutValue", "UPDATE Params SET Value=substr(Value, 1, 20)"},
        CatalogueDamage{"UnknownFlags", "UPDATE Params SET Value=x'40' || substr(Value, 2)"},
        CatalogueDamage{"IntegerValue", "UPDATE Params SET Value=12"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Checksums, CatchAChangedUncompressedValue) {
    TempDir dir;
    std::string file = dir.file("crc.db");
    TTinyDatabase db;
    ASSERT_TRUE(db.CreateDatabase(file, false, 0, "", false, "", "", true));
    db.SetFileName(file);
    db.CreateTable("T", {{"Note", TFieldType::Memo, 0, TFieldProcessing::Default}});
    db.Disconnect();
    TTinyTable t;
    t.SetDatabaseName(file);
    t.SetTableName("T");
    t.Open();
    t.Append();
    t.FieldByName("Note").SetAsString("checked text");
    t.Post();
    t.Close();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, "UPDATE T SET Note=substr(Note,1,3) || 'X' || substr(Note,5)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    t.Open();
    EXPECT_THROW(t.FieldByName("Note").AsString(), EngineError);
}

} // namespace
