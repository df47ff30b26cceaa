#pragma once
// The two player forms: the slideshow (form_PcvEnginePreview.h) and the Flash player with its
// project load and exit rules.
#include "engine/preview/PreviewPlayer.h"
#include "engine/preview/form_PcvEnginePreview.h"
#include "engine/project/Unit_IniVcvProjectFile.h"

#include <memory>
#include <string>

namespace somnex {

// The Flash player form.
class TFrmVcvEnginePreview : public TPreviewPlayer {
public:
    using TPreviewPlayer::TPreviewPlayer;
    ~TFrmVcvEnginePreview() override;

    std::unique_ptr<TIniVCVProjectFile> Project;
    bool ShowMouseCursor = false;
    bool AllowMouseEvent = false;

    void LoadProject(const std::string& FileName) override;
    void FormShow() override;
    void FormClose() override;
    void FormKeyUp(int32_t Key) override;
    void MouseMove(int32_t X, int32_t Y) override;
};

} // namespace somnex
