// The equalizer knobs as graph bands and back: the conversion against values worked
// out by hand, a round trip over every knob value, and the graph and knobs of a whole
// editor following each other.
#include <cmath>

#include "gui/controls/para_eq_graph.h"
#include "gui/controls/text_controls.h"
#include "live_fixture.h"
#include "screens/eq_bands.h"

namespace livetest {
namespace {

TEST(EqBands, KnobValuesGiveTheBandsRecords) {
    struct Case {
        int band;
        qd::EqKnobs knobs;
        float freq, width, gain;
        float tolerance;  // of the frequency and width
    };
    const Case cases[] = {
        {0, {0, 0, 0}, 50.0f, 10.0f, 0.0f, 0.01f},
        {0, {127, 127, 20}, 270.0f, 4.0f, 20.0f, 0.05f},
        {1, {0, 10, -3}, 140.0f, 1.3885f, -3.0f, 0.01f},
        {1, {64, 100, 0}, 831.24f, 0.1442f, 0.0f, 0.5f},  // 2^(7.1292825 + 2.5702)
        {2, {127, 55, 5}, 4800.0f, 0.2619f, 5.0f, 0.5f},  // Q 5.5
        {2, {0, 0, 0}, 140.0f, 1.3885f, 0.0f, 0.01f},     // Q value 0 counts as 10: Q 1, not 0
        {2, {0, 127, 0}, 140.0f, 0.1442f, 0.0f, 0.01f},   // above 100 counts as 100
        {3, {0, 127, 0}, 2000.0f, 4.0f, 0.0f, 0.1f},
        {3, {127, 0, 0}, 7000.0f, 10.0f, 0.0f, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "band " << c.band << " knobs " << c.knobs.freq << "/" << c.knobs.shape);
        const IParaGraphicEqBand b = qd::EqBandFromKnobs(c.band, c.knobs);
        EXPECT_EQ(b.index, c.band);
        EXPECT_EQ(b.type, c.band == 0 ? 1 : c.band == 3 ? 2 : 0);
        EXPECT_NEAR(b.freq, c.freq, c.tolerance);
        EXPECT_NEAR(b.width, c.width, std::max(c.tolerance / 100.0f, 1e-3f));
        EXPECT_TRUE(std::isfinite(b.width));
        EXPECT_EQ(b.gain, c.gain);
        EXPECT_LE(b.minWidth, b.width + 1e-4f);
        EXPECT_GE(b.maxWidth, b.width - 1e-4f);
    }
}

TEST(EqBands, EveryKnobValueSurvivesARoundTrip) {
    for (int band = 0; band < qd::kEqBands; ++band) {
        const bool peak = band == 1 || band == 2;
        for (int v = 0; v <= 127; ++v) {
            const int shape = peak ? std::clamp(v, 10, 100) : v;
            const qd::EqKnobs in{v, shape, v % 21};
            const qd::EqKnobs out = qd::EqKnobsFromBand(qd::EqBandFromKnobs(band, in));
            EXPECT_EQ(out.freq, in.freq) << "band " << band << " value " << v;
            EXPECT_EQ(out.shape, in.shape) << "band " << band << " value " << v;
            EXPECT_EQ(out.gain, in.gain) << "band " << band << " value " << v;
        }
    }
}

using EqGraph = LiveTest;

TEST_F(EqGraph, DraggingABandMovesItsKnobsAndTheirTexts) {
    Make();
    Edit(295, 1);  // the equalizer tab, in its graph view
    IParaGraphicEq* graph = editor->EqGraph();
    ASSERT_TRUE(Shown(290));
    IRECT all(0, 0, G()->Width(), G()->Height());
    G()->Draw(&all);

    // Mid 1 sits at knob 64 (about 830 Hz) and 0 dB.
    const IRECT r = *graph->GetRECT();
    const float f0 = qd::EqBandFromKnobs(1, {64, 10, 0}).freq;
    const int x = r.L + int(r.W() * graph->FreqToX(f0));
    const int y = r.T + int(r.H() * (1.0f - graph->GainToY(0.0f)));
    IMouseMod left(true);
    G()->OnMouseDown(x, y, &left);
    G()->OnMouseDrag(x + 40, y - 20, &left);
    G()->OnMouseUp(x + 40, y - 20, &left);

    IParaGraphicEqBand dragged;
    graph->GetBand(&dragged);
    ASSERT_EQ(dragged.index, 1);
    ASSERT_GT(dragged.freq, f0);
    const int freqKnob = editor->GetParam(164)->Int(), gainKnob = editor->GetParam(166)->Int();
    // The knobs take the nearest values: within half a step of the dragged band.
    const float exact = (std::log2(dragged.freq) - 7.1292825f) / 5.0995355f * 127.0f;
    EXPECT_NEAR(freqKnob, exact, 0.5f);
    EXPECT_EQ(gainKnob, int(std::lround(dragged.gain)));
    EXPECT_GT(gainKnob, 0);
    EXPECT_EQ(editor->ProgramEntry(161), freqKnob);
    EXPECT_STREQ(editor->ValueText(164)->GetTextString(), std::to_string(freqKnob).c_str());
    // The other bands keep their knobs.
    EXPECT_EQ(editor->GetParam(161)->Int(), 64);
    EXPECT_EQ(editor->GetParam(167)->Int(), 96);
}

TEST_F(EqGraph, KnobsFeedTheGraphWithoutChangingTheView) {
    Make();
    Edit(295, 1);
    Edit(291, 1);  // band knobs shown, graph hidden
    Edit(161, 127);
    Edit(162, 0);
    IParaGraphicEqBand bass;
    editor->EqGraph()->GetBand(&bass);  // band 0 is selected until a handle is grabbed
    EXPECT_NEAR(bass.freq, 270.0f, 0.05f);
    EXPECT_FLOAT_EQ(bass.width, 10.0f);
    EXPECT_TRUE(editor->EqParametricView());
    EXPECT_TRUE(Shown(161));
    EXPECT_FALSE(Shown(290));

    editor->UpdateEqGraphFromParams();  // chooses the graph view again
    EXPECT_TRUE(editor->EqGraphView());
    EXPECT_FALSE(Shown(161));
    EXPECT_TRUE(Shown(290));
}

}  // namespace
}  // namespace livetest
