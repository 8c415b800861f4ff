#include "raster/bitmap.h"

#include <cstdlib>

namespace {

unsigned char* alignTo64(unsigned char* p) {
    return reinterpret_cast<unsigned char*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t(63));
}

}  // namespace

PIX_MemBitmap::PIX_MemBitmap(int width, int height, int lineAlignment) {
    if (lineAlignment >= 2) {
        const int lowest = lineAlignment & -lineAlignment;
        mAlignMask = lowest - 1 > 16 ? 16 : lowest - 1;
    }
    if (width >= 1 && height >= 1) resize(width, height);
}

PIX_MemBitmap::~PIX_MemBitmap() { std::free(mBlock); }

void* PIX_MemBitmap::getBits() const { return mBlock ? alignTo64(mBlock) : nullptr; }

bool PIX_MemBitmap::resize(int width, int height) {
    if (width == mWidth && height == mHeight) return false;
    mWidth = width;
    mHeight = height;
    // 64-bit arithmetic: a 32-bit product could wrap into a small positive size.
    int64_t bytes = 0;
    if (width >= 1 && height >= 1) {
        const int64_t span = (int64_t(width) + mAlignMask) & ~int64_t(mAlignMask);
        // Even 64 bits wrap for two sides near INT_MAX: refuse before multiplying.
        bytes = span <= kPixMaxBitmapBytes / 4 / height ? span * height * 4 : -1;
    }
    if (bytes <= 0 || bytes > kPixMaxBitmapBytes) {
        std::free(mBlock);
        mBlock = nullptr;
        mAllocated = 0;
        mWidth = mHeight = 0;
        return true;
    }
    if (mBlock && bytes <= mAllocated) return true;
    if (mBlock) {
        const int64_t grown = bytes + bytes / 4;
        auto* p = static_cast<unsigned char*>(std::realloc(mBlock, size_t(grown) + 63));
        if (p) {
            mBlock = p;
            mAllocated = int(grown);
            return true;
        }
        std::free(mBlock);
        mBlock = nullptr;
    }
    mAllocated = int(bytes);
    mBlock = static_cast<unsigned char*>(std::malloc(size_t(bytes) + 63));
    if (!mBlock) {
        mAllocated = 0;
        mWidth = mHeight = 0;
    }
    return true;
}

PIX_SysBitmap::PIX_SysBitmap(int width, int height) { resize(width, height); }

PIX_SysBitmap::~PIX_SysBitmap() {
    if (mContext) WAPI_DeleteGfxContext(mContext);
}

bool PIX_SysBitmap::resize(int width, int height) {
    if (width == mWidth && height == mHeight) return false;
    mWidth = width;
    mHeight = height;
    if (width > 0 && height > 0 && width <= mAllocWidth && height <= mAllocHeight && mBits) {
        auto* frame = static_cast<unsigned char*>(WAPI_GetCtxFrameBuffer(mContext));
        mBits = isFlipped() ? frame + int64_t(mAllocWidth) * (mAllocHeight - height) * 4 : frame;
        return true;
    }
    mAllocWidth = width > INT32_MAX - 3 ? 0 : (width + 3) & ~3;
    mAllocHeight = height;
    if (mContext) WAPI_DeleteGfxContext(mContext);
    mContext = nullptr;
    mBits = nullptr;
    if (mAllocHeight <= 0 || mAllocWidth <= 0) {
        // A size below 1 is an empty bitmap, never a negative one.
        if (mWidth < 0) mWidth = 0;
        if (mHeight < 0) mHeight = 0;
        return false;
    }
    mContext = WAPI_CreateMemContext(nullptr, mAllocWidth, height);
    if (!mContext) {
        mWidth = mHeight = 0;
        mAllocWidth = mAllocHeight = 0;
        return true;
    }
    mBits = static_cast<unsigned char*>(WAPI_GetCtxFrameBuffer(mContext));
    return true;
}
