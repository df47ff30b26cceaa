#include "engine/preview/form_CustomVcvPreview.h"

#include "engine/preview/PlayOrder.h"
#include "engine/preview/PreviewFlags.h"
#include "platform/fs/FileSystem.h"

namespace somnex {

TFrmCustomVcvPreview::TFrmCustomVcvPreview(IPreviewServices& Services,
                                           const TPreviewWindowFactory& MakeWindow, TVcvPreviewParts Parts)
    : TPreviewPlayer(Services, MakeWindow), makeControl_(std::move(Parts.MakeControl)) {
    Timer_Start = Parts.MakeTimer([this] { Timer_StartTimer(); });
    Timer_Start->SetInterval(5);
    Timer_IsStop = Parts.MakeTimer([this] { Timer_IsStopTimer(); });
    Timer_IsStop->SetInterval(100);
}

TFrmCustomVcvPreview::~TFrmCustomVcvPreview() {
    DestroyFlashControl();
}

void TFrmCustomVcvPreview::FormCreate() {
    TPreviewPlayer::FormCreate();
    ShowMouseCursor = false;
    AllowMouseEvent = false;
    MovieOrder.clear();
}

void TFrmCustomVcvPreview::FormClose() {
    // A closed form plays nothing more, even when a timer was due.
    Timer_Start->SetEnabled(false);
    Timer_IsStop->SetEnabled(false);
    TPreviewPlayer::FormClose();
    DestroyFlashControl();
    // The base close showed the cursor once for its hide; the extra show of FormShow is taken
    // back, so the cursor is as visible as before the preview.
    if (ShowMouseCursor) Services().HideCursor();
    MovieOrder.clear();
}

void TFrmCustomVcvPreview::CreateFlashControl() {
    FlashControl = makeControl_(Window().Handle());
    FlashControl->SetMenu(false);
    FlashControl->SetBackgroundColor(-1);
    FlashControl->OnReadyStateChange = [this](int32_t state) { FlashReadyStateChange(state); };
    FlashControl->PlaceOnForm();
    FlashControl->InputFilter = [this](plat::MovieInput input, int32_t x, int32_t y) {
        return FlashMessageHook(input, x, y);
    };
}

void TFrmCustomVcvPreview::DestroyFlashControl() {
    if (!FlashControl) return;
    FlashControl->InputFilter = nullptr;
    FlashControl->OnReadyStateChange = nullptr;
    FlashControl->StopPlay();
    FlashControl.reset();
}

bool TFrmCustomVcvPreview::PlayMovie(const std::string& FileName, const TScreenSaverFlash& Setting) {
    if (!plat::FileExists(FileName)) return false;
    DestroyFlashControl();
    CreateFlashControl();
    FlashControl->SetMenu(false);
    FlashControl->SetScaleMode(Setting.ScaleMode);
    FlashControl->LoadMovie(0, FileName);
    FlashControl->SetQuality(Setting.Quality);
    FlashControl->SetLoop(false);
    CurrentMovieFile = FileName;
    return true;
}

bool TFrmCustomVcvPreview::ReplayMovie(const std::string& FileName) {
    if (!FlashControl || !plat::FileExists(FileName)) return false;
    FlashControl->Play();
    FlashControl->SetLoop(true);
    CurrentMovieFile = FileName;
    return true;
}

int32_t TFrmCustomVcvPreview::NextMoviePosition(int32_t OrderMode, int32_t Count) {
    if (OrderMode == 0) {
        if (MoviePosition >= Count - 1) MoviePosition = -1;
        return ++MoviePosition;
    }
    if (OrderMode == 1) {
        if (MovieOrder.empty()) FillPlayOrder(1, Count, MoviePosition, MovieOrder);
        if (MovieOrder.empty()) return 0;
        int32_t position = MovieOrder.front();
        MovieOrder.pop_front();
        return position;
    }
    return 0;
}

bool TFrmCustomVcvPreview::FlashMessageHook(plat::MovieInput Input, int32_t X, int32_t Y) {
    using plat::MovieInput;
    switch (Input) {
    case MovieInput::MouseMove:
        if (MouseEndsPreview(X, Y)) Close();
        return false;
    case MovieInput::LeftDown:
    case MovieInput::LeftUp:
    case MovieInput::LeftDoubleClick:
    case MovieInput::MiddleDown:
    case MovieInput::MiddleUp:
    case MovieInput::MiddleDoubleClick:
    case MovieInput::Wheel:
        return !AllowMouseEvent;
    case MovieInput::RightDown:
    case MovieInput::RightUp:
        return true; // the movie's context menu never opens
    default:
        return false;
    }
}

void TFrmCustomVcvPreview::FlashReadyStateChange(int32_t NewState) {
    if (NewState == plat::kMovieLoaded) Timer_IsStop->SetEnabled(true);
}

} // namespace somnex
