#include "engine/imaging/Gradient.h"
#include "engine/imaging/GradientPattern.h"
#include "engine/imaging/GradientSpans.h"

#include <gtest/gtest.h>

#include <vector>

using namespace somnex;
using plat::MakeColor;

namespace {

struct Shape {
    char kind; // 'r' rectangle, 'e' ellipse, 'p' polygon
    uint32_t color;
    std::vector<GradientPoint> points; // rectangles and ellipses: top-left, bottom-right
};

class Recorder final : public GradientSink {
public:
    void SetColor(uint32_t c) override { color_ = c; }
    void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) override {
        shapes.push_back({'r', color_, {{l, t}, {r, b}}});
    }
    void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override {
        shapes.push_back({'e', color_, {{l, t}, {r, b}}});
    }
    void Polygon(const GradientPoint* p, int32_t n) override {
        shapes.push_back({'p', color_, std::vector<GradientPoint>(p, p + n)});
    }
    std::vector<Shape> shapes;

private:
    uint32_t color_ = 0;
};

Recorder Record(uint8_t direction, int32_t w, int32_t h, uint32_t c1 = 0x000000, uint32_t c2 = 0xFFFFFF) {
    Recorder r;
    PaintGradientPattern(r, direction, c1, c2, w, h);
    return r;
}

TEST(GradientStepColor, StepsRoundHalfAwayAndHitBothEnds) {
    EXPECT_EQ(GradientStepColor(0x000000, 0xFFFFFF, 128, 255), 0x808080u);
    EXPECT_EQ(GradientStepColor(0x0000FF, 0x000000, 1, 255), 0x0000FEu); // 255 + MulDiv(1, -255, 255)
    EXPECT_EQ(GradientStepColor(0x123456, 0xABCDEF, 0, 155), 0x123456u);
    EXPECT_EQ(GradientStepColor(0x123456, 0xABCDEF, 155, 155), 0xABCDEFu);
    // Each channel on its own: red 0 -> 100 over 3 steps gives 33, 67 (66.67), green 200 -> 0.
    EXPECT_EQ(GradientStepColor(MakeColor(0, 200, 0), MakeColor(100, 0, 0), 2, 3), MakeColor(67, 67, 0));
    // Only the three colour bytes take part.
    EXPECT_EQ(GradientStepColor(0xFF000000, 0xFF000000, 5, 10), 0u);
}

struct CountCase {
    uint8_t direction;
    int32_t w, h;
    size_t shapes;
    char kind;
};

class GradientShapeCount : public testing::TestWithParam<CountCase> {};

TEST_P(GradientShapeCount, PaintsBoundedNumberOfShapes) {
    const CountCase& c = GetParam();
    const Recorder r = Record(c.direction, c.w, c.h);
    ASSERT_EQ(r.shapes.size(), c.shapes);
    for (const Shape& s : r.shapes) ASSERT_EQ(s.kind, c.kind);
    if (!r.shapes.empty()) {
        EXPECT_EQ(r.shapes.front().color, 0x000000u); // step 0 is colour 1
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, GradientShapeCount,
                         testing::Values(CountCase{0, 800, 600, 256, 'r'}, CountCase{1, 800, 600, 256, 'r'},
                                         CountCase{2, 800, 600, 156, 'e'}, CountCase{3, 800, 600, 256, 'r'},
                                         CountCase{4, 800, 601, 2 * 301, 'r'},
                                         CountCase{5, 801, 600, 2 * 401, 'r'},
                                         CountCase{6, 800, 600, 255, 'p'}, CountCase{7, 800, 600, 255, 'p'},
                                         CountCase{8, 800, 600, 255, 'p'}, CountCase{9, 800, 600, 255, 'p'},
                                         CountCase{10, 800, 600, 1024, 'p'},
                                         CountCase{11, 800, 600, 256, 'p'}, CountCase{12, 800, 600, 256, 'p'},
                                         CountCase{13, 800, 600, 0, 'r'}, CountCase{255, 800, 600, 0, 'r'}));

TEST(GradientPattern, VerticalBandsCoverTheWidth) {
    const Recorder r = Record(0, 800, 600);
    EXPECT_EQ(r.shapes.front().points, (std::vector<GradientPoint>{{0, 0}, {3, 600}}));
    EXPECT_EQ(r.shapes.back().points[1].X, 800);
    EXPECT_EQ(r.shapes.back().color, 0xFFFFFFu);
}

TEST(GradientPattern, FirstEllipseIsAlreadyOneStepIn) {
    const Recorder r = Record(2, 800, 600);
    EXPECT_EQ(r.shapes.front().points, (std::vector<GradientPoint>{{-196, -147}, {1000, 751}}));
    EXPECT_EQ(r.shapes.back().color, 0xFFFFFFu);
}

TEST(GradientPattern, MirroredBandsOnOddHeightMeetInColourTwo) {
    const Recorder r = Record(4, 800, 601);
    // h = 300: steps 0..300, divisor 300; each step is a row and its mirror from the bottom.
    const Shape& topFirst = r.shapes[0];
    const Shape& bottomFirst = r.shapes[1];
    EXPECT_EQ(topFirst.points, (std::vector<GradientPoint>{{0, 0}, {800, 1}}));
    EXPECT_EQ(bottomFirst.points, (std::vector<GradientPoint>{{0, 600}, {800, 601}}));
    const Shape& middle = r.shapes[600];
    EXPECT_EQ(middle.points, (std::vector<GradientPoint>{{0, 300}, {800, 301}}));
    EXPECT_EQ(middle.color, 0xFFFFFFu);
    EXPECT_EQ(r.shapes[2].color, GradientStepColor(0, 0xFFFFFF, 1, 300));
}

TEST(GradientPattern, DiagonalsStopOneStepShortOfColourTwo) {
    for (uint8_t d = 6; d <= 9; ++d) {
        const Recorder r = Record(d, 800, 600);
        EXPECT_EQ(r.shapes.back().color, GradientStepColor(0, 0xFFFFFF, 254, 255)) << int(d);
        EXPECT_NE(r.shapes.back().color, 0xFFFFFFu) << int(d);
    }
}

TEST(GradientPattern, DiagonalBandsStartAtTheirCorner) {
    // step = 1400 / 255 = 5.49: the first band is the corner triangle cut at distance 5.
    EXPECT_EQ(Record(6, 800, 600).shapes.front().points,
              (std::vector<GradientPoint>{{0, 0}, {5, 0}, {0, 5}, {0, 0}}));
    EXPECT_EQ(Record(7, 800, 600).shapes.front().points,
              (std::vector<GradientPoint>{{799, 0}, {799, 5}, {793, 0}, {799, 0}}));
    EXPECT_EQ(Record(8, 800, 600).shapes.front().points,
              (std::vector<GradientPoint>{{799, 599}, {799, 593}, {793, 599}, {799, 599}}));
    EXPECT_EQ(Record(9, 800, 600).shapes.front().points,
              (std::vector<GradientPoint>{{0, 599}, {0, 593}, {5, 599}, {0, 599}}));
    // The last band of direction 6 has turned both corners: A on the right edge, B on the bottom.
    const Shape last = Record(6, 800, 600).shapes.back();
    EXPECT_EQ(last.points[1], (GradientPoint{799, 600}));
    EXPECT_EQ(last.points[2], (GradientPoint{800, 599}));
}

uint32_t At(const plat::Bitmap& b, int x, int y) {
    return b.Pixel(x, y);
}

// The same shapes through the canvas's own fills, one after another.
class CanvasPainter final : public GradientSink {
public:
    explicit CanvasPainter(plat::Canvas& c) : c_(c) { c_.SetPen({0, 1, plat::PenStyle::Clear}); }
    void SetColor(uint32_t color) override { c_.SetBrush({color, plat::BrushStyle::Solid}); }
    void FillRect(int32_t l, int32_t t, int32_t r, int32_t b) override { c_.FillRect({l, t, r, b}); }
    void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override { c_.Ellipse({l, t, r, b}); }
    void Polygon(const GradientPoint* p, int32_t n) override {
        std::vector<plat::Point> pts;
        for (int32_t i = 0; i < n; ++i) pts.push_back({p[i].X, p[i].Y});
        c_.Polygon(pts, plat::FillRule::EvenOdd);
    }

private:
    plat::Canvas& c_;
};

class SpanPainterMatchesCanvas : public testing::TestWithParam<uint8_t> {};

// Painting each row once from the last shape back must give exactly what painting every shape
// in turn gives.
TEST_P(SpanPainterMatchesCanvas, SamePixels) {
    const uint8_t d = GetParam();
    for (plat::Size size : {plat::Size{160, 120}, plat::Size{97, 61}}) {
        plat::Bitmap fast(size.Width, size.Height), slow(size.Width, size.Height);
        fast.Fill(0x777777);
        slow.Fill(0x777777);
        GradientSpanPainter spans;
        PaintGradientPattern(spans, d, 0x2040F0, 0xF0C010, size.Width, size.Height);
        spans.Render(fast);
        plat::Canvas canvas(slow);
        CanvasPainter painter(canvas);
        PaintGradientPattern(painter, d, 0x2040F0, 0xF0C010, size.Width, size.Height);
        int differing = 0;
        for (int y = 0; y < size.Height; ++y)
            for (int x = 0; x < size.Width; ++x) differing += At(fast, x, y) != At(slow, x, y);
        EXPECT_EQ(differing, 0) << int(d);
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, SpanPainterMatchesCanvas, testing::Range<uint8_t>(0, 13));

TEST(DrawGradient, BandsLandOnCanvas) {
    plat::Bitmap slide(800, 600);
    plat::Canvas canvas(slide);
    DrawGradient(canvas, 0, 0x0000FF, 0xFF0000, slide.ClipRect());
    EXPECT_EQ(At(slide, 0, 0), 0x0000FFu);
    EXPECT_EQ(At(slide, 2, 599), 0x0000FFu);
    EXPECT_EQ(At(slide, 3, 0), GradientStepColor(0x0000FF, 0xFF0000, 1, 255));
    EXPECT_EQ(At(slide, 799, 300), 0xFF0000u);
}

TEST(DrawGradient, MiddleRowOfOddHeightIsColourTwo) {
    plat::Bitmap slide(40, 601);
    plat::Canvas canvas(slide);
    DrawGradient(canvas, 4, 0x000000, 0x00FF00, slide.ClipRect());
    EXPECT_EQ(At(slide, 5, 300), 0x00FF00u);
    EXPECT_EQ(At(slide, 5, 0), 0u);
    EXPECT_EQ(At(slide, 5, 600), 0u);
    EXPECT_EQ(At(slide, 5, 299), At(slide, 5, 301));
}

TEST(DrawGradient, RectangleBeyondCanvasDoesNotShiftPattern) {
    // The player passes a rectangle 6 pixels beyond the screen on every side: the pattern is
    // laid out for the larger size and its corner lands on the canvas's (0, 0).
    for (uint8_t d : {2, 6, 10}) {
        plat::Bitmap slide(120, 90);
        plat::Canvas canvas(slide);
        DrawGradient(canvas, d, 0x102030, 0xF0E0D0, {-6, -6, 126, 96});

        plat::Bitmap reference(132, 102);
        plat::Canvas refCanvas(reference);
        DrawGradient(refCanvas, d, 0x102030, 0xF0E0D0, reference.ClipRect());
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) ASSERT_EQ(At(slide, x, y), At(reference, x, y)) << int(d);
    }
}

TEST(DrawGradient, DiagonalsReachTheLastColumnAndRow) {
    // The band edges leave the last column and row unfilled; they must not show a stray colour.
    for (uint8_t d = 6; d <= 9; ++d) {
        plat::Bitmap slide(100, 80);
        plat::Canvas canvas(slide);
        DrawGradient(canvas, d, 0x000000, 0xFFFFFF, slide.ClipRect());
        for (int y = 0; y < 80; ++y) ASSERT_EQ(At(slide, 99, y), At(slide, 98, y)) << int(d) << " row " << y;
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(At(slide, x, 79), At(slide, x, 78)) << int(d) << " column " << x;
    }
    plat::Bitmap slide(100, 80);
    plat::Canvas canvas(slide);
    DrawGradient(canvas, 6, 0x000000, 0xFFFFFF, slide.ClipRect());
    EXPECT_GT(plat::RedOf(At(slide, 99, 79)), 240); // the far corner is near colour 2
}

TEST(DrawGradient, ReplacesEarlierContent) {
    plat::Bitmap slide(64, 48);
    slide.Fill(0x123456);
    plat::Canvas canvas(slide);
    DrawGradient(canvas, 13, 0xABCDEF, 0x000000, slide.ClipRect());
    for (int y = 0; y < 48; y += 7)
        for (int x = 0; x < 64; x += 7) ASSERT_EQ(At(slide, x, y), 0xABCDEFu);
}

} // namespace
