#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/heap_buf.h"
#include "common/ptr_list.h"
#include "common/typed_buf.h"

TEST(HeapBuf, ResizeKeepsContentsShrinksOnlyWhenAskedAndFailsCleanly) {
    struct Case { int64_t to; bool shrink; int64_t size, allocatedAfter; } cases[] = {
        {900, true, 900, 1500},                          // above half the block: kept
        {600, false, 600, 1500}, {600, true, 600, 900},  // below half: fitted when asked
        {0, false, 0, 1500},     {0, true, 0, 0},        // size 0 with the shrink flag frees the block
        {-5, false, 0, 1500},    {-5, true, 0, 0},       // negative is 0
        // Beyond the cap, or wrapping: nothing changes and the old data comes back.
        {kCmnHeapBufMaxBytes + 1, true, 1000, 1500}, {INT64_MAX, false, 1000, 1500},
    };
    for (const auto& c : cases) {
        CMN_HeapBuf buf;
        std::memcpy(buf.Resize(10), "0123456789", 10);
        buf.Resize(1000);  // growing keeps the contents
        void* got = buf.Resize(c.to, c.shrink);
        EXPECT_EQ(std::tuple(buf.GetSize(), buf.GetAllocated(), got, got == nullptr),
                  std::tuple(c.size, c.allocatedAfter, buf.Get(), c.allocatedAfter == 0)) << c.to << " " << c.shrink;
        EXPECT_EQ(std::string(static_cast<char*>(got), size_t(std::min<int64_t>(c.size, 10))),
                  std::string("0123456789").substr(0, size_t(c.size)));
    }
}

struct Rect { int l, t, r, b; };

TEST(TypedBuf, AddsItsOwnRecordsWhileTheBlockMovesAndRefusesOverflowingCounts) {
    CMN_TypedBuf<Rect> rects(0);
    rects.Add({7, 8, 9, 10});
    for (int i = 0; i < 100; ++i) rects.Add(*rects.GetAt(0));
    ASSERT_EQ(rects.GetSize(), 101);
    rects.GetAt(50)->l = 50;
    EXPECT_EQ((std::pair{rects.Delete(0), rects.Delete(100)}), std::pair(true, false));  // in order
    EXPECT_EQ(std::pair(rects.GetAt(49)->l, rects.GetAt(100)), std::pair(50, (Rect*)nullptr));
    for (int64_t n : {kCmnHeapBufMaxBytes / 16 + 1, int64_t(1) << 62, INT64_MAX}) rects.Resize(n);
    EXPECT_EQ(std::pair(rects.GetSize(), rects.GetAt(99)->r), std::pair(100, 9));
}

struct Tracked {
    Tracked(int id, std::vector<int>* log) : id(id), log(log) {}
    ~Tracked() { log->push_back(id); }
    int id;
    std::vector<int>* log;
};

TEST(PtrList, DeleteOwnsOnlyWhenAskedAndDeleteAllGoesLastToFirst) {
    std::vector<int> log;
    CMN_PtrList<Tracked> list;
    for (int i = 0; i < 5; ++i) list.Add(new Tracked(i, &log));
    std::unique_ptr<Tracked> kept(list.Get(1));
    EXPECT_EQ((std::tuple{list.Delete(1), list.Delete(2, true), list.Delete(3, true)}), std::tuple(true, true, false));
    EXPECT_EQ(std::pair(list.Find(kept.get()), list.Get(2)->id), std::pair(-1, 4));
    list.Insert(1, kept.release());
    list.DeleteAll(true);
    EXPECT_EQ(std::pair(log, list.GetSize()), std::pair(std::vector<int>{3, 4, 2, 1, 0}, 0));
}
