#include "engine/com/Unit_ScrPreview.h"

#include "platform/fs/FileSystem.h"
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

bool TPcvPreview::Play(bool, int32_t) {
    throw EngineError("The slideshow preview is not available in this build of the engine.");
}

bool TVcvPreview::Play(bool, int32_t) {
    throw EngineError("The Flash preview is not available in this build of the engine.");
}

} // namespace somnex
