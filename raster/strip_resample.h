// Resampling of image strips for the GUI scale: each destination pixel averages the
// bilinear taps over its footprint, and each frame of a strip is scaled on its own.
#pragma once

#include "raster/bitmap.h"
#include "raster/simd_kernels.h"

// Resamples the sw x sh area at (sx, sy) of `src` into the dw x dh area at (dx, dy) of
// `dst`. A source pixel outside the area (or outside the bitmap) counts as 0, so
// neighbouring frames of a strip never bleed into each other.
// `level` picks the vector code (tests run each); every level gives the same bytes.
void ResampleArea(const PIX_IBitmap& src, int sx, int sy, int sw, int sh,
                  PIX_IBitmap& dst, int dx, int dy, int dw, int dh,
                  pix::SimdLevel level = pix::ActiveKernels().level);

// Resamples `src` into `dst` frame by frame, each destination frame followed by a
// one-pixel gap (the destination is sized for it).
void ScaleStripFrames(const PIX_IBitmap& src, PIX_IBitmap& dst, int frames, bool horizontal,
                      pix::SimdLevel level = pix::ActiveKernels().level);

// Whether ScaleStripFrames from a sw x sh source into dw x dh only copies pixels, so that
// the destination holds every source pixel any frame reads (at a GUI scale that matches
// the artwork's own resolution).
bool StripScaleCopiesEveryPixel(int sw, int sh, int dw, int dh, int frames, bool horizontal);
// The source back from such a copy, into `image` at the source's size: every pixel a
// frame reads; the rest, which no resampling reads, 0.
void UnscaleStripCopy(const PIX_IBitmap& scaled, PIX_IBitmap& image, int frames, bool horizontal);
