#include <gtest/gtest.h>

#include <cstring>

#include "common/heap_buf.h"
#include "common/typed_buf.h"

TEST(HeapBuf, ResizeKeepsContentsAndShrinksOnlyWhenAsked) {
    CMN_HeapBuf grow;
    auto* p = static_cast<unsigned char*>(grow.Resize(10));
    for (int i = 0; i < 10; ++i) p[i] = static_cast<unsigned char>(i + 1);
    p = static_cast<unsigned char*>(grow.Resize(1000));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p[i], i + 1);

    struct Case { int64_t to; bool shrink; int64_t size, allocatedAfter; } cases[] = {
        {900, true, 900, 1500},  // above half the block: kept
        {600, false, 600, 1500}, {600, true, 600, 900},  // below half: fitted when asked
        {0, false, 0, 1500},     {0, true, 0, 0},        // size 0 with the shrink flag frees the block
        {-5, false, 0, 1500},    {-5, true, 0, 0},       // negative is 0
    };
    for (const auto& c : cases) {
        CMN_HeapBuf buf;
        buf.Resize(1000);
        buf.Resize(c.to, c.shrink);
        EXPECT_EQ(buf.GetSize(), c.size);
        EXPECT_EQ(buf.GetAllocated(), c.allocatedAfter) << c.to << " " << c.shrink;
        EXPECT_EQ(buf.Get() == nullptr, c.allocatedAfter == 0);
    }
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
        EXPECT_STREQ(static_cast<char*>(buf.Get()), "abcdefg");
    }
}

struct Rect { int l, t, r, b; };

TEST(TypedBuf, AddGetDeleteAndOwnRecords) {
    CMN_TypedBuf<Rect> rects(0);
    rects.Add({7, 8, 9, 10});
    for (int i = 0; i < 100; ++i) rects.Add(*rects.GetAt(0));  // its own record, while the block moves
    ASSERT_EQ(rects.GetSize(), 101);
    EXPECT_EQ(rects.GetAt(100)->r, 9);
    rects.GetAt(50)->l = 50;
    EXPECT_TRUE(rects.Delete(0));
    EXPECT_FALSE(rects.Delete(100));
    EXPECT_EQ(rects.GetAt(49)->l, 50);
    EXPECT_EQ(rects.GetAt(100), nullptr);
    for (int64_t n : {kCmnHeapBufMaxBytes / 16 + 1, int64_t(1) << 62, INT64_MAX}) {
        rects.Resize(n);  // a count that overflows fails cleanly
        EXPECT_EQ(rects.GetSize(), 100);
        EXPECT_EQ(rects.GetAt(0)->t, 8);
    }
}
