#include "platform/media/MediaPlayer.h"

#include "platform/media/MediaBackend.h"
#include "platform/raster/GuiApp.h"
#include "somnex/EngineError.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <filesystem>

namespace plat {

namespace {

using somnex::EngineError;

class QtMediaPlayer final : public MediaPlayer {
public:
    ~QtMediaPlayer() override { Close(); }

    void Open() override {
        Close();
        if (DeviceType == TMPDeviceTypes::dtCDAudio)
            throw EngineError("The CD audio device \"" + FileName + "\" cannot be opened on this system.");
        std::error_code ec;
        if (FileName.empty() || !std::filesystem::is_regular_file(FileName, ec))
            throw EngineError("The media file \"" + FileName + "\" does not exist.");
        EnsureGuiApplication();
        UseMediaBackend();

        auto player = std::make_unique<QMediaPlayer>();
        // Without an audio output the pipeline has no sink and fails at once.
        auto* output = new QAudioOutput(player.get());
        player->setAudioOutput(output);
        QObject::connect(player.get(), &QMediaPlayer::errorOccurred,
                         [this](QMediaPlayer::Error, const QString& text) {
                             if (error_.empty())
                                 error_ = text.isEmpty() ? "Media error." : text.toStdString();
                         });
        error_.clear();

        // Opening is asynchronous in the backend; wait for it, with a bound, so that the device is
        // either ready or has failed when Open returns.
        QEventLoop wait;
        bool timedOut = false;
        auto settled = [&] {
            const auto status = player->mediaStatus();
            return !error_.empty() || status == QMediaPlayer::LoadedMedia ||
                   status == QMediaPlayer::BufferedMedia || status == QMediaPlayer::InvalidMedia ||
                   status == QMediaPlayer::EndOfMedia;
        };
        QObject::connect(player.get(), &QMediaPlayer::mediaStatusChanged, &wait, [&] {
            if (settled()) wait.quit();
        });
        QObject::connect(player.get(), &QMediaPlayer::errorOccurred, &wait, [&] { wait.quit(); });
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &wait, [&] {
            timedOut = true;
            wait.quit();
        });
        player->setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(FileName)));
        if (!settled()) {
            limit.start(OpenTimeoutMs);
            wait.exec(QEventLoop::ExcludeUserInputEvents);
        }
        const bool invalid = player->mediaStatus() == QMediaPlayer::InvalidMedia;
        if (timedOut || invalid || !error_.empty()) {
            std::string reason = !error_.empty() ? error_ : timedOut ? "no answer from the media device" : "";
            error_.clear();
            throw EngineError("The media file \"" + FileName + "\" cannot be played" +
                              (reason.empty() ? std::string(".") : ": " + reason));
        }
        player_ = std::move(player);
        stopped_ = true;
    }

    void Close() override {
        player_.reset();
        error_.clear();
        stopped_ = true;
    }

    void Play() override {
        Device().play();
        stopped_ = false;
    }

    void Stop() override {
        // The backend's stop rewinds; a stopped device keeps its position.
        if (Device().playbackState() == QMediaPlayer::PlayingState) Device().pause();
        stopped_ = true;
    }

    void Pause() override {
        if (Device().playbackState() == QMediaPlayer::PlayingState) Device().pause();
    }

    void Seek(int64_t Position) override {
        Stop();
        Device().setPosition(Position);
    }

    void Step(int32_t) override {
        Device();
        throw EngineError("The media device cannot step through \"" + FileName + "\".");
    }

    void SetTimeFormat(TMPTimeFormats Format) override {
        Device();
        if (Format != TMPTimeFormats::tfMilliseconds)
            throw EngineError("The media device only counts in milliseconds.");
    }

    TMPModes Mode() override {
        if (!player_) return TMPModes::mpNotReady;
        if (!error_.empty()) throw EngineError(error_);
        if (player_->mediaStatus() == QMediaPlayer::EndOfMedia) return TMPModes::mpStopped;
        switch (player_->playbackState()) {
        case QMediaPlayer::PlayingState:
            return TMPModes::mpPlaying;
        case QMediaPlayer::PausedState:
            return stopped_ ? TMPModes::mpStopped : TMPModes::mpPaused;
        case QMediaPlayer::StoppedState:
            break;
        }
        return TMPModes::mpStopped;
    }

    int64_t Position() override { return Device().position(); }
    int64_t Length() override { return Device().duration(); }
    int64_t TrackLength(int32_t) override { throw EngineError("The media device has no tracks."); }
    int64_t TrackPosition(int32_t) override { throw EngineError("The media device has no tracks."); }

private:
    QMediaPlayer& Device() {
        if (!player_) throw EngineError("The media device is not open.");
        return *player_;
    }

    std::unique_ptr<QMediaPlayer> player_;
    std::string error_;
    bool stopped_ = true;
};

} // namespace

std::unique_ptr<MediaPlayer> CreateSystemMediaPlayer() {
    return std::make_unique<QtMediaPlayer>();
}

} // namespace plat
