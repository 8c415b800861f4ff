// Circles, discs, arcs and rounded rectangles.
#include "raster/circle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <type_traits>

#include "raster/bezier.h"
#include "raster/circle_drawer.h"
#include "raster/fill.h"
#include "raster/line.h"
#include "raster/rect_outline.h"
#include "raster/vector_spans.h"

namespace pix {
namespace {

// Small outlines are stamped from fixed coverage masks, (2r + 1) pixels square.
constexpr uint8_t kMaskAA15[] = {0x4f, 0xff, 0xff, 0x4f, 0xff, 0x0f, 0x0f, 0xff,
                                 0xff, 0x0f, 0x0f, 0xff, 0x4f, 0xff, 0xff, 0x4f};
constexpr uint8_t kMaskAA2[] = {0x0f, 0xbf, 0xff, 0xbf, 0x0f, 0xbf, 0xd1, 0x4f, 0xd1, 0xbf, 0xff, 0x4f, 0x00,
                                0x4f, 0xff, 0xbf, 0xd1, 0x4f, 0xd1, 0xbf, 0x0f, 0xbf, 0xff, 0xbf, 0x0f};
constexpr uint8_t kMaskAA25[] = {0x0f, 0xbf, 0xff, 0xff, 0xbf, 0x0f, 0xbf, 0xd1, 0x4f, 0x4f, 0xd1, 0xbf,
                                 0xff, 0x4f, 0x00, 0x00, 0x4f, 0xff, 0xff, 0x4f, 0x00, 0x00, 0x4f, 0xff,
                                 0xbf, 0xd1, 0x4f, 0x4f, 0xd1, 0xbf, 0x0f, 0xbf, 0xff, 0xff, 0xbf, 0x0f};
constexpr uint8_t kMaskAA3[] = {
    0x00, 0x8f, 0xff, 0xff, 0xff, 0x8f, 0x00, 0x8f, 0xff, 0x61, 0x40, 0x61, 0xff, 0x8f, 0xff, 0x70, 0x00,
    0x00, 0x00, 0x70, 0xff, 0xff, 0x30, 0x00, 0x00, 0x00, 0x30, 0xff, 0xff, 0x70, 0x00, 0x00, 0x00, 0x70,
    0xff, 0x8f, 0xff, 0x61, 0x40, 0x61, 0xff, 0x8f, 0x00, 0x8f, 0xff, 0xff, 0xff, 0x8f, 0x00};
constexpr uint8_t kMaskAA35[] = {
    0x00, 0x4f, 0xde, 0xff, 0xff, 0xde, 0x4f, 0x00, 0x4f, 0xff, 0xb0, 0x40, 0x40, 0xb0, 0xff, 0x4f,
    0xde, 0xb0, 0x00, 0x00, 0x00, 0x00, 0xb0, 0xde, 0xff, 0x40, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff,
    0xff, 0x40, 0x00, 0x00, 0x00, 0x00, 0x40, 0xff, 0xde, 0xb0, 0x00, 0x00, 0x00, 0x00, 0xb0, 0xde,
    0x4f, 0xff, 0xb0, 0x40, 0x40, 0xb0, 0xff, 0x4f, 0x00, 0x4f, 0xde, 0xff, 0xff, 0xde, 0x4f, 0x00};
constexpr uint8_t kMaskAA4[] = {
    0x00, 0x1f, 0xb0, 0xff, 0xff, 0xff, 0xb0, 0x1f, 0x00, 0x1f, 0xf0, 0xd1, 0x4f, 0x40, 0x4f, 0xd1, 0xf0, 0x1f,
    0xb0, 0xd1, 0x0f, 0x00, 0x00, 0x00, 0x0f, 0xd1, 0xb0, 0xff, 0x4f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4f, 0xff,
    0xff, 0x30, 0x00, 0x00, 0x00, 0x00, 0x00, 0x30, 0xff, 0xff, 0x4f, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4f, 0xff,
    0xb0, 0xd1, 0x0f, 0x00, 0x00, 0x00, 0x0f, 0xd1, 0xb0, 0x1f, 0xf0, 0xd1, 0x4f, 0x40, 0x4f, 0xd1, 0xf0, 0x1f,
    0x00, 0x1f, 0xb0, 0xff, 0xff, 0xff, 0xb0, 0x1f, 0x00};

// The aliased masks as rows of 'X' (full) and '.' (none).
constexpr const char* kMaskPlain15 = ".XX.X..XX..X.XX.";
constexpr const char* kMaskPlain2 = "..X...X.X.X...X.X.X...X..";
constexpr const char* kMaskPlain25 = "..XX...X..X.X....XX....X.X..X...XX..";
constexpr const char* kMaskPlain3 = "..XXX...X...X.X.....XX.....XX.....X.X...X...XXX..";
constexpr const char* kMaskPlain35 = "..XXXX...XX..XX.XX....XXX......XX......XXX....XX.XX..XX...XXXX..";
constexpr const char* kMaskPlain4 =
    "..XXXXX...XX...XX.XX.....XXX.......XX.......XX.......XXX.....XX.XX...XX...XXXXX..";

struct SmallMask {
    float radius;
    const uint8_t* antialiased;
    const char* plain;
};
constexpr SmallMask kSmallMasks[] = {
    {1.5f, kMaskAA15, kMaskPlain15}, {2.0f, kMaskAA2, kMaskPlain2}, {2.5f, kMaskAA25, kMaskPlain25},
    {3.0f, kMaskAA3, kMaskPlain3},   {3.5f, kMaskAA35, kMaskPlain35}, {4.0f, kMaskAA4, kMaskPlain4},
};

// The plain masks in coverage form, built once.
struct PlainMasks {
    uint8_t bytes[6][81];
    PlainMasks() {
        for (int m = 0; m < 6; ++m)
            for (int i = 0; kSmallMasks[m].plain[i]; ++i) bytes[m][i] = kSmallMasks[m].plain[i] == 'X' ? 255 : 0;
    }
};

// Whole-pixel centre: rounded half up with floor, so that moving a circle by whole pixels
// moves its pixels alike on both sides of 0.
int64_t CentrePixel(float v) { return int64_t(std::floor(double(v) + 0.5)); }

// True when the circle lies so far off the bitmap that nothing of it can show.
bool Culled(float cx, float cy, float r, int width, int height) {
    const double ix = std::floor(cx), iy = std::floor(cy), ir = std::trunc(r);
    return ix + ir < -2 || iy + ir < -2 || ix - ir > width + 2 || iy - ir > height + 2;
}

bool NeedsClip(float cx, float cy, float r, int width, int height) {
    return !(cx - r - 2 >= 0 && cy - r - 2 >= 0 && cx + r + 2 < width && cy + r + 2 < height);
}

}  // namespace
}  // namespace pix

void PIX_CircleDispatch(PIX_IBitmap* bm, float cx, float cy, float r, PIX_PixelValue colour, int aw, bool antialias,
                        bool filled, int mode, const PIX_CircleClipRect& rect, bool clip) {
    pix::Surface s;
    if (!pix::GetSurface(bm, s) || !pix::Finite(cx, cy, r) || r < 0) return;
    if (std::fabs(cx) > pix::kMaxCircleCoordinate || std::fabs(cy) > pix::kMaxCircleCoordinate ||
        r > pix::kMaxCircleCoordinate)
        return;
    // Without the clip test the caller vouches for the margin; the rectangle still bounds
    // the steps walked.
    pix::CircleClip box{rect.left, rect.top, rect.right, rect.bottom};
    if (!clip) box = {0, 0, s.width, s.height};
    const int64_t x = pix::CentrePixel(cx), y = pix::CentrePixel(cy);
    if (antialias) {
        pix::WithCoveragePlotter(colour, aw, uint32_t(mode), [&](const auto& plot) {
            pix::CoverageEmitter<std::decay_t<decltype(plot)>> e{{s, box, clip}, plot};
            pix::AntiAliasedCircle(e, x, y, r, aw, filled, box);
        });
    } else {
        const int64_t R = int64_t(r + 0.5f);
        pix::WithPainterAtWeight(pix::FastOp::Outline, colour, aw, false, uint32_t(mode), [&](const auto& paint) {
            pix::PaintEmitter<std::decay_t<decltype(paint)>> e{{s, box, clip}, paint};
            pix::AliasedCircle(e, x, y, R, filled, box);
        });
    }
}

void PIX_Circle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_PixelValue colour, float alpha, int mode,
                bool antialias) {
    if (!PIX_HasPixels(bm) || !pix::Finite(cx, cy, r) || r < 0) return;
    const int width = bm->getWidth(), height = bm->getHeight();
    if (pix::Culled(cx, cy, r, width, height)) return;
    for (int m = 0; m < 6; ++m) {
        if (r != pix::kSmallMasks[m].radius) continue;
        static const pix::PlainMasks plain;
        const int size = int(2 * r + 1);
        const uint8_t* mask = antialias ? pix::kSmallMasks[m].antialiased : plain.bytes[m];
        PIX_DrawGlyphEx(bm, pix::SatInt(std::floor(double(cx) - r)), pix::SatInt(std::floor(double(cy) - r)),
                        colour, mask, size, size, alpha, PIX_DrawMode(mode));
        return;
    }
    if (bm->isFlipped()) cy = float(height - 1) - cy;
    const int aw = PIX_AlphaWeight(alpha);
    if (aw == 0) return;
    PIX_CircleDispatch(bm, cx, cy, r, colour, aw, antialias, false, mode, {0, 0, width, height},
                       pix::NeedsClip(cx, cy, r, width, height));
}

void PIX_FillCircle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_PixelValue colour, float alpha, int mode,
                    bool antialias) {
    if (!PIX_HasPixels(bm) || !pix::Finite(cx, cy, r) || r < 0) return;
    const int width = bm->getWidth(), height = bm->getHeight();
    if (bm->isFlipped()) cy = float(height - 1) - cy;
    const int aw = PIX_AlphaWeight(alpha);
    if (aw == 0 || pix::Culled(cx, cy, r, width, height)) return;
    PIX_CircleDispatch(bm, cx, cy, r, colour, aw, antialias, true, mode, {0, 0, width, height},
                       pix::NeedsClip(cx, cy, r, width, height));
}

void PIX_Arc(PIX_IBitmap* bm, float cx, float cy, float r, float minAngle, float maxAngle, PIX_PixelValue colour,
             float alpha, int mode, bool antialias) {
    if (!PIX_HasPixels(bm) || !pix::Finite(cx, cy, r, minAngle, maxAngle) || r < 0) return;
    constexpr float kTwoPi = 6.28318530717958647692f;
    constexpr double kPi = std::numbers::pi, kHalfPi = kPi / 2;
    const int width = bm->getWidth(), height = bm->getHeight();
    const float userCy = cy;
    if (bm->isFlipped()) {
        cy = float(height - 1) - cy;
        minAngle = float(kPi - minAngle);
        maxAngle = float(kPi - maxAngle);
    }
    double hi = std::max(minAngle, maxAngle), lo = std::min(minAngle, maxAngle);
    if (float(hi) - float(lo) >= kTwoPi) {
        PIX_Circle(bm, cx, userCy, r, colour, alpha, mode, antialias);
        return;
    }
    if (hi >= kTwoPi) {
        const double h = std::fmod(hi, double(kTwoPi));
        lo -= hi - h;
        hi = h;
    } else if (lo <= -kTwoPi) {
        const double l = std::fmod(lo, double(kTwoPi));
        hi -= lo - l;
        lo = l;
    }
    const int aw = PIX_AlphaWeight(alpha);
    if (aw == 0) return;
    const double a0 = lo + kTwoPi, a1 = hi + kTwoPi;
    if (a1 <= a0) return;
    auto px = [&](double a) { return pix::SatInt(std::floor(cx + std::sin(a) * r + 0.5)); };
    auto py = [&](double a) { return pix::SatInt(std::floor(cy - std::cos(a) * r + 0.5)); };
    int x0 = px(a0), y0 = py(a0);
    double e = a0 - std::fmod(a0, kHalfPi) + kHalfPi;
    // Each piece stays within one quarter of the circle; fewer than 2 pi means at most
    // five pieces, and the bound only guards the float edge cases.
    for (int piece = 0; piece < 8; ++piece) {
        const double b = std::min(a1, e);
        const int x1 = px(b), y1 = py(b);
        const int xmax = std::max(x0, x1), ymax = std::max(y0, y1);
        PIX_CircleClipRect rect;
        rect.left = std::max(0, std::min(x0, x1));
        rect.top = std::max(0, std::min(y0, y1));
        rect.right = int(std::min<int64_t>(int64_t(xmax) + 1 + (float(xmax) != cx ? 1 : 0), width));
        rect.bottom = int(std::min<int64_t>(int64_t(ymax) + 1 + (float(ymax) != cy ? 1 : 0), height));
        PIX_CircleDispatch(bm, cx, cy, r, colour, aw, antialias, false, mode, rect, true);
        x0 = x1;
        y0 = y1;
        e = b + kHalfPi;
        if (!(a1 > b)) break;
    }
}

void PIX_RoundRect(PIX_IBitmap* bm, float x, float y, float w, float h, int cornerRadius, PIX_PixelValue colour,
                   float alpha, int mode, bool antialias) {
    if (!pix::Finite(x, y, w, h)) return;
    auto I = [](double v) { return pix::SatInt(v); };
    float cr = float(cornerRadius);
    if (cornerRadius > 0) {
        if (double(cr) > w * 0.5) cr = float(w * 0.5);
        if (double(cr) > h * 0.5) cr = float(h * 0.5);
        cr = std::floor(cr);
    }
    if (cornerRadius <= 0 || cr < 2) {
        PIX_DrawRect(bm, I(x), I(y), I(w), I(h), colour, alpha, mode);
        return;
    }
    PIX_Line(bm, I(x + cr), I(y), I(x + w - cr), I(y), colour, alpha, mode, antialias);
    PIX_Line(bm, I(x + cr - 1), I(y + h), I(x + w - cr), I(y + h), colour, alpha, mode, antialias);
    PIX_Line(bm, I(x + w), I(y + cr), I(x + w), I(y + h - cr), colour, alpha, mode, antialias);
    PIX_Line(bm, I(x), I(y + cr - 1), I(x), I(y + h - cr), colour, alpha, mode, antialias);
    constexpr float kPi = std::numbers::pi_v<float>;
    PIX_Arc(bm, x + cr, y + cr, cr, -kPi / 2, 0, colour, alpha, mode, antialias);
    PIX_Arc(bm, x + w - cr, y + cr, cr, 0, kPi / 2, colour, alpha, mode, antialias);
    PIX_Arc(bm, x + w - cr, y + h - cr, cr, kPi / 2, kPi, colour, alpha, mode, antialias);
    PIX_Arc(bm, x + cr, y + h - cr, cr, kPi, 3 * kPi / 2, colour, alpha, mode, antialias);
}
