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
