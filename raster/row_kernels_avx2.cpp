// The row kernels for AVX2; this file alone is compiled for AVX2 and is only called
// after the machine was seen to have it. A row's last block of four pixels goes
// through the SSE2 form, so short sprite rows stay in vectors.
#include "raster/row_kernels_simd.h"

namespace {
#if defined(__AVX2__)
int SourceAlphaCopyFull(uint32_t* dst, const uint32_t* src, int n) {
    const int i = SourceAlphaCopyRow<Avx2Ops, true>(dst, src, n, 256);
    return i + SourceAlphaCopyRow<Sse2Ops, true>(dst + i, src + i, n - i, 256);
}
int SourceAlphaCopy(uint32_t* dst, const uint32_t* src, int n, int w) {
    const int i = SourceAlphaCopyRow<Avx2Ops, false>(dst, src, n, w);
    return i + SourceAlphaCopyRow<Sse2Ops, false>(dst + i, src + i, n - i, w);
}
int CopyWeighted(uint32_t* dst, const uint32_t* src, int n, int k) {
    const int i = CopyWeightedRow<Avx2Ops, false>(dst, src, 0, n, k);
    return i + CopyWeightedRow<Sse2Ops, false>(dst + i, src + i, 0, n - i, k);
}
int FillWeighted(uint32_t* dst, int n, uint32_t colour, int k) {
    const int i = CopyWeightedRow<Avx2Ops, true>(dst, nullptr, colour, n, k);
    return i + CopyWeightedRow<Sse2Ops, true>(dst + i, nullptr, colour, n - i, k);
}
int FillStore(uint32_t* dst, int n, uint32_t colour) {
    const int i = StoreRow<Avx2Ops>(dst, n, colour);
    return i + StoreRow<Sse2Ops>(dst + i, n - i, colour);
}
int CoverageCopy(uint32_t* dst, int64_t dstStep, const uint8_t* cov, int64_t covStep, int n, int rows,
                 uint32_t colour, int w) {
    return CoverageCopyArea<Avx2Ops>(dst, dstStep, cov, covStep, n, rows, colour, w);
}
#endif
}  // namespace

#if defined(__AVX2__)
const pix::RowKernels pix::kAvx2RowKernels = {SimdLevel::Avx2, SourceAlphaCopyFull, SourceAlphaCopy,
                                              CopyWeighted, FillWeighted, FillStore, CoverageCopy};
#else
const pix::RowKernels pix::kAvx2RowKernels = {};
#endif
