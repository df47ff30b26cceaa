#pragma once
// Font texts of INI values: "Arial", 12, [Bold|Italic], [clRed]. The font is a plain record; the
// raster layer turns it into a real font.
#include "shared/ini/ColorText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace somnex {

/// A font as INI files describe it: name, size in points, colour, the four styles, character set.
struct TFontInfo {
    std::string Name = "MS Sans Serif";
    int32_t Size = 8;
    TColor Color = kSystemColorBase + 8; // clWindowText
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int32_t Charset = 1; // the platform's default character set
};

/// "name", size, [styles] and, when withColor, , [colour].
std::string FontToText(const TFontInfo& font, bool withColor = true);
/// Reads by position; stops silently at the first size or colour that does not convert, keeping
/// what was set so far (name and size are set as soon as read; styles only at the very end).
void TextToFont(std::string_view text, TFontInfo& font, bool withColor = true);

} // namespace somnex
