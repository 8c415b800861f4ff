// The whole program in a real window, once per skin: it starts with a fresh settings
// folder, shows the panel drawn from the skin's images, takes a real click on a switch
// and a real menu choice, shows Ctrl+Q beside Quit, quits by that key and leaves its
// settings behind. Each skin runs in a process of its own, since the image caches are
// the process's, and a run that hangs is killed at its deadline.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/app_start.h"
#include "editor/qd_editor.h"
#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/igraphics_mac.h"
#include "raster/png.h"
#include "run_while_pumping.h"
#include "temp_dir.h"

namespace {

// Set in the process a run starts: the folder holding its settings.
constexpr const char* kChildFolder = "QD_EDITOR_WINDOW_FOLDER";
constexpr int kSyncSwitch = 187;  // VCO2 sync

struct SkinRun {
    const char* ini;  // null: a first run, which stores "off" for every port
    const char* background;
    const char* image;  // the panel picture that shows at the probe points
};

// Names the run in test lists (the default would print its pointers' bytes).
void PrintTo(const SkinRun& run, std::ostream* out) { *out << run.background; }

const SkinRun kRuns[] = {
    {nullptr, "space", "img/orig/background-2x.png"},
    {"[gui]\nbackground=solid\n", "solid", "img/orig/background2-2x.png"},
    {"[gui]\nbackground=lcd\n", "lcd", "img/lcd/background-2x.png"},
};

// Points of the panel where only the background shows: the left margin and the gaps
// between the panel's boxes.
const std::pair<int, int> kProbes[] = {{3, 300}, {3, 600}, {1136, 460}};

class EditorWindow : public ::testing::TestWithParam<SkinRun> {};

// The view's pixels inside `r`, row by row, as the screen shows them.
std::vector<uint8_t> ShownIn(platform::View* view, const IRECT& r) {
    std::vector<uint8_t> argb, cut;
    int w = 0, h = 0;
    platform::ReadBackShownPixels(view, &argb, &w, &h);
    for (int y = r.T; y < r.B && y < h; ++y)
        cut.insert(cut.end(), argb.begin() + (size_t(y) * w + r.L) * 4, argb.begin() + (size_t(y) * w + r.R) * 4);
    return cut;
}

// In the run's own process: everything but the settings file, which the test reads after.
void RunInWindow(const SkinRun& run, const std::string& folder) {
    platform::Backend* backend = SharedGtkBackend();
    if (!backend) return (void)std::ofstream(folder + "/no-display");
    platform::InstallBackend(backend);
    std::ostringstream out, err;
    auto app = testutil::MakeApp(backend, folder, &out, &err);
    ASSERT_TRUE(app->Start());
    IGraphicsMac* graphics = app->Editor()->Graphics();
    platform::View* view = graphics->GetView()->nativeView();
    ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
    platform::RunGtkMainLoopFor(0.5);

    // The image is drawn at half its size: each screen pixel is close to the mean of its
    // 2 x 2 block.
    std::vector<uint8_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(platform::ReadBackShownPixels(view, &shown, &w, &h));
    ASSERT_EQ(std::pair(w, h), std::pair(1140, 800));
    std::unique_ptr<PIX_IBitmap> image(PIX_LoadPNG((std::string(QD_SKIN_ROOT) + "/" + run.image).c_str()));
    ASSERT_TRUE(image);
    const auto* bits = static_cast<const uint8_t*>(image->getBits());
    for (auto [x, y] : kProbes) {
        for (int ch = 1; ch < 4; ++ch) {
            int sum = 0;
            for (int d = 0; d < 4; ++d)
                sum += bits[(size_t(2 * y + d / 2) * image->getRowSpan() + 2 * x + d % 2) * 4 + ch];
            EXPECT_NEAR(int(shown[(size_t(y) * w + x) * 4 + ch]), sum / 4, 6)
                << run.background << " at " << x << "," << y << " channel " << ch;
        }
    }

    // Ctrl+Q stands beside Quit, and beside nothing else.
    const std::vector<std::string> items = platform::ShownMenuBarItems(app->MainWindow());
    EXPECT_EQ(std::count(items.begin(), items.end(), "Quit\tCtrl+Q"), 1);
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const std::string& i) { return i.find('\t') != i.npos; }),
              1);

    // A real click on the sync switch turns it on and redraws it.
    int ox = 0, oy = 0;
    ASSERT_TRUE(platform::ViewOriginOnScreen(view, &ox, &oy));
    IControl* sync = nullptr;
    for (int i = 0; i < graphics->NControls(); ++i)
        if (graphics->GetControl(i)->ParamIdx() == kSyncSwitch) sync = graphics->GetControl(i);
    ASSERT_NE(sync, nullptr);
    const IRECT r = *sync->GetRECT();
    const std::vector<uint8_t> before = ShownIn(view, r);
    EXPECT_EQ(app->Editor()->GetParam(kSyncSwitch)->Int(), 0);
    RunWhilePumping("xdotool mousemove " + std::to_string(ox + (r.L + r.R) / 2) + " " +
                        std::to_string(oy + (r.T + r.B) / 2) + " click 1",
                    0.3);
    EXPECT_EQ(app->Editor()->GetParam(kSyncSwitch)->Int(), 1);
    EXPECT_NE(ShownIn(view, r), before);

    // The manager view from the menu bar by keys: F10 opens "File", Down reaches its
    // first item. It is stored only when the program ends.
    RunWhilePumping("xdotool key F10; sleep 0.3; xdotool key Down; sleep 0.3; xdotool key Return", 0.3);
    EXPECT_TRUE(app->Editor()->ManagerView());

    // Ctrl+Q ends the main loop; the deadline ends it otherwise.
    bool timedOut = false;
    std::unique_ptr<platform::Timer> deadline = backend->ScheduleTimer(15.0, [&] {
        timedOut = true;
        backend->QuitMainLoop();
    });
    std::thread keys([] { std::system("sleep 0.5; timeout 30 xdotool key ctrl+q"); });
    app->Run();
    keys.join();
    deadline->Invalidate();
    EXPECT_FALSE(timedOut) << "Ctrl+Q did not end the main loop";
    app->Stop();
    app.reset();
    platform::RunGtkMainLoopFor(0.1);
    platform::InstallBackend(nullptr);
    EXPECT_EQ(err.str().find("Panel image"), std::string::npos) << err.str();
}

}  // namespace

TEST_P(EditorWindow, StartsShowsTheSkinTakesAClickQuitsAndKeepsItsSettings) {
    const SkinRun& run = GetParam();
    if (const char* folder = std::getenv(kChildFolder)) return RunInWindow(run, folder);

    testutil::TempDir dir;
    if (run.ini) testutil::WriteSettings(dir.path(), run.ini);
    const ::testing::TestInfo* self = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + self->test_suite_name() + "." + self->name();
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        setenv(kChildFolder, dir.path().c_str(), 1);
        execl("/proc/self/exe", "test_x11", filter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_EQ(child > 0 ? testutil::WaitOrKill(child, 90) : -1, 0) << "the run in a window failed";
    if (std::ifstream(dir.path() + "/no-display").is_open()) GTEST_SKIP() << "no X display";

    // What Quit stores: the ports as read (a file without them reads the defaults), the
    // skin, the scale and the manager view chosen in this run.
    const std::string ini = testutil::ReadFile(dir.path() + "/RODiradu4/settings.ini");
    const std::string input = run.ini ? "no input" : "off", output = run.ini ? "no output" : "off";
    for (const std::string& line :
         {"indev=" + input, "inBdev=" + input, "outdev=" + output, std::string("background=") + run.background,
          std::string("guiscale=1.000000000000000"), std::string("manager=true")})
        EXPECT_NE(ini.find(line + "\n"), std::string::npos) << line << "\n" << ini;
}

INSTANTIATE_TEST_SUITE_P(Skins, EditorWindow, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.background); });
