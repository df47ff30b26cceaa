#include "engine/preview/PreviewPlayers.h"

#include "engine/preview/PreviewFlags.h"
#include "engine/preview/PreviewHelpers.h"
#include "platform/fs/FileSystem.h"
#include "somnex/EngineError.h"

#include <cstdio>

namespace somnex {

bool TPreviewPlayer::MouseEndsPreview(int32_t X, int32_t Y) {
    if (!ThePreviewFlags().ExitOnMouse) return false;
    if (TheMouseMeasure().PointMoved(X, Y)) return true;
    TheMouseMeasure().SetPoint(X, Y);
    return false;
}

void TPreviewPlayer::FinishProject(TScrProjectFile& Project) {
    const std::string file = Project.FileName;
    if (DeleteAfterPreview && RunMode == 0 && !file.empty() && plat::FileExists(file))
        std::remove(file.c_str());
    Project.CloseProject();
}

// --- slideshow ---

TFrmPcvEnginePreview::TFrmPcvEnginePreview(IPreviewServices& Services,
                                           const TPreviewWindowFactory& MakeWindow, TPreviewMessages Messages,
                                           plat::DisplayModes& Display)
    : TPreviewPlayer(Services, MakeWindow), Resolution(Display), messages_(std::move(Messages)),
      display_(Display) {}

// A form released without having closed (its start failed) still gives back the working copy.
TFrmPcvEnginePreview::~TFrmPcvEnginePreview() {
    TheMultiDisplayManager().ForgetPreviewForm(this);
    if (Project) Project->CloseProject();
}

void TFrmPcvEnginePreview::LoadProject(const std::string& FileName) {
    Project = std::make_unique<TIniPCVProjectFile>();
    if (!Project->OpenProject(FileName))
        throw EngineError("\"" + FileName + "\" is not a slideshow project.");
    ChangeDisplayMode = DecideDisplayModeChange(messages_, RunMode, Project->BuildSetting.ImageWidth,
                                                Project->BuildSetting.ImageHeight,
                                                Project->ControlSetting.AutoAdjust, display_);
    ThePreviewFlags().ExitOnKey = Project->ControlSetting.RestoreNormalKey;
    ThePreviewFlags().ExitOnMouse = Project->ControlSetting.RestoreMouse;
}

void TFrmPcvEnginePreview::FormShow() {
    TPreviewPlayer::FormShow();
    if (Project) Window().SetCaption(Project->ScrInfo.Name);
    if (ChangeDisplayMode && Project)
        Resolution.ChangeResolution(Project->BuildSetting.ImageWidth, Project->BuildSetting.ImageHeight, 0);
}

void TFrmPcvEnginePreview::FormClose() {
    TPreviewPlayer::FormClose();
    if (Project) FinishProject(*Project);
    if (Resolution.Changed()) Resolution.RestoreResolution();
}

void TFrmPcvEnginePreview::FormKeyUp(int32_t Key) {
    TPreviewPlayer::FormKeyUp(Key);
    if (ThePreviewFlags().ExitOnKey && !PasswordCheckActive) TheMultiDisplayManager().CloseAll();
}

void TFrmPcvEnginePreview::MouseMove(int32_t X, int32_t Y) {
    if (MouseEndsPreview(X, Y)) TheMultiDisplayManager().CloseAll();
}

void TFrmPcvEnginePreview::DoubleClick() {
    TheMultiDisplayManager().CloseAll();
}

// --- Flash ---

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
    TPreviewPlayer::FormShow();
    if (ShowMouseCursor) Services().ShowCursor();
}

void TFrmVcvEnginePreview::FormClose() {
    TPreviewPlayer::FormClose();
    // The base close showed the cursor once for its hide; the extra show above is taken back, so
    // the cursor is as visible as before the preview.
    if (ShowMouseCursor) Services().HideCursor();
    if (Project) FinishProject(*Project);
}

void TFrmVcvEnginePreview::FormKeyUp(int32_t Key) {
    TPreviewPlayer::FormKeyUp(Key);
    const TPreviewFlags& flags = ThePreviewFlags();
    if (PasswordCheckActive) return;
    if (flags.ExitOnKey || (!flags.ExitOnMouse && Key == VK_ESCAPE)) Close();
}

void TFrmVcvEnginePreview::MouseMove(int32_t X, int32_t Y) {
    if (MouseEndsPreview(X, Y)) Close();
}

} // namespace somnex
