// Float-coordinate lines and dashed lines.
#include <algorithm>
#include <cmath>
#include <utility>

#include "raster/fline_drawer.h"
#include "raster/line.h"
#include "raster/line_clip.h"
#include "raster/vector_spans.h"

namespace pix {
namespace {

// Plain float lines go to the integer line by truncation. Coordinates beyond the int
// range are first cut to a box far outside any bitmap, keeping the line's direction.
void PlainFLine(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, PIX_PixelValue colour, float alpha,
                int mode) {
    double ax = x1, ay = y1, bx = x2, by = y2;
    constexpr double kBox = 1 << 30;
    if (!ClipToBox(ax, ay, bx, by, -kBox, kBox)) return;
    PIX_Line(bm, int(ax), int(ay), int(bx), int(by), colour, alpha, mode, false);
}

template <class P>
void DashRun(const P& paint, uint32_t* p, int64_t step, int64_t length, int64_t on, int64_t off) {
    int64_t pos = 0;
    while (pos < length - on) {
        paint.column(p + pos * step, step, on);
        pos += on + off;
    }
    const int64_t tail = std::min(length - pos, on);
    if (tail >= 1) paint.column(p + pos * step, step, tail);
}

}  // namespace
}  // namespace pix

bool PIX_ClipFLine(float* x1, float* y1, float* x2, float* y2, int width, int height) {
    if (!x1 || !y1 || !x2 || !y2 || !pix::Finite(*x1, *y1, *x2, *y2)) return false;
    // In double: width - 1 of INT_MIN (a rectangle spanning more than the int range)
    // must stay negative, not wrap to a huge area that answers "visible".
    const double W = double(width) - 1.0, H = double(height) - 1.0;
    float ax = *x1, ay = *y1, bx = *x2, by = *y2;
    auto outCode = [&](float x, float y) { return pix::OutCode(double(x), double(y), W, H); };
    int c1 = outCode(ax, ay), c2 = outCode(bx, by);
    bool inside = false;
    for (int moves = 0;; ++moves) {
        if ((c1 | c2) == 0) {
            inside = true;
            break;
        }
        if ((c1 & c2) != 0 || moves == pix::kMaxClipMoves) break;
        const int c = c1 ? c1 : c2;
        // The crossings are computed in double: in float the products of far-away points
        // overflow to infinity.
        const double X1 = ax, Y1 = ay, X2 = bx, Y2 = by;
        double x, y;
        if (c & 8) {
            x = (H - Y1) * (X2 - X1) / (Y2 - Y1) + X1;
            y = H - 1;
        } else if (c & 4) {
            x = (X2 - X1) * Y1 / (Y1 - Y2) + X1;
            y = 0;
        } else if (c & 2) {
            y = (Y2 - Y1) * (W - X1) / (X2 - X1) + Y1;
            x = W - 1;
        } else {
            y = (Y2 - Y1) * X1 / (X1 - X2) + Y1;
            x = 0;
        }
        if (!std::isfinite(float(x)) || !std::isfinite(float(y))) break;
        if (c1) {
            ax = float(x);
            ay = float(y);
            c1 = outCode(ax, ay);
        } else {
            bx = float(x);
            by = float(y);
            c2 = outCode(bx, by);
        }
    }
    *x1 = ax;
    *y1 = ay;
    *x2 = bx;
    *y2 = by;
    return inside;
}

bool PIX_ClipFLineToRect(float* x1, float* y1, float* x2, float* y2, float xlo, float ylo, float xhi, float yhi) {
    if (!x1 || !y1 || !x2 || !y2) return false;
    *x1 -= xlo;
    *y1 -= ylo;
    *x2 -= xlo;
    *y2 -= ylo;
    const bool inside = PIX_ClipFLine(x1, y1, x2, y2, pix::SatInt(double(xhi) - xlo), pix::SatInt(double(yhi) - ylo));
    *x1 += xlo;
    *y1 += ylo;
    *x2 += xlo;
    *y2 += ylo;
    return inside;
}

void PIX_FLine(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, PIX_PixelValue colour, float alpha,
               int mode, bool antialias) {
    pix::Surface s;
    if (!pix::GetSurface(bm, s) || !pix::Finite(x1, y1, x2, y2)) return;
    if (!antialias) {
        pix::PlainFLine(bm, x1, y1, x2, y2, colour, alpha, mode);
        return;
    }
    // Most lines of a scattered set miss the bitmap: they are clipped away before a
    // combiner is chosen.
    if (!pix::PrepareAASegment(s, bm->isFlipped(), x1, y1, x2, y2)) return;
    const int aw = PIX_AlphaWeight(alpha);
    pix::WithCoveragePlotter(colour, aw, uint32_t(mode),
                             [&](const auto& plot) { pix::FLineAA(s, plot, aw, x1, y1, x2, y2); });
}

void PIX_DashedLine(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int pixelsOn, int pixelsOff,
                    PIX_PixelValue colour, float alpha, int mode) {
    pix::Surface s;
    if (!pix::GetSurface(bm, s)) return;
    int64_t ax = x1, ay = y1, bx = x2, by = y2;
    if (!pix::ClipSegment(ax, ay, bx, by, s.width, s.height)) return;
    const bool horizontal = ay == by, vertical = ax == bx;
    // A pattern that does not advance, or has nothing on, draws nothing.
    if ((!horizontal && !vertical) || pixelsOn < 1 || int64_t(pixelsOn) + pixelsOff < 1) return;
    if (by < ay || (horizontal && bx < ax)) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    // The whole-word store of every other row at alpha 1.0 gives the same pixels as this
    // walk, so it needs no loop of its own.
    pix::WithPainter(pix::FastOp::Outline, colour, alpha, uint32_t(mode), [&](const auto& paint) {
        if (horizontal)
            pix::DashRun(paint, s.at(ax, ay), 1, bx - ax, pixelsOn, pixelsOff);
        else
            pix::DashRun(paint, s.at(ax, ay), s.rowSpan, by - ay, pixelsOn, pixelsOff);
    });
}
