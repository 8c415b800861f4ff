// Bezier curves, flattened into float lines (outlines) or polygon slices (fills), and
// rectangle outlines.
#pragma once

#include "raster/bitmap.h"
#include "raster/pixel.h"

// Tolerance: the length of path per straight piece, in pixels; 0 or less (or NaN) is 1.
void PIX_DrawQBezier(PIX_IBitmap* bm, float xs, float ys, float xc, float yc, float xe, float ye,
                     PIX_PixelValue colour, float alpha, int mode, bool antialias, float tolerance);
void PIX_DrawCBezier(PIX_IBitmap* bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
                     PIX_PixelValue colour, float alpha, int mode, bool antialias, float tolerance);
// Fills between the curve and the row fillY.
void PIX_FillCBezier(PIX_IBitmap* bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
                     int fillY, PIX_PixelValue colour, float alpha, int mode, float tolerance);
// Fills between the curve and the column fillX.
void PIX_FillCBezierX(PIX_IBitmap* bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                      float y3, int fillX, PIX_PixelValue colour, float alpha, int mode, float tolerance);

// ---- The steps of the curve operations. ----

// y of the quadratic at x = target, and its parameter in *t.
double PIX_QBezierYAtX(float x0, float x1, float x2, float y0, float y1, float y2, float target, double* t);

// A cubic as the curve operations use it: the end points ordered, the polynomial
// coefficients, the drawn (clipped) ends with their parameters, and the piece count.
struct PIX_CubicCurve {
    float x[4], y[4];
    double ax, bx, cx, ay, by, cy;
    float startX, startY, endX, endY;
    double t0, t1;
    int count;

    double X(double t) const { return ((ax * t + bx) * t + cx) * t + x[0]; }
    double Y(double t) const { return ((ay * t + by) * t + cy) * t + y[0]; }
};

// y of the cubic at x = target by bisection, with the bracketing parameters *tLo and
// *tHi; the curve must have its coefficients set.
double PIX_CBezierYAtX(const PIX_CubicCurve& c, float target, double* tLo, double* tHi);

// Orders the ends (by x with orderByX, else by y), clips the curve to the bitmap's columns
// and returns the piece count (0: nothing to draw; also for non-finite input).
int PIX_CBezierPrep(PIX_IBitmap* bm, bool orderByX, const float x[4], const float y[4], float tolerance,
                    PIX_CubicCurve* out);
