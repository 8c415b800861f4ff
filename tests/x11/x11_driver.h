// Driving a real GTK window from a test: the shared back end, xdotool commands run
// while the main loop keeps the window alive, and waiting for a condition.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "platform/gtk_backend.h"

namespace x11test {

// Null without a display. GTK initialises once per process, so the back end is kept;
// toolkit warnings about misused widgets end the run instead of scrolling past.
inline platform::Backend* SharedGtkBackend() {
    static platform::Backend* backend = [] {
        if (!std::getenv("DISPLAY")) return static_cast<platform::Backend*>(nullptr);
        platform::MakeToolkitCriticalsFatal();
        return platform::CreateGtkBackend().release();
    }();
    return backend;
}

// xdotool runs on another thread while the main loop keeps the window alive.
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

// Up to five seconds of main loop until `ok` holds; its last answer.
inline bool PumpUntil(const std::function<bool()>& ok) {
    for (int i = 0; i < 500 && !ok(); ++i) platform::RunGtkMainLoopFor(0.01);
    return ok();
}

}  // namespace x11test
