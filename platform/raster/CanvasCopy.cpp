#include "platform/raster/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace plat {

namespace {

struct CopyJob {
    Rect to;
    Rect from;
    bool transparent = false;
    Color key = 0;
};

// Maps destination offset i (0 .. n-1 from the anchor edge) to a source coordinate: the source
// pixel under the destination pixel's centre.
inline int SourceAt(int64_t i, int64_t n, int first, int64_t span) {
    return first + int(((2 * i + 1) * span) / (2 * n));
}

void StretchInto(Bitmap& dst, const CopyJob& job, const Bitmap& src, const std::optional<Region>& clip) {
    const Rect& to = job.to;
    const Rect& from = job.from;
    const int64_t sw = from.Width(), sh = from.Height();
    const int64_t dw = to.Width(), dh = to.Height();
    if (sw <= 0 || sh <= 0 || dw == 0 || dh == 0 || dst.Empty() || src.Empty()) return;
    const bool mirrorX = dw < 0, mirrorY = dh < 0;
    const int64_t nx = mirrorX ? -dw : dw, ny = mirrorY ? -dh : dh;
    // The destination pixels covered, whichever way round the rectangle is given.
    const Rect box{mirrorX ? to.Right + 1 : to.Left, mirrorY ? to.Bottom + 1 : to.Top,
                   mirrorX ? to.Left + 1 : to.Right, mirrorY ? to.Top + 1 : to.Bottom};
    const Rect vis = box.Intersect(dst.ClipRect());
    if (vis.IsEmpty()) return;

    const int sbpp = src.BytesPerPixel(), dbpp = dst.BytesPerPixel();
    // Source byte offset per visible destination column, -1 where the source has no pixel.
    std::vector<int> xmap(size_t(vis.Width()));
    bool identityX = !mirrorX && nx == sw && sbpp == dbpp;
    for (int x = vis.Left; x < vis.Right; ++x) {
        const int64_t i = mirrorX ? to.Left - x : x - to.Left;
        const int sx = SourceAt(i, nx, from.Left, sw);
        xmap[size_t(x - vis.Left)] = (sx < 0 || sx >= src.Width()) ? -1 : sx * sbpp;
        if (sx < 0 || sx >= src.Width()) identityX = false;
    }
    const uint8_t kb = BlueOf(job.key), kg = GreenOf(job.key), kr = RedOf(job.key);

    std::vector<Rect> parts;
    if (clip)
        parts = clip->Intersected(Region::FromRect(vis)).Rects();
    else
        parts.push_back(vis);

    for (const Rect& part : parts) {
        int prevSy = -1;
        for (int y = part.Top; y < part.Bottom; ++y) {
            const int64_t j = mirrorY ? to.Top - y : y - to.Top;
            const int sy = SourceAt(j, ny, from.Top, sh);
            if (sy < 0 || sy >= src.Height()) continue;
            uint8_t* d = dst.ScanLine(y);
            const size_t off = size_t(part.Left - vis.Left);
            if (!job.transparent && sy == prevSy) {
                std::memcpy(d + part.Left * dbpp, dst.ScanLine(y - 1) + part.Left * dbpp,
                            size_t(part.Width()) * size_t(dbpp));
                continue;
            }
            prevSy = sy;
            const uint8_t* s = src.ScanLine(sy);
            if (identityX && !job.transparent) {
                std::memcpy(d + part.Left * dbpp, s + xmap[off], size_t(part.Width()) * size_t(dbpp));
                continue;
            }
            const int* xm = xmap.data() + off;
            uint8_t* dp = d + part.Left * dbpp;
            for (int k = 0; k < part.Width(); ++k, dp += dbpp) {
                if (xm[k] < 0) continue;
                const uint8_t* sp = s + xm[k];
                if (job.transparent && sp[0] == kb && sp[1] == kg && sp[2] == kr) continue;
                dp[0] = sp[0];
                dp[1] = sp[1];
                dp[2] = sp[2];
            }
            // A skipped row breaks the row-repeat shortcut for the next one.
            if (job.transparent) prevSy = -1;
        }
    }
}

void Copy(Bitmap& dst, CopyJob job, const Bitmap& src, const std::optional<Region>& clip) {
    if (&dst != &src) {
        StretchInto(dst, job, src, clip);
        return;
    }
    // A self copy reads a snapshot of just the source part.
    const Rect part = job.from.Intersect(src.ClipRect());
    if (part.IsEmpty()) return;
    Bitmap snap(part.Width(), part.Height(), src.Format());
    const size_t bytes = size_t(part.Width()) * size_t(src.BytesPerPixel());
    for (int y = 0; y < part.Height(); ++y)
        std::memcpy(snap.ScanLine(y), src.ScanLine(part.Top + y) + part.Left * src.BytesPerPixel(), bytes);
    job.from = job.from.Offset(-part.Left, -part.Top);
    StretchInto(dst, job, snap, clip);
}

} // namespace

void Canvas::CopyRect(const Rect& to, const Bitmap& src, const Rect& from) {
    Copy(bmp_, CopyJob{to, from, false, 0}, src, clip_);
}

void Canvas::StretchDraw(const Rect& to, const Bitmap& src) {
    Copy(bmp_, CopyJob{to, src.ClipRect(), src.Transparent(), src.TransparentColor()}, src, clip_);
}

void Canvas::Draw(int x, int y, const Bitmap& src) {
    StretchDraw({x, y, x + src.Width(), y + src.Height()}, src);
}

} // namespace plat
