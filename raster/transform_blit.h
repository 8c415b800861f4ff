// Blits whose source position moves by arbitrary per-pixel and per-row steps
// (rotation, caller-given steps, meshes).
#pragma once

#include <cstdint>

#include "raster/bitmap.h"
#include "raster/combiners.h"

// Rotates the source rectangle by `angle` radians about its centre (moved by the
// offsets) while fitting it to the destination rectangle. With clipToSource only the
// part of the source rectangle inside the bitmap is read; otherwise the whole bitmap.
// Samples are taken at the destination pixel centres, so quarter turns are exact.
void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                     float sourceX, float sourceY, float sourceWidth, float sourceHeight, float angle,
                     bool clipToSource, float alpha, PIX_DrawMode mode, float xOffset = 0.0f, float yOffset = 0.0f);

// Destination pixel (i, j) of the rectangle samples the source at
// (sourceX, sourceY) + i * (dsdx, dtdx) + j * (dsdy, dtdy) + i * j * (dsdxdy, dtdxdy).
void PIX_DeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                   float sourceX, float sourceY, float sourceWidth, float sourceHeight, float dsdx, float dtdx,
                   float dsdy, float dtdy, float dsdxdy, float dtdxdy, bool clipToSource, float alpha,
                   PIX_DrawMode mode);

// As PIX_DeltaBlit with an opacity that changes across the area the same way.
// Chooses its combiner by the mode's low byte alone (copy and multiply clamped).
void PIX_DeltaBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth,
                        int destHeight, float sourceX, float sourceY, float sourceWidth, float sourceHeight,
                        float dsdx, float dtdx, float dsdy, float dtdy, float dsdxdy, float dtdxdy, bool clipToSource,
                        float alpha, float dadx, float dady, float dadxdy, PIX_DrawMode mode);

// Mesh blits: `points` holds pointsPerRow x pointRows source positions, row after
// row, for the corners of an even grid over the destination rectangle; each cell is
// mapped bilinearly.
void PIX_TransformBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                       const float* points, int pointsPerRow, int pointRows, float alpha, PIX_DrawMode mode);
void PIX_TransformBlit2(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                        const double* points, int pointsPerRow, int pointRows, float alpha, PIX_DrawMode mode);
// Points are (x, y, alpha) triples.
void PIX_TransformBlit2Alpha(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth,
                             int destHeight, const double* points, int pointsPerRow, int pointRows,
                             PIX_DrawMode mode);

// The row worker behind the blits above, for callers with their own set-up. Positions
// and steps are 16.16; strides are in bytes; the source window is windowWidth x
// windowHeight pixels from `source`. Pixels mapping outside the window are left.
void PIX_DeltaBlitRow(uint8_t* dest, const uint8_t* source, int width, int height, int32_t s, int32_t t,
                      int32_t dsdx, int32_t dtdx, int32_t dsdy, int32_t dtdy, int32_t dsdxdy, int32_t dtdxdy,
                      int windowWidth, int windowHeight, int sourceStride, int destStride, int weight,
                      uint32_t filterBits, PIX_CombineFunc combine);
