// The control list, the parameter fan-out, dirty rectangles and the redraw, and the
// control base's values, prompt and display controls.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "recording_graphics.h"

using namespace guitest;

namespace {

struct GraphicsFixture : GuiFixture {
    GraphicsFixture() : GuiFixture(3, 100, 60) {}
    void SetUp() override {
        plug.GetParam(0)->InitInt("a", 10, 0, 100);
        plug.GetParam(1)->InitEnum("mode", 1, 3);
        for (int i = 0; i < 3; ++i) plug.GetParam(1)->SetDisplayText(i, std::string(1, char('A' + i)).c_str());
        plug.GetParam(2)->InitBool("c", false);
    }
};

TEST_F(GraphicsFixture, ParameterPathRunsUnderTheMutexInHookOrder) {
    LogControl* knob = Add("knob", IRECT(0, 0, 10, 10), 0);
    LogControl* twin = Add("twin", IRECT(20, 0, 30, 10), 0);
    LogControl* other = Add("other", IRECT(40, 0, 50, 10), 1);
    Attach();
    EXPECT_EQ(std::tuple(knob->GetValue(), twin->GetDefaultValue(), other->GetValue()), std::tuple(0.1, 0.1, 0.5));
    CleanAll();
    log.clear();

    knob->SetValueFromUserInput(0.42);
    EXPECT_EQ(plug.GetParam(0)->Value(), 42.0);
    EXPECT_EQ(log, (Log{"inform 0", "change 0 locked"}));
    EXPECT_FALSE(plug.MutexHeldElsewhere()) << "released afterwards";

    plug.RedrawParamControls();
    EXPECT_EQ(twin->GetValue(), 0.42);
    EXPECT_TRUE(twin->IsDirty());
    EXPECT_FALSE(other->IsDirty()) << "an unchanged value redraws nothing";
}

TEST_F(GraphicsFixture, DirtyRectangleIsTheUnionOfDirtyControls) {
    Add("bg", IRECT(0, 0, 100, 60));
    LogControl* zero = Add("zero", IRECT());
    LogControl* a = Add("a", IRECT(10, 10, 20, 20));
    LogControl* b = Add("b", IRECT(50, 5, 60, 15));
    CleanAll();
    for (LogControl* c : {a, b, zero}) c->SetDirty(false);
    IRECT r;
    EXPECT_TRUE(graphics->IsDirty(&r));
    EXPECT_EQ(r, IRECT(10, 5, 60, 20)) << "a zero-size control never widens the rectangle";

    // A running animation keeps its control dirty until the run ends.
    CleanAll();
    for (int step = 0; step < 3; ++step) {
        a->GetAnimation()->Start("fade", true, 2, 2, 0, 0, 0.0, 1.0);
        IRECT ar;
        EXPECT_EQ(graphics->IsDirty(&ar), step < 2) << step;
        EXPECT_TRUE(step < 2 ? ar == IRECT(10, 10, 20, 20) : ar.Empty()) << step;
        a->SetClean();
    }
}

TEST_F(GraphicsFixture, RectangleRedrawDrawsWhatMeetsAndCleansEverything) {
    Add("bg", IRECT(0, 0, 100, 60));
    Add("edge", IRECT(40, 0, 50, 10));    // starts at the requested right edge: drawn
    Add("below", IRECT(10, 30, 20, 40));  // starts at the bottom edge: drawn
    Add("left", IRECT(0, 0, 10, 10));     // ends at the left edge: not drawn
    LogControl* hidden = Add("hidden", IRECT(20, 20, 30, 30));
    LogControl* zero = Add("zero", IRECT());
    hidden->Hide(true);
    graphics->PrepDraw();
    IRECT r(10, 5, 40, 30);
    log.clear();
    EXPECT_TRUE(graphics->Draw(&r));
    EXPECT_EQ(log, (Log{"bg draw", "edge draw", "below draw", "screen"}));
    EXPECT_EQ(graphics->screens.back(), r);
    EXPECT_TRUE(hidden->IsDirty()) << "hiding asked for one more redraw";
    EXPECT_FALSE(zero->IsDirty());
    graphics->Draw(&r);
    EXPECT_FALSE(hidden->IsDirty());
    graphics->screenResult = false;
    EXPECT_FALSE(graphics->Draw(&r));
}

TEST_F(GraphicsFixture, DirtyControlRedrawRepaintsWhatOverlapsEachDirtyControl) {
    LogControl* bg = Add("bg", IRECT(0, 0, 100, 60));
    Add("x", IRECT(0, 0, 30, 30));
    LogControl* y = Add("y", IRECT(20, 20, 40, 40));
    Add("far", IRECT(80, 50, 90, 55));
    LogControl* hidden = Add("hidden", IRECT(25, 25, 35, 35));
    graphics->PrepDraw();
    graphics->SetRectRedraw(false);
    CleanAll();
    hidden->Hide(true);
    hidden->SetClean();
    hidden->SetDirty(false);
    bg->SetClean();
    y->SetDirty(false);
    IRECT r(0, 0, 100, 60);
    log.clear();
    EXPECT_TRUE(graphics->Draw(&r));
    // y repaints what it overlaps; the hidden one is not drawn, but what lay under it is.
    EXPECT_EQ(log, (Log{"bg draw", "x draw", "y draw", "bg draw", "x draw", "y draw", "screen"}));
    EXPECT_FALSE(y->IsDirty());
    EXPECT_FALSE(hidden->IsDirty()) << "a hidden dirty control is cleaned without drawing";
    EXPECT_EQ(*graphics->GetDrawRECT(), IRECT(25, 25, 35, 35));
}

TEST_F(GraphicsFixture, ParameterOperationsReachTheBoundControlsAndAuxiliaryBindings) {
    LogControl* unbound = Add("u", IRECT(0, 0, 10, 10));
    LogControl* bound = Add("b", IRECT(0, 0, 10, 10), 2);
    unbound->AddAuxParam(0);
    Attach();
    graphics->HideControl(-1, true);  // names no parameter: not the unbound controls either
    graphics->SetParameterFromPlug(-1, 0.7, true);
    graphics->HideControl(2, true);
    graphics->SetParameterFromPlug(2, 1.0, false);   // not normalised: converted first
    graphics->SetParameterFromPlug(0, 30.0, false);  // reaches the auxiliary binding only
    EXPECT_EQ(std::tuple(bound->IsHidden(), bound->GetValue(), unbound->IsHidden(), unbound->GetValue()),
              std::tuple(true, 1.0, false, 0.0));
    EXPECT_EQ(std::tuple(graphics->IsControlHidden(2), unbound->GetAuxParam(0)->mValue), std::tuple(true, 0.3));
    graphics->ClampControl(2, 0.0, 0.5, true);
    graphics->SetControlsFromUserInput(2, 0.9);
    EXPECT_EQ(bound->GetValue(), 0.5);
    EXPECT_EQ(plug.GetParam(2)->Value(), 1.0);  // 0.5 rounds to the bool's step
    unbound->GetAuxParam(0)->mValue = 0.55;
    unbound->SetAllAuxParamsFromGUI();
    EXPECT_EQ(plug.GetParam(0)->Value(), 55.0);
    graphics->AssignParamNameToolTips();
    EXPECT_EQ(std::tuple(std::string(bound->GetTooltip()), std::string(unbound->GetTooltip())), std::tuple("c", ""));
}

TEST_F(GraphicsFixture, ListEditsKeepTheBackgroundAndRenumber) {
    LogControl* c[5];
    for (int i = 0; i < 5; ++i) c[i] = Add("c", IRECT(0, 0, 1, 1));
    auto* spare = new LogControl(&plug, &log, "s", IRECT());
    for (int idx : {0, -1, 5}) graphics->ReplaceControl(idx, spare);  // background or outside: refused
    EXPECT_EQ(graphics->GetControl(0), c[0]);
    delete spare;
    graphics->MoveControlBehind(3, 1);
    graphics->MoveControlBehind(0, 2);  // the background stays
    graphics->SwapControls(0, 4);
    const IControl* order[] = {c[0], c[3], c[1], c[2], c[4]};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(graphics->GetControl(i), order[i]) << i;
        EXPECT_EQ(graphics->GetControl(i)->GetIndex(), i);
    }
    graphics->RemoveControl(2);
    graphics->RemoveControl(9);
    EXPECT_EQ(std::tuple(graphics->NControls(), graphics->GetControlIdx(c[1]), c[2]->GetIndex()), std::tuple(4, -1, 2));
    delete c[1];
}

TEST_F(GraphicsFixture, FirstValueFromPlugBecomesDefaultAndTheDisplaysFollowTheValue) {
    Attach();
    LogControl c(&plug, &log, "c", IRECT(0, 0, 10, 10), 0), shown(&plug, &log, "value", IRECT()),
        name(&plug, &log, "name", IRECT());
    c.SetClean();
    c.SetValueFromPlug(0.3);
    EXPECT_EQ(std::tuple(c.GetDefaultValue(), c.IsDirty()), std::tuple(0.3, false));
    c.SetValueFromPlug(0.6);
    EXPECT_EQ(std::tuple(c.GetDefaultValue(), c.IsDirty()), std::tuple(0.3, true));
    c.SetClean();
    EXPECT_TRUE(c.IsDirty()) << "a changed control is drawn on the next tick as well";
    c.SetClean();
    EXPECT_FALSE(c.IsDirty());
    EXPECT_TRUE(log.empty()) << "values from the plug-in never push back";

    c.SetValueFromUserInput(0.6);  // the current value: nothing pushed
    EXPECT_TRUE(log.empty());
    c.SetValueFromUserInput(std::nan(""));
    EXPECT_EQ(c.GetValue(), 0.0);
    c.SetValueDisplayControl(&shown);
    c.SetNameDisplayControl(&name);
    c.SetValueFromUserInput(1.7);
    EXPECT_EQ(std::tuple(c.GetValue(), plug.GetParam(0)->Value()), std::tuple(1.0, 100.0));
    // A display already showing the text is not sent it again.
    log.clear();
    c.SetDirty(false);
    EXPECT_EQ(std::tuple(shown.lastText, name.lastText, log.size()), std::tuple("100 ", "a", 0u));

    // A double click restores the first value the plug-in gave.
    IMouseMod mod;
    c.OnMouseDblClick(1, 1, &mod);
    EXPECT_EQ(std::tuple(c.GetValue(), plug.GetParam(0)->Value()), std::tuple(0.3, 30.0));
    EXPECT_EQ(log, (Log{"c dbl 1,1", "inform 0", "change 0 locked", "value text 30 "}));
}

TEST_F(GraphicsFixture, RightClickPromptsInTheRightRectangleAndTheChoiceComesBack) {
    Attach();
    LogControl* number = Add("n", IRECT(0, 0, 101, 51), 0);
    LogControl* listed = Add("l", IRECT(5, 5, 50, 20), 1);
    LogControl* plain = Add("p", IRECT(0, 60, 10, 70), 0);
    number->SetPromptDisabled(false);
    listed->SetPromptDisabled(false);
    IMouseMod right(false, true), left(true);

    number->OnMouseDown(1, 1, &right);
    ASSERT_EQ(graphics->textEntries.size(), 1u);
    EXPECT_EQ(graphics->textEntries[0].rect, IRECT(30, 17, 70, 33));
    EXPECT_EQ(graphics->textEntries[0].text, "10");
    graphics->menuReplies = {2, -1};
    listed->OnMouseDown(1, 1, &right);
    EXPECT_EQ(plug.GetParam(1)->Value(), 2.0);
    listed->OnMouseDown(1, 1, &right);  // dismissed: unchanged
    EXPECT_EQ(plug.GetParam(1)->Value(), 2.0);
    ASSERT_EQ(graphics->menus.size(), 2u);
    EXPECT_EQ(graphics->menuRects[0], IRECT(5, 5, 50, 20));
    EXPECT_EQ(graphics->menus[1][2].flags, IPopupMenuItem::kChecked) << "the current text is checked";

    plain->OnMouseDown(1, 61, &right);  // prompt still disabled
    number->OnMouseDown(1, 1, &left);
    EXPECT_EQ(std::tuple(graphics->textEntries.size(), graphics->menus.size()), std::tuple(1u, 2u));
}

}  // namespace
