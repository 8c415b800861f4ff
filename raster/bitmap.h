// Bitmaps: rectangles of 32-bit pixels that the raster library addresses row by row.
#pragma once

#include <cstdint>

#include "raster/pixel.h"
#include "winapi/gdi.h"

class PIX_IBitmap {
public:
    virtual ~PIX_IBitmap() = default;
    // Pixel (0, 0) of the storage, or null when there are no pixels.
    virtual void* getBits() const = 0;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    // Pixels from one row to the next; at least the width.
    virtual int getRowSpan() const = 0;
    virtual bool isFlipped() const { return false; }
    // True when the size changed (also when the new pixels could not be had).
    virtual bool resize(int width, int height) = 0;
    virtual HDC getDC() const { return nullptr; }
    virtual intptr_t Extended(int /*id*/, void* /*data*/) { return 0; }
};

// Largest pixel block a bitmap may own. Requests beyond it leave an empty bitmap
// rather than wrapping the 32-bit size arithmetic.
inline constexpr int64_t kPixMaxBitmapBytes = int64_t(1) << 30;

class PIX_MemBitmap : public PIX_IBitmap {
public:
    PIX_MemBitmap(int width = 0, int height = 0, int lineAlignment = 4);
    ~PIX_MemBitmap() override;
    PIX_MemBitmap(const PIX_MemBitmap&) = delete;
    PIX_MemBitmap& operator=(const PIX_MemBitmap&) = delete;

    void* getBits() const override;
    int getWidth() const override { return mWidth; }
    int getHeight() const override { return mHeight; }
    int getRowSpan() const override { return (mWidth + mAlignMask) & ~mAlignMask; }
    bool resize(int width, int height) override;

private:
    unsigned char* mBlock = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    int mAllocated = 0;
    int mAlignMask = 0;
};

class PIX_SysBitmap : public PIX_IBitmap {
public:
    PIX_SysBitmap(int width = 0, int height = 0);
    ~PIX_SysBitmap() override;
    PIX_SysBitmap(const PIX_SysBitmap&) = delete;
    PIX_SysBitmap& operator=(const PIX_SysBitmap&) = delete;

    void* getBits() const override { return mBits; }
    int getWidth() const override { return mWidth; }
    int getHeight() const override { return mHeight; }
    int getRowSpan() const override { return mAllocWidth; }
    bool resize(int width, int height) override;
    HDC getDC() const override { return mContext; }

private:
    int mWidth = 0;
    int mHeight = 0;
    HDC mContext = nullptr;
    unsigned char* mBits = nullptr;
    int mAllocWidth = 0;
    int mAllocHeight = 0;
};

// Address of pixel (x, y), honouring the flipped flag. No bounds check: callers clip.
inline uint32_t* PIX_PixelAddress(const PIX_IBitmap& bm, int x, int y) {
    const int row = bm.isFlipped() ? bm.getHeight() - 1 - y : y;
    return static_cast<uint32_t*>(bm.getBits()) + (int64_t(row) * bm.getRowSpan() + x);
}

// Pixel rows step by this many pixels going down (negative for flipped bitmaps).
inline int64_t PIX_RowStep(const PIX_IBitmap& bm) {
    return bm.isFlipped() ? -int64_t(bm.getRowSpan()) : int64_t(bm.getRowSpan());
}

// True when the bitmap can be drawn into: not null, pixels present, size at least 1.
inline bool PIX_HasPixels(const PIX_IBitmap* bm) {
    return bm && bm->getBits() && bm->getWidth() > 0 && bm->getHeight() > 0;
}
