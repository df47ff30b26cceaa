#include "engine/imaging/GradientSpans.h"

#include <algorithm>
#include <cmath>

namespace somnex {

void GradientSpanPainter::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int32_t l = std::min(left, right), r = std::max(left, right);
    const int32_t t = std::min(top, bottom), b = std::max(top, bottom);
    if (l == r || t == b) return;
    shapes_.push_back({Kind::Rect, color_, 2, {{l, t}, {r, b}}, t, b});
}

void GradientSpanPainter::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int32_t l = std::min(left, right), r = std::max(left, right);
    const int32_t t = std::min(top, bottom), b = std::max(top, bottom);
    if (l == r || t == b) return;
    shapes_.push_back({Kind::Ellipse, color_, 2, {{l, t}, {r, b}}, t, b});
}

void GradientSpanPainter::Polygon(const GradientPoint* points, int32_t count) {
    if (count < 3 || count > 4) return;
    Shape s{Kind::Polygon, color_, count, {}, points[0].Y, points[0].Y};
    for (int32_t i = 0; i < count; ++i) {
        s.p[i] = points[i];
        s.top = std::min(s.top, points[i].Y);
        s.bottom = std::max(s.bottom, points[i].Y);
    }
    shapes_.push_back(s);
}

void GradientSpanPainter::RowSpans(const Shape& s, int32_t y, std::vector<Span>& out) const {
    switch (s.kind) {
    case Kind::Rect:
        out.push_back({s.p[0].X, s.p[1].X});
        return;
    case Kind::Ellipse: {
        // The inscribed ellipse row by row, as the canvas cuts it.
        const int32_t w = s.p[1].X - s.p[0].X, h = s.p[1].Y - s.p[0].Y;
        const double rx = w / 2.0, ry = h / 2.0;
        int32_t inset = 0;
        if (rx >= 1.0 && ry >= 1.0) {
            const double yc = y + 0.5;
            double dy = 0;
            if (yc < s.p[0].Y + ry)
                dy = s.p[0].Y + ry - yc;
            else if (yc > s.p[1].Y - ry)
                dy = yc - (s.p[1].Y - ry);
            if (dy > 0) {
                const double q = dy / ry;
                const double dx = q >= 1.0 ? 0.0 : rx * std::sqrt(1.0 - q * q);
                inset = int32_t(std::ceil(rx - dx - 0.5));
            }
        }
        out.push_back({s.p[0].X + inset, s.p[1].X - inset});
        return;
    }
    case Kind::Polygon: {
        // Even-odd crossings sampled at each pixel's top-left corner, as the canvas's polygon
        // regions are: a corner on the row counts for the edge that goes down from it.
        double xs[4];
        int32_t n = 0;
        for (int32_t i = 0; i < s.count && n < 4; ++i) {
            const GradientPoint a = s.p[i], b = s.p[(i + 1) % s.count];
            if ((a.Y <= y) == (b.Y <= y)) continue;
            xs[n++] = a.X + double(y - a.Y) * (b.X - a.X) / double(b.Y - a.Y);
        }
        std::sort(xs, xs + n);
        for (int32_t i = 0; i + 1 < n; i += 2)
            out.push_back({int32_t(std::ceil(xs[i])), int32_t(std::ceil(xs[i + 1]))});
        return;
    }
    }
}

void GradientSpanPainter::Render(plat::Bitmap& target) const {
    const int32_t w = target.Width(), h = target.Height();
    const int bpp = target.BytesPerPixel();
    std::vector<Span> covered, spans, merged;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = target.ScanLine(y);
        covered.clear();
        for (auto s = shapes_.rbegin(); s != shapes_.rend(); ++s) {
            if (y < s->top || y >= s->bottom) continue;
            spans.clear();
            RowSpans(*s, y, spans);
            const uint8_t bgr[3] = {uint8_t(s->color >> 16), uint8_t(s->color >> 8), uint8_t(s->color)};
            for (Span span : spans) {
                span.from = std::max(span.from, 0);
                span.to = std::min(span.to, w);
                if (span.from >= span.to) continue;
                // Fill the gaps the later shapes left, then add the span to the covered set.
                int32_t x = span.from;
                auto fill = [&](int32_t from, int32_t to) {
                    for (uint8_t* p = row + from * bpp; from < to; ++from, p += bpp) {
                        p[0] = bgr[0], p[1] = bgr[1], p[2] = bgr[2];
                        if (bpp == 4) p[3] = 0xFF;
                    }
                };
                for (const Span& c : covered) {
                    if (c.to <= x) continue;
                    if (c.from >= span.to) break;
                    if (c.from > x) fill(x, c.from);
                    x = std::max(x, c.to);
                }
                if (x < span.to) fill(x, span.to);
                merged.clear();
                bool placed = false;
                for (const Span& c : covered) {
                    if (c.to < span.from) {
                        merged.push_back(c);
                    } else if (c.from > span.to) {
                        if (!placed) merged.push_back(span), placed = true;
                        merged.push_back(c);
                    } else {
                        span.from = std::min(span.from, c.from);
                        span.to = std::max(span.to, c.to);
                    }
                }
                if (!placed) merged.push_back(span);
                covered.swap(merged);
            }
            if (covered.size() == 1 && covered[0].from == 0 && covered[0].to == w) break;
        }
    }
}

} // namespace somnex
