#include <cmath>

#include "controls_fixture.h"
#include "gui/controls/fader_control.h"
#include "gui/controls/knob_controls.h"

using namespace ctltest;

namespace {

using Knobs = ControlsFixture;

TEST_F(Knobs, DragsAndWheelMoveTheValue) {
    struct Case {
        int direction;
        double gearing;
        int dX, dY;
        IMouseMod mod;
        double start, expected;
    };
    const IMouseMod plain(true);
    const Case cases[] = {
        {IKnobControl::kVertical, 1.0, 0, -10, plain, 0.5, 0.6},
        {IKnobControl::kVertical, 1.0, 0, -10, shift, 0.5, 0.51},
        {IKnobControl::kVertical, 1.0, 0, -10, control, 0.5, 0.51},
        {IKnobControl::kVertical, 1.0, 0, 10, plain, 0.5, 0.4},
        {IKnobControl::kVertical, 2.0, 0, -10, plain, 0.5, 0.55},
        {IKnobControl::kVertical, 1.0, 30, 0, plain, 0.5, 0.5},
        {IKnobControl::kVertical, 1.0, 0, -80, plain, 0.5, 1.0},
        {IKnobControl::kVertical, 1.0, 0, 80, plain, 0.5, 0.0},
        {IKnobControl::kHorizontal, 1.0, 25, -40, plain, 0.0, 0.5},
    };
    for (const Case& c : cases) {
        // 50 wide, 100 high.
        auto* k = Add(new IKnobMultiControl(&plug, 0, 0, kParamUnit, Strip(3, 50, 100), c.direction, c.gearing));
        k->SetValueFromPlug(c.start);
        IMouseMod mod = c.mod;
        k->OnMouseDrag(0, 0, c.dX, c.dY, &mod);
        EXPECT_NEAR(k->GetValue(), c.expected, 1e-12) << c.dX << "," << c.dY;
        EXPECT_NEAR(plug.GetParam(kParamUnit)->Value(), c.expected, 1e-3);
    }

    struct Wheel {
        int d;
        IMouseMod mod;
        double expected;
    };
    for (Wheel w : {Wheel{3, plain, 0.53}, {3, control, 0.503}, {-2, shift, 0.498}, {-1, plain, 0.49},
                    {80, plain, 1.0}, {-80, plain, 0.0}}) {
        auto* k = Add(new IKnobLineControl(&plug, IRECT(0, 0, 20, 20), kParamUnit, &COLOR_WHITE));
        k->SetValueFromPlug(0.5);
        k->OnMouseWheel(0, 0, &w.mod, w.d);
        EXPECT_NEAR(k->GetValue(), w.expected, 1e-12) << w.d;
    }
}

TEST_F(Knobs, FilmStripFrameFollowsValueAndSteps) {
    auto* k = Add(new IKnobMultiControl(&plug, 5, 6, kParamUnit, Strip(64, 4, 3)));
    EXPECT_EQ(*k->GetRECT(), IRECT(5, 6, 9, 9));
    struct Case {
        int steps;  // argument of SetSteps
        double value;
        int frame;
    };
    // 64 frames: value 1/3 is frame trunc(63 / 3 + 0.5) + 1 = 22.
    for (Case c : {Case{0, 0.0, 1}, {0, 1.0, 64}, {0, 0.5, 33}, {4, 0.4, 22}, {4, 0.5, 43}, {4, 0.16, 1},
                   {4, 0.17, 22}, {1, 0.7, 45}, {-3, 0.7, 45}}) {
        k->SetSteps(c.steps);
        k->SetValueFromPlug(c.value);
        EXPECT_EQ(k->CurrentFrame(), c.frame) << "steps " << c.steps << " value " << c.value;
    }
    k->SetSteps(4);
    EXPECT_EQ(k->GetSteps(), 3);
    k->SetValueFromPlug(0.4);
    DrawAlone(k);
    EXPECT_EQ(Pixel(5, 6), FrameColor(22));
    EXPECT_EQ(Pixel(8, 8), FrameColor(22));
    EXPECT_EQ(Pixel(9, 6), COLOR_BLACK);
}

TEST_F(Knobs, PressAndRightClickFlags) {
    auto* k2 = Add(new IKnobMultiControl2(&plug, 0, 0, kParamUnit, Strip(2, 4, 4)));
    k2->OnMouseDown(1, 1, &left);
    EXPECT_TRUE(k2->GetMouseFlag());
    k2->OnMouseUp(1, 1, &left);
    EXPECT_FALSE(k2->GetMouseFlag());

    auto* k3 = Add(new IKnobMultiControl3(&plug, 0, 0, kParamUnit, Strip(2, 4, 4)));
    Open();
    k3->OnMouseDown(1, 1, &right);
    EXPECT_EQ(hv->TextFieldCount(), 0) << "no prompt";
    EXPECT_TRUE(k3->TakeRightClick());
    EXPECT_FALSE(k3->TakeRightClick());
    k3->OnMouseDown(1, 1, &left);
    EXPECT_FALSE(k3->TakeRightClick());

    // A click without a drag sends the value again.
    auto* k1 = Add(new IKnobMultiControl(&plug, 0, 0, kParamUnit, Strip(2, 4, 4)));
    k1->SetValueFromPlug(0.25);
    log.clear();
    k1->OnMouseDown(1, 1, &left);
    EXPECT_EQ(log, (guitest::Log{"inform 0", "change 0 locked"}));
}

TEST_F(Knobs, LineKnobPointsAlongItsAngle) {
    // Angle 0 is straight up: value 0.5 of -2.356..2.356.
    auto* k = Add(new IKnobLineControl(&plug, IRECT(100, 100, 141, 141), kParamUnit, &COLOR_WHITE, 5.0, 0.0, -2.356,
                                       2.356));
    k->SetValueFromPlug(0.5);
    DrawAlone(k);
    EXPECT_EQ(Pixel(120, 112).R, 255) << "on the line above the centre";
    EXPECT_EQ(Pixel(120, 128), COLOR_BLACK) << "nothing below it";
    EXPECT_EQ(Pixel(112, 112), COLOR_BLACK);
    EXPECT_EQ(Pixel(120, 117), COLOR_BLACK) << "inside the inner radius";

    k->SetValueFromPlug(1.0);  // 135 degrees clockwise: down and right
    DrawAlone(k);
    EXPECT_GT(Pixel(131, 131).R, 100);
    EXPECT_EQ(Pixel(120, 108), COLOR_BLACK);
}

using Faders = ControlsFixture;

TEST_F(Faders, HandleAndMouseAgreeInBothOrientations) {
    struct Case {
        int direction;
        bool onlyHandle;
    };
    for (Case c : {Case{IFaderControl::kVertical, false}, {IFaderControl::kHorizontal, true}}) {
        const bool vertical = c.direction == IFaderControl::kVertical;
        // 200 long, handle 20 along the track and 12 across.
        IBitmapStrip* handle = vertical ? Strip(1, 12, 20) : Strip(1, 20, 12);
        auto* f = Add(new IFaderControl(&plug, 30, 40, 200, kParamUnit, handle, c.direction, c.onlyHandle));
        EXPECT_EQ(*f->GetRECT(), vertical ? IRECT(30, 40, 42, 240) : IRECT(30, 40, 230, 52));
        for (int along = 10; along <= 190; along += 9) {
            const int x = vertical ? 35 : 30 + along, y = vertical ? 40 + along : 45;
            f->SnapToMouse(x, y);
            const IRECT h = f->HandleRectForValue(-1.0);
            const int centre = vertical ? (h.T + h.B) / 2 : (h.L + h.R) / 2;
            EXPECT_NEAR(centre, vertical ? y : x, 1) << "handle under the mouse at " << along;
            EXPECT_TRUE(f->IsHit(x, y));
        }
        f->SnapToMouse(vertical ? 35 : 40, vertical ? 50 : 45);
        EXPECT_EQ(f->GetValue(), vertical ? 1.0 : 0.0) << "the track's start";
        f->SnapToMouse(vertical ? 35 : 220, vertical ? 230 : 45);
        EXPECT_EQ(f->GetValue(), vertical ? 0.0 : 1.0) << "the track's end";
        f->SnapToMouse(vertical ? 35 : 500, vertical ? -50 : 45);
        EXPECT_EQ(f->GetValue(), 1.0) << "clamped";

        f->SetValueFromPlug(0.0);
        EXPECT_EQ(f->IsHit(vertical ? 35 : 220, vertical ? 60 : 45), !c.onlyHandle) << "the track beside the handle";
        DrawAlone(f);
        const IRECT h = f->HandleRectForValue(-1.0);
        EXPECT_EQ(Pixel(h.L, h.T), FrameColor(1));
        EXPECT_EQ(Pixel(h.R - 1, h.B - 1), FrameColor(1));
        EXPECT_EQ(Pixel(vertical ? h.L : h.R, vertical ? h.B : h.T), COLOR_BLACK);
    }
}

TEST_F(Faders, ScaleWheelAndDegenerateTrack) {
    auto* f = Add(new IFaderControl(&plug, 0, 0, 100, kParamUnit, Strip(1, 10, 20)));
    f->AfterGUIResize(1.5);
    EXPECT_EQ(f->GetLength(), 150);
    EXPECT_EQ(f->GetHandleHeadroom(), 30);
    f->AfterGUIResize(1.0);
    f->SetValueFromPlug(0.5);
    f->OnMouseWheel(0, 0, &shift, 2);
    EXPECT_NEAR(f->GetValue(), 0.502, 1e-12);
    f->OnMouseDown(5, 5, &right);  // the fader's prompt stays disabled
    EXPECT_NEAR(f->GetValue(), 0.502, 1e-12);

    // A track as long as its handle has nowhere to slide: the value is kept.
    auto* stuck = Add(new IFaderControl(&plug, 0, 0, 20, kParamUnit, Strip(1, 10, 20)));
    stuck->SetValueFromPlug(0.3);
    stuck->OnMouseDown(5, 2, &left);
    stuck->OnMouseDrag(5, 19, 0, 17, &left);
    EXPECT_EQ(stuck->GetValue(), 0.3);
}

}  // namespace
