#include "engine/core/MulDiv.h"
#include "engine/core/SharedRandom.h"

#include <gtest/gtest.h>

namespace {

struct MulDivCase {
    int32_t a, b, d, expected;
};

class MulDivRounding : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivRounding, RoundsHalvesAwayFromZero) {
    const auto& c = GetParam();
    EXPECT_EQ(somnex::MulDiv(c.a, c.b, c.d), c.expected) << c.a << "*" << c.b << "/" << c.d;
}

INSTANTIATE_TEST_SUITE_P(Cases, MulDivRounding,
                         ::testing::Values(MulDivCase{1, 800, 256, 3}, MulDivCase{128, 255, 255, 128},
                                           MulDivCase{1, -255, 255, -1}, MulDivCase{1, 3, 2, 2},
                                           MulDivCase{-1, 3, 2, -2}, MulDivCase{1, -3, 2, -2},
                                           MulDivCase{-1, -3, 2, 2}, MulDivCase{5, 1, 0, -1},
                                           MulDivCase{0, 7, 3, 0}, MulDivCase{65536, 65536, 1, -1},
                                           MulDivCase{2000000000, 2, 2, 2000000000},
                                           MulDivCase{1, 5, -2, -3}));

TEST(SharedRandom, FollowsTheLinearCongruentialStep) {
    somnex::SharedRandom r;
    r.SetSeed(0);
    // seed 1 after the first step: high half of 1 × 100 is 0.
    EXPECT_EQ(r.Random(100), 0);
    EXPECT_EQ(r.Seed(), 1u);
    // 1 × 134775813 + 1 = 134775814; × 100 >> 32 = 3.
    EXPECT_EQ(r.Random(100), 3);
    EXPECT_EQ(r.Seed(), 134775814u);
    r.SetSeed(0xFFFFFFFFu);
    EXPECT_EQ(r.Random(0), 0);
    EXPECT_EQ(r.Seed(), 0xFFFFFFFFu * 134775813u + 1u);
}

TEST(SharedRandom, StaysBelowN) {
    somnex::SharedRandom r;
    r.SetSeed(12345);
    for (int i = 0; i < 10000; ++i) {
        int v = r.Random(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
    }
}

} // namespace
