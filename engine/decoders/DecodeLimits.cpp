#include "engine/decoders/DecodeLimits.h"

#include "somnex/EngineError.h"

namespace somnex {

void CheckPictureSize(int64_t width, int64_t height, const std::string& what, int64_t maxPixels) {
    if (width <= 0 || height <= 0 || width > plat::Bitmap::MaxSide || height > plat::Bitmap::MaxSide ||
        width * height > maxPixels)
        FailDecode(what, "invalid picture size " + std::to_string(width) + " x " + std::to_string(height));
}

plat::Bitmap AllocatePicture(int64_t width, int64_t height, const std::string& what, int64_t maxPixels) {
    CheckPictureSize(width, height, what, maxPixels);
    return plat::Bitmap(int(width), int(height), plat::PixelFormat::Pf24);
}

void FailDecode(const std::string& what, const std::string& reason) {
    throw EngineError("Cannot read picture " + what + ": " + reason);
}

} // namespace somnex
