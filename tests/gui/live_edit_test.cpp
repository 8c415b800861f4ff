// The layout editor on a scratch panel in a scratch folder: its switch, menu and header.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "gui/live_edit.h"
#include "gui/live_edit_header.h"
#include "gui/live_edit_views.h"
#include "fixtures.h"
#include "temp_dir.h"

// Every rename of this test program comes here: it fails with the error set (0: the
// real rename runs). Nothing else makes a rename beside a fresh file fail for root,
// whom no folder permission stops.
static std::atomic<int> gRenameFailsWith{0};
extern "C" int rename(const char* from, const char* to) noexcept {
    if (const int error = gRenameFailsWith.load()) return errno = error, -1;
    return renameat(AT_FDCWD, from, AT_FDCWD, to);
}

namespace guitest {

struct ScopedCwd {
    explicit ScopedCwd(const std::string& dir) { std::filesystem::current_path(dir); }
    ~ScopedCwd() { std::filesystem::current_path(old); }
    std::filesystem::path old = std::filesystem::current_path();
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
        f.mod = mod, f.gridSetting = grid;
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

namespace {

using LiveEditTest = LiveEditFixture;
using A = LiveEditMenuAction;

// Only the environment variable switches it on; off, E holds nothing and no header is touched.
TEST(LiveEditSwitch, OnlyTheEnvironmentVariableSwitchesItOn) {
    for (const char* value : {"", "0", "yes"}) {
        testutil::ScopedEnv env("QD_LIVE_EDIT", value);
        EXPECT_FALSE(LiveEditSwitchOn()) << value;
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}});
        p.g->OnKeyDown(0, 0, kLiveEditKeyHold);
        IRECT all(0, 0, 200, 200);
        p.g->PrepDraw();
        p.g->Draw(&all);
        EXPECT_FALSE(p.g->LiveEditHoldsMouse() || p.State()->headerRead ||
                     std::filesystem::exists(kLiveEditHeaderFile));
    }
    testutil::ScopedEnv env("QD_LIVE_EDIT", "1");
    EXPECT_TRUE(LiveEditSwitchOn());
}

// Through the engine: E takes the mouse from the controls, E again gives it back and
// drops the group, so the next drag, with the mouse taken again, moves one control.
TEST_F(LiveEditTest, EAgainGivesTheMouseBackAndDropsTheGroup) {
    Build({{10, 10, 30, 30}, {40, 10, 60, 30}});
    g->SetLiveEdit(true, false);
    IRECT all(0, 0, 200, 200);
    const IMouseMod left(true), controlLeft(true, false, false, true);
    auto press = [&](int x, int y) { g->OnKeyDown(x, y, kLiveEditKeyHold), g->Draw(&all); };
    // Press, drag and release, each followed by a frame.
    auto drag = [&](int x0, int y0, int x1, int y1, IMouseMod mod) {
        g->OnMouseDown(x0, y0, &mod), g->Draw(&all);
        g->OnMouseDrag(x1, y1, &mod), g->Draw(&all);
        g->OnMouseUp(x1, y1, &mod), g->Draw(&all);
    };
    auto mouseSeen = [&] {  // what reached the controls but their drawing
        Log seen;
        for (const std::string& e : log)
            if (e.find(" draw") == std::string::npos) seen.push_back(e);
        return seen;
    };
    press(150, 150);
    ASSERT_TRUE(g->LiveEditHoldsMouse());
    drag(5, 5, 65, 35, controlLeft);  // gathers both controls
    ASSERT_TRUE(State()->groupActive);
    ASSERT_EQ(State()->group.GetSize(), 2);

    press(150, 150);
    EXPECT_FALSE(g->LiveEditHoldsMouse());
    EXPECT_EQ(std::tuple(State()->groupActive, State()->group.GetSize(), State()->groupRect),
              std::tuple(false, 0, kLiveEditNoRect));
    log.clear();
    drag(15, 15, 25, 15, left);  // the control has the mouse again; nothing moves
    EXPECT_EQ(mouseSeen(), (Log{"c1 down 15,15", "c1 drag 25,15 d10,0", "c1 up 25,15"}));
    EXPECT_EQ(std::tuple(Rect(1), Rect(2)), std::tuple(IRECT(10, 10, 30, 30), IRECT(40, 10, 60, 30)));

    press(150, 150);
    ASSERT_TRUE(g->LiveEditHoldsMouse());
    log.clear();
    drag(15, 15, 25, 15, left);
    EXPECT_EQ(mouseSeen(), Log{});
    EXPECT_EQ(std::tuple(Rect(1), Rect(2)), std::tuple(IRECT(20, 10, 40, 30), IRECT(40, 10, 60, 30)));
}

// Each step rewrites the header with the layout it brings back; past either end of the
// history nothing changes.
TEST_F(LiveEditTest, UndoAndRedoWalkTheHistoryAndStopAtItsEnds) {
    Build({{10, 10, 30, 30}});
    const IRECT l0(10, 10, 30, 30), l1(20, 10, 40, 30), l2(20, 20, 40, 40);
    LiveEditFrame f = Frame();
    LiveEditUndo(&f);  // an empty history: nothing moves
    LiveEditRedo(&f);
    EXPECT_EQ(Rect(1), l0);
    Drag(1, 15, 15, 25, 15);
    Drag(1, 25, 15, 25, 25);
    ASSERT_EQ(Rect(1), l2);
    const struct { bool undo; IRECT expected; } steps[] = {
        {true, l1},  {true, l0},  {true, l0}, {true, l0}, {false, l1}, {false, l2},
        {false, l2}, {true, l1}, {false, l2}, {true, l1}, {true, l0}, {false, l1},
    };
    int n = 0;
    for (const auto& s : steps) {
        s.undo ? LiveEditUndo(&f) : LiveEditRedo(&f);
        const IRECT& e = s.expected;
        std::ostringstream line;
        line << "GetControl(1)->SetDrawRECT(IRECT(" << e.L << ", " << e.T << ", " << e.R << ", " << e.B << ")); ";
        EXPECT_EQ(Rect(1), e) << "step " << n;
        EXPECT_NE(ReadFile(kLiveEditHeaderFile).find(line.str()), std::string::npos) << "step " << n;
        ++n;
    }
    // A menu row that changed nothing still made an entry: one undo steps over it.
    LiveEditPanel p;
    p.Build({{10, 10, 30, 30}});
    p.Drag(1, 15, 15, 25, 15);
    p.Menu(1, A::kBringForward);
    p.Undo();
    EXPECT_EQ(p.Rect(1), l0);
}

TEST_F(LiveEditTest, DragsSnapToTheGridTowardZeroUnlessOptionIsHeld) {
    Build({{5, 5, 25, 25}});
    grid = 10;
    Drag(1, 10, 10, 23, 37);
    EXPECT_EQ(Rect(1), IRECT(10, 30, 30, 50));
    Drag(1, 15, 35, 13, 38, IMouseMod(false, false, false, false, true));  // Option: no snap
    EXPECT_EQ(Rect(1), IRECT(8, 33, 28, 53));
}

TEST(LiveEditMenu, ZOrderRowsStopAtBothEndsButStillPushASnapshot) {
    const struct { bool resize; int selected; A item; std::vector<int> order; } cases[] = {
        {false, 1, A::kBringToFront, {0, 2, 3, 1}}, {true, 1, A::kBringToFront, {0, 2, 3, 1, 4, 5, 6}},
        {false, 3, A::kSendToBack, {0, 3, 1, 2}},   {false, 2, A::kBringForward, {0, 1, 3, 2}},
        {false, 3, A::kBringForward, {0, 1, 2, 3}}, {false, 1, A::kSendBackward, {0, 1, 2, 3}},
        {false, 3, A::kSendBackward, {0, 1, 3, 2}},
    };
    for (const auto& c : cases) {
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}, {40, 10, 60, 30}, {70, 10, 90, 30}}, c.resize);
        p.Menu(c.selected, c.item);
        std::vector<int> order;  // attach indices in list order
        for (int k = 0; k < p.g->NControls(); ++k) order.push_back(p.State()->attachOrder.Find(p.g->GetControl(k)));
        EXPECT_EQ(order, c.order) << int(c.item) << " on " << c.selected;
        EXPECT_EQ(p.State()->histories[0].snapshots.size(), 1u);
    }
}

// Right-clicks through the engine: the menu takes the release, so each click opens it
// once, and the press selects what lies under it as the left button does. A click
// where no control lies used to keep the last selection, so "Hide Control" and the
// other selection rows acted on a control away from the pointer.
TEST_F(LiveEditTest, ARightClickSelectsWhatIsUnderItAndTheMenuFollows) {
    Build({{10, 10, 30, 30}, {40, 10, 60, 30}});
    g->SetLiveEdit(true, true);
    IRECT all(0, 0, 200, 200);
    const std::string none =
        "Undo,Redo,|Reset Control Position-,Reset Control Size-,Merge Draw and Target IRECT-,|"
        "Hide Control-,|Bring to Front-,Send to Back-,|Bring Forward-,Send Backward-,|Deselect-,"
        "Show Grid,Show Mouse Coordinates,|Reset View to Default,|Delete Control !!!-,";
    const std::string plain =
        "Undo,Redo,|Reset Control Position,Reset Control Size,Merge Draw and Target IRECT-,|"
        "Hide Control,|Bring to Front,Send to Back,|Bring Forward,Send Backward,|Deselect-,"
        "Show Grid,Show Mouse Coordinates,|Reset View to Default,|Delete Control !!!,";
    const std::string hiddenApart =
        "Undo,Redo,|Reset Control Position,Reset Control Size,Merge Draw and Target Rect,|"
        "Show Control,|Bring to Front,Send to Back,|Bring Forward,Send Backward,|Deselect-,"
        "Hide Grid,Hide Mouse Coordinates,|Reset View to Default,|Delete Control !!!,";
    const struct {
        const char* name;
        int x, y;
        bool releaseSeen;  // whether the back end passes the release on after the menu
        std::function<void()> before;
        int selected;
        const std::string& rows;
    } cases[] = {
        {"on control 1", 15, 15, false, [] {}, 1, plain},
        {"on control 2", 45, 15, false, [] {}, 2, plain},
        {"on empty space", 150, 150, false, [] {}, -1, none},
        {"on empty space, release seen", 150, 150, true, [] {}, -1, none},
        {"on control 2 in draw mode, hidden and apart, grid and coordinates shown", 45, 15, false,
         [this] {
             g->SetLiveEditMode(kLiveEditDraw);
             g->GetControl(2)->Hide(true);
             g->GetControl(2)->SetTargetRECT({42, 12, 58, 28});
             State()->gridShown = State()->mouseCoordinatesShown = true;
         },
         2, hiddenApart},
    };
    for (const auto& c : cases) {
        c.before();
        IMouseMod right(false, true);
        g->OnMouseDown(c.x, c.y, &right);
        g->Draw(&all);
        g->Draw(&all);
        if (c.releaseSeen) g->OnMouseUp(c.x, c.y, &right);
        ASSERT_EQ(g->menus.size(), 1u) << c.name;
        // The rows as "text" with "-" for a disabled row and "|" for a separator.
        std::string rows;
        for (const MenuItemSeen& item : g->menus[0])
            rows += item.flags & IPopupMenuItem::kSeparator
                        ? "|"
                        : item.text + (item.flags & IPopupMenuItem::kDisabled ? "-," : ",");
        EXPECT_EQ(std::tuple(rows, State()->selected), std::tuple(c.rows, c.selected)) << c.name;
        g->menus.clear();
    }
}

TEST(LiveEditMenu, SelectionRowsChangeTheRectanglesOfTheEditModeAndUndoBringsThemBack) {
    const IRECT draw(20, 20, 50, 50), target(25, 25, 55, 55);  // attach-time: (10, 10, 30, 30) both
    const struct { A action; int mode; IRECT draw, target; bool hidden; } cases[] = {
        {A::kResetPosition, kLiveEditDraw, {10, 10, 40, 40}, target, false},
        {A::kResetPosition, kLiveEditTarget, draw, {10, 10, 40, 40}, false},
        {A::kResetSize, kLiveEditDraw, {20, 20, 40, 40}, target, false},
        {A::kResetSize, kLiveEditTarget, draw, {25, 25, 45, 45}, false},
        {A::kMerge, kLiveEditDraw, target, target, false},
        {A::kMerge, kLiveEditTarget, draw, draw, false},
        {A::kHide, kLiveEditDraw, draw, target, true},
    };
    for (const auto& c : cases) {
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}});
        IControl* control = p.g->GetControl(1);
        *control->GetRECT() = draw;
        control->SetTargetRECT(target);
        p.mode = c.mode;
        p.Menu(1, c.action);
        auto now = [&] { return std::tuple(*control->GetRECT(), *control->GetTargetRECT(), control->IsHidden()); };
        EXPECT_EQ(now(), std::tuple(c.draw, c.target, c.hidden)) << int(c.action) << " in mode " << c.mode;
        p.Undo();
        EXPECT_EQ(now(), std::tuple(draw, target, false)) << int(c.action) << " undone";
    }
}

TEST(LiveEditMenu, DeleteAsksAndOnlyOKMarksTheControl) {
    for (const int answer : {2, 1}) {
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}, {40, 10, 60, 30}, {70, 10, 90, 30}}, true);
        p.g->messageBoxReplies.push_back(answer);
        p.Menu(2, A::kDelete);
        ASSERT_EQ(p.g->messageBoxes.size(), 1u);
        EXPECT_EQ(std::tuple(p.State()->deleted.GetSize(), p.g->GetControl(2)->IsHidden()),
                  std::tuple(answer == 1 ? 1 : 0, answer == 1));
        if (answer == 2) {
            EXPECT_TRUE(p.State()->histories.empty() || p.State()->histories[0].snapshots.empty());
            continue;
        }
        EXPECT_EQ(*p.State()->deleted.GetAt(0), 2);
        // The other view mode was shown, hidden there and written; control 3 closes the gap.
        EXPECT_NE(std::find(p.views.calls.begin(), p.views.calls.end(), "show 1"), p.views.calls.end());
        EXPECT_NE(ReadFile(kLiveEditHeaderFile).find("LiveEditSetLayout(0, 2, 2, IRECT(70, 10, 90, 30)"),
                  std::string::npos);
        p.Undo();  // brings it back everywhere
        EXPECT_EQ(std::tuple(p.State()->deleted.GetSize(), p.g->GetControl(2)->IsHidden()), std::tuple(0, false));
    }
}

TEST_F(LiveEditTest, ResetViewWritesTheUnscaledLayout) {
    scale = 2.0;
    Build({{10, 10, 30, 30}}, true);
    Drag(1, 15, 15, 40, 40);
    Menu(1, A::kResetView);
    // Attach-time layout at scale 2 on screen, the attach-time layout in the header.
    EXPECT_EQ(Rect(1), IRECT(20, 20, 60, 60));
    EXPECT_NE(ReadFile(kLiveEditHeaderFile).find("LiveEditSetLayout(0, 1, 1, IRECT(10, 10, 30, 30)"),
              std::string::npos);
}

// Compares with tests/data/golden/<name>, writing <name>.actual beside it on a mismatch.
void ExpectGolden(const std::string& actual, const std::string& name) {
    const std::string path = std::string(QD_TEST_DATA_DIR) + "/golden/" + name;
    const std::string expected = ReadFile(path);
    if (actual != expected) std::ofstream(path + ".actual", std::ios::binary) << actual;
    EXPECT_EQ(actual, expected) << "actual written to " << path << ".actual";
}

class LiveEditHeaderTest : public LiveEditFixture {
protected:
    // Three controls; the second has distinct rectangles and is hidden; the third
    // was moved behind the first.
    void BuildPanel(bool resize) {
        Build({{10, 10, 30, 30}, {40, 10, 60, 30}, {70, 10, 90, 30}}, resize);
        g->GetControl(2)->SetTargetRECT({45, 15, 55, 25});
        g->GetControl(2)->Hide(true);
        g->MoveControlBehind(3, 1);
    }
};

TEST_F(LiveEditHeaderTest, DefaultViewMatchesGolden) {
    BuildPanel(false);
    ExpectGolden(LiveEditBuildLayoutHeader(1.0, State(), g, nullptr, 0), "live_edit_default.txt");
}

TEST_F(LiveEditHeaderTest, GUIResizeViewsMatchGoldenUnscaledWithDeletedLeftOut) {
    BuildPanel(true);
    // At scale 2 the controls stand at twice their layout; control 1 is deleted.
    for (int a = 1; a <= 3; ++a) {
        IControl* c = State()->attachOrder.Get(a);
        const IRECT d = *c->GetRECT(), t = *c->GetTargetRECT();
        *c->GetRECT() = IRECT(d.L * 2, d.T * 2, d.R * 2, d.B * 2);
        c->SetTargetRECT(IRECT(t.L * 2, t.T * 2, t.R * 2, t.B * 2));
    }
    State()->deleted.Add(1);
    State()->viewModeCount = 2;
    ExpectGolden(LiveEditBuildLayoutHeader(2.0, State(), g, &views, 0), "live_edit_resize.txt");
    // Every control, deleted or not, reaches the view record at its own indices.
    EXPECT_EQ(std::vector<std::string>(views.calls.begin() + 1, views.calls.begin() + 3),
              (std::vector<std::string>{"0 1 2 10,10,30,30 10,10,30,30", "0 2 3 40,10,60,30 45,15,55,25 hidden"}));
}

// An editor or version control may turn the line ends into CR LF and leave blanks at
// line ends: every section used to read as empty, and the next write dropped the
// other view modes' layouts.
TEST_F(LiveEditHeaderTest, CRLFHeaderReadsAsWrittenAndARewriteKeepsTheOtherSections) {
    BuildPanel(true);
    State()->viewModeCount = 3;
    std::vector<std::string> sections;
    for (int j = 0; j < 2; ++j) {  // view mode 2 stays empty
        State()->attachOrder.Get(1)->GetRECT()->L = 10 + j;
        ASSERT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, &views, j));
        sections.push_back(State()->viewModeTexts.Get(j)->Get());
    }
    sections.push_back("");
    EXPECT_NE(sections[1].find("LiveEditSetLayout(1, 3, 1, IRECT(70, 10, 90, 30)"), std::string::npos);
    std::string crlf;
    for (char ch : ReadFile(kLiveEditHeaderFile)) crlf += ch == '\n' ? std::string(" \t\r\n") : std::string(1, ch);
    std::ofstream(kLiveEditHeaderFile, std::ios::binary) << crlf;

    LiveEditState fresh;
    fresh.viewModeCount = 3;
    LiveEditReadLayoutHeader(&fresh);
    EXPECT_TRUE(fresh.headerRead);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(fresh.viewModeTexts.Get(j)->Get(), sections[size_t(j)]) << j;

    // The panel's own state reads the same file back and rewrites view mode 1 only.
    LiveEditReadLayoutHeader(State());
    State()->attachOrder.Get(1)->GetRECT()->L = 42;
    ASSERT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, &views, 1));
    const std::vector<std::string> now = LiveEditParseLayoutHeader(ReadFile(kLiveEditHeaderFile), 3);
    EXPECT_EQ(now[0], sections[0]);
    EXPECT_NE(now[1].find("IRECT(42, 10, 30, 30)"), std::string::npos) << now[1];
    EXPECT_EQ(now[2], sections[2]);
}

// A FIFO under the header's name used to freeze the window at the first overlay
// frame: opening it waits for a writer. It reads as missing, is left alone, and its
// write failure is told once however many frames change the layout.
TEST_F(LiveEditHeaderTest, AFIFOReadsAsMissingAndIsNeverWritten) {
    BuildPanel(false);
    ASSERT_EQ(mkfifo(kLiveEditHeaderFile, 0600), 0);
    testing::internal::CaptureStderr();
    const bool leftAlone = testutil::RunsWithoutOpeningFifo(kLiveEditHeaderFile, [this] {
        for (int x = 0; x < 3; ++x) Drag(1, 15 + x, 15, 25 + x, 15);
    });
    const std::string told = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(leftAlone);
    EXPECT_TRUE(State()->headerRead);
    EXPECT_EQ(Rect(1), IRECT(100, 10, 120, 30));  // the editor went on working
    EXPECT_EQ(told, std::string("Layout editor: cannot write ") + kLiveEditHeaderFile + ": not a regular file\n");
    EXPECT_EQ(std::filesystem::status(kLiveEditHeaderFile).type(), std::filesystem::file_type::fifo);
}

// Headers the layout editor did not write as it writes them read as empty sections; a
// file too large to be a header reads as missing; a save that cannot finish leaves no
// partial file and never replaces a folder.
TEST_F(LiveEditHeaderTest, BadHeadersReadEmptyAndFailedSavesLeaveNothing) {
    const std::string start = "\t\t// View Mode: (0) ---\n", end = "\t\t// End (0) ---\n";
    const std::string good = "\t\tpGUIResize->LiveEditSetLayout(0, 1, 1, IRECT(1, 2, 3, 4), IRECT(1, 2, 3, 4), false);\n";
    for (const std::string& text : {end + good + start, start + good, start + good.substr(0, 40) + end,
                                    start + std::string(1 << 20, 'x') + "\n" + end,
                                    start + std::string("\0\xff\x01\t\t// End (0)", 16) + "\n",
                                    start + "\t\tpGUIResize->LiveEditSetLayout(0, 1, 1, IRECT(1, 2, 3, 99999999999), "
                                            "IRECT(1, 2, 3, 4), false);\n" + end})
        EXPECT_EQ(LiveEditParseLayoutHeader(text, 1), std::vector<std::string>{""}) << text.substr(0, 60);
    EXPECT_EQ(LiveEditParseLayoutHeader(start + good + end, 1)[0], good);

    std::ofstream(kLiveEditHeaderFile) << start << good << end << std::string(kLiveEditMaxHeaderBytes, ' ');
    LiveEditReadLayoutHeader(State());
    EXPECT_STREQ(State()->viewModeTexts.Get(0)->Get(), "");
    std::filesystem::remove(kLiveEditHeaderFile);

    std::filesystem::create_directory("blocked");
    for (const char* path : {"missing/LiveEditLayout.h", "blocked", ""}) {
        EXPECT_FALSE(LiveEditSaveLayoutFile("text", path)) << path;
        int entries = 0;
        for (const auto& e : std::filesystem::directory_iterator(".")) entries += e.path().filename() != "blocked";
        EXPECT_EQ(entries, 0) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory("blocked"));
}

// A save whose write runs out of room, or whose rename fails, leaves the last header
// whole and no temporary file beside it; the cause is told once and the failure is
// kept for the unchanged layout, until a later change is saved.
TEST_F(LiveEditHeaderTest, AFailedWriteOrRenameLeavesTheOldHeaderAndKeepsTheError) {
    BuildPanel(false);
    ASSERT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0));
    rlimit fileSize{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &fileSize), 0);
    void (*oldSignal)(int) = SIG_DFL;
    auto limitFiles = [&](bool on) {  // past 100 bytes a write fails with EFBIG
        if (on) oldSignal = signal(SIGXFSZ, SIG_IGN);
        else signal(SIGXFSZ, oldSignal);
        rlimit r = fileSize;
        if (on) r.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &r);
    };
    const struct { const char* name; std::function<void(bool)> fault; int error; } cases[] = {
        {"write", limitFiles, EFBIG},
        {"rename", [](bool on) { gRenameFailsWith = on ? EIO : 0; }, EIO},
    };
    int left = 11;
    for (const auto& c : cases) {
        const std::string old = ReadFile(kLiveEditHeaderFile);
        State()->attachOrder.Get(1)->GetRECT()->L = left++;
        testing::internal::CaptureStderr();
        c.fault(true);
        const bool first = LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0);
        const bool again = LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0);
        c.fault(false);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::tuple(first, again, told),
                  std::tuple(false, false, std::string("Layout editor: cannot write ") + kLiveEditHeaderFile + ": " +
                                               std::strerror(c.error) + "\n")) << c.name;
        EXPECT_EQ(ReadFile(kLiveEditHeaderFile), old) << c.name;
        std::vector<std::string> entries;
        for (const auto& e : std::filesystem::directory_iterator(".")) entries.push_back(e.path().filename());
        EXPECT_EQ(entries, std::vector<std::string>{kLiveEditHeaderFile}) << c.name;

        State()->attachOrder.Get(1)->GetRECT()->L = left++;
        EXPECT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0)) << c.name;
        EXPECT_NE(ReadFile(kLiveEditHeaderFile).find("GetControl(1)->SetDrawRECT(IRECT(" + std::to_string(left - 1) + ", 10, 30, 30))"),
                  std::string::npos) << c.name;
    }
}

TEST_F(LiveEditHeaderTest, UnchangedLayoutIsNotWrittenAgain) {
    BuildPanel(false);
    ASSERT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0));
    const std::string first = ReadFile(kLiveEditHeaderFile);
    std::filesystem::remove(kLiveEditHeaderFile);
    EXPECT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0));
    EXPECT_FALSE(std::filesystem::exists(kLiveEditHeaderFile));
    g->GetControl(1)->GetRECT()->L = 11;
    EXPECT_TRUE(LiveEditWriteLayoutHeader(1.0, State(), g, nullptr, 0));
    EXPECT_NE(ReadFile(kLiveEditHeaderFile), first);
}

}  // namespace
}  // namespace guitest
