#include "shared/ini/ColorText.h"

#include "shared/ini/IniText.h"
#include "somnex/EngineError.h"

#include <cstdio>
#include <iterator>

namespace somnex {
namespace {

struct NamedColor {
    const char* name;
    uint32_t value;
};

constexpr uint32_t Sys(uint32_t index) {
    return 0x80000000u + index;
}

constexpr NamedColor kColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
};

} // namespace

std::string ColorToText(TColor color) {
    for (const auto& c : kColors)
        if (c.value == uint32_t(color)) return c.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", unsigned(uint32_t(color)));
    return buf;
}

bool TryTextToColor(std::string_view text, TColor& color) {
    for (const auto& c : kColors) {
        if (SameText(text, c.name)) {
            color = TColor(c.value);
            return true;
        }
    }
    return TryStrToInt(text, color);
}

TColor TextToColor(std::string_view text) {
    TColor color;
    if (!TryTextToColor(text, color))
        throw EngineError("'" + std::string(text) + "' is not a valid integer value");
    return color;
}

} // namespace somnex
