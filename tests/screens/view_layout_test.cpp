// The view layout and the show/hide groups on a whole editor: what a parameter change,
// a rescale or the manager's state leaves shown, hidden and where (what each view shows
// at the defaults is the views test's).
#include "editor/editor_fixture.h"
#include "gui/controls/user_text_controls.h"

using namespace edtest;

using ViewLayout = EditorTest;

TEST_F(ViewLayout, FlexiRangeTextsStandInForTheModulatedKnob) {
    // knob: the modulated parameter (-1: none); dest: the slot's program entry; (x, y): the
    // knob's place on the panel; placed: range texts on the knob, knob hidden.
    struct Case { int knob, dest; int x, y; int source; double scale; bool placed; };
    const Case cases[] = {
        {161, 158, 640, 559, 1, 1.0, true}, {161, 158, 640, 559, 1, 0.5, true}, {53, 50, 600, 402, 1, 1.0, true},
        {53, 50, 600, 402, 0, 1.0, false},  // no source: the knob comes back
        {-1, 184, 0, 0, 1, 1.0, false},     // outside the position table: no destination
        {-1, -7, 0, 0, 1, 1.0, false},
    };
    Make();
    const int spacing = Bound(231).at(0)->GetRECT()->W();
    editor->SetParameterFromGUI2(268, 1);
    double scale = 1.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dest " << c.dest << " source " << c.source << " scale " << c.scale);
        editor->SetFlexiDestination(0, c.dest);
        editor->SetParameterFromGUI2(98, c.source);
        if (c.scale != scale)
            Rescale(scale = c.scale);
        else
            editor->ApplyViewLayout(0, 1140, 800);
        const IRECT a = *Bound(231).at(0)->GetRECT(), b = *Bound(232).at(0)->GetRECT();
        EXPECT_EQ(Shown(231) && Shown(232), c.placed);
        EXPECT_TRUE(c.knob < 0 || Shown(c.knob) != c.placed);
        EXPECT_TRUE(Screens()->EqParametricView());  // a band knob as destination chose it for good
        if (!c.placed) continue;
        EXPECT_EQ(std::tuple(a.L, a.T, b.L, b.T),
                  std::tuple(int(c.x * c.scale), int((c.y - 12) * c.scale), int((c.x + spacing) * c.scale), a.T));
    }
}

TEST_F(ViewLayout, EffectsOrderSwapsTheTabs) {
    struct Case { const char* skin; int order; double scale; int odX, eqX, y; };
    const Case cases[] = {
        {"space", 1, 1.0, 618, 523, 565}, {"space", 0, 1.0, 523, 618, 565},
        {"solid", 1, 0.75, 464, 393, 424},  // ceil(463.5), ceil(392.25), ceil(423.75)
        {"lcd", 1, 1.0, 618, 523, 562},   {"lcd", 0, 0.75, 393, 464, 421},  // 421.5 truncated
    };
    std::string skin;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.skin << " order " << c.order << " scale " << c.scale);
        if (skin != c.skin) Make(std::string("[gui]\nbackground=") + (skin = c.skin) + "\n");
        if (c.scale != 1.0) Rescale(c.scale);
        Edit(131, c.order);
        auto at = [](IControl* ctl) { return std::pair(ctl->GetRECT()->L, ctl->GetRECT()->T); };
        IControl* const od[] = {Bound(267).at(0), Bound(294).at(0), Screens()->FxTabHighlight(0)};
        IControl* const eq[] = {Bound(268).at(0), Bound(295).at(0), Screens()->FxTabHighlight(1)};
        for (IControl* tab : od) EXPECT_EQ(at(tab), std::pair(c.odX, c.y));
        for (IControl* tab : eq) EXPECT_EQ(at(tab), std::pair(c.eqX, c.y));
    }
}

TEST_F(ViewLayout, TabsListsAndViewButtonsShowTheirGroups) {
    // Knob 135 stands for the modulation panel, 148 the overdrive, 161 the band knobs,
    // 290 the graph; 300 and 263 the list overlay, 175 to 181 the polarity switches.
    struct Case { int param; std::vector<int> shown, hidden; int listMode; };
    const Case cases[] = {
        {294, {148}, {135, 161, 290}, 0},   {295, {290, 291}, {148, 161}, 0},  {291, {161, 292}, {290}, 0},
        {292, {290, 291}, {161}, 0},        {306, {135}, {290, 148}, 0},        {296, {135}, {148}, 0},
        {261, {300, 263, 179}, {175}, 6},   {300, {135}, {300, 263, 179}, 6}, {256, {300, 266}, {177}, 1},
        {264, {}, {300, 266}, 1},           {262, {181}, {}, 7},                {263, {}, {181, 300}, 7},
    };
    Make();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.param);
        Edit(c.param, 1);
        for (int p : c.shown) EXPECT_TRUE(Shown(p)) << p;
        for (int p : c.hidden) EXPECT_FALSE(Shown(p)) << p;
        EXPECT_EQ(Screens()->ListMode(), c.listMode);
    }
    // The delay tab chose the long delay, the chorus tab the vintage one.
    EXPECT_EQ(std::pair(editor->GetParam(126)->Int(), editor->GetParam(269)->Int()), std::pair(0, 1));
}

TEST_F(ViewLayout, MidiSyncClampsTheSyncedRangesAndTheirFlexiRanges) {
    Make();
    editor->SetParameterFromGUI2(45, 100);
    editor->SetParameterFromGUI2(138, 90);
    editor->SetFlexiDestination(2, 42);  // slot 3 modulates parameter 45, range 5, negative
    editor->SetParameterFromGUI2(116, 5);
    editor->SetParameterFromGUI2(115, 1);
    struct Case { int sync, delayMode, p45, max45, p138, max138; };
    const Case cases[] = {
        {1, 0, 12, 12, 90, 127}, {2, 0, 12, 127, 90, 127},  // delay sync needs the long delay
        {2, 1, 12, 127, 12, 12}, {0, 1, 12, 127, 12, 127},  // values stay clamped once it opens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sync " << c.sync << " delay " << c.delayMode);
        Edit(126, c.delayMode);
        Edit(127, c.sync);
        auto param = [&](int p) { return std::tuple(editor->GetParam(p)->Int(), int(editor->GetParam(p)->GetMax())); };
        EXPECT_EQ(param(45), std::tuple(c.p45, c.max45));
        EXPECT_EQ(param(138), std::tuple(c.p138, c.max138));
        // The program entry, Range A (the knob) and Range B (the knob less the range);
        // the slot's ranges take the knob's range.
        EXPECT_EQ(std::tuple(editor->ProgramEntry(42), editor->GetParam(235)->Int(), editor->GetParam(236)->Int()),
                  std::tuple(c.p45, c.p45, 7));
        EXPECT_EQ(std::tuple(param(235), param(236)), std::tuple(std::tuple(c.p45, c.max45), std::tuple(7, c.max45)));
    }
}

TEST_F(ViewLayout, TheFlexiRangeControlsGroupShowsAndHidesTheSlotsRangeSliders) {
    Make();
    auto visibility = [&] {
        std::vector<bool> v;
        for (int i = 0; i < G()->NControls(); ++i) v.push_back(G()->GetControl(i)->IsHidden());
        return v;
    };
    const auto atStart = visibility();
    // Slot n's Range A and Range B are 231 + 2n and 232 + 2n; a slot outside 0 to 3
    // changes nothing.
    for (int slot : {-1, 0, 1, 2, 3, 4}) {
        SCOPED_TRACE(slot);
        editor->SetFlexiRangeControlsHidden(slot, false);
        for (int n = 0; n < 4; ++n) EXPECT_EQ(Shown(231 + 2 * n) && Shown(232 + 2 * n), n == slot) << n;
        editor->SetFlexiRangeControlsHidden(slot, true);
        EXPECT_EQ(visibility(), atStart);
    }
}

TEST_F(ViewLayout, ARescaleThenTheLayoutRestoresTheVisibleSet) {
    Make();
    Edit(295, 1);
    Edit(78, 1);
    editor->SetFlexiDestination(1, 145);
    Bound(244).at(0)->Hide(false);  // as the editor core's LEARN leaves the slot's LED
    Edit(105, 2);
    Edit(147, 1);
    editor->ApplyViewLayout(0, 1140, 800);
    auto visibility = [&] {
        std::vector<bool> v;
        for (int i = 0; i < G()->NControls(); ++i) v.push_back(G()->GetControl(i)->IsHidden());
        return v;
    };
    const auto before = visibility();
    for (double scale : {1.5, 0.5, 1.0}) {
        Rescale(scale);
        EXPECT_EQ(visibility(), before) << scale;
    }
    EXPECT_FALSE(Shown(79) || Shown(148) || Shown(233));  // the range texts go with the overdrive
    EXPECT_TRUE(Shown(186) && !Screens()->FxTabHighlight(0)->IsHidden());
}

TEST_F(ViewLayout, TheManagerPageAndTheGroupsNoViewShowsShowAndHideAsTheirStateSays) {
    Make();
    const qd::PanelControls& m = Screens()->Controls();
    using K = qd::Keep;
    // rows: program list rows; mode: the manager mode number.
    struct Case { int rows, mode; bool hide; };
    const Case cases[] = {{46, 0, false}, {47, 0, false}, {47, 3, false}, {47, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, mode " << c.mode << ", hide " << c.hide);
        editor->ProgramRows().Resize(c.rows);
        editor->SetManagerMode(c.mode);
        editor->SetManagerGroup1Hidden(false);
        editor->SetManagerGroup2Hidden(false);
        editor->SetManagerPanelHidden(c.hide);
        EXPECT_EQ(Shown(335), !c.hide && c.rows >= 47);
        EXPECT_EQ(Shown(336), !c.hide && c.mode == 0);
        EXPECT_EQ(m.Get(K::kSlotNumber, 1)->IsHidden(), c.hide);
        for (int p : {337, 338, 339, 340}) EXPECT_FALSE(Shown(p)) << p;
    }
    EXPECT_STREQ(m.Get<ITextControl>(K::kSlotNumber, 1)->GetTextString(), "01");
    EXPECT_STREQ(m.Get<ITextControl>(K::kSlotNumber, 99)->GetTextString(), "99");
    EXPECT_TRUE(m.Get<IUserTextControl>(K::kPassword)->IsSecure() && !m.Get<IUserTextControl>(K::kUserName)->IsSecure());
    // One control of each group that no view shows, by its parameter.
    const std::pair<void (QDEditor::*)(bool), int> groups[] = {
        {&QDEditor::SetCaptionGroupHidden, 302}, {&QDEditor::SetManagerGroup1Hidden, 339},
        {&QDEditor::SetManagerGroup2Hidden, 338}};
    for (auto [setHidden, param] : groups)
        for (bool hide : {false, true}) {
            (editor.get()->*setHidden)(hide);
            EXPECT_EQ(Shown(param), !hide) << param;
        }
}
