// Settings writes that could not be read back: refused with the file left alone, and
// never at the cost of a neighbouring key. Found by fuzzing write-then-read round trips.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "temp_dir.h"
#include "winapi/profile.h"

namespace {

class SettingsRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { std::ofstream(file_, std::ios::binary) << "[s]\nother=1\n"; }
    std::string Contents() const {
        std::stringstream ss;
        ss << std::ifstream(file_, std::ios::binary).rdbuf();
        return ss.str();
    }
    std::string Get(const char* section, const char* key) const {
        char buf[128];
        GetPrivateProfileString(section, key, "<missing>", buf, sizeof buf, file_.c_str());
        return buf;
    }

    testutil::TempDir tmp_;
    const std::string file_ = tmp_.path() + "/settings.ini";
};

TEST_F(SettingsRoundTrip, NamesThatCannotReadBackAreRefusedAndTheFileKept) {
    // Section, key, value; "[k" = "]" would make the line "[k=]", a section header.
    const char* cases[][3] = {{"s", "[k", "]"}, {"s", " k", "v"}, {"s", "k ", "v"},   {"s", "\tk", "v"},
                              {"s", ";k", "v"}, {"s", "#k", "v"}, {"s", "", "v"},     {"s", "a=b", "v"},
                              {"s", "k\n", "v"}, {" s", "k", "v"}, {"s ", "k", "v"}, {"a]b", "k", "v"},
                              {"s", "[k", nullptr}};
    const std::string before = Contents();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c[0] + "] " + c[1]);
        // Twice: a name that never reads back used to append a new copy every time.
        for (int i = 0; i < 2; ++i) EXPECT_FALSE(WritePrivateProfileString(c[0], c[1], c[2], file_.c_str()));
        EXPECT_EQ(Contents(), before);
        EXPECT_EQ(Get("s", "other"), "1");
    }
}

TEST_F(SettingsRoundTrip, AcceptedWritesReadBackAndKeepTheirNeighbours) {
    // Section, key, value, what it reads back as (values trimmed, CR and LF dropped).
    const char* cases[][4] = {{"s", "k", "]", "]"},       {"s", "k]", "[x]", "[x]"}, {"s", "a b", "v", "v"},
                              {"s", "k;", "#", "#"},      {"s", "K", " v \t", "v"},  {"s", "line", "a\r\nb", "ab"},
                              {"[t", "k", "1", "1"},      {"", "k", "2", "2"},       {"t u", "x", "=", "="}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c[0] + "] " + c[1]);
        ASSERT_TRUE(WritePrivateProfileString(c[0], c[1], c[2], file_.c_str()));
        EXPECT_EQ(Get(c[0], c[1]), c[3]);
        EXPECT_EQ(Get("s", "other"), "1");
    }
    // Writing a value again replaces its line rather than adding one.
    const std::string once = Contents();
    ASSERT_TRUE(WritePrivateProfileString("t u", "x", "=", file_.c_str()));
    EXPECT_EQ(Contents(), once);
}

}  // namespace
