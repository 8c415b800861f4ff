// The editor's own frames on one core: a full redraw of the panel at 100 % and 200 %
// for each skin, one frame of a knob drag (the dirty-rectangle redraw), the process's
// memory with the panel at 200 %, and the work of one effect-tab click and of one Flexi
// source change before anything is drawn. Figures, not ratios: no peer draws this
// panel. Each skin's editor is built once, on the headless back end, from the images
// the build draws. The image cache is the process's, keyed by image id, and the skins
// share ids: a second skin's editor in the same process would draw the first one's
// images, so a process measures one skin (`--benchmark_filter='Editor.*skin:1'`) and
// skips the others with a message.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/bitmap_hash.h"
#include "editor/data/param_table.h"
#include "editor/menu_commands.h"
#include "editor/qd_editor.h"
#include "editor/skin_choice.h"
#include "gui/controls/knob_controls.h"
#include "gui/igraphics_mac.h"
#include "gui/standalone_window.h"
#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "screens/editor_screens.h"

namespace {

constexpr int kSkins = 3;

// Counts the parameter-change hooks, to show how often one click runs it.
class CountingEditor final : public QDEditor {
public:
    using QDEditor::QDEditor;
    void OnParamChange(int paramIdx) override {
        ++hooks;
        QDEditor::OnParamChange(paramIdx);
    }
    int64_t hooks = 0;
};

struct EditorRig {
    std::string config;
    DeviceSettings devices;
    std::unique_ptr<CountingEditor> editor;
};

platform::HeadlessBackend& Backend() {
    static platform::HeadlessBackend* backend = [] {
        auto* b = new platform::HeadlessBackend;  // lives as long as the editors
        platform::InstallBackend(b);
        platform::BundleInfo bundle;
        bundle.identifier = "qd.bench.draw";
        bundle.resourcesPath = QD_SKIN_ROOT;
        platform::RegisterBundle(bundle);
        return b;
    }();
    return *backend;
}

// The editor of one skin, built on first use and kept for every later case; null for
// any skin but the process's first.
QDEditor* EditorOf(int skin) {
    static std::unique_ptr<EditorRig> rigs[kSkins];
    static int first = -1;
    if (first < 0) first = skin;
    if (skin != first) return nullptr;
    std::unique_ptr<EditorRig>& rig = rigs[skin];
    if (!rig) {
        Backend();
        rig = std::make_unique<EditorRig>();
        rig->config = (std::filesystem::temp_directory_path() / ("qd_bench_draw_" + std::to_string(skin))).string();
        std::filesystem::remove_all(rig->config);
        platform::MakeFolders(rig->config, 0700);
        std::ofstream(rig->config + "/settings.ini")
            << "[gui]\nbackground=" << qd::SkinSettingName(qd::Skin(skin)) << "\n";
        QDEditorSetup setup;
        setup.devices = &rig->devices;
        setup.settingsPath = rig->config + "/settings.ini";
        setup.bundleID = "qd.bench.draw";
        setup.makePanel = qd::MakeEditorScreens;
        rig->editor = std::make_unique<CountingEditor>(setup);
        FitGUIScaleToScreen(rig->editor.get(), nullptr);
    }
    return rig->editor.get();
}

IGraphics* AtScale(benchmark::State& state, int skin, int percent) {
    QDEditor* editor = EditorOf(skin);
    if (!editor) {
        state.SkipWithError("one skin per process: the image cache is shared (filter on skin:N)");
        return nullptr;
    }
    editor->OnMenuCommand(percent == 200 ? qd::kMenuScale200 : qd::kMenuScale100);
    IGraphics& g = *editor->Graphics();
    IRECT all(0, 0, g.Width(), g.Height());
    g.Draw(&all);
    return &g;
}

// A 32-bit FNV-1a hash of the back buffer (or of its part inside r, what a tick
// shows), printed with the figures so that two builds can be seen to draw the same frame.
uint32_t FrameHash(IGraphics& g, IRECT r = IRECT(0, 0, INT32_MAX, INT32_MAX)) {
    return bench::BitmapHash(*g.GetDrawBitmap(), r.L, r.T, r.R, r.B);
}

// range(0): skin, range(1): GUI scale in percent.
void BM_EditorFullRedraw(benchmark::State& state) {
    IGraphics* editor = AtScale(state, int(state.range(0)), int(state.range(1)));
    if (!editor) return;
    IGraphics& g = *editor;
    IRECT all(0, 0, g.Width(), g.Height());
    for (auto _ : state) {
        for (int i = 0; i < g.NControls(); ++i) g.GetControl(i)->SetDirty(false);
        g.Draw(&all);
    }
    state.counters["pixels"] = double(g.Width()) * g.Height();
    state.counters["hash"] = double(FrameHash(g));
    state.SetItemsProcessed(state.iterations() * int64_t(g.Width()) * g.Height());
}

// One frame of dragging the first visible knob up and down by two pixels: the drag
// moves its value, the timer's dirty test finds it, and only its rectangle redraws.
void BM_EditorKnobDragFrame(benchmark::State& state) {
    IGraphics* editor = AtScale(state, int(state.range(0)), int(state.range(1)));
    if (!editor) return;
    IGraphics& g = *editor;
    IControl* knob = nullptr;
    for (int i = 0; i < g.NControls() && !knob; ++i)
        if (auto* k = dynamic_cast<IKnobControl*>(g.GetControl(i)); k && !k->IsHidden()) knob = k;
    if (!knob) {
        state.SkipWithError("no visible knob");
        return;
    }
    const IRECT* r = knob->GetRECT();
    const int x = (r->L + r->R) / 2, y = (r->T + r->B) / 2;
    IMouseMod mod(true);
    g.OnMouseDown(x, y, &mod);
    IRECT dirty;
    g.IsDirty(&dirty);
    g.Draw(&dirty);
    int step = 0;
    int64_t pixels = 0;
    for (auto _ : state) {
        g.OnMouseDrag(x, y + ((++step & 1) ? -2 : 0), &mod);
        IRECT d;
        if (g.IsDirty(&d)) {
            g.Draw(&d);
            pixels += int64_t(d.W()) * d.H();
        }
    }
    // Where the drag ends depends on the number of frames: at a fixed value, a tick
    // shows the knob as every build must show it.
    knob->SetValueFromUserInput(0.5);
    IRECT last;
    g.IsDirty(&last);
    g.Draw(&last);
    state.counters["hash"] = double(FrameHash(g, *r));
    g.OnMouseUp(x, y, &mod);
    state.counters["dirty_pixels"] = state.iterations() ? double(pixels) / double(state.iterations()) : 0;
}

// The resident and peak memory of the process once the skin's panel is at 200 %.
void BM_EditorMemoryAt200(benchmark::State& state) {
    if (!AtScale(state, int(state.range(0)), 200)) return;
    for (auto _ : state) benchmark::DoNotOptimize(state.iterations());
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        long kb = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %ld", &kb) == 1) state.counters["rss_MB"] = double(kb) / 1024;
        if (std::sscanf(line.c_str(), "VmHWM: %ld", &kb) == 1) state.counters["peak_MB"] = double(kb) / 1024;
    }
}

// The first control bound to `param`.
IControl* BoundTo(IGraphics& g, int param) {
    for (int i = 0; i < g.NControls(); ++i)
        if (g.GetControl(i)->ParamIdx() == param) return g.GetControl(i);
    return nullptr;
}

// The case's skin at 100 %, or null when the process measures another skin.
CountingEditor* EditorAt100(benchmark::State& state) {
    const int skin = int(state.range(0));
    return AtScale(state, skin, 100) ? static_cast<CountingEditor*>(EditorOf(skin)) : nullptr;
}

// Times `change(k)` for k = 0, 1, 0, 1, ..., each undoing the one before, as a user
// going back and forth would. `hooks`: the parameter hooks that change(1) runs after
// change(0); `hash`: the whole panel drawn after a last change(1).
template <class Change>
void TimeBackAndForth(benchmark::State& state, CountingEditor& editor, Change change) {
    change(0);
    const int64_t before = editor.hooks;
    change(1);
    state.counters["hooks"] = double(editor.hooks - before);
    int k = 0;
    for (auto _ : state) {
        change(k);
        k ^= 1;
    }
    change(1);
    IGraphics& g = *editor.Graphics();
    for (int i = 0; i < g.NControls(); ++i) g.GetControl(i)->SetDirty(false);
    IRECT all(0, 0, g.Width(), g.Height());
    g.Draw(&all);
    state.counters["hash"] = double(FrameHash(g));
}

// A click on the chorus tab and one on the overdrive tab, in turn, each changing the
// effect shown: the parameter hook and everything it shows, hides and pushes to the
// controls, before anything is drawn.
void BM_EditorTabClick(benchmark::State& state) {
    CountingEditor* editor = EditorAt100(state);
    if (!editor) return;
    IGraphics& g = *editor->Graphics();
    IControl* const tabs[] = {BoundTo(g, qd::param::kOverdriveTab), BoundTo(g, qd::param::kChorusTab)};
    IMouseMod mod(true);
    TimeBackAndForth(state, *editor, [&](int k) {
        const IRECT* r = tabs[k]->GetRECT();
        g.OnMouseDown((r->L + r->R) / 2, (r->T + r->B) / 2, &mod);
        g.OnMouseUp((r->L + r->R) / 2, (r->T + r->B) / 2, &mod);
    });
}

// Flexi slot 1's source set and cleared, in turn, while the slot modulates a knob of
// the sound page: its range sliders take the knob's place and give it back.
void BM_EditorFlexiSourceChange(benchmark::State& state) {
    CountingEditor* editor = EditorAt100(state);
    if (!editor) return;
    editor->SetFlexiDestination(0, qd::EntryOf(qd::param::kVco1Fine));
    const int source = qd::param::kFlexi1Source;
    auto set = [&](int value) { editor->SetParameterFromGUI(source, editor->GetParam(source)->GetNormalized(value)); };
    TimeBackAndForth(state, *editor, set);
    set(0);
    editor->SetFlexiDestination(0, -1);
}

#define EDITOR_CASES            \
    ArgNames({"skin", "scale"}) \
        ->Args({0, 100})        \
        ->Args({0, 200})        \
        ->Args({1, 100})        \
        ->Args({1, 200})        \
        ->Args({2, 100})        \
        ->Args({2, 200})        \
        ->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_EditorFullRedraw)->EDITOR_CASES;
BENCHMARK(BM_EditorKnobDragFrame)->EDITOR_CASES;
BENCHMARK(BM_EditorMemoryAt200)->ArgName("skin")->DenseRange(0, kSkins - 1)->Iterations(1);
BENCHMARK(BM_EditorTabClick)->ArgName("skin")->DenseRange(0, kSkins - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorFlexiSourceChange)->ArgName("skin")->DenseRange(0, kSkins - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
