#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "winapi/font.h"

namespace {

constexpr uint32_t kCanary = 0x5aa5c33c;

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
    void fill(uint32_t v) const {
        for (int i = 0; i < dc->width * dc->height; ++i) px()[i] = v;
    }
    RECT measure(const char* text, int count = -1, unsigned flags = 0) const {
        RECT r{};
        WAPI_DrawText(dc, text, count, &r, flags | DT_CALCRECT);
        return r;
    }
    int width(const char* text) const { return measure(text).right; }
    HDC dc;
    HGDIOBJ font;
};

HGDIOBJ makeFont(int height, const char* face = "DejaVu Sans", int weight = 400, bool italic = false,
                 unsigned quality = 0, unsigned pitch = 0) {
    return CreateFont(height, 0, 0, 0, weight, italic, 0, 0, 0, 0, 0, quality, pitch, face);
}

}  // namespace

TEST(TextFonts, PositiveHeightIsTheCellNegativeTheCharacter) {
    for (int h : {2, 7, 10, 13, 16, 24, 37, 100}) {
        for (const char* face : {"DejaVu Sans", "Monaco", "Tahoma", "DejaVu Serif"}) {
            TextContext t(8, 8, makeFont(h, face));
            TEXTMETRIC tm;
            ASSERT_TRUE(GetTextMetrics(t.dc, &tm)) << face;
            EXPECT_EQ(tm.tmHeight, h) << face;
            EXPECT_EQ(tm.tmAscent + tm.tmDescent, h) << face;

            TextContext n(8, 8, makeFont(-h, face));
            ASSERT_TRUE(GetTextMetrics(n.dc, &tm));
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, h) << face << " char height " << h;
            EXPECT_GE(tm.tmHeight, h);
        }
    }
}

TEST(TextFonts, AbsentFacesResolveToCloseOnes) {
    struct Case {
        const char* face;
        unsigned pitch;
        bool fixedPitch;
    };
    const Case cases[] = {
        {"Monaco", 0, true},           // the editor's face: fixed pitch on the machine it came from
        {"monospace", 0, true},
        {"No Such Face", WAPI_FIXED_PITCH, true},
        {"Tahoma", 0, false},
        {"sans-serif", 0, false},
        {"", 0, false},
    };
    for (const Case& c : cases) {
        TextContext t(8, 8, makeFont(16, c.face, 400, false, 0, c.pitch));
        ASSERT_NE(t.font, nullptr) << c.face;
        EXPECT_STRNE(WAPI_GetFontFile(t.font), "") << c.face;
        EXPECT_EQ(t.width("iiii") == t.width("WWWW"), c.fixedPitch) << c.face << " -> " << WAPI_GetFontFile(t.font);
    }
}

TEST(TextFonts, WeightAndItalicChangeTheInk) {
    auto ink = [](HGDIOBJ font) {
        TextContext t(64, 32, font);
        t.fill(0);
        SetTextColor(t.dc, 0xffffff);
        RECT r{2, 2, 64, 32};
        WAPI_DrawText(t.dc, "Il", -1, &r, 0);
        long sum = 0;
        for (int i = 0; i < 64 * 32; ++i) sum += t.px()[i] >> 8 & 255;
        return sum;
    };
    const long regular = ink(makeFont(24, "Monaco"));
    EXPECT_GT(ink(makeFont(24, "Monaco", 700)), regular * 5 / 4);
    // Same strokes, leaning: the amount of ink stays, its place does not.
    TextContext upright(64, 32, makeFont(24, "DejaVu Sans"));
    TextContext slanted(64, 32, makeFont(24, "DejaVu Sans", 400, true));
    for (TextContext* t : {&upright, &slanted}) {
        t->fill(0);
        SetTextColor(t->dc, 0xffffff);
        RECT r{2, 2, 64, 32};
        WAPI_DrawText(t->dc, "I", -1, &r, 0);
    }
    EXPECT_NE(std::memcmp(upright.px(), slanted.px(), 64 * 32 * 4), 0);
}

TEST(TextMeasure, Cases) {
    TextContext t(8, 8, makeFont(16));
    const int a = t.width("a"), b = t.width("b"), space = t.width(" "), repl = t.width("\xEF\xBF\xBD");
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    struct Case {
        const char* name;
        const char* text;
        int count;
        unsigned flags;
        int width, height;
    };
    const Case cases[] = {
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
        {"count cuts a two-byte character", "a\xC3\xA9", 2, 0, a + repl, 16},
        {"stray byte does not stop the walk", "a\xFF" "b", -1, 0, a + repl + b, 16},
        {"overlong form is replaced", "\xC0\xAF" "a", -1, 0, repl + repl + a, 16},
    };
    for (const Case& c : cases) {
        RECT r{10, 20, 0, 0};
        const int h = WAPI_DrawText(t.dc, c.text, c.count, &r, c.flags | DT_CALCRECT);
        EXPECT_EQ(r.right - r.left, c.width) << c.name;
        EXPECT_EQ(r.bottom - r.top, c.height) << c.name;
        EXPECT_EQ(h, c.height) << c.name;
        EXPECT_EQ(r.left, 10);
        EXPECT_EQ(r.top, 20);
    }
}

TEST(TextDraw, NothingOutsideTheRectangle) {
    const unsigned flagSets[] = {0, DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM, DT_CENTER | DT_VCENTER,
                                 DT_RIGHT | DT_BOTTOM | DT_SINGLELINE};
    const RECT rects[] = {{10, 8, 40, 20}, {-6, -5, 12, 9}, {50, 30, 80, 50}, {20, 10, 21, 11}, {30, 10, 30, 40}};
    TextContext t(64, 40, makeFont(20));
    SetTextColor(t.dc, 0x00ff00);
    SetBkColor(t.dc, 0x0000ff);
    for (int bk : {0, WAPI_BK_FILL}) {
        SetBkMode(t.dc, bk);
        for (unsigned f : flagSets) {
            for (const RECT& rc : rects) {
                t.fill(kCanary);
                RECT r = rc;
                WAPI_DrawText(t.dc, "Wg\xC3\xA9j\nQy", -1, &r, f);
                for (int y = 0; y < 40; ++y) {
                    for (int x = 0; x < 64; ++x) {
                        const bool inside = x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
                        if (!inside) {
                            ASSERT_EQ(t.at(x, y), kCanary) << x << "," << y << " flags " << f;
                        }
                        // Native drawing leaves the alpha byte alone.
                        ASSERT_EQ(t.at(x, y) & 255, kCanary & 255);
                    }
                }
            }
        }
    }
}

TEST(TextDraw, AlignmentPlacesTheInk) {
    TextContext t(100, 60, makeFont(16));
    SetTextColor(t.dc, 0xffffff);
    const int w = t.width("HH");
    struct Case {
        unsigned flags;
        int left, top;  // expected top-left of the text box inside rect {10, 5, 90, 55}
    };
    const Case cases[] = {
        {0, 10, 5},
        {DT_RIGHT, 90 - w, 5},
        {DT_CENTER, 10 + (80 - w) / 2, 5},
        {DT_BOTTOM, 10, 55 - 16},
        {DT_VCENTER, 10, 5 + (50 - 16) / 2},
    };
    // The same text drawn at the expected spot with no alignment is the reference.
    for (const Case& c : cases) {
        t.fill(0);
        RECT r{10, 5, 90, 55};
        WAPI_DrawText(t.dc, "HH", -1, &r, c.flags);
        std::vector<uint32_t> aligned(t.px(), t.px() + 100 * 60);
        t.fill(0);
        RECT ref{c.left, c.top, 90, 55};
        WAPI_DrawText(t.dc, "HH", -1, &ref, 0);
        EXPECT_EQ(std::memcmp(aligned.data(), t.px(), aligned.size() * 4), 0) << "flags " << c.flags;
    }
}

TEST(TextDraw, ColourWordIsRedGreenBlueFromHighToLow) {
    struct Case {
        COLORREF word;
        int r, g, b;
    };
    const Case cases[] = {{0xff0000, 255, 0, 0}, {0x00ff00, 0, 255, 0}, {0x0000ff, 0, 0, 255}, {0x804020, 128, 64, 32}};
    TextContext t(40, 24, makeFont(20, "DejaVu Sans", 700));
    for (const Case& c : cases) {
        t.fill(0);
        SetTextColor(t.dc, c.word);
        RECT r{0, 0, 40, 24};
        WAPI_DrawText(t.dc, "H", -1, &r, 0);
        int full = 0;
        for (int i = 0; i < 40 * 24; ++i) {
            const auto* p = reinterpret_cast<const uint8_t*>(t.px() + i);
            // Partly covered pixels scale all three channels alike; fully covered ones are the colour.
            if (p[1] == c.r && p[2] == c.g && p[3] == c.b && (c.r | c.g | c.b) != 0) ++full;
            if (c.r == 0) {
                ASSERT_EQ(p[1], 0);
            }
            if (c.g == 0) {
                ASSERT_EQ(p[2], 0);
            }
            if (c.b == 0) {
                ASSERT_EQ(p[3], 0);
            }
        }
        EXPECT_GT(full, 10);
    }
}

TEST(TextDraw, BackgroundFillCoversTheLineBox) {
    TextContext t(64, 32, makeFont(16));
    t.fill(0);
    SetTextColor(t.dc, 0xffffff);
    SetBkColor(t.dc, 0x102030);
    SetBkMode(t.dc, WAPI_BK_FILL);
    const int w = t.width("ab");
    RECT r{4, 4, 64, 32};
    WAPI_DrawText(t.dc, "ab", -1, &r, 0);
    // The box's corners carry no ink for these letters: they show the background.
    for (auto [x, y] : {std::pair{4, 4}, {4 + w - 1, 4}, {4, 19}}) {
        EXPECT_EQ(t.at(x, y), 0x30201000u) << x << "," << y;
    }
    EXPECT_EQ(t.at(4 + w, 4), 0u);
    EXPECT_EQ(t.at(4, 20), 0u);
}

TEST(TextDraw, QualityThreeIsMono) {
    TextContext t(64, 32, makeFont(20, "DejaVu Sans", 400, false, WAPI_QUALITY_MONO));
    t.fill(0);
    SetTextColor(t.dc, 0xffffff);
    RECT r{0, 0, 64, 32};
    WAPI_DrawText(t.dc, "Qa", -1, &r, 0);
    int on = 0;
    for (int i = 0; i < 64 * 32; ++i) {
        const uint32_t p = t.px()[i];
        ASSERT_TRUE(p == 0 || p == 0xffffff00u) << std::hex << p;
        on += p != 0;
    }
    EXPECT_GT(on, 20);
}

TEST(TextContexts, NullAndReleasedContextsAreIgnored) {
    HGDIOBJ font = makeFont(12);
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(WAPI_DrawText(nullptr, "abc", -1, &r, 0), 0);
    EXPECT_EQ(WAPI_DrawText(nullptr, "abc", -1, &r, DT_CALCRECT), 0);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(SelectObject(nullptr, font), nullptr);

    HDC dc = WAPI_CreateMemContext(nullptr, 4, 4);
    WAPI_DeleteGfxContext(dc);
    EXPECT_EQ(SelectObject(dc, font), nullptr);
    EXPECT_EQ(SetTextColor(dc, 1), 0xFFFFFFFFu);
    EXPECT_EQ(SetBkColor(dc, 1), 0xFFFFFFFFu);
    EXPECT_EQ(SetBkMode(dc, 1), 0);
    TEXTMETRIC tm;
    EXPECT_FALSE(GetTextMetrics(dc, &tm));
    EXPECT_EQ(WAPI_DrawText(dc, "abc", -1, &r, 0), 0);
    EXPECT_TRUE(DeleteObject(font));
}

TEST(TextContexts, SelectReturnsPreviousAndDeleteLeavesNoDanglingFont) {
    HGDIOBJ a = makeFont(12), b = makeFont(20);
    HDC dc = WAPI_CreateMemContext(nullptr, 8, 8);
    EXPECT_EQ(SelectObject(dc, a), nullptr);
    EXPECT_EQ(SelectObject(dc, b), a);
    EXPECT_EQ(SelectObject(dc, a), b);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);  // nothing to select: unchanged
    EXPECT_EQ(dc->font, a);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_EQ(dc->font, nullptr);
    EXPECT_EQ(SelectObject(dc, a), nullptr);  // a deleted font is no longer an object
    RECT r{};
    EXPECT_EQ(WAPI_DrawText(dc, "abc", -1, &r, DT_CALCRECT), 0);
    EXPECT_FALSE(DeleteObject(a));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(SelectObject(dc, b), nullptr);
    WAPI_DeleteGfxContext(dc);
    EXPECT_TRUE(DeleteObject(b));  // the context was released first: nothing to clear
}

TEST(TextFonts, AbsurdSizesFail) {
    EXPECT_EQ(makeFont(1 << 20), nullptr);
    EXPECT_EQ(makeFont(-(1 << 20)), nullptr);
    EXPECT_EQ(makeFont(INT32_MIN), nullptr);
    EXPECT_EQ(CreateFont(12, INT32_MIN, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"), nullptr);
    HGDIOBJ deflt = makeFont(0);
    ASSERT_NE(deflt, nullptr);
    DeleteObject(deflt);
}
