#include "raster/rect_outline.h"

#include <cstdint>

#include "raster/fill.h"
#include "raster/line.h"
#include "raster/vector_spans.h"

namespace {

// Coordinates near the int limits saturate rather than wrap.
int Plus(int v, int d) { return pix::SatInt64(int64_t(v) + d); }

}  // namespace

void PIX_DrawRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_PixelValue colour, float alpha, int mode) {
    const int right = Plus(x, w), bottom = Plus(y, h);
    PIX_Line(bm, x, y, right, y, colour, alpha, mode, false);
    PIX_Line(bm, right, y, right, bottom, colour, alpha, mode, false);
    PIX_Line(bm, right, bottom, x, bottom, colour, alpha, mode, false);
    PIX_Line(bm, x, bottom, x, y, colour, alpha, mode, false);
}

void PIX_BorderedRect(PIX_IBitmap* bm, int x, int y, int w, int h, PIX_PixelValue fillColour,
                      PIX_PixelValue borderColour, float alpha, int mode) {
    PIX_FillRect(bm, Plus(x, 1), Plus(y, 1), Plus(w, -1), Plus(h, -1), fillColour, alpha, PIX_DrawMode(mode));
    PIX_DrawRect(bm, x, y, w, h, borderColour, alpha, mode);
}
