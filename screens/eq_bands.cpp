#include "screens/eq_bands.h"

#include <algorithm>
#include <cmath>

namespace qd {

namespace {

// Each band's frequency knob spans an exponent range: 2^c Hz at 0 to 2^(c + k) Hz at
// 127. Single precision throughout, as the instrument's own editor computes it.
struct BandShape {
    int type;
    float k, c;
    float minFreq, maxFreq, minGain, maxGain, minWidth, maxWidth;
};

constexpr BandShape kShapes[kEqBands] = {
    {IParaGraphicEqBand::kLowShelf, 2.43296f, 5.6438556f, 50, 270, -20, 20, 4.0f, 10.0f},
    {IParaGraphicEqBand::kPeak, 5.0995355f, 7.1292825f, 140, 4800, -20, 20, 0.1442f, 1.38848f},
    {IParaGraphicEqBand::kPeak, 5.0995355f, 7.1292825f, 140, 4800, -20, 20, 0.1442f, 1.38848f},
    {IParaGraphicEqBand::kHighShelf, 1.8073559f, 10.965783f, 2000, 7000, -15, 15, 4.0f, 10.0f},
};

// A mid Q knob of 10 to 100 gives Q 1 to 10; below 10 the Q would reach 0 and the
// bandwidth infinity.
constexpr int kMinQKnob = 10, kMaxQKnob = 100;

float Bandwidth(int qKnob) {
    const float q = float(std::clamp(qKnob, kMinQKnob, kMaxQKnob) - 10) / 90.0f * 9.0f + 1.0f;
    const float a = q * q, b = 2.0f * a, c = b + 1.0f;
    const float r = c / a;
    return std::log10(std::sqrt(r * r * 0.25f - 1.0f) + c / b) / 0.30103f;
}

int KnobValue(float v) { return std::clamp(int(std::lround(v)), 0, 127); }

}  // namespace

IParaGraphicEqBand EqBandFromKnobs(int band, EqKnobs knobs) {
    IParaGraphicEqBand out;
    if (band < 0 || band >= kEqBands) return out;
    const BandShape& s = kShapes[band];
    out.index = band;
    out.type = s.type;
    out.gain = float(knobs.gain);
    out.freq = std::pow(2.0f, float(knobs.freq) / 127.0f * s.k + s.c);
    out.width = s.type == IParaGraphicEqBand::kPeak ? Bandwidth(knobs.shape)
                                                     : float(127 - knobs.shape) / 127.0f * 6.0f + 4.0f;
    out.minFreq = s.minFreq;
    out.maxFreq = s.maxFreq;
    out.minGain = s.minGain;
    out.maxGain = s.maxGain;
    out.minWidth = s.minWidth;
    out.maxWidth = s.maxWidth;
    return out;
}

EqKnobs EqKnobsFromBand(const IParaGraphicEqBand& band) {
    if (band.index < 0 || band.index >= kEqBands) return {0, 0, 0};
    const BandShape& s = kShapes[band.index];
    EqKnobs out{};
    out.freq = band.freq > 0.0f ? KnobValue((std::log2(band.freq) - s.c) / s.k * 127.0f) : 0;
    out.gain = KnobValue(band.gain);
    if (s.type == IParaGraphicEqBand::kPeak) {
        // Q of a bandwidth of N octaves: sqrt(2^N) / (2^N - 1).
        const float p = std::pow(2.0f, std::max(band.width, 1e-3f));
        const float q = std::sqrt(p) / (p - 1.0f);
        out.shape = std::clamp(KnobValue((q - 1.0f) / 9.0f * 90.0f + 10.0f), kMinQKnob, kMaxQKnob);
    } else {
        out.shape = KnobValue(127.0f - (band.width - 4.0f) / 6.0f * 127.0f);
    }
    return out;
}

}  // namespace qd
