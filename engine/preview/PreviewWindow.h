#pragma once
// What the preview logic needs of its full-screen window and of the system around it. The Qt
// form and the test fakes implement these; the logic never sees the toolkit.
#include <cstdint>
#include <memory>
#include <string>

namespace plat {
class ScreenSavePasswordLibrary;
}

namespace somnex {

// Virtual key codes the preview reacts to.
inline constexpr int32_t VK_ESCAPE = 27;
inline constexpr int32_t VK_SNAPSHOT = 44;

// The events a window forwards to the form's logic.
class IPreviewEvents {
public:
    virtual void FormShow() = 0;
    virtual void FormActivate() = 0;
    virtual bool FormCloseQuery() = 0;
    virtual void FormClose() = 0;
    virtual void FormKeyUp(int32_t Key) = 0;
    virtual void MouseMove(int32_t X, int32_t Y) = 0; // screen coordinates
    virtual void DoubleClick() = 0;

protected:
    ~IPreviewEvents() = default;
};

class IPreviewWindow {
public:
    virtual ~IPreviewWindow() = default;
    virtual void MoveTo(int32_t Left, int32_t Top) = 0;
    virtual void SetStayOnTop(bool OnTop) = 0;
    virtual void SetCaption(const std::string& Caption) = 0;
    virtual void SetWidth(int32_t Width) = 0;
    virtual void BringToForeground() = 0;
    // The cursor over this window only (the system-wide counter is a service, below).
    virtual void ShowArrowCursor() = 0;
    virtual void HideCursorOverForm() = 0;
    // Shows the window and runs its modal loop until it has closed; FormShow and FormActivate
    // come from the window as it appears.
    virtual void ShowModal() = 0;
    // A close request: passes FormCloseQuery, then FormClose, and ends the modal loop.
    virtual void RequestClose() = 0;
    // What a password dialog is placed over (a QWidget* for the Qt form).
    virtual void* Handle() = 0;
};

class IPreviewServices {
public:
    virtual ~IPreviewServices() = default;
    // One hide or show request to the system's cursor counter.
    virtual void HideCursor() = 0;
    virtual void ShowCursor() = 0;
    virtual void SetScreenSaverRunning(bool Running) = 0;
    virtual bool ClipboardHasBitmap() = 0;
    virtual void EmptyClipboard() = 0;
    // nullptr when the system has no password library.
    virtual std::unique_ptr<plat::ScreenSavePasswordLibrary> LoadPasswordLibrary() = 0;
    // Seeds the shared random generator at form creation.
    virtual uint32_t ClockSeed() = 0;
};

} // namespace somnex
