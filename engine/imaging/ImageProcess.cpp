#include "engine/imaging/ImageProcess.h"

#include "engine/imaging/ImgGeometry.h"
#include "engine/imaging/ImgOps.h"
#include "platform/raster/Canvas.h"

namespace somnex {

void TBaseImageProcess::LoadFrom(const plat::Bitmap& picture) {
    Work.Assign(picture);
    Work.SetPixelFormat(plat::PixelFormat::Pf24);
}

void TImageAdjustSizeProcess::Execute() {
    TBaseImageProcess::Execute();
    ResizeBitmap(Work, Width, Height, Mode, true);
}

void ApplyLogoTransform(plat::Bitmap& logo, int32_t transform) {
    switch (transform) {
    case 0:
        Rotate180(logo);
        break;
    case 1:
        Rotate90CCW(logo);
        break;
    case 2:
        Rotate90CW(logo);
        break;
    case 3:
        MirrorHorizontal(logo);
        break;
    case 4:
        FlipVertical(logo);
        break;
    default:
        break;
    }
}

void TImageLogoProcess::Execute() {
    TBaseImageProcess::Execute();
    if (Position == 0) return;
    ApplyLogoTransform(Logo, Transform);
    const plat::Rect at = PlaceRect(Position, Work.Width(), Work.Height(), 1, Logo.Width(), Logo.Height());
    // The logo's bottom-left colour is its see-through colour when it is finally drawn.
    Logo.SetTransparent(true);
    Logo.SetTransparentMode(plat::TransparentMode::Auto);
    plat::Bitmap under(Logo.Width(), Logo.Height(), plat::PixelFormat::Pf24);
    plat::Canvas(under).CopyRect(under.ClipRect(), Work, at);
    BlendBitmap(1, Logo, nullptr, under, Opacity, plat::ColorWhite);
    plat::Canvas(Work).StretchDraw(at, Logo);
}

void TImageDrawTextProcess::Execute() {
    TBaseImageProcess::Execute();
    DrawTextBlock(Work, SplitTextLines(Text), Option);
}

} // namespace somnex
