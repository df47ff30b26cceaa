#pragma once
// Colours are 32-bit values with red in the low byte, then green, then blue (0x00BBGGRR).
#include <cstdint>

namespace plat {

using Color = uint32_t;

constexpr Color MakeColor(uint8_t r, uint8_t g, uint8_t b) {
    return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}
constexpr uint8_t RedOf(Color c) {
    return uint8_t(c);
}
constexpr uint8_t GreenOf(Color c) {
    return uint8_t(c >> 8);
}
constexpr uint8_t BlueOf(Color c) {
    return uint8_t(c >> 16);
}

constexpr Color ColorBlack = 0x000000;
constexpr Color ColorWhite = 0xFFFFFF;

} // namespace plat
