// Vector primitives on a small bitmap fenced by canary pixels: lines and their
// clippers, curves, rectangles, circles, polygons and masks, with coordinates up to
// the extremes of their types (NaN and infinities included).
#include <vector>

#include "fuzz/fuzz_bodies.h"
#include "fuzz/fuzz_input.h"
#include "raster/bezier.h"
#include "raster/circle.h"
#include "raster/fill.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "raster/rect_outline.h"
#include "tests/raster/canary_bitmap.h"

namespace qdfuzz {
namespace {

// A clipper that answers "visible" must leave both ends where the drawing may go.
bool FloatEndsInside(float x1, float y1, float x2, float y2, double right, double bottom) {
    auto in = [&](float x, float y) { return x >= 0 && y >= 0 && x < right && y < bottom; };
    return in(x1, y1) && in(x2, y2);
}

const char* Clippers(FuzzInput& in) {
    float x1 = in.Float(), y1 = in.Float(), x2 = in.Float(), y2 = in.Float();
    const int w = in.Int(), h = in.Int();
    if (PIX_ClipFLine(&x1, &y1, &x2, &y2, w, h) &&
        !FloatEndsInside(x1, y1, x2, y2, double(w) - 1, double(h) - 1))
        return "PIX_ClipFLine answered visible for ends outside the area";
    float a = in.Float(), b = in.Float(), c = in.Float(), d = in.Float();
    const float xlo = in.Float(), ylo = in.Float(), xhi = in.Float(), yhi = in.Float();
    if (PIX_ClipFLineToRect(&a, &b, &c, &d, xlo, ylo, xhi, yhi) && !(xhi > xlo && yhi > ylo))
        return "PIX_ClipFLineToRect answered visible for an empty rectangle";
    int i1 = in.Int(), j1 = in.Int(), i2 = in.Int(), j2 = in.Int();
    if (PIX_ClipLine(&i1, &j1, &i2, &j2, w, h) &&
        !(i1 >= 0 && i2 >= 0 && j1 >= 0 && j2 >= 0 && i1 < w && i2 < w && j1 < h && j2 < h))
        return "PIX_ClipLine answered visible for ends outside the area";
    int k1 = in.Int(), l1 = in.Int(), k2 = in.Int(), l2 = in.Int();
    PIX_ClipLineToRect(&k1, &l1, &k2, &l2, in.Int(), in.Int(), in.Int(), in.Int());
    return nullptr;
}

void Draw(FuzzInput& in, CanaryBitmap& bm) {
    const uint32_t colour = in.U32(), other = in.U32();
    const float alpha = in.Alpha();
    const uint32_t mode = in.Mode();
    const bool aa = in.Bool();
    switch (in.Below(17)) {
        case 0: PIX_Line(&bm, in.Int(), in.Int(), in.Int(), in.Int(), colour, alpha, int(mode), aa); break;
        case 1: PIX_FLine(&bm, in.Float(), in.Float(), in.Float(), in.Float(), colour, alpha, int(mode), aa); break;
        case 2:
            PIX_DashedLine(&bm, in.Int(), in.Int(), in.Int(), in.Int(), in.Int(), in.Int(), colour, alpha, int(mode));
            break;
        case 3:
            PIX_DrawQBezier(&bm, in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), colour, alpha,
                            int(mode), aa, in.Float());
            break;
        case 4:
            PIX_DrawCBezier(&bm, in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(),
                            in.Float(), colour, alpha, int(mode), aa, in.Float());
            break;
        case 5:
            PIX_FillCBezier(&bm, in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(),
                            in.Float(), in.Int(), colour, alpha, int(mode), in.Float());
            break;
        case 6:
            PIX_FillCBezierX(&bm, in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(),
                             in.Float(), in.Int(), colour, alpha, int(mode), in.Float());
            break;
        case 7: PIX_DrawRect(&bm, in.Int(), in.Int(), in.Int(), in.Int(), colour, alpha, int(mode)); break;
        case 8: PIX_BorderedRect(&bm, in.Int(), in.Int(), in.Int(), in.Int(), colour, other, alpha, int(mode)); break;
        case 9:
            if (aa)
                PIX_Circle(&bm, in.Float(), in.Float(), in.Float(), colour, alpha, int(mode), in.Bool());
            else
                PIX_FillCircle(&bm, in.Float(), in.Float(), in.Float(), colour, alpha, int(mode), in.Bool());
            break;
        case 10:
            PIX_Arc(&bm, in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), colour, alpha, int(mode), aa);
            break;
        case 11:
            PIX_RoundRect(&bm, in.Float(), in.Float(), in.Float(), in.Float(), in.Int(), colour, alpha, int(mode), aa);
            break;
        case 12:
            PIX_FillTrapezoid(&bm, in.Int(), in.Int(), in.Int(), in.Int(), in.Int(), in.Int(), colour, alpha, mode);
            break;
        case 13: {
            const int n = in.Below(7);
            std::vector<int> xs(size_t(n) + 1), ys(size_t(n) + 1);
            for (int i = 0; i < n; ++i) xs[size_t(i)] = in.Int(), ys[size_t(i)] = in.Int();
            if (aa)
                PIX_FillConvexPolygon(&bm, xs.data(), ys.data(), n, colour, alpha, mode);
            else
                PIX_FillTriangle(&bm, xs[0], ys[0], in.Int(), in.Int(), in.Int(), in.Int(), colour, alpha, mode);
            break;
        }
        case 14: PIX_FillRect(&bm, in.Int(), in.Int(), in.Int(), in.Int(), colour, alpha, mode); break;
        case 15:
            PIX_PutPixel(&bm, in.Int(), in.Int(), colour, alpha, mode);
            PIX_ClearRect(&bm, in.Int(), in.Int(), in.Int(), in.Int(), in.U32(), in.U32());
            break;
        default: {
            uint8_t mask[64];
            for (uint8_t& m : mask) m = in.Byte();
            const int mw = in.Below(9), mh = in.Below(9);
            if (aa)
                PIX_DrawGlyph(&bm, in.Int(), in.Int(), colour, mask, mw, mw + in.Below(2), mh > 7 ? 7 : mh, alpha,
                              mode);
            else
                PIX_DrawGlyphEx(&bm, in.Int(), in.Int(), colour, mask, mw, mh > 7 ? 7 : mh, alpha, mode);
            break;
        }
    }
}

}  // namespace

const char* Vector(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int shape = in.Byte();
    CanaryBitmap bm(1 + shape % 16, 1 + (shape >> 4), in.Bool(), in.Below(4));
    for (int step = 0; step < 8 && !in.empty(); ++step) {
        if (in.Below(8) == 0) {
            if (const char* fault = Clippers(in)) return fault;
        } else {
            Draw(in, bm);
        }
    }
    // Checked once: the scan would otherwise cost more than the drawing.
    return bm.damagedCanaries() != 0 ? "a vector operation drew outside its bitmap" : nullptr;
}

}  // namespace qdfuzz
