// Exact geometry of the effect families on small pictures, checked pixel by pixel: which pixel of
// the new picture (or of the old screen) each display pixel shows after one call.
#include "TestPictures.h"

#include "engine/core/SharedRandom.h"
#include "engine/transitions/PSEffect.h"
#include "engine/transitions/effects/Families.h"

#include <gtest/gtest.h>

#include <functional>

namespace somnex {
namespace {

using test::Frame;

void Draw(int32_t style, Frame& f, int32_t progress, int32_t step = 4) {
    TRect update{0, 0, f.Display.Width(), f.Display.Height()};
    TransitionEffects[size_t(style - 1)].Proc(f.Display.View(), f.Image.View(), update, step, progress);
    EXPECT_EQ(update, (TRect{0, 0, f.Display.Width(), f.Display.Height()})) << "no effect narrows UpdateRect";
}

// ---- shared quantities ----

struct ExtentCase {
    int32_t W, H, Step, P, X, Y, E;
};

class Extent : public testing::TestWithParam<ExtentCase> {};

TEST_P(Extent, LongerSideScalesAndShorterFollows) {
    const auto& c = GetParam();
    const Extents e = ComputeExtents(c.W, c.H, c.Step, c.P);
    EXPECT_EQ(e.X, c.X);
    EXPECT_EQ(e.Y, c.Y);
    EXPECT_EQ(e.E, c.E);
}

INSTANTIATE_TEST_SUITE_P(Cases, Extent,
                         testing::Values(ExtentCase{400, 300, 4, 50, 200, 150, 18},
                                         ExtentCase{300, 400, 4, 50, 150, 200, 18}, // portrait: Y first
                                         ExtentCase{50, 50, 4, 1, 1, 1, 2},
                                         ExtentCase{50, 50, 4, 99, 50, 50, 2}, // 49.5 rounds away from 0
                                         ExtentCase{10, 10, 4, 50, 5, 5, 0},   // E is 0 below 45
                                         ExtentCase{1920, 1080, 100, 33, 634, 357, 2133}));

// ---- family 1: rectangle copies ----

// One plain copy D <- S: every display pixel in D shows the image pixel nearest to its mapped
// position in S; everything else keeps the old screen.
struct CopyCase {
    int32_t Style;
    std::function<std::pair<TRect, TRect>(const Extents&)> DS;
};

class RectCopy : public testing::TestWithParam<CopyCase> {};

TEST_P(RectCopy, OneCopyLandsWhereTheTableSays) {
    for (auto [w, h, p] : {std::tuple{40, 30, 50}, std::tuple{30, 40, 25}, std::tuple{23, 17, 80}}) {
        Frame f(w, h);
        Draw(GetParam().Style, f, p);
        const Extents e = ComputeExtents(w, h, 4, p);
        const auto [D, S] = GetParam().DS(e);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                auto d = f.Display.Decode(x, y);
                if (x < D.Left || x >= D.Right || y < D.Top || y >= D.Bottom) {
                    ASSERT_TRUE(d.Old && d.X == x && d.Y == y) << "outside D at " << x << "," << y;
                    continue;
                }
                ASSERT_TRUE(d.Image) << x << "," << y;
                const double sx = S.Left + (x - D.Left + 0.5) * S.Width() / D.Width();
                const double sy = S.Top + (y - D.Top + 0.5) * S.Height() / D.Height();
                ASSERT_NEAR(d.X + 0.5, sx, 0.51 * std::max(1.0, double(S.Width()) / D.Width()))
                    << x << "," << y;
                ASSERT_NEAR(d.Y + 0.5, sy, 0.51 * std::max(1.0, double(S.Height()) / D.Height()))
                    << x << "," << y;
            }
        }
    }
}

using R = TRect;
auto Full(const Extents& e) {
    return R{0, 0, e.W, e.H};
}

INSTANTIATE_TEST_SUITE_P(
    Members, RectCopy,
    testing::Values(
        CopyCase{1,
                 [](auto e) {
                     return std::pair{R{e.W - e.X, 0, e.W, e.H}, Full(e)};
                 }},
        CopyCase{3,
                 [](auto e) {
                     return std::pair{R{e.W - e.X, 0, 2 * e.W - e.X, e.H}, Full(e)};
                 }},
        CopyCase{5,
                 [](auto e) {
                     return std::pair{R{0, 0, e.X, e.H}, R{0, 0, e.X, e.H}};
                 }},
        CopyCase{8,
                 [](auto e) {
                     return std::pair{R{e.X - e.W, 0, e.W, e.H}, R{e.W - e.X, 0, e.W, e.H}};
                 }},
        CopyCase{9,
                 [](auto e) {
                     return std::pair{R{e.X - e.W, 0, 2 * e.W - e.X, e.H},
                                      R{(e.W - e.X) / 2, 0, (e.W + e.X) / 2, e.H}};
                 }},
        CopyCase{18,
                 [](auto e) {
                     return std::pair{R{0, e.H - e.Y, e.W, e.H}, Full(e)};
                 }},
        CopyCase{21,
                 [](auto e) {
                     return std::pair{R{0, e.Y - e.H, e.W, e.Y}, Full(e)};
                 }},
        CopyCase{25,
                 [](auto e) {
                     return std::pair{R{0, e.Y - e.H, e.W, e.H}, R{0, e.H - e.Y, e.W, e.H}};
                 }},
        CopyCase{28,
                 [](auto e) {
                     R m{0, (e.H - e.Y) / 2, e.W, (e.H + e.Y) / 2};
                     return std::pair{m, m};
                 }},
        CopyCase{35,
                 [](auto e) {
                     return std::pair{R{e.W - e.X, e.H - e.Y, e.W, e.H}, Full(e)};
                 }},
        CopyCase{41,
                 [](auto e) {
                     return std::pair{R{e.X - e.W, e.Y - e.H, e.X, e.Y}, Full(e)};
                 }},
        CopyCase{45,
                 [](auto e) {
                     R r{e.W - e.X, e.H - e.Y, e.W, e.H};
                     return std::pair{r, r};
                 }},
        CopyCase{48,
                 [](auto e) {
                     return std::pair{R{0, e.Y - e.H, 2 * e.W - e.X, e.H}, R{0, e.H - e.Y, e.X, e.H}};
                 }},
        CopyCase{51,
                 [](auto e) {
                     return std::pair{R{e.X - e.W, e.Y - e.H, 2 * e.W - e.X, 2 * e.H - e.Y},
                                      R{(e.W - e.X) / 2, (e.H - e.Y) / 2, (e.W + e.X) / 2, (e.H + e.Y) / 2}};
                 }},
        CopyCase{52,
                 [](auto e) {
                     return std::pair{R{(e.W - e.X) / 2, (e.H - e.Y) / 2, (e.W + e.X) / 2, (e.H + e.Y) / 2},
                                      Full(e)};
                 }}),
    [](const auto& info) { return "effect" + std::to_string(info.param.Style); });

TEST(RectCopyExamples, RevealFromLeftAtHalfShowsTheLeftHalf) {
    Frame f(400, 300);
    Draw(5, f, 50);
    for (int32_t y : {0, 150, 299}) {
        for (int32_t x = 0; x < 400; ++x) {
            auto d = f.Display.Decode(x, y);
            EXPECT_EQ(d.Image, x < 200) << x;
            EXPECT_EQ(d.X, x);
        }
    }
}

TEST(RectCopyExamples, ExpandFromRightSqueezesTheWholePictureIntoTheRightHalf) {
    Frame f(400, 300);
    Draw(1, f, 50);
    for (int32_t x = 0; x < 200; ++x) EXPECT_TRUE(f.Display.Decode(x, 100).Old);
    EXPECT_LE(f.Display.Decode(200, 100).X, 1);
    EXPECT_GE(f.Display.Decode(399, 100).X, 398);
    for (int32_t x = 201; x < 400; ++x) EXPECT_GT(f.Display.Decode(x, 100).X, f.Display.Decode(x - 1, 100).X);
}

TEST(RectCopyExamples, UnrollFromLeftShowsTheCurlMirrored) {
    Frame f(400, 300);
    Draw(14, f, 50); // X = 200, curl to R = 240 showing columns 240..279 flipped
    for (int32_t x = 0; x < 200; ++x) EXPECT_EQ(f.Display.Decode(x, 7).X, x);
    for (int32_t x = 200; x < 240; ++x) {
        auto d = f.Display.Decode(x, 7);
        EXPECT_TRUE(d.Image);
        EXPECT_EQ(d.X, 279 - (x - 200)) << x;
        EXPECT_EQ(d.Y, 7);
    }
    for (int32_t x = 240; x < 400; ++x) EXPECT_TRUE(f.Display.Decode(x, 7).Old);
}

TEST(RectCopyExamples, UnrollFromBottomCurlIsClippedToThePicture) {
    Frame f(40, 50);
    Draw(32, f, 90); // Y = 45, D = 5, T = 5 - 2 = 3: curl rows 3..4 from source rows 1..2, flipped
    for (int32_t y = 5; y < 50; ++y) EXPECT_EQ(f.Display.Decode(3, y).Y, y);
    EXPECT_EQ(f.Display.Decode(3, 3).Y, 2);
    EXPECT_EQ(f.Display.Decode(3, 4).Y, 1);
    for (int32_t y = 0; y < 3; ++y) EXPECT_TRUE(f.Display.Decode(3, y).Old);
}

TEST(RectCopyExamples, BuildUpWithoutStepExtentStillReveals) {
    Frame f(10, 10); // E = MulDiv(10, 4, 90) = 0: the second copy would divide by zero
    Draw(16, f, 50);
    Draw(33, f, 50);
    for (int32_t x = 0; x < 5; ++x) EXPECT_TRUE(f.Display.Decode(x, 1).Image);
}

// ---- family 10: push ----

TEST(Push, PushRightMovesTheOldScreenAndBringsInTheRightOfTheNew) {
    Frame f(40, 20);
    Draw(128, f, 25); // X = 10
    for (int32_t x = 0; x < 10; ++x) EXPECT_EQ(f.Display.Decode(x, 3).X, 30 + x);
    for (int32_t x = 10; x < 40; ++x) {
        auto d = f.Display.Decode(x, 3);
        EXPECT_TRUE(d.Old);
        EXPECT_EQ(d.X, x - 10);
    }
}

TEST(Push, SqueezeUpKeepsTheWholeOldScreenAboveTheNew) {
    Frame f(20, 40);
    Draw(135, f, 50); // Y = 20: old screen squeezed into rows 0..19, new rows 0..19 below
    EXPECT_LE(f.Display.Decode(5, 0).Y, 1);
    EXPECT_GE(f.Display.Decode(5, 19).Y, 38);
    for (int32_t y = 0; y < 20; ++y) EXPECT_TRUE(f.Display.Decode(5, y).Old);
    for (int32_t y = 20; y < 40; ++y) EXPECT_EQ(f.Display.Decode(5, y).Y, y - 20);
}

// ---- the region families: named examples ----

bool Revealed(Frame& f, int32_t x, int32_t y) {
    auto d = f.Display.Decode(x, y);
    return d.Image;
}

int64_t RevealedCount(Frame& f) {
    int64_t n = 0;
    for (int32_t y = 0; y < f.Display.Height(); ++y)
        for (int32_t x = 0; x < f.Display.Width(); ++x) n += Revealed(f, x, y);
    return n;
}

TEST(CurvedReveal, CircleFromCentreGrowsAroundTheCentre) {
    Frame f(400, 300);
    Draw(84, f, 50);
    EXPECT_TRUE(Revealed(f, 200, 150));
    EXPECT_TRUE(Revealed(f, 399, 150)); // cx + X - 1: the box reaches the side at mid-height
    EXPECT_FALSE(Revealed(f, 0, 0));
    EXPECT_FALSE(Revealed(f, 390, 290));
}

TEST(CurvedReveal, CircleToCentreShowsTheOutsideFirst) {
    Frame f(400, 300);
    Draw(85, f, 50);
    EXPECT_TRUE(Revealed(f, 0, 0));
    EXPECT_FALSE(Revealed(f, 200, 150));
}

TEST(Bars, LeftThenRightFillsOneSetThenTheOther) {
    Frame early(100, 40), late(100, 40);
    Draw(62, early, 20); // A = 2X = 40: rows 0-4, 10-14, ... from the left to column 40
    EXPECT_TRUE(Revealed(early, 39, 2));
    EXPECT_FALSE(Revealed(early, 40, 2));
    EXPECT_FALSE(Revealed(early, 0, 7));
    Draw(62, late, 75); // A = 150 > W: first set full, second from the right from 2W - A = 50
    EXPECT_TRUE(Revealed(late, 99, 2));
    EXPECT_TRUE(Revealed(late, 50, 7));
    EXPECT_FALSE(Revealed(late, 49, 7));
}

TEST(Bars, RightTopAndBottomGrowOnlyEveryOtherRowBandAndSnapToFullHeight) {
    for (int32_t style : {94, 95}) {
        Frame half(100, 60);
        Draw(style, half, 50);                   // X = 50 <= W: horizontal bands in their first phase only
        const int32_t x = style == 94 ? 52 : 42; // inside the grown part, in a column band from the bottom
        EXPECT_TRUE(Revealed(half, x, 2)) << style;
        EXPECT_FALSE(Revealed(half, x, 7)) << style;

        Frame nearEnd(100, 60), snapped(100, 60);
        Draw(style, nearEnd, 90); // H - Y = 6 >= E = 4: vertical bands stop at 54
        EXPECT_LT(RevealedCount(nearEnd), 100 * 60);
        Draw(style, snapped, 95); // H - Y = 3 < E: the vertical bands snap to the full height
        EXPECT_EQ(RevealedCount(snapped), 100 * 60) << style;
    }
}

TEST(Bars, CrissCrossFromBottomLeftTopRightIsTheIntersection) {
    Frame f(60, 60);
    Draw(99, f, 30);
    const Extents e = ComputeExtents(60, 60, 4, 30);
    SharedRandom unused;
    const auto a = RevealedRegion(86, e, unused), b = RevealedRegion(89, e, unused);
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 60; ++x) ASSERT_EQ(Revealed(f, x, y), a->Contains(x, y) && b->Contains(x, y));
}

struct EdgeCase {
    int32_t Style;
    bool Horizontal, FromFar; // which side the solid edge grows from
};

class ShredsAndSpeckles : public testing::TestWithParam<EdgeCase> {};

// The solid part reaches X (or Y) from its side minus the jitter; nothing appears beyond the
// jitter or speck zone.
TEST_P(ShredsAndSpeckles, RaggedEdgeStaysWithinItsZone) {
    const auto c = GetParam();
    const int32_t w = 200, h = 150, p = 40;
    const Extents e = ComputeExtents(w, h, 4, p);
    const bool speckle = c.Style >= 123;
    const int32_t side = c.Horizontal ? w : h, reach = c.Horizontal ? e.X : e.Y;
    const int32_t zone = speckle ? side / 10 + 2 * std::max(side / 10 / 20, 2) : side / 7;
    for (uint32_t seed : {1u, 2u, 3u}) {
        TheRandom().SetSeed(seed);
        Frame f(w, h);
        Draw(c.Style, f, p);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                int32_t along = c.Horizontal ? x : y;
                int32_t depth = c.FromFar ? side - 1 - along : along; // distance from the starting side
                if (depth < reach - (speckle ? 0 : zone)) {
                    ASSERT_TRUE(Revealed(f, x, y)) << x << "," << y;
                }
                if (depth >= reach + zone) {
                    ASSERT_FALSE(Revealed(f, x, y)) << x << "," << y;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Members, ShredsAndSpeckles,
                         testing::Values(EdgeCase{65, true, true}, EdgeCase{66, true, false},
                                         EdgeCase{76, false, true}, EdgeCase{77, false, false},
                                         EdgeCase{123, true, true}, EdgeCase{124, true, false},
                                         EdgeCase{125, false, true}, EdgeCase{126, false, false}),
                         [](const auto& info) { return "effect" + std::to_string(info.param.Style); });

TEST(Shreds, OutFromMiddleGrowsBothWaysFromTheCentreLine) {
    TheRandom().SetSeed(5);
    Frame f(210, 100);
    Draw(67, f, 20); // X = 42, jitter below 30 each way
    EXPECT_TRUE(Revealed(f, 104, 50));
    EXPECT_TRUE(Revealed(f, 106, 50));
    EXPECT_FALSE(Revealed(f, 0, 50));
    EXPECT_FALSE(Revealed(f, 209, 50));
}

TEST(Triangles, DiagonalFromTopLeftAndStarburstCover) {
    Frame f(100, 100);
    Draw(110, f, 25); // triangle (0,0) (50,0) (0,50)
    EXPECT_TRUE(Revealed(f, 10, 10));
    EXPECT_FALSE(Revealed(f, 30, 30));
    Frame star(100, 80);
    Draw(116, star, 99);
    EXPECT_GT(RevealedCount(star), 100 * 80 * 95 / 100);
}

TEST(Triangles, TriangularShredGrowsAtGridPoints) {
    Frame f(90, 90);                  // E = 4, E2 = 2, grid step 45
    Draw(117, f, 20);                 // X2 = 9: upper-left halves of boxes around (0,0), (45,0), ..., (90,90)
    EXPECT_TRUE(Revealed(f, 40, 40)); // just up-left of the grid point (45, 45)
    EXPECT_FALSE(Revealed(f, 50, 50)); // down-right of it: the lower half
    EXPECT_FALSE(Revealed(f, 22, 22)); // between grid points
}

TEST(FadeAndPivot, FadeMixesTheColourBytesAndKeepsTheFourth) {
    Frame f(3, 2);
    for (int32_t x = 0; x < 3; ++x) f.Display.Set(x, 0, 0xC8C8C8), f.Image.Set(x, 0, 0x646464);
    const uint8_t fourth = f.Display.Fourth(0, 0);
    f.Image.View().Row(0)[3] = 0x11;
    Draw(118, f, 25);
    EXPECT_EQ(f.Display.Get(0, 0), 0xAFAFAFu); // (75 * 200 + 25 * 100) div 100 = 175
    EXPECT_EQ(f.Display.Fourth(0, 0), fourth);
}

TEST(FadeAndPivot, PivotsSettleIntoPlace) {
    for (int32_t style = 119; style <= 122; ++style) {
        Frame f(64, 48);
        Draw(style, f, 99);
        int64_t inPlace = 0;
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                auto d = f.Display.Decode(x, y);
                ASSERT_TRUE(d.Old || d.Image);
                inPlace += d.Image && std::abs(d.X - x) <= 2 && std::abs(d.Y - y) <= 2;
            }
        EXPECT_GT(inPlace, 64 * 48 * 9 / 10) << style;
    }
}

TEST(RandomSquares, SameSizeAndProgressRevealTheSameSquares) {
    Frame a(120, 90), b(120, 90), more(120, 90);
    TheRandom().SetSeed(1);
    Draw(127, a, 30);
    const uint32_t seedAfter = TheRandom().Seed();
    TheRandom().SetSeed(777);
    Draw(127, b, 30);
    EXPECT_EQ(TheRandom().Seed(), seedAfter) << "the reseed decides what the generator yields next";
    Draw(127, more, 60);
    for (int32_t y = 0; y < 90; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            ASSERT_EQ(Revealed(a, x, y), Revealed(b, x, y));
            if (Revealed(a, x, y)) {
                ASSERT_TRUE(Revealed(more, x, y)) << "a square once shown stays shown";
            }
        }
}

struct SlatCase {
    int32_t Style, W, H, P;
    std::vector<std::pair<int32_t, bool>> Columns; // column (or row) and whether it is revealed
};

class Blinds : public testing::TestWithParam<SlatCase> {};

TEST_P(Blinds, SlatsCoverTheirShareOfEachPeriod) {
    const auto& c = GetParam();
    Frame f(c.W, c.H);
    Draw(c.Style, f, c.P);
    const bool rows = c.Style == 137 || c.Style == 140 || c.Style == 141;
    for (auto [at, shown] : c.Columns) EXPECT_EQ(rows ? Revealed(f, 3, at) : Revealed(f, at, 3), shown) << at;
}

INSTANTIATE_TEST_SUITE_P(
    Members, Blinds,
    testing::Values(SlatCase{136, 100, 50, 50, {{0, true}, {11, true}, {12, false}, {24, false}, {25, true}}},
                    SlatCase{137, 100, 50, 50, {{0, true}, {5, true}, {6, false}, {11, false}, {12, true}}},
                    SlatCase{138, 100, 50, 50, {{0, true}, {24, true}, {25, false}, {50, true}}},
                    SlatCase{139, 100, 50, 50, {{99, true}, {75, true}, {74, false}, {49, true}}},
                    SlatCase{
                        141, 100, 50, 50, {{49, true}, {38, true}, {37, false}, {24, true}, {12, false}}},
                    // E = 0 on a tiny picture: the period is the whole side, a plain wipe
                    SlatCase{136, 10, 10, 50, {{0, true}, {4, true}, {5, false}}}),
    [](const auto& info) {
        return "effect" + std::to_string(info.param.Style) + "_" + std::to_string(info.index);
    });

TEST(Sweep, OneCornerAtTheStartRevealsNothing) {
    for (int32_t style : {143, 144}) {
        Frame f(80, 60);
        Draw(style, f, 1);
        EXPECT_EQ(RevealedCount(f), 0) << style;
    }
}

TEST(Sweep, ClockwiseOpensToTheRightAnticlockwiseToTheLeft) {
    Frame cw(80, 60), acw(80, 60);
    Draw(143, cw, 26);
    Draw(144, acw, 26);
    EXPECT_TRUE(Revealed(cw, 50, 10));
    EXPECT_FALSE(Revealed(cw, 30, 10));
    EXPECT_TRUE(Revealed(acw, 30, 10));
    EXPECT_FALSE(Revealed(acw, 50, 10));
}

TEST(RotatingShape, HalfTurnRectangleIsCentred) {
    Frame f(100, 80);
    Draw(149, f, 50); // turned by a whole pi: the same box around the centre
    EXPECT_TRUE(Revealed(f, 50, 40));
    EXPECT_TRUE(Revealed(f, 30, 25));
    EXPECT_FALSE(Revealed(f, 20, 40));
    EXPECT_FALSE(Revealed(f, 1, 1));
}

// ---- the table ----

TEST(EffectTable, NamesAreFixedMisspellingsIncluded) {
    ASSERT_EQ(TransitionEffects.size(), 150u);
    EXPECT_EQ(EffectName(0), "Custom");
    EXPECT_EQ(EffectName(1), "Expand from right");
    EXPECT_EQ(EffectName(76), "Unven shred from bottom");
    EXPECT_EQ(EffectName(116), "Starburst clockwise from center");
    EXPECT_EQ(EffectName(134), "Push and sqeeze down");
    EXPECT_EQ(EffectName(148), "Rectangles apear from bottom and disapear to up");
    EXPECT_EQ(EffectName(150), "Rotational star");
    EXPECT_EQ(EffectName(151), "");
}

struct NameCase {
    const char* Name;
    int32_t Style;
};

class StyleName : public testing::TestWithParam<NameCase> {};

TEST_P(StyleName, FirstMatchIgnoringCase) {
    EXPECT_EQ(StyleByName(GetParam().Name), GetParam().Style);
}

INSTANTIATE_TEST_SUITE_P(Names, StyleName,
                         testing::Values(NameCase{"Expand from bottom", 18},
                                         NameCase{"expand IN from top", 25}, NameCase{"custom", 0},
                                         NameCase{"CUSTOM", 0}, NameCase{"Fade", 118},
                                         NameCase{"Push and squeeze down", -1}, NameCase{"", -1}));

} // namespace
} // namespace somnex
