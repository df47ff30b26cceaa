#include "engine/imaging/PictureLoader.h"

#include "platform/raster/BitmapFile.h"

namespace somnex {

plat::Bitmap LoadPictureFile(const std::string& path, const PictureSizeHint&) {
    plat::Bitmap picture = plat::LoadBitmapFile(path);
    picture.SetPixelFormat(plat::PixelFormat::Pf24);
    return picture;
}

} // namespace somnex
