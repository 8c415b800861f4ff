#include <gtest/gtest.h>

#include <cstring>

#include "common/heap_buf.h"
#include "common/typed_buf.h"

TEST(HeapBuf, AllocationFollowsGranularityRule) {
    struct Case { int64_t size; int granularity; int64_t allocation; } cases[] = {
        {100, 0, 150},
        {100, 64, 164},
        {1000, 64, 1500},
        {1, 0, 1},
        {10, 4096, 8096},          // one page of headroom, block + 96 fills two pages
        {5000, 4096, 12192},
        {100000, 4096, 155552},    // half the size, rounded to pages
        {20971520, 65536, 25169824},  // headroom capped at 4 MB
        {-1, 0, 0},
        {kCmnHeapBufMaxBytes + 1, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMN_HeapBuf::AllocationFor(c.size, c.granularity), c.allocation)
            << c.size << " / " << c.granularity;
}

TEST(HeapBuf, PagedBlocksPlusOverheadArePageMultiples) {
    for (int granularity : {4096, 8192, 65536}) {
        for (int64_t size : {0, 1, 4095, 4096, 4097, 123456, 9999999, 50000000}) {
            const int64_t a = CMN_HeapBuf::AllocationFor(size, granularity);
            EXPECT_EQ((a + 96) % 4096, 0) << size;
            EXPECT_GE(a - size, 4096 - 96) << size;
            EXPECT_LE(a - size, (int64_t(4) << 20) + 4096) << size;
        }
    }
}

TEST(HeapBuf, GrowsKeepingContents) {
    CMN_HeapBuf buf;
    auto* p = static_cast<unsigned char*>(buf.Resize(10));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(buf.GetSize(), 10);
    EXPECT_EQ(buf.GetAllocated(), 15);
    for (int i = 0; i < 10; ++i) p[i] = static_cast<unsigned char>(i + 1);
    p = static_cast<unsigned char*>(buf.Resize(1000));
    ASSERT_EQ(buf.GetSize(), 1000);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p[i], i + 1);
}

TEST(HeapBuf, ShrinksOnlyWhenAskedAndFarBelowTheBlock) {
    struct Case { int64_t to; bool shrink; int allocatedAfter; } cases[] = {
        {900, true, 1500},   // above half the block: kept
        {600, false, 1500},  // not asked
        {600, true, 900},    // below half: block fitted to the smaller size
        {0, false, 1500},
        {0, true, 0},        // size 0 with the shrink flag frees the block
    };
    for (const auto& c : cases) {
        CMN_HeapBuf buf;
        buf.Resize(1000);
        ASSERT_EQ(buf.GetAllocated(), 1500);
        buf.Resize(c.to, c.shrink);
        EXPECT_EQ(buf.GetSize(), c.to);
        EXPECT_EQ(buf.GetAllocated(), c.allocatedAfter) << c.to << " " << c.shrink;
        if (c.allocatedAfter == 0) {
            EXPECT_EQ(buf.Get(), nullptr);
        }
    }
}

TEST(HeapBuf, NegativeSizeIsZero) {
    CMN_HeapBuf buf;
    buf.Resize(20);
    buf.Resize(-5, false);
    EXPECT_EQ(buf.GetSize(), 0);
    EXPECT_NE(buf.Get(), nullptr);
    buf.Resize(-5, true);
    EXPECT_EQ(buf.Get(), nullptr);
    EXPECT_EQ(buf.GetAllocated(), 0);
}

TEST(HeapBuf, FailedRequestLeavesBufferAsItWas) {
    for (int64_t huge : {kCmnHeapBufMaxBytes + 1, int64_t(1) << 40, INT64_MAX}) {
        CMN_HeapBuf buf;
        EXPECT_EQ(buf.Resize(huge), nullptr);
        EXPECT_EQ(buf.GetSize(), 0);
        void* data = buf.Resize(8);
        std::memcpy(data, "abcdefg", 8);
        EXPECT_EQ(buf.Resize(huge), data);
        EXPECT_EQ(buf.GetSize(), 8);
        EXPECT_EQ(buf.GetAllocated(), 12);
        EXPECT_STREQ(static_cast<char*>(buf.Get()), "abcdefg");
    }
}

struct Rect { int l, t, r, b; };

TEST(TypedBuf, AddGetDelete) {
    CMN_TypedBuf<Rect> rects;
    EXPECT_EQ(rects.GetSize(), 0);
    EXPECT_EQ(rects.GetAt(0), nullptr);
    for (int i = 0; i < 300; ++i) ASSERT_NE(rects.Add({i, i + 1, i + 2, i + 3}), nullptr);
    EXPECT_EQ(rects.GetSize(), 300);
    EXPECT_TRUE(rects.Delete(0));
    EXPECT_TRUE(rects.Delete(150));
    EXPECT_FALSE(rects.Delete(298));
    EXPECT_FALSE(rects.Delete(-1));
    ASSERT_EQ(rects.GetSize(), 298);
    EXPECT_EQ(rects.GetAt(0)->l, 1);
    EXPECT_EQ(rects.GetAt(149)->l, 150);
    EXPECT_EQ(rects.GetAt(150)->l, 152);
    EXPECT_EQ(rects.GetAt(297)->b, 302);
    EXPECT_EQ(rects.GetAt(298), nullptr);
}

TEST(TypedBuf, AddOfOwnRecordSurvivesTheMove) {
    CMN_TypedBuf<Rect> rects(0);
    rects.Add({7, 8, 9, 10});
    for (int i = 0; i < 100; ++i) rects.Add(*rects.GetAt(0));
    ASSERT_EQ(rects.GetSize(), 101);
    EXPECT_EQ(rects.GetAt(100)->r, 9);
}

TEST(TypedBuf, CountOverflowFailsCleanly) {
    CMN_TypedBuf<Rect> rects;
    rects.Add({1, 2, 3, 4});
    for (int64_t n : {kCmnHeapBufMaxBytes / 16 + 1, int64_t(1) << 62, INT64_MAX}) {
        rects.Resize(n);
        EXPECT_EQ(rects.GetSize(), 1);
        EXPECT_EQ(rects.GetAt(0)->t, 2);
    }
}
