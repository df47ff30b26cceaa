#include "engine/preview/ResolutionQuestion.h"
#include "engine/com/Unit_Somnex.h"
#include "engine/preview/DynamicResolution.h"
#include "platform/display/FakeDisplay.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

namespace {

using plat::DisplayMode;
using namespace somnex;

struct Box {
    std::string caption, text;
    uint32_t flags;
};

const char* kQuestion =
    "The resolving of your screensaver seted is different from of the current display.\r\n"
    "Do you need to change the resolving of your display(from 1920 x 1080 to 1024 x 768)?\r\n"
    "When preview is closed the resolving will automatically revert to current resolving.";
const uint32_t kQuestionFlags = plat::MB_ICONQUESTION | plat::MB_YESNO | plat::MB_DEFBUTTON2;

// The engine's own message services, answered by a scripted handler.
class ResolutionQuestion : public testing::Test {
protected:
    void SetUp() override {
        SetMessageCaption("Pictavio");
        plat::SetMessageBoxHandler([this](const std::string& c, const std::string& t, uint32_t f) {
            boxes.push_back({c, t, f});
            return answer;
        });
    }
    void TearDown() override { plat::SetMessageBoxHandler({}); }

    TPreviewMessages messages{[](const std::string& t, uint32_t f) { return AskYesNo(t, f); },
                              [](const std::string& t, uint32_t f) { ShowInfo(t, f); }};
    plat::FakeDisplay display{{1920, 1080, 60}, {{1920, 1080, 60}, {1024, 768, 60}, {1280, 1024, 75}}};
    std::vector<Box> boxes;
    int answer = plat::IDYES;
};

TEST_F(ResolutionQuestion, NothingToAskWithoutAutoAdjustOrAtTheSameSize) {
    EXPECT_EQ(AskResolutionChange(messages, 1024, 768, false, display), roNothingToAsk);
    EXPECT_EQ(AskResolutionChange(messages, 1920, 1080, true, display), roNothingToAsk);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ResolutionQuestion, AsksWithTheCurrentAndTheWantedSize) {
    EXPECT_EQ(AskResolutionChange(messages, 1024, 768, true, display), roChange);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Pictavio");
    EXPECT_EQ(boxes[0].text, kQuestion);
    EXPECT_EQ(boxes[0].flags, kQuestionFlags);
    EXPECT_TRUE(display.SetCalls.empty()); // asking changes nothing yet

    answer = plat::IDNO;
    EXPECT_EQ(AskResolutionChange(messages, 1024, 768, true, display), roDeclined);
}

TEST_F(ResolutionQuestion, AgreedButTheModeExistsOnlyAtAnotherRate) {
    EXPECT_EQ(AskResolutionChange(messages, 1280, 1024, true, display), roUnsupported);
    EXPECT_EQ(AskResolutionChange(messages, 640, 480, true, display), roUnsupported);
}

struct Decision {
    const char* name;
    uint8_t runMode;
    bool autoAdjust;
    int32_t width, height;
    int answer;
    bool change;
    std::vector<std::string> texts; // every box shown, in order
};

void PrintTo(const Decision& d, std::ostream* os) {
    *os << d.name;
}

class DecideChange : public ResolutionQuestion, public testing::WithParamInterface<Decision> {};

TEST_P(DecideChange, PerRunMode) {
    const Decision& d = GetParam();
    answer = d.answer;
    EXPECT_EQ(DecideDisplayModeChange(messages, d.runMode, d.width, d.height, d.autoAdjust, display),
              d.change);
    std::vector<std::string> texts;
    for (const Box& b : boxes) texts.push_back(b.text);
    EXPECT_EQ(texts, d.texts);
    EXPECT_TRUE(display.SetCalls.empty());
}

const std::string kNotSupported =
    "Don't apply resolving of display to 1280 x 1024, maybe your display dose not support this resolving.";
const std::string kQuestion1280 =
    "The resolving of your screensaver seted is different from of the current display.\r\n"
    "Do you need to change the resolving of your display(from 1920 x 1080 to 1280 x 1024)?\r\n"
    "When preview is closed the resolving will automatically revert to current resolving.";

INSTANTIATE_TEST_SUITE_P(
    Cases, DecideChange,
    testing::Values(
        Decision{"AskedYes", 0, true, 1024, 768, plat::IDYES, true, {kQuestion}},
        Decision{"AskedNo", 0, true, 1024, 768, plat::IDNO, false, {kQuestion}},
        Decision{"AskedYesMissing", 0, true, 1280, 1024, plat::IDYES, false, {kQuestion1280, kNotSupported}},
        Decision{"NoAutoAdjust", 0, false, 1024, 768, plat::IDYES, false, {}},
        Decision{"SameSize", 0, true, 1920, 1080, plat::IDYES, false, {}},
        Decision{"ScreensaverAutoAdjust", 1, true, 1920, 1080, plat::IDNO, true, {}},
        Decision{"ScreensaverMissingMode", 1, true, 640, 480, plat::IDNO, true, {}},
        Decision{"ScreensaverNoAutoAdjust", 1, false, 1024, 768, plat::IDYES, false, {}},
        Decision{"OtherRunMode", 7, true, 1024, 768, plat::IDNO, true, {}}),
    [](const testing::TestParamInfo<Decision>& i) { return std::string(i.param.name); });

// Run mode 1 decides on a mode the display lacks: the change is refused and nothing is restored.
TEST_F(ResolutionQuestion, ScreensaverModeWithAMissingModeRunsAsItIs) {
    ASSERT_TRUE(DecideDisplayModeChange(messages, 1, 640, 480, true, display));
    {
        TDynamicResolution r(display);
        EXPECT_FALSE(r.ChangeResolution(640, 480, 0));
    }
    EXPECT_TRUE(display.SetCalls.empty());
    EXPECT_EQ(display.Current(), (DisplayMode{1920, 1080, 60}));
}

// Tests run headless: the process's display offers no mode, so nothing here can switch the screen
// of whoever runs them.
TEST(SystemDisplay, HeadlessRefusesEveryChange) {
    plat::DisplayModes& system = plat::SystemDisplayModes();
    EXPECT_FALSE(system.Mode(0).has_value());
    DisplayMode current = CurrentDisplayMode(system);
    EXPECT_FALSE(ApplyMode(current, system));
    TDynamicResolution r(system);
    EXPECT_FALSE(r.ChangeResolution(1024, 768, 0));
}

} // namespace
