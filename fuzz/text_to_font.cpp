// TextToFont never raises, and what FontToText writes reads back the same.
#include "shared/ini/FontText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    somnex::TFontInfo font;
    somnex::TextToFont(std::string_view(reinterpret_cast<const char*>(data), size), font, size % 2 == 0);
    if (font.Name.find(',') != std::string::npos || font.Name.find('"') != std::string::npos) return 0;
    somnex::TFontInfo back;
    somnex::TextToFont(somnex::FontToText(font), back);
    if (back.Name != font.Name || back.Size != font.Size || back.Color != font.Color ||
        back.Bold != font.Bold || back.Italic != font.Italic || back.Underline != font.Underline ||
        back.StrikeOut != font.StrikeOut)
        std::abort();
    return 0;
}
