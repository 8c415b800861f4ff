// The raster tests' shared set-up: the library's drawing headers, pixel access,
// filling, the machine's vector levels and the blend rules.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "raster/alpha_runs.h"
#include "raster/bezier.h"
#include "raster/bitmap.h"
#include "raster/bitmap_ops.h"
#include "raster/blit.h"
#include "raster/cached_font.h"
#include "raster/canary_bitmap.h"
#include "raster/circle.h"
#include "raster/combiners.h"
#include "raster/fill.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "raster/rect_outline.h"
#include "raster/row_kernels.h"
#include "raster/sample_kernels.h"
#include "raster/scaled_blit.h"
#include "raster/simd_kernels.h"
#include "raster/strip_kernels.h"
#include "raster/strip_resample.h"
#include "raster/transform_blit.h"

// Every blend mode of the list, plain and weighted by source alpha (when asked), then
// the given extra words: a mode added to the list is swept by every test that uses this.
inline std::vector<uint32_t> ModeWords(bool sourceAlpha, std::initializer_list<uint32_t> extra = {}) {
    std::vector<uint32_t> words;
    for (const auto& m : kPixBlendModes) words.push_back(m.mode);
    if (sourceAlpha)
        for (const auto& m : kPixBlendModes) words.push_back(m.mode | PIX_MODE_USE_SOURCE_ALPHA);
    words.insert(words.end(), extra);
    return words;
}

// The plain loops and every vector level this machine runs, each with its row, sampling
// and strip kernels.
inline std::vector<pix::SimdLevel> MachineLevels() {
    std::vector<pix::SimdLevel> levels;
    for (pix::SimdLevel l : {pix::SimdLevel::None, pix::SimdLevel::Sse2, pix::SimdLevel::Avx2})
        if (pix::KernelsFor(l)) levels.push_back(l);
    return levels;
}

inline uint32_t& Px(PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

// Gives pixel (x, y) the value of f(x, y), row by row.
template <class F>
void FillWith(PIX_IBitmap& bm, F f) {
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) Px(bm, x, y) = uint32_t(f(x, y));
}
inline void Fill(PIX_IBitmap& bm, uint32_t v) { FillWith(bm, [v](int, int) { return v; }); }
inline void FillRandom(PIX_IBitmap& bm, uint32_t seed) {
    FillWith(bm, [rng = std::mt19937(seed)](int, int) mutable { return rng(); });
}

// Pixels of bm other than want(x, y).
template <class Want>
int CountMismatches(PIX_IBitmap& bm, Want want) {
    int n = 0;
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) n += Px(bm, x, y) != uint32_t(want(x, y));
    return n;
}
inline int CountDifferent(PIX_IBitmap& a, PIX_IBitmap& b) {
    return CountMismatches(a, [&](int x, int y) { return Px(b, x, y); });
}

// Stores its rows bottom-up, to prove an operation honours the flag.
class FlippedMemBitmap : public PIX_MemBitmap {
public:
    using PIX_MemBitmap::PIX_MemBitmap;
    bool isFlipped() const override { return true; }
};

inline int Weight(double alpha) { return int(std::trunc(alpha * 256.0)); }

// The whole-word copy paths at weights 64, 128, 192 and 256, byte by byte; false for
// any other weight.
inline bool FastCopy(uint32_t& d, uint32_t c, int w) {
    if (w != 64 && w != 128 && w != 192 && w != 256) return false;
    uint32_t out = 0;
    for (int sh = 0; sh < 32; sh += 8) {
        const int a = d >> sh & 255, b = c >> sh & 255;
        const int q[] = {b, (a >> 2) + (a >> 1) + (b >> 2), (a >> 1) + (b >> 1), (a >> 2) + (b >> 2) + (b >> 1)};
        out |= uint32_t(q[w / 64 % 4]) << sh;
    }
    d = out;
    return true;
}

// Pixel s blended onto d by the single-pixel combiner of `mode` (which the combiner
// sweep checks against its own reference), with s's alpha unless one is given.
inline uint32_t Blend(uint32_t d, uint32_t s, int w, uint32_t mode, std::optional<int> alpha = {}) {
    PIX_CombinePixelsByMode(reinterpret_cast<uint8_t*>(&d), PIX_PixelR(s), PIX_PixelG(s), PIX_PixelB(s),
                            alpha.value_or(PIX_PixelA(s)), w, mode);
    return d;
}

// Pixels that differ when draw(dest, source) runs on bottom-up bitmaps (either or
// both) instead of top-down ones holding the same images: the flag must be honoured.
template <class Draw>
int FlippedDifference(int sw, int sh, int dw, int dh, uint32_t seed, Draw draw) {
    PIX_MemBitmap src(sw, sh, 4), dst(dw, dh, 4);
    FlippedMemBitmap fsrc(sw, sh, 4);
    FillRandom(src, seed);
    FillRandom(fsrc, seed);
    FillRandom(dst, seed + 1);
    draw(dst, src);
    int differing = 0;
    for (int flips = 1; flips < 4; ++flips) {
        PIX_MemBitmap plain(dw, dh, 4);
        FlippedMemBitmap flipped(dw, dh, 4);
        PIX_IBitmap& d = flips & 2 ? static_cast<PIX_IBitmap&>(flipped) : plain;
        FillRandom(d, seed + 1);
        draw(d, flips & 1 ? static_cast<PIX_IBitmap&>(fsrc) : src);
        differing += CountDifferent(d, dst);
    }
    return differing;
}
