#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "raster/spans.h"

namespace {

const uint32_t kModes[] = {0, 1, 2, 3, 4, 5, 0x10000, 0x10001, 0x10002, 0x10003, 0x10004, 0x10005};
const int kWeights[] = {1, 51, 64, 128, 192, 255, 256, 300};

std::vector<uint32_t> RandomPixels(std::mt19937& rng, int n) {
    std::vector<uint32_t> v(n);
    for (auto& p : v) {
        p = rng();
        // Plenty of the alpha values with special meaning.
        const uint32_t special[] = {0, 255, 1, 128};
        if (rng() % 3 == 0) p = (p & ~0xffu) | special[rng() % 4];
    }
    return v;
}

// Each row loop gives exactly what the single-pixel combiner gives, pixel by pixel,
// for lengths that exercise vector bodies and scalar tails.
TEST(Spans, RowLoopsEqualSinglePixelCombiners) {
    std::mt19937 rng(7);
    for (uint32_t mode : kModes)
        for (int w : kWeights)
            for (int n : {1, 3, 16, 37, 100}) {
                const auto dest = RandomPixels(rng, n), src = RandomPixels(rng, n);
                std::vector<uint8_t> cov(n);
                for (auto& c : cov) c = uint8_t(rng() % 4 == 0 ? 0 : rng());
                const uint32_t colour = rng();
                const int r = PIX_PixelR(colour), g = PIX_PixelG(colour), b = PIX_PixelB(colour),
                          a = PIX_PixelA(colour);

                auto fill = dest, blend = dest, covered = dest;
                const bool drawn = pix::WithCombiner(mode, w, [&]<class Op>() {
                    pix::FillSpan<Op>(fill.data(), n, r, g, b, a, w);
                    pix::BlendRow<Op>(blend.data(), src.data(), n, w);
                    pix::BlendCoverageSpan<Op>(covered.data(), cov.data(), n, r, g, b, a, w);
                });
                ASSERT_TRUE(drawn);
                const PIX_CombineFunc f = PIX_SelectCombiner(mode, w);
                for (int i = 0; i < n; ++i) {
                    uint32_t want = dest[i];
                    f(reinterpret_cast<uint8_t*>(&want), r, g, b, a, w);
                    ASSERT_EQ(fill[i], want) << "fill mode " << mode << " w " << w << " i " << i;
                    want = dest[i];
                    f(reinterpret_cast<uint8_t*>(&want), PIX_PixelR(src[i]), PIX_PixelG(src[i]), PIX_PixelB(src[i]),
                      PIX_PixelA(src[i]), w);
                    ASSERT_EQ(blend[i], want) << "blend mode " << mode << " w " << w << " i " << i;
                    // Coverage scales the weight, so the full-weight forms give way to
                    // the general ones.
                    want = dest[i];
                    if (cov[i]) {
                        const PIX_CombineFunc g2 = PIX_SelectCombiner(mode, w == 256 ? 257 : w);
                        g2(reinterpret_cast<uint8_t*>(&want), r, g, b, a, cov[i] * w / 256);
                    }
                    ASSERT_EQ(covered[i], want) << "coverage mode " << mode << " w " << w << " i " << i;
                }
            }
}

}  // namespace
