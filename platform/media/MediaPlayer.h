#pragma once
// The media player control: one device at a time, opened from a file (or a CD audio drive),
// with the commands and status queries of the system's media control interface. Commands that
// fail raise EngineError with a message for the user; nothing waits without a bound.
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

enum class TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
enum class TMPDeviceTypes { dtAutoSelect, dtCDAudio };
enum class TMPTimeFormats { tfMilliseconds, tfTMSF };

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // The file to open, or the drive for CD audio.
    std::string FileName;
    TMPDeviceTypes DeviceType = TMPDeviceTypes::dtAutoSelect;

    // Opens FileName, closing what was open first.
    virtual void Open() = 0;
    virtual void Close() = 0;
    // Plays from the current position (and resumes after a pause).
    virtual void Play() = 0;
    // Stops and keeps the position.
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    // Seeks and stays stopped there.
    virtual void Seek(int64_t Position) = 0;
    // Moves by a number of frames (negative: backward).
    virtual void Step(int32_t Frames) = 0;
    virtual void SetTimeFormat(TMPTimeFormats Format) = 0;

    // Not ready while nothing is open. A device that failed while playing raises its error here.
    virtual TMPModes Mode() = 0;
    virtual int64_t Position() = 0;
    virtual int64_t Length() = 0;
    // CD audio only.
    virtual int64_t TrackLength(int32_t Track) = 0;
    virtual int64_t TrackPosition(int32_t Track) = 0;
};

// The system's media player (Qt Multimedia on GStreamer). Works without a sound server or a
// display; a file the backend cannot play fails in Open within OpenTimeoutMs.
std::unique_ptr<MediaPlayer> CreateSystemMediaPlayer();
inline constexpr int OpenTimeoutMs = 10000;

} // namespace plat
