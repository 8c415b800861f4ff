// Vector row kernels for the hottest copy blends, one table per instruction set; the
// level is chosen in raster/simd_kernels.h.
//
// A kernel handles a whole number of vectors from the start of the row (the coverage
// kernel: whole rows) and returns how many pixels it did; the caller finishes the rest
// with its scalar loop, which is the rule every kernel must match byte for byte.
#pragma once

#include <cstdint>

#include "raster/simd_kernels.h"

namespace pix {

struct RowKernels {
    SimdLevel level = SimdLevel::None;
    // The source-alpha copy at full weight: the alpha byte grows by a (saturating), the
    // colour keeps (255 - a) / 256 of the old, a = 0 leaves the pixel alone.
    int (*sourceAlphaCopyFull)(uint32_t* dst, const uint32_t* src, int n) = nullptr;
    // The same at weight w in 0..255: ws = (a + 1) w / 256 grows the alpha byte, the
    // colour keeps (256 - ws) / 256.
    int (*sourceAlphaCopy)(uint32_t* dst, const uint32_t* src, int n, int w) = nullptr;
    // Every byte d = s + (d - s) k / 256, truncated toward zero, k in 0..256.
    int (*copyWeighted)(uint32_t* dst, const uint32_t* src, int n, int k) = nullptr;
    // The same toward one colour.
    int (*fillWeighted)(uint32_t* dst, int n, uint32_t colour, int k) = nullptr;
    // One colour stored over the row.
    int (*fillStore)(uint32_t* dst, int n, uint32_t colour) = nullptr;
    // One colour through coverage bytes, as glyphs are drawn: every byte of a pixel of
    // coverage c moves toward the colour at weight c + 1 for w = 256, else c w / 256
    // (w in 0..255); coverage 0 leaves the pixel alone. Unlike the others it does all
    // n pixels of each of `rows` rows (dstStep pixels and covStep bytes apart), or
    // none (returns 0) for a weight out of its range.
    int (*coverageCopy)(uint32_t* dst, int64_t dstStep, const uint8_t* cov, int64_t covStep, int n, int rows,
                        uint32_t colour, int w) = nullptr;
};

// ActiveKernels().row, at hand for the row loops without a second look-up.
const RowKernels& ActiveRowKernels();

// The per-level tables, defined in the files compiled for each instruction set.
extern const RowKernels kSse2RowKernels;
extern const RowKernels kAvx2RowKernels;

}  // namespace pix
