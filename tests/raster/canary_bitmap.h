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
        : width_(width), height_(height), stride_(width + padding + 2 * kMargin), flipped_(flipped), canary_(canary),
          buf_(size_t(stride_) * (height + 2 * kMargin), canary) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) at(x, y) = 0;
    }

    void* getBits() const override { return const_cast<uint32_t*>(buf_.data()) + kMargin * stride_ + kMargin; }
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    int getRowSpan() const override { return stride_; }
    bool isFlipped() const override { return flipped_; }
    bool resize(int, int) override { return false; }

    // Pixel (x, y) as the drawing operations see it (flipped rows counted from the bottom).
    uint32_t& at(int x, int y) {
        const int row = flipped_ ? height_ - 1 - y : y;
        return static_cast<uint32_t*>(getBits())[size_t(row) * stride_ + x];
    }
    uint32_t at(int x, int y) const { return const_cast<CanaryBitmap*>(this)->at(x, y); }

    void randomize(std::mt19937& rng) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) at(x, y) = rng();
    }

    std::vector<uint32_t> pixels() const {
        std::vector<uint32_t> v;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) v.push_back(at(x, y));
        return v;
    }

    // Number of canary pixels that no longer hold the canary value.
    int damagedCanaries() const {
        int damaged = 0;
        const uint32_t* bits = static_cast<const uint32_t*>(getBits());
        for (size_t i = 0; i < buf_.size(); ++i) {
            const int64_t off = int64_t(i) - (bits - buf_.data());
            const int64_t row = off >= 0 ? off / stride_ : -1, col = off >= 0 ? off % stride_ : -1;
            const bool inside = off >= 0 && row < height_ && col < width_;
            if (!inside && buf_[i] != canary_) ++damaged;
        }
        return damaged;
    }

private:
    int width_, height_, stride_;
    bool flipped_;
    uint32_t canary_;
    std::vector<uint32_t> buf_;
};
