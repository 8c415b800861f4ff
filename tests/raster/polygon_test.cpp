#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <functional>
#include <numeric>
#include <random>
#include <vector>

#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/polygon.h"
#include "raster/vector_test_util.h"

namespace {

using namespace vectortest;
using Draw = std::function<void(PIX_IBitmap*)>;

Draw Trap(int tax, int tbx, int ty, int bax, int bbx, int by) {
    return [=](PIX_IBitmap* b) { PIX_FillTrapezoid(b, tax, tbx, ty, bax, bbx, by, kOne, 1.0f, PIX_MODE_ADD); };
}
Draw Poly(std::vector<int> xs, std::vector<int> ys) {
    return [=](PIX_IBitmap* b) {
        PIX_FillConvexPolygon(b, xs.data(), ys.data(), int(xs.size()), kOne, 1.0f, PIX_MODE_ADD);
    };
}

TEST(FillPolygon, ShapesAndClipping) {
    struct Case {
        const char* name;
        Draw draw;
        std::vector<std::string> want;  // also gives the bitmap's size
    };
    const int ys[] = {1, 1, 1};
    const Case cases[] = {
        {"one-row trapezoid, both ends inclusive", Trap(5, 1, 2, 1, 5, 2), {"......", "......", ".#####", "......"}},
        // The truncated 16.16 slopes fall just short of the bottom ends.
        {"pairs in either order", Trap(4, 1, 3, 2, 2, 0), {"..#...", "..#...", "..##..", "..##.."}},
        {"wholly left", Trap(-9, -1, 0, -5, -2, 3), {"......", "......", "......", "......"}},
        {"wholly right", Trap(6, 9, 0, 7, 20, 3), {"......", "......", "......", "......"}},
        {"pinned to both edges", Trap(-3, 40, -2, -8, 7, 9), {"######", "######", "######", "######"}},
        {"top above the bitmap", Trap(0, 0, -4, 0, 8, 3), {"#####.", "######", "######", "######"}},
        {"bottom y below top y", Trap(0, 5, 3, 2, 3, 1), {"......", "..##..", ".####.", "######"}},
        // Edges move only once a whole pixel has been stepped, so they lag toward their top.
        {"two vertices on the top row",
         [](PIX_IBitmap* b) { PIX_FillTriangle(b, 0, 0, 6, 0, 3, 4, kOne, 1.0f, PIX_MODE_ADD); },
         {"#######", "#######", ".#####.", "..###..", "...#..."}},
        {"one-row polygon: smallest to largest x", Poly({6, 2, 4}, {1, 1, 1}), {"........", "..#####.", "........"}},
        {"one-row polygon left of the bitmap leaves column 0", Poly({-9, -3, -6}, {1, 1, 1}), {"....", "....", "...."}},
        {"two points", Poly({0, 3}, {0, 2}), {"....", "...."}},
        {"null points", [&](PIX_IBitmap* b) { PIX_FillConvexPolygon(b, nullptr, ys, 3, kOne, 1.0f, 0); }, {"..."}},
        {"mode 6 draws nothing", [](PIX_IBitmap* b) { PIX_FillTriangle(b, 0, 0, 3, 0, 3, 2, kOne, 1.0f, 6); },
         {"....", "...."}},
    };
    for (const auto& c : cases) {
        CanaryBitmap bm(int(c.want[0].size()), int(c.want.size()));
        c.draw(&bm);
        EXPECT_EQ(Picture(bm), c.want) << c.name;
        EXPECT_EQ(bm.damagedCanaries(), 0) << c.name;
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
        for (auto& a : angles) a = (rng() % 10000) * (2 * std::numbers::pi / 10000);
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
        Poly(xs, ys)(&ref);
        Poly(sx, sy)(&shuffled);
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

// Edges far steeper than 2^29 / 65536 and far above the bitmap: the stepped edge stays
// within a pixel of the true line on every visible row.
TEST(FillPolygon, SteepEdgesFarAboveTheBitmap) {
    const std::pair<int, int> tops[] = {
        {-300000, -2000000000}, {400000, -2100000000}, {5, -2147483647}, {-2147483647, -2147483647}};
    for (const auto& [topX, topY] : tops) {
        CanaryBitmap bm(64, 32);
        PIX_FillTriangle(&bm, topX, topY, 10, 40, 50, 40, kOne, 1.0f, PIX_MODE_ADD);
        for (int y = 0; y < 32; ++y) {
            const double k = double(y - int64_t(topY)) / double(40 - int64_t(topY));
            const double left = topX + (10.0 - topX) * k, right = topX + (50.0 - topX) * k;
            for (int x = 0; x < 64; ++x) {
                if (x > left + 1 && x < right - 1) { ASSERT_EQ(bm.at(x, y), kOne) << x << "," << y; }
                if (x < left - 1 || x > right + 1) { ASSERT_EQ(bm.at(x, y), 0u) << x << "," << y; }
            }
        }
        EXPECT_EQ(bm.damagedCanaries(), 0);
    }
}

// More points than the inline vertex buffer holds take the allocated one, with the same
// result: 512 points on a circle, then the same with one point repeated.
TEST(FillPolygon, MoreThan512Points) {
    std::vector<int> xs, ys;
    for (int i = 0; i < 512; ++i) {
        xs.push_back(int(std::lround(60 + 50 * std::cos(i * 2 * std::numbers::pi / 512))));
        ys.push_back(int(std::lround(60 + 50 * std::sin(i * 2 * std::numbers::pi / 512))));
    }
    CanaryBitmap a(120, 120), b(120, 120);
    Poly(xs, ys)(&a);
    xs.push_back(xs[100]);
    ys.push_back(ys[100]);
    Poly(xs, ys)(&b);
    EXPECT_EQ(a.pixels(), b.pixels());
    EXPECT_EQ(Picture(a)[60].substr(12, 97), std::string(97, '#'));
    EXPECT_EQ(a.at(5, 5), 0u);
}

}  // namespace
