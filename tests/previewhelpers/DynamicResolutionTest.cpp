#include "engine/preview/DynamicResolution.h"
#include "platform/display/FakeDisplay.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using plat::DisplayMode;
using somnex::TDynamicResolution;

const DisplayMode kDesk{1920, 1080, 60};
const DisplayMode kSmall{800, 600, 60};

class DynamicResolution : public testing::Test {
protected:
    plat::FakeDisplay display{kDesk, {kSmall, {1024, 768, 75}, kDesk, {1024, 768, 60}, {1280, 1024, 75}}};
};

TEST_F(DynamicResolution, ChangesAndRestoresOnRelease) {
    {
        TDynamicResolution r(display);
        EXPECT_TRUE(r.ChangeResolution(1024, 768, 0));
        EXPECT_TRUE(r.Changed());
        EXPECT_EQ(r.SavedMode(), kDesk);
        EXPECT_EQ(display.Current(), (DisplayMode{1024, 768, 60}));
    }
    EXPECT_EQ(display.Current(), kDesk);
    EXPECT_EQ(display.SetCalls, (std::vector<DisplayMode>{{1024, 768, 60}, kDesk}));
}

TEST_F(DynamicResolution, ExplicitRefreshRateAndTheFirstMode) {
    TDynamicResolution r(display);
    EXPECT_TRUE(r.ChangeResolution(1024, 768, 75));
    EXPECT_EQ(display.Current(), (DisplayMode{1024, 768, 75}));
    EXPECT_TRUE(r.RestoreResolution());
    EXPECT_FALSE(r.Changed());
    EXPECT_TRUE(r.ChangeResolution(800, 600, 60)); // mode number 0
}

// Width and height exist, only at another rate; or the size does not exist at all.
TEST_F(DynamicResolution, MissingModeChangesNothing) {
    for (DisplayMode m : {DisplayMode{1280, 1024, 0}, DisplayMode{1600, 1200, 60}}) {
        {
            TDynamicResolution r(display);
            EXPECT_FALSE(r.ChangeResolution(m.Width, m.Height, m.RefreshRate));
            EXPECT_FALSE(r.Changed());
            EXPECT_EQ(r.SavedMode(), kDesk); // saved even when the change fails
            EXPECT_FALSE(r.RestoreResolution());
        }
        EXPECT_TRUE(display.SetCalls.empty());
        EXPECT_EQ(display.Current(), kDesk);
    }
}

TEST_F(DynamicResolution, FailingSetLeavesItUnchangedAndNothingIsRestored) {
    display.FailSet = true;
    {
        TDynamicResolution r(display);
        EXPECT_FALSE(r.ChangeResolution(800, 600, 0));
        EXPECT_FALSE(r.Changed());
        display.FailSet = false;
    }
    EXPECT_EQ(display.SetCalls, (std::vector<DisplayMode>{kSmall}));
    EXPECT_EQ(display.Current(), kDesk);
}

TEST_F(DynamicResolution, FailedRestoreStaysChangedAndIsTriedAgainOnRelease) {
    {
        TDynamicResolution r(display);
        ASSERT_TRUE(r.ChangeResolution(800, 600, 0));
        display.FailSet = true;
        EXPECT_FALSE(r.RestoreResolution());
        EXPECT_TRUE(r.Changed());
        display.FailSet = false;
    }
    EXPECT_EQ(display.Current(), kDesk);
    EXPECT_EQ(display.SetCalls, (std::vector<DisplayMode>{kSmall, kDesk, kDesk}));
}

TEST_F(DynamicResolution, RestoredWhenAnErrorUnwinds) {
    EXPECT_THROW(
        {
            TDynamicResolution r(display);
            r.ChangeResolution(800, 600, 0);
            throw std::runtime_error("player failed");
        },
        std::runtime_error);
    EXPECT_EQ(display.Current(), kDesk);
}

// A second change must still go back to the mode from before the first one.
TEST_F(DynamicResolution, SecondChangeKeepsTheOriginalMode) {
    {
        TDynamicResolution r(display);
        ASSERT_TRUE(r.ChangeResolution(800, 600, 0));
        EXPECT_TRUE(r.ChangeResolution(1600, 1200, 0)); // missing: still running at 800 x 600
        EXPECT_TRUE(r.ChangeResolution(1024, 768, 75));
        EXPECT_EQ(r.SavedMode(), kDesk);
    }
    EXPECT_EQ(display.Current(), kDesk);
}

} // namespace
