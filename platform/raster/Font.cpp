#include "platform/raster/Font.h"

#include "platform/raster/FontQt.h"
#include "platform/raster/GuiApp.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>

namespace plat {

namespace {

std::string MatchFamily(const std::string& name) {
    FcPattern* pat = FcPatternCreate();
    if (!pat) return name;
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    std::string family = name;
    FcChar8* found = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &found) == FcResultMatch && found)
        family = reinterpret_cast<const char*>(found);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pat);
    return family;
}

} // namespace

std::string ResolveFontFamily(const std::string& name) {
    static std::mutex lock;
    static std::map<std::string, std::string> cache;
    std::lock_guard<std::mutex> guard(lock);
    auto it = cache.find(name);
    if (it != cache.end()) return it->second;
    return cache[name] = MatchFamily(name);
}

QFont QtFontOf(const FontSpec& font) {
    EnsureGuiApplication();
    QFont f(QString::fromStdString(ResolveFontFamily(font.Name)));
    // Points at the platform's 96 dots per inch, rounded as the platform does.
    const int points = font.Size > 0 ? font.Size : 1;
    f.setPixelSize((points * 96 + 36) / 72);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.StrikeOut);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

} // namespace plat
