// The runs of parameters the code walks by arithmetic on the names of param_table.h
// rather than name by name (the Flexi slots' parameters, the list columns, the
// equalizer's band knobs, three per band from kEqBassFrq to kEqTrebleBoost), and the
// parameters whose ranges follow MIDI sync.
#pragma once

#include "editor/data/panel_places.h"
#include "editor/data/param_table.h"

namespace qd::live {

// Parameter `n` (from 0) of a run whose first two are `first` and `second`: the
// parameters of one kind for the four Flexi slots stand at even steps.
constexpr int InRun(int first, int second, int n) { return first + (second - first) * n; }

// The number of `paramIdx` in that run (0 for `first`), or -1 when it is none of the
// run's `count` parameters.
constexpr int RunIndexOf(int paramIdx, int first, int second, int count) {
    const int step = second - first, rel = paramIdx - first;
    return rel >= 0 && rel % step == 0 && rel / step < count ? rel / step : -1;
}

// Flexi slot n's program parameter of the kind that `slot1` names for slot 1
// (kFlexi1Source, kFlexi1Polarity, kFlexi1Range, kFlexi1Curve, ...).
constexpr int FlexiProgramParam(int slot1, int slot) {
    return InRun(slot1, slot1 + param::kFlexi2Source - param::kFlexi1Source, slot);
}
constexpr int FlexiSlotOf(int paramIdx, int slot1) {
    return RunIndexOf(paramIdx, slot1, slot1 + param::kFlexi2Source - param::kFlexi1Source, kFlexiSlotCount);
}
// Range A and Range B of Flexi slot n: the sliders that stand in for the knob the
// slot modulates.
constexpr int FlexiRangeA(int slot) { return InRun(param::kFlexi1RangeA, param::kFlexi2RangeA, slot); }
constexpr int FlexiRangeB(int slot) { return InRun(param::kFlexi1RangeB, param::kFlexi2RangeB, slot); }

static_assert(FlexiProgramParam(param::kFlexi1Source, 3) == param::kFlexi4Source &&
                  FlexiProgramParam(param::kFlexi1Curve, 3) == param::kFlexi4Curve &&
                  FlexiRangeA(3) == param::kFlexi4RangeA && FlexiRangeB(3) == param::kFlexi4RangeB,
              "the Flexi slots' parameters stand at even steps");

// The parameters whose ranges follow MIDI sync: the LFO rate and the two delay times.
inline constexpr int kSyncedParams[] = {param::kVco4PwmLfoFrq, param::kDelay1Time, param::kDelay2Time};
inline constexpr int kSyncedEntries[] = {EntryOf(kSyncedParams[0]), EntryOf(kSyncedParams[1]),
                                         EntryOf(kSyncedParams[2])};

}  // namespace qd::live
