// A bitmap for catching stray reads and writes: its pixel block touches an
// inaccessible page (at its end, or at its start), and each row is followed by
// canary pixels that the bitmap's width does not include.
#pragma once

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "raster/bitmap.h"
#include "raster_test_util.h"

class GuardedBitmap : public PIX_IBitmap {
public:
    enum class Guard { kAfter, kBefore };

    GuardedBitmap(int width, int height, int padding, Guard guard, uint32_t canary, bool flipped = false)
        : width_(width), height_(height), span_(width + padding), flipped_(flipped), canary_(canary) {
        page_ = size_t(sysconf(_SC_PAGESIZE));
        const size_t bytes = size_t(span_) * size_t(height) * 4;
        dataPages_ = (bytes + page_ - 1) / page_ * page_;
        if (dataPages_ == 0) dataPages_ = page_;
        mapped_ = static_cast<uint8_t*>(
            mmap(nullptr, dataPages_ + 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(mapped_, page_, PROT_NONE);
        mprotect(mapped_ + page_ + dataPages_, page_, PROT_NONE);
        bits_ = reinterpret_cast<uint32_t*>(guard == Guard::kBefore ? mapped_ + page_
                                                                    : mapped_ + page_ + dataPages_ - bytes);
        for (size_t i = 0; i < size_t(span_) * size_t(height); ++i) bits_[i] = canary;
    }
    ~GuardedBitmap() override { munmap(mapped_, dataPages_ + 2 * page_); }
    GuardedBitmap(const GuardedBitmap&) = delete;
    GuardedBitmap& operator=(const GuardedBitmap&) = delete;

    void* getBits() const override { return bits_; }
    int getWidth() const override { return width_; }
    int getHeight() const override { return height_; }
    int getRowSpan() const override { return span_; }
    bool isFlipped() const override { return flipped_; }
    bool resize(int, int) override { return false; }

    // True when no padding pixel changed.
    bool canariesIntact() const {
        for (int y = 0; y < height_; ++y)
            for (int x = width_; x < span_; ++x)
                if (bits_[size_t(y) * size_t(span_) + size_t(x)] != canary_) return false;
        return true;
    }

private:
    int width_, height_, span_;
    bool flipped_;
    uint32_t canary_;
    size_t page_ = 0, dataPages_ = 0;
    uint8_t* mapped_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// Runs draw(dest, source) on two guarded pairs whose sources differ only in the canaries
// beside their rows: different results mean a read outside the source, a changed
// canary a write outside the destination. A stray read past a row block faults.
template <class Draw>
testing::AssertionResult StaysInsideBothBitmaps(int sw, int sh, int dw, int dh, GuardedBitmap::Guard guard,
                                               bool srcFlipped, bool dstFlipped, uint32_t seed, Draw draw) {
    GuardedBitmap srcA(sw, sh, 2, guard, 0x11111111u, srcFlipped), srcB(sw, sh, 2, guard, 0xeeeeeeeeu, srcFlipped);
    GuardedBitmap dstA(dw, dh, 3, guard, 0x5a5a5a5au, dstFlipped), dstB(dw, dh, 3, guard, 0x5a5a5a5au, dstFlipped);
    FillRandom(srcA, seed);
    FillRandom(srcB, seed);
    FillRandom(dstA, seed + 1);
    FillRandom(dstB, seed + 1);
    draw(dstA, srcA);
    draw(dstB, srcB);
    if (CountDifferent(dstA, dstB)) return testing::AssertionFailure() << "read outside the source";
    if (!dstA.canariesIntact()) return testing::AssertionFailure() << "wrote outside the destination";
    return testing::AssertionSuccess();
}
