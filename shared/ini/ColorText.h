#pragma once
// Colour values and their texts: red in the low byte, then green, then blue; names for the fixed,
// special and system colours.
#include <cstdint>
#include <string>
#include <string_view>

namespace somnex {

using TColor = int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
/// System colours are this plus the platform's system-colour index.
inline constexpr TColor kSystemColorBase = TColor(0x80000000u);

/// The colour's name ("clRed"), else "$" and eight upper-case hexadecimal digits.
std::string ColorToText(TColor color);
/// A name (letter case ignored) or an integer; anything else raises "'%s' is not a valid integer value".
TColor TextToColor(std::string_view text);
/// TextToColor without the error.
bool TryTextToColor(std::string_view text, TColor& color);

} // namespace somnex
