// The vector drawing operations beyond the goldens: the line clippers, curve outlines
// as their pieces, polygons whatever their vertex order, and clipping at every edge.

#include <numeric>

#include "raster_test_util.h"

namespace {

constexpr uint32_t kOne = 0x01010101u;  // add-mode colour: each hit adds 1 to every byte
constexpr double kPi = std::numbers::pi;

// Same bytes in memory, row by row, canaries included: a flipped bitmap drawn with
// mirrored coordinates must equal a plain one.
bool SameMemory(const CanaryBitmap& a, const CanaryBitmap& b) {
    return std::memcmp(a.getBits(), b.getBits(), size_t(a.getHeight()) * a.getRowSpan() * 4) == 0;
}

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

// A curve outline is exactly its pieces, each drawn as PIX_FLine draws it alone: in
// every mode, at partial alpha, on flipped bitmaps and with pieces cut by the edges.
TEST(CurveOutline, EqualsItsPiecesDrawnOneByOne) {
    const float curves[][8] = {
        {-6, 30, 10, -20, 30, 60, 45, 8},   // leaves through the top, both sides cut
        {3, 2, 40, 2, 0, 33, 37, 33},       // wholly inside, doubling back
        {20, -9, 21, 50, 22, -9, 23, 50},   // steep, crossing top and bottom
    };
    const uint32_t colour = PIX_MakePixel(200, 90, 160, 30);
    std::mt19937 rng(11);
    for (const auto& p : curves)
        for (int mode = 0; mode < 6; ++mode)
            for (float alpha : {1.0f, 0.45f})
                for (bool flipped : {false, true}) {
                    CanaryBitmap curve(40, 34, flipped), pieces(40, 34, flipped);
                    curve.randomize(rng);
                    pieces.assign(curve.pixels());
                    PIX_DrawCBezier(&curve, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], colour, alpha, mode, true,
                                    0.7f);
                    const float xs[4] = {p[0], p[2], p[4], p[6]}, ys[4] = {p[1], p[3], p[5], p[7]};
                    PIX_CubicCurve c;
                    ASSERT_GT(PIX_CBezierPrep(&pieces, true, xs, ys, 0.7f, &c), 2);
                    float px = c.startX, py = c.startY;
                    for (int k = 1; k <= c.count - 2; ++k) {
                        const double t = c.t0 + k * (c.t1 - c.t0) / c.count;
                        PIX_FLine(&pieces, px, py, float(c.X(t)), float(c.Y(t)), colour, alpha, mode, true);
                        px = float(c.X(t)), py = float(c.Y(t));
                    }
                    PIX_FLine(&pieces, px, py, c.endX, c.endY, colour, alpha, mode, true);
                    EXPECT_TRUE(SameMemory(curve, pieces)) << p[0] << " mode " << mode << " alpha " << alpha
                                                           << " flipped " << flipped;
                }
}

// Random convex polygons given in shuffled order: add mode hits no pixel twice, the
// vertex order does not matter, pixels well inside are filled and pixels well outside
// are not (edges are truncated at band starts and lag by up to a pixel while stepping).
TEST(FillPolygon, EveryPixelOnceWhateverTheOrder) {
    std::mt19937 rng(11);
    for (int iter = 0; iter < 300; ++iter) {
        const int n = 3 + int(rng() % 9);
        const double cx = rng() % 60 - 10.0, cy = rng() % 50 - 10.0, rx = 2 + rng() % 40, ry = 2 + rng() % 40;
        std::vector<double> angles(n);
        for (auto& a : angles) a = (rng() % 10000) * (2 * kPi / 10000);
        std::sort(angles.begin(), angles.end());
        std::vector<int> xs(n), ys(n);
        for (int i = 0; i < n; ++i) {
            xs[i] = int(std::lround(cx + rx * std::cos(angles[i])));
            ys[i] = int(std::lround(cy + ry * std::sin(angles[i])));
        }
        // Rounding can break convexity; keep only polygons that are still convex.
        bool convex = true;
        for (int i = 0; i < n && convex; ++i) {
            const int j = (i + 1) % n, k = (i + 2) % n;
            convex = long(xs[j] - xs[i]) * (ys[k] - ys[j]) - long(ys[j] - ys[i]) * (xs[k] - xs[j]) >= 0;
        }
        if (!convex) continue;

        std::vector<int> order(n), sx(n), sy(n);
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        for (int i = 0; i < n; ++i) sx[i] = xs[order[i]], sy[i] = ys[order[i]];
        CanaryBitmap ref(48, 40), shuffled(48, 40);
        PIX_FillConvexPolygon(&ref, xs.data(), ys.data(), n, kOne, 1.0f, PIX_MODE_ADD);
        PIX_FillConvexPolygon(&shuffled, sx.data(), sy.data(), n, kOne, 1.0f, PIX_MODE_ADD);
        ASSERT_EQ(ref.pixels(), shuffled.pixels()) << "iteration " << iter;
        ASSERT_EQ(ref.damagedCanaries(), 0);

        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x) {
                const uint32_t p = ref.at(x, y);
                ASSERT_TRUE(p == 0 || p == kOne) << x << "," << y;
                double inside = 1e9;  // signed distance to the nearest edge, positive inside
                for (int i = 0; i < n; ++i) {
                    const int j = (i + 1) % n;
                    const double ex = xs[j] - xs[i], ey = ys[j] - ys[i], len = std::hypot(ex, ey);
                    if (len > 0) inside = std::min(inside, ((x - xs[i]) * ey - (y - ys[i]) * ex) / -len);
                }
                if (inside > 2.01) { ASSERT_EQ(p, kOne) << "hole at " << x << "," << y << " iteration " << iter; }
                if (inside < -2.01) { ASSERT_EQ(p, 0u) << "spill at " << x << "," << y << " iteration " << iter; }
            }
    }
}

// Clipping: a small bitmap gets exactly the pixels that the same shape, moved by whole
// pixels, gives inside a larger one, for shapes reaching far past every edge.
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
            std::vector<int> xs(n), ys(n);
            for (int i = 0; i < n; ++i) xs[i] = coord(rng, kW), ys[i] = coord(rng, kH);
            draw = [=](PIX_IBitmap* bm, int o) {
                std::vector<int> sx(xs), sy(ys);
                for (int i = 0; i < n; ++i) sx[i] += o, sy[i] += o;
                if (n == 3) PIX_FillTriangle(bm, sx[0], sy[0], sx[1], sy[1], sx[2], sy[2], colour, alpha, mode);
                else PIX_FillConvexPolygon(bm, sx.data(), sy.data(), n, colour, alpha, mode);
                PIX_FillTrapezoid(bm, sx[0], sx[1], sy[0], sx[2], sx[1] + 3, sy[2], colour, alpha, mode);
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
