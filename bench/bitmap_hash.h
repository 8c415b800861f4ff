// A 32-bit FNV-1a hash of a bitmap's pixels, printed with the figures so that two builds
// can be seen to give the same bytes.
#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/bitmap.h"

namespace bench {

// Of the part of the bitmap inside columns [l, r) and rows [t, b).
inline uint32_t BitmapHash(const PIX_IBitmap& bm, int l, int t, int r, int b, uint32_t h = 2166136261u) {
    l = std::max(l, 0), t = std::max(t, 0), r = std::min(r, bm.getWidth()), b = std::min(b, bm.getHeight());
    for (int y = t; y < b; ++y) {
        const auto* row = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(bm, l, y));
        for (int i = 0; i < (r - l) * 4; ++i) h = (h ^ row[i]) * 16777619u;
    }
    return h;
}

inline uint32_t BitmapHash(const PIX_IBitmap& bm, uint32_t h = 2166136261u) {
    return BitmapHash(bm, 0, 0, bm.getWidth(), bm.getHeight(), h);
}

}  // namespace bench
