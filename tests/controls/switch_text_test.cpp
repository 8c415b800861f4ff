#include <cmath>
#include <cstring>

#include "controls_fixture.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"

using namespace ctltest;

namespace {

TEST(FrameForValue, NearestFrameWithinTheStrip) {
    const struct { int frames; double value; int frame; } cases[] = {
        {1, 0.7, 1}, {2, 0.4999, 1}, {2, 0.5, 2}, {4, 1 / 6.0 - 1e-9, 1}, {4, 1 / 6.0 + 1e-9, 2}, {4, 5 / 6.0 + 1e-9, 4},
        {64, 0.5, 33}, {64, 1.0, 64}, {64, -0.3, 1}, {64, 1.7, 64}, {0, 0.5, 1}, {4, std::nan(""), 1}};
    for (const auto& c : cases) EXPECT_EQ(FrameForValue(c.frames, c.value), c.frame) << c.frames << " " << c.value;
}

using Switches = ControlsFixture;

TEST_F(Switches, ClicksStepAndWrap) {
    struct Case {
        int frames;
        std::vector<double> values;  // after each click; the third is a double click
    } cases[] = {{2, {1, 0, 1, 0}}, {4, {1 / 3.0, 2 / 3.0, 1, 0, 1 / 3.0}}, {1, {1, 0}}};
    for (const Case& c : cases) {
        auto* sw = Add(new ISwitchControl(&plug, 10, 10, kParamUnit, Strip(c.frames, 8, 6)));
        for (size_t i = 0; i < c.values.size(); ++i) {
            i == 2 ? sw->OnMouseDblClick(0, 0, &left) : sw->OnMouseDown(0, 0, &right);
            EXPECT_NEAR(sw->GetValue(), c.values[i], 1e-12) << c.frames << " frames, click " << i;
        }
    }
    auto* contact = Add(new IContactControl(&plug, 0, 0, kParamUnit, Strip(3, 4, 4)));
    contact->OnMouseDown(1, 1, &left);
    contact->OnMouseUp(1, 1, &left);
    EXPECT_EQ(plug.GetParam(kParamUnit)->Value(), 0.0);
    auto* inv = Add(new IInvisibleSwitchControl(&plug, IRECT(0, 0, 5, 5), kParamUnit));
    for (auto [before, after] : {std::pair{0.4, 1.0}, {0.5, 0.0}}) {
        inv->SetValueFromPlug(before);
        inv->OnMouseDown(1, 1, &left);
        EXPECT_EQ(inv->GetValue(), after) << before;
    }
}

TEST_F(Switches, FrameAreasSliceTheFrame) {
    auto* stacked = Add(new ISwitchFramesControl(&plug, 100, 100, kParamUnit, Strip(3, 10, 21), false));
    auto* columns = Add(new ISwitchFramesControl(&plug, 100, 100, kParamUnit, Strip(5, 30, 4, true), true));
    auto* single = Add(new ISwitchFramesControl(&plug, 0, 0, kParamUnit, Strip(1, 4, 4)));
    struct Case {
        ISwitchFramesControl* c;
        int x, y;
        double value;  // 0.75: no area, the value stays
    } cases[] = {{stacked, 109, 106, 0.0}, {stacked, 100, 107, 0.5}, {stacked, 105, 120, 1.0}, {stacked, 99, 99, 0.75},
                 {columns, 106, 103, 0.25}, {columns, 129, 100, 1.0}, {single, 1, 1, 0.0}};
    for (const Case& c : cases) {
        c.c->SetValueFromPlug(0.75);
        c.c->OnMouseDown(c.x, c.y, &left);
        EXPECT_EQ(c.c->GetValue(), c.value) << c.x << "," << c.y;
    }
}

TEST_F(Switches, RadioButtonsInEveryDirectionAndScale) {
    // 3 buttons of 10 x 8 in {20, 30, 80, 90}: the spare pixels make 2 equal gaps.
    struct Case { int direction; double scale; IRECT b[3]; } cases[] = {
        {0, 1.0, {{20, 30, 30, 38}, {20, 56, 30, 64}, {20, 82, 30, 90}}},
        {1, 1.0, {{55, 30, 65, 38}, {30, 30, 40, 38}, {5, 30, 15, 38}}},
        {2, 1.0, {{20, 64, 30, 72}, {20, 38, 30, 46}, {20, 12, 30, 20}}},
        {0, 1.5, {{20, 30, 30, 38}, {20, 71, 30, 79}, {20, 112, 30, 120}}},
        {1, 1.5, {{80, 45, 90, 53}, {40, 45, 50, 53}, {0, 45, 10, 53}}},
        {2, 1.5, {{30, 94, 40, 102}, {30, 53, 40, 61}, {30, 12, 40, 20}}},
    };
    for (const Case& c : cases) {
        auto* radio =
            Add(new IRadioButtonsControl(&plug, IRECT(20, 30, 80, 90), kParamUnit, 3, Strip(2, 10, 8), c.direction));
        radio->AfterGUIResize(c.scale);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(*radio->GetButton(i), c.b[i]) << c.direction << " at " << c.scale << ", button " << i;
            radio->OnMouseDown(c.b[i].L, c.b[i].B - 1, &left);
            EXPECT_EQ(radio->GetValue(), i / 2.0);
        }
    }
    auto* one = Add(new IRadioButtonsControl(&plug, IRECT(0, 0, 10, 10), kParamUnit, 1, Strip(2, 10, 4)));
    EXPECT_EQ(*one->GetButton(0), IRECT(0, 0, 10, 4)) << "one button: no gap";
    one->OnMouseDown(1, 1, &left);
    EXPECT_EQ(one->GetValue(), 0.0);
}

using Texts = ControlsFixture;

TEST_F(Texts, ResizeScalesOnlyTheSizeSoSecureStaysSecure) {
    IText style(10, COLOR_BLUE, "Courier", IText::kStyleItalic, IText::kAlignFar);
    style.mEntryKind = IText::kEntrySecure;
    auto* t = Add(new IEditableTextControl(&plug, IRECT(10, 10, 90, 30), kParamUnit, &style, "pw", false, true));
    for (auto [scale, size] : {std::pair{1.5, 15}, {0.5, 5}, {1.99, 19}}) {
        t->AfterGUIResize(scale);
        IText expected = style;
        expected.mSize = size;
        EXPECT_EQ(std::memcmp(t->GetText(), &expected, sizeof expected), 0) << scale;
    }
    Open();
    t->OnMouseDown(12, 12, &left);
    ASSERT_NE(hv->ActiveTextField(), nullptr);
    EXPECT_TRUE(hv->ActiveTextField()->Setup().secure);
}

TEST_F(Switches, OverlayAndBackgrounds) {
    auto* overlay = Add(new IBitmapOverlayControl(&plug, 50, 40, Strip(2, 100, 80), IRECT(10, 10, 20, 20)));
    overlay->OnMouseDown(12, 12, &left);
    EXPECT_EQ(*overlay->GetTargetRECT(), IRECT(50, 40, 150, 120));
    overlay->AfterGUIResize(1.5);
    EXPECT_EQ(overlay->GetClosedTarget(), IRECT(15, 15, 30, 30));

    graphics->AttachPanelBackground(&COLOR_GRAY);
    graphics->AttachBackground(9001, "no-such-image.png");  // a missing image still makes a control
    ASSERT_EQ(graphics->NControls(), 3);
    EXPECT_NE(dynamic_cast<IBitmapControl*>(graphics->GetControl(0)), nullptr);
    auto* panel = dynamic_cast<IPanelControl*>(graphics->GetControl(1));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(overlay->GetIndex(), 2);
    DrawAlone(panel);
    EXPECT_EQ(Pixel(399, 299), COLOR_GRAY);
}

}  // namespace
