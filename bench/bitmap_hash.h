// A 32-bit FNV-1a hash of a bitmap's pixels, printed with the figures so that two builds
// can be seen to give the same bytes.
#pragma once

#include <cstdint>

#include "raster/bitmap.h"

namespace bench {

inline uint32_t BitmapHash(const PIX_IBitmap& bm, uint32_t h = 2166136261u) {
    for (int y = 0; y < bm.getHeight(); ++y) {
        const auto* row = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(bm, 0, y));
        for (int i = 0; i < bm.getWidth() * 4; ++i) h = (h ^ row[i]) * 16777619u;
    }
    return h;
}

}  // namespace bench
