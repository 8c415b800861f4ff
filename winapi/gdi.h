// Drawing contexts of the Win32-style layer. Only memory contexts exist on this
// platform: a 64-byte aligned block of 32-bit pixels (bytes A, R, G, B) that the
// raster library addresses directly and the text services draw into.
#pragma once

#include <cstdint>

struct HGDIOBJ__;

// A memory drawing context. Contexts are handed out as raw pointers and may be
// released while callers still hold them; every entry point checks the pointer
// against the registry of live contexts first, so a released one is ignored.
struct HDC__ {
    unsigned char* block = nullptr;  // the allocation, including alignment slack
    unsigned char* bits = nullptr;   // first pixel, on a 64-byte boundary
    int width = 0;                   // also the row span, in pixels
    int height = 0;
    // Text state. A context never owns the font selected into it.
    HGDIOBJ__* font = nullptr;
    uint32_t textColor = 0x000000;   // colour word 0x00RRGGBB (winapi/font.h)
    uint32_t bkColor = 0xffffff;
    int bkMode = 0;                  // 1 fills behind the text (winapi/font.h)
};

using HDC = HDC__*;
using HGDIOBJ = HGDIOBJ__*;

// Largest pixel block a context may own; bigger requests fail instead of wrapping.
inline constexpr int64_t kMaxContextBytes = int64_t(1) << 31;

HDC WAPI_CreateMemContext(HDC reference, int width, int height);
void* WAPI_GetCtxFrameBuffer(HDC context);
void WAPI_DeleteGfxContext(HDC context);

// True while `context` is a context that has been created and not yet released.
bool WAPI_IsLiveContext(HDC context);
