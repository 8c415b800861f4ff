// GUI scaling: the stored scale, the rounding of control rectangles, per-view layouts,
// and whole grip drags and menu scale changes on the headless back end.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "gui/gui_resize.h"
#include "gui/standalone_window.h"
#include "headless_mac_fixture.h"
#include "temp_dir.h"
#include "winapi/cursor.h"

namespace {

using guitest::Log;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(GUIResize, ScaledRectanglesRoundWithTheFixedOffset) {
    struct Case {
        DRECT in;
        double scale;
        IRECT want;
    } cases[] = {
        {{10, 10, 20, 20}, 1.5, {15, 15, 30, 30}},
        {{10, 10, 20, 20}, 0.7, {7, 7, 14, 14}},
        {{10, 10, 20, 20}, 0.5, {5, 5, 10, 10}},
        {{1, 3, 5, 7}, 0.5, {0, 1, 2, 3}},  // 3.4999 x 0.5 stays below 2
        {{0, 0, 1140, 800}, 2.0, {0, 0, 2280, 1600}},
        {{-10, -10, 0, 0}, 1.5, {-14, -14, 0, 0}},  // toward zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(IModuleGUIResize::ScaleDRECT(c.in, c.scale, c.scale), c.want) << c.scale << " " << c.in.L;
    EXPECT_EQ(IModuleGUIResize::ToIRECT({1.9, -1.9, 2.5, 1e12}), IRECT(1, -1, 2, INT32_MAX));
}

// A plug-in on the headless back end with a 1140 x 800 panel configured as the editor
// configures its resize control, and the settings folder in a scratch folder.
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
    int stripId = 9000 + ++sBuilt;
    static inline int sBuilt = 0;
    PIX_IBitmap* OSLoadBitmap(int id, const char*) override {
        if (id != stripId) return nullptr;
        ++loads;
        return new PIX_MemBitmap(300, 90, 4);
    }
    int loads = 0;
};

class ScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        IModuleGUIResize::ResetProcessState();
        platform::InstallBackend(&backend);
    }
    void TearDown() override {
        delete plug;
        platform::InstallBackend(nullptr);
        SetCursorChangeHandler(nullptr);
    }
    std::string Settings() const { return dir.path() + "/RODiradu4/settings.ini"; }
    void Store(const std::string& value) {
        std::filesystem::create_directories(dir.path() + "/RODiradu4");
        std::ofstream(Settings()) << "[gui]\nguiscale=" << value << "\n";
    }
    // Builds the panel (background, two controls), configures and attaches.
    void Build() {
        plug = new ScalePlug(0, &log);
        graphics = new StripGraphics(plug, 1140, 800, 0);
        graphics->SetResourceScale(2);
        strip = graphics->LoadBitmapStrip(graphics->stripId, "strip.png", 3, true);
        for (const auto& [name, r] : {std::pair{"bg", IRECT(0, 0, 1140, 800)}, {"a", IRECT(10, 10, 20, 20)},
                                      {"b", IRECT(100, 50, 300, 90)}}) {
            controls.push_back(new Counted(plug, &log, name, r));
            graphics->AttachControl(controls.back());
        }
        resize = new IModuleGUIResize(plug, graphics, true, 16, 16);
        resize->EnableGUIScaling();
        resize->SelectViewMode(0);
        resize->SetGUIScaleLimits(50, 200);
        resize->SetWindowSizeLimits(0, 570, 400, 2280, 1600);
        resize->UseControlAndClickForGUIScaling(true);
        plug->SetGUIResize(resize);
        plug->AttachGraphics(graphics);
        ASSERT_NE(graphics->OpenWindow(nullptr), nullptr);
        hv = static_cast<platform::HeadlessView*>(graphics->GetView()->nativeView());
    }
    void ClearRecords() {
        for (Counted* c : controls) c->scales.clear();
        plug->layouts.clear();
        backend.cursors.clear();
        hv->frameSizes.clear();
        graphics->loads = 0;
    }
    // View coordinates of GUI pixel (x, y), the view's offsets undone.
    double VX(int x) { return x + 2; }
    double VY(int y) { return graphics->Height() - y - 3; }

    testutil::TempDir dir;
    testutil::ScopedEnv env{"XDG_CONFIG_HOME", dir.path().c_str()};
    platform::HeadlessBackend backend;
    Log log;
    ScalePlug* plug = nullptr;
    StripGraphics* graphics = nullptr;
    IBitmapStrip* strip = nullptr;
    IModuleGUIResize* resize = nullptr;
    std::vector<Counted*> controls;
    platform::HeadlessView* hv = nullptr;
};

TEST_F(ScaleTest, StoredScaleIsCheckedThenClampedToTheLimits) {
    struct Case {
        const char* stored;  // null: no file
        double scale;
        bool rewritten;
    } cases[] = {{nullptr, 1.0, true}, {"-1.0", 1.0, true}, {"0", 1.0, true}, {"garbage", 1.0, true},
                 {"nan", 1.0, true},   {"inf", 1.0, true},  {"1e300", 2.0, false}, {"0.25", 0.5, false},
                 {"1.5", 1.5, false}};
    for (const Case& c : cases) {
        SetUp();
        std::filesystem::remove_all(dir.path() + "/RODiradu4");
        if (c.stored) Store(c.stored);
        Build();
        plug->ReloadGUIScale();
        EXPECT_DOUBLE_EQ(resize->GetGUIScaleRatio(), c.scale) << (c.stored ? c.stored : "none");
        EXPECT_EQ(hv->Frame(), (platform::Rect{0, 0, std::trunc(1140 * c.scale), std::trunc(800 * c.scale)}));
        if (c.rewritten) {
            EXPECT_EQ(ReadFile(Settings()), "[gui]\nguiscale=1.000000000000000\n");
        }
        TearDown();
        plug = nullptr, controls.clear();
    }
}

TEST_F(ScaleTest, GripDragResizesOnlyTheWindowUntilMouseUp) {
    Build();
    plug->ReloadGUIScale();
    EXPECT_EQ(graphics->GetControl(graphics->NControls() - 1), resize);
    EXPECT_EQ(strip->width, 150 + 3);  // rescaled once at attach
    ClearRecords();

    hv->MouseDown(VX(1135), VY(795));
    EXPECT_TRUE(resize->IsResizePending());
    hv->MouseDragged(VX(100), VY(100));
    // 200 / 1940 is below the 50 % limit.
    EXPECT_DOUBLE_EQ(resize->GetGUIScaleRatio(), 0.5);
    EXPECT_EQ(hv->frameSizes, (std::vector<platform::Rect>{{0, 0, 570, 400}}));
    EXPECT_EQ(*controls[1]->GetRECT(), IRECT(10, 10, 20, 20));
    EXPECT_TRUE(controls[1]->scales.empty());
    EXPECT_TRUE(plug->layouts.empty());
    EXPECT_EQ(graphics->loads, 0);

    // The panel is covered while the window follows the mouse.
    IRECT all(0, 0, 570, 400);
    graphics->Draw(&all);
    EXPECT_EQ(graphics->GetPixelColor(300, 200), IColor(255, 25, 25, 25));

    hv->MouseUp(VX(100), VY(100));
    EXPECT_EQ(graphics->loads, 1);
    EXPECT_EQ(strip->width, 75 + 3);
    for (Counted* c : controls) EXPECT_EQ(c->scales, std::vector<double>{0.5});
    EXPECT_EQ(plug->layouts, std::vector<std::string>{"0 1140x800"});
    EXPECT_EQ(*controls[0]->GetRECT(), IRECT(0, 0, 570, 400));
    EXPECT_EQ(*controls[2]->GetRECT(), IRECT(50, 25, 150, 45));
    EXPECT_EQ(*resize->GetRECT(), IRECT(570 - 16, 400 - 16, 570, 400));
    EXPECT_FALSE(resize->IsGUIResizing());
    EXPECT_EQ(backend.cursors, (std::vector<int>{IDC_SIZENWSE, IDC_ARROW}));
    EXPECT_EQ(ReadFile(Settings()), "[gui]\nguiscale=0.500000000000000\n");
}

TEST_F(ScaleTest, MenuScaleCommitsOnceAndPutsTheGripInTheCorner) {
    Build();
    plug->ReloadGUIScale();
    ClearRecords();
    resize->SetGUIScaleRatio(1.5);
    resize->ResizeToStoredScale();
    EXPECT_EQ(hv->Frame(), (platform::Rect{0, 0, 1710, 1200}));
    EXPECT_EQ(*resize->GetRECT(), IRECT(1710 - 24, 1200 - 24, 1710, 1200));
    EXPECT_EQ(*controls[1]->GetRECT(), IRECT(15, 15, 30, 30));
    EXPECT_EQ(plug->layouts, std::vector<std::string>{"0 1140x800"});
    EXPECT_EQ(strip->width, 225 + 3);

    // The same scale again (within 1e-10) leaves the file as it is.
    const std::string same = "[gui]\nguiscale=1.50000000000001\n";
    std::ofstream(Settings()) << same;
    resize->ResizeToStoredScale();
    EXPECT_EQ(ReadFile(Settings()), same);
    // Restarting at the stored scale opens at the same size.
    delete plug;
    controls.clear();
    IModuleGUIResize::ResetProcessState();
    Build();
    plug->ReloadGUIScale();
    EXPECT_EQ(hv->Frame(), (platform::Rect{0, 0, 1710, 1200}));
}

TEST_F(ScaleTest, StoredScaleTallerThanTheWorkAreaIsReducedAndStored) {
    Store("2.0");
    backend.workArea = {0, 0, 1920, 1050};
    Build();
    FitGUIScaleToScreen(plug);
    EXPECT_DOUBLE_EQ(resize->GetGUIScaleRatio(), 1050.0 / 800);
    EXPECT_EQ(hv->Frame(), (platform::Rect{0, 0, 1496, 1050}));
    EXPECT_EQ(ReadFile(Settings()), "[gui]\nguiscale=1.312500000000000\n");
}

TEST_F(ScaleTest, HiddenFlagsAndRectanglesFollowTheViewMode) {
    plug = new ScalePlug(0, &log);
    graphics = new StripGraphics(plug, 1140, 800, 0);
    for (int i = 0; i < 3; ++i) {
        controls.push_back(new Counted(plug, &log, "c", IRECT(10 * i, 10, 10 * i + 5, 20)));
        graphics->AttachControl(controls.back());
    }
    resize = new IModuleGUIResize(plug, graphics, true, 16, 16);
    resize->AddNewView(7, 1140, 800);
    plug->SetGUIResize(resize);
    plug->AttachGraphics(graphics);
    resize->LiveEditSetLayout(1, 2, true, {40, 40, 60, 60}, {40, 40, 60, 60});
    struct Case {
        int id;
        double scale;
        bool hidden;
        IRECT rect;
    } cases[] = {{7, 1.0, true, {40, 40, 60, 60}}, {0, 1.0, false, {20, 10, 25, 20}}, {7, 0.5, true, {20, 20, 30, 30}},
                 {99, 2.0, false, {40, 20, 50, 40}}};
    for (const Case& c : cases) {
        resize->SelectViewMode(c.id);
        resize->SetGUIScaleRatio(c.scale);
        resize->ResizeToStoredScale();
        EXPECT_EQ(controls[2]->IsHidden(), c.hidden) << c.id;
        EXPECT_EQ(*controls[2]->GetRECT(), c.rect) << c.id;
        EXPECT_EQ(plug->layouts.back().substr(0, 2), c.id == 7 ? "1 " : "0 ");
    }
}

TEST_F(ScaleTest, EdgeHandlesClampToTheViewLimitsAndSetTheirCursors) {
    plug = new ScalePlug(0, &log);
    graphics = new StripGraphics(plug, 1140, 800, 0);
    graphics->AttachControl(new Counted(plug, &log, "bg", IRECT(0, 0, 1140, 800)));
    resize = new IModuleGUIResize(plug, graphics, true, 16, 16);
    resize->SetWindowSizeLimits(0, 570, 400, 2280, 1600);
    resize->UseHandles(4, 4, 2);
    plug->SetGUIResize(resize);
    plug->AttachGraphics(graphics);
    const int n = graphics->NControls();
    IMouseMod left(true);
    graphics->OnMouseDown(1138, 300, &left);
    graphics->OnMouseDrag(3000, 300, &left);
    graphics->OnMouseUp(3000, 300, &left);
    EXPECT_DOUBLE_EQ(resize->GetBaseWidth(), 2280);
    EXPECT_EQ(graphics->Width(), 2280);
    // Both handles sit along the new edges, below the resize control.
    EXPECT_EQ(*graphics->GetControl(n - 2)->GetRECT(), IRECT(2276, 0, 2280, 800));
    EXPECT_EQ(*graphics->GetControl(n - 3)->GetRECT(), IRECT(0, 796, 2280, 800));
    graphics->OnMouseDown(300, 798, &left);
    graphics->OnMouseDrag(300, 10, &left);
    EXPECT_DOUBLE_EQ(resize->GetBaseHeight(), 400);
    EXPECT_EQ(backend.cursors, (std::vector<int>{IDC_SIZEWE, IDC_SIZENS}));
}

}  // namespace

namespace {

// At a GUI scale of 2 each frame of double-size artwork is copied as it is, frame gaps
// cleared; a source area reaching past the bitmap still takes the general path.
TEST(GUIResize, StripRescaleAtTheSourceSizeCopiesEachFrame) {
    struct Case {
        int w, h, frames;
        bool horizontal;
    } cases[] = {{37, 23, 1, false}, {30, 11, 3, true}, {9, 40, 4, false}};
    for (const Case& c : cases) {
        PIX_MemBitmap src(c.w, c.h, 4);
        uint32_t seed = 12345;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) *PIX_PixelAddress(src, x, y) = seed = seed * 1103515245u + 12345u;
        const int gaps = c.frames >= 2 ? c.frames : 0;
        PIX_MemBitmap dst(c.w + (c.horizontal ? gaps : 0), c.h + (c.horizontal ? 0 : gaps), 4);
        ScaleStripFrames(src, dst, c.frames, c.horizontal);
        const int side = (c.horizontal ? c.w : c.h) / c.frames;
        for (int y = 0; y < dst.getHeight(); ++y)
            for (int x = 0; x < dst.getWidth(); ++x) {
                const int along = c.horizontal ? x : y;
                const int f = along / (side + (gaps ? 1 : 0)), in = along % (side + (gaps ? 1 : 0));
                const bool gap = in == side;
                const int sx = c.horizontal ? f * side + in : x, sy = c.horizontal ? y : f * side + in;
                ASSERT_EQ(*PIX_PixelAddress(dst, x, y), gap ? 0u : *PIX_PixelAddress(src, sx, sy))
                    << c.frames << " at " << x << "," << y;
            }
    }
    // Shifted past the left edge: the missing column counts as 0 at half weight in the
    // general loop, never read out of the bitmap.
    PIX_MemBitmap src(4, 1, 4), dst(4, 1, 4);
    for (int x = 0; x < 4; ++x) *PIX_PixelAddress(src, x, 0) = 0xc8c8c8c8u;
    ResampleArea(src, -1, 0, 4, 1, dst, 0, 0, 4, 1);
    EXPECT_EQ(*PIX_PixelAddress(dst, 0, 0), 0u);
    EXPECT_EQ(*PIX_PixelAddress(dst, 1, 0), 0xc8c8c8c8u);
}

// Two panels in one process: each rescales its own controls, and the one whose scale
// another applied shows the notice until it reloads.
TEST(GUIResize, InstancesKeepTheirOwnControlsAndNoticeEachOthersScale) {
    IModuleGUIResize::ResetProcessState();
    testutil::TempDir dir;
    testutil::ScopedEnv env("XDG_CONFIG_HOME", dir.path().c_str());
    platform::HeadlessBackend backend;
    platform::InstallBackend(&backend);
    Log log;
    struct Panel {
        guitest::LogPlug plug;
        IGraphicsMac* graphics;
        IControl* control;
        IModuleGUIResize* resize;
        Panel(Log* log) : plug(0, log), graphics(new IGraphicsMac(&plug, 200, 100, 0)) {
            graphics->AttachControl(new guitest::LogControl(&plug, log, "bg", IRECT(0, 0, 200, 100)));
            control = new guitest::LogControl(&plug, log, "c", IRECT(10, 10, 20, 20));
            graphics->AttachControl(control);
            resize = new IModuleGUIResize(&plug, graphics, true, 16, 16);
            resize->EnableGUIScaling();
            resize->SetGUIScaleLimits(50, 200);
            plug.SetGUIResize(resize);
            plug.AttachGraphics(graphics);
        }
    };
    auto a = std::make_unique<Panel>(&log), b = std::make_unique<Panel>(&log);
    b->resize->SetGUIScaleRatio(2.0);
    b->resize->ResizeToStoredScale();
    EXPECT_EQ(*b->control->GetRECT(), IRECT(20, 20, 40, 40));
    EXPECT_EQ(*a->control->GetRECT(), IRECT(10, 10, 20, 20));
    EXPECT_FALSE(b->resize->IsDirty() && b->resize->IsNoticeShown());
    EXPECT_TRUE(a->resize->IsDirty());
    EXPECT_TRUE(a->resize->IsNoticeShown());
    EXPECT_EQ(*a->resize->GetRECT(), IRECT(0, 0, 200, 100));
    a->plug.ReloadGUIScale();
    EXPECT_FALSE(a->resize->IsNoticeShown());
    EXPECT_EQ(a->graphics->Width(), 400);
    EXPECT_EQ(*a->control->GetRECT(), IRECT(20, 20, 40, 40));
    EXPECT_EQ(*a->resize->GetRECT(), IRECT(400 - 32, 200 - 32, 400, 200));
    a.reset(), b.reset();
    platform::InstallBackend(nullptr);
}

}  // namespace
