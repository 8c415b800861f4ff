// The sampling kernels for AVX2; this file alone is compiled for AVX2 and is only
// called after the machine was seen to have it.
#include "raster/sample_kernels_simd.h"

#if defined(__AVX2__)
const pix::SampleKernels pix::kAvx2SampleKernels = {SimdLevel::Avx2, NearestWalk<Avx2Lanes>,
                                                    BilinearWalk<Avx2Lanes>, BilinearColumns<Avx2Lanes>};
#else
const pix::SampleKernels pix::kAvx2SampleKernels = {};
#endif
