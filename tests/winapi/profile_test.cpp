#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <functional>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "winapi/profile.h"

namespace fs = std::filesystem;

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mDir.empty());
        SetProfileWriteFailureHandler([this](const char* name) { mFailures.push_back(name); });
    }
    void TearDown() override { SetProfileWriteFailureHandler(nullptr); }

    void Put(const std::string& text) { std::ofstream(mFile, std::ios::binary) << text; }
    std::string Contents() const {
        std::ifstream in(mFile, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::string Get(const char* section, const char* key, const char* def = "dflt", unsigned size = 128) {
        char buf[256];
        unsigned n = GetPrivateProfileString(section, key, def, buf, size, mFile.c_str());
        EXPECT_EQ(n, std::string(buf).size());
        return buf;
    }

    testutil::TempDir mTmp;
    const std::string mDir = mTmp.path();
    const std::string mFile = mDir + "/settings.ini";
    std::vector<std::string> mFailures;  // files whose writes failed, as reported
};

TEST_F(Profile, ReadCases) {
    struct Case { const char* file; const char* section; const char* key; const char* expected; } cases[] = {
        {"[gui]\nguiscale=1.5\n", "gui", "guiscale", "1.5"},
        {"[GUI]\nGuiScale = 0.75 \n", "gui", "guiscale", "0.75"},                // names ignore case, blanks trimmed
        {"[gui]\nguiscale=1\n", "midi", "guiscale", "dflt"},                     // missing section
        {"[midi]\nmanager=5\n[gui]\nbackground=1\n", "gui", "manager", "dflt"},  // key of another section
        {"garbage\x01\xff line\n=novalue\n[gui\nbroken\n[gui]\n;manager=9\nmanager=3\n", "gui", "manager", "3"},
        {"[gui]\nmanager=\n", "gui", "manager", ""},                             // present but empty
        {"[gui]\nmanager=1\nmanager=2\n", "gui", "manager", "1"},                // first one wins
        {"[dbase]\nmemo=a=b\n", "dbase", "memo", "a=b"},                         // only the first '=' splits
        {"[gui]\nmanager=7", "gui", "manager", "7"},                             // no final line end
        {"\xef\xbb\xbf[gui]\r\nmanager=4\r\n", "gui", "manager", "4"},           // byte-order mark
    };
    for (const Case& c : cases) {
        Put(c.file);
        EXPECT_EQ(Get(c.section, c.key), c.expected) << c.file;
    }
}

TEST_F(Profile, MissingFileGivesDefault) {
    EXPECT_EQ(Get("gui", "manager", "x"), "x");
    EXPECT_EQ(Get("gui", "manager", nullptr), "");
    EXPECT_EQ(GetPrivateProfileInt("gui", "manager", -1, mFile.c_str()), -1);
    EXPECT_FALSE(fs::exists(mFile));  // reading never creates the file
}

TEST_F(Profile, LongValuesAreTruncatedToTheBuffer) {
    Put("[dbase]\nmemo=0123456789abcdefXYZ\n");
    char buf[32];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(GetPrivateProfileString("dbase", "memo", "", buf, 16, mFile.c_str()), 15u);
    EXPECT_STREQ(buf, "0123456789abcde");
    EXPECT_EQ(buf[16], '#');  // nothing written past the buffer
    // A cut never splits a character: "\xc3\xa9" is one.
    Put("[dbase]\nmemo=abcdefghijklmn\xc3\xa9z\n");
    EXPECT_EQ(GetPrivateProfileString("dbase", "memo", "", buf, 16, mFile.c_str()), 14u);
    EXPECT_STREQ(buf, "abcdefghijklmn");
    EXPECT_EQ(GetPrivateProfileString("dbase", "memo", "", buf, 17, mFile.c_str()), 16u);
    EXPECT_STREQ(buf, "abcdefghijklmn\xc3\xa9");
    // A long default is truncated the same way.
    EXPECT_EQ(GetPrivateProfileString("x", "y", "0123456789abcdefXYZ", buf, 4, mFile.c_str()), 3u);
    EXPECT_STREQ(buf, "012");
}

TEST_F(Profile, IntCases) {
    struct Case { const char* value; int expected; } cases[] = {
        {"12", 12}, {" -7", -7}, {"42abc", 42}, {"abc", 0}, {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1}, {"1.9", 1}};
    for (const Case& c : cases) {
        Put(std::string("[gui]\nv=") + c.value + "\n");
        EXPECT_EQ(GetPrivateProfileInt("gui", "v", -1, mFile.c_str()), c.expected) << c.value;
    }
}

TEST_F(Profile, WriteCreatesFileAndRoundTrips) {
    ASSERT_TRUE(WritePrivateProfileString("gui", "guiscale", "1.25", mFile.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("gui", "background", "2", mFile.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("midi", "outdev", "off", mFile.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("gui", "guiscale", "0.5", mFile.c_str()));
    EXPECT_EQ(Contents(), "[gui]\nguiscale=0.5\nbackground=2\n\n[midi]\noutdev=off\n");
    EXPECT_EQ(Get("gui", "guiscale"), "0.5");
    EXPECT_EQ(GetPrivateProfileInt("gui", "background", -1, mFile.c_str()), 2);
}

TEST_F(Profile, WriteKeepsOtherLinesAndNormalisesLineEnds) {
    Put("; comment\r\n[gui]\r\nmanager=1\r\n\r\nnoise line\r\n\r\n[midi]\r\nindev=A\r\n");
    ASSERT_TRUE(WritePrivateProfileString("gui", "background", "1", mFile.c_str()));
    EXPECT_EQ(Contents(), "; comment\n[gui]\nmanager=1\n\nnoise line\nbackground=1\n\n[midi]\nindev=A\n");
    ASSERT_TRUE(WritePrivateProfileString("midi", "indev", nullptr, mFile.c_str()));  // null value removes
    EXPECT_EQ(Get("midi", "indev"), "dflt");
}

TEST_F(Profile, FailedRewriteLeavesTheOldFile) {
    Put("[gui]\nmanager=1\n");
    chmod(mDir.c_str(), 0500);  // no temporary file can be made beside it
    bool wrote = WritePrivateProfileString("gui", "manager", "2", mFile.c_str());
    chmod(mDir.c_str(), 0700);
    if (getuid() != 0) {
        EXPECT_FALSE(wrote);  // root writes anyway
    }
    EXPECT_EQ(Contents(), wrote ? "[gui]\nmanager=2\n" : "[gui]\nmanager=1\n");
    EXPECT_EQ(mFailures.size(), wrote ? 0u : 1u);
    // No temporary files are left behind in either case.
    int entries = 0;
    for (auto& e : fs::directory_iterator(mDir)) entries += (void(e), 1);
    EXPECT_EQ(entries, 1);
}

TEST_F(Profile, AFileFarTooLargeToBeOursIsNeitherReadNorReplaced) {
    Put("[gui]\nmanager=1\n");
    const uintmax_t huge = uintmax_t(16) << 20 | 1;
    fs::resize_file(mFile, huge);  // sparse: costs no disk
    EXPECT_EQ(Get("gui", "manager"), "dflt");
    EXPECT_EQ(GetPrivateProfileInt("gui", "manager", -1, mFile.c_str()), -1);
    EXPECT_FALSE(WritePrivateProfileString("gui", "manager", "2", mFile.c_str()));
    EXPECT_EQ(fs::file_size(mFile), huge);
    EXPECT_EQ(Contents().substr(0, 16), "[gui]\nmanager=1\n");
}

TEST_F(Profile, LinksAreWrittenThroughEvenToAFileNotMadeYet) {
    const std::string real = mDir + "/real.ini";
    std::ofstream(real) << "[gui]\nmanager=1\n";
    chmod(real.c_str(), 0600);
    // Link chain from settings.ini, and the file the value lands in (empty: nowhere).
    const struct { std::vector<std::string> links; const char* lands; } cases[] = {
        {{real}, "real.ini"},                          // the mode of the file is kept too
        {{mDir + "/later.ini"}, "later.ini"},          // target not made yet
        {{"relative.ini"}, "relative.ini"},            // relative to the link's folder
        {{mDir + "/hop", "end.ini"}, "end.ini"},       // through a second link
        {{mDir + "/unmounted/settings.ini"}, ""},      // its folder is missing
        {{mDir + "/a", mDir + "/b", mDir + "/a"}, ""}, // a loop
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.links.back());
        fs::remove(mFile);
        std::string from = mFile;
        for (const std::string& to : c.links) {
            if (!fs::is_symlink(from)) fs::create_symlink(to, from);
            from = to[0] == '/' ? to : mDir + "/" + to;
        }
        mFailures.clear();
        const bool wrote = WritePrivateProfileString("gui", "manager", "2", mFile.c_str());
        EXPECT_EQ(wrote, *c.lands != 0);
        EXPECT_EQ(fs::read_symlink(mFile), c.links[0]);  // the link itself is never replaced
        if (wrote) {
            EXPECT_EQ(Get("gui", "manager"), "2");
            const std::string landed = mDir + "/" + c.lands;
            EXPECT_NE(testutil::ReadFile(landed).find("manager=2"), std::string::npos);
            struct stat st {};
            ASSERT_EQ(stat(landed.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, landed == real ? 0600u : 0644u);
        } else {
            EXPECT_EQ(mFailures, std::vector<std::string>{mFile});
        }
        for (const std::string& to : c.links) fs::remove(to[0] == '/' ? to : mDir + "/" + to);
    }
}

// A FIFO under the name used to hang the program before its first window: opening it
// waits for a writer.
TEST_F(Profile, AnythingButARegularFileReadsAsMissingAndIsNeverWritten) {
    const struct { const char* name; std::function<void(const std::string&)> make; fs::file_type type; } cases[] = {
        {"FIFO", [](const std::string& p) { mkfifo(p.c_str(), 0600); }, fs::file_type::fifo},
        {"folder", [](const std::string& p) { fs::create_directory(p); }, fs::file_type::directory},
        {"device", [](const std::string& p) { fs::create_symlink("/dev/null", p); }, fs::file_type::character},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.make(mFile);
        mFailures.clear();
        std::string value;
        bool wrote = true;
        ASSERT_TRUE(testutil::RunsWithoutOpeningFifo(mFile, [&] {
            value = Get("gui", "manager");
            wrote = WritePrivateProfileString("gui", "manager", "1", mFile.c_str());
        }));
        EXPECT_EQ(value, "dflt");
        EXPECT_FALSE(wrote);
        EXPECT_EQ(mFailures, std::vector<std::string>{mFile});
        EXPECT_EQ(fs::status(mFile).type(), c.type);
        fs::remove(mFile);
    }
}

// Settings writes that could not be read back: refused with the file left alone, and
// never at the cost of a neighbouring key. Found by fuzzing write-then-read round trips.
TEST_F(Profile, NamesThatCannotReadBackAreRefusedAndTheFileKept) {
    Put("[s]\nother=1\n");
    // Section, key, value; "[k" = "]" would make the line "[k=]", a section header.
    const char* cases[][3] = {{"s", "[k", "]"}, {"s", " k", "v"}, {"s", "k ", "v"},   {"s", "\tk", "v"},
                              {"s", ";k", "v"}, {"s", "#k", "v"}, {"s", "", "v"},     {"s", "a=b", "v"},
                              {"s", "k\n", "v"}, {" s", "k", "v"}, {"s ", "k", "v"}, {"a]b", "k", "v"},
                              {"s", "[k", nullptr}};
    const std::string before = Contents();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c[0] + "] " + c[1]);
        // Twice: a name that never reads back used to append a new copy every time.
        for (int i = 0; i < 2; ++i) EXPECT_FALSE(WritePrivateProfileString(c[0], c[1], c[2], mFile.c_str()));
        EXPECT_EQ(Contents(), before);
        EXPECT_EQ(Get("s", "other"), "1");
    }
    EXPECT_TRUE(mFailures.empty());  // the file was fine; nothing to tell the user
}

TEST_F(Profile, AcceptedWritesReadBackAndKeepTheirNeighbours) {
    Put("[s]\nother=1\n");
    // Section, key, value, what it reads back as (values trimmed, CR and LF dropped).
    const char* cases[][4] = {{"s", "k", "]", "]"},       {"s", "k]", "[x]", "[x]"}, {"s", "a b", "v", "v"},
                              {"s", "k;", "#", "#"},      {"s", "K", " v \t", "v"},  {"s", "line", "a\r\nb", "ab"},
                              {"[t", "k", "1", "1"},      {"", "k", "2", "2"},       {"t u", "x", "=", "="}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c[0] + "] " + c[1]);
        ASSERT_TRUE(WritePrivateProfileString(c[0], c[1], c[2], mFile.c_str()));
        EXPECT_EQ(Get(c[0], c[1]), c[3]);
        EXPECT_EQ(Get("s", "other"), "1");
    }
    // Writing a value again replaces its line rather than adding one.
    const std::string once = Contents();
    ASSERT_TRUE(WritePrivateProfileString("t u", "x", "=", mFile.c_str()));
    EXPECT_EQ(Contents(), once);
}

}  // namespace
