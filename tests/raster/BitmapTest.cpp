#include "platform/raster/Bitmap.h"
#include "platform/raster/BitmapFile.h"

#include "somnex/EngineError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

using namespace plat;
namespace fs = std::filesystem;

namespace {

Bitmap Pattern(int w, int h, PixelFormat f = PixelFormat::Pf24) {
    Bitmap b(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, MakeColor(uint8_t(x * 40), uint8_t(y * 30), uint8_t(x + y)));
    return b;
}

struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() / ("raster-" + std::to_string(std::random_device{}()));
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
};

} // namespace

TEST(Bitmap, RowsAreBlueGreenRedPaddedToFourBytes) {
    Bitmap b(3, 2);
    EXPECT_EQ(b.Stride(), 12);
    b.SetPixel(1, 1, MakeColor(0x11, 0x22, 0x33));
    const uint8_t* p = b.ScanLine(1) + 3;
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(b.Pixel(1, 1), 0x332211u);
    EXPECT_EQ(b.Pixel(0, 0), ColorBlack);
}

TEST(Bitmap, SetSizeKeepsWhatStillFits) {
    Bitmap b = Pattern(4, 4);
    const Color keep = b.Pixel(2, 1);
    b.SetSize(3, 6);
    EXPECT_EQ(b.Pixel(2, 1), keep);
    EXPECT_EQ(b.Pixel(1, 5), ColorBlack);
    EXPECT_THROW(b.SetSize(-1, 2), somnex::EngineError);
    EXPECT_THROW(b.SetSize(Bitmap::MaxSide + 1, 1), somnex::EngineError);
    EXPECT_THROW(b.SetSize(Bitmap::MaxSide, Bitmap::MaxSide), somnex::EngineError);
}

TEST(Bitmap, FormatConversionKeepsColours) {
    Bitmap b = Pattern(5, 3);
    Bitmap c = b;
    c.SetPixelFormat(PixelFormat::Pf32);
    EXPECT_EQ(c.Stride(), 20);
    EXPECT_EQ(c.ScanLine(2)[4 * 4 + 3], 0xFF);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(c.Pixel(x, y), b.Pixel(x, y));
    c.SetPixelFormat(PixelFormat::Pf24);
    EXPECT_TRUE(c == b);
}

TEST(Bitmap, AutomaticTransparentColourIsBottomLeft) {
    Bitmap b = Pattern(3, 3);
    EXPECT_EQ(b.TransparentColor(), b.Pixel(0, 2));
    b.SetTransparentColor(0x123456);
    EXPECT_EQ(b.GetTransparentMode(), TransparentMode::Fixed);
    EXPECT_EQ(b.TransparentColor(), 0x123456u);
}

class BitmapFileRoundTrip : public ::testing::TestWithParam<PixelFormat> {};

TEST_P(BitmapFileRoundTrip, OddWidthSurvivesAndAnIndependentReaderAgrees) {
    TempDir dir;
    const Bitmap b = Pattern(5, 3, GetParam());
    const std::string bmp = (dir.path / "Splash.bmp").string();
    SaveBitmapFile(b, bmp);
    Bitmap back = LoadBitmapFile(bmp);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(back.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
    // GraphicsMagick reads what we wrote the same way.
    const std::string ppm = (dir.path / "x.ppm").string();
    ASSERT_EQ(std::system(("gm convert " + bmp + " -compress none " + ppm).c_str()), 0);
    std::ifstream f(ppm, std::ios::binary);
    std::string magic;
    int w, h, max;
    f >> magic >> w >> h >> max;
    f.get();
    ASSERT_EQ(magic, "P6");
    ASSERT_EQ(w, 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t rgb[3];
            f.read(reinterpret_cast<char*>(rgb), 3);
            EXPECT_EQ(MakeColor(rgb[0], rgb[1], rgb[2]), b.Pixel(x, y));
        }
}

INSTANTIATE_TEST_SUITE_P(Depths, BitmapFileRoundTrip,
                         ::testing::Values(PixelFormat::Pf24, PixelFormat::Pf32));

TEST(BitmapFile, ReadsPaletteFilesAndRejectsBrokenOnes) {
    TempDir dir;
    const std::string pal = (dir.path / "p.bmp").string();
    ASSERT_EQ(std::system(("gm convert -size 7x2 xc:red -type Palette BMP3:" + pal).c_str()), 0);
    Bitmap b = LoadBitmapFile(pal);
    EXPECT_EQ(b.Width(), 7);
    EXPECT_EQ(b.Pixel(6, 1), MakeColor(255, 0, 0));

    const std::vector<std::vector<uint8_t>> broken = {
        {},
        {'B', 'M'},
        {'X', 'Y', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0},
    };
    for (const auto& bytes : broken)
        EXPECT_THROW(DecodeBitmapFile(bytes.data(), bytes.size(), "x.bmp"), somnex::EngineError);
    std::vector<uint8_t> huge = EncodeBitmapFile(Bitmap(2, 2));
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x00; // width 16M
    EXPECT_THROW(DecodeBitmapFile(huge.data(), huge.size(), "x.bmp"), somnex::EngineError);
    std::vector<uint8_t> cut = EncodeBitmapFile(Pattern(40, 40));
    cut.resize(100);
    EXPECT_THROW(DecodeBitmapFile(cut.data(), cut.size(), "x.bmp"), somnex::EngineError);
    EXPECT_THROW(LoadBitmapFile((dir.path / "missing.bmp").string()), somnex::EngineError);
}
