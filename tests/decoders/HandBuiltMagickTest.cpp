// Formats no tool here writes (Wavefront RLA, Dr. Halo CUT, Windows metafiles), built byte by byte and
// decoded through the loader from a file, as a saver's pictures are.
#include "engine/decoders/PictureLoader.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fixtures;

namespace {

using plat::MakeColor;

struct Rgb {
    uint8_t r, g, b;
};
using Rows = std::vector<std::vector<Rgb>>; // top row first

// RLA integers are big-endian.
void Be16(std::vector<uint8_t>& v, int x) {
    v.push_back(uint8_t(unsigned(x) >> 8));
    v.push_back(uint8_t(x));
}
void Be32(std::vector<uint8_t>& v, uint32_t x) {
    Be16(v, int(x >> 16));
    Be16(v, int(x & 0xFFFF));
}
void Be16At(std::vector<uint8_t>& v, size_t at, int x) {
    v[at] = uint8_t(unsigned(x) >> 8);
    v[at + 1] = uint8_t(x);
}

// One RLA channel of a scanline: a repeat (count - 1, value) when the values are all equal, else a
// literal run (-count, values...).
std::vector<uint8_t> RlaChannel(const std::vector<uint8_t>& values) {
    std::vector<uint8_t> out;
    bool same = true;
    for (uint8_t x : values) same = same && x == values[0];
    if (same) {
        out = {uint8_t(values.size() - 1), values[0]};
    } else {
        out.push_back(uint8_t(-int(values.size())));
        out.insert(out.end(), values.begin(), values.end());
    }
    return out;
}

// 740-byte header, the scanline offset table, then each scanline bottom-up as red, green and blue
// channels (and a matte channel of `matte` values when given), each with its encoded length.
std::vector<uint8_t> MakeRla(const Rows& rows, const std::vector<uint8_t>& matte = {}) {
    const int w = int(rows[0].size()), h = int(rows.size());
    std::vector<uint8_t> v(740, 0);
    for (size_t window : {0u, 8u}) { // window, then active window: left, right, bottom, top
        Be16At(v, window + 2, w - 1);
        Be16At(v, window + 6, h - 1);
    }
    Be16At(v, 16, 1); // frame
    Be16At(v, 20, 3); // colour channels
    Be16At(v, 22, matte.empty() ? 0 : 1);
    Be16At(v, 26, -2); // revision
    Be16At(v, 658, 8); // bits per colour channel
    Be16At(v, 662, 8); // bits per matte channel
    // The colour space: without it the coder refuses the file.
    v[580] = 'r', v[581] = 'g', v[582] = 'b';
    std::vector<std::vector<uint8_t>> lines;
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> line;
        for (int c = 0; c < (matte.empty() ? 3 : 4); ++c) {
            std::vector<uint8_t> values;
            for (const Rgb& p : rows[size_t(y)]) values.push_back(c == 0 ? p.r : c == 1 ? p.g : p.b);
            if (c == 3) values.assign(matte.begin() + y * w, matte.begin() + (y + 1) * w);
            const std::vector<uint8_t> enc = RlaChannel(values);
            Be16(line, int(enc.size()));
            line.insert(line.end(), enc.begin(), enc.end());
        }
        lines.push_back(line);
    }
    uint32_t offset = uint32_t(v.size() + 4 * lines.size());
    for (const auto& line : lines) {
        Be32(v, offset);
        offset += uint32_t(line.size());
    }
    for (const auto& line : lines) v.insert(v.end(), line.begin(), line.end());
    return v;
}

// Width, height, a reserved zero, then per line its byte count and RLE codes: n < 0x80 is n literal
// bytes, 0x80 | n is n copies of the next byte, 0 ends the line.
std::vector<uint8_t> MakeCut(int w, int h, const std::vector<std::vector<uint8_t>>& codes) {
    Bytes b;
    b.u16(unsigned(w)).u16(unsigned(h)).u16(0);
    for (const auto& line : codes) {
        b.u16(unsigned(line.size() + 1));
        b.v.insert(b.v.end(), line.begin(), line.end());
        b.u8(0);
    }
    return b.v;
}

// Without a palette beside it a CUT picture is grey: index i is level i.
Rows Grey(const std::vector<std::vector<uint8_t>>& indices) {
    Rows rows;
    for (const auto& line : indices) {
        rows.emplace_back();
        for (uint8_t i : line) rows.back().push_back({i, i, i});
    }
    return rows;
}

const Rows RlaPixels = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 8, 7}},
                        {{10, 20, 30}, {10, 20, 30}, {10, 20, 30}, {10, 20, 30}},
                        {{200, 100, 50}, {1, 2, 3}, {200, 100, 50}, {255, 255, 255}}};

struct HandBuilt {
    const char* name;
    const char* ext;
    std::vector<uint8_t> bytes;
    Rows expected;
};

void PrintTo(const HandBuilt& c, std::ostream* os) {
    *os << c.name;
}

class HandBuiltFiles : public ::testing::TestWithParam<HandBuilt> {};

TEST_P(HandBuiltFiles, DecodeToTheirPixels) {
    const HandBuilt& c = GetParam();
    TempDir dir;
    const std::string path = dir / (std::string("x.") + c.ext);
    WriteAll(path, c.bytes);
    const plat::Bitmap bmp = somnex::LoadPicture(path);
    ASSERT_EQ(bmp.Height(), int(c.expected.size()));
    ASSERT_EQ(bmp.Width(), int(c.expected[0].size()));
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) {
            const Rgb& p = c.expected[size_t(y)][size_t(x)];
            EXPECT_EQ(bmp.Pixel(x, y), MakeColor(p.r, p.g, p.b)) << "at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Handmade, HandBuiltFiles,
    ::testing::Values(
        HandBuilt{"rla", "rla", MakeRla(RlaPixels), RlaPixels},
        HandBuilt{"rpf", "rpf", MakeRla(RlaPixels), RlaPixels},
        // Transparency is dropped: the colour channels come out as stored.
        HandBuilt{"rla_matte", "rla", MakeRla(RlaPixels, {255, 0, 128, 7, 0, 0, 0, 0, 255, 1, 2, 3}),
                  RlaPixels},
        HandBuilt{"rla_one_pixel", "rla", MakeRla({{{17, 34, 51}}}), {{{17, 34, 51}}}},
        HandBuilt{"cut_literals_and_runs", "cut", MakeCut(4, 2, {{4, 0, 1, 2, 3}, {0x83, 7, 1, 9}}),
                  Grey({{0, 1, 2, 3}, {7, 7, 7, 9}})},
        HandBuilt{"cut_full_range", "cut",
                  MakeCut(5, 3, {{0x85, 255}, {2, 128, 40, 0x83, 200}, {5, 0, 64, 127, 254, 1}}),
                  Grey({{255, 255, 255, 255, 255}, {128, 40, 200, 200, 200}, {0, 64, 127, 254, 1}})}),
    [](const auto& info) { return std::string(info.param.name); });

// A placeable metafile one inch square (1440 twips): a green triangle over the top-left half and a red
// square in the bottom-right corner, drawn with a null pen on the white page.
std::vector<uint8_t> MakeWmf() {
    Bytes records;
    unsigned longest = 0;
    auto record = [&](unsigned function, std::initializer_list<int> params) {
        const unsigned words = 3 + unsigned(params.size());
        longest = std::max(longest, words);
        records.u32(words).u16(function);
        for (int p : params) records.u16(unsigned(p) & 0xFFFF);
    };
    record(0x020B, {0, 0});            // SetWindowOrg (y, x)
    record(0x020C, {1440, 1440});      // SetWindowExt (y, x)
    record(0x02FA, {5, 0, 0, 0, 0});   // CreatePenIndirect: PS_NULL
    record(0x012D, {0});               // SelectObject
    record(0x02FC, {0, 0xFF00, 0, 0}); // CreateBrushIndirect: solid, COLORREF 0x0000FF00
    record(0x012D, {1});
    record(0x0106, {1});                         // SetPolyFillMode: alternate
    record(0x0324, {3, 0, 0, 1440, 0, 0, 1440}); // Polygon
    record(0x02FC, {0, 0x00FF, 0, 0});           // red brush
    record(0x012D, {2});
    record(0x041B, {1400, 1400, 900, 900}); // Rectangle (bottom, right, top, left)
    record(0x0000, {});                     // EOF

    Bytes b;
    b.u32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(1440).u16(1440).u16(1440).u32(0);
    unsigned checksum = 0;
    for (size_t i = 0; i < b.v.size(); i += 2) checksum ^= unsigned(b.v[i] | b.v[i + 1] << 8);
    b.u16(checksum);
    const uint32_t words = uint32_t(9 + records.v.size() / 2);
    b.u16(1).u16(9).u16(0x0300).u32(words).u16(3).u32(longest).u16(0);
    b.v.insert(b.v.end(), records.v.begin(), records.v.end());
    return b.v;
}

TEST(HandBuiltMetafile, RasterisesTheShapesInPlace) {
    TempDir dir;
    WriteAll(dir / "x.wmf", MakeWmf());
    const plat::Bitmap bmp = somnex::LoadPicture(dir / "x.wmf");
    // The rasteriser picks its own resolution; the picture stays square and of a plausible size.
    ASSERT_GE(bmp.Width(), 20);
    ASSERT_LE(bmp.Width(), 2000);
    ASSERT_NEAR(bmp.Height(), bmp.Width(), 2);
    const int w = bmp.Width(), h = bmp.Height();
    struct Sample {
        double x, y;
        plat::Color colour;
    };
    const Sample samples[] = {
        {0.15, 0.15, MakeColor(0, 255, 0)},   {0.15, 0.6, MakeColor(0, 255, 0)},
        {0.8, 0.3, MakeColor(255, 255, 255)}, {0.3, 0.85, MakeColor(255, 255, 255)},
        {0.8, 0.8, MakeColor(255, 0, 0)},     {0.75, 0.9, MakeColor(255, 0, 0)},
    };
    for (const Sample& s : samples) {
        const int x = int(s.x * w), y = int(s.y * h);
        EXPECT_EQ(bmp.Pixel(x, y), s.colour) << "at " << x << "," << y;
    }
}

} // namespace
