// Helpers shared by the vector drawing and text tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "raster/canary_bitmap.h"
#include "raster/raster_test_util.h"

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

// Rows as strings: '.' untouched, '#' one hit of kOne (or white), digits for more hits.
inline std::vector<std::string> Picture(const CanaryBitmap& bm) {
    std::vector<std::string> rows(bm.getHeight());
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) {
            const uint32_t p = bm.at(x, y);
            rows[y] += p == 0 ? '.' : (p == kOne || p == kWhite ? '#' : char('0' + (p & 255)));
        }
    return rows;
}

// Same bytes in memory, row by row, canaries included: a flipped bitmap drawn with
// mirrored coordinates must equal a plain one.
inline bool SameMemory(const CanaryBitmap& a, const CanaryBitmap& b) {
    return std::memcmp(a.getBits(), b.getBits(), size_t(a.getHeight()) * a.getRowSpan() * 4) == 0;
}

// The weight a pixel received, read back from a copy of colour 0 over white:
// 255 - trunc(255 (256 - w) / 256) is w for 1 <= w <= 256 and 0 for an untouched pixel.
inline int WeightAt(const CanaryBitmap& bm, int x, int y) { return 255 - int(bm.at(x, y) >> 8 & 255); }

// Anti-aliased lines, read back as weights: at each whole major coordinate between the
// ends (the ends themselves only when asked) the pixels across the line carry 255 in
// total, and their weighted centre lies on the exact line.
inline void ExpectCentredOnLine(const CanaryBitmap& bm, double x1, double y1, double x2, double y2, bool ends) {
    const bool xMajor = std::fabs(y2 - y1) < std::fabs(x2 - x1);
    const double ma = xMajor ? x1 : y1, mb = xMajor ? x2 : y2, na = xMajor ? y1 : x1, nb = xMajor ? y2 : x2;
    const int first = int(std::ceil(std::min(ma, mb))) + !ends, last = int(std::floor(std::max(ma, mb))) - !ends;
    for (int major = first; major <= last; ++major) {
        const double exact = na + (nb - na) * (major - ma) / (mb - ma);
        int sum = 0;
        double moment = 0;
        for (int m = int(exact) - 2; m <= int(exact) + 2; ++m) {
            const int w = xMajor ? WeightAt(bm, major, m) : WeightAt(bm, m, major);
            sum += w;
            moment += double(w) * m;
        }
        ASSERT_EQ(sum, 255) << "at " << major;
        ASSERT_NEAR(moment / sum, exact, 0.02) << "at " << major;
    }
}

}  // namespace vectortest
