// Span and pixel painters shared by the vector operations (polygons, lines, curves,
// circles). A painter is chosen once per call, from the mode's low byte and the weight,
// and every shape loop is a template over it, so no pixel pays for a mode switch.
#pragma once

#include <cmath>
#include <cstdint>

#include "raster/bitmap.h"
#include "raster/combiners.h"
#include "raster/fast_paths.h"
#include "raster/pixel.h"
#include "raster/spans.h"

namespace pix {

// The pixels of a bitmap as the vector loops address them: memory row y at
// bits + y * rowSpan. The entry points apply a bitmap's flip to their coordinates
// themselves, so the loops never look at it.
struct Surface {
    uint32_t* bits = nullptr;
    int64_t rowSpan = 0;
    int width = 0;
    int height = 0;

    uint32_t* at(int64_t x, int64_t y) const { return bits + (y * rowSpan + x); }
    bool contains(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// False (and an empty surface) when the bitmap cannot be drawn into.
inline bool GetSurface(PIX_IBitmap* bm, Surface& s) {
    if (!PIX_HasPixels(bm)) return false;
    s.bits = static_cast<uint32_t*>(bm->getBits());
    s.rowSpan = bm->getRowSpan();
    s.width = bm->getWidth();
    s.height = bm->getHeight();
    return s.rowSpan >= s.width;
}

// Every vector entry point draws nothing for a non-finite coordinate, radius or angle.
template <class... F>
bool Finite(F... v) {
    return (std::isfinite(v) && ...);
}

// Float to int truncating toward zero, saturating at the int range; NaN gives 0.
// Casting an out-of-range float is undefined, and the vector entry points take
// floats from callers that may compute anything.
inline int SatInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return int(v);
}
inline int SatInt64(int64_t v) {
    return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : int(v));
}

// ---- Constant-weight painters: one colour at one weight for a whole call. ----

template <class Self>
struct PainterBase {
    void run(uint32_t* p, int64_t n) const {
        const Self& self = static_cast<const Self&>(*this);
        for (int64_t i = 0; i < n; ++i) self.px(p + i);
    }
    void column(uint32_t* p, int64_t step, int64_t n) const {
        const Self& self = static_cast<const Self&>(*this);
        for (int64_t i = 0; i < n; ++i, p += step) self.px(p);
    }
};

// A copy shortcut of the fast-path table: one colour stored with the entry's rounding.
template <Rounding R>
struct RoundedPainter : PainterBase<RoundedPainter<R>> {
    uint32_t c;
    void px(uint32_t* p) const { *p = RoundedCopy<R>(*p, c); }
    void run(uint32_t* p, int64_t n) const { FillSpanRounded<R>(p, n, c); }
};

// Any combiner at a fixed weight.
template <class Op>
struct BlendPainter : PainterBase<BlendPainter<Op>> {
    int r, g, b, a, w;
    void px(uint32_t* p) const { Op::apply(Bytes(p), r, g, b, a, w); }
    void run(uint32_t* p, int64_t n) const { FillSpan<Op>(p, int(n), r, g, b, a, w); }
};

// Calls fn(painter) once with the painter for (colour, weight w, mode): the operation's
// shortcut when the fast-path table has one, else the mode's combiner. False when
// nothing is to be drawn (weight 0, copy below weight 1, low byte above 5).
template <class Fn>
bool WithPainterAtWeight(FastOp op, PIX_PixelValue c, int w, bool exactAlpha, uint32_t mode, Fn&& fn) {
    if (const FastPath* f = FindFastPath(op, mode, w, exactAlpha)) {
        WithRounding(f->rounding, [&]<Rounding R>() { fn(RoundedPainter<R>{{}, c}); });
        return true;
    }
    return WithSolidCombiner(mode, w, [&]<class Op>() {
        fn(BlendPainter<Op>{{}, PIX_PixelR(c), PIX_PixelG(c), PIX_PixelB(c), PIX_PixelA(c), w});
    });
}

// The same from a float alpha.
template <class Fn>
bool WithPainter(FastOp op, PIX_PixelValue c, float alpha, uint32_t mode, Fn&& fn) {
    const int w = PIX_AlphaWeight(alpha);
    return WithPainterAtWeight(op, c, w, IsExactAlpha(alpha, w), mode, fn);
}

// ---- Per-pixel weights: anti-aliased edges. ----

template <class Op>
struct CoveragePlotter {
    int r, g, b, a;
    // Weight 0 leaves the pixel alone in every mode: the HSV combiner would otherwise
    // still convert it there and back and overwrite its alpha byte.
    void px(uint32_t* p, int w) const {
        if (w != 0) Op::apply(Bytes(p), r, g, b, a, w);
    }
    // A plain loop, not FillSpan: these runs are short (the spans of small discs), and
    // FillSpan's block set-up made them measurably slower.
    void run(uint32_t* p, int64_t n, int w) const {
        if (w == 0) return;
        for (int64_t i = 0; i < n; ++i) Op::apply(Bytes(p + i), r, g, b, a, w);
    }
    void column(uint32_t* p, int64_t step, int64_t n, int w) const {
        if (w == 0) return;
        for (int64_t i = 0; i < n; ++i, p += step) Op::apply(Bytes(p), r, g, b, a, w);
    }
};

// Calls fn(plotter) with the per-pixel-weight plotter for the mode, or returns false
// when the overall weight aw draws nothing.
template <class Fn>
bool WithCoveragePlotter(PIX_PixelValue c, int aw, uint32_t mode, Fn&& fn) {
    return WithSolidCombiner(mode, aw, [&]<class Op>() {
        fn(CoveragePlotter<PerPixelWeight<Op>>{PIX_PixelR(c), PIX_PixelG(c), PIX_PixelB(c), PIX_PixelA(c)});
    });
}

// Weight of the coverage share cov (0..255) of an overall weight aw: the coverage itself
// at full weight, else scaled (64-bit so saturated weights cannot overflow).
inline int CoverageWeight(int cov, int aw) {
    return aw == 256 ? cov : int((int64_t(cov) * aw) >> 8);
}

}  // namespace pix
