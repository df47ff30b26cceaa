#include "engine/preview/DisplayModeFunctions.h"

namespace somnex {

DisplayMode CurrentDisplayMode(plat::DisplayModes& display) {
    return display.Current();
}

int32_t CurrentRefreshRate(plat::DisplayModes& display) {
    return display.Current().RefreshRate;
}

bool ModeSupported(const DisplayMode& mode, plat::DisplayModes& display) {
    for (int32_t number = 0;; ++number) {
        std::optional<DisplayMode> m = display.Mode(number);
        if (!m) return false;
        if (*m == mode) return true;
    }
}

bool ApplyMode(const DisplayMode& mode, plat::DisplayModes& display) {
    return ModeSupported(mode, display) && display.Set(mode);
}

} // namespace somnex
