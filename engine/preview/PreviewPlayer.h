#pragma once
// What both player forms share on top of the base form: the project load, the mouse rule and
// what closing does with the project.
#include "engine/preview/BasePreview.h"
#include "engine/preview/MultiDisplayManager.h"
#include "engine/project/Unit_ScrProjectFile.h"

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

} // namespace somnex
