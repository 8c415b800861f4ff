// The equalizer knobs as graph bands and back: worked values, a round trip over every
// knob value, and the graph and the knobs of a whole editor following each other.
#include <cmath>
#include <tuple>
#include <vector>

#include "gui/cocoa_view.h"
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

// Drags in the graph view, through the window back end: after every step of a drag the
// dragged band is the one its three parameters give (what the instrument gets), however
// far the mouse went past the band's limits or below 0 dB, and switching the view away
// and back, which sets the graph afresh from the parameters, changes no pixel of it.
TEST_F(EqGraph, AfterEveryDragTheGraphShowsWhatItsParametersHold) {
    Make();
    Edit(295, 1);  // the equalizer tab, in its graph view
    editor->Graphics()->OpenWindow(nullptr);
    auto* view = static_cast<platform::HeadlessView*>(editor->Graphics()->GetView()->nativeView());
    IParaGraphicEq* graph = Screens()->EqGraph();
    const IRECT r = *graph->GetRECT();
    IRECT all(0, 0, G()->Width(), G()->Height());
    G()->Draw(&all);

    auto knobs = [&](int band) {
        auto value = [&](int i) { return editor->GetParam(161 + 3 * band + i)->Int(); };
        return qd::EqKnobs{value(0), value(1), value(2)};
    };
    // View coordinates of the graph's point at `xPos` along the axis and `gain` dB.
    auto at = [&](float xPos, float gain) {
        const int x = r.L + int(r.W() * xPos), y = r.T + int(r.H() * (1.0f - graph->GainToY(gain)));
        return std::pair(x + 2.0, G()->Height() - y - 3.0);
    };
    auto handle = [&](int band) {
        const IParaGraphicEqBand b = qd::EqBandFromKnobs(band, knobs(band));
        return at(graph->FreqToX(b.freq), b.gain);
    };
    // `xPos` along the axis (beyond 0..1 past its ends), `gain` in dB (beyond +-24 past the
    // graph's edges); the knob values wanted after the step (-1: any).
    struct Step { float xPos, gain; int freqKnob, gainKnob; };
    struct Drag { int band; std::vector<Step> steps; } drags[] = {
        {1, {{0.6f, -14, -1, 0}, {0.6f, 9, -1, 9}, {0.6f, 40, -1, 20}, {1.3f, -40, 127, 0}, {0.5f, 0, -1, 0}}},
        {3, {{1.2f, 30, 127, 15}, {0.95f, -15, -1, 0}}},
        {0, {{-0.3f, 3.4f, 0, 3}, {-0.3f, -5, 0, 0}}},
    };
    for (const Drag& d : drags) {
        const auto [x0, y0] = handle(d.band);
        view->MouseDown(x0, y0);
        for (const Step& s : d.steps) {
            SCOPED_TRACE(testing::Message() << "band " << d.band << " to " << s.xPos << ", " << s.gain << " dB");
            const auto [x, y] = at(s.xPos, s.gain);
            view->MouseDragged(x, y);
            IParaGraphicEqBand shown;
            graph->GetBand(&shown);
            const qd::EqKnobs held = knobs(d.band);
            const IParaGraphicEqBand want = qd::EqBandFromKnobs(d.band, held);
            EXPECT_EQ(std::tuple(shown.index, shown.gain, shown.freq, shown.width),
                      std::tuple(want.index, want.gain, want.freq, want.width));
            // Within a knob step where the mouse lands between two gains, exact at the limits.
            EXPECT_NEAR(held.gain, s.gainKnob, s.gain > 0 && s.gain < 15 ? 1 : 0);
            EXPECT_TRUE(s.freqKnob < 0 || held.freq == s.freqKnob) << "frequency knob " << held.freq;
        }
        const auto [xe, ye] = at(d.steps.back().xPos, d.steps.back().gain);
        view->MouseUp(xe, ye);
    }
    // A right drag one pixel down narrows the mid band (at its widest, Q 1) by a tenth of
    // an octave: the Q knob takes the nearest value, and the band that Q's width.
    const auto [x2, y2] = handle(2);
    view->RightMouseDown(x2, y2);
    view->RightMouseDragged(x2, y2 - 1);
    IParaGraphicEqBand shown;
    graph->GetBand(&shown);
    EXPECT_EQ(std::pair(shown.index, shown.width), std::pair(2, qd::EqBandFromKnobs(2, knobs(2)).width));
    EXPECT_EQ(knobs(2).shape, 11);  // Q 1.1, the nearest to the Q of 1.388 - 0.1 octaves
    view->RightMouseUp(x2, y2 - 1);

    auto graphPixels = [&] {
        G()->Draw(&all);
        std::vector<IColor> pixels;
        for (int y = r.T; y < r.B; ++y)
            for (int x = r.L; x < r.R; ++x) pixels.push_back(G()->GetPixelColor(x, y));
        return pixels;
    };
    const std::vector<IColor> dragged = graphPixels();
    Edit(291, 1);  // the band knobs, then the graph again: set from the parameters
    Edit(292, 1);
    ASSERT_TRUE(Shown(290));
    EXPECT_TRUE(graphPixels() == dragged) << "the graph changed when set afresh from its parameters";
}
