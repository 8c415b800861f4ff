// Every vector operation blends with the combiner of its mode's low byte at the call's
// weight, except where it has a whole-word copy form, and each family has its own set.
#include <gtest/gtest.h>

#include <functional>

#include "raster/canary_bitmap.h"
#include "raster/circle.h"
#include "raster/combiners.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "raster/vector_test_util.h"

namespace {

constexpr uint32_t kDest = 0x40c08003u, kColour = 0xfe0381c2u;

uint32_t Combined(uint32_t mode, int w) {
    uint32_t p = kDest;
    PIX_CombinePixelsByMode(reinterpret_cast<uint8_t*>(&p), PIX_PixelR(kColour), PIX_PixelG(kColour),
                            PIX_PixelB(kColour), PIX_PixelA(kColour), w, mode & 0xff);
    return p;
}
uint32_t HalfSum() {
    uint32_t r = 0;
    for (int i = 0; i < 32; i += 8) r |= (((kDest >> i & 255) + (kColour >> i & 255)) >> 1) << i;
    return r;
}

enum Family { kFill, kRun, kPlain, kWeighted };

// What a pixel drawn at full coverage becomes.
uint32_t Expected(Family f, uint32_t mode, float alpha) {
    const int w = int(alpha * 256.0);
    if ((mode & 0xff) > 5 || w == 0) return kDest;
    if ((mode & 0xff) != 0) return Combined(mode, w);
    // Fills take the whole-word forms by weight, line runs only at an alpha that is
    // exactly such a weight.
    uint32_t d = kDest;
    const bool wholeWord = f == kFill || (f == kRun && float(w) / 256.0f == alpha);
    if (wholeWord && FastCopy(d, kColour, w)) return d;
    if (f != kWeighted && w == 128) return HalfSum();
    return w == 256 && f != kWeighted ? kColour : Combined(mode, w);
}

struct Shape {
    const char* name;
    Family family;
    int x, y;  // a pixel the shape covers fully
    std::function<void(PIX_IBitmap*, float, int)> draw;
};

using Bm = PIX_IBitmap*;
const Shape kShapes[] = {
    {"trapezoid", kFill, 3, 2, [](Bm b, float a, int m) { PIX_FillTrapezoid(b, 1, 6, 2, 1, 6, 2, kColour, a, m); }},
    {"triangle", kFill, 5, 4, [](Bm b, float a, int m) { PIX_FillTriangle(b, 1, 1, 14, 3, 4, 14, kColour, a, m); }},
    {"horizontal line", kRun, 6, 7, [](Bm b, float a, int m) { PIX_Line(b, 0, 7, 15, 7, kColour, a, m, false); }},
    {"vertical line", kRun, 9, 3, [](Bm b, float a, int m) { PIX_Line(b, 9, 1, 9, 12, kColour, a, m, true); }},
    {"general line", kPlain, 0, 2, [](Bm b, float a, int m) { PIX_Line(b, 0, 2, 6, 5, kColour, a, m, false); }},
    {"diagonal line", kPlain, 3, 3, [](Bm b, float a, int m) { PIX_Line(b, 1, 1, 8, 8, kColour, a, m, false); }},
    {"dashed line", kPlain, 4, 9, [](Bm b, float a, int m) { PIX_DashedLine(b, 0, 9, 12, 9, 3, 1, kColour, a, m); }},
    {"disc", kPlain, 8, 8, [](Bm b, float a, int m) { PIX_FillCircle(b, 8, 8, 5, kColour, a, m, false); }},
    {"anti-aliased disc", kWeighted, 10, 11,
     [](Bm b, float a, int m) { PIX_FillCircle(b, 8, 8, 5, kColour, a, m, true); }},
    {"anti-aliased line ends", kWeighted, 2, 1,
     [](Bm b, float a, int m) { PIX_Line(b, 2, 1, 13, 5, kColour, a, m, true); }},
};

TEST(VectorModes, EachFamilyBlendsAsItsTableSays) {
    const uint32_t modes[] = {0, 0x10000, 0x100, 1, 0x10001, 2, 3, 4, 5, 6, 0xff};
    const float alphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.501f, 0.3f, 0.002f};
    for (const auto& s : kShapes)
        for (uint32_t mode : modes)
            for (float alpha : alphas) {
                CanaryBitmap bm(16, 16);
                Fill(bm, kDest);
                s.draw(&bm, alpha, int(mode));
                EXPECT_EQ(bm.at(s.x, s.y), Expected(s.family, mode, alpha))
                    << s.name << " mode " << mode << " alpha " << alpha;
                EXPECT_EQ(bm.at(15, 15), kDest) << s.name;
            }
}

}  // namespace
