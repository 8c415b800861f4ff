// Every vector row kernel, at every level this machine runs, against the scalar
// combiners on seeded random rows of every length 0..67 at every start alignment
// within a 32-byte vector. The kernel does a prefix; the combiner finishes the row,
// exactly as the blits and fills use them. Pixels after the row are canaries.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "raster/combiners.h"
#include "raster/row_kernels.h"

namespace {

using pix::RowKernels;
using pix::SimdLevel;

constexpr uint32_t kCanary = 0xdeadbeefu;

// Random pixels whose alpha is 0, 255 or anything, as anti-aliased artwork has: for
// `kind` 0 mixed pixel by pixel, otherwise in runs of `kind` pixels alike, so that
// whole vectors come wholly clear or wholly opaque.
uint32_t RandomPixel(std::mt19937& rng, int kind = 0, int index = 0) {
    const uint32_t p = rng();
    switch (kind ? (index / kind * 2654435761u >> 7) % 4 : rng() % 4) {
        case 0: return p & ~0xffu;
        case 1: return p | 0xffu;
        default: return p;
    }
}

struct KernelCase {
    std::string name;
    // Runs the kernel's prefix; returns how many pixels it did.
    std::function<int(const RowKernels&, uint32_t*, const uint32_t*, int)> kernel;
    // The combiner for one pixel: destination bytes, source pixel.
    std::function<void(uint8_t*, uint32_t)> scalar;
    bool constantSource = false;
};

template <class Op>
std::function<void(uint8_t*, uint32_t)> Scalar(int w) {
    return [w](uint8_t* d, uint32_t s) { Op::apply(d, PIX_PixelR(s), PIX_PixelG(s), PIX_PixelB(s), PIX_PixelA(s), w); };
}

std::vector<KernelCase> Cases() {
    using R = const RowKernels&;
    std::vector<KernelCase> cases = {
        {"source alpha full", [](R k, uint32_t* d, const uint32_t* s, int n) { return k.sourceAlphaCopyFull(d, s, n); },
         Scalar<pix::CopySourceAlphaFull>(256)},
        {"fill store", [](R k, uint32_t* d, const uint32_t* s, int n) { return k.fillStore(d, n, s[0]); },
         Scalar<pix::CopyFull>(256), true},
    };
    for (int w : {0, 1, 64, 127, 128, 200, 255})
        cases.push_back({"source alpha w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) { return k.sourceAlphaCopy(d, s, n, w); },
                         Scalar<pix::CopySourceAlpha>(w)});
    for (int w : {0, 1, 51, 128, 255, 256}) {
        cases.push_back({"copy w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) { return k.copyWeighted(d, s, n, 256 - w); },
                         Scalar<pix::Copy>(w)});
        cases.push_back({"fill w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) { return k.fillWeighted(d, n, s[0], 256 - w); },
                         Scalar<pix::Copy>(w), true});
    }
    return cases;
}

TEST(RowKernels, MatchTheScalarCombinersAtEveryLengthAndAlignment) {
    std::vector<SimdLevel> levels;
    for (SimdLevel l : {SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2})
        if (pix::RowKernelsFor(l)) levels.push_back(l);
    EXPECT_EQ(pix::ActiveRowKernels().level, levels.back());
    std::mt19937 rng(19);
    constexpr int kMaxLength = 67, kAlignments = 8, kSlack = 4;
    for (const KernelCase& c : Cases()) {
        for (SimdLevel level : levels) {
            const RowKernels& k = *pix::RowKernelsFor(level);
            for (int n = 0; n <= kMaxLength; ++n) {
                for (int offset = 0; offset < kAlignments; ++offset) {
                    alignas(32) uint32_t dst[kAlignments + kMaxLength + kSlack], src[kAlignments + kMaxLength];
                    const int kind = int(rng() % 3) * 6;  // mixed, or runs of 6 or 12
                    for (int i = 0; i < kAlignments + kMaxLength; ++i) src[i] = RandomPixel(rng, kind, i);
                    if (c.constantSource)
                        for (uint32_t& p : src) p = src[offset];
                    for (uint32_t& p : dst) p = RandomPixel(rng);
                    for (int i = 0; i < kSlack; ++i) dst[offset + n + i] = kCanary;
                    std::vector<uint32_t> expected(dst, dst + offset + n + kSlack);
                    for (int i = 0; i < n; ++i)
                        c.scalar(reinterpret_cast<uint8_t*>(&expected[size_t(offset + i)]), src[offset + i]);

                    uint32_t* d = dst + offset;
                    const int done = c.kernel(k, d, src + offset, n);
                    ASSERT_TRUE(done >= 0 && done <= n) << c.name;
                    if (level != SimdLevel::None && n >= 4) {
                        ASSERT_GT(done, 0) << c.name;
                    }
                    for (int i = done; i < n; ++i) c.scalar(reinterpret_cast<uint8_t*>(d + i), src[offset + i]);
                    for (size_t i = 0; i < expected.size(); ++i)
                        ASSERT_EQ(dst[i], expected[i]) << c.name << ", level " << int(level) << ", length " << n
                                                       << ", offset " << offset << ", pixel " << i;
                }
            }
        }
    }
}

}  // namespace
