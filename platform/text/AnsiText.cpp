#include "platform/text/AnsiText.h"

namespace plat {

namespace {
constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i], advancing i; overlong forms, surrogates and values
// beyond U+10FFFF are malformed and consume one byte.
char32_t DecodeOne(std::string_view text, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra;
    char32_t cp, min;
    if ((b0 & 0xE0) == 0xC0)
        extra = 1, cp = b0 & 0x1F, min = 0x80;
    else if ((b0 & 0xF0) == 0xE0)
        extra = 2, cp = b0 & 0x0F, min = 0x800;
    else if ((b0 & 0xF8) == 0xF0)
        extra = 3, cp = b0 & 0x07, min = 0x10000;
    else {
        ++i;
        return kReplacement;
    }
    if (i + extra >= text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = cp << 6 | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += extra + 1;
    return cp;
}

void EncodeUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
} // namespace

std::u16string AnsiToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t cp = DecodeOne(text, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 | cp >> 10);
            out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string WideToAnsi(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement; // an unpaired surrogate has no 8-bit form
        }
        EncodeUtf8(cp, out);
    }
    return out;
}

std::string BstrToAnsi(const char16_t* text) {
    if (!text) return {};
    return WideToAnsi(std::u16string_view(text, SysStringLen(text)));
}

BSTR AnsiToBstr(std::string_view text) {
    std::u16string wide = AnsiToWide(text);
    return SysAllocStringLen(wide.data(), static_cast<uint32_t>(wide.size()));
}

} // namespace plat
