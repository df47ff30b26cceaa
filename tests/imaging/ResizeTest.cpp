#include "engine/imaging/ImgOps.h"
#include "somnex/EngineError.h"

#include <gtest/gtest.h>

#include <random>

using namespace somnex;
using plat::Bitmap;
using plat::MakeColor;

namespace {

uint8_t Grey(const Bitmap& b, int x, int y) {
    return plat::RedOf(b.Pixel(x, y));
}

// Even rows black, odd rows white.
Bitmap RowStripes(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, y % 2 ? plat::ColorWhite : plat::ColorBlack);
    return b;
}

TEST(ResizeBitmap, ReductionIsSupersampledEvenWhenWidthGrows) {
    // 1000 + 100 < 900 + 900, so this is a reduction although the width grows.
    Bitmap b = RowStripes(900, 900);
    ResizeBitmap(b, 1000, 100, 1, true);
    ASSERT_EQ(b.Width(), 1000);
    ASSERT_EQ(b.Height(), 100);
    // Target row 0 averages source rows 1, 4 and 7: white, black, white.
    EXPECT_EQ(Grey(b, 0, 0), 170);
    EXPECT_EQ(Grey(b, 999, 0), 170);

    Bitmap plain = RowStripes(900, 900);
    ResizeBitmap(plain, 1000, 100, 1, false);
    EXPECT_EQ(Grey(plain, 0, 0), 0); // one sample: source row 4
}

TEST(ResizeBitmap, EnlargementIsPlainStretch) {
    Bitmap b(2, 1);
    b.SetPixel(0, 0, MakeColor(10, 20, 30));
    b.SetPixel(1, 0, MakeColor(40, 50, 60));
    ResizeBitmap(b, 4, 2, 1, true);
    ASSERT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(1, 1), MakeColor(10, 20, 30));
    EXPECT_EQ(b.Pixel(2, 0), MakeColor(40, 50, 60));
}

TEST(ResizeBitmap, FitModeKeepsSmallPictures) {
    Bitmap b = RowStripes(40, 30);
    const Bitmap before = b;
    ResizeBitmap(b, 800, 600, 4, true);
    EXPECT_TRUE(b == before);
}

TEST(ResizeBitmap, EmptyPictureCannotBeFitted) {
    Bitmap b;
    EXPECT_THROW(ResizeBitmap(b, 800, 600, 4, true), EngineError);
}

// The reduction samples the source where a 3× stretch would put each pixel; it must give the
// same averages as building that stretched bitmap and averaging it.
TEST(ReduceAntiAliased, EqualsStretchThenAverage) {
    std::mt19937 gen(42);
    Bitmap source(37, 23);
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) source.SetPixel(x, y, gen() & 0xFFFFFF);
    Bitmap target(11, 7);
    TAntiAlias aa;
    ReduceAntiAliased(aa, source, target);

    Bitmap work(33, 21);
    plat::Canvas(work).StretchDraw(work.ClipRect(), source);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x) {
            uint32_t sum[3] = {};
            for (int k = 0; k < 3; ++k)
                for (int j = 0; j < 3; ++j) {
                    const plat::Color c = work.Pixel(3 * x + j, 3 * y + k);
                    sum[0] += plat::RedOf(c), sum[1] += plat::GreenOf(c), sum[2] += plat::BlueOf(c);
                }
            ASSERT_EQ(target.Pixel(x, y),
                      MakeColor(uint8_t(sum[0] / 9), uint8_t(sum[1] / 9), uint8_t(sum[2] / 9)))
                << x << "," << y;
        }
    EXPECT_TRUE(aa.Work.Empty());
}

TEST(ReduceAntiAliased, DropsRemainderOfNinth) {
    Bitmap source(3, 3);
    source.Fill(plat::ColorBlack);
    source.SetPixel(1, 1, MakeColor(17, 8, 255)); // 17/9 = 1, 8/9 = 0, 255/9 = 28
    Bitmap target(1, 1);
    TAntiAlias aa;
    ReduceAntiAliased(aa, source, target);
    EXPECT_EQ(target.Pixel(0, 0), MakeColor(1, 0, 28));
}

TEST(ReduceAntiAliased, TransparentPixelsLeaveBlack) {
    Bitmap source(6, 6);
    source.Fill(plat::ColorWhite);
    source.SetPixel(0, 0, MakeColor(90, 90, 90));
    source.SetTransparent(true);
    source.SetTransparentColor(plat::ColorWhite);
    Bitmap target(2, 2);
    TAntiAlias aa;
    ReduceAntiAliased(aa, source, target);
    EXPECT_EQ(target.Pixel(1, 1), plat::ColorBlack);
    EXPECT_EQ(target.Pixel(0, 0), MakeColor(10, 10, 10)); // one grey sample of nine
}

using Transform = void (*)(Bitmap&);
using Mapping = plat::Point (*)(int c, int r); // where source (c, r) of a 3 × 2 bitmap lands

struct TransformCase {
    const char* name;
    Transform transform;
    int width, height;
    Mapping map;
};

class TransformTest : public testing::TestWithParam<TransformCase> {};

TEST_P(TransformTest, MovesEveryPixelOfThreeByTwo) {
    const TransformCase& t = GetParam();
    for (plat::PixelFormat format : {plat::PixelFormat::Pf24, plat::PixelFormat::Pf32}) {
        Bitmap b(3, 2, format);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) b.SetPixel(c, r, MakeColor(uint8_t(10 * c + r), 7, 9));
        t.transform(b);
        ASSERT_EQ(b.Width(), t.width);
        ASSERT_EQ(b.Height(), t.height);
        EXPECT_EQ(b.Format(), format);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) {
                const plat::Point p = t.map(c, r);
                EXPECT_EQ(b.Pixel(p.X, p.Y), MakeColor(uint8_t(10 * c + r), 7, 9)) << c << "," << r;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(All, TransformTest,
                         testing::Values(TransformCase{"Rotate90CCW", Rotate90CCW, 2, 3,
                                                       [](int c, int r) {
                                                           return plat::Point{r, 2 - c};
                                                       }},
                                         TransformCase{"Rotate90CW", Rotate90CW, 2, 3,
                                                       [](int c, int r) {
                                                           return plat::Point{1 - r, c};
                                                       }},
                                         TransformCase{"Rotate180", Rotate180, 3, 2,
                                                       [](int c, int r) {
                                                           return plat::Point{2 - c, 1 - r};
                                                       }},
                                         TransformCase{"MirrorHorizontal", MirrorHorizontal, 3, 2,
                                                       [](int c, int r) {
                                                           return plat::Point{2 - c, r};
                                                       }},
                                         TransformCase{"FlipVertical", FlipVertical, 3, 2,
                                                       [](int c, int r) {
                                                           return plat::Point{c, 1 - r};
                                                       }}),
                         [](const testing::TestParamInfo<TransformCase>& i) {
                             return std::string(i.param.name);
                         });

TEST(Transforms, KeepTransparencySettings) {
    Bitmap b(3, 2);
    b.SetTransparent(true);
    b.SetTransparentColor(MakeColor(1, 2, 3));
    Rotate90CW(b);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), MakeColor(1, 2, 3));
    MirrorHorizontal(b);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.GetTransparentMode(), plat::TransparentMode::Fixed);
}

} // namespace
