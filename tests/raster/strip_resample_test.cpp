#include <gtest/gtest.h>

#include <cstdint>

#include "raster/strip_resample.h"

namespace {

uint32_t Px(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

TEST(ResampleArea, ExactValues) {
    // One source row of two pixels, byte values chosen so every weight shows.
    PIX_MemBitmap src(2, 2, 4);
    *PIX_PixelAddress(src, 0, 0) = PIX_MakePixel(200, 100, 0, 255);
    *PIX_PixelAddress(src, 1, 0) = PIX_MakePixel(100, 50, 255, 255);
    *PIX_PixelAddress(src, 0, 1) = PIX_MakePixel(0, 10, 10, 255);
    *PIX_PixelAddress(src, 1, 1) = PIX_MakePixel(40, 30, 20, 255);
    struct Case { const char* what; int dw, dh, x, y; uint32_t expect; } cases[] = {
        {"same size copies", 2, 2, 1, 1, PIX_MakePixel(40, 30, 20, 255)},
        {"halving averages the block", 1, 1, 0, 0, PIX_MakePixel(85, 47, 71, 255)},
        {"doubling interpolates", 4, 4, 1, 0, PIX_MakePixel(150, 75, 127, 255)},
        {"doubling fades at the right edge", 4, 4, 3, 0, PIX_MakePixel(50, 25, 127, 127)},
        {"doubling fades in the corner", 4, 4, 3, 3, PIX_MakePixel(10, 7, 5, 63)},
    };
    for (const Case& c : cases) {
        PIX_MemBitmap dst(c.dw, c.dh, 4);
        ResampleArea(src, 0, 0, 2, 2, dst, 0, 0, c.dw, c.dh);
        EXPECT_EQ(Px(dst, c.x, c.y), c.expect) << c.what;
    }
}

// A destination area half outside on the left writes only its inside part.
TEST(ResampleArea, ClippedOnTheLeftWritesOnlyItsInsidePart) {
    PIX_MemBitmap src(4, 4, 4), dst(4, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) *PIX_PixelAddress(src, x, y) = 0xffffffff, *PIX_PixelAddress(dst, x, y) = 0x5a5a5a5a;
    ResampleArea(src, 0, 0, 4, 4, dst, -2, 0, 4, 4);
    EXPECT_EQ(Px(dst, 0, 0), 0xffffffffu);  // source column 2
    EXPECT_EQ(Px(dst, 2, 0), 0x5a5a5a5au);
}

}  // namespace
