#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/cmn_string.h"
#include "common/heap_buf.h"
#include "common/regular_file.h"
#include "common/ptr_list.h"
#include "common/typed_buf.h"
#include "temp_dir.h"

TEST(HeapBuf, ResizeKeepsContentsShrinksOnlyWhenAskedAndFailsCleanly) {
    struct Case { int64_t to; bool shrink; int64_t size, allocatedAfter; } cases[] = {
        {900, true, 900, 1500},                          // above half the block: kept
        {600, false, 600, 1500}, {600, true, 600, 900},  // below half: fitted when asked
        {0, false, 0, 1500},     {0, true, 0, 0},        // size 0 with the shrink flag frees the block
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
    int id;
    std::vector<int>* log;
    ~Tracked() { log->push_back(id); }
};

TEST(PtrList, DeleteOwnsOnlyWhenAskedAndDeleteAllGoesLastToFirst) {
    std::vector<int> log;
    CMN_PtrList<Tracked> list;
    for (int i = 0; i < 5; ++i) list.Add(new Tracked{i, &log});
    std::unique_ptr<Tracked> kept(list.Get(1));
    EXPECT_EQ((std::tuple{list.Delete(1), list.Delete(2, true), list.Delete(3, true)}), std::tuple(true, true, false));
    EXPECT_EQ(std::pair(list.Find(kept.get()), list.Get(2)->id), std::pair(-1, 4));
    list.Insert(1, kept.release());
    list.DeleteAll(true);
    EXPECT_EQ(std::pair(log, list.GetSize()), std::pair(std::vector<int>{3, 4, 2, 1, 0}, 0));
}

TEST(String, SetBytesAt) {
    struct Case { const char* start; int offset; const char* text; int length, tail; const char* result; } cases[] = {
        {"hello", 0, "HE", 2, 0, "HE"},                // set
        {"hello", 5, " world", -1, 0, "hello world"},  // append
        {"hello", 2, "XY", 2, 3, "heXYllo"},           // insert keeps the tail
        {"hello", 2, "XY", 2, 1, "heXYl"},             // tail shorter than the rest
        {"hello", 1, "abcdef", 3, 0, "habc"},          // length cuts the text
        {"hello", 3, "Z", 1, 99, "helZlo"},            // tail clamps to what is there
        {"hello", 2, nullptr, 5, 3, "hello"},          // null text inserts nothing
        {nullptr, 0, "", 0, 0, ""},
    };
    for (const auto& c : cases) {
        CMN_String s(c.start);
        EXPECT_TRUE(s.SetBytesAt(c.offset, c.text, c.length, c.tail));
        // The text, its length and its terminator.
        EXPECT_EQ(std::string(s.Get(), size_t(s.GetLength()) + 1), std::string(c.result) + '\0') << c.start << c.offset;
    }
}

// A source inside the string itself, while the block moves.
TEST(String, SourceInsideItself) {
    CMN_String s("abcdefghij");
    for (int i = 0; i < 6; ++i) s.Append(s.Get());
    EXPECT_EQ(s.GetLength(), 640);
    EXPECT_EQ(std::string(s.Get()).substr(630), "abcdefghij");
    CMN_String t("0123456789");
    t.Insert(t.Get() + 5, 2, 3);
    EXPECT_STREQ(t.Get(), "0156723456789");
    t.Set(t.Get() + 3);
    EXPECT_STREQ(t.Get(), "6723456789");
    t.SetFormatted(30, "[%s|%s]", t.Get(), t.Get());
    EXPECT_STREQ(t.Get(), "[6723456789|6723456789]");
}

TEST(String, SetFormattedIsBoundedAndFailedGrowthKeepsTheText) {
    struct Case { int maxLength, value; const char* result; } cases[] = {
        {10, 42, "v=42"}, {4, 42, "v=42"}, {3, 42, "v=4"}, {0, 42, ""}, {-5, 42, ""}, {6, -123456789, "v=-123"},
    };
    for (const auto& c : cases) {
        CMN_String s("previous");
        EXPECT_TRUE(s.SetFormatted(c.maxLength, "v=%d", c.value));
        EXPECT_EQ(std::string(s.Get(), size_t(s.GetLength()) + 1), std::string(c.result) + '\0') << c.maxLength;
    }
    CMN_String s("keep");
    EXPECT_FALSE(s.SetFormatted(INT_MAX, "%s", "x"));
    EXPECT_FALSE(s.SetBytesAt(4, "y", INT_MAX, 0));
    EXPECT_STREQ(s.Get(), "keep");
}

TEST(String, EqualNoCaseFoldsAsciiLettersOnly) {
    using namespace std::string_literals;
    struct Case { std::string a, b; bool equal; } cases[] = {
        {"Panel", "pANEL", true}, {"MIDI", "midi", true},  // the I folds to i in every locale
        {"", "", true},           {"png", "pn", false},
        {"@[`{", "`{@[", false},  // neighbours of the letter ranges do not fold
        {"\xc9", "\xe9", false},  // bytes of other encodings are compared as they are
        {"a\0b"s, "A\0B"s, true}, {"a\0b"s, "a\0c"s, false},
    };
    for (const auto& c : cases) EXPECT_EQ(CMN_EqualNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

// Only a regular file of at most the given size is read; anything else is refused
// before it is opened (a FIFO would wait for a writer), and a refusal adds nothing.
TEST(RegularFile, ReadsOnlyRegularFilesWithinTheirLimit) {
    testutil::TempDir dir;
    const std::string d = dir.path();
    std::ofstream(d + "/file") << "12345";
    mkfifo((d + "/fifo").c_str(), 0600);
    const struct { std::string path; size_t limit; FileRead result; const char* data; } cases[] = {
        {d + "/file", 5, FileRead::kRead, "kept12345"}, {d + "/file", 4, FileRead::kRefused, "kept"},
        {d + "/none", 9, FileRead::kMissing, "kept"},   {d + "/fifo", 9, FileRead::kRefused, "kept"},
        {d, 9, FileRead::kRefused, "kept"},              {d + "/file/x", 9, FileRead::kRefused, "kept"},
    };
    EXPECT_TRUE(testutil::RunsWithoutOpeningFifo(d + "/fifo", [&] {
        for (const auto& c : cases) {
            std::string data = "kept";
            EXPECT_EQ(std::tuple(ReadRegularFile(c.path.c_str(), c.limit, &data), data), std::tuple(c.result, c.data))
                << c.path << " " << c.limit;
        }
    }));
}
