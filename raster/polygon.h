// Solid fills bounded by straight edges: trapezoids, convex polygons, triangles.
#pragma once

#include <cstdint>

#include "raster/bitmap.h"
#include "raster/pixel.h"

// Fills every row from the top y to the bottom y (inclusive) between the edge joining the
// two smaller x's and the edge joining the two larger ones; the two (x a, x b, y) triples
// may come in either order. Rows are memory rows: the bitmap's flip is not applied.
void PIX_FillTrapezoid(PIX_IBitmap* bm, int topXa, int topXb, int topY, int bottomXa, int bottomXb,
                       int bottomY, PIX_PixelValue colour, float alpha, PIX_DrawMode mode);

// Fills the convex polygon through the points, given in any order; fewer than 3 points,
// or null arrays, draw nothing.
void PIX_FillConvexPolygon(PIX_IBitmap* bm, const int* x, const int* y, int count, PIX_PixelValue colour,
                           float alpha, PIX_DrawMode mode);

void PIX_FillTriangle(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, PIX_PixelValue colour,
                      float alpha, PIX_DrawMode mode);

// One polygon vertex as the fill sorts it. 64-bit so that flipping and edge differences
// of extreme coordinates cannot overflow.
struct PIX_PolygonVertex {
    int64_t x;
    int64_t y;
};

// qsort order of PIX_PolygonVertex: by y ascending, then by x ascending.
int PIX_ComparePolygonVertices(const void* a, const void* b);
