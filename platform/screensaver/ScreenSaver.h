#pragma once
// The system screen-saver services the full-screen preview uses: the "screen saver running" state
// and the screen-saver password check. The password library is PAM, loaded at run time, so a
// system without PAM behaves like one without the password library.
#include <memory>
#include <string>

namespace plat {
// The system's "a screen saver is running" state (on while a preview plays). Setting it also
// suspends the desktop's own screen saver when an X11 display exists, and resumes it when cleared.
void SetScreenSaverRunning(bool running);
bool ScreenSaverRunning();

// The platform's screen-saver password library ("password.cpl" with "VerifyScreenSavePwd").
class ScreenSavePasswordLibrary {
public:
    virtual ~ScreenSavePasswordLibrary() = default;
    // False when the library lacks the verify function.
    virtual bool HasVerifyFunction() const = 0;
    // Shows the password question over the window (opaque handle: a QWidget* or nullptr) and
    // returns true when the password was right.
    virtual bool VerifyScreenSavePwd(void* window) = 0;
};
// nullptr when the library cannot be loaded (no PAM on this system).
std::unique_ptr<ScreenSavePasswordLibrary> LoadScreenSavePasswordLibrary();

// The file LoadScreenSavePasswordLibrary opens: SOMNEX_PAM_LIBRARY when set and not empty,
// otherwise the system's "libpam.so.0".
std::string PasswordLibraryFile();
// Loads a PAM library from this file (a name the dynamic loader searches, or a path).
std::unique_ptr<ScreenSavePasswordLibrary> LoadScreenSavePasswordLibraryFrom(const std::string& file);
} // namespace plat
