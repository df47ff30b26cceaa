#include "platform/screensaver/RunningState.h"
#include "platform/screensaver/ScreenSaver.h"

namespace plat {

namespace {
RunningState& State() {
    static RunningState state(&SuspendX11ScreenSaver);
    return state;
}
} // namespace

void SetScreenSaverRunning(bool running) {
    State().Set(running);
}
bool ScreenSaverRunning() {
    return State().Get();
}

} // namespace plat
