// Trapezoid, convex-polygon and triangle fills.
#include "raster/polygon.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#include "raster/vector_spans.h"

namespace pix {

// One edge of a trapezoid, stepped in 16.16 fixed point. 64-bit throughout: the slope of
// a steep edge times the rows clipped above the bitmap does not fit 32 bits.
struct TrapezoidEdge {
    int64_t x = 0;
    int64_t acc = 0;
    int64_t slope = 0;  // |x change per row| x 65536
    int dir = 1;

    int64_t span = 0;    // |bottom x - top x|
    int64_t height = 0;  // bottom y - top y

    void init(int64_t top, int64_t bottom, int64_t rows, double scale) {
        x = top;
        const double s = double(bottom - top) * scale;
        slope = int64_t(s < 0 ? -s : s);
        dir = s < 0 ? -1 : 1;
        span = bottom > top ? bottom - top : top - bottom;
        height = rows;
    }
    // Advances the edge past rows clipped above the bitmap as if they had been stepped.
    // Beyond 65536 rows the truncated 16.16 slope would have drifted by whole pixels, so
    // a long edge is placed from its exact position instead.
    void skip(int64_t rows) {
        if (rows > 65536 && height > 0) {
            const unsigned __int128 total = (unsigned __int128)span * uint64_t(rows);
            x += dir * int64_t(total / uint64_t(height));
            acc = int64_t(uint64_t(total % uint64_t(height)) * 65536.0 / double(height));
            return;
        }
        acc = slope * rows;
        if (acc > 65535) {
            x += dir * (acc >> 16);
            acc &= 0xffff;
        }
    }
    void step() {
        acc += slope;
        if (acc >= 65536) {
            x += dir * (acc >> 16);
            acc &= 0xffff;
        }
    }
};

template <class P>
void FillTrapezoidRows(const Surface& s, const P& paint, int64_t tax, int64_t tbx, int64_t ty, int64_t bax,
                       int64_t bbx, int64_t by) {
    if (by < ty) {
        std::swap(tax, bax);
        std::swap(tbx, bbx);
        std::swap(ty, by);
    }
    const int64_t tl = std::min(tax, tbx), tr = std::max(tax, tbx);
    const int64_t bl = std::min(bax, bbx), br = std::max(bax, bbx);
    const int64_t W = s.width, H = s.height;
    if ((tr < 0 && br < 0) || (tl >= W && bl >= W)) return;
    if (by < 0 || ty >= H) return;

    const double scale = by == ty ? 0.0 : 65536.0 / double(by - ty);
    TrapezoidEdge left, right;
    if (tl <= 0 && bl <= 0)
        left.x = 0;
    else
        left.init(tl, bl, by - ty, scale);
    if (tr >= W - 1 && br >= W - 1)
        right.x = W - 1;
    else
        right.init(tr, br, by - ty, scale);

    // An edge never passes its own bottom end, and the rows skipped here are at most the
    // trapezoid's height, so |slope| x rows stays within about 2^48.
    if (ty < 0) {
        left.skip(-ty);
        right.skip(-ty);
        ty = 0;
    }
    by = std::min(by, H - 1);
    uint32_t* row = s.at(0, ty);
    if (left.slope == 0 && right.slope == 0) {
        const int64_t lo = std::max<int64_t>(left.x, 0), hi = std::min<int64_t>(right.x + 1, W);
        if (lo >= hi) return;
        for (int64_t y = ty; y <= by; ++y, row += s.rowSpan) paint.run(row + lo, hi - lo);
        return;
    }
    for (int64_t y = ty; y <= by; ++y, row += s.rowSpan) {
        const int64_t lo = std::max<int64_t>(left.x, 0), hi = std::min<int64_t>(right.x + 1, W);
        if (lo < hi) paint.run(row + lo, hi - lo);
        left.step();
        right.step();
    }
}


namespace {

constexpr int kInlineVertices = 512;

// Next vertex of a chain from vertex i: among the later vertices off i's row, the one
// with the smallest (left chain, dir < 0) or largest (right chain) inverse slope, the
// last of equals winning; i itself when there is none. The slopes are compared exactly:
// in single precision, far-apart vertices tie by rounding and a corner gets skipped.
int NextVertex(const PIX_PolygonVertex* v, int count, int i, int dir) {
    int cand = i;
    for (int j = i + 1; j < count; ++j) {
        if (v[j].y == v[i].y) continue;
        if (cand == i) {
            cand = j;
            continue;
        }
        // Both rows lie below i's, so the slope comparison is a cross-multiplication.
        const __int128 lhs = (__int128)(v[j].x - v[i].x) * (v[cand].y - v[i].y);
        const __int128 rhs = (__int128)(v[cand].x - v[i].x) * (v[j].y - v[i].y);
        if (lhs == rhs || (dir < 0 ? lhs < rhs : lhs > rhs)) cand = j;
    }
    return cand;
}

// x of the edge from a to b (a the upper end) at row y. The float product can land a
// rounding step past the far end for huge spans; the clamp keeps it on the edge.
int64_t EdgeX(const PIX_PolygonVertex& a, const PIX_PolygonVertex& b, int64_t y) {
    if (y <= a.y) return a.x;
    if (y >= b.y) return b.x;
    const float slope = float(b.x - a.x) / float(b.y - a.y);
    const double dx = std::trunc(double(float(y - a.y) * slope));
    const int64_t x = a.x + int64_t(dx);
    return std::clamp(x, std::min(a.x, b.x), std::max(a.x, b.x));
}

template <class P>
void FillSortedPolygon(const Surface& s, const P& paint, const PIX_PolygonVertex* v, int count) {
    if (v[0].y == v[count - 1].y) {
        // The row's extent comes from the points alone: a row wholly left of the bitmap
        // must not reach column 0.
        if (v[0].y < 0 || v[0].y >= s.height) return;
        FillTrapezoidRows(s, paint, v[0].x, v[count - 1].x, v[0].y, v[0].x, v[count - 1].x, v[0].y);
        return;
    }
    int top = 0;
    while (top + 1 < count && v[top + 1].y == v[0].y) ++top;
    int left = 0;
    while (left + 1 <= top && v[left + 1].x == v[0].x) ++left;
    int right = top;
    int nextLeft = NextVertex(v, count, left, -1);
    int nextRight = NextVertex(v, count, right, +1);
    int64_t y = v[0].y;
    // Every band advances a chain to a later vertex, so 2 x count bands always suffice;
    // the bound only guards against points far from convex position.
    for (int guard = 2 * count + 2; (nextLeft != left || nextRight != right) && guard > 0; --guard) {
        const int64_t end = std::min(v[nextLeft].y, v[nextRight].y);
        FillTrapezoidRows(s, paint, EdgeX(v[left], v[nextLeft], y), EdgeX(v[right], v[nextRight], y), y,
                          EdgeX(v[left], v[nextLeft], end), EdgeX(v[right], v[nextRight], end), end);
        if (v[nextLeft].y == end) {
            left = nextLeft;
            nextLeft = NextVertex(v, count, left, -1);
        }
        if (v[nextRight].y == end) {
            right = nextRight;
            nextRight = NextVertex(v, count, right, +1);
        }
        y = end + 1;
    }
}

}  // namespace
}  // namespace pix

int PIX_ComparePolygonVertices(const void* a, const void* b) {
    const auto& p = *static_cast<const PIX_PolygonVertex*>(a);
    const auto& q = *static_cast<const PIX_PolygonVertex*>(b);
    if (p.y != q.y) return p.y < q.y ? -1 : 1;
    if (p.x != q.x) return p.x < q.x ? -1 : 1;
    return 0;
}

void PIX_FillTrapezoid(PIX_IBitmap* bm, int topXa, int topXb, int topY, int bottomXa, int bottomXb, int bottomY,
                       PIX_PixelValue colour, float alpha, PIX_DrawMode mode) {
    pix::Surface s;
    if (!pix::GetSurface(bm, s)) return;
    pix::WithPainter(pix::FastOp::Fill, colour, alpha, mode, [&](const auto& paint) {
        pix::FillTrapezoidRows(s, paint, topXa, topXb, topY, bottomXa, bottomXb, bottomY);
    });
}

void PIX_FillConvexPolygon(PIX_IBitmap* bm, const int* x, const int* y, int count, PIX_PixelValue colour,
                           float alpha, PIX_DrawMode mode) {
    pix::Surface s;
    if (!x || !y || count < 3 || !pix::GetSurface(bm, s)) return;
    PIX_PolygonVertex inlineBuf[pix::kInlineVertices];
    std::unique_ptr<PIX_PolygonVertex[]> heapBuf;
    PIX_PolygonVertex* v = inlineBuf;
    if (count > pix::kInlineVertices) {
        heapBuf.reset(new (std::nothrow) PIX_PolygonVertex[size_t(count)]);
        if (!heapBuf) return;
        v = heapBuf.get();
    }
    const bool flipped = bm->isFlipped();
    for (int i = 0; i < count; ++i) {
        v[i].x = x[i];
        v[i].y = flipped ? int64_t(s.height) - 1 - y[i] : int64_t(y[i]);
    }
    std::qsort(v, size_t(count), sizeof *v, PIX_ComparePolygonVertices);
    pix::WithPainter(pix::FastOp::Fill, colour, alpha, mode,
                     [&](const auto& paint) { pix::FillSortedPolygon(s, paint, v, count); });
}

void PIX_FillTriangle(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, PIX_PixelValue colour,
                      float alpha, PIX_DrawMode mode) {
    const int x[3] = {x1, x2, x3};
    const int y[3] = {y1, y2, y3};
    PIX_FillConvexPolygon(bm, x, y, 3, colour, alpha, mode);
}
