#include "platform/raster/Canvas.h"

#include <gtest/gtest.h>

#include <string>

using namespace plat;

namespace {

constexpr Color R = 0x0000FF, G = 0x00FF00, B = 0xFF0000, W = 0xFFFFFF, K = 0x000000;

// A bitmap whose pixel (x, y) holds the colour x + 16 * y, so copies can be traced.
Bitmap Numbered(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, Color(x + 16 * y));
    return b;
}

std::string Row(const Bitmap& b, int y) {
    std::string s;
    for (int x = 0; x < b.Width(); ++x) s += std::to_string(b.Pixel(x, y)) + (x + 1 < b.Width() ? " " : "");
    return s;
}

// One character per pixel: '#' for `ink`, '.' otherwise.
std::string Mask(const Bitmap& b, Color ink) {
    std::string s;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) s += b.Pixel(x, y) == ink ? '#' : '.';
        s += '\n';
    }
    return s;
}

} // namespace

TEST(Canvas, FillRectIsExclusiveAndClipped) {
    Bitmap b(4, 3);
    Canvas c(b);
    c.FillRect({1, 1, 3, 9}, R);
    c.FillRect({-5, -5, 1, 1}, G);
    EXPECT_EQ(Mask(b, R), "....\n.##.\n.##.\n");
    EXPECT_EQ(b.Pixel(0, 0), G);
    c.Brush().Style = BrushStyle::Clear;
    c.FillRect({0, 0, 4, 3});
    EXPECT_EQ(b.Pixel(3, 2), K);
}

TEST(Canvas, RectangleOutlineLiesInsideWithPenWidth) {
    Bitmap b(5, 5);
    Canvas c(b);
    c.SetPen({R, 1, PenStyle::Solid});
    c.SetBrush({G, BrushStyle::Solid});
    c.Rectangle({0, 0, 5, 4});
    EXPECT_EQ(Mask(b, R), "#####\n#...#\n#...#\n#####\n.....\n");
    EXPECT_EQ(Mask(b, G), ".....\n.###.\n.###.\n.....\n.....\n");
    c.SetPen({B, 1, PenStyle::Clear});
    c.Rectangle({0, 0, 2, 2});
    EXPECT_EQ(b.Pixel(1, 1), G);
    EXPECT_EQ(b.Pixel(0, 0), G);
}

TEST(Canvas, EllipseAndRoundRectCutTheirCorners) {
    Bitmap b(8, 8);
    Canvas c(b);
    c.SetPen({R, 1, PenStyle::Clear});
    c.SetBrush({W, BrushStyle::Solid});
    c.Ellipse({0, 0, 8, 8});
    EXPECT_EQ(Mask(b, W), "..####..\n.######.\n########\n########\n########\n########\n.######.\n..####..\n");
    b.Fill(K);
    c.RoundRect({0, 0, 8, 6}, 4, 4);
    EXPECT_EQ(Mask(b, W), ".######.\n########\n########\n########\n########\n.######.\n........\n........\n");
}

TEST(Canvas, PolygonFillRules) {
    // A pentagram: its inner pentagon is inside by the non-zero rule only.
    const std::vector<Point> star = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    for (auto [rule, centre] : {std::pair{FillRule::EvenOdd, K}, std::pair{FillRule::NonZero, W}}) {
        Bitmap b(21, 21);
        Canvas c(b);
        c.SetPen({R, 1, PenStyle::Clear});
        c.SetBrush({W, BrushStyle::Solid});
        c.Polygon(star, rule);
        EXPECT_EQ(b.Pixel(10, 10), centre);
        EXPECT_EQ(b.Pixel(10, 2), W);
        EXPECT_EQ(b.Pixel(0, 20), K);
        EXPECT_EQ(Mask(b, R).find('#'), std::string::npos) << "a clear pen draws no outline";
    }
}

struct CopyCase {
    const char* name;
    Rect to;
    Rect from;
    std::vector<std::string> rows; // expected rows of a 4 x 2 destination
};

void PrintTo(const CopyCase& k, std::ostream* os) {
    *os << k.name;
}

class CanvasCopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CanvasCopy, NearestNeighbourWithMirrors) {
    const CopyCase& k = GetParam();
    const Bitmap src = Numbered(4, 2);
    Bitmap dst(4, 2);
    dst.Fill(99);
    Canvas c(dst);
    c.CopyRect(k.to, src, k.from);
    for (int y = 0; y < 2; ++y) EXPECT_EQ(Row(dst, y), k.rows[size_t(y)]) << k.name << " row " << y;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CanvasCopy,
    ::testing::Values(
        CopyCase{"same size", {0, 0, 4, 2}, {0, 0, 4, 2}, {"0 1 2 3", "16 17 18 19"}},
        CopyCase{"shifted and clipped", {2, 1, 6, 3}, {0, 0, 4, 2}, {"99 99 99 99", "99 99 0 1"}},
        CopyCase{"doubled", {0, 0, 4, 2}, {1, 0, 3, 1}, {"1 1 2 2", "1 1 2 2"}},
        CopyCase{"halved", {0, 0, 2, 1}, {0, 0, 4, 2}, {"17 19 99 99", "99 99 99 99"}},
        CopyCase{"mirror left-right", {3, 0, -1, 2}, {0, 0, 4, 2}, {"3 2 1 0", "19 18 17 16"}},
        CopyCase{"rotate 180", {3, 1, -1, -1}, {0, 0, 4, 2}, {"19 18 17 16", "3 2 1 0"}},
        CopyCase{"flip top-bottom", {0, 1, 4, -1}, {0, 0, 4, 2}, {"16 17 18 19", "0 1 2 3"}},
        CopyCase{"source beyond the edge", {0, 0, 4, 2}, {2, 0, 6, 2}, {"2 3 99 99", "18 19 99 99"}},
        CopyCase{"empty source", {0, 0, 4, 2}, {1, 1, 1, 2}, {"99 99 99 99", "99 99 99 99"}}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(Canvas, SelfCopyReadsTheOldPixels) {
    Bitmap b = Numbered(5, 1);
    Canvas c(b);
    c.CopyRect({1, 0, 5, 1}, b, {0, 0, 4, 1}); // push right by one
    EXPECT_EQ(Row(b, 0), "0 0 1 2 3");
    b = Numbered(5, 1);
    c.CopyRect({0, 0, 2, 1}, b, {0, 0, 5, 1}); // squeeze into the left two
    EXPECT_EQ(Row(b, 0), "1 3 2 3 4");
}

TEST(Canvas, DrawLeavesOutTheTransparentColour) {
    Bitmap logo(3, 2);
    logo.Fill(W);
    logo.SetPixel(1, 0, R);
    logo.SetPixel(2, 1, G);
    logo.SetTransparent(true); // automatic: bottom-left, white
    Bitmap dst(4, 3);
    dst.Fill(B);
    Canvas c(dst);
    c.Draw(1, 1, logo);
    EXPECT_EQ(Mask(dst, B), "####\n##.#\n###.\n");
    EXPECT_EQ(dst.Pixel(2, 1), R);
    EXPECT_EQ(dst.Pixel(3, 2), G);
    logo.SetTransparent(false);
    c.StretchDraw({0, 0, 4, 3}, logo);
    EXPECT_EQ(dst.Pixel(0, 0), W);
}

TEST(Canvas, DrawingHonoursTheClipRegion) {
    Bitmap img(4, 4);
    img.Fill(R);
    Bitmap dst(4, 4);
    Canvas c(dst);
    c.SetClipRegion(Region::FromRect({0, 0, 4, 4}).Subtracted(Region::FromRect({1, 1, 3, 3})));
    c.Draw(0, 0, img);
    EXPECT_EQ(Mask(dst, R), "####\n#..#\n#..#\n####\n");
    EXPECT_EQ(c.ClipRect(), (Rect{0, 0, 4, 4}));
    c.SetClipRegion(Region::FromRect({2, 0, 3, 9}));
    c.FillRect({0, 0, 4, 4}, G);
    EXPECT_EQ(Mask(dst, G), "..#.\n..#.\n..#.\n..#.\n");
}
