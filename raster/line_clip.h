// Segment clipping shared by the line operations.
#pragma once

#include <cstdint>

namespace pix {

// Outcode clipping never needs more than a few moves on a sane segment; the bound stops
// the rounding of the edge crossings from bouncing a point between two edges for ever.
inline constexpr int kMaxClipMoves = 33;

// Outcode of a point against 0..right by 0..bottom (right and bottom excluded): 1 left,
// 2 right, 4 above, 8 below.
template <class T>
int OutCode(T x, T y, T right, T bottom) {
    int c = x < 0 ? 1 : (x >= right ? 2 : 0);
    if (y < 0)
        c |= 4;
    else if (y >= bottom)
        c |= 8;
    return c;
}

// Integer outcode clipping to 0..width-1 by 0..height-1, in 64 bits so that end-point
// differences cannot overflow. The coordinates reached are left in place either way.
bool ClipSegment(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2, int64_t width, int64_t height);

// Cuts the segment to the box lo..hi on both axes (parametric, in double); false when
// nothing of it lies inside. Lets the integer operations take float input of any size.
bool ClipToBox(double& x1, double& y1, double& x2, double& y2, double lo, double hi);

}  // namespace pix
