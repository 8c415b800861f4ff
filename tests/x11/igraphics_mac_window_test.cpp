// The GUI engine in a real GTK window under a menu bar: real X clicks, drags and keys reach
// controls through the panel view, their redraws reach the screen, and keys choose menu items.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "gui/standalone_window.h"
#include "plug/module_standalone.h"
#include "plug/param.h"
#include "raster/fill.h"
#include "../temp_dir.h"
#include "run_while_pumping.h"

namespace {

constexpr int kW = 200, kH = 150;

// Fills its rectangle: a colour per value step, or a bar up to its value; a right
// click on the counter prompts for its value.
struct Fill : IControl {
    enum Kind { kPanel, kToggle, kBar, kCounter } kind;
    std::vector<int> keys;
    Fill(IModuleBase* plug, const IRECT& r, int param, Kind k) : IControl(plug, r, param), kind(k) {
        SetPromptDisabled(k != kCounter);
    }
    bool Draw(IGraphics* g) override {
        const IRECT& r = *GetRECT();
        auto fill = [&](int right, uint32_t c) {
            PIX_FillRect(g->GetDrawBitmap(), r.L, r.T, right - r.L, r.H(),
                         PIX_MakePixel(c >> 24, c >> 16 & 255, c >> 8 & 255, c & 255), 1.0f, PIX_MODE_COPY);
        };
        const uint32_t colour[] = {0xff202020, GetValue() > 0.5 ? 0xff00ff00 : 0xffff0000, 0xff404040,
                                   0xff000000 | uint32_t(int(GetValue() * 100 + 0.5)) << 8};
        fill(r.R, colour[kind]);
        if (kind == kBar) fill(r.L + int(GetValue() * r.W() + 0.5), 0xff0000ff);
        return true;
    }
    void OnMouseDown(int x, int y, IMouseMod* m) override {
        if (kind == kToggle) mValue = GetValue() > 0.5 ? 0.0 : 1.0, SetDirty();
        if (kind == kCounter && m->R) PromptUserInput();
        OnMouseDrag(x, y, 0, 0, m);
    }
    void OnMouseDrag(int x, int, int, int, IMouseMod*) override {
        if (kind == kBar) mValue = std::clamp(double(x - GetRECT()->L) / GetRECT()->W(), 0.0, 1.0), SetDirty();
    }
    bool OnKeyDown(int, int, int key) override { return keys.push_back(key), true; }
};

// A panel of the four kinds in a window of its own, below a "File" menu of two items.
struct EngineWindowTest : ::testing::Test, platform::MenuReceiver {
    void SetUp() override {
        backend = SharedGtkBackend();
        if (!backend) GTEST_SKIP() << "no X display";
        platform::InstallBackend(backend);
        plug.GetParam(0)->InitBool("toggle", false);
        plug.GetParam(1)->InitDouble("level", 0.0, 0.0, 1.0, 0.001);
        plug.GetParam(2)->InitInt("count", 7, 0, 100);
        graphics = new IGraphicsMac(&plug, kW, kH, 0);
        graphics->AttachControl(new Fill(&plug, IRECT(0, 0, kW, kH), -1, Fill::kPanel));
        graphics->AttachControl(new Fill(&plug, IRECT(20, 20, 60, 60), 0, Fill::kToggle));
        graphics->AttachControl(new Fill(&plug, IRECT(20, 100, 180, 120), 1, Fill::kBar));
        graphics->AttachControl(counter = new Fill(&plug, IRECT(100, 20, 180, 60), 2, Fill::kCounter));
        BeforeAttach();
        plug.AttachGraphics(graphics);
        window = backend->CreateWindow("engine", kW, kH);
        platform::MenuItem& file = bar.AddItem("File", nullptr);
        bar.SetSubmenu(file, std::make_unique<platform::Menu>());
        for (const char* title : {"Open", "Quit"}) file.submenu->AddItem(title, this);
        window->SetMenuBar(&bar);
        BeforeOpen();
        ASSERT_NE(graphics->OpenWindow(window.get()), nullptr);
        window->Show();
        view = graphics->GetView()->nativeView();
        ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
        graphics->SetAllControlsDirty();
        platform::RunGtkMainLoopFor(0.3);
        ASSERT_TRUE(platform::ViewOriginOnScreen(view, &originX, &originY));
    }
    virtual void BeforeAttach() {}
    virtual void BeforeOpen() {}
    void TearDown() override {
        if (!backend) return;
        graphics->CloseWindow();
        window.reset();
        platform::RunGtkMainLoopFor(0.05);
        platform::InstallBackend(nullptr);
    }
    // The screen point that the view maps to GUI pixel (x, y), its offsets undone.
    std::string At(int x, int y) { return std::to_string(originX + x + 2) + " " + std::to_string(originY + y + 3); }
    // 0 unless the view shows a panel of width x height pixels.
    uint32_t Shown(int x, int y, int width = kW, int height = kH) {
        std::vector<uint8_t> argb;
        int w = 0, h = 0;
        if (!platform::ReadBackShownPixels(view, &argb, &w, &h) || w != width || h != height) return 0;
        const uint8_t* p = &argb[(size_t(y) * w + x) * 4];
        return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    }
    bool EntryRunning() { return graphics->GetView()->textEntryRunning(); }
    void OnMenuSelection(platform::MenuItem* i) override { chosen.push_back(i->title), backend->QuitMainLoop(); }

    platform::Backend* backend = nullptr;
    IModuleStandalone plug{3};
    IGraphicsMac* graphics = nullptr;
    Fill* counter = nullptr;
    std::unique_ptr<platform::Window> window;
    platform::Menu bar;
    std::vector<std::string> chosen;
    platform::View* view = nullptr;
    int originX = 0, originY = 0;
};

TEST_F(EngineWindowTest, ClickAndDragRedrawExactly) {
    EXPECT_EQ(std::pair(Shown(40, 40), Shown(10, 10)), std::pair(0xffff0000u, 0xff202020u));
    RunWhilePumping("xdotool mousemove --sync " + At(21, 21) + " click 1");
    EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
    EXPECT_EQ((std::vector{Shown(20, 20), Shown(59, 59), Shown(60, 40), Shown(19, 40)}),
              (std::vector{0xff00ff00u, 0xff00ff00u, 0xff202020u, 0xff202020u}));  // just the toggle, whole

    RunWhilePumping("xdotool mousemove --sync " + At(20, 110) + " mousedown 1 mousemove --sync " + At(60, 110) +
                    " mousemove --sync " + At(100, 110) + " mouseup 1");
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 0.5);
    EXPECT_EQ(std::pair(Shown(99, 110), Shown(100, 110)), std::pair(0xff0000ffu, 0xff404040u));
}

TEST_F(EngineWindowTest, KeysTypedValuesAndSuperClicks) {
    RunWhilePumping("xdotool mousemove --sync " + At(140, 40) + " click 1");  // focus, and the key position
    RunWhilePumping("xdotool key --delay 30 q Q Left space plus");
    EXPECT_EQ(counter->keys, (std::vector<int>{31, 31, 3, 0}));  // "+" goes on to the window

    RunWhilePumping("xdotool click 3");
    ASSERT_TRUE(EntryRunning());
    // The entry holds "7"; letters and '.' are refused by the int filter.
    RunWhilePumping("xdotool key --delay 20 End BackSpace type --delay 20 '4x.2'");
    RunWhilePumping("xdotool key Return");
    EXPECT_EQ(std::tuple(EntryRunning(), plug.GetParam(2)->Int(), Shown(140, 40)), std::tuple(false, 42, 0xff002a00u));

    // Super with a click stands for the right button; Escape cancels the entry.
    RunWhilePumping("xdotool keydown super click 1 keyup super");
    EXPECT_TRUE(EntryRunning());
    RunWhilePumping("xdotool key Escape");
    EXPECT_EQ(std::pair(EntryRunning(), plug.GetParam(2)->Value()), std::pair(false, 42.0));
}

// F10 opens "File", Up reaches its last item, Return chooses it.
TEST_F(EngineWindowTest, KeysChooseFromTheMenuBar) {
    RunWhilePumping("xdotool mousemove --sync " + At(10, 10));  // keys go where the pointer is
    auto guard = backend->ScheduleTimer(15.0, [&] { backend->QuitMainLoop(); });
    std::thread keys(
        [] { std::system("sleep 0.5; xdotool key F10; sleep 0.3; xdotool key Up; sleep 0.3; xdotool key Return"); });
    backend->RunMainLoop();
    keys.join();
    guard->Invalidate();
    EXPECT_EQ(chosen, std::vector<std::string>{"Quit"});
}

// The panel with a resize control, set up as the editor sets up its own, in a standalone
// window: the real window takes each new scale, from the menu and from the corner grip.
struct ScaleWindowTest : EngineWindowTest {
    void BeforeAttach() override {
        IModuleGUIResize::ResetProcessState();
        resize = new IModuleGUIResize(&plug, graphics, 16, 16);
        resize->EnableGUIScaling();
        resize->SetGUIScaleLimits(50, 200);
        resize->UseControlAndClickForGUIScaling(true);
        plug.SetGUIResize(resize);
    }
    void BeforeOpen() override {
        mainWindow = std::make_unique<PlatformStandaloneWindow>(window.get());
        plug.SetMainWindow(mainWindow.get());
    }
    // Shown at w x h, with the toggle's red at (px, py) and the panel's grey at (outside, py).
    bool ShowsPanel(int w, int h, int px, int py, int outside) {
        return Shown(px, py, w, h) == 0xffff0000u && Shown(outside, py, w, h) == 0xff202020u;
    }

    testutil::TempDir dir;
    testutil::ScopedEnv env{"XDG_CONFIG_HOME", dir.path().c_str()};
    IModuleGUIResize* resize = nullptr;
    std::unique_ptr<PlatformStandaloneWindow> mainWindow;
};

TEST_F(ScaleWindowTest, MenuScaleAndGripDragResizeTheRealWindow) {
    resize->SetGUIScaleRatio(2.0);
    resize->ResizeToStoredScale();
    EXPECT_TRUE(PumpUntil([&] { return ShowsPanel(400, 300, 118, 100, 122); }));  // toggle at (40, 40, 120, 120)

    // (x + y) / (200 + 150) is 1.5 at (300, 225): the window follows the grip while the
    // panel stays covered, and the controls take the scale at mouse-up.
    RunWhilePumping("xdotool mousemove --sync " + At(395, 295) + " mousedown 1 mousemove --sync " + At(250, 200) +
                    " mousemove --sync " + At(300, 225));
    EXPECT_TRUE(PumpUntil([&] { return Shown(100, 100, 300, 225) == 0xff191919u; })) << "covered, at the new size";
    EXPECT_EQ(std::pair(resize->IsGUIResizing(), *graphics->GetControl(1)->GetRECT()),
              std::pair(true, IRECT(40, 40, 120, 120)));
    RunWhilePumping("xdotool mouseup 1");
    EXPECT_DOUBLE_EQ(resize->GetGUIScaleRatio(), 1.5);
    EXPECT_TRUE(PumpUntil([&] { return ShowsPanel(300, 225, 88, 60, 92); }));  // toggle at (30, 30, 90, 90)
    EXPECT_EQ(*resize->GetRECT(), IRECT(300 - 24, 225 - 24, 300, 225));
    EXPECT_EQ(testutil::ReadFile(dir.path() + "/RODiradu4/settings.ini"), "[gui]\nguiscale=1.500000000000000\n");
    int x = 0, y = 0;
    ASSERT_TRUE(platform::ViewOriginOnScreen(view, &x, &y));
    EXPECT_EQ(std::pair(x, y), std::pair(originX, originY)) << "the window keeps its top-left corner";
}

}  // namespace
