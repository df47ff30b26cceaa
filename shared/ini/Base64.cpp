#include "shared/ini/Base64.h"

#include "somnex/EngineError.h"

#include <cstdint>

namespace somnex {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

uint32_t Sextet(char c) {
    if (c >= 'A' && c <= 'Z') return uint32_t(c - 'A');
    if (c >= 'a' && c <= 'z') return uint32_t(c - 'a' + 26);
    if (c >= '0' && c <= '9') return uint32_t(c - '0' + 52);
    if (c == '+') return 62;
    return 63; // "/" included, as the decoder has always read it
}

} // namespace

std::string Base64Encode(std::string_view data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= data.size(); i += 3) {
        uint32_t v =
            uint32_t(uint8_t(data[i])) << 16 | uint32_t(uint8_t(data[i + 1])) << 8 | uint8_t(data[i + 2]);
        for (int s = 18; s >= 0; s -= 6) out += kAlphabet[(v >> s) & 63];
    }
    size_t rest = data.size() - i;
    if (rest) {
        uint32_t v = uint32_t(uint8_t(data[i])) << 16;
        if (rest == 2) v |= uint32_t(uint8_t(data[i + 1])) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string Base64Pad(std::string_view text) {
    std::string out(text);
    while (out.size() % 4) out += '=';
    return out;
}

std::string Base64Decode(std::string_view text) {
    if (text.size() % 4) throw EngineError("Base64: Incorrect string format");
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        uint32_t v = Sextet(text[i]) << 18 | Sextet(text[i + 1]) << 12 | Sextet(text[i + 2]) << 6 |
                     Sextet(text[i + 3]);
        size_t bytes = 3;
        if (i + 4 == text.size()) {
            if (text[i + 2] == '=')
                bytes = 1;
            else if (text[i + 3] == '=')
                bytes = 2;
        }
        out += char(v >> 16);
        if (bytes > 1) out += char(v >> 8 & 0xFF);
        if (bytes > 2) out += char(v & 0xFF);
    }
    return out;
}

} // namespace somnex
