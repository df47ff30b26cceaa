#pragma once
// A display-mode change that the player makes for the size its slides were built for, and undoes
// when it is released.
#include "engine/preview/DisplayModeFunctions.h"

namespace somnex {

class TDynamicResolution {
public:
    explicit TDynamicResolution(plat::DisplayModes& display = plat::SystemDisplayModes())
        : display_(display) {}
    // Restores the saved mode when a change is still in force; a failure here is not reported.
    ~TDynamicResolution();
    TDynamicResolution(const TDynamicResolution&) = delete;
    TDynamicResolution& operator=(const TDynamicResolution&) = delete;

    // RefreshRate 0 keeps the current rate. Returns Changed.
    bool ChangeResolution(int32_t Width, int32_t Height, int32_t RefreshRate);
    // False when nothing was changed or the saved mode could not be set again.
    bool RestoreResolution();

    bool Changed() const { return changed_; }
    // The mode that was current before the change.
    const DisplayMode& SavedMode() const { return saved_; }

private:
    plat::DisplayModes& display_;
    bool changed_ = false;
    DisplayMode saved_;
};

} // namespace somnex
