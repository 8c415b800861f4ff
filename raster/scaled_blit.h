// Blits a float source rectangle into an integer destination rectangle of another
// size, with nearest, bilinear or box-kernel sampling.
#pragma once

#include "raster/bitmap.h"

// A negative destination width or height mirrors the image along that axis.
// PIX_MODE_FILTER_BILINEAR asks for filtering (a box average when shrinking by 1.7
// or more on both axes).
void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                    float sourceX, float sourceY, float sourceWidth, float sourceHeight, float alpha,
                    PIX_DrawMode mode);
