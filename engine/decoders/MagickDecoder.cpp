#include "engine/decoders/DecodeLimits.h"
#include "engine/decoders/Decoders.h"

#include <Magick++.h>
#include <magick/resource.h>

#include <cstring>
#include <mutex>

namespace somnex {

namespace {

// Limits GraphicsMagick checks itself, before it allocates the pixel cache.
constexpr int64_t MaxMagickSide = plat::Bitmap::MaxSide;
constexpr int64_t MaxMagickPixels = MaxPicturePixels;

void InitMagick() {
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, MaxMagickSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, MaxMagickSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, MaxMagickPixels);
        MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
        MagickLib::SetMagickResourceLimit(MagickLib::ThreadsResource, 1);
    });
}

} // namespace

plat::Bitmap DecodeWithMagick(const char* magick, const uint8_t* data, size_t size, const std::string& what) {
    if (size == 0) FailDecode(what, "empty file");
    InitMagick();
    try {
        Magick::Image image;
        // Warnings (a short or damaged file the coder worked around) count as errors.
        image.quiet(false);
        // Only the first frame of a multi-picture file.
        image.subImage(0);
        image.subRange(1);
        image.magick(magick);
        Magick::Blob blob(data, size);
        image.read(blob);
        const int64_t w = image.columns(), h = image.rows();
        plat::Bitmap bmp = AllocatePicture(w, h, what, MaxMagickPixels);
        std::vector<uint8_t> row(size_t(w) * 3);
        for (int y = 0; y < int(h); ++y) {
            image.write(0, y, unsigned(w), 1, "BGR", Magick::CharPixel, row.data());
            std::memcpy(bmp.ScanLine(y), row.data(), row.size());
        }
        return bmp;
    } catch (const Magick::Warning& w) {
        FailDecode(what, w.what());
    } catch (const Magick::Exception& e) {
        FailDecode(what, e.what());
    }
}

} // namespace somnex
