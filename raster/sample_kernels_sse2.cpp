// The sampling kernels for SSE2, the x86-64 baseline.
#include "raster/sample_kernels_simd.h"

#if defined(__SSE2__)
const pix::SampleKernels pix::kSse2SampleKernels = {SimdLevel::Sse2, NearestWalk<Sse2Lanes>,
                                                    BilinearWalk<Sse2Lanes>, BilinearColumns<Sse2Lanes>};
#else
const pix::SampleKernels pix::kSse2SampleKernels = {};
#endif
