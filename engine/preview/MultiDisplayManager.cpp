#include "engine/preview/MultiDisplayManager.h"

namespace somnex {

void TMultiDisplayManager::CloseAll() {
    while (!forms_.empty()) {
        // Out of the list before its close runs, so a close that calls back here finds it gone.
        std::unique_ptr<IPreviewForm> form = std::move(forms_.back());
        forms_.pop_back();
        form->Close();
    }
    if (previewForm_) previewForm_->Close();
}

} // namespace somnex
