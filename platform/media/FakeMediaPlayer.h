#pragma once
// A media player in memory for tests: files are playable when the test gives them a length, time
// comes from the test's clock, and every command is logged.
#include "platform/media/MediaPlayer.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace plat {

class FakeMediaPlayer final : public MediaPlayer {
public:
    explicit FakeMediaPlayer(std::function<int64_t()> Now) : now_(std::move(Now)) {}

    // Length in milliseconds of every file Open accepts.
    std::map<std::string, int64_t> Lengths;
    // Raised by the next Mode query while playing (a device that fails mid-play).
    std::string FailWhilePlaying;
    // "open NAME", "play", "stop", "pause", "close", "seek N".
    std::vector<std::string> Log;
    // Runs inside Open, as the real device's wait for the backend runs an event loop.
    std::function<void()> WhileOpening;

    void Open() override;
    void Close() override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void Seek(int64_t Position) override;
    void Step(int32_t Frames) override;
    void SetTimeFormat(TMPTimeFormats Format) override { format_ = Format; }
    TMPModes Mode() override;
    int64_t Position() override;
    int64_t Length() override;
    int64_t TrackLength(int32_t Track) override;
    int64_t TrackPosition(int32_t Track) override;

    bool IsOpen() const { return open_; }
    TMPTimeFormats TimeFormat() const { return format_; }

private:
    void NeedOpen() const;

    std::function<int64_t()> now_;
    bool open_ = false, playing_ = false, paused_ = false;
    int64_t length_ = 0;
    int64_t position_ = 0;  // when not playing
    int64_t startedAt_ = 0; // clock time matching position_ 0 while playing
    TMPTimeFormats format_ = TMPTimeFormats::tfTMSF;
};

} // namespace plat
