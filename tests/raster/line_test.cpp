#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/line.h"
#include "raster/vector_test_util.h"

namespace {

using namespace vectortest;

TEST(ClipLine, Cases) {
    const struct {
        std::vector<int> in, out;  // out empty: rejected
    } cases[] = {
        {{-10, 5, 20, 5}, {0, 5, 9, 5}},   {{3, 3, 6, 7}, {3, 3, 6, 7}},     {{-5, -1, 3, -1}, {}},
        {{-4, -4, 13, 13}, {0, 0, 9, 9}},  {{5, 20, 5, -20}, {5, 9, 5, 0}},  {{-20, 0, 0, 20}, {}},
        // Crossings truncated, bottom and right ones taken at 10 then put on row or column 9.
        {{0, 0, 20, 40}, {0, 0, 5, 9}},    {{-20, 2, 20, 6}, {0, 4, 9, 5}},  {{3, -30, 7, 30}, {5, 0, 5, 9}},
        {{-7, 1, 14, 8}, {0, 3, 9, 6}},
    };
    for (const auto& c : cases) {
        std::vector<int> v = c.in;
        EXPECT_EQ(PIX_ClipLine(&v[0], &v[1], &v[2], &v[3], 10, 10), !c.out.empty()) << c.in[0] << "," << c.in[1];
        if (!c.out.empty()) { EXPECT_EQ(v, c.out); }
    }
    // The float clipper, one crossing with each edge; the bottom and right ones are
    // taken at row or column 9, then put on 8.
    const std::vector<float> floats[][2] = {{{2, -4, 6, 4}, {4, 0, 6, 4}}, {{-4, 2, 4, 6}, {0, 4, 4, 6}},
                                            {{2, 5, 6, 13}, {2, 5, 4, 8}}, {{5, 2, 13, 6}, {5, 2, 8, 4}}};
    for (const auto& [in, out] : floats) {
        std::vector<float> v = in;
        EXPECT_TRUE(PIX_ClipFLine(&v[0], &v[1], &v[2], &v[3], 10, 10));
        EXPECT_EQ(v, out) << in[0] << "," << in[1];
    }
    // The rectangle form shifts there and back.
    std::vector<int> v = {-10, 25, 40, 25};
    EXPECT_TRUE(PIX_ClipLineToRect(&v[0], &v[1], &v[2], &v[3], 10, 20, 20, 30));
    EXPECT_EQ(v, (std::vector{10, 25, 19, 25}));
}

TEST(Line, ShapesAndEdgeCases) {
    const struct {
        const char* name;
        int x1, y1, x2, y2;
        bool flipped;
        Pixels want;
    } cases[] = {
        {"single point", 4, 4, 4, 4, false, {{4, 4}}},
        {"clipped horizontal", -5, 0, 3, 0, false, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {"row above the bitmap", -5, -1, 30, -1, false, {}},
        {"vertical reversed", 2, 3, 2, 1, false, {{2, 1}, {2, 2}, {2, 3}}},
        {"diagonal", 1, 5, 4, 2, false, {{1, 5}, {2, 4}, {3, 3}, {4, 2}}},
        {"flipped", 0, 0, 2, 0, true, {{0, 0}, {1, 0}, {2, 0}}},
        // The minor coordinate moves at the half-pixel crossing, a tie included.
        {"general", 0, 0, 4, 2, false, {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}}},
        {"general, steep", 5, 0, 3, 5, false, {{5, 0}, {5, 1}, {4, 2}, {4, 3}, {3, 4}, {3, 5}}},
    };
    for (const auto& c : cases) {
        CanaryBitmap bm(8, 8, c.flipped);
        PIX_Line(&bm, c.x1, c.y1, c.x2, c.y2, kWhite, 1.0f, 0, false);
        EXPECT_EQ(SetPixels(bm), c.want) << c.name;
        EXPECT_EQ(bm.damagedCanaries(), 0) << c.name;
    }
    // Off the whole-word paths an anti-aliased diagonal takes 3w/4, its side w/4.
    CanaryBitmap bm(8, 8);
    Fill(bm, kWhite);
    PIX_Line(&bm, 5, 1, 2, 4, 0, 0.5f, 0, true);
    EXPECT_EQ((std::vector{WeightAt(bm, 4, 2), WeightAt(bm, 4, 1), WeightAt(bm, 5, 2)}), (std::vector{96, 32, 32}));
}

// Random lines in all eight octants, each drawn both ways. Plain: one pixel per major
// position, each hit once. Anti-aliased: each major position's two weights add up to
// 255 and their weighted centre lies on the exact line.
TEST(Line, OctantsAndReversal) {
    std::mt19937 rng(5);
    for (int iter = 0; iter < 500; ++iter) {
        const int x1 = 20 + int(rng() % 40), y1 = 20 + int(rng() % 40);
        const int x2 = 20 + int(rng() % 40), y2 = 20 + int(rng() % 40);
        const int dx = x2 - x1, dy = y2 - y1;
        SCOPED_TRACE(testing::Message() << x1 << "," << y1 << " " << x2 << "," << y2);
        CanaryBitmap a(80, 80), b(80, 80);
        PIX_Line(&a, x1, y1, x2, y2, kOne, 1.0f, PIX_MODE_ADD, false);
        PIX_Line(&b, x2, y2, x1, y1, kOne, 1.0f, PIX_MODE_ADD, false);
        ASSERT_EQ(a.pixels(), b.pixels());
        const auto set = SetPixels(a);
        for (auto [x, y] : set) ASSERT_EQ(a.at(x, y), kOne);
        ASSERT_EQ(int(set.size()), std::max(std::abs(dx), std::abs(dy)) + 1);

        if (dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy)) continue;
        Fill(a, kWhite);
        Fill(b, kWhite);
        PIX_Line(&a, x1, y1, x2, y2, 0, 1.0f, 0, true);
        PIX_Line(&b, x2, y2, x1, y1, 0, 1.0f, 0, true);
        ASSERT_EQ(a.pixels(), b.pixels());
        ExpectCentredOnLine(a, x1, y1, x2, y2, false);
    }
}

TEST(FLine, EdgeCases) {
    CanaryBitmap bm(10, 10);
    Fill(bm, kWhite);
    PIX_FLine(&bm, 1.5f, 1.0f, 5.5f, 1.0f, 0, 1.0f, 0, true);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(std::pair(WeightAt(bm, x, 1), WeightAt(bm, x, 2)), std::pair(x >= 2 && x <= 5 ? 255 : 0, 0)) << x;
    const struct {
        float x1, y1, x2, y2;
        bool aaOnly;  // shorter than a pixel: the plain form still sets one
    } nothing[] = {
        {2.3f, 1.0f, 2.9f, 1.2f, true}, {3.0f, 3.0f, 3.0f, 3.0f, true}, {NAN, 1, 5, 5, false},
        {1, INFINITY, 5, 5, false},     {1, 1, -INFINITY, 5, false},    {-5, 12, 40, 30, false},
    };
    for (const auto& c : nothing)
        for (bool aa : {true, false}) {
            CanaryBitmap t(10, 10);
            PIX_FLine(&t, c.x1, c.y1, c.x2, c.y2, kWhite, 1.0f, 0, aa);
            if (aa || !c.aaOnly) { EXPECT_TRUE(SetPixels(t).empty()) << c.x1 << " " << aa; }
            EXPECT_EQ(t.damagedCanaries(), 0);
        }
    // Weight-0 partners are skipped: in HSV mode they would still be rewritten, alpha byte
    // included.
    Fill(bm, 0x00204011u);
    PIX_FLine(&bm, 1.0f, 4.0f, 8.0f, 4.0f, 0x80808080u, 1.0f, PIX_MODE_HSVADJUST, true);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(bm.at(x, 5), 0x00204011u) << x;
}

// Lines reaching past the edges never write outside (the second pixel of a pair can
// round one row out); unclipped ones give the same pixels both ways, carry 255 per
// major position and are centred on the line.
TEST(FLine, AntiAliasedWeightsAndReversal) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> any(-5.0f, 45.0f), in(2.0f, 37.0f);
    for (int iter = 0; iter < 400; ++iter) {
        for (auto* dist : {&any, &in}) {
            const float x1 = (*dist)(rng), y1 = (*dist)(rng), x2 = (*dist)(rng), y2 = (*dist)(rng);
            SCOPED_TRACE(testing::Message() << x1 << "," << y1 << " " << x2 << "," << y2);
            CanaryBitmap a(40, 40), b(40, 40);
            Fill(a, kWhite);
            Fill(b, kWhite);
            PIX_FLine(&a, x1, y1, x2, y2, 0, 1.0f, 0, true);
            PIX_FLine(&b, x2, y2, x1, y1, 0, 1.0f, 0, true);
            ASSERT_EQ(a.damagedCanaries() + b.damagedCanaries(), 0);
            // Clipping rounds differently from each end; unclipped lines match exactly.
            const bool inside = std::min({x1, y1, x2, y2}) >= 0 && std::max({x1, y1, x2, y2}) < 39;
            if (inside) { ASSERT_EQ(a.pixels(), b.pixels()); }
            if (dist == &any) continue;
            ExpectCentredOnLine(a, x1, y1, x2, y2, true);
        }
    }
}

TEST(DashedLine, Patterns) {
    const struct {
        const char* name;
        int x1, y1, x2, y2, on, off;
        Pixels want;
    } cases[] = {
        {"3 on 2 off", 0, 0, 10, 0, 3, 2, {{0, 0}, {1, 0}, {2, 0}, {5, 0}, {6, 0}, {7, 0}}},
        {"reversed ends", 10, 0, 0, 0, 3, 2, {{0, 0}, {1, 0}, {2, 0}, {5, 0}, {6, 0}, {7, 0}}},
        {"1/1 vertical to row 3", 4, 0, 4, 3, 1, 1, {{4, 0}, {4, 2}}},
        {"1/1 vertical to row 2", 4, 0, 4, 2, 1, 1, {{4, 0}}},
        {"clipped at the bottom", 4, 16, 4, 40, 2, 2, {{4, 16}, {4, 17}}},
        {"zero length", 3, 3, 3, 3, 2, 2, {}},
        {"diagonal", 0, 0, 5, 5, 2, 2, {}},
        {"pattern that does not advance", 0, 0, 10, 0, 2, -2, {}},
        {"nothing on", 0, 0, 10, 0, 0, 3, {}},
    };
    for (const auto& c : cases) {
        CanaryBitmap bm(20, 20);
        PIX_DashedLine(&bm, c.x1, c.y1, c.x2, c.y2, c.on, c.off, kWhite, 1.0f, 0);
        EXPECT_EQ(SetPixels(bm), c.want) << c.name;
        EXPECT_EQ(bm.damagedCanaries(), 0) << c.name;
    }
}

}  // namespace
