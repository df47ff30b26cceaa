#pragma once
// A fixed buffer for a typed password: never reallocated (so no stale copies are left on the
// heap), not copyable, wiped when cleared, moved from or destroyed.
#include <cstddef>
#include <string_view>

namespace plat {

class SecretText {
public:
    // PAM accepts no longer answer (PAM_MAX_RESP_SIZE, with its terminating zero).
    static constexpr size_t kCapacity = 511;

    SecretText() = default;
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    SecretText(SecretText&& other) noexcept;
    SecretText& operator=(SecretText&& other) noexcept;
    ~SecretText();

    // False (and the text left empty) when the text does not fit; such a password cannot be
    // right, so it is never cut to one that might be.
    bool Assign(std::string_view text);
    void Clear();

    const char* c_str() const { return buffer_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    bool overflowed() const { return overflowed_; }

private:
    char buffer_[kCapacity + 1] = {};
    size_t size_ = 0;
    bool overflowed_ = false;
};

// Overwrites memory in a way the optimiser may not drop.
void WipeMemory(void* data, size_t size);

} // namespace plat
