#include "engine/preview/MousePointMeasure.h"
#include "platform/display/FakeDisplay.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using somnex::TMousePointMeasure;

struct Jump {
    int32_t dx, dy;
    bool moved;
};

void PrintTo(const Jump& j, std::ostream* os) {
    *os << "(" << j.dx << ", " << j.dy << ")";
}

class Threshold : public testing::TestWithParam<Jump> {};

// Each jump from an origin at zero and from one left of and above the screen's origin.
TEST_P(Threshold, MovesOnlyBeyondFifteenPixels) {
    const Jump j = GetParam();
    for (plat::ScreenPoint origin : {plat::ScreenPoint{0, 0}, plat::ScreenPoint{-1000, -20}}) {
        plat::FakeDisplay display;
        TMousePointMeasure m(display);
        m.SetPoint(origin.X, origin.Y);
        plat::ScreenPoint to{origin.X + j.dx, origin.Y + j.dy};
        EXPECT_EQ(m.PointMoved(to.X, to.Y), j.moved) << origin.X << "," << origin.Y;
        EXPECT_EQ(m.Point(), j.moved ? to : origin);

        display.MoveCursor(to);
        m.SetPoint(origin.X, origin.Y);
        EXPECT_EQ(m.CursorMoved(), j.moved);
    }
}

INSTANTIATE_TEST_SUITE_P(Jumps, Threshold,
                         testing::Values(Jump{14, 0, false}, Jump{15, 0, false}, Jump{16, 0, true},
                                         Jump{-14, 0, false}, Jump{-15, 0, false}, Jump{-16, 0, true},
                                         Jump{0, 14, false}, Jump{0, 15, false}, Jump{0, 16, true},
                                         Jump{0, -15, false}, Jump{0, -16, true}, Jump{15, 15, false},
                                         Jump{-15, 15, false}, Jump{16, -1, true}, Jump{0, 0, false}),
                         [](const testing::TestParamInfo<Jump>& i) {
                             auto n = [](int32_t v) {
                                 return (v < 0 ? "m" : "") + std::to_string(v < 0 ? -v : v);
                             };
                             return "dx" + n(i.param.dx) + "_dy" + n(i.param.dy);
                         });

TEST(MouseMeasure, FarApartCoordinatesDoNotWrapAround) {
    plat::FakeDisplay display;
    TMousePointMeasure m(display);
    m.SetPoint(INT32_MIN, INT32_MIN);
    EXPECT_TRUE(m.PointMoved(INT32_MAX, INT32_MIN));
    EXPECT_FALSE(m.PointMoved(INT32_MAX, INT32_MIN));
    EXPECT_TRUE(m.PointMoved(INT32_MAX, INT32_MAX));
}

// How the player uses it: noting the cursor after every event that was not a move, a slow drag
// never counts, while one quick jump does.
TEST(MouseMeasure, SlowDragNeverCountsOneJumpDoes) {
    plat::FakeDisplay display;
    TMousePointMeasure m(display);
    m.NoteCursorPos();
    for (int i = 1; i <= 100; ++i) {
        display.MoveCursor({10 * i, -10 * i});
        ASSERT_FALSE(m.CursorMoved()) << i;
        m.NoteCursorPos();
    }
    display.MoveCursor({1000, -1016});
    EXPECT_TRUE(m.CursorMoved());
    EXPECT_EQ(m.Point(), (plat::ScreenPoint{1000, -1016}));
}

} // namespace
