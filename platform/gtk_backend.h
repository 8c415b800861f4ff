// The desktop back end on GTK 3. This header names no GTK type, so the rest of the
// program can create the back end without seeing the toolkit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

// Null when no display can be opened. Call on the thread that will run the main loop.
std::unique_ptr<Backend> CreateGtkBackend();

// Runs the main loop for about `seconds`, then returns (tests and start-up use it).
void RunGtkMainLoopFor(double seconds);

// What the display actually shows in the view's area, as A, R, G, B bytes (for tests
// that check a real window redrew). False when the view is not on screen.
bool ReadBackShownPixels(View* view, std::vector<uint8_t>* argb, int* width, int* height);

// Each item of the window's menu-bar menus as the toolkit shows it: its label, and after
// a tab the key shown beside it, when there is one ("Quit\tCtrl+Q"). For tests.
std::vector<std::string> ShownMenuBarItems(Window* window);

// Makes the toolkit's reports of misused widgets abort the process (tests use it so
// that such a report cannot pass unnoticed).
void MakeToolkitCriticalsFatal();

// The screen position of the view's top-left corner.
bool ViewOriginOnScreen(View* view, int* x, int* y);

}  // namespace platform
