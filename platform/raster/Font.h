#pragma once
// A font as the font text describes it: face name, size in points, colour and styles. Windows
// core names ("Arial", "Times New Roman", "Courier New") resolve through fontconfig to their
// metric-compatible faces.
#include "platform/raster/Color.h"

#include <string>

namespace plat {

struct FontSpec {
    std::string Name = "Arial";
    int Size = 10; // points; the pixel height is Size * 96 / 72
    Color FontColor = ColorBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The family that fontconfig gives for a face name (e.g. "Liberation Sans" for "Arial").
std::string ResolveFontFamily(const std::string& name);

} // namespace plat
