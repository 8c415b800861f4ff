#include "common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool IsOtherThanRegularFile(const char* path) {
    struct stat st {};
    return stat(path, &st) == 0 && !S_ISREG(st.st_mode);
}

FileRead ReadRegularFile(const char* path, size_t maxBytes, std::string* data) {
    struct stat st {};
    if (stat(path, &st) != 0) return errno == ENOENT ? FileRead::kMissing : FileRead::kRefused;
    if (!S_ISREG(st.st_mode) || size_t(st.st_size) > maxBytes) return FileRead::kRefused;
    // Non-blocking, in case a FIFO took the regular file's place since the stat.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? FileRead::kMissing : FileRead::kRefused;
    const size_t start = data->size();
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buf[16384];
    while (ok) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        data->append(buf, size_t(n));
        ok = data->size() - start <= maxBytes;
    }
    close(fd);
    if (!ok) data->resize(start);
    return ok ? FileRead::kRead : FileRead::kRefused;
}
