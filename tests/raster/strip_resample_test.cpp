#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "raster/strip_resample.h"

namespace {

uint32_t Px(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

// A destination area half outside on the left writes only its inside part.
TEST(ResampleArea, ClippedOnTheLeftWritesOnlyItsInsidePart) {
    PIX_MemBitmap src(4, 4, 4), dst(4, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) *PIX_PixelAddress(src, x, y) = 0xffffffff, *PIX_PixelAddress(dst, x, y) = 0x5a5a5a5a;
    ResampleArea(src, 0, 0, 4, 4, dst, -2, 0, 4, 4);
    EXPECT_EQ(Px(dst, 0, 0), 0xffffffffu);  // source column 2
    EXPECT_EQ(Px(dst, 2, 0), 0x5a5a5a5au);
}

// The resampling rule written out tap by tap in double precision, for ratios whose
// weights are exact binary fractions (where the order of the sums cannot matter).
void ReferenceResample(const PIX_IBitmap& src, int sx, int sy, int sw, int sh, PIX_IBitmap& dst, int dw, int dh) {
    const double rx = double(sw) / dw, ry = double(sh) / dh;
    const int kx = int(rx + 0.99999999999), ky = int(ry + 0.99999999999);
    auto at = [&](int64_t x, int64_t y, int c) -> double {
        if (x < std::max(sx, 0) || y < std::max(sy, 0) || x >= sx + sw || y >= sy + sh || x >= src.getWidth() || y >= src.getHeight())
            return 0;
        return reinterpret_cast<const uint8_t*>(PIX_PixelAddress(src, int(x), int(y)))[c];
    };
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            const double fx = rx * x, fy = ry * y, wx = fx - int(fx), wy = fy - int(fy);
            auto* out = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dst, x, y));
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int j = 0; j < ky; ++j)
                    for (int i = 0; i < kx; ++i) {
                        const int64_t cx = sx + int(fx) + i, cy = sy + int(fy) + j;
                        sum += at(cx, cy, c) * (1 - wx) * (1 - wy) + at(cx + 1, cy, c) * wx * (1 - wy) +
                               at(cx, cy + 1, c) * (1 - wx) * wy + at(cx + 1, cy + 1, c) * wx * wy;
                    }
                out[c] = uint8_t(std::min(int(sum / (kx * ky)), 255));
            }
        }
}

TEST(ResampleArea, BinaryFractionRatiosMatchTheTapByTapRule) {
    PIX_MemBitmap src(67, 41, 4);
    std::mt19937 rng(7);
    for (int y = 0; y < src.getHeight(); ++y)
        for (int x = 0; x < src.getWidth(); ++x) *PIX_PixelAddress(src, x, y) = rng();
    // Source area, destination size: halving, quartering, 2/3 (weights 0 and 1/2), 4x,
    // and an area reaching past the bitmap.
    struct Case { int sx, sy, sw, sh, dw, dh; } cases[] = {
        {0, 0, 64, 40, 32, 20}, {1, 1, 64, 40, 16, 10}, {3, 0, 48, 36, 32, 24},
        {0, 0, 16, 8, 64, 32},  {40, 20, 40, 30, 20, 15}, {-3, -2, 32, 16, 16, 8},
    };
    for (const Case& c : cases) {
        PIX_MemBitmap got(c.dw, c.dh, 4), want(c.dw, c.dh, 4);
        ResampleArea(src, c.sx, c.sy, c.sw, c.sh, got, 0, 0, c.dw, c.dh);
        ReferenceResample(src, c.sx, c.sy, c.sw, c.sh, want, c.dw, c.dh);
        for (int y = 0; y < c.dh; ++y)
            for (int x = 0; x < c.dw; ++x)
                ASSERT_EQ(Px(got, x, y), Px(want, x, y)) << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh
                                                         << " at " << x << "," << y;
    }
}

}  // namespace
