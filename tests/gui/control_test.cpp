#include <gtest/gtest.h>

#include <tuple>
#include <cmath>

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
    EXPECT_EQ(std::tuple(graphics->textEntries.size(), graphics->menus.size()), std::tuple(1u, 1u));
}

}  // namespace
