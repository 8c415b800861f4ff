// Growable array of plain records kept in a heap buffer.
#pragma once

#include <cstring>
#include <type_traits>

#include "common/heap_buf.h"

template <class T>
class CMN_TypedBuf {
    // The records are moved with memmove and the block with realloc.
    static_assert(std::is_trivially_copyable_v<T>, "CMN_TypedBuf holds plain records only");

public:
    explicit CMN_TypedBuf(int granularity = 4096) : mBuf(granularity) {}

    // Sets the record count (negative is 0). On failure nothing changes; compare
    // GetSize() with the count asked for. New records are left uninitialised.
    T* Resize(int64_t count, bool shrink = true) {
        if (count < 0) count = 0;
        if (count > kCmnHeapBufMaxBytes / int64_t(sizeof(T))) return Get();
        return static_cast<T*>(mBuf.Resize(count * int64_t(sizeof(T)), shrink));
    }

    T* Get() const { return static_cast<T*>(mBuf.Get()); }
    int GetSize() const { return mBuf.GetSize() / int(sizeof(T)); }

    // The record at `index`, or null outside the array.
    T* GetAt(int index) const { return index >= 0 && index < GetSize() ? Get() + index : nullptr; }

    // Appends a copy of `value`; null (and no change) when memory cannot be had.
    T* Add(const T& value) {
        const T copy = value;  // `value` may live in the block that is about to move
        const int n = GetSize();
        Resize(int64_t(n) + 1, false);
        if (GetSize() != n + 1) return nullptr;
        Get()[n] = copy;
        return Get() + n;
    }

    // Removes the record at `index`; false outside the array.
    bool Delete(int index) {
        const int n = GetSize();
        if (index < 0 || index >= n) return false;
        std::memmove(Get() + index, Get() + index + 1, size_t(n - index - 1) * sizeof(T));
        Resize(n - 1, false);
        return true;
    }

private:
    CMN_HeapBuf mBuf;
};
