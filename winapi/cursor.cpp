#include "winapi/cursor.h"

#include <mutex>

namespace {

HCURSOR__ gCursors[] = {{IDC_ARROW}, {IDC_SIZENWSE}, {IDC_SIZEWE}, {IDC_SIZENS}};

struct CursorState {
    std::mutex mutex;
    HCURSOR current = &gCursors[0];
    std::function<void(int)> handler;
};

CursorState& State() {
    static CursorState state;
    return state;
}

}  // namespace

HCURSOR WAPI_LoadCursor(int cursorId) {
    for (HCURSOR__& c : gCursors)
        if (c.id == cursorId) return &c;
    return nullptr;
}

void WAPI_SetCursor(HCURSOR cursor) {
    bool known = false;
    for (HCURSOR__& c : gCursors) known |= cursor == &c;
    if (!known) return;
    std::function<void(int)> handler;
    {
        CursorState& s = State();
        std::lock_guard lock(s.mutex);
        s.current = cursor;
        handler = s.handler;
    }
    if (handler) handler(cursor->id);
}

HCURSOR WAPI_GetCurrentCursor() {
    CursorState& s = State();
    std::lock_guard lock(s.mutex);
    return s.current;
}

void SetCursorChangeHandler(std::function<void(int cursorId)> handler) {
    CursorState& s = State();
    std::lock_guard lock(s.mutex);
    s.handler = std::move(handler);
}
