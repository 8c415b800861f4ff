// The control library's text entry in a real GTK window: a click opens the entry,
// typed keys fill it, Return hands the text back to the control.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "gui/cocoa_view.h"
#include "gui/controls/user_text_controls.h"
#include "gui/igraphics_mac.h"
#include "platform/gtk_backend.h"
#include "plug/module_standalone.h"
#include "run_while_pumping.h"

namespace {

struct Plug : IModuleStandalone {
    Plug() : IModuleStandalone(0) {}
    void InformHostOfParamChange(int, double) override {}
    void BeginInformHostOfParamChange(int) override {}
    void EndInformHostOfParamChange(int) override {}
};

TEST(ControlsWindow, TypedTextReachesTheUserTextControl) {
    platform::Backend* backend = SharedGtkBackend();
    if (!backend) GTEST_SKIP() << "no X display";
    platform::InstallBackend(backend);
    Plug plug;
    auto* graphics = new IGraphicsMac(&plug, 200, 100, 0);
    IText style(12, COLOR_BLACK);
    auto* name = new IUserTextControl(&plug, IRECT(20, 30, 180, 50), &style, "old");
    graphics->AttachControl(name);
    plug.AttachGraphics(graphics);
    auto window = backend->CreateWindow("controls", 200, 100, false);
    ASSERT_NE(graphics->OpenWindow(window.get()), nullptr);
    window->Show();
    platform::View* view = graphics->GetView()->nativeView();
    ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
    int ox = 0, oy = 0;
    ASSERT_TRUE(platform::ViewOriginOnScreen(view, &ox, &oy));

    RunWhilePumping("xdotool mousemove --sync " + std::to_string(ox + 60) + " " + std::to_string(oy + 40) +
                    " click 1");
    ASSERT_TRUE(PumpUntil([&] { return graphics->GetView()->textEntryRunning(); }));
    RunWhilePumping("xdotool key --delay 20 ctrl+a BackSpace type --delay 20 'Bass 7'");
    RunWhilePumping("xdotool key Return");
    EXPECT_TRUE(PumpUntil([&] { return !graphics->GetView()->textEntryRunning(); }));
    EXPECT_STREQ(name->GetTextString(), "Bass 7");

    graphics->CloseWindow();
    window.reset();
    platform::RunGtkMainLoopFor(0.05);
    platform::InstallBackend(nullptr);
}

}  // namespace
