#pragma once
#include <string>
#include <string_view>

namespace somnex {

// Cuts text to at most `limit` bytes without splitting a UTF-8 sequence.
inline std::string cutText(std::string_view text, size_t limit) {
    if (text.size() <= limit) return std::string(text);
    size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return std::string(text.substr(0, n));
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

} // namespace somnex
