#include <gtest/gtest.h>

#include <tuple>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include "platform/folders.h"
#include "platform/image_convert.h"
#include "platform/platform.h"
#include "platform/wheel.h"
#include "temp_dir.h"

using namespace platform;
namespace fs = std::filesystem;


TEST(Wheel, WholeStepsOnlyAndTheFractionCarries) {
    struct Case { std::vector<double> deltas; std::vector<int> steps; } cases[] = {
        {{1, -1, 3}, {1, -1, 3}},
        {{0.4, 0.4, 0.4}, {0, 0, 1}},              // 1.2 in all: one step, 0.2 kept
        {{0.6, -0.3, 0.8}, {0, 0, 1}},
        {{-0.5, -0.7, 0.1}, {0, -1, 0}},
        {{2.5, 0.5}, {2, 1}},
        {{1e300, 0.5}, {1000, 0}},                 // bounded, and the remainder dropped
        {{std::nan(""), 1}, {0, 1}},
    };
    for (const Case& c : cases) {
        WheelAccumulator w;
        for (size_t i = 0; i < c.deltas.size(); ++i) EXPECT_EQ(w.Add(c.deltas[i]), c.steps[i]) << i;
    }
}

// A row width in bytes that would wrap an int once let a shown image read past its pixels.
TEST(ImageRef, OnlyReadableImagesHavePixels) {
    static const uint8_t px[16] = {};
    EXPECT_TRUE((ImageRef{px, 2, 2, 16}.HasPixels()));  // padded rows
    EXPECT_FALSE((ImageRef{px, 2, 2, 7}.HasPixels()));  // rows shorter than the width
    EXPECT_FALSE((ImageRef{px, INT_MAX, 1, INT_MAX}.HasPixels()));
}

class Env : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(mDir.empty()); }
    testutil::TempDir mTmp;
    const std::string mDir = mTmp.path();
    testutil::ScopedEnv mHome{"HOME", mDir.c_str()};
    testutil::ScopedEnv mConfigHome{"XDG_CONFIG_HOME", nullptr};
    testutil::ScopedEnv mConfigDirs{"XDG_CONFIG_DIRS", nullptr};
};

TEST_F(Env, ConfigAndTilde) {
    EXPECT_EQ(ConfigDirectory(), mDir + "/.config");
    mConfigHome.Set("relative/ignored");
    EXPECT_EQ(ConfigDirectory(), mDir + "/.config");
    mConfigHome.Set("/cfg");
    EXPECT_EQ(std::tuple(ConfigDirectory(), ConfigDirectory(true)), std::tuple("/cfg", "/etc/xdg"));
    mConfigDirs.Set("/opt/a:/opt/b");
    EXPECT_EQ(std::tuple(ConfigDirectory(true), ExpandTilde("~/Desktop")), std::tuple("/opt/a", mDir + "/Desktop"));
    EXPECT_EQ(std::tuple(ExpandTilde("~"), ExpandTilde("~other/x")), std::tuple(mDir, "~other/x"));
    EXPECT_EQ(ExpandTilde("/a/~/b"), "/a/~/b");
}

TEST_F(Env, UserFoldersFromTheXdgFile) {
    EXPECT_EQ(UserFolderPath(UserFolder::Desktop), mDir + "/Desktop");
    fs::create_directories(mDir + "/.config");
    std::ofstream(mDir + "/.config/user-dirs.dirs") << "# comment\n"
                                                       "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                                       "XDG_DOCUMENTS_DIR=\"/data/docs\"\n"
                                                       "XDG_MUSIC_DIR=relative\n"
                                                       "XDG_MUSIC_DIRX=\"/wrong\"\n";
    EXPECT_EQ(UserFolderPath(UserFolder::Desktop), mDir + "/Schreibtisch");
    EXPECT_EQ(UserFolderPath(UserFolder::Documents), "/data/docs");
    EXPECT_EQ(UserFolderPath(UserFolder::Music), mDir + "/Music");
    // A FIFO under the name reads as no file instead of waiting for a writer.
    fs::remove(mDir + "/.config/user-dirs.dirs");
    mkfifo((mDir + "/.config/user-dirs.dirs").c_str(), 0600);
    std::string desktop;
    EXPECT_TRUE(testutil::RunsWithoutOpeningFifo(mDir + "/.config/user-dirs.dirs",
                                                 [&] { desktop = UserFolderPath(UserFolder::Desktop); }));
    EXPECT_EQ(desktop, mDir + "/Desktop");
}

TEST(Folders, AllowedExtension) {
    struct Case { const char* path; std::vector<std::string> types; const char* expected; } cases[] = {
        {"/a/prog", {"pr4", "pr3"}, "/a/prog.pr4"},
        {"/a/prog.PR3", {"pr4", "pr3"}, "/a/prog.PR3"},
        {"/a/prog.txt", {"pr4"}, "/a/prog.txt.pr4"},
        {"/a.dir/prog", {"pr4"}, "/a.dir/prog.pr4"},
        {"/a/.hidden", {"pr4"}, "/a/.hidden.pr4"},
        {"/a/prog", {}, "/a/prog"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithAllowedExtension(c.path, c.types), c.expected) << c.path;
}

TEST(Folders, BundleResources) {
    testutil::TempDir tmp;
    const std::string& dir = tmp.path();
    ASSERT_FALSE(dir.empty());
    fs::create_directories(dir + "/Resources/sub.png");
    std::ofstream(dir + "/Resources/knob.png") << "x";
    RegisterBundle({"test.bundle", dir, dir + "/exe", dir + "/Resources"});
    BundleInfo b;
    EXPECT_FALSE(FindBundle("other.bundle", &b));
    ASSERT_TRUE(FindBundle("test.bundle", &b));
    struct Case { const char* name, *type; std::string path; } cases[] = {
        {"knob", "png", dir + "/Resources/knob.png"},
        {"knob", "PNG", ""},  // letter case of the file matters
        {"sub", "png", ""},   // a folder is no resource
        {"../Resources/knob", "png", ""}, {"", "png", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PathForResource(b, c.name, c.type), c.path) << c.name << "." << c.type;
    RegisterMainBundle("main.bundle");
    ASSERT_TRUE(FindBundle("main.bundle", &b));
    EXPECT_EQ(std::tuple(b.executablePath, b.resourcesPath), std::tuple(ExecutablePath(), b.bundlePath + "/Resources"));
}
