// Row primitives shared by the blits, fills, vector drawing and text: each is a
// template over a combiner policy of raster/combiners.h, instantiated once per mode
// through WithCombiner / WithSolidCombiner, with plain counted loops the compiler can
// vectorise.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "raster/combiners.h"
#include "raster/fast_paths.h"
#include "raster/row_kernels.h"

namespace pix {

// The full-weight combiners ignore the weight; where the weight varies per pixel
// (coverage, anti-aliasing) their general forms must be used instead.
template <class Op> struct PerPixelWeightOf { using type = Op; };
template <> struct PerPixelWeightOf<CopyFull> { using type = Copy; };
template <> struct PerPixelWeightOf<CopySourceAlphaFull> { using type = CopySourceAlpha; };
template <> struct PerPixelWeightOf<CopyFullClamp> { using type = CopyClamp; };
template <> struct PerPixelWeightOf<CopySourceAlphaFullClamp> { using type = CopySourceAlphaClamp; };
template <class Op> using PerPixelWeight = typename PerPixelWeightOf<Op>::type;

// Most general combiners leave a pixel exactly as it was at weight 0, so zero coverage
// needs no test (and the loop no branch) for them; the mode list says which.
template <class Op> inline constexpr bool kZeroWeightKeepsPixel = true;
#define PIX_ZERO_WEIGHT_KEEPS(NAME, Policy, number, keeps)                  \
    template <> inline constexpr bool kZeroWeightKeepsPixel<Policy> = keeps; \
    template <> inline constexpr bool kZeroWeightKeepsPixel<Policy##SourceAlpha> = keeps;
PIX_BLEND_MODES(PIX_ZERO_WEIGHT_KEEPS)
#undef PIX_ZERO_WEIGHT_KEEPS

inline uint8_t* Bytes(uint32_t* p) { return reinterpret_cast<uint8_t*>(p); }
inline const uint8_t* Bytes(const uint32_t* p) { return reinterpret_cast<const uint8_t*>(p); }

// ---- 16-bit forms of the copy blends -------------------------------------------------
// For bytes and a keep factor k = 256 - w in 0..256, |d - s| k fits 16 bits, so the
// truncating division of a signed difference becomes a shift of its magnitude. Exactly
// the copy formula, but in lanes twice as many per vector as the 32-bit arithmetic
// (and without the 32-bit multiplies baseline x86-64 lacks). Selections by mask keep
// the loops branch-free.
namespace narrow {

inline uint8_t Select(bool c, uint8_t a, uint8_t b) {
    const uint8_t m = uint8_t(-int(c));
    return uint8_t((a & m) | (b & ~m));
}

// s + (d - s) k / 256, truncated toward zero.
inline uint8_t Copy(uint8_t d, uint8_t s, uint16_t k) {
    const uint8_t hi = d > s ? d : s, lo = d < s ? d : s;
    const uint8_t q = uint8_t(uint16_t(uint16_t(hi - lo) * k) >> 8);
    return Select(d >= s, uint8_t(s + q), uint8_t(s - q));
}

inline bool IsByte(int v) { return unsigned(v) < 256u; }

// The source-alpha copy of a row: per source alpha a, the alpha byte grows by grow(a)
// (saturating) and the colour keeps keep(a) / 256 of the old; a = 0 is left out.
template <class Grow, class Keep>
inline void SourceAlphaCopyRow(uint32_t* dst, const uint32_t* src, int n, Grow grow, Keep keep) {
    uint8_t* d = reinterpret_cast<uint8_t*>(dst);
    const uint8_t* s = reinterpret_cast<const uint8_t*>(src);
    for (int i = 0; i < n; ++i) {
        uint8_t* p = d + 4 * i;
        const uint8_t* q = s + 4 * i;
        const uint8_t a = q[0];
        const uint16_t k = uint16_t(keep(a));
        const uint16_t da = uint16_t(p[0] + grow(a));
        const uint8_t v[4] = {uint8_t(da < 255 ? da : 255), Copy(p[1], q[1], k), Copy(p[2], q[2], k),
                              Copy(p[3], q[3], k)};
        for (int j = 0; j < 4; ++j) p[j] = Select(a != 0, v[j], p[j]);
    }
}

}  // namespace narrow

// n pixels of one colour (channels r, g, b, a) at weight w.
template <class Op>
inline void FillSpan(uint32_t* row, int n, int r, int g, int b, int a, int w) {
    using narrow::IsByte;
    if constexpr (std::is_same_v<Op, CopyFull>) {
        const uint32_t c = PIX_MakePixel(a, r, g, b);
        for (int i = ActiveRowKernels().fillStore(row, n, c); i < n; ++i) row[i] = c;
    } else if (std::is_same_v<Op, Copy> && w >= 0 && w <= 256 && IsByte(r) && IsByte(g) && IsByte(b) &&
               IsByte(a)) {
        const uint16_t k = uint16_t(256 - w);
        // The colour repeated over a block of 16 pixels lets the loop run over plain
        // bytes, a whole vector of them per step.
        constexpr int kBlock = 16;
        uint8_t pattern[4 * kBlock];
        const uint8_t c[4] = {uint8_t(a), uint8_t(r), uint8_t(g), uint8_t(b)};
        for (int j = 0; j < 4 * kBlock; ++j) pattern[j] = c[j & 3];
        const int done = ActiveRowKernels().fillWeighted(row, n, PIX_MakePixel(a, r, g, b), k);
        uint8_t* p = Bytes(row + done);
        int i = done;
        for (; i + kBlock <= n; i += kBlock, p += 4 * kBlock)
            for (int j = 0; j < 4 * kBlock; ++j) p[j] = narrow::Copy(p[j], pattern[j], k);
        for (int j = 0; j < 4 * (n - i); ++j) p[j] = narrow::Copy(p[j], pattern[j], k);
    } else {
        uint8_t* p = Bytes(row);
        for (int i = 0; i < n; ++i) Op::apply(p + 4 * i, r, g, b, a, w);
    }
}

// n pixels of one colour through 8-bit coverage: pixel i at weight cov[i] w / 256,
// left alone where the coverage is 0.
template <class Op>
inline void BlendCoverageSpan(uint32_t* row, const uint8_t* cov, int n, int r, int g, int b, int a, int w) {
    using WOp = PerPixelWeight<Op>;
    using narrow::IsByte;
    uint8_t* p = Bytes(row);
    if (std::is_same_v<WOp, Copy> && w >= 0 && w <= 256 && IsByte(r) && IsByte(g) && IsByte(b) && IsByte(a)) {
        const uint8_t c[4] = {uint8_t(a), uint8_t(r), uint8_t(g), uint8_t(b)};
        for (int i = 0; i < n; ++i) {
            const uint16_t k = uint16_t(256 - ((cov[i] * w) >> 8));
            for (int j = 0; j < 4; ++j) p[4 * i + j] = narrow::Copy(p[4 * i + j], c[j], k);
        }
    } else if constexpr (kZeroWeightKeepsPixel<WOp>) {
        for (int i = 0; i < n; ++i) WOp::apply(p + 4 * i, r, g, b, a, (cov[i] * w) / 256);
    } else {
        for (int i = 0; i < n; ++i)
            if (cov[i] != 0) WOp::apply(p + 4 * i, r, g, b, a, (cov[i] * w) / 256);
    }
}

// n source pixels onto n destination pixels at weight w, each source pixel's bytes
// being the colour. Source and destination must not overlap (other than being equal).
template <class Op>
inline void BlendRow(uint32_t* dst, const uint32_t* src, int n, int w) {
    if constexpr (std::is_same_v<Op, CopyFull>) {
        std::memmove(dst, src, size_t(n) * 4);
    } else if constexpr (std::is_same_v<Op, CopySourceAlphaFull>) {
        // The weight of the GUI's images: the alpha byte grows by a, the colour keeps
        // 255 - a of the old.
        const int i = ActiveRowKernels().sourceAlphaCopyFull(dst, src, n);
        narrow::SourceAlphaCopyRow(dst + i, src + i, n - i, [](int a) { return a; }, [](int a) { return 255 - a; });
    } else if (std::is_same_v<Op, CopySourceAlpha> && w >= 0 && w <= 256) {
        const int i = w < 256 ? ActiveRowKernels().sourceAlphaCopy(dst, src, n, w) : 0;
        const auto weight = [w](int a) { return ((a + 1) * w) >> 8; };  // 0..256
        narrow::SourceAlphaCopyRow(dst + i, src + i, n - i, weight, [weight](int a) { return 256 - weight(a); });
    } else if (std::is_same_v<Op, Copy> && w >= 0 && w <= 256) {
        const uint16_t k = uint16_t(256 - w);
        const int i = ActiveRowKernels().copyWeighted(dst, src, n, k);
        uint8_t* d = Bytes(dst + i);
        const uint8_t* s = Bytes(src + i);
        const int bytes = 4 * (n - i);
        for (int j = 0; j < bytes; ++j) d[j] = narrow::Copy(d[j], s[j], k);
    } else {
        uint8_t* d = Bytes(dst);
        const uint8_t* s = Bytes(src);
        for (int i = 0; i < n; ++i) Op::apply(d + 4 * i, s[4 * i + 1], s[4 * i + 2], s[4 * i + 3], s[4 * i], w);
    }
}

}  // namespace pix
