// Vector kernels of the strip resampler (raster/strip_resample.cpp), one table per
// instruction set; the level is chosen in raster/simd_kernels.h. Level None is the plain
// rule that every other level matches byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/simd_kernels.h"

namespace pix {

// The taps of each destination column (or row) of a resampling in double arithmetic:
// consecutive source columns, each weighted by its share.
struct DoubleTaps {
    std::vector<int> first;      // per destination column or row: its first tap, and one past the last
    std::vector<int64_t> index;  // source column or row of each tap
    std::vector<double> weight;
};

struct StripKernels {
    SimdLevel level = SimdLevel::None;
    // The 2 x 2 (rows a and b) and 4 x 4 block means, truncated, of as many of the n
    // destination pixels as whole vectors give; they return how many they wrote, and the
    // caller's scalar loop does the rest.
    size_t (*boxRow2)(const uint32_t* a, const uint32_t* b, uint32_t* out, size_t n) = nullptr;
    size_t (*boxRow4)(const uint32_t* const rows[4], uint32_t* out, size_t n) = nullptr;
    // The bytes of a source row as doubles, four per pixel.
    void (*widen)(const uint8_t* bytes, size_t pixels, double* out) = nullptr;
    // One source row's column sums, four channels per destination column, from the row
    // widened (`row` holds the columns from the leftmost tap on).
    void (*columnSums)(const double* row, const DoubleTaps& columns, int64_t leftmost, double* out) = nullptr;
    // A destination row of n pixels from its `count` source rows' column sums and their
    // shares: each channel's sum times norm, truncated, at most 255.
    void (*rowOut)(const double* const* sums, const double* shares, int count, size_t n, double norm,
                   uint8_t* out) = nullptr;
};

// The plain rule: no block means (both return 0), the rest done tap by tap.
extern const StripKernels kPlainStripKernels;
extern const StripKernels kSse2StripKernels;
extern const StripKernels kAvx2StripKernels;

}  // namespace pix
