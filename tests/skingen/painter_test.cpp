#include <gtest/gtest.h>

#include <cmath>

#include "raster/fill.h"
#include "tools/skingen/painter.h"

namespace {

constexpr PIX_PixelValue kClear = PIX_MakePixel(0, 0, 0, 0);

uint32_t At(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

// Whether the centre of file pixel (px, py) lies in the rounded rectangle given in
// GUI pixels: inside the box and, in a corner square, within the corner's circle.
bool InRoundRect(int px, int py, float x, float y, float w, float h, float r) {
    const double s = skingen::kScale, cx = px + 0.5, cy = py + 0.5;
    const double x0 = std::lround(x * s), y0 = std::lround(y * s), x1 = std::lround((x + w) * s),
                 y1 = std::lround((y + h) * s), rr = r * s;
    if (cx < x0 || cx >= x1 || cy < y0 || cy >= y1) return false;
    const double ex = cx < x0 + rr ? x0 + rr - cx : cx > x1 - rr ? cx - (x1 - rr) : 0;
    const double ey = cy < y0 + rr ? y0 + rr - cy : cy > y1 - rr ? cy - (y1 - rr) : 0;
    return ex * ex + ey * ey <= rr * rr;
}

}  // namespace

// Hard-edged rounded rectangles, also where the bitmap clips them at every edge.
TEST(SkinPainter, RoundFillCoversExactlyItsShape) {
    const struct { float x, y, w, h, r; } cases[] = {
        {2, 2, 20, 12, 0}, {2, 2, 20, 12, 3}, {1.5f, 3, 17, 9, 4.5f}, {0, 0, 30, 20, 10},
        {-6, -4, 20, 14, 5}, {18, 12, 20, 14, 5}, {-3, 8, 40, 20, 6},
    };
    for (const auto& c : cases) {
        PIX_MemBitmap bm(60, 40);
        PIX_Clear(&bm, kClear);
        skingen::Painter p(bm);
        p.RoundFill(c.x, c.y, c.w, c.h, c.r, skingen::Rgb(0x123456));
        int wrong = 0;
        for (int y = 0; y < bm.getHeight(); ++y)
            for (int x = 0; x < bm.getWidth(); ++x) {
                const bool filled = At(bm, x, y) == skingen::Rgb(0x123456);
                wrong += filled != InRoundRect(x, y, c.x, c.y, c.w, c.h, c.r);
                if (!filled) {
                    EXPECT_EQ(At(bm, x, y), kClear);
                }
            }
        EXPECT_EQ(wrong, 0) << c.x << "," << c.y << " " << c.w << "x" << c.h << " r" << c.r;
    }
}

TEST(SkinPainter, TextStaysInsideItsBox) {
    PIX_MemBitmap bm(100, 40);
    PIX_Clear(&bm, kClear);
    skingen::Painter p(bm);
    const skingen::TextStyle st{10, true, skingen::Rgb(0xffffff), skingen::Align::kCentre};
    const float w = p.Text(10, 5, 20, 8, "a word far too long for the box", st);
    EXPECT_GT(w, 20);
    int inside = 0;
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) {
            const bool in = x >= 20 && x < 60 && y >= 10 && y < 26;
            if (PIX_PixelA(At(bm, x, y)) == 0) continue;
            EXPECT_TRUE(in) << x << "," << y;
            inside += in;
        }
    EXPECT_GT(inside, 0);
}

