#pragma once
// JPEG through libjpeg-turbo's IJG interface.
#include "platform/raster/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

// Baseline JPEG of the bitmap with `quality` handed to libjpeg as it is (values below 1 reach
// libjpeg's own lowest quality). An empty bitmap encodes to no bytes.
std::vector<uint8_t> EncodeJpeg(const plat::Bitmap& bmp, int quality);

// Decodes with libjpeg's DCT scaling when the picture is at least twice `minWidth` x `minHeight`:
// the result is the smallest scale (1/2 .. 1/8) that still covers that size. 0, 0 decodes at
// full size.
plat::Bitmap DecodeJpegScaled(const uint8_t* data, size_t size, const std::string& what, int minWidth,
                              int minHeight);

} // namespace somnex
