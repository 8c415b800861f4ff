// Text services of the Win32-style layer: font objects found through fontconfig and
// rasterised with FreeType, selected into memory contexts and drawn into their pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "winapi/gdi.h"

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct TEXTMETRIC {
    int tmHeight = 0;  // cell height: ascent + descent; the line step of multi-line text
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;  // cell height minus the character (em) height
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
    uint8_t tmItalic = 0;
};

enum : unsigned {
    DT_CALCRECT = 0x1,
    DT_VCENTER = 0x2,
    DT_CENTER = 0x4,
    DT_BOTTOM = 0x10,
    DT_RIGHT = 0x20,
    DT_SINGLELINE = 0x40,
    DT_NOPREFIX = 0x80,
    DT_NOCLIP = 0x100,
};

// Kinds of drawing object. Only fonts are made on this platform; the other kinds are
// recognised so that a foreign object handed to SelectObject is told apart.
enum WAPI_GdiObjectKind : int {
    WAPI_OBJ_PEN = 1,
    WAPI_OBJ_BRUSH = 2,
    WAPI_OBJ_FONT = 3,
    WAPI_OBJ_BITMAP = 4,
};

struct HGDIOBJ__ {
    explicit HGDIOBJ__(int k) : kind(k) {}
    virtual ~HGDIOBJ__() = default;
    const int kind;
};

using HFONT = HGDIOBJ__*;
using COLORREF = uint32_t;

// The layer's colour word is 0x00RRGGBB as a number: blue in the low byte, red in bits
// 16 to 23. The raster library's native text path builds exactly this word from its
// pixels, so red text stays red; these helpers are the only place that knows the order.
inline constexpr COLORREF WAPI_MakeColorWord(int r, int g, int b) {
    return uint32_t(b & 255) | uint32_t(g & 255) << 8 | uint32_t(r & 255) << 16;
}
inline constexpr int WAPI_ColorWordR(COLORREF c) { return int(c >> 16 & 255); }
inline constexpr int WAPI_ColorWordG(COLORREF c) { return int(c >> 8 & 255); }
inline constexpr int WAPI_ColorWordB(COLORREF c) { return int(c & 255); }

// Background modes as the layer reads them: 1 paints each line's box in the background
// colour before the text, every other value leaves the pixels behind the text alone.
// (The raster library hands its own mode number through, where 1 means "fill".)
inline constexpr int WAPI_BK_FILL = 1;

// Quality 3 renders without anti-aliasing; every other value gives grey anti-aliasing.
inline constexpr unsigned WAPI_QUALITY_MONO = 3;
// Pitch-and-family low bits 1 ask for a fixed-pitch face.
inline constexpr unsigned WAPI_FIXED_PITCH = 1;

// height > 0: cell height in pixels (ascent + descent); height < 0: character height
// (em size); 0: a default size. Null when no face can be found or loaded, or the size is
// beyond what the rasteriser is asked to produce.
HGDIOBJ CreateFont(int height, int width, int escapement, int orientation, int weight, unsigned italic,
                   unsigned underline, unsigned strikeOut, unsigned charSet, unsigned outPrecision,
                   unsigned clipPrecision, unsigned quality, unsigned pitchAndFamily, const char* faceName);

HGDIOBJ SelectObject(HDC context, HGDIOBJ object);
bool GetTextMetrics(HDC context, TEXTMETRIC* metrics);
int WAPI_DrawText(HDC context, const char* text, int count, RECT* rect, unsigned format);
COLORREF SetTextColor(HDC context, COLORREF color);
COLORREF SetBkColor(HDC context, COLORREF color);
int SetBkMode(HDC context, int mode);
bool DeleteObject(HGDIOBJ object);

// One UTF-8 character of at most `n` bytes (n >= 1): its code and the bytes it takes.
// A stray byte or a broken or truncated sequence gives that byte as its code and takes
// one byte, so no read passes the end and a walk over the text always moves on.
int WAPI_DecodeUTF8(const unsigned char* text, size_t n, uint32_t* code);

// The font file a font object was loaded from (empty for anything but a font), so that
// a peer renderer can be given the very same face.
const char* WAPI_GetFontFile(HGDIOBJ font);
