// The equalizer knobs as graph bands and back: worked values, a round trip over every
// knob value, and the graph and the knobs of a whole editor following each other.
#include <cmath>

#include "gui/controls/para_eq_graph.h"
#include "editor/editor_fixture.h"
#include "screens/eq_bands.h"

using namespace edtest;

TEST(EqBands, KnobValuesGiveTheBandRecords) {
    struct Case { int band; qd::EqKnobs knobs; float freq, width, tolerance; };
    const Case cases[] = {
        {0, {0, 0, 0}, 50.0f, 10.0f, 0.01f},          {0, {127, 127, 20}, 270.0f, 4.0f, 0.05f},
        {1, {0, 10, -3}, 140.0f, 1.38848f, 0.01f},    {1, {64, 100, 0}, 831.24f, 0.14421f, 0.5f},
        {2, {127, 55, 5}, 4800.0f, 0.26195f, 0.5f},   // Q 5.5
        {2, {0, 0, 0}, 140.0f, 1.38848f, 0.01f},      // Q value 0 counts as 10: Q 1, not 0
        {2, {0, 127, 0}, 140.0f, 0.14421f, 0.01f},    // above 100 counts as 100
        {3, {0, 127, 0}, 2000.0f, 4.0f, 0.1f},        {3, {127, 0, 0}, 7000.0f, 10.0f, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "band " << c.band << " knobs " << c.knobs.freq << "/" << c.knobs.shape);
        const IParaGraphicEqBand b = qd::EqBandFromKnobs(c.band, c.knobs);
        EXPECT_EQ(b.type, c.band == 0 ? 1 : c.band == 3 ? 2 : 0);
        EXPECT_NEAR(b.freq, c.freq, c.tolerance);
        EXPECT_NEAR(b.width, c.width, 1e-4f);
        EXPECT_EQ(b.gain, float(c.knobs.gain));
    }
}

TEST(EqBands, EveryKnobValueSurvivesARoundTrip) {
    for (int band = 0; band < qd::kEqBands; ++band)
        for (int v = 0; v <= 127; ++v) {
            const qd::EqKnobs in{v, band == 1 || band == 2 ? std::clamp(v, 10, 100) : v, v % 21};
            const qd::EqKnobs out = qd::EqKnobsFromBand(qd::EqBandFromKnobs(band, in));
            EXPECT_EQ(std::tie(out.freq, out.shape, out.gain), std::tie(in.freq, in.shape, in.gain))
                << "band " << band << " value " << v;
        }
}

using EqGraph = EditorTest;

TEST_F(EqGraph, ADraggedBandMovesItsKnobsAndAKnobMovesTheBand) {
    Make();
    Edit(295, 1);  // the equalizer tab, in its graph view
    IParaGraphicEq* graph = Screens()->EqGraph();
    IRECT all(0, 0, G()->Width(), G()->Height());
    G()->Draw(&all);

    // Mid 1 sits at knob 64 and 0 dB; drag its handle right and up.
    const IRECT r = *graph->GetRECT();
    const int x = r.L + int(r.W() * graph->FreqToX(qd::EqBandFromKnobs(1, {64, 10, 0}).freq));
    const int y = r.T + int(r.H() * (1.0f - graph->GainToY(0.0f)));
    IMouseMod left(true);
    G()->OnMouseDown(x, y, &left);
    G()->OnMouseDrag(x + 40, y - 20, &left);
    G()->OnMouseUp(x + 40, y - 20, &left);

    IParaGraphicEqBand dragged;
    graph->GetBand(&dragged);
    ASSERT_EQ(dragged.index, 1);
    const int freqKnob = editor->GetParam(164)->Int();
    // The knobs take the nearest values: within half a step of the dragged band.
    EXPECT_NEAR(freqKnob, (std::log2(dragged.freq) - 7.1292825f) / 5.0995355f * 127.0f, 0.5f);
    EXPECT_GT(freqKnob, 64);
    EXPECT_EQ(editor->GetParam(166)->Int(), int(std::lround(dragged.gain)));
    EXPECT_STREQ(Screens()->ValueText(164)->GetTextString(), std::to_string(freqKnob).c_str());
    EXPECT_EQ(editor->GetParam(161)->Int(), 64);  // the other bands keep their knobs

    Edit(291, 1);  // band knobs shown: the hidden graph still follows them
    Edit(164, 0);
    graph->GetBand(&dragged);
    EXPECT_NEAR(dragged.freq, 140.0f, 0.01f);
    EXPECT_TRUE(Screens()->EqParametricView());

    // From the program buffer the hidden graph follows and the view stays; from the
    // parameters the graph view comes back.
    editor->UpdateEqGraphFromProgram();
    EXPECT_TRUE(Screens()->EqParametricView() && !Shown(290));
    editor->UpdateEqGraphFromParams();
    EXPECT_TRUE(!Screens()->EqParametricView() && Shown(290) && !Shown(165));
}
