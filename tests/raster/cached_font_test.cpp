#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

#include "raster/cached_font.h"
#include "raster/canary_bitmap.h"
#include "raster_test_util.h"

namespace {

HGDIOBJ MakeHFont(int height, unsigned quality = 0) {
    return CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, quality, 0, "DejaVu Sans");
}

// A font that owns its native font, on the glyph path unless the flags allow native drawing.
std::unique_ptr<PIX_CachedFont> GlyphFont(int height = 16, int flags = 0) {
    auto f = std::make_unique<PIX_CachedFont>();
    f->SetFromHFont(MakeHFont(height), PIX_FONT_OWNS_HFONT | flags);
    return f;
}

const PIX_GlyphRecord& Rendered(PIX_CachedFont& f, const char* text) {
    RECT r{};
    f.DrawText(nullptr, text, -1, &r, DT_CALCRECT);
    return *f.FindGlyph(text[0]);
}

}  // namespace

TEST(CachedFontDecode, BoundedAndLatin1Fallback) {
    const struct {
        std::vector<unsigned char> bytes;  // exactly the bytes the decoder may read
        int code, used;
    } cases[] = {
        {{'A'}, 'A', 1},
        {{0xC3, 0xA9}, 0xE9, 2},
        {{0xE2, 0x82, 0xAC}, 0x20AC, 3},
        {{0xF0, 0x9F, 0x98, 0x80}, 32, 4},  // beyond 16 bits: a space
        {{0xC3}, 0xC3, 1},                  // truncated by the count: the byte itself
        {{0xE2, 0x82}, 0xE2, 1},
        {{0xF0, 0x9F, 0x98}, 0xF0, 1},
        {{0x80}, 0x80, 1},                  // stray continuation byte
        {{0xE9}, 0xE9, 1},                  // Latin-1
        {{0xC3, 0x41}, 0xC3, 1},            // broken sequence
        {{0xC3, 0xC0}, 0xC0, 2},            // 0xC0 continues a sequence
        {{0xC0, 0x80}, 0xC0, 1},            // but starts none
        {{0xED, 0xA0, 0x80}, 0xD800, 3},
        {{0xFF, 'a'}, 0xFF, 1},
    };
    for (const auto& c : cases) {
        // A heap block of exactly the given size, so a read past it trips the sanitizer.
        std::unique_ptr<char[]> block(new char[c.bytes.size()]);
        std::memcpy(block.get(), c.bytes.data(), c.bytes.size());
        int code = -1;
        EXPECT_EQ(PIX_CachedFont::DecodeUTF8Char(block.get(), int(c.bytes.size()), &code), c.used);
        EXPECT_EQ(code, c.code) << std::hex << int(c.bytes[0]);
        EXPECT_EQ(PIX_CachedFont::DecodeUTF8Char(block.get(), int(c.bytes.size()), nullptr), c.used);
    }
    // Zero-terminated text: the terminator ends a sequence.
    int code = 0;
    EXPECT_EQ(PIX_CachedFont::DecodeUTF8Char("\xE2\x82", -1, &code), 1);
    EXPECT_EQ(code, 0xE2);
}

// Clipped or aligned text in every mode never writes outside its rectangle.
TEST(CachedFontDraw, NothingOutsideTheRectangleOrTheBitmap) {
    auto f = GlyphFont(14);
    f->SetTextColor(PIX_MakePixel(255, 200, 100, 50));
    EXPECT_EQ(f->GetTextColor(), PIX_MakePixel(255, 200, 100, 50));
    f->SetBkColor(PIX_MakePixel(255, 1, 2, 3));
    const unsigned formats[] = {0, DT_CENTER, DT_RIGHT, DT_VCENTER | DT_CENTER, DT_BOTTOM | DT_RIGHT, DT_SINGLELINE};
    const RECT rects[] = {{3, 2, 30, 14}, {-7, -6, 9, 8}, {30, 20, 60, 40}, {12, 5, 13, 30}, {0, 0, 40, 24}};
    for (uint32_t mode : ModeWords(false))
        for (int bk : {0, 1})
            for (unsigned fmt : formats)
                for (const RECT& rc : rects) {
                    f->SetBkMode(bk);
                    f->SetCombineMode(PIX_DrawMode(mode), 0.8f);
                    CanaryBitmap bm(40, 24);
                    RECT r = rc;
                    f->DrawText(&bm, "Wj\xC3\xA9g\nQy", -1, &r, fmt);
                    ASSERT_EQ(bm.damagedCanaries(), 0);
                    for (int y = 0; y < 24; ++y)
                        for (int x = 0; x < 40; ++x)
                            if (x < rc.left || x >= rc.right || y < rc.top || y >= rc.bottom) {
                                ASSERT_EQ(bm.at(x, y), 0u) << x << "," << y << " mode " << mode << " fmt " << fmt;
                            }
                }
}

TEST(CachedFontGlyphs, SetFromHFontResetsTheCaches) {
    auto f = GlyphFont(16);
    ASSERT_GT(Rendered(*f, "a\xE2\x82\xAC").cachePos, 0);
    ASSERT_NE(f->FindGlyph(0x20AC), nullptr);
    HGDIOBJ same = f->GetHFont();
    // Handing the font its own native font again must not delete it.
    f->SetFromHFont(same, PIX_FONT_OWNS_HFONT);
    EXPECT_STRNE(WAPI_GetFontFile(same), "");
    EXPECT_EQ(f->FindGlyph('a')->cachePos, 0);
    EXPECT_EQ(f->FindGlyph(0x20AC), nullptr);
    f->SetFromHFont(MakeHFont(30), PIX_FONT_OWNS_HFONT);
    EXPECT_STREQ(WAPI_GetFontFile(same), "");  // the owned old font is gone
    EXPECT_EQ(f->GetLineHeight(), 30);
}

TEST(CachedFontGlyphs, UnrenderableGlyphIsNotRetried) {
    auto f = GlyphFont(16);
    CanaryBitmap bm(32, 20);
    RECT r{0, 0, 32, 20}, m{};
    f->DrawText(&bm, "\x01", -1, &r, 0);  // a control character: no picture, no advance
    ASSERT_EQ(f->FindGlyph(1)->cachePos, -1);
    PIX_SysBitmap* scratch = PIX_CachedFont::GlyphBitmap();
    ASSERT_NE(scratch, nullptr);
    // Rendering clears the scratch's top-left corner; a marker there shows whether it ran.
    *PIX_PixelAddress(*scratch, 0, 0) = 0x12345678;
    for (int i = 0; i < 3; ++i) {
        f->DrawText(&bm, "\x01", -1, &r, 0);
        f->DrawText(nullptr, "\x01", -1, &m, DT_CALCRECT);
    }
    EXPECT_EQ(*PIX_PixelAddress(*scratch, 0, 0), 0x12345678u);
    EXPECT_EQ(f->FindGlyph(1)->cachePos, -1);

    auto fixed = GlyphFont(16, PIX_FONT_FIXED_ASCII);  // renders ASCII at once, nothing above
    EXPECT_GT(fixed->FindGlyph('a')->cachePos, 0);
    EXPECT_EQ(fixed->FindGlyph(0)->cachePos, -1);
    EXPECT_FALSE(fixed->RenderGlyph(0xE9));
    EXPECT_EQ(fixed->DrawText(nullptr, "\xC3\xA9", -1, &m, DT_CALCRECT), 0);
    EXPECT_EQ(fixed->FindGlyph(0xE9), nullptr);
}

// Both paths with the real rasteriser: the glyph cache must reproduce what the native
// engine draws, within the rounding of the two blend formulas, and in the colour asked.
TEST(CachedFontPaths, GlyphAndNativeAgreeAndColoursAreRight) {
    const std::pair<PIX_PixelValue, unsigned> cases[] = {
        {PIX_MakePixel(255, 255, 0, 0), 0},
        {PIX_MakePixel(255, 0, 0, 255), DT_CENTER},
        {PIX_MakePixel(255, 0, 255, 0), DT_RIGHT | DT_VCENTER},
        {PIX_MakePixel(255, 255, 255, 255), DT_BOTTOM},
    };
    for (const auto& [color, format] : cases) {
        auto native = GlyphFont(15, PIX_FONT_ALLOW_NATIVE), glyphs = GlyphFont(15);
        native->SetTextColor(color);
        glyphs->SetTextColor(color);
        PIX_SysBitmap withContext(120, 30);
        PIX_MemBitmap withoutContext(120, 30), reference(120, 30);
        PIX_IBitmap* bitmaps[] = {&withContext, &withoutContext, &reference};
        for (PIX_IBitmap* bm : bitmaps) {
            Fill(*bm, 0);
            RECT r{4, 2, 116, 28};
            // Two- and three-byte characters among the plain ones.
            const char* text = "Quick \xC3\xA9t\xC3\xA9 \xE2\x82\xAC" "5";
            (bm == &reference ? glyphs : native)->DrawText(bm, text, -1, &r, format);
        }
        int inked = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const auto* g = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(reference, x, y));
                for (PIX_IBitmap* bm : {bitmaps[0], bitmaps[1]}) {
                    const auto* n = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(*bm, x, y));
                    for (int ch = 1; ch <= 3; ++ch) ASSERT_NEAR(n[ch], g[ch], 2) << x << "," << y << " ch " << ch;
                }
                // Channels the colour lacks stay dark.
                const auto* n = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(withContext, x, y));
                const int want[] = {PIX_PixelR(color), PIX_PixelG(color), PIX_PixelB(color)};
                for (int ch = 1; ch <= 3; ++ch)
                    if (want[ch - 1] == 0) { ASSERT_EQ(n[ch], 0) << x << "," << y << " ch " << ch; }
                inked += (n[1] | n[2] | n[3]) == 255;
            }
        EXPECT_GT(inked, 30);
    }
}

TEST(CachedFontPaths, NativeFontWithTextAlphaTakesTheGlyphPath) {
    auto f = GlyphFont(16, PIX_FONT_ALLOW_NATIVE);
    f->SetTextColor(PIX_MakePixel(255, 255, 255, 255));
    // The native engine leaves the alpha byte alone; the glyph blenders write it.
    auto alphaTouched = [&](unsigned format) {
        PIX_SysBitmap bm(40, 20);
        Fill(bm, 0);
        RECT r{0, 0, 40, 20};
        f->DrawText(&bm, "H", -1, &r, format);
        uint32_t any = 0;
        for (int y = 0; y < 20; ++y)
            any = std::accumulate(PIX_PixelAddress(bm, 0, y), PIX_PixelAddress(bm, 40, y), any, std::bit_or<>());
        return (any & 255) != 0;
    };
    EXPECT_EQ(std::vector({alphaTouched(0), alphaTouched(PIX_DT_USE_TEXT_ALPHA), alphaTouched(0x80000000u)}),
              std::vector({false, true, true}));
}
