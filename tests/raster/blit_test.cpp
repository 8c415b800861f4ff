#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "raster/blit.h"
#include "raster/canary_bitmap.h"
#include "raster_test_util.h"

namespace {

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

const std::vector<uint32_t> kModes = ModeWords(true, {0x100, 0x10101, 6, 0x10006, 0xf1, 0xfc, 0xf6, 0x100f9});
const float kAlphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.501f, 0.003f, 0.0f, 0.2f, 1.5f, -0.5f};

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
        const uint32_t mode = kModes[rng() % std::size(kModes)];

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

TEST(Copy, ResizesAndCopiesAndIsANoOpOntoItself) {
    std::mt19937 rng(5);
    CanaryBitmap src(13, 7, true);
    src.randomize(rng);
    PIX_MemBitmap dst(2, 2, 4);
    PIX_Copy(&dst, &src);
    ASSERT_EQ(dst.getWidth(), 13);
    ASSERT_EQ(dst.getHeight(), 7);
    EXPECT_EQ(CountMismatches(dst, [&](int x, int y) { return src.at(x, y); }), 0);

    const auto before = src.pixels();
    PIX_Copy(&src, &src);
    EXPECT_EQ(src.pixels(), before);
    EXPECT_EQ(src.damagedCanaries(), 0);
}

}  // namespace
