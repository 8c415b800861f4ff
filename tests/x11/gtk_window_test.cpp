// Drives a real GTK window with real X input (xdotool) and checks what the display shows.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "gtk_test_support.h"
#include "platform/gtk_backend.h"

using namespace platform;
using namespace x11test;

namespace {

constexpr int kW = 200, kH = 150;

// A tiny panel: a toggle button and a slider drawn into a back buffer (A, R, G, B).
struct Panel : ViewClient {
    std::vector<uint8_t> pixels = std::vector<uint8_t>(kW * kH * 4);
    View* view = nullptr;
    bool dirty = true;
    bool on = false;
    int fill = 20;  // slider fill reaches this x
    int draws = 0;
    std::vector<int> clickCounts;

    void Fill(int l, int t, int r, int b, uint32_t argb) {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) {
                uint8_t* p = &pixels[(size_t(y) * kW + x) * 4];
                p[0] = argb >> 24, p[1] = argb >> 16, p[2] = argb >> 8, p[3] = argb;
            }
    }
    void Render() {
        Fill(0, 0, kW, kH, 0xff202020);
        Fill(20, 20, 60, 60, on ? 0xff00ff00 : 0xffff0000);
        Fill(20, 100, 180, 120, 0xff404040);
        Fill(20, 100, fill, 120, 0xff0000ff);
    }
    void Tick() {
        if (!dirty) return;
        dirty = false;
        Render();
        view->SetNeedsDisplay();
    }
    void DrawRect(const Rect&) override {
        ++draws;
        view->DrawImage({pixels.data(), kW, kH, kW * 4}, {0, 0, kW, kH});
    }
    static int GuiY(const MouseEvent& e) { return kH - int(e.location.y); }
    void MouseDown(const MouseEvent& e) override {
        clickCounts.push_back(e.clickCount);
        int x = int(e.location.x), y = GuiY(e);
        if (x >= 20 && x < 60 && y >= 20 && y < 60) on = !on, dirty = true;
    }
    void MouseDragged(const MouseEvent& e) override {
        int y = GuiY(e);
        if (y >= 90 && y < 130) fill = std::clamp(int(e.location.x), 20, 180), dirty = true;
    }
};

class GtkWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend = SharedGtkBackend();
        if (!backend) GTEST_SKIP() << "no X display";
        window = backend->CreateWindow("test", kW, kH);
        window->Show();
        view = backend->CreateView(window.get(), {0, 0, kW, kH}, &panel);
        panel.view = view.get();
        timer = backend->ScheduleTimer(1.0 / 120, [this] { panel.Tick(); });
        ASSERT_TRUE(PumpUntil([&] { return panel.draws > 0 && view->CanDraw(); }));
        // The first frame may be drawn while the window is still being mapped.
        int drawn = panel.draws;
        view->SetNeedsDisplay();
        ASSERT_TRUE(PumpUntil([&] { return panel.draws > drawn; }));
        RunGtkMainLoopFor(0.1);
        ASSERT_TRUE(ViewOriginOnScreen(view.get(), &ox, &oy));
    }
    void TearDown() override {
        timer.reset();
        view.reset();
        window.reset();
        if (backend) RunGtkMainLoopFor(0.05);
    }
    std::string At(int x, int y) { return std::to_string(ox + x) + " " + std::to_string(oy + y); }
    uint32_t Shown(int x, int y) {
        std::vector<uint8_t> argb;
        int w = 0, h = 0;
        EXPECT_TRUE(ReadBackShownPixels(view.get(), &argb, &w, &h));
        if (w != kW || h != kH) return 0;
        return PixelAt(argb, w, x, y);
    }

    Backend* backend = nullptr;
    Panel panel;
    std::unique_ptr<Window> window;
    std::unique_ptr<View> view;
    std::unique_ptr<Timer> timer;
    int ox = 0, oy = 0;
};

TEST_F(GtkWindowTest, ClickRedrawsTheButton) {
    EXPECT_EQ(Shown(40, 40), 0xffff0000u);
    EXPECT_EQ(Shown(5, 5), 0xff202020u);
    RunWhilePumping("xdotool mousemove --sync " + At(40, 40) + " click 1");
    EXPECT_TRUE(panel.on);
    EXPECT_EQ(Shown(40, 40), 0xff00ff00u);
    EXPECT_EQ(Shown(19, 40), 0xff202020u);  // the edges stay exact
    EXPECT_EQ(Shown(59, 59), 0xff00ff00u);
    EXPECT_EQ(Shown(60, 59), 0xff202020u);
}

TEST_F(GtkWindowTest, DragMovesTheSlider) {
    RunWhilePumping("xdotool mousemove --sync " + At(30, 110) + " mousedown 1 mousemove --sync " + At(90, 112) +
                    " mousemove --sync " + At(120, 112) + " mouseup 1");
    EXPECT_EQ(panel.fill, 120);
    EXPECT_EQ(Shown(119, 110), 0xff0000ffu);
    EXPECT_EQ(Shown(120, 110), 0xff404040u);
}

TEST_F(GtkWindowTest, DoubleClickCountsClicks) {
    RunWhilePumping("xdotool mousemove --sync " + At(100, 80) + " click --repeat 2 --delay 60 1");
    EXPECT_EQ(panel.clickCounts, (std::vector<int>{1, 2}));
}

struct Pick : MenuReceiver {
    void OnMenuSelection(MenuItem* item) override { chosen = item; }
    MenuItem* chosen = nullptr;
};

TEST_F(GtkWindowTest, TimerKeepsFiringWhileAMenuIsOpen) {
    int ticks = 0;
    auto counter = backend->ScheduleTimer(1.0 / 120, [&] { ++ticks; });
    Menu menu;
    Pick pick;
    menu.AddItem("first", &pick);
    menu.AddItem("second", &pick);
    // Dismisses the menu from outside after a while; the menu call blocks until then.
    std::thread closer([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        std::system("xdotool key Escape");
    });
    {
        ModalGuard guard(3000);
        view->PopUpContextMenu(menu, {30, kH - 30});
    }
    closer.join();
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(pick.chosen, nullptr);
}

}  // namespace
