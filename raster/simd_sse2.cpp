// The vector kernels for SSE2, the x86-64 baseline.
#include "raster/row_kernels_simd.h"
#include "raster/sample_kernels_simd.h"
#include "raster/strip_kernels_simd.h"

#if defined(__SSE2__)
constinit const pix::RowKernels pix::kSse2RowKernels = RowKernelsOf<Sse2Lanes>(SimdLevel::Sse2);
constinit const pix::SampleKernels pix::kSse2SampleKernels = SampleKernelsOf<Sse2Lanes>(SimdLevel::Sse2);
constinit const pix::StripKernels pix::kSse2StripKernels = StripKernelsOf<Sse2Lanes>(SimdLevel::Sse2);
#else
const pix::RowKernels pix::kSse2RowKernels = {};
const pix::SampleKernels pix::kSse2SampleKernels = {};
const pix::StripKernels pix::kSse2StripKernels = {};
#endif
