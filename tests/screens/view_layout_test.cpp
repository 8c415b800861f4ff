// The view layout and the show/hide groups on a whole editor: what a parameter change
// or a rescale leaves shown, hidden and where.
#include <cmath>

#include "live_fixture.h"

namespace livetest {
namespace {

constexpr int kRangeA = 231, kRangeB = 232;

struct Placed {
    int x, y;
    bool shown;
};

Placed PlaceOf(IControl* c) { return {c->GetRECT()->L, c->GetRECT()->T, !c->IsHidden()}; }

using ViewLayout = LiveTest;

TEST_F(ViewLayout, OtherViewModesAndASecondCallChangeNothing) {
    Make();
    SetParam(268, 1);  // the equalizer tab, so more than the defaults is at stake
    editor->ApplyViewLayout(0, 1140, 800);
    const auto before = Visibility();
    std::vector<IRECT> rects;
    for (int i = 0; i < G()->NControls(); ++i) rects.push_back(*G()->GetControl(i)->GetRECT());

    for (int mode : {1, 2, -1}) {
        SetParam(268, 0);  // would bring the chorus back if anything ran
        editor->ApplyViewLayout(mode, 1140, 800);
        EXPECT_EQ(Visibility(), before) << "view mode " << mode;
        SetParam(268, 1);
    }
    editor->ApplyViewLayout(0, 1140, 800);
    EXPECT_EQ(Visibility(), before);
    for (int i = 0; i < G()->NControls(); ++i) EXPECT_EQ(*G()->GetControl(i)->GetRECT(), rects[i]) << "control " << i;
}

TEST_F(ViewLayout, FlexiRangeTextsStandInForTheModulatedKnob) {
    struct Case {
        int knob;    // the modulated parameter; -1 for a destination off the table
        int dest;    // program entry, as the slot holds it
        int x, y;    // the knob's place on the panel
        int source;  // FLEXI1 SOURCE
        double scale;
        bool placed;  // range texts on the knob, knob hidden
    };
    const Case cases[] = {
        {161, 158, 640, 559, 1, 1.0, true}, {161, 158, 640, 559, 1, 0.5, true},
        {53, 50, 600, 402, 1, 1.0, true},
        {53, 50, 600, 402, 0, 1.0, false},  // no source: the knob comes back
        {-1, 184, 0, 0, 1, 1.0, false},     // outside the position table: no destination
        {-1, -7, 0, 0, 1, 1.0, false},
    };
    Make();
    const int spacing = First(kRangeA)->GetRECT()->W();
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

        const Placed a = PlaceOf(First(kRangeA)), b = PlaceOf(First(kRangeB));
        EXPECT_EQ(a.shown, c.placed);
        EXPECT_EQ(b.shown, c.placed);
        if (c.knob > 0) {
            EXPECT_EQ(Shown(c.knob), !c.placed);
        }
        // A band knob as destination forces the band view, which stays chosen.
        EXPECT_TRUE(editor->EqParametricView());
        EXPECT_TRUE(Shown(161) || c.dest == 158);
        if (c.placed) {
            EXPECT_EQ(a.x, int(c.x * c.scale));
            EXPECT_EQ(a.y, int((c.y - 12) * c.scale));
            EXPECT_EQ(b.x, int((c.x + spacing) * c.scale));
            EXPECT_EQ(b.y, a.y);
        }
    }
}

TEST_F(ViewLayout, EffectsOrderSwapsTheTabs) {
    struct Case {
        const char* skin;
        int order;
        double scale;
        int odX, eqX, y;
    };
    const Case cases[] = {
        {"space", 1, 1.0, 618, 523, 565}, {"space", 0, 1.0, 523, 618, 565},
        // ceil(392.25), ceil(463.5), ceil(423.75); the "lcd" y is 421.5 truncated
        {"solid", 1, 0.75, 464, 393, 424},
        {"lcd", 1, 1.0, 618, 523, 562},   {"lcd", 0, 0.75, 393, 464, 421},
    };
    std::string skin;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.skin << " order " << c.order << " scale " << c.scale);
        if (skin != c.skin) Make(std::string("[gui]\nbackground=") + (skin = c.skin) + "\n");
        if (c.scale != 1.0) Rescale(c.scale);
        Edit(131, c.order);
        const double s = G()->Width() / 1140.0;
        ASSERT_EQ(s, c.scale);
        for (int p : {267, 294}) {
            EXPECT_EQ(First(p)->GetRECT()->L, c.odX) << p;
            EXPECT_EQ(First(p)->GetRECT()->T, c.y) << p;
        }
        for (int p : {268, 295}) {
            EXPECT_EQ(First(p)->GetRECT()->L, c.eqX) << p;
            EXPECT_EQ(First(p)->GetRECT()->T, c.y) << p;
        }
        EXPECT_EQ(editor->FxTabHighlight(0)->GetRECT()->L, c.odX);
        EXPECT_EQ(editor->FxTabHighlight(1)->GetRECT()->L, c.eqX);
    }
}

TEST_F(ViewLayout, EffectTabsShowOneEffectAtATime) {
    // The chorus panel's knob 135, the overdrive's 148, the band knob 161 and the graph.
    struct Case {
        int tab;
        bool chorus, overdrive, bands, graph;
        int delayMode;
    };
    const Case cases[] = {
        {294, false, true, false, false, 0},
        {295, false, false, false, true, 0},
        {306, true, false, false, false, 1},
        {296, true, false, false, false, 0},
    };
    Make();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tab);
        Edit(c.tab, 1);
        EXPECT_EQ(Shown(135), c.chorus);
        EXPECT_EQ(Shown(148), c.overdrive);
        EXPECT_EQ(Shown(161), c.bands);
        EXPECT_EQ(Shown(290), c.graph);
        EXPECT_EQ(editor->GetParam(126)->Int(), c.delayMode);
        if (c.chorus) {
            EXPECT_EQ(editor->GetParam(269)->Int(), 1 - c.delayMode);
            EXPECT_EQ(editor->GetParam(305)->Int(), c.delayMode);
        }
    }
    // The view buttons swap the equalizer's two views while its tab is shown.
    Edit(295, 1);
    Edit(291, 1);
    EXPECT_TRUE(Shown(161));
    EXPECT_FALSE(Shown(290));
    EXPECT_TRUE(Shown(291) && Shown(292));
    Edit(292, 0);
    EXPECT_FALSE(Shown(161));
    EXPECT_TRUE(Shown(290));
    EXPECT_TRUE(Shown(291) && Shown(292));
}

TEST_F(ViewLayout, ListOpenersShowTheirListAndCloseListViewHidesIt) {
    Make();
    struct Case {
        int opener;
        int mode;
        int polarity;  // shown with a range list, -1 for a source list
    };
    const Case cases[] = {{261, 6, 179}, {259, 4, 175}, {256, 1, -1}, {262, 7, 181}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opener);
        Edit(c.opener, 1);
        EXPECT_EQ(editor->ListMode(), c.mode);
        EXPECT_TRUE(Shown(300) && Shown(263) && Shown(266));
        for (int p : {175, 177, 179, 181}) EXPECT_EQ(Shown(p), p == c.polarity) << p;
        Edit(c.opener == 256 ? 264 : 300, 1);  // a choice in the list closes it too
        EXPECT_FALSE(Shown(300) || Shown(263) || Shown(c.polarity < 0 ? 266 : c.polarity));
    }
}

TEST_F(ViewLayout, MidiSyncClampsTheSyncedRangesAndTheirFlexiRanges) {
    Make();
    SetParam(45, 100);
    SetParam(138, 90);
    editor->SetFlexiDestination(2, 42);  // slot 3 modulates parameter 45
    SetParam(98 + 14 + 4, 5);            // its range
    SetParam(98 + 14 + 3, 1);            // negative polarity
    struct Case {
        int sync, delayMode;
        int p45, max45, p138, max138;
    };
    const Case cases[] = {
        {1, 0, 12, 12, 90, 127},  // LFO
        {2, 0, 12, 127, 90, 127},  // delay sync without the long delay: nothing synced
        {2, 1, 12, 127, 12, 12},
        {0, 1, 12, 127, 12, 127},  // values stay clamped once the range opens again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sync " << c.sync << " delay " << c.delayMode);
        Edit(126, c.delayMode);
        Edit(127, c.sync);
        EXPECT_EQ(editor->GetParam(45)->Int(), c.p45);
        EXPECT_EQ(int(editor->GetParam(45)->GetMax()), c.max45);
        EXPECT_EQ(editor->GetParam(138)->Int(), c.p138);
        EXPECT_EQ(int(editor->GetParam(138)->GetMax()), c.max138);
        EXPECT_EQ(editor->ProgramEntry(42), c.p45);
        // Range A is the knob's value, Range B that less the range, kept in 1..127.
        EXPECT_EQ(editor->GetParam(235)->Int(), c.p45);
        EXPECT_EQ(editor->GetParam(236)->Int(), std::max(c.p45 - 5, 1));
    }
}

TEST_F(ViewLayout, ARescaleThenTheLayoutRestoresTheVisibleSet) {
    Make();
    Edit(295, 1);
    Edit(78, 1);
    editor->SetFlexiDestination(1, 148 - 3);
    First(244)->Hide(false);  // as the editor core's LEARN leaves the slot's LED
    Edit(105, 2);
    Edit(147, 1);
    editor->ApplyViewLayout(0, 1140, 800);
    const auto before = Visibility();
    for (double scale : {1.5, 0.5, 1.0}) {
        Rescale(scale);
        const auto after = Visibility();
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_EQ(after[i], before[i]) << "control " << i << " param " << G()->GetControl(int(i))->ParamIdx()
                                           << " at scale " << scale;
    }
    EXPECT_FALSE(Shown(79));
    EXPECT_TRUE(Shown(186));
    EXPECT_FALSE(editor->FxTabHighlight(0)->IsHidden());
}

}  // namespace
}  // namespace livetest
