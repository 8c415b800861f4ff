#include "gui/font_cache.h"

#include <algorithm>
#include <cstring>

#include "raster/cached_font.h"
#include "raster/vector_spans.h"
#include "winapi/font.h"

namespace {

// Fonts are asked for with the glyph cache allowed to draw natively and owning the
// native font, so deleting a cached font also releases what the windowing layer made.
constexpr int kCachedFontFlags = PIX_FONT_OWNS_HFONT | PIX_FONT_ALLOW_NATIVE;

int NativeQuality(int quality) {
    switch (quality) {
    case 0: return 0;
    case 1: return 3;
    case 2:
    case 3: return 4;
    default: return 3;
    }
}

bool SameFace(const char* a, const char* b) { return std::strncmp(a, b, kFontFaceSize - 1) == 0; }

}  // namespace

const FontMakers& FontMakers::Default() {
    static const FontMakers makers{
        [] { return static_cast<PIX_IFont*>(new PIX_CachedFont); },
        [](const FontRequest& r) {
            return CreateFont(r.height, 0, r.escapement, r.escapement, r.weight, r.italic, 0, 0, 0, 0, 0,
                              unsigned(r.quality), 0, r.face);
        },
    };
    return makers;
}

FontCache& FontCache::Instance() {
    // Never destroyed: fonts must outlive anything that still draws at exit.
    static FontCache* cache = new FontCache;
    return *cache;
}

PIX_IFont* FontCache::Find(int size, int orientation, int style, const char* face) {
    CMN_MutexLock lock(mMutex);
    for (int i = 0; i < mEntries.GetSize(); ++i) {
        const Entry* e = mEntries.GetAt(i);
        if (e->size == size && e->orientation == orientation && e->style == style && SameFace(e->face, face) &&
            e->font)
            return e->font;
    }
    return nullptr;
}

PIX_IFont* FontCache::Insert(int size, int orientation, int style, const char* face, PIX_IFont* font) {
    CMN_MutexLock lock(mMutex);
    if (PIX_IFont* earlier = Find(size, orientation, style, face)) return earlier;
    Entry e{size, orientation, style, {}, font};
    std::strncpy(e.face, face, kFontFaceSize - 1);
    mEntries.Add(e);  // without memory the font still serves this style, uncached
    return font;
}

PIX_IFont* FindOrMakeFont(int size, int orientation, int style, int quality, const char* face,
                          const FontMakers& makers) {
    // A style's face field need not hold a terminating zero within its 32 bytes.
    char faceName[kFontFaceSize] = {};
    if (face) std::strncpy(faceName, face, kFontFaceSize - 1);
    face = faceName;
    FontCache& cache = FontCache::Instance();
    if (PIX_IFont* font = cache.Find(size, orientation, style, face)) return font;
    if (!makers.newFont || !makers.createNative) return nullptr;

    FontRequest request;
    request.height = std::max(size, 2);
    request.escapement = pix::SatInt(10.0 * orientation);
    request.weight = style == 1 ? 700 : 400;
    request.italic = style == 2;
    request.quality = NativeQuality(quality);
    request.face = face;

    PIX_IFont* font = makers.newFont();
    if (!font) return nullptr;
    // The windowing layer's height need not be the line height it gives; one corrected
    // request brings the line height close to the asked size.
    for (int attempt = 0;; ++attempt) {
        HGDIOBJ native = makers.createNative(request);
        if (!native) {
            delete font;
            return nullptr;
        }
        font->SetFromHFont(native, kCachedFontFlags);
        const int lineHeight = font->GetLineHeight();
        // A font without a line height cannot be corrected (it would divide by zero).
        if (attempt == 1 || lineHeight == request.height || lineHeight < 1) break;
        const double s = request.height < 3 ? 4.0 : double(request.height) * request.height;
        request.height = pix::SatInt(s / lineHeight + 0.5);
    }

    PIX_IFont* kept = cache.Insert(size, orientation, style, face, font);
    if (kept != font) delete font;  // another thread made the same font meanwhile
    return kept;
}
