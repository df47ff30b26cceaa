#include "engine/preview/ResolutionQuestion.h"

#include "platform/ui/MessageBoxLogic.h"

namespace somnex {

namespace {
std::string Size(int32_t w, int32_t h) {
    return std::to_string(w) + " x " + std::to_string(h);
}
} // namespace

std::string ResolutionQuestionText(int32_t CurrentWidth, int32_t CurrentHeight, int32_t Width,
                                   int32_t Height) {
    return "The resolving of your screensaver seted is different from of the current display.\r\n"
           "Do you need to change the resolving of your display(from " +
           Size(CurrentWidth, CurrentHeight) + " to " + Size(Width, Height) +
           ")?\r\nWhen preview is closed the resolving will automatically revert to current resolving.";
}

std::string ResolutionUnsupportedText(int32_t Width, int32_t Height) {
    return "Don't apply resolving of display to " + Size(Width, Height) +
           ", maybe your display dose not support this resolving.";
}

TResolutionOutcome AskResolutionChange(const TPreviewMessages& Messages, int32_t Width, int32_t Height,
                                       bool AutoAdjust, plat::DisplayModes& Display) {
    if (!AutoAdjust) return roNothingToAsk;
    DisplayMode current = CurrentDisplayMode(Display);
    if (Width == current.Width && Height == current.Height) return roNothingToAsk;
    int answer = Messages.AskYesNo(ResolutionQuestionText(current.Width, current.Height, Width, Height),
                                   plat::MB_ICONQUESTION);
    if (answer != plat::IDYES) return roDeclined;
    return ModeSupported({Width, Height, CurrentRefreshRate(Display)}, Display) ? roChange : roUnsupported;
}

bool DecideDisplayModeChange(const TPreviewMessages& Messages, uint8_t RunMode, int32_t ImageWidth,
                             int32_t ImageHeight, bool AutoAdjust, plat::DisplayModes& Display) {
    if (RunMode != 0) return AutoAdjust;
    TResolutionOutcome outcome = AskResolutionChange(Messages, ImageWidth, ImageHeight, AutoAdjust, Display);
    if (AutoAdjust && outcome == roUnsupported)
        Messages.ShowInfo(ResolutionUnsupportedText(ImageWidth, ImageHeight), plat::MB_ICONINFORMATION);
    return outcome == roChange;
}

} // namespace somnex
