// Unscaled transfers between bitmaps: the clipped blit, bitmap copy, gradient fill
// and the 5-tap blur.
#pragma once

#include "raster/bitmap.h"

// Right and bottom are exclusive.
struct PIX_Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

namespace pix {

// A blit's area after clipping: where it lands, where it is read from, its size.
struct BlitArea {
    int dx, dy, sx, sy, w, h;
};
// Clips a source rectangle (null: the whole source) placed at (dx, dy) against both
// bitmaps; false when nothing is left or either bitmap has no pixels.
bool ClipBlit(const PIX_IBitmap& dst, const PIX_IBitmap& src, int dx, int dy, const PIX_Rect* rect, BlitArea& out);
// The source rectangle of sw x sh at (sx, sy), its far edges saturated to int.
PIX_Rect SourceRect(int sx, int sy, int sw, int sh);

}  // namespace pix

// Draws the source rectangle (null: the whole source) with its top-left pixel at
// (dx, dy). Source and destination areas may overlap within one bitmap.
void PIX_BlitRect(PIX_IBitmap* dst, const PIX_IBitmap* src, int dx, int dy, const PIX_Rect* srcRect, float alpha,
                  PIX_DrawMode mode);
void PIX_Blit(PIX_IBitmap* dst, const PIX_IBitmap* src, int dx, int dy, int sx, int sy, int sw, int sh, float alpha,
              PIX_DrawMode mode);

// Makes dst the size of src and copies every pixel.
void PIX_Copy(PIX_IBitmap* dst, const PIX_IBitmap* src);

// A rectangle whose colour changes linearly along x and y; colours on a 0..1 scale.
void PIX_GradRect(PIX_IBitmap* dst, int x, int y, int width, int height, float r, float g, float b, float a,
                  float drdx, float dgdx, float dbdx, float dadx, float drdy, float dgdy, float dbdy, float dady,
                  PIX_DrawMode mode);

// 5-tap smoothing of a source area into the destination; dst may be src (in place).
void PIX_Blur(PIX_IBitmap* dst, const PIX_IBitmap* src, int dx, int dy, int sx, int sy, int sw, int sh);
