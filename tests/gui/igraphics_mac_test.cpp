// The window back end's services through the headless back end.
#include <gtest/gtest.h>

#include <tuple>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "headless_mac_fixture.h"
#include "platform/folders.h"
#include "temp_dir.h"

using namespace guitest;
using platform::AlertResponse;
using platform::HeadlessView;
namespace fs = std::filesystem;

namespace {

struct MacFixture : HeadlessMacFixture {
    MacFixture() : HeadlessMacFixture(1, 4, 3) {}
};

TEST_F(MacFixture, MessageBoxAnswersPerLayout) {
    using R = AlertResponse;
    struct Case { int type; R response; int answer; const char* buttons; } cases[] = {
        {4, R::Default, 1, "Yes|No|"},      {4, R::Alternate, 7, "Yes|No|"},     {4, R::Closed, 0, "Yes|No|"},
        {3, R::Default, 1, "Yes|No|Cancel"}, {3, R::Alternate, 7, "Yes|No|Cancel"},
        {3, R::Other, 2, "Yes|No|Cancel"},   {3, R::Closed, 2, "Yes|No|Cancel"},  // closing answers Cancel
        {1, R::Default, 1, "|Cancel|"},     {1, R::Alternate, 2, "|Cancel|"},    {1, R::Closed, 2, "|Cancel|"},
        {0, R::Default, 1, "||"},           {0, R::Closed, 0, "||"},             {7, R::Default, 1, "||"},
    };
    for (const Case& c : cases) {
        backend.alertAnswers.push_back(c.response);
        EXPECT_EQ(graphics->ShowMessageBox("text", "caption", c.type), c.answer) << c.type;
        const platform::AlertSetup& s = backend.alerts.back();
        EXPECT_EQ(s.header + "/" + s.message + " " + s.defaultButton + "|" + s.alternateButton + "|" + s.otherButton,
                  "caption/text " + std::string(c.buttons)) << c.type;
    }
    backend.alertAnswers.push_back(AlertResponse::Default);
    EXPECT_EQ(graphics->ShowMessageBox(nullptr, nullptr, 0), 1);  // null texts are empty ones

    // Asked from another thread (the editor's watchdog), the box runs on the main thread.
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
    void SetUp() override {
        MacFixture::SetUp();
        ASSERT_FALSE(home.empty());
    }
    testutil::TempDir tmp;
    const std::string home = tmp.path();
    testutil::ScopedEnv homeEnv{"HOME", home.c_str()};
};

TEST_F(TempHome, PromptForFileStringRules) {
    CMN_String name("prog.pr4"), dir("");
    graphics->PromptForFile(&name, 1, &dir, "pr4 pr3");
    EXPECT_STREQ(name.Get(), "");  // no window: only the name is emptied
    EXPECT_TRUE(backend.filePanels.empty());

    Open();
    name.Set("prog.pr4");
    graphics->PromptForFile(&name, 1, &dir, "pr4  pr3");  // cancelled
    const std::string desktop = home + "/Desktop";
    // The expanded folder comes back even when cancelled.
    EXPECT_EQ(std::tuple(std::string(name.Get()), std::string(dir.Get())), std::tuple("", desktop));
    ASSERT_EQ(backend.filePanels.size(), 1u);
    const platform::FilePanelSetup& s = backend.filePanels[0];
    EXPECT_EQ(std::tuple(s.save, s.fileName, s.directory), std::tuple(true, "prog.pr4", desktop));
    EXPECT_EQ(s.allowedTypes, (std::vector<std::string>{"pr4", "pr3"}));

    backend.filePanelAnswers.push_back("/data/banks/bass.pr3");
    dir.Set("/data");
    graphics->PromptForFile(&name, 0, &dir, "");
    EXPECT_EQ(std::tuple(std::string(name.Get()), std::string(dir.Get())), std::tuple("/data/banks/bass.pr3", "/data/banks/"));
    const platform::FilePanelSetup& open = backend.filePanels.back();
    EXPECT_EQ(std::tuple(open.save, open.allowedTypes.size(), open.directory), std::tuple(false, 0u, "/data"));
    graphics->PromptForFile(&name, 0, nullptr, nullptr);  // no folder string at all
    EXPECT_EQ(backend.filePanels.back().directory, desktop);
}

TEST_F(MacFixture, OpenURLRouting) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    struct Case { const char* text; std::string url; } cases[] = {  // empty url: nothing opened, false
        {"http://example.org/db", "http://example.org/db"},
        {"https://example.org/a?b=1", "https://example.org/a?b=1"},
        {"mailto:someone@example.org", "mailto:someone@example.org"},
        {"/usr/share/doc/guide.pdf", "file:///usr/share/doc/guide.pdf"},
        {"/tmp/my http notes.txt", "file:///tmp/my%20http%20notes.txt"},  // "http" inside a path
        {"/tmp/caf\xc3\xa9 [1].txt", "file:///tmp/caf%C3%A9%20%5B1%5D.txt"},  // bytes outside ASCII escaped
        {"\xc3\xa9t\xc3\xa9:x", std::string("file://") + cwd + "/%C3%A9t%C3%A9:x"},  // no scheme starts so
        {"guide.pdf", std::string("file://") + cwd + "/guide.pdf"},
        {"http://bad url", ""}, {"http:", ""}, {"", ""}, {nullptr, ""},
    };
    for (const Case& c : cases) {
        backend.openedURLs.clear();
        EXPECT_EQ(graphics->OpenURL(c.text), !c.url.empty()) << (c.text ? c.text : "null");
        EXPECT_EQ(backend.openedURLs, c.url.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.url});
    }
    EXPECT_EQ(MakeOpenableURL("C:/x"), std::string("file://") + cwd + "/C:/x");  // one letter is no scheme
    backend.openURLSucceeds = false;
    EXPECT_FALSE(graphics->OpenURL("http://example.org"));
}

TEST_F(MacFixture, ImageNameRule) {
    testutil::TempDir tmp;
    const std::string& dir = tmp.path();
    ASSERT_FALSE(dir.empty());
    fs::create_directories(dir + "/Resources/img");
    const fs::path png = fs::path(QD_TEST_DATA_DIR) / "pngsuite" / "basn2c08.png";
    for (const char* to : {"/Resources/knob.png", "/Resources/img/panel.png", "/Resources/noext"})
        fs::copy_file(png, dir + to);
    std::ofstream(dir + "/Resources/photo.jpg") << "not an image";
    platform::RegisterBundle({"test.mac.bundle", dir, dir + "/qdeditor", dir + "/Resources"});
    graphics->SetBundleID("test.mac.bundle");
    struct Case { const char* name; bool loads; } cases[] = {
        {"knob.png", true},  {"knob.PNG", true}, {"knob.Png", true},     {"img/panel.png", true},
        {"photo.jpg", false}, {"noext", false},  {"missing.png", false}, {".png", false},
        {"../Resources/knob.png", false},        {nullptr, false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<PIX_IBitmap> bm(graphics->OSLoadBitmap(0, c.name));
        EXPECT_EQ(bm != nullptr, c.loads) << (c.name ? c.name : "null");
        if (bm) {
            EXPECT_EQ(bm->getWidth(), 32);
        }
    }
    graphics->SetBundleID("unknown.bundle");
    EXPECT_EQ(std::unique_ptr<PIX_IBitmap>(graphics->OSLoadBitmap(0, "knob.png")), nullptr);
}

TEST_F(MacFixture, DrawScreenShowsTheBackBufferAtEveryDensity) {
    IRECT all(0, 0, 4, 3);
    EXPECT_FALSE(graphics->DrawScreen(&all));  // no view
    graphics->AttachControl(new LogControl(&plug, nullptr, "c", IRECT()));  // an empty list shows nothing
    HeadlessView* hv = Open();
    EXPECT_FALSE(graphics->DrawScreen(&all));  // outside a redraw: nothing to draw into
    PIX_SysBitmap* bm = graphics->GetDrawBitmap();
    ASSERT_TRUE(PIX_HasPixels(bm));
    for (int i = 0; i < 12; ++i) *PIX_PixelAddress(*bm, i % 4, i / 4) = 0xff000000u | uint32_t(i / 4 << 8 | i % 4);
    // Shows the view's rectangle `r` at `scale` and compares the part of it given in GUI pixels.
    auto show = [&](int scale, const platform::Rect& r) {
        hv->SetBackingScaleFactor(scale);
        hv->shownImages.clear();
        hv->SetNeedsDisplayInRect(r);
        hv->Display();
        ASSERT_EQ(hv->shownImages.size(), 1u);
        const auto& shown = hv->shownImages[0];
        ASSERT_EQ(std::tuple(shown.width, shown.height), std::tuple(4 * scale, 3 * scale));
        EXPECT_EQ(shown.dest, (platform::Rect{0, 0, 4, 3}));  // the panel's size in points
        const IRECT g = IGraphicsCocoa_vQDEditor_sa::ToGUIRect(r, 3);
        for (int y = scale * g.T; y < scale * g.B; ++y)
            for (int x = scale * g.L; x < scale * g.R; ++x)
                EXPECT_EQ(std::memcmp(&shown.pixels[(y * 4 * scale + x) * 4], PIX_PixelAddress(*bm, x / scale, y / scale),
                                      4), 0) << scale << ": " << x << "," << y;
    };
    show(1, {0, 0, 4, 3});
    show(2, {0, 0, 4, 3});
    // At double density a redraw of (1, 1, 3, 2) takes only that part of the back buffer
    // again; a full redraw then shows every changed pixel.
    for (int i = 0; i < 12; ++i) *PIX_PixelAddress(*bm, i % 4, i / 4) ^= 0x00ff0000u;
    show(2, {1, 1, 2, 1});
    show(2, {0, 0, 4, 3});
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
    hv->SetCanDraw(true);  // shown again: redraws are asked of the window as usual
    c->SetDirty(false);
    backend.FireTimers(1);
    EXPECT_EQ(hv->invalidatedRects.size(), 1u);
}

}  // namespace
