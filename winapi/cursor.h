// Mouse cursors by their classic numeric ids. The window layer installs the handler
// that actually changes the pointer shape, so this layer needs no window system.
#pragma once

#include <functional>

inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_SIZENWSE = 32642;
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;

struct HCURSOR__ {
    int id;
};
using HCURSOR = HCURSOR__*;

// The cursor for one of the four ids above; null for any other id.
HCURSOR WAPI_LoadCursor(int cursorId);

// Makes `cursor` the current mouse cursor. A null cursor or one not made by
// WAPI_LoadCursor is ignored.
void WAPI_SetCursor(HCURSOR cursor);

// The cursor made current last (the arrow at start).
HCURSOR WAPI_GetCurrentCursor();

// Receives the id of every cursor made current; an empty handler uninstalls.
void SetCursorChangeHandler(std::function<void(int cursorId)> handler);
