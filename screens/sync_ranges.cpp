// The ranges that follow MIDI sync: while the instrument follows MIDI clock the LFO
// rate and the two delay times count sync divisions instead of their own steps, and
// the range sliders of a Flexi slot that modulates one of them follow it. The program
// buffer decides, from the MIDI sync mode and the delay mode.
#include <algorithm>
#include <iterator>

#include "editor/data/live_params.h"
#include "editor/qd_editor.h"
#include "screens/editor_screens.h"

namespace qd {

using namespace live;
using namespace param;

namespace {

// The sync divisions the synced parameters take.
constexpr int kSyncedMin = 1;
constexpr int kSyncedMax = 12;
constexpr int kDelayTimeParams[] = {kDelay1Time, kDelay2Time};

}  // namespace

void EditorScreens::UpdateLfoSyncRanges(int mode) { SetSyncedRange(kVco4PwmLfoFrq, mode != 0); }

void EditorScreens::UpdateDelaySyncRanges(int mode) {
    for (int p : kDelayTimeParams) SetSyncedRange(p, mode != 0);
}

void EditorScreens::SetSyncedRange(int paramIdx, bool synced) {
    const ParamSpec& spec = kParamTable[paramIdx];
    const int lo = synced ? kSyncedMin : spec.min;
    const int hi = synced ? kSyncedMax : spec.max;
    mEditor.SetParamRange(paramIdx, lo, hi);
    for (int n = 0; n < kFlexiSlotCount; ++n) {
        if (FlexiTarget(n) != EntryOf(paramIdx)) continue;
        mEditor.SetParamRange(FlexiRangeA(n), lo, hi);
        mEditor.SetParamRange(FlexiRangeB(n), lo, hi);
    }
}

void EditorScreens::ApplySyncRanges() {
    const int m = mEditor.ProgramEntry(EntryOf(kMidiSync)) & 3;
    const int d = mEditor.ProgramEntry(EntryOf(kDelayMode));
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
    // Set again from the program, so that the values are clamped to the new ranges.
    for (size_t i = 0; i < std::size(kSyncedParams); ++i)
        mEditor.SetParameterFromGUI2(kSyncedParams[i], mEditor.ProgramEntry(kSyncedEntries[i]));
    for (int n = 0; n < kFlexiSlotCount; ++n) ApplyFlexiSyncedRange(n);
}

void EditorScreens::ApplyFlexiSyncedRange(int slot) {
    const int t = FlexiTarget(slot);
    if (std::find(std::begin(kSyncedEntries), std::end(kSyncedEntries), t) == std::end(kSyncedEntries)) return;
    const int value = mEditor.ProgramEntry(t);
    mEditor.SetParameterFromGUI2(FlexiRangeA(slot), value);
    const int r = mEditor.ProgramEntry(EntryOf(FlexiProgramParam(kFlexi1Range, slot)));
    const bool negative = TruncParam(FlexiProgramParam(kFlexi1Polarity, slot)) != 0;
    const ValueLimits limits = ProgramValueLimits(t);
    const int b = std::max(std::min(negative ? value - r : value + r, limits.max), limits.min);
    mEditor.SetParameterFromGUI2(FlexiRangeB(slot), b);
}

}  // namespace qd
