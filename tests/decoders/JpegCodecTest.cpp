#include "engine/decoders/JpegCodec.h"
#include "engine/decoders/PictureLoader.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace {

plat::Bitmap SmoothBitmap(int w, int h, plat::PixelFormat f = plat::PixelFormat::Pf24) {
    plat::Bitmap b(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, plat::MakeColor(uint8_t(x * 4), uint8_t(y * 4), 100));
    return b;
}

} // namespace

TEST(JpegEncoder, EmptyBitmapGivesNoBytes) {
    EXPECT_TRUE(somnex::EncodeJpeg(plat::Bitmap(), 90).empty());
}

TEST(JpegEncoder, IndependentDecoderReadsABaselineFile) {
    TempDir dir;
    const plat::Bitmap b = SmoothBitmap(33, 17, plat::PixelFormat::Pf32);
    const std::vector<uint8_t> jpg = somnex::EncodeJpeg(b, 90);
    ASSERT_GT(jpg.size(), 100u);
    // SOF0 marks a baseline frame.
    bool sof0 = false;
    for (size_t i = 0; i + 1 < jpg.size(); ++i) sof0 |= jpg[i] == 0xFF && jpg[i + 1] == 0xC0;
    EXPECT_TRUE(sof0);
    WriteAll(dir / "x.jpg", jpg);
    ASSERT_EQ(std::system(("djpeg -pnm -outfile " + (dir / "x.ppm") + " " + (dir / "x.jpg")).c_str()), 0);
    const plat::Bitmap back = somnex::LoadPicture(dir / "x.ppm");
    ASSERT_EQ(back.Width(), 33);
    int worst = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x) {
            const plat::Color a = back.Pixel(x, y), e = b.Pixel(x, y);
            worst = std::max({worst, std::abs(plat::RedOf(a) - plat::RedOf(e)),
                              std::abs(plat::GreenOf(a) - plat::GreenOf(e)),
                              std::abs(plat::BlueOf(a) - plat::BlueOf(e))});
        }
    EXPECT_LE(worst, 16);
}

TEST(JpegEncoder, QualityIsPassedOnAsItIs) {
    const plat::Bitmap b = SmoothBitmap(64, 64);
    const size_t q0 = somnex::EncodeJpeg(b, 0).size(), q1 = somnex::EncodeJpeg(b, 1).size();
    const size_t q50 = somnex::EncodeJpeg(b, 50).size(), q100 = somnex::EncodeJpeg(b, 100).size();
    EXPECT_EQ(q0, q1) << "0 reaches libjpeg's lower limit";
    EXPECT_LT(q1, q50);
    EXPECT_LT(q50, q100);
}

TEST(JpegDecoder, ScaledDecodeKeepsTheRequestedSize) {
    const std::vector<uint8_t> jpg = somnex::EncodeJpeg(SmoothBitmap(640, 480), 90);
    const plat::Bitmap quarter = somnex::DecodeJpegScaled(jpg.data(), jpg.size(), "x", 150, 100);
    EXPECT_EQ(quarter.Width(), 160);
    EXPECT_EQ(quarter.Height(), 120);
    const plat::Bitmap full = somnex::DecodeJpegScaled(jpg.data(), jpg.size(), "x", 0, 0);
    EXPECT_EQ(full.Width(), 640);
}
