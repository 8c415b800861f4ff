#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "raster/blit.h"
#include "raster/canary_bitmap.h"
#include "raster/combiners.h"

namespace {

struct Grad {
    int x, y, w, h;
    float start[4];  // r, g, b, a on 0..1
    float perX[4], perY[4];
};

// The gradient by the rules, with values chosen exactly representable so the 16.16
// accumulators are exact: start values advanced to the clipped origin, then stepped.
std::vector<uint32_t> ReferenceGrad(const CanaryBitmap& bm, const Grad& g, uint32_t mode) {
    auto out = bm.pixels();
    const int low = mode & 0xff;
    if (low > 5) return out;
    const double scale[4] = {255, 255, 255, 256};
    const int X = std::max(g.x, 0), Y = std::max(g.y, 0);
    for (int py = Y; py < std::min(g.y + g.h, bm.getHeight()); ++py)
        for (int px = X; px < std::min(g.x + g.w, bm.getWidth()); ++px) {
            int ch[4];
            for (int c = 0; c < 4; ++c) {
                const double origin =
                    g.start[c] * scale[c] + (X - g.x) * (g.perX[c] * scale[c]) + (Y - g.y) * (g.perY[c] * scale[c]);
                const int64_t acc = int64_t(origin * 65536) + (px - X) * int64_t(g.perX[c] * scale[c] * 65536) +
                                    (py - Y) * int64_t(g.perY[c] * scale[c] * 65536);
                ch[c] = int(acc / 65536);
            }
            const PIX_CombineFunc fns[] = {PIX_CombinePixelsCopyClamp,     PIX_CombinePixelsAdd,
                                           PIX_CombinePixelsDodge,         PIX_CombinePixelsMultiplyClamp,
                                           PIX_CombinePixelsOverlay,       PIX_CombinePixelsHSVAdjust};
            uint32_t& p = out[size_t(py) * bm.getWidth() + px];
            fns[low](reinterpret_cast<uint8_t*>(&p), ch[0], ch[1], ch[2], ch[3], ch[3]);
        }
    return out;
}

TEST(GradRect, EveryModeMatchesReferenceAndClips) {
    const Grad grads[] = {
        {1, 2, 6, 5, {0.5f, 0.25f, 1, 1}, {1 / 64.f, -1 / 32.f, 0, -1 / 16.f}, {0, 1 / 16.f, -1 / 8.f, 1 / 128.f}},
        {-3, -2, 20, 20, {0, 1, 0.5f, 0.5f}, {1 / 8.f, 0, 1 / 4.f, 1 / 32.f}, {1 / 4.f, -1 / 8.f, 0, 1 / 16.f}},
        {-5, 3, 9, 30, {1.5f, -0.5f, 2, 3}, {0, 0, 0, -0.25f}, {-0.5f, 0.5f, 0.125f, 0}},
    };
    const uint32_t modes[] = {0, 1, 2, 3, 4, 5, 0x10003, 0x100, 6, 0xf1};
    std::mt19937 rng(4);
    for (const auto& g : grads)
        for (uint32_t mode : modes)
            for (bool flipped : {false, true}) {
                CanaryBitmap bm(10, 9, flipped);
                bm.randomize(rng);
                const auto want = ReferenceGrad(bm, g, mode);
                PIX_GradRect(&bm, g.x, g.y, g.w, g.h, g.start[0], g.start[1], g.start[2], g.start[3], g.perX[0],
                             g.perX[1], g.perX[2], g.perX[3], g.perY[0], g.perY[1], g.perY[2], g.perY[3], mode);
                ASSERT_EQ(bm.pixels(), want) << "grad at " << g.x << "," << g.y << " mode " << mode;
                ASSERT_EQ(bm.damagedCanaries(), 0);
            }
}

}  // namespace
