// Helpers shared by the vector drawing tests.
#pragma once

#include <cstdint>
#include <set>
#include <utility>

#include "raster/canary_bitmap.h"

namespace vectortest {

constexpr uint32_t kWhite = 0xffffffffu;
constexpr uint32_t kOne = 0x01010101u;  // add-mode colour: each hit adds 1 to every byte

using Pixels = std::set<std::pair<int, int>>;

// The pixels that differ from the background.
inline Pixels SetPixels(const CanaryBitmap& bm, uint32_t background = 0) {
    Pixels s;
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x)
            if (bm.at(x, y) != background) s.insert({x, y});
    return s;
}

inline void FillWith(CanaryBitmap& bm, uint32_t v) {
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) bm.at(x, y) = v;
}

// The weight a pixel received, read back from a copy of colour 0 over white:
// 255 - trunc(255 (256 - w) / 256) is w for 1 <= w <= 256 and 0 for an untouched pixel.
inline int WeightAt(const CanaryBitmap& bm, int x, int y) { return 255 - int(bm.at(x, y) >> 8 & 255); }

// Total weight and weighted centre of the pixels across the line at one major
// coordinate, looking two pixels either side of the expected minor coordinate.
struct CrossSection {
    int sum = 0;
    double centre = 0;
};
inline CrossSection CrossSectionAt(const CanaryBitmap& bm, bool xMajor, int major, double expected) {
    CrossSection c;
    double moment = 0;
    for (int m = int(expected) - 2; m <= int(expected) + 2; ++m) {
        const int w = xMajor ? WeightAt(bm, major, m) : WeightAt(bm, m, major);
        c.sum += w;
        moment += double(w) * m;
    }
    c.centre = c.sum ? moment / c.sum : 0;
    return c;
}

}  // namespace vectortest
