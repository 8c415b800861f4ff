// Source sampling shared by the scaled, delta and rotated blits: 16.16 positions,
// the column ranges that stay inside a source window, and the bilinear rule.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <climits>

#include "raster/bitmap.h"

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

struct Sample {
    int a, r, g, b;
};

inline Sample Nearest(const SourceWindow& src, int x, int y) {
    const uint8_t* p = src.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

// Bilinear value at (x + fx / 65536, y + fy / 65536) for (x, y) inside the window.
// The last column and row interpolate in one direction only, so nothing beyond the
// window is read. f11 is computed unsigned: fx * fy reaches 2^32 - 2^17 + 1.
inline Sample Bilinear(const SourceWindow& src, int x, int y, uint32_t fx, uint32_t fy) {
    const uint8_t* p00 = src.at(x, y);
    const bool lastColumn = x >= src.width - 1, lastRow = y >= src.height - 1;
    if (!lastColumn && !lastRow) {
        const uint8_t* p01 = p00 + src.stride;
        const uint32_t f11 = (fx * fy) >> 16;
        const uint32_t f10 = fx - f11, f01 = fy - f11, f00 = 65536 - fx - fy + f11;
        auto mix = [&](int c) {
            return int((p00[c] * f00 + p00[4 + c] * f10 + p01[c] * f01 + p01[4 + c] * f11) >> 16);
        };
        return {mix(0), mix(1), mix(2), mix(3)};
    }
    if (lastColumn && lastRow) return {p00[0], p00[1], p00[2], p00[3]};
    const uint8_t* p1 = lastColumn ? p00 + src.stride : p00 + 4;
    const uint32_t f = lastColumn ? fy : fx;
    auto mix = [&](int c) { return int((p00[c] * (65536 - f) + p1[c] * f) >> 16); };
    return {mix(0), mix(1), mix(2), mix(3)};
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

// Mode-word bits that ask for filtering.
inline bool WantsFilter(uint32_t mode) { return (mode & 0xff00) == 0x100; }

}  // namespace pix
