// The editor's 344 parameters, each named once: its number, the name the code calls it
// by, the name the panel and the tooltips show, its kind, its range (minimum to
// maximum, in the parameter's own units), its default, and its display texts, one per
// value from the minimum up, separated by '|' (null when the value is shown as a
// number). The names (qd::param, param_table.h) and the table (kParamTable) are both
// made from this one list, so a number is written nowhere else.
//
// X(number, id, name, kind, min, max, default, texts)
//
// Names that no panel text gives (the reserved numbers and the Flexi slots' inner
// entries among them) are the editor's own choice. Parameters 3 to 186 are the sound
// program: parameter p is program entry p - 3.
#pragma once

namespace qd {

// The Flexi slots' sources, which their source and list parameters show alike.
inline constexpr const char* kFlexiSourceTexts =
    "none|Mod Wheel|Velocity|Aftertouch|Breath|Expression|Pitch Bend|LFO|Envelope|Key Follow";

}  // namespace qd

// clang-format off
#define QD_PARAMS(X) \
    X(  0, kProgramNumber,              "Program Number",                   kInt,    0,  99,   0, nullptr) \
    X(  1, kProgramCategory,            "Program Category",                 kEnum,   0,   5,   0, "none|BASS|GTR|MIDI|FX|EWI") \
    X(  2, kProgramEdited,              "Program Edited",                   kBool,   0,   1,   0, "no|yes") \
    X(  3, kVco1Coarse,                 "VCO1 coarse",                      kInt,    0, 127,  64, nullptr) \
    X(  4, kVco1Fine,                   "VCO1 fine",                        kInt,    0, 127,  64, nullptr) \
    X(  5, kVco1Beat,                   "VCO1 beat",                        kInt,    0, 127,   0, nullptr) \
    X(  6, kVco1SawEnvDecay,            "VCO1 saw env decay",               kInt,    0, 127,   0, nullptr) \
    X(  7, kVco1SawEnvAmpMod,           "VCO1 saw env ampmod",              kInt,    0, 127,   0, nullptr) \
    X(  8, kVco1PwmOffset,              "VCO1 PWM offset",                  kInt,    0, 127,  64, nullptr) \
    X(  9, kVco1PwmLfoFrq,              "VCO1 PWM LFO frq",                 kInt,    0, 127,   0, nullptr) \
    X( 10, kVco1PwmLfoDepth,            "VCO1 PWM LFO depth",               kInt,    0, 127,   0, nullptr) \
    X( 11, kVco1Saw,                    "VCO1 saw",                         kInt,    0, 127, 127, nullptr) \
    X( 12, kVco1Square,                 "VCO1 square",                      kInt,    0, 127,   0, nullptr) \
    X( 13, kVco1Tri,                    "VCO1 tri",                         kInt,    0, 127,   0, nullptr) \
    X( 14, kVco1Volume,                 "VCO1 volume",                      kInt,    0, 127, 100, nullptr) \
    X( 15, kVco2Coarse,                 "VCO2 coarse",                      kInt,    0, 127,  64, nullptr) \
    X( 16, kVco2Fine,                   "VCO2 fine",                        kInt,    0, 127,  64, nullptr) \
    X( 17, kVco2Beat,                   "VCO2 beat",                        kInt,    0, 127,   0, nullptr) \
    X( 18, kVco2SawEnvDecay,            "VCO2 saw env decay",               kInt,    0, 127,   0, nullptr) \
    X( 19, kVco2SawEnvAmpMod,           "VCO2 saw env ampmod",              kInt,    0, 127,   0, nullptr) \
    X( 20, kVco2PwmOffset,              "VCO2 PWM offset",                  kInt,    0, 127,  64, nullptr) \
    X( 21, kVco2PwmLfoFrq,              "VCO PWM LFO frq",                  kInt,    0, 127,   0, nullptr) \
    X( 22, kVco2PwmLfoDepth,            "VCO2 PWM LFO depth",               kInt,    0, 127,   0, nullptr) \
    X( 23, kVco2Saw,                    "VCO2 saw",                         kInt,    0, 127,   0, nullptr) \
    X( 24, kVco2Square,                 "VCO2 square",                      kInt,    0, 127,   0, nullptr) \
    X( 25, kVco2Tri,                    "VCO2 tri",                         kInt,    0, 127,   0, nullptr) \
    X( 26, kVco2Volume,                 "VCO2 volume",                      kInt,    0, 127, 100, nullptr) \
    X( 27, kVco3Coarse,                 "VCO3 coarse",                      kInt,    0, 127,  64, nullptr) \
    X( 28, kVco3Fine,                   "VCO3 fine",                        kInt,    0, 127,  64, nullptr) \
    X( 29, kVco3Beat,                   "VCO3 beat",                        kInt,    0, 127,   0, nullptr) \
    X( 30, kVco3SawEnvDecay,            "VCO3 saw env decay",               kInt,    0, 127,   0, nullptr) \
    X( 31, kVco3SawEnvAmpMod,           "VCO3 saw env ampmod",              kInt,    0, 127,   0, nullptr) \
    X( 32, kVco3PwmOffset,              "VCO3 PWM offset",                  kInt,    0, 127,  64, nullptr) \
    X( 33, kVco3PwmLfoFrq,              "VCO3 PWM LFO frq",                 kInt,    0, 127,   0, nullptr) \
    X( 34, kVco3PwmLfoDepth,            "VCO3 PWM LFO depth",               kInt,    0, 127,   0, nullptr) \
    X( 35, kVco3Saw,                    "VCO3 saw",                         kInt,    0, 127,   0, nullptr) \
    X( 36, kVco3Square,                 "VCO3 square",                      kInt,    0, 127,   0, nullptr) \
    X( 37, kVco3Tri,                    "VCO3 tri",                         kInt,    0, 127,   0, nullptr) \
    X( 38, kVco3Volume,                 "VCO3 volume",                      kInt,    0, 127, 100, nullptr) \
    X( 39, kVco4Coarse,                 "VCO4 coarse",                      kInt,    0, 127,  64, nullptr) \
    X( 40, kVco4Fine,                   "VCO4 fine",                        kInt,    0, 127,  64, nullptr) \
    X( 41, kVco4Beat,                   "VCO4 beat",                        kInt,    0, 127,   0, nullptr) \
    X( 42, kVco4SawEnvDecay,            "VCO4 saw env decay",               kInt,    0, 127,   0, nullptr) \
    X( 43, kVco4SawEnvAmpMod,           "VCO4 saw env ampmod",              kInt,    0, 127,   0, nullptr) \
    X( 44, kVco4PwmOffset,              "VCO4 PWM offset",                  kInt,    0, 127,  64, nullptr) \
    X( 45, kVco4PwmLfoFrq,              "VCO4 PWM LFO frq",                 kInt,    1, 127,   1, nullptr) \
    X( 46, kVco4PwmLfoDepth,            "VCO4 PWM LFO depth",               kInt,    0, 127,   0, nullptr) \
    X( 47, kVco4Saw,                    "VCO4 saw",                         kInt,    0, 127,   0, nullptr) \
    X( 48, kVco4Square,                 "VCO4 square",                      kInt,    0, 127,   0, nullptr) \
    X( 49, kVco4Tri,                    "VCO4 tri",                         kInt,    0, 127,   0, nullptr) \
    X( 50, kVco4Volume,                 "VCO4 volume",                      kInt,    0, 127, 100, nullptr) \
    X( 51, kVoice2Transposition,        "voice2 transposition",             kEnum,   0,   5,   3, "-12|-7|-5|+5|+7|+12") \
    X( 52, kVoice3Transposition,        "voice3 transposition",             kEnum,   0,   5,   4, "-12|-7|-5|+5|+7|+12") \
    X( 53, kVoicesInstrumentVolume,     "instrument volume",                kInt,    0, 127, 100, nullptr) \
    X( 54, kVoice1Volume,               "voice1(+1oct) volume",             kInt,    0, 127,   0, nullptr) \
    X( 55, kVoice2Volume,               "voice2(var.) volume",              kInt,    0, 127,   0, nullptr) \
    X( 56, kVoice3Volume,               "voice3(var.) volume",              kInt,    0, 127,   0, nullptr) \
    X( 57, kDistortionGrade,            "distortion grade",                 kInt,    0, 127,   0, nullptr) \
    X( 58, kDistortionTone,             "distortion tone",                  kInt,    0, 127,  64, nullptr) \
    X( 59, kOutputInstrumentVolume,     "Instrument volume",                kInt,    0, 127, 100, nullptr) \
    X( 60, kVcfVolumeLinear,            "VCF volume linear",                kInt,    0, 127,   0, nullptr) \
    X( 61, kVcfVolumeLog,               "VCF volume logarithmic",           kInt,    0, 127,   0, nullptr) \
    X( 62, kVcaAttack,                  "VCA attack time",                  kInt,    0, 127,   0, nullptr) \
    X( 63, kVcaDecay,                   "VCA decay time",                   kInt,    0, 127,  64, nullptr) \
    X( 64, kVcaSustain,                 "VCA sustain level",                kInt,    0, 127, 127, nullptr) \
    X( 65, kVcaRelease,                 "VCA release time",                 kInt,    0, 127,  20, nullptr) \
    X( 66, kVcfAttack,                  "VCF attack time",                  kInt,    0, 127,   0, nullptr) \
    X( 67, kVcfDecay,                   "VCF decay time",                   kInt,    0, 127,  64, nullptr) \
    X( 68, kVcfSustain,                 "VCF sustain level",                kInt,    0, 127,  64, nullptr) \
    X( 69, kVcfRelease,                 "VCF release time",                 kInt,    0, 127,  20, nullptr) \
    X( 70, kEnvelopeMode,               "Envelope Mode",                    kEnum,   0,   2,   0, "ADSR|ADS|AR") \
    X( 71, kNoiseAttack,                "Noise attack time",                kInt,    0, 127,   0, nullptr) \
    X( 72, kNoiseDecay,                 "Noise decay time",                 kInt,    0, 127,   0, nullptr) \
    X( 73, kMixerInstrumentVolume,      "Instrument volume",                kInt,    0, 127, 100, nullptr) \
    X( 74, kDistortionVolume,           "Distortion volume",                kInt,    0, 127,   0, nullptr) \
    X( 75, kDistortionThroughAr,        "Distortion through AR",            kInt,    0, 127,   0, nullptr) \
    X( 76, kVcoThroughInverseAr,        "VCO through inverse AR",           kInt,    0, 127,   0, nullptr) \
    X( 77, kNoiseVolume,                "Noise volume",                     kInt,    0, 127,   0, nullptr) \
    X( 78, kFilterMode,                 "VCF vintage/new",                  kEnum,   0,   1,   0, "vintage|new") \
    X( 79, kVintageCutoff,              "VCF Cutoff Frequency (vintage)",   kInt,    0, 127, 127, nullptr) \
    X( 80, kVcf2Cutoff,                 "2nd VCF Cutoff Frequency",         kInt,    0, 127, 127, nullptr) \
    X( 81, kVcfEnvFollower,             "VCF modulation envelope follower", kInt,    0, 127,   0, nullptr) \
    X( 82, kVcfAccent,                  "VCF accent",                       kInt,    0, 127,   0, nullptr) \
    X( 83, kVcfAdGenerator,             "VCF modulation AD generator",      kInt,    0, 127,   0, nullptr) \
    X( 84, kVcfPitchFollow,             "VCF modulation pitch follow",      kEnum,   0,   1,   0, "off|on") \
    X( 85, kVcfType,                    "VCF type",                         kEnum,   0,   4,   0, "lowpass|bandpass|highpass|notch|peak") \
    X( 86, kVcfQ,                       "VCF Q",                            kInt,    0, 127,   0, nullptr) \
    X( 87, kVcfSlope,                   "VCF slope",                        kEnum,   0,   1,   1, "12 dB|24 dB") \
    X( 88, kPortamentoTime,             "portamento time",                  kInt,    0, 127,   0, nullptr) \
    X( 89, kPortamentoSlope,            "portamento slope",                 kEnum,   0,   1,   0, "linear|exponential") \
    X( 90, kPitchBendRange,             "pitch bend range",                 kInt,    0, 127,   2, nullptr) \
    X( 91, kVcoTranspose,               "VCO transpose",                    kInt,    0, 127,  64, nullptr) \
    X( 92, kTrigMode,                   "trig/gate mode",                   kEnum,   0,   1,   0, "trigger|gate") \
    X( 93, kKeyPriority,                "key priority",                     kEnum,   0,   3,   0, "last|low|high|first") \
    X( 94, kLfoFrequency,               "LFO frequency",                    kInt,    0, 127,  64, nullptr) \
    X( 95, kLfoDelay,                   "LFO delay",                        kInt,    0, 127,   0, nullptr) \
    X( 96, kLfoVcfDepth,                "LFO VCF depth",                    kInt,    0, 127,   0, nullptr) \
    X( 97, kLfoVcoDepth,                "LFO VCO depth",                    kInt,    0, 127,   0, nullptr) \
    X( 98, kFlexi1Source,               "FLEXI1 SOURCE",                    kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X( 99, kFlexi1Destination,          "FLEXI1 DESTINATION",               kInt,    0, 183,   0, nullptr) \
    X(100, kFlexi1Depth,                "FLEXI1 DEPTH",                     kInt,    0, 127,   0, nullptr) \
    X(101, kFlexi1Polarity,             "FLEXI1 RANGE POLARITY",            kEnum,   0,   1,   0, "+|-") \
    X(102, kFlexi1Range,                "FLEXI1 RANGE",                     kInt,    0, 127,   0, nullptr) \
    X(103, kFlexi1Offset,               "FLEXI1 OFFSET",                    kInt,    0, 127,   0, nullptr) \
    X(104, kFlexi1Curve,                "FLEXI1 CURVE",                     kInt,    0,  79,   0, nullptr) \
    X(105, kFlexi2Source,               "FLEXI2 SOURCE",                    kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X(106, kFlexi2Destination,          "FLEXI2 DESTINATION",               kInt,    0, 183,   0, nullptr) \
    X(107, kFlexi2Depth,                "FLEXI2 DEPTH",                     kInt,    0, 127,   0, nullptr) \
    X(108, kFlexi2Polarity,             "FLEXI2 RANGE POLARITY",            kEnum,   0,   1,   0, "+|-") \
    X(109, kFlexi2Range,                "FLEXI2 RANGE",                     kInt,    0, 127,   0, nullptr) \
    X(110, kFlexi2Offset,               "FLEXI2 OFFSET",                    kInt,    0, 127,   0, nullptr) \
    X(111, kFlexi2Curve,                "FLEXI2 CURVE",                     kInt,    0,  79,   0, nullptr) \
    X(112, kFlexi3Source,               "FLEXI3 SOURCE",                    kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X(113, kFlexi3Destination,          "FLEXI3 DESTINATION",               kInt,    0, 183,   0, nullptr) \
    X(114, kFlexi3Depth,                "FLEXI3 DEPTH",                     kInt,    0, 127,   0, nullptr) \
    X(115, kFlexi3Polarity,             "FLEXI3 RANGE POLARITY",            kEnum,   0,   1,   0, "+|-") \
    X(116, kFlexi3Range,                "FLEXI3 RANGE",                     kInt,    0, 127,   0, nullptr) \
    X(117, kFlexi3Offset,               "FLEXI3 OFFSET",                    kInt,    0, 127,   0, nullptr) \
    X(118, kFlexi3Curve,                "FLEXI3 CURVE",                     kInt,    0,  79,   0, nullptr) \
    X(119, kFlexi4Source,               "FLEXI4 SOURCE",                    kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X(120, kFlexi4Destination,          "FLEXI4 DESTINATION",               kInt,    0, 183,   0, nullptr) \
    X(121, kFlexi4Depth,                "FLEXI4 DEPTH",                     kInt,    0, 127,   0, nullptr) \
    X(122, kFlexi4Polarity,             "FLEXI4 RANGE POLARITY",            kEnum,   0,   1,   0, "+|-") \
    X(123, kFlexi4Range,                "FLEXI4 RANGE",                     kInt,    0, 127,   0, nullptr) \
    X(124, kFlexi4Offset,               "FLEXI4 OFFSET",                    kInt,    0, 127,   0, nullptr) \
    X(125, kFlexi4Curve,                "FLEXI4 CURVE",                     kInt,    0,  79,   0, nullptr) \
    X(126, kDelayMode,                  "Delay Vintage/Long",               kEnum,   0,   1,   0, "vintage|long") \
    X(127, kMidiSync,                   "MIDI Sync",                        kEnum,   0,   3,   0, "off|LFO|Delay|Delay 2") \
    X(128, kVelocitySensitivity,        "Velocity Sensitivity",             kInt,    0, 127,   0, nullptr) \
    X(129, kAftertouchSensitivity,      "Aftertouch Sensitivity",           kInt,    0, 127,   0, nullptr) \
    X(130, kBreathSensitivity,          "Breath Sensitivity",               kInt,    0, 127,   0, nullptr) \
    X(131, kEffectsOrder,               "Effects Chain Order",              kEnum,   0,   1,   0, "OD > EQ|EQ > OD") \
    X(132, kModBlendInstrument,         "Mod Blend INSTRUMENT",             kInt,    0, 127,   0, nullptr) \
    X(133, kModBlendVcf,                "Mod Blend VCF",                    kInt,    0, 127,   0, nullptr) \
    X(134, kModOnOff,                   "Mod ON/OFF",                       kEnum,   0,   1,   0, "off|on") \
    X(135, kModLfoAFrq,                 "LFO A frq.",                       kInt,    0, 127,  20, nullptr) \
    X(136, kModLfoBFrq,                 "LFO B frq.",                       kInt,    0, 127,  30, nullptr) \
    X(137, kModLevel1,                  "Level1",                           kInt,    0, 127,  64, nullptr) \
    X(138, kDelay1Time,                 "Delay1",                           kInt,    0, 127,  20, nullptr) \
    X(139, kMod1A,                      "Mod1 A",                           kInt,    0, 127,   0, nullptr) \
    X(140, kMod1B,                      "Mod1 B",                           kInt,    0, 127,   0, nullptr) \
    X(141, kModLevel2,                  "Level2",                           kInt,    0, 127,  64, nullptr) \
    X(142, kDelay2Time,                 "Delay2",                           kInt,    0, 127,  30, nullptr) \
    X(143, kMod2A,                      "Mod2 A",                           kInt,    0, 127,   0, nullptr) \
    X(144, kMod2B,                      "Mod2 B",                           kInt,    0, 127,   0, nullptr) \
    X(145, kFeedbackLevel,              "Feedback level",                   kInt,    0, 127,   0, nullptr) \
    X(146, kFeedbackDamping,            "Feedback damping",                 kInt,    0, 127,   0, nullptr) \
    X(147, kOverdriveOn,                "Overdrive ON/OFF",                 kEnum,   0,   1,   0, "off|on") \
    X(148, kOverdriveDrive,             "Drive",                            kInt,    0, 127,   0, nullptr) \
    X(149, kOverdriveLevel,             "Level",                            kInt,    0, 127,  64, nullptr) \
    X(150, kFxReserved1,                "FX Reserved 1",                    kInt,    0, 127,   0, nullptr) \
    X(151, kFxReserved2,                "FX Reserved 2",                    kInt,    0, 127,   0, nullptr) \
    X(152, kFxReserved3,                "FX Reserved 3",                    kInt,    0, 127,   0, nullptr) \
    X(153, kFxReserved4,                "FX Reserved 4",                    kInt,    0, 127,   0, nullptr) \
    X(154, kFxReserved5,                "FX Reserved 5",                    kInt,    0, 127,   0, nullptr) \
    X(155, kFxReserved6,                "FX Reserved 6",                    kInt,    0, 127,   0, nullptr) \
    X(156, kFxReserved7,                "FX Reserved 7",                    kInt,    0, 127,   0, nullptr) \
    X(157, kFxReserved8,                "FX Reserved 8",                    kInt,    0, 127,   0, nullptr) \
    X(158, kFxReserved9,                "FX Reserved 9",                    kInt,    0, 127,   0, nullptr) \
    X(159, kFxReserved10,               "FX Reserved 10",                   kInt,    0, 127,   0, nullptr) \
    X(160, kEqualizerOn,                "Equalizer ON/OFF",                 kEnum,   0,   1,   0, "off|on") \
    X(161, kEqBassFrq,                  "Bass frq.",                        kInt,    0, 127,  64, nullptr) \
    X(162, kEqBassSlope,                "Bass Slope",                       kInt,    0, 127,  64, nullptr) \
    X(163, kEqBassBoost,                "Bass Boost",                       kInt,    0, 127,   0, nullptr) \
    X(164, kEqMid1Frq,                  "Mid1 frq.",                        kInt,    0, 127,  64, nullptr) \
    X(165, kEqMid1Q,                    "Mid1 Q",                           kInt,    0, 127,  10, nullptr) \
    X(166, kEqMid1Boost,                "Mid1 Boost",                       kInt,    0, 127,   0, nullptr) \
    X(167, kEqMid2Frq,                  "Mid2 frq.",                        kInt,    0, 127,  96, nullptr) \
    X(168, kEqMid2Q,                    "Mid2 Q",                           kInt,    0, 127,  10, nullptr) \
    X(169, kEqMid2Boost,                "Mid2 Boost",                       kInt,    0, 127,   0, nullptr) \
    X(170, kEqTrebleFrq,                "Treble frq.",                      kInt,    0, 127,  64, nullptr) \
    X(171, kEqTrebleSlope,              "Treble Slope",                     kInt,    0, 127,  64, nullptr) \
    X(172, kEqTrebleBoost,              "Treble Boost",                     kInt,    0, 127,   0, nullptr) \
    X(173, kPortamentoMode,             "portamento mode",                  kEnum,   0,   1,   0, "always|legato") \
    X(174, kFlexi1Mode,                 "FLEXI1 MODE",                      kEnum,   0,   1,   0, "absolute|relative") \
    X(175, kFlexi1RangeControlPolarity, "FLEXI1 RANGE CONTROL POLARITY",    kEnum,   0,   1,   0, "positive|negative") \
    X(176, kFlexi2Mode,                 "FLEXI2 MODE",                      kEnum,   0,   1,   0, "absolute|relative") \
    X(177, kFlexi2RangeControlPolarity, "FLEXI2 RANGE CONTROL POLARITY",    kEnum,   0,   1,   0, "positive|negative") \
    X(178, kFlexi3Mode,                 "FLEXI3 MODE",                      kEnum,   0,   1,   0, "absolute|relative") \
    X(179, kFlexi3RangeControlPolarity, "FLEXI3 RANGE CONTROL POLARITY",    kEnum,   0,   1,   0, "positive|negative") \
    X(180, kFlexi4Mode,                 "FLEXI4 MODE",                      kEnum,   0,   1,   0, "absolute|relative") \
    X(181, kFlexi4RangeControlPolarity, "FLEXI4 RANGE CONTROL POLARITY",    kEnum,   0,   1,   0, "positive|negative") \
    X(182, kOdBlendInstrument,          "OD Blend INSTRUMENT",              kEnum,   0,   1,   0, "off|on") \
    X(183, kOdBlendVcf,                 "OD Blend VCF",                     kEnum,   0,   1,   0, "off|on") \
    X(184, kEqBlendInstrument,          "EQ Blend INSTRUMENT",              kEnum,   0,   1,   0, "off|on") \
    X(185, kEqBlendVcf,                 "EQ Blend VCF",                     kEnum,   0,   1,   0, "off|on") \
    X(186, kNewCutoff,                  "VCF Cutoff Frequency (new)",       kInt,    0, 127, 127, nullptr) \
    X(187, kOscSync,                    "VCO2 osc. sync",                   kBool,   0,   1,   0, "off|on") \
    X(188, kTrackingPriority,           "Tracking Priority",                kEnum,   0,   1,   0, "VCO1 first|VCO2 first") \
    X(189, kPanelReserved1,             "Panel Reserved 1",                 kInt,    0, 127,   0, nullptr) \
    X(190, kPanelReserved2,             "Panel Reserved 2",                 kInt,    0, 127,   0, nullptr) \
    X(191, kPanelReserved3,             "Panel Reserved 3",                 kInt,    0, 127,   0, nullptr) \
    X(192, kPanelReserved4,             "Panel Reserved 4",                 kInt,    0, 127,   0, nullptr) \
    X(193, kPanelReserved5,             "Panel Reserved 5",                 kInt,    0, 127,   0, nullptr) \
    X(194, kPanelReserved6,             "Panel Reserved 6",                 kInt,    0, 127,   0, nullptr) \
    X(195, kPanelReserved7,             "Panel Reserved 7",                 kInt,    0, 127,   0, nullptr) \
    X(196, kPanelReserved8,             "Panel Reserved 8",                 kInt,    0, 127,   0, nullptr) \
    X(197, kPanelReserved9,             "Panel Reserved 9",                 kInt,    0, 127,   0, nullptr) \
    X(198, kPanelReserved10,            "Panel Reserved 10",                kInt,    0, 127,   0, nullptr) \
    X(199, kPanelReserved11,            "Panel Reserved 11",                kInt,    0, 127,   0, nullptr) \
    X(200, kPanelReserved12,            "Panel Reserved 12",                kInt,    0, 127,   0, nullptr) \
    X(201, kLoadProgramFile,            "Load Program File",                kBool,   0,   1,   0, nullptr) \
    X(202, kLoadProgram,                "Load Program",                     kBool,   0,   1,   0, nullptr) \
    X(203, kSaveProgramFile,            "Save Program File",                kBool,   0,   1,   0, nullptr) \
    X(204, kSaveProgram,                "Save Program",                     kBool,   0,   1,   0, nullptr) \
    X(205, kWriteProgramFile,           "Write Program File",               kBool,   0,   1,   0, nullptr) \
    X(206, kWriteProgram,               "Write Program",                    kBool,   0,   1,   0, nullptr) \
    X(207, kWriteAllPrograms,           "Write All Programs",               kBool,   0,   1,   0, nullptr) \
    X(208, kFirmwareFile,               "Firmware File",                    kBool,   0,   1,   0, nullptr) \
    X(209, kPreviousProgram,            "Previous Program",                 kBool,   0,   1,   0, nullptr) \
    X(210, kNextProgram,                "Next Program",                     kBool,   0,   1,   0, nullptr) \
    X(211, kSevenSegmentDisplay,        "7 segment display",                kInt,    0, 100,   1, nullptr) \
    X(212, kCopy,                       "Copy",                             kBool,   0,   1,   0, nullptr) \
    X(213, kDefault,                    "Default",                          kBool,   0,   1,   0, nullptr) \
    X(214, kRandom,                     "Random",                           kBool,   0,   1,   0, nullptr) \
    X(215, kReset,                      "Reset",                            kBool,   0,   1,   0, nullptr) \
    X(216, kSelectAll,                  "Select All",                       kBool,   0,   1,   0, nullptr) \
    X(217, kClearAll,                   "Clear All",                        kBool,   0,   1,   0, nullptr) \
    X(218, kPanelReserved13,            "Panel Reserved 13",                kInt,    0, 127,   0, nullptr) \
    X(219, kPanelReserved14,            "Panel Reserved 14",                kInt,    0, 127,   0, nullptr) \
    X(220, kPanelReserved15,            "Panel Reserved 15",                kInt,    0, 127,   0, nullptr) \
    X(221, kPanelReserved16,            "Panel Reserved 16",                kInt,    0, 127,   0, nullptr) \
    X(222, kPanelReserved17,            "Panel Reserved 17",                kInt,    0, 127,   0, nullptr) \
    X(223, kPanelReserved18,            "Panel Reserved 18",                kInt,    0, 127,   0, nullptr) \
    X(224, kPanelReserved19,            "Panel Reserved 19",                kInt,    0, 127,   0, nullptr) \
    X(225, kPanelReserved20,            "Panel Reserved 20",                kInt,    0, 127,   0, nullptr) \
    X(226, kPanelReserved21,            "Panel Reserved 21",                kInt,    0, 127,   0, nullptr) \
    X(227, kPanelReserved22,            "Panel Reserved 22",                kInt,    0, 127,   0, nullptr) \
    X(228, kPanelReserved23,            "Panel Reserved 23",                kInt,    0, 127,   0, nullptr) \
    X(229, kRangeControlA,              "Range Control A",                  kInt,    0, 127,   0, nullptr) \
    X(230, kRangeControlB,              "Range Control B",                  kInt,    0, 127,   0, nullptr) \
    X(231, kFlexi1RangeA,               "Flexi1 Range A",                   kInt,    0, 127,   0, nullptr) \
    X(232, kFlexi1RangeB,               "Flexi1 Range B",                   kInt,    0, 127,   0, nullptr) \
    X(233, kFlexi2RangeA,               "Flexi2 Range A",                   kInt,    0, 127,   0, nullptr) \
    X(234, kFlexi2RangeB,               "Flexi2 Range B",                   kInt,    0, 127,   0, nullptr) \
    X(235, kFlexi3RangeA,               "Flexi3 Range A",                   kInt,    0, 127,   0, nullptr) \
    X(236, kFlexi3RangeB,               "Flexi3 Range B",                   kInt,    0, 127,   0, nullptr) \
    X(237, kFlexi4RangeA,               "Flexi4 Range A",                   kInt,    0, 127,   0, nullptr) \
    X(238, kFlexi4RangeB,               "Flexi4 Range B",                   kInt,    0, 127,   0, nullptr) \
    X(239, kFlexi1Learn,                "Flexi1 Learn",                     kBool,   0,   1,   0, nullptr) \
    X(240, kFlexi2Learn,                "Flexi2 Learn",                     kBool,   0,   1,   0, nullptr) \
    X(241, kFlexi3Learn,                "Flexi3 Learn",                     kBool,   0,   1,   0, nullptr) \
    X(242, kFlexi4Learn,                "Flexi4 Learn",                     kBool,   0,   1,   0, nullptr) \
    X(243, kFlexi1Led,                  "Flexi1 LED",                       kBool,   0,   1,   0, nullptr) \
    X(244, kFlexi2Led,                  "Flexi2 LED",                       kBool,   0,   1,   0, nullptr) \
    X(245, kFlexi3Led,                  "Flexi3 LED",                       kBool,   0,   1,   0, nullptr) \
    X(246, kFlexi4Led,                  "Flexi4 LED",                       kBool,   0,   1,   0, nullptr) \
    X(247, kFlexi1Sources,              "Flexi1 Sources",                   kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X(248, kFlexi1Ranges,               "Flexi1 Ranges",                    kInt,    0, 183,   0, nullptr) \
    X(249, kFlexi2Sources,              "Flexi2 Sources",                   kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X(250, kFlexi2Ranges,               "Flexi2 Ranges",                    kInt,    0, 183,   0, nullptr) \
    X(251, kFlexi3Sources,              "Flexi3 Sources",                   kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X(252, kFlexi3Ranges,               "Flexi3 Ranges",                    kInt,    0, 183,   0, nullptr) \
    X(253, kFlexi4Sources,              "Flexi4 Sources",                   kEnum,   0,   9,   0, kFlexiSourceTexts) \
    X(254, kFlexi4Ranges,               "Flexi4 Ranges",                    kInt,    0, 183,   0, nullptr) \
    X(255, kShowFlexi1Sources,          "Show Flexi1 Sources",              kBool,   0,   1,   0, nullptr) \
    X(256, kShowFlexi2Sources,          "Show Flexi2 Sources",              kBool,   0,   1,   0, nullptr) \
    X(257, kShowFlexi3Sources,          "Show Flexi3 Sources",              kBool,   0,   1,   0, nullptr) \
    X(258, kShowFlexi4Sources,          "Show Flexi4 Sources",              kBool,   0,   1,   0, nullptr) \
    X(259, kShowFlexi1Ranges,           "Show Flexi1 Ranges",               kBool,   0,   1,   0, nullptr) \
    X(260, kShowFlexi2Ranges,           "Show Flexi2 Ranges",               kBool,   0,   1,   0, nullptr) \
    X(261, kShowFlexi3Ranges,           "Show Flexi3 Ranges",               kBool,   0,   1,   0, nullptr) \
    X(262, kShowFlexi4Ranges,           "Show Flexi4 Ranges",               kBool,   0,   1,   0, nullptr) \
    X(263, kListColumn1,                "List Column 1",                    kInt,    0,  24,   0, nullptr) \
    X(264, kListColumn2,                "List Column 2",                    kInt,    0,  24,   0, nullptr) \
    X(265, kListColumn3,                "List Column 3",                    kInt,    0,  24,   0, nullptr) \
    X(266, kListColumn4,                "List Column 4",                    kInt,    0,  24,   0, nullptr) \
    X(267, kShowOverdrive,              "Show Fx Overdrive",                kBool,   0,   1,   0, nullptr) \
    X(268, kShowEqualizer,              "Show Fx Equalizer",                kBool,   0,   1,   0, nullptr) \
    X(269, kShowChorus,                 "Show Fx Chorus",                   kBool,   0,   1,   1, nullptr) \
    X(270, kCopyFromVco1,               "Copy from VCO1",                   kBool,   0,   1,   0, nullptr) \
    X(271, kCopyFromVco2,               "Copy from VCO2",                   kBool,   0,   1,   0, nullptr) \
    X(272, kCopyFromVco3,               "Copy from VCO3",                   kBool,   0,   1,   0, nullptr) \
    X(273, kCopyFromVco4,               "Copy from VCO4",                   kBool,   0,   1,   0, nullptr) \
    X(274, kCopyToVco1,                 "Copy to VCO1",                     kBool,   0,   1,   0, nullptr) \
    X(275, kCopyToVco2,                 "Copy to VCO2",                     kBool,   0,   1,   0, nullptr) \
    X(276, kCopyToVco3,                 "Copy to VCO3",                     kBool,   0,   1,   0, nullptr) \
    X(277, kCopyToVco4,                 "Copy to VCO4",                     kBool,   0,   1,   0, nullptr) \
    X(278, kSectionVco1,                "VCO1",                             kBool,   0,   1,   1, nullptr) \
    X(279, kSectionVco2,                "VCO2",                             kBool,   0,   1,   1, nullptr) \
    X(280, kSectionVco3,                "VCO3",                             kBool,   0,   1,   1, nullptr) \
    X(281, kSectionVco4,                "VCO4",                             kBool,   0,   1,   1, nullptr) \
    X(282, kSectionFilter,              "Filter",                           kBool,   0,   1,   1, nullptr) \
    X(283, kSectionEnvLfo,              "EnvLFO",                           kBool,   0,   1,   1, nullptr) \
    X(284, kSectionHarmDist,            "HarmDist",                         kBool,   0,   1,   1, nullptr) \
    X(285, kSectionEffect,              "Effect",                           kBool,   0,   1,   1, nullptr) \
    X(286, kSectionFlexi1,              "Flexi1",                           kBool,   0,   1,   1, nullptr) \
    X(287, kSectionFlexi2,              "Flexi2",                           kBool,   0,   1,   1, nullptr) \
    X(288, kSectionFlexi3,              "Flexi3",                           kBool,   0,   1,   1, nullptr) \
    X(289, kSectionFlexi4,              "Flexi4",                           kBool,   0,   1,   1, nullptr) \
    X(290, kEqGraph,                    "PGEq",                             kInt,    0, 127,   0, nullptr) \
    X(291, kParametricButton,           "4 Band Parametric Equalizer",      kBool,   0,   1,   0, nullptr) \
    X(292, kGraphButton,                "4 Band Paragraphic Equalizer",     kBool,   0,   1,   0, nullptr) \
    X(293, kEffectSelect,               "Effect Select",                    kEnum,   0,   2,   1, "Overdrive|Equalizer|Chorus") \
    X(294, kOverdriveTab,               "Fx Tab Overdrive",                 kBool,   0,   1,   0, nullptr) \
    X(295, kEqualizerTab,               "Fx Tab Equalizer",                 kBool,   0,   1,   0, nullptr) \
    X(296, kChorusTab,                  "Fx Tab Chorus",                    kBool,   0,   1,   0, nullptr) \
    X(297, kPanelReserved24,            "Panel Reserved 24",                kInt,    0, 127,   0, nullptr) \
    X(298, kPanelReserved25,            "Panel Reserved 25",                kInt,    0, 127,   0, nullptr) \
    X(299, kPanelReserved26,            "Panel Reserved 26",                kInt,    0, 127,   0, nullptr) \
    X(300, kCloseListView,              "Close List View",                  kBool,   0,   1,   0, nullptr) \
    X(301, kProgramSlot,                "Program Slot",                     kInt,    0,  99,   1, nullptr) \
    X(302, kReceiveProgram,             "Receive Program",                  kBool,   0,   1,   0, nullptr) \
    X(303, kSaveVcoSettings,            "Save VCO Settings",                kBool,   0,   1,   0, nullptr) \
    X(304, kSaveFlexiSettings,          "Save Flexi Settings",              kBool,   0,   1,   0, nullptr) \
    X(305, kShowDelay,                  "Show Fx Delay",                    kBool,   0,   1,   0, nullptr) \
    X(306, kDelayTab,                   "Fx Tab Delay",                     kBool,   0,   1,   0, nullptr) \
    X(307, kSelectDisk,                 "Select Disk",                      kBool,   0,   1,   0, nullptr) \
    X(308, kSelectAllPrograms,          "Select All Programs",              kBool,   0,   1,   0, nullptr) \
    X(309, kUnselectAllPrograms,        "Unselect All Programs",            kBool,   0,   1,   0, nullptr) \
    X(310, kInvertSelection,            "Invert Selection",                 kBool,   0,   1,   0, nullptr) \
    X(311, kSendToBank,                 "Send to Bank",                     kBool,   0,   1,   0, nullptr) \
    X(312, kNewBank,                    "New Bank",                         kBool,   0,   1,   0, nullptr) \
    X(313, kLoadFromDisk,               "Load from Disk",                   kBool,   0,   1,   0, nullptr) \
    X(314, kDownloadFromQd,             "Download from QD",                 kBool,   0,   1,   0, nullptr) \
    X(315, kSaveToDisk,                 "Save to Disk",                     kBool,   0,   1,   0, nullptr) \
    X(316, kUploadToQdDatabase,         "Upload to QD Database",            kBool,   0,   1,   0, nullptr) \
    X(317, kUploadToQd,                 "Upload to QD",                     kBool,   0,   1,   0, nullptr) \
    X(318, kCategoryFx,                 "FX",                               kBool,   0,   1,   0, nullptr) \
    X(319, kCategoryBass,               "BASS",                             kBool,   0,   1,   0, nullptr) \
    X(320, kCategoryGtr,                "GTR",                              kBool,   0,   1,   0, nullptr) \
    X(321, kCategoryMidi,               "MIDI",                             kBool,   0,   1,   0, nullptr) \
    X(322, kUncategorised,              "Uncategorised",                    kBool,   0,   1,   0, nullptr) \
    X(323, kCategoryEwi,                "EWI",                              kBool,   0,   1,   0, nullptr) \
    X(324, kAllCategories,              "All Categories",                   kBool,   0,   1,   0, nullptr) \
    X(325, kShowNames,                  "Show Names",                       kBool,   0,   1,   0, nullptr) \
    X(326, kShowAuthors,                "Show Authors",                     kBool,   0,   1,   0, nullptr) \
    X(327, kSortByName,                 "Sort by Name",                     kBool,   0,   1,   0, nullptr) \
    X(328, kSortByDate,                 "Sort by Date",                     kBool,   0,   1,   0, nullptr) \
    X(329, kOnlyRated,                  "Only Rated",                       kBool,   0,   1,   0, nullptr) \
    X(330, kOverwrite,                  "Overwrite",                        kBool,   0,   1,   0, nullptr) \
    X(331, kManagerPage,                "Manager Page",                     kInt,    0,   5,   0, nullptr) \
    X(332, kSelectedRow,                "",                                 kDouble,  0,  47,   0, nullptr) \
    X(333, kSelectedSlot,               "",                                 kDouble,  0, 100,   0, nullptr) \
    X(334, kProgramListPage,            "Program List Page",                kInt,    0, 999,   0, nullptr) \
    X(335, kScrollPosition,             "Scroll",                           kDouble,  0,   1,   0, nullptr) \
    X(336, kPlayNote,                   "Play Note",                        kBool,   0,   1,   0, nullptr) \
    X(337, kLocalDatabase,              "Local",                            kBool,   0,   1,   0, nullptr) \
    X(338, kGlobalDatabase,             "Global",                           kBool,   0,   1,   0, nullptr) \
    X(339, kLogin,                      "Login",                            kBool,   0,   1,   0, nullptr) \
    X(340, kRememberPassword,           "Remember Password",                kBool,   0,   1,   0, nullptr) \
    X(341, kMidiChannel,                "MIDI Channel",                     kEnum,   0,  15,   0, "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16") \
    X(342, kMidiCC,                     "MIDI CC",                          kInt,    0, 127,   1, nullptr) \
    X(343, kModWheel,                   "Mod. Wheel",                       kInt,    0, 127,   0, nullptr)
// clang-format on
