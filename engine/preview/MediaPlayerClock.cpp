#include "engine/preview/MediaPlayerClock.h"

#include "somnex/EngineError.h"

#include <exception>

namespace somnex {

using plat::TMPDeviceTypes;

TMediaPlayerClock::TMediaPlayerClock(const TTimerFactory& MakeTimer)
    : timer_(MakeTimer([this] { PollTick(); })) {
    timer_->SetEnabled(false);
}

plat::MediaPlayer& TMediaPlayerClock::Player() {
    if (!MediaPlayer) throw EngineError("No media player is attached to the clock.");
    return *MediaPlayer;
}

int64_t TMediaPlayerClock::Position() {
    return Player().Position();
}

int64_t TMediaPlayerClock::MediaLength() {
    plat::MediaPlayer& player = Player();
    if (player.DeviceType == TMPDeviceTypes::dtCDAudio)
        return player.TrackLength(int32_t(player.Position() & 0xFF));
    return player.Length();
}

void TMediaPlayerClock::OpenCDROM(const std::string& Drive) {
    plat::MediaPlayer& player = Player();
    player.DeviceType = TMPDeviceTypes::dtCDAudio;
    player.FileName = Drive;
    player.Open();
    if (OnOpenMedia) OnOpenMedia(*this);
}

void TMediaPlayerClock::PlayCDROMTrack(uint8_t Track, bool Play) {
    plat::MediaPlayer& player = Player();
    if (player.Mode() == TMPModes::mpPlaying) player.Stop();
    player.Seek(player.TrackPosition(Track));
    if (Play) {
        player.Play();
        StartPolling();
    }
}

void TMediaPlayerClock::Play(const std::string& FileName) {
    try {
        plat::MediaPlayer& player = Player();
        player.FileName = FileName;
        if (OnBeforeOpenMedia) OnBeforeOpenMedia(*this);
        // No state report about the previous file while the device reopens: opening may wait in
        // an event loop, where this clock's timer would otherwise fire.
        timer_->SetEnabled(false);
        player.Open();
        player.SetTimeFormat(plat::TMPTimeFormats::tfMilliseconds);
        if (OnOpenMedia) OnOpenMedia(*this);
        player.Play();
        if (OnAfterPlayMedia) OnAfterPlayMedia(*this);
        StartPolling();
    } catch (const std::exception& e) {
        timer_->SetEnabled(false);
        if (OnError) OnError(*this, e.what());
    }
}

void TMediaPlayerClock::RePlay() {
    Player().Play();
    StartPolling();
}

void TMediaPlayerClock::Stop() {
    switch (Mode()) {
    case TMPModes::mpPlaying:
    case TMPModes::mpRecording:
    case TMPModes::mpPaused:
    case TMPModes::mpOpen:
        Player().Stop();
        break;
    default:
        break;
    }
}

void TMediaPlayerClock::Close() {
    Stop();
    if (Mode() == TMPModes::mpStopped) Player().Close();
}

void TMediaPlayerClock::Pause() {
    switch (Mode()) {
    case TMPModes::mpPlaying:
        Player().Pause();
        break;
    case TMPModes::mpPaused:
        Player().Play();
        break;
    default:
        break;
    }
}

void TMediaPlayerClock::GoPosition(int64_t Position) {
    Player().Seek(Position);
    Player().Play();
    StartPolling();
}

void TMediaPlayerClock::Step() {
    if (Mode() != TMPModes::mpPlaying) return;
    Player().Step(1);
    Player().Play();
}

void TMediaPlayerClock::Back() {
    if (Mode() != TMPModes::mpPlaying) return;
    Player().Step(-1);
    Player().Play();
}

void TMediaPlayerClock::PollTick() {
    TMPModes mode;
    try {
        mode = Mode();
    } catch (const std::exception& e) {
        timer_->SetEnabled(false);
        if (OnError) OnError(*this, e.what());
        return;
    }
    if (mode == TMPModes::mpStopped || mode == TMPModes::mpNotReady) timer_->SetEnabled(false);
    if (OnMediaState) OnMediaState(*this, mode);
}

} // namespace somnex
