// The media player clock on the in-memory player: the order of its reports, the one final
// stopped report, failures, and the commands that act only in some modes.
#include "engine/preview/MediaPlayerClock.h"
#include "platform/media/FakeMediaPlayer.h"
#include "tests/preview/SlideshowFakes.h"

#include <gtest/gtest.h>

using namespace somnex;
using namespace somnex::test;
using plat::TMPModes;

namespace {

class Clock : public testing::Test {
protected:
    void SetUp() override {
        media.Lengths["song.wav"] = 1200;
        clock.MediaPlayer = &media;
        clock.SetInterval(500);
        clock.OnBeforeOpenMedia = [this](TMediaPlayerClock&) { events.push_back("before open"); };
        clock.OnOpenMedia = [this](TMediaPlayerClock&) { events.push_back("open"); };
        clock.OnAfterPlayMedia = [this](TMediaPlayerClock&) { events.push_back("after play"); };
        clock.OnMediaState = [this](TMediaPlayerClock&, TMPModes m) {
            events.push_back("state " + std::to_string(int(m)));
        };
        clock.OnError = [this](TMediaPlayerClock&, const std::string& text) {
            events.push_back("error " + text);
        };
    }

    VirtualTimers timers;
    plat::FakeMediaPlayer media{[this] { return timers.Now(); }};
    TMediaPlayerClock clock{timers.Factory()};
    std::vector<std::string> events;
};

TEST_F(Clock, PlaysReportsEachPollAndTheFinalStopOnce) {
    clock.Play("song.wav");
    EXPECT_TRUE(clock.Polling());
    EXPECT_EQ(media.TimeFormat(), plat::TMPTimeFormats::tfMilliseconds);
    timers.Advance(5000);
    EXPECT_EQ(events, (std::vector<std::string>{"before open", "open", "after play", "state 2", "state 2",
                                                "state 1"}));
    EXPECT_FALSE(clock.Polling());
    EXPECT_EQ(clock.Position(), 1200);
    EXPECT_EQ(clock.MediaLength(), 1200);
}

// Timers fire while the real device waits for the backend: the clock must not report on the
// file it is replacing meanwhile.
TEST_F(Clock, ReopeningReportsNothingAboutThePreviousFile) {
    clock.Play("song.wav");
    timers.Advance(600);
    events.clear();
    media.WhileOpening = [this] { timers.Advance(1000); };
    clock.Play("song.wav");
    EXPECT_EQ(events, (std::vector<std::string>{"before open", "open", "after play"}));
}

TEST_F(Clock, AFileThatCannotBeOpenedReportsAnErrorAndNothingElse) {
    clock.Play("song.wav");
    clock.Play("noise.wav");
    timers.Advance(5000);
    EXPECT_EQ(events, (std::vector<std::string>{"before open", "open", "after play", "before open",
                                                "error The media file \"noise.wav\" cannot be played."}));
    EXPECT_FALSE(clock.Polling());
}

TEST_F(Clock, AFailureWhilePlayingStopsPollingWithAnError) {
    clock.Play("song.wav");
    events.clear();
    media.FailWhilePlaying = "device lost";
    timers.Advance(2000);
    EXPECT_EQ(events, (std::vector<std::string>{"error device lost"}));
    EXPECT_FALSE(clock.Polling());
}

TEST_F(Clock, PauseTogglesStopKeepsThePositionAndCloseEndsTheDevice) {
    clock.Play("song.wav");
    timers.Advance(300);
    clock.Pause();
    EXPECT_EQ(media.Mode(), TMPModes::mpPaused);
    timers.Advance(10000);
    EXPECT_EQ(clock.Position(), 300);
    clock.Pause();
    EXPECT_EQ(media.Mode(), TMPModes::mpPlaying);
    clock.Stop();
    EXPECT_EQ(media.Mode(), TMPModes::mpStopped);
    clock.RePlay();
    EXPECT_EQ(media.Mode(), TMPModes::mpPlaying);
    clock.Close();
    EXPECT_EQ(media.Mode(), TMPModes::mpNotReady);
    // Commands with nothing to act on do nothing.
    clock.Stop();
    clock.Pause();
    clock.Step();
    EXPECT_FALSE(media.IsOpen());
}

TEST_F(Clock, GoPositionSeeksAndPlaysOnStepAndBackOnlyWhilePlaying) {
    clock.Play("song.wav");
    clock.Stop();
    clock.Step();
    EXPECT_EQ(media.Log.back(), "stop");
    clock.GoPosition(700);
    EXPECT_TRUE(clock.Polling());
    EXPECT_EQ(media.Mode(), TMPModes::mpPlaying);
    EXPECT_EQ(clock.Position(), 700);
    clock.Step();
    clock.Back();
    EXPECT_EQ(clock.Position(), 700);
    EXPECT_EQ(std::count(media.Log.begin(), media.Log.end(), "step 1"), 1);
    EXPECT_EQ(std::count(media.Log.begin(), media.Log.end(), "step -1"), 1);
}

TEST_F(Clock, CdAudioSeeksToTheTrackAndMeasuresIt) {
    clock.OpenCDROM("/dev/cdrom");
    EXPECT_EQ(events, (std::vector<std::string>{"open"}));
    clock.PlayCDROMTrack(3, false);
    EXPECT_FALSE(clock.Polling());
    EXPECT_EQ(media.Log.back(), "seek 3");
    clock.PlayCDROMTrack(5, true);
    EXPECT_TRUE(clock.Polling());
    EXPECT_EQ(clock.MediaLength(), 60005); // the length of track 5
}

TEST(ClockWithoutPlayer, PlayReportsTheMissingPlayer) {
    VirtualTimers timers;
    TMediaPlayerClock clock(timers.Factory());
    std::string error;
    clock.OnError = [&](TMediaPlayerClock&, const std::string& text) { error = text; };
    clock.Play("song.wav");
    EXPECT_EQ(error, "No media player is attached to the clock.");
}

} // namespace
