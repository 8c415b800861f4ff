// The engine core: control list, parameter fan-out, redraw, control values, prompt and input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <tuple>

#include "fixtures.h"

using namespace guitest;

namespace {

struct EngineFixture : GuiFixture {
    EngineFixture() : GuiFixture(5) {}
    LogControl* bg = nullptr;
    IMouseMod left{true}, none;

    void SetUp() override {
        plug.GetParam(0)->InitInt("a", 10, 0, 100);
        plug.GetParam(1)->InitEnum("mode", 1, 3);
        const char* modes[] = {"Saw", "Square", "Noise"};
        for (int i = 0; i < 3; ++i) plug.GetParam(1)->SetDisplayText(i, modes[i]);
        plug.GetParam(2)->InitBool("sync", false);
        plug.GetParam(2)->SetDisplayText(1, "Sync");
        plug.GetParam(3)->InitInt("depth", 0, -64, 63);
        plug.GetParam(3)->SetNegateDisplay(true);
        plug.GetParam(4)->InitEnum("bare", 0, 4);  // no display texts
        bg = Add("bg", IRECT(0, 0, 100, 100));
    }
};

TEST_F(EngineFixture, DirtyRectangleIsTheUnionOfDirtyControls) {
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

TEST_F(EngineFixture, RectangleRedrawDrawsWhatMeetsAndCleansEverything) {
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
}

TEST_F(EngineFixture, ParameterOperationsReachTheBoundControlsAndAuxiliaryBindings) {
    LogControl* unbound = Add("u", IRECT(0, 0, 10, 10));
    LogControl* bound = Add("b", IRECT(0, 0, 10, 10), 2);
    LogControl* twin = Add("twin", IRECT(), 0);
    unbound->AddAuxParam(0);
    Attach();
    EXPECT_EQ(std::tuple(twin->GetDefaultValue(), unbound->GetAuxParam(0)->value), std::tuple(0.1, 0.1));
    graphics->HideControl(-1, true);  // names no parameter: not the unbound controls either
    graphics->SetParameterFromPlug(-1, 0.7, true);
    graphics->HideControl(2, true);
    graphics->SetParameterFromPlug(2, 1.0, false);   // not normalised: converted first
    graphics->SetParameterFromPlug(0, 30.0, false);  // reaches the auxiliary binding only
    EXPECT_EQ(std::tuple(bound->IsHidden(), bound->GetValue(), unbound->IsHidden(), unbound->GetValue()),
              std::tuple(true, 1.0, false, 0.0));
    EXPECT_EQ(std::tuple(graphics->IsControlHidden(2), unbound->GetAuxParam(0)->value, twin->GetValue()),
              std::tuple(true, 0.3, 0.3));
    graphics->ClampControl(2, 0.0, 0.5, true);
    graphics->SetControlsFromUserInput(2, 0.9);
    EXPECT_EQ(bound->GetValue(), 0.5);
    EXPECT_EQ(plug.GetParam(2)->Value(), 1.0);  // 0.5 rounds to the bool's step
}

TEST_F(EngineFixture, ListEditsKeepTheBackgroundAndRenumber) {
    LogControl* c[5] = {bg};
    for (int i = 1; i < 5; ++i) c[i] = Add("c", IRECT(0, 0, 1, 1));
    auto* spare = new LogControl(&plug, &log, "s", IRECT());
    for (int idx : {0, -1, 5}) graphics->ReplaceControl(idx, spare);  // background or outside: refused
    EXPECT_EQ(graphics->GetControl(0), c[0]);
    delete spare;
    graphics->MoveControlBehind(3, 1);
    graphics->MoveControlBehind(0, 2);  // the background stays
    graphics->SwapControls(0, 4);
    const IControl* order[] = {c[0], c[3], c[1], c[2], c[4]};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::tuple(graphics->GetControl(i), graphics->GetControl(i)->GetIndex()), std::tuple(order[i], i));
    graphics->RemoveControl(2);
    graphics->RemoveControl(9);
    EXPECT_EQ(std::tuple(graphics->NControls(), graphics->GetControlIdx(c[1]), c[2]->GetIndex()), std::tuple(4, -1, 2));
    delete c[1];
}

// A control that logs the values the plug-in sends it, own and auxiliary.
class ValueLogControl : public LogControl {
public:
    ValueLogControl(IModuleBase* plug, Log* log, std::string name, int paramIdx)
        : LogControl(plug, nullptr, "v", IRECT(0, 0, 1, 1), paramIdx), mLog(log), mName(std::move(name)) {}
    void SetValueFromPlug(double) override { mLog->push_back(mName); }
    void SetAuxParamValueFromPlug(int, double) override { mLog->push_back(mName + " aux"); }
    const std::string& Name() const { return mName; }

private:
    Log* mLog;
    std::string mName;
};

TEST_F(EngineFixture, ParameterOperationsFollowTheListThroughEveryEdit) {
    // Seeded edits of the list; after each, what the parameter operations reach must be
    // what a walk of the whole list finds, in list order.
    std::mt19937 rng(77);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Log values;
    int made = 0;
    auto make = [&] {
        auto* c = new ValueLogControl(&plug, &values, "c" + std::to_string(made++), pick(-1, 6));
        if (pick(0, 3) == 0) c->AddAuxParam(pick(0, 6));
        return c;
    };
    for (int step = 0; step < 400; ++step) {
        const int n = graphics->NControls(), i = pick(1, std::max(1, n - 1)), j = pick(1, std::max(1, n - 1));
        switch (pick(0, 6)) {
            case 0:
            case 1: graphics->AttachControl(make()); break;
            case 2:
                if (IControl* old = graphics->GetControl(i); old && i > 0) {
                    graphics->ReplaceControl(i, make());
                    if (graphics->GetControlIdx(old) < 0) delete old;
                }
                break;
            case 3: graphics->MoveControlBehind(i, j); break;
            case 4: graphics->SwapControls(i, j); break;
            case 5:
                if (IControl* gone = graphics->GetControl(i); gone && i > 0 && n > 8) {
                    graphics->RemoveControl(i);
                    delete gone;
                }
                break;
            default:
                if (IControl* c = graphics->GetControl(i)) {
                    c->AddAuxParam(pick(0, 6));  // after it joined the list
                    c->Hide(pick(0, 1));
                }
        }
        for (int p = -1; p <= 6; ++p) {
            Log expected;
            bool lastHidden = false;
            for (int k = 0; k < graphics->NControls(); ++k) {
                IControl* c = graphics->GetControl(k);
                auto* v = dynamic_cast<ValueLogControl*>(c);
                if (!v || p < 0 || p > 4) continue;  // parameters 5 and 6 do not exist
                if (c->ParamIdx() == p) expected.push_back(v->Name()), lastHidden = c->IsHidden();
                if (c->AuxParamIdx(p) >= 0) expected.push_back(v->Name() + " aux");
            }
            values.clear();
            graphics->SetParameterFromPlug(p, 0.5, true);
            ASSERT_EQ(values, expected) << "step " << step << ", parameter " << p;
            ASSERT_EQ(graphics->IsControlHidden(p), lastHidden) << "step " << step << ", parameter " << p;
        }
    }
}

TEST_F(EngineFixture, FirstValueFromPlugBecomesDefaultAndTheDisplaysFollowTheValue) {
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
    EXPECT_FALSE(plug.MutexHeldElsewhere()) << "released afterwards";
}

TEST_F(EngineFixture, RightClickPromptsInTheRightRectangleAndTheChoiceComesBack) {
    LogControl* number = Add("n", IRECT(0, 0, 101, 51), 0);
    LogControl* listed = Add("l", IRECT(5, 5, 50, 20), 1);
    LogControl* plain = Add("p", IRECT(0, 60, 10, 70), 0);
    Attach();
    number->SetPromptDisabled(false);
    listed->SetPromptDisabled(false);
    IMouseMod right(false, true), left(true);

    number->OnMouseDown(1, 1, &right);
    ASSERT_EQ(graphics->textEntries.size(), 1u);
    EXPECT_EQ(graphics->textEntries[0].rect, IRECT(30, 17, 70, 33));
    EXPECT_EQ(graphics->textEntries[0].text, "10");
    graphics->menuReplies = {0, -1};
    listed->OnMouseDown(1, 1, &right);
    EXPECT_EQ(plug.GetParam(1)->Value(), 0.0);
    listed->OnMouseDown(1, 1, &right);  // dismissed: unchanged
    EXPECT_EQ(plug.GetParam(1)->Value(), 0.0);
    ASSERT_EQ(graphics->menus.size(), 2u);
    EXPECT_EQ(graphics->menuRects[0], IRECT(5, 5, 50, 20));
    EXPECT_EQ(graphics->menus[1][0].flags, IPopupMenuItem::kChecked) << "the current text is checked";

    plain->OnMouseDown(1, 61, &right);  // prompt still disabled
    number->OnMouseDown(1, 1, &left);
    EXPECT_EQ(std::tuple(graphics->textEntries.size(), graphics->menus.size()), std::tuple(1u, 2u));
}

TEST_F(EngineFixture, PressGoesToTheTopmostEligibleControl) {
    Add("under", IRECT(10, 10, 50, 50));
    LogControl* over = Add("over", IRECT(30, 30, 70, 70));
    Attach();
    struct Case { bool hideOver, grayOver; int x, y; const char* got; } cases[] = {
        {false, false, 40, 40, "over down 40,40"}, {true, false, 40, 40, "under down 40,40"},
        {false, true, 40, 40, "under down 40,40"}, {false, false, 20, 20, "under down 20,20"},
        {false, false, 70, 70, "bg down 70,70"},  // right and bottom edges are outside
        {true, true, 60, 60, "bg down 60,60"},
    };
    for (const auto& c : cases) {
        over->Hide(c.hideOver);
        over->GrayOut(c.grayOver);
        log.clear();
        graphics->OnMouseDown(c.x, c.y, &left);
        EXPECT_EQ(log, Log{c.got});
        graphics->OnMouseUp(c.x, c.y, &left);
    }
}

TEST_F(EngineFixture, CaptureHoldsThroughADragAndInformsTheHost) {
    LogControl* knob = Add("knob", IRECT(10, 10, 30, 30), 0);
    Add("other", IRECT(50, 50, 90, 90));
    Attach();
    log.clear();
    graphics->OnMouseDown(20, 20, &left);
    EXPECT_EQ(graphics->GetMouseCapture(), knob->GetIndex());
    graphics->OnMouseDrag(25, 18, &left);
    graphics->OnMouseDrag(25, 18, &left);  // same place: nothing
    graphics->OnMouseDrag(60, 60, &left);  // over another control: still the knob
    graphics->OnMouseWheel(90, 90, &none, 1);  // captured: still the knob
    graphics->OnMouseUp(60, 60, &left);
    EXPECT_EQ(log, (Log{"begin 0", "knob down 20,20", "knob drag 25,18 d5,-2", "knob drag 60,60 d35,42",
                        "knob wheel 1", "knob up 60,60", "end 0"}));
    EXPECT_EQ(graphics->GetMouseCapture(), -1);

    log.clear();
    graphics->OnMouseDrag(70, 70, &left);  // no capture
    graphics->OnMouseUp(60, 60, &left);    // no capture: the control under the mouse
    EXPECT_EQ(log, (Log{"other up 60,60"}));
}

TEST_F(EngineFixture, TextEntryCases) {
    LogControl* bound[5];
    for (int i = 0; i < 5; ++i) bound[i] = Add("c", IRECT(10, 10, 60, 30), i);
    Attach();
    // `shown`: what the entry opens with; `value`: the parameter afterwards.
    struct Case { int param; double startValue; const char *shown, *typed; double value; } cases[] = {
        {2, 1, "Sync", "Sync", 1},        // a bool with one text: entry, not menu
        {2, 1, "Sync", "0", 0},           // no text matches: taken as a number
        {2, 0, "0", "garbage", 0},        // neither: unchanged
        {2, 1, "Sync", "", 1},            // empty: unchanged
        {3, 0, "0", "-3", 3},             // negated display: typed -3 sets 3
        {3, 10, "-10", "12.6", -12.6},    // stays unrounded until the parameter steps it
        {0, 42, "42", "abc", 42},         // a number parameter keeps its value
        {0, 42, "42", "  17 units", 17},  // leading number read as atof reads it
        {4, 2, "2", "3", 3},              // an enum without texts gets an entry
        {4, 2, "2", "1e999", 2},          // infinite: unchanged
        {1, 0, "", "Noise", 2},           // listed parameter typed into (entry shown by caller)
    };
    for (const auto& k : cases) {
        IParam* p = plug.GetParam(k.param);
        LogControl* c = bound[k.param];
        p->Set(k.startValue);
        c->SetValueFromPlug(p->GetNormalized());
        graphics->textEntries.clear();
        graphics->textReplies = {std::string(k.typed)};
        if (k.param == 1) {
            graphics->SetFromStringAfterPrompt(c, p, k.typed);
        } else {
            graphics->PromptUserInput(c, p, c->GetRECT());
            ASSERT_EQ(graphics->textEntries.size(), 1u) << k.typed;
            EXPECT_EQ(graphics->textEntries[0].text, k.shown) << k.param;
        }
        const double expected = p->Type() == IParam::kTypeDouble ? k.value : std::round(k.value);
        EXPECT_NEAR(p->Value(), expected, 1e-9) << "param " << k.param << " typed '" << k.typed << "'";
    }
    EXPECT_TRUE(graphics->menus.empty());
}

}  // namespace
