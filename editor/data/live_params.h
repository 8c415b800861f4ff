// The parameters that the panel's builders, groups, lists, tabs and graph and the
// editor core treat by name.
#pragma once

namespace qd::live {

inline constexpr int kFilterMode = 78, kVintageCutoff = 79, kNewCutoff = 186;
// On/off switches with a value text, and the short sliders.
inline constexpr int kVcfSlope = 87, kPortamentoSlope = 89, kTrigMode = 92, kPortamentoMode = 173;
inline constexpr int kKeyPriority = 93, kMidiSync = 127;
inline constexpr int kOscSync = 187, kTrackingPriority = 188;
// Flexi slot n's program parameters are kFlexiBase + kFlexiStride * n + offset.
inline constexpr int kFlexiBase = 98, kFlexiStride = 7;
inline constexpr int kFlexiSource = 0, kFlexiPolarity = 3, kFlexiRange = 4, kFlexiCurve = 6;
inline constexpr int kFlexiRangeA = 231;  // Range A of slot n is 231 + 2n, Range B 232 + 2n
inline constexpr int kFlexiLed = 243;
inline constexpr int kDelayMode = 126, kModOnOff = 134;
inline constexpr int kEffectsOrder = 131;
inline constexpr int kOverdriveOn = 147, kEqualizerOn = 160;
inline constexpr int kFirstEqKnob = 161, kLastEqKnob = 172;
inline constexpr int kShowOverdrive = 267, kShowEqualizer = 268, kShowChorus = 269, kShowDelay = 305;
inline constexpr int kOverdriveTab = 294, kEqualizerTab = 295, kChorusTab = 296, kDelayTab = 306;
inline constexpr int kFirstSourceOpener = 255, kFirstRangeOpener = 259;
inline constexpr int kFirstListSelect = 263, kLastListSelect = 266;
inline constexpr int kCloseListView = 300;
inline constexpr int kEqGraph = 290, kParametricButton = 291, kGraphButton = 292;
inline constexpr int kEffectSelect = 293;  // the hidden radio buttons of the "orig" panel

// The program manager page.
inline constexpr int kSelectedRow = 332, kSelectedSlot = 333, kScrollPosition = 335, kPlayNote = 336;
inline constexpr int kLocalDatabase = 337, kGlobalDatabase = 338, kLogin = 339, kRememberPassword = 340;
inline constexpr int kManagerOptionOnAtStart = 324;  // a check box that starts on

// Program entries (parameter - 3) read from the program buffer.
inline constexpr int kDelayModeEntry = 123, kMidiSyncEntry = 124, kModOnOffEntry = 131;
// The parameters whose ranges follow MIDI sync (the LFO rate and the two delay
// times), and their program entries.
inline constexpr int kSyncedLfoRate = 45, kDelay1Time = 138, kDelay2Time = 142;
inline constexpr int kSyncedParams[] = {kSyncedLfoRate, kDelay1Time, kDelay2Time};
inline constexpr int kSyncedEntries[] = {42, 135, 139};
// Destinations in this range are the equalizer's band knobs (parameters 160 to 172).
inline constexpr int kFirstEqEntry = 157, kLastEqEntry = 169;

// Indices of the effect-tab highlights the panel keeps: the effect-on and the
// modulation-mode indicators.
inline constexpr int kOverdriveIndicator = 0, kEqualizerIndicator = 1, kChorusIndicator = 2, kDelayIndicator = 3;

}  // namespace qd::live
