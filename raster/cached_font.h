// Text drawn from a per-font cache of glyph coverage, with the library's own blend
// modes, alpha and clipping, or (when nothing but plain drawing is asked for) through
// the windowing layer's text engine in one go.
#pragma once

#include <cstdint>

#include "common/heap_buf.h"
#include "raster/bitmap.h"
#include "raster/pixel.h"
#include "winapi/font.h"

enum : int {
    PIX_FONT_VERTICAL = 0x1,
    PIX_FONT_VERTICAL_BOTTOMUP = 0x2,
    PIX_FONT_FIXED_ASCII = 0x4,
    PIX_FONT_BLUR = 0x10,
    PIX_FONT_INVERT = 0x20,
    PIX_FONT_MONO = 0x40,
    PIX_FONT_SHADOW = 0x80,
    PIX_FONT_OUTLINE = 0x100,
    PIX_FONT_EFFECTS = PIX_FONT_SHADOW | PIX_FONT_OUTLINE,
    PIX_FONT_OWNS_HFONT = 0x200,
    PIX_FONT_ALLOW_NATIVE = 0x400,
};

// Text-format flag of the raster library only: the text colour's alpha byte scales the
// combine alpha for the call.
inline constexpr unsigned PIX_DT_USE_TEXT_ALPHA = 0x40000000u;
// Text-format flag of the raster library only: draw through the glyph cache even where
// the native text engine could.
inline constexpr unsigned PIX_DT_GLYPHS_ONLY = 0x80000000u;

struct PIX_GlyphRecord {
    int cachePos;  // 0 not rendered yet, -1 cannot be rendered, else coverage offset + 1
    int width;
    int height;
    int advance;
    int code;
};

class PIX_IFont {
public:
    virtual ~PIX_IFont() = default;
    virtual void SetFromHFont(HGDIOBJ font, int flags) = 0;
    virtual PIX_PixelValue SetTextColor(PIX_PixelValue color) = 0;
    virtual PIX_PixelValue SetBkColor(PIX_PixelValue color) = 0;
    virtual PIX_PixelValue SetEffectColor(PIX_PixelValue color) = 0;
    virtual int SetBkMode(int mode) = 0;
    virtual void SetCombineMode(PIX_DrawMode mode, float alpha) = 0;
    virtual int DrawText(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned format) = 0;
    virtual PIX_PixelValue GetTextColor() const = 0;
    virtual HGDIOBJ GetHFont() const = 0;
    virtual int GetLineHeight() const = 0;
    virtual int DrawGlyph(PIX_IBitmap* bitmap, int code, int x, int y, const RECT* clip) = 0;
};

class PIX_CachedFont : public PIX_IFont {
public:
    PIX_CachedFont();
    ~PIX_CachedFont() override;
    PIX_CachedFont(const PIX_CachedFont&) = delete;
    PIX_CachedFont& operator=(const PIX_CachedFont&) = delete;

    void SetFromHFont(HGDIOBJ font, int flags) override;
    PIX_PixelValue SetTextColor(PIX_PixelValue color) override;
    PIX_PixelValue SetBkColor(PIX_PixelValue color) override;
    PIX_PixelValue SetEffectColor(PIX_PixelValue color) override;
    int SetBkMode(int mode) override;
    void SetCombineMode(PIX_DrawMode mode, float alpha) override;
    int DrawText(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned format) override;
    PIX_PixelValue GetTextColor() const override { return mTextColor; }
    HGDIOBJ GetHFont() const override { return mFont; }
    int GetLineHeight() const override { return mLineHeight; }
    // Draws one cached glyph at (x, y) inside clip (null: the whole bitmap); 1 when drawn.
    int DrawGlyph(PIX_IBitmap* bitmap, int code, int x, int y, const RECT* clip) override;

    // The record of a code (codes below 128 always have one), or null.
    PIX_GlyphRecord* FindGlyph(int code);
    // Renders a code into the coverage cache; false only when it may not be rendered at
    // all (line height above 1023, or a code from 128 up in a fixed-ASCII font).
    bool RenderGlyph(int code);
    // One character of the text: the bytes it takes (at least 1). `remaining` bounds the
    // reads (negative: up to the terminating zero). Characters beyond 16 bits give a
    // space; a stray or broken byte stands for itself.
    static int DecodeUTF8Char(const char* text, int remaining, int* code);

    // Coverage bytes of a glyph that has been rendered, or null.
    const uint8_t* GlyphCoverage(const PIX_GlyphRecord& record) const;
    // The scratch bitmap glyphs are rendered into, shared by all fonts; null while no
    // font has needed it.
    static PIX_SysBitmap* GlyphBitmap();

private:
    int DrawTextImpl(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned format);
    int MeasureGlyphs(const char* text, int count, RECT* rect, unsigned format);
    int DrawGlyphs(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned format);
    int DrawNative(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned format);
    // The native path through a scratch context, copied back into the bitmap.
    int DrawNativeViaScratch(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned format);
    // Selects the font and its colours into a context; returns the font it held.
    HGDIOBJ PrepareNativeContext(HDC dc) const;
    // Makes the record drawable when it can be; null when the character is to be skipped.
    PIX_GlyphRecord* DrawableGlyph(int code);
    template <class Visit>
    void WalkText(const char* text, int count, unsigned format, Visit&& visit);
    // Draws the code white on black into the shared glyph bitmap: its box in r, its
    // advance in advance.
    void DrawIntoGlyphBitmap(int code, RECT& r, int& advance);
    // Copies the glyph bitmap's box into the coverage cache for the record (cache
    // position -1 when the cache cannot grow).
    void CacheCoverage(PIX_GlyphRecord& record, const RECT& r, int advance);
    void FinishCoverage(PIX_GlyphRecord& record, uint8_t* coverage);

    PIX_PixelValue mTextColor = 0;
    PIX_PixelValue mBkColor = 0xffffffff;
    PIX_PixelValue mEffectColor = 0xffffffff;
    int mBkMode = 0;
    PIX_DrawMode mCombineMode = 0;
    float mCombineAlpha = 1.0f;
    int mFlags = 0;
    int mLineHeight = 0;
    int mExtraSpacing = 0;
    PIX_GlyphRecord mAscii[128];
    CMN_HeapBuf mGlyphList{4096};
    CMN_HeapBuf mCache{65536};
    HGDIOBJ mFont = nullptr;
};
