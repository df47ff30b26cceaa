// Paint Shop Pro images (.psp): the layer bank composed over white.
#include "engine/decoders/PspDecoder.h"

#include "engine/decoders/ByteReader.h"
#include "engine/decoders/Decoders.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace somnex {

namespace {

enum BlockId : uint16_t {
    ImageBlock = 0,
    ColorBlock = 2,
    LayerStartBlock = 3,
    LayerBlock = 4,
    ChannelBlock = 5,
};
enum Compression { NoCompression = 0, Rle = 1, Lz77 = 2 };
enum BitmapType { ImageBitmap = 0, TransparencyMask = 1 };
enum ChannelType { CompositeChannel = 0, RedChannel = 1, GreenChannel = 2, BlueChannel = 3 };
enum LayerType { UndefinedLayer = 0, RasterLayer = 1, FloatingSelection = 2, GroupLayer = 5, MaskLayer = 6 };

constexpr int VisibleFlag = 1;
constexpr int NormalBlend = 0;

// Version 3 block headers carry the length of the block's fixed part; later versions give
// each fixed part its own leading length instead.
constexpr int FirstChunkedVersion = 4;

struct Block {
    uint16_t id = 0;
    uint32_t fixedLength = 0; // version 3 only
    const uint8_t* data = nullptr;
    size_t size = 0;
};

struct Attributes {
    int64_t width = 0;
    int64_t height = 0;
    int compression = 0;
    int depth = 0;
    bool grey = false;
};

struct Rect32 {
    int64_t left, top, right, bottom;
};

class PspReader {
public:
    PspReader(int major, const std::string& what) : major_(major), what_(what) {}

    bool Chunked() const { return major_ >= FirstChunkedVersion; }

    // Block header: "~BK\0", id, [fixed length,] total length.
    Block ReadBlock(ByteReader& in) const {
        if (std::memcmp(in.Take(4), "~BK\0", 4) != 0) FailDecode(what_, "bad block header");
        Block b;
        b.id = in.U16LE();
        if (!Chunked()) b.fixedLength = in.U32LE();
        const uint32_t total = in.U32LE();
        if (total > in.Left() || b.fixedLength > total) FailDecode(what_, "bad block length");
        b.size = total;
        b.data = in.Take(total);
        return b;
    }

    // The block's leading fixed fields, leaving `body` just after them.
    ByteReader FixedPart(ByteReader& body, const Block& b) const {
        if (!Chunked()) return ByteReader(body.Take(b.fixedLength), b.fixedLength, what_);
        return Chunk(body);
    }

    // A chunk counts its own 4-byte length.
    ByteReader Chunk(ByteReader& body) const {
        const uint32_t length = body.U32LE();
        if (length < 4 || length - 4 > body.Left()) FailDecode(what_, "bad chunk length");
        return ByteReader(body.Take(length - 4), length - 4, what_);
    }

    const std::string& What() const { return what_; }

private:
    int major_;
    std::string what_;
};

bool AtBlock(const ByteReader& in) {
    return in.Left() >= 10;
}

// General Image Attributes
Attributes ReadAttributes(const PspReader& psp, ByteReader body, const Block& b) {
    ByteReader f = psp.FixedPart(body, b);
    Attributes a;
    a.width = int32_t(f.U32LE());
    a.height = int32_t(f.U32LE());
    f.Skip(8 + 1); // resolution and its unit
    a.compression = f.U16LE();
    a.depth = f.U16LE();
    f.Skip(2 + 4); // plane and colour counts
    a.grey = f.U8() != 0;
    if (a.depth != 1 && a.depth != 4 && a.depth != 8 && a.depth != 24)
        FailDecode(psp.What(), "unsupported depth " + std::to_string(a.depth));
    if (a.compression != NoCompression && a.compression != Rle && a.compression != Lz77)
        FailDecode(psp.What(), "unsupported compression " + std::to_string(a.compression));
    CheckPictureSize(a.width, a.height, psp.What(), MaxPspPixels);
    return a;
}

// Colour Palette: BGRX entries.
std::vector<plat::Color> ReadPalette(const PspReader& psp, ByteReader body, const Block& b) {
    ByteReader f = psp.FixedPart(body, b);
    const uint32_t count = f.U32LE();
    if (count > 256) FailDecode(psp.What(), "bad palette size");
    std::vector<plat::Color> palette(count);
    for (plat::Color& c : palette) {
        const uint8_t* e = body.Take(4);
        c = plat::MakeColor(e[2], e[1], e[0]);
    }
    return palette;
}

// PSP run-length code: a count above 128 repeats the next byte count - 128 times, any other
// count copies that many bytes.
void Unrle(ByteReader& in, uint8_t* out, size_t outSize) {
    size_t n = 0;
    while (n < outSize && in.Left() > 0) {
        const unsigned code = in.U8();
        if (code > 128) {
            const uint8_t value = in.U8();
            const size_t count = std::min(size_t(code - 128), outSize - n);
            std::memset(out + n, value, count);
            n += count;
        } else {
            const size_t count = std::min(size_t(code), outSize - n);
            std::memcpy(out + n, in.Take(code), count);
            n += count;
        }
    }
    if (n < outSize) FailDecode(in.What(), "truncated channel");
}

void Inflate(const uint8_t* src, size_t srcSize, uint8_t* out, size_t outSize, const std::string& what) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) FailDecode(what, "cannot start decompression");
    size_t inLeft = srcSize, outLeft = outSize;
    z.next_in = const_cast<Bytef*>(src);
    z.next_out = out;
    int rc = Z_OK;
    // zlib counts in 32 bits; feed larger buffers in pieces.
    while (rc == Z_OK && outLeft > 0) {
        const uInt inStep = uInt(std::min<size_t>(inLeft, std::numeric_limits<uInt>::max()));
        const uInt outStep = uInt(std::min<size_t>(outLeft, std::numeric_limits<uInt>::max()));
        z.avail_in = inStep;
        z.avail_out = outStep;
        rc = inflate(&z, Z_NO_FLUSH);
        inLeft -= inStep - z.avail_in;
        outLeft -= outStep - z.avail_out;
        if (rc == Z_BUF_ERROR && inLeft > 0) rc = Z_OK;
    }
    inflateEnd(&z);
    if (outLeft > 0)
        FailDecode(what, rc == Z_DATA_ERROR ? "corrupt compressed channel" : "truncated channel");
}

struct Channel {
    int bitmapType = 0;
    int channelType = 0;
    size_t stride = 0;
    std::vector<uint8_t> bytes;
};

// Channel: its fixed fields, then its data as the picture's compression left it.
Channel ReadChannel(const PspReader& psp, const Block& b, const Attributes& a, int64_t width,
                    int64_t height) {
    ByteReader body(b.data, b.size, psp.What());
    ByteReader f = psp.FixedPart(body, b);
    const uint32_t packedLength = f.U32LE();
    const uint32_t length = f.U32LE();
    Channel ch;
    ch.bitmapType = f.U16LE();
    ch.channelType = f.U16LE();
    if (ch.bitmapType != ImageBitmap && ch.bitmapType != TransparencyMask) return ch;
    const uint8_t* packed = body.Take(packedLength);

    // Sub-byte rows are padded to 4 bytes; the stored length tells which layout the writer used.
    const int bits = ch.bitmapType == ImageBitmap && a.depth < 8 ? a.depth : 8;
    const size_t tight = (size_t(width) * size_t(bits) + 7) / 8;
    const size_t padded = (tight + 3) & ~size_t(3);
    ch.stride = uint64_t(length) == uint64_t(padded) * uint64_t(height) ? padded : tight;
    const size_t want = ch.stride * size_t(height);
    if (length < want) FailDecode(psp.What(), "bad channel length");
    // The most each coding can expand to, checked before the plane is allocated.
    const uint64_t most = a.compression == NoCompression ? packedLength
                          : a.compression == Rle         ? uint64_t(packedLength) * 64
                                                         : uint64_t(packedLength) * 1032 + 64;
    if (want > most) FailDecode(psp.What(), "truncated channel");
    ch.bytes.resize(want);
    if (a.compression == NoCompression) {
        std::memcpy(ch.bytes.data(), packed, want);
    } else if (a.compression == Rle) {
        ByteReader rle(packed, packedLength, psp.What());
        Unrle(rle, ch.bytes.data(), want);
    } else {
        Inflate(packed, packedLength, ch.bytes.data(), want, psp.What());
    }
    return ch;
}

uint8_t Sample(const Channel& ch, int64_t x, int64_t y, int bits) {
    const uint8_t* row = ch.bytes.data() + size_t(y) * ch.stride;
    if (bits == 8) return row[x];
    const int perByte = 8 / bits;
    const int shift = 8 - bits * (int(x % perByte) + 1);
    return uint8_t((row[x / perByte] >> shift) & ((1 << bits) - 1));
}

class Composer {
public:
    Composer(const Attributes& a, const std::vector<plat::Color>& palette, const std::string& what)
        : a_(a), palette_(palette), what_(what) {}

    // Layer: its information, its bitmap information, then its channels.
    void AddLayer(const PspReader& psp, const Block& b) {
        ByteReader body(b.data, b.size, what_);
        ByteReader info = psp.FixedPart(body, b);
        if (psp.Chunked())
            info.Skip(info.U16LE()); // name
        else
            info.Skip(256);
        const int type = info.U8();
        const Rect32 image = ReadRect(info);
        const Rect32 saved = ReadRect(info);
        const int opacity = info.U8();
        const int blend = info.U8();
        const bool visible = (info.U8() & VisibleFlag) != 0;
        if (psp.Chunked()) psp.Chunk(body); // bitmap information: the counts follow from the blocks

        if (!visible || type == GroupLayer || type == MaskLayer) return;
        if (type != RasterLayer && type != FloatingSelection && type != UndefinedLayer)
            FailDecode(what_, "unsupported layer type " + std::to_string(type));
        if (blend != NormalBlend) FailDecode(what_, "unsupported blend mode " + std::to_string(blend));
        const int64_t width = saved.right - saved.left, height = saved.bottom - saved.top;
        if (width == 0 || height == 0 || opacity == 0) return; // an empty layer
        CheckPictureSize(width, height, what_, MaxPspPixels);

        std::vector<Channel> channels;
        while (AtBlock(body)) {
            const Block c = psp.ReadBlock(body);
            if (c.id != ChannelBlock) continue;
            Channel ch = ReadChannel(psp, c, a_, width, height);
            if (!ch.bytes.empty()) channels.push_back(std::move(ch));
        }
        Draw(channels, image.left + saved.left, image.top + saved.top, width, height, opacity);
    }

    // A bank whose layers are all hidden or empty leaves a white picture.
    plat::Bitmap Take() {
        if (!started_) {
            bmp_ = AllocatePicture(a_.width, a_.height, what_, MaxPspPixels);
            bmp_.Fill(plat::ColorWhite);
        }
        return std::move(bmp_);
    }

private:
    static Rect32 ReadRect(ByteReader& in) {
        Rect32 r;
        r.left = int32_t(in.U32LE());
        r.top = int32_t(in.U32LE());
        r.right = int32_t(in.U32LE());
        r.bottom = int32_t(in.U32LE());
        return r;
    }

    const Channel* Find(const std::vector<Channel>& channels, int bitmapType, int channelType) const {
        for (const Channel& c : channels)
            if (c.bitmapType == bitmapType && (bitmapType != ImageBitmap || c.channelType == channelType))
                return &c;
        return nullptr;
    }

    plat::Color ColorAt(const std::vector<const Channel*>& rgb, int64_t x, int64_t y) const {
        if (a_.depth == 24) {
            uint8_t v[3] = {0, 0, 0};
            for (int i = 0; i < 3; ++i)
                if (rgb[size_t(i)]) v[i] = Sample(*rgb[size_t(i)], x, y, 8);
            return plat::MakeColor(v[0], v[1], v[2]);
        }
        if (!rgb[0]) return plat::ColorBlack;
        const uint8_t index = Sample(*rgb[0], x, y, a_.depth);
        if (!palette_.empty()) return index < palette_.size() ? palette_[index] : plat::ColorBlack;
        const uint8_t g = uint8_t(index * 255 / ((1 << a_.depth) - 1));
        return plat::MakeColor(g, g, g);
    }

    void Draw(const std::vector<Channel>& channels, int64_t left, int64_t top, int64_t width, int64_t height,
              int opacity) {
        std::vector<const Channel*> rgb;
        if (a_.depth == 24)
            rgb = {Find(channels, ImageBitmap, RedChannel), Find(channels, ImageBitmap, GreenChannel),
                   Find(channels, ImageBitmap, BlueChannel)};
        else
            rgb = {Find(channels, ImageBitmap, CompositeChannel)};
        if (std::none_of(rgb.begin(), rgb.end(), [](const Channel* c) { return c != nullptr; })) return;
        const Channel* mask = Find(channels, TransparencyMask, 0);
        if (!started_) {
            bmp_ = AllocatePicture(a_.width, a_.height, what_, MaxPspPixels);
            bmp_.Fill(plat::ColorWhite);
            started_ = true;
        }
        const int64_t x0 = std::max<int64_t>(0, left), x1 = std::min<int64_t>(a_.width, left + width);
        const int64_t y0 = std::max<int64_t>(0, top), y1 = std::min<int64_t>(a_.height, top + height);
        for (int64_t y = y0; y < y1; ++y) {
            uint8_t* out = bmp_.ScanLine(int(y)) + x0 * 3;
            for (int64_t x = x0; x < x1; ++x, out += 3) {
                const int64_t lx = x - left, ly = y - top;
                const plat::Color c = ColorAt(rgb, lx, ly);
                const int alpha = (mask ? Sample(*mask, lx, ly, 8) : 255) * opacity / 255;
                const auto mix = [alpha](int src, int dst) {
                    return uint8_t((src * alpha + dst * (255 - alpha) + 127) / 255);
                };
                out[0] = mix(plat::BlueOf(c), out[0]);
                out[1] = mix(plat::GreenOf(c), out[1]);
                out[2] = mix(plat::RedOf(c), out[2]);
            }
        }
    }

    const Attributes& a_;
    const std::vector<plat::Color>& palette_;
    std::string what_;
    plat::Bitmap bmp_;
    bool started_ = false;
};

} // namespace

plat::Bitmap DecodePsp(const uint8_t* data, size_t size, const std::string& what) {
    ByteReader in(data, size, what);
    // File header: the signature padded to 32 bytes, then the version.
    if (std::memcmp(in.Take(32), "Paint Shop Pro Image File\n\x1a", 27) != 0)
        FailDecode(what, "not a Paint Shop Pro file");
    const int major = in.U16LE();
    in.Skip(2); // minor version
    if (major < 3) FailDecode(what, "unsupported version " + std::to_string(major));
    const PspReader psp(major, what);

    const Block first = psp.ReadBlock(in);
    if (first.id != ImageBlock) FailDecode(what, "missing image attributes");
    const Attributes attributes = ReadAttributes(psp, ByteReader(first.data, first.size, what), first);
    std::vector<plat::Color> palette;
    Composer composer(attributes, palette, what);
    int layers = 0;
    bool bank = false;
    while (AtBlock(in)) {
        const Block b = psp.ReadBlock(in);
        if (b.id == ColorBlock) {
            palette = ReadPalette(psp, ByteReader(b.data, b.size, what), b);
        } else if (b.id == LayerStartBlock) {
            bank = true;
            ByteReader layerBank(b.data, b.size, what);
            layerBank.Skip(b.fixedLength);
            while (AtBlock(layerBank)) {
                const Block layer = psp.ReadBlock(layerBank);
                if (layer.id != LayerBlock) continue;
                if (++layers > MaxPspLayers) FailDecode(what, "too many layers");
                if (attributes.depth < 24 && !attributes.grey && palette.empty())
                    FailDecode(what, "missing palette");
                composer.AddLayer(psp, layer);
            }
        }
    }
    if (!bank) FailDecode(what, "no layer bank");
    return composer.Take();
}

} // namespace somnex
