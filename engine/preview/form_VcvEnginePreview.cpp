#include "engine/preview/form_VcvEnginePreview.h"

#include "engine/preview/PreviewFlags.h"
#include "somnex/EngineError.h"

namespace somnex {

// A form released without having closed (its start failed) still gives back the working copy.
TFrmVcvEnginePreview::~TFrmVcvEnginePreview() {
    if (Project) Project->CloseProject();
}

void TFrmVcvEnginePreview::LoadProject(const std::string& FileName) {
    Project = std::make_unique<TIniVCVProjectFile>();
    if (!Project->OpenProject(FileName)) throw EngineError("\"" + FileName + "\" is not a Flash project.");
    ThePreviewFlags().ExitOnKey = Project->ControlSetting.RestoreNormalKey;
    ThePreviewFlags().ExitOnMouse = Project->ControlSetting.RestoreMouse;
    ShowMouseCursor = Project->ControlSetting.ShowMouseCursor;
    AllowMouseEvent = Project->ControlSetting.AllowMouseEvent;
}

void TFrmVcvEnginePreview::FormShow() {
    TFrmCustomVcvPreview::FormShow();
    if (ShowMouseCursor) Services().ShowCursor();
}

void TFrmVcvEnginePreview::FormActivate() {
    TFrmCustomVcvPreview::FormActivate();
    Timer_Start->SetEnabled(true);
}

void TFrmVcvEnginePreview::FormClose() {
    TFrmCustomVcvPreview::FormClose();
    if (Project) FinishProject(*Project);
}

void TFrmVcvEnginePreview::FormKeyUp(int32_t Key) {
    TFrmCustomVcvPreview::FormKeyUp(Key);
    const TPreviewFlags& flags = ThePreviewFlags();
    if (PasswordCheckActive) return;
    if (flags.ExitOnKey || (!flags.ExitOnMouse && Key == VK_ESCAPE)) Close();
}

// The movie fills the form; before the first one is loaded the form itself sees the mouse.
void TFrmVcvEnginePreview::MouseMove(int32_t X, int32_t Y) {
    FlashMessageHook(plat::MovieInput::MouseMove, X, Y);
}

std::string TFrmVcvEnginePreview::NextMovieFile(int32_t OrderMode, int32_t Count) {
    return Project->ReadFlash(NextMoviePosition(OrderMode, Count)).FileName;
}

void TFrmVcvEnginePreview::StartNextMovie() {
    const int32_t count = Project ? Project->GetFlashCount() : 0;
    if (count <= 0) return; // nothing to play: the screen stays black
    if (!PlayMovie(NextMovieFile(Project->FlashSetting.OrderMode, count), Project->FlashSetting))
        Timer_Start->SetEnabled(true);
}

void TFrmVcvEnginePreview::Timer_StartTimer() {
    Timer_Start->SetEnabled(false);
    StartNextMovie();
}

void TFrmVcvEnginePreview::Timer_IsStopTimer() {
    if (FlashControl && FlashControl->IsPlaying()) return;
    Timer_IsStop->SetEnabled(false);
    if (Project && Project->GetFlashCount() == 1)
        ReplayMovie(CurrentMovieFile); // the control loops it from now on
    else
        StartNextMovie();
}

} // namespace somnex
