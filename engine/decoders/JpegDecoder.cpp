#include "engine/decoders/DecodeLimits.h"
#include "engine/decoders/Decoders.h"
#include "engine/decoders/JpegCodec.h"
#include "engine/decoders/JpegError.h"

#include <vector>

namespace somnex {

namespace {

// JPEG's own limit is 65500 per side; pixels are capped by the shared limit.
constexpr int64_t MaxJpegPixels = MaxPicturePixels;

// Adobe CMYK JPEGs store inverted inks.
void CmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const int k = cmyk[3];
        bgr[0] = uint8_t(cmyk[2] * k / 255);
        bgr[1] = uint8_t(cmyk[1] * k / 255);
        bgr[2] = uint8_t(cmyk[0] * k / 255);
    }
}

// Kept free of C++ objects with destructors: the error path longjmps out of it.
bool Decode(const uint8_t* data, size_t size, int minW, int minH, plat::Bitmap& out,
            std::vector<uint8_t>& cmykRow, std::string& error, const std::string& what) {
    jpeg_decompress_struct cinfo;
    JpegErrorJump jerr;
    cinfo.err = InstallJpegErrors(jerr);
    if (setjmp(jerr.jump)) {
        error = jerr.message;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    if (minW > 0 && minH > 0) {
        unsigned denom = 1;
        while (denom < 8 && cinfo.image_width / (denom * 2) >= unsigned(minW) &&
               cinfo.image_height / (denom * 2) >= unsigned(minH))
            denom *= 2;
        cinfo.scale_num = 1;
        cinfo.scale_denom = denom;
    }
    jpeg_calc_output_dimensions(&cinfo);
    if (int64_t(cinfo.output_width) * cinfo.output_height > MaxJpegPixels || cinfo.output_width > 65535 ||
        cinfo.output_height > 65535) {
        error = "invalid picture size";
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    out = AllocatePicture(cinfo.output_width, cinfo.output_height, what, MaxJpegPixels);
    if (cmyk) cmykRow.resize(size_t(cinfo.output_width) * 4);
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : out.ScanLine(y);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
            error = "truncated data";
            jpeg_destroy_decompress(&cinfo);
            return false;
        }
        if (cmyk) CmykRowToBgr(cmykRow.data(), out.ScanLine(y), out.Width());
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

plat::Bitmap DecodeJpegScaled(const uint8_t* data, size_t size, const std::string& what, int minWidth,
                              int minHeight) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) FailDecode(what, "not a JPEG file");
    plat::Bitmap out;
    std::vector<uint8_t> cmykRow;
    std::string error;
    if (!Decode(data, size, minWidth, minHeight, out, cmykRow, error, what)) FailDecode(what, error);
    return out;
}

plat::Bitmap DecodeJpeg(const uint8_t* data, size_t size, const std::string& what) {
    return DecodeJpegScaled(data, size, what, 0, 0);
}

} // namespace somnex
