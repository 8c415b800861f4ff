// The shortcuts of the plain copy: one table keyed by operation, mode and weight, each
// entry naming its rounding. The general copy gives c + (d - c)(256 - w) / 256 per byte;
// a shortcut works on whole 32-bit words and truncates each term (so differs by at most
// 1 per byte, 2 for the quarter mixes), which is what callers have always seen at these
// weights. Every operation
// with shortcuts asks this table first and falls back to its general loop.
#pragma once

#include <climits>
#include <cstdint>
#include <cstring>

#include "raster/pixel.h"
#include "raster/row_kernels.h"

namespace pix {

// Each byte truncated separately: x >> 1 & 0x7f7f7f7f is a half, x >> 2 & 0x3f3f3f3f a
// quarter.
inline uint32_t HalfOf(uint32_t x) { return x >> 1 & 0x7f7f7f7fu; }
inline uint32_t QuarterOf(uint32_t x) { return x >> 2 & 0x3f3f3f3fu; }

// How a shortcut combines destination d and colour c, byte by byte, and the copy
// weight it stands for.
enum class Rounding {
    Store,          // c                                  (weight 256)
    HalvesSummed,   // (d >> 1) + (c >> 1)                (weight 128)
    SumHalved,      // (d + c) >> 1                       (weight 128)
    Quarter,        // (d >> 2) + (d >> 1) + (c >> 2)     (weight 64)
    ThreeQuarters,  // (d >> 2) + (c >> 2) + (c >> 1)     (weight 192)
};

inline constexpr int RoundingWeight(Rounding r) {
    switch (r) {
        case Rounding::Store: return 256;
        case Rounding::Quarter: return 64;
        case Rounding::ThreeQuarters: return 192;
        default: return 128;
    }
}

template <Rounding R>
inline uint32_t RoundedCopy(uint32_t d, uint32_t c) {
    if constexpr (R == Rounding::Store) return c;
    if constexpr (R == Rounding::HalvesSummed) return HalfOf(d) + HalfOf(c);
    // Per-byte (d + c) >> 1 without carries between bytes.
    if constexpr (R == Rounding::SumHalved) return (d & c) + ((d ^ c) >> 1 & 0x7f7f7f7fu);
    if constexpr (R == Rounding::Quarter) return QuarterOf(d) + HalfOf(d) + QuarterOf(c);
    if constexpr (R == Rounding::ThreeQuarters) return QuarterOf(d) + QuarterOf(c) + HalfOf(c);
}

// Calls fn.template operator()<R>() for the rounding r, so loops are instantiated per
// rounding and never switch per pixel.
template <class Fn>
void WithRounding(Rounding r, Fn&& fn) {
    switch (r) {
        case Rounding::Store: fn.template operator()<Rounding::Store>(); break;
        case Rounding::HalvesSummed: fn.template operator()<Rounding::HalvesSummed>(); break;
        case Rounding::SumHalved: fn.template operator()<Rounding::SumHalved>(); break;
        case Rounding::Quarter: fn.template operator()<Rounding::Quarter>(); break;
        case Rounding::ThreeQuarters: fn.template operator()<Rounding::ThreeQuarters>(); break;
    }
}

// The operations with shortcuts.
enum class FastOp {
    Blit,             // bitmap onto bitmap
    ScaledBlit,       // the nearest-pixel scaled blit
    Fill,             // rectangles, single pixels, polygons, triangles
    LineRun,          // horizontal and vertical runs of integer lines
    Outline,          // other lines, dashes, curves, aliased circles
    AADiagonalMain,   // the pixel on a 45-degree anti-aliased line
    AADiagonalSide,   // the pixels beside it
    ThresholdedGlyph  // mono and effect glyphs: covered pixels take the colour whole
};

struct FastPath {
    FastOp op;
    uint32_t modeBits;  // the mode bits that must all be clear (the plain copy)
    int weight;         // the call's weight
    bool exactAlpha;    // only when the alpha is exactly weight / 256
    Rounding rounding;
};

// In order of precedence: the first entry that fits the call is taken.
inline constexpr FastPath kFastPaths[] = {
    {FastOp::Blit, PIX_MODE_COMBINER_MASK, 256, true, Rounding::Store},
    {FastOp::Blit, PIX_MODE_COMBINER_MASK, 128, true, Rounding::HalvesSummed},
    {FastOp::ScaledBlit, PIX_MODE_COMBINER_FILTER_MASK, 128, false, Rounding::HalvesSummed},
    {FastOp::Fill, PIX_MODE_MASK, 256, false, Rounding::Store},
    {FastOp::Fill, PIX_MODE_MASK, 192, false, Rounding::ThreeQuarters},
    {FastOp::Fill, PIX_MODE_MASK, 128, false, Rounding::HalvesSummed},
    {FastOp::Fill, PIX_MODE_MASK, 64, false, Rounding::Quarter},
    {FastOp::LineRun, PIX_MODE_MASK, 256, true, Rounding::Store},
    {FastOp::LineRun, PIX_MODE_MASK, 192, true, Rounding::ThreeQuarters},
    {FastOp::LineRun, PIX_MODE_MASK, 128, true, Rounding::HalvesSummed},
    {FastOp::LineRun, PIX_MODE_MASK, 64, true, Rounding::Quarter},
    {FastOp::LineRun, PIX_MODE_MASK, 256, false, Rounding::Store},
    {FastOp::LineRun, PIX_MODE_MASK, 128, false, Rounding::SumHalved},
    {FastOp::Outline, PIX_MODE_MASK, 256, false, Rounding::Store},
    {FastOp::Outline, PIX_MODE_MASK, 128, false, Rounding::SumHalved},
    {FastOp::AADiagonalMain, PIX_MODE_MASK, 256, true, Rounding::ThreeQuarters},
    {FastOp::AADiagonalSide, PIX_MODE_MASK, 256, true, Rounding::Quarter},
    {FastOp::ThresholdedGlyph, PIX_MODE_MASK, 256, true, Rounding::Store},
};

// True when the alpha gave its weight without truncation.
inline bool IsExactAlpha(double alpha, int weight) { return alpha * 256.0 == double(weight); }

// The shortcut for the call, or null for the general loop.
inline const FastPath* FindFastPath(FastOp op, uint32_t mode, int weight, bool exactAlpha) {
    for (const FastPath& f : kFastPaths)
        if (f.op == op && (mode & f.modeBits) == PIX_MODE_COPY && f.weight == weight && (exactAlpha || !f.exactAlpha))
            return &f;
    return nullptr;
}

// One colour over n pixels with a shortcut's rounding.
template <Rounding R>
inline void FillSpanRounded(uint32_t* row, int64_t n, uint32_t c) {
    int64_t i = 0;
    if constexpr (R == Rounding::Store)
        if (n <= INT32_MAX) i = ActiveRowKernels().fillStore(row, int(n), c);
    for (; i < n; ++i) row[i] = RoundedCopy<R>(row[i], c);
}

// n source pixels onto n destination pixels with a shortcut's rounding.
template <Rounding R>
inline void BlendRowRounded(uint32_t* dst, const uint32_t* src, int64_t n) {
    if constexpr (R == Rounding::Store)
        std::memmove(dst, src, size_t(n) * 4);
    else
        for (int64_t i = 0; i < n; ++i) dst[i] = RoundedCopy<R>(dst[i], src[i]);
}

}  // namespace pix
