#include "common/heap_buf.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int64_t kPage = 4096;
constexpr int64_t kMaxPagedHeadroom = int64_t(4) << 20;
// Bookkeeping the system allocator keeps beside a large block; sizing the block so
// that the two together fill whole pages wastes no partial page.
constexpr int64_t kAllocatorOverhead = 96;

int64_t RoundUp(int64_t v, int64_t step) { return (v + step - 1) / step * step; }

}  // namespace

CMN_HeapBuf::CMN_HeapBuf(int granularity) : mGranularity(granularity < 0 ? 0 : granularity) {}

CMN_HeapBuf::~CMN_HeapBuf() { std::free(mData); }

CMN_HeapBuf::CMN_HeapBuf(CMN_HeapBuf&& other) noexcept
    : mData(std::exchange(other.mData, nullptr)),
      mSize(std::exchange(other.mSize, 0)),
      mAllocated(std::exchange(other.mAllocated, 0)),
      mGranularity(other.mGranularity) {}

CMN_HeapBuf& CMN_HeapBuf::operator=(CMN_HeapBuf&& other) noexcept {
    if (this != &other) {
        std::free(mData);
        mData = std::exchange(other.mData, nullptr);
        mSize = std::exchange(other.mSize, 0);
        mAllocated = std::exchange(other.mAllocated, 0);
        mGranularity = other.mGranularity;
    }
    return *this;
}

int64_t CMN_HeapBuf::AllocationFor(int64_t size, int granularity) {
    if (size < 0 || size > kCmnHeapBufMaxBytes) return 0;
    int64_t extra = std::max<int64_t>(size / 2, granularity);
    int64_t total;
    if (granularity >= kPage) {
        extra = std::clamp(RoundUp(extra, kPage), kPage, kMaxPagedHeadroom);
        total = RoundUp(size + extra + kAllocatorOverhead, kPage) - kAllocatorOverhead;
    } else {
        total = size + extra;
    }
    // Near the cap the headroom gives way; the requested size itself always fits.
    const int64_t cap = kCmnHeapBufMaxBytes + kMaxPagedHeadroom + kPage;
    return std::max<int64_t>(std::min(total, cap), std::max<int64_t>(size, 1));
}

void* CMN_HeapBuf::Resize(int64_t newSize, bool shrink) {
    if (newSize < 0) newSize = 0;
    if (newSize > kCmnHeapBufMaxBytes) return mData;

    if (newSize == 0 && shrink) {
        std::free(mData);
        mData = nullptr;
        mSize = mAllocated = 0;
        return nullptr;
    }

    if (newSize > mAllocated) {
        const int64_t want = AllocationFor(newSize, mGranularity);
        void* grown = std::realloc(mData, size_t(want));
        if (!grown) return mData;
        mData = grown;
        mAllocated = int(want);
    } else if (shrink && newSize < mAllocated / 2) {
        const int64_t want = AllocationFor(newSize, mGranularity);
        if (want < mAllocated) {
            // A failed shrink keeps the larger block, which still holds the new size.
            if (void* smaller = std::realloc(mData, size_t(want))) {
                mData = smaller;
                mAllocated = int(want);
            }
        }
    }
    mSize = int(newSize);
    return mData;
}
