#include "platform/raster/GuiApp.h"

#include <QGuiApplication>

#include <cstdlib>
#include <mutex>

namespace plat {

void EnsureGuiApplication() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (QCoreApplication::instance()) return;
        if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "somnex";
        static char* argv[] = {name, nullptr};
        // Lives as long as the process: Qt objects created later depend on it.
        new QGuiApplication(argc, argv);
    });
}

} // namespace plat
