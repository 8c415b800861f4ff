// The whole program in a real window, driven with xdotool: a real click on the panel
// reaches its switch and the redraw reaches the screen, and the Quit item of the menu
// bar ends the main loop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <thread>

#include "app/app_start.h"
#include "editor/qd_editor.h"
#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/igraphics_mac.h"
#include "run_while_pumping.h"
#include "temp_dir.h"

TEST(EditorWindow, TakesARealClickAndQuitsFromItsMenuBar) {
    platform::Backend* backend = SharedGtkBackend();
    if (!backend) GTEST_SKIP() << "no X display";
    platform::InstallBackend(backend);
    testutil::TempDir dir;
    testutil::ScopedEnv config{"XDG_CONFIG_HOME", dir.path().c_str()};
    std::ostringstream log;
    auto app = testutil::MakeApp(backend, dir.path(), &log, &log);
    ASSERT_TRUE(app->Start());
    IGraphicsMac* g = app->Editor()->Graphics();
    platform::View* view = g->GetView()->nativeView();
    int x = 0, y = 0;
    ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }) && platform::ViewOriginOnScreen(view, &x, &y));
    platform::RunGtkMainLoopFor(0.5);

    // The VCO2 sync switch turns on, and the screen shows it changed.
    IRECT r;
    for (int i = 0; i < g->NControls(); ++i)
        if (g->GetControl(i)->ParamIdx() == 187) r = *g->GetControl(i)->GetRECT();
    auto shown = [&] {
        std::vector<uint8_t> argb, part;
        int w = 0, h = 0;
        EXPECT_TRUE(platform::ReadBackShownPixels(view, &argb, &w, &h) && w == 1140 && h == 800) << w << "x" << h;
        for (int row = r.T; row < r.B && w == 1140; ++row)
            part.insert(part.end(), &argb[(size_t(row) * w + r.L) * 4], &argb[(size_t(row) * w + r.R) * 4]);
        return part;
    };
    const std::vector<uint8_t> before = shown();
    ASSERT_FALSE(r.Empty() || app->Editor()->GetParam(187)->Int());
    RunWhilePumping("xdotool mousemove --sync " + std::to_string(x + r.L + r.W() / 2) + " " +
                        std::to_string(y + r.T + r.H() / 2) + " click 1", 0.3);
    EXPECT_EQ(app->Editor()->GetParam(187)->Int(), 1);
    EXPECT_NE(shown(), before);

    // Quit by keys: F10 opens "File", Up reaches its last item.
    bool timedOut = false;
    auto guard = backend->ScheduleTimer(15.0, [&] { timedOut = true, backend->QuitMainLoop(); });
    std::thread keys(
        [] { std::system("sleep 0.5; xdotool key F10; sleep 0.3; xdotool key Up; sleep 0.3; xdotool key Return"); });
    app->Run();
    keys.join();
    guard->Invalidate();
    EXPECT_FALSE(timedOut) << "the Quit item did not end the main loop";
    app.reset();
    platform::RunGtkMainLoopFor(0.1);
    platform::InstallBackend(nullptr);
}
