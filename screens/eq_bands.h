// The instrument's equalizer knobs (0 to 127) as the graph's band records, and a
// dragged band back as knob values.
#pragma once

#include "gui/controls/para_eq_graph.h"

namespace qd {

inline constexpr int kEqBands = 4;

// The three knob values of one band, in the order frequency, shape, gain.
struct EqKnobs {
    int freq, shape, gain;
};

// The band record for `band` (0 bass, 1 and 2 mid, 3 treble) from its knob values.
IParaGraphicEqBand EqBandFromKnobs(int band, EqKnobs knobs);

// The knob values that come nearest to a band record, clamped to 0..127.
EqKnobs EqKnobsFromBand(const IParaGraphicEqBand& band);

}  // namespace qd
