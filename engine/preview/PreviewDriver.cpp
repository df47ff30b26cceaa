#include "engine/preview/PreviewDriver.h"

#include "engine/preview/PreviewHelpers.h"

namespace somnex {

bool RunPreview(TPreviewKind Kind, const std::string& ProjectFile, bool DeleteAfterPreview, int32_t RunMode,
                const TPlayerFactory& MakePlayer) {
    std::unique_ptr<TPreviewPlayer> form = MakePlayer(Kind);
    form->FormCreate();
    struct Unregister {
        TPreviewPlayer* form;
        ~Unregister() { TheMultiDisplayManager().ForgetPreviewForm(form); }
    } unregister{form.get()};
    if (Kind == TPreviewKind::Slideshow) TheMultiDisplayManager().SetPreviewForm(form.get());
    form->DeleteAfterPreview = DeleteAfterPreview;
    form->SetRunMode(static_cast<uint8_t>(RunMode));
    form->LoadProject(ProjectFile);
    form->ShowModal();
    return true;
}

} // namespace somnex
