// Faults that fuzzing found in the raster library, each pinned by the behaviour that
// mends it. Under the sanitizer build the same calls also prove the overflow is gone.
#include <cfloat>
#include <climits>

#include "raster_test_util.h"

namespace {

TEST(FuzzRegression, FloatClipperRefusesAreasBeyondTheIntRange) {
    // Width and height, or (when rect) the rectangle 0..width by ylo..yhi.
    const struct { bool rect; int width, height; float ylo, yhi; bool visible; } cases[] = {
        {false, 2, INT_MIN, 0, 0, false},     {false, INT_MIN, 2, 0, 0, false}, {false, INT_MAX, INT_MAX, 0, 0, true},
        {true, 2, 0, 2e9f, -2e9f, false},     {true, 2, 0, -2e9f, 2e9f, true}};
    for (const auto& c : cases) {
        float x1 = 0.25f, y1 = 0.25f, x2 = 0.5f, y2 = 0.5f;
        EXPECT_EQ(c.rect ? PIX_ClipFLineToRect(&x1, &y1, &x2, &y2, 0, c.ylo, float(c.width), c.yhi)
                         : PIX_ClipFLine(&x1, &y1, &x2, &y2, c.width, c.height),
                  c.visible) << c.width << " x " << c.height << " / " << c.ylo;
    }
}

// Far-away ends cover all eight pixels of the line's column (or row), nothing else.
TEST(FuzzRegression, PlainFloatLineWithFarEndsDrawsWhatShows) {
    const float cases[][4] = {{0, -FLT_MAX, 0, 1e10f}, {0, 1e10f, 0, -FLT_MAX}, {3, -1e9f, 3, 1e9f},
                              {5, FLT_MAX, 5, -FLT_MAX}, {-FLT_MAX, 2, 1e10f, 2}, {FLT_MAX, 7, -1e10f, 7}};
    for (const auto& c : cases) {
        CanaryBitmap bm(8, 8);
        PIX_FLine(&bm, c[0], c[1], c[2], c[3], 0xffffffffu, 1.0f, PIX_MODE_COPY, false);
        const bool vertical = c[0] == c[2];
        int inked = 0, stray = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (bm.at(x, y)) ++((vertical ? x == int(c[0]) : y == int(c[1])) ? inked : stray);
        EXPECT_EQ(inked, 8) << c[0] << ", " << c[1];
        EXPECT_EQ(stray + bm.damagedCanaries(), 0) << c[0] << ", " << c[1];
    }
}

// A control point at -FLT_MAX puts both clipped ends on one parameter step, reversed.
TEST(FuzzRegression, CubicWithAnExtremeControlPointCapsItsPieces) {
    CanaryBitmap bm(8, 8);
    const float x[4] = {-1, -FLT_MAX, 0, 10}, y[4] = {0, 0, 0, 0};
    PIX_CubicCurve c;
    const int n = PIX_CBezierPrep(&bm, true, x, y, 0.0f, &c);
    EXPECT_TRUE(n >= 0 && n <= 16 * (8 + 8) + 16) << n;
}

// Height INT_MAX at scale 1 takes the unscaled blit; its bottom edge must saturate.
TEST(FuzzRegression, ScaledBlitWithHeightIntMaxShowsTheRowsBelowItsTop) {
    CanaryBitmap src(2, 4), dst(2, 4);
    for (int y = 0; y < 4; ++y) src.at(0, y) = src.at(1, y) = PIX_MakePixel(255, 10 * (y + 1), 0, 0);
    PIX_ScaledBlit(&dst, &src, 0, 0, 2, INT_MAX, 0.0f, 1.0f, 2.0f, float(INT_MAX), 1.0f, PIX_MODE_COPY);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(dst.at(1, y), y < 3 ? src.at(1, y + 1) : 0u) << y;
}

HGDIOBJ Font(int height) { return CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"); }

TEST(FuzzRegression, GlyphLookupOfExtremeCodesAfterAWideGlyphIsCached) {
    PIX_CachedFont f;
    f.SetFromHFont(Font(16), PIX_FONT_OWNS_HFONT);
    RECT r{};
    f.DrawText(nullptr, "\xc3\xa9\xe2\x82\xac", -1, &r, DT_CALCRECT);  // caches U+00E9 and U+20AC
    ASSERT_NE(f.FindGlyph(0x20AC), nullptr);
    CanaryBitmap bm(16, 16);
    for (int code : {INT_MIN, INT_MAX, -1, 0x20AC + 65536}) {
        EXPECT_EQ(f.FindGlyph(code), nullptr) << code;
        EXPECT_EQ(f.DrawGlyph(&bm, code, 0, 0, nullptr), 0) << code;
    }
}

// Line heights from 256 up draw natively, through the bitmap's own context; that
// context may be wider (rows padded to 4) or taller (after a shrink) than the bitmap.
TEST(FuzzRegression, NativeTextStaysInsideItsBitmap) {
    const int cases[][4] = {{5, 300, 5, 300}, {8, 300, 8, 10}, {8, 300, 3, 40}};  // made, then shrunk to
    constexpr uint32_t kFence = 0x12345678;
    for (const auto& c : cases) {
        PIX_SysBitmap bm(c[0], c[1]);
        bm.resize(c[2], c[3]);
        auto* p = static_cast<uint32_t*>(bm.getBits());
        ASSERT_NE(p, nullptr);
        const int span = bm.getRowSpan();
        for (int i = 0; i < span * c[1]; ++i) p[i] = i % span < c[2] && i / span < c[3] ? 0 : kFence;
        PIX_CachedFont f;
        f.SetFromHFont(Font(300), PIX_FONT_OWNS_HFONT);
        f.SetTextColor(0xffffffffu);
        RECT r{-30, -100, 300, 300};  // the W's left stroke crosses the first columns and rows
        f.DrawText(&bm, "W", -1, &r, 0);
        int inked = 0, stray = 0;
        for (int i = 0; i < span * c[1]; ++i)
            (i % span < c[2] && i / span < c[3]) ? inked += p[i] != 0 : stray += p[i] != kFence;
        EXPECT_EQ(stray, 0) << c[2] << " x " << c[3];
        EXPECT_GT(inked, 0) << c[2] << " x " << c[3];
    }
}

}  // namespace
