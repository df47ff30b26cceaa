#pragma once
// What the compile tests share: a private folder, small projects written through the project
// classes, and readers of the output that rely only on its documented layout (the package by
// hand, the databases through the independent store reader, JPEG through libjpeg).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace compiletest {

namespace fs = std::filesystem;

struct Member {
    std::string Name;
    std::string Bytes;
};

// The package's members at the offsets its directory gives; fails the test on any inconsistency.
std::vector<Member> ReadPackage(const std::string& path);

// Records of a library or parameter database held as package member `bytes`.
std::vector<std::map<std::string, std::string>> ReadTable(const fs::path& scratch, const Member& member,
                                                          const std::string& table);
// Section/key -> value of a parameter database (section and key in capitals).
std::map<std::string, std::string> ReadParams(const fs::path& scratch, const Member& member);

struct JpegInfo {
    bool Valid = false;
    int Width = 0, Height = 0;
    int FirstQuant = 0; // first entry of the luminance quantisation table
};
JpegInfo InspectJpeg(const std::string& bytes);

// A folder of its own, removed afterwards.
class CompileFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Pictures of 120 x 90 and tunes of a tenth of a second, in dir.
    std::string Picture(const std::string& name, int w = 120, int h = 90);
    std::string Tune(const std::string& name);
    std::string Movie(const std::string& name, size_t size);
    // A slideshow of `pictures` and `music` files at dir/show.pcv, with a build size of 160 x 120.
    std::string SlideshowProject(const std::vector<std::string>& pictures,
                                 const std::vector<std::string>& music, bool mute = false,
                                 int32_t quality = 85);
    std::string FlashProject(const std::vector<std::string>& movies);
    // Every file below `folder`.
    static std::vector<std::string> FilesIn(const fs::path& folder);

    fs::path dir;
    fs::path work; // the work folder, created empty
};

} // namespace compiletest
