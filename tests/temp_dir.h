// Scratch folders and environment settings for tests that touch the file system. Both
// undo themselves at the end of the scope, so a failed assertion leaves nothing behind.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <optional>
#include <string>

namespace testutil {

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A new empty folder under /tmp, removed with its contents. The path is empty when no
// folder could be made.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/qd_test_XXXXXX";
        if (mkdtemp(tmpl)) path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Sets (or, with null, unsets) an environment variable and restores the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const char* value) { value ? setenv(name_.c_str(), value, 1) : unsetenv(name_.c_str()); }

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Runs `work` on a thread of its own and answers whether it finished within a few
// seconds. Work stuck opening or reading the FIFO `fifo` is then released by opening
// the FIFO's other end, so that a hang fails the test instead of stalling it.
inline bool FinishesWithoutWaitingOn(const std::string& fifo, std::function<void()> work) {
    std::future<void> done = std::async(std::launch::async, std::move(work));
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return true;
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
    }
    return false;
}

}  // namespace testutil
