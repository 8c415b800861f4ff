// Shared set-up of the real-window tests: one GTK back end per process, and running
// xdotool while the main loop keeps the windows alive.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "platform/gtk_backend.h"

namespace x11test {

// Null without a display. GTK initialises once per process, so the back end is kept.
// Toolkit warnings about misused widgets end the test run instead of scrolling past.
inline platform::Backend* SharedGtkBackend() {
    static platform::Backend* backend = [] {
        if (!std::getenv("DISPLAY")) return static_cast<platform::Backend*>(nullptr);
        platform::MakeToolkitCriticalsFatal();
        return platform::CreateGtkBackend().release();
    }();
    return backend;
}

// Runs the command on another thread while the main loop keeps running.
inline void RunWhilePumping(const std::string& command) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        done = true;
    });
    while (!done) platform::RunGtkMainLoopFor(0.01);
    t.join();
    platform::RunGtkMainLoopFor(0.2);  // let the redraw reach the screen
}

// While a modal menu or dialog runs, a test whose keys went astray would wait forever:
// after a grace period this presses Escape every half second until it is dropped.
class ModalGuard {
public:
    explicit ModalGuard(int graceMs = 8000)
        : thread_([this, graceMs] {
              for (int waited = 0; !done_ && waited < graceMs; waited += 50)
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
              while (!done_) {
                  std::system("xdotool key Escape");
                  std::this_thread::sleep_for(std::chrono::milliseconds(500));
              }
          }) {}
    ~ModalGuard() {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

inline bool PumpUntil(const std::function<bool()>& ok, double seconds = 5) {
    for (int i = 0; i < seconds * 100 && !ok(); ++i) platform::RunGtkMainLoopFor(0.01);
    return ok();
}

// A pixel of A, R, G, B bytes as one word.
inline uint32_t PixelAt(const std::vector<uint8_t>& argb, int w, int x, int y) {
    const uint8_t* p = &argb[(size_t(y) * w + x) * 4];
    return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

}  // namespace x11test
