// Every effect at every progress on pictures from 1 x 1 up to full HD and portrait: no write
// outside the display, every pixel either the old screen or the new picture, and for the reveal
// families exactly the region revealed and the old screen kept everywhere else.
#include "TestPictures.h"

#include "engine/core/SharedRandom.h"
#include "engine/transitions/PSEffect.h"
#include "engine/transitions/effects/Families.h"

#include <gtest/gtest.h>

namespace somnex {
namespace {

using test::Frame;

struct SweepCase {
    int32_t W, H;
    std::vector<int32_t> Progress;
    std::vector<int32_t> Steps;
    int32_t RowStride; // check every n-th row (full HD is checked on a sample of rows)
    int32_t Bpp = 4;
};

std::vector<int32_t> Every(int32_t from, int32_t to, int32_t by) {
    std::vector<int32_t> v;
    for (int32_t p = from; p <= to; p += by) v.push_back(p);
    if (v.back() != to) v.push_back(to);
    return v;
}

std::string Describe(const SweepCase& c) {
    return std::to_string(c.W) + "x" + std::to_string(c.H) + "_" + std::to_string(c.Bpp * 8) + "bpp";
}

class EffectSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(EffectSweep, StaysInsideAndShowsOnlyOldOrNew) {
    const SweepCase& c = GetParam();
    Frame f(c.W, c.H, c.Bpp);
    test::GuardedPicture fresh(c.W, c.H, c.Bpp);
    fresh.FillOld();
    for (int32_t style = 1; style <= EffectCount; ++style) {
        const bool blends = style == 118; // the fade mixes colours; checked for bounds only
        for (int32_t step : c.Steps) {
            for (int32_t p : c.Progress) {
                // Refresh the display from the old screen, as the player does before every call.
                for (int32_t y = 0; y < c.H; ++y)
                    std::memcpy(f.Display.View().Row(y), fresh.View().Row(y), size_t(c.W) * size_t(c.Bpp));
                const uint32_t seed = uint32_t(style * 1000 + p);
                TheRandom().SetSeed(seed);
                TRect update{0, 0, c.W, c.H};
                TransitionEffects[size_t(style - 1)].Proc(f.Display.View(), f.Image.View(), update, step, p);
                ASSERT_TRUE(f.Display.GuardsIntact()) << "effect " << style << " P " << p << " step " << step;
                if (blends) continue;

                SharedRandom replay;
                replay.SetSeed(seed);
                const auto region = RevealedRegion(style, ComputeExtents(c.W, c.H, step, p), replay);
                for (int32_t y = 0; y < c.H; y += c.RowStride) {
                    for (int32_t x = 0; x < c.W; ++x) {
                        const test::Decoded d = f.Display.Decode(x, y);
                        ASSERT_TRUE(d.Old || d.Image)
                            << "effect " << style << " P " << p << " wrote garbage at " << x << "," << y;
                        if (!region) continue;
                        const bool inside = region->Contains(x, y);
                        ASSERT_TRUE(inside ? d.Image : d.Old) << "effect " << style << " P " << p << " step "
                                                              << step << " at " << x << "," << y;
                        ASSERT_TRUE(d.X == x && d.Y == y) << "a reveal shows pixels in place";
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EffectSweep,
                         testing::Values(SweepCase{1, 1, Every(1, 99, 1), {1, 4, 100}, 1},
                                         SweepCase{2, 3, Every(1, 99, 1), {4}, 1},
                                         SweepCase{7, 5, Every(1, 99, 1), {1, 4, 100}, 1},
                                         SweepCase{5, 9, Every(1, 99, 1), {4}, 1},
                                         SweepCase{50, 50, Every(1, 99, 2), {4}, 1},
                                         SweepCase{63, 37, Every(1, 99, 7), {4, 91}, 1},
                                         SweepCase{37, 64, Every(1, 99, 7), {4}, 1},
                                         SweepCase{61, 43, Every(1, 99, 9), {4}, 1, 3},
                                         SweepCase{1920, 1080, {1, 50, 99}, {4}, 97}),
                         [](const auto& info) { return Describe(info.param); });

} // namespace
} // namespace somnex
