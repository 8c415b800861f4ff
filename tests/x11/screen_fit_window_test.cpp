// A stored scale of 2.0 on a screen too small for it, in a real window: the program
// comes up lowered to fit, and shows exactly what a start at the scale it stored shows.
// The screen is a virtual one of this test's own size; each start runs in a process of
// its own, as a program start does.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>

#include "app/editor_app.h"
#include "editor/qd_editor.h"
#include "gui/cocoa_view.h"
#include "gui/igraphics_mac.h"
#include "platform/folders.h"
#include "platform/gtk_backend.h"
#include "winapi/profile.h"
#include "../temp_dir.h"
#include "run_while_pumping.h"

namespace {

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;  // the height decides, menu bar included
// Set in the processes this test starts: the folder holding their settings and reports.
constexpr const char* kChildFolder = "QD_SCREEN_FIT_FOLDER";

// Waits for the process at most `seconds`, then kills it; its exit status, or -1.
int WaitOrKill(pid_t pid, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

// A virtual screen of its own: the display number, or -1 when none could be started.
// The numbers tried lie far above those other virtual displays take (99 and up).
class OwnScreen {
public:
    OwnScreen(int width, int height) {
        for (int attempt = 0; attempt < 8 && mDisplay < 0; ++attempt) Start(700 + (getpid() + 37 * attempt) % 250, width, height);
    }
    ~OwnScreen() { Stop(); }
    int Display() const { return mDisplay; }

private:
    void Start(int display, int width, int height) {
        int fds[2];
        if (pipe(fds) != 0) return;
        mPid = fork();
        if (mPid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);  // gone with the test, also when it is killed
            close(fds[0]);
            const std::string number = ":" + std::to_string(display), fd = std::to_string(fds[1]),
                              size = std::to_string(width) + "x" + std::to_string(height) + "x24";
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1), dup2(null, 2);
            execlp("Xvfb", "Xvfb", number.c_str(), "-displayfd", fd.c_str(), "-screen", "0", size.c_str(), "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The server writes its number once it accepts connections; one that finds the
        // number taken ends without writing.
        pollfd p{fds[0], POLLIN, 0};
        char text[16] = {};
        if (mPid > 0 && poll(&p, 1, 10000) == 1 && read(fds[0], text, sizeof text - 1) > 0) mDisplay = std::atoi(text);
        close(fds[0]);
        if (mDisplay < 0) Stop();
    }
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
    platform::MakeFolders(dir.path() + "/RODiradu4", 0700);
    std::ofstream(dir.path() + "/RODiradu4/settings.ini") << "[gui]\nguiscale=" << guiscale << "\n";
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        setenv(kChildFolder, dir.path().c_str(), 1);
        execl("/proc/self/exe", "test_x11", "--gtest_filter=ScreenFitWindow.*", static_cast<char*>(nullptr));
        _exit(127);
    }
    EXPECT_GT(child, 0);
    EXPECT_EQ(child > 0 ? WaitOrKill(child, 45) : -1, 0) << "the start at " << guiscale << " failed";
    Shown s;
    std::istringstream in(testutil::ReadFile(dir.path() + "/report"));
    in >> s.stored >> s.x >> s.y >> s.width >> s.height >> s.panelWidth >> s.panelHeight;
    s.pixels = testutil::ReadFile(dir.path() + "/pixels");
    return s;
}

// The part of a start that runs in the new process: the program's own start-up, then
// what the X server says of its window and what the screen shows of the panel.
void ReportStart(const std::string& folder) {
    platform::Backend* backend = SharedGtkBackend();
    ASSERT_NE(backend, nullptr) << "no display " << std::getenv("DISPLAY");
    platform::InstallBackend(backend);
    platform::BundleInfo bundle;
    bundle.identifier = "qd.fit.window.test";
    bundle.resourcesPath = QD_SKIN_ROOT;
    platform::RegisterBundle(bundle);
    qdapp::AppOptions options;
    options.configDir = folder;
    options.bundleID = "qd.fit.window.test";
    std::ostringstream out, err;
    options.out = &out;
    options.err = &err;
    auto app = std::make_unique<qdapp::EditorApp>(backend, options);
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
    app->Stop();
    app.reset();
    platform::RunGtkMainLoopFor(0.1);
    platform::InstallBackend(nullptr);
}

}  // namespace

TEST(ScreenFitWindow, StoredDoubleScaleFitsASmallScreenAndShowsAsAStartAtTheStoredResult) {
    if (const char* folder = std::getenv(kChildFolder)) {
        ReportStart(folder);
        return;
    }
    OwnScreen screen(kScreenWidth, kScreenHeight);
    if (screen.Display() < 0) GTEST_SKIP() << "no virtual screen could be started (Xvfb)";

    const Shown fitted = StartOn(screen.Display(), "2.0");
    const double scale = std::atof(fitted.stored.c_str());
    ASSERT_LT(scale, 2.0) << fitted.stored;
    EXPECT_EQ(std::tuple(fitted.panelWidth, fitted.panelHeight), std::tuple(int(1140 * scale), int(800 * scale)));
    // The whole window, menu bar included, lies on the screen.
    EXPECT_GE(fitted.x, 0);
    EXPECT_GE(fitted.y, 0);
    EXPECT_LE(fitted.x + fitted.width, kScreenWidth);
    EXPECT_LE(fitted.y + fitted.height, kScreenHeight);
    EXPECT_GT(fitted.height, fitted.panelHeight);  // the menu bar is counted
    EXPECT_EQ(fitted.width, fitted.panelWidth);

    const Shown direct = StartOn(screen.Display(), fitted.stored);
    EXPECT_EQ(direct.stored, fitted.stored);
    ASSERT_EQ(std::tuple(direct.panelWidth, direct.panelHeight), std::tuple(fitted.panelWidth, fitted.panelHeight));
    ASSERT_EQ(direct.pixels.size(), fitted.pixels.size());
    size_t differing = 0;
    for (size_t i = 0; i < fitted.pixels.size(); i += 4) differing += fitted.pixels.compare(i, 4, direct.pixels, i, 4) != 0;
    EXPECT_EQ(differing, 0u) << "of " << fitted.pixels.size() / 4 << " pixels";
}
