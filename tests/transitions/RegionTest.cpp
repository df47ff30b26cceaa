// The region machinery against brute-force point tests: the sweep that unions rectangles, the
// scan conversion of polygons and rounded rectangles, and the band combination.
#include "engine/transitions/Region.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace somnex {
namespace {

constexpr int32_t W = 41, H = 29;

using Inside = std::function<bool(double cx, double cy)>;

// Band invariants: rows ascend without overlap, spans sorted, disjoint and not touching.
void ExpectWellFormed(const SpanRegion& r) {
    int32_t lastY = INT32_MIN;
    for (const Band& b : r.Bands()) {
        ASSERT_LT(b.Y0, b.Y1);
        ASSERT_GE(b.Y0, lastY);
        ASSERT_FALSE(b.Spans.empty());
        lastY = b.Y1;
        for (size_t i = 0; i < b.Spans.size(); ++i) {
            ASSERT_LT(b.Spans[i].X0, b.Spans[i].X1);
            if (i > 0) {
                ASSERT_LT(b.Spans[i - 1].X1, b.Spans[i].X0);
            }
        }
    }
}

void ExpectMatches(const SpanRegion& r, const Inside& inside) {
    ExpectWellFormed(r);
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x)
            ASSERT_EQ(r.Contains(x, y), inside(x + 0.5, y + 0.5)) << "pixel " << x << "," << y;
}

bool InRect(const TRect& r, double x, double y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

// Winding number of a closed polygon around a point.
int Winding(const TPolygon& p, double x, double y) {
    int w = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const TPoint a = p[i], b = p[(i + 1) % p.size()];
        if (a.Y <= y && b.Y > y && (b.X - a.X) * (y - a.Y) - (x - a.X) * (b.Y - a.Y) > 0) ++w;
        if (a.Y > y && b.Y <= y && (b.X - a.X) * (y - a.Y) - (x - a.X) * (b.Y - a.Y) < 0) --w;
    }
    return w;
}

std::vector<TRect> ScatteredRects(uint32_t seed, int n) {
    std::vector<TRect> rs;
    for (int i = 0; i < n; ++i) {
        auto next = [&seed](int m) { return int32_t((seed = seed * 1103515245u + 12345u) >> 16) % m; };
        int32_t l = next(W + 10) - 5, t = next(H + 10) - 5;
        rs.push_back({l, t, l + next(15), t + next(12)});
    }
    return rs;
}

TEST(RegionRects, UnionOfScatteredRectanglesMatchesPointTest) {
    for (uint32_t seed : {1u, 7u, 99u}) {
        const auto rs = ScatteredRects(seed, 40);
        RegionBuilder b(W, H);
        for (const TRect& r : rs) b.AddRect(r);
        ExpectMatches(b.Build(), [&](double x, double y) {
            for (const TRect& r : rs)
                if (InRect(r, x, y)) return true;
            return false;
        });
    }
}

TEST(RegionRects, TouchingRectanglesMergeAndEmptyOnesVanish) {
    RegionBuilder b(W, H);
    b.AddRect(0, 0, 10, 5);
    b.AddRect(10, 0, 20, 5);  // touches the first
    b.AddRect(0, 5, 20, 10);  // continues it downwards
    b.AddRect(30, 3, 30, 20); // empty
    b.AddRect(5, 3, 2, 9);    // mirrored: empty
    const SpanRegion r = b.Build();
    ASSERT_EQ(r.Bands().size(), 1u);
    EXPECT_EQ(r.Bands()[0].Y0, 0);
    EXPECT_EQ(r.Bands()[0].Y1, 10);
    EXPECT_EQ(r.Bands()[0].Spans, (std::vector<Span>{{0, 20}}));
    EXPECT_EQ(r.Bounds(), (TRect{0, 0, 20, 10}));
}

struct PolygonCase {
    const char* Name;
    TPolygon Points;
};

class RegionPolygon : public testing::TestWithParam<PolygonCase> {};

TEST_P(RegionPolygon, NonZeroWindingAtPixelCentres) {
    const TPolygon& p = GetParam().Points;
    RegionBuilder b(W, H);
    b.AddPolygon(p);
    ExpectMatches(b.Build(), [&](double x, double y) { return Winding(p, x, y) != 0; });
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RegionPolygon,
    testing::Values(PolygonCase{"triangle", {{2, 2}, {30, 5}, {8, 25}}},
                    PolygonCase{"anticlockwise", {{8, 25}, {30, 5}, {2, 2}}},
                    PolygonCase{"outside", {{-20, -10}, {60, 3}, {10, 50}}},
                    // A pentagram: the centre has winding 2 and stays filled under non-zero.
                    PolygonCase{"star", {{20, 1}, {31, 27}, {3, 10}, {37, 10}, {9, 27}}},
                    PolygonCase{"degenerate", {{5, 5}, {20, 5}}},
                    PolygonCase{"line", {{5, 5}, {20, 20}, {35, 35}}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct RoundRectCase {
    const char* Name;
    TRect R;
    int32_t Ew, Eh;
};

class RegionRoundRect : public testing::TestWithParam<RoundRectCase> {};

TEST_P(RegionRoundRect, CornersAreQuarterEllipses) {
    const auto& c = GetParam();
    RegionBuilder b(W, H);
    b.AddRoundRect(c.R, c.Ew, c.Eh);
    const double rx = std::min(c.Ew, c.R.Width()) / 2.0, ry = std::min(c.Eh, c.R.Height()) / 2.0;
    ExpectMatches(b.Build(), [&](double x, double y) {
        if (!InRect(c.R, x, y)) return false;
        // Distance into the corner zone, if any, measured from the ellipse centre.
        double dx = x < c.R.Left + rx ? c.R.Left + rx - x : x > c.R.Right - rx ? x - (c.R.Right - rx) : 0;
        double dy = y < c.R.Top + ry ? c.R.Top + ry - y : y > c.R.Bottom - ry ? y - (c.R.Bottom - ry) : 0;
        if (dx == 0 || dy == 0) return true;
        return (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) <= 1.0 + 1e-9;
    });
}

INSTANTIATE_TEST_SUITE_P(Shapes, RegionRoundRect,
                         testing::Values(RoundRectCase{"small_corners", {3, 2, 37, 26}, 8, 6},
                                         RoundRectCase{"ellipse", {5, 3, 35, 25}, 30, 22},
                                         RoundRectCase{"oversized_corners", {5, 3, 35, 25}, 200, 200},
                                         RoundRectCase{"beyond_picture", {-30, -10, 30, 60}, 60, 60},
                                         RoundRectCase{"square_corners", {4, 4, 20, 20}, 0, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

class RegionCombine : public testing::TestWithParam<RegionOp> {};

TEST_P(RegionCombine, MatchesBooleanOfPointTests) {
    const auto ra = ScatteredRects(3, 25), rb = ScatteredRects(11, 25);
    RegionBuilder ba(W, H), bb(W, H);
    for (const TRect& r : ra) ba.AddRect(r);
    for (const TRect& r : rb) bb.AddRect(r);
    const TPolygon tri{{0, 0}, {40, 10}, {10, 28}};
    bb.AddPolygon(tri);
    const SpanRegion a = ba.Build(), b = bb.Build();
    const RegionOp op = GetParam();
    ExpectMatches(SpanRegion::Combine(a, b, op), [&](double x, double y) {
        bool inA = a.Contains(int32_t(x), int32_t(y)), inB = b.Contains(int32_t(x), int32_t(y));
        return op == RegionOp::Union ? inA || inB : op == RegionOp::Intersect ? inA && inB : inA && !inB;
    });
}

INSTANTIATE_TEST_SUITE_P(Ops, RegionCombine,
                         testing::Values(RegionOp::Union, RegionOp::Intersect, RegionOp::Subtract));

} // namespace
} // namespace somnex
