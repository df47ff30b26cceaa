#include "engine/core/SharedRandom.h"
#include "engine/imaging/ScrImgProc1.h"
#include "platform/raster/BitmapFile.h"
#include "somnex/EngineError.h"

#include "tests/imaging/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace somnex;
using plat::Bitmap;
using plat::MakeColor;

namespace {

constexpr plat::Color Red = MakeColor(255, 0, 0);
constexpr plat::Color Green = MakeColor(0, 160, 0);
constexpr plat::Color Blue = MakeColor(0, 0, 255);
constexpr int32_t Navy = 0x800000; // project colour value of clNavy

Bitmap Solid(int w, int h, plat::Color c) {
    Bitmap b(w, h);
    b.Fill(c);
    return b;
}

// Pictures come from memory, except logos, which are real bitmap files.
class SlideTest : public testing::Test {
protected:
    void SetUp() override {
        proc.Loader = [this](const std::string& path, const PictureSizeHint& hint) {
            hints[path] = hint;
            auto it = pictures.find(path);
            if (it == pictures.end()) throw EngineError("Cannot open " + path);
            return it->second;
        };
        proc.SetCanvas(800, 600);
        proc.SetBackgroundColor(Navy);
    }

    std::string WriteLogo(const Bitmap& logo) {
        const std::string path = (dir_ / "logo.bmp").string();
        plat::SaveBitmapFile(logo, path);
        return path;
    }
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    Bitmap Result() const {
        Bitmap out;
        proc.AssignResultTo(out);
        return out;
    }

    TScrImgProc1 proc;
    std::map<std::string, Bitmap> pictures;
    std::map<std::string, PictureSizeHint> hints;
    testing_support::TempFolder folder_{"somnex-slide-"};
    const std::filesystem::path& dir_ = folder_.Path();
};

constexpr plat::Color NavyRgb = MakeColor(0, 0, 128);

TEST_F(SlideTest, SmallPictureKeepsItsSizeAndIsCentred) {
    pictures["p"] = Solid(400, 300, Red);
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 0);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(proc.PictureRect, (plat::Rect{200, 150, 600, 450}));
    const Bitmap slide = Result();
    EXPECT_EQ(slide.Width(), 800);
    EXPECT_EQ(slide.Pixel(200, 150), Red);
    EXPECT_EQ(slide.Pixel(599, 449), Red);
    EXPECT_EQ(slide.Pixel(199, 150), NavyRgb);
    EXPECT_EQ(slide.Pixel(600, 449), NavyRgb);
    // Fitting lets the loader decode smaller as long as the picture still reaches the slide.
    EXPECT_EQ(hints["p"].Width, 800);
    EXPECT_TRUE(hints["p"].FitInside);
}

TEST_F(SlideTest, LargePictureIsReducedToFit) {
    Bitmap big(1600, 1200);
    for (int y = 0; y < 1200; ++y)
        for (int x = 0; x < 1600; ++x) big.SetPixel(x, y, (x + y) % 2 ? plat::ColorWhite : plat::ColorBlack);
    pictures["p"] = big;
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 0);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(proc.PictureRect, (plat::Rect{0, 0, 800, 600}));
    EXPECT_EQ(proc.Picture.Width(), 800);
    // Supersampling mixes the checkerboard into greys; a plain stretch would keep pure black or white.
    const uint8_t grey = plat::RedOf(Result().Pixel(400, 300));
    EXPECT_GT(grey, 50);
    EXPECT_LT(grey, 205);
}

TEST_F(SlideTest, StretchFillsTheSlide) {
    pictures["p"] = Solid(300, 100, Green);
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 1);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(proc.PictureRect, (plat::Rect{0, 0, 800, 600}));
    EXPECT_EQ(Result().Pixel(0, 0), Green);
    EXPECT_EQ(Result().Pixel(799, 599), Green);
    EXPECT_FALSE(hints["p"].FitInside);
}

TEST_F(SlideTest, OwnSizeIsCutEvenlyWhenLarger) {
    pictures["p"] = Solid(1000, 700, Green);
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 2);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(proc.PictureRect, (plat::Rect{-100, -50, 900, 650}));
    EXPECT_EQ(hints["p"].Width, 0); // full picture wanted
}

TEST_F(SlideTest, RandomPlacementStaysOnSlide) {
    pictures["p"] = Solid(200, 100, Red);
    proc.LoadPicture("p");
    proc.SetPictureLayout(1, 2);
    TheRandom().SetSeed(2024);
    ASSERT_TRUE(proc.Execute());
    const plat::Rect r = proc.PictureRect;
    EXPECT_GE(r.Left, 0);
    EXPECT_LE(r.Right, 800);
    EXPECT_GE(r.Top, 0);
    EXPECT_LE(r.Bottom, 600);
    EXPECT_EQ(Result().Pixel(r.Left, r.Top), Red);
}

struct OpacityCase {
    uint8_t opacity;
    plat::Color inside; // picture red over a navy background
};

class SlideOpacity : public SlideTest, public testing::WithParamInterface<OpacityCase> {};

TEST_P(SlideOpacity, BlendsPictureWithBackground) {
    pictures["p"] = Solid(100, 100, Red);
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 2);
    proc.SetMask("", GetParam().opacity);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(Result().Pixel(400, 300), GetParam().inside);
    EXPECT_EQ(Result().Pixel(10, 10), NavyRgb);
}

INSTANTIATE_TEST_SUITE_P(Levels, SlideOpacity,
                         testing::Values(OpacityCase{0, NavyRgb}, // picture gone, background only
                                         OpacityCase{255, Red},   // drawn unblended
                                         OpacityCase{128, MakeColor(127, 0, 63)})); // (127×128+128×255)>>8

TEST_F(SlideTest, MaskGivesPerPixelOpacityThenOpacityMixesAgain) {
    pictures["p"] = Solid(100, 100, Red);
    Bitmap mask(2, 1); // stretched over the picture: left half black, right half white
    mask.SetPixel(0, 0, plat::ColorBlack);
    mask.SetPixel(1, 0, plat::ColorWhite);
    pictures["m"] = mask;
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 2);
    proc.SetMask("m", 255);
    ASSERT_TRUE(proc.Execute());
    // Mask 0 leaves the background, one level darker for the division by 256.
    EXPECT_EQ(Result().Pixel(360, 300), MakeColor(0, 0, 127));
    EXPECT_EQ(Result().Pixel(440, 300), MakeColor(254, 0, 0)); // mask 255: 255 × 255 >> 8
    EXPECT_EQ(hints["m"].Width, 100);

    TScrImgProc1 second;
    second.Loader = proc.Loader;
    second.SetCanvas(800, 600);
    second.SetBackgroundColor(Navy);
    second.LoadPicture("p");
    second.SetPictureLayout(0, 2);
    second.SetMask("m", 128);
    ASSERT_TRUE(second.Execute());
    Bitmap out;
    second.AssignResultTo(out);
    // The masked pixel (254, 0, 0) mixes again with navy at 128.
    EXPECT_EQ(out.Pixel(440, 300), MakeColor(127, 0, 63));
    EXPECT_EQ(out.Pixel(360, 300), MakeColor(0, 0, 127));
}

TEST_F(SlideTest, OverlayFollowsRandomPlacement) {
    pictures["p"] = Solid(200, 100, Green);
    Bitmap overlay = Solid(20, 10, plat::ColorWhite); // white frame, red middle
    for (int y = 3; y < 7; ++y)
        for (int x = 6; x < 14; ++x) overlay.SetPixel(x, y, Red);
    pictures["o"] = overlay;
    proc.LoadPicture("p");
    proc.SetPictureLayout(1, 2);
    proc.SetOverlay(1, "o");
    TheRandom().SetSeed(77);
    ASSERT_TRUE(proc.Execute());
    const plat::Rect r = proc.PictureRect;
    ASSERT_NE(r.Left, 300); // not simply centred
    const Bitmap slide = Result();
    EXPECT_EQ(slide.Pixel(r.Left + 100, r.Top + 50), Red); // the overlay's middle on the picture's
    EXPECT_EQ(slide.Pixel(r.Left + 5, r.Top + 5), Green);  // white of the overlay is see-through
    EXPECT_EQ(slide.Pixel(r.Left - 1, r.Top), r.Left > 0 ? NavyRgb : slide.Pixel(r.Left - 1, r.Top));
}

TEST_F(SlideTest, OverlayOverWholeSlide) {
    Bitmap overlay = Solid(8, 6, plat::ColorWhite);
    overlay.SetPixel(0, 0, Blue);
    pictures["o"] = overlay;
    proc.SetPictureLayout(0, 2);
    proc.SetOverlay(2, "o");
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(Result().Pixel(0, 0), Blue);
    EXPECT_EQ(Result().Pixel(99, 99), Blue); // one overlay pixel covers 100 × 100
    EXPECT_EQ(Result().Pixel(100, 100), NavyRgb);
}

TEST_F(SlideTest, LogoIsBlendedAtItsPositionWithoutItsKeyColour) {
    Bitmap logo = Solid(40, 20, Green);
    logo.SetPixel(0, 19, plat::ColorWhite); // bottom-left: the see-through colour
    logo.SetPixel(5, 5, plat::ColorWhite);
    proc.SetPictureLayout(0, 2);
    proc.SetLogo(-1, 10, 255, WriteLogo(logo));
    ASSERT_TRUE(proc.Execute());
    const Bitmap slide = Result();
    // Bottom right, margin 1: the logo covers x 759..798, y 579..598.
    EXPECT_EQ(slide.Pixel(760, 580), MakeColor(0, 159, 0)); // 160 × 255 >> 8
    EXPECT_EQ(slide.Pixel(759 + 5, 579 + 5), NavyRgb);
    EXPECT_EQ(slide.Pixel(799, 599), NavyRgb);
}

TEST_F(SlideTest, LogoTransformTurnsIt) {
    Bitmap logo = Solid(40, 20, Green);
    logo.SetPixel(0, 0, Red);                // top-left: ends top-right after a clockwise turn
    logo.SetPixel(39, 19, plat::ColorWhite); // ends bottom-left, where the see-through colour is read
    proc.SetPictureLayout(0, 2);
    proc.SetLogo(2, 2, 255, WriteLogo(logo)); // clockwise: 20 wide, 40 high, at (1, 1)
    ASSERT_TRUE(proc.Execute());
    const Bitmap slide = Result();
    EXPECT_EQ(slide.Pixel(1 + 19, 1), MakeColor(254, 0, 0));
    EXPECT_EQ(slide.Pixel(1 + 10, 1 + 30), MakeColor(0, 159, 0));
    EXPECT_EQ(slide.Pixel(1, 1 + 39), NavyRgb);
    EXPECT_EQ(slide.Pixel(1 + 20, 1 + 10), NavyRgb);
}

TEST_F(SlideTest, CaptionIsDrawnLastOverLogoAndOverlay) {
    Bitmap logo = Solid(300, 200, Green);
    logo.SetPixel(0, 199, plat::ColorWhite);
    Bitmap overlay = Solid(4, 4, Blue);
    pictures["o"] = overlay;
    proc.SetPictureLayout(0, 2);
    proc.SetLogo(-1, 6, 255, WriteLogo(logo));
    proc.SetOverlay(2, "o");
    proc.SetCaption("WWWW\r\nMMMM", "\"Arial\", 28, [Bold], [$000000FF]", 6, 1);
    ASSERT_TRUE(proc.Execute());
    const Bitmap slide = Result();
    int red = 0;
    for (int y = 250; y < 350; ++y)
        for (int x = 300; x < 500; ++x) red += slide.Pixel(x, y) == Red;
    EXPECT_GT(red, 100);
    EXPECT_EQ(slide.Pixel(5, 5), Blue);
}

TEST_F(SlideTest, GradientReplacesBackgroundColour) {
    proc.SetGradient(1, 0x00FF00, 0x0000FF);
    EXPECT_EQ(proc.BackgroundMode, 2);
    EXPECT_EQ(proc.BackgroundColor, Navy);
    proc.SetPictureLayout(0, 2);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(Result().Pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(Result().Pixel(0, 599), 0x0000FFu);
}

TEST_F(SlideTest, WallpaperTiledFromTopLeft) {
    Bitmap tile(3, 3);
    tile.Fill(Red);
    tile.SetPixel(0, 0, Blue);
    pictures["w"] = tile;
    proc.SetWallpaper(2, "w");
    proc.SetPictureLayout(0, 2);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(Result().Pixel(0, 0), Blue);
    EXPECT_EQ(Result().Pixel(798, 597), Blue); // 266 tiles across, the last cut off
    EXPECT_EQ(Result().Pixel(799, 599), Red);
}

TEST_F(SlideTest, MissingPictureWithOwnSizeLeavesBackground) {
    proc.SetPictureLayout(0, 2);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(Result().Pixel(400, 300), NavyRgb);
    EXPECT_TRUE(proc.Picture.Empty());
}

TEST_F(SlideTest, MissingPictureCannotBeFitted) {
    proc.SetPictureLayout(0, 0);
    EXPECT_FALSE(proc.Execute());
}

struct FailureCase {
    const char* name;
    void (*setUp)(TScrImgProc1&, const std::string& notABitmap);
};

class SlideFailure : public SlideTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(SlideFailure, ExecuteReportsFalse) {
    pictures["p"] = Solid(100, 100, Red);
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 2);
    GetParam().setUp(proc, WriteFile("fake.bmp", "not a bitmap at all"));
    EXPECT_FALSE(proc.Execute());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SlideFailure,
    testing::Values(
        FailureCase{"UnreadablePicture",
                    [](TScrImgProc1& p, const std::string&) { p.LoadPicture("nowhere"); }},
        FailureCase{"MissingWallpaper",
                    [](TScrImgProc1& p, const std::string&) { p.SetWallpaper(0, "nowhere"); }},
        FailureCase{"MissingMask", [](TScrImgProc1& p, const std::string&) { p.SetMask("nowhere", 128); }},
        FailureCase{"MissingOverlay",
                    [](TScrImgProc1& p, const std::string&) { p.SetOverlay(1, "nowhere"); }},
        FailureCase{"LogoNotABitmap",
                    [](TScrImgProc1& p, const std::string& fake) { p.SetLogo(0, 2, 200, fake); }},
        FailureCase{"MaskedWithoutPlacement",
                    [](TScrImgProc1& p, const std::string&) {
                        p.SetPictureLayout(2, 2);
                        p.SetMask("", 100);
                    }},
        FailureCase{"InvalidSize", [](TScrImgProc1& p, const std::string&) { p.SetCanvas(-5, 100); }}),
    [](const testing::TestParamInfo<FailureCase>& i) { return std::string(i.param.name); });

TEST_F(SlideTest, ClearEffectsDropsMaskAndLogo) {
    proc.SetMask("", 0);
    proc.SetLogo(0, 2, 255, "nowhere.bmp");
    proc.ClearEffects();
    pictures["p"] = Solid(100, 100, Red);
    proc.LoadPicture("p");
    proc.SetPictureLayout(0, 2);
    ASSERT_TRUE(proc.Execute());
    EXPECT_EQ(Result().Pixel(400, 300), Red);
}

} // namespace
