// GUI scaling: the stored scale, scaled rectangles, per-view layouts, menu scale changes.
#include <gtest/gtest.h>

#include <tuple>
#include <cmath>
#include <fstream>
#include <functional>

#include "gui/gui_resize.h"
#include "gui/standalone_window.h"
#include "fixtures.h"
#include "temp_dir.h"
#include "winapi/cursor.h"

namespace {

using platform::Rect;
using testutil::ReadFile;

TEST(GUIResize, ScaledRectanglesRoundWithTheFixedOffset) {
    struct Case { DRECT in; double scale; IRECT want; } cases[] = {
        {{10, 10, 20, 20}, 1.5, {15, 15, 30, 30}}, {{10, 10, 20, 20}, 0.7, {7, 7, 14, 14}},
        {{1, 3, 5, 7}, 0.5, {0, 1, 2, 3}},  // 3.4999 x 0.5 stays below 2
        {{0, 0, 1140, 800}, 2.0, {0, 0, 2280, 1600}}, {{-10, -10, 0, 0}, 1.5, {-14, -14, 0, 0}},  // toward zero
    };
    for (const Case& c : cases) EXPECT_EQ(IModuleGUIResize::ScaleDRECT(c.in, c.scale, c.scale), c.want) << c.scale;
}

struct ScalePlug : guitest::LogPlug {
    using LogPlug::LogPlug;
    void ApplyViewLayout(int view, double w, double h) override {
        layouts.push_back(std::to_string(view) + " " + std::to_string(int(w)) + "x" + std::to_string(int(h)));
    }
    std::vector<std::string> layouts;
};

struct Counted : guitest::LogControl {
    using LogControl::LogControl;
    void AfterGUIResize(double scale) override { scales.push_back(scale); }
    std::vector<double> scales;
};

struct StripGraphics : IGraphicsMac {
    using IGraphicsMac::IGraphicsMac;
    // Each panel loads its strip under an id of its own: the strip list outlives panels.
    static inline int sBuilt = 0;
    int stripId = 9000 + ++sBuilt;
    int loads = 0;
    PIX_IBitmap* OSLoadBitmap(int id, const char*) override {
        return id == stripId ? (++loads, new PIX_MemBitmap(300, 90, 4)) : nullptr;
    }
};

// A 1140 x 800 panel (background, two controls, a strip), its resize control set up as the editor's.
struct Panel {
    Panel(guitest::Log* log, const std::function<void(IModuleGUIResize*)>& extra = {})
        : plug(0, log), graphics(new StripGraphics(&plug, 1140, 800, 0)) {
        graphics->SetResourceScale(2);
        strip = graphics->LoadBitmapStrip(graphics->stripId, "strip.png", 3, true);
        for (IRECT r : {IRECT(0, 0, 1140, 800), IRECT(10, 10, 20, 20), IRECT(100, 50, 300, 90)}) {
            controls.push_back(new Counted(&plug, log, "c", r));
            graphics->AttachControl(controls.back());
        }
        resize = new IModuleGUIResize(&plug, graphics, 16, 16);
        resize->EnableGUIScaling();
        resize->SelectViewMode(0);
        resize->SetGUIScaleLimits(50, 200);
        resize->SetWindowSizeLimits(0, 570, 400, 2280, 1600);
        resize->UseControlAndClickForGUIScaling(true);
        if (extra) extra(resize);
        plug.SetGUIResize(resize);
        plug.AttachGraphics(graphics);
        graphics->OpenWindow(nullptr);
        hv = static_cast<platform::HeadlessView*>(graphics->GetView()->nativeView());
    }
    // View coordinates of GUI pixel (x, y), the view's offsets undone.
    void Mouse(char event, int x, int y) {
        const double vx = x + 2, vy = graphics->Height() - y - 3;
        event == 'd' ? hv->MouseDown(vx, vy) : event == 'm' ? hv->MouseDragged(vx, vy) : hv->MouseUp(vx, vy);
    }

    ScalePlug plug;
    StripGraphics* graphics;
    IBitmapStrip* strip;
    std::vector<Counted*> controls;
    IModuleGUIResize* resize;
    platform::HeadlessView* hv;
};

class ScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        IModuleGUIResize::ResetProcessState();
        platform::InstallBackend(&backend);
    }
    void TearDown() override { platform::InstallBackend(nullptr); }
    std::string Settings() const { return dir.path() + "/RODiradu4/settings.ini"; }
    void Store(const std::string& value) {
        std::filesystem::create_directories(dir.path() + "/RODiradu4");
        std::ofstream(Settings()) << "[gui]\nguiscale=" << value << "\n";
    }

    testutil::TempDir dir;
    testutil::ScopedEnv env{"XDG_CONFIG_HOME", dir.path().c_str()};
    platform::HeadlessBackend backend;
    guitest::Log log;
};

// Images, controls and window end at the scale a reload applies, also when the stored one
// changed after the attach step (as the start-up fit changes it).
TEST_F(ScaleTest, StoredScaleIsCheckedClampedAndReachesImagesControlsAndWindow) {
    // `stored`: null for no file; `fitted`: stored between attach and reload, null for none.
    struct Case { const char *stored, *fitted; double scale; bool rewritten; } cases[] = {{nullptr, nullptr, 1.0, true},  {"-1.0", nullptr, 1.0, true},   {"0", nullptr, 1.0, true},
                 {"garbage", nullptr, 1.0, true}, {"nan", nullptr, 1.0, true},    {"inf", nullptr, 1.0, true},
                 {"1e300", nullptr, 2.0, false},  {"0.25", nullptr, 0.5, false},  {"1.5", nullptr, 1.5, false},
                 {"2.0", "1.0", 1.0, false},      {"2.0", "1.5", 1.5, false}};
    for (const Case& c : cases) {
        IModuleGUIResize::ResetProcessState();
        std::filesystem::remove_all(dir.path() + "/RODiradu4");
        if (c.stored) Store(c.stored);
        Panel p(&log);
        if (c.fitted) Store(c.fitted);
        p.plug.ReloadGUIScale();
        EXPECT_EQ(std::tuple(p.resize->GetGUIScaleRatio(), p.hv->Frame(), p.strip->width, *p.controls[1]->GetRECT()),
                  std::tuple(c.scale, Rect{0, 0, std::trunc(1140 * c.scale), std::trunc(800 * c.scale)},
                             int(150 * c.scale) + 3, IModuleGUIResize::ScaleDRECT({10, 10, 20, 20}, c.scale, c.scale)))
            << (c.stored ? c.stored : "none");
        for (Counted* k : p.controls) EXPECT_EQ(k->scales.back(), c.scale);
        EXPECT_TRUE(!c.rewritten || ReadFile(Settings()) == "[gui]\nguiscale=1.000000000000000\n");
    }
}

// A corner-grip drag through the view: the window follows the mouse while the panel is
// covered and keeps its layout; mouse-up lays it out and rescales the images once, and
// stores the scale.
TEST_F(ScaleTest, GripDragResizesOnlyTheWindowUntilMouseUp) {
    Panel p(&log);
    EXPECT_EQ(p.graphics->GetControl(p.graphics->NControls() - 1), p.resize);
    EXPECT_EQ(p.strip->width, 150 + 3);  // rescaled once at attach
    for (Counted* c : p.controls) c->scales.clear();
    p.graphics->loads = 0;

    p.Mouse('d', 1135, 795);
    p.Mouse('m', 600, 500);
    p.Mouse('m', 100, 100);
    EXPECT_DOUBLE_EQ(p.resize->GetGUIScaleRatio(), 0.5);  // 200 / 1940 is below the limit
    EXPECT_EQ(p.hv->frameSizes, (std::vector<Rect>{{0, 0, 646, 453}, {0, 0, 570, 400}}));  // 1100 / 1940
    EXPECT_TRUE(p.controls[1]->scales.empty());
    EXPECT_TRUE(p.plug.layouts.empty());
    EXPECT_EQ(std::tuple(p.graphics->loads, p.strip->width, *p.controls[2]->GetRECT()),
              std::tuple(0, 150 + 3, IRECT(100, 50, 300, 90)));
    // The panel is covered while the window follows the mouse.
    IRECT all(0, 0, 570, 400);
    p.graphics->Draw(&all);
    EXPECT_EQ(p.graphics->GetPixelColor(300, 200), IColor(255, 25, 25, 25));

    p.Mouse('u', 100, 100);
    // Rescaled once; the image decoded at the load served only the first rescale.
    EXPECT_EQ(std::tuple(p.graphics->loads, p.strip->width), std::tuple(1, 75 + 3));
    for (Counted* c : p.controls) EXPECT_EQ(c->scales, std::vector<double>{0.5});
    EXPECT_EQ(p.plug.layouts, std::vector<std::string>{"0 1140x800"});
    EXPECT_EQ(std::tuple(*p.controls[0]->GetRECT(), *p.controls[2]->GetRECT(), *p.resize->GetRECT()),
              std::tuple(IRECT(0, 0, 570, 400), IRECT(50, 25, 150, 45), IRECT(570 - 16, 400 - 16, 570, 400)));
    EXPECT_EQ(backend.cursors, (std::vector<int>{IDC_SIZENWSE, IDC_ARROW}));
    EXPECT_EQ(ReadFile(Settings()), "[gui]\nguiscale=0.500000000000000\n");
}

TEST_F(ScaleTest, MenuScaleCommitsOnceAndPutsTheGripInTheCorner) {
    {
        Panel p(&log);
        p.resize->SetGUIScaleRatio(1.5);
        p.resize->ResizeToStoredScale();
        EXPECT_EQ(p.hv->Frame(), (Rect{0, 0, 1710, 1200}));
        EXPECT_EQ(std::tuple(*p.resize->GetRECT(), *p.controls[1]->GetRECT(), p.strip->width),
                  std::tuple(IRECT(1710 - 24, 1200 - 24, 1710, 1200), IRECT(15, 15, 30, 30), 225 + 3));
        EXPECT_EQ(p.plug.layouts, std::vector<std::string>{"0 1140x800"});
        // The same scale again (within 1e-10) leaves the file as it is.
        const std::string same = "[gui]\nguiscale=1.50000000000001\n";
        std::ofstream(Settings()) << same;
        p.resize->ResizeToStoredScale();
        EXPECT_EQ(ReadFile(Settings()), same);
    }
    // A restart opens at the stored size.
    IModuleGUIResize::ResetProcessState();
    Panel p(&log);
    p.plug.ReloadGUIScale();
    EXPECT_EQ(p.hv->Frame(), (Rect{0, 0, 1710, 1200}));
}

// Each view mode keeps its own hidden flags and rectangles.
TEST_F(ScaleTest, HiddenFlagsAndRectanglesFollowTheViewMode) {
    Panel p(&log, [](IModuleGUIResize* r) { r->AddNewView(7, 1140, 800); });
    p.resize->LiveEditSetLayout(1, 2, true, {40, 40, 60, 60}, {40, 40, 60, 60});
    struct Case { int id; double scale; bool hidden; IRECT rect; } cases[] = {
        {7, 1.0, true, {40, 40, 60, 60}}, {0, 1.0, false, {100, 50, 300, 90}}, {7, 0.5, true, {20, 20, 30, 30}},
        {99, 2.0, false, {200, 100, 600, 180}}};  // unknown id: view 0
    for (const Case& c : cases) {
        p.resize->SelectViewMode(c.id);
        p.resize->SetGUIScaleRatio(c.scale);
        p.resize->ResizeToStoredScale();
        EXPECT_EQ(std::tuple(p.controls[2]->IsHidden(), *p.controls[2]->GetRECT(), p.plug.layouts.back().substr(0, 2)),
                  std::tuple(c.hidden, c.rect, c.id == 7 ? "1 " : "0 ")) << c.id;
    }
}

// Operations the editor does not use: the edge handles, moving a control by its unscaled
// corner, integer settings, and a grip whose drag scales at once (scaling not allowed).
TEST_F(ScaleTest, EdgeHandleMovedControlIntegerSettingsAndUnpendingGrip) {
    Panel p(&log, [](IModuleGUIResize* r) { r->UseHandles(4, 4, 0); });  // the right edge only
    const int n = p.graphics->NControls();
    IControl* right = p.graphics->GetControl(n - 2);
    EXPECT_EQ(std::tuple(p.graphics->GetControl(n - 3)->IsHidden(), right->IsHidden()), std::tuple(true, false));
    right->OnMouseDrag(3000, 10, 0, 0, nullptr);
    EXPECT_EQ(p.hv->Frame(), (Rect{0, 0, 2280, 800}));  // the view's maximum width
    EXPECT_EQ(*right->GetRECT(), IRECT(2276, 0, 2280, 800));
    for (double scale : {1.5, 1.0}) {
        p.resize->SetGUIScaleRatio(scale);
        p.resize->ResizeToStoredScale();
        if (scale == 1.5) p.resize->MoveControl(2, 0, 20, 30);
        EXPECT_EQ(*p.controls[2]->GetRECT(), scale == 1.5 ? IRECT(30, 45, 330, 105) : IRECT(20, 30, 220, 70));
    }
    EXPECT_EQ(p.resize->GetSettingInt("views"), -1);
    EXPECT_TRUE(p.resize->SetSettingUInt("views", 3));
    EXPECT_EQ(p.resize->GetSettingInt("views"), 3);

    // A grip drag lays the controls out only at mouse-up, unless scaling was cleared.
    for (bool cleared : {false, true}) {
        Panel q(&log);
        if (cleared) q.resize->ClearResizePending();
        IControl* grip = q.graphics->GetControl(q.graphics->NControls() - 1);
        IMouseMod left;
        left.L = true;
        grip->OnMouseDown(1135, 795, &left);
        grip->OnMouseDrag(1710, 1200, 0, 0, &left);
        EXPECT_EQ(*q.controls[2]->GetRECT(), cleared ? IRECT(150, 75, 450, 135) : IRECT(100, 50, 300, 90)) << cleared;
        grip->OnMouseUp(1710, 1200, &left);
    }
}

}  // namespace
