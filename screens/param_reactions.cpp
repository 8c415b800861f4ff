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
using namespace param;

void EditorScreens::ReactOnScreen(int paramIdx) {
    // Nothing to show before the panel is attached.
    if (!Graphics() || !mEditor.GetGUI()) return;
    if (int n = FlexiSlotOf(paramIdx, kFlexi1Source); n >= 0) {
        PlaceFlexiRangeTexts(n, CurrentScale());
        return;
    }
    if (int n = FlexiSlotOf(paramIdx, kFlexi1Range); n >= 0) return ApplyFlexiSyncedRange(n);
    if (int n = FlexiSlotOf(paramIdx, kFlexi1Polarity); n >= 0) return ApplyFlexiSyncedRange(n);
    if (paramIdx >= kEqBassFrq && paramIdx <= kEqTrebleBoost) return UpdateEqGraph(false);
    if (int n = RunIndexOf(paramIdx, kShowFlexi1Sources, kShowFlexi2Sources, kFlexiSlotCount); n >= 0)
        return OpenFlexiList(n);
    if (int n = RunIndexOf(paramIdx, kShowFlexi1Ranges, kShowFlexi2Ranges, kFlexiSlotCount); n >= 0)
        return OpenFlexiList(4 + n);
    if ((paramIdx >= kListColumn1 && paramIdx <= kListColumn4) || paramIdx == kCloseListView) return CloseListView();
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
    // The tab's choice first, so that the effect is shown once, from all of it. The
    // chorus and delay tabs are the two modes of the modulation effect: a new mode
    // shows the effect itself, with the mode's indicators and sync ranges.
    ChangeParam(kShowOverdrive, tabParam == kOverdriveTab ? 1 : 0);
    ChangeParam(kShowEqualizer, tabParam == kEqualizerTab ? 1 : 0);
    const bool modulation = tabParam == kChorusTab || tabParam == kDelayTab;
    if (!modulation || !ChangeParam(kDelayMode, tabParam == kDelayTab ? 1 : 0)) ShowSelectedEffect();
    mEditor.RedrawParamControls();
}

bool EditorScreens::ChangeParam(int paramIdx, int value) {
    // A value it holds already would change nothing, the hook's reaction included.
    const IParam* param = mEditor.GetParam(paramIdx);
    if (!param || param->Value() == value) return false;
    mEditor.SetParameterFromGUI2(paramIdx, value);
    return true;
}

void EditorScreens::OpenFlexiList(int mode) {
    CloseListView();
    mListMode = mode;
    if (mode >= 4)
        SetRangeListHidden(false);
    else
        SetSourceListHidden(false);
}

void EditorScreens::CloseListView() {
    if (mListMode >= 4)
        SetRangeListHidden(true);
    else
        SetSourceListHidden(true);
}

}  // namespace qd
