// Paint Shop Pro files built byte by byte: no tool at hand writes them.
#include "engine/decoders/PictureLoader.h"

#include "Fixtures.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>

using namespace fixtures;

namespace {

using ByteVec = std::vector<uint8_t>;

enum { None = 0, Rle = 1, Lz77 = 2 };

ByteVec Cat(std::initializer_list<ByteVec> parts) {
    ByteVec out;
    for (const ByteVec& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// PSP run-length code: repeats of three or more as 128 + n, the rest as literal runs.
ByteVec RleEncode(const ByteVec& in) {
    ByteVec out;
    for (size_t i = 0; i < in.size();) {
        size_t run = 1;
        while (i + run < in.size() && in[i + run] == in[i] && run < 127) ++run;
        if (run >= 3) {
            out.push_back(uint8_t(128 + run));
            out.push_back(in[i]);
            i += run;
            continue;
        }
        size_t n = 0;
        while (i + n < in.size() && n < 128 &&
               !(i + n + 2 < in.size() && in[i + n] == in[i + n + 1] && in[i + n] == in[i + n + 2]))
            ++n;
        if (n == 0) n = 1;
        out.push_back(uint8_t(n));
        out.insert(out.end(), in.begin() + long(i), in.begin() + long(i + n));
        i += n;
    }
    return out;
}

ByteVec Pack(int compression, const ByteVec& raw) {
    if (compression == Rle) return RleEncode(raw);
    if (compression == Lz77) {
        uLongf n = compressBound(uLong(raw.size()));
        ByteVec out(n);
        compress(out.data(), &n, raw.data(), uLong(raw.size()));
        out.resize(n);
        return out;
    }
    return raw;
}

struct Rect {
    int l, t, r, b;
};

// Blocks of file version `major`: version 3 puts the fixed part's length in the block header,
// later versions lead the fixed part with its own length.
struct Psp {
    int major = 6;
    int compression = None;

    ByteVec Block(uint16_t id, const ByteVec& fixed, const ByteVec& rest, bool chunked = true) const {
        Bytes b;
        b.v = {'~', 'B', 'K', 0};
        const ByteVec body = major >= 4 && chunked
                                 ? Cat({Bytes().u32(uint32_t(fixed.size() + 4)).v, fixed, rest})
                                 : Cat({fixed, rest});
        b.u16(id);
        if (major < 4) b.u32(uint32_t(fixed.size()));
        b.u32(uint32_t(body.size()));
        return Cat({b.v, body});
    }

    ByteVec Attributes(int w, int h, int depth, bool grey = false) const {
        Bytes f;
        f.u32(uint32_t(w)).u32(uint32_t(h)).fill(8).u8(1).u16(unsigned(compression)).u16(unsigned(depth));
        f.u16(depth == 24 ? 3 : 1).u32(depth == 24 ? 0 : 1u << depth).u8(grey).u32(0).u32(0).u16(1);
        if (major >= 6) f.u32(1);
        return Block(0, f.v, {});
    }

    ByteVec Palette(const std::vector<plat::Color>& colours) const {
        Bytes entries;
        for (plat::Color c : colours)
            entries.u8(plat::BlueOf(c)).u8(plat::GreenOf(c)).u8(plat::RedOf(c)).u8(0);
        return Block(2, Bytes().u32(uint32_t(colours.size())).v, entries.v);
    }

    // bitmapType 0 = image, 1 = transparency; channelType 0 = index or grey, 1-3 = red, green, blue.
    ByteVec Channel(int bitmapType, int channelType, const ByteVec& raw) const {
        const ByteVec packed = Pack(compression, raw);
        Bytes f;
        f.u32(uint32_t(packed.size()))
            .u32(uint32_t(raw.size()))
            .u16(unsigned(bitmapType))
            .u16(unsigned(channelType));
        return Block(5, f.v, packed);
    }

    ByteVec Layer(Rect image, Rect saved, const std::vector<ByteVec>& channels, int opacity = 255,
                  int blend = 0, int type = 1, bool visible = true) const {
        const auto rect = [](Bytes& b, Rect r) {
            b.u32(uint32_t(r.l)).u32(uint32_t(r.t)).u32(uint32_t(r.r)).u32(uint32_t(r.b));
        };
        Bytes info;
        if (major >= 4)
            info.u16(2).u8('L').u8('1');
        else
            info.u8('L').fill(255);
        info.u8(unsigned(type));
        rect(info, image);
        rect(info, saved);
        info.u8(unsigned(opacity)).u8(unsigned(blend)).u8(visible).u8(0).u8(0);
        rect(info, {0, 0, 0, 0});
        rect(info, {0, 0, 0, 0});
        info.u8(0).u8(0).u8(0).u16(5).fill(40);
        ByteVec rest;
        if (major >= 4)
            rest = Cat({Bytes().u32(8).u16(1).u16(uint16_t(channels.size())).v});
        else
            info.u16(1).u16(uint16_t(channels.size()));
        for (const ByteVec& c : channels) rest = Cat({rest, c});
        return Block(4, info.v, rest);
    }

    ByteVec Bank(const std::vector<ByteVec>& layers) const {
        ByteVec all;
        for (const ByteVec& l : layers) all = Cat({all, l});
        return Block(3, {}, all, false);
    }

    ByteVec File(std::initializer_list<ByteVec> blocks) const {
        Bytes h;
        const char sig[] = "Paint Shop Pro Image File\n\x1a";
        h.v.assign(sig, sig + 27);
        h.fill(5).u16(unsigned(major)).u16(0);
        ByteVec out = h.v;
        for (const ByteVec& b : blocks) out = Cat({out, b});
        return out;
    }
};

plat::Bitmap Decode(const ByteVec& file) {
    return somnex::DecodePicture("psp", file.data(), file.size(), "t.psp");
}

plat::Color Rgb(int x, int y) {
    return plat::MakeColor(uint8_t(40 * x + 10), uint8_t(70 * y + 5), uint8_t(x * y * 9 + 100));
}

// A 5 x 3 picture, one 24-bit layer; channel planes in red, green, blue order.
ByteVec RgbFile(const Psp& p) {
    ByteVec r, g, b;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            // Runs long enough for the run-length coder to repeat bytes.
            const plat::Color c = x < 3 && y == 0 ? Rgb(0, 0) : Rgb(x, y);
            r.push_back(plat::RedOf(c)), g.push_back(plat::GreenOf(c)), b.push_back(plat::BlueOf(c));
        }
    return p.File({p.Attributes(5, 3, 24),
                   p.Bank({p.Layer({0, 0, 5, 3}, {0, 0, 5, 3},
                                   {p.Channel(0, 1, r), p.Channel(0, 2, g), p.Channel(0, 3, b)})})});
}

void ExpectPixels(const plat::Bitmap& bmp, int w, int h, const std::function<plat::Color(int, int)>& want) {
    ASSERT_EQ(bmp.Width(), w);
    ASSERT_EQ(bmp.Height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(bmp.Pixel(x, y), want(x, y)) << x << "," << y;
}

struct Coding {
    const char* name;
    int major;
    int compression;
};

void PrintTo(const Coding& c, std::ostream* os) {
    *os << c.name;
}

class PspCodings : public ::testing::TestWithParam<Coding> {};

TEST_P(PspCodings, RgbLayerDecodesExactly) {
    const Psp p{GetParam().major, GetParam().compression};
    ExpectPixels(Decode(RgbFile(p)), 5, 3,
                 [](int x, int y) { return x < 3 && y == 0 ? Rgb(0, 0) : Rgb(x, y); });
}

TEST_P(PspCodings, PaletteDepthsDecodeExactly) {
    const std::vector<plat::Color> pal = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080,
                                          0x123456, 0x654321, 0xABCDEF, 0x0F0F0F, 0xF0F0F0, 0x00FFFF,
                                          0xFF00FF, 0xFFFF00, 0x204060, 0x604020};
    for (int depth : {1, 4, 8}) {
        const Psp p{GetParam().major, GetParam().compression};
        const int colours = 1 << std::min(depth, 4);
        const auto index = [&](int x, int y) { return (x * 3 + y * 5) % colours; };
        // Sub-byte rows padded to 4 bytes for 4-bit, left tight for 1-bit: both layouts occur.
        const size_t tight = (size_t(5) * size_t(depth) + 7) / 8;
        const size_t stride = depth == 4 ? 4 : tight;
        ByteVec raw(stride * 3, 0);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const int per = 8 / depth;
                raw[size_t(y) * stride + size_t(x / per)] |=
                    uint8_t(index(x, y) << (8 - depth * (x % per + 1)));
            }
        const ByteVec file = p.File({p.Attributes(5, 3, depth),
                                     p.Palette(std::vector<plat::Color>(pal.begin(), pal.begin() + colours)),
                                     p.Bank({p.Layer({0, 0, 5, 3}, {0, 0, 5, 3}, {p.Channel(0, 0, raw)})})});
        SCOPED_TRACE(depth);
        ExpectPixels(Decode(file), 5, 3, [&](int x, int y) { return pal[size_t(index(x, y))]; });
    }
}

INSTANTIATE_TEST_SUITE_P(Psp, PspCodings,
                         ::testing::Values(Coding{"v6_plain", 6, None}, Coding{"v6_rle", 6, Rle},
                                           Coding{"v6_lz77", 6, Lz77}, Coding{"v4_lz77", 4, Lz77},
                                           Coding{"v3_rle", 3, Rle}, Coding{"v3_plain", 3, None}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Psp, GreyWithoutPaletteScalesIndexes) {
    const Psp p{6, None};
    const ByteVec file = p.File({p.Attributes(2, 1, 8, true),
                                 p.Bank({p.Layer({0, 0, 2, 1}, {0, 0, 2, 1}, {p.Channel(0, 0, {0, 200})})})});
    ExpectPixels(Decode(file), 2, 1, [](int x, int) { return x ? 0xC8C8C8u : 0u; });
}

TEST(Psp, LayersComposeOverWhite) {
    const Psp p{6, Lz77};
    const plat::Color red = 0x0000FF, blue = 0xFF0000;
    const auto solid = [&](plat::Color c, int n) {
        return std::vector<ByteVec>{p.Channel(0, 1, ByteVec(size_t(n), plat::RedOf(c))),
                                    p.Channel(0, 2, ByteVec(size_t(n), plat::GreenOf(c))),
                                    p.Channel(0, 3, ByteVec(size_t(n), plat::BlueOf(c)))};
    };
    // Bottom: red over the left 3 columns. Top: blue 2 x 1 placed at (1, 1) through image and
    // saved rectangles, its right pixel transparent. Then a hidden layer, a half-opaque blue
    // layer hanging off the left edge, and an empty layer.
    std::vector<ByteVec> top = solid(blue, 2);
    top.push_back(p.Channel(1, 0, {255, 0}));
    const ByteVec file = p.File(
        {p.Attributes(4, 3, 24),
         p.Bank({p.Layer({0, 0, 3, 3}, {0, 0, 3, 3}, solid(red, 9)), p.Layer({1, 0, 3, 2}, {0, 1, 2, 2}, top),
                 p.Layer({0, 0, 4, 3}, {0, 0, 4, 3}, solid(0x00FF00, 12), 255, 0, 1, false),
                 p.Layer({-1, 2, 1, 3}, {0, 0, 2, 1}, solid(blue, 2), 128),
                 p.Layer({0, 0, 0, 0}, {0, 0, 0, 0}, {})})});
    const plat::Color half = plat::MakeColor(127, 0, 128); // blue at 128/255 over red
    ExpectPixels(Decode(file), 4, 3, [&](int x, int y) -> plat::Color {
        if (y == 1 && x == 1) return blue;
        if (y == 2 && x == 0) return half;
        return x < 3 ? red : plat::ColorWhite;
    });
}

// Each damaged file must be refused with EngineError.
TEST(Psp, MalformedFilesAreRefused) {
    const Psp p{6, Rle};
    const auto layer = [&](Rect saved, const std::vector<ByteVec>& ch) {
        return p.Bank({p.Layer({0, 0, 5, 3}, saved, ch)});
    };
    const ByteVec plane(15, 7);
    Psp lz{6, Lz77};
    ByteVec corruptZ = lz.Channel(0, 1, plane);
    corruptZ[corruptZ.size() - 6] ^= 0xFF;
    Psp jpeg{6, 3};
    struct Case {
        const char* name;
        ByteVec file;
    };
    const ByteVec good = RgbFile(p);
    ByteVec badMagic = good, badBlockLength = good, zeroChunk = good;
    badMagic[36] = 'X';
    badBlockLength[44] = 0xFF; // the attributes block claims 16 MiB
    zeroChunk[46] = 0, zeroChunk[47] = 0, zeroChunk[48] = 0, zeroChunk[49] = 0;
    const std::vector<Case> cases = {
        {"signature", ByteVec(40, 'P')},
        {"version 2", Psp{2, None}.File({Psp{}.Attributes(5, 3, 24)})},
        {"no blocks", p.File({})},
        {"no layer bank", p.File({p.Attributes(5, 3, 24)})},
        {"bad block magic", badMagic},
        {"block past the end", badBlockLength},
        {"zero chunk length", zeroChunk},
        {"huge picture", p.File({p.Attributes(100000, 100000, 24), layer({0, 0, 5, 3}, {})})},
        {"depth 16", p.File({p.Attributes(5, 3, 16), layer({0, 0, 5, 3}, {})})},
        {"jpeg channels", jpeg.File({jpeg.Attributes(5, 3, 24), layer({0, 0, 5, 3}, {})})},
        {"palette missing", p.File({p.Attributes(5, 3, 8), layer({0, 0, 5, 3}, {p.Channel(0, 0, plane)})})},
        {"huge layer, tiny data",
         p.File({p.Attributes(5, 3, 24), layer({0, 0, 60000, 2000}, {p.Channel(0, 1, plane)})})},
        {"channel shorter than layer",
         p.File({p.Attributes(5, 3, 24), layer({0, 0, 5, 3}, {p.Channel(0, 1, ByteVec(14, 7))})})},
        {"corrupt zlib",
         lz.File({lz.Attributes(5, 3, 24), lz.Bank({lz.Layer({0, 0, 5, 3}, {0, 0, 5, 3}, {corruptZ})})})},
        {"blend mode",
         p.File({p.Attributes(5, 3, 24), p.Bank({p.Layer({0, 0, 5, 3}, {0, 0, 5, 3}, {}, 255, 1)})})},
        {"vector layer",
         p.File({p.Attributes(5, 3, 24), p.Bank({p.Layer({0, 0, 5, 3}, {0, 0, 5, 3}, {}, 255, 0, 3)})})},
    };
    for (const Case& c : cases) EXPECT_THROW(Decode(c.file), somnex::EngineError) << c.name;
    // Every cut of a valid file falls inside the layer bank or before it.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_THROW(Decode(ByteVec(good.begin(), good.begin() + long(n))), somnex::EngineError) << n;
}

// Single-byte damage anywhere: decoded or refused, never a crash (the sanitizer build watches
// the reads).
TEST(Psp, DamagedBytesDecodeOrFailCleanly) {
    for (int compression : {None, Rle, Lz77}) {
        const ByteVec good = RgbFile(Psp{6, compression});
        for (size_t i = 0; i < good.size(); ++i)
            for (uint8_t v : {uint8_t(0), uint8_t(0x7F), uint8_t(0xFF)}) {
                ByteVec bad = good;
                bad[i] = v;
                try {
                    const plat::Bitmap bmp = Decode(bad);
                    EXPECT_FALSE(bmp.Empty());
                } catch (const somnex::EngineError&) {
                }
            }
    }
}

} // namespace
