#include "engine/transitions/TransitionRender.h"

#include "engine/transitions/BitmapView.h"
#include "engine/transitions/PSEffect.h"
#include "engine/transitions/PicShow.h"
#include "engine/transitions/RowOps.h"
#include "platform/raster/Canvas.h"
#include "somnex/EngineError.h"

#include <string>

namespace somnex {

namespace {

struct Prepared {
    plat::Bitmap Old, Image;
};

// The old screen and the image as the player holds them: picture-sized, 32 bits per pixel.
Prepared Prepare(int style, const plat::Bitmap& from, const plat::Bitmap& to) {
    if (style < 1 || style > EffectCount)
        throw EngineError("Transition style " + std::to_string(style) + " does not exist");
    if (from.Empty() || to.Empty()) throw EngineError("Transition pictures must not be empty");
    Prepared p{plat::Bitmap(to.Width(), to.Height(), plat::PixelFormat::Pf32), to};
    p.Image.SetPixelFormat(plat::PixelFormat::Pf32);
    StretchCopy(ViewOf(p.Old), {0, 0, to.Width(), to.Height()}, ViewOf(from),
                {0, 0, from.Width(), from.Height()});
    return p;
}

void DrawFrame(int style, int progress, int step, const Prepared& p, plat::Bitmap& frame) {
    const PixelView display = ViewOf(frame);
    CopyPixels(display, ViewOf(p.Old));
    if (progress >= 100) {
        CopyPixels(display, ViewOf(p.Image));
    } else if (progress > 0) {
        TRect update{0, 0, frame.Width(), frame.Height()};
        TransitionEffects[size_t(style - 1)].Proc(display, ViewOf(p.Image), update, step, progress);
    }
}

int ClampStep(int step) {
    return step < 1 ? 1 : step > 100 ? 100 : step;
}

} // namespace

plat::Bitmap RenderTransitionFrame(int style, int progress, const plat::Bitmap& from, const plat::Bitmap& to,
                                   int step) {
    const Prepared p = Prepare(style, from, to);
    plat::Bitmap frame(to.Width(), to.Height(), plat::PixelFormat::Pf32);
    DrawFrame(style, progress < 0 ? 0 : progress, ClampStep(step), p, frame);
    return frame;
}

void ForEachTransitionFrame(int style, const plat::Bitmap& from, const plat::Bitmap& to, int step,
                            bool reverse, const std::function<void(int, const plat::Bitmap&)>& frame) {
    const Prepared p = Prepare(style, from, to);
    step = ClampStep(step);
    plat::Bitmap display(to.Width(), to.Height(), plat::PixelFormat::Pf32);
    int progress = reverse ? 100 : 0;
    do {
        progress = NextProgress(progress, step, reverse);
        DrawFrame(style, progress, step, p, display);
        frame(progress, display);
    } while (!AtEnd(progress, reverse));
}

plat::Bitmap EffectsContactSheet(const plat::Bitmap& from, const plat::Bitmap& to, int progress,
                                 int columns) {
    if (columns < 1) columns = 1;
    const int cellW = to.Width(), cellH = to.Height(), label = 16, gap = 4;
    const int rows = (EffectCount + columns - 1) / columns;
    plat::Bitmap sheet(columns * (cellW + gap) + gap, rows * (cellH + label + gap) + gap,
                       plat::PixelFormat::Pf32);
    sheet.Fill(plat::MakeColor(48, 48, 48));
    plat::Canvas canvas(sheet);
    canvas.Font().Size = 7;
    canvas.Font().FontColor = plat::ColorWhite;
    canvas.SetBackgroundMode(plat::BackgroundMode::Transparent);
    const Prepared p = Prepare(1, from, to);
    plat::Bitmap frame(cellW, cellH, plat::PixelFormat::Pf32);
    for (int style = 1; style <= EffectCount; ++style) {
        const int x = gap + ((style - 1) % columns) * (cellW + gap);
        const int y = gap + ((style - 1) / columns) * (cellH + label + gap);
        DrawFrame(style, progress, 4, p, frame);
        canvas.Draw(x, y, frame);
        plat::Rect text{x, y + cellH, x + cellW, y + cellH + label};
        canvas.DrawText(text,
                        std::to_string(style) + " " + std::string(TransitionEffects[size_t(style - 1)].Name),
                        plat::TextFlags::Left | plat::TextFlags::VCenter | plat::TextFlags::SingleLine);
    }
    return sheet;
}

} // namespace somnex
