// QDEditor::ApplyViewLayout and its steps: the whole arrangement of the panel rebuilt
// from the parameters and the program buffer. The parameter-change hook runs single
// steps when only one of their inputs changed.
#include <algorithm>
#include <cmath>

#include "editor/qd_editor.h"
#include "gui/controls/text_controls.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "screens/live_params.h"
#include "screens/skin_choice.h"

using namespace qd::live;

namespace {

// Where the effect tabs stand at scale 1; the "lcd" panel has them 3 pixels higher,
// and places them at an unrounded y.
constexpr double kLeftTabX = 523, kRightTabX = 618, kTabY = 565, kLcdTabY = 562;
// The Flexi range texts stand this far above the knob they replace.
constexpr int kRangeTextLift = 12;

}  // namespace

int QDEditor::FlexiTarget(int slot) const {
    const int t = FlexiDestination(slot);
    return t >= 0 && t < qd::kProgramEntryCount ? t : -1;
}

double QDEditor::CurrentScale() const {
    // A rescale lays the panel out before it resizes the window, so the window's width
    // would still be the old one; the width the resize is bringing it to is the one
    // the controls are being placed for.
    if (mGUIResize && mGUIResize->GetPixelWidth() > 0) return mGUIResize->GetPixelWidth() / double(kWidth);
    return mGraphicsMac ? mGraphicsMac->Width() / double(kWidth) : 1.0;
}

int QDEditor::TruncParam(int paramIdx) {
    const IParam* p = GetParam(paramIdx);
    return p ? int(p->Value()) : 0;
}

void QDEditor::ApplyViewLayout(int viewMode, double, double) {
    if (viewMode != 0 || !mGraphicsMac) return;
    const double s = CurrentScale();

    ShowCutoffKnob();
    for (int n = 0; n < kFlexiSlots; ++n)
        if (FlexiTarget(n) < 0 && mFlexiLeds[n]) mFlexiLeds[n]->Hide(true);
    for (int n = 0; n < kFlexiSlots; ++n) PlaceFlexiRangeTexts(n, s);
    for (int n = 0; n < kFlexiSlots; ++n) {
        const int t = FlexiTarget(n);
        if (t >= kFirstEqEntry && t <= kLastEqEntry) {
            mEqParametricView = true;
            mEqGraphView = false;
        }
    }
    SetCaptionGroupHidden(true);
    ShowSelectedEffect();
    ShowModulationIndicators();
    ApplySyncRanges();
    if (mEqGraphView) UpdateEqGraphFromProgram();
    PlaceEffectTabs(s);
    ShowEffectOnIndicators();
    RedrawParamControls();
    SetManagerPanelHidden(!mManagerView);
}

void QDEditor::ShowCutoffKnob() {
    const int filter = TruncParam(kFilterMode);
    if (filter != 0 && filter != 1) return;
    const bool vintage = filter == 0;
    mGraphicsMac->HideControl(kVintageCutoff, !vintage);
    if (ITextControl* t = ValueText(kVintageCutoff)) t->Hide(!vintage);
    mGraphicsMac->HideControl(kNewCutoff, vintage);
    if (ITextControl* t = ValueText(kNewCutoff)) t->Hide(vintage);
}

void QDEditor::PlaceFlexiRangeTexts(int slot, double scale) {
    const int t = FlexiTarget(slot);
    if (t < 0) return;
    IGraphics* g = mGraphicsMac;
    const int rangeA = kFlexiRangeA + 2 * slot, rangeB = rangeA + 1;
    if (TruncParam(kFlexiBase + kFlexiStride * slot + kFlexiSource) > 0) {
        const qd::PanelPoint& at = qd::kParamPositions[t];
        const int y = int((at.y - kRangeTextLift) * scale);
        g->MoveControl(rangeA, int(at.x * scale), y);
        g->MoveControl(rangeB, int((at.x + mRangeSpacing) * scale), y);
        g->HideControl(rangeA, false);
        g->HideControl(rangeB, false);
        g->HideControl(t + qd::kFirstProgramParam, true);
    } else {
        g->HideControl(rangeA, true);
        g->HideControl(rangeB, true);
        g->HideControl(t + qd::kFirstProgramParam, false);
    }
}

void QDEditor::ShowSelectedEffect() {
    SetChorusPanelHidden(true);
    SetOverdrivePanelHidden(true);
    SetEqualizerBandsHidden(true);
    SetEqualizerPanelHidden(true);
    if (TruncParam(kShowOverdrive) == 1) {
        SetOverdrivePanelHidden(false);
    } else if (TruncParam(kShowEqualizer) == 1) {
        if (mEqParametricView) SetEqualizerBandsHidden(false);
        if (mEqGraphView) SetEqualizerPanelHidden(false);
    } else {
        SetChorusPanelHidden(false);
        const bool delay = mProgram[kDelayModeEntry] != 0;
        SetParameterFromGUI2(kShowChorus, delay ? 0.0 : 1.0);
        SetParameterFromGUI2(kShowDelay, delay ? 1.0 : 0.0);
    }
}

void QDEditor::ShowModulationIndicators() {
    IControl* chorus = mFxTabHighlights[kChorusIndicator];
    IControl* delay = mFxTabHighlights[kDelayIndicator];
    if (!chorus || !delay) return;
    const bool on = mProgram[kModOnOffEntry] == 1;
    const bool delayMode = mProgram[kDelayModeEntry] != 0;
    chorus->Hide(!on || delayMode);
    delay->Hide(!on || !delayMode);
}

void QDEditor::ShowEffectOnIndicators() {
    if (IControl* od = mFxTabHighlights[kOverdriveIndicator]) od->Hide(TruncParam(kOverdriveOn) == 0);
    if (IControl* eq = mFxTabHighlights[kEqualizerIndicator]) eq->Hide(TruncParam(kEqualizerOn) == 0);
}

void QDEditor::ApplySyncRanges() {
    const int m = mProgram[kMidiSyncEntry] & 3;
    const int d = mProgram[kDelayModeEntry];
    switch (m) {
        case 1:
            UpdateLfoSyncRanges(1);
            UpdateDelaySyncRanges(0);
            break;
        case 2:
        case 3:
            UpdateDelaySyncRanges(d == 1 ? m - 1 : 0);
            UpdateLfoSyncRanges(0);
            break;
        default:
            UpdateLfoSyncRanges(0);
            UpdateDelaySyncRanges(0);
            break;
    }
    for (size_t i = 0; i < std::size(kSyncedParams); ++i) SetParameterFromGUI2(kSyncedParams[i], mProgram[kSyncedEntries[i]]);
    for (int n = 0; n < kFlexiSlots; ++n) ApplyFlexiSyncedRange(n);
}

void QDEditor::ApplyFlexiSyncedRange(int slot) {
    const int t = FlexiTarget(slot);
    if (std::find(std::begin(kSyncedEntries), std::end(kSyncedEntries), t) == std::end(kSyncedEntries)) return;
    const int rangeA = kFlexiRangeA + 2 * slot;
    SetParameterFromGUI2(rangeA, mProgram[t]);
    const int base = kFlexiBase + kFlexiStride * slot;
    const int r = mProgram[base + kFlexiRange - qd::kFirstProgramParam];
    const bool negative = TruncParam(base + kFlexiPolarity) != 0;
    const qd::ValueLimits limits = qd::ProgramValueLimits(t);
    const int b = std::max(std::min(negative ? mProgram[t] - r : mProgram[t] + r, limits.max), limits.min);
    SetParameterFromGUI2(rangeA + 1, b);
}

void QDEditor::PlaceEffectTabs(double scale) {
    const int e = TruncParam(kEffectsOrder);
    if (e != 0 && e != 1) return;
    const int a = int(std::ceil(kLeftTabX * scale));
    const int b = int(std::ceil(kRightTabX * scale));
    const int y = mSkin == qd::kSkinLcd ? int(kLcdTabY * scale) : int(std::ceil(kTabY * scale));
    const int odX = e == 0 ? a : b, eqX = e == 0 ? b : a;
    IGraphics* g = mGraphicsMac;
    g->MoveControl(kShowOverdrive, odX, y);
    g->MoveControl(kOverdriveTab, odX, y);
    g->MoveControl(kShowEqualizer, eqX, y);
    g->MoveControl(kEqualizerTab, eqX, y);
    if (IControl* od = mFxTabHighlights[kOverdriveIndicator]) od->MoveTo(odX, y);
    if (IControl* eq = mFxTabHighlights[kEqualizerIndicator]) eq->MoveTo(eqX, y);
}
