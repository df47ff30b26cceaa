#include "engine/decoders/DecodeLimits.h"
#include "engine/decoders/Decoders.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace somnex {

namespace {

constexpr int64_t MaxPngPixels = MaxPicturePixels;

struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
    auto* s = static_cast<Source*>(png_get_io_ptr(png));
    if (n > s->size - s->pos) png_error(png, "truncated file");
    std::memcpy(out, s->data + s->pos, n);
    s->pos += n;
}

void OnError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    *error = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Kept free of C++ objects with destructors: the error path longjmps out of it. Samples are
// taken as stored (16-bit ones by their high byte); transparency is composed over white.
bool Decode(Source& src, plat::Bitmap& out, std::vector<png_bytep>& rows, std::string& error,
            const std::string& what) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    if (!png) return error = "out of memory", false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (error.empty()) error = "out of memory";
        return false;
    }
    png_set_read_fn(png, &src, ReadFromMemory);
    png_set_user_limits(png, plat::Bitmap::MaxSide, plat::Bitmap::MaxSide);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (int64_t(w) * int64_t(h) > MaxPngPixels) png_error(png, "invalid picture size");
    const int colorType = png_get_color_type(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS) || (colorType & PNG_COLOR_MASK_ALPHA)) {
        png_color_16 white{};
        white.red = white.green = white.blue = white.gray = 255;
        png_set_background(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    }
    if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 3) png_error(png, "unexpected pixel layout");
    out = AllocatePicture(w, h, what, MaxPngPixels);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = out.ScanLine(int(y));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

plat::Bitmap DecodePng(const uint8_t* data, size_t size, const std::string& what) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) FailDecode(what, "not a PNG file");
    Source src{data, size, 0};
    plat::Bitmap out;
    std::vector<png_bytep> rows;
    std::string error;
    if (!Decode(src, out, rows, error, what)) FailDecode(what, error);
    return out;
}

} // namespace somnex
