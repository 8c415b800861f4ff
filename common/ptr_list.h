// List of pointers kept in a heap buffer; may own (and delete) its elements.
#pragma once

#include <cstring>

#include "common/heap_buf.h"

template <class T>
class CMN_PtrList {
public:
    explicit CMN_PtrList(int granularity = 4096) : mBuf(granularity) {}
    ~CMN_PtrList() = default;  // owners call DeleteAll(true) themselves
    CMN_PtrList(CMN_PtrList&&) noexcept = default;
    CMN_PtrList& operator=(CMN_PtrList&&) noexcept = default;

    int GetSize() const { return mBuf.GetSize() / int(sizeof(T*)); }

    // The element at `index`, or null outside the list.
    T* Get(int index) const {
        return index >= 0 && index < GetSize() ? Items()[index] : nullptr;
    }

    // Index of the first slot holding `item`, or -1.
    int Find(const T* item) const {
        const int n = GetSize();
        for (int i = 0; i < n; ++i)
            if (Items()[i] == item) return i;
        return -1;
    }

    // Inserts before `index`; an index below 0 or past the end appends. Returns the
    // item, or null (list unchanged, item not owned) when memory cannot be had.
    T* Insert(int index, T* item) {
        const int n = GetSize();
        if (index < 0 || index > n) index = n;
        mBuf.Resize((int64_t(n) + 1) * int64_t(sizeof(T*)), false);
        if (GetSize() != n + 1) return nullptr;
        T** items = Items();
        std::memmove(items + index + 1, items + index, size_t(n - index) * sizeof(T*));
        items[index] = item;
        return item;
    }

    T* Add(T* item) { return Insert(-1, item); }

    // Removes the slot at `index`, deleting its element when asked; false outside the list.
    bool Delete(int index, bool deleteElement = false) {
        const int n = GetSize();
        if (index < 0 || index >= n) return false;
        T** items = Items();
        T* item = items[index];
        std::memmove(items + index, items + index + 1, size_t(n - index - 1) * sizeof(T*));
        mBuf.Resize(int64_t(n - 1) * int64_t(sizeof(T*)), false);
        if (deleteElement) delete item;
        return true;
    }

    // Empties the list; with `deleteElements` deletes them from the last to the first,
    // so elements that refer to earlier ones go before what they refer to.
    void DeleteAll(bool deleteElements = false) {
        if (deleteElements) {
            for (int i = GetSize() - 1; i >= 0; --i) {
                T* item = Items()[i];
                mBuf.Resize(int64_t(i) * int64_t(sizeof(T*)), false);
                delete item;
            }
        }
        mBuf.Resize(0, true);
    }

private:
    T** Items() const { return static_cast<T**>(mBuf.Get()); }

    CMN_HeapBuf mBuf;
};
