// The groups of controls the panels show and hide together: the effect panels, the
// list overlays, the save-from-instrument box, the manager page with its two small
// groups, the Flexi range controls and the about box.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "editor/data/param_table.h"

namespace qd {

enum PanelGroup : uint8_t {
    kGroupModulation,  // the chorus and delay panel
    kGroupOverdrive,
    kGroupEqBands,  // the parametric equalizer
    kGroupEqGraph,  // the graph equalizer
    kGroupSourceList,
    kGroupRangeList,
    kGroupCaption,  // the save-from-instrument box and the program-number selector
    kGroupManagerPage,
    kGroupManagerLogin,
    kGroupManagerDbMode,
    kGroupFlexiRange1,  // the range controls of Flexi 1 to 4 follow in order
    kGroupFlexiRange2,
    kGroupFlexiRange3,
    kGroupFlexiRange4,
    kGroupAboutBox,
    kGroupCount
};

inline constexpr uint32_t GroupBit(PanelGroup group) { return 1u << group; }

// An effect panel: its background (the effect backgrounds are kept in this order:
// modulation, overdrive, equalizer bands, equalizer graph), then parameters simply
// hidden or shown, then those whose knobs a Flexi slot may stand in for, then the
// plain ones again.
struct EffectGroup {
    int background;
    std::span<const int> plainFirst;
    std::span<const int> flexiAware;
    std::span<const int> plainLast;
};

namespace groups {

// The parameters from `first` to `last`.
template <int first, int last>
constexpr std::array<int, last - first + 1> Run() {
    std::array<int, last - first + 1> run{};
    for (int i = 0; i <= last - first; ++i) run[size_t(i)] = first + i;
    return run;
}

inline constexpr auto kChorus = Run<param::kModBlendInstrument, param::kFeedbackDamping>();
inline constexpr int kOverdrive[] = {param::kOverdriveOn, param::kOverdriveDrive, param::kOverdriveLevel,
                                     param::kOdBlendInstrument, param::kOdBlendVcf};
inline constexpr int kEqBands[] = {
    param::kEqualizerOn, param::kEqBassFrq,     param::kEqBassSlope,   param::kEqBassBoost,       param::kEqMid1Frq,
    param::kEqMid1Q,     param::kEqMid1Boost,   param::kEqMid2Frq,     param::kEqMid2Q,           param::kEqMid2Boost,
    param::kEqTrebleFrq, param::kEqTrebleSlope, param::kEqTrebleBoost, param::kEqBlendInstrument, param::kEqBlendVcf};
inline constexpr int kEqGraphFirst[] = {param::kEqGraph};
inline constexpr int kEqGraphAware[] = {param::kEqualizerOn, param::kEqBlendInstrument, param::kEqBlendVcf};
inline constexpr int kEqViewButtons[] = {param::kParametricButton, param::kGraphButton};

// The list overlays' column selects (the close bar, param::kCloseListView, goes with them).
inline constexpr int kListSelects[] = {param::kListColumn1, param::kListColumn2, param::kListColumn3,
                                       param::kListColumn4};
// The program-number selector of the save-from-instrument box.
inline constexpr int kProgramNumber[] = {param::kProgramSlot, param::kReceiveProgram};

}  // namespace groups

inline constexpr EffectGroup kModulationGroup{0, {}, groups::kChorus, {}};
inline constexpr EffectGroup kOverdriveGroup{1, {}, groups::kOverdrive, {}};
inline constexpr EffectGroup kEqBandsGroup{2, {}, groups::kEqBands, groups::kEqViewButtons};
inline constexpr EffectGroup kEqGraphGroup{3, groups::kEqGraphFirst, groups::kEqGraphAware, groups::kEqViewButtons};

}  // namespace qd
