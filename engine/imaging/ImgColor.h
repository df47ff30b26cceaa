#pragma once
// Turns the colour values of project files into plain RGB: system colours (high bit set) take
// this platform's fixed palette, everything else keeps its low three bytes.
#include "platform/raster/Color.h"

#include <cstdint>

namespace somnex {

plat::Color ColorToRGB(int32_t color);

} // namespace somnex
