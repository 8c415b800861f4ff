#include "winapi/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

// Sizes beyond this would have the rasteriser produce glyph images of many megabytes
// each; such requests fail instead.
constexpr double kMaxPixelSize = 4096.0;
// Character height of a font created with height 0.
constexpr int kDefaultCharHeight = 12;

// Faces the editor asks for by their desktop names, pinned to named families that the
// project installs (Debian's fonts-dejavu-core), so text looks the same on every
// machine whatever else is installed. Only where that family is missing does the
// request fall back to fontconfig's generic family.
struct FaceAlias {
    const char* face;
    const char* family;
    const char* generic;
};
constexpr FaceAlias kFaceAliases[] = {
    {"Monaco", "DejaVu Sans Mono", "monospace"},
    {"Tahoma", "DejaVu Sans", "sans-serif"},
    {"Arial", "DejaVu Sans", "sans-serif"},
};

struct GlyphImage {
    std::vector<uint8_t> coverage;  // rows of `width` bytes
    int width = 0;
    int height = 0;
    int left = 0;  // from the pen position to the first column
    int top = 0;   // from the baseline up to the first row
    int advance = 0;
};

struct FontObject final : HGDIOBJ__ {
    FontObject() : HGDIOBJ__(WAPI_OBJ_FONT) {}
    ~FontObject() override;

    const GlyphImage& glyph(uint32_t code);

    FT_Face face = nullptr;
    std::string file;
    TEXTMETRIC metrics;
    bool mono = false;
    bool embolden = false;
    std::unordered_map<uint32_t, GlyphImage> glyphs;
    // Contexts this font has been selected into; cleared of it when the font goes.
    std::unordered_set<HDC__*> selectedInto;
};

struct Registry {
    // Fonts still alive at exit keep their faces; only the shared state goes.
    ~Registry() {
        if (config) FcConfigDestroy(config);
    }
    std::mutex mutex;
    std::unordered_set<HGDIOBJ__*> live;
    FT_Library library = nullptr;
    FcConfig* config = nullptr;
};

Registry& registry() {
    static Registry r;
    return r;
}

// fontconfig configuration of our own: the aliases are read before the system rules so
// they are expanded by them, and the process-wide configuration stays untouched.
FcConfig* loadConfig() {
    FcConfig* config = FcConfigCreate();
    FcChar8* systemFile = config ? FcConfigGetFilename(config, nullptr) : nullptr;
    std::string xml = "<?xml version=\"1.0\"?><fontconfig>";
    // "prefer" puts the pinned family ahead of the system's own rules for the name (which
    // would send Arial to a metric clone, say); "default" only adds the generic family
    // behind everything else.
    for (const FaceAlias& a : kFaceAliases) {
        xml += "<alias binding=\"same\"><family>";
        xml += a.face;
        xml += "</family><prefer><family>";
        xml += a.family;
        xml += "</family></prefer><default><family>";
        xml += a.generic;
        xml += "</family></default></alias>";
    }
    if (systemFile) {
        xml += "<include ignore_missing=\"yes\">";
        xml += reinterpret_cast<const char*>(systemFile);
        xml += "</include>";
        FcStrFree(systemFile);
    }
    xml += "</fontconfig>";
    if (config && FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue) &&
        FcConfigBuildFonts(config)) {
        return config;
    }
    if (config) FcConfigDestroy(config);
    return FcConfigReference(nullptr);
}

FontObject* liveFont(HGDIOBJ object) {
    if (!object) return nullptr;
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    if (!r.live.count(object) || object->kind != WAPI_OBJ_FONT) return nullptr;
    return static_cast<FontObject*>(object);
}

FontObject::~FontObject() {
    if (face) {
        std::lock_guard lock(registry().mutex);
        FT_Done_Face(face);
    }
}

const GlyphImage& FontObject::glyph(uint32_t code) {
    auto found = glyphs.find(code);
    if (found != glyphs.end()) return found->second;
    GlyphImage& g = glyphs[code];
    // Control characters have no picture and take no room.
    if (code < 32 || code == 127) return g;
    const FT_Int32 loadFlags = FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Char(face, code, loadFlags) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    if (embolden) FT_GlyphSlot_Embolden(slot);
    g.advance = int((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0 || !bm.buffer) return g;
    g.width = int(bm.width);
    g.height = int(bm.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.coverage.resize(size_t(g.width) * size_t(g.height));
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* src = bm.buffer + ptrdiff_t(y) * bm.pitch;
        uint8_t* dst = g.coverage.data() + size_t(y) * size_t(g.width);
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < g.width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7)) & 1) ? 255 : 0;
        } else {
            std::memcpy(dst, src, size_t(g.width));
        }
    }
    return g;
}

struct Clip {
    int64_t left, top, right, bottom;
};

// The part of the box x, y, w, h inside the clip, right and bottom exclusive.
struct Visible {
    int64_t x0, y0, x1, y1;
    Visible(const Clip& clip, int64_t x, int64_t y, int64_t w, int64_t h)
        : x0(std::max(x, clip.left)), y0(std::max(y, clip.top)), x1(std::min(x + w, clip.right)),
          y1(std::min(y + h, clip.bottom)) {}
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

uint8_t* pixelAt(HDC ctx, int64_t x, int64_t y) { return ctx->bits + (y * ctx->width + x) * 4; }

// Blends one glyph's coverage into the context's red, green and blue bytes; the alpha
// byte is not the text engine's to touch.
void drawGlyphImage(HDC ctx, const GlyphImage& g, int64_t x, int64_t y, const Clip& clip, int r, int gr, int b) {
    const Visible v(clip, x, y, g.width, g.height);
    if (v.empty()) return;
    for (int64_t py = v.y0; py < v.y1; ++py) {
        const uint8_t* cov = g.coverage.data() + (py - y) * g.width + (v.x0 - x);
        uint8_t* px = pixelAt(ctx, v.x0, py);
        for (int64_t i = v.x0; i < v.x1; ++i, ++cov, px += 4) {
            const int c = *cov;
            if (c == 0) continue;
            const int k = 255 - c;
            px[1] = uint8_t((px[1] * k + r * c + 127) / 255);
            px[2] = uint8_t((px[2] * k + gr * c + 127) / 255);
            px[3] = uint8_t((px[3] * k + b * c + 127) / 255);
        }
    }
}

void fillBox(HDC ctx, int64_t x, int64_t y, int64_t w, int64_t h, const Clip& clip, COLORREF color) {
    const Visible v(clip, x, y, w, h);
    const uint8_t r = uint8_t(WAPI_ColorWordR(color)), g = uint8_t(WAPI_ColorWordG(color)),
                  b = uint8_t(WAPI_ColorWordB(color));
    for (int64_t py = v.y0; py < v.y1; ++py) {
        uint8_t* px = pixelAt(ctx, v.x0, py);
        for (int64_t i = v.x0; i < v.x1; ++i, px += 4) {
            px[1] = r;
            px[2] = g;
            px[3] = b;
        }
    }
}

struct Line {
    size_t first = 0;  // index range into the glyph run
    size_t end = 0;
    int64_t width = 0;
};

}  // namespace

int WAPI_DecodeUTF8(const unsigned char* s, size_t n, uint32_t* code) {
    const unsigned b0 = s[0];
    int len = 1;
    uint32_t cp = b0;
    if (b0 >= 0xC2 && b0 <= 0xDF) len = 2, cp = b0 & 0x1F;
    else if (b0 >= 0xE0 && b0 <= 0xEF) len = 3, cp = b0 & 0x0F;
    else if (b0 >= 0xF0 && b0 <= 0xF4) len = 4, cp = b0 & 0x07;
    // Older program names are Latin-1: a byte that starts no complete sequence stands
    // for itself. 0xC0 counts as a continuation byte, as stored texts expect.
    auto continues = [](unsigned b) { return b >= 0x80 && b <= 0xC0; };
    if (len > 1 && size_t(len) <= n) {
        for (int i = 1; i < len; ++i) {
            if (!continues(s[i])) {
                *code = b0;
                return 1;
            }
            cp = cp << 6 | (s[i] & 0x3F);
        }
        *code = cp;
        return len;
    }
    *code = b0;
    return 1;
}

namespace {

// A synthetic slant of about 12 degrees, in FreeType's 16.16 matrix units.
constexpr FT_Fixed kFixedOne = 0x10000;
constexpr FT_Fixed kItalicShear = 0x0366A;

// The style of the face that was opened, read from the face itself: fontconfig's own
// rules for synthetic bold and oblique rewrite the weight and slant of the match they
// would fake, which would leave the face to be drawn upright and thin.
struct FaceMatch {
    int weight = 400;  // OpenType weight class
    bool italic = false;
};

// The closest installed face to the request, opened into font->face. Runs under the
// registry lock: fontconfig and the FreeType library object are shared.
bool OpenClosestFace(Registry& reg, int weight, unsigned italic, unsigned pitchAndFamily, const char* faceName,
                     FontObject& font, FaceMatch& matched) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    const char* family = faceName && *faceName ? faceName : "sans-serif";
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    if ((pitchAndFamily & 3) == WAPI_FIXED_PITCH) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
        FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(reg.config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(reg.config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* file = nullptr;
    int index = 0;
    FcPatternGetString(match, FC_FILE, 0, &file);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    if (file) font.file = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    if (font.file.empty() || FT_New_Face(reg.library, font.file.c_str(), index, &font.face) != 0) {
        font.face = nullptr;
        return false;
    }
    const FT_Face face = font.face;
    matched.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    matched.weight = os2 && os2->version != 0xFFFF && os2->usWeightClass > 0 ? os2->usWeightClass
                     : (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700
                                                                : 400;
    return true;
}

// Fills the metrics for the requested height and width and sizes the face to match;
// false for a size the layer refuses.
bool SizeFace(FontObject& font, int height, int width, int weight, unsigned italic) {
    FT_Face face = font.face;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return false;
    const double upem = face->units_per_EM;
    double ascUnits = face->ascender, descUnits = -double(face->descender), avgUnits = 0;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            ascUnits = os2->usWinAscent;
            descUnits = os2->usWinDescent;
        }
        avgUnits = os2->xAvgCharWidth;
    }
    if (ascUnits + descUnits <= 0) ascUnits = upem, descUnits = 0;

    // Win32 reads a positive height as the cell (ascent + descent) and a negative one as
    // the character height, so `IGraphics` asking for h gets a line height of exactly h.
    TEXTMETRIC& tm = font.metrics;
    double em;
    if (height > 0) {
        if (height > kMaxPixelSize) return false;
        em = height * upem / (ascUnits + descUnits);
        tm.tmAscent = int(std::lround(height * ascUnits / (ascUnits + descUnits)));
        tm.tmDescent = height - tm.tmAscent;
    } else {
        em = height < 0 ? -double(height) : kDefaultCharHeight;
        if (em > kMaxPixelSize) return false;
        tm.tmAscent = int(std::lround(ascUnits * em / upem));
        tm.tmDescent = int(std::lround(descUnits * em / upem));
    }
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    if (tm.tmHeight < 1 || tm.tmHeight > kMaxPixelSize) return false;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - int(std::lround(em)));
    const double naturalAvg = avgUnits > 0 ? avgUnits * em / upem : em / 2;
    double xem = em;
    if (width != 0) xem = std::min(kMaxPixelSize, em * std::abs(double(width)) / naturalAvg);
    tm.tmAveCharWidth = width != 0 ? std::abs(width) : std::max(1, int(std::lround(naturalAvg)));
    tm.tmMaxCharWidth = std::max(1, int(std::lround(face->max_advance_width * xem / upem)));
    tm.tmWeight = weight;
    tm.tmItalic = italic ? 1 : 0;
    const FT_F26Dot6 em26 = std::max<FT_F26Dot6>(1, FT_F26Dot6(std::lround(em * 64)));
    const FT_F26Dot6 xem26 = std::max<FT_F26Dot6>(1, FT_F26Dot6(std::lround(xem * 64)));
    return FT_Set_Char_Size(face, xem26, em26, 72, 72) == 0;
}

}  // namespace

HGDIOBJ CreateFont(int height, int width, int /*escapement*/, int /*orientation*/, int weight, unsigned italic,
                   unsigned /*underline*/, unsigned /*strikeOut*/, unsigned /*charSet*/, unsigned /*outPrecision*/,
                   unsigned /*clipPrecision*/, unsigned quality, unsigned pitchAndFamily, const char* faceName) {
    auto& reg = registry();
    std::unique_lock lock(reg.mutex);
    if (!reg.config) reg.config = loadConfig();
    if (!reg.library && FT_Init_FreeType(&reg.library) != 0) {
        reg.library = nullptr;
        return nullptr;
    }
    if (!reg.config) return nullptr;

    if (std::abs(double(width)) > kMaxPixelSize) return nullptr;
    if (weight <= 0) weight = 400;
    weight = std::min(weight, 1000);
    auto font = std::make_unique<FontObject>();
    FaceMatch matched;
    if (!OpenClosestFace(reg, weight, italic, pitchAndFamily, faceName, *font, matched)) return nullptr;
    lock.unlock();

    if (!SizeFace(*font, height, width, weight, italic)) return nullptr;
    font->mono = quality == WAPI_QUALITY_MONO;
    // A family without the asked-for bold or italic face is given it synthetically.
    font->embolden = weight >= 600 && matched.weight < 600;
    if (italic && !matched.italic) {
        FT_Matrix shear{kFixedOne, kItalicShear, 0, kFixedOne};
        FT_Set_Transform(font->face, &shear, nullptr);
    }

    lock.lock();
    HGDIOBJ object = font.release();
    reg.live.insert(object);
    return object;
}

bool DeleteObject(HGDIOBJ object) {
    if (!object) return false;
    auto& reg = registry();
    {
        std::lock_guard lock(reg.mutex);
        if (reg.live.erase(object) == 0) return false;
    }
    if (object->kind == WAPI_OBJ_FONT) {
        // A context never owns its font: when the font goes, contexts still holding it
        // are left with none rather than with a dangling pointer.
        for (HDC__* ctx : static_cast<FontObject*>(object)->selectedInto) {
            if (WAPI_IsLiveContext(ctx) && ctx->font == object) ctx->font = nullptr;
        }
    }
    delete object;
    return true;
}

HGDIOBJ SelectObject(HDC context, HGDIOBJ object) {
    if (!WAPI_IsLiveContext(context)) return nullptr;
    FontObject* font = liveFont(object);
    if (!font) return nullptr;
    HGDIOBJ previous = liveFont(context->font);
    context->font = font;
    font->selectedInto.insert(context);
    return previous;
}

bool GetTextMetrics(HDC context, TEXTMETRIC* metrics) {
    if (!metrics || !WAPI_IsLiveContext(context)) return false;
    FontObject* font = liveFont(context->font);
    if (!font) return false;
    *metrics = font->metrics;
    return true;
}

// A released context answers with the layer's "invalid" value and keeps nothing.
COLORREF SetTextColor(HDC context, COLORREF color) {
    return WAPI_IsLiveContext(context) ? std::exchange(context->textColor, color) : 0xFFFFFFFF;
}

COLORREF SetBkColor(HDC context, COLORREF color) {
    return WAPI_IsLiveContext(context) ? std::exchange(context->bkColor, color) : 0xFFFFFFFF;
}

int SetBkMode(HDC context, int mode) { return WAPI_IsLiveContext(context) ? std::exchange(context->bkMode, mode) : 0; }

const char* WAPI_GetFontFile(HGDIOBJ object) {
    FontObject* font = liveFont(object);
    return font ? font->file.c_str() : "";
}

namespace {

// The text laid out as runs of glyphs per line.
struct Layout {
    std::vector<const GlyphImage*>& run;
    std::vector<Line>& lines;
    int64_t lineCount = 0;  // trailing empty lines do not count
    int64_t width = 0;
};

// A carriage return is dropped and a line feed on a single line shows as a space, as in
// the raster library's own text.
void LayOut(FontObject& font, const unsigned char* s, size_t bytes, bool singleLine, Layout& out) {
    out.run.clear();
    out.lines.assign(1, Line{});
    size_t lastLineWithText = 0;
    bool anyText = false;
    for (size_t i = 0; i < bytes;) {
        uint32_t code = 0;
        i += size_t(WAPI_DecodeUTF8(s + i, bytes - i, &code));
        if (code == '\r') continue;
        if (code == '\n') {
            if (!singleLine) {
                out.lines.back().end = out.run.size();
                out.lines.push_back(Line{out.run.size(), out.run.size(), 0});
                continue;
            }
            code = ' ';
        }
        const GlyphImage& g = font.glyph(code);
        out.run.push_back(&g);
        out.lines.back().width += g.advance;
        lastLineWithText = out.lines.size() - 1;
        anyText = true;
    }
    out.lines.back().end = out.run.size();
    out.lineCount = anyText ? int64_t(lastLineWithText) + 1 : 0;
    for (const Line& line : out.lines) out.width = std::max(out.width, line.width);
}

// Draws the laid-out lines into the context, placed in the rectangle by the format.
void DrawLines(HDC context, const FontObject& font, const Layout& layout, const RECT& rect, unsigned format) {
    Clip clip{0, 0, context->width, context->height};
    if (!(format & DT_NOCLIP)) {
        clip.left = std::max<int64_t>(clip.left, rect.left);
        clip.top = std::max<int64_t>(clip.top, rect.top);
        clip.right = std::min<int64_t>(clip.right, rect.right);
        clip.bottom = std::min<int64_t>(clip.bottom, rect.bottom);
    }
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;

    const int lineHeight = font.metrics.tmHeight;
    const int64_t textHeight = layout.lineCount * lineHeight;
    int64_t y = rect.top;
    if (format & DT_VCENTER) y += (int64_t(rect.bottom) - rect.top - textHeight) / 2;
    else if (format & DT_BOTTOM) y = rect.bottom - textHeight;
    const COLORREF color = context->textColor;
    const int r = WAPI_ColorWordR(color), g = WAPI_ColorWordG(color), b = WAPI_ColorWordB(color);
    for (int64_t li = 0; li < layout.lineCount; ++li, y += lineHeight) {
        const Line& line = layout.lines[size_t(li)];
        int64_t x = rect.left;
        if (format & DT_CENTER) x += (int64_t(rect.right) - rect.left - line.width) / 2;
        else if (format & DT_RIGHT) x = rect.right - line.width;
        if (context->bkMode == WAPI_BK_FILL) fillBox(context, x, y, line.width, lineHeight, clip, context->bkColor);
        const int64_t baseline = y + font.metrics.tmAscent;
        for (size_t k = line.first; k < line.end; ++k) {
            const GlyphImage& gi = *layout.run[k];
            if (gi.width > 0) drawGlyphImage(context, gi, x + gi.left, baseline - gi.top, clip, r, g, b);
            x += gi.advance;
        }
    }
}

}  // namespace

int WAPI_DrawText(HDC context, const char* text, int count, RECT* rect, unsigned format) {
    if (!rect || !WAPI_IsLiveContext(context)) return 0;
    FontObject* font = liveFont(context->font);
    if (!font) return 0;
    const size_t bytes = !text ? 0 : count < 0 ? std::strlen(text) : strnlen(text, size_t(count));
    thread_local std::vector<const GlyphImage*> run;
    thread_local std::vector<Line> lines;
    Layout layout{run, lines};
    LayOut(*font, reinterpret_cast<const unsigned char*>(text), bytes, format & DT_SINGLELINE, layout);
    const int64_t textHeight = layout.lineCount * font->metrics.tmHeight;
    const int result = int(std::min<int64_t>(textHeight, INT32_MAX));

    if (format & DT_CALCRECT) {
        rect->right = int(std::clamp<int64_t>(rect->left + layout.width, INT32_MIN, INT32_MAX));
        rect->bottom = int(std::clamp<int64_t>(rect->top + textHeight, INT32_MIN, INT32_MAX));
        return result;
    }
    if (context->bits && layout.lineCount > 0) DrawLines(context, *font, layout, *rect, format);
    return result;
}
