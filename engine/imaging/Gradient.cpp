#include "engine/imaging/Gradient.h"

#include "engine/imaging/GradientPattern.h"
#include "engine/imaging/GradientSpans.h"

#include <cstring>
#include <string>

namespace somnex {

namespace {

// The diagonal bands end on the last column and row, which a fill leaves out as it leaves out
// every right and bottom edge; they take their neighbours' colours instead of the start colour.
void ExtendLastColumnAndRow(plat::Bitmap& b) {
    const int32_t w = b.Width(), h = b.Height();
    if (w < 2 || h < 2) return;
    const int bpp = b.BytesPerPixel();
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = b.ScanLine(y);
        std::memcpy(row + (w - 1) * bpp, row + (w - 2) * bpp, size_t(bpp));
    }
    std::memcpy(b.ScanLine(h - 1), b.ScanLine(h - 2), size_t(w) * size_t(bpp));
}

} // namespace

void DrawGradient(plat::Canvas& canvas, uint8_t direction, plat::Color color1, plat::Color color2,
                  const plat::Rect& rect) {
    plat::Bitmap temp(rect.Width(), rect.Height());
    // Pixels no shape reaches (all of them for a direction above 12) show the start colour.
    temp.Fill(GradientStepColor(color1, color2, 0, 1));
    GradientSpanPainter painter;
    PaintGradientPattern(painter, direction, color1, color2, rect.Width(), rect.Height());
    painter.Render(temp);
    if (direction >= 6 && direction <= 9) ExtendLastColumnAndRow(temp);
    // Both copies put temporary pixel (x, y) at canvas pixel (x, y); the second one matters only
    // to a canvas whose clip region differs between the two areas.
    canvas.CopyRect(temp.ClipRect(), temp, temp.ClipRect());
    const plat::Rect inside = rect.Intersect(temp.ClipRect());
    if (!inside.IsEmpty()) canvas.CopyRect(inside, temp, inside);
}

plat::Bitmap RenderGradientSheet(int32_t width, int32_t height, plat::Color color1, plat::Color color2) {
    constexpr int32_t columns = 4, rows = 4, gap = 8, label = 18;
    plat::Bitmap sheet(width, height);
    sheet.Fill(0x303030);
    plat::Canvas canvas(sheet);
    const int32_t cellW = (width - gap * (columns + 1)) / columns;
    const int32_t cellH = (height - gap * (rows + 1)) / rows - label;
    if (cellW <= 0 || cellH <= 0) return sheet;
    canvas.Font().FontColor = plat::ColorWhite;
    canvas.SetBackgroundMode(plat::BackgroundMode::Transparent);
    for (uint8_t d = 0; d < GradientDirectionCount; ++d) {
        const int32_t x = gap + (d % columns) * (cellW + gap);
        const int32_t y = gap + (d / columns) * (cellH + label + gap);
        plat::Bitmap cell(cellW, cellH);
        plat::Canvas cellCanvas(cell);
        DrawGradient(cellCanvas, d, color1, color2, cell.ClipRect());
        canvas.Draw(x, y + label, cell);
        canvas.TextOut(x, y, "Direction " + std::to_string(d));
    }
    return sheet;
}

} // namespace somnex
