// The controls' behaviour under clicks, drags, the wheel and rescales.
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>

#include "common/heap_buf.h"
#include "controls_fixture.h"
#include "gui/controls/fader_control.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/knob_controls.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/user_text_controls.h"
#include "gui/controls/value_text_controls.h"
#include "gui/font_cache.h"

using namespace ctltest;

namespace {

using Controls = ControlsFixture;

TEST(FrameForValue, NearestFrameWithinTheStrip) {
    const struct { int frames; double value; int frame; } cases[] = {
        {1, 0.7, 1}, {2, 0.4999, 1}, {2, 0.5, 2}, {4, 1 / 6.0 - 1e-9, 1}, {4, 1 / 6.0 + 1e-9, 2}, {4, 5 / 6.0 + 1e-9, 4},
        {64, 0.5, 33}, {64, 1.0, 64}, {64, -0.3, 1}, {64, 1.7, 64}, {0, 0.5, 1}, {4, std::nan(""), 1}};
    for (const auto& c : cases) EXPECT_EQ(FrameForValue(c.frames, c.value), c.frame) << c.frames << " " << c.value;
}

TEST_F(Controls, SwitchesStepAndWrapContactsSpringBack) {
    // The value after each click; the third is a double click.
    const std::pair<int, std::vector<double>> cases[] = {{2, {1, 0, 1, 0}}, {4, {1 / 3.0, 2 / 3.0, 1, 0, 1 / 3.0}},
                                                         {1, {1, 0}}};
    for (const auto& [frames, values] : cases) {
        auto* sw = Add(new ISwitchControl(&plug, 10, 10, kParamUnit, Strip(frames, 8, 6)));
        for (size_t i = 0; i < values.size(); ++i) {
            i == 2 ? sw->OnMouseDblClick(0, 0, &left) : sw->OnMouseDown(0, 0, &right);
            EXPECT_NEAR(sw->GetValue(), values[i], 1e-12) << frames << " frames, click " << i;
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

TEST_F(Controls, RadioButtonsInEveryDirectionAndScale) {
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
            EXPECT_EQ(std::tuple(radio->GetValue(), radio->SelectedButton()), std::tuple(i / 2.0, i));
        }
    }
    auto* one = Add(new IRadioButtonsControl(&plug, IRECT(0, 0, 10, 10), kParamUnit, 1, Strip(2, 10, 4)));
    EXPECT_EQ(*one->GetButton(0), IRECT(0, 0, 10, 4)) << "one button: no gap";
}

TEST_F(Controls, TextsScaleOnlyTheFontSizeAndTheOverlayItsClosedArea) {
    IText style(10, COLOR_BLUE, "Courier", IText::kStyleItalic, IText::kAlignFar);
    auto* t = Add(new ITextControl(&plug, IRECT(10, 10, 90, 30), &style, "text"));
    for (auto [scale, size] : {std::pair{1.5, 15}, {0.5, 5}, {1.99, 19}}) {
        t->AfterGUIResize(scale);
        IText expected = style;
        expected.size = size;
        EXPECT_EQ(std::memcmp(t->GetText(), &expected, sizeof expected), 0) << scale;
    }
    auto* overlay = Add(new IBitmapOverlayControl(&plug, 50, 40, Strip(2, 100, 80), IRECT(10, 10, 20, 20)));
    overlay->OnMouseDown(12, 12, &left);
    EXPECT_EQ(*overlay->GetTargetRECT(), IRECT(50, 40, 150, 120)) << "open: a click anywhere on it closes it";
    overlay->AfterGUIResize(1.5);
    EXPECT_EQ(overlay->GetClosedTarget(), IRECT(15, 15, 30, 30));
    graphics->AttachPanelBackground(&COLOR_GRAY);
    graphics->AttachBackground(9001, "no-such-image.png");  // a missing image still makes a control
    EXPECT_EQ(std::tuple(graphics->NControls(), overlay->GetIndex()), std::tuple(4, 3)) << "backgrounds go first";
    DrawAlone(graphics->GetControl(1));
    EXPECT_EQ(Pixel(399, 299), COLOR_GRAY);
}

// Whatever the length of its text, every kind of text control leaves every pixel outside
// its rectangle (or the part of it its insets give the text) as it was: a text too wide
// for it even at two thirds of its size starts at its left edge and is cut at its right;
// one a little too wide is drawn smaller, whole.
TEST_F(Controls, TextsStayInsideTheirRectangles) {
    std::string typed;  // no spaces, so that the cut at the right edge falls on ink
    while (typed.size() < 320) typed += "searchwords" + std::to_string(typed.size());
    IText style(15, COLOR_WHITE, "Arial", IText::kStyleBold, IText::kAlignCenter);
    IText secure = style;
    secure.entryKind = IText::kEntrySecure;
    plug.GetParam(kParamMidi)->SetDisplayText(5, typed.c_str());
    plug.GetParam(kParamMidi)->Set(5);
    const IRECT r(100, 100, 320, 116);
    auto user = [&](const IText& st) {
        auto* u = new IUserTextControl(&plug, r, &st);
        u->TextFromTextEntry(typed.c_str());
        return u;
    };
    auto inset = [&](double scale, int left = 20, int right = 30) {
        auto* t = new ITextControl(&plug, r, &style, typed.c_str());
        t->SetTextInsets(left, 2, right);
        t->AfterGUIResize(scale);
        return t;
    };
    // A parameter keeps a short display text only: the spinner's and the caption's fit.
    const std::tuple<const char*, std::function<IControl*()>, bool> kinds[] = {
        {"text", [&] { return new ITextControl(&plug, r, &style, typed.c_str()); }, true},
        {"text with insets", [&] { return inset(1.0); }, true},
        {"text with insets at 147 %", [&] { return inset(1.47); }, true},
        {"text with insets wider than it", [&] { return inset(1.0, 150, 150); }, false},
        {"editable", [&] { return new IEditableTextControl(&plug, r, kParamMidi, &style, typed.c_str()); }, true},
        {"editable, secure",
         [&] { return new IEditableTextControl(&plug, r, kParamMidi, &style, typed.c_str(), false, true); }, true},
        {"second text", [&] {
             auto* t = new ITextControl2(&plug, r, kParamMidi, &style);
             t->SetText2(typed.c_str());
             return t;
         }, true},
        {"spinner", [&] { return new ISpinnerControl(&plug, r, kParamMidi, &style); }, false},
        {"caption", [&] { return new ICaptionControl(&plug, r, kParamMidi, &style); }, false},
        {"user text", [&] { return user(style); }, true},
        {"user text, secure", [&] { return user(secure); }, true},
        {"display", [&] { return new AlgDisplay(&plug, r, &style, typed.c_str()); }, true},
    };
    for (const auto& [kind, make, cut] : kinds) {
        IControl* c = Add(make());
        const IRECT in = dynamic_cast<ITextControl*>(c) ? static_cast<ITextControl*>(c)->GetTextRECT() : r;
        DrawAlone(c);
        IRECT ink(400, 300, 0, 0);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                if (Pixel(x, y) != COLOR_BLACK)
                    ink = IRECT(std::min(ink.L, x), std::min(ink.T, y), std::max(ink.R, x + 1), std::max(ink.B, y + 1));
        EXPECT_TRUE(ink.L >= in.L && ink.T >= in.T && ink.R <= in.R && ink.B <= in.B)
            << kind << ": drawn over " << ink.L << ", " << ink.T << " to " << ink.R << ", " << ink.B;
        EXPECT_TRUE(!cut || (ink.L <= in.L + 2 && ink.R >= in.R - 2)) << kind << ": its beginning shows, cut at the right";
        c->Hide(true);
    }
    // "exponential" is 55 px wide at 11 px: in 44 px it is drawn at 8 px, whole.
    IText value(11, COLOR_WHITE, "Monaco", IText::kStyleBold, IText::kAlignCenter);
    auto* fitted = Add(new ITextControl(&plug, IRECT(100, 200, 144, 216), &value, "exponential"));
    DrawAlone(fitted);
    int left = 400, right = 0, bottom = 0;
    for (int y = 190; y < 230; ++y)
        for (int x = 90; x < 160; ++x)
            if (Pixel(x, y) != COLOR_BLACK) left = std::min(left, x), right = std::max(right, x + 1), bottom = y + 1;
    EXPECT_TRUE(left >= 100 && left <= 101 && right >= 143 && right <= 144 && bottom < 211)
        << left << " to " << right << ", foot " << bottom;
    // A size far too large for its rectangle costs a few measures, not one per size down
    // to two thirds of it (each a font made and kept).
    IText large(90, COLOR_WHITE, "Arial", IText::kStyleNormal, IText::kAlignCenter);
    DrawAlone(Add(new ITextControl(&plug, IRECT(100, 240, 300, 290), &large, typed.c_str())));
    int made = 0;
    for (int size = 61; size < 90; ++size) made += FontCache::Instance().Find(size, 0, 0, "Arial") != nullptr;
    EXPECT_LE(made, 6);
}

TEST_F(Controls, KnobDragsAndWheelMoveTheValue) {
    struct Case { int direction; double gearing; int dX, dY, wheel; IMouseMod mod; double expected; } cases[] = {
        {0, 1, 0, -10, 0, left, 0.6},   {0, 1, 0, -10, 0, shift, 0.51}, {0, 1, 0, -10, 0, control, 0.51},
        {0, 2, 0, -10, 0, left, 0.55},  {0, 1, 30, 10, 0, left, 0.4},   {0, 1, 0, -80, 0, left, 1.0},
        {1, 1, 25, -40, 0, left, 1.0},  {1, 1, -5, 0, 0, left, 0.4},    {0, 1, 0, 0, 3, left, 0.53},
        {0, 1, 0, 0, 3, control, 0.503}, {0, 1, 0, 0, -2, shift, 0.498}, {0, 1, 0, 0, -80, left, 0.0},
    };
    for (Case c : cases) {  // 50 wide, 100 high, from 0.5
        auto* k = Add(new IKnobMultiControl(&plug, 0, 0, kParamUnit, Strip(3, 50, 100), c.direction, c.gearing));
        k->SetValueFromPlug(0.5);
        c.wheel ? k->OnMouseWheel(0, 0, &c.mod, c.wheel) : k->OnMouseDrag(0, 0, c.dX, c.dY, &c.mod);
        EXPECT_NEAR(k->GetValue(), c.expected, 1e-12) << c.dX << "," << c.dY << " wheel " << c.wheel;
    }
    auto* k3 = Add(new IKnobMultiControl3(&plug, 0, 0, kParamUnit, Strip(8, 4, 4)));
    k3->OnMouseDown(1, 1, &right);
    EXPECT_TRUE(k3->TakeRightClick());
    EXPECT_FALSE(k3->TakeRightClick()) << "once per press";
    k3->SetSteps(3);  // three detents: the value shows at 0, 0.5 or 1
    k3->SetValueFromPlug(0.3);
    EXPECT_EQ(k3->CurrentFrame(), 5);
}

TEST_F(Controls, FaderHandleFollowsTheMouseInBothOrientations) {
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

TEST_F(Controls, SelectionAreasReportPositionEventAndModifierAndMatrixCellsClamp) {
    auto* s1 = Add(new IInvisibleSelectControl(&plug, IRECT(0, 50, 40, 150), kParamUnit));
    s1->OnMouseDown(5, 75, &left);  // a press alone changes nothing
    s1->OnMouseUp(5, 75, &left);
    EXPECT_EQ(s1->GetValue(), 0.25);
    // The wheel sets the value around 0.5 (a tenth of a step with Shift); keys go on.
    auto* s3 = Add(new IInvisibleSelectControl3(&plug, IRECT(0, 0, 10, 200), kParamUnit));
    s3->OnMouseWheel(0, 0, &left, -2);
    EXPECT_DOUBLE_EQ(s3->GetValue(), 0.48);
    s3->OnMouseWheel(0, 0, &shift, -2);
    EXPECT_DOUBLE_EQ(s3->GetValue(), 0.498);
    EXPECT_FALSE(s3->OnKeyDown(0, 0, KEY_SPACE));

    // 4 columns x 25 rows over 80 x 250 pixels: cells of 20 x 10.
    auto* m = Add(new IInvisibleMatrixSelectControl(&plug, IRECT(100, 20, 180, 270), kParamUnit));
    m->SetGrid(4, 25);
    struct Case { int x, y, cell; } cases[] = {
        {145, 55, 14}, {100, 20, 0}, {179, 269, 99}, {180, 25, 3}, {250, 25, 3},  // right: not the next row
        {150, 270, 98}, {150, 900, 98}, {40, 25, 0}, {150, -30, 2}};               // below: not cell 100
    for (Case c : cases) {
        m->OnMouseUp(c.x, c.y, &left);  // releases and drags arrive captured, from anywhere
        EXPECT_EQ(IInvisibleMatrixSelectControl::CellFromValue(plug.GetParam(kParamUnit)->Value(), 100), c.cell)
            << c.x << "," << c.y;
    }
    for (int cell = 0; cell < 100; ++cell)
        EXPECT_EQ(IInvisibleMatrixSelectControl::CellFromValue(cell / 100.0, 100), cell) << "29/100 * 100 < 29";
    m->OnMouseWheel(145, 55, &shift, 3);
    EXPECT_EQ(std::tuple(m->GetWheelUp(), m->GetValue()), std::tuple(true, 0.14));
}

TEST_F(Controls, SpinnerMovesOneParameterStepAndShowsTheValue) {
    IParam own;
    own.InitInt("own", 0, 0, 127);
    struct Case { int paramIdx; IMouseMod mod; int d; double start, expected; } cases[] = {
        {kParamMidi, left, 1, 0.0, 1 / 127.0}, {kParamMidi, left, -3, 10 / 127.0, 7 / 127.0},
        {kParamMidi, left, 1, 1.0, 1.0},       {-1, left, 2, 0.0, 2 / 127.0},  // its own parameter
        {kParamStepless, shift, -1, 0.5, 0.499}, {kParamStepless, left, 1, 0.5, 0.51}};
    for (Case c : cases) {
        auto* s = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), c.paramIdx, nullptr, &own));
        s->SetValueFromPlug(c.start);
        s->OnMouseWheel(0, 0, &c.mod, c.d);
        EXPECT_NEAR(s->GetValue(), c.expected, 1e-9) << c.paramIdx << " " << c.d;
    }
    auto* s = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), kParamMidi, nullptr));
    s->SetValueFromPlug(64 / 127.0);
    s->OnMouseDrag(0, 0, 0, -20, &left);  // a fifth of the height
    DrawAlone(s);
    EXPECT_STREQ(s->GetTextString(), "89");
}

TEST_F(Controls, FileSelectorTogglesOnlyWhenAFileIsChosen) {
    auto* fs = Add(new IFileSelectorControl(&plug, IRECT(10, 10, 30, 30), kParamUnit, Strip(1, 20, 20),
                                            IFileSelectorControl::kFileSave, "/tmp/start/", "syx mid"));
    Open();
    backend.filePanelAnswers = {"/a/b/one.syx", "", "/c/two.syx"};
    backend.whileModal = [&] { DrawAlone(fs); };
    struct Step { double value; const char* file; bool sent; } steps[] = {
        {1.0, "/a/b/one.syx", true}, {1.0, "/a/b/one.syx", false}, {0.0, "/c/two.syx", true}};
    CMN_String file;
    for (const Step& st : steps) {
        log.clear();
        fs->OnMouseDown(15, 15, &left);
        EXPECT_EQ(Pixel(15, 15), FrameColor(1)) << "the bitmap shows while the dialog is open";
        fs->GetLastSelectedFile(&file);
        EXPECT_EQ(std::tuple(fs->GetValue(), std::string(file.Get()), !log.empty()),
                  std::tuple(st.value, st.file, st.sent)) << "a cancelled dialog keeps the last file";
        fs->SetClean();
        EXPECT_EQ(fs->IsDirty(), st.sent) << "a finished selection reports dirty once more";
        EXPECT_FALSE(fs->IsDirty());
    }
    EXPECT_EQ(backend.filePanels[1].directory + backend.filePanels[1].fileName, "/a/b/one.syx")
        << "the next dialog opens on the last file";
    fs->SetLastSelectedFile("/a/b/c.pr4");
    fs->GetDirectory(&file);
    EXPECT_STREQ(file.Get(), "/a/b/");
}

}  // namespace
