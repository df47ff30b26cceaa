#include "platform/raster/BitmapFile.h"

#include "somnex/EngineError.h"

#include <QByteArray>
#include <QImage>

#include <cstring>
#include <fstream>
#include <iterator>

namespace plat {

namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + size_t(i)] = uint8_t(x >> (8 * i));
}
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;

} // namespace

std::vector<uint8_t> EncodeBitmapFile(const Bitmap& bmp) {
    const size_t offset = FileHeaderSize + InfoHeaderSize;
    const size_t pixels = size_t(bmp.Stride()) * size_t(bmp.Height());
    std::vector<uint8_t> out(offset + pixels, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, uint32_t(out.size()));
    Put32(out, 10, uint32_t(offset));
    Put32(out, 14, uint32_t(InfoHeaderSize));
    Put32(out, 18, uint32_t(bmp.Width()));
    Put32(out, 22, uint32_t(bmp.Height()));
    Put16(out, 26, 1);
    Put16(out, 28, uint32_t(bmp.BytesPerPixel() * 8));
    Put32(out, 34, uint32_t(pixels));
    Put32(out, 38, 3780); // 96 dots per inch
    Put32(out, 42, 3780);
    // The file stores rows bottom-up.
    for (int y = 0; y < bmp.Height(); ++y)
        std::memcpy(out.data() + offset + size_t(bmp.Height() - 1 - y) * size_t(bmp.Stride()),
                    bmp.ScanLine(y), size_t(bmp.Stride()));
    return out;
}

void SaveBitmapFile(const Bitmap& bmp, const std::string& path) {
    const std::vector<uint8_t> bytes = EncodeBitmapFile(bmp);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (f) f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!f || !f.flush()) throw somnex::EngineError("Cannot write bitmap file " + path);
}

Bitmap DecodeBitmapFile(const uint8_t* data, size_t size, const std::string& what) {
    // Header sanity before the reader allocates anything.
    if (size < FileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M')
        throw somnex::EngineError("Invalid bitmap file " + what);
    const uint32_t headerSize = Get32(data + FileHeaderSize);
    if (headerSize >= InfoHeaderSize && size >= FileHeaderSize + InfoHeaderSize) {
        const int32_t w = int32_t(Get32(data + 18));
        const int32_t h = int32_t(Get32(data + 22));
        const int64_t ah = h < 0 ? -int64_t(h) : int64_t(h);
        if (w <= 0 || ah == 0 || w > Bitmap::MaxSide || ah > Bitmap::MaxSide ||
            int64_t(w) * ah > int64_t(Bitmap::MaxBytes / 4))
            throw somnex::EngineError("Invalid bitmap file " + what + ": bad size");
        // Uncompressed pixels must all be there; the reader would pad a short file silently.
        const uint32_t bits = uint32_t(data[28]) | uint32_t(data[29]) << 8;
        const uint32_t compression = Get32(data + 30);
        if (compression == 0 || compression == 3) {
            const uint64_t rowBytes = ((uint64_t(w) * bits + 31) / 32) * 4;
            if (uint64_t(Get32(data + 10)) + rowBytes * uint64_t(ah) > size)
                throw somnex::EngineError("Invalid bitmap file " + what + ": truncated");
        }
    }
    QImage img;
    if (!img.loadFromData(data, int(std::min<size_t>(size, size_t(INT32_MAX))), "BMP") || img.isNull())
        throw somnex::EngineError("Invalid bitmap file " + what);
    img = img.convertToFormat(QImage::Format_BGR888);
    Bitmap bmp(img.width(), img.height());
    for (int y = 0; y < bmp.Height(); ++y)
        std::memcpy(bmp.ScanLine(y), img.constScanLine(y), size_t(bmp.Width()) * 3);
    return bmp;
}

Bitmap LoadBitmapFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw somnex::EngineError("Cannot open bitmap file " + path);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    return DecodeBitmapFile(bytes.data(), bytes.size(), path);
}

} // namespace plat
