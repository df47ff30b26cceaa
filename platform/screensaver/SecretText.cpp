#include "platform/screensaver/SecretText.h"

#include <cstring>
#include <string.h>

namespace plat {

void WipeMemory(void* data, size_t size) {
    if (data && size) explicit_bzero(data, size);
}

SecretText::SecretText(SecretText&& other) noexcept {
    *this = std::move(other);
}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
    if (this != &other) {
        Clear();
        std::memcpy(buffer_, other.buffer_, other.size_);
        size_ = other.size_;
        overflowed_ = other.overflowed_;
        other.Clear();
    }
    return *this;
}

SecretText::~SecretText() {
    Clear();
}

bool SecretText::Assign(std::string_view text) {
    Clear();
    if (text.size() > kCapacity) {
        overflowed_ = true;
        return false;
    }
    std::memcpy(buffer_, text.data(), text.size());
    size_ = text.size();
    return true;
}

void SecretText::Clear() {
    WipeMemory(buffer_, sizeof buffer_);
    size_ = 0;
    overflowed_ = false;
}

} // namespace plat
