#include "engine/imaging/GradientPattern.h"

#include "engine/core/MulDiv.h"

namespace somnex {

uint32_t GradientStepColor(uint32_t color1, uint32_t color2, int32_t i, int32_t n) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int32_t c1 = int32_t((color1 >> shift) & 0xFF);
        const int32_t c2 = int32_t((color2 >> shift) & 0xFF);
        result |= (uint32_t(c1 + MulDiv(i, c2 - c1, n)) & 0xFF) << shift;
    }
    return result;
}

namespace {

using P = GradientPoint;

int32_t Trunc(double v) {
    return int32_t(v);
}

void Quad(GradientSink& sink, P a, P b, P c, P d) {
    const P points[4] = {a, b, c, d};
    sink.Polygon(points, 4);
}

void Triangle(GradientSink& sink, P a, P b, P c) {
    const P points[3] = {a, b, c};
    sink.Polygon(points, 3);
}

// Directions 6 to 9: the two ends of the line at distance s from the starting corner, where A
// leaves the corner's first edge and B the other.
struct DiagonalEnds {
    P A, B;
};

DiagonalEnds Diagonal(uint8_t direction, double s, int32_t W, int32_t H) {
    auto at = [](double x, double y) { return P{Trunc(x), Trunc(y)}; };
    switch (direction) {
    case 6:
        return {W > s ? at(s, 0) : at(W - 1, s - W), H > s ? at(0, s) : at(s - H, H - 1)};
    case 7:
        return {H > s ? at(W - 1, s) : at(W - 1 - (s - H), H - 1),
                W - 1 - s > 0 ? at(W - 1 - s, 0) : at(0, s - (W - 1))};
    case 8:
        return {H - 1 - s > 0 ? at(W - 1, H - 1 - s) : at(W - 1 - (s - (H - 1)), 0),
                W - 1 - s > 0 ? at(W - 1 - s, H - 1) : at(0, H - 1 - (s - (W - 1)))};
    default: // 9
        return {H - 1 - s > 0 ? at(0, H - 1 - s) : at(s - (H - 1), 0),
                W > s ? at(s, H - 1) : at(W - 1, H - 1 - (s - W))};
    }
}

} // namespace

void PaintGradientPattern(GradientSink& sink, uint8_t direction, uint32_t color1, uint32_t color2, int32_t W,
                          int32_t H) {
    auto color = [&](int32_t i, int32_t n) { sink.SetColor(GradientStepColor(color1, color2, i, n)); };
    switch (direction) {
    case 0:
        for (int32_t i = 0; i <= 255; ++i) {
            color(i, 255);
            sink.FillRect(MulDiv(i, W, 256), 0, MulDiv(i + 1, W, 256), H);
        }
        break;
    case 1:
        for (int32_t i = 0; i <= 255; ++i) {
            color(i, 255);
            sink.FillRect(0, MulDiv(i, H, 256), W, MulDiv(i + 1, H, 256));
        }
        break;
    case 2: {
        double x1 = -W / 4.0, x2 = W + W / 4.0 + 4, y1 = -H / 4.0, y2 = H + H / 4.0 + 4;
        const double dx = (W / 4.0 + W / 2.0) / 155, dy = (H / 4.0 + H / 2.0) / 155;
        for (int32_t i = 0; i <= 155; ++i) {
            x1 += dx, x2 -= dx, y1 += dy, y2 -= dy;
            color(i, 155);
            sink.Ellipse(Trunc(x1), Trunc(y1), Trunc(x2), Trunc(y2));
        }
        break;
    }
    case 3: {
        double x1 = -1, x2 = W + 2, y1 = -1, y2 = H + 2;
        const double dx = W / 2.0 / 255, dy = H / 2.0 / 255;
        for (int32_t i = 0; i <= 255; ++i) {
            x1 += dx, x2 -= dx, y1 += dy, y2 -= dy;
            color(i, 255);
            sink.FillRect(Trunc(x1), Trunc(y1), Trunc(x2), Trunc(y2));
        }
        break;
    }
    case 4: {
        const int32_t h = H / 2;
        for (int32_t i = 0; i <= h; ++i) {
            color(i, h);
            sink.FillRect(0, MulDiv(i, h, h), W, MulDiv(i + 1, h, h));
            sink.FillRect(0, H - MulDiv(i + 1, h, h), W, H - MulDiv(i, h, h));
        }
        break;
    }
    case 5: {
        const int32_t w = W / 2;
        for (int32_t i = 0; i <= w; ++i) {
            color(i, w);
            sink.FillRect(MulDiv(i, w, w), 0, MulDiv(i + 1, w, w), H);
            sink.FillRect(W - MulDiv(i + 1, w, w), 0, W - MulDiv(i, w, w), H);
        }
        break;
    }
    case 6:
    case 7:
    case 8:
    case 9: {
        const double step = (W + H) / 255.0;
        for (int32_t i = 0; i <= 254; ++i) {
            const DiagonalEnds near = Diagonal(direction, i * step, W, H);
            const DiagonalEnds far = Diagonal(direction, (i + 1) * step, W, H);
            color(i, 255);
            Quad(sink, near.A, far.A, far.B, near.B);
        }
        break;
    }
    case 10: {
        const P c{W / 2, H / 2};
        for (int32_t i = 0; i <= 255; ++i) {
            const int32_t xa = MulDiv(i, W, 255), xb = MulDiv(i + 1, W, 255);
            const int32_t ya = MulDiv(i, H, 255), yb = MulDiv(i + 1, H, 255);
            color(i, 255);
            Triangle(sink, c, {0, ya}, {0, yb});
            Triangle(sink, c, {W, H - ya}, {W, H - yb});
            Triangle(sink, c, {xa, 0}, {xb, 0});
            Triangle(sink, c, {W - xa, H}, {W - xb, H});
        }
        break;
    }
    case 11:
        for (int32_t i = 0; i <= 255; ++i) {
            const int32_t x = MulDiv(i, W, 255), y = MulDiv(i, H, 255);
            color(i, 255);
            Quad(sink, {x, y}, {0, H - y}, {W, H}, {W, 0});
        }
        break;
    case 12:
        for (int32_t i = 0; i <= 255; ++i) {
            const int32_t x = MulDiv(i, W / 2, 255), y = MulDiv(i, H / 2, 255);
            color(i, 255);
            Quad(sink, {x, y}, {0, H}, {W - x, H - y}, {W, 0});
        }
        break;
    default:
        break;
    }
}

} // namespace somnex
