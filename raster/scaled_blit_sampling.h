// Source sampling shared by the scaled, delta and rotated blits: 16.16 positions,
// the column ranges that stay inside a source window, and the bilinear rule.
#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

#include "raster/bitmap.h"
#include "raster/simd_lanes.h"

namespace pix {

// 16.16 values of positions and steps must fit a signed 32-bit word; anything
// beyond (or NaN, or infinite) makes the call draw nothing.
inline bool ToFixed(double v, int64_t& out) {
    const double f = v * 65536.0;
    if (!(f > -2147483648.0 && f < 2147483648.0)) return false;
    out = int64_t(f);
    return true;
}

// Floor division for any signs (the divisor is not 0).
inline int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// The indices i in [0, n) whose position p + i * d lies in [0, limit) (16.16 values),
// as [first, last). Positions move monotonically, so the set is one interval.
struct Span {
    int first, last;
    bool empty() const { return first >= last; }
};
inline Span InsideRange(int64_t p, int64_t d, int64_t limit, int n) {
    int64_t lo = 0, hi = n;  // hi exclusive
    if (d == 0) {
        if (p < 0 || p >= limit) hi = 0;
    } else if (d > 0) {
        lo = std::max<int64_t>(lo, p >= 0 ? 0 : FloorDiv(-p + d - 1, d));
        hi = std::min<int64_t>(hi, FloorDiv(limit - 1 - p, d) + 1);
    } else {
        lo = std::max<int64_t>(lo, p < limit ? 0 : FloorDiv(p - limit + 1 - d - 1, -d));
        hi = std::min<int64_t>(hi, FloorDiv(p, -d) + 1);
    }
    if (hi < lo) hi = lo;
    return {int(std::clamp<int64_t>(lo, 0, n)), int(std::clamp<int64_t>(hi, 0, n))};
}
inline Span Intersect(Span a, Span b) { return {std::max(a.first, b.first), std::min(a.last, b.last)}; }

// A readable block of source pixels: columns [0, width), rows [0, height) from
// `origin`, rows `stride` bytes apart (negative for bitmaps stored bottom-up).
struct SourceWindow {
    const uint8_t* origin = nullptr;
    int64_t stride = 0;
    int width = 0, height = 0;
    const uint8_t* at(int x, int y) const { return origin + y * stride + int64_t(x) * 4; }
};

inline SourceWindow WindowOf(const PIX_IBitmap& bm, int left, int top, int width, int height) {
    const int64_t step = PIX_RowStep(bm) * 4;
    return {reinterpret_cast<const uint8_t*>(PIX_PixelAddress(bm, left, top)), step, width, height};
}

// A sampled pixel, packed as in memory (A, R, G, B from the low byte up).
struct Sample {
    uint32_t v;
    int a() const { return int(v & 255); }
    int r() const { return int(v >> 8 & 255); }
    int g() const { return int(v >> 16 & 255); }
    int b() const { return int(v >> 24); }
};
inline Sample MakeSample(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return {a | r << 8 | g << 16 | b << 24}; }

inline uint32_t LoadPixel(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

[[gnu::always_inline]] inline Sample Nearest(const SourceWindow& src, int x, int y) {
    const uint8_t* p = src.at(x, y);
    return {LoadPixel(p)};
}

// Two channels of a pixel in 32-bit lanes of one word (bytes 0 and 2, or 1 and 3),
// so one multiply by a 16-bit weight serves both: each lane's weighted sum stays
// below 255 x 65536 < 2^24 and never carries into the next lane.
inline uint64_t EvenChannels(const uint8_t* p) { return p[0] | uint64_t(p[2]) << 32; }
inline uint64_t OddChannels(const uint8_t* p) { return p[1] | uint64_t(p[3]) << 32; }
[[gnu::always_inline]] inline Sample Unpack(uint64_t even, uint64_t odd) {
    return MakeSample(uint32_t(even >> 16 & 255), uint32_t(odd >> 16 & 255), uint32_t(even >> 48 & 255),
                      uint32_t(odd >> 48 & 255));
}

// (p00 f00 + p10 f10 + p01 f01 + p11 f11) >> 16 for all four bytes at once.
[[gnu::always_inline]] inline Sample BilinearInterior(const uint8_t* p00, const uint8_t* p01, uint32_t f00,
                                                      uint32_t f10, uint32_t f01, uint32_t f11) {
#if defined(__SSE2__)
    // Weights up to 65536 do not fit a 16-bit lane, so each is split into a high and a
    // low byte; with the pair's channels side by side, one multiply-add then sums a
    // pixel pair per channel exactly in 32 bits.
    using O = Sse2Lanes;
    auto pixels = [](const uint8_t* p) { return O::Lo(O::Zip8(O::Pixel(LoadPixel(p)), O::Pixel(LoadPixel(p + 4)))); };
    const O::V top = pixels(p00), bottom = pixels(p01);
    auto pair = [](uint32_t a, uint32_t b) { return O::Set32(a | b << 16); };
    const O::V high =
        O::Add32(O::MulAdd16(top, pair(f00 >> 8, f10 >> 8)), O::MulAdd16(bottom, pair(f01 >> 8, f11 >> 8)));
    const O::V low =
        O::Add32(O::MulAdd16(top, pair(f00 & 255, f10 & 255)), O::MulAdd16(bottom, pair(f01 & 255, f11 & 255)));
    return {O::SaturatedPixel(O::Srl32<16>(O::Add32(O::Sll32<8>(high), low)))};
#else
    const uint64_t even = EvenChannels(p00) * f00 + EvenChannels(p00 + 4) * f10 + EvenChannels(p01) * f01 +
                          EvenChannels(p01 + 4) * f11;
    const uint64_t odd =
        OddChannels(p00) * f00 + OddChannels(p00 + 4) * f10 + OddChannels(p01) * f01 + OddChannels(p01 + 4) * f11;
    return Unpack(even, odd);
#endif
}

// Bilinear value at (x + fx / 65536, y + fy / 65536) for (x, y) inside the window.
// The last column and row interpolate in one direction only, so nothing beyond the
// window is read. f11 is computed unsigned: fx * fy reaches 2^32 - 2^17 + 1.
[[gnu::always_inline]] inline Sample Bilinear(const SourceWindow& src, int x, int y, uint32_t fx, uint32_t fy) {
    const uint8_t* p00 = src.at(x, y);
    const bool lastColumn = x >= src.width - 1, lastRow = y >= src.height - 1;
    if (!lastColumn && !lastRow) [[likely]] {
        const uint32_t f11 = (fx * fy) >> 16;
        return BilinearInterior(p00, p00 + src.stride, 65536 - fx - fy + f11, fx - f11, fy - f11, f11);
    }
    if (lastColumn && lastRow) return {LoadPixel(p00)};
    const uint8_t* p1 = lastColumn ? p00 + src.stride : p00 + 4;
    const uint64_t f = lastColumn ? fy : fx;
    return Unpack(EvenChannels(p00) * (65536 - f) + EvenChannels(p1) * f,
                  OddChannels(p00) * (65536 - f) + OddChannels(p1) * f);
}

// Turns a rectangle of negative size into the same rectangle of positive size.
// False when the moved start leaves the int range (the rectangle then lies wholly
// left of or above any bitmap).
inline bool Unmirror(int& pos, int& size) {
    if (size >= 0) return true;
    const int64_t start = int64_t(pos) + size;
    if (start < INT32_MIN) return false;
    pos = int(start);
    size = int(-int64_t(size) > INT32_MAX ? INT32_MAX : -int64_t(size));
    return true;
}

// ---- Samplers ------------------------------------------------------------------------
// The one set every resampling row loop takes: Sampler::get(window, s, t) samples the
// 16.16 position (s, t), which the loop keeps inside the window after adding kBias.

struct NearestSampler {
    // Positions are taken as they are: column s >> 16 of [0, width).
    static constexpr int64_t kBias = 0;
    [[gnu::always_inline]] static Sample get(const SourceWindow& src, int64_t s, int64_t t) {
        return Nearest(src, int(s >> 16), int(t >> 16));
    }
};

struct BilinearSampler {
    static constexpr int64_t kBias = 0;
    [[gnu::always_inline]] static Sample get(const SourceWindow& src, int64_t s, int64_t t) {
        return Bilinear(src, int(s >> 16), int(t >> 16), uint32_t(s & 0xffff), uint32_t(t & 0xffff));
    }
};

// Bilinear for positions measured between pixel centres: a position is drawn when
// it lies within half a pixel of the window (so each destination pixel whose centre
// maps into the source is drawn, on every side alike); the outer half-pixel repeats
// the edge.
struct CentredBilinearSampler {
    static constexpr int64_t kBias = 32768;
    [[gnu::always_inline]] static Sample get(const SourceWindow& src, int64_t s, int64_t t) {
        s = s < 0 ? 0 : s;
        t = t < 0 ? 0 : t;
        return Bilinear(src, int(s >> 16), int(t >> 16), uint32_t(s & 0xffff), uint32_t(t & 0xffff));
    }
};

// ceil(2^24 / n): (sum * r) >> 24 equals sum / n exactly for every box sum here
// (at most 25 taps of 255), without a division per byte.
inline constexpr std::array<uint32_t, 26> kBoxReciprocal = [] {
    std::array<uint32_t, 26> r{};
    for (uint32_t n = 1; n < 26; ++n) r[n] = ((1u << 24) + n - 1) / n;
    return r;
}();

}  // namespace pix
