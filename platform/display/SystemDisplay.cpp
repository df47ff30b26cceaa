#include "platform/display/XRandrDisplay.h"
#include "platform/ui/MessageBoxLogic.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstdlib>

namespace plat {

namespace {

// Without a display server of our own to ask, the toolkit's screen is the current mode and no
// other mode exists, so every change is refused and the preview runs as it is.
class ScreenOnlyDisplay final : public DisplayModes {
public:
    DisplayMode Current() override {
        if (!qGuiApp) return {};
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return {};
        QSize size = screen->size();
        return {size.width(), size.height(), int32_t(std::nearbyint(screen->refreshRate()))};
    }
    std::optional<DisplayMode> Mode(int32_t) override { return std::nullopt; }
    bool Set(const DisplayMode&) override { return false; }
};

// A test or headless run never switches the display of the person running it.
std::unique_ptr<XRandrDisplay> OpenIfDesktop() {
    const char* x = std::getenv("DISPLAY");
    if (ChooseUiMode(std::getenv("SOMNEX_UI"), x && *x, false) != UiMode::Desktop) return nullptr;
    return XRandrDisplay::Open();
}

XRandrDisplay* X() {
    static std::unique_ptr<XRandrDisplay> x = OpenIfDesktop();
    return x.get();
}

class SystemCursorSource final : public CursorSource {
public:
    ScreenPoint Pos() override {
        if (qGuiApp) {
            QPoint p = QCursor::pos();
            return {p.x(), p.y()};
        }
        if (XRandrDisplay* x = X()) return x->Pos();
        return {};
    }
};

} // namespace

DisplayModes& SystemDisplayModes() {
    static ScreenOnlyDisplay screenOnly;
    if (XRandrDisplay* x = X()) return *x;
    return screenOnly;
}

CursorSource& SystemCursor() {
    static SystemCursorSource cursor;
    return cursor;
}

} // namespace plat
