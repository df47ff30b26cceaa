#include "engine/preview/DynamicResolution.h"

namespace somnex {

TDynamicResolution::~TDynamicResolution() {
    try {
        if (changed_) RestoreResolution();
    } catch (...) {
        // Nothing to tell anyone while a form goes away; the display stays as it is.
    }
}

bool TDynamicResolution::ChangeResolution(int32_t Width, int32_t Height, int32_t RefreshRate) {
    // A second change while the first is in force must not forget the mode to go back to, nor
    // report "unchanged" for a display that still runs in the first one.
    if (!changed_) saved_ = CurrentDisplayMode(display_);
    DisplayMode wanted{Width, Height, RefreshRate == 0 ? saved_.RefreshRate : RefreshRate};
    changed_ = ApplyMode(wanted, display_) || changed_;
    return changed_;
}

bool TDynamicResolution::RestoreResolution() {
    if (!changed_) return false;
    bool restored = ApplyMode(saved_, display_);
    if (restored) changed_ = false;
    return restored;
}

} // namespace somnex
