// The EQ graph and the twelve equalizer knobs, kept in step both ways.
#include "editor/data/param_table.h"
#include "editor/qd_editor.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/igraphics_mac.h"
#include "screens/editor_screens.h"
#include "screens/eq_bands.h"

namespace qd {

using namespace param;

void EditorScreens::SetEqBands(const int* values) {
    IParaGraphicEq* graph = EqGraph();
    if (!graph || mKnobsFollowGraph) return;
    for (int band = 0; band < kEqBands; ++band) {
        const int* v = values + 3 * band;
        graph->SetBand(EqBandFromKnobs(band, {v[0], v[1], v[2]}));
    }
}

void EditorScreens::UpdateEqGraph(bool fromParams) {
    int values[3 * kEqBands];
    if (fromParams) {
        ChooseEqView(false);
        for (int i = 0; i < 3 * kEqBands; ++i) values[i] = TruncParam(kEqBassFrq + i);
    } else {
        for (int i = 0; i < 3 * kEqBands; ++i) values[i] = mEditor.ProgramEntry(EntryOf(kEqBassFrq + i));
    }
    SetEqBands(values);
}

void EditorScreens::ChooseEqView(bool parametric) {
    mEqParametricView = parametric;
    mEqGraphView = !parametric;
    if (!Graphics()) return;
    // Hide first, so the view buttons that both groups share end up shown.
    if (parametric) {
        SetEffectGroupHidden(kEqGraphGroup, true);
        SetEffectGroupHidden(kEqBandsGroup, false);
    } else {
        SetEffectGroupHidden(kEqBandsGroup, true);
        SetEffectGroupHidden(kEqGraphGroup, false);
    }
}

void EditorScreens::ApplyGraphBandToKnobs() {
    IParaGraphicEq* graph = EqGraph();
    if (!graph) return;
    IParaGraphicEqBand band;
    graph->GetBand(&band);
    if (band.index < 0 || band.index >= kEqBands) return;
    const EqKnobs knobs = EqKnobsFromBand(band);
    const int first = kEqBassFrq + 3 * band.index;
    const int values[3] = {knobs.freq, knobs.shape, knobs.gain};
    mKnobsFollowGraph = true;
    IGraphics* g = mEditor.GetGUI();
    for (int i = 0; i < 3; ++i) {
        mEditor.SetParameterFromGUI2(first + i, values[i]);
        if (g) g->SetParameterFromPlug(first + i, mEditor.GetParam(first + i)->GetNormalized(), true);
    }
    mKnobsFollowGraph = false;
    // The graph is then set from the program, as a view switch sets it: the band shows what
    // its parameters now hold, which is what the instrument gets (the handle snaps to the
    // knobs' steps, and a gain dragged below 0 dB, which no knob value gives, stays at 0 dB).
    UpdateEqGraph(false);
}

}  // namespace qd
