// Faults that fuzzing found in the raster library, each pinned by the behaviour that
// mends it. Under the sanitizer build the same calls also prove the overflow is gone.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "raster/bezier.h"
#include "raster/cached_font.h"
#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/fill.h"
#include "raster/line.h"
#include "raster/scaled_blit.h"

namespace {

TEST(FuzzRegression, FloatClipperRefusesAreasBeyondTheIntRange) {
    struct Case {
        float xlo, ylo, xhi, yhi;  // through PIX_ClipFLineToRect unless xlo is NaN
        int width, height;
        bool visible;
    };
    const float kNoRect = __builtin_nanf("");
    const Case cases[] = {
        {kNoRect, 0, 0, 0, 2, INT_MIN, false},
        {kNoRect, 0, 0, 0, INT_MIN, 2, false},
        {kNoRect, 0, 0, 0, INT_MAX, INT_MAX, true},
        {0, 2e9f, 2, -2e9f, 0, 0, false},  // height below INT_MIN
        {-2e9f, -2e9f, 2e9f, 2e9f, 0, 0, true},  // saturates to INT_MAX
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " / " + std::to_string(c.yhi));
        float x1 = 0.25f, y1 = 0.25f, x2 = 0.5f, y2 = 0.5f;
        const bool visible = c.xlo != c.xlo ? PIX_ClipFLine(&x1, &y1, &x2, &y2, c.width, c.height)
                                            : PIX_ClipFLineToRect(&x1, &y1, &x2, &y2, c.xlo, c.ylo, c.xhi, c.yhi);
        EXPECT_EQ(visible, c.visible);
        if (visible && c.xlo != c.xlo) {
            EXPECT_EQ(x1 + y1 + x2 + y2, 1.5f);  // nothing to cut
        }
    }
}

// A plain float line with far-away ends covers the same pixels as one with ends just
// outside the bitmap: all eight of its column (or row) on an 8 x 8 bitmap.
TEST(FuzzRegression, PlainFloatLineWithFarEndsDrawsWhatShows) {
    struct Case {
        float x1, y1, x2, y2;
        bool vertical;
    };
    const Case cases[] = {
        {0, -FLT_MAX, 0, 1e10f, true}, {0, 1e10f, 0, -FLT_MAX, true}, {3, -1e9f, 3, 1e9f, true},
        {5, FLT_MAX, 5, -FLT_MAX, true}, {-FLT_MAX, 2, 1e10f, 2, false}, {FLT_MAX, 7, -1e10f, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x1) + ", " + std::to_string(c.y1));
        CanaryBitmap bm(8, 8);
        PIX_FLine(&bm, c.x1, c.y1, c.x2, c.y2, 0xffffffffu, 1.0f, PIX_MODE_COPY, false);
        const int line = int(c.vertical ? c.x1 : c.y1);
        int inked = 0, stray = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (bm.at(x, y)) ++((c.vertical ? x : y) == line ? inked : stray);
        EXPECT_EQ(inked, 8);
        EXPECT_EQ(stray, 0);
        EXPECT_EQ(bm.damagedCanaries(), 0);
    }
}

// A control point at -FLT_MAX makes both clipped ends land on the same tiny parameter
// step, reversed: the piece count must still be a sane positive number.
TEST(FuzzRegression, CubicWithAnExtremeControlPointCapsItsPieces) {
    CanaryBitmap bm(8, 8);
    const float x[4] = {-1, -FLT_MAX, 0, 10}, y[4] = {0, 0, 0, 0};
    PIX_CubicCurve c;
    const int n = PIX_CBezierPrep(&bm, true, x, y, 0.0f, &c);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, 16 * (8 + 8) + 16);
    PIX_DrawCBezier(&bm, x[0], y[0], x[1], y[1], x[2], y[2], x[3], y[3], 0xffffffffu, 1.0f, PIX_MODE_COPY, true, 0.0f);
    EXPECT_EQ(bm.damagedCanaries(), 0);
}

// The overlay formula in 64 bits, as the combiner's comment states it.
int OverlayReference(int d, int s, int w) {
    const int64_t t = int64_t(s) * w + int64_t(256 - w) * 128;
    const int64_t x = (((32768 - t) * d) / 256 + t) * d;
    const int64_t v = x >> 15;
    if (v < 0 || v > 255) return x < 0 ? 0 : 255;
    return int(v);
}

TEST(FuzzRegression, OverlayHoldsItsNoOverflowPromiseForEverySaturatedWeight) {
    for (int w : {kPixMaxWeight, -kPixMaxWeight, kPixMaxWeight - 1, 4096, 256, 0, -256})
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d)
                ASSERT_EQ(pix::channel::Overlay(d, s, w), OverlayReference(d, s, w)) << w << " " << s << " " << d;
    // Alpha 64 is the largest weight the fill lets through.
    for (float alpha : {64.0f, 1000.0f, -64.0f}) {
        CanaryBitmap bm(2, 1);
        bm.at(0, 0) = bm.at(1, 0) = PIX_MakePixel(200, 30, 128, 255);
        PIX_FillRect(&bm, 0, 0, 2, 1, PIX_MakePixel(255, 0, 90, 200), alpha, PIX_MODE_OVERLAY);
        const int w = PIX_AlphaWeight(alpha);
        EXPECT_EQ(bm.at(1, 0), PIX_MakePixel(OverlayReference(200, 255, w), OverlayReference(30, 0, w),
                                             OverlayReference(128, 90, w), OverlayReference(255, 200, w)));
    }
}

// Height INT_MAX at scale 1 takes the unscaled blit; its bottom edge must saturate.
TEST(FuzzRegression, ScaledBlitWithHeightIntMaxShowsTheRowsBelowItsTop) {
    CanaryBitmap src(2, 4), dst(2, 4);
    for (int y = 0; y < 4; ++y) src.at(0, y) = src.at(1, y) = PIX_MakePixel(255, 10 * (y + 1), 0, 0);
    PIX_ScaledBlit(&dst, &src, 0, 0, 2, INT_MAX, 0.0f, 1.0f, 2.0f, float(INT_MAX), 1.0f, PIX_MODE_COPY);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(dst.at(1, y), src.at(1, y + 1)) << y;
    EXPECT_EQ(dst.at(0, 3), 0u);
    EXPECT_EQ(dst.at(1, 3), 0u);
}

HGDIOBJ Font(int height) { return CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"); }

TEST(FuzzRegression, GlyphLookupOfExtremeCodesAfterAWideGlyphIsCached) {
    PIX_CachedFont f;
    f.SetFromHFont(Font(16), PIX_FONT_OWNS_HFONT);
    RECT r{};
    f.DrawText(nullptr, "\xc3\xa9\xe2\x82\xac", -1, &r, DT_CALCRECT);  // caches U+00E9 and U+20AC
    ASSERT_NE(f.FindGlyph(0xE9), nullptr);
    ASSERT_NE(f.FindGlyph(0x20AC), nullptr);
    CanaryBitmap bm(16, 16);
    for (int code : {INT_MIN, INT_MIN + 1, INT_MAX, -1, 0x20AC + 65536}) {
        EXPECT_EQ(f.FindGlyph(code), nullptr) << code;
        EXPECT_EQ(f.DrawGlyph(&bm, code, 0, 0, nullptr), 0) << code;
    }
    EXPECT_EQ(bm.damagedCanaries(), 0);
}

// Pixels of a system bitmap's block that lie outside the bitmap, and how many changed.
int StrayPixels(const PIX_SysBitmap& bm, int blockHeight, uint32_t fence) {
    int stray = 0;
    const auto* p = static_cast<const uint32_t*>(bm.getBits());
    for (int y = 0; y < blockHeight; ++y)
        for (int x = 0; x < bm.getRowSpan(); ++x)
            if ((x >= bm.getWidth() || y >= bm.getHeight()) && p[y * bm.getRowSpan() + x] != fence) ++stray;
    return stray;
}

// Line heights from 256 up take the native path, which draws through the bitmap's own
// context; that context may be wider (rows padded to 4) or taller (after a shrink).
TEST(FuzzRegression, NativeTextStaysInsideItsBitmap) {
    struct Case {
        int width, height, shrunkWidth, shrunkHeight;
    };
    const Case cases[] = {{5, 300, 5, 300}, {8, 300, 8, 10}, {8, 300, 3, 40}};
    constexpr uint32_t kFence = 0x12345678;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.shrunkWidth) + " x " + std::to_string(c.shrunkHeight));
        PIX_SysBitmap bm(c.width, c.height);
        bm.resize(c.shrunkWidth, c.shrunkHeight);
        ASSERT_NE(bm.getBits(), nullptr);
        auto* p = static_cast<uint32_t*>(bm.getBits());
        for (int i = 0; i < bm.getRowSpan() * c.height; ++i) p[i] = kFence;
        for (int y = 0; y < bm.getHeight(); ++y)
            for (int x = 0; x < bm.getWidth(); ++x) p[y * bm.getRowSpan() + x] = 0;
        PIX_CachedFont f;
        f.SetFromHFont(Font(300), PIX_FONT_OWNS_HFONT);
        f.SetTextColor(0xffffffffu);
        RECT r{-30, -100, 300, 300};  // the W's left stroke crosses the first columns and rows
        f.DrawText(&bm, "W", -1, &r, 0);
        EXPECT_EQ(StrayPixels(bm, c.height, kFence), 0);
        int inked = 0;
        for (int y = 0; y < bm.getHeight(); ++y)
            for (int x = 0; x < bm.getWidth(); ++x) inked += p[y * bm.getRowSpan() + x] != 0;
        EXPECT_GT(inked, 0);
    }
}

}  // namespace
