// Reference images of the shapes the editor draws, each checked by eye once.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "raster/bezier.h"
#include "raster/canary_bitmap.h"
#include "raster/circle.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "support/golden.h"

namespace {

constexpr int kW = 64, kH = 48;

struct Golden {
    const char* name;
    std::function<void(PIX_IBitmap*)> draw;
};

const uint32_t kYellow = PIX_MakePixel(255, 255, 255, 0), kBlue = PIX_MakePixel(255, 0, 0, 255);
const uint32_t kWhite = PIX_MakePixel(255, 255, 255, 255), kRed = PIX_MakePixel(255, 255, 0, 0);

const Golden kGoldens[] = {
    {"triangles",
     [](PIX_IBitmap* bm) {
         PIX_FillTriangle(bm, 4, 40, 30, 3, 40, 44, kYellow, 1.0f, 0);
         PIX_FillTriangle(bm, 20, 20, 62, 10, 50, 47, kBlue, 0.5f, 0);
         PIX_FillTriangle(bm, -10, 30, 70, 35, 20, 60, kWhite, 0.3f, PIX_MODE_ADD);
         PIX_FillTriangle(bm, 45, -5, 63, 0, 60, 25, kRed, 1.0f, PIX_MODE_MULTIPLY);
     }},
    {"lines",
     [](PIX_IBitmap* bm) {
         for (int i = 0; i < 16; ++i) {
             const double a = i * std::numbers::pi / 8;
             const int x = 20 + int(std::lround(17 * std::cos(a))), y = 22 + int(std::lround(17 * std::sin(a)));
             PIX_Line(bm, 20, 22, x, y, kWhite, 1.0f, 0, (i & 1) != 0);
         }
         PIX_FLine(bm, 40.3f, 2.7f, 61.8f, 45.2f, kYellow, 1.0f, 0, true);
         PIX_FLine(bm, 40.3f, 45.2f, 63.5f, 30.1f, kYellow, 0.6f, 0, true);
         PIX_Line(bm, 38, 46, 63, 46, kRed, 0.5f, 0, false);
     }},
    {"dashed_lines",
     [](PIX_IBitmap* bm) {
         PIX_DashedLine(bm, 2, 3, 61, 3, 2, 2, kWhite, 1.0f, 0);
         PIX_DashedLine(bm, 2, 44, 61, 44, 5, 3, kYellow, 0.5f, 0);
         PIX_DashedLine(bm, 3, 5, 3, 42, 1, 1, kWhite, 1.0f, 0);
         PIX_DashedLine(bm, 60, 42, 60, 5, 4, 2, kRed, 1.0f, PIX_MODE_ADD);
     }},
    {"quadratic_curves",
     [](PIX_IBitmap* bm) {
         PIX_DrawQBezier(bm, -5.0f, 40.0f, 20.0f, -10.0f, 40.0f, 30.0f, kWhite, 1.0f, 0, true, 1.0f);
         PIX_DrawQBezier(bm, 30.0f, 30.0f, 45.0f, 60.0f, 70.0f, 10.0f, kYellow, 1.0f, 0, true, 1.0f);
         PIX_DrawQBezier(bm, 2.0f, 10.0f, 30.0f, 40.0f, 60.0f, 5.0f, kRed, 1.0f, 0, false, 2.0f);
     }},
    {"antialiased_discs",
     [](PIX_IBitmap* bm) {
         PIX_FillCircle(bm, 12.0f, 12.0f, 9.5f, kWhite, 1.0f, 0, true);
         PIX_FillCircle(bm, 35.3f, 14.6f, 5.25f, kYellow, 1.0f, 0, true);
         PIX_FillCircle(bm, 52.0f, 34.0f, 14.0f, kBlue, 0.7f, 0, true);
         PIX_FillCircle(bm, 20.0f, 36.0f, 3.0f, kRed, 1.0f, 0, true);
         PIX_FillCircle(bm, 30.0f, 40.0f, 1.5f, kWhite, 1.0f, 0, true);
         PIX_FillCircle(bm, -2.0f, 47.0f, 6.6f, kWhite, 1.0f, PIX_MODE_ADD, true);
         PIX_Circle(bm, 35.0f, 30.0f, 7.4f, kWhite, 1.0f, 0, true);
     }},
};

TEST(VectorGolden, Images) {
    for (const auto& g : kGoldens) {
        CanaryBitmap bm(kW, kH);
        for (int y = 0; y < kH; ++y)  // a soft gradient, so that blends show
            for (int x = 0; x < kW; ++x) bm.at(x, y) = PIX_MakePixel(255, 40 + y * 3, 60 + x, 90);
        g.draw(&bm);
        EXPECT_EQ(bm.damagedCanaries(), 0) << g.name;
        EXPECT_TRUE(testutil::MatchesGolden(bm, std::string("vector_") + g.name));
    }
}

}  // namespace
