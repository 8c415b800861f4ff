// Pixel access and filling for the image and transformed-blit tests.
#pragma once

#include <cstdint>
#include <random>

#include "raster/bitmap.h"

inline uint32_t& Px(PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

inline void FillRandom(PIX_IBitmap& bm, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) Px(bm, x, y) = rng();
}

inline void Fill(PIX_IBitmap& bm, uint32_t v) {
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) Px(bm, x, y) = v;
}

inline int CountDifferent(PIX_IBitmap& a, PIX_IBitmap& b) {
    int n = 0;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x) n += Px(a, x, y) != Px(b, x, y);
    return n;
}

// Stores its rows bottom-up, to prove an operation honours the flag.
class FlippedMemBitmap : public PIX_MemBitmap {
public:
    using PIX_MemBitmap::PIX_MemBitmap;
    bool isFlipped() const override { return true; }
};
