#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>

#include "common/cmn_string.h"
#include "common/mutex.h"

TEST(String, EmptyReadsAsEmptyText) {
    CMN_String s;
    EXPECT_STREQ(s.Get(), "");
    EXPECT_EQ(s.GetLength(), 0);
    CMN_String n(nullptr);
    EXPECT_STREQ(n.Get(), "");
}

TEST(String, SetBytesAt) {
    struct Case { const char* start; int offset; const char* text; int length; int tail; const char* result; } cases[] = {
        {"hello", 0, "HE", 2, 0, "HE"},               // set
        {"hello", 5, " world", -1, 0, "hello world"},  // append
        {"hello", 2, "XY", 2, 3, "heXYllo"},          // insert keeps the tail
        {"hello", 2, "XY", 2, 1, "heXYl"},            // tail shorter than the rest
        {"hello", 1, "abcdef", 3, 0, "habc"},         // length cuts the text
        {"hello", 9, "!", 1, 0, "hello!"},            // offset past the end clamps
        {"hello", -3, "A", 1, 0, "A"},                // negative offset clamps
        {"hello", 3, "Z", 1, 99, "helZlo"},           // tail clamps to what is there
        {"hello", 2, nullptr, 5, 3, "hello"},         // null text inserts nothing
        {"", 0, "", 0, 0, ""},
    };
    for (const auto& c : cases) {
        CMN_String s(c.start);
        EXPECT_TRUE(s.SetBytesAt(c.offset, c.text, c.length, c.tail));
        EXPECT_STREQ(s.Get(), c.result) << c.start << " @" << c.offset;
        EXPECT_EQ(s.GetLength(), int(std::string(c.result).size()));
    }
}

TEST(String, SetAppendInsert) {
    CMN_String s;
    s.Set("abc");
    s.Append("defgh", 2);
    EXPECT_STREQ(s.Get(), "abcde");
    s.Insert("XYZ", 1, 1);
    EXPECT_STREQ(s.Get(), "aXbcde");
    s.Insert("<", -4);
    s.Insert(">", 100);
    EXPECT_STREQ(s.Get(), "<aXbcde>");
    s.Set("long text", 4);
    EXPECT_STREQ(s.Get(), "long");
    s.Set("");
    EXPECT_STREQ(s.Get(), "");
}

TEST(String, SourceInsideItself) {
    CMN_String s("abcdefghij");
    for (int i = 0; i < 6; ++i) s.Append(s.Get());  // forces the block to move
    EXPECT_EQ(s.GetLength(), 640);
    EXPECT_EQ(std::string(s.Get()).substr(630), "abcdefghij");
    CMN_String t("0123456789");
    t.Insert(t.Get() + 5, 2);
    EXPECT_STREQ(t.Get(), "015678923456789");
    t.Set("0123456789");
    t.Insert(t.Get() + 5, 2, 3);
    EXPECT_STREQ(t.Get(), "0156723456789");
    t.Set(t.Get() + 3);
    EXPECT_STREQ(t.Get(), "6723456789");
    EXPECT_EQ(t.GetLength(), 10);
}

TEST(String, SetFormattedIsBounded) {
    struct Case { int maxLength; int value; const char* result; } cases[] = {
        {10, 42, "v=42"},
        {4, 42, "v=42"},
        {3, 42, "v=4"},
        {0, 42, ""},
        {-5, 42, ""},
        {12, -123456789, "v=-123456789"},
        {6, -123456789, "v=-123"},
    };
    for (const auto& c : cases) {
        CMN_String s("previous");
        EXPECT_TRUE(s.SetFormatted(c.maxLength, "v=%d", c.value));
        EXPECT_STREQ(s.Get(), c.result) << c.maxLength;
        EXPECT_EQ(s.GetLength(), int(std::string(c.result).size()));
    }
}

TEST(String, SetFormattedMayPrintItself) {
    CMN_String s("abc");
    s.SetFormatted(20, "[%s|%s]", s.Get(), s.Get());
    EXPECT_STREQ(s.Get(), "[abc|abc]");
}

TEST(String, FailedGrowthKeepsTheText) {
    CMN_String s("keep");
    EXPECT_FALSE(s.SetFormatted(INT_MAX, "%s", "x"));
    EXPECT_STREQ(s.Get(), "keep");
    EXPECT_FALSE(s.SetBytesAt(4, "y", INT_MAX, 0));
    EXPECT_STREQ(s.Get(), "keep");
}

TEST(Mutex, RecursiveAndExclusive) {
    CMN_Mutex m;
    {
        CMN_MutexLock outer(m);
        CMN_MutexLock inner(&m);
        bool otherGot = true;
        std::thread([&] { otherGot = m.TryLock(); }).join();
        EXPECT_FALSE(otherGot);
    }
    bool otherGot = false;
    std::thread([&] {
        otherGot = m.TryLock();
        if (otherGot) m.Unlock();
    }).join();
    EXPECT_TRUE(otherGot);
    CMN_MutexLock none(nullptr);
}
