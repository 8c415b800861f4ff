// The view layout and the show/hide groups on a whole editor: what a parameter change
// or a rescale leaves shown, hidden and where.
#include "live_fixture.h"

using namespace livetest;

using ViewLayout = LiveTest;

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
    const int spacing = First(231)->GetRECT()->W();
    SetParam(268, 1);
    double scale = 1.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dest " << c.dest << " source " << c.source << " scale " << c.scale);
        editor->SetFlexiDestination(0, c.dest);
        SetParam(98, c.source);
        if (c.scale != scale)
            Rescale(scale = c.scale);
        else
            editor->ApplyViewLayout(0, 1140, 800);
        const IRECT a = *First(231)->GetRECT(), b = *First(232)->GetRECT();
        EXPECT_EQ(Shown(231) && Shown(232), c.placed);
        if (c.knob > 0) {
            EXPECT_NE(Shown(c.knob), c.placed);
        }
        EXPECT_TRUE(Screens()->EqParametricView());  // a band knob as destination chose it for good
        if (!c.placed) continue;
        EXPECT_EQ(a.L, int(c.x * c.scale));
        EXPECT_EQ(a.T, int((c.y - 12) * c.scale));
        EXPECT_EQ(b.L, int((c.x + spacing) * c.scale));
        EXPECT_EQ(b.T, a.T);
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
        IControl* const od[] = {First(267), First(294), Screens()->FxTabHighlight(0)};
        IControl* const eq[] = {First(268), First(295), Screens()->FxTabHighlight(1)};
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
        EXPECT_EQ(editor->ListMode(), c.listMode);
    }
    // The delay tab chose the long delay, the chorus tab the vintage one.
    EXPECT_EQ(editor->GetParam(126)->Int(), 0);
    EXPECT_EQ(editor->GetParam(269)->Int(), 1);
}

TEST_F(ViewLayout, MidiSyncClampsTheSyncedRangesAndTheirFlexiRanges) {
    Make();
    SetParam(45, 100);
    SetParam(138, 90);
    editor->SetFlexiDestination(2, 42);  // slot 3 modulates parameter 45, range 5, negative
    SetParam(116, 5);
    SetParam(115, 1);
    struct Case { int sync, delayMode, p45, max45, p138, max138; };
    const Case cases[] = {
        {1, 0, 12, 12, 90, 127}, {2, 0, 12, 127, 90, 127},  // delay sync needs the long delay
        {2, 1, 12, 127, 12, 12}, {0, 1, 12, 127, 12, 127},  // values stay clamped once it opens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sync " << c.sync << " delay " << c.delayMode);
        Edit(126, c.delayMode);
        Edit(127, c.sync);
        EXPECT_EQ(editor->GetParam(45)->Int(), c.p45);
        EXPECT_EQ(editor->GetParam(45)->GetMax(), c.max45);
        EXPECT_EQ(editor->GetParam(138)->Int(), c.p138);
        EXPECT_EQ(editor->GetParam(138)->GetMax(), c.max138);
        EXPECT_EQ(editor->ProgramEntry(42), c.p45);
        EXPECT_EQ(editor->GetParam(235)->Int(), c.p45);  // Range A: the knob
        EXPECT_EQ(editor->GetParam(236)->Int(), 7);      // Range B: the knob less the range
    }
}

TEST_F(ViewLayout, ARescaleThenTheLayoutRestoresTheVisibleSet) {
    Make();
    Edit(295, 1);
    Edit(78, 1);
    editor->SetFlexiDestination(1, 145);
    First(244)->Hide(false);  // as the editor core's LEARN leaves the slot's LED
    Edit(105, 2);
    Edit(147, 1);
    editor->ApplyViewLayout(0, 1140, 800);
    const auto before = Visibility();
    for (double scale : {1.5, 0.5, 1.0}) {
        Rescale(scale);
        EXPECT_EQ(Visibility(), before) << scale;
    }
    EXPECT_FALSE(Shown(79) || Shown(148) || Shown(233));  // the range texts go with the overdrive
    EXPECT_TRUE(Shown(186));
    EXPECT_FALSE(Screens()->FxTabHighlight(0)->IsHidden());
}

TEST_F(ViewLayout, TheEditorsGroupOperationsHideAndShowTheirGroups) {
    // One control of each group, by its parameter.
    struct Case { void (QDEditor::*setHidden)(bool); int param; };
    const Case cases[] = {
        {&QDEditor::SetChorusPanelHidden, 135},    {&QDEditor::SetOverdrivePanelHidden, 148},
        {&QDEditor::SetEqualizerBandsHidden, 165}, {&QDEditor::SetEqualizerPanelHidden, 290},
        {&QDEditor::SetSourceListHidden, 263},     {&QDEditor::SetRangeListHidden, 300},
        {&QDEditor::SetCaptionGroupHidden, 302},   {&QDEditor::SetManagerPanelHidden, 307},
        {&QDEditor::SetManagerGroup1Hidden, 339},  {&QDEditor::SetManagerGroup2Hidden, 338},
    };
    Make();
    for (const Case& c : cases)
        for (bool hide : {false, true}) {
            (editor.get()->*c.setHidden)(hide);
            EXPECT_EQ(Shown(c.param), !hide) << c.param;
        }
    // Slot 2's range controls are parameters 231 and 232; slot 4 is no slot.
    editor->SetFlexiRangeControlsHidden(1, false);
    editor->SetFlexiRangeControlsHidden(4, true);
    EXPECT_TRUE(Shown(231) && Shown(232));
    editor->SetFlexiRangeControlsHidden(1, true);
    EXPECT_FALSE(Shown(231) || Shown(232));
}
