#include "raster/scaled_blit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "raster_test_util.h"
#include "raster/blit.h"

namespace {

int Byte(uint32_t p, int c) { return int(p >> (8 * c) & 255); }

// The mean of the source's taps within `radius` of (cx, cy), byte by byte.
uint32_t BoxMean(PIX_IBitmap& src, int cx, int cy, int radius) {
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        int sum = 0, n = 0;
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (x >= 0 && y >= 0 && x < src.getWidth() && y < src.getHeight()) {
                    sum += Byte(Px(src, x, y), c);
                    ++n;
                }
        out |= uint32_t(sum / n) << (8 * c);
    }
    return out;
}

}  // namespace

TEST(ScaledBlit, FilteredReductionsAreBoxMeans) {
    const struct { int srcSize, destSize, factor, radius; } cases[] = {
        {100, 50, 2, 1},  // halving: 3 x 3
        {100, 25, 4, 2},  // quartering: 5 x 5
        {99, 33, 3, 1},   // exactly 3.0 still takes 3 x 3
        {90, 45, 2, 1},
    };
    for (const auto& c : cases) {
        PIX_MemBitmap src(c.srcSize, c.srcSize, 4), dst(c.destSize, c.destSize, 4);
        FillRandom(src, 7);
        Fill(dst, 0);
        PIX_ScaledBlit(&dst, &src, 0, 0, c.destSize, c.destSize, 0, 0, float(c.srcSize), float(c.srcSize), 1.0f,
                       PIX_MODE_FILTER_BILINEAR);
        EXPECT_EQ(CountMismatches(dst, [&](int x, int y) { return BoxMean(src, x * c.factor, y * c.factor, c.radius); }),
                  0)
            << c.srcSize << " -> " << c.destSize;
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
    // A filtered 2x enlargement of the top-left 10 x 10 of a larger source, drawn
    // whole and drawn partly off the left and top edges: the visible pixels agree, so
    // the clipped draw does not blend in pixels right of or below the source rectangle,
    // and it leaves everything past its own right and bottom edges alone.
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

