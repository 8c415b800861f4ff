// QDEditor::ApplyViewLayout, as far as the panel needs it to come back right after
// every rescale (which restores the hidden flags recorded at attach time): the filter
// knob in use, the groups that start hidden and the one effect shown. Placing the
// Flexi range texts, the sync ranges, the tab order and the effect indicators is
// added by the live-panel work.
#include "editor/qd_editor.h"
#include "gui/controls/text_controls.h"
#include "gui/igraphics_mac.h"

namespace {

constexpr int kFilterModeParam = 78, kVintageCutoff = 79, kNewCutoff = 186;
constexpr int kShowOverdrive = 267, kShowEqualizer = 268, kShowChorus = 269, kShowDelay = 305;
constexpr int kDelayModeEntry = 123;  // parameter 126

}  // namespace

void QDEditor::ApplyViewLayout(int viewMode, double, double) {
    if (viewMode != 0 || !mGraphicsMac) return;
    IGraphics* g = mGraphicsMac;
    auto value = [&](int p) { return GetParam(p) ? GetParam(p)->Int() : 0; };

    const int filter = value(kFilterModeParam);
    if (filter == 0 || filter == 1) {
        const bool vintage = filter == 0;
        g->HideControl(kVintageCutoff, !vintage);
        if (ITextControl* t = ValueText(kVintageCutoff)) t->Hide(!vintage);
        g->HideControl(kNewCutoff, vintage);
        if (ITextControl* t = ValueText(kNewCutoff)) t->Hide(vintage);
    }

    if (mSaveFromQdBg) mSaveFromQdBg->Hide(true);
    g->HideControl(301, true);
    g->HideControl(302, true);

    SetChorusPanelHidden(true);
    SetOverdrivePanelHidden(true);
    SetEqualizerBandsHidden(true);
    SetEqualizerPanelHidden(true);
    if (value(kShowOverdrive) == 1) {
        SetOverdrivePanelHidden(false);
    } else if (value(kShowEqualizer) == 1) {
        if (mEqParametricView) SetEqualizerBandsHidden(false);
        if (mEqGraphView) SetEqualizerPanelHidden(false);
    } else {
        SetChorusPanelHidden(false);
        const bool delay = mProgram[kDelayModeEntry] != 0;
        SetParameterFromGUI2(kShowChorus, delay ? 0.0 : 1.0);
        SetParameterFromGUI2(kShowDelay, delay ? 1.0 : 0.0);
    }

    RedrawParamControls();
    SetManagerPanelHidden(!mManagerView);
}
