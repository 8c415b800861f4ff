// The GUI engine in a real GTK window: real X clicks, drags and typing reach controls
// through the panel view, and what they redraw reaches the screen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <thread>

#include "gtk_test_support.h"
#include "gui/popup_menu.h"
#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/igraphics_mac.h"
#include "plug/module_standalone.h"
#include "plug/param.h"
#include "winapi/cursor.h"
#include "raster/bitmap.h"

using namespace x11test;

namespace {

constexpr int kW = 200, kH = 150;

struct Plug : IModuleStandalone {
    Plug() : IModuleStandalone(3) {
        GetParam(0)->InitBool("toggle", false);
        GetParam(1)->InitDouble("level", 0.0, 0.0, 1.0, 0.001);
        GetParam(2)->InitInt("count", 7, 0, 100);
    }
    void InformHostOfParamChange(int, double) override {}
    void BeginInformHostOfParamChange(int) override {}
    void EndInformHostOfParamChange(int) override {}
    void OnIdle() override { ++idles; }
    int idles = 0;
};

void FillRect(IGraphics* g, const IRECT& r, uint32_t argb) {
    PIX_SysBitmap* bm = g->GetDrawBitmap();
    for (int y = std::max(0, r.T); y < std::min(r.B, bm->getHeight()); ++y)
        for (int x = std::max(0, r.L); x < std::min(r.R, bm->getWidth()); ++x) {
            uint8_t* p = reinterpret_cast<uint8_t*>(PIX_PixelAddress(*bm, x, y));
            p[0] = argb >> 24, p[1] = argb >> 16, p[2] = argb >> 8, p[3] = argb;
        }
}

// Fills its rectangle: a colour per value step, or a bar up to its value.
struct Fill : IControl {
    enum Kind { kPanel, kToggle, kBar, kCounter } kind;
    Fill(IModuleBase* plug, const IRECT& r, int param, Kind k) : IControl(plug, r, param), kind(k) {}
    bool Draw(IGraphics* g) override {
        const IRECT& r = *GetRECT();
        switch (kind) {
            case kPanel: FillRect(g, r, 0xff202020); break;
            case kToggle: FillRect(g, r, GetValue() > 0.5 ? 0xff00ff00 : 0xffff0000); break;
            case kBar:
                FillRect(g, r, 0xff404040);
                FillRect(g, IRECT(r.L, r.T, r.L + int(GetValue() * r.W() + 0.5), r.B), 0xff0000ff);
                break;
            case kCounter: FillRect(g, r, 0xff000000 | uint32_t(int(GetValue() * 100 + 0.5)) << 8); break;
        }
        return true;
    }
    void OnMouseDown(int x, int y, IMouseMod* m) override {
        if (kind == kToggle) {
            mValue = GetValue() > 0.5 ? 0.0 : 1.0;
            SetDirty();
        } else if (kind == kCounter && m->R) {
            PromptUserInput();
        } else if (kind == kBar) {
            OnMouseDrag(x, y, 0, 0, m);
        }
    }
    bool OnKeyDown(int, int, int key) override {
        keys.push_back(key);
        return true;
    }
    std::vector<int> keys;
    void OnMouseWheel(int, int, IMouseMod*, int d) override { wheel.push_back(d); }
    std::vector<int> wheel;
    void OnMouseDrag(int x, int, int, int, IMouseMod*) override {
        if (kind != kBar) return;
        mValue = std::clamp(double(x - GetRECT()->L) / GetRECT()->W(), 0.0, 1.0);
        SetDirty();
    }
};

class EngineWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend = SharedGtkBackend();
        if (!backend) GTEST_SKIP() << "no X display";
        platform::InstallBackend(backend);
        graphics = new IGraphicsMac(&plug, kW, kH, 0);
        graphics->AttachControl(new Fill(&plug, IRECT(0, 0, kW, kH), -1, Fill::kPanel));
        toggle = new Fill(&plug, IRECT(20, 20, 60, 60), 0, Fill::kToggle);
        bar = new Fill(&plug, IRECT(20, 100, 180, 120), 1, Fill::kBar);
        counter = new Fill(&plug, IRECT(100, 20, 180, 60), 2, Fill::kCounter);
        counter->SetPromptDisabled(false);
        graphics->AttachControl(toggle);
        graphics->AttachControl(bar);
        graphics->AttachControl(counter);
        plug.AttachGraphics(graphics);
        window = backend->CreateWindow("engine", kW, kH);
        ASSERT_NE(graphics->OpenWindow(window.get()), nullptr);
        window->Show();
        view = graphics->GetView()->nativeView();
        ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
        graphics->SetAllControlsDirty();
        platform::RunGtkMainLoopFor(0.3);
        ASSERT_TRUE(platform::ViewOriginOnScreen(view, &ox, &oy));
    }
    void TearDown() override {
        if (!backend) return;
        graphics->CloseWindow();
        window.reset();
        platform::RunGtkMainLoopFor(0.05);
        platform::InstallBackend(nullptr);
    }
    // The screen point that the view maps to GUI pixel (x, y), its offsets undone.
    std::string At(int x, int y) { return std::to_string(ox + x + 2) + " " + std::to_string(oy + y + 3); }
    uint32_t Shown(int x, int y) {
        std::vector<uint8_t> argb;
        int w = 0, h = 0;
        EXPECT_TRUE(platform::ReadBackShownPixels(view, &argb, &w, &h));
        return w == kW && h == kH ? PixelAt(argb, w, x, y) : 0;
    }

    platform::Backend* backend = nullptr;
    Plug plug;
    IGraphicsMac* graphics = nullptr;
    Fill *toggle = nullptr, *bar = nullptr, *counter = nullptr;
    std::unique_ptr<platform::Window> window;
    platform::View* view = nullptr;
    int ox = 0, oy = 0;
};

TEST_F(EngineWindowTest, ClickTogglesAndRedraws) {
    EXPECT_EQ(Shown(40, 40), 0xffff0000u);
    EXPECT_EQ(Shown(10, 10), 0xff202020u);
    RunWhilePumping("xdotool mousemove --sync " + At(21, 21) + " click 1");
    EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
    EXPECT_EQ(Shown(20, 20), 0xff00ff00u);
    EXPECT_EQ(Shown(59, 59), 0xff00ff00u);
    EXPECT_EQ(Shown(60, 40), 0xff202020u);
    EXPECT_EQ(Shown(19, 40), 0xff202020u);
    RunWhilePumping("xdotool mousemove --sync " + At(59, 59) + " click 1");
    EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
    EXPECT_EQ(Shown(40, 40), 0xffff0000u);
}

TEST_F(EngineWindowTest, DragMovesTheBar) {
    RunWhilePumping("xdotool mousemove --sync " + At(20, 110) + " mousedown 1 mousemove --sync " + At(60, 110) +
                    " mousemove --sync " + At(100, 110) + " mouseup 1");
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 0.5);
    EXPECT_EQ(Shown(99, 110), 0xff0000ffu);
    EXPECT_EQ(Shown(100, 110), 0xff404040u);
}

TEST_F(EngineWindowTest, TypedValueGoesThroughTheFilter) {
    RunWhilePumping("xdotool mousemove --sync " + At(140, 40) + " click 3");
    ASSERT_TRUE(graphics->GetView()->textEntryRunning());
    // The entry holds "7"; letters and '.' are refused by the int filter.
    RunWhilePumping("xdotool key --delay 20 End BackSpace type --delay 20 '4x.2'");
    RunWhilePumping("xdotool key Return");
    EXPECT_FALSE(graphics->GetView()->textEntryRunning());
    EXPECT_EQ(plug.GetParam(2)->Value(), 42.0);
    EXPECT_EQ(Shown(140, 40), 0xff002a00u);  // green channel = 42
}

}  // namespace

namespace {

// Sends keys to the window titled `title` once it shows, from another thread, while
// the calling thread sits in a modal loop.
std::thread KeysTo(const std::string& title, const std::string& keys) {
    return std::thread([=] {
        std::string cmd = "xdotool search --sync --onlyvisible --name '^" + title + "$' windowfocus --sync key --delay 30 " + keys;
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    });
}

TEST_F(EngineWindowTest, ClickElsewhereCommitsAndEscapeCancels) {
    RunWhilePumping("xdotool mousemove --sync " + At(140, 40) + " click 3");
    ASSERT_TRUE(graphics->GetView()->textEntryRunning());
    RunWhilePumping("xdotool key --delay 20 ctrl+a type --delay 20 '55'");
    RunWhilePumping("xdotool mousemove --sync " + At(10, 140) + " click 1");  // the panel background
    EXPECT_FALSE(graphics->GetView()->textEntryRunning());
    EXPECT_EQ(plug.GetParam(2)->Value(), 55.0);

    RunWhilePumping("xdotool mousemove --sync " + At(140, 40) + " click 3");
    ASSERT_TRUE(graphics->GetView()->textEntryRunning());
    RunWhilePumping("xdotool key --delay 20 ctrl+a type --delay 20 '9'");
    RunWhilePumping("xdotool key Escape");
    EXPECT_FALSE(graphics->GetView()->textEntryRunning());
    EXPECT_EQ(plug.GetParam(2)->Value(), 55.0);
    EXPECT_EQ(Shown(140, 40), 0xff003700u);
}

TEST_F(EngineWindowTest, KeysReachTheControlUnderTheMouse) {
    RunWhilePumping("xdotool mousemove --sync " + At(140, 40) + " click 1");  // focus, and the key position
    RunWhilePumping("xdotool key --delay 30 q Q shift+q Left space 7 plus F5");
    EXPECT_EQ(counter->keys, (std::vector<int>{31, 31, 31, 3, 0, 12}));  // "+" and F5 go on to the window
}

TEST_F(EngineWindowTest, WheelStepsReachTheControlUnderTheMouse) {
    RunWhilePumping("xdotool mousemove --sync " + At(100, 110) + " click 4 click 4 click 5");
    EXPECT_EQ(bar->wheel, (std::vector<int>{1, 1, -1}));
}

TEST_F(EngineWindowTest, HiddenWindowKeepsIdlingAndShowsTheLatestStateAgain) {
    window->Hide();
    ASSERT_TRUE(PumpUntil([&] { return !view->CanDraw(); }));
    // A change while hidden: the window cannot draw it, yet the idle hook keeps running.
    plug.SetParameterFromGUI(0, 1.0);
    graphics->SetParameterFromPlug(0, 1.0, true);
    plug.idles = 0;
    platform::RunGtkMainLoopFor(0.3);
    EXPECT_GT(plug.idles, 10);
    EXPECT_FALSE(toggle->IsDirty());
    window->Show();
    ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
    platform::RunGtkMainLoopFor(0.3);
    EXPECT_EQ(Shown(40, 40), 0xff00ff00u);
}

TEST_F(EngineWindowTest, WindowDestroyedUnderARunningEntry) {
    graphics->PromptUserInput(counter, plug.GetParam(2), counter->GetRECT());
    platform::RunGtkMainLoopFor(0.1);
    ASSERT_TRUE(graphics->GetView()->textEntryRunning());
    window.reset();  // the entry's focus loss while the window goes is no commit
    platform::RunGtkMainLoopFor(0.05);
    EXPECT_EQ(plug.GetParam(2)->Value(), 7.0);
    graphics->CloseWindow();
    EXPECT_FALSE(graphics->WindowIsOpen());
}

TEST_F(EngineWindowTest, MessageBoxAnswersFromRealKeys) {
    struct Case {
        int type;
        const char* keys;
        int answer;
    } cases[] = {
        {1, "Return", 1},
        {1, "Escape", 2},  // closing a box that has Cancel answers Cancel
        {4, "Escape", 0},
        {3, "Escape", 2},
    };
    for (const Case& c : cases) {
        std::thread keys = KeysTo("Question", c.keys);
        int answer;
        {
            ModalGuard guard;
            answer = graphics->ShowMessageBox("Save the program?", "Question", c.type);
        }
        keys.join();
        EXPECT_EQ(answer, c.answer) << c.keys;
    }
}

TEST_F(EngineWindowTest, SavePanelGivesTheNameTheAllowedType) {
    char tmpl[] = "/tmp/qd_panel_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    CMN_String name("first"), dir(tmpl);
    std::thread keys = KeysTo("Save", "ctrl+a BackSpace b a n k Return");
    {
        ModalGuard guard;
        graphics->PromptForFile(&name, 1, &dir, "pr4 pr3");
    }
    keys.join();
    EXPECT_EQ(std::string(name.Get()), std::string(tmpl) + "/bank.pr4");
    EXPECT_EQ(std::string(dir.Get()), std::string(tmpl) + "/");
    rmdir(tmpl);
}

TEST_F(EngineWindowTest, CursorsAndHiding) {
    for (int id : {IDC_SIZENWSE, IDC_SIZEWE, IDC_SIZENS, IDC_ARROW}) {
        WAPI_SetCursor(WAPI_LoadCursor(id));
        platform::RunGtkMainLoopFor(0.02);
    }
    RunWhilePumping("xdotool mousemove --sync " + At(30, 30));
    graphics->HideMouseCursor();
    RunWhilePumping("xdotool mousemove --sync " + At(150, 130));
    graphics->ShowMouseCursor();  // back where it was hidden
    platform::RunGtkMainLoopFor(0.1);
    platform::Point p = backend->MouseLocation();
    EXPECT_EQ(int(p.x), ox + 30 + 2);
    EXPECT_EQ(int(p.y), oy + 30 + 3);
}

TEST_F(EngineWindowTest, MenuChoiceInASubmenu) {
    IPopupMenu menu, sub;
    menu.SetPrefix(2);
    menu.AddItem("a");
    menu.AddItem("b", -1, IPopupMenuItem::kDisabled);
    sub.AddItem("x");
    sub.AddItem("y");
    menu.AddItem("sub", &sub);
    // Down reaches "a", skips the disabled "b" to "sub"; Right opens it on "x".
    std::thread keys([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        EXPECT_EQ(std::system("xdotool key --delay 60 Down Down Right Down Return"), 0);
    });
    IRECT r(20, 20, 60, 60);
    IPopupMenu* chosen;
    {
        ModalGuard guard;
        chosen = graphics->CreateIPopupMenu(&menu, &r);
    }
    keys.join();
    EXPECT_EQ(chosen, &sub);
    EXPECT_EQ(sub.GetChosenItemIdx(), 1);
    EXPECT_EQ(menu.GetChosenItemIdx(), -1);
}

}  // namespace
