#pragma once
// The two player forms on top of the base form: project load, the exit rules of each product and
// what closing does with the project. Playing pictures and movies builds on these.
#include "engine/preview/BasePreview.h"
#include "engine/preview/DynamicResolution.h"
#include "engine/preview/MultiDisplayManager.h"
#include "engine/preview/ResolutionQuestion.h"
#include "engine/project/Unit_IniPcvProjectFile.h"
#include "engine/project/Unit_IniVcvProjectFile.h"

#include <memory>
#include <string>

namespace somnex {

class TPreviewPlayer : public TFrmBasePreview, public IPreviewForm {
public:
    using TFrmBasePreview::TFrmBasePreview;

    bool DeleteAfterPreview = false;

    virtual void LoadProject(const std::string& FileName) = 0;
    // Runs the form until it has closed.
    void ShowModal() { Window().ShowModal(); }
    void Close() override { Window().RequestClose(); }

protected:
    // True when this mouse-move event ends the preview; otherwise the point is noted.
    bool MouseEndsPreview(int32_t X, int32_t Y);
    // A previewed temporary project is deleted in run mode 0; either way the project is closed,
    // so its working copy never stays behind.
    void FinishProject(TScrProjectFile& Project);
};

// The slideshow player form.
class TFrmPcvEnginePreview : public TPreviewPlayer {
public:
    TFrmPcvEnginePreview(IPreviewServices& Services, const TPreviewWindowFactory& MakeWindow,
                         TPreviewMessages Messages, plat::DisplayModes& Display = plat::SystemDisplayModes());
    ~TFrmPcvEnginePreview() override;

    std::unique_ptr<TIniPCVProjectFile> Project;
    TDynamicResolution Resolution;
    bool ChangeDisplayMode = false;

    void LoadProject(const std::string& FileName) override;
    void FormShow() override;
    void FormClose() override;
    void FormKeyUp(int32_t Key) override;
    void MouseMove(int32_t X, int32_t Y) override;
    void DoubleClick() override;

private:
    TPreviewMessages messages_;
    plat::DisplayModes& display_;
};

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
