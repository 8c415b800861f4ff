// A stored scale of 2.0 on a screen too small for it, in a real window: the program comes up
// lowered to fit, and shows exactly what a start at the scale it stored shows. The screen is
// a virtual one of this test's own size; each start runs in a process of its own.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
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
#include "gui/cocoa_view.h"
#include "gui/igraphics_mac.h"
#include "run_while_pumping.h"
#include "temp_dir.h"
#include "winapi/profile.h"

namespace {

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;  // the height decides, menu bar included
// Set in the processes this test starts: the folder holding their settings and reports.
constexpr const char* kChildFolder = "QD_SCREEN_FIT_FOLDER";

// Waits for the process at most `seconds`, then kills it; its exit status, or -1.
int WaitOrKill(pid_t pid, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    for (; std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    kill(pid, SIGKILL), waitpid(pid, &status, 0);
    return -1;
}

// A virtual screen of its own: the display number, or -1 when none could be started.
// The numbers tried lie far above those other virtual displays take (99 and up).
class OwnScreen {
public:
    OwnScreen(int width, int height) {
        const std::string size = std::to_string(width) + "x" + std::to_string(height) + "x24";
        for (int attempt = 0; attempt < 8 && mDisplay < 0; ++attempt) {
            const std::string number = ":" + std::to_string(700 + (getpid() + 37 * attempt) % 250);
            int fds[2];
            if (pipe(fds) != 0) return;
            if ((mPid = fork()) == 0) {
                prctl(PR_SET_PDEATHSIG, SIGTERM);  // gone with the test, also when it is killed
                const int null = open("/dev/null", O_WRONLY);
                close(fds[0]), dup2(null, 1), dup2(null, 2);
                execlp("Xvfb", "Xvfb", number.c_str(), "-displayfd", std::to_string(fds[1]).c_str(), "-screen", "0",
                       size.c_str(), "-nolisten", "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            close(fds[1]);
            // The server writes its number once it accepts connections; one that finds the
            // number taken ends without writing.
            pollfd p{fds[0], POLLIN, 0};
            char text[16] = {};
            if (mPid > 0 && poll(&p, 1, 10000) == 1 && read(fds[0], text, 15) > 0) mDisplay = std::atoi(text);
            close(fds[0]);
            if (mDisplay < 0) Stop();
        }
    }
    ~OwnScreen() { Stop(); }
    int Display() const { return mDisplay; }

private:
    void Stop() {
        if (mPid > 0) kill(mPid, SIGTERM), WaitOrKill(mPid, 5);
        mPid = -1;
    }
    pid_t mPid = -1;
    int mDisplay = -1;
};

// What a start showed: the scale it stored, the window on the screen (menu bar
// included) and the panel's pixels as the screen shows them.
struct Shown {
    std::string stored;
    int x = 0, y = 0, width = 0, height = 0, panelWidth = 0, panelHeight = 0;
    std::string pixels;
};

// Runs this test in a new process on `display` with `guiscale` stored.
Shown StartOn(int display, const std::string& guiscale) {
    testutil::TempDir dir;
    testutil::WriteSettings(dir.path(), "[gui]\nguiscale=" + guiscale + "\n");
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        setenv(kChildFolder, dir.path().c_str(), 1);
        execl("/proc/self/exe", "test_x11", "--gtest_filter=ScreenFitWindow.*", static_cast<char*>(nullptr));
        _exit(127);
    }
    EXPECT_EQ(child > 0 ? WaitOrKill(child, 45) : -1, 0) << "the start at " << guiscale << " failed";
    Shown s{{}, 0, 0, 0, 0, 0, 0, testutil::ReadFile(dir.path() + "/pixels")};
    std::istringstream(testutil::ReadFile(dir.path() + "/report")) >> s.stored >> s.x >> s.y >> s.width >> s.height >>
        s.panelWidth >> s.panelHeight;
    return s;
}

// In the new process: the program's start-up, what the X server says of its window and what
// the screen shows of the panel.
void ReportStart(const std::string& folder) {
    platform::Backend* backend = SharedGtkBackend();
    ASSERT_NE(backend, nullptr) << "no display " << std::getenv("DISPLAY");
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
    FILE* geometry = popen("xdotool search --onlyvisible --name '^QD Editor$' getwindowgeometry --shell", "r");
    ASSERT_NE(geometry, nullptr);
    int x = -1, y = -1, width = -1, height = -1;
    EXPECT_EQ(fscanf(geometry, "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &x, &y, &width, &height), 4);
    pclose(geometry);
    char stored[128];
    GetPrivateProfileString("gui", "guiscale", "", stored, sizeof stored, (folder + "/RODiradu4/settings.ini").c_str());
    std::ofstream(folder + "/report") << stored << " " << x << " " << y << " " << width << " " << height << " " << w
                                      << " " << h << "\n";
    std::ofstream(folder + "/pixels", std::ios::binary).write(reinterpret_cast<const char*>(pixels.data()),
                                                              std::streamsize(pixels.size()));
}

}  // namespace

TEST(ScreenFitWindow, StoredDoubleScaleFitsASmallScreenAndShowsAsAStartAtTheStoredResult) {
    if (const char* folder = std::getenv(kChildFolder)) return ReportStart(folder);
    OwnScreen screen(kScreenWidth, kScreenHeight);
    if (screen.Display() < 0) GTEST_SKIP() << "no virtual screen could be started (Xvfb)";

    const Shown fitted = StartOn(screen.Display(), "2.0");
    const double scale = std::atof(fitted.stored.c_str());
    ASSERT_LT(scale, 2.0) << fitted.stored;
    EXPECT_EQ(std::tuple(fitted.panelWidth, fitted.panelHeight), std::tuple(int(1140 * scale), int(800 * scale)));
    // The whole window, menu bar included, lies on the screen; the menu bar is counted.
    EXPECT_TRUE(fitted.x >= 0 && fitted.y >= 0 && fitted.x + fitted.width <= kScreenWidth &&
                fitted.y + fitted.height <= kScreenHeight)
        << fitted.x << "," << fitted.y << " " << fitted.width << "x" << fitted.height;
    EXPECT_EQ(std::pair(fitted.width, fitted.height > fitted.panelHeight), std::pair(fitted.panelWidth, true));

    const Shown direct = StartOn(screen.Display(), fitted.stored);
    EXPECT_EQ(direct.stored, fitted.stored);
    ASSERT_EQ(std::tuple(direct.panelWidth, direct.panelHeight), std::tuple(fitted.panelWidth, fitted.panelHeight));
    EXPECT_TRUE(direct.pixels == fitted.pixels) << "the screens show different pixels";
}
