#pragma once
// Internal: one decoder per format family, each in its own file.
#include "platform/raster/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace somnex {

plat::Bitmap DecodeJpeg(const uint8_t* data, size_t size, const std::string& what);
plat::Bitmap DecodePng(const uint8_t* data, size_t size, const std::string& what);
// `magick` names the GraphicsMagick coder ("TGA", "SGI", ...); it is never guessed.
plat::Bitmap DecodeWithMagick(const char* magick, const uint8_t* data, size_t size, const std::string& what);
plat::Bitmap DecodePsd(const uint8_t* data, size_t size, const std::string& what);
plat::Bitmap DecodePsp(const uint8_t* data, size_t size, const std::string& what);
plat::Bitmap DecodeAnimatorPic(const uint8_t* data, size_t size, const std::string& what);
plat::Bitmap DecodeEmf(const uint8_t* data, size_t size, const std::string& what);

} // namespace somnex
