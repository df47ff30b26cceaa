#pragma once
// Paint Shop Pro images (.psp), file versions 3 (Paint Shop Pro 5) and later.
//
// Read: the general image attributes, the colour palette and the layer bank. Visible raster
// layers are composed in file order (bottom first) over white with the normal blend, each
// weighted by its opacity and its transparency mask. Channels may be stored plain, run-length
// coded or zlib-compressed ("LZ77"); pictures of 1, 4 and 8 bits (palette or grey) and 24 bits.
//
// Refused with EngineError: other depths, JPEG-compressed channels, visible vector, adjustment
// and art-media layers, blend modes other than normal, files without a layer bank.
#include "engine/decoders/DecodeLimits.h"

#include <cstddef>
#include <cstdint>

namespace somnex {

// A layer's stored bitmap obeys the same size limits as the picture.
constexpr int64_t MaxPspPixels = MaxPicturePixels;
// Each block header costs 10 bytes, so a file could otherwise hold millions of empty layers.
constexpr int MaxPspLayers = 4096;

} // namespace somnex
