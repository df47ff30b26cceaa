#pragma once
// GDI-like drawing onto a Bitmap: every operation clips to the bitmap and, when one is set, to
// the clip region. Shapes are aliased; coordinates are right and bottom exclusive.
#include "platform/raster/Bitmap.h"
#include "platform/raster/Font.h"
#include "platform/raster/Region.h"

#include <optional>
#include <string>
#include <vector>

namespace plat {

enum class PenStyle { Solid, Clear };
enum class BrushStyle { Solid, Clear };
enum class BackgroundMode { Opaque, Transparent };

struct Pen {
    Color PenColor = ColorBlack;
    int Width = 1;
    PenStyle Style = PenStyle::Solid;
};

struct Brush {
    Color BrushColor = ColorWhite;
    BrushStyle Style = BrushStyle::Solid;
};

// Text-drawing flags, with the values of the platform's text drawing.
namespace TextFlags {
constexpr int Left = 0x0;
constexpr int Center = 0x1;
constexpr int Right = 0x2;
constexpr int VCenter = 0x4;
constexpr int Bottom = 0x8;
constexpr int WordBreak = 0x10;
constexpr int SingleLine = 0x20;
constexpr int NoClip = 0x100;
constexpr int CalcRect = 0x400;
} // namespace TextFlags

class Canvas {
public:
    explicit Canvas(Bitmap& target) : bmp_(target) {}

    Bitmap& Target() { return bmp_; }
    Rect ClipRect() const; // the bitmap, narrowed to the clip region's box

    plat::Pen& Pen() { return pen_; }
    plat::Brush& Brush() { return brush_; }
    FontSpec& Font() { return font_; }
    void SetPen(const plat::Pen& p) { pen_ = p; }
    void SetBrush(const plat::Brush& b) { brush_ = b; }
    void SetFont(const FontSpec& f) { font_ = f; }
    BackgroundMode GetBackgroundMode() const { return bkMode_; }
    void SetBackgroundMode(BackgroundMode m) { bkMode_ = m; }

    void SetClipRegion(const Region& r) { clip_ = r; }
    void ClearClipRegion() { clip_.reset(); }
    const std::optional<Region>& ClipRegion() const { return clip_; }

    // Brush fills (no outline). A clear brush fills nothing.
    void FillRect(const Rect& r);
    void FillRect(const Rect& r, Color c);
    void FillRegion(const Region& r);

    // Filled with the brush and outlined with the pen, the outline lying inside the shape.
    void Rectangle(const Rect& r);
    void Ellipse(const Rect& r);
    void RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight);
    void Polygon(const std::vector<Point>& points, FillRule rule = FillRule::EvenOdd);

    // Nearest-neighbour stretch of `src` part `from` onto part `to` of this canvas (colour-on-
    // colour). A destination with right < left (bottom < top) is drawn mirrored and covers
    // columns right + 1 .. left (rows bottom + 1 .. top), the source's first column landing on
    // `left`. Source pixels outside `src` are not drawn. `src` may be this canvas's own bitmap;
    // the copy then reads the pixels as they were before it. Ignores transparency.
    void CopyRect(const Rect& to, const Bitmap& src, const Rect& from);
    // Whole-bitmap stretch; leaves out the transparent colour when src.Transparent().
    void StretchDraw(const Rect& to, const Bitmap& src);
    // At its own size with its top-left corner at (x, y); honours src.Transparent().
    void Draw(int x, int y, const Bitmap& src);

    // Text in the font's colour. In opaque background mode the text cells are filled with the
    // brush colour first (unless the brush is clear).
    void TextOut(int x, int y, const std::string& text);
    // Lines split at CR LF / LF; flags from TextFlags. Returns the height of the drawn text;
    // with TextFlags::CalcRect nothing is drawn and `r` is set to the bounds the text needs.
    int DrawText(Rect& r, const std::string& text, int flags);
    Size TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).Width; }
    int TextHeight(const std::string& text) { return TextExtent(text).Height; }

private:
    void FillSpans(const Region& area, Color c);
    void OutlineRegion(const Region& outer, const Region& inner);
    Region Clipped(const Region& r) const;

    Bitmap& bmp_;
    plat::Pen pen_;
    plat::Brush brush_;
    FontSpec font_;
    BackgroundMode bkMode_ = BackgroundMode::Opaque;
    std::optional<Region> clip_;
};

} // namespace plat
