#pragma once
// Wide COM strings: UTF-16 code units preceded by their 32-bit byte length and followed by a zero
// unit, in one malloc'd block. Inline, so a host and every library allocate and free alike.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using OLECHAR = char16_t;
using BSTR = char16_t*;

inline BSTR SysAllocStringLen(const char16_t* text, uint32_t length) {
    if (length > (UINT32_MAX - sizeof(uint32_t) - sizeof(char16_t)) / sizeof(char16_t)) return nullptr;
    auto* block =
        static_cast<unsigned char*>(std::malloc(sizeof(uint32_t) + (length + 1u) * sizeof(char16_t)));
    if (!block) return nullptr;
    uint32_t bytes = length * static_cast<uint32_t>(sizeof(char16_t));
    std::memcpy(block, &bytes, sizeof bytes);
    auto* units = reinterpret_cast<char16_t*>(block + sizeof(uint32_t));
    if (text)
        std::memcpy(units, text, bytes);
    else
        std::memset(units, 0, bytes);
    units[length] = 0;
    return units;
}

inline BSTR SysAllocString(const char16_t* text) {
    if (!text) return nullptr;
    return SysAllocStringLen(text, static_cast<uint32_t>(std::char_traits<char16_t>::length(text)));
}

inline uint32_t SysStringByteLen(const char16_t* text) {
    if (!text) return 0;
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(text) - sizeof(uint32_t), sizeof bytes);
    return bytes;
}

inline uint32_t SysStringLen(const char16_t* text) {
    return SysStringByteLen(text) / static_cast<uint32_t>(sizeof(char16_t));
}

inline void SysFreeString(BSTR text) {
    if (text) std::free(reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t));
}

namespace somnex {

// Owns one BSTR; what a host uses for wide-text results and arguments.
class BStr {
public:
    BStr() = default;
    explicit BStr(std::u16string_view text)
        : text_(SysAllocStringLen(text.data(), static_cast<uint32_t>(text.size()))) {}
    BStr(const BStr&) = delete;
    BStr& operator=(const BStr&) = delete;
    BStr(BStr&& other) noexcept : text_(other.Detach()) {}
    BStr& operator=(BStr&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }
    ~BStr() { SysFreeString(text_); }

    // Takes ownership of a returned BSTR.
    static BStr Adopt(BSTR text) {
        BStr s;
        s.text_ = text;
        return s;
    }
    void Attach(BSTR text) {
        SysFreeString(text_);
        text_ = text;
    }
    BSTR Detach() {
        BSTR t = text_;
        text_ = nullptr;
        return t;
    }
    // For an out argument: frees what is held first.
    BSTR* Out() {
        Attach(nullptr);
        return &text_;
    }
    BSTR Get() const { return text_; }
    uint32_t Length() const { return SysStringLen(text_); }
    std::u16string_view View() const {
        return text_ ? std::u16string_view(text_, Length()) : std::u16string_view();
    }

private:
    BSTR text_ = nullptr;
};

} // namespace somnex
