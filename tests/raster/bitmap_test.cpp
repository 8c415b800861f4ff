#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "raster/bitmap.h"

TEST(MemBitmap, OversizeAndNegativeRequestsGiveEmptyBitmap) {
    const int sizes[][2] = {{65536, 65536}, {INT32_MAX, 2}, {INT32_MAX, INT32_MAX}, {-5, 10}, {10, -5}, {0, 10}};
    for (const auto& s : sizes) {
        PIX_MemBitmap bm(4, 4, 4);
        EXPECT_TRUE(bm.resize(s[0], s[1]));
        EXPECT_EQ(bm.getWidth() | bm.getHeight(), 0) << s[0] << "x" << s[1];
        EXPECT_EQ(bm.getBits(), nullptr);
    }
}

TEST(SysBitmap, KeepsContextWhenShrinkingAndRefusesOversize) {
    PIX_SysBitmap bm(10, 5);
    ASSERT_NE(bm.getBits(), nullptr);
    EXPECT_EQ(bm.getRowSpan(), 12);
    HDC dc = bm.getDC();
    void* bits = bm.getBits();
    EXPECT_TRUE(bm.resize(8, 5));
    EXPECT_EQ(bm.getDC(), dc);
    EXPECT_EQ(bm.getBits(), bits);
    EXPECT_TRUE(bm.resize(13, 5));
    EXPECT_EQ(bm.getRowSpan(), 16);
    EXPECT_FALSE(bm.resize(0, 5));
    EXPECT_EQ(bm.getDC(), nullptr);

    // No pixels, and no negative size left behind.
    const struct { int w, h, wantW, wantH; } bad[] = {{40000, 40000, 0, 0}, {-4, 3, 0, 3}};
    for (const auto& c : bad) {
        PIX_SysBitmap none(c.w, c.h);
        EXPECT_EQ(none.getWidth(), c.wantW) << c.w << "x" << c.h;
        EXPECT_EQ(none.getHeight(), c.wantH) << c.w << "x" << c.h;
        EXPECT_EQ(none.getBits(), nullptr);
    }
}

TEST(AlphaWeight, TruncatesAndSaturates) {
    const struct { double alpha; int weight; } weights[] = {
        {1.0, 256}, {0.5, 128}, {1.0 / 512, 0}, {2.0, 512}, {-0.001, 0}, {1e300, kPixMaxWeight},
        {-1e300, -kPixMaxWeight}, {64.0, kPixMaxWeight}, {-3.0, -768}, {std::nan(""), 0},
    };
    for (const auto& c : weights) EXPECT_EQ(PIX_AlphaWeight(c.alpha), c.weight) << c.alpha;
    const struct { double v; int32_t fixed; } fixed[] = {
        {1.5, 0x18000}, {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {std::nan(""), 0},
    };
    for (const auto& c : fixed) EXPECT_EQ(PIX_ToFixed16(c.v), c.fixed) << c.v;
}
