#pragma once
// Whether the slideshow player switches the display to its build size: the question put to the
// user and the decision per run mode.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/preview/DisplayModeFunctions.h"

namespace somnex {

// The engine's message services, passed in so the player and the tests choose the box.
struct TPreviewMessages {
    // Returns the button pressed (IDYES, IDNO).
    std::function<int(const std::string& Text, uint32_t Flags)> AskYesNo;
    std::function<void(const std::string& Text, uint32_t Flags)> ShowInfo;
};

enum TResolutionOutcome : int32_t {
    roChange = 0,       // agreed, and the display has the mode
    roDeclined = 1,     // the user said no
    roNothingToAsk = 2, // no automatic adjustment, or the display already has this size
    roUnsupported = 3,  // agreed, but the display lacks the mode
};

std::string ResolutionQuestionText(int32_t CurrentWidth, int32_t CurrentHeight, int32_t Width,
                                   int32_t Height);
std::string ResolutionUnsupportedText(int32_t Width, int32_t Height);

TResolutionOutcome AskResolutionChange(const TPreviewMessages& Messages, int32_t Width, int32_t Height,
                                       bool AutoAdjust,
                                       plat::DisplayModes& Display = plat::SystemDisplayModes());

// Whether the display mode is to be changed when the player form is shown. Run mode 0 asks (and
// tells the user when the mode is missing); every other run mode follows AutoAdjust alone.
bool DecideDisplayModeChange(const TPreviewMessages& Messages, uint8_t RunMode, int32_t ImageWidth,
                             int32_t ImageHeight, bool AutoAdjust,
                             plat::DisplayModes& Display = plat::SystemDisplayModes());

} // namespace somnex
