#pragma once
// Size limits every decoder checks against the header before it allocates pixels, and the one
// allocation helper that enforces them.
#include "platform/raster/Bitmap.h"

#include <cstdint>
#include <string>

namespace somnex {

// No picture of the engine's formats may exceed this many pixels (a 24 bpp bitmap of it takes
// 384 MiB), nor a side longer than plat::Bitmap::MaxSide.
constexpr int64_t MaxPicturePixels = int64_t(128) * 1024 * 1024;

// Throws EngineError "<what>: invalid picture size" unless the size is within the limits.
void CheckPictureSize(int64_t width, int64_t height, const std::string& what,
                      int64_t maxPixels = MaxPicturePixels);

// A 24 bpp bitmap of the given size, after checking it against `maxPixels`; throws EngineError
// "<what>: invalid picture size" otherwise.
plat::Bitmap AllocatePicture(int64_t width, int64_t height, const std::string& what,
                             int64_t maxPixels = MaxPicturePixels);

// The message every decoder raises for a file it cannot read.
[[noreturn]] void FailDecode(const std::string& what, const std::string& reason);

} // namespace somnex
