// Runs a shell command (xdotool) on another thread while the GTK main loop keeps the
// window alive, then lets the redraw reach the screen.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/gtk_backend.h"

inline void RunWhilePumping(const std::string& command) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        done = true;
    });
    while (!done) platform::RunGtkMainLoopFor(0.01);
    t.join();
    platform::RunGtkMainLoopFor(0.2);
}
