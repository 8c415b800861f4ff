// The process-wide cache of glyph-cached fonts, one per (size, orientation, style, face),
// shared by every IGraphics and never freed while the process runs.
#pragma once

#include <functional>

#include "common/mutex.h"
#include "common/typed_buf.h"
#include "winapi/gdi.h"

class PIX_IFont;

// What a font is made from: the arguments handed to the windowing layer's CreateFont.
struct FontRequest {
    int height = 0;
    int escapement = 0;  // also the orientation; tenths of a degree
    int weight = 400;
    bool italic = false;
    int quality = 0;
    const char* face = "";
};

// How fonts are made; tests put fakes in the place of the real font and windowing layer.
struct FontMakers {
    std::function<PIX_IFont*()> newFont;
    std::function<HGDIOBJ__*(const FontRequest&)> createNative;

    // A glyph-cached font over a native font of the windowing layer.
    static const FontMakers& Default();
};

inline constexpr int kFontFaceSize = 32;

class FontCache {
public:
    static FontCache& Instance();

    PIX_IFont* Find(int size, int orientation, int style, const char* face);
    // Caches the font unless an equal entry got there first; returns the font the cache
    // holds for the key (the earlier one in that case: the caller deletes its own).
    PIX_IFont* Insert(int size, int orientation, int style, const char* face, PIX_IFont* font);

private:
    FontCache() = default;
    struct Entry {
        int size;
        int orientation;
        int style;
        char face[kFontFaceSize];
        PIX_IFont* font;
    };
    CMN_Mutex mMutex;
    CMN_TypedBuf<Entry> mEntries;
};

// The font for a text style, made and cached on first use: style 1 bold, 2 italic;
// quality 0 to 3; orientation in degrees. Null when no font can be made for it.
PIX_IFont* FindOrMakeFont(int size, int orientation, int style, int quality, const char* face,
                          const FontMakers& makers = FontMakers::Default());
