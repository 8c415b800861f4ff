#include "raster/blit.h"

#include <algorithm>
#include <new>

#include "raster/fast_paths.h"
#include "raster/spans.h"

namespace pix {

// 64-bit so that extreme coordinates cannot wrap.
bool ClipBlit(const PIX_IBitmap& dst, const PIX_IBitmap& src, int dx, int dy, const PIX_Rect* rect, BlitArea& out) {
    int64_t x = dx, y = dy, l = 0, t = 0, r = src.getWidth(), b = src.getHeight();
    if (rect) {
        l = rect->left;
        t = rect->top;
        if (l < 0) x -= l, l = 0;
        if (t < 0) y -= t, t = 0;
        r = std::min<int64_t>(rect->right, src.getWidth());
        b = std::min<int64_t>(rect->bottom, src.getHeight());
    }
    if (x < 0) l -= x, x = 0;
    if (y < 0) t -= y, y = 0;
    const int64_t dw = dst.getWidth(), dh = dst.getHeight();
    if (x >= dw || y >= dh) return false;
    r = std::min(r, l + (dw - x));
    b = std::min(b, t + (dh - y));
    if (r <= l || b <= t) return false;
    if (!PIX_HasPixels(&dst) || !PIX_HasPixels(&src)) return false;
    out = {int(x), int(y), int(l), int(t), int(r - l), int(b - t)};
    return true;
}

PIX_Rect SourceRect(int sx, int sy, int sw, int sh) {
    // Saturating: a rectangle reaching past INT_MAX is clipped by the source size anyway.
    const auto end = [](int origin, int size) {
        const int64_t e = int64_t(origin) + size;
        return int(std::clamp<int64_t>(e, INT32_MIN, INT32_MAX));
    };
    return {sx, sy, end(sx, sw), end(sy, sh)};
}

}  // namespace pix

namespace {

// The memory an area of rows occupies, first byte to one past the last.
struct Extent {
    uintptr_t lo, hi;
};
Extent ExtentOf(const uint32_t* first, int64_t step, int w, int h) {
    const uintptr_t a = reinterpret_cast<uintptr_t>(first);
    const uintptr_t b = reinterpret_cast<uintptr_t>(first + step * (h - 1));
    return {std::min(a, b), std::max(a, b) + uintptr_t(w) * 4};
}

// Rows of sprites are short and far apart, too short for the processor to see the
// stream, so each row asks for the next destination row ahead of its own blend. Long
// rows are streamed well without help.
constexpr int kPrefetchRowPixels = 512;
void PrefetchRow(const uint32_t* p, int w) {
    const char* b = reinterpret_cast<const char*>(p);
    const char* e = b + int64_t(w) * 4;
    for (; b < e; b += 64) __builtin_prefetch(b, 1);
    __builtin_prefetch(e - 1, 1);
}

// Runs row(d, s, n) over an area. When the two areas share memory, rows and chunks go
// in the order that reads every source pixel before it is overwritten, as memmove
// does, through a small buffer; identical areas need no care since every row function
// reads a pixel before it writes the same pixel.
template <class RowFn>
void ForEachRow(uint32_t* d, int64_t dstep, const uint32_t* s, int64_t sstep, int w, int h, RowFn&& row) {
    const Extent de = ExtentOf(d, dstep, w, h), se = ExtentOf(s, sstep, w, h);
    const bool shared = de.lo < se.hi && se.lo < de.hi;
    if (!shared || (d == s && dstep == sstep)) {
        const bool prefetch = w <= kPrefetchRowPixels;
        for (int y = 0; y < h; ++y, d += dstep, s += sstep) {
            if (prefetch && y + 1 < h) PrefetchRow(d + dstep, w);
            row(d, s, w);
        }
        return;
    }
    constexpr int kChunk = 256;
    uint32_t buf[kChunk];
    const bool downward = reinterpret_cast<uintptr_t>(d) > reinterpret_cast<uintptr_t>(s);
    // Walk memory from high to low addresses when the destination lies above the source.
    const bool lastRowFirst = downward == (dstep > 0);
    for (int k = 0; k < h; ++k) {
        const int y = lastRowFirst ? h - 1 - k : k;
        uint32_t* drow = d + dstep * y;
        const uint32_t* srow = s + sstep * y;
        const int chunks = (w + kChunk - 1) / kChunk;
        for (int c = 0; c < chunks; ++c) {
            const int x0 = (downward ? chunks - 1 - c : c) * kChunk;
            const int n = std::min(kChunk, w - x0);
            std::copy(srow + x0, srow + x0 + n, buf);
            row(drow + x0, buf, n);
        }
    }
}

}  // namespace

void PIX_BlitRect(PIX_IBitmap* dst, const PIX_IBitmap* src, int dx, int dy, const PIX_Rect* srcRect, float alpha,
                  PIX_DrawMode mode) {
    if (!dst || !src || alpha == 0.0f) return;
    pix::BlitArea a;
    if (!pix::ClipBlit(*dst, *src, dx, dy, srcRect, a)) return;
    uint32_t* d = PIX_PixelAddress(*dst, a.dx, a.dy);
    const uint32_t* s = PIX_PixelAddress(*src, a.sx, a.sy);
    const int64_t dstep = PIX_RowStep(*dst), sstep = PIX_RowStep(*src);
    auto run = [&](auto&& row) { ForEachRow(d, dstep, s, sstep, a.w, a.h, row); };

    if (PIX_IsChannelCopy(mode)) {
        const int from = int(mode & 3), to = int(mode >> 2 & 3);
        run([from, to](uint32_t* drow, const uint32_t* srow, int n) {
            uint8_t* db = pix::Bytes(drow) + to;
            const uint8_t* sb = pix::Bytes(srow) + from;
            for (int i = 0; i < n; ++i) db[4 * i] = sb[4 * i];
        });
        return;
    }
    const int w = PIX_AlphaWeight(alpha);
    if (const pix::FastPath* f = pix::FindFastPath(pix::FastOp::Blit, mode, w, pix::IsExactAlpha(alpha, w))) {
        pix::WithRounding(f->rounding, [&]<pix::Rounding R>() {
            run([](uint32_t* drow, const uint32_t* srow, int n) { pix::BlendRowRounded<R>(drow, srow, n); });
        });
        return;
    }
    pix::WithCombiner(mode, w, [&]<class Op>() {
        run([w](uint32_t* drow, const uint32_t* srow, int n) { pix::BlendRow<Op>(drow, srow, n, w); });
    });
}

void PIX_Blit(PIX_IBitmap* dst, const PIX_IBitmap* src, int dx, int dy, int sx, int sy, int sw, int sh, float alpha,
              PIX_DrawMode mode) {
    const PIX_Rect r = pix::SourceRect(sx, sy, sw, sh);
    PIX_BlitRect(dst, src, dx, dy, &r, alpha, mode);
}

void PIX_Copy(PIX_IBitmap* dst, const PIX_IBitmap* src) {
    if (!dst || !src) return;
    dst->resize(src->getWidth(), src->getHeight());
    PIX_BlitRect(dst, src, 0, 0, nullptr, 1.0f, PIX_MODE_COPY);
}

void PIX_GradRect(PIX_IBitmap* dst, int x, int y, int width, int height, float r, float g, float b, float a,
                  float drdx, float dgdx, float dbdx, float dadx, float drdy, float dgdy, float dbdy, float dady,
                  PIX_DrawMode mode) {
    if (!dst) return;
    // Colour channels on 0..255, alpha as a weight on 0..256.
    double start[4] = {r * 255.0, g * 255.0, b * 255.0, a * 256.0};
    const double perX[4] = {drdx * 255.0, dgdx * 255.0, dbdx * 255.0, dadx * 256.0};
    const double perY[4] = {drdy * 255.0, dgdy * 255.0, dbdy * 255.0, dady * 256.0};
    int64_t X = x, Y = y, W = width, H = height;
    if (X < 0) {
        for (int c = 0; c < 4; ++c) start[c] += double(-X) * perX[c];
        W += X;
        X = 0;
    }
    if (Y < 0) {
        for (int c = 0; c < 4; ++c) start[c] += double(-Y) * perY[c];
        H += Y;
        Y = 0;
    }
    W = std::min<int64_t>(W, dst->getWidth() - X);
    H = std::min<int64_t>(H, dst->getHeight() - Y);
    if (W <= 0 || H <= 0 || !PIX_HasPixels(dst)) return;

    // 16.16 accumulators, saturated on conversion and kept in 64 bits so that long
    // runs cannot wrap; channels are saturated to the range the clamped combiners take.
    int64_t rowAcc[4], dX[4], dY[4];
    for (int c = 0; c < 4; ++c) {
        rowAcc[c] = PIX_ToFixed16(start[c]);
        dX[c] = PIX_ToFixed16(perX[c]);
        dY[c] = PIX_ToFixed16(perY[c]);
    }
    const auto channel = [](int64_t acc) {
        const int64_t v = acc / 65536;
        return int(std::clamp<int64_t>(v, -pix::kPixMaxClampChannel, pix::kPixMaxClampChannel));
    };
    uint32_t* row = PIX_PixelAddress(*dst, int(X), int(Y));
    const int64_t step = PIX_RowStep(*dst);
    const int n = int(W), rows = int(H);
    // Any weight other than 0 and 256 selects the general (per-pixel weight) combiners.
    pix::WithClampCombiner(mode & PIX_MODE_MASK, 1, [&]<class Op>() {
        for (int yy = 0; yy < rows; ++yy, row += step) {
            int64_t acc[4] = {rowAcc[0], rowAcc[1], rowAcc[2], rowAcc[3]};
            uint8_t* p = pix::Bytes(row);
            for (int i = 0; i < n; ++i) {
                const int A = channel(acc[3]);
                Op::apply(p + 4 * i, channel(acc[0]), channel(acc[1]), channel(acc[2]), A, A);
                for (int c = 0; c < 4; ++c) acc[c] += dX[c];
            }
            for (int c = 0; c < 4; ++c) rowAcc[c] += dY[c];
        }
    });
}

namespace {

inline uint32_t Eighth(uint32_t x) { return x >> 3 & 0x1f1f1f1fu; }

// One output row of the blur from the source rows above, at and below it (above or
// below null at the area's edge). Every term is truncated per byte before the sum, so
// no byte can carry into the next (at most 127 + 63 + 63).
void BlurRow(uint32_t* out, const uint32_t* above, const uint32_t* cur, const uint32_t* below, int n) {
    using pix::HalfOf;
    using pix::QuarterOf;
    const auto vertical = [&](int i) {
        if (above && below) return Eighth(above[i]) + Eighth(below[i]);
        return QuarterOf(above ? above[i] : below[i]);
    };
    const uint32_t first = HalfOf(cur[0]) + QuarterOf(cur[1]) + vertical(0);
    const uint32_t last = HalfOf(cur[n - 1]) + QuarterOf(cur[n - 2]) + vertical(n - 1);
    if (above && below) {
        for (int i = 1; i < n - 1; ++i)
            out[i] = HalfOf(cur[i]) + Eighth(cur[i - 1]) + Eighth(cur[i + 1]) + Eighth(above[i]) + Eighth(below[i]);
    } else {
        const uint32_t* v = above ? above : below;
        for (int i = 1; i < n - 1; ++i) out[i] = HalfOf(cur[i]) + Eighth(cur[i - 1]) + Eighth(cur[i + 1]) + QuarterOf(v[i]);
    }
    out[0] = first;
    out[n - 1] = last;
}

}  // namespace

void PIX_Blur(PIX_IBitmap* dst, const PIX_IBitmap* src, int dx, int dy, int sx, int sy, int sw, int sh) {
    if (!dst || !src) return;
    int64_t l = std::max(sx, 0), t = std::max(sy, 0);
    int64_t r = std::min<int64_t>(int64_t(sx) + sw, src->getWidth());
    int64_t b = std::min<int64_t>(int64_t(sy) + sh, src->getHeight());
    int64_t X = dx, Y = dy;
    if (X < 0) l -= X, X = 0;
    if (Y < 0) t -= Y, Y = 0;
    r = std::min<int64_t>(r, l + dst->getWidth() - X);
    b = std::min<int64_t>(b, t + dst->getHeight() - Y);
    if (r - l < 2 || b - t < 2 || !PIX_HasPixels(dst) || !PIX_HasPixels(src)) return;
    const int w = int(r - l), h = int(b - t);

    uint32_t* d = PIX_PixelAddress(*dst, int(X), int(Y));
    const uint32_t* s = PIX_PixelAddress(*src, int(l), int(t));
    const int64_t dstep = PIX_RowStep(*dst), sstep = PIX_RowStep(*src);
    const Extent de = ExtentOf(d, dstep, w, h), se = ExtentOf(s, sstep, w, h);
    if (!(de.lo < se.hi && se.lo < de.hi)) {
        for (int y = 0; y < h; ++y)
            BlurRow(d + dstep * y, y > 0 ? s + sstep * (y - 1) : nullptr, s + sstep * y,
                    y < h - 1 ? s + sstep * (y + 1) : nullptr, w);
        return;
    }

    // In place (or overlapping): each source row is saved before any output can land
    // on it, three rows at a time, walking memory in the direction that keeps the rows
    // still to be saved intact. Up to 1024 pixels wide the rows live on the stack.
    constexpr int kStackWidth = 1024;
    uint32_t stackRows[3 * kStackWidth];
    uint32_t* heapRows = nullptr;
    if (w > kStackWidth) {
        heapRows = new (std::nothrow) uint32_t[size_t(w) * 3];
        if (!heapRows) return;  // no room for the saved rows: draw nothing rather than smear
    }
    uint32_t* ring[3];
    for (int i = 0; i < 3; ++i) ring[i] = (heapRows ? heapRows : stackRows) + size_t(i) * w;

    const bool downward = reinterpret_cast<uintptr_t>(d) > reinterpret_cast<uintptr_t>(s);
    const bool lastRowFirst = downward == (dstep > 0);
    const int first = lastRowFirst ? h - 1 : 0, dir = lastRowFirst ? -1 : 1;
    const auto save = [&](uint32_t* to, int y) { std::copy(s + sstep * y, s + sstep * y + w, to); };
    save(ring[1], first);
    save(ring[2], first + dir);
    for (int k = 0; k < h; ++k) {
        const int y = first + k * dir;
        const uint32_t* behind = k > 0 ? ring[0] : nullptr;
        const uint32_t* ahead = k < h - 1 ? ring[2] : nullptr;
        BlurRow(d + dstep * y, dir > 0 ? behind : ahead, ring[1], dir > 0 ? ahead : behind, w);
        uint32_t* oldest = ring[0];
        ring[0] = ring[1];
        ring[1] = ring[2];
        ring[2] = oldest;
        if (k + 2 < h) save(ring[2], first + (k + 2) * dir);
    }
    delete[] heapRows;
}
