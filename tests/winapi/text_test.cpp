#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <cstdint>
#include <utility>
#include <string>
#include <vector>

#include "raster/bitmap.h"
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
        fill(kCanary);
        SelectObject(dc, font);
    }
    ~TextContext() {
        WAPI_DeleteGfxContext(dc);
        DeleteObject(font);
    }
    uint32_t* px() const { return static_cast<uint32_t*>(WAPI_GetCtxFrameBuffer(dc)); }
    uint32_t at(int x, int y) const { return px()[y * dc->width + x]; }
    void fill(uint32_t v) const { std::fill_n(px(), dc->width * dc->height, v); }
    int width(const char* text) const {
        RECT r{};
        WAPI_DrawText(dc, text, -1, &r, DT_CALCRECT);
        return r.right;
    }
    // The pixels after drawing the text in white (unless a colour is set) on black.
    std::vector<uint32_t> draw(const char* text, RECT r, unsigned flags = 0, COLORREF colour = 0xffffff) const {
        fill(0);
        SetTextColor(dc, colour);
        WAPI_DrawText(dc, text, -1, &r, flags);
        return {px(), px() + dc->width * dc->height};
    }
    HDC dc;
    HGDIOBJ font;
};

}  // namespace

TEST(TextFonts, PositiveHeightIsTheCellNegativeTheCharacter) {
    for (int h : {2, 7, 13, 16, 37, 100})
        for (const char* face : {"DejaVu Sans", "Monaco", "Tahoma", "DejaVu Serif"}) {
            TEXTMETRIC tm;
            TextContext t(8, 8, MakeFont(h, face)), n(8, 8, MakeFont(-h, face));
            ASSERT_TRUE(GetTextMetrics(t.dc, &tm)) << face;
            EXPECT_EQ(tm.tmHeight, h) << face;
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, h) << face;
            ASSERT_TRUE(GetTextMetrics(n.dc, &tm));
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, h) << face << " char height " << h;
            EXPECT_GE(tm.tmHeight, h);
        }
}

TEST(TextFonts, AbsentFacesResolveToPinnedOrCloseOnes) {
    // The desktop faces the editor names resolve to the same DejaVu family on every
    // machine; other names go to fontconfig's generic families.
    const struct {
        const char* face;
        unsigned pitch;
        bool fixedPitch;
        const char* file;
    } cases[] = {
        {"Monaco", 0, true, "DejaVuSansMono.ttf"},
        {"Tahoma", 0, false, "DejaVuSans.ttf"},
        {"Arial", 0, false, "DejaVuSans.ttf"},
        {"monospace", 0, true, nullptr},
        {"No Such Face", WAPI_FIXED_PITCH, true, nullptr},
        {"sans-serif", 0, false, nullptr},
        {"", 0, false, nullptr},
    };
    for (const auto& c : cases) {
        TextContext t(8, 8, MakeFont(16, c.face, 400, false, 0, c.pitch));
        ASSERT_NE(t.font, nullptr) << c.face;
        const std::string file = WAPI_GetFontFile(t.font);
        EXPECT_NE(file, "") << c.face;
        if (c.file) {
            EXPECT_EQ(file.substr(file.rfind('/') + 1), c.file) << c.face;
        }
        EXPECT_EQ(t.width("iiii") == t.width("WWWW"), c.fixedPitch) << c.face << " -> " << file;
    }
}

TEST(TextMeasure, Cases) {
    TextContext t(8, 8, MakeFont(16));
    const int a = t.width("a"), b = t.width("b"), space = t.width(" "), atilde = t.width("\xC3\x83"),
              ydiaeresis = t.width("\xC3\xBF"), cafe = t.width("caf\xC3\xA9");
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    const struct {
        const char* name;
        const char* text;
        int count;
        unsigned flags;
        int width, height;
    } cases[] = {
        {"empty", "", -1, 0, 0, 0},
        {"zero count", "ab", 0, 0, 0, 0},
        {"two letters", "ab", -1, 0, a + b, 16},
        {"count shorter than text", "abab", 2, 0, a + b, 16},
        {"count beyond the zero byte", "ab", 40, 0, a + b, 16},
        {"carriage return skipped", "a\rb", -1, 0, a + b, 16},
        {"line feed breaks", "a\r\nb", -1, 0, a, 32},
        {"line feed on one line is a space", "a\nb", -1, DT_SINGLELINE, a + space + b, 16},
        {"trailing line feed adds no line", "ab\n", -1, 0, a + b, 16},
        {"empty middle line counts", "a\n\nb", -1, 0, a, 48},
        {"widest line wins", "a\nabb", -1, 0, a + b + b, 32},
        {"count cuts a two-byte character", "a\xC3\xA9", 2, 0, a + atilde, 16},
        {"stray byte is its own code", "a\xFF" "b", -1, 0, a + ydiaeresis + b, 16},
        {"Latin-1 text", "caf\xE9", -1, 0, cafe, 16},
    };
    for (const auto& c : cases) {
        RECT r{10, 20, 0, 0};
        EXPECT_EQ(WAPI_DrawText(t.dc, c.text, c.count, &r, c.flags | DT_CALCRECT), c.height) << c.name;
        EXPECT_EQ((std::vector{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  (std::vector{10, 20, c.width, c.height}))
            << c.name;
    }
}

TEST(TextDraw, NothingOutsideTheRectangle) {
    const unsigned flagSets[] = {0, DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM, DT_CENTER | DT_VCENTER,
                                 DT_RIGHT | DT_BOTTOM | DT_SINGLELINE};
    const RECT rects[] = {{10, 8, 40, 20}, {-6, -5, 12, 9}, {50, 30, 80, 50}, {20, 10, 21, 11}, {30, 10, 30, 40}};
    TextContext t(64, 40, MakeFont(20));
    SetTextColor(t.dc, 0x00ff00);
    SetBkColor(t.dc, 0x0000ff);
    for (int bk : {0, WAPI_BK_FILL})
        for (unsigned f : flagSets)
            for (const RECT& rc : rects) {
                SetBkMode(t.dc, bk);
                t.fill(kCanary);
                RECT r = rc;
                WAPI_DrawText(t.dc, "Wg\xC3\xA9j\nQy", -1, &r, f);
                for (int y = 0; y < 40; ++y)
                    for (int x = 0; x < 64; ++x) {
                        if (x < rc.left || x >= rc.right || y < rc.top || y >= rc.bottom) {
                            ASSERT_EQ(t.at(x, y), kCanary) << x << "," << y << " flags " << f;
                        }
                        // Native drawing leaves the alpha byte alone.
                        ASSERT_EQ(t.at(x, y) & 255, kCanary & 255);
                    }
            }
}

// Weight, slant, mono quality, the colour word's byte order and the background box.
TEST(TextDraw, Golden) {
    PIX_MemBitmap out(96, 48);
    const struct { int height, weight; bool italic; unsigned quality; COLORREF colour; int bk, x, y; const char* text; }
        lines[] = {
            {14, 400, false, 0, 0xffffff, 0, 1, 0, "Regular"},
            {14, 700, false, 0, 0xff0000, 0, 56, 0, "Bold"},
            {14, 400, true, 0, 0x00ff00, 0, 1, 16, "Italic"},
            {14, 400, false, WAPI_QUALITY_MONO, 0x0000ff, 0, 48, 16, "Mono"},
            {13, 400, false, 0, 0x804020, WAPI_BK_FILL, 1, 32, "Box caf\xE9"},
        };
    TextContext t(96, 48, MakeFont(12));
    t.fill(0);
    for (const auto& l : lines) {
        HGDIOBJ font = MakeFont(l.height, "DejaVu Sans", l.weight, l.italic, l.quality);
        HGDIOBJ old = SelectObject(t.dc, font);
        SetTextColor(t.dc, l.colour);
        SetBkColor(t.dc, 0x203040);
        SetBkMode(t.dc, l.bk);
        RECT r{l.x, l.y, 96, 48};
        WAPI_DrawText(t.dc, l.text, -1, &r, 0);
        SelectObject(t.dc, old);
        DeleteObject(font);
    }
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 96; ++x) *PIX_PixelAddress(out, x, y) = t.at(x, y) | 255;  // opaque, to be seen
    EXPECT_TRUE(testutil::MatchesGolden(out, "winapi_text"));
}

TEST(TextContexts, DeletingASelectedFontLeavesNoDanglingFont) {
    HGDIOBJ a = MakeFont(12);
    HDC dc = WAPI_CreateMemContext(nullptr, 8, 8);
    EXPECT_EQ(SelectObject(dc, a), nullptr);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_EQ(std::pair(dc->font, SelectObject(dc, a)), std::pair(HGDIOBJ(nullptr), HGDIOBJ(nullptr)));
    RECT r{};
    EXPECT_EQ(WAPI_DrawText(dc, "abc", -1, &r, DT_CALCRECT), 0);
    WAPI_DeleteGfxContext(dc);
}

// Seeded random calls on live, released and missing contexts and fonts, with random
// texts, counts, rectangles and formats: nothing may crash or write outside the pixels.
TEST(TextContexts, RandomCallsOnLiveReleasedAndMissingObjects) {
    std::mt19937 rng(99);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const char* texts[] = {"Mg\nq", "\xC3\xA9\xE2\x82", "", "caf\xE9\r\n\x80", nullptr};
    const unsigned formats[] = {0, DT_CALCRECT, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM, DT_NOCLIP, DT_SINGLELINE};
    for (int round = 0; round < 300; ++round) {
        HDC released = WAPI_CreateMemContext(nullptr, 4, 4);
        WAPI_DeleteGfxContext(released);
        HGDIOBJ deleted = MakeFont(12);
        DeleteObject(deleted);
        const int absurd[] = {1 << 20, -(1 << 20), INT32_MIN};  // no font: every call on it fails
        TextContext t(pick(1, 24), pick(1, 24), MakeFont(pick(0, 9) ? pick(-30, 30) : absurd[pick(0, 2)]));
        HDC dc = pick(0, 3) ? t.dc : (pick(0, 1) ? released : nullptr);
        SelectObject(dc, pick(0, 4) ? t.font : deleted);
        SetBkMode(dc, pick(0, 1));
        SetTextColor(dc, COLORREF(rng()));
        TEXTMETRIC tm;
        GetTextMetrics(dc, &tm);
        RECT r{pick(-30, 30), pick(-30, 30), pick(-30, 30), pick(-30, 30)};
        WAPI_DrawText(dc, texts[pick(0, 4)], pick(-1, 8), pick(0, 5) ? &r : nullptr, formats[pick(0, 5)]);
        SelectObject(t.dc, t.font);  // the context must not keep the deleted font
    }
}
