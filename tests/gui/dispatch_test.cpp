// Mouse, wheel and key routing, capture, and the parameter prompt's text entry.
#include <gtest/gtest.h>

#include <cmath>

#include "recording_graphics.h"

using namespace guitest;

namespace {

struct DispatchFixture : GuiFixture {
    DispatchFixture() : GuiFixture(5) {}
    LogControl* bg = nullptr;
    IMouseMod left{true}, none;

    void SetUp() override {
        plug.GetParam(0)->InitInt("a", 0, 0, 100);
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

TEST_F(DispatchFixture, PressGoesToTheTopmostEligibleControl) {
    LogControl* under = Add("under", IRECT(10, 10, 50, 50));
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
    for (LogControl* c : {under, over, bg}) c->Hide(true);
    log.clear();
    graphics->OnMouseDown(20, 20, &left);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(graphics->GetMouseCapture(), -1);
    graphics->OnMouseOut();
    EXPECT_EQ(log, (Log{"bg out", "under out", "over out"}));
}

TEST_F(DispatchFixture, CaptureHoldsThroughADragAndInformsTheHost) {
    LogControl* knob = Add("knob", IRECT(10, 10, 30, 30), 0);
    Add("other", IRECT(50, 50, 90, 90));
    Attach();
    log.clear();
    graphics->OnMouseDown(20, 20, &left);
    EXPECT_EQ(graphics->GetMouseCapture(), knob->GetIndex());
    EXPECT_EQ(graphics->StoreParamUnderMouse(80, 80), 0) << "the captured control's parameter";
    EXPECT_EQ(graphics->TakeParamUnderMouse(), 0);
    EXPECT_EQ(graphics->TakeParamUnderMouse(), -1) << "taken once";
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
    EXPECT_EQ(graphics->StoreParamUnderMouse(95, 95), -1) << "the background has none";

    // The layout editor holding the mouse keeps the controls out but still informs the host.
    graphics->SetLiveEdit(true, true);
    log.clear();
    graphics->OnMouseDown(20, 20, &left);
    graphics->OnMouseDrag(22, 20, &left);
    graphics->OnMouseUp(20, 20, &left);
    EXPECT_EQ(log, (Log{"begin 0", "end 0"}));
}

TEST_F(DispatchFixture, KeysGoToTheControlUnderTheMouseOrTheKeyCatcher) {
    LogControl* field = Add("field", IRECT(10, 10, 40, 40));
    field->keyAnswer = true;
    Attach();
    log.clear();
    EXPECT_TRUE(graphics->OnKeyDown(20, 20, KEY_ALPHA_A));
    EXPECT_FALSE(graphics->OnKeyDown(80, 80, KEY_SPACE)) << "background, no key catcher";
    graphics->OnMouseDown(80, 80, &left);  // captures the background
    EXPECT_FALSE(graphics->OnKeyDown(20, 20, KEY_UPARROW));
    EXPECT_EQ(log, (Log{"field key 15", "bg down 80,80"}));

    auto* catcher = new LogControl(&plug, &log, "catcher", IRECT());
    catcher->keyAnswer = true;
    graphics->SetKeyCatcher(catcher);  // owned from here
    log.clear();
    EXPECT_TRUE(graphics->OnKeyDown(20, 20, KEY_DIGIT_0));  // captured background: the catcher
    graphics->OnMouseUp(80, 80, &left);
    EXPECT_TRUE(graphics->OnKeyDown(95, 95, KEY_DOWNARROW));
    EXPECT_TRUE(graphics->OnKeyDown(20, 20, KEY_LEFTARROW));
    EXPECT_EQ(log, (Log{"catcher key 5", "bg up 80,80", "catcher key 2", "field key 3"}));
}

TEST_F(DispatchFixture, TextEntryCases) {
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
