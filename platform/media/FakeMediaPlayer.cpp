#include "platform/media/FakeMediaPlayer.h"

#include "somnex/EngineError.h"

#include <algorithm>

namespace plat {

using somnex::EngineError;

void FakeMediaPlayer::NeedOpen() const {
    if (!open_) throw EngineError("The media device is not open.");
}

void FakeMediaPlayer::Open() {
    Close();
    Log.push_back("open " + FileName);
    if (WhileOpening) WhileOpening();
    auto it = Lengths.find(FileName);
    if (DeviceType == TMPDeviceTypes::dtCDAudio) {
        length_ = 0;
    } else if (it == Lengths.end()) {
        throw EngineError("The media file \"" + FileName + "\" cannot be played.");
    } else {
        length_ = it->second;
    }
    open_ = true;
    position_ = 0;
}

void FakeMediaPlayer::Close() {
    if (!open_) return;
    Log.push_back("close");
    open_ = playing_ = paused_ = false;
}

void FakeMediaPlayer::Play() {
    NeedOpen();
    Log.push_back("play");
    if (playing_) return;
    startedAt_ = now_() - position_;
    playing_ = true;
    paused_ = false;
}

void FakeMediaPlayer::Stop() {
    NeedOpen();
    Log.push_back("stop");
    position_ = Position();
    playing_ = paused_ = false;
}

void FakeMediaPlayer::Pause() {
    NeedOpen();
    Log.push_back("pause");
    if (!playing_) return;
    position_ = Position();
    playing_ = false;
    paused_ = true;
}

void FakeMediaPlayer::Seek(int64_t Position) {
    NeedOpen();
    Log.push_back("seek " + std::to_string(Position));
    playing_ = paused_ = false;
    position_ = Position;
}

void FakeMediaPlayer::Step(int32_t Frames) {
    NeedOpen();
    Log.push_back("step " + std::to_string(Frames));
    const int64_t at = std::clamp<int64_t>(Position() + Frames, 0, length_);
    if (playing_) startedAt_ = now_() - at;
    position_ = at;
}

TMPModes FakeMediaPlayer::Mode() {
    if (!open_) return TMPModes::mpNotReady;
    if (playing_ && !FailWhilePlaying.empty()) throw EngineError(FailWhilePlaying);
    if (playing_ && now_() - startedAt_ >= length_) {
        position_ = length_;
        playing_ = false;
    }
    if (playing_) return TMPModes::mpPlaying;
    return paused_ ? TMPModes::mpPaused : TMPModes::mpStopped;
}

int64_t FakeMediaPlayer::Position() {
    NeedOpen();
    // A CD keeps its track/minute/second/frame position where it was put; time does not move it.
    if (DeviceType == TMPDeviceTypes::dtCDAudio) return position_;
    return playing_ ? std::min(now_() - startedAt_, length_) : position_;
}

int64_t FakeMediaPlayer::Length() {
    NeedOpen();
    return length_;
}

int64_t FakeMediaPlayer::TrackLength(int32_t Track) {
    NeedOpen();
    return 60000 + Track; // tells tracks apart
}

int64_t FakeMediaPlayer::TrackPosition(int32_t Track) {
    NeedOpen();
    return Track; // track/minute/second/frame form: the track in the low byte
}

} // namespace plat
