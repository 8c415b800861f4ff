// The row kernels for SSE2, the x86-64 baseline.
#include "raster/row_kernels_simd.h"

namespace {
#if defined(__SSE2__)
int SourceAlphaCopyFull(uint32_t* dst, const uint32_t* src, int n) {
    return SourceAlphaCopyRow<Sse2Ops, true>(dst, src, n, 256);
}
int SourceAlphaCopy(uint32_t* dst, const uint32_t* src, int n, int w) {
    return SourceAlphaCopyRow<Sse2Ops, false>(dst, src, n, w);
}
int CopyWeighted(uint32_t* dst, const uint32_t* src, int n, int k) {
    return CopyWeightedRow<Sse2Ops, false>(dst, src, 0, n, k);
}
int FillWeighted(uint32_t* dst, int n, uint32_t colour, int k) {
    return CopyWeightedRow<Sse2Ops, true>(dst, nullptr, colour, n, k);
}
int FillStore(uint32_t* dst, int n, uint32_t colour) { return StoreRow<Sse2Ops>(dst, n, colour); }
int CoverageCopy(uint32_t* dst, int64_t dstStep, const uint8_t* cov, int64_t covStep, int n, int rows,
                 uint32_t colour, int w) {
    return CoverageCopyArea<Sse2Ops>(dst, dstStep, cov, covStep, n, rows, colour, w);
}
#endif
}  // namespace

#if defined(__SSE2__)
const pix::RowKernels pix::kSse2RowKernels = {SimdLevel::Sse2, SourceAlphaCopyFull, SourceAlphaCopy,
                                              CopyWeighted, FillWeighted, FillStore, CoverageCopy};
#else
const pix::RowKernels pix::kSse2RowKernels = {};
#endif
