// The system's media player headless (no sound server, no display): a generated WAV plays to
// its end, and files that cannot be played fail when they are opened instead of hanging.
#include "engine/preview/MediaPlayerClock.h"
#include "engine/preview/QtSlideshowParts.h"
#include "platform/media/MediaPlayer.h"
#include "platform/raster/GuiApp.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace somnex;
using namespace somnex::test;
using plat::TMPModes;

namespace {

// A mono 16-bit PCM WAV of a sine tone.
std::string ToneWav(int milliseconds, int rate = 22050) {
    const uint32_t frames = uint32_t(rate) * uint32_t(milliseconds) / 1000;
    std::string data;
    for (uint32_t i = 0; i < frames; ++i) {
        const int16_t v = int16_t(8000 * std::sin(double(i) * 440.0 * 2 * M_PI / rate));
        data.push_back(char(v & 0xFF));
        data.push_back(char((v >> 8) & 0xFF));
    }
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    return "RIFF" + u32(36 + uint32_t(data.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
           u32(uint32_t(rate)) + u32(uint32_t(rate) * 2) + u16(2) + u16(16) + "data" +
           u32(uint32_t(data.size())) + data;
}

// Runs the event loop until `done` holds or the deadline passes; false on the deadline.
template <class Done>
bool PumpUntil(Done done, int deadlineMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > deadlineMs) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

class SystemMedia : public testing::Test {
protected:
    void SetUp() override { plat::EnsureGuiApplication(); }
    TempFolder dir;
};

TEST_F(SystemMedia, AGeneratedWavPlaysToItsEndHeadless) {
    WriteFile(dir / "tone.wav", ToneWav(400));
    auto player = plat::CreateSystemMediaPlayer();
    player->FileName = dir / "tone.wav";
    player->Open();
    player->SetTimeFormat(plat::TMPTimeFormats::tfMilliseconds);
    EXPECT_EQ(player->Mode(), TMPModes::mpStopped);
    EXPECT_NEAR(double(player->Length()), 400.0, 30.0);
    player->Play();
    EXPECT_EQ(player->Mode(), TMPModes::mpPlaying);
    ASSERT_TRUE(PumpUntil([&] { return player->Mode() == TMPModes::mpStopped; }, 8000));
    player->Close();
    EXPECT_EQ(player->Mode(), TMPModes::mpNotReady);
}

TEST_F(SystemMedia, FilesThatCannotBePlayedFailOnOpen) {
    std::string garbage(4000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = char((i * 7919) % 251);
    WriteFile(dir / "garbage.wav", garbage);
    WriteFile(dir / "empty.mp3", "");
    for (const std::string name : {"garbage.wav", "empty.mp3", "missing.wav"}) {
        auto player = plat::CreateSystemMediaPlayer();
        player->FileName = dir / name;
        QElapsedTimer t;
        t.start();
        try {
            player->Open();
            ADD_FAILURE() << name << " opened";
        } catch (const EngineError& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
        EXPECT_LT(t.elapsed(), plat::OpenTimeoutMs + 1000) << name;
        EXPECT_EQ(player->Mode(), TMPModes::mpNotReady) << name;
    }
}

// The clock on real timers and the real player: one start, the end reported once as stopped.
TEST_F(SystemMedia, TheClockReportsTheEndOfARealFileOnce) {
    WriteFile(dir / "tone.wav", ToneWav(300));
    auto player = plat::CreateSystemMediaPlayer();
    std::vector<std::string> errors;
    TMediaPlayerClock clock(QtTimerFactory([&](const std::string& m) { errors.push_back(m); }));
    clock.MediaPlayer = player.get();
    clock.SetInterval(50);
    int starts = 0, stops = 0;
    clock.OnAfterPlayMedia = [&](TMediaPlayerClock&) { ++starts; };
    clock.OnMediaState = [&](TMediaPlayerClock&, TMPModes m) { stops += m == TMPModes::mpStopped; };
    clock.OnError = [&](TMediaPlayerClock&, const std::string& m) { errors.push_back(m); };
    clock.Play(dir / "tone.wav");
    ASSERT_TRUE(PumpUntil([&] { return !clock.Polling(); }, 8000));
    PumpUntil([] { return false; }, 200); // a stray report would come in here
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

} // namespace
