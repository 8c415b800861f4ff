// Scratch folders and environment settings for tests that touch the file system. Both
// undo themselves at the end of the scope, so a failed assertion leaves nothing behind.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

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
        if (mkdtemp(tmpl)) mPath = tmpl;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return mPath; }

private:
    std::string mPath;
};

// Sets (or, with null, unsets) an environment variable and restores the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : mName(name) {
        if (const char* old = getenv(name)) mOld = old;
        Set(value);
    }
    ~ScopedEnv() { Set(mOld ? mOld->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const char* value) { value ? setenv(mName.c_str(), value, 1) : unsetenv(mName.c_str()); }

private:
    std::string mName;
    std::optional<std::string> mOld;
};

// Runs `work` on a thread of its own while watching `fifo` (when it is a FIFO), and
// answers whether the work left it alone. Opening a FIFO to read waits for a writer, so the
// watcher keeps trying to open the other end: that succeeds only while something has
// the FIFO open to read, and it releases such a wait, so the test fails rather than
// hangs, however slowly the work runs.
inline bool RunsWithoutOpeningFifo(const std::string& fifo, std::function<void()> work) {
    std::future<void> done = std::async(std::launch::async, std::move(work));
    bool opened = false;
    do {
        std::error_code ignored;
        if (std::filesystem::status(fifo, ignored).type() != std::filesystem::file_type::fifo) continue;
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) opened = true, close(fd);
    } while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready);
    return !opened;
}

// Waits for a child process at most `seconds`, then kills it: its exit status, or -1
// when it was killed or ended by a signal. A child that hangs fails its test instead.
inline int WaitOrKill(pid_t pid, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    for (; std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    kill(pid, SIGKILL), waitpid(pid, &status, 0);
    return -1;
}

}  // namespace testutil
