#include "engine/transitions/RowOps.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace somnex {

namespace {

// Moves one pixel between formats: the colour bytes come across, a fourth byte is kept.
inline void PutPixel(uint8_t* d, int32_t dbpp, const uint8_t* s, int32_t sbpp) {
    if (dbpp == sbpp) {
        std::memcpy(d, s, size_t(dbpp));
    } else {
        d[0] = s[0], d[1] = s[1], d[2] = s[2];
        if (dbpp == 4) d[3] = 0xFF;
    }
}

// For destination positions d0..d1-1 of a run of length dn starting at dStart, the source index in
// a run of length sn starting at sStart (or mirrored), -1 where it falls outside 0..limit-1.
std::vector<int32_t> SourceMap(int32_t d0, int32_t d1, int32_t dStart, int32_t dn, int32_t sStart, int32_t sn,
                               bool mirror, int32_t limit) {
    std::vector<int32_t> map(size_t(std::max(d1 - d0, 0)));
    for (int32_t d = d0; d < d1; ++d) {
        // Sample at the pixel centre: (2k + 1) / 2 of a destination pixel.
        int32_t off = int32_t((int64_t(2 * (d - dStart) + 1) * sn) / (int64_t(2) * dn));
        int32_t s = mirror ? sStart + sn - 1 - off : sStart + off;
        map[size_t(d - d0)] = s >= 0 && s < limit ? s : -1;
    }
    return map;
}

} // namespace

void CopyPixels(const PixelView& dst, const PixelView& src) {
    int32_t w = std::min(dst.Width, src.Width), h = std::min(dst.Height, src.Height);
    if (w <= 0 || h <= 0) return;
    for (int32_t y = 0; y < h; ++y) {
        if (dst.BytesPerPixel == src.BytesPerPixel) {
            std::memcpy(dst.Row(y), src.Row(y), size_t(w) * size_t(dst.BytesPerPixel));
        } else {
            uint8_t* d = dst.Row(y);
            const uint8_t* s = src.Row(y);
            for (int32_t x = 0; x < w; ++x)
                PutPixel(d + x * dst.BytesPerPixel, dst.BytesPerPixel, s + x * src.BytesPerPixel,
                         src.BytesPerPixel);
        }
    }
}

void StretchCopy(const PixelView& dst, const TRect& D, const PixelView& src, const TRect& S, bool mirrorH,
                 bool mirrorV) {
    if (D.Empty() || S.Empty() || dst.Empty() || src.Empty()) return;
    int32_t x0 = std::max(D.Left, 0), x1 = std::min(D.Right, dst.Width);
    int32_t y0 = std::max(D.Top, 0), y1 = std::min(D.Bottom, dst.Height);
    if (x0 >= x1 || y0 >= y1) return;
    const int32_t dbpp = dst.BytesPerPixel, sbpp = src.BytesPerPixel;
    std::vector<int32_t> rows = SourceMap(y0, y1, D.Top, D.Height(), S.Top, S.Height(), mirrorV, src.Height);

    if (S.Width() == D.Width() && !mirrorH && dbpp == sbpp) {
        // Same width: each row is one contiguous run.
        int32_t shift = S.Left - D.Left;
        int32_t a = std::max(x0, -shift), b = std::min(x1, src.Width - shift);
        if (a >= b) return;
        for (int32_t y = y0; y < y1; ++y) {
            int32_t sy = rows[size_t(y - y0)];
            if (sy < 0) continue;
            std::memmove(dst.Row(y) + size_t(a) * dbpp, src.Row(sy) + size_t(a + shift) * sbpp,
                         size_t(b - a) * dbpp);
        }
        return;
    }
    std::vector<int32_t> cols = SourceMap(x0, x1, D.Left, D.Width(), S.Left, S.Width(), mirrorH, src.Width);
    for (int32_t y = y0; y < y1; ++y) {
        int32_t sy = rows[size_t(y - y0)];
        if (sy < 0) continue;
        const uint8_t* s = src.Row(sy);
        uint8_t* d = dst.Row(y) + size_t(x0) * dbpp;
        if (dbpp == 4 && sbpp == 4) {
            auto* d32 = reinterpret_cast<uint32_t*>(d);
            for (size_t i = 0; i < cols.size(); ++i)
                if (cols[i] >= 0) std::memcpy(d32 + i, s + size_t(cols[i]) * 4, 4);
        } else {
            for (size_t i = 0; i < cols.size(); ++i)
                if (cols[i] >= 0) PutPixel(d + i * dbpp, dbpp, s + size_t(cols[i]) * sbpp, sbpp);
        }
    }
}

namespace {

TRect ClipTo(const TRect& r, int32_t w, int32_t h) {
    return {std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, w), std::min(r.Bottom, h)};
}

// Display part S onto part D of the same pixels. The source is taken aside first whenever the
// two overlap, so the result is that of a copy from a snapshot.
void SelfCopy(const PixelView& v, const TRect& D, const TRect& S) {
    TRect s = ClipTo(S, v.Width, v.Height);
    if (s.Empty() || D.Empty()) return;
    std::vector<uint8_t> buffer(size_t(s.Width()) * size_t(s.Height()) * size_t(v.BytesPerPixel));
    PixelView copy{buffer.data(), s.Width(), s.Height(), ptrdiff_t(s.Width()) * v.BytesPerPixel,
                   v.BytesPerPixel};
    for (int32_t y = 0; y < s.Height(); ++y)
        std::memcpy(copy.Row(y), v.Row(s.Top + y) + size_t(s.Left) * v.BytesPerPixel, size_t(copy.Stride));
    // The part of S outside the picture reads nothing, as in a direct copy: shift the source
    // rectangle into the snapshot's coordinates and keep its size so the scale is unchanged.
    TRect inCopy{S.Left - s.Left, S.Top - s.Top, S.Right - s.Left, S.Bottom - s.Top};
    StretchCopy(v, D, copy, inCopy);
}

} // namespace

void RunCopySteps(const PixelView& display, const PixelView& image, const std::vector<CopyStep>& steps) {
    for (const CopyStep& step : steps) {
        switch (step.How) {
        case CopyStep::Kind::Copy:
            StretchCopy(display, step.D, image, step.S);
            break;
        case CopyStep::Kind::MirrorH:
            StretchCopy(display, step.D, image, ClipTo(step.S, image.Width, image.Height), true, false);
            break;
        case CopyStep::Kind::MirrorV:
            StretchCopy(display, step.D, image, ClipTo(step.S, image.Width, image.Height), false, true);
            break;
        case CopyStep::Kind::Self:
            SelfCopy(display, step.D, step.S);
            break;
        }
    }
}

void RevealRegion(const PixelView& dst, const PixelView& src, const SpanRegion& region) {
    const int32_t w = std::min(dst.Width, src.Width), h = std::min(dst.Height, src.Height);
    const int32_t dbpp = dst.BytesPerPixel, sbpp = src.BytesPerPixel;
    for (const Band& band : region.Bands()) {
        for (int32_t y = std::max(band.Y0, 0); y < std::min(band.Y1, h); ++y) {
            uint8_t* d = dst.Row(y);
            const uint8_t* s = src.Row(y);
            for (const Span& span : band.Spans) {
                int32_t a = std::max(span.X0, 0), b = std::min(span.X1, w);
                if (a >= b) continue;
                if (dbpp == sbpp) {
                    std::memcpy(d + size_t(a) * dbpp, s + size_t(a) * sbpp, size_t(b - a) * dbpp);
                } else {
                    for (int32_t x = a; x < b; ++x) PutPixel(d + x * dbpp, dbpp, s + x * sbpp, sbpp);
                }
            }
        }
    }
}

} // namespace somnex
