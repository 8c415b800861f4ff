#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/cmn_string.h"

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
