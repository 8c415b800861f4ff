#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>

#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "temp_dir.h"
#include "winapi/cursor.h"

using namespace platform;
namespace fs = std::filesystem;

// What the back ends do for production code: carry work and cursor changes from any
// thread to the main one. Only the layer's own cursors are shown.
TEST(Backend, WorkAndCursorChangesFromAnyThreadWaitForTheMainOne) {
    HeadlessBackend b;
    InstallBackend(&b);
    HCURSOR__ foreign{IDC_ARROW};
    for (HCURSOR c : {WAPI_LoadCursor(IDC_SIZENS), WAPI_LoadCursor(32513), &foreign}) WAPI_SetCursor(c);
    std::atomic<bool> onMain{false}, done{false};
    std::thread t([&] {
        b.PerformOnMainThreadAndWait([&] { onMain = b.IsMainThread(); });
        WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZEWE));
        done = true;
    });
    while (!done) b.RunPendingMainThreadWork();
    t.join();
    bool direct = false;
    b.PerformOnMainThreadAndWait([&] { direct = true; });  // on the main thread: at once
    InstallBackend(nullptr);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZENWSE));  // no back end: only remembered
    EXPECT_TRUE(onMain && direct);
    EXPECT_EQ(b.cursors, (std::vector<int>{IDC_SIZENS, IDC_SIZEWE}));
    EXPECT_EQ(WAPI_GetCurrentCursor()->id, IDC_SIZENWSE);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_ARROW));
}

class Folders : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(mDir.empty()); }
    testutil::TempDir mTmp;
    const std::string mDir = mTmp.path();
    testutil::ScopedEnv mHome{"HOME", mDir.c_str()};
    testutil::ScopedEnv mConfigHome{"XDG_CONFIG_HOME", nullptr};
    testutil::ScopedEnv mConfigDirs{"XDG_CONFIG_DIRS", nullptr};
};

TEST_F(Folders, ConfigAndTilde) {
    EXPECT_EQ(ConfigDirectory(), mDir + "/.config");
    mConfigHome.Set("relative/ignored");
    EXPECT_EQ(ConfigDirectory(), mDir + "/.config");
    mConfigHome.Set("/cfg");
    EXPECT_EQ(std::tuple(ConfigDirectory(), ConfigDirectory(true)), std::tuple("/cfg", "/etc/xdg"));
    mConfigDirs.Set("/opt/a:/opt/b");
    EXPECT_EQ(std::tuple(ConfigDirectory(true), ExpandTilde("~/Desktop")), std::tuple("/opt/a", mDir + "/Desktop"));
    EXPECT_EQ(std::tuple(ExpandTilde("~"), ExpandTilde("~other/x"), ExpandTilde("/a/~/b")),
              std::tuple(mDir, "~other/x", "/a/~/b"));
}

TEST_F(Folders, UserFoldersFromTheXdgFile) {
    const std::string dirs = mDir + "/.config/user-dirs.dirs";
    EXPECT_EQ(UserFolderPath(UserFolder::Desktop), mDir + "/Desktop");
    fs::create_directories(mDir + "/.config");
    std::ofstream(dirs) << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"/data/docs\"\n"
                           "XDG_MUSIC_DIR=relative\nXDG_MUSIC_DIRX=\"/wrong\"\n";
    EXPECT_EQ(std::tuple(UserFolderPath(UserFolder::Desktop), UserFolderPath(UserFolder::Documents),
                         UserFolderPath(UserFolder::Music)),
              std::tuple(mDir + "/Schreibtisch", "/data/docs", mDir + "/Music"));
    // A FIFO under the name reads as no file instead of waiting for a writer.
    fs::remove(dirs);
    mkfifo(dirs.c_str(), 0600);
    std::string desktop;
    EXPECT_TRUE(testutil::RunsWithoutOpeningFifo(dirs, [&] { desktop = UserFolderPath(UserFolder::Desktop); }));
    EXPECT_EQ(desktop, mDir + "/Desktop");
}

TEST_F(Folders, BundleResources) {
    fs::create_directories(mDir + "/Resources/sub.png");
    std::ofstream(mDir + "/Resources/knob.png") << "x";
    RegisterBundle({"test.bundle", mDir, mDir + "/exe", mDir + "/Resources"});
    BundleInfo b, missing{"none", mDir, "", mDir + "/NoResources"};
    EXPECT_FALSE(FindBundle("other.bundle", &b));
    ASSERT_TRUE(FindBundle("test.bundle", &b));
    struct Case { const BundleInfo* bundle; const char *name, *type; std::string path; } cases[] = {
        {&b, "knob", "png", mDir + "/Resources/knob.png"},
        {&b, "knob", "PNG", ""},                // letter case of the file matters
        {&b, "sub", "png", ""},                 // a folder is no resource
        {&b, "../Resources/knob", "png", ""},   // nor a name that climbs out
        {&b, "", "png", ""}, {&missing, "knob", "png", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PathForResource(*c.bundle, c.name, c.type), c.path) << c.name << c.type;
    RegisterMainBundle("main.bundle");
    ASSERT_TRUE(FindBundle("main.bundle", &b));
    EXPECT_EQ(std::tuple(b.executablePath, b.resourcesPath), std::tuple(ExecutablePath(), b.bundlePath + "/Resources"));
}

TEST(FileNames, AllowedExtensionAndThePanelFilter) {
    struct Case { const char* path; std::vector<std::string> types; const char* expected; } cases[] = {
        {"/a/prog", {"pr4", "pr3"}, "/a/prog.pr4"}, {"/a/prog.PR3", {"pr4", "pr3"}, "/a/prog.PR3"},
        {"/a/prog.txt", {"pr4"}, "/a/prog.txt.pr4"}, {"/a.dir/prog", {"pr4"}, "/a.dir/prog.pr4"},
        {"/a/.hidden", {"pr4"}, "/a/.hidden.pr4"},   {"/a/prog", {}, "/a/prog"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithAllowedExtension(c.path, c.types), c.expected) << c.path;
    // A pattern per type matches the extension in either letter case; the label names them.
    const FileFilter f = FileFilterFor({"pr4", "Prg", "x1_", "é"});
    EXPECT_EQ(f.patterns, (std::vector<std::string>{"*.[pP][rR]4", "*.[pP][rR][gG]", "*.[xX]1_", "*.é"}));
    EXPECT_EQ(f.label, "*.pr4 *.Prg *.x1_ *.é");
}
