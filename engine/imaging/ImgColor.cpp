#include "engine/imaging/ImgColor.h"

namespace somnex {

namespace {

// The classic desktop scheme, by system-colour index.
constexpr plat::Color SystemPalette[] = {
    plat::MakeColor(212, 208, 200), // scroll bar
    plat::MakeColor(58, 110, 165),  // desktop background
    plat::MakeColor(10, 36, 106),   // active caption
    plat::MakeColor(128, 128, 128), // inactive caption
    plat::MakeColor(212, 208, 200), // menu
    plat::MakeColor(255, 255, 255), // window
    plat::MakeColor(0, 0, 0),       // window frame
    plat::MakeColor(0, 0, 0),       // menu text
    plat::MakeColor(0, 0, 0),       // window text
    plat::MakeColor(255, 255, 255), // caption text
    plat::MakeColor(212, 208, 200), // active border
    plat::MakeColor(212, 208, 200), // inactive border
    plat::MakeColor(128, 128, 128), // application workspace
    plat::MakeColor(10, 36, 106),   // highlight
    plat::MakeColor(255, 255, 255), // highlight text
    plat::MakeColor(212, 208, 200), // button face
    plat::MakeColor(128, 128, 128), // button shadow
    plat::MakeColor(128, 128, 128), // grey text
    plat::MakeColor(0, 0, 0),       // button text
    plat::MakeColor(212, 208, 200), // inactive caption text
    plat::MakeColor(255, 255, 255), // button highlight
    plat::MakeColor(64, 64, 64),    // 3D dark shadow
    plat::MakeColor(212, 208, 200), // 3D light
    plat::MakeColor(0, 0, 0),       // tooltip text
    plat::MakeColor(255, 255, 225), // tooltip background
    plat::MakeColor(181, 181, 181), // (unused index 25)
    plat::MakeColor(0, 0, 128),     // hot-tracked item
    plat::MakeColor(166, 202, 240), // active caption gradient
    plat::MakeColor(192, 192, 192), // inactive caption gradient
    plat::MakeColor(49, 106, 197),  // menu highlight
    plat::MakeColor(212, 208, 200), // menu bar
};

} // namespace

plat::Color ColorToRGB(int32_t color) {
    if (color < 0) {
        const uint32_t index = uint32_t(color) & 0xFF;
        return index < sizeof(SystemPalette) / sizeof(SystemPalette[0]) ? SystemPalette[index] : 0;
    }
    return plat::Color(color) & 0xFFFFFF;
}

} // namespace somnex
