// The vector drawing operations beyond the goldens: the line clippers' crossings, and
// fills and circles clipped at every edge.

#include <numeric>

#include "raster_test_util.h"

namespace {

TEST(ClipLine, Cases) {
    const struct { std::vector<int> in, out; } cases[] = {  // out empty: rejected
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
    std::vector<int> v = {-10, 25, 40, 25};
    EXPECT_TRUE(PIX_ClipLineToRect(&v[0], &v[1], &v[2], &v[3], 10, 20, 20, 30));
    EXPECT_EQ(v, (std::vector{10, 25, 19, 25}));
}

// Clipping: a small bitmap gets exactly the pixels that the same shape, moved by whole
// pixels, gives inside a larger one, for shapes reaching far past every edge; polygons
// drawn into the larger one with their vertices in another order.
TEST(VectorCrop, FillsAndCircles) {
    constexpr int kW = 23, kH = 17, kShift = 40;
    // Coordinates spread well past every edge of the small bitmap (and some inside).
    const auto coord = [](std::mt19937& rng, int size) { return int(rng() % (5 * size)) - 2 * size; };
    const float alphas[] = {1.0f, 0.5f, 0.75f, 0.3f};
    std::mt19937 rng(21);
    for (int iter = 0; iter < 1400; ++iter) {
        const uint32_t colour = rng(), mode = kPixBlendModes[rng() % std::size(kPixBlendModes)].mode;
        const float alpha = alphas[rng() % 4];
        std::function<void(PIX_IBitmap*, int offset)> draw;
        if (iter % 2) {
            const int n = 3 + int(rng() % 4);
            std::vector<int> xs(n), ys(n), order(n);
            for (int i = 0; i < n; ++i) xs[i] = coord(rng, kW), ys[i] = coord(rng, kH);
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), rng);
            draw = [=](PIX_IBitmap* bm, int o) {
                std::vector<int> sx(n), sy(n);
                for (int i = 0; i < n; ++i) sx[i] = xs[i] + o, sy[i] = ys[i] + o;
                if (n == 3) PIX_FillTriangle(bm, sx[0], sy[0], sx[1], sy[1], sx[2], sy[2], colour, alpha, mode);
                PIX_FillTrapezoid(bm, sx[0], sx[1], sy[0], sx[2], sx[1] + 3, sy[2], colour, alpha, mode);
                for (int i = 0; o && i < n; ++i) sx[i] = xs[order[i]] + o, sy[i] = ys[order[i]] + o;
                if (n > 3) PIX_FillConvexPolygon(bm, sx.data(), sy.data(), n, colour, alpha, mode);
            };
        } else {
            // Centres on a quarter-pixel grid, so that moving them is exact in float; large
            // radii enter the octant walk far from its start.
            const float cx = coord(rng, kW) * 0.25f + kW * 0.4f, cy = coord(rng, kH) * 0.25f + kH * 0.4f;
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
