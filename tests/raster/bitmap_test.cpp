#include <gtest/gtest.h>

#include <cstdint>

#include "raster/bitmap.h"

TEST(MemBitmap, EmptyUntilResized) {
    PIX_MemBitmap bm(0, 0, 4);
    EXPECT_EQ(bm.getBits(), nullptr);
    EXPECT_EQ(bm.getWidth(), 0);
    EXPECT_EQ(bm.getHeight(), 0);
    EXPECT_TRUE(bm.resize(10, 10));
    EXPECT_EQ(bm.getRowSpan(), 12);
    EXPECT_EQ(bm.allocatedBytes(), 480);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bm.getBits()) % 64, 0u);
}

TEST(MemBitmap, RowSpanFollowsLineAlignment) {
    struct Case { int align, width, span; } cases[] = {
        {4, 1, 4}, {4, 4, 4}, {4, 5, 8}, {1, 5, 5}, {0, 7, 7}, {6, 5, 6}, {6, 6, 6}, {8, 9, 16},
    };
    for (const auto& c : cases) {
        PIX_MemBitmap bm(c.width, 3, c.align);
        EXPECT_EQ(bm.getRowSpan(), c.span) << "align " << c.align << " width " << c.width;
    }
}

TEST(MemBitmap, GrowsWithHeadroomAndNeverShrinks) {
    PIX_MemBitmap grow(10, 10, 4);
    EXPECT_TRUE(grow.resize(15, 10));  // 16 x 10 x 4 = 640 > 480
    EXPECT_EQ(grow.allocatedBytes(), 800);
    void* bits = grow.getBits();
    EXPECT_TRUE(grow.resize(10, 10));
    EXPECT_EQ(grow.allocatedBytes(), 800);
    EXPECT_EQ(grow.getBits(), bits);
    EXPECT_FALSE(grow.resize(10, 10));
}

TEST(MemBitmap, GrowthFrom480To600AllocatesRoomFor750) {
    PIX_MemBitmap bm(10, 10, 4);
    EXPECT_TRUE(bm.resize(10, 12));   // 12 x 12 x 4 = 576: 576 + 144 = 720
    EXPECT_EQ(bm.allocatedBytes(), 720);
    PIX_MemBitmap exact(10, 10, 1);   // 400
    EXPECT_TRUE(exact.resize(10, 15));  // 600 -> 750
    EXPECT_EQ(exact.allocatedBytes(), 750);
}

TEST(MemBitmap, OversizeAndNegativeRequestsGiveEmptyBitmap) {
    const int sizes[][2] = {{65536, 65536}, {INT32_MAX, 2}, {-5, 10}, {10, -5}, {0, 10}};
    for (const auto& s : sizes) {
        PIX_MemBitmap bm(4, 4, 4);
        EXPECT_TRUE(bm.resize(s[0], s[1]));
        EXPECT_EQ(bm.getWidth(), 0);
        EXPECT_EQ(bm.getHeight(), 0);
        EXPECT_EQ(bm.getBits(), nullptr);
    }
}

TEST(SysBitmap, KeepsContextWhenShrinking) {
    PIX_SysBitmap bm(10, 5);
    ASSERT_NE(bm.getBits(), nullptr);
    EXPECT_EQ(bm.getRowSpan(), 12);
    HDC dc = bm.getDC();
    void* bits = bm.getBits();
    const auto* px = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < 12 * 5; ++i) ASSERT_EQ(px[i], 0u);

    EXPECT_TRUE(bm.resize(8, 5));
    EXPECT_EQ(bm.getDC(), dc);
    EXPECT_EQ(bm.getBits(), bits);
    EXPECT_EQ(bm.getRowSpan(), 12);

    EXPECT_TRUE(bm.resize(13, 5));
    EXPECT_EQ(bm.getRowSpan(), 16);

    EXPECT_FALSE(bm.resize(13, 5));
    EXPECT_FALSE(bm.resize(0, 5));
    EXPECT_EQ(bm.getWidth(), 0);
    EXPECT_EQ(bm.getBits(), nullptr);
    EXPECT_EQ(bm.getDC(), nullptr);
}

TEST(SysBitmap, OversizeGivesEmptyBitmap) {
    PIX_SysBitmap bm(40000, 40000);
    EXPECT_EQ(bm.getWidth(), 0);
    EXPECT_EQ(bm.getHeight(), 0);
    EXPECT_EQ(bm.getBits(), nullptr);
    PIX_SysBitmap neg(-4, 3);
    EXPECT_EQ(neg.getWidth(), 0);
    EXPECT_EQ(neg.getBits(), nullptr);
}

TEST(AlphaWeight, TruncatesAndSaturates) {
    EXPECT_EQ(PIX_AlphaWeight(1.0), 256);
    EXPECT_EQ(PIX_AlphaWeight(0.5), 128);
    EXPECT_EQ(PIX_AlphaWeight(1.0 / 512), 0);
    EXPECT_EQ(PIX_AlphaWeight(2.0), 512);
    EXPECT_EQ(PIX_AlphaWeight(-0.001), 0);
    EXPECT_EQ(PIX_AlphaWeight(1e300), kPixMaxWeight);
    EXPECT_EQ(PIX_AlphaWeight(-1e300), -kPixMaxWeight);
    EXPECT_EQ(PIX_AlphaWeight(64.0), kPixMaxWeight);
    EXPECT_EQ(PIX_AlphaWeight(-3.0), -768);
    EXPECT_EQ(PIX_AlphaWeight(std::nan("")), 0);
    EXPECT_EQ(PIX_ToFixed16(1.5), 0x18000);
    EXPECT_EQ(PIX_ToFixed16(1e12), INT32_MAX);
    EXPECT_EQ(PIX_ToFixed16(-1e12), INT32_MIN);
    EXPECT_EQ(PIX_ToFixed16(std::nan("")), 0);
}
