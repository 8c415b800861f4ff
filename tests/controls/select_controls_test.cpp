#include <string>

#include "controls_fixture.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/value_text_controls.h"

using namespace ctltest;

namespace {

using Selects = ControlsFixture;

TEST_F(Selects, InvisibleSelectChoosesOnRelease) {
    auto* s = Add(new IInvisibleSelectControl(&plug, IRECT(0, 50, 40, 150), kParamUnit));
    s->OnMouseDown(5, 75, &left);
    s->OnMouseDrag(5, 80, 0, 5, &left);
    EXPECT_EQ(s->GetValue(), 0.0) << "down and drag change nothing";
    s->OnMouseUp(5, 75, &left);
    EXPECT_EQ(s->GetValue(), 0.25);

    auto* s2 = Add(new IInvisibleSelectControl2(&plug, IRECT(100, 0, 300, 10), kParamUnit, true));
    struct Step {
        int event, x;
        int state;
        double value;
    };
    for (Step st : {Step{0, 150, kSelectDown, 0.25}, {2, 200, kSelectDrag, 0.5}, {1, 300, kSelectUp, 1.0}}) {
        if (st.event == 0) s2->OnMouseDown(st.x, 5, &left);
        if (st.event == 1) s2->OnMouseUp(st.x, 5, &left);
        if (st.event == 2) s2->OnMouseDrag(st.x, 5, 1, 0, &left);
        int state = -1;
        s2->GetMouseState(&state);
        EXPECT_EQ(state, st.state);
        EXPECT_EQ(s2->GetValue(), st.value);
    }
}

TEST_F(Selects, Select3RecordsEventModifierAndPoint) {
    auto* s = Add(new IInvisibleSelectControl3(&plug, IRECT(0, 0, 10, 200), kParamUnit));
    struct Case {
        int event;
        IMouseMod mod;
        int y;
        int modifier;
        double value;
    };
    const IMouseMod both(true, false, true, true);
    for (Case c : {Case{kSelectDown, left, 50, kSelectModNone, 0.25}, {kSelectDrag, shift, 100, kSelectModShift, 0.5},
                   {kSelectDblClick, control, 150, kSelectModControl, 0.75},
                   {kSelectUp, both, 20, kSelectModShift, 0.1}}) {
        if (c.event == kSelectDown) s->OnMouseDown(3, c.y, &c.mod);
        if (c.event == kSelectDrag) s->OnMouseDrag(3, c.y, 0, 1, &c.mod);
        if (c.event == kSelectDblClick) s->OnMouseDblClick(3, c.y, &c.mod);
        if (c.event == kSelectUp) s->OnMouseUp(3, c.y, &c.mod);
        int event = -1, modifier = -1, x = -1, y = -1;
        s->GetSelection(&event);
        s->GetLastSelection(&modifier);
        s->GetRange(&x, &y);
        EXPECT_EQ(event, c.event);
        EXPECT_EQ(modifier, c.modifier);
        EXPECT_EQ(y, c.y);
        EXPECT_DOUBLE_EQ(s->GetValue(), c.value);
    }
    // The wheel sets the value around 0.5 rather than adding to it.
    s->OnMouseWheel(0, 0, &left, -2);
    EXPECT_DOUBLE_EQ(s->GetValue(), 0.48);
    s->OnMouseWheel(0, 0, &shift, -2);
    EXPECT_DOUBLE_EQ(s->GetValue(), 0.498);
    int event = -1, modifier = -1;
    s->GetSelection(&event);
    EXPECT_EQ(event, kSelectWheel);
    EXPECT_FALSE(s->OnKeyDown(0, 0, KEY_SPACE)) << "the key is passed on";
    s->GetLastSelection(&modifier);
    EXPECT_EQ(modifier, kSelectKeySpace);
    s->OnKeyDown(0, 0, KEY_UPARROW);
    s->GetLastSelection(&modifier);
    EXPECT_EQ(modifier, kSelectKeyUp);

    // A moved area measures from where it is now.
    s->MoveTo(0, 100);
    s->OnMouseUp(3, 150, &left);
    EXPECT_DOUBLE_EQ(s->GetValue(), 0.25);
}

TEST_F(Selects, MatrixCellsClampAtEveryEdge) {
    // 4 columns x 25 rows over 80 x 250 pixels: cells of 20 x 10.
    auto* m = Add(new IInvisibleMatrixSelectControl(&plug, IRECT(100, 20, 180, 270), kParamUnit));
    m->SetGrid(4, 25);
    struct Case {
        int x, y;
        int cell;
    };
    const Case cases[] = {
        {145, 55, 14},   // column 2, row 3
        {100, 20, 0},    {179, 20, 3},    {100, 269, 96},  {179, 269, 99},
        {180, 25, 3},    // right of the grid: the last column, not the next row
        {250, 25, 3},    {150, 270, 98},  // below: the last row, not cell 100
        {150, 900, 98},  {40, 25, 0},     {150, -30, 2},   {-500, -500, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m->CellFromPoint(c.x, c.y), c.cell) << c.x << "," << c.y;
        m->OnMouseUp(c.x, c.y, &left);  // releases and drags arrive captured, from anywhere
        EXPECT_EQ(IInvisibleMatrixSelectControl::CellFromValue(m->GetValue(), 100), c.cell);
        EXPECT_EQ(IInvisibleMatrixSelectControl::CellFromValue(plug.GetParam(kParamUnit)->Value(), 100), c.cell);
    }
    // Every cell survives the trip through the value.
    for (int cell = 0; cell < 100; ++cell)
        EXPECT_EQ(IInvisibleMatrixSelectControl::CellFromValue(cell / 100.0, 100), cell);

    m->OnMouseWheel(145, 55, &shift, 3);
    int event = -1, modifier = -1, x = -1, y = -1;
    m->GetSelection(&event);
    m->GetLastSelection(&modifier);
    m->GetLastPoint(&x, &y);
    EXPECT_EQ(event, kSelectWheel);
    EXPECT_EQ(modifier, kSelectModShift);
    EXPECT_EQ(x, 145);
    EXPECT_TRUE(m->GetWheelUp());
    EXPECT_DOUBLE_EQ(m->GetValue(), 0.14);
    EXPECT_FALSE(m->OnKeyDown(0, 0, KEY_SPACE));
}

TEST_F(Selects, EmptyAreasAndGridsIgnoreEvents) {
    auto* flat = Add(new IInvisibleSelectControl(&plug, IRECT(5, 5, 40, 5), kParamUnit));
    auto* flat3 = Add(new IInvisibleSelectControl3(&plug, IRECT(5, 5, 5, 40), kParamUnit, true));
    auto* noGrid = Add(new IInvisibleMatrixSelectControl(&plug, IRECT(0, 0, 50, 50), kParamUnit));
    auto* flatSpinner = Add(new ISpinnerControl(&plug, IRECT(0, 7, 30, 7), kParamUnit, nullptr));
    log.clear();
    flat->OnMouseUp(6, 5, &left);
    flat3->OnMouseDown(5, 6, &left);
    noGrid->OnMouseUp(10, 10, &left);
    noGrid->OnMouseWheel(10, 10, &left, 1);
    flatSpinner->OnMouseDrag(3, 7, 0, -4, &left);
    EXPECT_TRUE(log.empty()) << "nothing reaches the plug-in";
    for (IControl* c : std::initializer_list<IControl*>{flat, flat3, noGrid, flatSpinner}) EXPECT_EQ(c->GetValue(), 0.0);
}

TEST_F(Selects, SpinnerWheelMovesOneParameterStep) {
    IParam own;
    own.InitInt("own", 0, 0, 127);
    struct Case {
        int paramIdx;
        IParam* own;
        IMouseMod mod;
        int d;
        double start, expected;
    };
    const Case cases[] = {
        {kParamMidi, nullptr, left, 1, 0.0, 1 / 127.0},
        {kParamMidi, nullptr, left, -3, 10 / 127.0, 7 / 127.0},
        {kParamMidi, nullptr, left, 1, 1.0, 1.0},
        {kParamMidi, nullptr, left, -1, 0.0, 0.0},
        {-1, &own, left, 2, 0.0, 2 / 127.0},
        {kParamStepless, nullptr, left, 1, 0.5, 0.51},
        {kParamStepless, nullptr, shift, -1, 0.5, 0.499},
        {-1, nullptr, shift, 1, 0.5, 0.51},
    };
    for (const Case& c : cases) {
        auto* s = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), c.paramIdx, nullptr, c.own));
        s->SetValueFromPlug(c.start);
        IMouseMod mod = c.mod;
        s->OnMouseWheel(0, 0, &mod, c.d);
        EXPECT_NEAR(s->GetValue(), c.expected, 1e-9) << "param " << c.paramIdx << " d " << c.d;
    }
}

TEST_F(Selects, SpinnerAndCaptionShowTheValueText) {
    plug.GetParam(kParamMidi)->Set(64);
    IParam own;
    own.InitDouble("own", 0.0, 0.0, 10.0, 0.0, "dB");
    own.SetDisplayPrecision(1);
    auto* s = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), kParamMidi, nullptr, nullptr, true, false));
    auto* withOwn = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), -1, nullptr, &own, true, true));
    auto* cap = Add(new ICaptionControl(&plug, IRECT(50, 0, 90, 20), kParamMidi, nullptr, false));
    withOwn->SetValueFromPlug(0.25);
    s->SetValueFromPlug(64 / 127.0);
    DrawAlone(s);
    DrawAlone(withOwn);
    DrawAlone(cap);
    EXPECT_STREQ(s->GetTextString(), "64");
    EXPECT_STREQ(withOwn->GetTextString(), "2.5 dB") << "the own parameter follows the control";
    EXPECT_EQ(own.Value(), 2.5);
    EXPECT_STREQ(cap->GetTextString(), "64");

    // Drags: a full drag over the side covers the range.
    s->OnMouseDrag(0, 0, 0, -20, &left);
    EXPECT_NEAR(s->GetValue(), 64 / 127.0 + 0.2, 1e-12);
    EXPECT_EQ(plug.GetParam(kParamMidi)->Value(), 89.0);

    Open();
    IMouseMod middle(false);
    cap->OnMouseDown(55, 5, &middle);
    EXPECT_EQ(hv->TextFieldCount(), 0) << "other buttons do nothing";
    cap->OnMouseDown(55, 5, &left);
    ASSERT_EQ(hv->TextFieldCount(), 1);
    EXPECT_EQ(hv->ActiveTextField()->StringValue(), "89");
    s->PromptValue(IRECT(0, 0, 40, 20));
    EXPECT_EQ(hv->TextFieldCount(), 1) << "one entry at a time";
}

}  // namespace
