#include "platform/raster/GuiApp.h"

#include <QApplication>

#include <cstdlib>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {
bool Set(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// Qt wants a private runtime folder and complains on every start without one; make the one it
// would fall back to, quietly.
void EnsureRuntimeFolder() {
    if (Set("XDG_RUNTIME_DIR")) return;
    std::string dir = "/tmp/runtime-" + std::to_string(getuid());
    struct stat st;
    if (mkdir(dir.c_str(), 0700) == 0 || (lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
                                          st.st_uid == getuid() && (st.st_mode & 077) == 0))
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
}
} // namespace

void EnsureGuiApplication() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (QCoreApplication::instance()) return;
        if (!Set("QT_QPA_PLATFORM") && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY"))
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
        EnsureRuntimeFolder();
        static int argc = 1;
        static char name[] = "somnex";
        static char* argv[] = {name, nullptr};
        // Lives as long as the process: a host may keep using it after our library is gone, and
        // Qt does not survive being torn down and set up again in one process.
        new QApplication(argc, argv);
    });
}

} // namespace plat
