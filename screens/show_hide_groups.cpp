// The panel groups that appear on demand: the effect panels, the list overlays, the
// Flexi range controls and the save-from-instrument group.
#include <span>

#include "editor/qd_editor.h"
#include "gui/controls/text_controls.h"
#include "gui/igraphics_mac.h"

// A group: its background first, then parameters simply hidden or shown, then the
// parameters whose knobs a Flexi slot may stand in for, then the plain ones again.
struct PanelGroup {
    int background;  // modulation, overdrive, equalizer bands, equalizer graph
    std::span<const int> plainFirst;
    std::span<const int> flexiAware;
    std::span<const int> plainLast;
};

namespace {

enum FxBackground { kFxMod = 0, kFxDrive = 1, kFxEq = 2, kFxEq2 = 3 };

constexpr int kChorus[] = {132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146};
constexpr int kOverdrive[] = {147, 148, 149, 182, 183};
constexpr int kEqBands[] = {160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 184, 185};
constexpr int kEqGraphFirst[] = {290};
constexpr int kEqGraphAware[] = {160, 184, 185};
constexpr int kEqViewButtons[] = {291, 292};

constexpr PanelGroup kChorusGroup{kFxMod, {}, kChorus, {}};
constexpr PanelGroup kOverdriveGroup{kFxDrive, {}, kOverdrive, {}};
constexpr PanelGroup kEqBandsGroup{kFxEq, {}, kEqBands, kEqViewButtons};
constexpr PanelGroup kEqGraphGroup{kFxEq2, kEqGraphFirst, kEqGraphAware, kEqViewButtons};

constexpr int kListParams[] = {263, 264, 265, 266};
constexpr int kCloseListParam = 300;
constexpr int kFirstPolarityParam = 175;
constexpr int kFirstFlexiRangeControl = 229;
constexpr int kProgramNumberParams[] = {301, 302};

}  // namespace

void QDEditor::SetGroupHidden(const PanelGroup& group, bool hide) {
    IGraphics* g = mGraphicsMac;
    if (IControl* bg = mFxBackgrounds[group.background]) bg->Hide(hide);
    for (int p : group.plainFirst) g->HideControl(p, hide);
    for (int p : group.flexiAware) {
        if (ITextControl* text = ValueText(p)) text->Hide(hide);
        const bool standsIn = RefreshFlexiTargets(p - qd::kFirstProgramParam, hide);
        // A modulated knob stays hidden; the slot's range texts stand in its place.
        if (hide || !standsIn) g->HideControl(p, hide);
    }
    for (int p : group.plainLast) g->HideControl(p, hide);
}

void QDEditor::SetChorusPanelHidden(bool hide) { SetGroupHidden(kChorusGroup, hide); }
void QDEditor::SetOverdrivePanelHidden(bool hide) { SetGroupHidden(kOverdriveGroup, hide); }
void QDEditor::SetEqualizerBandsHidden(bool hide) { SetGroupHidden(kEqBandsGroup, hide); }
void QDEditor::SetEqualizerPanelHidden(bool hide) { SetGroupHidden(kEqGraphGroup, hide); }

void QDEditor::SetRangeListHidden(bool hide) {
    mGraphicsMac->HideControl(kCloseListParam, hide);
    if (mRangeList) mRangeList->Hide(hide);
    for (int p : kListParams) mGraphicsMac->HideControl(p, hide);
    if (mListMode >= 4 && mListMode <= 7) mGraphicsMac->HideControl(kFirstPolarityParam + 2 * (mListMode - 4), hide);
}

void QDEditor::SetSourceListHidden(bool hide) {
    mGraphicsMac->HideControl(kCloseListParam, hide);
    if (mSourceList) mSourceList->Hide(hide);
    for (int p : kListParams) mGraphicsMac->HideControl(p, hide);
}

void QDEditor::SetFlexiRangeControlsHidden(int slot, bool hide) {
    if (slot < 0 || slot >= kFlexiSlots) return;
    mGraphicsMac->HideControl(kFirstFlexiRangeControl + 2 * slot, hide);
    mGraphicsMac->HideControl(kFirstFlexiRangeControl + 2 * slot + 1, hide);
}

void QDEditor::SetCaptionGroupHidden(bool hide) {
    if (mSaveFromQdBg) mSaveFromQdBg->Hide(hide);
    for (int p : kProgramNumberParams) mGraphicsMac->HideControl(p, hide);
}
