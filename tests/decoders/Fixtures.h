#pragma once
// Test pictures: a pixel pattern written as a binary PPM, which independent tools convert to the
// format under test.
#include "platform/raster/Bitmap.h"
#include "somnex/EngineError.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fixtures {

enum class Pattern { Colour, Grey, BlackWhite, Smooth, Solid };

inline plat::Color PatternPixel(Pattern p, int x, int y) {
    static const plat::Color sixteen[16] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                                            0xFF00FF, 0xFFFF00, 0x808080, 0x404040, 0x0080FF, 0x80FF00,
                                            0xFF0080, 0x204060, 0x604020, 0xC0C0C0};
    switch (p) {
    case Pattern::Colour:
        return sixteen[(x * 3 + y * 5) % 16];
    case Pattern::Grey: {
        const uint8_t g = uint8_t(((x + 2 * y) % 16) * 17);
        return plat::MakeColor(g, g, g);
    }
    case Pattern::BlackWhite:
        return ((x / 2 + y) % 3 == 0) ? plat::ColorBlack : plat::ColorWhite;
    case Pattern::Smooth:
        return plat::MakeColor(uint8_t(x * 8), uint8_t(y * 8), uint8_t(128 + x * 2));
    case Pattern::Solid:
        return plat::MakeColor(200, 40, 90);
    }
    return 0;
}

inline plat::Size PatternSize(Pattern p) {
    return p == Pattern::Smooth  ? plat::Size{32, 24}
           : p == Pattern::Solid ? plat::Size{16, 16}
                                 : plat::Size{13, 7};
}

inline void WritePpm(Pattern p, const std::string& path) {
    const plat::Size s = PatternSize(p);
    std::ofstream f(path, std::ios::binary);
    f << "P6\n" << s.Width << ' ' << s.Height << "\n255\n";
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x) {
            const plat::Color c = PatternPixel(p, x, y);
            const char rgb[3] = {char(plat::RedOf(c)), char(plat::GreenOf(c)), char(plat::BlueOf(c))};
            f.write(rgb, 3);
        }
}

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        path =
            std::filesystem::temp_directory_path() / ("decoders-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// Little-endian byte building for hand-made files.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& u8(unsigned x) { return v.push_back(uint8_t(x)), *this; }
    Bytes& u16(unsigned x) { return u8(x & 0xFF).u8(x >> 8); }
    Bytes& u32(uint32_t x) { return u16(x & 0xFFFF).u16(x >> 16); }
    Bytes& fill(size_t n, uint8_t x = 0) { return v.insert(v.end(), n, x), *this; }
};

} // namespace fixtures
