#include "raster/row_kernels.h"

#include <initializer_list>

namespace pix {

namespace {
int NoRow(uint32_t*, const uint32_t*, int) { return 0; }
int NoWeightedRow(uint32_t*, const uint32_t*, int, int) { return 0; }
int NoFill(uint32_t*, int, uint32_t, int) { return 0; }
int NoStore(uint32_t*, int, uint32_t) { return 0; }
int NoCoverage(uint32_t*, int64_t, const uint8_t*, int64_t, int, int, uint32_t, int) { return 0; }
const RowKernels kNoRowKernels = {SimdLevel::None, NoRow, NoWeightedRow, NoWeightedRow, NoFill, NoStore, NoCoverage};

bool MachineHas(SimdLevel level) {
#if defined(__x86_64__) || defined(__i386__)
    if (level == SimdLevel::Avx2) {
        // A drawing made by a static constructor may come before the one that reads the
        // processor's features.
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2");
    }
#endif
    return level != SimdLevel::Avx2;
}
}  // namespace

const RowKernels* RowKernelsFor(SimdLevel level) {
    if (level == SimdLevel::None) return &kNoRowKernels;
    const RowKernels& k = level == SimdLevel::Avx2 ? kAvx2RowKernels : kSse2RowKernels;
    return k.level == level && MachineHas(level) ? &k : nullptr;
}

const RowKernels& ActiveRowKernels() {
    static const RowKernels& active = [] () -> const RowKernels& {
        for (SimdLevel l : {SimdLevel::Avx2, SimdLevel::Sse2})
            if (const RowKernels* k = RowKernelsFor(l)) return *k;
        return kNoRowKernels;
    }();
    return active;
}

}  // namespace pix
