#pragma once
// Plays one media file through the media player control and turns the control's state into
// events by polling it (the final stopped state is reported once, then polling stops).
#include "engine/preview/PreviewTimer.h"
#include "platform/media/MediaPlayer.h"

#include <functional>
#include <memory>
#include <string>

namespace somnex {

class TMediaPlayerClock;
using plat::TMPModes;
using TCheckMediaStateEvent = std::function<void(TMediaPlayerClock& Sender, TMPModes MediaMode)>;
using TClockNotifyEvent = std::function<void(TMediaPlayerClock& Sender)>;
using TErrorEvent = std::function<void(TMediaPlayerClock& Sender, const std::string& ErrorStr)>;

class TMediaPlayerClock {
public:
    explicit TMediaPlayerClock(const TTimerFactory& MakeTimer);
    TMediaPlayerClock(const TMediaPlayerClock&) = delete;
    TMediaPlayerClock& operator=(const TMediaPlayerClock&) = delete;

    // Not owned.
    plat::MediaPlayer* MediaPlayer = nullptr;

    uint32_t Interval() const { return timer_->Interval(); }
    void SetInterval(uint32_t Milliseconds) { timer_->SetInterval(Milliseconds); }
    bool Polling() const { return timer_->Enabled(); }

    int64_t Position();
    // For CD audio the length of the current track, otherwise of the medium.
    int64_t MediaLength();

    TCheckMediaStateEvent OnMediaState;
    TClockNotifyEvent OnBeforeOpenMedia, OnOpenMedia, OnAfterPlayMedia;
    TErrorEvent OnError;

    void OpenCDROM(const std::string& Drive);
    void PlayCDROMTrack(uint8_t Track, bool Play);
    // Opens and plays FileName; a failure stops polling and raises OnError instead.
    void Play(const std::string& FileName);
    void RePlay();
    void Stop();
    void Close();
    void Pause();
    void GoPosition(int64_t Position);
    void Step();
    void Back();

    // One poll (the timer's action).
    void PollTick();

private:
    plat::MediaPlayer& Player();
    TMPModes Mode() { return Player().Mode(); }
    void StartPolling() {
        if (!timer_->Enabled()) timer_->SetEnabled(true);
    }

    std::unique_ptr<IPreviewTimer> timer_;
};

} // namespace somnex
