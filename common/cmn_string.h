// NUL-terminated text kept in a heap buffer.
#pragma once

#include <cstdarg>
#include <string_view>

#include "common/heap_buf.h"

// Equal but for the letter case of ASCII letters. The user's locale has no say, so a
// name matches the same way on every desktop.
bool CMN_EqualNoCase(std::string_view a, std::string_view b);

class CMN_String {
public:
    explicit CMN_String(const char* text = nullptr, int granularity = 128);
    CMN_String(const CMN_String& other);
    CMN_String& operator=(const CMN_String& other);
    CMN_String(CMN_String&&) noexcept = default;
    CMN_String& operator=(CMN_String&&) noexcept = default;

    // Never null: a string that holds nothing reads as "".
    const char* Get() const;
    int GetLength() const;

    // Replaces everything from `offset` with `length` bytes of `text` followed by the
    // `tailLength` bytes that stood at `offset`, then a NUL. A negative length means
    // up to the text's NUL; offset and tail are clamped to the current text; `text`
    // may point into this string. False (text unchanged) when memory cannot be had.
    bool SetBytesAt(int offset, const char* text, int length, int tailLength);

    // `maxLength` < 0 takes the whole text, else at most that many bytes of it.
    bool Set(const char* text, int maxLength = -1);
    bool Append(const char* text, int maxLength = -1);
    bool Insert(const char* text, int offset, int maxLength = -1);

    // Prints at most `maxLength` bytes. False (text unchanged) when the room cannot be
    // had; a format error leaves an empty text.
    bool SetFormatted(int maxLength, const char* format, ...) __attribute__((format(printf, 3, 4)));
    bool SetFormattedV(int maxLength, const char* format, va_list args);

private:
    CMN_HeapBuf mBuf;
};
