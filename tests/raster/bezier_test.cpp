#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "raster/bezier.h"
#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/line.h"
#include "raster/vector_test_util.h"

namespace {

using namespace vectortest;

TEST(QBezier, ShortCurvesDirectionClippingAndTolerance) {
    for (bool aa : {false, true}) {
        // Control polygon 2.8 long, tolerance 1.5: fewer than two pieces, so one line.
        CanaryBitmap curve(30, 30), line(30, 30);
        PIX_DrawQBezier(&curve, 5.2f, 5.0f, 6.2f, 6.0f, 7.2f, 5.0f, kWhite, 1.0f, 0, aa, 1.5f);
        PIX_FLine(&line, 5.2f, 5.0f, 7.2f, 5.0f, kWhite, 1.0f, 0, aa);
        EXPECT_EQ(curve.pixels(), line.pixels()) << aa;

        CanaryBitmap a(40, 30), b(40, 30);
        PIX_DrawQBezier(&a, 3.0f, 25.0f, 18.0f, -5.0f, 36.0f, 20.0f, kWhite, 1.0f, 0, aa, 1.0f);
        PIX_DrawQBezier(&b, 36.0f, 20.0f, 18.0f, -5.0f, 3.0f, 25.0f, kWhite, 1.0f, 0, aa, 1.0f);
        EXPECT_EQ(a.pixels(), b.pixels()) << "reversed, aa " << aa;
        for (float tol : {0.0f, -3.0f, NAN}) {  // a tolerance of 0 or below means 1.0
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
    EXPECT_EQ(set.begin()->first, 0);
    EXPECT_EQ(set.rbegin()->first, 39);
    EXPECT_TRUE(set.count({0, 5}));  // x(t) = -10 + 60 t, y(t) = 5 + 20 t^2: y(1/6) = 5.56
    EXPECT_EQ(bm.damagedCanaries(), 0);
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
        const float x0 = any(rng), x3 = any(rng), x1 = any(rng), x2 = any(rng);
        const float y[4] = {above(rng), above(rng), above(rng), above(rng)};
        CanaryBitmap bm(50, 40);
        PIX_FillCBezier(&bm, x0, y[0], x1, y[1], x2, y[2], x3, y[3], 30, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
        ASSERT_EQ(bm.damagedCanaries(), 0);
        for (int x = 0; x < 50; ++x) {
            int first = -1;
            for (int yy = 0; yy < 40; ++yy) {
                const uint32_t p = bm.at(x, yy);
                ASSERT_TRUE(p == 0 || p == kOne) << iter << " " << x << "," << yy;
                if (p && first < 0) first = yy;
                if (first >= 0 && yy <= 31) { ASSERT_EQ(p, kOne) << iter << " gap at " << x << "," << yy; }
            }
            if (first >= 0) { EXPECT_EQ(bm.at(x, 32), 0u); }
        }
    }
}

TEST(FillCBezier, CrossingTheRowAndTheColumnForm) {
    // Rising through the fill row: above it columns fill down to row + 1, below it up to
    // the row.
    CanaryBitmap bm(40, 40);
    PIX_FillCBezier(&bm, 2.0f, 5.0f, 12.0f, 5.0f, 26.0f, 35.0f, 36.0f, 35.0f, 20, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
    EXPECT_EQ((std::vector{bm.at(4, 5), bm.at(4, 21), bm.at(4, 22)}), (std::vector{kOne, kOne, 0u}));
    EXPECT_EQ((std::vector{bm.at(34, 19), bm.at(34, 20), bm.at(34, 34)}), (std::vector{0u, kOne, kOne}));
    // The column form is the same walk transposed.
    CanaryBitmap rows(40, 40), cols(40, 40);
    PIX_FillCBezier(&rows, 3.0f, 4.0f, 12.0f, 1.0f, 25.0f, 9.0f, 35.0f, 6.0f, 30, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
    PIX_FillCBezierX(&cols, 4.0f, 3.0f, 1.0f, 12.0f, 9.0f, 25.0f, 6.0f, 35.0f, 30, kOne, 1.0f, PIX_MODE_ADD, 1.0f);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(rows.at(x, y), cols.at(y, x)) << x << "," << y;
    EXPECT_EQ(rows.at(20, 31), kOne);
}

// Huge and non-finite control points stay inside (and finish: the piece count is capped
// by the visible size); a non-finite point draws nothing.
TEST(Curves, HugeAndNonFiniteInput) {
    const float values[] = {NAN, INFINITY, -INFINITY, -1e30f, -3e9f, -50.0f, 5.5f, 3e9f, 1e30f,
                            std::numeric_limits<float>::max()};
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
        const bool finite = std::all_of(v, v + 6, [](float f) { return std::isfinite(f); });
        if (!finite) { ASSERT_TRUE(SetPixels(bm).empty()) << iter; }
    }
}

}  // namespace
