#include "engine/imaging/ScrImgProc1.h"

#include "engine/imaging/Gradient.h"
#include "engine/imaging/ImageProcess.h"
#include "engine/imaging/ImgColor.h"
#include "engine/imaging/ImgOps.h"
#include "platform/raster/BitmapFile.h"
#include "platform/raster/Canvas.h"
#include "somnex/EngineError.h"

namespace somnex {

using plat::Bitmap;
using plat::Canvas;

void TBaseImgProc::SetCanvas(int32_t width, int32_t height) {
    CanvasWidth = width;
    CanvasHeight = height;
}

void TBaseImgProc::SetPictureLayout(int32_t picturePos, int32_t sizeMode) {
    PicturePos = picturePos;
    SizeMode = sizeMode;
}

void TBaseImgProc::LoadPicture(const std::string& path) {
    PictureFile = path;
}

void TBaseImgProc::SetBackgroundColor(int32_t color) {
    BackgroundMode = 0;
    BackgroundColor = color;
}

void TBaseImgProc::SetWallpaper(int32_t wallpaperMode, const std::string& path) {
    BackgroundMode = 1;
    WallpaperMode = wallpaperMode;
    WallpaperFile = path;
}

void TBaseImgProc::SetGradient(uint8_t direction, int32_t color1, int32_t color2) {
    BackgroundMode = 2;
    GradientDirection = direction;
    GradientColor1 = color1;
    GradientColor2 = color2;
}

Bitmap TBaseImgProc::Load(const std::string& path, const PictureSizeHint& hint) const {
    Bitmap picture = Loader(path, hint);
    picture.SetPixelFormat(plat::PixelFormat::Pf24);
    return picture;
}

void TBaseImgProc::ReadPicture() {
    if (PictureFile.empty()) return;
    PictureSizeHint hint;
    if (SizeMode == 0 || SizeMode == 1) hint = {CanvasWidth, CanvasHeight, SizeMode == 0};
    Picture = Load(PictureFile, hint);
}

void TBaseImgProc::DrawBackground() {
    SetBitmapSize(Slide, CanvasWidth, CanvasHeight, ColorToRGB(BackgroundColor));
    Canvas canvas(Slide);
    if (BackgroundMode == 1 && !WallpaperFile.empty()) {
        const Bitmap wallpaper =
            Load(WallpaperFile,
                 WallpaperMode == 0 ? PictureSizeHint{CanvasWidth, CanvasHeight, false} : PictureSizeHint{});
        switch (WallpaperMode) {
        case 0:
            canvas.StretchDraw(canvas.ClipRect(), wallpaper);
            break;
        case 1:
            DrawCentered(canvas, wallpaper, false);
            break;
        case 2:
            DrawTiled(canvas, canvas.ClipRect(), wallpaper);
            break;
        default:
            break;
        }
    } else if (BackgroundMode == 2) {
        DrawGradient(canvas, GradientDirection, ColorToRGB(GradientColor1), ColorToRGB(GradientColor2),
                     canvas.ClipRect());
    }
}

void TScrImgProc1::ClearEffects() {
    Masked = false;
    HasLogo = false;
}

void TScrImgProc1::SetMask(const std::string& maskFile, uint8_t opacity) {
    Masked = true;
    MaskFile = maskFile;
    PictureOpacity = opacity;
}

void TScrImgProc1::SetOverlay(int32_t mode, const std::string& path) {
    OverlayMode = mode;
    OverlayFile = path;
}

void TScrImgProc1::SetLogo(int32_t transform, int32_t position, uint8_t opacity, const std::string& path) {
    HasLogo = true;
    LogoTransform = transform;
    LogoPosition = position;
    LogoOpacity = opacity;
    LogoFile = path;
}

void TScrImgProc1::SetCaption(const std::string& text, const std::string& font, int32_t position,
                              int32_t format) {
    CaptionText = text;
    CaptionFont = font;
    CaptionPosition = position;
    CaptionFormat = format;
}

bool TScrImgProc1::Execute() {
    try {
        DrawBackground();
        DrawPicture();
        DrawLogo();
        DrawOverlay();
        DrawCaption();
        return true;
    } catch (...) {
        return false;
    }
}

void TScrImgProc1::DrawPicture() {
    ReadPicture();
    if (SizeMode == 0 || SizeMode == 1) {
        // Fitting needs the picture's proportions, which a picture without pixels lacks.
        if (Picture.Empty()) throw EngineError("There is no picture to fit");
        ResizeBitmap(Picture, CanvasWidth, CanvasHeight, SizeMode == 0 ? 4 : 1, true);
    }
    Canvas canvas(Slide);
    if (PicturePos == 0)
        PictureRect = DrawCentered(canvas, Picture, Masked);
    else if (PicturePos == 1)
        PictureRect = DrawAtRandom(canvas, Picture, Masked);
    if (!Masked) return;
    BlendPicture();
    if (PictureOpacity > 0) canvas.StretchDraw(PictureRect, Picture);
}

void TScrImgProc1::BlendPicture() {
    // What the slide showed under the picture before any blending; both blends mix with it.
    Bitmap background;
    SetBitmapToRect(background, PictureRect, plat::ColorWhite);
    Canvas(background).CopyRect(background.ClipRect(), Slide, PictureRect);
    if (!MaskFile.empty()) {
        const Bitmap loaded = Load(MaskFile, {Picture.Width(), Picture.Height(), false});
        Bitmap mask;
        SetBitmapSize(mask, Picture.Width(), Picture.Height(), plat::ColorWhite);
        Canvas(mask).StretchDraw(mask.ClipRect(), loaded);
        BlendBitmap(2, Picture, &mask, background, 255, plat::ColorWhite);
    }
    if (PictureOpacity > 0 && PictureOpacity < 255)
        BlendBitmap(1, Picture, nullptr, background, PictureOpacity, plat::ColorWhite);
}

void TScrImgProc1::DrawLogo() {
    if (!HasLogo || LogoPosition <= 0) return;
    TImageLogoProcess process;
    process.LoadFrom(Slide);
    process.Logo = plat::LoadBitmapFile(LogoFile);
    process.Position = LogoPosition;
    process.Opacity = LogoOpacity;
    process.Transform = LogoTransform;
    process.Execute();
    process.AssignTo(Slide);
}

void TScrImgProc1::DrawOverlay() {
    if (OverlayMode == 0 || OverlayFile.empty()) return;
    const Bitmap overlay = Load(OverlayFile, {});
    Bitmap frame;
    SetBitmapToRect(frame, Canvas(Slide).ClipRect(), plat::ColorWhite);
    frame.SetTransparentColor(plat::ColorWhite);
    frame.SetTransparent(true);
    if (OverlayMode == 1)
        Canvas(frame).StretchDraw(PictureRect, overlay);
    else if (OverlayMode == 2)
        Canvas(frame).StretchDraw(frame.ClipRect(), overlay);
    Canvas(Slide).Draw(0, 0, frame);
}

void TScrImgProc1::DrawCaption() {
    if (CaptionPosition <= 0) return;
    TImageDrawTextProcess process;
    process.LoadFrom(Slide);
    process.Option = CaptionOption(CaptionFont);
    process.Option.Position = CaptionPosition;
    process.Option.Format = CaptionFormat;
    process.Option.BorderWidth = 0;
    process.Text = CaptionText;
    process.Execute();
    process.AssignTo(Slide);
}

} // namespace somnex
