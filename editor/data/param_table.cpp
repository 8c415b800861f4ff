#include "editor/data/param_table.h"

#include <cstdio>

namespace qd {

namespace {

constexpr ParamKind kBool = ParamKind::kBool;
constexpr ParamKind kInt = ParamKind::kInt;
constexpr ParamKind kEnum = ParamKind::kEnum;
constexpr ParamKind kDouble = ParamKind::kDouble;

}  // namespace

constexpr ParamSpec kParamTable[kParamCount] = {
#define QD_PARAM_SPEC(number, id, name, kind, min, max, defaultValue, texts) \
    {number, name, kind, min, max, defaultValue, texts},
    QD_PARAMS(QD_PARAM_SPEC)
#undef QD_PARAM_SPEC
};

using namespace param;

// parameter, x, y.
constexpr PanelPoint kParamPositions[kProgramEntryCount] = {
    {kVco1Coarse,                    25,  88},
    {kVco1Fine,                      65,  88},
    {kVco1Beat,                     105,  88},
    {kVco1SawEnvDecay,              145,  88},
    {kVco1SawEnvAmpMod,             185,  88},
    {kVco1PwmOffset,                225,  88},
    {kVco1PwmLfoFrq,                265,  88},
    {kVco1PwmLfoDepth,              305,  88},
    {kVco1Saw,                      345,  88},
    {kVco1Square,                   385,  88},
    {kVco1Tri,                      425,  88},
    {kVco1Volume,                   465,  88},
    {kVco2Coarse,                    25, 245},
    {kVco2Fine,                      65, 245},
    {kVco2Beat,                     105, 245},
    {kVco2SawEnvDecay,              145, 245},
    {kVco2SawEnvAmpMod,             185, 245},
    {kVco2PwmOffset,                225, 245},
    {kVco2PwmLfoFrq,                265, 245},
    {kVco2PwmLfoDepth,              305, 245},
    {kVco2Saw,                      345, 245},
    {kVco2Square,                   385, 245},
    {kVco2Tri,                      425, 245},
    {kVco2Volume,                   465, 245},
    {kVco3Coarse,                    25, 402},
    {kVco3Fine,                      65, 402},
    {kVco3Beat,                     105, 402},
    {kVco3SawEnvDecay,              145, 402},
    {kVco3SawEnvAmpMod,             185, 402},
    {kVco3PwmOffset,                225, 402},
    {kVco3PwmLfoFrq,                265, 402},
    {kVco3PwmLfoDepth,              305, 402},
    {kVco3Saw,                      345, 402},
    {kVco3Square,                   385, 402},
    {kVco3Tri,                      425, 402},
    {kVco3Volume,                   465, 402},
    {kVco4Coarse,                    25, 559},
    {kVco4Fine,                      65, 559},
    {kVco4Beat,                     105, 559},
    {kVco4SawEnvDecay,              145, 559},
    {kVco4SawEnvAmpMod,             185, 559},
    {kVco4PwmOffset,                225, 559},
    {kVco4PwmLfoFrq,                265, 559},
    {kVco4PwmLfoDepth,              305, 559},
    {kVco4Saw,                      345, 559},
    {kVco4Square,                   385, 559},
    {kVco4Tri,                      425, 559},
    {kVco4Volume,                   465, 559},
    {kVoice2Transposition,          520, 402},
    {kVoice3Transposition,          560, 402},
    {kVoicesInstrumentVolume,       600, 402},
    {kVoice1Volume,                 640, 402},
    {kVoice2Volume,                 680, 402},
    {kVoice3Volume,                 720, 402},
    {kDistortionGrade,              760, 402},
    {kDistortionTone,               800, 402},
    {kOutputInstrumentVolume,      1008, 402},
    {kVcfVolumeLinear,             1044, 402},
    {kVcfVolumeLog,                1080, 402},
    {kVcaAttack,                    560, 245},
    {kVcaDecay,                     600, 245},
    {kVcaSustain,                   640, 245},
    {kVcaRelease,                   680, 245},
    {kVcfAttack,                    720, 245},
    {kVcfDecay,                     760, 245},
    {kVcfSustain,                   800, 245},
    {kVcfRelease,                   840, 245},
    {kEnvelopeMode,                 520, 245},
    {kNoiseAttack,                  880, 245},
    {kNoiseDecay,                   920, 245},
    {kMixerInstrumentVolume,        560,  88},
    {kDistortionVolume,             600,  88},
    {kDistortionThroughAr,          640,  88},
    {kVcoThroughInverseAr,          680,  88},
    {kNoiseVolume,                  720,  88},
    {kFilterMode,                   762, 155},
    {kVintageCutoff,                800,  88},
    {kVcf2Cutoff,                   840,  88},
    {kVcfEnvFollower,               960,  88},
    {kVcfAccent,                   1040,  88},
    {kVcfAdGenerator,              1000,  88},
    {kVcfPitchFollow,              1080,  88},
    {kVcfType,                      920,  88},
    {kVcfQ,                         880,  88},
    {kVcfSlope,                     762, 205},
    {kPortamentoTime,               838, 402},
    {kPortamentoSlope,              866, 465},
    {kPitchBendRange,               970, 402},
    {kVcoTranspose,                 520,  88},
    {kTrigMode,                     883, 520},
    {kKeyPriority,                  936, 505},
    {kLfoFrequency,                 960, 245},
    {kLfoDelay,                    1000, 245},
    {kLfoVcfDepth,                 1040, 245},
    {kLfoVcoDepth,                 1080, 245},
    {kFlexi1Source,                   0,   0},
    {kFlexi1Destination,              0,   0},
    {kFlexi1Depth,                    0,   0},
    {kFlexi1Polarity,                 0,   0},
    {kFlexi1Range,                    0,   0},
    {kFlexi1Offset,                   0,   0},
    {kFlexi1Curve,                  559,   9},
    {kFlexi2Source,                   0,   0},
    {kFlexi2Destination,              0,   0},
    {kFlexi2Depth,                    0,   0},
    {kFlexi2Polarity,                 0,   0},
    {kFlexi2Range,                    0,   0},
    {kFlexi2Offset,                   0,   0},
    {kFlexi2Curve,                  727,   9},
    {kFlexi3Source,                   0,   0},
    {kFlexi3Destination,              0,   0},
    {kFlexi3Depth,                    0,   0},
    {kFlexi3Polarity,                 0,   0},
    {kFlexi3Range,                    0,   0},
    {kFlexi3Offset,                   0,   0},
    {kFlexi3Curve,                  895,   9},
    {kFlexi4Source,                   0,   0},
    {kFlexi4Destination,              0,   0},
    {kFlexi4Depth,                    0,   0},
    {kFlexi4Polarity,                 0,   0},
    {kFlexi4Range,                    0,   0},
    {kFlexi4Offset,                   0,   0},
    {kFlexi4Curve,                 1063,   9},
    {kDelayMode,                      0,   0},
    {kMidiSync,                     936, 450},
    {kVelocitySensitivity,            0,   0},
    {kAftertouchSensitivity,          0,   0},
    {kBreathSensitivity,              0,   0},
    {kEffectsOrder,                 906, 577},
    {kModBlendInstrument,           560, 559},
    {kModBlendVcf,                  600, 559},
    {kModOnOff,                     520, 559},
    {kModLfoAFrq,                   640, 559},
    {kModLfoBFrq,                   680, 559},
    {kModLevel1,                    720, 559},
    {kDelay1Time,                   760, 559},
    {kMod1A,                        800, 559},
    {kMod1B,                        840, 559},
    {kModLevel2,                    880, 559},
    {kDelay2Time,                   920, 559},
    {kMod2A,                        960, 559},
    {kMod2B,                       1000, 559},
    {kFeedbackLevel,               1040, 559},
    {kFeedbackDamping,             1080, 559},
    {kOverdriveOn,                  520, 559},
    {kOverdriveDrive,               640, 559},
    {kOverdriveLevel,               680, 559},
    {kFxReserved1,                    0,   0},
    {kFxReserved2,                    0,   0},
    {kFxReserved3,                    0,   0},
    {kFxReserved4,                    0,   0},
    {kFxReserved5,                    0,   0},
    {kFxReserved6,                    0,   0},
    {kFxReserved7,                    0,   0},
    {kFxReserved8,                    0,   0},
    {kFxReserved9,                    0,   0},
    {kFxReserved10,                   0,   0},
    {kEqualizerOn,                  520, 559},
    {kEqBassFrq,                    640, 559},
    {kEqBassSlope,                  680, 559},
    {kEqBassBoost,                  720, 559},
    {kEqMid1Frq,                    760, 559},
    {kEqMid1Q,                      800, 559},
    {kEqMid1Boost,                  840, 559},
    {kEqMid2Frq,                    880, 559},
    {kEqMid2Q,                      920, 559},
    {kEqMid2Boost,                  960, 559},
    {kEqTrebleFrq,                 1000, 559},
    {kEqTrebleSlope,               1040, 559},
    {kEqTrebleBoost,               1080, 559},
    {kPortamentoMode,               902, 465},
    {kFlexi1Mode,                   478,  68},
    {kFlexi1RangeControlPolarity,   575, 112},
    {kFlexi2Mode,                   646,  68},
    {kFlexi2RangeControlPolarity,   575, 112},
    {kFlexi3Mode,                   814,  68},
    {kFlexi3RangeControlPolarity,   575, 112},
    {kFlexi4Mode,                   982,  68},
    {kFlexi4RangeControlPolarity,   575, 112},
    {kOdBlendInstrument,            560, 559},
    {kOdBlendVcf,                   600, 559},
    {kEqBlendInstrument,            560, 559},
    {kEqBlendVcf,                   600, 559},
    {kNewCutoff,                    800,  88},
};

namespace {

constexpr int CountTexts(const char* texts) {
    if (!texts) return 0;
    int n = 1;
    for (const char* c = texts; *c; ++c) n += *c == '|';
    return n;
}

constexpr bool TablesAreConsistent() {
    for (int i = 0; i < kParamCount; ++i) {
        const ParamSpec& p = kParamTable[i];
        if (p.index != i || p.min > p.max || p.defaultValue < p.min || p.defaultValue > p.max) return false;
        if (p.texts && CountTexts(p.texts) != p.max - p.min + 1) return false;
        if (p.kind == ParamKind::kEnum && (!p.texts || p.min != 0)) return false;
    }
    for (int e = 0; e < kProgramEntryCount; ++e)
        if (kParamPositions[e].param != e + kFirstProgramParam) return false;
    return true;
}
static_assert(TablesAreConsistent(), "every row sits at its own index, with one text per value");

}  // namespace

const char* TextOf(std::span<const ParamText> table, int paramIdx) {
    for (const ParamText& t : table)
        if (t.param == paramIdx) return t.text;
    return nullptr;
}

ValueLimits ProgramValueLimits(int entry) {
    if (entry < 0 || entry >= kProgramEntryCount) return {0, 0};
    const ParamSpec& p = kParamTable[entry + kFirstProgramParam];
    return {p.min, p.max};
}

bool ParamDisplayText(const ParamSpec& spec, int n, char* out, int size) {
    if (!spec.texts || n < 0 || !out || size <= 0) return false;
    const char* start = spec.texts;
    for (; n > 0; --n) {
        while (*start && *start != '|') ++start;
        if (!*start) return false;
        ++start;
    }
    int len = 0;
    while (start[len] && start[len] != '|') ++len;
    std::snprintf(out, size_t(size), "%.*s", len, start);
    return true;
}

}  // namespace qd
