// The EQ graph and the twelve equalizer knobs, kept in step both ways.
#include "editor/qd_editor.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/igraphics_mac.h"
#include "screens/eq_bands.h"
#include "screens/live_params.h"

using namespace qd::live;

void QDEditor::SetEqBands(const int* values) {
    if (!mEqGraph || mKnobsFollowGraph) return;
    for (int band = 0; band < qd::kEqBands; ++band) {
        const int* v = values + 3 * band;
        mEqGraph->SetBand(qd::EqBandFromKnobs(band, {v[0], v[1], v[2]}));
    }
}

void QDEditor::UpdateEqGraphFromParams() {
    ChooseEqView(false);
    int values[3 * qd::kEqBands];
    for (int i = 0; i < 3 * qd::kEqBands; ++i) values[i] = TruncParam(kFirstEqKnob + i);
    SetEqBands(values);
}

void QDEditor::UpdateEqGraphFromProgram() { SetEqBands(mProgram + kFirstEqKnob - qd::kFirstProgramParam); }

void QDEditor::ChooseEqView(bool parametric) {
    mEqParametricView = parametric;
    mEqGraphView = !parametric;
    if (!mGraphicsMac) return;
    // Hide first, so the view buttons that both groups share end up shown.
    if (parametric) {
        SetEqualizerPanelHidden(true);
        SetEqualizerBandsHidden(false);
    } else {
        SetEqualizerBandsHidden(true);
        SetEqualizerPanelHidden(false);
    }
}

void QDEditor::ApplyGraphBandToKnobs() {
    if (!mEqGraph) return;
    IParaGraphicEqBand band;
    mEqGraph->GetBand(&band);
    if (band.index < 0 || band.index >= qd::kEqBands) return;
    const qd::EqKnobs knobs = qd::EqKnobsFromBand(band);
    const int first = kFirstEqKnob + 3 * band.index;
    const int values[3] = {knobs.freq, knobs.shape, knobs.gain};
    mKnobsFollowGraph = true;
    for (int i = 0; i < 3; ++i) {
        SetParameterFromGUI2(first + i, values[i]);
        if (mGraphics) mGraphics->SetParameterFromPlug(first + i, GetParam(first + i)->GetNormalized(), true);
    }
    mKnobsFollowGraph = false;
}
