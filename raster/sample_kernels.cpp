#include "raster/sample_kernels.h"

namespace pix {

namespace {
int NoWalk(uint32_t*, const SourceWindow&, int32_t, int32_t, int32_t, int32_t, int) { return 0; }
const SampleKernels kNoSampleKernels = {SimdLevel::None, NoWalk, NoWalk};
}  // namespace

const SampleKernels* SampleKernelsFor(SimdLevel level) {
    if (level == SimdLevel::None) return &kNoSampleKernels;
    // The row kernels' table says whether this machine runs the level.
    if (!RowKernelsFor(level)) return nullptr;
    const SampleKernels& k = level == SimdLevel::Avx2 ? kAvx2SampleKernels : kSse2SampleKernels;
    return k.level == level ? &k : nullptr;
}

const SampleKernels& ActiveSampleKernels() {
    static const SampleKernels& active = [] () -> const SampleKernels& {
        const SampleKernels* k = SampleKernelsFor(ActiveRowKernels().level);
        return k ? *k : kNoSampleKernels;
    }();
    return active;
}

}  // namespace pix
