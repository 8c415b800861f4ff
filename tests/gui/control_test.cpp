#include <gtest/gtest.h>

#include "recording_graphics.h"

using namespace guitest;

namespace {

struct ControlFixture : GuiFixture {
    ControlFixture() : GuiFixture(4, 200, 100) {}

    void SetUp() override {
        plug.GetParam(0)->InitInt("level", 0, 0, 100);
        plug.GetParam(1)->InitEnum("mode", 1, 3);
        plug.GetParam(1)->SetDisplayText(0, "A");
        plug.GetParam(1)->SetDisplayText(1, "B");
        plug.GetParam(1)->SetDisplayText(2, "C");
        Attach();
    }
};

}  // namespace

TEST_F(ControlFixture, FirstValueFromPlugBecomesDefaultWithoutRedraw) {
    LogControl c(&plug, &log, "c", IRECT(0, 0, 10, 10), 0);
    c.SetClean();
    c.SetValueFromPlug(0.3);
    EXPECT_EQ(c.GetValue(), 0.3);
    EXPECT_EQ(c.GetDefaultValue(), 0.3);
    EXPECT_FALSE(c.IsDirty());
    c.SetValueFromPlug(0.6);
    EXPECT_TRUE(c.IsDirty());
    EXPECT_EQ(c.GetDefaultValue(), 0.3);
    c.SetClean();
    EXPECT_TRUE(c.IsDirty()) << "a changed control is drawn on the next tick as well";
    c.SetClean();
    EXPECT_FALSE(c.IsDirty());
    EXPECT_TRUE(log.empty()) << "values from the plug-in never push back";
}

TEST_F(ControlFixture, UserInputPushesOnlyChanges) {
    LogControl c(&plug, &log, "c", IRECT(0, 0, 10, 10), 0);
    c.SetValueFromUserInput(0.0);  // the current value
    EXPECT_TRUE(log.empty());
    c.SetValueFromUserInput(0.5);
    EXPECT_EQ(plug.GetParam(0)->Value(), 50.0);
    EXPECT_EQ(log, (Log{"inform 0", "change 0 locked"}));
}

TEST_F(ControlFixture, SetDirtyClampsToTheClampRange) {
    struct Case { double lo, hi, value, clamped; } cases[] = {
        {0, 1, 1.7, 1.0}, {0, 1, -0.2, 0.0}, {0, 1, 0.4, 0.4}, {0.25, 0.75, 0.1, 0.25}, {0.25, 0.75, 0.9, 0.75},
        {0, 1, std::nan(""), 0.0},
    };
    for (const auto& c : cases) {
        LogControl ctl(nullptr, nullptr, "c", IRECT(0, 0, 1, 1), -1);
        ctl.Clamp(c.lo, c.hi);
        ctl.SetValueFromUserInput(c.value);
        EXPECT_EQ(ctl.GetValue(), c.clamped) << c.value;
    }
}

TEST_F(ControlFixture, DoubleClickRestoresTheDefaultOnceKnown) {
    LogControl c(&plug, &log, "c", IRECT(0, 0, 10, 10), 0);
    IMouseMod mod;
    c.OnMouseDblClick(1, 1, &mod);
    EXPECT_EQ(c.GetValue(), 0.0);
    EXPECT_EQ(log, (Log{"c dbl 1,1"})) << "no default yet: nothing reaches the plug-in";
    c.SetValueFromPlug(0.2);
    c.SetValueFromUserInput(0.9);
    log.clear();
    c.OnMouseDblClick(1, 1, &mod);
    EXPECT_EQ(c.GetValue(), 0.2);
    EXPECT_EQ(plug.GetParam(0)->Value(), 20.0);
    EXPECT_EQ(log, (Log{"c dbl 1,1", "inform 0", "change 0 locked"}));
}

TEST_F(ControlFixture, HitTestIsHalfOpenAndEmptyNeverHits) {
    LogControl c(nullptr, nullptr, "c", IRECT(10, 20, 30, 40));
    struct Case { int x, y; bool hit; } cases[] = {
        {10, 20, true}, {29, 39, true}, {30, 25, false}, {15, 40, false}, {9, 25, false}, {15, 19, false},
    };
    for (const auto& k : cases) EXPECT_EQ(c.IsHit(k.x, k.y), k.hit) << k.x << "," << k.y;
    LogControl empty(nullptr, nullptr, "e", IRECT());
    EXPECT_FALSE(empty.IsHit(0, 0));
}

TEST_F(ControlFixture, MoveHideAndGrayOut) {
    LogControl c(nullptr, nullptr, "c", IRECT(10, 20, 60, 40));
    c.SetTargetRECT(IRECT(0, 0, 5, 5));
    c.MoveTo(100, 50);
    EXPECT_EQ(*c.GetRECT(), IRECT(100, 50, 150, 70));
    EXPECT_EQ(*c.GetTargetRECT(), IRECT(100, 50, 150, 70));

    c.SetBlend(0.6f);
    c.GrayOut(true);
    EXPECT_TRUE(c.IsGrayed());
    EXPECT_FLOAT_EQ(c.GetBlend()->mWeight, 0.25f);
    c.GrayOut(false);
    EXPECT_FLOAT_EQ(c.GetBlend()->mWeight, 1.0f);

    c.SetClean();
    c.SetClean();
    c.Hide(true);
    EXPECT_TRUE(c.IsHidden());
    EXPECT_TRUE(c.IsDirty());
    c.SetClean();
    EXPECT_TRUE(c.IsDirty()) << "hiding requests one more redraw";
}

TEST_F(ControlFixture, RightClickPromptsInTheRightRectangle) {
    LogControl* number = Add("n", IRECT(0, 0, 101, 51), 0);
    LogControl* listed = Add("l", IRECT(5, 5, 50, 20), 1);
    LogControl* plain = Add("p", IRECT(0, 60, 10, 70), 0);
    number->SetPromptDisabled(false);
    listed->SetPromptDisabled(false);
    IMouseMod right(false, true);

    number->OnMouseDown(1, 1, &right);
    ASSERT_EQ(graphics->textEntries.size(), 1u);
    EXPECT_EQ(graphics->textEntries[0].rect, IRECT(30, 17, 70, 33));
    EXPECT_EQ(graphics->textEntries[0].text, "0");

    listed->OnMouseDown(1, 1, &right);
    ASSERT_EQ(graphics->menuRects.size(), 1u);
    EXPECT_EQ(graphics->menuRects[0], IRECT(5, 5, 50, 20));

    plain->OnMouseDown(1, 61, &right);  // prompt still disabled
    IMouseMod left(true);
    number->OnMouseDown(1, 1, &left);
    EXPECT_EQ(graphics->textEntries.size(), 1u);
    EXPECT_EQ(graphics->menus.size(), 1u);

    LogControl stray(&plug, &log, "s", IRECT(0, 0, 10, 10), 99);  // names no parameter
    stray.SetPromptDisabled(false);
    stray.PromptUserInput();
    EXPECT_EQ(graphics->textEntries.size(), 1u);
}

TEST_F(ControlFixture, AuxParamsFollowThePlugIn) {
    LogControl* c = Add("c", IRECT(0, 0, 10, 10), 0);
    c->AddAuxParam(1);
    c->AddAuxParam(2);
    EXPECT_EQ(c->AuxParamIdx(2), 1);
    EXPECT_EQ(c->AuxParamIdx(3), -1);
    c->SetClean();
    c->SetClean();
    graphics->SetParameterFromPlug(2, 0.5, true);
    EXPECT_EQ(c->GetAuxParam(1)->mValue, 0.5);
    EXPECT_TRUE(c->IsDirty());
    plug.GetParam(2)->InitDouble("x", 0, 0, 10, 0.1);
    c->GetAuxParam(0)->mValue = 1.0;
    log.clear();
    c->SetAllAuxParamsFromGUI();
    EXPECT_EQ(plug.GetParam(1)->Value(), 2.0);
    EXPECT_EQ(plug.GetParam(2)->Value(), 5.0);
    EXPECT_EQ(log, (Log{"inform 1", "change 1 locked", "inform 2", "change 2 locked"}));
}
