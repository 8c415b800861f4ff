// Vector kernels for the resampling blits: nearest and bilinear samples along a
// straight 16.16 walk through a source window, one table per instruction set; the
// level is chosen in raster/simd_kernels.h.
//
// A kernel samples a whole number of vectors from the start of the walk into `out`
// and returns how many it did; the caller samples the rest with the scalar samplers
// (pix::NearestSampler, pix::BilinearSampler), which are the rule every kernel
// matches bit for bit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "raster/combiners.h"
#include "raster/scaled_blit_sampling.h"
#include "raster/simd_kernels.h"
#include "raster/spans.h"

namespace pix {

// Sample i is at (s + i ds, t + i dt). Every position the caller asks for lies in the
// window (for bilinear sampling: after negative positions are taken as 0), and the
// window passes KernelsReach. Steps are taken modulo 2^32: positions in the window fit
// 32 bits, so wrapped steps still land on them exactly.
using WalkKernel = int (*)(uint32_t* out, const SourceWindow& src, int32_t s, int32_t t, int32_t ds, int32_t dt,
                           int n);

struct SampleKernels {
    SimdLevel level = SimdLevel::None;
    WalkKernel nearest = nullptr;
    // Negative positions are sampled at 0, as the centred sampler wants; the plain
    // bilinear sampler never sees them.
    WalkKernel bilinear = nullptr;
    // Bilinear samples of one row of an unrotated scale: the columns' pixel pairs in
    // the rows above and below, at the columns' fractions and fraction fy down.
    int (*bilinearColumns)(uint32_t* out, const uint8_t* top, const uint8_t* bottom, const struct PairColumns& columns,
                           uint32_t fy) = nullptr;
};

// Kernels address a pixel by a 32-bit byte offset from the window's origin and a
// position by 32 bits: windows beyond that take the scalar samplers.
inline bool KernelsReach(const SourceWindow& src) {
    const int64_t stride = src.stride < 0 ? -src.stride : src.stride;
    return src.width > 0 && src.height > 0 && src.width < 32768 && src.height < 32768 &&
           int64_t(src.height) * stride + int64_t(src.width) * 4 < INT32_MAX;
}

// ActiveKernels().sample, at hand for the blits without a second look-up.
const SampleKernels& ActiveSampleKernels();

extern const SampleKernels kSse2SampleKernels;
extern const SampleKernels kAvx2SampleKernels;

// The columns of an unrotated bilinear row, s + i ds for i in [0, n), in a window at
// least two pixels wide: column i reads the pixel pair from left[i] at fraction fx[i].
// A pair starts one column to the left at the last column, whose fraction 65536 then
// takes the right pixel alone.
struct PairColumns {
    std::vector<int32_t> left;
    std::vector<uint32_t> fx;
    PairColumns(int64_t s, int64_t ds, int n, int width);
};

template <class Sampler>
inline constexpr bool kHasKernel = std::is_same_v<Sampler, NearestSampler> ||
                                   std::is_same_v<Sampler, BilinearSampler> ||
                                   std::is_same_v<Sampler, CentredBilinearSampler>;

// The kernel that matches a scalar sampler, or null.
template <class Sampler>
WalkKernel KernelFor(const SampleKernels& k, const SourceWindow& src) {
    if (!KernelsReach(src)) return nullptr;
    if constexpr (std::is_same_v<Sampler, NearestSampler>) return k.nearest;
    if constexpr (kHasKernel<Sampler>) return k.bilinear;
    return nullptr;
}

// n samples of the walk into out: the kernel takes what it can, the scalar sampler
// the rest.
template <class Sampler>
inline void SampleWalk(WalkKernel kernel, uint32_t* out, const SourceWindow& src, int64_t s, int64_t t, int64_t ds,
                       int64_t dt, int n) {
    int i = kernel ? kernel(out, src, int32_t(s), int32_t(t), int32_t(ds), int32_t(dt), n) : 0;
    for (; i < n; ++i) out[i] = Sampler::get(src, s + i * ds, t + i * dt).v;
}

// n destination pixels combined with the walk's samples by row(d, samples, m). Samples
// go through a block on the stack so that the row combiners can take them a row at a
// time.
template <class Sampler, class Row>
inline void SampleThroughBlocks(uint32_t* dst, WalkKernel kernel, const SourceWindow& src, int64_t s, int64_t t,
                                int64_t ds, int64_t dt, int n, Row&& row) {
    constexpr int kBlock = 256;
    uint32_t block[kBlock];
    for (int i = 0; i < n; i += kBlock) {
        const int m = std::min(kBlock, n - i);
        SampleWalk<Sampler>(kernel, block, src, s + i * ds, t + i * dt, ds, dt, m);
        row(dst + i, block, m);
    }
}

// n destination pixels take the walk's samples at one weight; a plain copy samples
// straight into the destination.
template <class Op, class Sampler>
inline void SampleAndBlendRow(uint32_t* dst, WalkKernel kernel, const SourceWindow& src, int64_t s, int64_t t,
                              int64_t ds, int64_t dt, int n, int weight) {
    if constexpr (std::is_same_v<Op, CopyFull>)
        SampleWalk<Sampler>(kernel, dst, src, s, t, ds, dt, n);
    else
        SampleThroughBlocks<Sampler>(
            dst, kernel, src, s, t, ds, dt, n,
            [weight](uint32_t* d, const uint32_t* b, int m) { BlendRow<Op>(d, b, m, weight); });
}

}  // namespace pix
