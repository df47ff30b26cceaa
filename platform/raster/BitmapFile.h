#pragma once
// Windows bitmap files (.bmp). Saving writes an uncompressed bottom-up file of the bitmap's own
// depth (24 or 32 bits per pixel); loading reads every depth and compression of the format.
#include "platform/raster/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// Throw EngineError naming the file when it cannot be written or read.
void SaveBitmapFile(const Bitmap& bmp, const std::string& path);
Bitmap LoadBitmapFile(const std::string& path);

std::vector<uint8_t> EncodeBitmapFile(const Bitmap& bmp);
// Decodes a bitmap file held in memory into a 24 bpp bitmap; throws EngineError with `what`
// (a file name) in the message.
Bitmap DecodeBitmapFile(const uint8_t* data, size_t size, const std::string& what);

} // namespace plat
