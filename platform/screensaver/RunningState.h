#pragma once
// The "a screen saver is running" flag and the desktop screen-saver suspension that goes with it.
// The suspension is an object: made when the flag goes on, destroyed (resuming the desktop's
// saver) when it goes off, so setting the flag twice never suspends twice.
#include <functional>
#include <memory>
#include <mutex>

namespace plat {

class DesktopSaverSuspension {
public:
    virtual ~DesktopSaverSuspension() = default; // resumes the desktop's screen saver
};

// Returns nullptr when there is no desktop screen saver to suspend.
using SuspensionFactory = std::function<std::unique_ptr<DesktopSaverSuspension>()>;

class RunningState {
public:
    explicit RunningState(SuspensionFactory factory) : factory_(std::move(factory)) {}
    void Set(bool running);
    bool Get() const;

private:
    SuspensionFactory factory_;
    mutable std::mutex mutex_;
    bool running_ = false;
    std::unique_ptr<DesktopSaverSuspension> suspension_;
};

// The X11 suspension (XScreenSaverSuspend); nullptr without a display, without the extension,
// in headless mode, or when the build had no libXss.
std::unique_ptr<DesktopSaverSuspension> SuspendX11ScreenSaver();

} // namespace plat
