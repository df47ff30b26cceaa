// Pictures for a person to look at: the gradient sheet and a few finished slides, written as PNG
// into the test output folder.
#include "engine/core/SharedRandom.h"
#include "engine/imaging/Gradient.h"
#include "engine/imaging/ScrImgProc1.h"
#include "platform/raster/BitmapFile.h"
#include "somnex/EngineError.h"

#include "tests/imaging/TempFolder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

using namespace somnex;
using plat::Bitmap;
using plat::MakeColor;

namespace {

// A stand-in photograph: hills under a sky with a sun, smooth enough to show resampling.
Bitmap Landscape(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / w, v = double(y) / h;
            const double hill = 0.62 + 0.08 * std::sin(u * 9.0) + 0.05 * std::sin(u * 23.0 + 1.0);
            plat::Color c;
            if (std::hypot(u - 0.72, (v - 0.25) * h / w) < 0.06)
                c = MakeColor(255, 230, 120);
            else if (v < hill)
                c = MakeColor(uint8_t(90 + 120 * v), uint8_t(150 + 90 * v), 250);
            else
                c = MakeColor(uint8_t(40 + 60 * u), uint8_t(120 + 100 * (1 - v)), uint8_t(40 + 30 * v));
            b.SetPixel(x, y, c);
        }
    return b;
}

class VisualTest : public testing::Test {
protected:
    void SetUp() override {
        pictures["photo"] = Landscape(1600, 1100);
        Bitmap frame(40, 30);
        frame.Fill(MakeColor(120, 70, 30));
        for (int y = 2; y < 28; ++y)
            for (int x = 2; x < 38; ++x) frame.SetPixel(x, y, plat::ColorWhite);
        pictures["frame"] = frame;
        Bitmap tile(64, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                tile.SetPixel(x, y, ((x / 16 + y / 16) % 2) ? MakeColor(60, 60, 70) : MakeColor(80, 80, 95));
        pictures["tile"] = tile;

        Bitmap logo(90, 40, plat::PixelFormat::Pf24);
        logo.Fill(plat::ColorWhite);
        plat::Canvas c(logo);
        c.SetPen({MakeColor(200, 30, 30), 3, plat::PenStyle::Solid});
        c.SetBrush({MakeColor(250, 200, 40), plat::BrushStyle::Solid});
        c.Ellipse({2, 2, 88, 38});
        logoFile = (dir_ / "logo.bmp").string();
        plat::SaveBitmapFile(logo, logoFile);
    }

    void Prepare(TScrImgProc1& p) {
        p.Loader = [this](const std::string& path, const PictureSizeHint&) {
            auto it = pictures.find(path);
            if (it == pictures.end()) throw EngineError("no picture " + path);
            return it->second;
        };
        p.SetCanvas(800, 600);
    }

    // Into the test output folder when there is one; otherwise into this test's own folder,
    // which goes away with it.
    void SavePng(const Bitmap& b, const std::string& name) {
        const char* out = std::getenv("SOMNEX_TEST_OUT");
        std::filesystem::path folder = out && *out ? std::filesystem::path(out) / "imaging" : dir_;
        std::filesystem::create_directories(folder);
        const QImage view(b.Bits(), b.Width(), b.Height(), b.Stride(), QImage::Format_BGR888);
        const std::string path = (folder / name).string();
        ASSERT_TRUE(view.save(QString::fromStdString(path), "PNG")) << path;
        EXPECT_GT(std::filesystem::file_size(path), 1000u);
    }

    std::map<std::string, Bitmap> pictures;
    std::string logoFile;
    testing_support::TempFolder folder_{"somnex-visual-"};
    const std::filesystem::path& dir_ = folder_.Path();
};

TEST_F(VisualTest, GradientSheet) {
    const Bitmap sheet = RenderGradientSheet(1200, 900, MakeColor(20, 40, 160), MakeColor(250, 210, 80));
    ASSERT_EQ(sheet.Width(), 1200);
    SavePng(sheet, "gradients.png");
}

TEST_F(VisualTest, FittedPictureWithLogoAndCaption) {
    TScrImgProc1 p;
    Prepare(p);
    p.LoadPicture("photo");
    p.SetPictureLayout(0, 0);
    p.SetBackgroundColor(0);
    p.SetGradient(2, 0x402010, 0xF0C080);
    p.SetLogo(-1, 4, 200, logoFile);
    p.SetCaption("Morning over the hills\r\nSecond line of the caption", "\"Arial\", 18, [Bold], [clWhite]",
                 9, 1);
    ASSERT_TRUE(p.Execute());
    Bitmap slide;
    p.AssignResultTo(slide);
    SavePng(slide, "slide-fit-logo-caption.png");
}

TEST_F(VisualTest, MaskedRandomPictureWithOverlay) {
    TScrImgProc1 p;
    Prepare(p);
    pictures["small"] = Landscape(400, 280);
    Bitmap mask(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const double d = std::hypot(x - 31.5, y - 31.5) / 32.0;
            const uint8_t g = uint8_t(std::lround(255 * std::max(0.0, std::min(1.0, 1.6 - 1.6 * d))));
            mask.SetPixel(x, y, MakeColor(g, g, g));
        }
    pictures["mask"] = mask;
    p.LoadPicture("small");
    p.SetPictureLayout(1, 2);
    p.SetBackgroundColor(0);
    p.SetGradient(6, 0x703010, 0x10A0F0);
    p.SetMask("mask", 200);
    p.SetOverlay(1, "frame");
    p.SetCaption("Vignette at a random place", "\"Times New Roman\", 16, [Italic], [clYellow]", 2, 0);
    TheRandom().SetSeed(31);
    ASSERT_TRUE(p.Execute());
    Bitmap slide;
    p.AssignResultTo(slide);
    SavePng(slide, "slide-masked-random-overlay.png");
}

TEST_F(VisualTest, TiledWallpaperAndDarkCaption) {
    TScrImgProc1 p;
    Prepare(p);
    pictures["small"] = Landscape(500, 300);
    p.LoadPicture("small");
    p.SetPictureLayout(0, 2);
    p.SetBackgroundColor(0);
    p.SetWallpaper(2, "tile");
    p.SetLogo(0, 8, 255, logoFile);
    p.SetCaption("Dark text keeps a light shadow", "\"Courier New\", 20, [Bold], [clNavy]", 6, 1);
    ASSERT_TRUE(p.Execute());
    Bitmap slide;
    p.AssignResultTo(slide);
    SavePng(slide, "slide-tiled-caption.png");
}

} // namespace
