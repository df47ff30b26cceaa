#include "shared/ini/FontText.h"

#include "shared/ini/IniText.h"

#include <algorithm>
#include <cstddef>

namespace somnex {
namespace {

// The classic one-based text routines the reading is defined by.
size_t Pos(char c, const std::string& s) {
    size_t p = s.find(c);
    return p == std::string::npos ? 0 : p + 1;
}

std::string Copy(const std::string& s, std::ptrdiff_t index, std::ptrdiff_t count) {
    if (index < 1) index = 1;
    if (count <= 0 || index > std::ptrdiff_t(s.size())) return {};
    return s.substr(size_t(index - 1), size_t(count));
}

void DeleteTo(std::string& s, size_t p) {
    s.erase(0, std::min(p, s.size()));
}

} // namespace

std::string FontToText(const TFontInfo& font, bool withColor) {
    std::string styles;
    auto add = [&](bool on, const char* name) {
        if (!on) return;
        if (!styles.empty()) styles += '|';
        styles += name;
    };
    add(font.Bold, "Bold");
    add(font.Italic, "Italic");
    add(font.Underline, "Underline");
    add(font.StrikeOut, "Strikeout");
    std::string text = "\"" + font.Name + "\", " + std::to_string(font.Size) + ", [" + styles + "]";
    if (withColor) text += ", [" + ColorToText(font.Color) + "]";
    return text;
}

void TextToFont(std::string_view source, TFontInfo& font, bool withColor) {
    std::string s(source);
    std::ptrdiff_t p = std::ptrdiff_t(Pos(',', s));
    font.Name = Copy(s, 2, p - 3);
    DeleteTo(s, size_t(p));

    p = std::ptrdiff_t(Pos(',', s));
    int32_t size;
    if (!TryStrToInt(Copy(s, 2, p - 2), size)) return;
    font.Size = size;
    DeleteTo(s, size_t(p));

    p = std::ptrdiff_t(Pos(',', s));
    std::string styles = "|" + Copy(s, 3, p - 4);
    DeleteTo(s, size_t(p));

    if (withColor) {
        TColor color;
        if (!TryTextToColor(Copy(s, 3, std::ptrdiff_t(s.size()) - 3), color)) return;
        font.Color = color;
    }
    auto has = [&](const char* name) { return styles.find(name) != std::string::npos; };
    font.Bold = has("|Bold");
    font.Italic = has("|Italic");
    font.Underline = has("|Underline");
    font.StrikeOut = has("|Strikeout");
}

} // namespace somnex
