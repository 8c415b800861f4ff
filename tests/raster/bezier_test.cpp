#include <gtest/gtest.h>

#include <random>

#include "raster/bezier.h"
#include "raster/canary_bitmap.h"
#include "raster/vector_test_util.h"

namespace {

using namespace vectortest;

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

}  // namespace
