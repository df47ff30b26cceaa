#include "engine/imaging/SlideRecipes.h"
#include "platform/raster/BitmapFile.h"
#include "somnex/EngineError.h"

#include "tests/imaging/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace somnex;

namespace {

// A folder holding one existing file of each kind an entry names.
class RecipeTest : public testing::Test {
protected:
    void SetUp() override {
        picture = Touch("picture.jpg");
        mask = Touch("mask.png");
        overlay = Touch("overlay.png");
        logo = Touch("logo.bmp");
        wallpaper = Touch("wall.jpg");
        missing = (dir_ / "missing.png").string();

        project.BuildSetting.ImageWidth = 640;
        project.BuildSetting.ImageHeight = 480;
        project.ImageSetting.ImagePos = 1;
        project.ImageSetting.SizeMode = 0;
        project.ImageSetting.CaptionPos = 9;
        project.Background.BackgroundColor = 0x112233;

        entry.FileName = picture;
        entry.Caption = "Sea\r\nat dawn";
        entry.CaptionFont = "\"Arial\", 12, [], [clWhite]";
        entry.CaptionAlign = 1;
        entry.CaptionPos = -1;
        entry.Opacity = 40;
    }

    std::string Touch(const std::string& name) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path) << "x";
        return path;
    }

    testing_support::TempFolder folder_{"somnex-recipe-"};
    const std::filesystem::path& dir_ = folder_.Path();
    std::string picture, mask, overlay, logo, wallpaper, missing;
    TIniPCVProjectFile project;
    TImageRec entry;
    TScrImgProc1 build, preview;
};

TEST_F(RecipeTest, BothTakeLayoutCaptionAndBackgroundFromProject) {
    SetUpBuildSlide(build, entry, project);
    SetUpPreviewSlide(preview, entry, project, 1024, 768);
    EXPECT_EQ(build.CanvasWidth, 640);
    EXPECT_EQ(build.CanvasHeight, 480);
    EXPECT_EQ(preview.CanvasWidth, 1024);
    EXPECT_EQ(preview.CanvasHeight, 768);
    for (const TScrImgProc1* p : {&build, &preview}) {
        EXPECT_EQ(p->PictureFile, picture);
        EXPECT_EQ(p->PicturePos, 1);
        EXPECT_EQ(p->SizeMode, 0);
        EXPECT_EQ(p->CaptionPosition, 9); // the entry's -1 means the project's position
        EXPECT_EQ(p->CaptionFormat, 1);
        EXPECT_EQ(p->CaptionText, entry.Caption);
        EXPECT_EQ(p->BackgroundMode, 0);
        EXPECT_EQ(p->BackgroundColor, 0x112233);
    }
    entry.CaptionPos = 4;
    TScrImgProc1 own;
    SetUpBuildSlide(own, entry, project);
    EXPECT_EQ(own.CaptionPosition, 4);
}

TEST_F(RecipeTest, OpacityCountsInBuildOnlyForTransparentEntries) {
    SetUpBuildSlide(build, entry, project);
    SetUpPreviewSlide(preview, entry, project, 800, 600);
    EXPECT_FALSE(build.Masked);
    EXPECT_TRUE(preview.Masked);
    EXPECT_EQ(preview.PictureOpacity, 40);
    EXPECT_EQ(preview.MaskFile, "");

    entry.Transparent = true;
    entry.MaskFile = mask;
    TScrImgProc1 b2, p2;
    SetUpBuildSlide(b2, entry, project);
    SetUpPreviewSlide(p2, entry, project, 800, 600);
    for (const TScrImgProc1* p : {&b2, &p2}) {
        EXPECT_TRUE(p->Masked);
        EXPECT_EQ(p->MaskFile, mask);
        EXPECT_EQ(p->PictureOpacity, 40);
    }

    entry.MaskFile = missing;
    TScrImgProc1 b3;
    SetUpBuildSlide(b3, entry, project);
    EXPECT_TRUE(b3.Masked);
    EXPECT_EQ(b3.MaskFile, "");
}

TEST_F(RecipeTest, MissingFilesAreLeftOutDifferently) {
    project.Background.BackgroundMode = 1;
    project.Background.ImageWallpaperMode = 2;
    project.Background.ImageFile = missing;
    entry.OverlayMode = 2;
    entry.OverlayFile = missing;
    entry.LogoPos = 3;
    entry.LogoFile = missing;
    SetUpBuildSlide(build, entry, project);
    SetUpPreviewSlide(preview, entry, project, 800, 600);
    EXPECT_EQ(build.BackgroundMode, 0); // the build checks the wallpaper, the preview does not
    EXPECT_EQ(preview.BackgroundMode, 1);
    EXPECT_EQ(preview.WallpaperFile, missing);
    EXPECT_EQ(build.OverlayMode, 0);
    EXPECT_EQ(preview.OverlayMode, 0);
    EXPECT_EQ(preview.OverlayFile, missing);
    EXPECT_FALSE(build.HasLogo);
    EXPECT_FALSE(preview.HasLogo);
}

TEST_F(RecipeTest, ExistingDecorationsAreSet) {
    project.Background.BackgroundMode = 1;
    project.Background.ImageWallpaperMode = 1;
    project.Background.ImageFile = wallpaper;
    entry.OverlayMode = 1;
    entry.OverlayFile = overlay;
    entry.LogoPos = 7;
    entry.LogoFile = logo;
    entry.LogoAlpha = 99;
    entry.LogoTransform = 3;
    SetUpBuildSlide(build, entry, project);
    EXPECT_EQ(build.BackgroundMode, 1);
    EXPECT_EQ(build.WallpaperMode, 1);
    EXPECT_EQ(build.OverlayMode, 1);
    EXPECT_EQ(build.OverlayFile, overlay);
    EXPECT_TRUE(build.HasLogo);
    EXPECT_EQ(build.LogoPosition, 7);
    EXPECT_EQ(build.LogoOpacity, 99);
    EXPECT_EQ(build.LogoTransform, 3);

    project.Background.BackgroundMode = 2;
    project.Background.GradientDirection = 5;
    project.Background.GradientColor_01 = 0xFF;
    project.Background.GradientColor_02 = 0xFF00;
    TScrImgProc1 g;
    SetUpBuildSlide(g, entry, project);
    EXPECT_EQ(g.BackgroundMode, 2);
    EXPECT_EQ(g.GradientDirection, 5);
    EXPECT_EQ(g.GradientColor2, 0xFF00);
}

TEST_F(RecipeTest, MissingPictureIsNoPreviewSlide) {
    entry.FileName = missing;
    plat::Bitmap slide(3, 3);
    EXPECT_FALSE(PreparePreviewSlide(entry, project, 800, 600, slide));
    EXPECT_TRUE(slide.Empty());
    // The build goes on without it; with a fit size mode that is a failed slide.
    EXPECT_FALSE(PrepareBuildSlide(entry, project, slide));
    project.ImageSetting.SizeMode = 2;
    ASSERT_TRUE(PrepareBuildSlide(entry, project, slide));
    EXPECT_EQ(slide.Width(), 640);
    EXPECT_EQ(slide.Pixel(320, 240), 0x112233u);
}

TEST_F(RecipeTest, PreparesWithTheGivenLoader) {
    plat::Bitmap red(100, 50);
    red.Fill(0x0000FF);
    auto loader = [&](const std::string& path, const PictureSizeHint&) {
        if (path != picture) throw EngineError("unexpected " + path);
        return red;
    };
    entry.CaptionPos = 0;
    project.ImageSetting.ImagePos = 0;
    project.ImageSetting.SizeMode = 1;
    plat::Bitmap slide;
    ASSERT_TRUE(PrepareBuildSlide(entry, project, slide, loader));
    EXPECT_EQ(slide.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(slide.Pixel(639, 479), 0x0000FFu);
    // The preview blends at the entry's opacity 40 even though the entry is not transparent.
    ASSERT_TRUE(PreparePreviewSlide(entry, project, 320, 200, slide, loader));
    EXPECT_EQ(slide.Width(), 320);
    EXPECT_EQ(plat::RedOf(slide.Pixel(10, 10)), ((255 - 40) * 0x33 + 40 * 255) >> 8);
}

} // namespace
