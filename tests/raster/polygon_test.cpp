#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

#include "raster/canary_bitmap.h"
#include "raster/combiners.h"
#include "raster/polygon.h"
#include "raster/vector_test_util.h"

namespace {

using vectortest::kOne;

// Rows of a bitmap as strings: '.' untouched (0), '#' set, digits for hit counts > 1.
std::vector<std::string> Picture(const CanaryBitmap& bm) {
    std::vector<std::string> rows;
    for (int y = 0; y < bm.getHeight(); ++y) {
        std::string r;
        for (int x = 0; x < bm.getWidth(); ++x) {
            const uint32_t p = bm.at(x, y);
            r += p == 0 ? '.' : (p == kOne || p == 0xffffffffu ? '#' : char('0' + (p & 255)));
        }
        rows.push_back(r);
    }
    return rows;
}

TEST(FillTrapezoid, ShapesAndClipping) {
    struct Case {
        const char* name;
        int tax, tbx, ty, bax, bbx, by;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"one row, both ends inclusive", 5, 1, 2, 1, 5, 2, {"......", "......", ".#####", "......"}},
        // The truncated 16.16 slopes fall just short of the bottom ends.
        {"pairs in either order", 4, 1, 3, 2, 2, 0, {"..#...", "..#...", "..##..", "..##.."}},
        {"wholly left", -9, -1, 0, -5, -2, 3, {"......", "......", "......", "......"}},
        {"wholly right", 6, 9, 0, 7, 20, 3, {"......", "......", "......", "......"}},
        {"pinned to both edges", -3, 40, -2, -8, 7, 9, {"######", "######", "######", "######"}},
        {"top above the bitmap", 0, 0, -4, 0, 8, 3, {"#####.", "######", "######", "######"}},
        {"bottom y below top y", 0, 5, 3, 2, 3, 1, {"......", "..##..", ".####.", "######"}},
    };
    for (const auto& c : cases) {
        CanaryBitmap bm(6, 4);
        PIX_FillTrapezoid(&bm, c.tax, c.tbx, c.ty, c.bax, c.bbx, c.by, kOne, 1.0f, PIX_MODE_ADD);
        EXPECT_EQ(Picture(bm), c.want) << c.name;
        EXPECT_EQ(bm.damagedCanaries(), 0) << c.name;
    }
}

// Random convex polygons given in shuffled order: add mode hits no pixel twice, the
// vertex order does not matter, pixels well inside are filled and pixels well outside
// are not (edges are truncated at band starts and lag by up to a pixel while stepping).
TEST(FillConvexPolygon, EveryPixelOnceWhateverTheOrder) {
    std::mt19937 rng(11);
    for (int iter = 0; iter < 300; ++iter) {
        const int n = 3 + int(rng() % 9);
        const double cx = rng() % 60 - 10.0, cy = rng() % 50 - 10.0, rx = 2 + rng() % 40, ry = 2 + rng() % 40;
        std::vector<double> angles(n);
        for (auto& a : angles) a = (rng() % 10000) * (2 * M_PI / 10000);
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
            const long cross = long(xs[j] - xs[i]) * (ys[k] - ys[j]) - long(ys[j] - ys[i]) * (xs[k] - xs[j]);
            convex = cross >= 0;
        }
        if (!convex) continue;

        CanaryBitmap ref(48, 40);
        PIX_FillConvexPolygon(&ref, xs.data(), ys.data(), n, kOne, 1.0f, PIX_MODE_ADD);
        std::vector<int> order(n);
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        std::vector<int> sx(n), sy(n);
        for (int i = 0; i < n; ++i) sx[i] = xs[order[i]], sy[i] = ys[order[i]];
        CanaryBitmap shuffled(48, 40);
        PIX_FillConvexPolygon(&shuffled, sx.data(), sy.data(), n, kOne, 1.0f, PIX_MODE_ADD);
        ASSERT_EQ(ref.pixels(), shuffled.pixels()) << "iteration " << iter;
        ASSERT_EQ(ref.damagedCanaries(), 0);

        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x) {
                const uint32_t p = ref.at(x, y);
                ASSERT_TRUE(p == 0 || p == kOne) << x << "," << y;
                // Signed distance to each edge (positive inside).
                double inside = 1e9;
                for (int i = 0; i < n; ++i) {
                    const int j = (i + 1) % n;
                    const double ex = xs[j] - xs[i], ey = ys[j] - ys[i], len = std::hypot(ex, ey);
                    if (len == 0) continue;
                    inside = std::min(inside, ((x - xs[i]) * ey - (y - ys[i]) * ex) / -len);
                }
                if (inside > 2.01) {
                    ASSERT_EQ(p, kOne) << "hole at " << x << "," << y << " iteration " << iter;
                }
                if (inside < -2.01) {
                    ASSERT_EQ(p, 0u) << "spill at " << x << "," << y << " iteration " << iter;
                }
            }
    }
}

TEST(FillConvexPolygon, DegenerateInput) {
    const int xs[] = {-9, -3, -6}, ys[] = {2, 2, 2};
    CanaryBitmap bm(8, 5);
    // A one-row polygon wholly left of the bitmap leaves column 0 alone.
    PIX_FillConvexPolygon(&bm, xs, ys, 3, kOne, 1.0f, PIX_MODE_ADD);
    EXPECT_EQ(bm.at(0, 2), 0u);
    // One row inside: from the smallest to the largest x.
    const int xs2[] = {6, 2, 4}, ys2[] = {1, 1, 1};
    PIX_FillConvexPolygon(&bm, xs2, ys2, 3, kOne, 1.0f, PIX_MODE_ADD);
    EXPECT_EQ(Picture(bm)[1], "..#####.");
    // Fewer than three points, null arrays and a null bitmap draw nothing.
    PIX_FillConvexPolygon(&bm, xs2, ys2, 2, kOne, 1.0f, PIX_MODE_ADD);
    PIX_FillConvexPolygon(&bm, nullptr, ys2, 3, kOne, 1.0f, PIX_MODE_ADD);
    PIX_FillConvexPolygon(nullptr, xs2, ys2, 3, kOne, 1.0f, PIX_MODE_ADD);
    PIX_FillTriangle(&bm, 0, 0, 7, 0, 7, 0, kOne, 1.0f, 6);
    EXPECT_EQ(bm.pixels(), [] {
        CanaryBitmap r(8, 5);
        for (int x = 2; x <= 6; ++x) r.at(x, 1) = kOne;
        return r.pixels();
    }());
    EXPECT_EQ(bm.damagedCanaries(), 0);
}

TEST(FillTriangle, TwoVerticesOnTheTopRow) {
    CanaryBitmap bm(7, 5);
    PIX_FillTriangle(&bm, 0, 0, 6, 0, 3, 4, kOne, 1.0f, PIX_MODE_ADD);
    // Edges move only once a whole pixel has been stepped, so they lag toward their top.
    const std::vector<std::string> want = {"#######", "#######", ".#####.", "..###..", "...#..."};
    EXPECT_EQ(Picture(bm), want);
}

// Edges far steeper than 2^29 / 65536 and far above the bitmap: the stepped edge stays
// within a pixel of the true line on every visible row.
TEST(FillTriangle, SteepEdgesFarAboveTheBitmap) {
    const struct {
        int topX, topY;
    } tops[] = {{-300000, -2000000000}, {400000, -2100000000}, {5, -2147483647}, {-2147483647, -2147483647}};
    for (const auto& t : tops) {
        CanaryBitmap bm(64, 32);
        PIX_FillTriangle(&bm, t.topX, t.topY, 10, 40, 50, 40, kOne, 1.0f, PIX_MODE_ADD);
        for (int y = 0; y < 32; ++y) {
            const double k = double(y - int64_t(t.topY)) / double(40 - int64_t(t.topY));
            const double left = t.topX + (10.0 - t.topX) * k, right = t.topX + (50.0 - t.topX) * k;
            for (int x = 0; x < 64; ++x) {
                if (x > left + 1 && x < right - 1) {
                    ASSERT_EQ(bm.at(x, y), kOne) << x << "," << y;
                }
                if (x < left - 1 || x > right + 1) {
                    ASSERT_EQ(bm.at(x, y), 0u) << x << "," << y;
                }
            }
        }
        EXPECT_EQ(bm.damagedCanaries(), 0);
    }
}

TEST(FillConvexPolygon, FlippedBitmapMirrorsRows) {
    // On a flipped bitmap the polygon is drawn as its mirror image in memory.
    const int xs[] = {1, 9, 4}, ys[] = {0, 2, 6}, mirrored[] = {7, 5, 1};
    CanaryBitmap plain(10, 8), flipped(10, 8, true);
    PIX_FillConvexPolygon(&plain, xs, mirrored, 3, kOne, 1.0f, PIX_MODE_ADD);
    PIX_FillConvexPolygon(&flipped, xs, ys, 3, kOne, 1.0f, PIX_MODE_ADD);
    const auto* a = static_cast<const uint32_t*>(plain.getBits());
    const auto* b = static_cast<const uint32_t*>(flipped.getBits());
    for (int i = 0; i < 8 * plain.getRowSpan(); ++i) ASSERT_EQ(a[i], b[i]) << i;
    EXPECT_EQ(flipped.at(1, 0), kOne);
    EXPECT_EQ(flipped.damagedCanaries(), 0);
}

// More points than the inline vertex buffer holds take the allocated one, with the same
// result: 512 points on a circle, then the same with one point repeated.
TEST(FillConvexPolygon, MoreThan512Points) {
    std::vector<int> xs, ys;
    for (int i = 0; i < 512; ++i) {
        xs.push_back(int(std::lround(60 + 50 * std::cos(i * 2 * M_PI / 512))));
        ys.push_back(int(std::lround(60 + 50 * std::sin(i * 2 * M_PI / 512))));
    }
    CanaryBitmap a(120, 120), b(120, 120);
    PIX_FillConvexPolygon(&a, xs.data(), ys.data(), 512, kOne, 1.0f, PIX_MODE_ADD);
    xs.push_back(xs[100]);
    ys.push_back(ys[100]);
    PIX_FillConvexPolygon(&b, xs.data(), ys.data(), 513, kOne, 1.0f, PIX_MODE_ADD);
    EXPECT_EQ(a.pixels(), b.pixels());
    EXPECT_EQ(a.at(60, 60), kOne);
    EXPECT_EQ(a.at(60, 11), kOne);
    EXPECT_EQ(a.at(5, 5), 0u);
}

}  // namespace
