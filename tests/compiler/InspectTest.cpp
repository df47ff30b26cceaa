// somnex inspect run as a person runs it, on a package made by the package writer.
#include "engine/compiler/PackageFile.h"
#include "engine/compiler/Unit_ScrFileObj.h"
#include "engine/decoders/JpegCodec.h"
#include "tests/compiler/TempDir.h"
#include "tests/host/HostRun.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace {

using namespace somnex;
namespace fs = std::filesystem;

using hosttest::HostRun;

class InspectTest : public ::testing::Test {
protected:
    HostRun inspect(const std::string& args) {
        return hosttest::RunHost(SOMNEX_HOST_PATH, dir.path, "inspect " + args);
    }

    // A player stub, a parameter database and an image library.
    std::string buildPackage() {
        writeAll(dir.file("player.exe"), "MZ player");
        {
            TScrPcvParamsFile params;
            params.ScrInfo.Name = "Sunsets";
            params.ImageCount = 1;
            params.CreateParamsFile(dir.file("params.dat"));
            params.SaveCommon();
            params.CloseParamsFile(false);
        }
        jpeg = EncodeJpeg(plat::Bitmap(64, 48), 90);
        {
            TScrImageFile images;
            images.CreateLibrary(dir.file("images.dat"));
            images.OpenLibrary(dir.file("images.dat"), "Images");
            images.AddImage(jpeg, 8, -1, 4, 40);
        }
        TPackageFile package;
        package.PackageFileName = dir.file("Sunsets.scr");
        package.PackageFileList = {dir.file("player.exe"), dir.file("params.dat"), dir.file("images.dat")};
        package.Execute();
        return package.PackageFileName;
    }

    TempDir dir;
    std::vector<uint8_t> jpeg;
};

TEST_F(InspectTest, ListsMembersParametersAndRecords) {
    std::string package = buildPackage();
    HostRun r = inspect("'" + package + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("0  player.exe  offset 0  size 9\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1  params.dat  offset 9  size "), std::string::npos);
    EXPECT_NE(r.out.find("parameters"), std::string::npos);
    EXPECT_NE(r.out.find("[BASIC] NAME = \"Sunsets\""), std::string::npos);
    EXPECT_NE(r.out.find("[IMAGES] COUNT = \"1\""), std::string::npos);
    EXPECT_NE(r.out.find("images\n"), std::string::npos);
    EXPECT_NE(r.out.find("ImageData=" + std::to_string(jpeg.size()) + " bytes sha256 "), std::string::npos);
    EXPECT_NE(r.out.find("jpeg 64x48"), std::string::npos);
    EXPECT_NE(r.out.find("ImageOpts=\"8\\x17-1\\x174\\x1740\\x17\""), std::string::npos);

    HostRun j = inspect("'" + package + "' --json");
    ASSERT_EQ(j.status, 0) << j.err;
    EXPECT_NE(j.out.find("{\"section\":\"BASIC\",\"key\":\"NAME\",\"value\":\"Sunsets\"}"), std::string::npos)
        << j.out;
    EXPECT_NE(j.out.find("\"width\":64,\"height\":48"), std::string::npos);
}

TEST_F(InspectTest, ExtractWritesTheMembers) {
    std::string package = buildPackage();
    fs::create_directories(dir.path / "out");
    HostRun r = inspect("'" + package + "' --extract '" + dir.file("out") + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(listTree(dir.path / "out"),
              (std::vector<std::string>{"images.dat", "params.dat", "player.exe"}));
    EXPECT_EQ(readAll(dir.file("out/params.dat")), readAll(dir.file("params.dat")));
}

struct Hostile {
    const char* what;
    std::string bytes;
    const char* error;
};

void PrintTo(const Hostile& h, std::ostream* os) {
    *os << h.what;
}

std::string le32(int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += char(uint32_t(v) >> (8 * i));
    return s;
}

std::string oneEntry(const std::string& data, const std::string& name, int32_t offset, int32_t size) {
    std::string entry(256, '\0');
    entry[0] = char(name.size());
    std::memcpy(entry.data() + 1, name.data(), name.size());
    return data + entry + le32(offset) + le32(size) + le32(1);
}

class InspectHostile : public InspectTest, public ::testing::WithParamInterface<Hostile> {};

TEST_P(InspectHostile, FailsClearlyAndWritesNothingOutsideTheFolder) {
    writeAll(dir.file("bad.scr"), GetParam().bytes);
    fs::create_directories(dir.path / "out" / "sub");
    auto before = listTree(dir.path);
    HostRun r = inspect("'" + dir.file("bad.scr") + "' --extract '" + dir.file("out/sub") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(GetParam().error), std::string::npos) << r.err;
    // A readable member may land in the target folder, nothing anywhere else.
    auto after = listTree(dir.path);
    std::erase_if(after, [](const std::string& p) { return p.rfind("out/sub/", 0) == 0; });
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(
    Packages, InspectHostile,
    ::testing::Values(
        Hostile{"Truncated", "ab", "too short"},
        Hostile{"CountLargerThanFile", "abcd" + le32(50), "member count 50"},
        Hostile{"OffsetPastTheEnd", oneEntry("data", "a.bin", 4000, 4), "outside the member data"},
        Hostile{"NameWithSeparator", oneEntry("data", "sub/a.bin", 0, 4), "path separator"},
        Hostile{"NameWithDots", oneEntry("data", "..", 0, 4), "'..'"},
        Hostile{"DamagedDatabase", oneEntry(std::string("SQLite format 3\0garbage", 23), "p.dat", 0, 23),
                "could not be read"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(InspectTest, MissingPackageIsAClearError) {
    HostRun r = inspect("'" + dir.file("none.scr") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no package file"), std::string::npos);
}

} // namespace
