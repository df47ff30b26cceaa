#include "engine/com/Unit_ScrPreview.h"

#include "engine/preview/PreviewDriver.h"
#include "engine/preview/QtFlashParts.h"
#include "engine/preview/QtPreviewWindow.h"
#include "engine/preview/QtSlideshowParts.h"
#include "engine/preview/form_VcvEnginePreview.h"
#include "platform/fs/FileSystem.h"
#include "platform/raster/GuiApp.h"
#include "platform/ui/MessageBoxLogic.h"

namespace somnex {

bool TScrPreview::Preview(bool, int32_t) {
    AbstractError();
}

bool TProductPreview::Preview(bool Flag, int32_t Value) {
    if (EngineParams.size() != 1 || !plat::FileExists(EngineParams[0])) {
        ShowInfo("You input wrong parameter.", plat::MB_ICONINFORMATION);
        return false;
    }
    try {
        return Play(Flag, Value);
    } catch (const std::exception& e) {
        ShowError(e.what(), plat::MB_ICONERROR);
        return false;
    }
}

namespace {

// Real players: the Qt form, the system's services and the engine's message boxes.
bool PlayReal(TPreviewKind Kind, const std::string& File, bool Flag, int32_t Value) {
    plat::EnsureGuiApplication();
    TPreviewErrorReport report = [](const std::string& message) { ShowError(message, plat::MB_ICONERROR); };
    TPreviewWindowFactory window = [report](IPreviewEvents& events) {
        return std::make_unique<QtPreviewWindow>(events, report);
    };
    TPlayerFactory players = [&](TPreviewKind kind) -> std::unique_ptr<TPreviewPlayer> {
        if (kind == TPreviewKind::Flash)
            return std::make_unique<TFrmVcvEnginePreview>(SystemPreviewServices(), window,
                                                          SystemFlashParts(report));
        TPreviewMessages messages{
            [](const std::string& text, uint32_t flags) { return AskYesNo(text, flags); },
            [](const std::string& text, uint32_t flags) { ShowInfo(text, flags); }};
        return std::make_unique<TFrmPcvEnginePreview>(SystemPreviewServices(), window, std::move(messages),
                                                      SystemSlideshowParts(report));
    };
    return RunPreview(Kind, File, Flag, Value, players);
}

} // namespace

bool TPcvPreview::Play(bool Flag, int32_t Value) {
    return PlayReal(TPreviewKind::Slideshow, EngineParams[0], Flag, Value);
}

bool TVcvPreview::Play(bool Flag, int32_t Value) {
    return PlayReal(TPreviewKind::Flash, EngineParams[0], Flag, Value);
}

} // namespace somnex
