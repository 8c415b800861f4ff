#include "raster/sample_kernels.h"

#include <initializer_list>

namespace pix {

namespace {
int NoWalk(uint32_t*, const SourceWindow&, int32_t, int32_t, int32_t, int32_t, int) { return 0; }
int NoColumns(uint32_t*, const uint8_t*, const uint8_t*, const PairColumns&, uint32_t) { return 0; }
const SampleKernels kNoSampleKernels = {SimdLevel::None, NoWalk, NoWalk, NoColumns};
}  // namespace

const SampleKernels* SampleKernelsFor(SimdLevel level) {
    if (level == SimdLevel::None) return &kNoSampleKernels;
    // The row kernels' table says whether this machine runs the level.
    if (!RowKernelsFor(level)) return nullptr;
    const SampleKernels& k = level == SimdLevel::Avx2 ? kAvx2SampleKernels : kSse2SampleKernels;
    return k.level == level ? &k : nullptr;
}

PairColumns::PairColumns(int64_t s, int64_t ds, int n, int width) : left(size_t(n)), fx(size_t(n)) {
    for (size_t i = 0; i < size_t(n); ++i, s += ds) {
        const int x = int(s >> 16);
        const bool inner = x < width - 1;
        left[i] = inner ? x : x - 1;
        fx[i] = inner ? uint32_t(s & 0xffff) : 65536u;
    }
}

const SampleKernels& ActiveSampleKernels() {
    static const SampleKernels& active = [] () -> const SampleKernels& {
        for (SimdLevel l : {ActiveRowKernels().level, SimdLevel::Sse2})
            if (const SampleKernels* k = SampleKernelsFor(l)) return *k;
        return kNoSampleKernels;
    }();
    return active;
}

}  // namespace pix
