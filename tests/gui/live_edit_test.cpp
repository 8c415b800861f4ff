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
using A = LiveEditMenuAction;

TEST(LiveEditSwitch, OnlyTheEnvironmentVariableSwitchesItOnAndThenEHoldsAndReleasesTheMouse) {
    for (const char* value : {"", "0", "yes"}) {
        testutil::ScopedEnv env("QD_LIVE_EDIT", value);
        EXPECT_FALSE(LiveEditSwitchOn()) << value;
    }
    testutil::ScopedEnv env("QD_LIVE_EDIT", "1");
    EXPECT_TRUE(LiveEditSwitchOn());
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
        const auto* px = static_cast<const uint8_t*>(p.g->GetDrawBitmap()->getBits());
        const bool drawn = std::any_of(px, px + 200 * 200 * 4, [](uint8_t b) { return b != 0; });
        EXPECT_EQ(std::tuple(p.g->LiveEditHoldsMouse(), drawn, p.State()->mHeaderRead),
                  std::tuple(c.holds, c.holds, c.on));
        EXPECT_EQ(std::filesystem::exists(kLiveEditHeaderFile), c.on);
        IMouseMod left(true);
        p.g->OnMouseDown(15, 15, &left);
        EXPECT_EQ(std::find(p.log.begin(), p.log.end(), "c1 down 15,15") != p.log.end(), !c.holds);
        p.g->OnMouseUp(15, 15, &left);
        EXPECT_FALSE(p.g->GetMouseMod()->L) << "the copy the editor reads shows the button released";
    }
}

TEST(LiveEditDrag, SnapsToTheGridTowardZeroUnlessOptionIsHeld) {
    const struct { const char* name; int grid; double scale; bool option; int x0, y0, x1, y1; IRECT expected; } cases[] = {
        {"move", 10, 1.0, false, 10, 10, 23, 37, {10, 30, 30, 50}},
        {"move, Option", 10, 1.0, true, 10, 10, 23, 37, {18, 32, 38, 52}},
        {"move left of 0", 10, 1.0, false, 10, 10, -2, 10, {0, 0, 20, 20}},
        {"resize on the grip", 10, 1.0, false, 24, 24, 37, 44, {5, 5, 30, 40}},
        {"resize, Option", 10, 1.0, true, 24, 24, 37, 44, {5, 5, 38, 45}},
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
    const struct { bool undo; IRECT expected; } steps[] = {{true, l1}, {true, l0}, {true, l0}, {false, l1}, {false, l2},
                                                           {false, l2}, {true, l1}, {false, l2}};
    for (const auto& s : steps) {
        s.undo ? LiveEditUndo(&f) : LiveEditRedo(&f);
        EXPECT_EQ(Rect(1), s.expected) << "step " << &s - steps;
    }
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
        for (int k = 0; k < p.g->NControls(); ++k) order.push_back(p.State()->mAttachOrder.Find(p.g->GetControl(k)));
        EXPECT_EQ(order, c.order) << int(c.item) << " on " << c.selected;
        EXPECT_EQ(p.State()->mHistories[0].mSnapshots.size(), 1u);
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
        // The rows as "text" with "-" for a disabled row and "|" for a separator.
        std::string rows;
        for (const MenuItemSeen& item : g->menus[0])
            rows += item.flags & IPopupMenuItem::kSeparator
                        ? "|"
                        : item.text + (item.flags & IPopupMenuItem::kDisabled ? "-," : ",");
        EXPECT_EQ(std::tuple(rows, State()->mSelected), std::tuple(c.rows, c.selected)) << c.name;
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
        EXPECT_EQ(std::tuple(p.State()->mDeleted.GetSize(), p.g->GetControl(2)->IsHidden()),
                  std::tuple(answer == 1 ? 1 : 0, answer == 1));
        if (answer == 2) {
            EXPECT_TRUE(p.State()->mHistories.empty() || p.State()->mHistories[0].mSnapshots.empty());
            continue;
        }
        EXPECT_EQ(*p.State()->mDeleted.GetAt(0), 2);
        // The other view mode was shown, hidden there and written; control 3 closes the gap.
        EXPECT_NE(std::find(p.views.calls.begin(), p.views.calls.end(), "show 1"), p.views.calls.end());
        EXPECT_NE(ReadFile(kLiveEditHeaderFile).find("LiveEditSetLayout(0, 2, 2, IRECT(70, 10, 90, 30)"),
                  std::string::npos);
        p.Undo();  // brings it back everywhere
        EXPECT_EQ(std::tuple(p.State()->mDeleted.GetSize(), p.g->GetControl(2)->IsHidden()), std::tuple(0, false));
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

}  // namespace
}  // namespace guitest
