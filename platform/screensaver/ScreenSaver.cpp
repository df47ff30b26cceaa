#include "platform/screensaver/ScreenSaver.h"

#include <atomic>

namespace plat {
namespace {
std::atomic<bool> g_running{false};
}

void SetScreenSaverRunning(bool running) {
    g_running = running;
}
bool ScreenSaverRunning() {
    return g_running;
}

std::unique_ptr<ScreenSavePasswordLibrary> LoadScreenSavePasswordLibrary() {
    return nullptr;
}
} // namespace plat
