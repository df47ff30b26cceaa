#pragma once
// How slide preparation reads picture files: one function from a path to a 24-bit bitmap, which
// raises EngineError for a file it cannot read.
#include "platform/raster/Bitmap.h"

#include <cstdint>
#include <functional>
#include <string>

namespace somnex {

// The size the caller will draw the picture at. A decoder that can decode at a reduced scale
// (JPEG) may return a smaller picture as long as it still reaches that size: in both directions
// when it will be stretched, in at least one when it will be fitted inside keeping its
// proportions. 0 × 0 asks for the full picture.
struct PictureSizeHint {
    int32_t Width = 0;
    int32_t Height = 0;
    bool FitInside = false;
};

using PictureLoader = std::function<plat::Bitmap(const std::string& path, const PictureSizeHint& hint)>;

// The engine's picture loader, every format of the decoders.
plat::Bitmap LoadPictureFile(const std::string& path, const PictureSizeHint& hint = {});

} // namespace somnex
