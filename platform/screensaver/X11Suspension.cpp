#include "platform/screensaver/RunningState.h"

#include <cstdlib>
#include <cstring>

#ifdef SOMNEX_HAVE_XSS
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#endif

namespace plat {

#ifdef SOMNEX_HAVE_XSS
namespace {
// The server lifts a client's suspension when its connection closes, so the connection stays open
// for as long as the preview plays.
class X11Suspension final : public DesktopSaverSuspension {
public:
    explicit X11Suspension(Display* display) : display_(display) {
        XScreenSaverSuspend(display_, True);
        XFlush(display_);
    }
    ~X11Suspension() override {
        XScreenSaverSuspend(display_, False);
        XCloseDisplay(display_);
    }
    X11Suspension(const X11Suspension&) = delete;
    X11Suspension& operator=(const X11Suspension&) = delete;

private:
    Display* display_;
};
} // namespace
#endif

std::unique_ptr<DesktopSaverSuspension> SuspendX11ScreenSaver() {
#ifdef SOMNEX_HAVE_XSS
    const char* ui = std::getenv("SOMNEX_UI");
    const char* name = std::getenv("DISPLAY");
    if ((ui && std::strcmp(ui, "headless") == 0) || !name || !*name) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    // Suspension came with version 1.1 of the extension.
    if (!XScreenSaverQueryExtension(display, &event, &error) ||
        !XScreenSaverQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 1)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11Suspension>(display);
#else
    return nullptr;
#endif
}

} // namespace plat
