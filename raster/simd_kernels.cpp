#include "raster/simd_kernels.h"

#include "raster/row_kernels.h"
#include "raster/sample_kernels.h"
#include "raster/strip_kernels.h"

namespace pix {

namespace {

int NoRow(uint32_t*, const uint32_t*, int) { return 0; }
int NoWeightedRow(uint32_t*, const uint32_t*, int, int) { return 0; }
int NoFill(uint32_t*, int, uint32_t, int) { return 0; }
int NoStore(uint32_t*, int, uint32_t) { return 0; }
int NoCoverage(uint32_t*, int64_t, const uint8_t*, int64_t, int, int, uint32_t, int) { return 0; }
const RowKernels kNoRowKernels = {SimdLevel::None, NoRow, NoWeightedRow, NoWeightedRow, NoFill, NoStore, NoCoverage};

int NoWalk(uint32_t*, const SourceWindow&, int32_t, int32_t, int32_t, int32_t, int) { return 0; }
int NoColumns(uint32_t*, const uint8_t*, const uint8_t*, const PairColumns&, uint32_t) { return 0; }
const SampleKernels kNoSampleKernels = {SimdLevel::None, NoWalk, NoWalk, NoColumns};

// By level. A level's tables all come from the one file built for its instruction set;
// a build without that set leaves them empty (level None), and the level is then missing.
constinit const KernelTables kLevels[] = {
    {SimdLevel::None, kNoRowKernels, kNoSampleKernels, kPlainStripKernels},
    {SimdLevel::Sse2, kSse2RowKernels, kSse2SampleKernels, kSse2StripKernels},
    {SimdLevel::Avx2, kAvx2RowKernels, kAvx2SampleKernels, kAvx2StripKernels},
};

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

const KernelTables* KernelsFor(SimdLevel level) {
    const KernelTables& k = kLevels[int(level)];
    const bool built = k.row.level == level && k.sample.level == level && k.strip.level == level;
    return built && MachineHas(level) ? &k : nullptr;
}

const KernelTables& KernelsUpTo(SimdLevel level) {
    for (int l = int(level); l > int(SimdLevel::None); --l)
        if (const KernelTables* k = KernelsFor(SimdLevel(l))) return *k;
    return kLevels[0];
}

const KernelTables& ActiveKernels() {
    static const KernelTables& active = KernelsUpTo(SimdLevel::Avx2);
    return active;
}

const RowKernels& ActiveRowKernels() {
    static const RowKernels& row = ActiveKernels().row;
    return row;
}

const SampleKernels& ActiveSampleKernels() {
    static const SampleKernels& sample = ActiveKernels().sample;
    return sample;
}

}  // namespace pix
