// Blits between small bitmaps fenced by canary pixels (or within one bitmap): clipped,
// scaled, rotated, delta and mesh blits, gradients, blur and the whole-bitmap helpers,
// with fuzzed rectangles, scales, angles and steps.
#include <random>
#include <vector>

#include "fuzz/fuzz_bodies.h"
#include "fuzz/fuzz_input.h"
#include "raster/bitmap_ops.h"
#include "raster/blit.h"
#include "raster/scaled_blit.h"
#include "raster/transform_blit.h"
#include "tests/raster/canary_bitmap.h"

namespace qdfuzz {
namespace {

void Blit(FuzzInput& in, CanaryBitmap& dst, CanaryBitmap& src) {
    const float alpha = in.Alpha();
    const uint32_t mode = in.Mode();
    const bool clip = in.Bool();
    switch (in.Below(13)) {
        case 0: {
            const PIX_Rect r{in.Int(), in.Int(), in.Int(), in.Int()};
            PIX_BlitRect(&dst, &src, in.Int(), in.Int(), clip ? &r : nullptr, alpha, mode);
            break;
        }
        case 1:
            PIX_Blit(&dst, &src, in.Int(), in.Int(), in.Int(), in.Int(), in.Int(), in.Int(), alpha, mode);
            break;
        case 2:
            PIX_GradRect(&dst, in.Int(), in.Int(), in.Int(), in.Int(), in.Float(), in.Float(), in.Float(), in.Float(),
                         in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(),
                         mode);
            break;
        case 3: PIX_Blur(&dst, &src, in.Int(), in.Int(), in.Int(), in.Int(), in.Int(), in.Int()); break;
        case 4:
            PIX_ScaledBlit(&dst, &src, in.Int(), in.Int(), in.Int(), in.Int(), in.Float(), in.Float(), in.Float(),
                           in.Float(), alpha, mode);
            break;
        case 5:
            PIX_RotatedBlit(&dst, &src, in.Int(), in.Int(), in.Int(), in.Int(), in.Float(), in.Float(), in.Float(),
                            in.Float(), in.Float(), clip, alpha, mode, in.Float(), in.Float());
            break;
        case 6:
            PIX_DeltaBlit(&dst, &src, in.Int(), in.Int(), in.Int(), in.Int(), in.Float(), in.Float(), in.Float(),
                          in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), clip,
                          alpha, mode);
            break;
        case 7:
            PIX_DeltaBlitAlpha(&dst, &src, in.Int(), in.Int(), in.Int(), in.Int(), in.Float(), in.Float(), in.Float(),
                               in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), in.Float(), clip,
                               alpha, in.Float(), in.Float(), in.Float(), mode);
            break;
        case 8: {
            // Exactly as many points as the grid asks for, so an over-read shows.
            const int perRow = in.Below(5), rows = in.Below(5), kind = in.Below(3);
            const int x = in.Int(), y = in.Int(), w = in.Int(), h = in.Int();
            const size_t n = size_t(perRow) * size_t(rows) * (kind == 2 ? 3 : 2);
            if (kind == 0) {
                std::vector<float> p(n);
                for (float& v : p) v = in.Float();
                PIX_TransformBlit(&dst, &src, x, y, w, h, p.data(), perRow, rows, alpha, mode);
            } else {
                std::vector<double> p(n);
                for (double& v : p) v = in.Float();
                if (kind == 1)
                    PIX_TransformBlit2(&dst, &src, x, y, w, h, p.data(), perRow, rows, alpha, mode);
                else
                    PIX_TransformBlit2Alpha(&dst, &src, x, y, w, h, p.data(), perRow, rows, mode);
            }
            break;
        }
        case 9:
            PIX_MultiplyAddRect(&dst, in.Int(), in.Int(), in.Int(), in.Int(), in.Float(), in.Float(), in.Float(),
                                in.Float(), in.Float(), in.Float(), in.Float(), in.Float());
            break;
        case 10: PIX_SimpleFill(&dst, in.Int(), in.Int(), in.U32(), in.U32(), in.U32()); break;
        case 11: {
            PIX_SetAlphaFromColorMask(&dst, in.U32() & 0xffffff00u);
            int diff[4];
            (void)PIX_BitmapCmpEx(&dst, &src, in.U32(), clip ? diff : nullptr);
            break;
        }
        default: PIX_HalveBlitAA(&dst, &src); break;
    }
}

}  // namespace

const char* Blit(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int dshape = in.Byte(), sshape = in.Byte();
    CanaryBitmap dst(1 + dshape % 16, 1 + (dshape >> 4), in.Bool(), in.Below(4));
    CanaryBitmap other(1 + sshape % 16, 1 + (sshape >> 4), in.Bool(), in.Below(4));
    std::mt19937 rng(in.Byte());
    dst.randomize(rng);
    other.randomize(rng);
    // Sometimes the source is the destination itself: overlapping blits and in-place blur.
    CanaryBitmap& src = in.Below(4) == 0 ? dst : other;
    for (int step = 0; step < 4 && !in.empty(); ++step) Blit(in, dst, src);
    // Checked once: the scan would otherwise cost more than the blits.
    return dst.damagedCanaries() != 0 ? "a blit drew outside its bitmap" : nullptr;
}

}  // namespace qdfuzz
