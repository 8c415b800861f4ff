#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/line.h"
#include "raster/vector_test_util.h"

namespace {

using namespace vectortest;

TEST(ClipLine, Cases) {
    struct Case {
        int x1, y1, x2, y2;
        bool inside;
        int cx1, cy1, cx2, cy2;
    };
    const Case cases[] = {
        {-10, 5, 20, 5, true, 0, 5, 9, 5},
        {3, 3, 6, 7, true, 3, 3, 6, 7},
        {-5, -1, 3, -1, false, -5, -1, 3, -1},
        {-4, -4, 13, 13, true, 0, 0, 9, 9},
        {5, 20, 5, -20, true, 5, 9, 5, 0},
        {-20, 0, 0, 20, false, 0, 20, 0, 20},
    };
    for (const auto& c : cases) {
        int x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        EXPECT_EQ(PIX_ClipLine(&x1, &y1, &x2, &y2, 10, 10), c.inside) << c.x1 << "," << c.y1;
        if (c.inside) {
            EXPECT_EQ((std::vector{x1, y1, x2, y2}), (std::vector{c.cx1, c.cy1, c.cx2, c.cy2}));
        }
    }
    // The rectangle form shifts there and back.
    int x1 = -10, y1 = 25, x2 = 40, y2 = 25;
    EXPECT_TRUE(PIX_ClipLineToRect(&x1, &y1, &x2, &y2, 10, 20, 20, 30));
    EXPECT_EQ((std::vector{x1, y1, x2, y2}), (std::vector{10, 25, 19, 25}));
}

// End points at the extremes of int: the differences are taken in 64 bits and the clip
// loop is bounded, so every call ends with the segment inside or rejected.
TEST(ClipLine, ExtremeCoordinates) {
    const int big = std::numeric_limits<int>::max(), small = std::numeric_limits<int>::min();
    const int values[] = {small, small + 1, -1000000, -1, 0, 5, 9, 10, 1000000, big - 1, big};
    for (int a : values)
        for (int b : values)
            for (int c : values) {
                int x1 = a, y1 = b, x2 = c, y2 = a ^ b;
                if (PIX_ClipLine(&x1, &y1, &x2, &y2, 10, 10)) {
                    for (int v : {x1, y1, x2, y2}) ASSERT_TRUE(v >= 0 && v < 10) << a << " " << b << " " << c;
                }
                CanaryBitmap bm(10, 10);
                PIX_Line(&bm, a, b, c, a ^ b, kWhite, 1.0f, 0, (a & 1) != 0);
                ASSERT_EQ(bm.damagedCanaries(), 0);
            }
}

TEST(Line, ShapesAndEdgeCases) {
    struct Case {
        const char* name;
        int x1, y1, x2, y2;
        bool flipped;
        Pixels want;
    };
    const Case cases[] = {
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
}

TEST(Line, AntiAliasedDiagonal) {
    CanaryBitmap bm(8, 8);
    FillWith(bm, kWhite);
    PIX_Line(&bm, 1, 1, 4, 4, 0, 1.0f, 0, true);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(bm.at(i, i), 0x3f3f3f3fu) << i;  // three quarters colour
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(bm.at(i + 1, i), 0xbebebebeu) << i;  // (255 >> 1) + (255 >> 2)
        EXPECT_EQ(bm.at(i, i + 1), 0xbebebebeu) << i;
    }
    EXPECT_EQ(bm.at(1, 0), kWhite);
    // At other weights: 3aw/4 on the diagonal, aw/4 beside it.
    FillWith(bm, kWhite);
    PIX_Line(&bm, 5, 1, 2, 4, 0, 0.5f, 0, true);
    EXPECT_EQ(WeightAt(bm, 4, 2), 96);
    EXPECT_EQ(WeightAt(bm, 4, 1), 32);
    EXPECT_EQ(WeightAt(bm, 5, 2), 32);
}

// Anti-aliased lines in all eight octants: each major position's two weights add up to
// 255 and their weighted centre lies on the exact line; drawn in reverse they give the
// same pixels.
TEST(Line, AntiAliasedOctants) {
    std::mt19937 rng(5);
    for (int iter = 0; iter < 400; ++iter) {
        const int x1 = 20 + int(rng() % 40), y1 = 20 + int(rng() % 40);
        const int x2 = 20 + int(rng() % 40), y2 = 20 + int(rng() % 40);
        const int dx = x2 - x1, dy = y2 - y1;
        if (dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy)) continue;
        CanaryBitmap bm(80, 80), reversed(80, 80);
        FillWith(bm, kWhite);
        FillWith(reversed, kWhite);
        PIX_Line(&bm, x1, y1, x2, y2, 0, 1.0f, 0, true);
        PIX_Line(&reversed, x2, y2, x1, y1, 0, 1.0f, 0, true);
        ASSERT_EQ(bm.pixels(), reversed.pixels()) << x1 << "," << y1 << " " << x2 << "," << y2;
        const bool xMajor = std::abs(dx) > std::abs(dy);
        const int n = std::abs(xMajor ? dx : dy);
        for (int k = 1; k < n; ++k) {
            const double t = double(k) / n;
            const int major = (xMajor ? x1 : y1) + (xMajor ? (dx > 0 ? k : -k) : (dy > 0 ? k : -k));
            const double exact = (xMajor ? y1 + t * dy : x1 + t * dx);
            const CrossSection c = CrossSectionAt(bm, xMajor, major, exact);
            ASSERT_EQ(c.sum, 255) << "line " << x1 << "," << y1 << " " << x2 << "," << y2 << " step " << k;
            ASSERT_NEAR(c.centre, exact, 0.02) << "line " << x1 << "," << y1 << " " << x2 << "," << y2;
        }
    }
}

TEST(Line, AliasedLinesAreSymmetric) {
    std::mt19937 rng(9);
    for (int iter = 0; iter < 500; ++iter) {
        const int x1 = int(rng() % 30), y1 = int(rng() % 30), x2 = int(rng() % 30), y2 = int(rng() % 30);
        CanaryBitmap a(30, 30), b(30, 30);
        PIX_Line(&a, x1, y1, x2, y2, kOne, 1.0f, PIX_MODE_ADD, false);
        PIX_Line(&b, x2, y2, x1, y1, kOne, 1.0f, PIX_MODE_ADD, false);
        ASSERT_EQ(a.pixels(), b.pixels());
        // Each pixel once, one per major position.
        const auto set = SetPixels(a);
        for (auto [x, y] : set) ASSERT_EQ(a.at(x, y), kOne);
        ASSERT_EQ(int(set.size()), std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1);
    }
}

TEST(FLine, EdgeCases) {
    {
        CanaryBitmap bm(10, 10);
        FillWith(bm, kWhite);
        PIX_FLine(&bm, 1.5f, 1.0f, 5.5f, 1.0f, 0, 1.0f, 0, true);
        for (int x = 0; x < 10; ++x) EXPECT_EQ(WeightAt(bm, x, 1), x >= 2 && x <= 5 ? 255 : 0) << x;
        for (int x = 0; x < 10; ++x) EXPECT_EQ(bm.at(x, 2), kWhite);
    }
    const struct {
        float x1, y1, x2, y2;
    } nothing[] = {
        {2.3f, 1.0f, 2.9f, 1.2f},
        {3.0f, 3.0f, 3.0f, 3.0f},
        {NAN, 1, 5, 5},
        {1, INFINITY, 5, 5},
        {1, 1, -INFINITY, 5},
        {-5, 12, 40, 30},
    };
    for (const auto& c : nothing)
        for (bool aa : {true, false}) {
            CanaryBitmap bm(10, 10);
            PIX_FLine(&bm, c.x1, c.y1, c.x2, c.y2, kWhite, 1.0f, 0, aa);
            if (aa || !(c.x1 == 2.3f || c.x1 == 3.0f)) {
                EXPECT_TRUE(SetPixels(bm).empty()) << c.x1 << " " << aa;
            }
            EXPECT_EQ(bm.damagedCanaries(), 0);
        }
    // Weight-0 partners are skipped: in HSV mode they would still be rewritten.
    CanaryBitmap bm(10, 10);
    FillWith(bm, 0x00204080u);
    PIX_FLine(&bm, 1.0f, 4.0f, 8.0f, 4.0f, 0x80808080u, 1.0f, PIX_MODE_HSVADJUST, true);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(bm.at(x, 5), 0x00204080u) << x;
}

TEST(FLine, AntiAliasedWeightsAndReversal) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> pos(-5.0f, 45.0f);
    for (int iter = 0; iter < 400; ++iter) {
        const float x1 = pos(rng), y1 = pos(rng), x2 = pos(rng), y2 = pos(rng);
        CanaryBitmap a(40, 40), b(40, 40);
        FillWith(a, kWhite);
        FillWith(b, kWhite);
        PIX_FLine(&a, x1, y1, x2, y2, 0, 1.0f, 0, true);
        PIX_FLine(&b, x2, y2, x1, y1, 0, 1.0f, 0, true);
        // Clipping rounds differently from each end; unclipped lines match exactly.
        const bool inside = std::min({x1, y1, x2, y2}) >= 0 && std::max({x1, y1, x2, y2}) < 39;
        if (inside) {
            ASSERT_EQ(a.pixels(), b.pixels()) << x1 << "," << y1 << " " << x2 << "," << y2;
        }
        ASSERT_EQ(a.damagedCanaries(), 0);
        ASSERT_EQ(b.damagedCanaries(), 0);
    }
    // Inside the bitmap each major position carries 255 in total, centred on the line.
    for (int iter = 0; iter < 300; ++iter) {
        std::uniform_real_distribution<float> in(2.0f, 37.0f);
        const float x1 = in(rng), y1 = in(rng), x2 = in(rng), y2 = in(rng);
        const bool xMajor = std::fabs(y2 - y1) < std::fabs(x2 - x1);
        CanaryBitmap bm(40, 40);
        FillWith(bm, kWhite);
        PIX_FLine(&bm, x1, y1, x2, y2, 0, 1.0f, 0, true);
        const float ma = xMajor ? x1 : y1, mb = xMajor ? x2 : y2, na = xMajor ? y1 : x1, nb = xMajor ? y2 : x2;
        for (int major = int(std::ceil(std::min(ma, mb))); major <= int(std::floor(std::max(ma, mb))); ++major) {
            const double exact = na + (nb - na) * (major - ma) / double(mb - ma);
            const CrossSection c = CrossSectionAt(bm, xMajor, major, exact);
            ASSERT_EQ(c.sum, 255) << iter;
            ASSERT_NEAR(c.centre, exact, 0.02) << iter;
        }
    }
}

// Far-away, huge and non-finite end points finish at once and stay inside the bitmap.
TEST(FLine, HugeCoordinates) {
    const float values[] = {-1e30f, -3e9f, -1e6f, -0.5f, 3.5f, 9.99f, 1e6f, 3e9f, 1e30f,
                            std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
    const auto start = std::chrono::steady_clock::now();
    for (float a : values)
        for (float b : values)
            for (float c : values)
                for (bool aa : {false, true}) {
                    CanaryBitmap bm(10, 10);
                    PIX_FLine(&bm, a, b, c, 4.0f, kWhite, 1.0f, 0, aa);
                    PIX_FLine(&bm, 4.0f, a, b, c, kWhite, 0.5f, 1, aa);
                    ASSERT_EQ(bm.damagedCanaries(), 0);
                }
    // Generous: a few thousand short lines; an unbounded clip walk would never end.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(DashedLine, Patterns) {
    struct Case {
        const char* name;
        int x1, y1, x2, y2, on, off;
        Pixels want;
    };
    const Case cases[] = {
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
    // Modes: add at weight 128 on every "on" pixel; mode 6 nothing.
    CanaryBitmap bm(20, 20);
    PIX_DashedLine(&bm, 0, 1, 6, 1, 2, 1, 0x80808080u, 0.5f, PIX_MODE_ADD);
    PIX_DashedLine(&bm, 0, 2, 6, 2, 2, 1, kWhite, 1.0f, 6);
    EXPECT_EQ(SetPixels(bm), (Pixels{{0, 1}, {1, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(bm.at(0, 1), 0x40404040u);
}

}  // namespace
