#include "platform/raster/Canvas.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

// Columns holding any pixel of `ink`, as [first, last + 1).
std::pair<int, int> InkColumns(const Bitmap& b, Color ink) {
    int first = b.Width(), last = -1;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) == ink) first = std::min(first, x), last = std::max(last, x);
    return {first, last + 1};
}

} // namespace

TEST(Font, WindowsCoreNamesLandOnMetricCompatibleFaces) {
    EXPECT_EQ(ResolveFontFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(ResolveFontFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(ResolveFontFamily("Courier New"), "Liberation Mono");
}

TEST(Text, ExtentGrowsWithSizeAndText) {
    Bitmap b(10, 10);
    Canvas c(b);
    c.Font() = FontSpec{"Arial", 12};
    const Size one = c.TextExtent("W");
    const Size two = c.TextExtent("WW");
    EXPECT_EQ(two.Width, 2 * one.Width);
    EXPECT_GE(one.Height, 16); // 12 pt is 16 pixels of em
    c.Font().Size = 24;
    EXPECT_GT(c.TextExtent("W").Height, one.Height);
}

class TextAlign : public ::testing::TestWithParam<int> {};

TEST_P(TextAlign, InkSitsWhereTheFlagSays) {
    const int flags = GetParam();
    Bitmap b(120, 30);
    b.Fill(ColorWhite);
    Canvas c(b);
    c.Font() = FontSpec{"Arial", 12, ColorBlack};
    c.SetBackgroundMode(BackgroundMode::Transparent);
    Rect r{10, 5, 110, 25};
    const int w = c.TextWidth("Mid");
    const int h = c.DrawText(r, "Mid", flags);
    EXPECT_EQ(h, c.TextHeight("Mid"));
    auto [first, end] = InkColumns(b, ColorBlack);
    ASSERT_LT(first, end) << "nothing drawn";
    const int expectLeft = flags == TextFlags::Center  ? 10 + (100 - w) / 2
                           : flags == TextFlags::Right ? 110 - w
                                                       : 10;
    // Ink lies within the advance box, allowing for side bearings of two pixels.
    EXPECT_GE(first, expectLeft - 2);
    EXPECT_LE(first, expectLeft + 3);
    EXPECT_LE(end, expectLeft + w + 2);
    EXPECT_GE(end, expectLeft + w - 3);
}

INSTANTIATE_TEST_SUITE_P(Flags, TextAlign,
                         ::testing::Values(TextFlags::Left, TextFlags::Center, TextFlags::Right));

TEST(Text, OpaqueBackgroundFillsTheCellsAndClipsToTheBox) {
    Bitmap b(60, 40);
    b.Fill(ColorBlack);
    Canvas c(b);
    c.Font() = FontSpec{"Arial", 10, 0x0000FF};
    c.SetBrush({0x00FF00, BrushStyle::Solid});
    Rect r{0, 0, 20, 40};
    c.DrawText(r, "Line one\r\nLine two\r\n", TextFlags::Left);
    auto [first, end] = InkColumns(b, 0x00FF00);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(end, 20) << "cell fill clipped to the box";
    EXPECT_EQ(b.Pixel(25, 5), ColorBlack);
    Rect calc{0, 0, 0, 0};
    const int height = c.DrawText(calc, "Line one\r\nLine two\r\n", TextFlags::CalcRect);
    EXPECT_EQ(height, 2 * c.TextHeight("Height"));
    EXPECT_EQ(calc.Right, c.TextWidth("Line one"));
}
