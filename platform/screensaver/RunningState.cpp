#include "platform/screensaver/RunningState.h"

namespace plat {

void RunningState::Set(bool running) {
    std::lock_guard lock(mutex_);
    if (running == running_) return;
    running_ = running;
    if (running)
        suspension_ = factory_ ? factory_() : nullptr;
    else
        suspension_.reset();
}

bool RunningState::Get() const {
    std::lock_guard lock(mutex_);
    return running_;
}

} // namespace plat
