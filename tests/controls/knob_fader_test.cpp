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
        int dX, dY, wheel;
        IMouseMod mod;
        double expected;  // from 0.5
    } cases[] = {
        {0, 1, 0, -10, 0, left, 0.6},   {0, 1, 0, -10, 0, shift, 0.51}, {0, 1, 0, -10, 0, control, 0.51},
        {0, 2, 0, -10, 0, left, 0.55},  {0, 1, 30, 10, 0, left, 0.4},   {0, 1, 0, -80, 0, left, 1.0},
        {1, 1, 25, -40, 0, left, 1.0},  {1, 1, -5, 0, 0, left, 0.4},    {0, 1, 0, 0, 3, left, 0.53},
        {0, 1, 0, 0, 3, control, 0.503}, {0, 1, 0, 0, -2, shift, 0.498}, {0, 1, 0, 0, -80, left, 0.0},
    };
    for (Case c : cases) {  // 50 wide, 100 high
        auto* k = Add(new IKnobMultiControl(&plug, 0, 0, kParamUnit, Strip(3, 50, 100), c.direction, c.gearing));
        k->SetValueFromPlug(0.5);
        c.wheel ? k->OnMouseWheel(0, 0, &c.mod, c.wheel) : k->OnMouseDrag(0, 0, c.dX, c.dY, &c.mod);
        EXPECT_NEAR(k->GetValue(), c.expected, 1e-12) << c.dX << "," << c.dY << " wheel " << c.wheel;
    }
}

TEST_F(Knobs, RightClickIsTakenOncePerPress) {
    auto* k3 = Add(new IKnobMultiControl3(&plug, 0, 0, kParamUnit, Strip(2, 4, 4)));
    k3->OnMouseDown(1, 1, &right);
    EXPECT_TRUE(k3->TakeRightClick());
    EXPECT_FALSE(k3->TakeRightClick()) << "once per press";
}

using Faders = ControlsFixture;

TEST_F(Faders, HandleFollowsTheMouseInBothOrientations) {
    for (bool vertical : {true, false}) {
        // 200 long, handle 20 along the track; the horizontal one takes only its handle.
        IBitmapStrip* handle = vertical ? Strip(1, 12, 20) : Strip(1, 20, 12);
        auto* f = Add(new IFaderControl(&plug, 30, 40, 200, kParamUnit, handle, !vertical, !vertical));
        EXPECT_EQ(*f->GetRECT(), vertical ? IRECT(30, 40, 42, 240) : IRECT(30, 40, 230, 52));
        for (int along = 10; along <= 190; along += 9) {
            const int x = vertical ? 35 : 30 + along, y = vertical ? 40 + along : 45;
            f->SnapToMouse(x, y);
            const IRECT h = f->HandleRectForValue(-1.0);
            EXPECT_NEAR(vertical ? (h.T + h.B) / 2 : (h.L + h.R) / 2, vertical ? y : x, 1) << along;
            EXPECT_TRUE(f->IsHit(x, y));
        }
        f->SnapToMouse(vertical ? 35 : 40, vertical ? 50 : 45);
        EXPECT_EQ(f->GetValue(), vertical ? 1.0 : 0.0) << "the track's start";
        EXPECT_EQ(f->IsHit(vertical ? 35 : 220, vertical ? 230 : 45), vertical) << "the track away from the handle";
    }
    // A track as long as its handle has nowhere to slide: the value is kept.
    auto* stuck = Add(new IFaderControl(&plug, 0, 0, 20, kParamUnit, Strip(1, 10, 20)));
    stuck->SetValueFromPlug(0.3);
    stuck->OnMouseDrag(5, 19, 0, 17, &left);
    EXPECT_EQ(stuck->GetValue(), 0.3);
}

}  // namespace
