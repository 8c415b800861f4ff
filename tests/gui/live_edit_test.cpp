// The layout editor: its switch, the hold key, dragging with the grid, undo and redo,
// and the context menu's actions answered from a script.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>

#include "live_edit_fixture.h"

namespace guitest {
namespace {

using LiveEditTest = LiveEditFixture;

bool AllZero(const PIX_SysBitmap* bm) {
    const auto* p = static_cast<const uint8_t*>(bm->getBits());
    return std::all_of(p, p + size_t(bm->getRowSpan()) * bm->getHeight() * 4, [](uint8_t b) { return b == 0; });
}

TEST(LiveEditHold, OnlyWithTheSwitchOnDoesEHoldTheMouseAndEAgainReleaseIt) {
    const struct { bool on; int presses; bool holds; } cases[] = {{false, 1, false}, {true, 1, true}, {true, 2, false}};
    for (const auto& c : cases) {
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}});
        p.g->SetLiveEdit(c.on, false);
        IRECT all(0, 0, 200, 200);
        for (int i = 0; i < c.presses; ++i) {
            p.g->OnKeyDown(0, 0, kLiveEditKeyHold);
            p.g->PrepDraw();  // a clean buffer: the controls draw nothing themselves
            p.g->Draw(&all);
        }
        EXPECT_EQ(p.g->LiveEditHoldsMouse(), c.holds);
        EXPECT_EQ(AllZero(p.g->GetDrawBitmap()), !c.holds) << "overlay drawn";
        EXPECT_EQ(p.State()->mHeaderRead, c.on);
        EXPECT_EQ(std::filesystem::exists(kLiveEditHeaderFile), c.on);
        IMouseMod left(true);
        p.g->OnMouseDown(15, 15, &left);
        EXPECT_EQ(std::find(p.log.begin(), p.log.end(), "c1 down 15,15") != p.log.end(), !c.holds);
        p.g->OnMouseUp(15, 15, &left);
        // The copy the editor reads must show the button released.
        EXPECT_FALSE(p.g->GetMouseMod()->L);
    }
}

TEST(LiveEditDrag, SnapsToTheGridTowardZeroUnlessOptionIsHeld) {
    const struct {
        const char* name;
        int grid;
        double scale;
        bool option;
        int x0, y0, x1, y1;
        IRECT expected;
    } cases[] = {
        {"move", 10, 1.0, false, 10, 10, 23, 37, {10, 30, 30, 50}},
        {"move, Option", 10, 1.0, true, 10, 10, 23, 37, {18, 32, 38, 52}},
        {"move left of 0", 10, 1.0, false, 10, 10, -2, 10, {0, 0, 20, 20}},
        {"resize on the grip", 10, 1.0, false, 24, 24, 37, 44, {5, 5, 30, 40}},
        {"resize, Option", 10, 1.0, true, 24, 24, 37, 44, {5, 5, 38, 45}},
        {"grid 1", 1, 1.0, false, 10, 10, 23, 37, {18, 32, 38, 52}},
        // With GUI resizing the step is the grid times the scale: 0 at half size.
        {"scale 0.5", 1, 0.5, false, 10, 10, 23, 37, {18, 32, 38, 52}},
        {"scale 2", 5, 2.0, false, 6, 6, 19, 33, {10, 30, 30, 50}},
    };
    for (const auto& c : cases) {
        LiveEditPanel p;
        p.Build({{5, 5, 25, 25}}, c.scale != 1.0);
        p.grid = c.grid;
        p.scale = c.scale;
        p.Drag(1, c.x0, c.y0, c.x1, c.y1, IMouseMod(false, false, false, false, c.option));
        EXPECT_EQ(p.Rect(1), c.expected) << c.name;
    }
}

TEST_F(LiveEditTest, UndoAndRedoWalkTheHistoryAndStopAtItsEnds) {
    Build({{10, 10, 30, 30}});
    const IRECT l0(10, 10, 30, 30), l1(20, 10, 40, 30), l2(20, 20, 40, 40);
    LiveEditFrame f = Frame();
    // An empty history, before any list is sized: nothing moves, nothing breaks.
    LiveEditUndo(&f);
    LiveEditRedo(&f);
    EXPECT_EQ(Rect(1), l0);
    Drag(1, 15, 15, 25, 15);
    Drag(1, 25, 15, 25, 25);
    ASSERT_EQ(Rect(1), l2);
    const struct {
        bool undo;
        IRECT expected;
    } steps[] = {{true, l1}, {true, l0}, {true, l0}, {true, l0}, {false, l1}, {false, l2},
                 {false, l2}, {true, l1}, {false, l2}, {true, l1}, {true, l0}, {false, l1}};
    int n = 0;
    for (const auto& s : steps) {
        s.undo ? LiveEditUndo(&f) : LiveEditRedo(&f);
        EXPECT_EQ(Rect(1), s.expected) << "step " << n++;
        EXPECT_GE(State()->mHistories[0].mPosition, -1);
    }
}

TEST_F(LiveEditTest, ZOrderActionsStopAtBothEndsButStillPushASnapshot) {
    const struct {
        const char* name;
        bool resize;
        int selected;
        LiveEditMenuAction item;
        std::vector<int> order;
    } cases[] = {
        {"to front", false, 1, LiveEditMenuAction::kBringToFront, {0, 2, 3, 1}},
        {"to front below the resize controls", true, 1, LiveEditMenuAction::kBringToFront, {0, 2, 3, 1, 4, 5, 6}},
        {"to back", false, 3, LiveEditMenuAction::kSendToBack, {0, 3, 1, 2}},
        {"forward", false, 2, LiveEditMenuAction::kBringForward, {0, 1, 3, 2}},
        {"forward at the top", false, 3, LiveEditMenuAction::kBringForward, {0, 1, 2, 3}},
        {"backward at index 1", false, 1, LiveEditMenuAction::kSendBackward, {0, 1, 2, 3}},
        {"backward", false, 3, LiveEditMenuAction::kSendBackward, {0, 1, 3, 2}},
    };
    for (const auto& c : cases) {
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}, {40, 10, 60, 30}, {70, 10, 90, 30}}, c.resize);
        p.Menu(c.selected, c.item);
        EXPECT_EQ(p.Order(), c.order) << c.name;
        EXPECT_EQ(p.State()->mHistories[0].mSnapshots.size(), 1u) << c.name;
    }
}

// The menu's rows as "text" with "-" for a disabled row and "|" for a separator.
std::string Rows(const std::vector<MenuItemSeen>& menu) {
    std::string rows;
    for (const MenuItemSeen& item : menu)
        rows += item.flags & IPopupMenuItem::kSeparator
                    ? "|"
                    : item.text + (item.flags & IPopupMenuItem::kDisabled ? "-," : ",");
    return rows;
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
             State()->mGridShown = State()->mMouseCoordinatesShown = true;
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
        EXPECT_EQ(Rows(g->menus[0]), c.rows) << c.name;
        EXPECT_EQ(State()->mSelected, c.selected) << c.name;
        g->menus.clear();
    }
}

TEST(LiveEditMenu, SelectionRowsChangeTheRectanglesOfTheEditModeAndUndoBringsThemBack) {
    const IRECT draw(20, 20, 50, 50), target(25, 25, 55, 55);  // attach-time: (10, 10, 30, 30) both
    const struct {
        LiveEditMenuAction action;
        int mode;
        IRECT draw, target;
        bool hidden;
    } cases[] = {
        {LiveEditMenuAction::kResetPosition, kLiveEditDraw, {10, 10, 40, 40}, target, false},
        {LiveEditMenuAction::kResetPosition, kLiveEditTarget, draw, {10, 10, 40, 40}, false},
        {LiveEditMenuAction::kResetSize, kLiveEditDraw, {20, 20, 40, 40}, target, false},
        {LiveEditMenuAction::kResetSize, kLiveEditTarget, draw, {25, 25, 45, 45}, false},
        {LiveEditMenuAction::kMerge, kLiveEditDraw, target, target, false},
        {LiveEditMenuAction::kMerge, kLiveEditTarget, draw, draw, false},
        {LiveEditMenuAction::kHide, kLiveEditDraw, draw, target, true},
    };
    for (const auto& c : cases) {
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}});
        IControl* control = p.g->GetControl(1);
        *control->GetRECT() = draw;
        control->SetTargetRECT(target);
        p.mode = c.mode;
        p.Menu(1, c.action);
        const int row = LiveEditMenuRow(c.action);
        EXPECT_EQ(std::tuple(*control->GetRECT(), *control->GetTargetRECT(), control->IsHidden()),
                  std::tuple(c.draw, c.target, c.hidden))
            << row << " in mode " << c.mode;
        LiveEditFrame f = p.Frame();
        LiveEditUndo(&f);
        EXPECT_EQ(std::tuple(*control->GetRECT(), *control->GetTargetRECT(), control->IsHidden()),
                  std::tuple(draw, target, false))
            << row << " undone";
    }
}

TEST_F(LiveEditTest, DeleteAsksAndOnlyOKMarksTheControl) {
    for (const int answer : {2, 1}) {
        LiveEditPanel p;
        p.Build({{10, 10, 30, 30}, {40, 10, 60, 30}, {70, 10, 90, 30}}, true);
        p.g->messageBoxReplies.push_back(answer);
        p.Menu(2, LiveEditMenuAction::kDelete);
        ASSERT_EQ(p.g->messageBoxes.size(), 1u);
        const std::string header = ReadFile(kLiveEditHeaderFile);
        if (answer == 2) {
            EXPECT_EQ(p.State()->mDeleted.GetSize(), 0);
            EXPECT_FALSE(p.g->GetControl(2)->IsHidden());
            EXPECT_TRUE(p.State()->mHistories.empty() || p.State()->mHistories[0].mSnapshots.empty());
            continue;
        }
        ASSERT_EQ(p.State()->mDeleted.GetSize(), 1);
        EXPECT_EQ(*p.State()->mDeleted.GetAt(0), 2);
        EXPECT_TRUE(p.g->GetControl(2)->IsHidden());
        // The other view mode was shown, hidden there and written.
        EXPECT_NE(std::find(p.views.calls.begin(), p.views.calls.end(), "show 1"), p.views.calls.end());
        // Control 3 closes the gap left by control 2.
        EXPECT_NE(header.find("LiveEditSetLayout(0, 2, 2, IRECT(70, 10, 90, 30)"), std::string::npos);
        // Undo brings it back everywhere.
        LiveEditFrame f = p.Frame();
        LiveEditUndo(&f);
        EXPECT_EQ(p.State()->mDeleted.GetSize(), 0);
        EXPECT_FALSE(p.g->GetControl(2)->IsHidden());
    }
}

}  // namespace
TEST_F(LiveEditTest, ResetViewWritesTheUnscaledLayout) {
    scale = 2.0;
    Build({{10, 10, 30, 30}}, true);
    Drag(1, 15, 15, 40, 40);
    Menu(1, LiveEditMenuAction::kResetView);
    // Attach-time layout at scale 2 on screen, the attach-time layout in the header.
    EXPECT_EQ(Rect(1), IRECT(20, 20, 60, 60));
    EXPECT_NE(ReadFile(kLiveEditHeaderFile).find("LiveEditSetLayout(0, 1, 1, IRECT(10, 10, 30, 30)"),
              std::string::npos);
}

TEST(LiveEditSwitch, OnlyTheEnvironmentVariableSwitchesItOn) {
    const struct {
        const char* value;
        bool on;
    } cases[] = {{nullptr, false}, {"", false}, {"0", false}, {"yes", false}, {"1", true}};
    for (const auto& c : cases) {
        testutil::ScopedEnv env("QD_LIVE_EDIT", c.value);
        EXPECT_EQ(LiveEditSwitchOn(), c.on) << (c.value ? c.value : "unset");
    }
}

}  // namespace guitest
