#include "raster/cached_font.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "raster/blit.h"
#include "raster/combiners.h"
#include "raster/fast_paths.h"
#include "raster/fill.h"
#include "raster/row_kernels.h"
#include "raster/spans.h"
#include "raster/vector_spans.h"

namespace {

// Asked of a bitmap before drawing text; a non-zero answer keeps the call on the glyph path.
constexpr int kGlyphPathQuery = 0x59555678;
// Every low font flag but 0x8 needs the glyph cache.
constexpr int kGlyphOnlyFlags = 0x1f7;
constexpr unsigned kGlyphOnlyFormat = PIX_DT_USE_TEXT_ALPHA | PIX_DT_GLYPHS_ONLY;
constexpr unsigned kAlignFlags = DT_VCENTER | DT_CENTER | DT_BOTTOM | DT_RIGHT;
constexpr int kMaxRenderLineHeight = 1023;
constexpr int kFringe = 128;

int liveFonts = 0;
PIX_SysBitmap* glyphBitmap = nullptr;
PIX_SysBitmap* scratchBitmap = nullptr;

// The native engine takes the layer's colour word; the conversion lives here only.
COLORREF ColorWord(PIX_PixelValue p) { return WAPI_MakeColorWord(PIX_PixelR(p), PIX_PixelG(p), PIX_PixelB(p)); }

// Glyphs are rendered white on black so the red byte is the coverage.
void PrepareGlyphContext(const PIX_SysBitmap& bm) {
    HDC dc = bm.getDC();
    ::SetTextColor(dc, 0xffffff);
    ::SetBkMode(dc, WAPI_BK_FILL);
    ::SetBkColor(dc, 0);
}

// Compared, not subtracted: a looked-up code may be anything, and INT_MIN minus a
// cached code overflows.
int CompareGlyphRecords(const void* a, const void* b) {
    const int x = static_cast<const PIX_GlyphRecord*>(a)->code, y = static_cast<const PIX_GlyphRecord*>(b)->code;
    return (x > y) - (x < y);
}

// A 16-bit code as a zero-terminated UTF-8 string (at most 3 bytes and the zero).
void EncodeUTF8(int code, char* out) {
    int n = 0;
    if (code < 0x80) {
        out[n++] = char(code);
    } else if (code < 0x800) {
        out[n++] = char(0xC0 | code >> 6);
        out[n++] = char(0x80 | (code & 63));
    } else {
        out[n++] = char(0xE0 | code >> 12);
        out[n++] = char(0x80 | (code >> 6 & 63));
        out[n++] = char(0x80 | (code & 63));
    }
    out[n] = 0;
}

// The bitmap's pixels, cut to the rectangle when there is one: a caller's rectangle is
// not trusted to lie inside the bitmap.
RECT BitmapClip(const PIX_IBitmap& bm, const RECT* r) {
    RECT clip{0, 0, bm.getWidth(), bm.getHeight()};
    if (r) {
        clip.left = std::max(clip.left, r->left);
        clip.top = std::max(clip.top, r->top);
        clip.right = std::min(clip.right, r->right);
        clip.bottom = std::min(clip.bottom, r->bottom);
    }
    return clip;
}

enum class GlyphKind { Mono, Effects, Normal, NormalFull };

// One glyph blender per (kind, mode): the pixel weight for a coverage byte, and for
// effects the colour, are the only differences. Anti-aliased glyphs in the plain copy
// mode, the text of every panel, go through the vector kernel when it takes the weight.
template <GlyphKind Kind, class Op>
void BlendGlyph(uint8_t* dst, int64_t rowStep, const uint8_t* cov, int covSpan, int width, int height,
                PIX_PixelValue text, PIX_PixelValue effect, int w) {
    const int tr = PIX_PixelR(text), tg = PIX_PixelG(text), tb = PIX_PixelB(text);
    const int er = PIX_PixelR(effect), eg = PIX_PixelG(effect), eb = PIX_PixelB(effect);
    constexpr bool kVector =
        (Kind == GlyphKind::Normal || Kind == GlyphKind::NormalFull) && std::is_same_v<Op, pix::Copy>;
    if constexpr (kVector) {
        const int kw = Kind == GlyphKind::NormalFull ? 256 : w;
        if (pix::ActiveRowKernels().coverageCopy(reinterpret_cast<uint32_t*>(dst), rowStep, cov, covSpan, width, height,
                                                 PIX_MakePixel(255, tr, tg, tb), kw) == width)
            return;
    }
    for (int y = 0; y < height; ++y, dst += rowStep * 4, cov += covSpan) {
        uint8_t* d = dst;
        for (int x = 0; x < width; ++x, d += 4) {
            const int c = cov[x];
            if (c == 0) continue;
            if constexpr (Kind == GlyphKind::Mono) {
                Op::apply(d, tr, tg, tb, 255, w);
            } else if constexpr (Kind == GlyphKind::Effects) {
                if (c < 255) Op::apply(d, er, eg, eb, 255, w);
                else Op::apply(d, tr, tg, tb, 255, w);
            } else if constexpr (Kind == GlyphKind::NormalFull) {
                Op::apply(d, tr, tg, tb, 255, c + 1);
            } else {
                Op::apply(d, tr, tg, tb, 255, std::min(256, (c * w) / 256));
            }
        }
    }
}

}  // namespace

PIX_CachedFont::PIX_CachedFont() {
    for (int code = 0; code < 128; ++code) mAscii[code] = PIX_GlyphRecord{0, 0, 0, 0, code};
    ++liveFonts;
}

PIX_CachedFont::~PIX_CachedFont() {
    if ((mFlags & PIX_FONT_OWNS_HFONT) && mFont) DeleteObject(mFont);
    if (liveFonts-- == 1) {
        delete glyphBitmap;
        delete scratchBitmap;
        glyphBitmap = nullptr;
        scratchBitmap = nullptr;
    }
}

PIX_SysBitmap* PIX_CachedFont::GlyphBitmap() { return glyphBitmap; }

void PIX_CachedFont::SetFromHFont(HGDIOBJ font, int flags) {
    if ((mFlags & PIX_FONT_OWNS_HFONT) && mFont && mFont != font) DeleteObject(mFont);
    mFlags = flags;
    mFont = font;
    if (font) {
        if (!glyphBitmap) glyphBitmap = new PIX_SysBitmap(0, 0);
        if (glyphBitmap->getWidth() < 256 || glyphBitmap->getHeight() < 256) {
            glyphBitmap->resize(256, 256);
            PrepareGlyphContext(*glyphBitmap);
        }
        HDC dc = glyphBitmap->getDC();
        HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRIC tm;
        if (GetTextMetrics(dc, &tm)) mLineHeight = tm.tmHeight;
        if (previous) SelectObject(dc, previous);
    }
    for (int code = 0; code < 128; ++code) mAscii[code] = PIX_GlyphRecord{0, 0, 0, 0, code};
    mGlyphList.Resize(0, false);
    mCache.Resize(0, true);
    if (mFlags & PIX_FONT_FIXED_ASCII) {
        for (int code = 0; code < 128; ++code) RenderGlyph(code);
    }
}

PIX_PixelValue PIX_CachedFont::SetTextColor(PIX_PixelValue color) {
    return std::exchange(mTextColor, color);
}
PIX_PixelValue PIX_CachedFont::SetBkColor(PIX_PixelValue color) { return std::exchange(mBkColor, color); }
PIX_PixelValue PIX_CachedFont::SetEffectColor(PIX_PixelValue color) { return std::exchange(mEffectColor, color); }
int PIX_CachedFont::SetBkMode(int mode) { return std::exchange(mBkMode, mode); }
void PIX_CachedFont::SetCombineMode(PIX_DrawMode mode, float alpha) {
    mCombineMode = mode;
    mCombineAlpha = alpha;
}

int PIX_CachedFont::DrawText(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned format) {
    return DrawTextImpl(bitmap, text, count, rect, format);
}

PIX_GlyphRecord* PIX_CachedFont::FindGlyph(int code) {
    if (code >= 0 && code < 128) return &mAscii[code];
    const int n = mGlyphList.GetSize() / int(sizeof(PIX_GlyphRecord));
    if (n == 0) return nullptr;
    PIX_GlyphRecord key{};
    key.code = code;
    return static_cast<PIX_GlyphRecord*>(
        std::bsearch(&key, mGlyphList.Get(), size_t(n), sizeof(PIX_GlyphRecord), CompareGlyphRecords));
}

const uint8_t* PIX_CachedFont::GlyphCoverage(const PIX_GlyphRecord& r) const {
    if (r.cachePos < 1 || r.width < 1 || r.height < 1) return nullptr;
    if (int64_t(r.cachePos) - 1 + int64_t(r.width) * r.height > mCache.GetSize()) return nullptr;
    return static_cast<const uint8_t*>(mCache.Get()) + (r.cachePos - 1);
}

int PIX_CachedFont::DecodeUTF8Char(const char* text, int remaining, int* code) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    // A zero-terminated text has at least its terminator: never look past it.
    const size_t n = remaining < 0 ? std::max<size_t>(1, strnlen(text, 4)) : size_t(std::max(remaining, 1));
    uint32_t c = 0;
    const int used = WAPI_DecodeUTF8(s, n, &c);
    if (code) *code = c > 0xFFFF ? 32 : int(c);
    return used;
}

void PIX_CachedFont::DrawIntoGlyphBitmap(int code, RECT& r, int& advance) {
    if (!glyphBitmap) glyphBitmap = new PIX_SysBitmap(0, 0);
    const int need = 2 * std::max(mLineHeight, 1) + 8;
    if (glyphBitmap->getWidth() < need || glyphBitmap->getHeight() < need) {
        glyphBitmap->resize(std::max(need, glyphBitmap->getWidth()), std::max(need, glyphBitmap->getHeight()));
        PrepareGlyphContext(*glyphBitmap);
    }
    HDC dc = glyphBitmap->getDC();
    HGDIOBJ previous = mFont ? SelectObject(dc, mFont) : nullptr;
    char text[4];
    EncodeUTF8(code, text);
    r = RECT{};
    WAPI_DrawText(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    advance = r.right;
    r.right = advance + (mLineHeight > 15 ? mLineHeight / 16 + 2 : 2);
    PIX_FillRect(glyphBitmap, 0, 0, r.right, r.bottom, 0, 1.0f, PIX_MODE_COPY);
    WAPI_DrawText(dc, text, -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    advance = std::min(advance, glyphBitmap->getWidth());
    r.right = std::min(r.right, glyphBitmap->getWidth());
    r.bottom = std::min(r.bottom, glyphBitmap->getHeight());
    if (previous) SelectObject(dc, previous);
}

void PIX_CachedFont::CacheCoverage(PIX_GlyphRecord& rec, const RECT& r, int advance) {
    const int start = mCache.GetSize();
    const int64_t bytes = int64_t(r.right) * r.bottom;
    mCache.Resize(start + bytes, false);
    if (mCache.GetSize() != start + bytes) {
        rec.cachePos = -1;
        return;
    }
    rec.cachePos = start + 1;
    uint8_t* cov = static_cast<uint8_t*>(mCache.Get()) + start;
    const uint8_t invert = (mFlags & PIX_FONT_INVERT) ? 255 : 0;
    int ink = advance;
    for (int y = 0; y < r.bottom; ++y) {
        const auto* src = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(*glyphBitmap, 0, y));
        uint8_t* row = cov + int64_t(y) * r.right;
        for (int x = 0; x < r.right; ++x) row[x] = src[4 * x + PIX_CHANNEL_R] ^ invert;
        for (int x = ink; x < r.right; ++x) {
            if (src[4 * x + PIX_CHANNEL_R]) ink = x + 1;
        }
    }
    rec.width = r.right;
    rec.height = r.bottom;
    if (ink < r.right) {
        // Pack the rows to the inked width; the rows only move towards the start.
        for (int y = 1; y < r.bottom; ++y) {
            std::memmove(cov + int64_t(y) * ink, cov + int64_t(y) * r.right, size_t(ink));
        }
        rec.width = ink;
        mCache.Resize(start + int64_t(ink) * r.bottom, false);
    }
    FinishCoverage(rec, static_cast<uint8_t*>(mCache.Get()) + start);
}

bool PIX_CachedFont::RenderGlyph(int code) {
    code &= 0xFFFF;
    if (mLineHeight > kMaxRenderLineHeight) return false;
    PIX_GlyphRecord* rec = FindGlyph(code);
    bool isNew = false;
    if (!rec) {
        if (mFlags & PIX_FONT_FIXED_ASCII) return false;
        const int size = mGlyphList.GetSize();
        mGlyphList.Resize(int64_t(size) + int64_t(sizeof(PIX_GlyphRecord)), false);
        if (mGlyphList.GetSize() != size + int(sizeof(PIX_GlyphRecord))) return true;
        rec = reinterpret_cast<PIX_GlyphRecord*>(static_cast<char*>(mGlyphList.Get()) + size);
        *rec = PIX_GlyphRecord{};
        rec->code = code;
        isNew = true;
    }

    RECT r{};
    int advance = 0;
    DrawIntoGlyphBitmap(code, r, advance);
    if (advance < 1 || r.bottom < 1 || !glyphBitmap->getBits()) {
        rec->cachePos = -1;
    } else {
        rec->advance = advance;
        if (mFlags & PIX_FONT_BLUR) PIX_Blur(glyphBitmap, glyphBitmap, 0, 0, 0, 0, r.right, r.bottom);
        CacheCoverage(*rec, r, advance);
    }

    const int count = mGlyphList.GetSize() / int(sizeof(PIX_GlyphRecord));
    if (isNew && count >= 2) {
        std::qsort(mGlyphList.Get(), size_t(count), sizeof(PIX_GlyphRecord), CompareGlyphRecords);
    }
    return true;
}

// Turning for vertical text, then the thresholds and fringes.
void PIX_CachedFont::FinishCoverage(PIX_GlyphRecord& rec, uint8_t* cov) {
    int w = rec.width, h = rec.height;
    if (mFlags & PIX_FONT_VERTICAL) {
        thread_local std::vector<uint8_t> old;
        old.assign(cov, cov + int64_t(w) * h);
        const bool up = mFlags & PIX_FONT_VERTICAL_BOTTOMUP;
        // New row j, column i; the new width is the old height.
        for (int j = 0; j < w; ++j) {
            for (int i = 0; i < h; ++i) {
                cov[int64_t(j) * h + i] = up ? old[int64_t(i) * w + (w - 1 - j)] : old[int64_t(h - 1 - i) * w + j];
            }
        }
        std::swap(w, h);
        rec.width = w;
        rec.height = h;
    }
    const int64_t n = int64_t(w) * h;
    if (mFlags & (PIX_FONT_MONO | PIX_FONT_EFFECTS)) {
        for (int64_t i = 0; i < n; ++i) cov[i] = cov[i] >= 131 ? 255 : 0;
    }
    if (!(mFlags & PIX_FONT_EFFECTS)) return;
    const bool shadow = mFlags & PIX_FONT_SHADOW;
    // Neighbours outside the glyph count as empty, so the fringe never reads past it.
    auto full = [&](int x, int y) { return x >= 0 && x < w && y >= 0 && y < h && cov[int64_t(y) * w + x] == 255; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t& c = cov[int64_t(y) * w + x];
            if (c != 0) continue;
            const bool edge = shadow ? full(x - 1, y) || full(x - 1, y - 1) || full(x, y - 1)
                                     : full(x, y - 1) || full(x, y + 1) || full(x - 1, y) || full(x + 1, y);
            if (edge) c = kFringe;
        }
    }
}

int PIX_CachedFont::DrawGlyph(PIX_IBitmap* bm, int code, int x, int y, const RECT* clipIn) {
    if (!PIX_HasPixels(bm)) return 0;
    const PIX_GlyphRecord* rec = FindGlyph(code);
    if (!rec) return 0;
    const RECT clip = BitmapClip(*bm, clipIn);
    const uint8_t* cov = GlyphCoverage(*rec);
    if (!cov) return 0;
    const int64_t x64 = x, y64 = y;
    if (x64 >= clip.right || y64 >= clip.bottom || x64 + rec->width <= clip.left || y64 + rec->height <= clip.top) {
        return 0;
    }
    int sx = 0, sy = 0;
    if (clip.left > x) sx = int(clip.left - x64), x = clip.left;
    if (clip.top > y) sy = int(clip.top - y64), y = clip.top;
    const int width = int(std::min<int64_t>(int64_t(clip.right) - x, rec->width - sx));
    const int height = int(std::min<int64_t>(int64_t(clip.bottom) - y, rec->height - sy));
    if (width < 1 || height < 1) return 0;
    cov += int64_t(sy) * rec->width + sx;

    if (mBkMode == 1) {
        PIX_FillRect(bm, x, y, width, height, mBkColor, mCombineAlpha, mCombineMode & ~PIX_MODE_USE_SOURCE_ALPHA);
    }
    auto* dst = reinterpret_cast<uint8_t*>(PIX_PixelAddress(*bm, x, y));
    const int64_t rowStep = PIX_RowStep(*bm);
    const bool mono = mFlags & PIX_FONT_MONO;
    const bool effects = !mono && (mFlags & PIX_FONT_EFFECTS);
    int w = PIX_AlphaWeight(mCombineAlpha);
    const bool wholePixels = (mono || effects) && pix::FindFastPath(pix::FastOp::ThresholdedGlyph, mCombineMode, w,
                                                                    pix::IsExactAlpha(mCombineAlpha, w)) != nullptr;
    if ((mono || effects) && wholePixels) {
        // Thresholded glyphs at full opacity store whole pixels.
        for (int j = 0; j < height; ++j, dst += rowStep * 4, cov += rec->width) {
            auto* row = reinterpret_cast<uint32_t*>(dst);
            for (int i = 0; i < width; ++i) {
                if (cov[i] == 0) continue;
                row[i] = (effects && cov[i] < 255) ? mEffectColor : mTextColor;
            }
        }
        return 1;
    }
    if (mono || effects) w = std::min(w, 256);
    const PIX_PixelValue text = mTextColor, effect = mEffectColor;
    const int span = rec->width;
    pix::WithSolidCombiner(mCombineMode, w, [&]<class Selected>() {
        using Op = pix::PerPixelWeight<Selected>;
        if (mono) BlendGlyph<GlyphKind::Mono, Op>(dst, rowStep, cov, span, width, height, text, effect, w);
        else if (effects) BlendGlyph<GlyphKind::Effects, Op>(dst, rowStep, cov, span, width, height, text, effect, w);
        else if (w == 256) BlendGlyph<GlyphKind::NormalFull, Op>(dst, rowStep, cov, span, width, height, text, effect, w);
        else BlendGlyph<GlyphKind::Normal, Op>(dst, rowStep, cov, span, width, height, text, effect, w);
    });
    return 1;
}

PIX_GlyphRecord* PIX_CachedFont::DrawableGlyph(int code) {
    PIX_GlyphRecord* rec = FindGlyph(code);
    if (!rec) {
        const int before = mGlyphList.GetSize();
        RenderGlyph(code);
        if (mGlyphList.GetSize() == before) return nullptr;
        rec = FindGlyph(code);
        if (!rec) return nullptr;
    } else if (rec->cachePos == 0) {
        RenderGlyph(code);
        rec = FindGlyph(code);
        if (!rec || rec->cachePos < 1) return nullptr;
    }
    return rec->cachePos < 1 ? nullptr : rec;
}

// Calls visit(record) for each drawable character and visit(nullptr) for each line feed
// that starts a new line.
template <class Visit>
void PIX_CachedFont::WalkText(const char* text, int count, unsigned format, Visit&& visit) {
    if (!text) return;
    int left = count;
    while ((count < 0 || left > 0) && *text) {
        int code = 32;
        const int used = DecodeUTF8Char(text, count < 0 ? -1 : left, &code);
        text += used;
        if (count >= 0) left = std::max(0, left - used);
        if (code == '\r') continue;
        if (code == '\n') {
            if (!(format & DT_SINGLELINE)) {
                visit(nullptr);
                continue;
            }
            code = ' ';
        }
        if (PIX_GlyphRecord* rec = DrawableGlyph(code)) visit(rec);
    }
}

int PIX_CachedFont::MeasureGlyphs(const char* text, int count, RECT* rect, unsigned format) {
    const bool vertical = mFlags & PIX_FONT_VERTICAL;
    if (count == 0 || !text || !*text) {
        rect->right = rect->left;
        rect->bottom = rect->top;
        return 0;
    }
    const int step = mLineHeight + mExtraSpacing;
    int64_t x = 0, y = 0, xExtent = 0, yExtent = 0;
    WalkText(text, count, format, [&](const PIX_GlyphRecord* g) {
        if (!g) {
            if (vertical) x += step, y = 0;
            else y += step, x = 0;
            return;
        }
        if (vertical) {
            xExtent = std::max(xExtent, x + g->width);
            yExtent = std::max({yExtent, y + g->advance, y + g->height});
            y += g->advance;
        } else {
            xExtent = std::max({xExtent, x + g->width, x + g->advance});
            yExtent = std::max(yExtent, y + g->height);
            x += g->advance;
        }
    });
    rect->right = pix::SatInt64(rect->left + xExtent);
    rect->bottom = pix::SatInt64(rect->top + yExtent);
    return pix::SatInt64(vertical ? xExtent : yExtent);
}

int PIX_CachedFont::DrawGlyphs(PIX_IBitmap* bm, const char* text, int count, RECT* rect, unsigned format) {
    const float alpha0 = mCombineAlpha;
    if (format & PIX_DT_USE_TEXT_ALPHA) mCombineAlpha = float(alpha0 * (PIX_PixelA(mTextColor) / 255.0));
    struct Restore {
        PIX_CachedFont* f;
        float a;
        ~Restore() { f->mCombineAlpha = a; }
    } restore{this, alpha0};
    if (mCombineAlpha == 0.0f || !PIX_HasPixels(bm)) return 0;

    const bool vertical = mFlags & PIX_FONT_VERTICAL;
    const bool bottomUp = vertical && (mFlags & PIX_FONT_VERTICAL_BOTTOMUP);
    int64_t x0 = rect->left, y0 = rect->top;
    if ((format & kAlignFlags) || bottomUp) {
        RECT m{};
        DrawTextImpl(bm, text, count, &m, (format & (DT_SINGLELINE | PIX_DT_GLYPHS_ONLY)) | DT_CALCRECT);
        if (format & DT_CENTER) x0 += (int64_t(rect->right) - rect->left - m.right) / 2;
        else if (format & DT_RIGHT) x0 = int64_t(rect->right) - m.right;
        if (format & DT_VCENTER) y0 += (int64_t(rect->bottom) - rect->top - m.bottom) / 2;
        else if (format & DT_BOTTOM) y0 = int64_t(rect->bottom) - m.bottom;
        if (bottomUp) y0 += m.bottom;
    }
    const RECT clip = BitmapClip(*bm, (format & DT_NOCLIP) ? nullptr : rect);
    if (clip.left >= clip.right || clip.top >= clip.bottom) return 0;

    const int step = mLineHeight + mExtraSpacing;
    int64_t x = x0, y = y0, extent = INT64_MIN;
    auto onBitmap = [](int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
    WalkText(text, count, format, [&](const PIX_GlyphRecord* g) {
        if (!g) {
            if (vertical) x += step, y = y0;
            else y += step, x = x0;
            return;
        }
        if (!GlyphCoverage(*g)) return;
        const int64_t gy = bottomUp ? y - g->height : y;
        if (onBitmap(x) && onBitmap(gy) && DrawGlyph(bm, g->code, int(x), int(gy), &clip)) {
            extent = std::max(extent, vertical ? x + g->width : gy + g->height);
        }
        if (!vertical) x += g->advance;
        else if (bottomUp) y -= g->advance;
        else y += g->advance;
    });
    if (extent == INT64_MIN) return 0;
    return pix::SatInt64(extent - (vertical ? x0 : y0));
}

namespace {

// Where text measured as m lands for the rectangle and format, cut to the bitmap and,
// unless DT_NOCLIP, to the rectangle: the box [x, x2) x [y, y2) of the bitmap, and the
// text's start relative to it. False when nothing of it shows.
struct NativeBox {
    int64_t x, y, x2, y2, offX, offY;
};
bool PlaceNativeText(const RECT& rect, const RECT& m, unsigned format, const PIX_IBitmap& bm, NativeBox& b) {
    int64_t x = rect.left, y = rect.top;
    if (format & DT_RIGHT) x = int64_t(rect.right) - m.right;
    else if (format & DT_CENTER) x = (int64_t(rect.left) + rect.right - m.right) / 2;
    if (format & DT_BOTTOM) y = int64_t(rect.bottom) - m.bottom;
    else if (format & DT_VCENTER) y = (int64_t(rect.top) + rect.bottom - m.bottom) / 2;
    int64_t x2 = std::min<int64_t>(x + m.right, bm.getWidth());
    int64_t y2 = std::min<int64_t>(y + m.bottom, bm.getHeight());
    int64_t minX = 0, minY = 0;
    if (!(format & DT_NOCLIP)) {
        x2 = std::min<int64_t>(x2, rect.right);
        y2 = std::min<int64_t>(y2, rect.bottom);
        minX = std::max(0, rect.left);
        minY = std::max(0, rect.top);
    }
    int64_t offX = 0, offY = 0;
    if (x < minX) offX = x - minX, x = minX;
    if (y < minY) offY = y - minY, y = minY;
    b = {x, y, x2, y2, offX, offY};
    return x2 > x && y2 > y;
}

}  // namespace

HGDIOBJ PIX_CachedFont::PrepareNativeContext(HDC dc) const {
    HGDIOBJ previous = SelectObject(dc, mFont);
    ::SetTextColor(dc, ColorWord(mTextColor));
    ::SetBkMode(dc, mBkMode);
    if (mBkMode == 1) ::SetBkColor(dc, ColorWord(mBkColor));
    return previous;
}

int PIX_CachedFont::DrawNative(PIX_IBitmap* bm, const char* text, int count, RECT* rect, unsigned format) {
    // The bitmap's own context clips only to itself; when it reaches beyond the bitmap
    // (rows padded to a wider context, or a bitmap shrunk inside its block), text drawn
    // there would ink pixels the bitmap does not own, so the scratch path clips instead.
    HDC own = bm ? bm->getDC() : nullptr;
    if (own && (own->width != bm->getWidth() || own->height != bm->getHeight()) && !(format & DT_CALCRECT))
        own = nullptr;
    if (!own) return DrawNativeViaScratch(bm, text, count, rect, format);
    HGDIOBJ previous = PrepareNativeContext(own);
    RECT r = *rect;
    const int result = WAPI_DrawText(own, text, count, &r, (format & ~PIX_DT_GLYPHS_ONLY) | DT_NOPREFIX);
    if (format & DT_CALCRECT) *rect = r;
    if (previous) SelectObject(own, previous);
    return result;
}

int PIX_CachedFont::DrawNativeViaScratch(PIX_IBitmap* bm, const char* text, int count, RECT* rect, unsigned format) {
    if (!scratchBitmap) scratchBitmap = new PIX_SysBitmap(0, 0);
    if (scratchBitmap->getWidth() < 4 || scratchBitmap->getHeight() < 4) {
        scratchBitmap->resize(std::max(4, scratchBitmap->getWidth()), std::max(4, scratchBitmap->getHeight()));
    }
    HDC dc = scratchBitmap->getDC();
    if (!dc) return 0;
    // The scratch context gets the font's colours too, as a bitmap's own context does:
    // otherwise the text would come out in whatever colours the scratch last had.
    HGDIOBJ previous = PrepareNativeContext(dc);
    RECT m{};
    const unsigned measureFlags =
        (format & ~(DT_CALCRECT | kAlignFlags | DT_NOPREFIX | PIX_DT_GLYPHS_ONLY)) | DT_CALCRECT | DT_NOPREFIX;
    int result = WAPI_DrawText(dc, text, count, &m, measureFlags);
    auto finish = [&](int value) {
        if (previous && WAPI_IsLiveContext(dc)) SelectObject(dc, previous);
        return value;
    };
    if (format & DT_CALCRECT) {
        rect->right = pix::SatInt64(int64_t(rect->left) + m.right - m.left);
        rect->bottom = pix::SatInt64(int64_t(rect->top) + m.bottom - m.top);
        return finish(result);
    }
    NativeBox b;
    if (!PIX_HasPixels(bm)) return finish(0);
    if (!PlaceNativeText(*rect, m, format, *bm, b)) return finish(result);

    const int boxW = int(b.x2 - b.x), boxH = int(b.y2 - b.y);
    if (scratchBitmap->getWidth() < boxW || scratchBitmap->getHeight() < boxH) {
        if (previous && WAPI_IsLiveContext(dc)) SelectObject(dc, previous);
        scratchBitmap->resize(std::max(boxW, scratchBitmap->getWidth()), std::max(boxH, scratchBitmap->getHeight()));
        dc = scratchBitmap->getDC();
        if (!dc) return 0;
        previous = PrepareNativeContext(dc);
    }
    const PIX_Rect box{int(b.x), int(b.y), int(b.x2), int(b.y2)};
    PIX_BlitRect(scratchBitmap, bm, 0, 0, &box, 1.0f, PIX_MODE_COPY);
    RECT r{pix::SatInt64(b.offX), pix::SatInt64(b.offY), boxW, boxH};
    result = WAPI_DrawText(dc, text, count, &r,
                           (format & ~(kAlignFlags | DT_NOCLIP | PIX_DT_GLYPHS_ONLY)) | DT_NOPREFIX);
    PIX_Blit(bm, scratchBitmap, int(b.x), int(b.y), 0, 0, boxW, boxH, mCombineAlpha, PIX_MODE_COPY);
    return finish(result);
}

int PIX_CachedFont::DrawTextImpl(PIX_IBitmap* bm, const char* text, int count, RECT* rect, unsigned format) {
    if (!rect) return 0;
    if (!(format & DT_CALCRECT) && !bm) return 0;
    const bool forceGlyphs = bm && bm->Extended(kGlyphPathQuery, nullptr) != 0;
    const bool native =
        !forceGlyphs &&
        (((mFlags & PIX_FONT_ALLOW_NATIVE) && !(mFlags & kGlyphOnlyFlags) && !(format & kGlyphOnlyFormat) && mFont &&
          ((format & DT_SINGLELINE) || mExtraSpacing == 0)) ||
         mLineHeight >= 256);
    if (native) return DrawNative(bm, text, count, rect, format);
    if (format & DT_CALCRECT) return MeasureGlyphs(text, count, rect, format);
    return DrawGlyphs(bm, text, count, rect, format);
}
