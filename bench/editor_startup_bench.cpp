// Start-up of the editor up to its first frame, as the shell runs it: every skin image
// of the "space" panel decoded from PNG and brought to the window's scale, the panel
// built and drawn once. The peer decodes the same files with libpng's simple reader and
// halves each with pixman's bilinear filter; our case reports "x_peer" against it and
// the milliseconds of one start.
//
// The strip list is process-wide and grows with every editor made, so each case makes
// one editor: what a user waits for at launch.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <png.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/peer_timing.h"
#include "editor/qd_editor.h"
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

}  // namespace

BENCHMARK(BM_EditorStartup_Peer)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorStartup)->Iterations(1)->Unit(benchmark::kMillisecond);
