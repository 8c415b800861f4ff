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
    void SetUp() override {
        ASSERT_FALSE(tmp_.path().empty());
        std::ofstream(file_, std::ios::binary) << "[s]\nother=1\n";
    }
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
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"s", "[k", "]"},  // "[k=]" would be a section header hiding "other"
        {"s", " k", "v"},  {"s", "k ", "v"}, {"s", "\tk", "v"}, {"s", ";k", "v"},
        {"s", "#k", "v"},  {"s", "", "v"},   {"s", "a=b", "v"}, {"s", "k\n", "v"},
        {" s", "k", "v"},  {"s ", "k", "v"}, {"a]b", "k", "v"}, {"s", "[k", nullptr},
    };
    const std::string before = Contents();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("[") + c.section + "] " + c.key);
        // Twice: a name that never reads back used to append a new copy every time.
        for (int i = 0; i < 2; ++i) EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, file_.c_str()));
        EXPECT_EQ(Contents(), before);
        EXPECT_EQ(Get("s", "other"), "1");
    }
}

TEST_F(SettingsRoundTrip, AcceptedWritesReadBackAndKeepTheirNeighbours) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        const char* readBack;
    };
    const Case cases[] = {
        {"s", "k", "]", "]"},          {"s", "k]", "[x]", "[x]"},      {"s", "a b", "v", "v"},
        {"s", "k;", "#", "#"},         {"s", "K", " v \t", "v"},       {"s", "line", "a\r\nb", "ab"},
        {"[t", "k", "1", "1"},         {"", "k", "2", "2"},            {"t u", "x", "=", "="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("[") + c.section + "] " + c.key);
        ASSERT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, file_.c_str()));
        EXPECT_EQ(Get(c.section, c.key), c.readBack);
        EXPECT_EQ(Get("s", "other"), "1");
    }
    // Writing a value again replaces the line rather than adding one.
    const std::string once = Contents();
    ASSERT_TRUE(WritePrivateProfileString("t u", "x", "=", file_.c_str()));
    EXPECT_EQ(Contents(), once);
}

}  // namespace
