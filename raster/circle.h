// Circle outlines, discs, arcs and rounded-rectangle outlines.
#pragma once

#include "raster/bitmap.h"
#include "raster/pixel.h"

void PIX_Circle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_PixelValue colour, float alpha, int mode,
                bool antialias);
void PIX_FillCircle(PIX_IBitmap* bm, float cx, float cy, float r, PIX_PixelValue colour, float alpha, int mode,
                    bool antialias);
// Angles in radians, 0 pointing up from the centre and growing clockwise.
void PIX_Arc(PIX_IBitmap* bm, float cx, float cy, float r, float minAngle, float maxAngle, PIX_PixelValue colour,
             float alpha, int mode, bool antialias);
// The outline covers x to x + w and y to y + h inclusive.
void PIX_RoundRect(PIX_IBitmap* bm, float x, float y, float w, float h, int cornerRadius, PIX_PixelValue colour,
                   float alpha, int mode, bool antialias);

// Right and bottom exclusive.
struct PIX_CircleClipRect {
    int left, top, right, bottom;
};

// Runs the circle drawer for the mode over the circle of centre (cx, cy) and radius r at
// weight aw; with clip set, only pixels inside the rectangle are touched (the callers
// that clear it guarantee a two-pixel margin around the circle).
void PIX_CircleDispatch(PIX_IBitmap* bm, float cx, float cy, float r, PIX_PixelValue colour, int aw, bool antialias,
                        bool filled, int mode, const PIX_CircleClipRect& rect, bool clip);
