// Autodesk Animator pictures and cels (.pic, .cel): a 32-byte header, a 256-colour palette of
// 6-bit VGA levels, then one byte per pixel, top row first.
#include "engine/decoders/ByteReader.h"
#include "engine/decoders/Decoders.h"

namespace somnex {

namespace {

constexpr uint16_t AnimatorMagic = 0x9119;
// The format's pictures were screen-sized; its 16-bit sides stay under the shared limit.
constexpr int64_t MaxAnimatorPixels = int64_t(65535) * 65535;

uint8_t Vga(uint8_t level) {
    return uint8_t((level & 0x3F) << 2 | (level & 0x3F) >> 4);
}

} // namespace

plat::Bitmap DecodeAnimatorPic(const uint8_t* data, size_t size, const std::string& what) {
    ByteReader in(data, size, what);
    // Header
    if (in.U16LE() != AnimatorMagic) FailDecode(what, "not an Animator picture");
    const int width = in.U16LE();
    const int height = in.U16LE();
    in.Skip(4); // x and y offset
    const uint8_t depth = in.U8();
    const uint8_t compression = in.U8();
    const uint32_t dataSize = in.U32LE();
    in.Skip(16);
    if (depth != 8) FailDecode(what, "unsupported depth " + std::to_string(depth));
    if (compression != 0) FailDecode(what, "unsupported compression");
    if (dataSize != 0 && dataSize < uint32_t(width) * uint32_t(height))
        FailDecode(what, "bad pixel data size");
    CheckPictureSize(width, height, what, MaxAnimatorPixels);
    // Palette
    const uint8_t* pal = in.Take(768);
    if (in.Left() < size_t(width) * size_t(height)) FailDecode(what, "truncated file");
    plat::Bitmap bmp = AllocatePicture(width, height, what, MaxAnimatorPixels);
    // Pixels
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = in.Take(size_t(width));
        uint8_t* row = bmp.ScanLine(y);
        for (int x = 0; x < width; ++x, row += 3) {
            const uint8_t* c = pal + 3 * src[x];
            row[0] = Vga(c[2]);
            row[1] = Vga(c[1]);
            row[2] = Vga(c[0]);
        }
    }
    return bmp;
}

} // namespace somnex
