#include "engine/decoders/PictureLoader.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace fixtures;

namespace {

enum class Fit {
    Same,    // same size, pixels within the tolerance
    TopLeft, // the tool pads (fax pages): the pattern sits in the top-left corner
    AnySize, // the tool resizes or frames it (Photo CD, PostScript): the centre has the solid colour
};

struct Golden {
    const char* name;
    const char* ext;
    const char* command; // {src} and {out} are replaced
    Pattern pattern;
    int tolerance;
    Fit fit = Fit::Same;
};

void PrintTo(const Golden& g, std::ostream* os) {
    *os << g.name;
}

std::string Expand(std::string s, const std::string& src, const std::string& out) {
    for (auto [key, value] : {std::pair<std::string, std::string>{"{src}", src}, {"{out}", out}})
        for (size_t at; (at = s.find(key)) != std::string::npos;) s.replace(at, key.size(), value);
    return s;
}

int Distance(plat::Color a, plat::Color b) {
    return std::max({std::abs(plat::RedOf(a) - plat::RedOf(b)), std::abs(plat::GreenOf(a) - plat::GreenOf(b)),
                     std::abs(plat::BlueOf(a) - plat::BlueOf(b))});
}

class GoldenFiles : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenFiles, DecodeToTheToolsPixels) {
    const Golden& g = GetParam();
    TempDir dir;
    const std::string src = dir / "src.ppm", out = dir / (std::string("x.") + g.ext);
    WritePpm(g.pattern, src);
    ASSERT_EQ(std::system((Expand(g.command, src, out) + " 2>/dev/null").c_str()), 0) << g.command;

    plat::Bitmap bmp = somnex::LoadPicture(out);
    const plat::Size size = PatternSize(g.pattern);
    if (g.fit == Fit::Same) {
        ASSERT_EQ(bmp.Width(), size.Width);
        ASSERT_EQ(bmp.Height(), size.Height);
    }
    ASSERT_GE(bmp.Width(), g.fit == Fit::AnySize ? 1 : size.Width);
    ASSERT_GE(bmp.Height(), g.fit == Fit::AnySize ? 1 : size.Height);
    int worst = 0;
    if (g.fit == Fit::AnySize) {
        EXPECT_LE(Distance(bmp.Pixel(bmp.Width() / 2, bmp.Height() / 2), PatternPixel(g.pattern, 0, 0)),
                  g.tolerance);
        return;
    }
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            worst = std::max(worst, Distance(bmp.Pixel(x, y), PatternPixel(g.pattern, x, y)));
    EXPECT_LE(worst, g.tolerance);
}

constexpr int Lossy = 24; // JPEG at quality 95 on a smooth picture

INSTANTIATE_TEST_SUITE_P(
    Tools, GoldenFiles,
    ::testing::Values(
        Golden{"bmp24", "bmp", "gm convert {src} BMP3:{out}", Pattern::Colour, 0},
        Golden{"bmp8_palette", "bmp", "gm convert {src} -type Palette BMP3:{out}", Pattern::Colour, 0},
        Golden{"bmp1", "bmp", "gm convert {src} -monochrome BMP3:{out}", Pattern::BlackWhite, 0},
        Golden{"dib", "dib", "gm convert {src} BMP3:{out}", Pattern::Colour, 0},
        Golden{"rle8", "rle", "gm convert {src} -type Palette -compress RLE BMP3:{out}", Pattern::Colour, 0},
        Golden{"jpg", "jpg", "gm convert {src} -quality 95 JPEG:{out}", Pattern::Smooth, Lossy},
        Golden{"jpeg_cjpeg", "jpeg", "cjpeg -quality 95 -outfile {out} {src}", Pattern::Smooth, Lossy},
        Golden{"jpe_grey", "jpe", "cjpeg -grayscale -quality 95 -outfile {out} {src}", Pattern::Grey, 12},
        Golden{"jfif_progressive", "jfif", "cjpeg -progressive -quality 95 -outfile {out} {src}",
               Pattern::Smooth, Lossy},
        Golden{"jpg_cmyk", "jpg", "convert {src} -colorspace CMYK -quality 95 JPEG:{out}", Pattern::Smooth,
               32},
        Golden{"tif", "tif", "gm convert {src} -compress None TIFF:{out}", Pattern::Colour, 0},
        Golden{"tiff_lzw", "tiff", "gm convert {src} -compress LZW TIFF:{out}", Pattern::Colour, 0},
        Golden{"tiff_palette", "tiff", "gm convert {src} -type Palette TIFF:{out}", Pattern::Colour, 0},
        Golden{"tiff_group4", "tiff", "gm convert {src} -monochrome -compress Group4 TIFF:{out}",
               Pattern::BlackWhite, 0},
        Golden{"fax", "fax", "gm convert {src} -monochrome FAX:{out}", Pattern::BlackWhite, 0, Fit::TopLeft},
        Golden{"eps", "eps", "gm convert {src} EPS:{out}", Pattern::Solid, 8, Fit::AnySize},
        Golden{"tga", "tga", "gm convert {src} TGA:{out}", Pattern::Colour, 0},
        Golden{"tga_rle", "tga", "gm convert {src} -compress RLE TGA:{out}", Pattern::Colour, 0},
        Golden{"vst_palette", "vst", "gm convert {src} -type Palette TGA:{out}", Pattern::Colour, 0},
        Golden{"icb_grey", "icb", "gm convert {src} -type Grayscale TGA:{out}", Pattern::Grey, 0},
        Golden{"vda", "vda", "gm convert {src} TGA:{out}", Pattern::Colour, 0},
        Golden{"win", "win", "gm convert {src} -compress RLE TGA:{out}", Pattern::Colour, 0},
        Golden{"pcx", "pcx", "gm convert {src} PCX:{out}", Pattern::Colour, 0},
        Golden{"pcx_palette", "pcx", "gm convert {src} -type Palette PCX:{out}", Pattern::Colour, 0},
        Golden{"pcd", "pcd", "gm convert {src} PCD:{out}", Pattern::Solid, 24, Fit::AnySize},
        Golden{"psd_rle", "psd", "convert {src} PSD:{out}", Pattern::Colour, 0},
        Golden{"psd_raw", "psd", "convert {src} -compress None PSD:{out}", Pattern::Colour, 0},
        Golden{"psd_grey", "psd", "convert {src} -colorspace Gray PSD:{out}", Pattern::Grey, 0},
        Golden{"psd_16bit", "psd", "convert {src} -depth 16 PSD:{out}", Pattern::Colour, 0},
        Golden{"psd_palette", "psd", "convert {src} -type Palette PSD:{out}", Pattern::Colour, 0},
        Golden{"psd_bitmap", "psd", "convert {src} -monochrome PSD:{out}", Pattern::BlackWhite, 0},
        Golden{"png", "png", "gm convert {src} PNG:{out}", Pattern::Colour, 0},
        Golden{"png_palette", "png", "gm convert {src} PNG8:{out}", Pattern::Colour, 0},
        Golden{"png_grey", "png", "gm convert {src} -type Grayscale PNG:{out}", Pattern::Grey, 0},
        Golden{"png_1bit", "png", "ppmtopgm {src} | pamthreshold | pamtopnm | pnmtopng > {out}",
               Pattern::BlackWhite, 0},
        Golden{"png_16bit_interlaced", "png", "gm convert {src} -depth 16 -interlace Line PNG:{out}",
               Pattern::Colour, 0},
        Golden{"gif", "gif", "gm convert {src} GIF:{out}", Pattern::Colour, 0},
        Golden{"gif_bw", "gif", "ppmtogif {src} > {out}", Pattern::BlackWhite, 0},
        Golden{"sgi_rle", "sgi", "gm convert {src} -compress RLE SGI:{out}", Pattern::Colour, 0},
        Golden{"rgb", "rgb", "gm convert {src} -compress None SGI:{out}", Pattern::Colour, 0},
        Golden{"rgba", "rgba", "gm convert {src} -matte SGI:{out}", Pattern::Colour, 0},
        Golden{"bw", "bw", "gm convert {src} -type Grayscale SGI:{out}", Pattern::Grey, 0},
        Golden{"ppm", "ppm", "cp {src} {out}", Pattern::Colour, 0},
        Golden{"ppm_plain", "ppm", "pnmtoplainpnm {src} > {out}", Pattern::Colour, 0},
        Golden{"pgm", "pgm", "ppmtopgm {src} > {out}", Pattern::Grey, 0},
        Golden{"pbm", "pbm", "ppmtopgm {src} | pamthreshold | pamtopnm > {out}", Pattern::BlackWhite, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(HandBuilt, AnimatorPictureAndCel) {
    // 3 x 2 pixels of palette entries 0, 1, 2 / 2, 1, 0 with 6-bit levels.
    Bytes b;
    b.u16(0x9119).u16(3).u16(2).u16(0).u16(0).u8(8).u8(0).u32(6).fill(16);
    b.u8(63).u8(0).u8(0);  // 0: red
    b.u8(0).u8(63).u8(0);  // 1: green
    b.u8(0).u8(32).u8(63); // 2: blue-ish
    b.fill(768 - 9);
    for (int p : {0, 1, 2, 2, 1, 0}) b.u8(unsigned(p));
    for (const char* ext : {"pic", "cel"}) {
        const plat::Bitmap bmp = somnex::DecodePicture(ext, b.v.data(), b.v.size(), "x");
        ASSERT_EQ(bmp.Width(), 3);
        EXPECT_EQ(bmp.Pixel(0, 0), plat::MakeColor(255, 0, 0));
        EXPECT_EQ(bmp.Pixel(1, 0), plat::MakeColor(0, 255, 0));
        EXPECT_EQ(bmp.Pixel(0, 1), plat::MakeColor(0, 130, 255));
        EXPECT_EQ(bmp.Pixel(2, 1), plat::MakeColor(255, 0, 0));
    }
}

TEST(HandBuilt, IconWithMaskTakesItsColourPixels) {
    // One 2 x 2 icon at 24 bits: XOR pixels bottom-up, then a 1-bit AND mask.
    Bytes b;
    b.u16(0).u16(1).u16(1);                                            // ICONDIR
    b.u8(2).u8(2).u8(0).u8(0).u16(1).u16(24).u32(40 + 16 + 8).u32(22); // entry
    b.u32(40).u32(2).u32(4).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
    b.u8(0).u8(0).u8(255).u8(0).u8(255).u8(0).u16(0);     // bottom row: red, green
    b.u8(255).u8(0).u8(0).u8(255).u8(255).u8(255).u16(0); // top row: blue, white
    b.fill(8);                                            // mask: all opaque
    const plat::Bitmap bmp = somnex::DecodePicture("ico", b.v.data(), b.v.size(), "x.ico");
    ASSERT_EQ(bmp.Width(), 2);
    ASSERT_EQ(bmp.Height(), 2);
    EXPECT_EQ(bmp.Pixel(0, 1), plat::MakeColor(255, 0, 0));
    EXPECT_EQ(bmp.Pixel(1, 1), plat::MakeColor(0, 255, 0));
    EXPECT_EQ(bmp.Pixel(0, 0), plat::MakeColor(0, 0, 255));
}

TEST(Loader, ExtensionDecidesAndFailuresNameTheFile) {
    TempDir dir;
    WritePpm(Pattern::Colour, dir / "a.ppm");
    std::filesystem::copy_file(dir / "a.ppm", dir / "a.PNG");
    try {
        somnex::LoadPicture(dir / "a.PNG"); // a PPM named .png is not guessed
        FAIL() << "loaded";
    } catch (const somnex::EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("a.PNG"), std::string::npos) << e.what();
    }
    plat::Bitmap out(3, 3);
    EXPECT_FALSE(somnex::TryLoadPicture(dir / "missing.jpg", out));
    EXPECT_TRUE(out.Empty());
    EXPECT_FALSE(somnex::TryLoadPicture(dir / "a.xyz", out));
    EXPECT_TRUE(somnex::TryLoadPicture(dir / "a.ppm", out));
    EXPECT_EQ(out.Width(), 13);
    EXPECT_EQ(somnex::PictureExtensions().size(), 37u);
    EXPECT_TRUE(somnex::IsPictureExtension("C/x.JFIF"));
    EXPECT_FALSE(somnex::IsPictureExtension("x.webp"));
}
