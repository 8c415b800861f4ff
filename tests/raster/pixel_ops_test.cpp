// Bitmaps and the pixel operations on them: blits (plain, scaled, rotated, meshed),
// fills, blur, gradients and resampling, each against a reference from the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "raster/alpha_runs.h"
#include "raster/bitmap.h"
#include "raster/bitmap_ops.h"
#include "raster/blit.h"
#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/fill.h"
#include "raster/scaled_blit.h"
#include "raster/strip_kernels.h"
#include "raster/strip_resample.h"
#include "raster/transform_blit.h"
#include "raster_test_util.h"

namespace {

TEST(MemBitmap, OversizeAndNegativeRequestsGiveEmptyBitmap) {
    const int sizes[][2] = {{65536, 65536}, {INT32_MAX, 2}, {INT32_MAX, INT32_MAX}, {-5, 10}, {10, -5}, {0, 10}};
    for (const auto& s : sizes) {
        PIX_MemBitmap bm(4, 4, 4);
        EXPECT_TRUE(bm.resize(s[0], s[1]));
        EXPECT_EQ(bm.getWidth() | bm.getHeight(), 0) << s[0] << "x" << s[1];
        EXPECT_EQ(bm.getBits(), nullptr);
    }
}

TEST(SysBitmap, KeepsContextWhenShrinkingAndRefusesOversize) {
    PIX_SysBitmap bm(10, 5);
    EXPECT_EQ(bm.getRowSpan(), 12);
    HDC dc = bm.getDC();
    void* bits = bm.getBits();
    EXPECT_TRUE(bm.resize(8, 5));
    EXPECT_EQ(bm.getDC(), dc);
    EXPECT_EQ(bm.getBits(), bits);
    EXPECT_TRUE(bm.resize(13, 5));
    EXPECT_EQ(bm.getRowSpan(), 16);
    EXPECT_FALSE(bm.resize(0, 5));
    EXPECT_EQ(bm.getDC(), nullptr);

    // No pixels, and no negative size left behind.
    const struct { int w, h, wantW, wantH; } bad[] = {{40000, 40000, 0, 0}, {-4, 3, 0, 3}};
    for (const auto& c : bad) {
        PIX_SysBitmap none(c.w, c.h);
        EXPECT_EQ(std::pair(none.getWidth(), none.getHeight()), std::pair(c.wantW, c.wantH)) << c.w << "x" << c.h;
        EXPECT_EQ(none.getBits(), nullptr);
    }
}


int Near(std::mt19937& rng, int size) {
    if (rng() % 16 == 0) return rng() % 2 ? INT32_MAX - int(rng() % 64) : INT32_MIN + int(rng() % 64);
    return int(rng() % (size + 12)) - 8;
}

// What a blit does to one destination pixel, from the rules alone.
uint32_t ReferencePixel(uint32_t d, uint32_t s, float alpha, uint32_t mode) {
    if ((mode & 0xf0) == 0xf0) {
        const int from = mode & 3, to = mode >> 2 & 3;
        return (d & ~(255u << (8 * to))) | (s >> (8 * from) & 255) << (8 * to);
    }
    if ((mode & 0x100ff) == 0 && (alpha == 1.0f || alpha == 0.5f) && FastCopy(d, s, Weight(alpha))) return d;
    return Blend(d, s, Weight(alpha), mode);
}

// A blit by brute force: every source pixel of the rectangle lands at its own offset
// from (dx, dy), or nowhere. `before` is the destination before the call and `srcPix`
// the source before the call (they differ in the self-blit tests).
std::vector<uint32_t> ReferenceBlit(const CanaryBitmap& dst, const std::vector<uint32_t>& before,
                                    const std::vector<uint32_t>& srcPix, int sw, int sh, int dx, int dy,
                                    const PIX_Rect* rect, float alpha, uint32_t mode) {
    std::vector<uint32_t> out = before;
    if (alpha == 0.0f) return out;
    const int64_t l = rect ? rect->left : 0, t = rect ? rect->top : 0;
    const int64_t r = rect ? rect->right : sw, b = rect ? rect->bottom : sh;
    for (int64_t sy = std::max<int64_t>(t, 0); sy < std::min<int64_t>(b, sh); ++sy)
        for (int64_t sx = std::max<int64_t>(l, 0); sx < std::min<int64_t>(r, sw); ++sx) {
            const int64_t tx = dx + (sx - l), ty = dy + (sy - t);
            if (tx < 0 || ty < 0 || tx >= dst.getWidth() || ty >= dst.getHeight()) continue;
            uint32_t& px = out[size_t(ty * dst.getWidth() + tx)];
            px = ReferencePixel(px, srcPix[size_t(sy * sw + sx)], alpha, mode);
        }
    return out;
}

const std::vector<uint32_t> kBlitModes = ModeWords(true, {0x100, 0x10101, 6, 0x10006, 0xf1, 0xfc, 0xf6, 0x100f9});
// 0.501 just above the half path, 0.999 just below the full one.
const float kAlphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.501f, 0.003f, 0.0f, 0.2f, 1.5f, -0.5f, 0.999f};

TEST(Blit, RandomClippedBlitsMatchReferenceAndKeepCanaries) {
    std::mt19937 rng(2024);
    int changed = 0;
    for (int iter = 0; iter < 1500; ++iter) {
        CanaryBitmap dst(1 + rng() % 40, 1 + rng() % 30, rng() % 2);
        CanaryBitmap src(1 + rng() % 40, 1 + rng() % 30, rng() % 2);
        dst.randomize(rng);
        src.randomize(rng);
        // Mostly near the bitmaps, now and then absurdly far past an edge.
        const auto pick = [&](int span) {
            if (rng() % 16 == 0) return rng() % 2 ? INT32_MAX - int(rng() % 100) : INT32_MIN + int(rng() % 100);
            return int(rng() % (span + 6)) - 6;
        };
        const int dx = pick(dst.getWidth()), dy = pick(dst.getHeight());
        PIX_Rect rect{pick(src.getWidth()), pick(src.getHeight()), 0, 0};
        rect.right = int(std::min<int64_t>(INT32_MAX, int64_t(rect.left) + rng() % 50));
        rect.bottom = int(std::min<int64_t>(INT32_MAX, int64_t(rect.top) + rng() % 40));
        const PIX_Rect* r = rng() % 5 == 0 ? nullptr : &rect;
        const float alpha = kAlphas[rng() % std::size(kAlphas)];
        const uint32_t mode = kBlitModes[rng() % std::size(kBlitModes)];

        const auto want =
            ReferenceBlit(dst, dst.pixels(), src.pixels(), src.getWidth(), src.getHeight(), dx, dy, r, alpha, mode);
        changed += want != dst.pixels();
        PIX_BlitRect(&dst, &src, dx, dy, r, alpha, mode);
        ASSERT_EQ(dst.pixels(), want) << "iter " << iter << " mode " << mode << " alpha " << alpha;
        ASSERT_EQ(dst.damagedCanaries() + src.damagedCanaries(), 0) << "iter " << iter;
    }
    EXPECT_GT(changed, 500);  // the sweep must not be mostly clipped away
}

// Within one bitmap the areas may overlap in any direction: every source pixel is read
// before it is overwritten, as if from a copy taken before the call.
TEST(Blit, OverlappingSelfBlitReadsSourceFirst) {
    std::mt19937 rng(11);
    const int shifts[][2] = {{3, 2}, {-5, 1}, {0, -1}, {7, 0}, {-1, 0}, {0, 1}, {300, 0}, {-300, 1}, {0, 0}};
    for (bool flipped : {false, true})
        for (const auto& sh : shifts)
            for (uint32_t mode : {0u, 1u, 0x10000u, 0xf6u})
                for (float alpha : {1.0f, 0.5f, 0.3f}) {
                    CanaryBitmap bm(700, 12, flipped);
                    bm.randomize(rng);
                    const auto before = bm.pixels();
                    const PIX_Rect rect{2, 1, 650, 10};
                    const int dx = rect.left + sh[0], dy = rect.top + sh[1];
                    const auto want = ReferenceBlit(bm, before, before, 700, 12, dx, dy, &rect, alpha, mode);
                    PIX_BlitRect(&bm, &bm, dx, dy, &rect, alpha, mode);
                    ASSERT_EQ(bm.pixels(), want) << sh[0] << "," << sh[1] << " mode " << mode << " a " << alpha;
                    ASSERT_EQ(bm.damagedCanaries(), 0);
                }
}

// Rows as the skins' images have them: stretches, long and short, of transparent,
// opaque, any, nearly opaque and nearly transparent alpha, the last two catching a
// run taken for what it is not.
void PaintAlphaStretches(CanaryBitmap& bm, std::mt19937& rng) {
    bm.randomize(rng);
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0, kind = 0, end = 0; x < bm.getWidth(); ++x) {
            if (x == end) kind = int(rng() % 5), end = x + 1 + int(rng() % (rng() % 4 == 0 ? 40 : 9));
            const uint32_t alpha[] = {0, 255, uint32_t(rng() & 255), uint32_t(254 + rng() % 2), uint32_t(rng() % 2)};
            bm.at(x, y) = (bm.at(x, y) & ~255u) | alpha[kind];
        }
}

// The blit that skips transparent and copies opaque stretches is the plain source-alpha
// blit, clipping included; a rectangle reported opaque is, and one of 8 or more opaque
// pixels a row is reported so.
TEST(Blit, AlphaRunsGiveThePlainSourceAlphaBlitAndTellOpaqueRectangles) {
    std::mt19937 rng(77);
    for (int iter = 0; iter < 600; ++iter) {
        CanaryBitmap src(1 + rng() % 90, 1 + rng() % 12, rng() % 2), dst(1 + rng() % 90, 1 + rng() % 12, rng() % 2);
        PaintAlphaStretches(src, rng);
        bool allOpaque = true;
        for (int y = 0; y < src.getHeight(); ++y)
            for (int x = 0; x < src.getWidth(); ++x) {
                if (iter % 10 == 0) src.at(x, y) |= 255;
                allOpaque &= (src.at(x, y) & 255) == 255;
            }
        const PIX_AlphaRuns runs(src);
        EXPECT_EQ(runs.AllOpaque(), allOpaque && src.getWidth() >= 8) << "iter " << iter;
        dst.randomize(rng);
        CanaryBitmap want(dst.getWidth(), dst.getHeight());
        for (int y = 0; y < dst.getHeight(); ++y)
            for (int x = 0; x < dst.getWidth(); ++x) want.at(x, y) = dst.at(x, y);
        const int sx = Near(rng, src.getWidth()), sy = Near(rng, src.getHeight()), dx = Near(rng, dst.getWidth()),
                  dy = Near(rng, dst.getHeight()), sw = int(rng() % 100) - 4, sh = int(rng() % 16) - 2;
        PIX_Blit(&want, &src, dx, dy, sx, sy, sw, sh, 1.0f, PIX_MODE_COPY | PIX_MODE_USE_SOURCE_ALPHA);
        PIX_BlitSourceAlphaRuns(&dst, &src, runs, dx, dy, sx, sy, sw, sh);
        ASSERT_EQ(dst.pixels(), want.pixels()) << "iter " << iter;
        ASSERT_EQ(dst.damagedCanaries(), 0) << "iter " << iter;

        for (int k = 0; k < 8; ++k) {
            const int l = int(rng() % (src.getWidth() + 4)) - 2, t = int(rng() % (src.getHeight() + 2)) - 1;
            const int r = l + int(rng() % 20), b = t + 1 + int(rng() % 3);
            bool opaque = l >= 0 && t >= 0 && r <= src.getWidth() && b <= src.getHeight() && l < r;
            for (int y = t; opaque && y < b; ++y)
                for (int x = l; x < r; ++x) opaque &= (src.at(x, y) & 255) == 255;
            if (opaque != runs.IsOpaque(l, t, r, b)) {
                EXPECT_TRUE(opaque && r - l < 8) << iter << ": " << l << "," << t;
            }
        }
    }
}

TEST(Copy, ResizesAndCopies) {
    std::mt19937 rng(5);
    CanaryBitmap src(13, 7, true);
    src.randomize(rng);
    PIX_MemBitmap dst(2, 2, 4);
    PIX_Copy(&dst, &src);
    ASSERT_EQ(dst.getWidth(), 13);
    ASSERT_EQ(dst.getHeight(), 7);
    EXPECT_EQ(CountMismatches(dst, [&](int x, int y) { return src.at(x, y); }), 0);
}


// The blur of the w x h area at (x0, y0) of `from`, byte by byte, written into the
// CanaryBitmap pixels `to` (row length `toWidth`) at (X, Y): the centre halved, each
// neighbour an eighth, or a quarter where the area's edge leaves only one neighbour on
// that axis.
void ReferenceBlur(const std::vector<uint32_t>& from, int fromWidth, int x0, int y0, int w, int h,
                   std::vector<uint32_t>& to, int toWidth, int X, int Y) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = 0;
            for (int sh = 0; sh < 32; sh += 8) {
                auto b = [&](int xx, int yy) { return int(from[size_t(y0 + yy) * fromWidth + x0 + xx] >> sh & 255); };
                int sum = b(x, y) / 2;
                if (x == 0) sum += b(1, y) / 4;
                else if (x == w - 1) sum += b(w - 2, y) / 4;
                else sum += b(x - 1, y) / 8 + b(x + 1, y) / 8;
                if (y == 0) sum += b(x, 1) / 4;
                else if (y == h - 1) sum += b(x, h - 2) / 4;
                else sum += b(x, y - 1) / 8 + b(x, y + 1) / 8;
                v |= uint32_t(sum) << sh;
            }
            to[size_t(Y + y) * toWidth + X + x] = v;
        }
}

TEST(Blur, RandomAreasOutOfPlaceMatchReference) {
    std::mt19937 rng(99);
    for (int iter = 0; iter < 300; ++iter) {
        CanaryBitmap src(1 + rng() % 30, 1 + rng() % 20, rng() % 2), dst(1 + rng() % 30, 1 + rng() % 20, rng() % 2);
        src.randomize(rng);
        dst.randomize(rng);
        const int sx = int(rng() % 40) - 8, sy = int(rng() % 30) - 8, dx = int(rng() % 40) - 8,
                  dy = int(rng() % 30) - 8;
        const int sw = int(rng() % 40), sh = int(rng() % 30);
        // The area as the rules clip it, computed independently.
        int l = std::max(sx, 0), t = std::max(sy, 0);
        int r = std::min(sx + sw, src.getWidth()), b = std::min(sy + sh, src.getHeight());
        int X = dx, Y = dy;
        if (X < 0) l -= X, X = 0;
        if (Y < 0) t -= Y, Y = 0;
        r = std::min(r, l + dst.getWidth() - X);
        b = std::min(b, t + dst.getHeight() - Y);
        auto want = dst.pixels();
        if (r - l >= 2 && b - t >= 2)
            ReferenceBlur(src.pixels(), src.getWidth(), l, t, r - l, b - t, want, dst.getWidth(), X, Y);
        PIX_Blur(&dst, &src, dx, dy, sx, sy, sw, sh);
        ASSERT_EQ(dst.pixels(), want) << "iter " << iter;
        ASSERT_EQ(dst.damagedCanaries() + src.damagedCanaries(), 0);
    }
}

// In place, narrow (stack rows) and wide (heap rows), and with the destination shifted
// over its own source in every direction: always the blur of the pixels as they were.
TEST(Blur, InPlaceAndOverlappingMatchOutOfPlace) {
    std::mt19937 rng(5);
    const int shifts[][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {3, 2}, {-2, -3}, {5, -1}};
    for (int width : {9, 1500})
        for (bool flipped : {false, true})
            for (const auto& s : shifts) {
                CanaryBitmap bm(width + 12, 12, flipped);
                bm.randomize(rng);
                const int x0 = 4, y0 = 4, w = width, h = 5;
                auto want = bm.pixels();
                ReferenceBlur(bm.pixels(), bm.getWidth(), x0, y0, w, h, want, bm.getWidth(), x0 + s[0], y0 + s[1]);
                PIX_Blur(&bm, &bm, x0 + s[0], y0 + s[1], x0, y0, w, h);
                ASSERT_EQ(bm.pixels(), want)
                    << "width " << width << " shift " << s[0] << "," << s[1] << " flipped " << flipped;
                ASSERT_EQ(bm.damagedCanaries(), 0);
            }
}

uint32_t ReferenceFill(uint32_t d, uint32_t c, float alpha, uint32_t mode) {
    double a = alpha;
    if (mode & 0x10000) a *= PIX_PixelA(c) / 255.0;
    if (a == 0.0) return d;
    const int w = Weight(a), low = mode & 0xff;
    if (low == 0 && FastCopy(d, c, w)) return d;
    return Blend(d, c, w, low, w);  // the weight is the alpha value too
}

uint32_t ReferencePut(uint32_t d, uint32_t c, float alpha, uint32_t mode) {
    const int w = Weight(alpha), low = mode & 0xff;
    return low == 0 && FastCopy(d, c, w) ? d : Blend(d, c, w, low);
}

// Coverage scales the weight, so the full-weight forms give way to the general ones.
uint32_t ReferenceGlyph(uint32_t d, uint32_t c, int m, float alpha, uint32_t mode) {
    const int w = Weight(alpha), low = mode & 0xff;
    if (m == 0 || w == 0 || low > 5 || (low == 0 && w < 1)) return d;
    const PIX_CombineFunc byLow[] = {PIX_CombinePixelsCopy,     PIX_CombinePixelsAdd,     PIX_CombinePixelsDodge,
                                     PIX_CombinePixelsMultiply, PIX_CombinePixelsOverlay, PIX_CombinePixelsHSVAdjust};
    byLow[low](reinterpret_cast<uint8_t*>(&d), PIX_PixelR(c), PIX_PixelG(c), PIX_PixelB(c), PIX_PixelA(c),
               m * w / 256);
    return d;
}

const std::vector<uint32_t> kFillModes = ModeWords(true, {0x10006, 0x100, 6, 0xf0});

TEST(FillRect, RandomFillsMatchReferenceAndKeepCanaries) {
    std::mt19937 rng(17);
    int changed = 0;
    for (int iter = 0; iter < 1800; ++iter) {
        CanaryBitmap bm(1 + rng() % 40, 1 + rng() % 25, rng() % 2);
        bm.randomize(rng);
        const int x = Near(rng, bm.getWidth()), y = Near(rng, bm.getHeight());
        const int w = rng() % 8 == 0 ? INT32_MAX : int(rng() % 50) - 4, h = int(rng() % 40) - 4;
        uint32_t colour = rng();
        if (rng() % 4 == 0) colour = (colour & ~0xffu) | (rng() % 2 ? 128 : 0);
        const float alpha = kAlphas[rng() % std::size(kAlphas)];
        const uint32_t mode = kFillModes[rng() % std::size(kFillModes)];
        auto want = bm.pixels();
        for (int64_t py = std::max(y, 0); py < std::min<int64_t>(int64_t(y) + h, bm.getHeight()); ++py)
            for (int64_t px = std::max(x, 0); px < std::min<int64_t>(int64_t(x) + w, bm.getWidth()); ++px) {
                uint32_t& p = want[size_t(py * bm.getWidth() + px)];
                p = ReferenceFill(p, colour, alpha, mode);
            }
        changed += want != bm.pixels();
        PIX_FillRect(&bm, x, y, w, h, colour, alpha, mode);
        ASSERT_EQ(bm.pixels(), want) << "iter " << iter << " mode " << mode << " alpha " << alpha;
        ASSERT_EQ(bm.damagedCanaries(), 0) << "iter " << iter;
    }
    EXPECT_GT(changed, 400);
}

TEST(Clear, WholeBitmapOrMaskedRectButNotThePadding) {
    std::mt19937 rng(3);
    CanaryBitmap bm(9, 6, true);
    PIX_Clear(&bm, 0x12345678);
    EXPECT_EQ(bm.pixels(), std::vector<uint32_t>(54, 0x12345678));
    bm.randomize(rng);
    const auto before = bm.pixels();
    PIX_ClearRect(&bm, -2, 1, 5, 100, 0xffffff00, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) {
            const uint32_t old = before[size_t(y) * 9 + x];
            EXPECT_EQ(bm.at(x, y), (x < 3 && y >= 1) ? (old & 0xffffff00) : old) << x << "," << y;
        }
    PIX_ClearRect(&bm, 8, 5, INT32_MAX, INT32_MAX, 0, 0xffffffff);
    EXPECT_EQ(bm.at(8, 5), 0xffffffffu);
    EXPECT_EQ(bm.damagedCanaries(), 0);
}


TEST(Pixels, PutPixelMatchesReferenceInEveryModeAndWeight) {
    std::mt19937 rng(12);
    for (uint32_t mode : kFillModes)
        for (float alpha : kAlphas)
            for (int k = 0; k < 20; ++k) {
                CanaryBitmap bm(1, 1);
                bm.at(0, 0) = rng();
                const uint32_t colour = k == 0 ? (rng() & ~0xffu) : rng();
                const uint32_t want = ReferencePut(bm.at(0, 0), colour, alpha, mode);
                PIX_PutPixel(&bm, 0, 0, colour, alpha, mode);
                ASSERT_EQ(bm.at(0, 0), want) << "mode " << mode << " alpha " << alpha;
            }
}

TEST(Glyph, RandomMasksMatchReferenceAndKeepCanaries) {
    std::mt19937 rng(23);
    int changed = 0;
    for (int iter = 0; iter < 1600; ++iter) {
        CanaryBitmap bm(1 + rng() % 30, 1 + rng() % 20, rng() % 2);
        bm.randomize(rng);
        const int mw = 1 + rng() % 20, mh = 1 + rng() % 15, span = mw + int(rng() % 3);
        std::vector<uint8_t> mask(size_t(span) * mh);
        for (auto& m : mask) m = uint8_t(rng() % 3 == 0 ? 0 : (rng() % 4 == 0 ? 255 : rng()));
        const int x = rng() % 10 == 0 ? -mw + int(rng() % 3) - 1 : Near(rng, bm.getWidth());
        const int y = Near(rng, bm.getHeight());
        const uint32_t colour = rng();
        const float alpha = kAlphas[rng() % std::size(kAlphas)];
        const uint32_t mode = kFillModes[rng() % std::size(kFillModes)];
        auto want = bm.pixels();
        for (int j = 0; j < mh; ++j)
            for (int i = 0; i < mw; ++i) {
                const int64_t px = int64_t(x) + i, py = int64_t(y) + j;
                if (px < 0 || py < 0 || px >= bm.getWidth() || py >= bm.getHeight()) continue;
                uint32_t& p = want[size_t(py * bm.getWidth() + px)];
                p = ReferenceGlyph(p, colour, mask[size_t(j) * span + i], alpha, mode);
            }
        changed += want != bm.pixels();
        if (span == mw && iter % 2)
            PIX_DrawGlyphEx(&bm, x, y, colour, mask.data(), mw, mh, alpha, mode);
        else
            PIX_DrawGlyph(&bm, x, y, colour, mask.data(), mw, span, mh, alpha, mode);
        ASSERT_EQ(bm.pixels(), want) << "iter " << iter << " mode " << mode << " alpha " << alpha;
        ASSERT_EQ(bm.damagedCanaries(), 0) << "iter " << iter;
    }
    EXPECT_GT(changed, 400);
}

struct Grad {
    int x, y, w, h;
    float start[4];  // r, g, b, a on 0..1
    float perX[4], perY[4];
};

// The gradient by the rules, with values chosen exactly representable so the 16.16
// accumulators are exact: start values advanced to the clipped origin, then stepped.
std::vector<uint32_t> ReferenceGrad(const CanaryBitmap& bm, const Grad& g, uint32_t mode) {
    auto out = bm.pixels();
    const int low = mode & 0xff;
    if (low > 5) return out;
    const double scale[4] = {255, 255, 255, 256};
    const int X = std::max(g.x, 0), Y = std::max(g.y, 0);
    for (int py = Y; py < std::min(g.y + g.h, bm.getHeight()); ++py)
        for (int px = X; px < std::min(g.x + g.w, bm.getWidth()); ++px) {
            int ch[4];
            for (int c = 0; c < 4; ++c) {
                const double origin =
                    g.start[c] * scale[c] + (X - g.x) * (g.perX[c] * scale[c]) + (Y - g.y) * (g.perY[c] * scale[c]);
                const int64_t acc = int64_t(origin * 65536) + (px - X) * int64_t(g.perX[c] * scale[c] * 65536) +
                                    (py - Y) * int64_t(g.perY[c] * scale[c] * 65536);
                ch[c] = int(acc / 65536);
            }
            const PIX_CombineFunc fns[] = {PIX_CombinePixelsCopyClamp,     PIX_CombinePixelsAdd,
                                           PIX_CombinePixelsDodge,         PIX_CombinePixelsMultiplyClamp,
                                           PIX_CombinePixelsOverlay,       PIX_CombinePixelsHSVAdjust};
            uint32_t& p = out[size_t(py) * bm.getWidth() + px];
            fns[low](reinterpret_cast<uint8_t*>(&p), ch[0], ch[1], ch[2], ch[3], ch[3]);
        }
    return out;
}

TEST(GradRect, EveryModeMatchesReferenceAndClips) {
    const Grad grads[] = {
        {1, 2, 6, 5, {0.5f, 0.25f, 1, 1}, {1 / 64.f, -1 / 32.f, 0, -1 / 16.f}, {0, 1 / 16.f, -1 / 8.f, 1 / 128.f}},
        {-3, -2, 20, 20, {0, 1, 0.5f, 0.5f}, {1 / 8.f, 0, 1 / 4.f, 1 / 32.f}, {1 / 4.f, -1 / 8.f, 0, 1 / 16.f}},
        {-5, 3, 9, 30, {1.5f, -0.5f, 2, 3}, {0, 0, 0, -0.25f}, {-0.5f, 0.5f, 0.125f, 0}},
    };
    const std::vector<uint32_t> modes = ModeWords(false, {0x10003, 0x100, 6, 0xf1});
    std::mt19937 rng(4);
    for (const auto& g : grads)
        for (uint32_t mode : modes)
            for (bool flipped : {false, true}) {
                CanaryBitmap bm(10, 9, flipped);
                bm.randomize(rng);
                const auto want = ReferenceGrad(bm, g, mode);
                PIX_GradRect(&bm, g.x, g.y, g.w, g.h, g.start[0], g.start[1], g.start[2], g.start[3], g.perX[0],
                             g.perX[1], g.perX[2], g.perX[3], g.perY[0], g.perY[1], g.perY[2], g.perY[3], mode);
                ASSERT_EQ(bm.pixels(), want) << "grad at " << g.x << "," << g.y << " mode " << mode;
                ASSERT_EQ(bm.damagedCanaries(), 0);
            }
}

TEST(ScaledBlit, MirroredSizesGiveTheExactMirror) {
    const struct { int srcW, srcH, w, h; bool mirrorX, mirrorY; } cases[] = {
        {20, 10, 20, 10, true, false}, {20, 10, 20, 10, false, true}, {20, 10, 20, 10, true, true},
        {10, 10, 20, 20, true, false}, {30, 15, 20, 10, true, true},  {7, 9, 14, 27, false, true},
    };
    for (const auto& c : cases) {
        PIX_MemBitmap src(c.srcW, c.srcH, 4), plain(40, 40, 4), mirrored(40, 40, 4);
        FillRandom(src, 11);
        Fill(plain, 0);
        Fill(mirrored, 0);
        const int x = 10, y = 5;
        PIX_ScaledBlit(&plain, &src, x, y, c.w, c.h, 0, 0, float(c.srcW), float(c.srcH), 1.0f, PIX_MODE_COPY);
        // A negative size at x + w covers the same columns x .. x + w - 1.
        PIX_ScaledBlit(&mirrored, &src, c.mirrorX ? x + c.w : x, c.mirrorY ? y + c.h : y, c.mirrorX ? -c.w : c.w,
                       c.mirrorY ? -c.h : c.h, 0, 0, float(c.srcW), float(c.srcH), 1.0f, PIX_MODE_COPY);
        const int bad = CountMismatches(mirrored, [&](int i, int j) {
            const bool inside = i >= x && i < x + c.w && j >= y && j < y + c.h;
            return Px(plain, inside && c.mirrorX ? 2 * x + c.w - 1 - i : i, inside && c.mirrorY ? 2 * y + c.h - 1 - j : j);
        });
        EXPECT_EQ(bad, 0) << c.srcW << "x" << c.srcH << " -> " << c.w << "x" << c.h << " " << c.mirrorX << c.mirrorY;
    }
}

TEST(ScaledBlit, EveryModeBlendsTheNearestSample) {
    const std::vector<uint32_t> modes = ModeWords(true);
    const float alphas[] = {1.0f, 0.5f, 0.3f};
    PIX_MemBitmap src(5, 5, 4), base(10, 10, 4), dst(10, 10, 4);
    FillRandom(src, 21);
    FillRandom(base, 22);
    for (uint32_t mode : modes)
        for (float alpha : alphas) {
            PIX_Copy(&dst, &base);
            PIX_ScaledBlit(&dst, &src, 0, 0, 10, 10, 0, 0, 5, 5, alpha, mode);
            const int bad = CountMismatches(dst, [&](int x, int y) {
                uint32_t want = Px(base, x, y);
                const uint32_t s = Px(src, x / 2, y / 2);
                return mode == 0 && alpha == 0.5f && FastCopy(want, s, 128) ? want : Blend(want, s, Weight(alpha), mode);
            });
            EXPECT_EQ(bad, 0) << "mode " << mode << " alpha " << alpha;
        }
}

TEST(ScaledBlit, ClippingTheDestinationKeepsTheSamples) {
    // A 2x enlargement of part of a larger source, drawn partly off the left and top:
    // no pixels from beyond the source rectangle blend in, nothing past the draw changes.
    PIX_MemBitmap src(20, 20, 4), whole(30, 30, 4), clipped(30, 30, 4);
    FillRandom(src, 41);
    for (uint32_t mode : {0x100u, 0u}) {
        Fill(whole, 0);
        Fill(clipped, 0x5a5a5a5a);
        PIX_ScaledBlit(&whole, &src, 0, 0, 20, 20, 0, 0, 10, 10, 1.0f, mode);
        PIX_ScaledBlit(&clipped, &src, -6, -4, 20, 20, 0, 0, 10, 10, 1.0f, mode);
        const auto shifted = [&](int x, int y) { return x < 14 && y < 16 ? Px(whole, x + 6, y + 4) : 0x5a5a5a5au; };
        EXPECT_EQ(CountMismatches(clipped, shifted), 0) << mode;
    }
}

constexpr float kPi = std::numbers::pi_v<float>;

// Quarter turns (and a mirror at angle 0) move whole pixels: the exact permutation.
TEST(RotatedBlit, QuarterTurnsAndMirrorArePermutations) {
    constexpr int N = 9;
    PIX_MemBitmap src(N, N, 4), dst(N, N, 4);
    FillRandom(src, 17);
    const struct { float angle; int x, w; int (*sx)(int i, int j); int (*sy)(int i, int j); } cases[] = {
        {0.0f, 0, N, [](int i, int) { return i; }, [](int, int j) { return j; }},
        {kPi / 2, 0, N, [](int, int j) { return j; }, [](int i, int) { return N - 1 - i; }},
        {kPi, 0, N, [](int i, int) { return N - 1 - i; }, [](int, int j) { return N - 1 - j; }},
        {3 * kPi / 2, 0, N, [](int, int j) { return N - 1 - j; }, [](int i, int) { return i; }},
        {-kPi / 2, 0, N, [](int, int j) { return N - 1 - j; }, [](int i, int) { return i; }},
        {0.0f, N, -N, [](int i, int) { return N - 1 - i; }, [](int, int j) { return j; }},
    };
    for (uint32_t mode : {0u, 0x100u})
        for (bool clip : {false, true})
            for (const auto& c : cases) {
                Fill(dst, 0);
                PIX_RotatedBlit(&dst, &src, c.x, 0, c.w, N, 0, 0, N, N, c.angle, clip, 1.0f, mode);
                EXPECT_EQ(CountMismatches(dst, [&](int i, int j) { return Px(src, c.sx(i, j), c.sy(i, j)); }), 0)
                    << "angle " << c.angle << " w " << c.w << " mode " << mode << " clip " << clip;
            }
}

TEST(TransformedBlits, FlippedBitmapsAreAddressedInImageOrder) {
    static const float grid[] = {0.5f, 0, 7, 1, 0, 5, 6.5f, 4.5f};
    const std::pair<const char*, void (*)(PIX_IBitmap&, PIX_IBitmap&)> draws[] = {
        {"scaled", [](PIX_IBitmap& d, PIX_IBitmap& s) { PIX_ScaledBlit(&d, &s, 1, 1, 11, 7, 0.25f, 0.5f, 5, 3, 1.0f, 0); }},
        {"scaled filtered", [](PIX_IBitmap& d, PIX_IBitmap& s) {
             PIX_ScaledBlit(&d, &s, 1, 1, 11, 7, 0.25f, 0.5f, 5, 3, 1.0f, 0x10103);
         }},
        {"mesh", [](PIX_IBitmap& d, PIX_IBitmap& s) { PIX_TransformBlit(&d, &s, 1, 1, 7, 6, grid, 2, 2, 1.0f, 0); }},
        {"rotated", [](PIX_IBitmap& d, PIX_IBitmap& s) {
             PIX_RotatedBlit(&d, &s, -1, 1, 9, 8, 0, 0, 7, 5, 0.5f, false, 1.0f, 0x100);
         }},
        {"delta", [](PIX_IBitmap& d, PIX_IBitmap& s) {
             PIX_DeltaBlit(&d, &s, 1, 0, 8, 9, 0.5f, 4.5f, 7, 5, 0.75f, -0.25f, 0.125f, 0.5f, 0, 0, false, 1.0f, 0x100);
         }},
        {"delta alpha", [](PIX_IBitmap& d, PIX_IBitmap& s) {
             PIX_DeltaBlitAlpha(&d, &s, 0, 1, 9, 7, 0, 0, 7, 5, 0.75f, 0, 0, 0.6f, 0, 0, false, 0.2f, 0.1f, 0.05f, 0, 0);
         }},
    };
    for (const auto& [name, draw] : draws) EXPECT_EQ(FlippedDifference(7, 5, 12, 9, 4, draw), 0) << name;
}

TEST(DeltaBlit, ClippedDestinationKeepsTheMapping) {
    // A per-row change of the per-pixel step, clipped at the top-left: the visible
    // pixels sample exactly where the unclipped blit samples them.
    PIX_MemBitmap src(40, 40, 4), whole(30, 30, 4), clipped(30, 30, 4);
    FillRandom(src, 3);
    Fill(whole, 0);
    Fill(clipped, 0);
    PIX_DeltaBlit(&whole, &src, 0, 0, 30, 30, 1, 2, 40, 40, 0.5f, 0.25f, 0.125f, 0.75f, 0.0625f, -0.03125f, false,
                  1.0f, 0);
    // The same mapping started 5 columns and 7 rows further up-left.
    const double cx = 5, cy = 7;
    const double s = 1 - cx * 0.5 - cy * 0.125 + cx * cy * 0.0625, t = 2 - cx * 0.25 - cy * 0.75 - cx * cy * 0.03125;
    const double dsdx = 0.5 - cy * 0.0625, dtdx = 0.25 + cy * 0.03125;
    const double dsdy = 0.125 - cx * 0.0625, dtdy = 0.75 + cx * 0.03125;
    PIX_DeltaBlit(&clipped, &src, -5, -7, 35, 37, float(s), float(t), 40, 40, float(dsdx), float(dtdx), float(dsdy),
                  float(dtdy), 0.0625f, -0.03125f, false, 1.0f, 0);
    EXPECT_EQ(CountDifferent(whole, clipped), 0);
}

TEST(DeltaBlitAlpha, EveryModeBlendsAtEachPixelsOwnClampedWeight) {
    // Column i weighs (0.25 + i / 16) x 256 = 64 + 16 i, past full strength at the
    // right: copy and multiply must clamp, and the source-alpha bit is ignored.
    PIX_MemBitmap src(16, 3, 4), dst(16, 3, 4), want(16, 3, 4);
    FillRandom(src, 51);
    for (uint32_t low : ModeWords(false))
        for (uint32_t extra : {0u, uint32_t(PIX_MODE_USE_SOURCE_ALPHA)}) {
            FillRandom(dst, 52);
            FillRandom(want, 52);
            PIX_DeltaBlitAlpha(&dst, &src, 0, 0, 16, 3, 0, 0, 16, 3, 1, 0, 0, 1, 0, 0, false, 0.25f, 1.0f / 16, 0, 0,
                               low | extra);
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 16; ++i) {
                    const uint32_t s = Px(src, i, j);
                    PIX_CombinePixelsByModeClamp(reinterpret_cast<uint8_t*>(&Px(want, i, j)), PIX_PixelR(s),
                                                 PIX_PixelG(s), PIX_PixelB(s), PIX_PixelA(s), 64 + 16 * i, low);
                }
            EXPECT_EQ(CountDifferent(dst, want), 0) << "mode " << std::hex << (low | extra);
        }
}

TEST(MultiplyAddRect, ScalesAndAddsEachChannelInsideTheClippedRect) {
    PIX_MemBitmap bm(4, 4, 4);
    const uint32_t before = PIX_MakePixel(200, 100, 50, 10);
    const struct { float scale[4], add[4]; uint32_t after; } cases[] = {  // r, g, b, a
        {{1, 1, 1, 1}, {0, 0, 0, 0}, before},
        {{0.5f, 2, 1, 1}, {0, 0, 1, -20}, PIX_MakePixel(180, 50, 100, 11)},
        {{3, 1, -1, 1}, {0, 300, 0, 0}, PIX_MakePixel(200, 255, 255, 0)},
    };
    for (const auto& c : cases) {
        Fill(bm, before);
        PIX_MultiplyAddRect(&bm, -1, 2, 3, 5, c.scale[0], c.scale[1], c.scale[2], c.scale[3], c.add[0], c.add[1],
                            c.add[2], c.add[3]);
        EXPECT_EQ(CountMismatches(bm, [&](int x, int y) { return x < 2 && y >= 2 ? c.after : before; }), 0) << c.after;
    }
}

TEST(ProcessRect, VisitsTheClippedRectangleRowByRow) {
    PIX_MemBitmap bm(5, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) Px(bm, x, y) = uint32_t(y * 10 + x);
    std::vector<uint32_t> seen;
    const auto record = [](uint32_t* p, void* ctx) { static_cast<std::vector<uint32_t>*>(ctx)->push_back(*p); };
    PIX_ProcessRect(&bm, 3, -1, 9, 3, record, &seen);
    EXPECT_EQ(seen, (std::vector<uint32_t>{3, 4, 13, 14}));
    // Rectangles at the ends of the int range clip without wrapping.
    const struct { int x, y, w, h, visits; } extremes[] = {
        {5, 0, 5, 4, 0},
        {-1, 0, INT32_MIN, 4, 0},
        {0, -1, 5, INT32_MIN, 0},
        {INT32_MIN, 0, INT32_MAX, 4, 0},
        {INT32_MAX, 0, INT32_MAX, 4, 0},
        {-3, -2, INT32_MAX, INT32_MAX, 20},
        {4, 3, INT32_MAX, INT32_MAX, 1},
    };
    for (const auto& c : extremes) {
        int visits = 0;
        PIX_ProcessRect(&bm, c.x, c.y, c.w, c.h, [](uint32_t*, void* n) { ++*static_cast<int*>(n); }, &visits);
        EXPECT_EQ(visits, c.visits) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST(BitmapCmp, OrdersBySizeThenBytesAndBoundsTheDifferencesUnderTheMask) {
    PIX_MemBitmap a(6, 5, 4), b(6, 5, 4), wide(7, 5, 4), tall(6, 3, 4);
    Fill(a, 0x10203040u);
    Fill(b, 0x10203040u);
    Px(b, 4, 1) = 0x10203000u;  // alpha only, the first difference in memory order: a sorts last
    Px(b, 1, 3) = 0x11203040u;  // blue
    const struct { const PIX_IBitmap *x, *y; uint32_t mask; int plain, withRect, rect[4]; } cases[] = {
        {&a, &a, 0xffffffffu, 0, 0, {0, 0, 0, 0}},
        {&a, &b, 0xffffffffu, 1, 1, {1, 1, 4, 3}},
        {&b, &a, 0xffffffffu, -1, 1, {1, 1, 4, 3}},
        {&a, &b, 0xffffff00u, 1, 1, {1, 3, 1, 1}},
        {&a, &b, 0x00ff0000u, 0, 0, {0, 0, 0, 0}},
        {&a, &wide, 0xffffffffu, 1, 1, {0, 0, 0, 0}},
        {&a, &tall, 0xffffffffu, -2, -2, {0, 0, 0, 0}},
        {nullptr, &a, 0xffffffffu, -1, -1, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        int rect[4] = {9, 9, 9, 9};
        if (c.mask == 0xffffffffu) {
            EXPECT_EQ(PIX_BitmapCmp(c.x, c.y, nullptr), c.plain);
        }
        EXPECT_EQ(PIX_BitmapCmpEx(c.x, c.y, c.mask, nullptr), c.plain) << std::hex << c.mask;
        EXPECT_EQ(PIX_BitmapCmpEx(c.x, c.y, c.mask, rect), c.withRect) << std::hex << c.mask;
        EXPECT_EQ(std::vector<int>(rect, rect + 4), std::vector<int>(c.rect, c.rect + 4)) << std::hex << c.mask;
    }
}

TEST(SimpleFill, FillsRunsConnectedThroughTheStartColumn) {
    // From column 2 of row 2 ('#' blocks): rows are reached only through column 2.
    const char* rows[] = {"..#..", ".....", "#...#", "..#..", "....."};
    const char* want[] = {"..#..", "*****", "#***#", "..#..", "....."};
    const auto colour = [](char c) { return c == '*' ? 0x00ff00ffu : c == '#' ? 0xff0000ffu : 0x000000ffu; };
    PIX_MemBitmap bm(5, 5, 4);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) Px(bm, x, y) = colour(rows[y][x]);
    PIX_SimpleFill(&bm, 2, 2, 0x00ff0000u, 0xffffff00u, 0x000000ffu);
    EXPECT_EQ(CountMismatches(bm, [&](int x, int y) { return colour(want[y][x]); }), 0);
}

// Random positions, fractions near 0 and near 1 included, against the bilinear rule
// evaluated directly in 64-bit arithmetic.
TEST(DeltaBlit, BilinearSamplesFollowTheRuleExactly) {
    std::mt19937 rng(2024);
    PIX_MemBitmap src(5, 4, 4), dst(1, 1, 4);
    FillRandom(src, 88);
    const uint32_t fractions[] = {0, 1, 0x8000, 0xfffe, 0xffff};
    for (int round = 0; round < 3000; ++round) {
        const int x = int(rng() % 5), y = int(rng() % 4);
        const uint32_t fx = round % 3 ? rng() & 0xffff : fractions[rng() % 5];
        const uint32_t fy = round % 5 ? rng() & 0xffff : fractions[rng() % 5];
        const int64_t fx64 = fx, fy64 = fy, f11 = (fx64 * fy64) >> 16;
        const int64_t f10 = fx64 - f11, f01 = fy64 - f11, f00 = 65536 - fx64 - fy64 + f11;
        uint32_t want = 0;
        for (int c = 0; c < 4; ++c) {
            auto at = [&](int px, int py) { return int64_t(Px(src, px, py) >> (8 * c) & 255); };
            int64_t v;
            if (x < 4 && y < 3)
                v = (at(x, y) * f00 + at(x + 1, y) * f10 + at(x, y + 1) * f01 + at(x + 1, y + 1) * f11) >> 16;
            else if (x == 4 && y < 3)
                v = (at(x, y) * (65536 - fy64) + at(x, y + 1) * fy64) >> 16;
            else if (y == 3 && x < 4)
                v = (at(x, y) * (65536 - fx64) + at(x + 1, y) * fx64) >> 16;
            else
                v = at(x, y);
            want |= uint32_t(v) << (8 * c);
        }
        Fill(dst, 0);
        const float s = float(x) + float(fx) / 65536.0f, t = float(y) + float(fy) / 65536.0f;
        PIX_DeltaBlit(&dst, &src, 0, 0, 1, 1, s, t, 5, 4, 1, 0, 0, 1, 0, 0, false, 1.0f, 0x100);
        ASSERT_EQ(Px(dst, 0, 0), want) << x << "," << y << " fx " << fx << " fy " << fy;
        // The row worker alone, at the same 16.16 position.
        uint32_t viaRow = 0;
        PIX_DeltaBlitRow(reinterpret_cast<uint8_t*>(&viaRow), static_cast<const uint8_t*>(src.getBits()), 1, 1,
                         int32_t(uint32_t(x) << 16 | fx), int32_t(uint32_t(y) << 16 | fy), 65536, 0, 0, 65536, 0, 0,
                         5, 4, src.getRowSpan() * 4, 4, 256, 0x100, PIX_CombinePixelsCopyFull);
        ASSERT_EQ(viaRow, want) << x << "," << y << " fx " << fx << " fy " << fy;
    }
}

TEST(ResampleArea, ClippedOnTheLeftWritesOnlyItsInsidePart) {
    PIX_MemBitmap src(4, 4, 4), dst(4, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) *PIX_PixelAddress(src, x, y) = 0xffffffff, *PIX_PixelAddress(dst, x, y) = 0x5a5a5a5a;
    ResampleArea(src, 0, 0, 4, 4, dst, -2, 0, 4, 4);
    EXPECT_EQ(Px(dst, 0, 0), 0xffffffffu);  // source column 2
    EXPECT_EQ(Px(dst, 2, 0), 0x5a5a5a5au);
}

// The resampling rule written out tap by tap in double precision, for ratios whose
// weights are exact binary fractions (where the order of the sums cannot matter).
void ReferenceResample(const PIX_IBitmap& src, int sx, int sy, int sw, int sh, PIX_IBitmap& dst, int dw, int dh) {
    const double rx = double(sw) / dw, ry = double(sh) / dh;
    const int kx = int(rx + 0.99999999999), ky = int(ry + 0.99999999999);
    auto at = [&](int64_t x, int64_t y, int c) -> double {
        if (x < std::max(sx, 0) || y < std::max(sy, 0) || x >= sx + sw || y >= sy + sh || x >= src.getWidth() || y >= src.getHeight())
            return 0;
        return reinterpret_cast<const uint8_t*>(PIX_PixelAddress(src, int(x), int(y)))[c];
    };
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            const double fx = rx * x, fy = ry * y, wx = fx - int(fx), wy = fy - int(fy);
            auto* out = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dst, x, y));
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int j = 0; j < ky; ++j)
                    for (int i = 0; i < kx; ++i) {
                        const int64_t cx = sx + int(fx) + i, cy = sy + int(fy) + j;
                        sum += at(cx, cy, c) * (1 - wx) * (1 - wy) + at(cx + 1, cy, c) * wx * (1 - wy) +
                               at(cx, cy + 1, c) * (1 - wx) * wy + at(cx + 1, cy + 1, c) * wx * wy;
                    }
                out[c] = uint8_t(std::min(int(sum / (kx * ky)), 255));
            }
        }
}

TEST(ResampleArea, BinaryFractionRatiosMatchTheTapByTapRule) {
    PIX_MemBitmap src(67, 41, 4);
    std::mt19937 rng(7);
    for (int y = 0; y < src.getHeight(); ++y)
        for (int x = 0; x < src.getWidth(); ++x) *PIX_PixelAddress(src, x, y) = rng();
    // Source area, destination size: halving, quartering, 2/3 (weights 0 and 1/2), 4x,
    // and an area reaching past the bitmap.
    struct Case { int sx, sy, sw, sh, dw, dh; } cases[] = {
        {0, 0, 64, 40, 32, 20}, {1, 1, 64, 40, 16, 10}, {3, 0, 48, 36, 32, 24},
        {0, 0, 16, 8, 64, 32},  {40, 20, 40, 30, 20, 15}, {-3, -2, 32, 16, 16, 8},
    };
    for (const Case& c : cases) {
        PIX_MemBitmap got(c.dw, c.dh, 4), want(c.dw, c.dh, 4);
        ResampleArea(src, c.sx, c.sy, c.sw, c.sh, got, 0, 0, c.dw, c.dh);
        ReferenceResample(src, c.sx, c.sy, c.sw, c.sh, want, c.dw, c.dh);
        for (int y = 0; y < c.dh; ++y)
            for (int x = 0; x < c.dw; ++x)
                ASSERT_EQ(Px(got, x, y), Px(want, x, y)) << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh
                                                         << " at " << x << "," << y;
    }
}

// The resampling rule one destination pixel at a time in double arithmetic, the sums in
// the order the stored images were made with: per row, its bytes times their column
// shares, then that times the row's share.
void PerPixelResample(const PIX_IBitmap& src, int sx, int sy, int sw, int sh, PIX_IBitmap& dst, int dx, int dy,
                      int dw, int dh) {
    const double rx = double(sw) / dw, ry = double(sh) / dh;
    const int kx = int(rx + 0.99999999999), ky = int(ry + 0.99999999999);
    auto inside = [&](int64_t x, int64_t y) {
        return x >= std::max(sx, 0) && y >= std::max(sy, 0) && x < int64_t(sx) + sw && y < int64_t(sy) + sh &&
               x < src.getWidth() && y < src.getHeight();
    };
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            if (x + dx < 0 || y + dy < 0 || x + dx >= dst.getWidth() || y + dy >= dst.getHeight()) continue;
            const double fx = rx * x, fy = ry * y, wx = fx - int(fx), wy = fy - int(fy);
            auto* out = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dst, x + dx, y + dy));
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int j = 0; j <= ky; ++j) {
                    const int64_t row = int64_t(sy) + int(fy) + j;
                    double rowSum = 0;
                    for (int i = 0; i <= kx; ++i) {
                        const int64_t col = int64_t(sx) + int(fx) + i;
                        if (!inside(col, row)) continue;
                        const int p = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(src, int(col), int(row)))[c];
                        rowSum += i == 0 ? p * (1 - wx) : i == kx ? p * wx : p;
                    }
                    sum += rowSum * (j == 0 ? 1 - wy : j == ky ? wy : 1.0);
                }
                out[c] = uint8_t(std::min(int(sum * (1.0 / (kx * ky))), 255));
            }
        }
}

// The plain loops and every vector level this machine runs.
std::vector<pix::SimdLevel> MachineLevels() {
    std::vector<pix::SimdLevel> levels;
    for (pix::SimdLevel l : {pix::SimdLevel::None, pix::SimdLevel::Sse2, pix::SimdLevel::Avx2})
        if (pix::RowKernelsFor(l)) {
            levels.push_back(l);
            EXPECT_NE(pix::StripKernelsFor(l), nullptr) << "no strip kernels at level " << int(l);
        }
    return levels;
}

// Every ratio class at each vector level, byte for byte against the per-pixel rule:
// areas clipped by either bitmap, flat runs whose sums land on whole values.
TEST(ResampleArea, EveryLevelMatchesThePerPixelRule) {
    const std::vector<pix::SimdLevel> levels = MachineLevels();
    std::mt19937 rng(19);
    PIX_MemBitmap src(203, 157, 4);
    for (int y = 0; y < src.getHeight(); ++y)
        for (int x = 0; x < src.getWidth(); ++x)
            *PIX_PixelAddress(src, x, y) = y % 7 < 3 ? 0xff000000u | (x / 9 * 0x0a0b0c) : uint32_t(rng());
    // Source area, destination size and offset: a growth, 4/3 (the 150 % step from
    // double-size art), 2 and 4 (inside, reaching past the bitmap, clipped), 3, non-binary
    // shrinks above 2, a 40:1 shrink, 1:1 inside and past the edge; then random ones.
    struct Case { int sx, sy, sw, sh, dw, dh, dx, dy; };
    std::vector<Case> cases = {
        {5, 3, 40, 30, 97, 71, 0, 0},     {0, 0, 200, 152, 150, 114, 0, 0}, {8, 4, 96, 96, 72, 72, 0, 0},
        {0, 0, 202, 156, 101, 78, 0, 0}, {2, 2, 200, 152, 50, 38, 0, 0},   {1, 0, 201, 156, 67, 52, 0, 0},
        {3, 5, 190, 150, 71, 53, 0, 0},   {0, 0, 200, 150, 5, 4, 0, 0},     {-7, -3, 120, 90, 90, 67, 0, 0},
        {150, 100, 80, 80, 60, 60, 0, 0}, {0, 0, 160, 120, 80, 60, -9, -4}, {0, 0, 160, 120, 120, 90, 30, 20},
        {-6, 0, 160, 120, 80, 60, 0, 0},  {4, 4, 100, 100, 100, 100, 0, 0}, {-2, 0, 100, 100, 100, 100, 0, 0},
    };
    for (int round = 0; round < 40; ++round)
        cases.push_back({int(rng() % 9) - 3, int(rng() % 9) - 3, 1 + int(rng() % 200), 1 + int(rng() % 150),
                         1 + int(rng() % 150), 1 + int(rng() % 120), int(rng() % 5) - 2, int(rng() % 5) - 2});
    for (const Case& c : cases) {
        PIX_MemBitmap want(c.dw + 6, c.dh + 4, 4), got(c.dw + 6, c.dh + 4, 4);
        Fill(want, 0x5a5a5a5a);
        PerPixelResample(src, c.sx, c.sy, c.sw, c.sh, want, c.dx, c.dy, c.dw, c.dh);
        for (pix::SimdLevel level : levels) {
            Fill(got, 0x5a5a5a5a);
            ResampleArea(src, c.sx, c.sy, c.sw, c.sh, got, c.dx, c.dy, c.dw, c.dh, level);
            for (int y = 0; y < got.getHeight(); ++y)
                for (int x = 0; x < got.getWidth(); ++x)
                    ASSERT_EQ(Px(got, x, y), Px(want, x, y))
                        << c.sx << "," << c.sy << " " << c.sw << "x" << c.sh << " to " << c.dw << "x" << c.dh << " at "
                        << x << "," << y << " level " << int(level);
        }
    }
}

// Strips: each frame on its own, by the per-pixel rule, the gaps between frames cleared
// whatever the destination held.
TEST(ScaleStripFrames, EveryLevelMatchesThePerPixelRuleFrameByFrame) {
    const std::vector<pix::SimdLevel> levels = MachineLevels();
    std::mt19937 rng(23);
    PIX_MemBitmap src(96, 130, 4);
    for (int y = 0; y < src.getHeight(); ++y)
        for (int x = 0; x < src.getWidth(); ++x) *PIX_PixelAddress(src, x, y) = uint32_t(rng()) | 0x01010101u;
    // Frames, direction, destination size (the gap pixels included).
    struct Case { int frames; bool horizontal; int dw, dh; } cases[] = {
        {3, true, 75, 97}, {5, false, 48, 70}, {2, true, 98, 130}, {4, false, 96, 134}, {7, true, 40, 30},
        {5, false, 24, 37}, {130, false, 96, 300}, {200, true, 96, 130},
    };
    for (const Case& c : cases) {
        PIX_MemBitmap want(c.dw, c.dh, 4), got(c.dw, c.dh, 4);
        Fill(want, 0);
        const int srcSide = c.horizontal ? 96 : 130, dstSide = c.horizontal ? c.dw : c.dh;
        const int srcFrame = srcSide / c.frames, dstFrame = (dstSide - c.frames) / c.frames;
        for (int f = 0; srcFrame > 0 && dstFrame > 0 && f < c.frames; ++f) {
            const int s = int(double(srcSide) * f / c.frames + 0.5), d = int(double(dstSide) * f / c.frames + 0.5);
            if (c.horizontal)
                PerPixelResample(src, s, 0, srcFrame, 130, want, d, 0, dstFrame, c.dh);
            else
                PerPixelResample(src, 0, s, 96, srcFrame, want, 0, d, c.dw, dstFrame);
        }
        for (pix::SimdLevel level : levels) {
            Fill(got, 0x5a5a5a5a);
            ScaleStripFrames(src, got, c.frames, c.horizontal, level);
            for (int y = 0; y < c.dh; ++y)
                for (int x = 0; x < c.dw; ++x)
                    ASSERT_EQ(Px(got, x, y), Px(want, x, y))
                        << c.frames << (c.horizontal ? " across" : " down") << " at " << x << "," << y;
        }
    }
}

int ChannelByte(uint32_t p, int c) { return int(p >> (8 * c) & 255); }

// The mean of the source's taps within `radius` of (cx, cy), byte by byte.
uint32_t BoxMean(PIX_IBitmap& src, int cx, int cy, int radius) {
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        int sum = 0, n = 0;
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (x >= 0 && y >= 0 && x < src.getWidth() && y < src.getHeight()) {
                    sum += ChannelByte(Px(src, x, y), c);
                    ++n;
                }
        out |= uint32_t(sum / n) << (8 * c);
    }
    return out;
}

TEST(ScaledBlit, FilteredReductionsAreBoxMeans) {
    // `offset` moves the source rectangle past the bitmap's far edges: a walk that would
    // leave the bitmap stops a whole step before its last column and row, and the
    // pixels beyond are left.
    const struct { int srcSize, destSize, factor, radius, offset; } cases[] = {
        {100, 50, 2, 1, 0},   // halving: 3 x 3
        {100, 25, 4, 2, 0},   // quartering: 5 x 5
        {99, 33, 3, 1, 0},    // exactly 3.0 still takes 3 x 3
        {90, 45, 2, 1, 0},
        {100, 50, 2, 1, 51},
        {100, 25, 4, 2, 26},
    };
    for (const auto& c : cases) {
        PIX_MemBitmap src(c.srcSize, c.srcSize, 4), dst(c.destSize, c.destSize, 4);
        FillRandom(src, 7);
        Fill(dst, 0);
        PIX_ScaledBlit(&dst, &src, 0, 0, c.destSize, c.destSize, float(c.offset), float(c.offset), float(c.srcSize),
                       float(c.srcSize), 1.0f, PIX_MODE_FILTER_BILINEAR);
        EXPECT_EQ(CountMismatches(dst,
                                  [&](int x, int y) {
                                      const bool leaves = c.offset + (c.destSize - 1) * c.factor >= c.srcSize;
                                      const int drawn = leaves ? (c.srcSize - 1 - c.offset) / c.factor : c.destSize;
                                      return x < drawn && y < drawn ? BoxMean(src, c.offset + x * c.factor,
                                                                              c.offset + y * c.factor, c.radius)
                                                                    : 0u;
                                  }),
                  0)
            << c.srcSize << " -> " << c.destSize << " from " << c.offset;
    }
}

// A mirrored shrink interpolates rather than taking a box kernel: at whole steps every
// fraction is 0, so the filtered result is the nearest-pixel one.
TEST(ScaledBlit, MirroredFilteredShrinkIsBilinear) {
    for (int mirror = 1; mirror < 4; ++mirror) {
        PIX_MemBitmap src(40, 40, 4), nearest(20, 20, 4), filtered(20, 20, 4);
        FillRandom(src, 3);
        const int w = mirror & 1 ? -10 : 10, h = mirror & 2 ? -10 : 10;
        for (auto [bm, mode] : {std::pair{&nearest, 0u}, std::pair{&filtered, uint32_t(PIX_MODE_FILTER_BILINEAR)}}) {
            Fill(*bm, 0);
            PIX_ScaledBlit(bm, &src, w < 0 ? 15 : 5, h < 0 ? 15 : 5, w, h, 0, 0, 40, 40, 1.0f, mode);
        }
        EXPECT_EQ(CountDifferent(nearest, filtered), 0) << mirror;
    }
}

}  // namespace
