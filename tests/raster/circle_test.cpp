#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "raster/bezier.h"
#include "raster/canary_bitmap.h"
#include "raster/circle.h"
#include "raster/circle_drawer.h"
#include "raster/combiners.h"
#include "raster/line.h"
#include "raster/vector_test_util.h"

namespace {

using namespace vectortest;

constexpr float kPi = std::numbers::pi_v<float>;

// Records every pixel a drawer emits, with its weight, without clipping.
struct RecordingEmitter {
    std::map<std::pair<int64_t, int64_t>, std::vector<int>> hits;
    void point(int64_t x, int64_t y, int w = 256) { hits[{x, y}].push_back(w); }
    void hspan(int64_t y, int64_t x0, int64_t x1, int w = 256) { for (; x0 <= x1; ++x0) point(x0, y, w); }
    void vspan(int64_t x, int64_t y0, int64_t y1, int w = 256) { for (; y0 <= y1; ++y0) point(x, y0, w); }
};

const pix::CircleClip kEverywhere{-1000000, -1000000, 1000000, 1000000};

// Every drawer form emits each pixel at most once, and its pixels are symmetric under
// the eight reflections of the square. Discs cover what they should: every pixel whose
// centre lies well within r at full weight and a partial rim beyond, so the total is
// close to the area of radius r + 1/2; nothing far outside.
TEST(CircleDrawer, EachPixelOnceSymmetricAndCovering) {
    for (float r = 0.0f; r < 40.0f; r += 0.17f)
        for (bool filled : {false, true})
            for (bool aa : {false, true}) {
                if (r >= 30 && !(filled && aa)) continue;  // the walk is the same; coverage wants large discs
                SCOPED_TRACE(testing::Message() << "r " << r << " filled " << filled << " aa " << aa);
                RecordingEmitter e;
                if (aa)
                    pix::AntiAliasedCircle(e, 0, 0, r, 256, filled, kEverywhere);
                else
                    pix::AliasedCircle(e, 0, 0, int64_t(r + 0.5f), filled, kEverywhere);
                double total = 0;
                for (const auto& [p, ws] : e.hits) {
                    const auto [x, y] = p;
                    ASSERT_EQ(ws.size(), 1u) << x << "," << y;
                    ASSERT_LT(std::hypot(double(x), double(y)), r + 1.5);
                    total += std::min(ws[0], 255) / 255.0;
                    for (auto q : {std::pair{-x, y}, {x, -y}, {y, x}, {-y, -x}}) {
                        auto it = e.hits.find(q);
                        ASSERT_TRUE(it != e.hits.end()) << "missing mirror of " << x << "," << y;
                        ASSERT_EQ(it->second, ws);
                    }
                }
                if (!filled || !aa || r < 0.5f) continue;
                EXPECT_GE(total, kPi * r * r - 0.5);
                EXPECT_LE(total, kPi * (r + 0.5) * (r + 0.5) + 0.5);
                for (int y = -int(r); y <= int(r); ++y)
                    for (int x = -int(r); x <= int(r); ++x)
                        if (std::hypot(x, y) < r - 1.5) {
                            const auto it = e.hits.find({x, y});
                            ASSERT_TRUE(it != e.hits.end()) << x << "," << y;
                            ASSERT_EQ(it->second[0], 256);
                        }
            }
}

// Centres round down: -3.0 lands on column -3 just as 3.0 lands on 3 (truncation would
// put it on -2), for the disc and for the anti-aliased r 1.5 mask.
TEST(Circle, CentresRoundDown) {
    for (bool aa : {false, true}) {
        CanaryBitmap a(12, 12), b(12, 12);
        (aa ? PIX_Circle : PIX_FillCircle)(&a, 3.0f, 5.0f, aa ? 1.5f : 4.6f, kOne, 1.0f, PIX_MODE_ADD, aa);
        (aa ? PIX_Circle : PIX_FillCircle)(&b, -3.0f, 5.0f, aa ? 1.5f : 4.6f, kOne, 1.0f, PIX_MODE_ADD, aa);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x + 6 < 12; ++x) ASSERT_EQ(b.at(x, y), a.at(x + 6, y)) << aa << " " << x << "," << y;
    }
}

// On a flipped bitmap every circle form lands where the same form with the centre
// mirrored (and arc angles turned by pi - a) lands in memory on a plain bitmap.
TEST(Circle, FlippedBitmapsMirrorTheCentre) {
    for (bool aa : {false, true}) {
        CanaryBitmap plain(30, 24), flipped(30, 24, true);
        PIX_FillCircle(&plain, 9.0f, 23.0f - 6.0f, 5.3f, kOne, 1.0f, PIX_MODE_ADD, aa);
        PIX_Circle(&plain, 20.0f, 23.0f - 14.0f, 6.6f, kWhite, 1.0f, 0, aa);
        PIX_Arc(&plain, 15.0f, 23.0f - 12.0f, 9.0f, float(std::numbers::pi - 2.0), float(std::numbers::pi - 0.5),
                kWhite, 1.0f, 0, aa);
        PIX_FillCircle(&flipped, 9.0f, 6.0f, 5.3f, kOne, 1.0f, PIX_MODE_ADD, aa);
        PIX_Circle(&flipped, 20.0f, 14.0f, 6.6f, kWhite, 1.0f, 0, aa);
        PIX_Arc(&flipped, 15.0f, 12.0f, 9.0f, 0.5f, 2.0f, kWhite, 1.0f, 0, aa);
        EXPECT_TRUE(SameMemory(plain, flipped)) << aa;
    }
}

}  // namespace
