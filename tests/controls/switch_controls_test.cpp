#include <cmath>
#include <string>

#include "controls_fixture.h"
#include "gui/controls/switch_controls.h"

using namespace ctltest;

namespace {

struct FrameCase {
    int frames;
    double value;
    int frame;
};

// trunc((frames - 1) * value + 0.5) + 1 at the edges where the frame changes.
TEST(FrameForValue, PicksTheNearestFrameAndStaysInTheStrip) {
    const FrameCase cases[] = {
        {1, 0.7, 1},   {2, 0.0, 1},      {2, 0.4999, 1},   {2, 0.5, 2},    {2, 1.0, 2},
        {4, 1 / 6.0 - 1e-9, 1},          {4, 1 / 6.0 + 1e-9, 2},           {4, 0.5, 3},    {4, 5 / 6.0 + 1e-9, 4},
        {64, 0.0, 1},  {64, 0.5, 33},    {64, 1.0, 64},    {64, -0.3, 1},  {64, 1.7, 64},
        {0, 0.5, 1},   {4, std::nan(""), 1},
    };
    for (const FrameCase& c : cases)
        EXPECT_EQ(FrameForValue(c.frames, c.value), c.frame) << c.frames << " frames at " << c.value;
}

using Switches = ControlsFixture;

TEST_F(Switches, ClicksStepThroughTheFramesAndWrap) {
    struct Case {
        int frames;
        std::vector<double> values;  // after each click; the third is a double click
    };
    const Case cases[] = {
        {2, {1.0, 0.0, 1.0, 0.0}},
        {4, {1 / 3.0, 2 / 3.0, 1.0, 0.0, 1 / 3.0}},
        {1, {1.0, 0.0}},
    };
    for (const Case& c : cases) {
        auto* sw = Add(new ISwitchControl(&plug, 10, 10, kParamUnit, Strip(c.frames, 8, 6)));
        EXPECT_EQ(*sw->GetRECT(), IRECT(10, 10, 18, 16));
        for (size_t i = 0; i < c.values.size(); ++i) {
            if (i == 2)
                sw->OnMouseDblClick(0, 0, &left);
            else
                sw->OnMouseDown(0, 0, &right);  // any button steps
            EXPECT_NEAR(sw->GetValue(), c.values[i], 1e-12) << c.frames << " frames, click " << i;
            EXPECT_NEAR(plug.GetParam(kParamUnit)->Value(), c.values[i], 1e-3) << "each click reaches the plug-in";
        }
    }
}

TEST_F(Switches, ContactInvisibleAndFramesSwitches) {
    auto* contact = Add(new IContactControl(&plug, 0, 0, kParamUnit, Strip(3, 4, 4)));
    contact->OnMouseDown(1, 1, &left);
    EXPECT_EQ(contact->GetValue(), 0.5);
    contact->OnMouseUp(1, 1, &left);
    EXPECT_EQ(contact->GetValue(), 0.0);
    EXPECT_EQ(plug.GetParam(kParamUnit)->Value(), 0.0);

    auto* inv = Add(new IInvisibleSwitchControl(&plug, IRECT(0, 0, 5, 5), kParamUnit));
    for (auto [before, after] : {std::pair{0.4, 1.0}, {0.5, 0.0}, {1.0, 0.0}, {0.0, 1.0}}) {
        inv->SetValueFromPlug(before);
        inv->OnMouseDown(1, 1, &left);
        EXPECT_EQ(inv->GetValue(), after) << before;
    }

    // Stacked frames cut the one-frame rectangle into bands from the top, side-by-side
    // ones into columns from the left.
    struct AreaCase {
        bool horizontal;
        int x, y;
        double value;
    };
    auto* stacked = Add(new ISwitchFramesControl(&plug, 100, 100, kParamUnit, Strip(3, 10, 21), false));
    auto* sideBySide = Add(new ISwitchFramesControl(&plug, 100, 100, kParamUnit, Strip(5, 30, 4, true), true));
    EXPECT_FALSE(stacked->IsPromptDisabled());
    const AreaCase areas[] = {{false, 100, 100, 0.0}, {false, 109, 106, 0.0}, {false, 100, 107, 0.5},
                              {false, 105, 120, 1.0}, {true, 105, 100, 0.0},  {true, 106, 103, 0.25},
                              {true, 129, 100, 1.0}};
    for (const AreaCase& a : areas) {
        ISwitchFramesControl* c = a.horizontal ? sideBySide : stacked;
        c->SetValueFromPlug(0.75);
        c->OnMouseDown(a.x, a.y, &left);
        EXPECT_EQ(c->GetValue(), a.value) << a.x << "," << a.y;
    }
    stacked->SetValueFromPlug(0.75);
    stacked->OnMouseDown(99, 99, &left);  // outside every area: the value stays
    EXPECT_EQ(stacked->GetValue(), 0.75);

    auto* single = Add(new ISwitchFramesControl(&plug, 0, 0, kParamUnit, Strip(1, 4, 4)));
    single->SetValueFromPlug(0.6);
    single->OnMouseDown(1, 1, &left);
    EXPECT_EQ(single->GetValue(), 0.0) << "one area gives 0, not 0/0";
}

TEST_F(Switches, PopUpSwitchPromptsInsteadOfStepping) {
    Open();
    auto* sw = Add(new ISwitchPopUpControl(&plug, 0, 0, kParamMidi, Strip(2, 40, 20)));
    sw->SetPromptDisabled(false);
    sw->OnMouseDown(1, 1, &left);
    EXPECT_EQ(sw->GetValue(), 0.0);
    ASSERT_NE(hv->ActiveTextField(), nullptr) << "a number parameter prompts with a text entry";
}

TEST_F(Switches, RadioButtonsLayOutInEveryDirectionAndScale) {
    struct Case {
        int direction;
        double scale;
        std::vector<IRECT> buttons;
    };
    // 3 buttons of 10 x 8 in {20, 30, 80, 90}: the spare 60 - 24 (or 60 - 30) pixels
    // are shared out as 2 gaps; scaled edges truncate.
    const Case cases[] = {
        {0, 1.0, {{20, 30, 30, 38}, {20, 56, 30, 64}, {20, 82, 30, 90}}},
        {1, 1.0, {{55, 30, 65, 38}, {30, 30, 40, 38}, {5, 30, 15, 38}}},
        {2, 1.0, {{20, 64, 30, 72}, {20, 38, 30, 46}, {20, 12, 30, 20}}},
        {0, 1.5, {{20, 30, 30, 38}, {20, 71, 30, 79}, {20, 112, 30, 120}}},
        {1, 1.5, {{80, 45, 90, 53}, {40, 45, 50, 53}, {0, 45, 10, 53}}},
        {2, 1.5, {{30, 94, 40, 102}, {30, 53, 40, 61}, {30, 12, 40, 20}}},
    };
    for (const Case& c : cases) {
        auto* radio = Add(new IRadioButtonsControl(&plug, IRECT(20, 30, 80, 90), kParamUnit, 3, Strip(2, 10, 8),
                                                   c.direction));
        radio->AfterGUIResize(c.scale);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(*radio->GetButton(i), c.buttons[i]) << "direction " << c.direction << " scale " << c.scale
                                                          << " button " << i;
        for (int i = 0; i < 3; ++i) {
            const IRECT& b = c.buttons[i];
            radio->OnMouseDown(b.L, b.B - 1, &left);
            EXPECT_EQ(radio->GetValue(), i / 2.0);
            // The chosen button shows frame 2, the others frame 1.
            DrawAlone(radio);
            for (int j = 0; j < 3; ++j) {
                const IRECT& o = c.buttons[j];
                EXPECT_EQ(Pixel(o.L + 1, o.T + 1), FrameColor(j == i ? 2 : 1)) << "button " << j;
            }
        }
    }
}

TEST_F(Switches, RadioButtonsOddCounts) {
    auto* one = Add(new IRadioButtonsControl(&plug, IRECT(0, 0, 10, 10), kParamUnit, 1, Strip(2, 10, 4)));
    EXPECT_EQ(*one->GetButton(0), IRECT(0, 0, 10, 4)) << "one button: no gap, no division by zero";
    one->OnMouseDown(1, 1, &left);
    EXPECT_EQ(one->GetValue(), 0.0);

    auto* three = Add(new IRadioButtonsControl(&plug, IRECT(0, 0, 10, 90), kParamUnit, 3, Strip(2, 10, 4)));
    three->SetValueFromPlug(0.5);
    log.clear();
    three->OnMouseDown(50, 50, &left);  // between the buttons: the same value goes out again
    EXPECT_EQ(three->GetValue(), 0.5);
    EXPECT_EQ(log, (guitest::Log{"inform 0", "change 0 locked"}));
    EXPECT_EQ(three->SelectedButton(), 1);
}

TEST_F(Switches, OverlayOpensInItsSmallAreaAndClosesAnywhere) {
    auto* overlay = Add(new IBitmapOverlayControl(&plug, 50, 40, Strip(2, 100, 80), IRECT(10, 10, 20, 20)));
    EXPECT_EQ(*overlay->GetRECT(), IRECT(50, 40, 150, 120));
    DrawAlone(overlay);
    EXPECT_EQ(*overlay->GetTargetRECT(), IRECT(10, 10, 20, 20));
    EXPECT_EQ(Pixel(60, 50), COLOR_BLACK) << "closed: nothing drawn";
    overlay->OnMouseDown(12, 12, &left);
    DrawAlone(overlay);
    EXPECT_EQ(*overlay->GetTargetRECT(), IRECT(50, 40, 150, 120));
    EXPECT_EQ(Pixel(60, 50), FrameColor(2));
    overlay->AfterGUIResize(1.5);
    EXPECT_EQ(overlay->GetClosedTarget(), IRECT(15, 15, 30, 30));
}

TEST_F(Switches, BackgroundsGoFirstInTheList) {
    auto* a = Add(new IInvisibleSwitchControl(&plug, IRECT(0, 0, 5, 5), -1));
    const IColor grey = COLOR_GRAY;
    graphics->AttachPanelBackground(&grey);
    ASSERT_EQ(graphics->NControls(), 2);
    auto* panel = dynamic_cast<IPanelControl*>(graphics->GetControl(0));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(*panel->GetRECT(), IRECT(0, 0, 400, 300));
    EXPECT_EQ(a->GetIndex(), 1);
    DrawAlone(panel);
    EXPECT_EQ(Pixel(399, 299), grey);

    graphics->AttachBackground(9001, "no-such-image.png");  // a missing image still makes a control
    ASSERT_EQ(graphics->NControls(), 3);
    EXPECT_NE(dynamic_cast<IBitmapControl*>(graphics->GetControl(0)), nullptr);
    EXPECT_EQ(graphics->GetControl(0)->GetBlend()->mMethod, IChannelBlend::kBlendClobber);
    EXPECT_EQ(panel->GetIndex(), 1);
    EXPECT_EQ(a->GetIndex(), 2);
}

}  // namespace
