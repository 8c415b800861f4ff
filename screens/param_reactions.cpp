// The screen side of the editor's parameter-change hook: which group, list, tab or
// graph follows which parameter. The hook runs under the plug-in mutex on the main
// thread; everything here only shows, hides, moves and re-feeds controls.
#include "editor/data/live_params.h"
#include "editor/data/panel_places.h"
#include "editor/qd_editor.h"
#include "gui/igraphics_mac.h"
#include "screens/editor_screens.h"

namespace qd {

using namespace live;

namespace {

// Flexi slot of a program parameter at `offset` in the slot's block, or -1.
int FlexiSlotOf(int paramIdx, int offset) {
    const int rel = paramIdx - kFlexiBase - offset;
    return rel >= 0 && rel % kFlexiStride == 0 && rel / kFlexiStride < kFlexiSlotCount ? rel / kFlexiStride : -1;
}

}  // namespace

void EditorScreens::ReactOnScreen(int paramIdx) {
    // Nothing to show before the panel is attached.
    if (!Graphics() || !mEditor.GetGUI()) return;
    if (int n = FlexiSlotOf(paramIdx, kFlexiSource); n >= 0) {
        PlaceFlexiRangeTexts(n, CurrentScale());
        return;
    }
    if (int n = FlexiSlotOf(paramIdx, kFlexiRange); n >= 0) return ApplyFlexiSyncedRange(n);
    if (int n = FlexiSlotOf(paramIdx, kFlexiPolarity); n >= 0) return ApplyFlexiSyncedRange(n);
    if (paramIdx >= kFirstEqKnob && paramIdx <= kLastEqKnob) return UpdateEqGraph(false);
    if (paramIdx >= kFirstSourceOpener && paramIdx < kFirstSourceOpener + kFlexiSlotCount)
        return OpenFlexiList(paramIdx - kFirstSourceOpener);
    if (paramIdx >= kFirstRangeOpener && paramIdx < kFirstRangeOpener + kFlexiSlotCount)
        return OpenFlexiList(4 + paramIdx - kFirstRangeOpener);
    if ((paramIdx >= kFirstListSelect && paramIdx <= kLastListSelect) || paramIdx == kCloseListView)
        return CloseListView();
    switch (paramIdx) {
        case kFilterMode: return ShowCutoffKnob();
        case kEffectsOrder: return PlaceEffectTabs(CurrentScale());
        case kOverdriveTab:
        case kEqualizerTab:
        case kChorusTab:
        case kDelayTab: return SelectEffectTab(paramIdx);
        case kDelayMode:
            ShowModulationIndicators();
            ApplySyncRanges();
            return ShowSelectedEffect();
        case kMidiSync: return ApplySyncRanges();
        case kModOnOff: return ShowModulationIndicators();
        case kOverdriveOn:
        case kEqualizerOn: return ShowEffectOnIndicators();
        case kParametricButton: return ChooseEqView(true);
        case kGraphButton: return UpdateEqGraph(true);
        case kEqGraph: return ApplyGraphBandToKnobs();
        default: return;
    }
}

void EditorScreens::SelectEffectTab(int tabParam) {
    // The chorus and delay tabs are the two modes of the modulation effect.
    if (tabParam == kChorusTab || tabParam == kDelayTab)
        mEditor.SetParameterFromGUI2(kDelayMode, tabParam == kDelayTab ? 1 : 0);
    mEditor.SetParameterFromGUI2(kShowOverdrive, tabParam == kOverdriveTab ? 1 : 0);
    mEditor.SetParameterFromGUI2(kShowEqualizer, tabParam == kEqualizerTab ? 1 : 0);
    ShowSelectedEffect();
    mEditor.RedrawParamControls();
}

void EditorScreens::OpenFlexiList(int mode) {
    CloseListView();
    mEditor.SetListMode(mode);
    if (mode >= 4)
        SetRangeListHidden(false);
    else
        SetSourceListHidden(false);
}

void EditorScreens::CloseListView() {
    if (mEditor.ListMode() >= 4)
        SetRangeListHidden(true);
    else
        SetSourceListHidden(true);
}

}  // namespace qd
