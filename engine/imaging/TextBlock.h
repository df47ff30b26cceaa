#pragma once
// A multi-line text block drawn at a grid position, with an optional frame, background box and
// drop shadow.
#include "platform/raster/Bitmap.h"
#include "platform/raster/Font.h"

#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

struct TTextOption {
    std::string Font; // font text, colour included
    int32_t Reserved = 0;
    int32_t Position = 0; // grid position; 0 or below draws nothing
    int32_t Format = 0;   // text-drawing flags: 0 left, 1 centre, 2 right
    bool TransparentBack = false;
    int32_t BorderWidth = 0;
    int32_t BorderColor = 0;
    int32_t BackColor = 0;
    bool Shadow = false;
    int32_t ShadowColor = 0;
    int32_t ShadowX = 0;
    int32_t ShadowY = 0;
};

// The caption look of slides: no box, so the picture stays visible, and a one-pixel drop shadow
// in black under light text or white under dark text, so the caption reads on any picture.
TTextOption CaptionOption(const std::string& font);

// The raster font for a font text (colour included).
plat::FontSpec FontFromText(const std::string& text);

void DrawTextBlock(plat::Bitmap& bitmap, const std::vector<std::string>& lines, const TTextOption& option);

// Lines as a text list sees them: CR LF, CR or LF end a line, and a final break adds no empty line.
std::vector<std::string> SplitTextLines(const std::string& text);

} // namespace somnex
