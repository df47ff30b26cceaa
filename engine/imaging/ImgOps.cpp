#include "engine/imaging/ImgOps.h"

#include "engine/imaging/ImgGeometry.h"
#include "engine/imaging/RowKernels.h"
#include "somnex/EngineError.h"

#include <cstring>

namespace somnex {

using plat::Bitmap;
using plat::Canvas;
using plat::PixelFormat;
using plat::Rect;

void FillBitmap(Bitmap& bitmap, plat::Color color) {
    Canvas canvas(bitmap);
    canvas.SetPen({color, 1, plat::PenStyle::Solid});
    canvas.SetBrush({color, plat::BrushStyle::Solid});
    canvas.Rectangle(canvas.ClipRect());
}

void SetBitmapSize(Bitmap& bitmap, int32_t width, int32_t height, plat::Color color) {
    bitmap.SetSize(width, height);
    FillBitmap(bitmap, color);
}

void SetBitmapToRect(Bitmap& bitmap, const Rect& rect, plat::Color color) {
    SetBitmapSize(bitmap, rect.Width(), rect.Height(), color);
}

void ResizeBitmap(Bitmap& bitmap, int32_t width, int32_t height, int32_t mode, bool antiAlias) {
    const Rect fitted = FitRect(bitmap.Width(), bitmap.Height(), width, height, mode);
    Bitmap resized(fitted.Width(), fitted.Height());
    if (fitted.Width() + fitted.Height() >= bitmap.Width() + bitmap.Height() || !antiAlias) {
        Canvas(resized).StretchDraw(resized.ClipRect(), bitmap);
    } else {
        TAntiAlias aa;
        ReduceAntiAliased(aa, bitmap, resized);
    }
    // The caller's bitmap keeps its own format and transparency settings.
    bitmap.SetSize(resized.Width(), resized.Height());
    if (bitmap.Format() == PixelFormat::Pf24) {
        for (int y = 0; y < resized.Height(); ++y)
            std::memcpy(bitmap.ScanLine(y), resized.ScanLine(y), size_t(resized.Width()) * 3);
    } else {
        Canvas(bitmap).CopyRect(bitmap.ClipRect(), resized, resized.ClipRect());
    }
}

namespace {

// The source pixel a nearest-neighbour stretch puts under destination pixel i of n: the one under
// the pixel's centre, as the canvas stretches.
int32_t SampleAt(int64_t i, int64_t n, int64_t span) {
    return int32_t(((2 * i + 1) * span) / (2 * n));
}

} // namespace

void ReduceAntiAliased(TAntiAlias& antiAlias, const Bitmap& source, Bitmap& target) {
    if (antiAlias.Factor <= 0) antiAlias.Factor = 3;
    target.SetPixelFormat(PixelFormat::Pf24);
    const int32_t w = target.Width(), h = target.Height();
    if (w == 0 || h == 0) return;
    if (source.Empty()) throw EngineError("Invalid picture size");
    if (source.Transparent()) {
        // Transparent pixels leave the supersampled bitmap's own (black) pixels showing, so this
        // case really needs the bitmap.
        antiAlias.Work = Bitmap(3 * w, 3 * h, PixelFormat::Pf24);
        Canvas(antiAlias.Work).StretchDraw(antiAlias.Work.ClipRect(), source);
        ReduceAntiAliased(antiAlias, antiAlias.Work, target);
        antiAlias.Work = Bitmap();
        return;
    }
    // Sampling the source where the 3× stretch would have read it gives the same averages
    // without building a bitmap nine times the target's size.
    const int32_t bpp = source.BytesPerPixel();
    std::vector<int32_t> offsets(size_t(3) * size_t(w));
    for (size_t i = 0; i < offsets.size(); ++i)
        offsets[i] = bpp * SampleAt(int64_t(i), 3 * w, source.Width());
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* rows[3];
        for (int k = 0; k < 3; ++k) rows[k] = source.ScanLine(SampleAt(3 * y + k, 3 * h, source.Height()));
        AverageRow(rows, offsets.data(), w, target.ScanLine(y));
    }
}

namespace {

Rect PlaceOnCanvas(Canvas& canvas, const Bitmap& picture, bool measureOnly,
                   int32_t (*offset)(int32_t, int32_t)) {
    const Rect clip = canvas.ClipRect();
    const int32_t x = clip.Left + offset(clip.Width(), picture.Width());
    const int32_t y = clip.Top + offset(clip.Height(), picture.Height());
    if (!measureOnly) canvas.Draw(x, y, picture);
    return {x, y, x + picture.Width(), y + picture.Height()};
}

} // namespace

Rect DrawCentered(Canvas& canvas, const Bitmap& picture, bool measureOnly) {
    return PlaceOnCanvas(canvas, picture, measureOnly, CentredOffset);
}

Rect DrawAtRandom(Canvas& canvas, const Bitmap& picture, bool measureOnly) {
    return PlaceOnCanvas(canvas, picture, measureOnly, RandomOffset);
}

void DrawTiled(Canvas& canvas, const Rect& rect, const Bitmap& picture) {
    if (picture.Empty()) return;
    const int32_t pw = picture.Width(), ph = picture.Height();
    const int32_t columns = rect.Width() / pw, rows = rect.Height() / ph;
    // One more row and column than fit whole, so the partial tiles at the edges are drawn too.
    for (int32_t i = 0; i <= rows; ++i)
        for (int32_t j = 0; j <= columns; ++j) canvas.Draw(rect.Left + pw * j, rect.Top + ph * i, picture);
}

void BlendBitmap(int32_t mode, Bitmap& picture, Bitmap* mask, Bitmap& background, uint8_t opacity,
                 plat::Color transparent) {
    if (mode == 2 && !mask) throw EngineError("Blending with a mask needs a mask picture");
    const Bitmap* rowMask = mode == 2 ? mask : nullptr;
    auto tooSmall = [&](const Bitmap& b) {
        return b.Width() < picture.Width() || b.Height() < picture.Height();
    };
    if (tooSmall(background) || (rowMask && tooSmall(*rowMask)))
        throw EngineError("The blend background is smaller than the picture");
    picture.SetPixelFormat(PixelFormat::Pf24);
    if (mask) mask->SetPixelFormat(PixelFormat::Pf24);
    background.SetPixelFormat(PixelFormat::Pf24);
    const bool keyed = picture.Transparent();
    const uint8_t key[3] = {plat::BlueOf(transparent), plat::GreenOf(transparent), plat::RedOf(transparent)};
    for (int y = 0; y < picture.Height(); ++y)
        BlendRow(picture.ScanLine(y), background.ScanLine(y), rowMask ? rowMask->ScanLine(y) : nullptr,
                 picture.Width(), opacity, keyed, key);
}

namespace {

void CopyTransparency(const Bitmap& from, Bitmap& to) {
    to.SetTransparent(from.Transparent());
    if (from.GetTransparentMode() == plat::TransparentMode::Fixed)
        to.SetTransparentColor(from.TransparentColor());
}

// A new bitmap of the same kind, its pixels drawn from the old one over a (possibly mirrored)
// destination rectangle.
void ReplaceByStretch(Bitmap& bitmap, const Rect& to) {
    Bitmap result(bitmap.Width(), bitmap.Height(), bitmap.Format());
    Canvas(result).CopyRect(to, bitmap, bitmap.ClipRect());
    CopyTransparency(bitmap, result);
    bitmap = std::move(result);
}

// Moves whole pixels: source (c, r) lands at `map(c, r)` in a bitmap of swapped sides.
template <class Map>
void RotateQuarter(Bitmap& bitmap, Map map) {
    const int32_t w = bitmap.Width(), h = bitmap.Height(), bpp = bitmap.BytesPerPixel();
    Bitmap result(h, w, bitmap.Format());
    for (int32_t r = 0; r < h; ++r) {
        const uint8_t* src = bitmap.ScanLine(r);
        for (int32_t c = 0; c < w; ++c, src += bpp) {
            const plat::Point p = map(c, r, w, h);
            std::memcpy(result.ScanLine(p.Y) + size_t(p.X) * size_t(bpp), src, size_t(bpp));
        }
    }
    CopyTransparency(bitmap, result);
    bitmap = std::move(result);
}

} // namespace

void Rotate180(Bitmap& bitmap) {
    ReplaceByStretch(bitmap, {bitmap.Width() - 1, bitmap.Height() - 1, -1, -1});
}

void Rotate90CCW(Bitmap& bitmap) {
    RotateQuarter(bitmap, [](int32_t c, int32_t r, int32_t w, int32_t) { return plat::Point{r, w - 1 - c}; });
}

void Rotate90CW(Bitmap& bitmap) {
    RotateQuarter(bitmap, [](int32_t c, int32_t r, int32_t, int32_t h) { return plat::Point{h - 1 - r, c}; });
}

void MirrorHorizontal(Bitmap& bitmap) {
    ReplaceByStretch(bitmap, {bitmap.Width() - 1, 0, -1, bitmap.Height()});
}

void FlipVertical(Bitmap& bitmap) {
    ReplaceByStretch(bitmap, {0, bitmap.Height() - 1, bitmap.Width(), -1});
}

} // namespace somnex
