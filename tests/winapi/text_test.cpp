#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "raster/cached_font.h"
#include "support/golden.h"
#include "winapi/font.h"

namespace {

constexpr uint32_t kCanary = 0x5aa5c33c;

HGDIOBJ MakeFont(int height, const char* face = "DejaVu Sans", int weight = 400, bool italic = false,
                 unsigned quality = 0, unsigned pitch = 0) {
    return CreateFont(height, 0, 0, 0, weight, italic, 0, 0, 0, 0, 0, quality, pitch, face);
}

// A memory context with a font selected, every pixel preset to a canary value.
struct TextContext {
    TextContext(int w, int h, HGDIOBJ f) : dc(WAPI_CreateMemContext(nullptr, w, h)), font(f) {
        std::fill_n(px(), w * h, kCanary);
        SelectObject(dc, font);
    }
    ~TextContext() { WAPI_DeleteGfxContext(dc), DeleteObject(font); }
    uint32_t* px() const { return static_cast<uint32_t*>(WAPI_GetCtxFrameBuffer(dc)); }
    uint32_t at(int x, int y) const { return px()[y * dc->width + x]; }
    int width(const std::string& text) const {
        RECT r{};
        WAPI_DrawText(dc, text.c_str(), -1, &r, DT_CALCRECT);
        return r.right;
    }
    HDC dc;
    HGDIOBJ font;
};

std::string Utf8(char32_t c) {
    if (c < 0x80) return std::string(1, char(c));
    if (c < 0x800) return {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    if (c < 0x10000) return {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    return {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
}

}  // namespace

TEST(TextFonts, PositiveHeightIsTheCellNegativeTheCharacter) {
    for (int h : {2, 7, 13, 16, 37, 100})
        for (const char* face : {"DejaVu Sans", "Monaco", "Tahoma", "DejaVu Serif"}) {
            TEXTMETRIC cell, chr;
            TextContext t(8, 8, MakeFont(h, face)), n(8, 8, MakeFont(-h, face));
            ASSERT_TRUE(GetTextMetrics(t.dc, &cell) && GetTextMetrics(n.dc, &chr)) << face;
            EXPECT_EQ(std::tuple(cell.tmHeight, cell.tmAscent + cell.tmDescent, chr.tmHeight - chr.tmInternalLeading),
                      std::tuple(h, h, h)) << face;
        }
}

TEST(TextFonts, AbsentFacesResolveToPinnedOrCloseOnes) {
    // The desktop faces the editor names resolve to the same DejaVu family on every
    // machine; other names go to fontconfig's generic families. A named face wins over a
    // fixed-pitch request, which is what tells the pinned proportional faces from a guess.
    const struct { const char* face; unsigned pitch; bool fixedPitch; const char* file; } cases[] = {
        {"Monaco", 0, true, "DejaVuSansMono.ttf"},
        {"Tahoma", WAPI_FIXED_PITCH, false, "DejaVuSans.ttf"},
        {"Arial", WAPI_FIXED_PITCH, false, "DejaVuSans.ttf"},
        {"monospace", 0, true, nullptr},
        {"No Such Face", WAPI_FIXED_PITCH, true, nullptr}, {"sans-serif", 0, false, nullptr}, {"", 0, false, nullptr},
    };
    for (const auto& c : cases) {
        TextContext t(8, 8, MakeFont(16, c.face, 400, false, 0, c.pitch));
        const std::string file = WAPI_GetFontFile(t.font);
        EXPECT_NE(file, "") << c.face;
        EXPECT_TRUE(!c.file || file.substr(file.rfind('/') + 1) == c.file) << c.face << " -> " << file;
        EXPECT_EQ(t.width("iiii") == t.width("WWWW"), c.fixedPitch) << c.face << " -> " << file;
    }
}

// Older program names are Latin-1: a byte that starts no complete sequence stands for
// itself, and the decoder never reads past the bytes it is given.
TEST(TextMeasure, Utf8DecodingWithTheLatin1Fallback) {
    const struct { std::vector<unsigned char> bytes; uint32_t code; int used; } cases[] = {
        {{'A'}, 'A', 1},          {{0xC3, 0xA9}, 0xE9, 2},   {{0xE2, 0x82, 0xAC}, 0x20AC, 3},
        {{0xF0, 0x9F, 0x98, 0x80}, 0x1F600, 4},               {{0xC3}, 0xC3, 1},  // cut short by the count
        {{0xF0, 0x9F, 0x98}, 0xF0, 1}, {{0x80}, 0x80, 1},     {{0xE9, 'x'}, 0xE9, 1},
        {{0xC3, 0x41}, 0xC3, 1},  {{0xC3, 0xC0}, 0xC0, 2},   // 0xC0 continues a sequence
        {{0xC0, 0x80}, 0xC0, 1},  {{0xC1, 0xBF}, 0xC1, 1},   {{0xF5, 0x80, 0x80}, 0xF5, 1}, {{0xFF, 'a'}, 0xFF, 1},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> exact(c.bytes);  // exactly the bytes the decoder may read
        uint32_t code = 0;
        EXPECT_EQ((std::pair{WAPI_DecodeUTF8(exact.data(), exact.size(), &code), code}), std::pair(c.used, c.code))
            << std::hex << int(c.bytes[0]);
    }
}

// The layer's own text and the raster glyph cache on top of it measure alike: each case gives
// every line's characters, each path adds up a line from its own glyphs (and their ink).
TEST(TextMeasure, BothTextPathsMeasureTheSameLines) {
    TextContext t(8, 8, MakeFont(16));
    PIX_CachedFont cached;
    cached.SetFromHFont(MakeFont(16), PIX_FONT_OWNS_HFONT);
    using Lines = std::vector<std::u32string>;
    const struct { const char *name, *text; int count; unsigned flags; Lines lines, cacheLines = {}; } cases[] = {
        {"empty", "", -1, 0, {}},                              {"zero count", "ab", 0, 0, {}},
        {"two letters", "ab", -1, 0, {U"ab"}},                 {"count shorter than text", "abab", 2, 0, {U"ab"}},
        {"count beyond the zero byte", "ab", 40, 0, {U"ab"}},  {"carriage return skipped", "a\rb", -1, 0, {U"ab"}},
        {"line feed breaks", "a\r\nb", -1, 0, {U"a", U"b"}},   {"widest line wins", "a\nabb", -1, 0, {U"a", U"abb"}},
        {"line feed on one line is a space", "a\nb", -1, DT_SINGLELINE, {U"a b"}},
        {"trailing line feed adds no line", "ab\n", -1, 0, {U"ab"}},
        {"empty middle line counts", "a\n\nb", -1, 0, {U"a", U"", U"b"}},
        {"count cuts a two-byte character", "a\xC3\xA9", 2, 0, {U"a\u00C3"}},
        {"stray byte is its own code", "a\xFF" "b", -1, 0, {U"a\u00FFb"}},
        {"Latin-1 text", "caf\xE9", -1, 0, {U"caf\u00E9"}},
        // The cache holds 16-bit codes: anything above is a space.
        {"four-byte character", "a\xF0\x9F\x98\x80" "b", -1, 0, {U"a\U0001F600b"}, {U"a b"}},
    };
    // A glyph's advance and the width of its ink; the layer's own text knows advances only.
    auto glyph = [&](bool cache, char32_t ch) {
        RECT r{};
        cached.DrawText(nullptr, Utf8(ch).c_str(), -1, &r, DT_CALCRECT);  // puts it in the cache
        return cache ? *cached.FindGlyph(int(ch)) : PIX_GlyphRecord{0, 0, 0, t.width(Utf8(ch)), 0};
    };
    for (bool cache : {false, true})
        for (const auto& c : cases) {
            const Lines& lines = cache && !c.cacheLines.empty() ? c.cacheLines : c.lines;
            int width = 0;
            for (const std::u32string& line : lines) {
                int x = 0, extent = 0;
                for (char32_t ch : line) {
                    const PIX_GlyphRecord g = glyph(cache, ch);
                    extent = std::max({extent, x + g.width, x + g.advance}), x += g.advance;
                }
                width = std::max(width, extent);
            }
            RECT r{10, 20, 0, 0};
            const int height = cache ? cached.DrawText(nullptr, c.text, c.count, &r, c.flags | DT_CALCRECT)
                                     : WAPI_DrawText(t.dc, c.text, c.count, &r, c.flags | DT_CALCRECT);
            const int lineHeights = 16 * int(lines.size());
            EXPECT_EQ((std::vector{height, r.left, r.top, r.right - r.left, r.bottom - r.top}),
                      (std::vector{lineHeights, 10, 20, width, lineHeights}))
                << (cache ? "glyph cache: " : "text layer: ") << c.name;
        }
}

// Weight, slant, mono quality, the colour word's byte order and the background box.
TEST(TextDraw, Golden) {
    const struct { int height, weight; bool italic; unsigned quality; COLORREF colour; int bk, x, y; const char* text; }
        lines[] = {
            {14, 400, false, 0, 0xffffff, 0, 1, 0, "Regular"}, {14, 700, false, 0, 0xff0000, 0, 56, 0, "Bold"},
            {14, 400, true, 0, 0x00ff00, 0, 1, 16, "Italic"},
            {14, 400, false, WAPI_QUALITY_MONO, 0x0000ff, 0, 48, 16, "Mono"},
            {13, 400, false, 0, 0x804020, WAPI_BK_FILL, 1, 32, "Box caf\xE9"},
        };
    TextContext t(96, 48, MakeFont(12));
    std::fill_n(t.px(), 96 * 48, 0);
    for (const auto& l : lines) {
        HGDIOBJ font = MakeFont(l.height, "DejaVu Sans", l.weight, l.italic, l.quality), old = SelectObject(t.dc, font);
        SetTextColor(t.dc, l.colour);
        SetBkColor(t.dc, 0x203040);
        SetBkMode(t.dc, l.bk);
        RECT r{l.x, l.y, 96, 48};
        WAPI_DrawText(t.dc, l.text, -1, &r, 0);
        SelectObject(t.dc, old);
        DeleteObject(font);
    }
    PIX_MemBitmap out(96, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 96; ++x) *PIX_PixelAddress(out, x, y) = t.at(x, y) | 255;  // opaque, to be seen
    EXPECT_TRUE(testutil::MatchesGolden(out, "winapi_text"));
}

// A fresh context is zero-filled and aligned as the raster library's loops expect; a
// font deleted while selected, or a released context, leaves nothing dangling.
TEST(TextContexts, ReleasedContextsAndDeletedFontsLeaveNothingDangling) {
    HDC dc = WAPI_CreateMemContext(nullptr, 8, 3);
    auto* px = static_cast<uint32_t*>(WAPI_GetCtxFrameBuffer(dc));
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(std::pair(reinterpret_cast<uintptr_t>(px) % 64, std::count(px, px + 24, 0u)), std::pair(0ul, 24l));
    HGDIOBJ a = MakeFont(12);
    EXPECT_EQ(SelectObject(dc, a), nullptr);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_EQ((std::pair{SelectObject(dc, a), dc->font}), std::pair(HGDIOBJ(nullptr), HGDIOBJ(nullptr)));
    RECT r{};
    EXPECT_EQ(WAPI_DrawText(dc, "abc", -1, &r, DT_CALCRECT), 0);
    WAPI_DeleteGfxContext(dc);
    EXPECT_EQ(std::pair(WAPI_IsLiveContext(dc), WAPI_GetCtxFrameBuffer(dc)), std::pair(false, (void*)nullptr));
    WAPI_DeleteGfxContext(dc);  // a second release is ignored
}

// Seeded random calls on live, released and missing contexts and fonts, texts, counts, boxes
// and formats: nothing crashes, nothing lands outside the box (unless unclipped) or in alpha.
TEST(TextContexts, RandomCallsOnLiveReleasedAndMissingObjects) {
    std::mt19937 rng(99);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const char* texts[] = {"Mg\nq", "\xC3\xA9\xE2\x82", "", "caf\xE9\r\n\x80", "Wg\xC3\xA9j\nQy", nullptr};
    const unsigned formats[] = {0, DT_CALCRECT, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM, DT_NOCLIP, DT_SINGLELINE,
                                DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE};
    for (int round = 0; round < 1000; ++round) {
        HDC released = WAPI_CreateMemContext(nullptr, 4, 4);
        WAPI_DeleteGfxContext(released);
        HGDIOBJ deleted = MakeFont(12);
        DeleteObject(deleted);
        const int absurd[] = {1 << 20, -(1 << 20), INT32_MIN};  // no font: every call on it fails
        const int w = pick(1, 40), h = pick(1, 30);
        TextContext t(w, h, MakeFont(pick(0, 9) ? pick(-30, 30) : absurd[pick(0, 2)]));
        HDC dc = pick(0, 3) ? t.dc : (pick(0, 1) ? released : nullptr);
        SelectObject(dc, pick(0, 4) ? t.font : deleted);
        SetBkMode(dc, pick(0, 1) ? WAPI_BK_FILL : 0);
        SetTextColor(dc, COLORREF(rng()));
        SetBkColor(dc, COLORREF(rng()));
        TEXTMETRIC tm;
        GetTextMetrics(dc, &tm);
        const RECT rc{pick(-20, 40), pick(-20, 30), pick(-20, 40), pick(-20, 30)};
        RECT r = rc;
        const unsigned format = formats[pick(0, 10)];
        WAPI_DrawText(dc, texts[pick(0, 5)], pick(-1, 9), pick(0, 9) ? &r : nullptr, format);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool inBox = format & DT_NOCLIP || (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom);
                ASSERT_TRUE(t.at(x, y) == kCanary || (inBox && (t.at(x, y) & 255) == (kCanary & 255)))
                    << "round " << round << " at " << x << "," << y << " format " << format;
            }
        SelectObject(t.dc, t.font);  // the context must not keep the deleted font
    }
}
