// Rectangle outlines drawn with integer lines.
#pragma once

#include "raster/bitmap.h"

// Outline of columns x to x + w and rows y to y + h inclusive; the corners are drawn twice.
void PIX_DrawRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_PixelValue colour, float alpha, int mode);
void PIX_BorderedRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_PixelValue fillColour,
                      PIX_PixelValue borderColour, float alpha, int mode);
