// Operations that paint one colour: rectangle fill, clear, single pixels and drawing
// through an 8-bit coverage mask.
#pragma once

#include <cstdint>

#include "raster/bitmap.h"

void PIX_FillRect(PIX_IBitmap* bm, int x, int y, int width, int height, PIX_PixelValue colour, float alpha,
                  PIX_DrawMode mode);

// Every pixel of width x height (not the padding beyond the width) becomes colour.
void PIX_Clear(PIX_IBitmap* bm, PIX_PixelValue colour);

// Every pixel p of the clipped rectangle becomes (p & andMask) | orBits.
void PIX_ClearRect(PIX_IBitmap* bm, int x, int y, int width, int height, uint32_t andMask, uint32_t orBits);

// 0 outside the bitmap or for a bitmap without pixels.
PIX_PixelValue PIX_GetPixel(const PIX_IBitmap* bm, int x, int y);
void PIX_PutPixel(PIX_IBitmap* bm, int x, int y, PIX_PixelValue colour, float alpha, PIX_DrawMode mode);

// Draws colour through a mask of coverage bytes (0 leaves the pixel, 255 full), its
// top-left at (x, y). A null mask or a row span below the mask width draws nothing.
void PIX_DrawGlyph(PIX_IBitmap* bm, int x, int y, PIX_PixelValue colour, const uint8_t* coverage, int maskWidth,
                   int maskRowSpan, int maskHeight, float alpha, PIX_DrawMode mode);
// The same with the mask rows packed (row span = mask width).
void PIX_DrawGlyphEx(PIX_IBitmap* bm, int x, int y, PIX_PixelValue colour, const uint8_t* coverage, int maskWidth,
                     int maskHeight, float alpha, PIX_DrawMode mode);

namespace pix {

// A rectangle that lies wholly inside a bitmap.
struct Box {
    int x, y, w, h;
};

// The rectangle clipped to the bitmap, as every rectangle operation on one bitmap
// clips; false when nothing is left to draw or the bitmap has no pixels.
bool ClipBox(const PIX_IBitmap* bm, int x, int y, int width, int height, Box& out);

}  // namespace pix
