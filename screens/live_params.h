// The parameters that the live panel's groups, lists, tabs and graph follow: one list
// for the view layout and the parameter-change hook.
#pragma once

namespace qd::live {

inline constexpr int kFilterMode = 78, kVintageCutoff = 79, kNewCutoff = 186;
// Flexi slot n's program parameters are kFlexiBase + kFlexiStride * n + offset.
inline constexpr int kFlexiBase = 98, kFlexiStride = 7;
inline constexpr int kFlexiSource = 0, kFlexiPolarity = 3, kFlexiRange = 4;
inline constexpr int kFlexiRangeA = 231;  // Range A of slot n is 231 + 2n, Range B 232 + 2n
inline constexpr int kFlexiLed = 243;
inline constexpr int kDelayMode = 126, kMidiSync = 127, kModOnOff = 134;
inline constexpr int kEffectsOrder = 131;
inline constexpr int kOverdriveOn = 147, kEqualizerOn = 160;
inline constexpr int kFirstEqKnob = 161, kLastEqKnob = 172;
inline constexpr int kShowOverdrive = 267, kShowEqualizer = 268, kShowChorus = 269, kShowDelay = 305;
inline constexpr int kOverdriveTab = 294, kEqualizerTab = 295, kChorusTab = 296, kDelayTab = 306;
inline constexpr int kFirstSourceOpener = 255, kFirstRangeOpener = 259;
inline constexpr int kFirstListSelect = 263, kLastListSelect = 266;
inline constexpr int kCloseListView = 300;
inline constexpr int kEqGraph = 290, kParametricButton = 291, kGraphButton = 292;

// Program entries (parameter - 3) read from the program buffer.
inline constexpr int kDelayModeEntry = 123, kMidiSyncEntry = 124, kModOnOffEntry = 131;
// The parameters whose ranges follow MIDI sync, and their program entries.
inline constexpr int kSyncedParams[] = {45, 138, 142};
inline constexpr int kSyncedEntries[] = {42, 135, 139};
// Destinations in this range are the equalizer's band knobs (parameters 160 to 172).
inline constexpr int kFirstEqEntry = 157, kLastEqEntry = 169;

// Indices of the effect-tab highlights the panel keeps: the effect-on and the
// modulation-mode indicators.
inline constexpr int kOverdriveIndicator = 0, kEqualizerIndicator = 1, kChorusIndicator = 2, kDelayIndicator = 3;

}  // namespace qd::live
