// The one place where the raster kernels' instruction set is chosen: the row, sampling
// and strip tables of each level (raster/row_kernels.h, raster/sample_kernels.h,
// raster/strip_kernels.h), and the best level this machine runs, picked once at the
// first drawing.
#pragma once

namespace pix {

enum class SimdLevel { None, Sse2, Avx2 };

struct RowKernels;
struct SampleKernels;
struct StripKernels;

// The three tables of one level. Level None has no row or sampling kernels (every entry
// returns 0) and the strip resampler's plain rule.
struct KernelTables {
    SimdLevel level;
    const RowKernels& row;
    const SampleKernels& sample;
    const StripKernels& strip;
};

// The tables of one level, or null where this machine (or build) lacks it.
const KernelTables* KernelsFor(SimdLevel level);

// The tables of the highest level up to `level` that this machine runs.
const KernelTables& KernelsUpTo(SimdLevel level);

// The best level this machine runs, chosen once.
const KernelTables& ActiveKernels();

}  // namespace pix
