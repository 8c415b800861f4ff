// Clipping of the vector operations: drawing into a small bitmap gives exactly the pixels
// that the same shape, moved by whole pixels, gives inside a larger bitmap, for shapes
// reaching far past every edge; nothing outside the small bitmap is touched.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "raster/canary_bitmap.h"
#include "raster/circle.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "raster/vector_test_util.h"

namespace {

using vectortest::kWhite;
constexpr int kW = 23, kH = 17, kShift = 40;

// Draws with an offset (0 for the small bitmap, kShift for the large one).
using Shape = std::function<void(PIX_IBitmap*, int offset)>;

// Coordinates spread well past every edge of the small bitmap (and some inside).
int Coord(std::mt19937& rng, int size) { return int(rng() % (5 * size)) - 2 * size; }

const float kAlphas[] = {1.0f, 0.5f, 0.75f, 0.3f};

// Polygons, trapezoids, circles and discs in every mode at several alphas.
TEST(VectorCrop, FillsAndCircles) {
    std::mt19937 rng(21);
    for (int iter = 0; iter < 1400; ++iter) {
        const uint32_t colour = rng(), mode = kPixBlendModes[rng() % std::size(kPixBlendModes)].mode;
        const float alpha = kAlphas[rng() % 4];
        Shape draw;
        if (iter % 2) {
            const int n = 3 + int(rng() % 4);
            std::vector<int> xs(n), ys(n);
            for (int i = 0; i < n; ++i) xs[i] = Coord(rng, kW), ys[i] = Coord(rng, kH);
            draw = [=](PIX_IBitmap* bm, int o) {
                std::vector<int> sx(xs), sy(ys);
                for (int i = 0; i < n; ++i) sx[i] += o, sy[i] += o;
                if (n == 3)
                    PIX_FillTriangle(bm, sx[0], sy[0], sx[1], sy[1], sx[2], sy[2], colour, alpha, mode);
                else
                    PIX_FillConvexPolygon(bm, sx.data(), sy.data(), n, colour, alpha, mode);
                PIX_FillTrapezoid(bm, sx[0], sx[1], sy[0], sx[2], sx[1] + 3, sy[2], colour, alpha, mode);
            };
        } else {
            // Centres on a quarter-pixel grid, so that moving them is exact in float; large
            // radii enter the octant walk far from its start.
            const float cx = Coord(rng, kW) * 0.25f + kW * 0.4f, cy = Coord(rng, kH) * 0.25f + kH * 0.4f;
            const float r = rng() % 8 ? float(rng() % 400) * 0.07f : float(rng() % 4000) * 0.25f;
            const bool aa = rng() & 1, filled = rng() & 1;
            draw = [=](PIX_IBitmap* bm, int o) {
                (filled ? PIX_FillCircle : PIX_Circle)(bm, cx + o, cy + o, r, colour, alpha, mode, aa);
            };
        }
        CanaryBitmap small(kW, kH), large(kW + 2 * kShift, kH + 2 * kShift);
        draw(&small, 0);
        draw(&large, kShift);
        ASSERT_EQ(small.damagedCanaries(), 0) << iter;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) ASSERT_EQ(small.at(x, y), large.at(x + kShift, y + kShift)) << iter;
    }
}

}  // namespace
