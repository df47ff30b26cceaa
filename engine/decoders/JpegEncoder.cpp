#include "engine/decoders/JpegCodec.h"
#include "engine/decoders/JpegError.h"

#include "somnex/EngineError.h"

#include <cstdlib>

namespace somnex {

namespace {

bool Encode(const plat::Bitmap& bmp, int quality, unsigned char*& buffer, unsigned long& length,
            std::string& error) {
    jpeg_compress_struct cinfo;
    JpegErrorJump jerr;
    cinfo.err = InstallJpegErrors(jerr);
    if (setjmp(jerr.jump)) {
        error = jerr.message;
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &length);
    cinfo.image_width = JDIMENSION(bmp.Width());
    cinfo.image_height = JDIMENSION(bmp.Height());
    const bool wide = bmp.Format() == plat::PixelFormat::Pf32;
    cinfo.input_components = wide ? 4 : 3;
    cinfo.in_color_space = wide ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bmp.ScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::vector<uint8_t> EncodeJpeg(const plat::Bitmap& bmp, int quality) {
    if (bmp.Empty()) return {};
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    std::string error;
    const bool ok = Encode(bmp, quality, buffer, length, error);
    std::vector<uint8_t> out;
    if (ok) out.assign(buffer, buffer + length);
    std::free(buffer);
    if (!ok) throw EngineError("Cannot encode JPEG: " + error);
    return out;
}

} // namespace somnex
