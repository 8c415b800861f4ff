// The octant-walking circle drawers behind outlines, discs and arcs, as templates over an
// emitter that receives points and inclusive spans (and clips and paints them).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/vector_spans.h"

namespace pix {

// Right and bottom exclusive.
struct CircleClip {
    int64_t left, top, right, bottom;
};

// Radii and centres beyond this draw nothing: squares of coordinates must fit 64 bits,
// and no bitmap comes near it.
inline constexpr double kMaxCircleCoordinate = 1 << 30;

// The walks below skip the steps that cannot reach the clip rectangle: every pixel of
// the step with offset c lies in column cx +- c or in row cy +- c. Up to two inclusive
// ranges of c result, in ascending order.
struct StepRanges {
    int64_t lo[2], hi[2];
    int count = 0;
};

inline StepRanges VisibleSteps(int64_t cx, int64_t cy, const CircleClip& clip, int64_t firstStep,
                               int64_t lastStep) {
    auto axis = [](int64_t c, int64_t lo, int64_t hi, int64_t& dmin, int64_t& dmax) {
        dmin = c < lo ? lo - c : (c >= hi ? c - (hi - 1) : 0);
        dmax = std::max(std::abs(lo - c), std::abs(hi - 1 - c));
    };
    StepRanges r;
    if (clip.left >= clip.right || clip.top >= clip.bottom || firstStep > lastStep) return r;
    int64_t a0, a1, b0, b1;
    axis(cx, clip.left, clip.right, a0, a1);
    axis(cy, clip.top, clip.bottom, b0, b1);
    if (b0 < a0) {
        std::swap(a0, b0);
        std::swap(a1, b1);
    }
    auto add = [&](int64_t lo, int64_t hi) {
        lo = std::max(lo, firstStep);
        hi = std::min(hi, lastStep);
        if (lo > hi) return;
        if (r.count && lo <= r.hi[r.count - 1] + 1) {
            r.hi[r.count - 1] = std::max(r.hi[r.count - 1], hi);
            return;
        }
        r.lo[r.count] = lo;
        r.hi[r.count++] = hi;
    };
    add(a0, a1);
    add(b0, b1);
    return r;
}

// Emits the distinct points of {(+-a, +-b), (+-b, +-a)} around the centre: four when
// a == b, or when either is 0, else eight. Each pixel of an outline is touched once,
// which matters to every mode but a plain copy.
template <class PointFn>
void MirroredPoints(int64_t cx, int64_t cy, int64_t a, int64_t b, const PointFn& point) {
    if (a == 0 || b == 0) {
        const int64_t d = a + b;
        if (d == 0) return point(cx, cy);
        point(cx, cy - d);
        point(cx + d, cy);
        point(cx, cy + d);
        point(cx - d, cy);
        return;
    }
    point(cx - a, cy - b);
    point(cx + a, cy - b);
    point(cx - a, cy + b);
    point(cx + a, cy + b);
    if (a == b) return;
    point(cx - b, cy - a);
    point(cx + b, cy - a);
    point(cx - b, cy + a);
    point(cx + b, cy + a);
}

// Aliased midpoint circle of whole radius R. The emitter has point(x, y),
// hspan(y, x0, x1) and vspan(x, y0, y1), spans inclusive.
template <class E>
void AliasedCircle(E& e, int64_t cx, int64_t cy, int64_t R, bool filled, const CircleClip& clip) {
    if (filled) {
        e.vspan(cx, cy - R, cy - 1);
        e.vspan(cx, cy + 1, cy + R);
        e.hspan(cy, cx - R, cx + R);
    } else {
        MirroredPoints(cx, cy, 0, R, [&](int64_t x, int64_t y) { e.point(x, y); });
    }
    if (R < 2) return;
    const StepRanges ranges = VisibleSteps(cx, cy, clip, 1, R);
    for (int k = 0; k < ranges.count; ++k) {
        // State at step x: y is the largest value with y^2 - y < R^2 + 1 - (x - 1)^2, and
        // err = x^2 + y^2 - y - R^2 - 1, which is where the walk from x = 1 arrives.
        int64_t x = ranges.lo[k];
        const int64_t limit = R * R + 1 - (x - 1) * (x - 1);
        int64_t y = int64_t(std::sqrt(double(limit))) + 1;
        while (y > 0 && y * y - y >= limit) --y;
        while ((y + 1) * (y + 1) - (y + 1) < limit) ++y;
        int64_t err = x * x + y * y - y - R * R - 1;
        int64_t d = 2 * x + 1;
        for (; x < y && x <= ranges.hi[k]; ++x) {
            if (err >= 0) {
                --y;
                err -= 2 * y;
            }
            if (filled) {
                e.vspan(cx - x, cy - y, cy - x - 1);
                e.vspan(cx - x, cy + x + 1, cy + y);
                e.vspan(cx + x, cy - y, cy - x - 1);
                e.vspan(cx + x, cy + x + 1, cy + y);
                e.hspan(cy - x, cx - y, cx - x);
                e.hspan(cy - x, cx + x, cx + y);
                e.hspan(cy + x, cx - y, cx - x);
                e.hspan(cy + x, cx + x, cx + y);
            } else {
                MirroredPoints(cx, cy, x, y, [&](int64_t px, int64_t py) { e.point(px, py); });
            }
            err += d;
            d += 2;
        }
    }
}

// Anti-aliased circle of radius r: the whole part R = (int)r, the fraction as coverage.
// The emitter has point(x, y, w), hspan(y, x0, x1, w) and vspan(x, y0, y1, w).
template <class E>
void AntiAliasedCircle(E& e, int64_t cx, int64_t cy, float r, int aw, bool filled, const CircleClip& clip) {
    const int64_t R = int64_t(r);
    const int f0 = int(double(r - std::floor(r)) * aw);
    MirroredPoints(cx, cy, 0, R + 1, [&](int64_t x, int64_t y) { e.point(x, y, f0); });
    if (filled) {
        e.vspan(cx, cy - R, cy - 1, aw);
        e.vspan(cx, cy + 1, cy + R, aw);
        e.hspan(cy, cx - R, cx + R, aw);
    } else {
        MirroredPoints(cx, cy, 0, R, [&](int64_t x, int64_t y) { e.point(x, y, aw - f0); });
    }
    const double rr = double(r * r);
    // Step i (column offset c = i + 1) runs while i < round(sqrt(r^2 - c^2)); i minus that
    // bound only grows, so the steps that run are a prefix and any of them can be entered
    // directly.
    const StepRanges ranges = VisibleSteps(cx, cy, clip, 1, R + 1);
    for (int k = 0; k < ranges.count; ++k)
        for (int64_t c = ranges.lo[k]; c <= ranges.hi[k]; ++c) {
            const double arg = rr - double(c) * double(c);
            if (arg < 0) return;
            const double y = std::sqrt(arg);
            const int64_t n = int64_t(y + 0.5);
            if (c - 1 >= n) return;
            const int64_t Y = int64_t(y);
            const int f = int((y - std::floor(y)) * aw);
            // A point past the diagonal (offset c beyond its row offset) belongs to the
            // mirror image of another step, which draws it; drawing it here too would hit
            // it twice and, on the last step, break the symmetry.
            if (c <= Y + 1) MirroredPoints(cx, cy, c, Y + 1, [&](int64_t x, int64_t yy) { e.point(x, yy, f); });
            if (filled) {
                e.vspan(cx - c, cy - Y, cy - c - 1, aw);
                e.vspan(cx - c, cy + c + 1, cy + Y, aw);
                e.vspan(cx + c, cy - Y, cy - c - 1, aw);
                e.vspan(cx + c, cy + c + 1, cy + Y, aw);
                e.hspan(cy - c, cx - Y, cx - c, aw);
                e.hspan(cy - c, cx + c, cx + Y, aw);
                e.hspan(cy + c, cx - Y, cx - c, aw);
                e.hspan(cy + c, cx + c, cx + Y, aw);
            } else if (c <= Y) {
                MirroredPoints(cx, cy, c, Y, [&](int64_t x, int64_t yy) { e.point(x, yy, aw - f); });
            }
        }
}

// Emitters that clip to a rectangle (when asked) and paint into a surface. The clipping is
// shared; what differs is whether the painter takes a weight.
struct ClippedEmitter {
    const Surface& s;
    CircleClip clip;
    bool test;

    bool keepPoint(int64_t x, int64_t y) const {
        return !test || (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom);
    }
    // Cuts the inclusive run [a0, a1] at fixed coordinate f along x (horizontal) or y.
    bool keepRun(bool horizontal, int64_t f, int64_t& a0, int64_t& a1) const {
        if (test) {
            const int64_t lo = horizontal ? clip.left : clip.top, hi = horizontal ? clip.right : clip.bottom;
            const int64_t flo = horizontal ? clip.top : clip.left, fhi = horizontal ? clip.bottom : clip.right;
            if (f < flo || f >= fhi) return false;
            a0 = std::max(a0, lo);
            a1 = std::min(a1, hi - 1);
        }
        return a0 <= a1;
    }
};

template <class P>
struct PaintEmitter : ClippedEmitter {
    const P& paint;

    void point(int64_t x, int64_t y) const {
        if (keepPoint(x, y)) paint.px(s.at(x, y));
    }
    void hspan(int64_t y, int64_t x0, int64_t x1) const {
        if (keepRun(true, y, x0, x1)) paint.run(s.at(x0, y), x1 - x0 + 1);
    }
    void vspan(int64_t x, int64_t y0, int64_t y1) const {
        if (keepRun(false, x, y0, y1)) paint.column(s.at(x, y0), s.rowSpan, y1 - y0 + 1);
    }
};

template <class Plot>
struct CoverageEmitter : ClippedEmitter {
    const Plot& plot;

    void point(int64_t x, int64_t y, int w) const {
        if (keepPoint(x, y)) plot.px(s.at(x, y), w);
    }
    void hspan(int64_t y, int64_t x0, int64_t x1, int w) const {
        if (keepRun(true, y, x0, x1)) plot.run(s.at(x0, y), x1 - x0 + 1, w);
    }
    void vspan(int64_t x, int64_t y0, int64_t y1, int w) const {
        if (keepRun(false, x, y0, y1)) plot.column(s.at(x, y0), s.rowSpan, y1 - y0 + 1, w);
    }
};

}  // namespace pix
