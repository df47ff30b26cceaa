// The player driven through a fake window and a virtual clock: the test thread plays the
// control's thread (it paints and handles the worker's end message), time passes only when the
// player sleeps or the test says so.
#include "engine/transitions/PicShow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace somnex {
namespace {

class VirtualClock : public IPicShowClock {
public:
    uint32_t TickCount() override { return now_; }
    void Sleep(uint32_t ms) override {
        std::lock_guard lock(m_);
        sleeps_.push_back(ms);
        now_ += ms;
    }
    void Advance(uint32_t ms) { now_ += ms; }
    std::vector<uint32_t> Sleeps() {
        std::lock_guard lock(m_);
        return sleeps_;
    }

private:
    std::atomic<uint32_t> now_{1000};
    std::mutex m_;
    std::vector<uint32_t> sleeps_;
};

class FakeWindow : public IPicShowWindow {
public:
    TCustomPicShow* Show = nullptr;
    VirtualClock* Clock = nullptr;
    int Width = 64, Height = 48;
    bool Visible = true;
    std::thread::id UiThread = std::this_thread::get_id();
    std::vector<plat::Rect> Invalidated; // control-thread invalidations only
    int ProcessCalls = 0;
    std::function<void()> OnProcess;
    std::pair<int, int> ClientSizeSet{-1, -1};

    int ClientWidth() const override { return Width; }
    int ClientHeight() const override { return Height; }
    void SetClientSize(int w, int h) override { ClientSizeSet = {w, h}, Width = w, Height = h; }
    bool Invalidate(const plat::Rect& r) override {
        if (!Visible) return false;
        std::lock_guard lock(m_);
        if (IsControlThread()) Invalidated.push_back(r);
        paintWanted_ = true;
        cv_.notify_all();
        return true;
    }
    void PaintNow() override {
        {
            std::lock_guard lock(m_);
            paintWanted_ = false;
        }
        Show->Paint();
    }
    void PostEnd() override {
        std::lock_guard lock(m_);
        endPosted_ = true;
        cv_.notify_all();
    }
    void ProcessMessages() override {
        ++ProcessCalls;
        Clock->Advance(10);
        PumpOnce(false);
        if (OnProcess) OnProcess();
    }
    bool IsControlThread() const override { return std::this_thread::get_id() == UiThread; }

    // One turn of the control thread's message loop: paint if asked, deliver the end message.
    // With `wait`, blocks until there is something to do (bounded, so a broken player fails the
    // test instead of hanging it).
    bool PumpOnce(bool wait) {
        bool paint, end;
        {
            std::unique_lock lock(m_);
            if (wait &&
                !cv_.wait_for(lock, std::chrono::seconds(20), [this] { return paintWanted_ || endPosted_; }))
                return false;
            paint = std::exchange(paintWanted_, false);
            end = std::exchange(endPosted_, false);
        }
        if (paint) Show->Paint();
        if (end) Show->DispatchPosted();
        return true;
    }
    // Runs the loop until the transition has ended, or `until` says stop.
    void RunLoop(const std::function<bool()>& until = {}) {
        while (Show->InTransition() && !(until && until())) ASSERT_TRUE(PumpOnce(true)) << "player stalled";
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool paintWanted_ = false, endPosted_ = false;
};

plat::Bitmap Solid(int w, int h, plat::Color c) {
    plat::Bitmap b(w, h, plat::PixelFormat::Pf24);
    b.Fill(c);
    return b;
}

constexpr plat::Color OldColour = plat::MakeColor(10, 20, 30), NewColour = plat::MakeColor(200, 100, 50);

struct Recorder {
    std::mutex M;
    std::vector<int> Progress;
    int Complete = 0, Stop = 0, Start = 0;
    std::thread::id StartThread, CompleteThread, StopThread, ProgressThread;

    void Attach(TCustomPicShow& s) {
        s.OnProgress = [this](TCustomPicShow& show) {
            std::lock_guard lock(M);
            Progress.push_back(show.Progress());
            ProgressThread = std::this_thread::get_id();
        };
        s.OnComplete = [this](TCustomPicShow&) { ++Complete, CompleteThread = std::this_thread::get_id(); };
        s.OnStop = [this](TCustomPicShow&) { ++Stop, StopThread = std::this_thread::get_id(); };
        s.OnStart = [this](TCustomPicShow&, plat::Bitmap&, plat::Bitmap&) {
            ++Start, StartThread = std::this_thread::get_id();
        };
    }
    std::vector<int> Frames() {
        std::lock_guard lock(M);
        return Progress;
    }
};

class PicShowTest : public testing::Test {
protected:
    VirtualClock clock;
    FakeWindow window;
    TCustomPicShow show{window, clock};
    Recorder events;

    void SetUp() override {
        window.Show = &show;
        window.Clock = &clock;
        show.SetAutoSize(false);
        show.SetColor(OldColour);
        show.SetPicture(Solid(64, 48, NewColour));
        events.Attach(show);
    }

    plat::Color DisplayColour() { return show.DisplaySnapshot().Pixel(5, 5); }
};

std::vector<int> Expected(int step, bool reverse) {
    std::vector<int> v;
    int p = reverse ? 100 : 0;
    do v.push_back(p = NextProgress(p, step, reverse));
    while (!AtEnd(p, reverse));
    return v;
}

// ---- frame sequence, both producers ----

struct SequenceCase {
    uint32_t Step;
    bool Reverse, Threaded;
    std::vector<int> Frames;
};

class FrameSequence : public PicShowTest, public testing::WithParamInterface<SequenceCase> {};

TEST_P(FrameSequence, ProgressRunsToTheEndInSteps) {
    const auto& c = GetParam();
    show.SetStep(c.Step);
    show.SetReverse(c.Reverse);
    show.SetThreaded(c.Threaded);
    show.SetStyle(5);
    show.StartTransition();
    window.RunLoop();
    EXPECT_EQ(events.Frames(), c.Frames);
    EXPECT_EQ(events.Complete, 1);
    EXPECT_EQ(events.Stop, 1);
    EXPECT_FALSE(show.InTransition());
    // The last frame stays: the new picture, or the old screen when running backwards.
    EXPECT_EQ(DisplayColour(), c.Reverse ? OldColour : NewColour);
}

std::vector<SequenceCase> Sequences() {
    std::vector<SequenceCase> v;
    for (bool threaded : {true, false}) {
        std::vector<int> by4;
        for (int p = 4; p <= 100; p += 4) by4.push_back(p);
        std::vector<int> by1;
        for (int p = 1; p <= 100; ++p) by1.push_back(p);
        std::vector<int> back4;
        for (int p = 96; p >= 0; p -= 4) back4.push_back(p);
        v.push_back({4, false, threaded, by4});
        v.push_back({30, false, threaded, {30, 60, 90, 100}});
        v.push_back({0, false, threaded, by1});
        v.push_back({250, false, threaded, {100}});
        v.push_back({4, true, threaded, back4});
    }
    return v;
}

INSTANTIATE_TEST_SUITE_P(Steps, FrameSequence, testing::ValuesIn(Sequences()), [](const auto& info) {
    const auto& c = info.param;
    return std::string(c.Threaded ? "threaded" : "unthreaded") + "_step" + std::to_string(c.Step) +
           (c.Reverse ? "_reverse" : "");
});

TEST_F(PicShowTest, TwentyFiveFramesAtTheDefaultStep) {
    EXPECT_EQ(Expected(show.Step(), false).size(), 25u);
}

// ---- events and threads ----

TEST_F(PicShowTest, ThreadedRendersOnTheWorkerAndEndsOnTheControlThread) {
    std::atomic<int> before{0}, after{0};
    show.OnBeforeNewFrame = [&](TCustomPicShow&, plat::Bitmap&, plat::Bitmap&) { ++before; };
    show.OnAfterNewFrame = [&](TCustomPicShow&, plat::Bitmap&, plat::Bitmap&) { ++after; };
    show.StartTransition();
    EXPECT_TRUE(show.InTransition());
    window.RunLoop();
    EXPECT_EQ(before, 25);
    EXPECT_EQ(after, 25);
    const auto ui = std::this_thread::get_id();
    EXPECT_EQ(events.StartThread, ui);
    EXPECT_EQ(events.CompleteThread, ui);
    EXPECT_EQ(events.StopThread, ui);
    EXPECT_NE(events.ProgressThread, ui);
}

TEST_F(PicShowTest, UnthreadedRendersOnTheCallingThread) {
    show.SetThreaded(false);
    show.StartTransition(); // returns when done
    EXPECT_FALSE(show.InTransition());
    EXPECT_EQ(events.ProgressThread, std::this_thread::get_id());
    EXPECT_EQ(events.Complete, 1);
}

TEST_F(PicShowTest, CustomStyleWithoutHandlerKeepsTheOldScreenUntilTheEnd) {
    show.SetStyle(0);
    std::vector<std::pair<int, plat::Color>> seen;
    show.OnAfterNewFrame = [&](TCustomPicShow& s, plat::Bitmap&, plat::Bitmap& screen) {
        seen.push_back({s.Progress(), screen.Pixel(3, 3)});
    };
    show.SetThreaded(false);
    show.StartTransition();
    ASSERT_EQ(seen.size(), 25u);
    for (auto [p, colour] : seen) EXPECT_EQ(colour, p == 100 ? NewColour : OldColour) << p;
}

TEST_F(PicShowTest, CustomStyleDrawsThroughItsHandler) {
    show.SetStyleName("CUSTOM");
    ASSERT_EQ(show.Style(), 0);
    int calls = 0;
    show.OnCustomDraw = [&](TCustomPicShow&, plat::Bitmap& picture, plat::Bitmap& screen) {
        ++calls;
        EXPECT_EQ(picture.Width(), screen.Width());
    };
    show.SetThreaded(false);
    show.StartTransition();
    EXPECT_EQ(calls, 24); // never at 100
}

// ---- stopping ----

TEST_F(PicShowTest, StopRaisesStopWithoutCompleteAndKeepsTheFrame) {
    show.SetStyle(5);
    show.StartTransition();
    window.RunLoop([&] { return events.Frames().size() >= 5; });
    show.StopTransition();
    EXPECT_FALSE(show.InTransition());
    EXPECT_EQ(events.Stop, 1);
    EXPECT_EQ(events.Complete, 0);
    EXPECT_LT(events.Frames().back(), 100);
    plat::Bitmap frame = show.DisplaySnapshot();
    EXPECT_EQ(frame.Pixel(0, 0), NewColour);  // revealed from the left
    EXPECT_EQ(frame.Pixel(63, 0), OldColour); // not yet on the right

    show.StopTransition();
    EXPECT_EQ(events.Stop, 1) << "a second stop does nothing";
    window.PumpOnce(false); // a late end message finds nothing to finish
    EXPECT_EQ(events.Stop, 1);
}

TEST_F(PicShowTest, StopDuringAnUnthreadedRunFinishesOnce) {
    show.SetThreaded(false);
    window.OnProcess = [&] {
        if (events.Frames().size() == 3) show.StopTransition();
    };
    show.StartTransition();
    EXPECT_EQ(events.Frames().size(), 3u);
    EXPECT_EQ(events.Stop, 1);
    EXPECT_EQ(events.Complete, 0);
}

TEST_F(PicShowTest, StartDuringATransitionOrWithoutPictureIsIgnored) {
    show.SetManual(true);
    show.StartTransition();
    show.StartTransition();
    EXPECT_EQ(events.Start, 1);
    show.StopTransition();
    show.SetPicture(plat::Bitmap());
    show.StartTransition();
    EXPECT_EQ(events.Start, 1);
}

TEST_F(PicShowTest, PreparationErrorLeavesThePlayerIdle) {
    show.OnStart = [](TCustomPicShow&, plat::Bitmap&, plat::Bitmap&) { throw std::runtime_error("no"); };
    EXPECT_THROW(show.StartTransition(), std::runtime_error);
    EXPECT_FALSE(show.InTransition());
    show.OnStart = nullptr;
    show.SetThreaded(false);
    show.StartTransition();
    EXPECT_EQ(events.Complete, 1);
}

// ---- manual mode, clearing ----

TEST_F(PicShowTest, ManualModeRendersOnlyWhatTheApplicationAsksFor) {
    show.SetManual(true);
    show.SetStyle(5);
    show.StartTransition();
    EXPECT_TRUE(events.Frames().empty());
    show.SetProgress(50);
    EXPECT_EQ(events.Frames(), (std::vector<int>{50}));
    EXPECT_EQ(show.OffscreenBuffer().Pixel(0, 0), NewColour) << "painted at once, on this thread";
    EXPECT_EQ(show.OffscreenBuffer().Pixel(40, 0), OldColour);
    show.SetProgress(50);  // unchanged: nothing happens
    show.SetProgress(250); // above 100 counts as 100
    EXPECT_EQ(events.Frames(), (std::vector<int>{50, 100}));
    EXPECT_TRUE(show.InTransition()) << "manual runs until stopped";
    show.StopTransition();
    EXPECT_EQ(events.Stop, 1);
    EXPECT_EQ(events.Complete, 0);
}

TEST_F(PicShowTest, LeavingManualResumesFromTheCurrentProgress) {
    show.SetManual(true);
    show.StartTransition();
    show.SetProgress(60);
    show.SetManual(false);
    window.RunLoop();
    EXPECT_EQ(events.Frames(), (std::vector<int>{60, 64, 68, 72, 76, 80, 84, 88, 92, 96, 100}));
    EXPECT_EQ(events.Complete, 1);
}

TEST_F(PicShowTest, ClearScreenWaitsForTheTransitionToEnd) {
    show.SetManual(true);
    show.StartTransition();
    show.SetProgress(100);
    show.ClearScreen();
    EXPECT_FALSE(show.DisplayEmpty());
    show.StopTransition();
    window.Invalidated.clear();
    show.ClearScreen();
    EXPECT_TRUE(show.DisplayEmpty());
    ASSERT_EQ(window.Invalidated.size(), 1u);
    EXPECT_EQ(window.Invalidated[0], (plat::Rect{0, 0, 64, 48}));
    show.Paint();
    EXPECT_EQ(show.OffscreenBuffer().Pixel(5, 5), OldColour) << "only the background shows";
}

// ---- timing ----

TEST_F(PicShowTest, DelayIsMeasuredFromFrameStartToFrameStart) {
    show.SetDelay(40);
    show.OnBeforeNewFrame = [&](TCustomPicShow&, plat::Bitmap&, plat::Bitmap&) { clock.Advance(15); };
    show.StartTransition();
    window.RunLoop();
    const auto sleeps = clock.Sleeps();
    EXPECT_EQ(sleeps.size(), 24u) << "no pause after the last frame";
    for (uint32_t s : sleeps) EXPECT_EQ(s, 25u);
}

TEST_F(PicShowTest, DelayZeroRunsAsFastAsFramesReachTheScreen) {
    show.SetDelay(0);
    show.StartTransition();
    window.RunLoop();
    for (uint32_t s : clock.Sleeps()) EXPECT_EQ(s, 0u);
    EXPECT_EQ(events.Frames().size(), 25u);
}

TEST_F(PicShowTest, UnthreadedWaitsByProcessingMessages) {
    show.SetThreaded(false);
    show.SetDelay(40);
    show.StartTransition();
    EXPECT_EQ(window.ProcessCalls, 24 * 5) << "10 ms per call until more than 40 ms have passed";
}

TEST_F(PicShowTest, HiddenWindowDoesNotStallTheWorker) {
    window.Visible = false;
    show.StartTransition();
    window.RunLoop();
    EXPECT_EQ(events.Complete, 1);
}

// ---- properties and painting ----

TEST_F(PicShowTest, PropertyLimits) {
    show.SetStep(0);
    EXPECT_EQ(show.Step(), 1);
    show.SetStep(250);
    EXPECT_EQ(show.Step(), 100);
    show.SetStyle(151);
    EXPECT_EQ(show.Style(), 51);
    show.SetStyleName("Expand from bottom");
    EXPECT_EQ(show.Style(), 18);
    show.SetStyleName("Expand in from top");
    EXPECT_EQ(show.Style(), 25);
    show.SetStyleName("no such effect");
    EXPECT_EQ(show.Style(), 25);
    EXPECT_EQ(show.StyleName(), "Expand in from top");
}

TEST_F(PicShowTest, PictureChangeResizesAndNotifies) {
    int changes = 0;
    show.OnChange = [&](TCustomPicShow&) { ++changes; };
    show.SetAutoSize(true);
    EXPECT_EQ(window.ClientSizeSet, (std::pair{64, 48}));
    show.SetPicture(Solid(30, 20, NewColour));
    EXPECT_EQ(window.ClientSizeSet, (std::pair{30, 20}));
    EXPECT_EQ(changes, 1);
}

struct InvalidateCase {
    const char* Name;
    bool Center, Stretch, Fine;
    plat::Rect Expected;
};

class Invalidation : public PicShowTest, public testing::WithParamInterface<InvalidateCase> {};

// A 40 x 20 picture in a 100 x 80 client: the frame's rectangle is invalidated where it shows.
TEST_P(Invalidation, OnlyThePartShowingThePictureIsRepainted) {
    const auto& c = GetParam();
    window.Width = 100, window.Height = 80;
    show.SetPicture(Solid(40, 20, NewColour));
    show.SetCenter(c.Center);
    show.SetStretch(c.Stretch);
    show.SetStretchFine(c.Fine);
    show.SetManual(true);
    show.StartTransition();
    window.Invalidated.clear();
    show.SetProgress(50);
    ASSERT_EQ(window.Invalidated.size(), 1u);
    EXPECT_EQ(window.Invalidated[0], c.Expected);
    show.StopTransition();
}

INSTANTIATE_TEST_SUITE_P(Layouts, Invalidation,
                         testing::Values(InvalidateCase{"plain", false, false, false, {0, 0, 40, 20}},
                                         InvalidateCase{"centred", true, false, false, {30, 30, 70, 50}},
                                         InvalidateCase{"stretched", false, true, false, {0, 0, 100, 80}},
                                         InvalidateCase{"fitted", false, true, true, {0, 15, 100, 65}}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct BackgroundCase {
    const char* Name;
    TBackgroundMode Mode;
    int BgW, BgH;
    std::vector<std::pair<plat::Point, bool>> Marked; // client pixel, shows the background picture
};

class Background : public PicShowTest, public testing::WithParamInterface<BackgroundCase> {};

TEST_P(Background, FourModes) {
    const auto& c = GetParam();
    window.Width = 25, window.Height = 25;
    show.SetBgPicture(Solid(c.BgW, c.BgH, plat::MakeColor(0, 255, 0)));
    show.SetBgMode(c.Mode);
    show.Paint(); // nothing on display: background only
    for (auto [pt, marked] : c.Marked)
        EXPECT_EQ(show.OffscreenBuffer().Pixel(pt.X, pt.Y), marked ? plat::MakeColor(0, 255, 0) : OldColour)
            << pt.X << "," << pt.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Background,
    testing::Values(
        BackgroundCase{"tiled", TBackgroundMode::bmTiled, 10, 10, {{{0, 0}, true}, {{24, 24}, true}}},
        BackgroundCase{"tiled_larger", TBackgroundMode::bmTiled, 40, 40, {{{24, 24}, true}}},
        BackgroundCase{"stretched", TBackgroundMode::bmStretched, 2, 2, {{{0, 0}, true}, {{24, 24}, true}}},
        BackgroundCase{"centred", TBackgroundMode::bmCentered, 5, 5, {{{12, 12}, true}, {{2, 2}, false}}},
        BackgroundCase{"none", TBackgroundMode::bmNone, 10, 10, {{{0, 0}, false}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(PicShowTest, OldScreenComesFromWhatWasOnScreen) {
    show.SetThreaded(false);
    show.StartTransition(); // shows the new colour
    show.Paint();
    show.SetPicture(Solid(64, 48, plat::MakeColor(1, 2, 3)));
    show.SetStyle(0);
    show.SetManual(true);
    plat::Color snapshot = 0;
    show.OnStart = [&](TCustomPicShow&, plat::Bitmap&, plat::Bitmap& screen) {
        snapshot = screen.Pixel(1, 1);
    };
    show.StartTransition();
    EXPECT_EQ(snapshot, NewColour) << "OverDraw: the previous picture is the old screen";
    show.StopTransition();
    show.SetOverDraw(false);
    show.StartTransition();
    EXPECT_EQ(snapshot, OldColour) << "without OverDraw: a freshly painted background";
    show.StopTransition();
}

} // namespace
} // namespace somnex
