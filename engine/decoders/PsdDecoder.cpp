// Photoshop documents (.psd): the merged composite image only; layers are not composed again.
#include "engine/decoders/ByteReader.h"
#include "engine/decoders/Decoders.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace somnex {

namespace {

constexpr int64_t MaxPsdPixels = MaxPicturePixels;
constexpr int MaxPsdChannels = 56;

enum ColorMode { Bitmap = 0, Grayscale = 1, Indexed = 2, Rgb = 3, Cmyk = 4, Multichannel = 7, Duotone = 8 };

// PackBits, as the image data section's RLE rows use it.
void UnpackBits(ByteReader& row, uint8_t* out, size_t outSize) {
    size_t n = 0;
    while (n < outSize && row.Left() > 0) {
        const int8_t code = int8_t(row.U8());
        if (code >= 0) {
            const size_t count = std::min(size_t(code) + 1, outSize - n);
            std::memcpy(out + n, row.Take(size_t(code) + 1), count);
            n += count;
        } else if (code != -128) {
            const uint8_t value = row.U8();
            const size_t count = std::min(size_t(1 - code), outSize - n);
            std::memset(out + n, value, count);
            n += count;
        }
    }
    if (n < outSize) FailDecode(row.What(), "truncated RLE row");
}

// One 8-bit plane per channel used, in file order.
std::vector<std::vector<uint8_t>> ReadPlanes(ByteReader& in, int channels, int used, int width, int height,
                                             int depth) {
    const size_t rowBytes = depth == 1 ? (size_t(width) + 7) / 8 : size_t(width) * size_t(depth / 8);
    const uint16_t compression = in.U16BE();
    std::vector<uint32_t> counts;
    if (compression == 1) {
        counts.resize(size_t(channels) * size_t(height));
        for (uint32_t& c : counts) c = in.U16BE();
    } else if (compression != 0) {
        FailDecode(in.What(), "unsupported compression " + std::to_string(compression));
    }
    // The smallest data the rows can take, checked before the planes are allocated.
    const size_t minRow = compression == 1 ? 2 * ((rowBytes + 127) / 128) : rowBytes;
    if (minRow * size_t(height) * size_t(used) > in.Left()) FailDecode(in.What(), "truncated file");
    std::vector<std::vector<uint8_t>> planes(static_cast<size_t>(used));
    std::vector<uint8_t> row(rowBytes);
    for (int c = 0; c < used; ++c) {
        std::vector<uint8_t>& plane = planes[size_t(c)];
        plane.resize(size_t(width) * size_t(height));
        for (int y = 0; y < height; ++y) {
            if (compression == 1) {
                const uint32_t n = counts[size_t(c) * size_t(height) + size_t(y)];
                ByteReader packed(in.Take(n), n, in.What());
                UnpackBits(packed, row.data(), rowBytes);
            } else {
                std::memcpy(row.data(), in.Take(rowBytes), rowBytes);
            }
            uint8_t* dst = plane.data() + size_t(y) * size_t(width);
            for (int x = 0; x < width; ++x) {
                if (depth == 1)
                    dst[x] = (row[size_t(x) / 8] >> (7 - x % 8)) & 1 ? 0 : 255; // 1 is black
                else if (depth == 16)
                    dst[x] = row[size_t(x) * 2]; // high byte, big-endian
                else
                    dst[x] = row[size_t(x)];
            }
        }
    }
    return planes;
}

} // namespace

plat::Bitmap DecodePsd(const uint8_t* data, size_t size, const std::string& what) {
    ByteReader in(data, size, what);
    // File header section
    if (std::memcmp(in.Take(4), "8BPS", 4) != 0) FailDecode(what, "not a Photoshop file");
    if (in.U16BE() != 1) FailDecode(what, "unsupported version");
    in.Skip(6);
    const int channels = in.U16BE();
    const uint32_t height = in.U32BE();
    const uint32_t width = in.U32BE();
    const int depth = in.U16BE();
    const int mode = in.U16BE();
    if (channels < 1 || channels > MaxPsdChannels) FailDecode(what, "bad channel count");
    if (depth != 1 && depth != 8 && depth != 16)
        FailDecode(what, "unsupported depth " + std::to_string(depth));
    int used = 1;
    if (mode == Rgb)
        used = 3;
    else if (mode == Cmyk)
        used = 4;
    else if (mode != Bitmap && mode != Grayscale && mode != Indexed && mode != Multichannel &&
             mode != Duotone)
        FailDecode(what, "unsupported colour mode " + std::to_string(mode));
    if (channels < used) FailDecode(what, "too few channels for the colour mode");
    if ((mode == Bitmap) != (depth == 1)) FailDecode(what, "bad depth for the colour mode");
    CheckPictureSize(width, height, what, MaxPsdPixels);

    // Colour mode data section
    const uint32_t colorLen = in.U32BE();
    const uint8_t* palette = in.Take(colorLen);
    if (mode == Indexed && colorLen < 768) FailDecode(what, "missing palette");
    // Image resources, then layer and mask information: skipped.
    in.Skip(in.U32BE());
    in.Skip(in.U32BE());

    // Image data section
    const auto planes = ReadPlanes(in, channels, used, int(width), int(height), depth);
    plat::Bitmap bmp = AllocatePicture(width, height, what, MaxPsdPixels);
    for (int y = 0; y < int(height); ++y) {
        uint8_t* row = bmp.ScanLine(y);
        const size_t base = size_t(y) * width;
        for (size_t x = 0; x < width; ++x, row += 3) {
            const size_t i = base + x;
            uint8_t r, g, b;
            if (mode == Rgb) {
                r = planes[0][i], g = planes[1][i], b = planes[2][i];
            } else if (mode == Cmyk) {
                // Inks are stored inverted: 255 is no ink.
                const int k = planes[3][i];
                r = uint8_t(planes[0][i] * k / 255), g = uint8_t(planes[1][i] * k / 255),
                b = uint8_t(planes[2][i] * k / 255);
            } else if (mode == Indexed) {
                const uint8_t p = planes[0][i];
                r = palette[p], g = palette[256 + p], b = palette[512 + p];
            } else {
                r = g = b = planes[0][i];
            }
            row[0] = b;
            row[1] = g;
            row[2] = r;
        }
    }
    return bmp;
}

} // namespace somnex
