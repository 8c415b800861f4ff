// The view layout and its steps: the whole arrangement of the panel rebuilt from the
// parameters and the program buffer. The parameter-change hook runs single steps when
// only one of their inputs changed.
#include <cmath>

#include "editor/data/live_params.h"
#include "editor/data/panel_places.h"
#include "editor/qd_editor.h"
#include "gui/controls/text_controls.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "screens/editor_screens.h"

namespace qd {

using namespace live;
using namespace param;

int EditorScreens::FlexiTarget(int slot) const {
    const int t = mEditor.FlexiDestination(slot);
    return t >= 0 && t < kProgramEntryCount ? t : -1;
}

double EditorScreens::CurrentScale() const {
    // A rescale lays the panel out before it resizes the window, so the window's width
    // would still be the old one; the width the resize is bringing it to is the one
    // the controls are being placed for.
    const IModuleGUIResize* resize = mEditor.GetGUIResize();
    if (resize && resize->GetPixelWidth() > 0) return resize->GetPixelWidth() / double(kPanelWidth);
    return Graphics() ? Graphics()->Width() / double(kPanelWidth) : 1.0;
}

int EditorScreens::TruncParam(int paramIdx) const {
    const IParam* p = mEditor.GetParam(paramIdx);
    return p ? int(p->Value()) : 0;
}

void EditorScreens::ApplyViewLayout() {
    if (!Graphics()) return;
    const double s = CurrentScale();

    ShowCutoffKnob();
    for (int n = 0; n < kFlexiSlotCount; ++n)
        if (IControl* led = mControls.Get(Keep::kFlexiLed, n); led && FlexiTarget(n) < 0) led->Hide(true);
    for (int n = 0; n < kFlexiSlotCount; ++n) PlaceFlexiRangeTexts(n, s);
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        const int t = FlexiTarget(n);
        if (t >= EntryOf(kEqualizerOn) && t <= EntryOf(kEqTrebleBoost)) {
            mEqParametricView = true;
            mEqGraphView = false;
        }
    }
    SetCaptionGroupHidden(true);
    ShowSelectedEffect();
    ShowModulationIndicators();
    ApplySyncRanges();
    if (mEqGraphView) UpdateEqGraph(false);
    PlaceEffectTabs(s);
    ShowEffectOnIndicators();
    mEditor.RedrawParamControls();
    SetManagerPanelHidden(!mEditor.ManagerView());
}

void EditorScreens::ShowCutoffKnob() {
    const int filter = TruncParam(kFilterMode);
    if (filter != 0 && filter != 1) return;
    const bool vintage = filter == 0;
    IGraphicsMac* g = Graphics();
    g->HideControl(kVintageCutoff, !vintage);
    if (ITextControl* t = ValueText(kVintageCutoff)) t->Hide(!vintage);
    g->HideControl(kNewCutoff, vintage);
    if (ITextControl* t = ValueText(kNewCutoff)) t->Hide(vintage);
}

void EditorScreens::PlaceFlexiRangeTexts(int slot, double scale) {
    const int t = FlexiTarget(slot);
    if (t < 0) return;
    IGraphics* g = Graphics();
    const int rangeA = FlexiRangeA(slot), rangeB = FlexiRangeB(slot);
    if (TruncParam(FlexiProgramParam(kFlexi1Source, slot)) > 0) {
        // The range texts take the knob's place.
        const PanelPoint& at = kParamPositions[t];
        const int y = int((at.y - kSliderLift) * scale);
        g->MoveControl(rangeA, int(at.x * scale), y);
        g->MoveControl(rangeB, int((at.x + mRangeSpacing) * scale), y);
        g->HideControl(rangeA, false);
        g->HideControl(rangeB, false);
        g->HideControl(t + kFirstProgramParam, true);
    } else {
        g->HideControl(rangeA, true);
        g->HideControl(rangeB, true);
        g->HideControl(t + kFirstProgramParam, false);
    }
}

void EditorScreens::ShowSelectedEffect() {
    SetEffectGroupHidden(kModulationGroup, true);
    SetEffectGroupHidden(kOverdriveGroup, true);
    SetEffectGroupHidden(kEqBandsGroup, true);
    SetEffectGroupHidden(kEqGraphGroup, true);
    if (TruncParam(kShowOverdrive) == 1) {
        SetEffectGroupHidden(kOverdriveGroup, false);
    } else if (TruncParam(kShowEqualizer) == 1) {
        if (mEqParametricView) SetEffectGroupHidden(kEqBandsGroup, false);
        if (mEqGraphView) SetEffectGroupHidden(kEqGraphGroup, false);
    } else {
        SetEffectGroupHidden(kModulationGroup, false);
        const bool delay = mEditor.ProgramEntry(EntryOf(kDelayMode)) != 0;
        mEditor.SetParameterFromGUI2(kShowChorus, delay ? 0.0 : 1.0);
        mEditor.SetParameterFromGUI2(kShowDelay, delay ? 1.0 : 0.0);
    }
}

void EditorScreens::ShowModulationIndicators() {
    IControl* chorus = FxTabHighlight(kFxTabChorus);
    IControl* delay = FxTabHighlight(kFxTabDelay);
    if (!chorus || !delay) return;
    const bool on = mEditor.ProgramEntry(EntryOf(kModOnOff)) == 1;
    const bool delayMode = mEditor.ProgramEntry(EntryOf(kDelayMode)) != 0;
    chorus->Hide(!on || delayMode);
    delay->Hide(!on || !delayMode);
}

void EditorScreens::ShowEffectOnIndicators() {
    if (IControl* od = FxTabHighlight(kFxTabOverdrive)) od->Hide(TruncParam(kOverdriveOn) == 0);
    if (IControl* eq = FxTabHighlight(kFxTabEqualizer)) eq->Hide(TruncParam(kEqualizerOn) == 0);
}

void EditorScreens::PlaceEffectTabs(double scale) {
    const int e = TruncParam(kEffectsOrder);
    if (e != 0 && e != 1) return;
    // The left two tabs trade places. The "lcd" panel places them at an unrounded y.
    const int a = int(std::ceil(kFxTabX[0] * scale));
    const int b = int(std::ceil(kFxTabX[1] * scale));
    const double top = PlacesOf(mEditor.Skin()).fxTabTop;
    const int y = mEditor.Skin() == kSkinLcd ? int(top * scale) : int(std::ceil(top * scale));
    const int odX = e == 0 ? a : b, eqX = e == 0 ? b : a;
    IGraphics* g = Graphics();
    g->MoveControl(kShowOverdrive, odX, y);
    g->MoveControl(kOverdriveTab, odX, y);
    g->MoveControl(kShowEqualizer, eqX, y);
    g->MoveControl(kEqualizerTab, eqX, y);
    if (IControl* od = FxTabHighlight(kFxTabOverdrive)) od->MoveTo(odX, y);
    if (IControl* eq = FxTabHighlight(kFxTabEqualizer)) eq->MoveTo(eqX, y);
}

}  // namespace qd
