// TextToColor gives a colour or the integer error, and a colour's text reads back as that colour.
#include "shared/ini/ColorText.h"
#include "somnex/EngineError.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        somnex::TColor c = somnex::TextToColor(std::string_view(reinterpret_cast<const char*>(data), size));
        if (somnex::TextToColor(somnex::ColorToText(c)) != c) std::abort();
    } catch (const somnex::EngineError&) {
    }
    return 0;
}
