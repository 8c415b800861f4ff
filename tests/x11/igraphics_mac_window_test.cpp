// The GUI engine in a real GTK window: real X clicks, drags and keys reach controls
// through the panel view, and what they redraw reaches the screen.
#include <gtest/gtest.h>


#include "gui/cocoa_view.h"
#include "gui/gui_resize.h"
#include "gui/standalone_window.h"
#include "gui/control.h"
#include "gui/igraphics_mac.h"
#include "platform/gtk_backend.h"
#include "plug/module_standalone.h"
#include "plug/param.h"
#include "raster/bitmap.h"
#include "../temp_dir.h"
#include "run_while_pumping.h"

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
};

void FillRect(IGraphics* g, const IRECT& r, uint32_t argb) {
    PIX_SysBitmap* bm = g->GetDrawBitmap();
    for (int y = std::max(0, r.T); y < std::min(r.B, bm->getHeight()); ++y)
        for (int x = std::max(0, r.L); x < std::min(r.R, bm->getWidth()); ++x) {
            uint8_t* p = reinterpret_cast<uint8_t*>(PIX_PixelAddress(*bm, x, y));
            p[0] = argb >> 24, p[1] = argb >> 16, p[2] = argb >> 8, p[3] = argb;
        }
}

// Fills its rectangle: a colour per value step, or a bar up to its value; a right
// click on the counter prompts for its value.
struct Fill : IControl {
    enum Kind { kPanel, kToggle, kBar, kCounter } kind;
    std::vector<int> keys;
    Fill(IModuleBase* plug, const IRECT& r, int param, Kind k) : IControl(plug, r, param), kind(k) {}
    bool Draw(IGraphics* g) override {
        const IRECT& r = *GetRECT();
        const uint32_t colour[] = {0xff202020, GetValue() > 0.5 ? 0xff00ff00 : 0xffff0000, 0xff404040,
                                   0xff000000 | uint32_t(int(GetValue() * 100 + 0.5)) << 8};
        FillRect(g, r, colour[kind]);
        if (kind == kBar) FillRect(g, IRECT(r.L, r.T, r.L + int(GetValue() * r.W() + 0.5), r.B), 0xff0000ff);
        return true;
    }
    void OnMouseDown(int x, int y, IMouseMod* m) override {
        if (kind == kToggle) mValue = GetValue() > 0.5 ? 0.0 : 1.0, SetDirty();
        if (kind == kCounter && m->R) PromptUserInput();
        OnMouseDrag(x, y, 0, 0, m);
    }
    void OnMouseDrag(int x, int, int, int, IMouseMod*) override {
        if (kind != kBar) return;
        mValue = std::clamp(double(x - GetRECT()->L) / GetRECT()->W(), 0.0, 1.0);
        SetDirty();
    }
    bool OnKeyDown(int, int, int key) override { return keys.push_back(key), true; }
};

class EngineWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend = SharedGtkBackend();
        if (!backend) GTEST_SKIP() << "no X display";
        platform::InstallBackend(backend);
        graphics = new IGraphicsMac(&plug, kW, kH, 0);
        graphics->AttachControl(new Fill(&plug, IRECT(0, 0, kW, kH), -1, Fill::kPanel));
        graphics->AttachControl(new Fill(&plug, IRECT(20, 20, 60, 60), 0, Fill::kToggle));
        AddControls();
        plug.AttachGraphics(graphics);
        window = backend->CreateWindow("engine", kW, kH);
        BeforeOpen();
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
    virtual void AddControls() {
        counter = new Fill(&plug, IRECT(100, 20, 180, 60), 2, Fill::kCounter);
        counter->SetPromptDisabled(false);
        graphics->AttachControl(new Fill(&plug, IRECT(20, 100, 180, 120), 1, Fill::kBar));
        graphics->AttachControl(counter);
    }
    virtual void BeforeOpen() {}
    // The screen point that the view maps to GUI pixel (x, y), its offsets undone.
    std::string At(int x, int y) { return std::to_string(ox + x + 2) + " " + std::to_string(oy + y + 3); }
    // 0 unless the view shows w x h pixels.
    uint32_t Shown(int x, int y, int w = kW, int h = kH) {
        std::vector<uint8_t> argb;
        int sw = 0, sh = 0;
        if (!platform::ReadBackShownPixels(view, &argb, &sw, &sh) || sw != w || sh != h) return 0;
        const uint8_t* p = &argb[(size_t(y) * w + x) * 4];
        return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    }

    platform::Backend* backend = nullptr;
    Plug plug;
    IGraphicsMac* graphics = nullptr;
    Fill* counter = nullptr;
    std::unique_ptr<platform::Window> window;
    platform::View* view = nullptr;
    int ox = 0, oy = 0;
};

TEST_F(EngineWindowTest, ClickAndDragRedrawExactly) {
    EXPECT_EQ(Shown(40, 40), 0xffff0000u);
    EXPECT_EQ(Shown(10, 10), 0xff202020u);
    RunWhilePumping("xdotool mousemove --sync " + At(21, 21) + " click 1");
    EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
    struct Probe { int x, y; uint32_t argb; } after[] = {
        {20, 20, 0xff00ff00}, {59, 59, 0xff00ff00}, {60, 40, 0xff202020}, {19, 40, 0xff202020}};
    for (const Probe& p : after) EXPECT_EQ(Shown(p.x, p.y), p.argb) << p.x << "," << p.y;

    RunWhilePumping("xdotool mousemove --sync " + At(20, 110) + " mousedown 1 mousemove --sync " + At(60, 110) +
                    " mousemove --sync " + At(100, 110) + " mouseup 1");
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 0.5);
    EXPECT_EQ(Shown(99, 110), 0xff0000ffu);
    EXPECT_EQ(Shown(100, 110), 0xff404040u);
}

TEST_F(EngineWindowTest, KeysAndTypedValueGoThroughTheTables) {
    RunWhilePumping("xdotool mousemove --sync " + At(140, 40) + " click 1");  // focus, and the key position
    RunWhilePumping("xdotool key --delay 30 q Q Left space plus");
    EXPECT_EQ(counter->keys, (std::vector<int>{31, 31, 3, 0}));  // "+" goes on to the window

    RunWhilePumping("xdotool click 3");
    ASSERT_TRUE(graphics->GetView()->textEntryRunning());
    // The entry holds "7"; letters and '.' are refused by the int filter.
    RunWhilePumping("xdotool key --delay 20 End BackSpace type --delay 20 '4x.2'");
    RunWhilePumping("xdotool key Return");
    EXPECT_FALSE(graphics->GetView()->textEntryRunning());
    EXPECT_EQ(plug.GetParam(2)->Value(), 42.0);
    EXPECT_EQ(Shown(140, 40), 0xff002a00u);  // green channel = 42
}

TEST_F(EngineWindowTest, SuperClickStandsForTheRightButton) {
    RunWhilePumping("xdotool mousemove --sync " + At(140, 40) + " keydown super click 1 keyup super");
    EXPECT_TRUE(graphics->GetView()->textEntryRunning());
    RunWhilePumping("xdotool key Escape");
    EXPECT_FALSE(graphics->GetView()->textEntryRunning());
}

// A panel with a resize control in a standalone window: the real window takes each new
// scale, from the menu and from the corner grip, and keeps its top-left corner.
class ScaleWindowTest : public EngineWindowTest {
protected:
    void AddControls() override {
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
    testutil::TempDir dir;
    testutil::ScopedEnv env{"XDG_CONFIG_HOME", dir.path().c_str()};
    IModuleGUIResize* resize = nullptr;
    std::unique_ptr<PlatformStandaloneWindow> mainWindow;
};

TEST_F(ScaleWindowTest, MenuScaleAndGripDragResizeTheRealWindow) {
    // Shown at w x h, with the toggle's red at (px, py) and the panel's grey at (outside, py).
    auto shown = [&](int w, int h, int px, int py, int outside) {
        return Shown(px, py, w, h) == 0xffff0000u && Shown(outside, py, w, h) == 0xff202020u;
    };
    resize->SetGUIScaleRatio(2.0);
    resize->ResizeToStoredScale();
    EXPECT_TRUE(PumpUntil([&] { return shown(400, 300, 118, 100, 122); }));  // toggle at (40, 40, 120, 120)

    // (x + y) / (200 + 150) is 1.5 at (300, 225).
    RunWhilePumping("xdotool mousemove --sync " + At(395, 295) + " mousedown 1 mousemove --sync " + At(250, 200) +
                    " mousemove --sync " + At(300, 225) + " mouseup 1");
    EXPECT_DOUBLE_EQ(resize->GetGUIScaleRatio(), 1.5);
    EXPECT_TRUE(PumpUntil([&] { return shown(300, 225, 88, 60, 92); }));  // toggle at (30, 30, 90, 90)
    EXPECT_EQ(*resize->GetRECT(), IRECT(300 - 24, 225 - 24, 300, 225));
    int x = 0, y = 0;
    ASSERT_TRUE(platform::ViewOriginOnScreen(view, &x, &y));
    EXPECT_EQ(std::vector<int>({x, y}), std::vector<int>({ox, oy}));
}

}  // namespace
