// The package layout byte for byte, its usage errors, and packages made to hurt the readers.
#include "engine/compiler/PackageFile.h"
#include "somnex/EngineError.h"
#include "tests/compiler/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace somnex;
namespace fs = std::filesystem;

int32_t le32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(bytes[at + size_t(i)]);
    return int32_t(v);
}

void putLe32(std::string& bytes, int32_t v) {
    for (int i = 0; i < 4; ++i) bytes += char(uint32_t(v) >> (8 * i));
}

struct RawEntry {
    std::string name;
    int32_t offset, size;
};

// A package built by hand, so readers can be fed directories no writer would make.
std::string rawPackage(const std::string& data, const std::vector<RawEntry>& entries) {
    std::string out = data;
    for (const RawEntry& e : entries) {
        std::string entry(kPackageEntrySize, '\0');
        entry[0] = char(e.name.size());
        std::memcpy(entry.data() + 1, e.name.data(), e.name.size());
        out += entry.substr(0, 256);
        putLe32(out, e.offset);
        putLe32(out, e.size);
    }
    putLe32(out, int32_t(entries.size()));
    return out;
}

class PackageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.path / "out");
        package.OnError = [this](TBasePackageFile&, const std::string& text) { errors.push_back(text); };
        package.OnBeginPackage = [this](TBasePackageFile&) { events.push_back("begin"); };
        package.OnCompletePackage = [this](TBasePackageFile&) { events.push_back("complete"); };
        package.OnPackageFile = [this](TBasePackageFile&, int32_t id, const std::string& name) {
            events.push_back(std::to_string(id) + ":" + name);
        };
        package.OnBeginExtract = [this](TBasePackageFile&) { events.push_back("begin extract"); };
        package.OnCompleteExtract = [this](TBasePackageFile&) { events.push_back("complete extract"); };
        package.OnExtractFile = [this](TBasePackageFile&, int32_t id, const std::string& path) {
            events.push_back(std::to_string(id) + ">" + path);
        };
    }
    std::string member(const std::string& name, size_t size, char fill) {
        writeAll(dir.file(name), std::string(size, fill));
        return dir.file(name);
    }
    std::string out() const { return dir.folder() + "out/"; }

    TempDir dir;
    TPackageFile package;
    std::vector<std::string> errors, events;
};

TEST_F(PackageFileTest, ThreeMembersLaidOutWithTheirOffsetsSizesAndNames) {
    package.PackageFileList = {member("player.exe", 10, 'a'), member("params.dat", 20, 'b'),
                               member("images.dat", 30, 'c')};
    package.PackageFileName = dir.file("scr.scr");
    package.Execute();

    std::string bytes = readAll(package.PackageFileName);
    ASSERT_EQ(bytes.size(), 856u);
    EXPECT_EQ(bytes.substr(0, 60), std::string(10, 'a') + std::string(20, 'b') + std::string(30, 'c'));
    const int32_t offsets[] = {0, 10, 30}, sizes[] = {10, 20, 30};
    for (size_t i = 0; i < 3; ++i) {
        size_t at = 60 + i * 264;
        EXPECT_EQ(uint8_t(bytes[at]), 10) << i;
        EXPECT_EQ(bytes.substr(at + 1, 10), fs::path(package.PackageFileList[i]).filename().string());
        EXPECT_EQ(bytes.substr(at + 11, 245), std::string(245, '\0'));
        EXPECT_EQ(le32(bytes, at + 256), offsets[i]);
        EXPECT_EQ(le32(bytes, at + 260), sizes[i]);
    }
    EXPECT_EQ(le32(bytes, 852), 3);
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "0:player.exe", "1:params.dat", "2:images.dat",
                                                "complete"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(PackageFileTest, ReadsBackWhatItWrote) {
    package.PackageFileList = {member("a.bin", 5, 'x'), member("b.bin", 0, 'y'), member("c.bin", 70000, 'z')};
    package.PackageFileName = dir.file("p.scr");
    package.Execute();

    TPackageFile reader;
    ASSERT_TRUE(reader.Open(package.PackageFileName));
    EXPECT_EQ(reader.PackageFileList, (std::vector<std::string>{"a.bin", "b.bin", "c.bin"}));
    EXPECT_EQ(reader.PackageFileCount(), 3);
    std::vector<uint8_t> stream{1, 2, 3};
    ASSERT_TRUE(reader.ExtractToStream(2, stream));
    EXPECT_EQ(std::string(stream.begin(), stream.end()), std::string(70000, 'z'));
    ASSERT_TRUE(reader.ExtractToStream(1, stream));
    EXPECT_TRUE(stream.empty());

    events.clear();
    package.PackageFileList.clear();
    std::string path;
    package.ExtractFile(0, out(), path);
    EXPECT_EQ(path, out() + "a.bin");
    EXPECT_EQ(readAll(path), "xxxxx");
    EXPECT_EQ(events,
              (std::vector<std::string>{"begin extract", "0>" + out() + "a.bin", "complete extract"}));

    ASSERT_TRUE(reader.ExtractAll(out()));
    EXPECT_EQ(listTree(dir.path / "out"), (std::vector<std::string>{"a.bin", "b.bin", "c.bin"}));
    EXPECT_EQ(readAll(out() + "c.bin").size(), 70000u);
}

class BlankPackageName : public PackageFileTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BlankPackageName, IsReportedAndCreatesNothing) {
    package.PackageFileList = {member("a.bin", 3, 'a')};
    package.PackageFileName = GetParam();
    fs::current_path(dir.path);
    package.Execute();
    fs::current_path(fs::temp_directory_path());
    EXPECT_EQ(errors, std::vector<std::string>{kNoPackageName});
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(listTree(dir.path), (std::vector<std::string>{"a.bin", "out"}));
}

INSTANTIATE_TEST_SUITE_P(Names, BlankPackageName, ::testing::Values("", "   ", " \t "));

TEST_F(PackageFileTest, EmptyListIsFourBytesOfZeroAndReadsAsNoMembers) {
    package.PackageFileName = dir.file("empty.scr");
    package.Execute();
    EXPECT_EQ(readAll(package.PackageFileName), std::string(4, '\0'));

    package.PackageFileList = {"stale"};
    ASSERT_TRUE(package.Open(""));
    EXPECT_TRUE(package.PackageFileList.empty());
    std::string path = "x";
    package.ExtractFile(0, out(), path);
    EXPECT_EQ(path, "");
    std::vector<uint8_t> stream{9};
    EXPECT_FALSE(package.ExtractToStream(0, stream));
    EXPECT_EQ(errors, (std::vector<std::string>{kNoPackageId, kNoPackageId}));
    EXPECT_TRUE(package.ExtractAll(out()));
}

TEST_F(PackageFileTest, IndexesOutsideTheDirectoryAreNotPackageIds) {
    package.PackageFileList = {member("a.bin", 3, 'a')};
    package.PackageFileName = dir.file("p.scr");
    package.Execute();
    for (int32_t index : {1, -1, INT32_MAX}) {
        std::vector<uint8_t> stream;
        EXPECT_FALSE(package.ExtractToStream(index, stream)) << index;
        std::string path;
        package.ExtractFile(index, out(), path);
        EXPECT_EQ(path, "");
    }
    EXPECT_EQ(errors, std::vector<std::string>(6, kNoPackageId));
    EXPECT_TRUE(fs::is_empty(dir.path / "out"));
}

TEST_F(PackageFileTest, EveryReaderReportsAMissingPackage) {
    package.PackageFileName = dir.file("none.scr");
    EXPECT_FALSE(package.Open(""));
    std::string path;
    package.ExtractFile(0, out(), path);
    std::vector<uint8_t> stream;
    EXPECT_FALSE(package.ExtractToStream(0, stream));
    EXPECT_FALSE(package.ExtractAll(out()));
    EXPECT_EQ(errors, std::vector<std::string>(4, kNoPackageName));
    EXPECT_TRUE(events.empty());
}

TEST_F(PackageFileTest, MissingMemberRaisesAndLeavesTheOldPackageAlone) {
    writeAll(dir.file("p.scr"), "old package");
    package.PackageFileList = {member("a.bin", 3, 'a'), dir.file("gone.bin")};
    package.PackageFileName = dir.file("p.scr");
    try {
        package.Execute();
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), ("Cannot open file \"" + dir.file("gone.bin") + "\"").c_str());
    }
    EXPECT_EQ(readAll(dir.file("p.scr")), "old package");
    EXPECT_TRUE(events.empty());
}

TEST_F(PackageFileTest, MembersPastTheOffsetLimitAreRefusedBeforeWriting) {
    // Sparse files: sizes without the disk space.
    for (const char* name : {"big1.dat", "big2.dat"}) {
        std::ofstream(dir.file(name)).close();
        fs::resize_file(dir.file(name), uintmax_t(1) << 30);
    }
    package.PackageFileList = {member("small.bin", 2, 's'), dir.file("big1.dat"), dir.file("big2.dat")};
    package.PackageFileName = dir.file("p.scr");
    EXPECT_THROW(package.Execute(), EngineError);
    EXPECT_FALSE(fs::exists(package.PackageFileName));
    EXPECT_TRUE(events.empty());
}

struct HostilePackage {
    const char* what;
    std::string bytes;
    const char* error; // part of the message
};

void PrintTo(const HostilePackage& p, std::ostream* os) {
    *os << p.what;
}

class HostileDirectory : public PackageFileTest, public ::testing::WithParamInterface<HostilePackage> {};

TEST_P(HostileDirectory, EveryReaderReportsItAndWritesNothing) {
    writeAll(dir.file("bad.scr"), GetParam().bytes);
    package.PackageFileName = dir.file("bad.scr");
    EXPECT_FALSE(package.Open(""));
    EXPECT_TRUE(package.PackageFileList.empty());
    std::vector<uint8_t> stream{1};
    EXPECT_FALSE(package.ExtractToStream(0, stream));
    std::string path;
    package.ExtractFile(0, out(), path);
    EXPECT_EQ(path, "");
    EXPECT_FALSE(package.ExtractAll(out()));
    ASSERT_EQ(errors.size(), 4u);
    for (const std::string& e : errors) {
        EXPECT_NE(e.find("is damaged"), std::string::npos) << e;
        EXPECT_NE(e.find(GetParam().error), std::string::npos) << e;
    }
    EXPECT_TRUE(fs::is_empty(dir.path / "out"));
}

std::string withCount(int32_t count) {
    std::string s = "abcdefgh";
    putLe32(s, count);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Packages, HostileDirectory,
    ::testing::Values(
        HostilePackage{"Truncated", "\x01\x00", "too short"},
        HostilePackage{"CountLargerThanFile", withCount(1000), "member count 1000"},
        HostilePackage{"NegativeCount", withCount(-1), "member count -1"},
        HostilePackage{"HugeCount", withCount(INT32_MAX), "member count"},
        HostilePackage{"OffsetPastTheEnd", rawPackage("abcd", {{"a.bin", 100, 4}}), "outside"},
        HostilePackage{"SizeIntoTheDirectory", rawPackage("abcd", {{"a.bin", 0, 10}}), "outside"},
        HostilePackage{"NegativeSize", rawPackage("abcd", {{"a.bin", 0, -4}}), "outside"},
        HostilePackage{"NegativeOffset", rawPackage("abcd", {{"a.bin", -2, 2}}), "outside"},
        HostilePackage{"OffsetWrapsTheSum",
                       rawPackage("abcd", {{"a.bin", 0, 4}, {"b.bin", INT32_MAX, INT32_MAX}}), "outside"}),
    [](const auto& info) { return std::string(info.param.what); });

class HostileName : public PackageFileTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(HostileName, IsRefusedAndNothingLandsOutsideTheFolder) {
    fs::create_directories(dir.path / "out" / "sub");
    writeAll(dir.file("bad.scr"), rawPackage("goodevil", {{"good.bin", 0, 4}, {GetParam(), 4, 4}}));
    package.PackageFileName = dir.file("bad.scr");
    ASSERT_TRUE(package.Open(""));
    const auto before = listTree(dir.path);

    std::string path = "x";
    package.ExtractFile(1, out() + "sub/", path);
    EXPECT_EQ(path, "");
    EXPECT_FALSE(package.ExtractAll(out() + "sub/"));
    ASSERT_EQ(errors.size(), 2u);
    for (const std::string& e : errors) EXPECT_NE(e.find("is refused"), std::string::npos) << e;
    EXPECT_EQ(listTree(dir.path), before);
    // Bytes in memory cannot go anywhere: the stream reader still serves the member.
    std::vector<uint8_t> stream;
    EXPECT_TRUE(package.ExtractToStream(1, stream));
    EXPECT_EQ(std::string(stream.begin(), stream.end()), "evil");
}

INSTANTIATE_TEST_SUITE_P(Names, HostileName,
                         ::testing::Values("../evil.bin", "..", "x/../../evil.bin", "sub/evil.bin",
                                           "..\\evil.bin", "/tmp/evil.bin", "", ".", std::string("ev\nil"),
                                           std::string("ev\x7Fil")));

TEST_F(PackageFileTest, ExtractionDoesNotFollowALinkInTheTargetFolder) {
    writeAll(dir.file("victim.txt"), "keep me");
    fs::create_symlink(dir.file("victim.txt"), out() + "a.bin");
    package.PackageFileList = {member("a.bin", 4, 'a')};
    package.PackageFileName = dir.file("p.scr");
    package.Execute();
    EXPECT_FALSE(package.ExtractAll(out()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Cannot create file"), std::string::npos);
    EXPECT_EQ(readAll(dir.file("victim.txt")), "keep me");
}

TEST_F(PackageFileTest, PackageCutShortAfterOpeningIsReportedAndLeavesNoPartialFile) {
    package.PackageFileList = {member("a.bin", 100000, 'a')};
    package.PackageFileName = dir.file("p.scr");
    package.Execute();
    ASSERT_TRUE(package.Open(""));
    fs::resize_file(package.PackageFileName, 50000);
    EXPECT_FALSE(package.ExtractAll(out()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("cut short"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir.path / "out"));
}

} // namespace
