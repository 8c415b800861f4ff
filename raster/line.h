// One-pixel lines: integer end points, float end points (optionally anti-aliased),
// dashed axis-aligned lines, and their clippers.
#pragma once

#include "raster/bitmap.h"
#include "raster/pixel.h"

// Both end points are drawn. The anti-alias flag matters to diagonal and general lines.
void PIX_Line(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_PixelValue colour, float alpha, int mode,
              bool antialias);

// Clips the segment in place to 0..width-1 by 0..height-1; false when nothing of it is
// inside (the coordinates reached are written back either way).
bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int width, int height);
// The same for the rectangle xlo..xhi-1 by ylo..yhi-1.
bool PIX_ClipLineToRect(int* x1, int* y1, int* x2, int* y2, int xlo, int ylo, int xhi, int yhi);

// Float end points. Anti-aliased, each major step spreads its coverage over two pixels;
// plain, the truncated coordinates go to PIX_Line. Non-finite points draw nothing.
void PIX_FLine(PIX_IBitmap* bm, float x1, float y1, float x2, float y2, PIX_PixelValue colour, float alpha,
               int mode, bool antialias);

// Clips to 0 <= x < width - 1, 0 <= y < height - 1, so that the second pixel of an
// anti-aliased pair stays inside; false when nothing is left or the input is not finite.
bool PIX_ClipFLine(float* x1, float* y1, float* x2, float* y2, int width, int height);
bool PIX_ClipFLineToRect(float* x1, float* y1, float* x2, float* y2, float xlo, float ylo, float xhi, float yhi);

// Horizontal or vertical dashed line: pixelsOn drawn, pixelsOff skipped, starting "on" at
// the end with the smaller coordinate; the far end itself is never drawn.
void PIX_DashedLine(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int pixelsOn, int pixelsOff,
                    PIX_PixelValue colour, float alpha, int mode);
