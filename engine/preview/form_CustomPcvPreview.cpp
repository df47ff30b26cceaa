#include "engine/preview/form_CustomPcvPreview.h"

namespace somnex {

TFrmCustomPcvPreview::TFrmCustomPcvPreview(IPreviewServices& Services,
                                           const TPreviewWindowFactory& MakeWindow,
                                           const TPcvPreviewParts& Parts)
    : TPreviewPlayer(Services, MakeWindow) {
    // The handlers are virtual and reached through this form, so they see the finished object
    // once it runs; nothing fires before the form is shown.
    PicShow_Screen = Parts.MakeScreen(Window());
    PicShow_Screen->SetBgMode(TBackgroundMode::bmNone);
    PicShow_Screen->OnComplete = [this] { PicShow_ScreenComplete(); };
    mPlay_Music = Parts.MakeMediaPlayer();
    MediaPlayerClock1 = std::make_unique<TMediaPlayerClock>(Parts.MakeTimer);
    MediaPlayerClock1->MediaPlayer = mPlay_Music.get();
    MediaPlayerClock1->SetInterval(500);
    MediaPlayerClock1->OnMediaState = [this](TMediaPlayerClock&, TMPModes mode) {
        MediaPlayerClock1MediaState(mode);
    };
    MediaPlayerClock1->OnAfterPlayMedia = [this](TMediaPlayerClock&) { MediaPlayerClock1AfterPlayMedia(); };
    MediaPlayerClock1->OnError = [this](TMediaPlayerClock&, const std::string& text) {
        MediaPlayerClock1Error(text);
    };
    auto timer = [&](uint32_t interval, void (TFrmCustomPcvPreview::*handler)()) {
        std::unique_ptr<IPreviewTimer> t = Parts.MakeTimer([this, handler] { (this->*handler)(); });
        t->SetEnabled(false);
        t->SetInterval(interval);
        return t;
    };
    Timer_Splash = timer(1, &TFrmCustomPcvPreview::Timer_SplashTimer);
    Timer_Start = timer(20, &TFrmCustomPcvPreview::Timer_StartTimer);
    Timer_Image = timer(1000, &TFrmCustomPcvPreview::Timer_ImageTimer);
    Timer_Music = timer(1000, &TFrmCustomPcvPreview::Timer_MusicTimer);
}

// The clock goes before the player it polls, and the timers before the handlers' form.
TFrmCustomPcvPreview::~TFrmCustomPcvPreview() {
    MediaPlayerClock1.reset();
    mPlay_Music.reset();
    Timer_Splash.reset();
    Timer_Start.reset();
    Timer_Image.reset();
    Timer_Music.reset();
}

} // namespace somnex
