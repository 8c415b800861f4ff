// The window back end's services through the headless back end.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "gui/cocoa_view.h"
#include "gui/igraphics_mac.h"
#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "recording_graphics.h"

using namespace guitest;
using platform::AlertResponse;
using platform::HeadlessView;
namespace fs = std::filesystem;

namespace {

struct MacFixture : ::testing::Test {
    platform::HeadlessBackend backend;
    Log log;
    LogPlug plug{1, &log};
    IGraphicsMac* graphics = new IGraphicsMac(&plug, 4, 3, 0);

    void SetUp() override { platform::InstallBackend(&backend); }
    void TearDown() override {
        if (plug.GetGUI() != graphics) delete graphics;  // never attached: still ours
        platform::InstallBackend(nullptr);
    }
    HeadlessView* Open() {
        plug.AttachGraphics(graphics);
        graphics->OpenWindow(nullptr);
        return static_cast<HeadlessView*>(graphics->GetView()->nativeView());
    }
};

TEST_F(MacFixture, MessageBoxAnswersPerLayout) {
    struct Case {
        int type;
        AlertResponse response;
        int answer;
        const char* defaultButton;
        const char* alternate;
        const char* other;
    } cases[] = {
        {4, AlertResponse::Default, 1, "Yes", "No", ""},
        {4, AlertResponse::Alternate, 7, "Yes", "No", ""},
        {4, AlertResponse::Closed, 0, "Yes", "No", ""},
        {3, AlertResponse::Default, 1, "Yes", "No", "Cancel"},
        {3, AlertResponse::Alternate, 7, "Yes", "No", "Cancel"},
        {3, AlertResponse::Other, 2, "Yes", "No", "Cancel"},
        {3, AlertResponse::Closed, 2, "Yes", "No", "Cancel"},
        {1, AlertResponse::Default, 1, "", "Cancel", ""},
        {1, AlertResponse::Alternate, 2, "", "Cancel", ""},
        {1, AlertResponse::Closed, 2, "", "Cancel", ""},
        {0, AlertResponse::Default, 1, "", "", ""},
        {0, AlertResponse::Closed, 0, "", "", ""},
        {7, AlertResponse::Default, 1, "", "", ""},
    };
    for (const Case& c : cases) {
        backend.alertAnswers.push_back(c.response);
        EXPECT_EQ(graphics->ShowMessageBox("text", "caption", c.type), c.answer) << c.type;
        const platform::AlertSetup& s = backend.alerts.back();
        EXPECT_EQ(s.header, "caption");
        EXPECT_EQ(s.message, "text");
        EXPECT_EQ(s.defaultButton, c.defaultButton);
        EXPECT_EQ(s.alternateButton, c.alternate);
        EXPECT_EQ(s.otherButton, c.other);
    }
    backend.alertAnswers.push_back(AlertResponse::Default);
    EXPECT_EQ(graphics->ShowMessageBox(nullptr, nullptr, 0), 1);  // null texts are empty ones
}

TEST_F(MacFixture, MessageBoxFromAnotherThreadRunsOnTheMainThread) {
    std::atomic<int> answer{-1};
    bool onMain = false;
    backend.whileModal = [&] { onMain = backend.IsMainThread(); };
    backend.alertAnswers.push_back(AlertResponse::Default);
    std::thread watchdog([&] { answer = graphics->ShowMessageBox("QD not present", "Error", 0); });
    while (answer < 0) backend.RunPendingMainThreadWork();
    watchdog.join();
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(onMain);
}

struct TempHome : MacFixture {
    std::string home;
    std::string oldHome;
    void SetUp() override {
        MacFixture::SetUp();
        char tmpl[] = "/tmp/qd_home_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        home = tmpl;
        if (const char* h = std::getenv("HOME")) oldHome = h;
        setenv("HOME", home.c_str(), 1);
    }
    void TearDown() override {
        setenv("HOME", oldHome.c_str(), 1);
        fs::remove_all(home);
        MacFixture::TearDown();
    }
};

TEST_F(TempHome, PromptForFileStringRules) {
    CMN_String name("prog.pr4"), dir("");
    graphics->PromptForFile(&name, 1, &dir, "pr4 pr3");
    EXPECT_STREQ(name.Get(), "");  // no window: only the name is emptied
    EXPECT_TRUE(backend.filePanels.empty());

    Open();
    name.Set("prog.pr4");
    graphics->PromptForFile(&name, 1, &dir, "pr4  pr3");  // cancelled
    EXPECT_STREQ(name.Get(), "");
    const std::string desktop = platform::UserFolderPath(platform::UserFolder::Desktop);
    EXPECT_EQ(desktop, home + "/Desktop");
    EXPECT_STREQ(dir.Get(), desktop.c_str());  // the expanded folder, even when cancelled
    ASSERT_EQ(backend.filePanels.size(), 1u);
    const platform::FilePanelSetup& s = backend.filePanels[0];
    EXPECT_TRUE(s.save);
    EXPECT_EQ(s.fileName, "prog.pr4");
    EXPECT_EQ(s.directory, desktop);
    EXPECT_EQ(s.allowedTypes, (std::vector<std::string>{"pr4", "pr3"}));

    backend.filePanelAnswers.push_back("/data/banks/bass.pr3");
    dir.Set("/data");
    graphics->PromptForFile(&name, 0, &dir, "");
    EXPECT_STREQ(name.Get(), "/data/banks/bass.pr3");
    EXPECT_STREQ(dir.Get(), "/data/banks/");
    EXPECT_FALSE(backend.filePanels.back().save);
    EXPECT_TRUE(backend.filePanels.back().allowedTypes.empty());
    EXPECT_EQ(backend.filePanels.back().directory, "/data");

    graphics->PromptForFile(&name, 0, nullptr, nullptr);  // no folder string at all
    EXPECT_EQ(backend.filePanels.back().directory, desktop);
}

TEST_F(MacFixture, OpenURLRouting) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    struct Case {
        const char* text;
        std::string url;  // empty: nothing opened, answer false
    } cases[] = {
        {"http://example.org/db", "http://example.org/db"},
        {"https://example.org/a?b=1", "https://example.org/a?b=1"},
        {"mailto:someone@example.org", "mailto:someone@example.org"},
        {"/usr/share/doc/guide.pdf", "file:///usr/share/doc/guide.pdf"},
        {"/tmp/my http notes.txt", "file:///tmp/my%20http%20notes.txt"},  // "http" inside a path
        {"guide.pdf", std::string("file://") + cwd + "/guide.pdf"},
        {"C:/x", ""},                 // one letter is no scheme, and no file either here
        {"http://bad url", ""},
        {"http:", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (const Case& c : cases) {
        if (c.text && std::string(c.text) == "C:/x") {
            EXPECT_EQ(MakeOpenableURL(c.text), std::string("file://") + cwd + "/C:/x");
            continue;
        }
        backend.openedURLs.clear();
        EXPECT_EQ(graphics->OpenURL(c.text), !c.url.empty()) << (c.text ? c.text : "null");
        if (c.url.empty())
            EXPECT_TRUE(backend.openedURLs.empty());
        else
            EXPECT_EQ(backend.openedURLs, std::vector<std::string>{c.url});
    }
    backend.openURLSucceeds = false;
    EXPECT_FALSE(graphics->OpenURL("http://example.org"));
}

TEST_F(MacFixture, ImageNameRule) {
    char tmpl[] = "/tmp/qd_res_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    fs::create_directories(dir + "/Resources/img");
    const fs::path png = fs::path(QD_TEST_DATA_DIR) / "pngsuite" / "basn2c08.png";
    fs::copy_file(png, dir + "/Resources/knob.png");
    fs::copy_file(png, dir + "/Resources/img/panel.png");
    std::ofstream(dir + "/Resources/photo.jpg") << "not an image";
    fs::copy_file(png, dir + "/Resources/noext");
    platform::RegisterBundle({"test.mac.bundle", dir, dir + "/qdeditor", dir + "/Resources"});
    graphics->SetBundleID("test.mac.bundle");
    struct Case {
        const char* name;
        bool loads;
    } cases[] = {{"knob.png", true},  {"knob.PNG", true},   {"knob.Png", true}, {"img/panel.png", true},
                 {"photo.jpg", false}, {"noext", false},    {"missing.png", false}, {".png", false},
                 {"../Resources/knob.png", false}, {nullptr, false}};
    for (const Case& c : cases) {
        std::unique_ptr<PIX_IBitmap> bm(graphics->OSLoadBitmap(0, c.name));
        EXPECT_EQ(bm != nullptr, c.loads) << (c.name ? c.name : "null");
        if (bm) {
            EXPECT_EQ(bm->getWidth(), 32);
            EXPECT_EQ(bm->getHeight(), 32);
        }
    }
    graphics->SetBundleID("unknown.bundle");
    EXPECT_EQ(std::unique_ptr<PIX_IBitmap>(graphics->OSLoadBitmap(0, "knob.png")), nullptr);
    // Paths of the bundle: the executable, and the folder that holds the bundle.
    CMN_String host("unchanged"), plugin("unchanged");
    graphics->HostPath(&host);
    graphics->PluginPath(&plugin);
    EXPECT_STREQ(host.Get(), "unchanged");
    graphics->SetBundleID("test.mac.bundle");
    graphics->HostPath(&host);
    graphics->PluginPath(&plugin);
    EXPECT_EQ(host.Get(), dir + "/qdeditor");
    EXPECT_EQ(plugin.Get(), dir.substr(0, dir.rfind('/') + 1));
    fs::remove_all(dir);
}

TEST_F(MacFixture, DrawScreenShowsTheBackBuffer) {
    IRECT all(0, 0, 4, 3);
    EXPECT_FALSE(graphics->DrawScreen(&all));  // no view
    graphics->AttachControl(new LogControl(&plug, nullptr, "c", IRECT()));  // an empty list shows nothing
    HeadlessView* hv = Open();
    EXPECT_FALSE(graphics->DrawScreen(&all));  // outside a redraw: nothing to draw into
    PIX_SysBitmap* bm = graphics->GetDrawBitmap();
    ASSERT_TRUE(PIX_HasPixels(bm));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) *PIX_PixelAddress(*bm, x, y) = 0xff000000u | uint32_t(y << 8 | x);
    hv->SetNeedsDisplay();
    hv->Display();
    ASSERT_EQ(hv->shownImages.size(), 1u);
    const auto& shown = hv->shownImages[0];
    EXPECT_EQ(shown.width, 4);
    EXPECT_EQ(shown.height, 3);
    EXPECT_EQ(shown.dest, (platform::Rect{0, 0, 4, 3}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(std::memcmp(&shown.pixels[(y * 4 + x) * 4], PIX_PixelAddress(*bm, x, y), 4), 0);
}

TEST_F(MacFixture, DrawScreenWithoutPixelsAnswersFalse) {
    // A control that asks for the screen from inside a redraw, where a context exists.
    struct Bare : IGraphicsMac {
        using IGraphicsMac::IGraphicsMac;
        void DropBackBuffer() {
            delete mDrawBitmap;
            mDrawBitmap = nullptr;
        }
    };
    struct Probe : LogControl {
        using LogControl::LogControl;
        std::vector<bool> results;
        bool drop = false;
        bool Draw(IGraphics* g) override {
            if (drop) static_cast<Bare*>(g)->DropBackBuffer();
            results.push_back(g->DrawScreen(nullptr));
            return true;
        }
    };
    Bare bare(nullptr, 4, 3, 0);
    auto* probe = new Probe(&plug, nullptr, "p", IRECT(0, 0, 4, 3));
    bare.AttachControl(probe);
    bare.PrepDraw();
    bare.OpenWindow(nullptr);
    auto* hv = static_cast<HeadlessView*>(bare.GetView()->nativeView());
    hv->SetNeedsDisplay();
    hv->Display();
    probe->drop = true;
    hv->SetNeedsDisplay();
    hv->Display();
    EXPECT_EQ(probe->results, (std::vector<bool>{true, false}));
}

TEST_F(MacFixture, DoubleDensityDoublesEveryPixel) {
    IGraphicsMac* small = new IGraphicsMac(nullptr, 2, 1, 0);
    std::unique_ptr<IGraphicsMac> owner(small);
    small->AttachControl(new LogControl(&plug, nullptr, "c", IRECT()));
    small->PrepDraw();
    small->OpenWindow(nullptr);
    auto* hv = static_cast<HeadlessView*>(small->GetView()->nativeView());
    hv->SetBackingScaleFactor(2.0);
    *PIX_PixelAddress(*small->GetDrawBitmap(), 0, 0) = 0x11223344u;
    *PIX_PixelAddress(*small->GetDrawBitmap(), 1, 0) = 0x55667788u;
    hv->SetNeedsDisplay();
    hv->Display();
    ASSERT_EQ(hv->shownImages.size(), 1u);
    const auto& s = hv->shownImages[0];
    EXPECT_EQ(s.width, 4);
    EXPECT_EQ(s.height, 2);
    EXPECT_EQ(s.dest, (platform::Rect{0, 0, 2, 1}));  // drawn into the panel's size in points
    const uint32_t* px = reinterpret_cast<const uint32_t*>(s.pixels.data());
    const uint32_t expected[] = {0x11223344u, 0x11223344u, 0x55667788u, 0x55667788u};
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(px[row * 4 + x], expected[x]);
}

TEST_F(MacFixture, HiddenWindowKeepsTheIdleCadence) {
    LogControl* c = new LogControl(&plug, &log, "c", IRECT(0, 0, 4, 3));
    graphics->AttachControl(c);
    HeadlessView* hv = Open();
    hv->SetCanDraw(false);
    log.clear();
    backend.FireTimers(1);  // dirty: drawn into the back buffer, no screen
    EXPECT_EQ(log, (Log{"c draw"}));
    EXPECT_TRUE(hv->invalidatedRects.empty());
    backend.FireTimers(4);
    EXPECT_EQ(log, (Log{"c draw", "idle", "idle"}));
    // Shown again: redraws are asked of the window as usual.
    hv->SetCanDraw(true);
    c->SetDirty(false);
    backend.FireTimers(1);
    EXPECT_EQ(hv->invalidatedRects.size(), 1u);
}

TEST_F(MacFixture, CursorHideAndShow) {
    backend.mouseLocation = {321, 123};
    graphics->HideMouseCursor();
    EXPECT_TRUE(backend.cursorHidden);
    backend.mouseLocation = {5, 5};
    graphics->HideMouseCursor();  // already hidden: the first position stays
    graphics->ShowMouseCursor();
    EXPECT_FALSE(backend.cursorHidden);
    ASSERT_EQ(backend.warps.size(), 1u);
    EXPECT_EQ(backend.warps[0].x, 321);
    EXPECT_EQ(backend.warps[0].y, 123);
    graphics->ShowMouseCursor();  // not hidden: nothing
    EXPECT_EQ(backend.warps.size(), 1u);
    backend.cursorCanHide = false;
    graphics->HideMouseCursor();
    graphics->ShowMouseCursor();  // the hide failed, so there is nothing to show
    EXPECT_EQ(backend.warps.size(), 1u);
}

TEST_F(MacFixture, Clipboard) {
    CMN_String s("old");
    EXPECT_FALSE(graphics->GetTextFromClipboard(&s));
    EXPECT_STREQ(s.Get(), "");
    backend.clipboard = "Pad \xc3\xa9";
    backend.clipboardHasText = true;
    EXPECT_TRUE(graphics->GetTextFromClipboard(&s));
    EXPECT_STREQ(s.Get(), "Pad \xc3\xa9");
}

TEST_F(MacFixture, WindowLifecycle) {
    EXPECT_FALSE(graphics->WindowIsOpen());
    HeadlessView* hv = Open();
    EXPECT_TRUE(graphics->WindowIsOpen());
    EXPECT_EQ(backend.LiveTimerCount(), 1);
    EXPECT_EQ(backend.Views().size(), 1u);
    graphics->OpenWindow(nullptr);  // opening again closes first
    EXPECT_EQ(backend.LiveTimerCount(), 1);
    EXPECT_EQ(backend.Views().size(), 1u);
    hv = static_cast<HeadlessView*>(graphics->GetView()->nativeView());
    graphics->Resize(8, 6);
    EXPECT_EQ(hv->Frame().width, 8);
    EXPECT_EQ(hv->Frame().height, 6);
    EXPECT_EQ(graphics->GetDrawBitmap()->getWidth(), 8);
    graphics->CloseWindow();
    EXPECT_FALSE(graphics->WindowIsOpen());
    EXPECT_EQ(backend.LiveTimerCount(), 0);
    EXPECT_TRUE(backend.Views().empty());
    graphics->CloseWindow();  // twice: nothing
    EXPECT_STREQ(graphics->GetGUIAPI(), "Cocoa GUI");
    graphics->OpenWindow(nullptr);  // left open: the destructor closes it
}

TEST_F(MacFixture, ChildWindowSitsCentredOnItsParent) {
    plug.AttachGraphics(graphics);
    struct Case {
        int parentX, parentWidth, childX;
    } cases[] = {{100, 1001, 598}, {100, 4, 100}, {-20, 2, -20}};
    for (const Case& c : cases) {
        auto parent = backend.CreateWindow("main", c.parentWidth, 500, false);
        parent->SetPosition(c.parentX, 50);
        graphics->OpenChildWindow(parent.get());
        ASSERT_TRUE(graphics->WindowIsOpen());
        auto* hv = static_cast<HeadlessView*>(graphics->GetView()->nativeView());
        ASSERT_NE(hv->parent, nullptr);
        EXPECT_NE(hv->parent, parent.get());
        EXPECT_EQ(hv->parent->ScreenFrame(), (platform::Rect{double(c.childX), 50, 4, 3}));
        graphics->CloseChildWindow();
        EXPECT_FALSE(graphics->WindowIsOpen());
    }
}

TEST(MacWithoutBackend, EverythingFailsQuietly) {
    IGraphicsMac g(nullptr, 10, 10, 0);
    EXPECT_EQ(g.OpenWindow(nullptr), nullptr);
    EXPECT_EQ(g.ShowMessageBox("a", "b", 1), 0);
    EXPECT_FALSE(g.OpenURL("http://example.org"));
    CMN_String s("x");
    EXPECT_FALSE(g.GetTextFromClipboard(&s));
    IPopupMenu m;
    IRECT r(0, 0, 1, 1);
    EXPECT_EQ(g.CreateIPopupMenu(&m, &r), nullptr);
    g.HideMouseCursor();
    g.ShowMouseCursor();
}

}  // namespace
