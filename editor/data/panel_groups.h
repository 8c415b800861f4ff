// The groups of controls the panels show and hide together: the effect panels, the
// list overlays, the save-from-instrument box, the manager page with its two small
// groups, the Flexi range controls and the about box.
#pragma once

#include <cstdint>
#include <span>

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

inline constexpr int kChorus[] = {132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146};
inline constexpr int kOverdrive[] = {147, 148, 149, 182, 183};
inline constexpr int kEqBands[] = {160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 184, 185};
inline constexpr int kEqGraphFirst[] = {290};
inline constexpr int kEqGraphAware[] = {160, 184, 185};
inline constexpr int kEqViewButtons[] = {291, 292};

// The list overlays' column selects, the close bar and the first polarity switch
// (slot n's is kFirstPolarity + 2n).
inline constexpr int kListSelects[] = {263, 264, 265, 266};
inline constexpr int kCloseList = 300;
inline constexpr int kFirstPolarity = 175;
// The program-number selector of the save-from-instrument box.
inline constexpr int kProgramNumber[] = {301, 302};
// Flexi slot n's range controls are kFirstFlexiRangeControl + 2n and the one after.
inline constexpr int kFirstFlexiRangeControl = 229;

}  // namespace groups

inline constexpr EffectGroup kModulationGroup{0, {}, groups::kChorus, {}};
inline constexpr EffectGroup kOverdriveGroup{1, {}, groups::kOverdrive, {}};
inline constexpr EffectGroup kEqBandsGroup{2, {}, groups::kEqBands, groups::kEqViewButtons};
inline constexpr EffectGroup kEqGraphGroup{3, groups::kEqGraphFirst, groups::kEqGraphAware, groups::kEqViewButtons};

}  // namespace qd
