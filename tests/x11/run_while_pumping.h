// Helpers for the real-window tests: one GTK back end per process, pumping its main
// loop until a condition holds or while xdotool drives the window.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "platform/gtk_backend.h"

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

inline bool PumpUntil(const std::function<bool()>& ok) {
    for (int i = 0; i < 500 && !ok(); ++i) platform::RunGtkMainLoopFor(0.01);
    return ok();
}

// Runs one command (xdotool) on another thread while the main loop keeps the window
// alive, then lets the redraw reach the screen. A command that has not ended after 30
// seconds is stopped and fails the test.
inline void RunWhilePumping(const std::string& command, double settle = 0.2) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        EXPECT_EQ(std::system(("timeout 30 " + command).c_str()), 0) << command;
        done = true;
    });
    while (!done) platform::RunGtkMainLoopFor(0.01);
    t.join();
    platform::RunGtkMainLoopFor(settle);
}
