#include "platform/raster/Region.h"

#include <gtest/gtest.h>

#include <string>

using namespace plat;

namespace {

std::string Mask(const Region& r, int w, int h) {
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) s += r.Contains(x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

} // namespace

TEST(Region, RoundRectCornersAreQuarterEllipses) {
    const Region r = Region::FromRoundRect({0, 0, 6, 6}, 4, 4);
    EXPECT_EQ(Mask(r, 6, 6), ".####.\n######\n######\n######\n######\n.####.\n");
    // Far outside and mirrored coordinates are normalised, not lost.
    EXPECT_EQ(Region::FromRoundRect({6, 6, 0, 0}, 4, 4).Rects(), r.Rects());
    const Region big = Region::FromRoundRect({-100, -5, 4, 10}, 400, 400);
    EXPECT_FALSE(big.IsEmpty());
    EXPECT_EQ(big.BoundingBox().Right, 4);
    EXPECT_TRUE(Region::FromRoundRect({0, 0, 5, 5}, 0, 0).Contains(0, 0));
}

TEST(Region, CombinationsAndBoundingBox) {
    const Region a = Region::FromRect({0, 0, 4, 4});
    const Region b = Region::FromRect({2, 2, 6, 6});
    EXPECT_EQ(a.United(b).BoundingBox(), (Rect{0, 0, 6, 6}));
    EXPECT_EQ(a.Intersected(b).BoundingBox(), (Rect{2, 2, 4, 4}));
    const Region d = a.Subtracted(b);
    EXPECT_EQ(Mask(d, 6, 6), "####..\n####..\n##....\n##....\n......\n......\n");
    EXPECT_TRUE(a.Subtracted(a).IsEmpty());
    EXPECT_TRUE(Region::FromRect({3, 3, 3, 9}).IsEmpty());
    EXPECT_TRUE(Region().IsEmpty());
    EXPECT_EQ(Region().BoundingBox(), Rect{});
    Region u;
    u.Unite(a).Subtract(b);
    EXPECT_EQ(u.Rects(), d.Rects());
}

TEST(Region, PolygonRulesAndDegenerateShapes) {
    // A square traced twice the same way round: even-odd cancels it, non-zero keeps it.
    const std::vector<Point> twice = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}, {0, 4}};
    EXPECT_TRUE(Region::FromPolygon(twice, FillRule::EvenOdd).IsEmpty());
    EXPECT_EQ(Region::FromPolygon(twice, FillRule::NonZero).BoundingBox(), (Rect{0, 0, 4, 4}));
    EXPECT_TRUE(Region::FromPolygon({{0, 0}, {5, 5}}, FillRule::NonZero).IsEmpty());
    const Region tri = Region::FromPolygon({{0, 0}, {4, 0}, {0, 4}}, FillRule::NonZero);
    EXPECT_TRUE(tri.Contains(0, 0));
    EXPECT_FALSE(tri.Contains(3, 3));
}

TEST(Region, EllipseIsSymmetric) {
    const Region e = Region::FromEllipse({0, 0, 9, 5});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(e.Contains(x, y), e.Contains(8 - x, 4 - y)) << x << "," << y;
    EXPECT_TRUE(e.Contains(4, 2));
    EXPECT_FALSE(e.Contains(0, 0));
}
