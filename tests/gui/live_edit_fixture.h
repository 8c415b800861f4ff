// A panel for the layout editor: a plug-in with background, controls and (on request)
// a GUI-resize control with fake view modes, run in a scratch folder where the
// layout header is written. Frames are driven directly with the mouse state given.
#pragma once

#include <filesystem>
#include <sstream>

#include "gui/live_edit.h"
#include "gui/live_edit_header.h"
#include "gui/live_edit_views.h"
#include "recording_graphics.h"
#include "temp_dir.h"

namespace guitest {

struct ScopedCwd {
    explicit ScopedCwd(const std::string& dir) { std::filesystem::current_path(dir); }
    ~ScopedCwd() { std::filesystem::current_path(mOld); }
    std::filesystem::path mOld = std::filesystem::current_path();
};

// View modes of a GUI-resize control; records every layout handed to it.
class FakeViews : public LiveEditViews {
public:
    int index = 0, count = 2;
    std::vector<std::string> calls;
    int ViewModeIndex() override { return index; }
    int ViewModeCount() override { return count; }
    double GUIScaleRatio() override { return 1.0; }
    void ShowViewMode(int j) override { calls.push_back("show " + std::to_string(j)); }
    void SetLayout(int v, int i, int k, const IRECT& d, const IRECT& t, bool hidden) override {
        std::ostringstream os;
        os << v << " " << i << " " << k << " " << d.L << "," << d.T << "," << d.R << "," << d.B << " " << t.L << ","
           << t.T << "," << t.R << "," << t.B << (hidden ? " hidden" : "");
        calls.push_back(os.str());
    }
};
inline FakeViews* gFakeViews = nullptr;

class EditPlug : public LogPlug {
public:
    using LogPlug::LogPlug;
    // Only the layout editor sees this pointer, and it goes through the fake views;
    // it is gone before the plug-in would look at it.
    ~EditPlug() override { mGUIResize = nullptr; }
    void FakeResize() { mGUIResize = reinterpret_cast<IModuleGUIResize*>(this); }
};

using testutil::ReadFile;

class LiveEditPanel {
public:
    LiveEditPanel() : cwd(dir.path()), plug(0, &log), g(new RecordingGraphics(&plug, 200, 200)) {}
    ~LiveEditPanel() {
        SetLiveEditViewsResolver(nullptr);
        if (plug.GetGUI() != g) delete g;
    }

    // Background, one control per rectangle, then (with `resize`) the three resize controls.
    void Build(const std::vector<IRECT>& rects, bool resize = false) {
        g->AttachControl(new LogControl(&plug, nullptr, "bg", IRECT(0, 0, 200, 200)));
        for (const IRECT& r : rects)
            g->AttachControl(new LogControl(&plug, &log, ("c" + std::to_string(g->NControls())).c_str(), r));
        for (int i = 0; resize && i < 3; ++i) g->AttachControl(new LogControl(&plug, nullptr, "rs", IRECT()));
        plug.AttachGraphics(g);
        if (!resize) return;
        plug.FakeResize();
        gFakeViews = &views;
        SetLiveEditViewsResolver([](IModuleGUIResize*) -> LiveEditViews* { return gFakeViews; });
    }
    LiveEditState* State() { return plug.GetLiveEditState(); }
    LiveEditFrame Frame(IMouseMod mod = {}, int x = 0, int y = 0) {
        LiveEditFrame f;
        f.state = State();
        f.graphics = g;
        f.views = LiveEditViewsOf(&plug);
        f.buffer = g->GetDrawBitmap();
        f.scale = scale;
        f.mouseX = x, f.mouseY = y, f.width = 200, f.height = 200;
        f.mod = mod;
        f.gridSetting = grid;
        f.editMode = &mode, f.lastKey = &key, f.holdsMouse = &holds, f.selected = &selected;
        f.mouseDragged = &dragged;
        return f;
    }
    void Step(IMouseMod mod, int x, int y, bool drag) {
        dragged = drag;
        LiveEditFrame f = Frame(mod, x, y);
        LiveEdit(&f);
    }
    void Undo() {
        LiveEditFrame f = Frame();
        LiveEditUndo(&f);
    }
    // Press on control `idx` at (x0, y0), drag to (x1, y1), release.
    void Drag(int idx, int x0, int y0, int x1, int y1, IMouseMod mod = {}) {
        selected = idx;
        mod.L = true;
        Step(mod, x0, y0, false);
        Step(mod, x1, y1, true);
        selected = -1;
        mod.L = false;
        Step(mod, x1, y1, false);
    }
    // Right-click on control `idx` and choose the menu row of `action`.
    void Menu(int idx, LiveEditMenuAction action) {
        g->menuReplies.push_back(LiveEditMenuRow(action));
        selected = idx;
        Step(IMouseMod(false, true), 1, 1, false);
        Step(IMouseMod(), 1, 1, false);
    }
    IRECT Rect(int i) const { return *g->GetControl(i)->GetRECT(); }

    Log log;
    testutil::TempDir dir;
    ScopedCwd cwd;
    EditPlug plug;
    RecordingGraphics* g;
    FakeViews views;
    double scale = 1.0;
    int grid = 1, mode = 0, key = -1, selected = -1;
    bool holds = true, dragged = false;
};

class LiveEditFixture : public ::testing::Test, public LiveEditPanel {};

}  // namespace guitest
