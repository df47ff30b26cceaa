#include "engine/preview/PreviewPlayer.h"

#include "engine/preview/PreviewFlags.h"
#include "engine/preview/PreviewHelpers.h"
#include "platform/fs/FileSystem.h"

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

} // namespace somnex
