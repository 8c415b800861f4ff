#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>

#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "platform/input_map.h"
#include "platform/wheel.h"
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
    b.PerformOnMainThreadAndWait([&] { done = false; });  // on the main thread: at once
    InstallBackend(nullptr);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZENWSE));  // no back end: only remembered
    EXPECT_TRUE(onMain && !done);
    EXPECT_EQ(b.cursors, (std::vector<int>{IDC_SIZENS, IDC_SIZEWE}));
    EXPECT_EQ(WAPI_GetCurrentCursor()->id, IDC_SIZENWSE);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_ARROW));
}

struct Folders : ::testing::Test {
    testutil::TempDir tmp;
    const std::string dir = tmp.path();
    testutil::ScopedEnv home{"HOME", dir.c_str()};
    testutil::ScopedEnv configHome{"XDG_CONFIG_HOME", nullptr};
    testutil::ScopedEnv configDirs{"XDG_CONFIG_DIRS", nullptr};
};

TEST_F(Folders, ConfigUserFoldersAndTilde) {
    EXPECT_EQ(ConfigDirectory(), dir + "/.config");
    configHome.Set("relative/ignored");
    EXPECT_EQ(ConfigDirectory(), dir + "/.config");
    configHome.Set("/cfg");
    EXPECT_EQ(std::tuple(ConfigDirectory(), ConfigDirectory(true)), std::tuple("/cfg", "/etc/xdg"));
    configDirs.Set("/opt/a:/opt/b");
    EXPECT_EQ(std::tuple(ConfigDirectory(true), ExpandTilde("~/Desktop")), std::tuple("/opt/a", dir + "/Desktop"));
    EXPECT_EQ(std::tuple(ExpandTilde("~"), ExpandTilde("~other/x"), ExpandTilde("/a/~/b")),
              std::tuple(dir, "~other/x", "/a/~/b"));

    // The user's folders from the XDG file; a FIFO under its name reads as no file
    // instead of waiting for a writer.
    const std::string dirs = dir + "/.config/user-dirs.dirs";
    configHome.Set(nullptr);
    fs::create_directories(dir + "/.config");
    std::ofstream(dirs) << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"/data/docs\"\n"
                           "XDG_MUSIC_DIR=relative\nXDG_MUSIC_DIRX=\"/wrong\"\n";
    EXPECT_EQ(std::tuple(UserFolderPath(UserFolder::Desktop), UserFolderPath(UserFolder::Documents),
                         UserFolderPath(UserFolder::Music)),
              std::tuple(dir + "/Schreibtisch", "/data/docs", dir + "/Music"));
    fs::remove(dirs);
    mkfifo(dirs.c_str(), 0600);
    std::string desktop;
    EXPECT_TRUE(testutil::RunsWithoutOpeningFifo(dirs, [&] { desktop = UserFolderPath(UserFolder::Desktop); }));
    EXPECT_EQ(desktop, dir + "/Desktop");
}

TEST_F(Folders, BundleResources) {
    fs::create_directories(dir + "/Resources/sub.png");
    std::ofstream(dir + "/Resources/knob.png") << "x";
    RegisterBundle({"test.bundle", dir, dir + "/exe", dir + "/Resources"});
    BundleInfo b, missing{"none", dir, "", dir + "/NoResources"};
    EXPECT_FALSE(FindBundle("other.bundle", &b));
    ASSERT_TRUE(FindBundle("test.bundle", &b));
    struct Case { const BundleInfo* bundle; const char *name, *type; std::string path; } cases[] = {
        {&b, "knob", "png", dir + "/Resources/knob.png"},
        {&b, "knob", "PNG", ""}, {&b, "sub", "png", ""},  // letter case matters; a folder is no resource
        {&b, "../Resources/knob", "png", ""},   {&b, "", "png", ""}, {&missing, "knob", "png", ""},
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

TEST(InputMap, ModifiersAndKeysFromX11) {
    struct Case { unsigned state, flags; } modifiers[] = {
        {0, 0}, {x11::kShiftMask | x11::kControlMask, kShiftKeyMask | kControlKeyMask},
        {x11::kMod1Mask, kAlternateKeyMask},
        {x11::kMod4Mask, kCommandKeyMask},  // how X11 reports Super
        {x11::kSuperMask, kCommandKeyMask}, {x11::kMetaMask, kCommandKeyMask},
        {1u << 1 | 1u << 4 | 1u << 8, 0},  // Caps Lock, Num Lock and a button: no modifier
    };
    for (const auto& c : modifiers) EXPECT_EQ(ModifierFlagsFromX11(c.state), c.flags) << std::hex << c.state;
    // And back, for the keys shown beside menu items: every combination comes home.
    for (unsigned flags = 0; flags < 16; ++flags) {
        const unsigned mask = (flags & 1 ? kShiftKeyMask : 0) | (flags & 2 ? kControlKeyMask : 0) |
                              (flags & 4 ? kAlternateKeyMask : 0) | (flags & 8 ? kCommandKeyMask : 0);
        EXPECT_EQ(ModifierFlagsFromX11(X11StateFromModifierFlags(mask)), mask) << std::hex << mask;
    }

    struct Key { unsigned keysym; char32_t character; int keyCode; const char* text; } keys[] = {
        {x11::kKeyLeft, 0, kKeyCodeLeft, "\xEF\x9D\x91"},  // no character: U+F700 + low byte
        {x11::kKeyKpLeft, 0, kKeyCodeLeft, "\xEF\x9E\x96"},   {x11::kKeyRight, 0, kKeyCodeRight, "\xEF\x9D\x93"},
        {x11::kKeyDown, 0, kKeyCodeDown, "\xEF\x9D\x94"},     {x11::kKeyKpUp, 0, kKeyCodeUp, "\xEF\x9E\x97"},
        {x11::kKeySpace, U' ', kKeyCodeSpace, " "},            {'q', U'q', kKeyCodeOther, "q"},
        {0xe9, U'\u00e9', kKeyCodeOther, "\xC3\xA9"},          {0x20ac, U'\u20ac', kKeyCodeOther, "\xE2\x82\xAC"},
        {0x1000000 + 0x1F600, U'\U0001F600', kKeyCodeOther, "\xF0\x9F\x98\x80"},
        {0xffbe, 0, kKeyCodeOther, "\xEF\x9E\xBE"},      // F1
        {0xffbe, 0xD800, kKeyCodeOther, "\xEF\x9E\xBE"},  // a surrogate is no character
    };
    for (const auto& k : keys) {
        const KeyEvent e = KeyEventFromX11(k.keysym, k.character, x11::kMod4Mask);
        EXPECT_EQ(std::tuple(e.keyCode, e.charactersIgnoringModifiers, e.modifierFlags),
                  std::tuple(k.keyCode, k.text, kCommandKeyMask)) << std::hex << k.keysym;
    }
}

TEST(InputMap, ClicksCountWithinTimeAndDistanceOfTheOneBefore) {
    struct Press { unsigned button; uint32_t time; double x, y; int count; } presses[] = {
        {1, 1000, 10, 10, 1}, {1, 1400, 15, 5, 2}, {1, 1800, 15, 5, 3},  // at the limits: 400 ms, 5 px
        {1, 2201, 15, 5, 1},                                             // too late
        {1, 2300, 20.5, 5, 1},                                           // too far
        {3, 2400, 20.5, 5, 1}, {3, 2400, 20.5, 5, 2},                    // another button
        {3, 2300, 20.5, 5, 1},                                           // the clock went back
        {3, 0xFFFFFF00u, 0, 0, 1}, {3, 0x80, 0, 0, 2},                   // across the 32-bit wrap
    };
    ClickCounter counter;
    for (const auto& p : presses) EXPECT_EQ(counter.Press(p.button, p.time, p.x, p.y, 400, 5), p.count) << p.time;
}

TEST(InputMap, WheelGivesWholeStepsAndTheFractionCarries) {
    struct Case { std::vector<double> deltas; std::vector<int> steps; } cases[] = {
        {{1, -1, 3}, {1, -1, 3}},      {{0.4, 0.4, 0.4}, {0, 0, 1}},  // 1.2 in all: one step, 0.2 kept
        {{0.6, -0.3, 0.8}, {0, 0, 1}}, {{-0.5, -0.7, 0.1}, {0, -1, 0}}, {{2.5, 0.5}, {2, 1}},
        {{1e300, 0.5}, {1000, 0}},     // bounded, and the remainder dropped
        {{std::nan(""), 1}, {0, 1}},
    };
    for (const Case& c : cases) {
        WheelAccumulator w;
        std::vector<int> steps;
        for (double d : c.deltas) steps.push_back(w.Add(d));
        EXPECT_EQ(steps, c.steps) << c.deltas[0];
    }
}

// A row width in bytes that would wrap an int once let a shown image read past its pixels.
TEST(ImageRef, OnlyReadableImagesHavePixels) {
    static const uint8_t px[16] = {};
    EXPECT_EQ(std::tuple(ImageRef{px, 2, 2, 16}.HasPixels(), ImageRef{px, 2, 2, 7}.HasPixels(),
                         ImageRef{px, INT_MAX, 1, INT_MAX}.HasPixels()),
              std::tuple(true, false, false));  // padded rows; rows shorter than the width
}
