// The cached font: its decoder's limits, drawing inside the rectangle, the glyph cache's
// life, and the native path agreeing with it.

#include "raster_test_util.h"

namespace {

HGDIOBJ MakeHFont(int height) { return CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"); }

// A font that owns its native font, on the glyph path unless the flags allow native drawing.
std::unique_ptr<PIX_CachedFont> GlyphFont(int height = 16, int flags = 0) {
    auto f = std::make_unique<PIX_CachedFont>();
    f->SetFromHFont(MakeHFont(height), PIX_FONT_OWNS_HFONT | flags);
    return f;
}

// The cached font decodes as the text layer does (whose tests hold the rules), held to
// 16-bit codes (anything above is a space) and to the bytes it is given: the count, or
// those before the terminator.
TEST(CachedFontDecode, SixteenBitCodesWithinTheGivenBytes) {
    const struct { const char* text; int count, code, used; } cases[] = {
        {"\xF0\x9F\x98\x80", 4, 32, 4}, {"\xE2\x82\xAC", 3, 0x20AC, 3}, {"\xE2\x82\xAC", 2, 0xE2, 1},
        {"\xE2\x82", -1, 0xE2, 1},     {"\xC3\xA9", -1, 0xE9, 2},
    };
    for (const auto& c : cases) {
        // A heap block of exactly those bytes, so a read past them trips the sanitizer.
        const size_t n = c.count < 0 ? std::strlen(c.text) + 1 : size_t(c.count);
        std::unique_ptr<char[]> block(new char[n]);
        std::memcpy(block.get(), c.text, n);
        int code = -1;
        EXPECT_EQ(PIX_CachedFont::DecodeUTF8Char(block.get(), c.count, &code), c.used) << c.count;
        EXPECT_EQ(code, c.code) << std::hex << c.code;
    }
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
                    ASSERT_EQ(CountMismatches(bm, [&](int x, int y) {
                                  const bool in = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
                                  return in ? bm.at(x, y) : 0u;
                              }), 0) << "mode " << mode << " fmt " << fmt << " rect " << rc.left << "," << rc.top;
                }
}

TEST(CachedFontGlyphs, ResetWithTheFontAndNotRetriedWhenUnrenderable) {
    auto f = GlyphFont(16);  // measuring it is the text layer's tests' business
    RECT m{};
    f->DrawText(nullptr, "a\xE2\x82\xAC", -1, &m, DT_CALCRECT);  // renders both
    ASSERT_GT(f->FindGlyph('a')->cachePos, 0);
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

    CanaryBitmap bm(32, 20);
    RECT r{0, 0, 32, 20};
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
        for (PIX_IBitmap* bm : {(PIX_IBitmap*)&withContext, (PIX_IBitmap*)&withoutContext, (PIX_IBitmap*)&reference}) {
            Fill(*bm, 0);
            RECT r{4, 2, 116, 28};
            const char* text = "Quick \xC3\xA9t\xC3\xA9 \xE2\x82\xAC" "5";  // two- and three-byte characters too
            (bm == &reference ? glyphs : native)->DrawText(bm, text, -1, &r, format);
        }
        int inked = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const auto byte = [&](PIX_IBitmap& bm, int ch) { return int(Px(bm, x, y) >> 8 * ch & 255); };
                for (int ch = 1; ch <= 3; ++ch) {
                    ASSERT_NEAR(byte(withContext, ch), byte(reference, ch), 2) << x << "," << y << " ch " << ch;
                    ASSERT_NEAR(byte(withoutContext, ch), byte(reference, ch), 2) << x << "," << y << " ch " << ch;
                    // Channels the colour lacks stay dark.
                    if ((color >> 8 * ch & 255) == 0) { ASSERT_EQ(byte(withContext, ch), 0) << x << "," << y; }
                }
                inked += (Px(withContext, x, y) | 255) == (color | 255);
            }
        EXPECT_GT(inked, 30);
    }
}

}  // namespace
