#include "raster/bitmap_ops.h"
#include "raster/scaled_blit.h"
#include "raster/transform_blit.h"

#include <gtest/gtest.h>

#include <numbers>
#include <random>

#include "raster_test_util.h"

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

TEST(TransformBlit, GridOnTheSourceCornersIsTheIdentity) {
    PIX_MemBitmap src(12, 12, 4), a(12, 12, 4), b(12, 12, 4), c(12, 12, 4);
    FillRandom(src, 44);
    for (PIX_MemBitmap* bm : {&a, &b, &c}) Fill(*bm, 0);
    const float grid2[] = {0, 0, 12, 0, 0, 12, 12, 12};
    const double grid3[] = {0, 0, 6, 0, 12, 0, 0, 6, 6, 6, 12, 6, 0, 12, 6, 12, 12, 12};
    const double grid3a[] = {0, 0, 1, 6, 0, 1, 12, 0, 1, 0, 6, 1, 6, 6, 1, 12, 6, 1, 0, 12, 1, 6, 12, 1, 12, 12, 1};
    PIX_TransformBlit(&a, &src, 0, 0, 12, 12, grid2, 2, 2, 1.0f, 0);
    PIX_TransformBlit2(&b, &src, 0, 0, 12, 12, grid3, 3, 3, 1.0f, 0);
    PIX_TransformBlit2Alpha(&c, &src, 0, 0, 12, 12, grid3a, 3, 3, 0);
    EXPECT_EQ(CountDifferent(a, src) + CountDifferent(b, src) + CountDifferent(c, src), 0);
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

TEST(BitmapCmp, ReportsOrderSizeAndDifferences) {
    PIX_MemBitmap a(6, 4, 4), b(6, 4, 4), wide(7, 4, 4), tall(6, 5, 4);
    FlippedMemBitmap flipped(6, 4, 4);
    FillRandom(a, 3);
    FillRandom(b, 3);
    FillRandom(flipped, 3);
    const struct { PIX_IBitmap *x, *y; int want; } order[] = {{&a, &wide, 1}, {&tall, &a, -1}, {&a, &flipped, 0}};
    for (const auto& c : order) EXPECT_EQ(PIX_BitmapCmp(c.x, c.y, nullptr), c.want);

    Px(b, 1, 2) ^= 0x00000001u;  // alpha only
    Px(b, 4, 1) ^= 0x00000010u;
    int rect[4] = {9, 9, 9, 9};
    EXPECT_NE(PIX_BitmapCmp(&a, &b, nullptr), 0);
    EXPECT_EQ(PIX_BitmapCmpEx(&a, &b, 0xffffff00u, rect), 0);
    EXPECT_EQ(rect[0] | rect[1] | rect[2] | rect[3], 0);
    EXPECT_EQ(PIX_BitmapCmp(&a, &b, rect), 1);
    EXPECT_EQ(std::vector<int>(rect, rect + 4), (std::vector<int>{1, 1, 4, 2}));
    // The sign follows the first differing bytes.
    Px(a, 0, 0) = 0;
    Px(b, 0, 0) = 1;
    EXPECT_EQ(PIX_BitmapCmp(&a, &b, nullptr), -1);
    EXPECT_EQ(PIX_BitmapCmp(&b, &a, nullptr), 1);
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
    }
}
