// A stored scale too large for the screen's work area: the program starts at a lower
// scale, and everything it shows is as a start stored at that scale would show it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>

#include "app/app_start.h"
#include "editor/qd_editor.h"
#include "gui/bitmap_cache.h"
#include "gui/igraphics_mac.h"
#include "platform/headless_backend.h"
#include "temp_dir.h"
#include "winapi/profile.h"

namespace {

constexpr int kMenuBar = 25;

// What a start showed: the scale it settled on and stored, the window, the back buffer
// after a full redraw, every image strip ("id frames horizontal width height file"), and
// how often it rescaled the images.
struct Start {
    std::string stored;
    int x = 0, y = 0, windowWidth = 0, windowHeight = 0, width = 0, height = 0, rescales = 0;
    std::string strips, pixels;
};

// Starts the program headless with `guiscale` stored and `area` as the work area, in a child
// process: each start finds the process-wide image caches empty, as a program start does.
// With `unwritable`, no file can grow past a few bytes while the program starts, so every
// write of the settings fails (root would write through any permission).
Start RunStart(const std::string& guiscale, const platform::Rect& area, bool unwritable = false) {
    testutil::TempDir dir;
    const std::string ini = testutil::WriteSettings(dir.path(), "[gui]\nguiscale=" + guiscale + "\n");
    const std::string report = dir.path() + "/report", pixels = dir.path() + "/pixels";
    const pid_t child = fork();
    if (child == 0) {
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        platform::HeadlessBackend backend;
        backend.workArea = area;
        backend.menuBarHeight = kMenuBar;
        platform::InstallBackend(&backend);
        std::ostringstream log;
        auto app = testutil::MakeApp(&backend, dir.path(), &log, &log);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        if (unwritable) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit tiny{8, old.rlim_max};
            setrlimit(RLIMIT_FSIZE, &tiny);
        }
        if (!app->Start()) _exit(1);
        setrlimit(RLIMIT_FSIZE, &old);
        char text[128];
        GetPrivateProfileString("gui", "guiscale", "", text, sizeof text, ini.c_str());
        const platform::Rect window = app->MainWindow()->ScreenFrame();
        IGraphics* g = app->Editor()->Graphics();
        IRECT all(0, 0, g->Width(), g->Height());
        g->Draw(&all);
        const PIX_IBitmap* bm = g->GetDrawBitmap();
        std::ofstream r(report), p(pixels, std::ios::binary);
        r << text << " " << window.x << " " << window.y << " " << window.width << " " << window.height << " "
          << bm->getWidth() << " " << bm->getHeight() << " " << StripRescaleCount() << "\n";
        for (const ScaledBitmapList::Entry& e : ScaledBitmapList::Instance().Snapshot()) {
            const IBitmapStrip& s = *e.record;
            if (!s.bitmap) continue;
            // The record's size is the bitmap's, or a control would step through frames
            // of another size than the pixels it draws.
            if (s.bitmap->getWidth() != s.width || s.bitmap->getHeight() != s.height) _exit(2);
            r << e.id << " " << s.frames << " " << s.horizontal << " " << s.width << " " << s.height << " "
              << e.fileName.Get() << "\n";
        }
        for (int y = 0; y < bm->getHeight(); ++y)
            p.write(static_cast<const char*>(bm->getBits()) + size_t(y) * bm->getRowSpan() * 4, bm->getWidth() * 4);
        r.close(), p.close();
        _exit(r && p ? 0 : 3);
    }
    EXPECT_EQ(child > 0 ? testutil::WaitOrKill(child, 60) : -1, 0) << "the start in the child process failed";
    Start s{{}, 0, 0, 0, 0, 0, 0, 0, {}, testutil::ReadFile(pixels)};
    std::istringstream in(testutil::ReadFile(report));
    in >> s.stored >> s.x >> s.y >> s.windowWidth >> s.windowHeight >> s.width >> s.height >> s.rescales;
    s.strips.assign(std::istreambuf_iterator<char>(in), {});
    return s;
}

TEST(ScreenFit, LoweredScaleShowsWhatAStartAtThatScaleShows) {
    // The window (panel size, place) centred with its menu bar, never above or left of
    // the work area.
    const struct { const char* stored; platform::Rect area; const char* settled; int w, h, x, y; } cases[] = {
        {"1.5", {0, 0, 1600, 1200}, "1.403508771929824", 1599, 1122, 0, 26},      // the width decides: 1600 / 1140
        {"2.0", {100, 40, 1920, 1040}, "1.268750000000000", 1446, 1015, 337, 40},  // the height: (1040 - 25) / 800
        {"2.0", {0, 0, 1140, 825}, "1.000000000000000", 1140, 800, 0, 0},          // down to the size before any scale
        {"2.0", {0, 0, 400, 300}, "0.500000000000000", 570, 400, 0, 0},            // never below the limit
        {"1.0", {0, 0, 1600, 20}, "0.500000000000000", 570, 400, 515, 0},          // no room beside the menu bar
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " on " << c.area.width << "x" << c.area.height);
        const Start fitted = RunStart(c.stored, c.area);
        ASSERT_EQ(fitted.stored, c.settled);
        const int w = c.w, h = c.h;
        EXPECT_EQ(std::tuple(fitted.width, fitted.height, fitted.windowWidth, fitted.windowHeight, fitted.x, fitted.y),
                  std::tuple(w, h, w, h, c.x, c.y));
        // The fit comes before the images are first brought to a scale: once, at the fitted one.
        EXPECT_EQ(fitted.rescales, 1);
        const std::string background = "102 1 0 " + std::to_string(w) + " " + std::to_string(h) + " img/orig/";
        EXPECT_NE(fitted.strips.find(background + "background-2x.png\n"), std::string::npos) << background;

        const Start direct = RunStart(c.settled, {0, 0, 3000, 2000});
        ASSERT_EQ(direct.stored, c.settled);
        EXPECT_EQ(direct.rescales, 1);
        EXPECT_EQ(fitted.strips, direct.strips);
        EXPECT_TRUE(fitted.pixels == direct.pixels) << "the back buffers differ";
    }
}

// A settings file that cannot be written keeps the user's value, but the run still opens at
// the scale that fits: the file is not read back as if the lowered scale had been kept.
TEST(ScreenFit, UnwritableSettingsStillOpenAtTheFittedScale) {
    const Start fitted = RunStart("2.0", {0, 0, 1600, 1200}, true);
    EXPECT_EQ(fitted.stored, "2.0");
    EXPECT_EQ(std::tuple(fitted.width, fitted.height, fitted.windowWidth, fitted.windowHeight, fitted.rescales),
              std::tuple(1599, 1122, 1599, 1122, 1));
    const Start direct = RunStart("1.403508771929824", {0, 0, 3000, 2000});
    EXPECT_EQ(fitted.strips, direct.strips);
    EXPECT_TRUE(fitted.pixels == direct.pixels) << "the back buffers differ";
}

}  // namespace
