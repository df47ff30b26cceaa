#pragma once
// What several benchmarks share: a photo-like test picture, file reading, and the codec floor
// (libjpeg-turbo alone turning a photo into a slide), so every comparison uses the same floor.
#include "platform/raster/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Smooth colour fields with grain and edges, so the codec has real detail to work on.
plat::Bitmap PhotoLike(int w, int h);

std::vector<uint8_t> ReadFile(const std::string& path);

// Decodes the JPEG at the smallest power-of-two scale that still covers the slide (the loader's
// choice), then encodes slideW x slideH of those pixels at quality. Returns the encoded size.
size_t CodecFloorSlide(const std::vector<uint8_t>& jpeg, int slideW, int slideH, int quality);

} // namespace bench
