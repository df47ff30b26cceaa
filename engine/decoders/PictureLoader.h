#pragma once
// The picture loader: a file's extension decides its format (bmp, dib, rle, ico, wmf, emf, jpg,
// jpeg, jpe, jfif, tif, tiff, fax, eps, tga, vst, icb, vda, win, pcx, pcd, psd, psp, png, gif,
// sgi, rgb, rgba, bw, rla, rpf, ppm, pgm, pbm, cut, pic, cel). Pictures come out as 24 bpp
// bitmaps; a file that cannot be read raises EngineError naming the file.
#include "platform/raster/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

// The lower-case extensions the loader knows, without dots.
const std::vector<std::string>& PictureExtensions();
bool IsPictureExtension(const std::string& path);

plat::Bitmap LoadPicture(const std::string& path);

// Decodes a picture held in memory as the format of extension `ext` ("jpg", ".tga", ...).
// `what` names the picture in error messages.
plat::Bitmap DecodePicture(const std::string& ext, const uint8_t* data, size_t size, const std::string& what);

// For callers that treat "did not load" as an outcome: false (and `out` emptied) when the file
// cannot be read. The picture's natural size is then out.Width() x out.Height().
bool TryLoadPicture(const std::string& path, plat::Bitmap& out);

} // namespace somnex
