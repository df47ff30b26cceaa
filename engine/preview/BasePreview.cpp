#include "engine/preview/BasePreview.h"

#include "engine/core/SharedRandom.h"
#include "engine/preview/PreviewHelpers.h"
#include "platform/registry/Registry.h"
#include "platform/screensaver/ScreenSaver.h"

#include <charconv>
#include <exception>

namespace somnex {

TFrmBasePreview::TFrmBasePreview(IPreviewServices& Services, const TPreviewWindowFactory& MakeWindow)
    : services_(Services), window_(MakeWindow(*this)) {}

void TFrmBasePreview::FormCreate() {
    TheRandom().SetSeed(services_.ClockSeed());
    window_->MoveTo(0, 0);
}

void TFrmBasePreview::FormShow() {
    PasswordCheckActive = false;
    services_.HideCursor();
    TheMouseMeasure().NoteCursorPos();
    services_.SetScreenSaverRunning(true);
    InitPlayState();
}

void TFrmBasePreview::FormActivate() {
    window_->BringToForeground();
}

bool TFrmBasePreview::FormCloseQuery() {
    if (RunMode != 1) return true;
    PasswordCheckActive = true;
    bool allowed = false;
    try {
        allowed = CheckScreenSaverPassword();
    } catch (...) {
        PasswordCheckActive = false;
        throw;
    }
    PasswordCheckActive = false;
    return allowed;
}

void TFrmBasePreview::FormClose() {
    if (services_.ClipboardHasBitmap()) services_.EmptyClipboard();
    services_.SetScreenSaverRunning(false);
    services_.ShowCursor();
    window_->SetWidth(0);
}

void TFrmBasePreview::FormKeyUp(int32_t Key) {
    if (Key == VK_SNAPSHOT) services_.EmptyClipboard();
}

void TFrmBasePreview::SetRunMode(uint8_t Mode) {
    RunMode = Mode;
    if (Mode == 0) window_->SetStayOnTop(false);
    if (Mode == 1) window_->SetStayOnTop(true);
}

bool TFrmBasePreview::CheckScreenSaverPassword() {
    if (!ScreenSaverPasswordWanted()) return true;
    window_->ShowArrowCursor();
    bool result = true;
    if (auto library = services_.LoadPasswordLibrary(); library && library->HasVerifyFunction())
        result = library->VerifyScreenSavePwd(window_->Handle());
    window_->HideCursorOverForm();
    return result;
}

bool ScreenSaverPasswordWanted() {
    try {
        plat::Registry registry(plat::HKEY_CURRENT_USER);
        if (!registry.OpenKeyReadOnly("Control Panel\\Desktop")) return false;
        const char* name = "ScreenSaveUsePassword";
        switch (registry.GetDataType(name)) {
        case plat::REG_DWORD:
            return registry.ReadInteger(name) != 0;
        case plat::REG_SZ: {
            // Stored as text by some tools: a number there still asks for the password.
            std::string text = registry.ReadString(name);
            int value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            return value != 0;
        }
        default:
            return false;
        }
    } catch (const std::exception&) {
        return false; // no settings store: nothing asks for a password
    }
}

} // namespace somnex
