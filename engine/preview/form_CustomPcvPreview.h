#pragma once
// The slideshow form's components and play-order state; the behaviour is in
// TFrmPcvEnginePreview.
#include "engine/preview/MediaPlayerClock.h"
#include "engine/preview/PicShowScreen.h"
#include "engine/preview/PreviewPlayer.h"
#include "engine/preview/PreviewTimer.h"
#include "platform/media/MediaPlayer.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace somnex {

// What a slideshow form is built from: the toolkit's timers, the media player control and the
// transition player placed on the form.
struct TPcvPreviewParts {
    TTimerFactory MakeTimer;
    std::function<std::unique_ptr<plat::MediaPlayer>()> MakeMediaPlayer;
    std::function<std::unique_ptr<IPicShowScreen>(IPreviewWindow& Form)> MakeScreen;
};

class TFrmCustomPcvPreview : public TPreviewPlayer {
public:
    TFrmCustomPcvPreview(IPreviewServices& Services, const TPreviewWindowFactory& MakeWindow,
                         const TPcvPreviewParts& Parts);
    ~TFrmCustomPcvPreview() override;

    // Components.
    std::unique_ptr<IPicShowScreen> PicShow_Screen;
    std::unique_ptr<plat::MediaPlayer> mPlay_Music;
    std::unique_ptr<TMediaPlayerClock> MediaPlayerClock1;
    std::unique_ptr<IPreviewTimer> Timer_Splash, Timer_Start, Timer_Image, Timer_Music;

    // Play state.
    int32_t PreviousEntryInterval = 0;
    bool SplashRunning = false;
    bool SplashSoundPlaying = false;
    int32_t EffectCount = 150;
    std::vector<std::string> CustomEffects;
    std::deque<int32_t> PictureOrder, EffectOrder, MusicOrder;
    int32_t PicturePosition = -1;
    int32_t EffectCounter = 0;
    int32_t CustomEffectPosition = -1;
    int32_t LastEffect = 0;

    // Playlist state.
    bool MusicListFinished = true;
    bool MusicStopped = false;
    int32_t MusicPosition = -1;
    std::string CurrentMusicFile;

protected:
    virtual void Timer_SplashTimer() = 0;
    virtual void Timer_StartTimer() = 0;
    virtual void Timer_ImageTimer() = 0;
    virtual void Timer_MusicTimer() = 0;
    virtual void PicShow_ScreenComplete() = 0;
    virtual void MediaPlayerClock1MediaState(TMPModes MediaMode) = 0;
    virtual void MediaPlayerClock1AfterPlayMedia() = 0;
    virtual void MediaPlayerClock1Error(const std::string& ErrorStr) = 0;
};

} // namespace somnex
