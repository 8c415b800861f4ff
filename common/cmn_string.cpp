#include "common/cmn_string.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Length of at most `maxLength` bytes of `text` (all of it when `maxLength` < 0).
int BoundedLength(const char* text, int64_t maxLength) {
    if (!text) return 0;
    const size_t limit = maxLength < 0 ? size_t(kCmnHeapBufMaxBytes) + 1 : size_t(maxLength);
    // A text longer than any buffer may hold comes out one past the cap, and the
    // resize refuses it.
    return int(strnlen(text, limit));
}

}  // namespace

bool CMN_EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
        if (x != y) return false;
    }
    return true;
}

CMN_String::CMN_String(const char* text, int granularity) : mBuf(granularity) {
    if (text) Set(text);
}

CMN_String::CMN_String(const CMN_String& other) : mBuf(other.mBuf.GetGranularity()) { Set(other.Get()); }

CMN_String& CMN_String::operator=(const CMN_String& other) {
    if (this != &other) Set(other.Get());
    return *this;
}

const char* CMN_String::Get() const {
    return mBuf.GetSize() > 0 ? static_cast<const char*>(mBuf.Get()) : "";
}

int CMN_String::GetLength() const { return mBuf.GetSize() > 0 ? mBuf.GetSize() - 1 : 0; }

bool CMN_String::SetBytesAt(int offset, const char* text, int length, int tailLength) {
    const int oldLength = GetLength();
    if (offset < 0) offset = 0;
    if (offset > oldLength) offset = oldLength;
    if (tailLength < 0) tailLength = 0;
    if (tailLength > oldLength - offset) tailLength = oldLength - offset;
    if (!text) length = 0;
    else if (length < 0) length = BoundedLength(text, -1);

    // A source inside our own block could move with the resize or be overwritten by
    // the tail: take a copy first.
    std::string own;
    const char* block = static_cast<const char*>(mBuf.Get());
    if (length > 0 && block && text >= block && text < block + mBuf.GetAllocated()) {
        own.assign(text, size_t(length));
        text = own.data();
    }

    const int64_t newSize = int64_t(offset) + length + tailLength + 1;
    mBuf.Resize(newSize, false);
    if (mBuf.GetSize() != newSize) return false;
    char* data = static_cast<char*>(mBuf.Get());
    if (tailLength > 0) std::memmove(data + offset + length, data + offset, size_t(tailLength));
    if (length > 0) std::memcpy(data + offset, text, size_t(length));
    data[newSize - 1] = '\0';
    return true;
}

bool CMN_String::Set(const char* text, int maxLength) {
    return SetBytesAt(0, text, BoundedLength(text, maxLength), 0);
}

bool CMN_String::Append(const char* text, int maxLength) {
    return SetBytesAt(GetLength(), text, BoundedLength(text, maxLength), 0);
}

bool CMN_String::Insert(const char* text, int offset, int maxLength) {
    if (offset < 0) offset = 0;
    const int length = GetLength();
    if (offset > length) offset = length;
    return SetBytesAt(offset, text, BoundedLength(text, maxLength), length - offset);
}

bool CMN_String::SetFormatted(int maxLength, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const bool ok = SetFormattedV(maxLength, format, args);
    va_end(args);
    return ok;
}

bool CMN_String::SetFormattedV(int maxLength, const char* format, va_list args) {
    if (maxLength < 0) maxLength = 0;
    if (!format) format = "";
    // Arguments may point into this string; print into a fresh block and swap it in.
    CMN_HeapBuf out(mBuf.GetGranularity());
    const int64_t room = int64_t(maxLength) + 1;
    out.Resize(room, false);
    if (out.GetSize() != room) return false;
    char* data = static_cast<char*>(out.Get());
    const int printed = std::vsnprintf(data, size_t(room), format, args);
    const int used = printed < 0 ? 0 : std::min(maxLength, printed);
    data[used] = '\0';
    out.Resize(int64_t(used) + 1, false);
    mBuf = std::move(out);
    return true;
}
