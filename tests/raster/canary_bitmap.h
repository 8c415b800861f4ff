// A bitmap living inside a larger buffer with canary pixels around it (and between
// rows), optionally reporting itself flipped, for tests that must prove a drawing call
// never strays outside the pixels it owns. Reads past the margins fault under the
// address sanitizer.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "raster/bitmap.h"

class CanaryBitmap : public PIX_IBitmap {
public:
    static constexpr uint32_t kCanary = 0xdeadbeef;
    static constexpr int kMargin = 8;

    CanaryBitmap(int width, int height, bool flipped = false, int padding = 3, uint32_t canary = kCanary)
        : mWidth(width), mHeight(height), mStride(width + padding + 2 * kMargin), mFlipped(flipped), mCanary(canary),
          mBuf(size_t(mStride) * (height + 2 * kMargin), canary) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) at(x, y) = 0;
    }

    void* getBits() const override { return const_cast<uint32_t*>(mBuf.data()) + kMargin * mStride + kMargin; }
    int getWidth() const override { return mWidth; }
    int getHeight() const override { return mHeight; }
    int getRowSpan() const override { return mStride; }
    bool isFlipped() const override { return mFlipped; }
    bool resize(int, int) override { return false; }

    // Pixel (x, y) as the drawing operations see it (flipped rows counted from the bottom).
    uint32_t& at(int x, int y) {
        const int row = mFlipped ? mHeight - 1 - y : y;
        return static_cast<uint32_t*>(getBits())[size_t(row) * mStride + x];
    }
    uint32_t at(int x, int y) const { return const_cast<CanaryBitmap*>(this)->at(x, y); }

    void randomize(std::mt19937& rng) {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x) at(x, y) = rng();
    }

    std::vector<uint32_t> pixels() const {
        std::vector<uint32_t> v;
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x) v.push_back(at(x, y));
        return v;
    }

    // Number of canary pixels that no longer hold the canary value.
    int damagedCanaries() const {
        int damaged = 0;
        const uint32_t* bits = static_cast<const uint32_t*>(getBits());
        for (size_t i = 0; i < mBuf.size(); ++i) {
            const int64_t off = int64_t(i) - (bits - mBuf.data());
            const int64_t row = off >= 0 ? off / mStride : -1, col = off >= 0 ? off % mStride : -1;
            const bool inside = off >= 0 && row < mHeight && col < mWidth;
            if (!inside && mBuf[i] != mCanary) ++damaged;
        }
        return damaged;
    }

private:
    int mWidth, mHeight, mStride;
    bool mFlipped;
    uint32_t mCanary;
    std::vector<uint32_t> mBuf;
};
