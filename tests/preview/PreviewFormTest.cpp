#include "engine/core/SharedRandom.h"
#include "engine/preview/PlayOrder.h"
#include "engine/preview/PreviewFlags.h"
#include "engine/preview/PreviewHelpers.h"
#include "platform/registry/Registry.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"
#include "tests/preview/PreviewFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <set>

using namespace somnex;
using namespace somnex::test;

namespace {

// --- play order ---

struct OrderCase {
    const char* name;
    int32_t mode, count, previous;
    std::deque<int32_t> before, after;
};

class PlayOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(PlayOrder, FillsOnlyAnEmptyQueue) {
    const OrderCase& c = GetParam();
    std::deque<int32_t> queue = c.before;
    FillPlayOrder(c.mode, c.count, c.previous, queue);
    EXPECT_EQ(queue, c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayOrder,
                         testing::Values(OrderCase{"Ascending", 0, 4, 2, {}, {0, 1, 2, 3}},
                                         OrderCase{"NothingToOrder", 1, 0, -1, {}, {}},
                                         OrderCase{"NegativeCount", 0, -3, -1, {}, {}},
                                         OrderCase{"OneRandomEvenWhenItWasLast", 1, 1, 0, {}, {0}},
                                         OrderCase{"TwoRandomAvoidLast", 1, 2, 0, {}, {1, 0}},
                                         OrderCase{"QueueStillHolds", 0, 3, -1, {7}, {7}},
                                         OrderCase{"UnknownMode", 2, 3, -1, {}, {}}),
                         [](const auto& info) { return info.param.name; });

// Over many seeds: always a permutation, never starting with the last one, and every other
// position gets to start a cycle.
TEST(PlayOrderRandom, PermutationThatNeverRepeatsTheLastAtItsStart) {
    std::set<int32_t> starts;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        TheRandom().SetSeed(seed);
        std::deque<int32_t> queue;
        FillPlayOrder(1, 5, 3, queue);
        ASSERT_EQ(queue.size(), 5u);
        EXPECT_NE(queue.front(), 3) << seed;
        starts.insert(queue.front());
        std::deque<int32_t> sorted = queue;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::deque<int32_t>{0, 1, 2, 3, 4})) << seed;
    }
    EXPECT_EQ(starts, (std::set<int32_t>{0, 1, 2, 4}));
}

// --- the forms ---

enum class PasswordSetting { NoKey, NoValue, Zero, One, TextOne };

class PreviewForms : public testing::Test {
protected:
    void SetUp() override {
        // A store of this test's own: the desktop settings below must not meet another test's.
        ::setenv("SOMNEX_REGISTRY", (dir / "registry.db").c_str(), 1);
        ThePreviewFlags() = {};
    }

    std::string Project(TPreviewKind kind, bool exitOnKey, bool exitOnMouse, bool showCursor = false) {
        std::string file = dir / (kind == TPreviewKind::Flash ? "movie.vcv" : "show.pcv");
        auto write = [&](TIniScrProject& p) {
            p.NewProject(file);
            p.ScrInfo.Name = "Evening";
            p.ControlSetting.RestoreNormalKey = exitOnKey;
            p.ControlSetting.RestoreMouse = exitOnMouse;
            p.ControlSetting.ShowMouseCursor = showCursor;
            p.WriteProject();
            p.CloseProject();
        };
        if (kind == TPreviewKind::Flash) {
            TIniVCVProjectFile p;
            write(p);
        } else {
            TIniPCVProjectFile p;
            write(p);
        }
        return file;
    }

    void SetPassword(PasswordSetting setting) {
        if (setting == PasswordSetting::NoKey) return;
        plat::Registry r(plat::HKEY_CURRENT_USER);
        ASSERT_TRUE(r.OpenKey("Control Panel\\Desktop", true));
        if (setting == PasswordSetting::Zero) r.WriteInteger("ScreenSaveUsePassword", 0);
        if (setting == PasswordSetting::One) r.WriteInteger("ScreenSaveUsePassword", 1);
        if (setting == PasswordSetting::TextOne) r.WriteString("ScreenSaveUsePassword", "1");
    }

    bool Run(TPreviewKind kind, const std::string& file, int32_t runMode, bool deleteAfter = false) {
        return RunPreview(kind, file, deleteAfter, runMode, sys.Players());
    }
    bool Closed() const {
        return std::find(sys.stage.log.begin(), sys.stage.log.end(), "closed") != sys.stage.log.end();
    }
    // A key release as the window forwards it, to whichever form is playing.
    static void KeyUp(TPreviewPlayer& form, int32_t key) { form.FormKeyUp(key); }

    TempFolder dir;
    FakeSystem sys;
    TPreviewPlayer* playing = nullptr;
    // Remembers the form so a script can send it input.
    TPlayerFactory Capturing() {
        return [this, make = sys.Players()](TPreviewKind kind) {
            auto form = make(kind);
            playing = form.get();
            return form;
        };
    }
    bool RunCapturing(TPreviewKind kind, const std::string& file, int32_t runMode, bool deleteAfter = false) {
        return RunPreview(kind, file, deleteAfter, runMode, Capturing());
    }
};

TEST_F(PreviewForms, ShownFormHidesCursorRunsAsScreenSaverAndPutsAllBack) {
    std::string file = Project(TPreviewKind::Slideshow, true, true);
    sys.stage.clipboard = Clip::Text;
    sys.stage.script = [&] {
        EXPECT_EQ(sys.stage.cursorCounter, -1);
        EXPECT_EQ(TheMultiDisplayManager().PreviewForm(), dynamic_cast<IPreviewForm*>(playing));
        playing->DoubleClick();
    };
    EXPECT_TRUE(RunCapturing(TPreviewKind::Slideshow, file, 0));
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(sys.stage.runningDuringScript);
    EXPECT_FALSE(sys.stage.screenSaverRunning);
    EXPECT_EQ(sys.stage.cursorCounter, 0);
    EXPECT_EQ(sys.stage.clipboard, Clip::Text); // text is no screen picture: it stays
    EXPECT_EQ(sys.stage.caption, "Evening");
    EXPECT_EQ(sys.stage.log.front(), "move 0,0");
    EXPECT_NE(std::find(sys.stage.log.begin(), sys.stage.log.end(), "foreground"), sys.stage.log.end());
    EXPECT_NE(std::find(sys.stage.log.begin(), sys.stage.log.end(), "width 0"), sys.stage.log.end());
    EXPECT_EQ(TheMultiDisplayManager().PreviewForm(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(file + ".~pp"));
}

TEST_F(PreviewForms, ScreenPicturesNeverOutliveThePreview) {
    std::string file = Project(TPreviewKind::Flash, false, false);
    sys.stage.clipboard = Clip::Text;
    sys.stage.script = [&] {
        KeyUp(*playing, VK_SNAPSHOT); // not Escape: with both exits off only Escape ends it
        EXPECT_EQ(sys.stage.clipboard, Clip::Empty);
        EXPECT_FALSE(Closed());
        sys.stage.clipboard = Clip::Bitmap;
        KeyUp(*playing, VK_ESCAPE);
    };
    EXPECT_TRUE(RunCapturing(TPreviewKind::Flash, file, 0));
    EXPECT_TRUE(Closed());
    EXPECT_EQ(sys.stage.clipboard, Clip::Empty);
}

TEST_F(PreviewForms, RunModeSetsTheStyleFromItsLowByte) {
    struct Case {
        int32_t mode;
        bool styleSet, onTop;
    };
    std::string file = Project(TPreviewKind::Slideshow, true, true);
    for (Case c : {Case{0, true, false}, Case{1, true, true}, Case{2, false, false}, Case{256, true, false},
                   Case{257, true, true}}) {
        sys.stage = {};
        sys.stage.script = [&] { playing->DoubleClick(); };
        EXPECT_TRUE(RunCapturing(TPreviewKind::Slideshow, file, c.mode)) << c.mode;
        EXPECT_EQ(sys.stage.stayOnTopSet, c.styleSet) << c.mode;
        EXPECT_EQ(sys.stage.onTop, c.onTop) << c.mode;
    }
}

struct CloseCase {
    const char* name;
    int32_t runMode;
    PasswordSetting setting;
    PasswordLib library;
    bool closes;
    int asked;
};

class ClosingQuery : public PreviewForms, public testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingQuery, AsksForThePasswordOnlyInScreenSaverMode) {
    const CloseCase& c = GetParam();
    SetPassword(c.setting);
    sys.stage.library = c.library;
    std::string file = Project(TPreviewKind::Slideshow, true, true);
    int arrowDuringQuestion = 0;
    sys.stage.duringPassword = [&] { arrowDuringQuestion = sys.stage.arrowCursors; };
    sys.stage.script = [&] { KeyUp(*playing, 'A'); };
    EXPECT_TRUE(RunCapturing(TPreviewKind::Slideshow, file, c.runMode));
    EXPECT_EQ(Closed(), c.closes);
    EXPECT_EQ(sys.stage.verifyCalls, c.asked);
    if (c.asked) {
        EXPECT_NE(sys.stage.verifyWindow, nullptr);
        EXPECT_EQ(arrowDuringQuestion, 1);
    }
    EXPECT_EQ(sys.stage.arrowCursors, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClosingQuery,
    testing::Values(CloseCase{"NormalModeNeverAsks", 0, PasswordSetting::One, PasswordLib::Wrong, true, 0},
                    CloseCase{"NoDesktopKey", 1, PasswordSetting::NoKey, PasswordLib::Wrong, true, 0},
                    CloseCase{"NoValue", 1, PasswordSetting::NoValue, PasswordLib::Wrong, true, 0},
                    CloseCase{"ValueZero", 1, PasswordSetting::Zero, PasswordLib::Wrong, true, 0},
                    CloseCase{"RightPassword", 1, PasswordSetting::One, PasswordLib::Right, true, 1},
                    CloseCase{"WrongPassword", 1, PasswordSetting::One, PasswordLib::Wrong, false, 1},
                    CloseCase{"ValueAsText", 1, PasswordSetting::TextOne, PasswordLib::Wrong, false, 1},
                    CloseCase{"NoLibrary", 1, PasswordSetting::One, PasswordLib::None, true, 0},
                    CloseCase{"NoVerifyFunction", 1, PasswordSetting::One, PasswordLib::NoFunction, true, 0},
                    CloseCase{"OtherModeNeverAsks", 2, PasswordSetting::One, PasswordLib::Wrong, true, 0}),
    [](const auto& info) { return info.param.name; });

// The key that confirms the password question must not start another close request; after a
// wrong password the preview plays on, and the right one ends it.
TEST_F(PreviewForms, KeysDuringThePasswordQuestionCloseNothing) {
    for (TPreviewKind kind : {TPreviewKind::Slideshow, TPreviewKind::Flash}) {
        sys.stage = {};
        SetPassword(PasswordSetting::One);
        sys.stage.library = PasswordLib::Wrong;
        std::string file = Project(kind, true, true);
        sys.stage.duringPassword = [&] { KeyUp(*playing, 13); };
        sys.stage.script = [&] {
            KeyUp(*playing, 'A');
            EXPECT_FALSE(Closed());
            EXPECT_EQ(sys.stage.closeRequests, 1);
            EXPECT_FALSE(playing->PasswordCheckActive);
            sys.stage.library = PasswordLib::Right;
            KeyUp(*playing, 'A');
        };
        EXPECT_TRUE(RunCapturing(kind, file, 1));
        EXPECT_TRUE(Closed());
        EXPECT_EQ(sys.stage.closeRequests, 2);
        EXPECT_EQ(sys.stage.verifyCalls, 2);
    }
}

enum class Input { Key, Escape, Jump16, Steps10, DoubleClick };

struct ExitCase {
    const char* name;
    TPreviewKind kind;
    bool exitOnKey, exitOnMouse;
    Input input;
    bool ends;
};

class ExitRule : public PreviewForms, public testing::WithParamInterface<ExitCase> {};

TEST_P(ExitRule, EndsThePreviewOnlyWhenTheProjectSaysSo) {
    const ExitCase& c = GetParam();
    std::string file = Project(c.kind, c.exitOnKey, c.exitOnMouse);
    sys.stage.script = [&] {
        TheMouseMeasure().SetPoint(100, 100);
        switch (c.input) {
        case Input::Key:
            KeyUp(*playing, 'A');
            break;
        case Input::Escape:
            KeyUp(*playing, VK_ESCAPE);
            break;
        case Input::Jump16:
            playing->MouseMove(100, 116);
            break;
        case Input::Steps10:
            for (int32_t i = 1; i <= 50; ++i) playing->MouseMove(100 + 10 * i, 100 - 10 * i);
            break;
        case Input::DoubleClick:
            playing->DoubleClick();
            break;
        }
    };
    EXPECT_TRUE(RunCapturing(c.kind, file, 0));
    EXPECT_EQ(Closed(), c.ends);
    EXPECT_EQ(ThePreviewFlags().ExitOnKey, c.exitOnKey);
    EXPECT_EQ(ThePreviewFlags().ExitOnMouse, c.exitOnMouse);
}

constexpr TPreviewKind S = TPreviewKind::Slideshow;
constexpr TPreviewKind F = TPreviewKind::Flash;

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitRule,
    testing::Values(ExitCase{"SlideKey", S, true, false, Input::Key, true},
                    ExitCase{"SlideKeyOff", S, false, true, Input::Key, false},
                    ExitCase{"SlideEscapeIsAnyKey", S, false, false, Input::Escape, false},
                    ExitCase{"SlideJump", S, false, true, Input::Jump16, true},
                    ExitCase{"SlideJumpMouseOff", S, true, false, Input::Jump16, false},
                    ExitCase{"SlideSlowDrag", S, false, true, Input::Steps10, false},
                    ExitCase{"SlideDoubleClick", S, false, false, Input::DoubleClick, true},
                    ExitCase{"FlashKey", F, true, false, Input::Key, true},
                    ExitCase{"FlashEscapeMouseOn", F, false, true, Input::Escape, false},
                    ExitCase{"FlashEscapeBothOff", F, false, false, Input::Escape, true},
                    ExitCase{"FlashOtherKeyBothOff", F, false, false, Input::Key, false},
                    ExitCase{"FlashJump", F, false, true, Input::Jump16, true},
                    ExitCase{"FlashSlowDrag", F, false, true, Input::Steps10, false},
                    ExitCase{"FlashDoubleClick", F, true, true, Input::DoubleClick, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(PreviewForms, FlashShowsTheCursorWhenAskedAndLeavesItAsItWas) {
    for (bool show : {false, true}) {
        sys.stage = {};
        std::string file = Project(F, true, true, show);
        int during = 99;
        sys.stage.script = [&] {
            during = sys.stage.cursorCounter;
            KeyUp(*playing, 'A');
        };
        EXPECT_TRUE(RunCapturing(F, file, 0));
        EXPECT_EQ(during, show ? 0 : -1) << show;
        EXPECT_EQ(sys.stage.cursorCounter, 0) << show;
    }
}

TEST_F(PreviewForms, DeletesTheProjectOnlyInNormalModeAndNeverLeavesAWorkingCopy) {
    struct Case {
        TPreviewKind kind;
        int32_t mode;
        bool deleteAfter, gone;
    };
    for (Case c : {Case{S, 0, true, true}, Case{S, 1, true, false}, Case{S, 0, false, false},
                   Case{F, 0, true, true}, Case{F, 2, true, false}}) {
        sys.stage = {};
        std::string file = Project(c.kind, true, true);
        sys.stage.script = [&] { KeyUp(*playing, 'A'); };
        EXPECT_TRUE(RunCapturing(c.kind, file, c.mode, c.deleteAfter));
        EXPECT_EQ(!std::filesystem::exists(file), c.gone) << c.mode << c.deleteAfter;
        EXPECT_FALSE(std::filesystem::exists(file + ".~pp"));
        std::filesystem::remove(file);
    }
}

TEST_F(PreviewForms, AFileThatIsNoProjectIsRefusedAndNothingStays) {
    std::string plain = dir / "notes.ini";
    std::ofstream(plain) << "[FileInfo]\r\nVersion=2.0\r\n";
    struct Case {
        TPreviewKind kind;
        std::string file, message;
    };
    for (const Case& c : {Case{F, plain, "\"" + plain + "\" is not a Flash project."},
                          Case{S, plain, "\"" + plain + "\" is not a slideshow project."}}) {
        const std::string before = dir.Listing();
        try {
            Run(c.kind, c.file, 0);
            ADD_FAILURE() << "no error for " << c.file;
        } catch (const EngineError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(dir.Listing(), before);
        EXPECT_EQ(TheMultiDisplayManager().PreviewForm(), nullptr);
        EXPECT_FALSE(sys.stage.screenSaverRunning);
    }
}

} // namespace
