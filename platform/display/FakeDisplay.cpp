#include "platform/display/FakeDisplay.h"

#include <algorithm>

namespace plat {

std::optional<DisplayMode> FakeDisplay::Mode(int32_t number) {
    if (number < 0 || size_t(number) >= modes_.size()) return std::nullopt;
    return modes_[size_t(number)];
}

bool FakeDisplay::Set(const DisplayMode& mode) {
    SetCalls.push_back(mode);
    if (FailSet || std::find(modes_.begin(), modes_.end(), mode) == modes_.end()) return false;
    current_ = mode;
    return true;
}

} // namespace plat
