#pragma once
// Windows enhanced metafiles (.emf), played onto a white 24 bpp bitmap of the header's bounds.
//
// Played: mapping modes (text, the metric and English ones, twips, isotropic, anisotropic),
// window and viewport origins and extents, world transforms, saved states, pens, brushes and
// stock objects, background and fill modes, lines, rectangles, rounded rectangles, ellipses,
// polygons, polylines and Bézier curves (32- and 16-bit points, flattened), paths of those
// (filled, stroked or both), rectangular clipping, pixels, and device-independent bitmaps of
// 1 to 32 bits blitted or stretched with the common raster operations.
//
// Left out (records skipped): text, arcs, pattern and hatch fills (drawn solid), dashes (drawn
// solid), palettes, and every record this list does not name.
#include "engine/decoders/DecodeLimits.h"

#include <cstdint>

namespace somnex {

// A metafile states its own size, so a few bytes could ask for the largest bitmap; clip art
// stays far below this.
constexpr int64_t MaxEmfPixels = int64_t(32) * 1024 * 1024;
// Records, points and painted pixels all draw on this budget, so a hostile file cannot keep
// the player busy: the largest picture can be painted over many times before it runs out.
constexpr int64_t EmfWorkBudget = int64_t(1) << 31;
// Saved drawing states kept at once; deeper saves are ignored, as the platform limits them too.
constexpr int MaxEmfSavedStates = 1024;

} // namespace somnex
