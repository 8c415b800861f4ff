// Integer lines and their clipper.
#include "raster/line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "raster/line_clip.h"
#include "raster/vector_spans.h"

namespace pix {

namespace {

// Truncating (a * b) / c in double, as the clipper's crossings are defined.
int64_t CrossingOffset(int64_t a, int64_t b, int64_t c) {
    const double v = std::trunc(double(a) * double(b) / double(c));
    // The crossing lies between the two end points; the clamp only catches rounding of
    // products beyond 2^53.
    return v > 9.0e18 ? int64_t(9e18) : (v < -9.0e18 ? int64_t(-9e18) : int64_t(v));
}

// Pixel walkers below take the clipped end points; every pixel they touch lies inside.

template <class P>
void HorizontalRun(const Surface& s, const P& paint, int64_t x1, int64_t x2, int64_t y) {
    if (x2 < x1) std::swap(x1, x2);
    paint.run(s.at(x1, y), x2 - x1 + 1);
}

template <class P>
void VerticalRun(const Surface& s, const P& paint, int64_t x, int64_t y1, int64_t y2) {
    if (y2 < y1) std::swap(y1, y2);
    paint.column(s.at(x, y1), s.rowSpan, y2 - y1 + 1);
}

template <class P>
void Diagonal(const Surface& s, const P& paint, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    const int64_t stepXY = (x2 > x1 ? 1 : -1) + (y2 > y1 ? s.rowSpan : -s.rowSpan);
    uint32_t* p = s.at(x1, y1);
    for (int64_t i = std::abs(x2 - x1); i >= 0; --i, p += stepXY) paint.px(p);
}

// Anti-aliased diagonal: main pixels at three quarters, the two side pixels between each
// pair of main pixels at one quarter. mainPx and sidePx take the pixel pointer.
template <class Main, class Side>
void DiagonalAA(const Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Main& mainPx,
                const Side& sidePx) {
    const int64_t xs = x2 > x1 ? 1 : -1, ys = y2 > y1 ? s.rowSpan : -s.rowSpan;
    uint32_t* p = s.at(x1, y1);
    mainPx(p);
    for (int64_t i = std::abs(x2 - x1); i > 0; --i) {
        sidePx(p + xs);
        sidePx(p + ys);
        p += xs + ys;
        mainPx(p);
    }
}

struct GeneralLine {
    uint32_t* start;
    uint32_t* end;
    int64_t major;  // pointer step along the major axis
    int64_t minor;  // pointer step along the minor axis, signed toward the end
    int64_t n;      // |major delta|
    int derr;       // |minor| / |major| in 16.16
};

GeneralLine SetUpGeneral(const Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    int64_t dx = x2 - x1, dy = y2 - y1;
    const bool xMajor = std::abs(dy) < std::abs(dx);
    int64_t dMajor = xMajor ? dx : dy, dMinor = xMajor ? dy : dx;
    GeneralLine g;
    g.start = s.at(x1, y1);
    g.end = s.at(x2, y2);
    if (dMajor < 0) {
        dMajor = -dMajor;
        dMinor = -dMinor;
        std::swap(g.start, g.end);
    }
    const int64_t minorUnit = xMajor ? s.rowSpan : 1;
    g.major = xMajor ? 1 : s.rowSpan;
    g.minor = dMinor < 0 ? -minorUnit : minorUnit;
    g.n = dMajor;
    g.derr = int(double(std::abs(dMinor)) / double(dMajor) * 65536.0);
    return g;
}

// Two cursors walk in from both ends so the line is the same drawn either way round;
// the minor coordinate moves at the half-pixel crossing.
template <class P>
void General(const GeneralLine& g, const P& paint) {
    uint32_t* a = g.start;
    uint32_t* b = g.end;
    int acc = 0;
    for (int64_t i = 0; i < (g.n + 1) / 2; ++i) {
        paint.px(a);
        paint.px(b);
        acc += g.derr;
        if (acc >= 32768) {
            acc -= 65536;
            a += g.minor;
            b -= g.minor;
        }
        a += g.major;
        b -= g.major;
    }
    if (g.n % 2 == 0) paint.px(a);
}

template <class Plot>
void GeneralAA(const GeneralLine& g, const Plot& plot, int aw) {
    uint32_t* a = g.start;
    uint32_t* b = g.end;
    plot.px(a, aw);
    plot.px(b, aw);
    a += g.major;
    b -= g.major;
    int acc = g.derr;
    for (int64_t i = 1; i < (g.n + 1) / 2; ++i) {
        const int f = acc >> 8;
        const int wMain = CoverageWeight(255 - f, aw), wSide = CoverageWeight(f, aw);
        plot.px(a, wMain);
        plot.px(a + g.minor, wSide);
        plot.px(b, wMain);
        plot.px(b - g.minor, wSide);
        acc += g.derr;
        if (acc >= 65536) {
            acc -= 65536;
            a += g.minor;
            b -= g.minor;
        }
        a += g.major;
        b -= g.major;
    }
    if (g.n % 2 == 0) {
        const int f = acc >> 8;
        plot.px(a, CoverageWeight(255 - f, aw));
        plot.px(a + g.minor, CoverageWeight(f, aw));
    }
}

}  // namespace

bool ClipSegment(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2, int64_t width, int64_t height) {
    int c1 = OutCode(x1, y1, width, height), c2 = OutCode(x2, y2, width, height);
    for (int moves = 0;; ++moves) {
        if ((c1 | c2) == 0) return true;
        if ((c1 & c2) != 0 || moves == kMaxClipMoves) return false;
        const int c = c1 ? c1 : c2;
        int64_t x, y;
        // The bottom and right crossings are taken at height and width, then the point
        // is put on the last row or column.
        if (c & 8) {
            x = x1 + CrossingOffset(x2 - x1, height - y1, y2 - y1);
            y = height - 1;
        } else if (c & 4) {
            x = x1 + CrossingOffset(x2 - x1, -y1, y2 - y1);
            y = 0;
        } else if (c & 2) {
            y = y1 + CrossingOffset(y2 - y1, width - x1, x2 - x1);
            x = width - 1;
        } else {
            y = y1 + CrossingOffset(y2 - y1, -x1, x2 - x1);
            x = 0;
        }
        if (c1) {
            x1 = x;
            y1 = y;
            c1 = OutCode(x1, y1, width, height);
        } else {
            x2 = x;
            y2 = y;
            c2 = OutCode(x2, y2, width, height);
        }
    }
}

bool ClipToBox(double& x1, double& y1, double& x2, double& y2, double lo, double hi) {
    double t0 = 0.0, t1 = 1.0;
    int edge0 = -1, edge1 = -1;  // the edge (left, right, top, bottom) that set t0, t1
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - lo, hi - x1, y1 - lo, hi - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        // Ties count: q / p of a far-away end can round to exactly 0 or 1.
        if (p[i] < 0.0 && t >= t0)
            t0 = t, edge0 = i;
        else if (p[i] > 0.0 && t <= t1)
            t1 = t, edge1 = i;
    }
    if (t0 > t1) return false;
    // The coordinate that meets the edge is put on it exactly: from an end near
    // FLT_MAX, ax + t dx cancels to an error far larger than the box, which once cut
    // a line across a bitmap down to a single pixel.
    const double ax = x1, ay = y1;
    auto cut = [&](double t, int edge, double& x, double& y) {
        x = std::clamp(ax + t * dx, lo, hi);
        y = std::clamp(ay + t * dy, lo, hi);
        (edge < 2 ? x : y) = edge % 2 ? hi : lo;
    };
    if (edge1 >= 0) cut(t1, edge1, x2, y2);
    if (edge0 >= 0) cut(t0, edge0, x1, y1);
    return true;
}

}  // namespace pix

bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int width, int height) {
    if (!x1 || !y1 || !x2 || !y2) return false;
    int64_t a = *x1, b = *y1, c = *x2, d = *y2;
    const bool inside = pix::ClipSegment(a, b, c, d, width, height);
    *x1 = pix::SatInt64(a);
    *y1 = pix::SatInt64(b);
    *x2 = pix::SatInt64(c);
    *y2 = pix::SatInt64(d);
    return inside;
}

bool PIX_ClipLineToRect(int* x1, int* y1, int* x2, int* y2, int xlo, int ylo, int xhi, int yhi) {
    if (!x1 || !y1 || !x2 || !y2) return false;
    int64_t a = int64_t(*x1) - xlo, b = int64_t(*y1) - ylo, c = int64_t(*x2) - xlo, d = int64_t(*y2) - ylo;
    const bool inside = pix::ClipSegment(a, b, c, d, int64_t(xhi) - xlo, int64_t(yhi) - ylo);
    *x1 = pix::SatInt64(a + xlo);
    *y1 = pix::SatInt64(b + ylo);
    *x2 = pix::SatInt64(c + xlo);
    *y2 = pix::SatInt64(d + ylo);
    return inside;
}

void PIX_Line(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_PixelValue colour, float alpha, int mode,
              bool antialias) {
    pix::Surface s;
    if (!pix::GetSurface(bm, s)) return;
    int64_t ax = x1, ay = y1, bx = x2, by = y2;
    if (bm->isFlipped()) {
        ay = s.height - 1 - ay;
        by = s.height - 1 - by;
    }
    if (!pix::ClipSegment(ax, ay, bx, by, s.width, s.height)) return;
    const uint32_t m = uint32_t(mode);

    if (ay == by || ax == bx) {
        pix::WithPainter(pix::FastOp::LineRun, colour, alpha, m, [&](const auto& paint) {
            if (ay == by)
                pix::HorizontalRun(s, paint, ax, bx, ay);
            else
                pix::VerticalRun(s, paint, ax, ay, by);
        });
        return;
    }
    const int aw = PIX_AlphaWeight(alpha);
    const bool diagonal = std::abs(bx - ax) == std::abs(by - ay);
    if (diagonal && antialias) {
        const bool exact = pix::IsExactAlpha(alpha, aw);
        const pix::FastPath* main = pix::FindFastPath(pix::FastOp::AADiagonalMain, m, aw, exact);
        const pix::FastPath* side = pix::FindFastPath(pix::FastOp::AADiagonalSide, m, aw, exact);
        if (main && side) {
            pix::WithRounding(main->rounding, [&]<pix::Rounding RM>() {
                pix::WithRounding(side->rounding, [&]<pix::Rounding RS>() {
                    pix::DiagonalAA(
                        s, ax, ay, bx, by, [&](uint32_t* p) { *p = pix::RoundedCopy<RM>(*p, colour); },
                        [&](uint32_t* p) { *p = pix::RoundedCopy<RS>(*p, colour); });
                });
            });
            return;
        }
        const int wMain = int((3 * int64_t(aw)) / 4), wSide = aw / 4;
        pix::WithCoveragePlotter(colour, aw, m, [&](const auto& plot) {
            pix::DiagonalAA(
                s, ax, ay, bx, by, [&](uint32_t* p) { plot.px(p, wMain); },
                [&](uint32_t* p) { plot.px(p, wSide); });
        });
        return;
    }
    if (diagonal) {
        pix::WithPainter(pix::FastOp::Outline, colour, alpha, m,
                         [&](const auto& paint) { pix::Diagonal(s, paint, ax, ay, bx, by); });
        return;
    }
    const pix::GeneralLine g = pix::SetUpGeneral(s, ax, ay, bx, by);
    if (antialias)
        pix::WithCoveragePlotter(colour, aw, m, [&](const auto& plot) { pix::GeneralAA(g, plot, aw); });
    else
        pix::WithPainter(pix::FastOp::Outline, colour, alpha, m,
                         [&](const auto& paint) { pix::General(g, paint); });
}
