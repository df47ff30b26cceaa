#pragma once
// Two-colour gradient backgrounds in thirteen patterns (see GradientPattern.h).
#include "platform/raster/Canvas.h"

#include <cstdint>

namespace somnex {

// Paints the pattern for `rect`'s size into a temporary bitmap and copies it onto the canvas with
// its top-left corner at (0, 0), whatever the rectangle's origin: a rectangle reaching beyond the
// canvas only makes the pattern larger, it does not shift it.
void DrawGradient(plat::Canvas& canvas, uint8_t direction, plat::Color color1, plat::Color color2,
                  const plat::Rect& rect);

// The thirteen directions side by side in a grid, each labelled with its number, for people to
// compare; used by the reference host and the visual tests.
plat::Bitmap RenderGradientSheet(int32_t width, int32_t height, plat::Color color1, plat::Color color2);

} // namespace somnex
