#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "temp_dir.h"
#include "winapi/profile.h"

namespace fs = std::filesystem;

namespace {

struct Profile : ::testing::Test {
    void SetUp() override { SetProfileWriteFailureHandler([this](const char* name) { failures.push_back(name); }); }
    void TearDown() override { SetProfileWriteFailureHandler(nullptr); }

    // Null removes the file.
    void Put(const char* text) {
        fs::remove(file);
        if (text) std::ofstream(file, std::ios::binary) << text;
    }
    std::string Contents() const { return testutil::ReadFile(file); }
    // The value read into a buffer of `size` bytes, which must hold all that was written.
    std::string Get(const char* section, const char* key, const char* def = "dflt", unsigned size = 128) {
        char buf[160];
        std::memset(buf, '#', sizeof buf);
        const unsigned n = GetPrivateProfileString(section, key, def, buf, size, file.c_str());
        EXPECT_TRUE(n == std::strlen(buf) && buf[size] == '#') << "a wrong length, or written past the buffer";
        return buf;
    }
    bool Write(const char* section, const char* key, const char* value) {
        return WritePrivateProfileString(section, key, value, file.c_str());
    }

    testutil::TempDir tmp;
    const std::string dir = tmp.path();
    const std::string file = dir + "/settings.ini";
    std::vector<std::string> failures;  // files whose writes failed, as reported
};

// Each value as text (into a buffer of `size` bytes: cut to it, never inside a character)
// and as a number ("dflt" and -1: missing).
TEST_F(Profile, ReadCases) {
    const struct { const char *file, *section, *key; unsigned size; const char* text; int number; } cases[] = {
        {"[gui]\nguiscale=1.5\n", "gui", "guiscale", 128, "1.5", 1},
        {"[GUI]\n\tGuiScale = 0.75 \n", "gui", "guiscale", 128, "0.75", 0},  // names ignore case, blanks trimmed
        {"[gui]\nguiscale=1\n", "midi", "guiscale", 128, "dflt", -1},               // missing section
        {"[ gui ]\nguiscale=1\n", "gui", "guiscale", 128, "1", 1},                  // section names trimmed
        {"[midi]\nmanager=5\n[gui]\nbackground=1\n", "gui", "manager", 128, "dflt", -1},  // key of another section
        {"garbage\x01\xff line\n=novalue\n[gui\nbroken\n[gui]\n;manager=9\nmanager=3\n", "gui", "manager", 128, "3", 3},
        {"[gui]\nmanager=\n", "gui", "manager", 128, "", 0},                        // present but empty
        {"[gui]\nmanager=1\nmanager=2\n[gui]\nmanager=3\n", "gui", "manager", 128, "1", 1},  // the first one wins
        {"[dbase]\nmemo=a=b\n", "dbase", "memo", 128, "a=b", 0},                    // only the first '=' splits
        {"[gui]\nmanager=7", "gui", "manager", 128, "7", 7},                        // no final line end
        {"\xef\xbb\xbf[gui]\r\nmanager=4\r\n", "gui", "manager", 128, "4", 4},      // byte-order mark
        {nullptr, "gui", "manager", 128, "dflt", -1},                               // no file
        {"[gui]\nv= -7\n", "gui", "v", 128, "-7", -7},
        {"[gui]\nv=42abc\n", "gui", "v", 128, "42abc", 42},
        {"[gui]\nv=99999999999\n", "gui", "v", 128, "99999999999", 2147483647},
        {"[gui]\nv=-99999999999\n", "gui", "v", 128, "-99999999999", -2147483647 - 1},
        {"[dbase]\nmemo=0123456789abcdefXYZ\n", "dbase", "memo", 16, "0123456789abcde", 123456789},
        {"[dbase]\nutf=abcdefghijklmn\xc3\xa9z\n", "dbase", "utf", 16, "abcdefghijklmn", 0},
        {"[dbase]\nutf=abcdefghijklmn\xc3\xa9z\n", "dbase", "utf", 17, "abcdefghijklmn\xc3\xa9", 0},
        {nullptr, "gui", "manager", 4, "dfl", -1},                                  // the default is cut too
    };
    for (const auto& c : cases) {
        Put(c.file);
        const int number = GetPrivateProfileInt(c.section, c.key, -1, file.c_str());
        EXPECT_EQ(std::pair(Get(c.section, c.key, "dflt", c.size), number), std::pair(std::string(c.text), c.number))
            << (c.file ? c.file : "(none)") << " size " << c.size;
    }
    Put(nullptr);
    EXPECT_EQ(Get("gui", "manager", nullptr), "");
    EXPECT_FALSE(fs::exists(file));  // reading never creates the file
}

// Line ends become LF, a byte-order mark stays, everything else of the file is kept, and
// writing a value again replaces its line.
TEST_F(Profile, WritesChangeOnlyTheirLine) {
    struct W { const char *section, *key, *value; };
    const struct { const char* before; std::vector<W> writes; const char* after; } cases[] = {
        {nullptr,
         {{"gui", "guiscale", "1.25"}, {"gui", "background", "2"}, {"midi", "outdev", "off"}, {"gui", "guiscale", "5"}},
         "[gui]\nguiscale=5\nbackground=2\n\n[midi]\noutdev=off\n"},
        {"; comment\r\n[gui]\r\nmanager=1\r\n\r\nnoise line\r\n\r\n[midi]\r\nindev=A\r\n",
         {{"gui", "background", "1"}, {"midi", "indev", nullptr}},  // null removes
         "; comment\n[gui]\nmanager=1\n\nnoise line\nbackground=1\n\n[midi]\n"},
        {"\xef\xbb\xbf[gui]\r\nmanager=4\r\n", {{"gui", "manager", "5"}}, "\xef\xbb\xbf[gui]\nmanager=5\n"},
        {"[gui]\nManager = 1 \n", {{"gui", "manager", "2"}, {"gui", "manager", "2"}}, "[gui]\nmanager=2\n"},
    };
    for (const auto& c : cases) {
        Put(c.before);
        for (const W& w : c.writes) EXPECT_TRUE(Write(w.section, w.key, w.value)) << w.key;
        EXPECT_EQ(Contents(), c.after);
    }
    EXPECT_TRUE(failures.empty());
}

TEST_F(Profile, FailedRewriteLeavesTheOldFile) {
    Put("[gui]\nmanager=1\n");
    chmod(dir.c_str(), 0500);  // no temporary file can be made beside it
    const bool wrote = Write("gui", "manager", "2");
    chmod(dir.c_str(), 0700);
    EXPECT_TRUE(!wrote || getuid() == 0);  // root writes anyway
    EXPECT_EQ(std::tuple(Contents(), failures.size(), std::distance(fs::directory_iterator(dir), {})),
              std::tuple(wrote ? "[gui]\nmanager=2\n" : "[gui]\nmanager=1\n", wrote ? 0u : 1u, 1));  // no temporary

    // A file far too large to be a settings file is neither read nor replaced.
    const uintmax_t huge = uintmax_t(16) << 20 | 1;
    fs::resize_file(file, huge);  // sparse: costs no disk
    EXPECT_EQ(std::pair(Get("gui", "manager"), GetPrivateProfileInt("gui", "manager", -1, file.c_str())),
              std::pair(std::string("dflt"), -1));
    EXPECT_FALSE(Write("gui", "manager", "3"));
    EXPECT_EQ(fs::file_size(file), huge);
}

// A link is written through, even to a file not made yet, and stays a link. Anything but a
// regular file at its end (a FIFO, which used to hang the program before its first window,
// a folder, a device) reads as missing and is never written, nor opened.
TEST_F(Profile, LinksAreWrittenThroughAndAnythingButARegularFileIsLeftAlone) {
    const std::string real = dir + "/real.ini";
    std::ofstream(real) << "[gui]\nmanager=1\n";
    chmod(real.c_str(), 0640);
    // Link chain from settings.ini ("fifo" and "folder": that under the name instead),
    // and the file the value lands in (empty: nowhere).
    const struct { std::vector<std::string> links; const char* lands; } cases[] = {
        {{real}, "real.ini"},                              // the mode of the file is kept too
        {{dir + "/later.ini"}, "later.ini"},               // target not made yet
        {{"relative.ini"}, "relative.ini"},                // relative to the link's folder
        {{dir + "/hop", "end.ini"}, "end.ini"},            // through a second link
        {{dir + "/unmounted/settings.ini"}, ""},           // its folder is missing
        {{dir + "/a", dir + "/b", dir + "/a"}, ""},        // a loop
        {{"/dev/null"}, ""}, {{"fifo"}, ""}, {{"folder"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.links.back());
        std::string from = file;
        if (c.links[0] == "fifo") mkfifo(file.c_str(), 0600);
        if (c.links[0] == "folder") fs::create_directory(file);
        for (const std::string& to : c.links) {
            if (!fs::exists(fs::symlink_status(from))) fs::create_symlink(to, from);
            from = to[0] == '/' ? to : dir + "/" + to;
        }
        const fs::file_type type = fs::symlink_status(file).type();
        failures.clear();
        bool wrote = false;
        ASSERT_TRUE(testutil::RunsWithoutOpeningFifo(file, [&] { wrote = Write("gui", "manager", "2"); }));
        EXPECT_EQ(wrote, *c.lands != 0);
        EXPECT_EQ(Get("gui", "manager"), wrote ? "2" : "dflt");
        EXPECT_EQ(fs::symlink_status(file).type(), type);  // the link or what stands there is never replaced
        if (wrote) {
            const std::string landed = dir + "/" + c.lands;
            EXPECT_NE(testutil::ReadFile(landed).find("manager=2"), std::string::npos);
            EXPECT_EQ(fs::status(landed).permissions(), fs::perms(landed == real ? 0640 : 0600));  // new files are private
        } else {
            EXPECT_EQ(failures, std::vector<std::string>{file});
        }
        fs::remove(file);
        for (const std::string& to : c.links) {  // only what the case made in its own folder
            const std::string made = to[0] == '/' ? to : dir + "/" + to;
            if (made.rfind(dir + "/", 0) == 0) fs::remove(made);
        }
    }
}

// Names the reader would find under another spelling, or not at all, are refused with the file
// left alone (found by fuzzing round trips); others read back, their neighbours kept.
TEST_F(Profile, WrittenNamesReadBackOrAreRefused) {
    Put("[s]\nother=1\n");
    // Section, key, value, what it reads back as (values trimmed, CR and LF dropped);
    // null: refused. "[k" = "]" would make the line "[k=]", a section header.
    const char* cases[][4] = {
        {"s", "[k", "]", nullptr}, {"s", " k", "v", nullptr}, {"s", "k ", "v", nullptr}, {"s", "\tk", "v", nullptr},
        {"s", ";k", "v", nullptr}, {"s", "#k", "v", nullptr}, {"s", "", "v", nullptr},   {"s", "a=b", "v", nullptr},
        {"s", "k\n", "v", nullptr}, {" s", "k", "v", nullptr}, {"s ", "k", "v", nullptr}, {"a]b", "k", "v", nullptr},
        {"s", "[k", nullptr, nullptr}, {"s", "k", "]", "]"},    {"s", "k]", "[x]", "[x]"}, {"s", "a b", "v", "v"},
        {"s", "k;", "#", "#"},      {"s", "K", " v \t", "v"},  {"s", "line", "a\r\nb", "ab"}, {"[t", "k", "1", "1"},
        {"", "k", "2", "2"},        {"t u", "x", "=", "="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c[0] + "] " + c[1]);
        const std::string before = Contents();
        // Twice: a name that never reads back used to append a new copy every time.
        for (int i = 0; i < 2; ++i) EXPECT_EQ(Write(c[0], c[1], c[2]), c[3] != nullptr);
        EXPECT_EQ(c[3] ? Get(c[0], c[1]) : Contents(), c[3] ? c[3] : before);
        EXPECT_EQ(Get("s", "other"), "1");
    }
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", file.c_str()) ||
                 WritePrivateProfileString("s", nullptr, "v", file.c_str()) ||
                 WritePrivateProfileString("s", "k", "v", nullptr) || WritePrivateProfileString("s", "k", "v", ""));
    EXPECT_TRUE(failures.empty());  // no file was at fault; nothing to tell the user
}

}  // namespace
