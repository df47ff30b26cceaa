#include "engine/imaging/ImgOps.h"
#include "engine/imaging/RowKernels.h"
#include "somnex/EngineError.h"

#include <gtest/gtest.h>

using namespace somnex;
using plat::Bitmap;
using plat::MakeColor;

namespace {

struct MaskCase {
    uint8_t r, g, b, opacity;
};

class MaskOpacityTest : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskOpacityTest, GreyLevelOfMaskPixel) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(MaskOpacity(c.r, c.g, c.b), c.opacity);
}

INSTANTIATE_TEST_SUITE_P(Pixels, MaskOpacityTest,
                         testing::Values(MaskCase{200, 100, 100, 200}, // red = green + blue: red itself
                                         MaskCase{200, 100, 60, 126},  // nearest(60 + 59 + 6.6)
                                         MaskCase{128, 128, 128, 128}, MaskCase{0, 0, 0, 0},
                                         MaskCase{255, 255, 255, 255}, MaskCase{90, 0, 0, 27},
                                         MaskCase{0, 255, 0, 150})); // 150.45

TEST(BlendChannel, DividesBy256) {
    EXPECT_EQ(BlendChannel(0, 255, 128), 127);
    EXPECT_EQ(BlendChannel(0, 255, 255), 254); // even full opacity darkens
    EXPECT_EQ(BlendChannel(255, 0, 0), 254);
    EXPECT_EQ(BlendChannel(100, 200, 0), 99);
}

Bitmap Solid(int w, int h, plat::Color c) {
    Bitmap b(w, h);
    b.Fill(c);
    return b;
}

TEST(BlendBitmap, ConstantOpacityOverBlack) {
    Bitmap picture = Solid(2, 2, plat::ColorWhite);
    Bitmap background = Solid(2, 2, plat::ColorBlack);
    BlendBitmap(1, picture, nullptr, background, 128, plat::ColorWhite);
    EXPECT_EQ(picture.Pixel(1, 1), MakeColor(127, 127, 127));
    EXPECT_EQ(background.Pixel(1, 1), plat::ColorBlack); // only read
}

TEST(BlendBitmap, MaskGivesOpacityPerPixel) {
    Bitmap picture = Solid(3, 1, plat::ColorWhite);
    Bitmap background = Solid(3, 1, plat::ColorBlack);
    Bitmap mask(3, 1);
    mask.SetPixel(0, 0, MakeColor(200, 100, 100));
    mask.SetPixel(1, 0, MakeColor(200, 100, 60));
    mask.SetPixel(2, 0, MakeColor(128, 128, 128));
    BlendBitmap(2, picture, &mask, background, 0, plat::ColorWhite);
    // 255 × a >> 8 for a = 200, 126, 128.
    EXPECT_EQ(picture.Pixel(0, 0), MakeColor(199, 199, 199));
    EXPECT_EQ(picture.Pixel(1, 0), MakeColor(125, 125, 125));
    EXPECT_EQ(picture.Pixel(2, 0), MakeColor(127, 127, 127));
}

TEST(BlendBitmap, TransparentColourStaysAndIsCopiedIntoBackground) {
    Bitmap picture = Solid(2, 1, plat::ColorWhite);
    picture.SetPixel(1, 0, MakeColor(10, 20, 30));
    picture.SetTransparent(true);
    Bitmap background = Solid(2, 1, MakeColor(0, 0, 200));
    BlendBitmap(1, picture, nullptr, background, 100, plat::ColorWhite);
    EXPECT_EQ(picture.Pixel(0, 0), plat::ColorWhite);
    EXPECT_EQ(background.Pixel(0, 0), plat::ColorWhite);
    // (155 × bg + 100 × pic) >> 8 per channel.
    EXPECT_EQ(picture.Pixel(1, 0), MakeColor(3, 7, 132));
    EXPECT_EQ(background.Pixel(1, 0), MakeColor(0, 0, 200));
}

TEST(BlendBitmap, UnmarkedPictureBlendsItsWhiteToo) {
    Bitmap picture = Solid(1, 1, plat::ColorWhite);
    Bitmap background = Solid(1, 1, plat::ColorBlack);
    BlendBitmap(1, picture, nullptr, background, 128, plat::ColorWhite);
    EXPECT_EQ(picture.Pixel(0, 0), MakeColor(127, 127, 127));
}

TEST(BlendBitmap, ConvertsThirtyTwoBitInputs) {
    Bitmap picture(2, 1, plat::PixelFormat::Pf32);
    picture.Fill(plat::ColorWhite);
    Bitmap background(2, 1, plat::PixelFormat::Pf32);
    background.Fill(plat::ColorBlack);
    BlendBitmap(1, picture, nullptr, background, 128, plat::ColorWhite);
    EXPECT_EQ(picture.Format(), plat::PixelFormat::Pf24);
    EXPECT_EQ(picture.Pixel(1, 0), MakeColor(127, 127, 127));
}

TEST(BlendBitmap, RefusesBackgroundOrMaskSmallerThanPicture) {
    Bitmap picture = Solid(4, 4, plat::ColorWhite);
    Bitmap small = Solid(4, 3, plat::ColorBlack);
    Bitmap fits = Solid(4, 4, plat::ColorBlack);
    EXPECT_THROW(BlendBitmap(1, picture, nullptr, small, 128, plat::ColorWhite), EngineError);
    EXPECT_THROW(BlendBitmap(2, picture, &small, fits, 128, plat::ColorWhite), EngineError);
    EXPECT_THROW(BlendBitmap(2, picture, nullptr, fits, 128, plat::ColorWhite), EngineError);
    EXPECT_EQ(picture.Pixel(0, 0), plat::ColorWhite); // nothing touched
}

} // namespace
