#include <gtest/gtest.h>

#include <tuple>
#include <cmath>
#include <utility>

#include "recording_graphics.h"

using namespace guitest;

namespace {

struct ControlFixture : GuiFixture {
    ControlFixture() : GuiFixture(4, 200, 100) {}
    void SetUp() override {
        plug.GetParam(0)->InitInt("level", 0, 0, 100);
        plug.GetParam(1)->InitEnum("mode", 1, 3);
        for (int i = 0; i < 3; ++i) plug.GetParam(1)->SetDisplayText(i, std::string(1, char('A' + i)).c_str());
        Attach();
    }
};

TEST_F(ControlFixture, FirstValueFromPlugBecomesDefaultWithoutRedraw) {
    LogControl c(&plug, &log, "c", IRECT(0, 0, 10, 10), 0);
    c.SetClean();
    c.SetValueFromPlug(0.3);
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

    c.SetValueFromUserInput(0.6);  // the current value: nothing pushed
    EXPECT_TRUE(log.empty());
    c.Clamp(0, 1);
    c.SetValueFromUserInput(std::nan(""));
    EXPECT_EQ(c.GetValue(), 0.0);
    c.SetValueFromUserInput(1.7);
    EXPECT_EQ(std::tuple(c.GetValue(), plug.GetParam(0)->Value()), std::tuple(1.0, 100.0));

    // A double click restores the first value the plug-in gave.
    log.clear();
    IMouseMod mod;
    c.OnMouseDblClick(1, 1, &mod);
    EXPECT_EQ(std::tuple(c.GetValue(), plug.GetParam(0)->Value()), std::tuple(0.3, 30.0));
    EXPECT_EQ(log, (Log{"c dbl 1,1", "inform 0", "change 0 locked"}));
}

TEST_F(ControlFixture, RightClickPromptsInTheRightRectangle) {
    LogControl* number = Add("n", IRECT(0, 0, 101, 51), 0);
    LogControl* listed = Add("l", IRECT(5, 5, 50, 20), 1);
    LogControl* plain = Add("p", IRECT(0, 60, 10, 70), 0);
    number->SetPromptDisabled(false);
    listed->SetPromptDisabled(false);
    IMouseMod right(false, true), left(true);

    number->OnMouseDown(1, 1, &right);
    ASSERT_EQ(graphics->textEntries.size(), 1u);
    EXPECT_EQ(graphics->textEntries[0].rect, IRECT(30, 17, 70, 33));
    EXPECT_EQ(graphics->textEntries[0].text, "0");
    listed->OnMouseDown(1, 1, &right);
    ASSERT_EQ(graphics->menuRects.size(), 1u);
    EXPECT_EQ(graphics->menuRects[0], IRECT(5, 5, 50, 20));

    plain->OnMouseDown(1, 61, &right);  // prompt still disabled
    number->OnMouseDown(1, 1, &left);
    LogControl stray(&plug, &log, "s", IRECT(0, 0, 10, 10), 99);  // names no parameter
    stray.SetPromptDisabled(false);
    stray.PromptUserInput();
    EXPECT_EQ(std::tuple(graphics->textEntries.size(), graphics->menus.size()), std::tuple(1u, 1u));
}

TEST_F(ControlFixture, DisplayControlsShowTheBoundParameter) {
    plug.GetParam(2)->InitDouble("gain", 0, 0, 10, 0.1, "dB");
    LogControl* knob = Add("knob", IRECT(0, 0, 20, 20), 2);
    LogControl* value = Add("value", IRECT(0, 30, 40, 40));
    LogControl* name = Add("name", IRECT(0, 50, 40, 60));
    knob->SetValueDisplayControl(value);
    knob->SetNameDisplayControl(name);
    value->SetClean();
    value->SetClean();
    log.clear();
    knob->SetValueFromUserInput(0.5);
    EXPECT_EQ(log, (Log{"inform 2", "change 2 locked", "value text 5.0 dB", "name text gain"}));
    EXPECT_TRUE(value->IsDirty());

    // A display already showing its text is left alone; a binding that names no
    // parameter shows nothing.
    value->SetClean();
    value->SetClean();
    log.clear();
    knob->SetDirty(false);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(value->IsDirty());
    knob->SetValueFromUserInput(0.7);
    EXPECT_EQ(log, (Log{"inform 2", "change 2 locked", "value text 7.0 dB"}));
    LogControl stray(&plug, &log, "stray", IRECT(0, 0, 1, 1), 99);
    stray.SetValueDisplayControl(value);
    log.clear();
    stray.SetDirty(false);
    EXPECT_TRUE(log.empty());
}

TEST_F(ControlFixture, AuxiliaryBindingsFollowThePlugAndGoBackTogether) {
    plug.GetParam(2)->InitDouble("x", 0, 0, 10, 0.5);
    LogControl* pad = Add("pad", IRECT(0, 0, 20, 20), 0);
    pad->AddAuxParam(2);
    pad->AddAuxParam(1);
    EXPECT_EQ(std::pair(pad->AuxParamIdx(2), pad->AuxParamIdx(1)), std::pair(0, 1));
    EXPECT_EQ(std::tuple(pad->AuxParamIdx(3), pad->GetAuxParam(2)), std::tuple(-1, nullptr));
    pad->SetClean();
    pad->SetClean();

    graphics->SetParameterFromPlug(2, 2.5, false);  // converted: a quarter of the range
    EXPECT_EQ(pad->GetAuxParam(0)->mValue, 0.25);
    EXPECT_TRUE(pad->IsDirty());
    EXPECT_EQ(pad->GetValue(), 0.0) << "the main value belongs to parameter 0";
    pad->SetClean();
    pad->SetClean();
    pad->SetAuxParamValueFromPlug(0, 0.25);  // unchanged: no redraw
    pad->SetAuxParamValueFromPlug(7, 0.5);   // names no binding
    pad->SetAuxParamValueFromPlug(-1, 0.5);
    EXPECT_FALSE(pad->IsDirty());

    pad->GetAuxParam(1)->mValue = 1.0;
    log.clear();
    pad->SetAllAuxParamsFromGUI();
    EXPECT_EQ(std::tuple(plug.GetParam(2)->Value(), plug.GetParam(1)->Value()), std::tuple(2.5, 2.0));
    EXPECT_EQ(log, (Log{"inform 2", "change 2 locked", "inform 1", "change 1 locked"}));
}

TEST_F(ControlFixture, MovingCarriesBothRectanglesAndHitsStopAtTheFarEdges) {
    LogControl c(&plug, &log, "c", IRECT(10, 10, 30, 20), 0);
    c.SetTargetRECT(IRECT(12, 12, 28, 18));
    c.MoveTo(0, 5);
    EXPECT_EQ(*c.GetRECT(), IRECT(0, 5, 20, 15));
    EXPECT_EQ(*c.GetTargetRECT(), IRECT(0, 5, 20, 15)) << "the target becomes the moved draw rectangle";
    struct Hit { int x, y; bool hit; } hits[] = {
        {0, 5, true}, {19, 14, true}, {20, 10, false}, {10, 15, false}, {-1, 10, false}, {10, 4, false},
    };
    for (const Hit& h : hits) EXPECT_EQ(c.IsHit(h.x, h.y), h.hit) << h.x << "," << h.y;
    c.SetTargetRECT(IRECT());
    EXPECT_FALSE(c.IsHit(0, 0)) << "an empty target takes no mouse, not even at the origin";
}

}  // namespace
