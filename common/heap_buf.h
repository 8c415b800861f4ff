// Growable heap byte buffer shared by the strings, lists and record arrays.
#pragma once

#include <cstdint>

// Largest used size a buffer accepts. Keeping every size representable as an int
// means no caller can see a wrapped count, and a request beyond it fails cleanly.
inline constexpr int64_t kCmnHeapBufMaxBytes = int64_t(1) << 30;

class CMN_HeapBuf {
public:
    explicit CMN_HeapBuf(int granularity = 0);
    ~CMN_HeapBuf();
    CMN_HeapBuf(const CMN_HeapBuf&) = delete;
    CMN_HeapBuf& operator=(const CMN_HeapBuf&) = delete;
    CMN_HeapBuf(CMN_HeapBuf&& other) noexcept;
    CMN_HeapBuf& operator=(CMN_HeapBuf&& other) noexcept;

    // Sets the used size (negative is 0) and returns the data. When memory cannot be
    // had nothing changes and the old data (or null) comes back: callers compare
    // GetSize() with what they asked for. Memory is given back only with `shrink`.
    void* Resize(int64_t newSize, bool shrink = true);

    void* Get() const { return mData; }
    int GetSize() const { return mSize; }
    int GetAllocated() const { return mAllocated; }
    int GetGranularity() const { return mGranularity; }

    // Block size the growth rule gives for a used size of `size` bytes with the given
    // granularity; 0 when no block may be that large.
    static int64_t AllocationFor(int64_t size, int granularity);

private:
    void* mData = nullptr;
    int mSize = 0;
    int mAllocated = 0;
    int mGranularity = 0;
};
