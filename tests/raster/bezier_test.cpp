#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>

#include "raster/bezier.h"
#include "raster/canary_bitmap.h"
#include "raster/line.h"
#include "raster/vector_test_util.h"

namespace {

using namespace vectortest;

TEST(QBezier, ShortCurveIsOneLine) {
    for (bool aa : {false, true}) {
        CanaryBitmap curve(30, 30), line(30, 30);
        // Control polygon 2.8 long, tolerance 1.5: fewer than two pieces.
        PIX_DrawQBezier(&curve, 5.2f, 5.0f, 6.2f, 6.0f, 7.2f, 5.0f, kWhite, 1.0f, 0, aa, 1.5f);
        PIX_FLine(&line, 5.2f, 5.0f, 7.2f, 5.0f, kWhite, 1.0f, 0, aa);
        EXPECT_EQ(curve.pixels(), line.pixels()) << aa;
    }
}

TEST(QBezier, DirectionClippingAndTolerance) {
    for (bool aa : {false, true}) {
        CanaryBitmap a(40, 30), b(40, 30);
        PIX_DrawQBezier(&a, 3.0f, 25.0f, 18.0f, -5.0f, 36.0f, 20.0f, kWhite, 1.0f, 0, aa, 1.0f);
        PIX_DrawQBezier(&b, 36.0f, 20.0f, 18.0f, -5.0f, 3.0f, 25.0f, kWhite, 1.0f, 0, aa, 1.0f);
        EXPECT_EQ(a.pixels(), b.pixels()) << "reversed, aa " << aa;
        // A tolerance of 0 or below means 1.0.
        for (float tol : {0.0f, -3.0f, NAN}) {
            CanaryBitmap c(40, 30);
            PIX_DrawQBezier(&c, 3.0f, 25.0f, 18.0f, -5.0f, 36.0f, 20.0f, kWhite, 1.0f, 0, aa, tol);
            EXPECT_EQ(c.pixels(), a.pixels()) << tol;
        }
    }
    // Starting at x -10, the curve is drawn from column 0 at its own height there; ending
    // beyond the right edge, it stops at the last column.
    CanaryBitmap bm(40, 30);
    PIX_DrawQBezier(&bm, -10.0f, 5.0f, 20.0f, 5.0f, 50.0f, 25.0f, kWhite, 1.0f, 0, false, 1.0f);
    const Pixels set = SetPixels(bm);
    int minX = 99, maxX = -1;
    for (auto [x, y] : set) minX = std::min(minX, x), maxX = std::max(maxX, x);
    EXPECT_EQ(minX, 0);
    EXPECT_EQ(maxX, 39);
    // x(t) = -10 + 60 t, y(t) = 5 + 20 t^2: at x = 0, t = 1/6 and y = 5.56.
    EXPECT_TRUE(set.count({0, 5}));
    EXPECT_EQ(bm.damagedCanaries(), 0);
    // Wholly left of the bitmap: nothing.
    CanaryBitmap left(40, 30);
    PIX_DrawQBezier(&left, -30.0f, 5.0f, -10.0f, 20.0f, -2.0f, 25.0f, kWhite, 1.0f, 0, true, 1.0f);
    EXPECT_TRUE(SetPixels(left).empty());
}

// Filling towards a row: every column between the ends is filled from the curve to the
// row (plus one when the curve lies above it), each pixel once.
TEST(FillCBezier, ColumnsReachTheRowOnce) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<float> any(-20.0f, 70.0f), above(-10.0f, 28.0f);
    for (int iter = 0; iter < 200; ++iter) {
        const float x0 = any(rng), x3 = any(rng);
        const float y[4] = {above(rng), above(rng), above(rng), above(rng)};
        const float x1 = any(rng), x2 = any(rng);
        CanaryBitmap bm(50, 40);
        PIX_FillCBezier(&bm, x0, y[0], x1, y[1], x2, y[2], x3, y[3], 30, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
        ASSERT_EQ(bm.damagedCanaries(), 0);
        for (int x = 0; x < 50; ++x) {
            int first = -1;
            for (int yy = 0; yy < 40; ++yy) {
                const uint32_t p = bm.at(x, yy);
                ASSERT_TRUE(p == 0 || p == kOne) << iter << " " << x << "," << yy;
                if (p && first < 0) first = yy;
                if (first >= 0 && yy <= 31) {
                    ASSERT_EQ(p, kOne) << iter << " gap at " << x << "," << yy;
                }
            }
            if (first >= 0) {
                EXPECT_EQ(bm.at(x, 32), 0u);
            }
        }
    }
}

TEST(FillCBezier, CrossingTheRowAndTheColumnForm) {
    // Rising through the fill row: above it columns fill down to row + 1, below it up to
    // the row.
    CanaryBitmap bm(40, 40);
    PIX_FillCBezier(&bm, 2.0f, 5.0f, 12.0f, 5.0f, 26.0f, 35.0f, 36.0f, 35.0f, 20, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
    EXPECT_EQ(bm.at(4, 5), kOne);
    EXPECT_EQ(bm.at(4, 21), kOne);
    EXPECT_EQ(bm.at(4, 22), 0u);
    EXPECT_EQ(bm.at(34, 20), kOne);
    EXPECT_EQ(bm.at(34, 19), 0u);
    EXPECT_EQ(bm.at(34, 34), kOne);
    // The column form is the same walk transposed.
    CanaryBitmap rows(40, 40), cols(40, 40);
    PIX_FillCBezier(&rows, 3.0f, 4.0f, 12.0f, 1.0f, 25.0f, 9.0f, 35.0f, 6.0f, 30, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
    PIX_FillCBezierX(&cols, 4.0f, 3.0f, 1.0f, 12.0f, 9.0f, 25.0f, 6.0f, 35.0f, 30, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(rows.at(x, y), cols.at(y, x)) << x << "," << y;
    EXPECT_EQ(rows.at(20, 31), kOne);
}

// Huge and non-finite control points finish at once and stay inside.
TEST(Curves, HugeAndNonFiniteInput) {
    const float values[] = {NAN, INFINITY, -INFINITY, -1e30f, -3e9f, -50.0f, 5.5f, 3e9f, 1e30f,
                            std::numeric_limits<float>::max()};
    const auto start = std::chrono::steady_clock::now();
    std::mt19937 rng(2);
    for (int iter = 0; iter < 300; ++iter) {
        float v[8];
        for (float& f : v) f = rng() % 3 ? values[rng() % 10] : float(rng() % 20);
        CanaryBitmap bm(20, 20);
        PIX_DrawQBezier(&bm, v[0], v[1], v[2], v[3], v[4], v[5], kWhite, 1.0f, 0, iter & 1, 0.5f);
        PIX_DrawCBezier(&bm, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], kWhite, 1.0f, 0, iter & 1, 0.5f);
        PIX_FillCBezier(&bm, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], 10, kWhite, 1.0f, 0, 0.5f);
        PIX_FillCBezierX(&bm, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], 10, kWhite, 1.0f, 0, 0.5f);
        ASSERT_EQ(bm.damagedCanaries(), 0);
        bool finite = true;
        for (int i = 0; i < 6; ++i) finite = finite && std::isfinite(v[i]);
        if (!finite) {
            ASSERT_TRUE(SetPixels(bm).empty()) << iter;
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(DrawRect, OutlineAndCorners) {
    CanaryBitmap bm(10, 10);
    PIX_DrawRect(&bm, 2, 3, 4, 2, kOne, 1.0f, PIX_MODE_ADD);
    // Columns 2..6, rows 3..5; each corner drawn twice.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool edge = (x == 2 || x == 6) && y >= 3 && y <= 5;
            const bool rim = (y == 3 || y == 5) && x >= 2 && x <= 6;
            const bool corner = edge && rim;
            EXPECT_EQ(bm.at(x, y), corner ? 2 * kOne : (edge || rim ? kOne : 0u)) << x << "," << y;
        }
    // Zero size: four one-pixel lines on the same pixel.
    CanaryBitmap dot(10, 10);
    PIX_DrawRect(&dot, 4, 4, 0, 0, kOne, 1.0f, PIX_MODE_ADD);
    EXPECT_EQ(dot.at(4, 4), 4 * kOne);
    EXPECT_EQ(SetPixels(dot).size(), 1u);
}

TEST(BorderedRect, FillInsideBorderAround) {
    CanaryBitmap bm(10, 10);
    PIX_BorderedRect(&bm, 1, 1, 5, 4, 0x11111111u, kWhite, 1.0f, 0);
    EXPECT_EQ(bm.at(1, 1), kWhite);
    EXPECT_EQ(bm.at(6, 5), kWhite);
    EXPECT_EQ(bm.at(2, 2), 0x11111111u);
    EXPECT_EQ(bm.at(5, 4), 0x11111111u);
    EXPECT_EQ(bm.at(7, 2), 0u);
    EXPECT_EQ(SetPixels(bm).size(), 30u);
}

}  // namespace
