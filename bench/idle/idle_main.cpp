// The editor's cost at rest: the whole program's window open on the GTK back end,
// nothing changing, and the CPU time the process takes over a measured stretch (10 s
// unless an argument gives the seconds), read from /proc/self/stat after a few seconds
// for the first frames. Needs a display; run it under xvfb-run.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/editor_app.h"
#include "platform/folders.h"
#include "platform/gtk_backend.h"

namespace {

constexpr const char* kBundle = "qd.bench.idle";
constexpr double kSettleSeconds = 3;

// User plus system CPU time of this process, in seconds.
double ProcessCpuSeconds() {
    std::ifstream stat("/proc/self/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it are plain numbers.
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (!(seconds > 0)) {
        std::fprintf(stderr, "usage: qd_idle [seconds]\n");
        return 2;
    }
    std::unique_ptr<platform::Backend> backend = platform::CreateGtkBackend();
    if (!backend) {
        std::fprintf(stderr, "qd_idle needs a display: run it under xvfb-run.\n");
        return 1;
    }
    platform::InstallBackend(backend.get());
    platform::BundleInfo bundle;
    bundle.identifier = kBundle;
    bundle.resourcesPath = QD_SKIN_ROOT;
    platform::RegisterBundle(bundle);
    const std::string config = (std::filesystem::temp_directory_path() / "qd_idle_config").string();
    std::filesystem::remove_all(config);

    qdapp::AppOptions options;
    options.configDir = config;
    options.bundleID = kBundle;
    std::ostringstream quiet;  // the MIDI port list and the no-MIDI notice
    options.out = &quiet;
    options.err = &quiet;
    int status = 0;
    {
        qdapp::EditorApp app(backend.get(), options);
        if (!app.Start()) {
            std::fprintf(stderr, "the editor window did not open\n");
            status = 1;
        } else {
            double cpuStart = 0;
            std::unique_ptr<platform::Timer> settle, measured;
            settle = backend->ScheduleTimer(kSettleSeconds, [&] {
                settle->Invalidate();
                cpuStart = ProcessCpuSeconds();
                measured = backend->ScheduleTimer(seconds, [&] {
                    measured->Invalidate();
                    const double cpu = ProcessCpuSeconds() - cpuStart;
                    std::printf("idle: %.3f s of CPU over %.1f s = %.2f %% of one core\n", cpu, seconds,
                                100.0 * cpu / seconds);
                    backend->QuitMainLoop();
                });
            });
            app.Run();
        }
        app.Stop();
    }
    platform::InstallBackend(nullptr);
    std::filesystem::remove_all(config);
    return status;
}
