// The panel groups that appear on demand: the effect panels, the list overlays, the
// Flexi range controls, the save-from-instrument box and the manager page with its
// log-in and database-mode groups.
#include "editor/data/live_params.h"
#include "editor/data/panel_groups.h"
#include "editor/qd_editor.h"
#include "gui/controls/text_controls.h"
#include "gui/igraphics_mac.h"
#include "screens/editor_screens.h"

namespace qd {

using namespace live;
using namespace param;

void EditorScreens::SetHidden(PanelGroup group, bool hide) {
    switch (group) {
        case kGroupModulation: return SetEffectGroupHidden(kModulationGroup, hide);
        case kGroupOverdrive: return SetEffectGroupHidden(kOverdriveGroup, hide);
        case kGroupEqBands: return SetEffectGroupHidden(kEqBandsGroup, hide);
        case kGroupEqGraph: return SetEffectGroupHidden(kEqGraphGroup, hide);
        case kGroupSourceList: return SetSourceListHidden(hide);
        case kGroupRangeList: return SetRangeListHidden(hide);
        case kGroupCaption: return SetCaptionGroupHidden(hide);
        case kGroupManagerPage: return SetManagerPanelHidden(hide);
        case kGroupManagerLogin: return SetManagerLoginHidden(hide);
        case kGroupManagerDbMode: return SetManagerDbModeHidden(hide);
        case kGroupFlexiRange1:
        case kGroupFlexiRange2:
        case kGroupFlexiRange3:
        case kGroupFlexiRange4: return SetFlexiRangeControlsHidden(group - kGroupFlexiRange1, hide);
        case kGroupAboutBox: return HideKept(Keep::kAboutBox, hide);
        case kGroupCount: return;
    }
}

bool EditorScreens::RefreshFlexiTargets(int programIndex, bool hide) {
    // -1 marks a slot without a destination; it names no knob.
    if (programIndex < 0) return false;
    bool found = false;
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        if (FlexiTarget(n) != programIndex) continue;
        found = true;
        SetFlexiRangeControlsHidden(n, hide);
    }
    return found;
}

void EditorScreens::SetEffectGroupHidden(const EffectGroup& group, bool hide) {
    IGraphics* g = Graphics();
    HideKept(Keep::kFxBackground, hide, group.background);
    for (int p : group.plainFirst) g->HideControl(p, hide);
    for (int p : group.flexiAware) {
        if (ITextControl* text = ValueText(p)) text->Hide(hide);
        const bool standsIn = RefreshFlexiTargets(EntryOf(p), hide);
        // A modulated knob stays hidden; the slot's range texts stand in its place.
        if (hide || !standsIn) g->HideControl(p, hide);
    }
    for (int p : group.plainLast) g->HideControl(p, hide);
}

void EditorScreens::SetRangeListHidden(bool hide) {
    IGraphics* g = Graphics();
    g->HideControl(kCloseListView, hide);
    HideKept(Keep::kRangeList, hide);
    for (int p : groups::kListSelects) g->HideControl(p, hide);
    if (mListMode >= 4 && mListMode <= 7)
        g->HideControl(InRun(kFlexi1RangeControlPolarity, kFlexi2RangeControlPolarity, mListMode - 4), hide);
}

void EditorScreens::SetSourceListHidden(bool hide) {
    IGraphics* g = Graphics();
    g->HideControl(kCloseListView, hide);
    HideKept(Keep::kSourceList, hide);
    for (int p : groups::kListSelects) g->HideControl(p, hide);
}

void EditorScreens::SetFlexiRangeControlsHidden(int slot, bool hide) {
    // The slot's own range sliders: counted from the two range controls before them,
    // which have no control, slot n would reach slot n - 1's sliders.
    Graphics()->HideControl(FlexiRangeA(slot), hide);
    Graphics()->HideControl(FlexiRangeB(slot), hide);
}

void EditorScreens::SetCaptionGroupHidden(bool hide) {
    HideKept(Keep::kSaveFromQdBg, hide);
    for (int p : groups::kProgramNumber) Graphics()->HideControl(p, hide);
}

void EditorScreens::SetManagerPanelHidden(bool hide) {
    IGraphicsMac* g = Graphics();
    if (!g || !mControls.Get(Keep::kManagerBackground)) return;
    HideKept(Keep::kManagerBackground, hide);
    for (const manager::ButtonPlace& b : manager::kActionButtonPlaces) g->HideControl(b.param, hide);
    for (const manager::CheckBoxPlace& c : manager::kCheckBoxes) g->HideControl(c.param, hide);
    for (int k = 0; k < manager::kListRows; ++k) HideKept(Keep::kListRow, hide, k);
    HideKept(Keep::kRowSelector, hide);
    // Slot 0 stays hidden: the slots run from 1 to 99.
    for (int k = 1; k < manager::kBankSlots; ++k)
        for (Keep part : {Keep::kSlotMark, Keep::kSlotPicture, Keep::kSlotNumber, Keep::kSlotName})
            HideKept(part, hide, k);
    g->HideControl(kScrollPosition, hide);
    HideKept(Keep::kSearch, hide);
    HideKept(Keep::kSlotSelector, hide);
    g->HideControl(kPlayNote, hide);
    if (!hide) {
        if (mEditor.ManagerMode() != 0) g->HideControl(kPlayNote, true);
        if (mEditor.ProgramRows().GetSize() < manager::kListRows) g->HideControl(kScrollPosition, true);
    }
    SetManagerLoginHidden(true);
    SetManagerDbModeHidden(true);
}

void EditorScreens::SetManagerLoginHidden(bool hide) {
    if (!mControls.Get(Keep::kLoginBackground)) return;
    for (Keep part : {Keep::kLoginBackground, Keep::kUserName, Keep::kPassword}) HideKept(part, hide);
    Graphics()->HideControl(kLogin, hide);
    Graphics()->HideControl(kRememberPassword, hide);
}

void EditorScreens::SetManagerDbModeHidden(bool hide) {
    if (!mControls.Get(Keep::kDbModeBackground)) return;
    HideKept(Keep::kDbModeBackground, hide);
    Graphics()->HideControl(kGlobalDatabase, hide);
    Graphics()->HideControl(kLocalDatabase, hide);
}

void EditorScreens::HideKept(Keep keep, bool hide, int index) {
    if (IControl* control = mControls.Get(keep, index)) control->Hide(hide);
}

}  // namespace qd
