// The library databases: their schema and store options, the options text, which data is
// processed and which is kept byte for byte.
#include "engine/compiler/Unit_ScrFileObj.h"
#include "somnex/EngineError.h"
#include "tests/compiler/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using namespace somnex;

// Bytes that compress badly and cannot turn up in a file by chance.
std::string noise(size_t n, uint32_t seed) {
    std::string s(n, '\0');
    for (char& c : s) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 24);
    }
    return s;
}

bool contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

std::string storeInfo(const std::string& file, const std::string& name) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT value FROM _store_info WHERE name = ?", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    std::string out =
        sqlite3_step(st) == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

// Every record of the table, field by field, through a reader of its own.
std::vector<std::vector<std::string>> records(const std::string& file, const std::string& table) {
    TTinyTable t;
    t.SetDatabaseName(file);
    t.SetPassword("TORVALQUINE");
    t.SetTableName(table);
    t.Open();
    std::vector<std::vector<std::string>> out;
    for (t.First(); !t.Eof(); t.Next()) {
        out.emplace_back();
        for (size_t i = 0; i < t.FieldCount(); ++i) out.back().push_back(t.Fields(i).AsString());
    }
    return out;
}

struct OptsCase {
    int32_t interval, transition, step, delay;
    std::string text;
};

class ImageOpts : public ::testing::TestWithParam<OptsCase> {};

TEST_P(ImageOpts, EachNumberIsFollowedByCode23) {
    const OptsCase& c = GetParam();
    EXPECT_EQ(ImageOptsText(c.interval, c.transition, c.step, c.delay), c.text);
}

INSTANTIATE_TEST_SUITE_P(Options, ImageOpts,
                         ::testing::Values(OptsCase{8, -1, 4, 40,
                                                    "8\x17-1\x17"
                                                    "4\x17"
                                                    "40\x17"},
                                           OptsCase{0, 0, 0, 0,
                                                    "0\x17"
                                                    "0\x17"
                                                    "0\x17"
                                                    "0\x17"},
                                           OptsCase{INT32_MIN, INT32_MAX, -7, 1,
                                                    "-2147483648\x17"
                                                    "2147483647\x17-7\x17"
                                                    "1\x17"}));

class LibFileTest : public ::testing::Test {
protected:
    std::string media(const std::string& name, const std::string& bytes) {
        writeAll(dir.file(name), bytes);
        return dir.file(name);
    }
    TempDir dir;
};

TEST_F(LibFileTest, ImagesKeepTheirJpegBytesAndHideTheirOptions) {
    const std::string jpeg1 = noise(1500, 1), jpeg2 = noise(1500, 2);
    {
        TScrImageFile lib;
        lib.CreateLibrary(dir.file("images.dat"));
        lib.OpenLibrary(dir.file("images.dat"), "Images");
        lib.AddImage({jpeg1.begin(), jpeg1.end()}, 8, -1, 4, 40);
        lib.AddImage({jpeg2.begin(), jpeg2.end()}, 0, 0, 0, 0);
        lib.CloseLibrary();
    }
    const std::string raw = readAll(dir.file("images.dat"));
    EXPECT_TRUE(contains(raw, jpeg1));
    EXPECT_TRUE(contains(raw, jpeg2));
    EXPECT_FALSE(contains(raw, "8\x17-1\x17"));
    EXPECT_EQ(storeInfo(dir.file("images.dat"), "encrypt_algorithm"), "Gost");
    EXPECT_EQ(storeInfo(dir.file("images.dat"), "compress_level"), "1");
    EXPECT_EQ(storeInfo(dir.file("images.dat"), "comment"), "");

    auto rs = records(dir.file("images.dat"), "Images");
    ASSERT_EQ(rs.size(), 2u);
    EXPECT_EQ(rs[0][0], "1");
    EXPECT_EQ(rs[1][0], "2");
    EXPECT_EQ(rs[0][1], jpeg1);
    EXPECT_EQ(rs[0][2], ImageOptsText(8, -1, 4, 40));
    EXPECT_EQ(rs[1][2], ImageOptsText(0, 0, 0, 0));
}

class MusicCompress : public LibFileTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MusicCompress, DecidesWhetherTheMusicBytesAreProcessed) {
    const std::string song = noise(2000, 3);
    {
        TScrMusicFile lib;
        lib.ProcessMusic = GetParam();
        lib.CreateLibrary(dir.file("music.dat"));
        lib.OpenLibrary(dir.file("music.dat"), "Music");
        lib.AddMusic(media("song.mp3", song));
    }
    EXPECT_EQ(contains(readAll(dir.file("music.dat")), song), !GetParam());
    auto rs = records(dir.file("music.dat"), "Music");
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs[0][1], "song.mp3");
    EXPECT_EQ(rs[0][2], song);
}

INSTANTIATE_TEST_SUITE_P(Compress, MusicCompress, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

TEST_F(LibFileTest, MoviesAreStoredUnchangedUnderTheirNameCutTo100) {
    const std::string movie = noise(3000, 4);
    const std::string longName = std::string(150, 'm') + ".swf";
    {
        TScrFlashFile lib;
        lib.CreateLibrary(dir.file("flash.dat"));
        lib.OpenLibrary(dir.file("flash.dat"), "Flashs");
        lib.AddFlash(media(longName, movie));
        lib.AddFlash(media("b.swf", "FWS"));
    }
    EXPECT_TRUE(contains(readAll(dir.file("flash.dat")), movie));
    auto rs = records(dir.file("flash.dat"), "Flashs");
    ASSERT_EQ(rs.size(), 2u);
    EXPECT_EQ(rs[0][1], longName.substr(0, 100));
    EXPECT_EQ(rs[0][2], movie);
    EXPECT_EQ(rs[1][1], "b.swf");
}

TEST_F(LibFileTest, LibraryThatCouldNotBeCreatedFailsWithTheStoreError) {
    TScrMusicFile lib;
    EXPECT_THROW(lib.CreateLibrary(dir.file("no/such/folder/music.dat")), EngineError);
    lib.OpenLibrary(dir.file("no/such/folder/music.dat"), "Music");
    EXPECT_FALSE(lib.Table.Active());
    EXPECT_THROW(lib.AddMusic(media("a.mp3", "x")), EngineError);
    EXPECT_EQ(listTree(dir.path), std::vector<std::string>{"a.mp3"});
}

TEST_F(LibFileTest, UnreadableMusicFileRaisesTheFileError) {
    TScrMusicFile lib;
    lib.CreateLibrary(dir.file("music.dat"));
    lib.OpenLibrary(dir.file("music.dat"), "Music");
    EXPECT_THROW(lib.AddMusic(dir.file("gone.mp3")), EngineError);
}

} // namespace
