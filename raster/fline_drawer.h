// The anti-aliased float line as a drawer: the bitmap, its flip, the weight and the
// combiner are looked at once, and each segment then pays only for its own clipping
// and walk. A curve outline draws thousands of pieces, most shorter than a pixel,
// through one drawer.
#pragma once

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "raster/line.h"
#include "raster/line_clip.h"
#include "raster/vector_spans.h"

namespace pix {

template <class Plot>
void FLineAA(const Surface& s, const Plot& plot, int aw, float x1, float y1, float x2, float y2) {
    float dx = x2 - x1, dy = y2 - y1;
    const bool xMajor = std::fabs(dy) < std::fabs(dx);
    float majStart = xMajor ? x1 : y1, minStart = xMajor ? y1 : x1;
    float majEnd = xMajor ? x2 : y2;
    float dMaj = xMajor ? dx : dy, dMin = xMajor ? dy : dx;
    if (dMaj < 0) {
        dMaj = -dMaj;
        dMin = -dMin;
        majStart = xMajor ? x2 : y2;
        minStart = xMajor ? y2 : x2;
        majEnd = xMajor ? x1 : y1;
    }
    const float slope = dMin / dMaj;
    const int sign = dMin < 0 ? -1 : 1;
    const float first = std::ceil(majStart), last = std::floor(majEnd);
    const int n = int(last - first);
    if (n < 0) return;
    const float m = (first - majStart) * slope + minStart;
    const int frac = int((m - std::floor(m)) * 65536.0);
    int64_t minor = int64_t(m);
    int acc = frac;
    if (sign < 0) {
        minor += 1;
        acc = 65535 - frac;
    }
    const int derr = int(std::fabs(double(slope)) * 65536.0);
    int64_t major = int64_t(first);
    // Float rounding can put either pixel of a pair one step outside, so both are checked.
    auto put = [&](int64_t mj, int64_t mn, int w) {
        const int64_t x = xMajor ? mj : mn, y = xMajor ? mn : mj;
        if (s.contains(x, y)) plot.px(s.at(x, y), w);
    };
    for (int i = 0; i <= n; ++i, ++major) {
        const int f = acc >> 8;
        put(major, minor, CoverageWeight(255 - f, aw));
        put(major, minor + sign, CoverageWeight(f, aw));
        acc += derr;
        if (acc >= 65536) {
            acc -= 65536;
            minor += sign;
        }
    }
}

// The steps of an anti-aliased segment before its walk: a flipped bitmap's y mapped,
// the segment clipped (the common case of one wholly inside decided inline). False when
// nothing of it is to be drawn, a zero-length segment included.
inline bool PrepareAASegment(const Surface& s, bool flipped, float& x1, float& y1, float& x2, float& y2) {
    if (flipped) {
        y1 = float(s.height - 1) - y1;
        y2 = float(s.height - 1) - y2;
    }
    const double W = double(s.width) - 1.0, H = double(s.height) - 1.0;
    if ((OutCode(double(x1), double(y1), W, H) | OutCode(double(x2), double(y2), W, H)) != 0 &&
        !PIX_ClipFLine(&x1, &y1, &x2, &y2, s.width, s.height))
        return false;
    return !(x1 == x2 && y1 == y2);
}

template <class Plot>
struct FLineDrawer {
    Surface s;
    Plot plot;
    int aw;
    bool flipped;

    void operator()(float x1, float y1, float x2, float y2) const {
        if (Finite(x1, y1, x2, y2) && PrepareAASegment(s, flipped, x1, y1, x2, y2))
            FLineAA(s, plot, aw, x1, y1, x2, y2);
    }
};

// Calls fn(drawer) once with the anti-aliased line drawer for the bitmap and colour;
// false (fn not called) when nothing can be drawn: no pixels, a weight of 0 or a mode
// outside the table.
template <class Fn>
bool WithFLineDrawer(PIX_IBitmap* bm, PIX_PixelValue colour, float alpha, int mode, Fn&& fn) {
    Surface s;
    if (!GetSurface(bm, s)) return false;
    const int aw = PIX_AlphaWeight(alpha);
    const bool flipped = bm->isFlipped();
    return WithCoveragePlotter(colour, aw, uint32_t(mode), [&](const auto& plot) {
        fn(FLineDrawer<std::decay_t<decltype(plot)>>{s, plot, aw, flipped});
    });
}

}  // namespace pix
