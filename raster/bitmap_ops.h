// Small whole-bitmap operations: per-channel scaling, per-pixel callbacks, colour
// keys, run fills, halving and comparison.
#pragma once

#include <cstdint>

#include "raster/bitmap.h"

// Each byte c of the clipped rectangle becomes clamp((c * trunc(scale * 256) +
// trunc(addend * 256)) >> 8), channel by channel.
void PIX_MultiplyAddRect(PIX_IBitmap* bitmap, int x, int y, int width, int height, float redScale,
                         float greenScale, float blueScale, float alphaScale, float redAdd, float greenAdd,
                         float blueAdd, float alphaAdd);

using PIX_PixelCallback = void (*)(uint32_t* pixel, void* context);
void PIX_ProcessRect(PIX_IBitmap* bitmap, int x, int y, int width, int height, PIX_PixelCallback callback,
                     void* context);

// Pixels equal to `color` (alpha byte ignored in the pixel; the colour's must be 0)
// become transparent, all others opaque.
void PIX_SetAlphaFromColorMask(PIX_IBitmap* bitmap, PIX_PixelValue color);

// Fills the runs connected to (x, y) through column x whose pixels match the start
// pixel under compareMask: each becomes (pixel & keepMask) | newColor.
void PIX_SimpleFill(PIX_IBitmap* bitmap, int x, int y, PIX_PixelValue newColor, uint32_t compareMask,
                    uint32_t keepMask);

// Each destination pixel becomes the average of a 2 x 2 source block (memory rows).
void PIX_HalveBlitAA(PIX_IBitmap* dest, PIX_IBitmap* source);

// 0 when equal; a size difference, or the sign of the first differing row, otherwise.
// With `diffRect` (left, top, width, height) the bounding box of the differing pixels
// is stored and the result is 1 when anything differs.
int PIX_BitmapCmp(const PIX_IBitmap* a, const PIX_IBitmap* b, int* diffRect);
int PIX_BitmapCmpEx(const PIX_IBitmap* a, const PIX_IBitmap* b, uint32_t channelMask, int* diffRect);
