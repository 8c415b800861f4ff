// The whole program in a real window, once per skin: it starts with a fresh settings
// folder, shows the panel drawn from the skin's images, takes a real click on a
// switch, quits from its menu bar and leaves its settings behind.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/editor_app.h"
#include "editor/qd_editor.h"
#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "platform/folders.h"
#include "platform/gtk_backend.h"
#include "raster/png.h"
#include "../temp_dir.h"

namespace {

platform::Backend* GtkBackendForApp() {
    static platform::Backend* backend = [] {
        if (!std::getenv("DISPLAY")) return static_cast<platform::Backend*>(nullptr);
        platform::MakeToolkitCriticalsFatal();
        return platform::CreateGtkBackend().release();
    }();
    return backend;
}

void Pump(double seconds) { platform::RunGtkMainLoopFor(seconds); }

bool PumpUntilTrue(const std::function<bool()>& ok) {
    for (int i = 0; i < 500 && !ok(); ++i) Pump(0.01);
    return ok();
}

void XdoWhilePumping(const std::string& command) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        done = true;
    });
    while (!done) Pump(0.01);
    t.join();
    Pump(0.3);
}

struct SkinRun {
    const char* ini;  // null: a first run, which stores "off" for every port
    const char* background;
    const char* image;  // the panel picture that shows at the probe points
};

const SkinRun kRuns[] = {
    {nullptr, "space", "img/orig/background-2x.png"},
    {"[gui]\nbackground=solid\n", "solid", "img/orig/background2-2x.png"},
    {"[gui]\nbackground=lcd\n", "lcd", "img/lcd/background-2x.png"},
};

// Points of the panel where only the background shows: the left margin and the gaps
// between the panel's boxes.
const std::pair<int, int> kProbes[] = {{3, 300}, {3, 600}, {1136, 460}};

class EditorWindow : public ::testing::TestWithParam<SkinRun> {};

}  // namespace

TEST_P(EditorWindow, StartsShowsTheSkinTakesAClickQuitsAndKeepsItsSettings) {
    platform::Backend* backend = GtkBackendForApp();
    if (!backend) GTEST_SKIP() << "no X display";
    const SkinRun& run = GetParam();
    testutil::TempDir dir;
    testutil::ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());
    if (run.ini) {
        platform::MakeFolders(dir.path() + "/RODiradu4", 0700);
        std::ofstream(dir.path() + "/RODiradu4/settings.ini") << run.ini;
    }
    platform::InstallBackend(backend);
    platform::BundleInfo bundle;
    bundle.identifier = "qd.window.test";
    bundle.resourcesPath = QD_SKIN_ROOT;
    platform::RegisterBundle(bundle);
    IModuleGUIResize::ResetProcessState();

    qdapp::AppOptions options;
    options.configDir = platform::ConfigDirectory();
    options.bundleID = "qd.window.test";
    std::ostringstream out, err;
    options.out = &out;
    options.err = &err;
    auto app = std::make_unique<qdapp::EditorApp>(backend, options);
    ASSERT_TRUE(app->Start());
    IGraphicsMac* graphics = app->Editor()->Graphics();
    platform::View* view = graphics->GetView()->nativeView();
    ASSERT_TRUE(PumpUntilTrue([&] { return view->CanDraw(); }));
    Pump(0.5);

    std::vector<uint8_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(platform::ReadBackShownPixels(view, &shown, &w, &h));
    EXPECT_EQ(w, 1140);
    EXPECT_EQ(h, 800);
    auto px = [&](int x, int y, int channel) { return int(shown[(size_t(y) * w + x) * 4 + channel]); };

    // The image is drawn at half its size: each screen pixel is close to the mean of
    // its 2 x 2 block.
    std::unique_ptr<PIX_IBitmap> image(PIX_LoadPNG((std::string(QD_SKIN_ROOT) + "/" + run.image).c_str()));
    ASSERT_TRUE(image);
    const auto* bits = static_cast<const uint8_t*>(image->getBits());
    for (auto [x, y] : kProbes) {
        for (int ch = 1; ch < 4; ++ch) {
            int sum = 0;
            for (int d = 0; d < 4; ++d)
                sum += bits[(size_t(2 * y + d / 2) * image->getRowSpan() + 2 * x + d % 2) * 4 + ch];
            EXPECT_NEAR(px(x, y, ch), sum / 4, 6) << run.background << " at " << x << "," << y << " channel " << ch;
        }
    }

    // A real click on the VCO2 sync switch turns it on and redraws it.
    int ox = 0, oy = 0;
    ASSERT_TRUE(platform::ViewOriginOnScreen(view, &ox, &oy));
    IControl* sync = nullptr;
    for (int i = 0; i < graphics->NControls(); ++i)
        if (graphics->GetControl(i)->ParamIdx() == 187) sync = graphics->GetControl(i);
    ASSERT_NE(sync, nullptr);
    const IRECT r = *sync->GetRECT();
    auto frameOf = [&] {
        std::vector<uint8_t> argb;
        int sw = 0, sh = 0;
        platform::ReadBackShownPixels(view, &argb, &sw, &sh);
        std::vector<uint8_t> cut;
        for (int y = r.T; y < r.B; ++y)
            cut.insert(cut.end(), argb.begin() + (size_t(y) * sw + r.L) * 4, argb.begin() + (size_t(y) * sw + r.R) * 4);
        return cut;
    };
    const std::vector<uint8_t> before = frameOf();
    EXPECT_EQ(app->Editor()->GetParam(187)->Int(), 0);
    XdoWhilePumping("xdotool mousemove " + std::to_string(ox + (r.L + r.R) / 2) + " " +
                    std::to_string(oy + (r.T + r.B) / 2) + " click 1");
    EXPECT_EQ(app->Editor()->GetParam(187)->Int(), 1);
    EXPECT_NE(frameOf(), before);

    // Quit from the menu bar by keys: F10 opens "File", Up reaches its last item.
    bool timedOut = false;
    std::unique_ptr<platform::Timer> guard = backend->ScheduleTimer(15.0, [&] {
        timedOut = true;
        backend->QuitMainLoop();
    });
    std::thread keys([] { std::system("sleep 0.5; xdotool key F10; sleep 0.3; xdotool key Up; sleep 0.3; xdotool key Return"); });
    app->Run();
    keys.join();
    guard->Invalidate();
    EXPECT_FALSE(timedOut) << "the Quit item did not end the main loop";
    app->Stop();
    app.reset();
    Pump(0.1);
    platform::InstallBackend(nullptr);

    std::ifstream in(dir.path() + "/RODiradu4/settings.ini");
    std::stringstream text;
    text << in.rdbuf();
    // A file without ports reads the defaults and writes them back.
    const std::string input = run.ini ? "no input" : "off", output = run.ini ? "no output" : "off";
    const std::string lines[] = {"indev=" + input, "inBdev=" + input, "outdev=" + output, std::string("background=") + run.background,
                                 "guiscale=1.000000000000000", "manager=false"};
    for (const std::string& line : lines)
        EXPECT_NE(text.str().find(line), std::string::npos) << line << "\n" << text.str();
}

INSTANTIATE_TEST_SUITE_P(Skins, EditorWindow, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.background); });
