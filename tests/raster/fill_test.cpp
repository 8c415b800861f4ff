#include <gtest/gtest.h>

#include <random>

#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/fill.h"
#include "raster_test_util.h"

namespace {

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

const std::vector<uint32_t> kModes = ModeWords(true, {0x10006, 0x100, 6, 0xf0});
const float kAlphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.2f, 0.003f, 0.0f, 1.3f, -0.4f, 0.999f};

int Near(std::mt19937& rng, int size) {
    if (rng() % 16 == 0) return rng() % 2 ? INT32_MAX - int(rng() % 64) : INT32_MIN + int(rng() % 64);
    return int(rng() % (size + 12)) - 8;
}

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
        const uint32_t mode = kModes[rng() % std::size(kModes)];
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
    PIX_ClearRect(&bm, 9, 0, 5, 5, 0, 0);
    PIX_ClearRect(&bm, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0);
    EXPECT_EQ(bm.damagedCanaries(), 0);
}

TEST(Pixels, PutPixelMatchesReferenceInEveryModeAndWeight) {
    std::mt19937 rng(12);
    for (uint32_t mode : kModes)
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
        const uint32_t mode = kModes[rng() % std::size(kModes)];
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

}  // namespace
