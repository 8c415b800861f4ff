#include "raster/fill.h"
#include "raster/fast_paths.h"

#include <algorithm>

#include "raster/spans.h"

bool pix::ClipBox(const PIX_IBitmap* bm, int x, int y, int width, int height, Box& out) {
    if (!PIX_HasPixels(bm)) return false;
    int64_t X = x, Y = y, W = width, H = height;
    if (X < 0) W += X, X = 0;
    if (Y < 0) H += Y, Y = 0;
    const int64_t bw = bm->getWidth(), bh = bm->getHeight();
    if (X >= bw || Y >= bh) return false;
    W = std::min(W, bw - X);
    H = std::min(H, bh - Y);
    if (W <= 0 || H <= 0) return false;
    out = {int(X), int(Y), int(W), int(H)};
    return true;
}

namespace {

using pix::Box;
using pix::ClipBox;

template <class RowFn>
void ForEachRow(PIX_IBitmap* bm, const Box& b, RowFn&& row) {
    uint32_t* p = PIX_PixelAddress(*bm, b.x, b.y);
    const int64_t step = PIX_RowStep(*bm);
    for (int y = 0; y < b.h; ++y, p += step) row(p, b.w);
}

}  // namespace

void PIX_FillRect(PIX_IBitmap* bm, int x, int y, int width, int height, PIX_PixelValue colour, float alpha,
                  PIX_DrawMode mode) {
    double a = alpha;
    if (mode & PIX_MODE_USE_SOURCE_ALPHA) a *= PIX_PixelA(colour) / 255.0;
    Box box;
    if (a == 0.0 || !ClipBox(bm, x, y, width, height, box)) return;
    const int w = PIX_AlphaWeight(a);
    if (const pix::FastPath* f = pix::FindFastPath(pix::FastOp::Fill, mode, w, false)) {
        pix::WithRounding(f->rounding, [&]<pix::Rounding R>() {
            ForEachRow(bm, box, [&](uint32_t* row, int n) { pix::FillSpanRounded<R>(row, n, colour); });
        });
        return;
    }
    // The weight doubles as the colour's alpha value: a fill blends toward an alpha
    // byte that reflects its own strength.
    const int R = PIX_PixelR(colour), G = PIX_PixelG(colour), B = PIX_PixelB(colour);
    pix::WithSolidCombiner(mode, w, [&]<class Op>() {
        ForEachRow(bm, box, [&](uint32_t* row, int n) { pix::FillSpan<Op>(row, n, R, G, B, w, w); });
    });
}

void PIX_Clear(PIX_IBitmap* bm, PIX_PixelValue colour) {
    if (!PIX_HasPixels(bm)) return;
    ForEachRow(bm, {0, 0, bm->getWidth(), bm->getHeight()}, [colour](uint32_t* row, int n) { std::fill(row, row + n, colour); });
}

void PIX_ClearRect(PIX_IBitmap* bm, int x, int y, int width, int height, uint32_t andMask, uint32_t orBits) {
    Box box;
    if (!ClipBox(bm, x, y, width, height, box)) return;
    ForEachRow(bm, box, [andMask, orBits](uint32_t* row, int n) {
        for (int i = 0; i < n; ++i) row[i] = (row[i] & andMask) | orBits;
    });
}

PIX_PixelValue PIX_GetPixel(const PIX_IBitmap* bm, int x, int y) {
    if (!PIX_HasPixels(bm) || x < 0 || y < 0 || x >= bm->getWidth() || y >= bm->getHeight()) return 0;
    return *PIX_PixelAddress(*bm, x, y);
}

void PIX_PutPixel(PIX_IBitmap* bm, int x, int y, PIX_PixelValue colour, float alpha, PIX_DrawMode mode) {
    if (!PIX_HasPixels(bm) || x < 0 || y < 0 || x >= bm->getWidth() || y >= bm->getHeight()) return;
    uint32_t* p = PIX_PixelAddress(*bm, x, y);
    const int w = PIX_AlphaWeight(alpha);
    if (const pix::FastPath* f = pix::FindFastPath(pix::FastOp::Fill, mode, w, false)) {
        pix::WithRounding(f->rounding, [&]<pix::Rounding R>() { *p = pix::RoundedCopy<R>(*p, colour); });
        return;
    }
    pix::WithSolidCombiner(mode, w, [&]<class Op>() {
        Op::apply(pix::Bytes(p), PIX_PixelR(colour), PIX_PixelG(colour), PIX_PixelB(colour), PIX_PixelA(colour), w);
    });
}

void PIX_DrawGlyph(PIX_IBitmap* bm, int x, int y, PIX_PixelValue colour, const uint8_t* coverage, int maskWidth,
                   int maskRowSpan, int maskHeight, float alpha, PIX_DrawMode mode) {
    // A short row span would make rows overlap and, on the last row, read past the mask.
    if (!bm || !coverage || maskWidth <= 0 || maskHeight <= 0 || maskRowSpan < maskWidth) return;
    if (!(x > -maskWidth && y > -maskHeight)) return;
    int64_t X = x, Y = y, W = maskWidth, H = maskHeight;
    const uint8_t* mask = coverage;
    if (X < 0) mask += -X, W += X, X = 0;
    if (Y < 0) mask += -Y * int64_t(maskRowSpan), H += Y, Y = 0;
    Box box;
    if (!ClipBox(bm, int(X), int(Y), int(W), int(H), box)) return;
    const int w = PIX_AlphaWeight(alpha);
    const int R = PIX_PixelR(colour), G = PIX_PixelG(colour), B = PIX_PixelB(colour), A = PIX_PixelA(colour);
    pix::WithSolidCombiner(mode, w, [&]<class Op>() {
        ForEachRow(bm, box, [&](uint32_t* row, int n) {
            pix::BlendCoverageSpan<Op>(row, mask, n, R, G, B, A, w);
            mask += maskRowSpan;
        });
    });
}

void PIX_DrawGlyphEx(PIX_IBitmap* bm, int x, int y, PIX_PixelValue colour, const uint8_t* coverage, int maskWidth,
                     int maskHeight, float alpha, PIX_DrawMode mode) {
    PIX_DrawGlyph(bm, x, y, colour, coverage, maskWidth, maskWidth, maskHeight, alpha, mode);
}
