// A stored scale of 2.0 on a screen too small for it, in a real window: the program comes up
// lowered to fit, and shows exactly what a start at the scale it stored shows. The screen is
// the virtual one the real-window tests run on (1280 x 1024 in the suite); each start runs
// in a process of its own, since the image cache is the process's.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>

#include "app/app_start.h"
#include "editor/qd_editor.h"
#include "gui/bitmap_cache.h"
#include "gui/cocoa_view.h"
#include "gui/igraphics_mac.h"
#include "run_while_pumping.h"
#include "temp_dir.h"
#include "winapi/profile.h"

namespace {

// Set in the processes this test starts: the folder holding their settings and reports.
constexpr const char* kChildFolder = "QD_SCREEN_FIT_FOLDER";

// What a start showed: the scale it stored, the window on the screen (menu bar
// included), the panel's pixels as the screen shows them, and how often it rescaled the
// images.
struct Shown {
    std::string stored;
    int screenWidth = 0, screenHeight = 0;
    int x = 0, y = 0, width = 0, height = 0, panelWidth = 0, panelHeight = 0, rescales = 0;
    std::string pixels;
    bool noDisplay = false;
};

// Runs this test in a new process with `guiscale` stored.
Shown Start(const std::string& guiscale) {
    testutil::TempDir dir;
    testutil::WriteSettings(dir.path(), "[gui]\nguiscale=" + guiscale + "\n");
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        setenv(kChildFolder, dir.path().c_str(), 1);
        execl("/proc/self/exe", "test_x11", "--gtest_filter=ScreenFitWindow.*", static_cast<char*>(nullptr));
        _exit(127);
    }
    EXPECT_EQ(child > 0 ? testutil::WaitOrKill(child, 45) : -1, 0) << "the start at " << guiscale << " failed";
    Shown s;
    s.noDisplay = std::ifstream(dir.path() + "/no-display").is_open();
    s.pixels = testutil::ReadFile(dir.path() + "/pixels");
    std::istringstream(testutil::ReadFile(dir.path() + "/report")) >> s.stored >> s.screenWidth >> s.screenHeight >>
        s.x >> s.y >> s.width >> s.height >> s.panelWidth >> s.panelHeight >> s.rescales;
    return s;
}

// In the new process: the program's start-up, what the X server says of its window and what
// the screen shows of the panel.
void ReportStart(const std::string& folder) {
    platform::Backend* backend = SharedGtkBackend();
    // Without a display the test skips, as every real-window test does; the toolkit is
    // only ever started in the child, so the parent forks no threads it would have.
    if (!backend) return (void)std::ofstream(folder + "/no-display");
    platform::InstallBackend(backend);
    std::ostringstream log;
    auto app = testutil::MakeApp(backend, folder, &log, &log);
    ASSERT_TRUE(app->Start());
    platform::View* view = app->Editor()->Graphics()->GetView()->nativeView();
    ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
    platform::RunGtkMainLoopFor(0.5);
    std::vector<uint8_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(platform::ReadBackShownPixels(view, &pixels, &w, &h));
    // The X server's own account of the window: without a window manager, the menu bar
    // and the panel are all there is of it.
    FILE* geometry = popen("xdotool getdisplaygeometry search --onlyvisible --name '^QD Editor$' "
                           "getwindowgeometry --shell",
                           "r");
    ASSERT_NE(geometry, nullptr);
    int screenWidth = -1, screenHeight = -1, x = -1, y = -1, width = -1, height = -1;
    EXPECT_EQ(fscanf(geometry, "%d %d WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &screenWidth, &screenHeight, &x, &y,
                     &width, &height),
              6);
    pclose(geometry);
    char stored[128];
    GetPrivateProfileString("gui", "guiscale", "", stored, sizeof stored, (folder + "/RODiradu4/settings.ini").c_str());
    std::ofstream(folder + "/report") << stored << " " << screenWidth << " " << screenHeight << " " << x << " " << y
                                      << " " << width << " " << height << " " << w << " " << h << " "
                                      << StripRescaleCount() << "\n";
    std::ofstream(folder + "/pixels", std::ios::binary).write(reinterpret_cast<const char*>(pixels.data()),
                                                              std::streamsize(pixels.size()));
}

}  // namespace

TEST(ScreenFitWindow, StoredDoubleScaleFitsASmallScreenAndShowsAsAStartAtTheStoredResult) {
    if (const char* folder = std::getenv(kChildFolder)) return ReportStart(folder);
    const Shown fitted = Start("2.0");
    if (fitted.noDisplay) GTEST_SKIP() << "no X display";
    ASSERT_TRUE(fitted.screenWidth < 2 * 1140 || fitted.screenHeight < 2 * 800) << "the screen is not too small";
    const double scale = std::atof(fitted.stored.c_str());
    ASSERT_LT(scale, 2.0) << fitted.stored;
    EXPECT_EQ(std::tuple(fitted.panelWidth, fitted.panelHeight), std::tuple(int(1140 * scale), int(800 * scale)));
    // The whole window, menu bar included, lies on the screen; the menu bar is counted.
    EXPECT_TRUE(fitted.x >= 0 && fitted.y >= 0 && fitted.x + fitted.width <= fitted.screenWidth &&
                fitted.y + fitted.height <= fitted.screenHeight)
        << fitted.x << "," << fitted.y << " " << fitted.width << "x" << fitted.height;
    EXPECT_EQ(std::pair(fitted.width, fitted.height > fitted.panelHeight), std::pair(fitted.panelWidth, true));
    // The room the real menu bar leaves is known before the panel is built: the images are
    // brought to a scale once, the fitted one.
    EXPECT_EQ(fitted.rescales, 1);

    const Shown direct = Start(fitted.stored);
    EXPECT_EQ(direct.stored, fitted.stored);
    ASSERT_EQ(std::tuple(direct.panelWidth, direct.panelHeight), std::tuple(fitted.panelWidth, fitted.panelHeight));
    EXPECT_TRUE(direct.pixels == fitted.pixels) << "the screens show different pixels";
}
