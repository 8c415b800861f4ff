// The vector kernels for AVX2; this file alone is compiled for AVX2 and is only called
// after the machine was seen to have it.
#include "raster/row_kernels_simd.h"
#include "raster/sample_kernels_simd.h"
#include "raster/strip_kernels_simd.h"

#if defined(__AVX2__)
constinit const pix::RowKernels pix::kAvx2RowKernels = RowKernelsOf<Avx2Lanes>(SimdLevel::Avx2);
constinit const pix::SampleKernels pix::kAvx2SampleKernels = SampleKernelsOf<Avx2Lanes>(SimdLevel::Avx2);
constinit const pix::StripKernels pix::kAvx2StripKernels = StripKernelsOf<Avx2Lanes>(SimdLevel::Avx2);
#else
const pix::RowKernels pix::kAvx2RowKernels = {};
const pix::SampleKernels pix::kAvx2SampleKernels = {};
const pix::StripKernels pix::kAvx2StripKernels = {};
#endif
