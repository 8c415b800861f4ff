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
        alignMask_ = lowest - 1 > 16 ? 16 : lowest - 1;
    }
    if (width >= 1 && height >= 1) resize(width, height);
}

PIX_MemBitmap::~PIX_MemBitmap() { std::free(block_); }

void* PIX_MemBitmap::getBits() const { return block_ ? alignTo64(block_) : nullptr; }

bool PIX_MemBitmap::resize(int width, int height) {
    if (width == width_ && height == height_) return false;
    width_ = width;
    height_ = height;
    // 64-bit arithmetic: a 32-bit product could wrap into a small positive size.
    int64_t bytes = 0;
    if (width >= 1 && height >= 1) {
        const int64_t span = (int64_t(width) + alignMask_) & ~int64_t(alignMask_);
        // Even 64 bits wrap for two sides near INT_MAX: refuse before multiplying.
        bytes = span <= kPixMaxBitmapBytes / 4 / height ? span * height * 4 : -1;
    }
    if (bytes <= 0 || bytes > kPixMaxBitmapBytes) {
        std::free(block_);
        block_ = nullptr;
        allocated_ = 0;
        width_ = height_ = 0;
        return true;
    }
    if (block_ && bytes <= allocated_) return true;
    if (block_) {
        const int64_t grown = bytes + bytes / 4;
        auto* p = static_cast<unsigned char*>(std::realloc(block_, size_t(grown) + 63));
        if (p) {
            block_ = p;
            allocated_ = int(grown);
            return true;
        }
        std::free(block_);
        block_ = nullptr;
    }
    allocated_ = int(bytes);
    block_ = static_cast<unsigned char*>(std::malloc(size_t(bytes) + 63));
    if (!block_) {
        allocated_ = 0;
        width_ = height_ = 0;
    }
    return true;
}

PIX_SysBitmap::PIX_SysBitmap(int width, int height) { resize(width, height); }

PIX_SysBitmap::~PIX_SysBitmap() {
    if (context_) WAPI_DeleteGfxContext(context_);
}

bool PIX_SysBitmap::resize(int width, int height) {
    if (width == width_ && height == height_) return false;
    width_ = width;
    height_ = height;
    if (width > 0 && height > 0 && width <= allocWidth_ && height <= allocHeight_ && bits_) {
        auto* frame = static_cast<unsigned char*>(WAPI_GetCtxFrameBuffer(context_));
        bits_ = isFlipped() ? frame + int64_t(allocWidth_) * (allocHeight_ - height) * 4 : frame;
        return true;
    }
    allocWidth_ = width > INT32_MAX - 3 ? 0 : (width + 3) & ~3;
    allocHeight_ = height;
    if (context_) WAPI_DeleteGfxContext(context_);
    context_ = nullptr;
    bits_ = nullptr;
    if (allocHeight_ <= 0 || allocWidth_ <= 0) {
        // A size below 1 is an empty bitmap, never a negative one.
        if (width_ < 0) width_ = 0;
        if (height_ < 0) height_ = 0;
        return false;
    }
    context_ = WAPI_CreateMemContext(nullptr, allocWidth_, height);
    if (!context_) {
        width_ = height_ = 0;
        allocWidth_ = allocHeight_ = 0;
        return true;
    }
    bits_ = static_cast<unsigned char*>(WAPI_GetCtxFrameBuffer(context_));
    return true;
}
