// Bezier outlines and fills, rectangle outlines.
#include "raster/bezier.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "raster/fill.h"
#include "raster/fline_drawer.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "raster/vector_spans.h"

namespace pix {
namespace {

float Tolerance(float t) { return t > 0 ? t : 1.0f; }

// Pieces beyond a few per visible pixel add nothing to what can be seen, and an absurd
// control polygon (huge coordinates) would otherwise mean a near-endless walk.
int CapPieces(double n, const PIX_IBitmap& bm) {
    const double cap = 16.0 * (double(bm.getWidth()) + bm.getHeight()) + 16.0;
    // A clipped parameter range that comes out reversed makes n -inf with a huge path.
    if (!(n > 0)) return 0;
    return n < cap ? int(n) : int(cap);
}

float Length(float dx, float dy) { return std::sqrt(dx * dx + dy * dy); }

int Plus(int v, int d) { return SatInt64(int64_t(v) + d); }

// Calls fn(line) once with a drawer of float lines as PIX_FLine draws them; anti-aliased
// pieces share one set-up for the whole curve.
template <class Fn>
void WithLines(PIX_IBitmap* bm, PIX_PixelValue colour, float alpha, int mode, bool antialias, Fn&& fn) {
    if (antialias) {
        WithFLineDrawer(bm, colour, alpha, mode, fn);
        return;
    }
    fn([&](float x1, float y1, float x2, float y2) { PIX_FLine(bm, x1, y1, x2, y2, colour, alpha, mode, false); });
}

}  // namespace
}  // namespace pix

double PIX_QBezierYAtX(float x0, float x1, float x2, float y0, float y1, float y2, float target, double* t) {
    auto at = [&](double u) { return (1 - u) * (1 - u) * y0 + 2 * (1 - u) * u * y1 + u * u * y2; };
    if (target <= x0) return *t = 0, y0;
    if (target >= x2) return *t = 1, y2;
    const double a = double(x2) - 2.0 * x1 + x0;
    if (a == 0) {
        if (x0 == x2) return *t = 0, y0;
        *t = (double(target) - x0) / (double(x2) - x0);
        return y0 + (double(y2) - y0) * *t;
    }
    const double b = 2.0 * (double(x1) - x0);
    // The target lies between the end x's, so the root exists; rounding alone can push
    // the discriminant below 0 or the parameter out of [0, 1].
    const double disc = std::max(0.0, b * b - 4 * a * (double(x0) - target));
    *t = std::clamp((std::sqrt(disc) - b) / (2 * a), 0.0, 1.0);
    return at(*t);
}

double PIX_CBezierYAtX(const PIX_CubicCurve& c, float target, double* tLo, double* tHi) {
    if (target < c.x[0]) return *tLo = *tHi = 0, c.y[0];
    if (target >= c.x[3]) return *tLo = *tHi = 1, c.y[3];
    double lo = 0, hi = 1;
    for (int step = 0; step < 8; ++step) {
        const double mid = (lo + hi) / 2, xm = c.X(mid);
        if (xm < target) {
            lo = mid;
        } else if (xm > target) {
            hi = mid;
        } else {
            hi = std::min(1.0, mid + 1.0 / 256);
            lo = mid;
            break;
        }
    }
    const double xlo = lo == 0 ? c.x[0] : c.X(lo), xhi = hi == 1 ? c.x[3] : c.X(hi);
    const double ylo = lo == 0 ? c.y[0] : c.Y(lo), yhi = hi == 1 ? c.y[3] : c.Y(hi);
    const double slope = xhi == xlo ? 0.0 : (yhi - ylo) / (xhi - xlo);
    *tLo = lo;
    *tHi = hi;
    return ylo + (target - xlo) * slope;
}

int PIX_CBezierPrep(PIX_IBitmap* bm, bool orderByX, const float x[4], const float y[4], float tolerance,
                    PIX_CubicCurve* out) {
    PIX_CubicCurve& c = *out;
    c.count = 0;
    if (!PIX_HasPixels(bm) || !pix::Finite(x[0], x[1], x[2], x[3], y[0], y[1], y[2], y[3])) return 0;
    const bool reverse = orderByX ? x[3] < x[0] : y[3] < y[0];
    for (int i = 0; i < 4; ++i) {
        c.x[i] = x[reverse ? 3 - i : i];
        c.y[i] = y[reverse ? 3 - i : i];
    }
    auto coefficients = [](const float* p, double& a, double& b, double& cc) {
        cc = 3.0 * double(p[1] - p[0]);
        b = 3.0 * double(p[2] - p[1]) - cc;
        a = double(p[3] - p[0]) - cc - b;
    };
    coefficients(c.x, c.ax, c.bx, c.cx);
    coefficients(c.y, c.ay, c.by, c.cy);
    // Differences of huge floats overflow single precision.
    if (!pix::Finite(c.ax, c.bx, c.cx, c.ay, c.by, c.cy)) return 0;
    c.startX = c.x[0];
    c.startY = c.y[0];
    c.endX = c.x[3];
    c.endY = c.y[3];
    c.t0 = 0;
    c.t1 = 1;
    double lo, hi;
    const int width = bm->getWidth();
    if (c.startX < 0) {
        c.startY = float(PIX_CBezierYAtX(c, 0.0f, &lo, &hi));
        c.startX = 0;
        c.t0 = hi;
    }
    if (c.endX > float(width)) {
        c.endY = float(PIX_CBezierYAtX(c, float(width), &lo, &hi));
        c.endX = float(width);
        c.t1 = lo;
    }
    if (orderByX ? c.startX > c.endX : c.startY > c.endY) return 0;
    const double length = double(pix::Length(c.x[1] - c.x[0], c.y[1] - c.y[0])) +
                          pix::Length(c.x[2] - c.x[1], c.y[2] - c.y[1]) +
                          pix::Length(c.x[3] - c.x[2], c.y[3] - c.y[2]);
    const double n = (c.t1 - c.t0) * length / pix::Tolerance(tolerance);
    c.count = std::max(1, pix::CapPieces(std::isnan(n) ? 0.0 : n, *bm));
    return c.count;
}

void PIX_DrawQBezier(PIX_IBitmap* bm, float xs, float ys, float xc, float yc, float xe, float ye,
                     PIX_PixelValue colour, float alpha, int mode, bool antialias, float tolerance) {
    if (!PIX_HasPixels(bm) || !pix::Finite(xs, ys, xc, yc, xe, ye)) return;
    if (xe < xs) {
        std::swap(xs, xe);
        std::swap(ys, ye);
    }
    const int width = bm->getWidth();
    double t0 = 0, t1 = 1;
    float sx = xs, sy = ys, ex = xe, ey = ye;
    if (xs < 0) {
        sy = float(PIX_QBezierYAtX(xs, xc, xe, ys, yc, ye, 0.0f, &t0));
        sx = 0;
    }
    if (xe >= float(width)) {
        ey = float(PIX_QBezierYAtX(xs, xc, xe, ys, yc, ye, float(width - 1), &t1));
        ex = float(width - 1);
    }
    if (sx > ex) return;
    const float length = pix::Length(xc - xs, yc - ys) + pix::Length(xe - xc, ye - yc);
    const double pieces = double(length) * (t1 - t0) / pix::Tolerance(tolerance);
    const int n = pix::CapPieces(std::isnan(pieces) ? 0.0 : pieces, *bm);
    pix::WithLines(bm, colour, alpha, mode, antialias, [&](const auto& line) {
        if (n < 2) {
            line(sx, sy, ex, ey);
            return;
        }
        const double dt = (t1 - t0) / n;
        float px = sx, py = sy;
        for (int k = 1; k < n; ++k) {
            const double t = t0 + k * dt, u = 1 - t;
            const float qx = float(u * u * xs + 2 * u * t * xc + t * t * xe);
            const float qy = float(u * u * ys + 2 * u * t * yc + t * t * ye);
            line(px, py, qx, qy);
            px = qx;
            py = qy;
        }
        line(px, py, ex, ey);
    });
}

void PIX_DrawCBezier(PIX_IBitmap* bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
                     PIX_PixelValue colour, float alpha, int mode, bool antialias, float tolerance) {
    const float xs[4] = {x0, x1, x2, x3}, ys[4] = {y0, y1, y2, y3};
    PIX_CubicCurve c;
    const int count = PIX_CBezierPrep(bm, true, xs, ys, tolerance, &c);
    if (count == 0) return;
    pix::WithLines(bm, colour, alpha, mode, antialias, [&](const auto& line) {
        const double dt = (c.t1 - c.t0) / count;
        float px = c.startX, py = c.startY;
        for (int k = 1; k <= count - 2; ++k) {
            const double t = c.t0 + k * dt;
            const float qx = float(c.X(t)), qy = float(c.Y(t));
            line(px, py, qx, qy);
            px = qx;
            py = qy;
        }
        line(px, py, c.endX, c.endY);
    });
}

namespace pix {
namespace {

// The fills walk along one axis (x for a fill towards a row, y towards a column) and
// slice between the curve and the fill line across the other. Coordinates here are
// (a, b): a along the walk, b across it; alongY maps them back to (x, y).
struct SliceDrawer {
    PIX_IBitmap* bm;
    bool alongY;
    PIX_PixelValue colour;
    float alpha;
    int mode;

    void line(int a, int b1, int b2) const {
        if (alongY)
            PIX_Line(bm, b1, a, b2, a, colour, alpha, mode, false);
        else
            PIX_Line(bm, a, b1, a, b2, colour, alpha, mode, false);
    }
    void polygon(std::initializer_list<std::pair<int, int>> points) const {
        int xs[4], ys[4], n = 0;
        for (auto [a, b] : points) {
            xs[n] = alongY ? b : a;
            ys[n++] = alongY ? a : b;
        }
        PIX_FillConvexPolygon(bm, xs, ys, n, colour, alpha, mode);
    }

    void slice(int a1, int b1, int a2, int b2, int fill) const {
        if (a2 < a1) return;
        const int beyond = Plus(fill, 1);
        const int ba = b1 < fill ? beyond : fill, bb = b2 < fill ? beyond : fill;
        if (a1 == a2) {
            // One line reaches exactly as far as a wider slice's polygon would: the curve
            // point included, and the fill line plus one while the curve lies before it.
            // (Stopping at the fill line, or short of the curve point, left a notch at
            // every step of a steep curve, which walks in one-line slices.)
            line(a1, std::min({b1, b2, ba, bb}), std::max({b1, b2, ba, bb}));
            return;
        }
        if ((b1 < fill) == (b2 < fill)) {
            polygon({{a1, b1}, {a1, ba}, {a2, b2}, {a2, ba}});
            return;
        }
        const int ac = SatInt64(
            a1 + int64_t(std::trunc(double(int64_t(a2) - a1) * (double(fill) - b1) / (double(b2) - b1))));
        polygon({{a1, b1}, {a1, ba}, {ac, ba}});
        polygon({{ac, bb}, {a2, bb}, {a2, b2}});
    }

    // The curve's whole pixels along the walk, each step sliced towards the fill line.
    void walk(const PIX_CubicCurve& c, int fill) const {
        auto along = [&](double t) { return alongY ? c.Y(t) : c.X(t); };
        auto across = [&](double t) { return alongY ? c.X(t) : c.Y(t); };
        const float startA = alongY ? c.startY : c.startX, startB = alongY ? c.startX : c.startY;
        const float endA = alongY ? c.endY : c.endX, endB = alongY ? c.endX : c.endY;
        int a = SatInt(startA), b = SatInt(startB + 0.5);
        const double dt = (c.t1 - c.t0) / c.count;
        for (int k = 1; k <= c.count - 2; ++k) {
            const double t = c.t0 + k * dt;
            const int ai = SatInt(along(t));
            if (ai < a) continue;
            const int bi = SatInt(across(t) + 0.5);
            slice(a, b, ai, bi, fill);
            a = Plus(ai, 1);
            b = bi;
        }
        const int lastA = SatInt(double(endA) - 1.0);
        if (a <= lastA) slice(a, b, lastA, SatInt(endB + 0.5), fill);
    }
};

}  // namespace
}  // namespace pix

void PIX_FillCBezier(PIX_IBitmap* bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
                     int fillY, PIX_PixelValue colour, float alpha, int mode, float tolerance) {
    const float xs[4] = {x0, x1, x2, x3}, ys[4] = {y0, y1, y2, y3};
    PIX_CubicCurve c;
    if (PIX_CBezierPrep(bm, true, xs, ys, tolerance, &c) == 0) return;
    pix::SliceDrawer{bm, false, colour, alpha, mode}.walk(c, fillY);
}

void PIX_FillCBezierX(PIX_IBitmap* bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                      float y3, int fillX, PIX_PixelValue colour, float alpha, int mode, float tolerance) {
    const float xs[4] = {x0, x1, x2, x3}, ys[4] = {y0, y1, y2, y3};
    PIX_CubicCurve c;
    if (PIX_CBezierPrep(bm, false, xs, ys, tolerance, &c) == 0) return;
    pix::SliceDrawer{bm, true, colour, alpha, mode}.walk(c, fillX);
}
