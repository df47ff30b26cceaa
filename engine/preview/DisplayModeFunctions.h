#pragma once
// The display-mode operations the player uses, over the platform's display.
#include "platform/display/DisplayModes.h"

namespace somnex {

using plat::DisplayMode;

DisplayMode CurrentDisplayMode(plat::DisplayModes& display = plat::SystemDisplayModes());
int32_t CurrentRefreshRate(plat::DisplayModes& display = plat::SystemDisplayModes());
// True when one of the display's modes has exactly this width, height and refresh rate.
bool ModeSupported(const DisplayMode& mode, plat::DisplayModes& display = plat::SystemDisplayModes());
// True when the display was switched; an unsupported mode is never tried.
bool ApplyMode(const DisplayMode& mode, plat::DisplayModes& display = plat::SystemDisplayModes());

} // namespace somnex
