// Whole-file reads that touch nothing but a regular file. A FIFO under a file's name
// would stop the reader until some writer came, and a device read could have effects
// of its own, so anything but a regular file is refused before it is opened.
#pragma once

#include <cstddef>
#include <string>

enum class FileRead {
    kRead,     // a regular file, read whole
    kMissing,  // nothing under the name
    kRefused,  // not a regular file, larger than allowed, or unreadable
};

// Appends the file to `data` when it is read.
FileRead ReadRegularFile(const char* path, size_t maxBytes, std::string* data);

// True when something other than a regular file stands under the name.
bool IsOtherThanRegularFile(const char* path);
