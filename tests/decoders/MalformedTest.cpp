#include "engine/decoders/JpegCodec.h"
#include "engine/decoders/PictureLoader.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace {

struct Source {
    const char* ext;
    const char* command; // makes {out} from {src}; empty for the hand-built ones below
};

void PrintTo(const Source& s, std::ostream* os) {
    *os << s.ext;
}

std::vector<uint8_t> MakeValid(const Source& s, const TempDir& dir) {
    const std::string src = dir / "src.ppm", out = dir / (std::string("v.") + s.ext);
    WritePpm(Pattern::Smooth, src);
    std::string cmd = s.command;
    for (auto [k, v] : {std::pair<std::string, std::string>{"{src}", src}, {"{out}", out}})
        for (size_t at; (at = cmd.find(k)) != std::string::npos;) cmd.replace(at, k.size(), v);
    if (std::system((cmd + " 2>/dev/null").c_str()) != 0) return {};
    return ReadAll(out);
}

// Damaged variants of a valid file: each must be refused with EngineError, never crash or hang.
std::vector<std::pair<std::string, std::vector<uint8_t>>> Damaged(const std::vector<uint8_t>& valid) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    out.push_back({"empty", {}});
    out.push_back({"one byte", {valid.empty() ? uint8_t(0) : valid[0]}});
    out.push_back({"header only",
                   std::vector<uint8_t>(valid.begin(), valid.begin() + std::min<size_t>(12, valid.size()))});
    out.push_back({"cut in half", std::vector<uint8_t>(valid.begin(), valid.begin() + valid.size() / 2)});
    std::vector<uint8_t> noise(valid.size());
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 7919 + 13);
    out.push_back({"noise", noise});
    return out;
}

class Malformed : public ::testing::TestWithParam<Source> {};

TEST_P(Malformed, DamagedFilesFailCleanly) {
    TempDir dir;
    const std::vector<uint8_t> valid = MakeValid(GetParam(), dir);
    ASSERT_FALSE(valid.empty());
    EXPECT_NO_THROW(somnex::DecodePicture(GetParam().ext, valid.data(), valid.size(), "v"));
    for (const auto& [name, bytes] : Damaged(valid))
        EXPECT_THROW(somnex::DecodePicture(GetParam().ext, bytes.data(), bytes.size(), "v"),
                     somnex::EngineError)
            << name;
}

INSTANTIATE_TEST_SUITE_P(Formats, Malformed,
                         ::testing::Values(Source{"jpg", "cjpeg -outfile {out} {src}"},
                                           Source{"png", "gm convert {src} PNG:{out}"},
                                           Source{"bmp", "gm convert {src} BMP3:{out}"},
                                           Source{"gif", "gm convert {src} GIF:{out}"},
                                           Source{"tif", "gm convert {src} TIFF:{out}"},
                                           Source{"tga", "gm convert {src} -compress RLE TGA:{out}"},
                                           Source{"pcx", "gm convert {src} PCX:{out}"},
                                           Source{"sgi", "gm convert {src} SGI:{out}"},
                                           Source{"ppm", "cp {src} {out}"},
                                           Source{"psd", "convert {src} PSD:{out}"}),
                         [](const auto& info) { return std::string(info.param.ext); });

} // namespace

TEST(Malformed, HugeDeclaredSizesAreRefusedBeforeAllocating) {
    // Animator picture claiming 65535 x 65535 with no pixel data.
    Bytes pic;
    pic.u16(0x9119).u16(65535).u16(65535).u16(0).u16(0).u8(8).u8(0).u32(0).fill(16).fill(768);
    EXPECT_THROW(somnex::DecodePicture("pic", pic.v.data(), pic.v.size(), "x"), somnex::EngineError);
    // Photoshop header of 300000 x 300000 pixels.
    std::vector<uint8_t> psd = {'8',  'B',  'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0, 0, 3, 0, 4, 0x93, 0xE0, 0, 4,
                                0x93, 0xE0, 0,   8,   0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0, 0};
    EXPECT_THROW(somnex::DecodePicture("psd", psd.data(), psd.size(), "x"), somnex::EngineError);
    // JPEG whose frame header says 65500 x 65500.
    std::vector<uint8_t> jpg = somnex::EncodeJpeg(plat::Bitmap(8, 8), 75);
    for (size_t i = 0; i + 8 < jpg.size(); ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            jpg[i + 5] = 0xFF, jpg[i + 6] = 0xDC, jpg[i + 7] = 0xFF, jpg[i + 8] = 0xDC;
            break;
        }
    EXPECT_THROW(somnex::DecodePicture("jpg", jpg.data(), jpg.size(), "x"), somnex::EngineError);
    // Zeros are neither a Paint Shop Pro picture nor a metafile.
    Bytes psp;
    psp.fill(40);
    EXPECT_THROW(somnex::DecodePicture("psp", psp.v.data(), psp.v.size(), "x"), somnex::EngineError);
    EXPECT_THROW(somnex::DecodePicture("emf", psp.v.data(), psp.v.size(), "x"), somnex::EngineError);
}
