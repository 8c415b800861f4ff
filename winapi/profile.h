// Settings files in the classic "[section]" / "key=value" text form. Files are
// written with LF line ends and replaced atomically (temporary file + rename), so an
// interrupted write leaves either the old or the new file, never a torn one. Only a
// regular file is read or replaced: anything else under the name (a FIFO, a device,
// a folder) reads as missing and refuses writes. A link is written through to the
// file it points to, which is made when it does not exist yet.
#pragma once

#include <functional>

// Copies the value of `key` in `section` (or `defaultValue` when the file, the section
// or the key is missing) into `out`: at most `outSize - 1` bytes, cut only between
// characters, and always terminated. Answers the number of bytes copied, without the
// terminator.
unsigned GetPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* out,
                                 unsigned outSize, const char* fileName);

// The value read as a decimal integer; `defaultValue` when the key is missing, 0 when
// the value is present but does not start with a number.
int GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* fileName);

// Sets one value, adding the section and the key when they are missing. A null
// `value` removes the key. Answers false when the file could not be rewritten, or when
// the names could not be read back as given: an empty key, a key starting with ";",
// "#" or "[" or holding "=", a section holding "]", either name with white space at its
// ends or a line break. The old file is then left as it was.
// Values follow the file's conventions: CR and LF are dropped on write, and the reader
// trims white space around a value, so " v " reads back as "v".
bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* fileName);

// Called with the file's name whenever a write fails because the file could not be
// read or replaced (never for refused names), so that the application can tell the
// user that choices are being lost. Process-wide; an empty handler removes it.
using ProfileWriteFailureHandler = std::function<void(const char* fileName)>;
void SetProfileWriteFailureHandler(ProfileWriteFailureHandler handler);
