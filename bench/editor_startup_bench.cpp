// Start-up of the editor up to its first frame, as the shell runs it: every skin image
// of the "space" panel decoded from PNG and brought to the window's scale, the panel
// built and drawn once. The peer decodes the same files with libpng's simple reader and
// halves each with pixman's bilinear filter; our case reports "x_peer" against it and
// the milliseconds of one start.
//
// The strip list is process-wide and grows with every editor made, so each case makes
// one editor: what a user waits for at launch.
//
// The shell's whole start with a stored scale too large for the screen, beside a start
// stored at the scale it is lowered to: each start runs in a child process of its own
// (the image caches must be empty, as at a launch), on the headless back end with a
// 1600 x 1200 work area and a 25-pixel menu bar, up to the first frame. The too-large
// start reports "x_peer" against the fitted one (1: as fast), the rescales of its images
// and its frame's hash, which both starts share.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/editor_app.h"
#include "bench/bitmap_hash.h"
#include "bench/peer_timing.h"
#include "editor/qd_editor.h"
#include "gui/bitmap_cache.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "gui/standalone_window.h"
#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "screens/editor_screens.h"

namespace {

constexpr const char* kKey = "editor start";

std::vector<std::string> OrigImages() {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(std::string(QD_SKIN_ROOT) + "/img/orig"))
        if (e.path().extension() == ".png") files.push_back(e.path());
    return files;
}

void BM_EditorStartup_Peer(benchmark::State& state) {
    const std::vector<std::string> files = OrigImages();
    const double ns = bench::TimedLoop(state, [&] {
        for (const std::string& file : files) {
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            if (!png_image_begin_read_from_file(&image, file.c_str())) continue;
            image.format = PNG_FORMAT_BGRA;
            std::vector<uint32_t> src(size_t(image.width) * image.height);
            png_image_finish_read(&image, nullptr, src.data(), 0, nullptr);
            const int dw = std::max(1, int(image.width) / 2), dh = std::max(1, int(image.height) / 2);
            std::vector<uint32_t> dst(size_t(dw) * dh);
            pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, int(image.width), int(image.height),
                                                         src.data(), int(image.width) * 4);
            pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, dw, dh, dst.data(), dw * 4);
            pixman_transform_t t;
            pixman_transform_init_scale(&t, pixman_double_to_fixed(double(image.width) / dw),
                                        pixman_double_to_fixed(double(image.height) / dh));
            pixman_image_set_transform(s, &t);
            pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
            pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, dw, dh);
            pixman_image_unref(s);
            pixman_image_unref(d);
            benchmark::DoNotOptimize(dst.data());
        }
    });
    bench::PeerNs()[kKey] = ns;
    state.counters["images"] = double(files.size());
}

void BM_EditorStartup(benchmark::State& state) {
    platform::HeadlessBackend backend;
    platform::InstallBackend(&backend);
    platform::BundleInfo bundle;
    bundle.identifier = "qd.bench";
    bundle.resourcesPath = QD_SKIN_ROOT;
    platform::RegisterBundle(bundle);
    const std::string config = std::filesystem::temp_directory_path() / "qd_bench_config";
    std::filesystem::remove_all(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    platform::MakeFolders(config + "/RODiradu4", 0700);

    DeviceSettings devices;
    QDEditorSetup setup;
    setup.devices = &devices;
    setup.settingsPath = config + "/RODiradu4/settings.ini";
    setup.bundleID = "qd.bench";
    setup.makePanel = qd::MakeEditorScreens;
    const double ns = bench::TimedLoop(state, [&] {
        QDEditor editor(setup);
        FitGUIScaleToScreen(&editor, nullptr);
        IRECT all(0, 0, editor.Graphics()->Width(), editor.Graphics()->Height());
        editor.Graphics()->Draw(&all);
    });
    bench::Report(state, kKey, ns, 1);
    state.counters["ms"] = ns / 1e6;
    platform::InstallBackend(nullptr);
    std::filesystem::remove_all(config);
}

constexpr const char* kFitKey = "start fitted";
constexpr int kFitMenuBar = 25;
const platform::Rect kFitArea{0, 0, 1600, 1200};
// 1600 / 1140, as the settings file keeps it: the width decides.
constexpr const char* kFittedScale = "1.403508771929824";

// What one start in a child process measured.
struct ChildStart {
    bool ok = false;
    double ns = 0;
    int rescales = 0;
    uint32_t hash = 0;
    std::string stored;
};

// The shell's start with `guiscale` stored, up to its first frame, in a new process.
ChildStart TimeStartInChild(const std::string& guiscale) {
    const std::string config =
        (std::filesystem::temp_directory_path() / ("qd_bench_fit_" + std::to_string(getpid()))).string();
    std::filesystem::remove_all(config);
    platform::MakeFolders(config + "/RODiradu4", 0700);
    std::ofstream(config + "/RODiradu4/settings.ini") << "[gui]\nguiscale=" << guiscale << "\n";
    const std::string report = config + "/report";
    const pid_t child = fork();
    if (child == 0) {
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        platform::HeadlessBackend backend;
        backend.workArea = kFitArea;
        backend.menuBarHeight = kFitMenuBar;
        platform::InstallBackend(&backend);
        platform::RegisterBundle({"qd.bench.fit", "", "", QD_SKIN_ROOT});
        std::ostringstream log;
        const auto start = std::chrono::steady_clock::now();
        qdapp::EditorApp app(&backend, qdapp::AppOptions{config, "qd.bench.fit", &log, &log});
        if (!app.Start()) _exit(1);
        IGraphics& g = *app.Editor()->Graphics();
        IRECT all(0, 0, g.Width(), g.Height());
        g.Draw(&all);
        const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
        char stored[64] = {};
        FILE* ini = std::fopen((config + "/RODiradu4/settings.ini").c_str(), "r");
        for (char line[256]; ini && std::fgets(line, sizeof line, ini);)
            if (std::sscanf(line, "guiscale=%63s", stored) == 1) break;
        if (ini) std::fclose(ini);
        std::ofstream(report) << ns << " " << StripRescaleCount() << " " << bench::BitmapHash(*g.GetDrawBitmap()) << " "
                              << stored << "\n";
        _exit(0);
    }
    ChildStart s;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        std::ifstream in(report);
        s.ok = bool(in >> s.ns >> s.rescales >> s.hash >> s.stored);
    }
    std::filesystem::remove_all(config);
    return s;
}

// Nanoseconds per start; 0 when the case could not run.
double TimeStarts(benchmark::State& state, const std::string& guiscale) {
    // A child inherits this process's image caches: they must be as empty as at a launch.
    if (!ScaledBitmapList::Instance().Snapshot().empty()) {
        state.SkipWithError("this process has built an editor already: run alone (--benchmark_filter=FitStart)");
        return 0;
    }
    ChildStart last;
    double total = 0;
    for (auto _ : state) {
        last = TimeStartInChild(guiscale);
        if (!last.ok) {
            state.SkipWithError("the start in the child process failed");
            return 0;
        }
        state.SetIterationTime(last.ns / 1e9);
        total += last.ns;
    }
    const double ns = total / double(state.iterations());
    state.counters["ms"] = ns / 1e6;
    state.counters["rescales"] = last.rescales;
    state.counters["hash"] = last.hash;
    state.SetLabel("stored " + guiscale + ", settled " + last.stored);
    return ns;
}

void BM_FitStart_AtFittedScale(benchmark::State& state) { bench::PeerNs()[kFitKey] = TimeStarts(state, kFittedScale); }

void BM_FitStart_TooLargeScale(benchmark::State& state) {
    const double ns = TimeStarts(state, "2.0"), peer = bench::PeerNs()[kFitKey];
    if (ns > 0 && peer > 0) state.counters["x_peer"] = peer / ns;
}

}  // namespace

BENCHMARK(BM_EditorStartup_Peer)->Iterations(1)->Unit(benchmark::kMillisecond);
// Before the in-process start: their children must find the image caches empty.
BENCHMARK(BM_FitStart_AtFittedScale)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitStart_TooLargeScale)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorStartup)->Iterations(1)->Unit(benchmark::kMillisecond);
