#pragma once
// Row views of the raster stand-in's bitmaps, for the effects' row loops.
#include "engine/transitions/Geometry.h"
#include "engine/transitions/PixelView.h"
#include "platform/raster/Bitmap.h"

namespace somnex {

inline PixelView ViewOf(plat::Bitmap& b) {
    return {b.Empty() ? nullptr : b.Bits(), b.Width(), b.Height(), b.Stride(), b.BytesPerPixel()};
}

// Effects never write to Image; the view type is shared with Display for simplicity.
inline PixelView ViewOf(const plat::Bitmap& b) {
    return ViewOf(const_cast<plat::Bitmap&>(b));
}

inline TRect ToTRect(const plat::Rect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}
inline plat::Rect ToRect(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

} // namespace somnex
