#include "raster/transform_blit.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "raster/fill.h"
#include "raster/sample_kernels.h"
#include "raster/scaled_blit_sampling.h"
#include "raster/spans.h"

namespace {

using pix::Sample;
using pix::SourceWindow;

// Destination block and the 16.16 walk over the source: pixel (i, j) samples
// (s, t) + i (dsdx, dtdx) + j (dsdy, dtdy) + i j (ddsdx, ddtdx); the opacity
// accumulator moves the same way.
struct DeltaWalk {
    uint8_t* dest = nullptr;
    int64_t destStride = 0;
    int width = 0, height = 0;
    int64_t s = 0, t = 0, dsdx = 0, dtdx = 0, dsdy = 0, dtdy = 0, ddsdx = 0, ddtdx = 0;
    int64_t a = 0, dadx = 0, dady = 0, ddadx = 0;
};

using pix::BilinearSampler;
using pix::CentredBilinearSampler;
using pix::NearestSampler;

// One weight for the whole blit: rows are sampled by the vector kernels and combined
// a row at a time.
template <class Op>
struct FixedWeight {
    int weight;
    template <class Sampler>
    void row(uint8_t* d, pix::WalkKernel kernel, const SourceWindow& src, int64_t s, int64_t t, int64_t ds,
             int64_t dt, int n) const {
        pix::SampleAndBlendRow<Op, Sampler>(reinterpret_cast<uint32_t*>(d), kernel, src, s, t, ds, dt, n, weight);
    }
};

struct FunctionWeight {
    PIX_CombineFunc combine;
    int weight;
    void operator()(uint8_t* d, const Sample& s, int64_t) const { combine(d, s.r(), s.g(), s.b(), s.a(), weight); }
};

// The accumulator is opacity x 65536; its weight is >> 8, saturated where the
// combiners' arithmetic stays exact.
template <class Op>
struct VaryingWeight {
    void operator()(uint8_t* d, const Sample& s, int64_t a) const {
        const int64_t w = std::clamp<int64_t>(a >> 8, -kPixMaxWeight, kPixMaxWeight);
        Op::apply(d, s.r(), s.g(), s.b(), s.a(), int(w));
    }
};

template <class Sampler, class Blend>
void DeltaRows(const DeltaWalk g, const SourceWindow src, Blend blend) {  // by value, so nothing aliases them
    const int64_t limitS = int64_t(src.width) << 16, limitT = int64_t(src.height) << 16;
    int64_t rowS = g.s, rowT = g.t, dsdx = g.dsdx, dtdx = g.dtdx, rowA = g.a, dadx = g.dadx;
    constexpr bool kRows = requires { &Blend::template row<Sampler>; };
    const pix::WalkKernel kernel = pix::KernelFor<Sampler>(pix::ActiveSampleKernels(), src);
    for (int j = 0; j < g.height; ++j) {
        // Only the columns whose position lies inside the window are visited, so no
        // per-pixel bounds test is needed and nothing outside is ever read.
        const pix::Span span = pix::Intersect(pix::InsideRange(rowS + Sampler::kBias, dsdx, limitS, g.width),
                                              pix::InsideRange(rowT + Sampler::kBias, dtdx, limitT, g.width));
        uint8_t* d = g.dest + j * g.destStride;
        int64_t s = rowS + span.first * dsdx, t = rowT + span.first * dtdx, a = rowA + span.first * dadx;
        if constexpr (kRows) {
            if (!span.empty())
                blend.template row<Sampler>(d + 4 * span.first, kernel, src, s, t, dsdx, dtdx, span.last - span.first);
        } else {
            for (int i = span.first; i < span.last; ++i, s += dsdx, t += dtdx, a += dadx)
                blend(d + 4 * i, Sampler::get(src, s, t), a);
        }
        rowS += g.dsdy;
        rowT += g.dtdy;
        rowA += g.dady;
        dsdx += g.ddsdx;
        dtdx += g.ddtdx;
        dadx += g.ddadx;
    }
}

template <class Blend>
void RunDelta(const DeltaWalk& g, const SourceWindow& src, int sampling, Blend blend) {
    switch (sampling) {
        case 0: DeltaRows<NearestSampler>(g, src, blend); break;
        case 1: DeltaRows<BilinearSampler>(g, src, blend); break;
        default: DeltaRows<CentredBilinearSampler>(g, src, blend); break;
    }
}

// Mapping in source coordinates (relative to the window), before clipping.
struct Mapping {
    double s, t, dsdx, dtdx, dsdy, dtdy, ddsdx, ddtdx;
    double a = 0, dadx = 0, dady = 0, ddadx = 0;
};

// Clips the destination rectangle, moving the mapping with it, and converts it to
// 16.16. `round` rounds to the nearest 16.16 step instead of truncating. False when
// nothing is to be drawn.
bool SetUpWalk(PIX_IBitmap& dest, int x, int y, int width, int height, Mapping m, bool round, DeltaWalk& out) {
    if (width <= 0 || height <= 0) return false;
    const int64_t cx = x < 0 ? -int64_t(x) : 0, cy = y < 0 ? -int64_t(y) : 0;
    if (cx >= width || cy >= height) return false;
    // Pixel (i + cx, j + cy) of the old rectangle is pixel (i, j) of the new one.
    auto shift = [&](double& p, double& dx, double& dy, double ddxdy) {
        p += double(cx) * dx + double(cy) * dy + double(cx) * double(cy) * ddxdy;
        const double newDx = dx + double(cy) * ddxdy;
        dy += double(cx) * ddxdy;
        dx = newDx;
    };
    shift(m.s, m.dsdx, m.dsdy, m.ddsdx);
    shift(m.t, m.dtdx, m.dtdy, m.ddtdx);
    shift(m.a, m.dadx, m.dady, m.ddadx);
    x += int(cx);
    y += int(cy);
    width -= int(cx);
    height -= int(cy);
    if (x >= dest.getWidth() || y >= dest.getHeight()) return false;
    width = std::min(width, dest.getWidth() - x);
    height = std::min(height, dest.getHeight() - y);
    auto fixed = [round](double v, int64_t& f) { return pix::ToFixed(round ? std::nearbyint(v * 65536.0) / 65536.0 : v, f); };
    if (!fixed(m.s, out.s) || !fixed(m.t, out.t) || !fixed(m.dsdx, out.dsdx) || !fixed(m.dtdx, out.dtdx) ||
        !fixed(m.dsdy, out.dsdy) || !fixed(m.dtdy, out.dtdy) || !fixed(m.ddsdx, out.ddsdx) ||
        !fixed(m.ddtdx, out.ddtdx) || !fixed(m.a, out.a) || !fixed(m.dadx, out.dadx) || !fixed(m.dady, out.dady) ||
        !fixed(m.ddadx, out.ddadx))
        return false;
    out.dest = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dest, x, y));
    out.destStride = PIX_RowStep(dest) * 4;
    out.width = width;
    out.height = height;
    return true;
}

// The part of the source that may be read: the whole bitmap, or with clipToSource
// the source rectangle's part inside it. False when it is empty.
bool SourceWindowFor(const PIX_IBitmap& source, bool clipToSource, double sx, double sy, double sw, double sh,
                     SourceWindow& out, int& left, int& top) {
    double l = 0, t = 0, r = source.getWidth(), b = source.getHeight();
    if (clipToSource) {
        l = std::max(sx, 0.0);
        t = std::max(sy, 0.0);
        r = std::min(sx + sw, r);
        b = std::min(sy + sh, b);
    }
    if (!(r > l && b > t)) return false;
    left = int(l);
    top = int(t);
    const int width = int(r) - left, height = int(b) - top;
    if (width <= 0 || height <= 0) return false;
    out = pix::WindowOf(source, left, top, width, height);
    return true;
}

// Shared by the delta blits: window, mirroring, mapping relative to the window.
bool SetUpDelta(PIX_IBitmap* dest, PIX_IBitmap* source, int& x, int& y, int& width, int& height, double sx,
                double sy, double sw, double sh, bool clipToSource, Mapping& m, SourceWindow& window) {
    if (width == 0 || height == 0 || !PIX_HasPixels(dest) || !PIX_HasPixels(source)) return false;
    int left = 0, top = 0;
    if (!SourceWindowFor(*source, clipToSource, sx, sy, sw, sh, window, left, top)) return false;
    if (width < 0) sx += sw;
    if (height < 0) sy += sh;
    if (!pix::Unmirror(x, width) || !pix::Unmirror(y, height)) return false;
    m.s = sx - left;
    m.t = sy - top;
    return true;
}

void DeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int x, int y, int width, int height, double sx, double sy,
               double sw, double sh, double dsdx, double dtdx, double dsdy, double dtdy, double ddsdx, double ddtdx,
               bool clipToSource, float alpha, PIX_DrawMode mode) {
    Mapping m{0, 0, dsdx, dtdx, dsdy, dtdy, ddsdx, ddtdx};
    SourceWindow window;
    if (!SetUpDelta(dest, source, x, y, width, height, sx, sy, sw, sh, clipToSource, m, window)) return;
    const int weight = PIX_AlphaWeight(alpha);
    DeltaWalk walk;
    if (weight == 0 || !SetUpWalk(*dest, x, y, width, height, m, false, walk)) return;
    const int sampling = PIX_IsBilinear(mode) ? 1 : 0;
    pix::WithCombiner(mode, weight, [&]<class Op>() { RunDelta(walk, window, sampling, FixedWeight<Op>{weight}); });
}

void DeltaBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* source, int x, int y, int width, int height, double sx,
                    double sy, double sw, double sh, double dsdx, double dtdx, double dsdy, double dtdy, double ddsdx,
                    double ddtdx, bool clipToSource, double alpha, double dadx, double dady, double dadxdy,
                    PIX_DrawMode mode) {
    if (std::fabs(width * dadx) < 0.0001 && std::fabs(height * dady) < 0.0001 && std::fabs(height * dadxdy) < 0.0001) {
        DeltaBlit(dest, source, x, y, width, height, sx, sy, sw, sh, dsdx, dtdx, dsdy, dtdy, ddsdx, ddtdx,
                  clipToSource, float(alpha), mode);
        return;
    }
    Mapping m{0, 0, dsdx, dtdx, dsdy, dtdy, ddsdx, ddtdx, alpha, dadx, dady, dadxdy};
    SourceWindow window;
    if (!SetUpDelta(dest, source, x, y, width, height, sx, sy, sw, sh, clipToSource, m, window)) return;
    DeltaWalk walk;
    if (!SetUpWalk(*dest, x, y, width, height, m, false, walk)) return;
    const int sampling = PIX_IsBilinear(mode) ? 1 : 0;
    // Weights vary per pixel, so copy and multiply take their clamped forms; a weight
    // other than 0 and 256 selects the per-pixel-weight combiners, and the low byte
    // alone leaves the source-alpha bit out.
    pix::WithClampCombiner(mode & PIX_MODE_MASK, 1,
                           [&]<class Op>() { RunDelta(walk, window, sampling, VaryingWeight<Op>{}); });
}

// Grid corners of a mesh, read from float or double pairs or (x, y, alpha) triples.
struct MeshPoint {
    double x, y, a;
};

template <class Point>
void MeshBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int x, int y, int width, int height, int perRow, int rows,
              Point point, bool varyingAlpha, float alpha, PIX_DrawMode mode) {
    if (!dest || !source || width < 1 || height < 1 || perRow < 2 || rows < 2) return;
    // Cell edges are computed as ints from x + k * cell width.
    if (int64_t(x) + width > INT32_MAX || int64_t(y) + height > INT32_MAX) return;
    // Double precision keeps every edge of a grid near the int range exact.
    const double cellW = double(width) / (perRow - 1), cellH = double(height) / (rows - 1);
    auto edgeX = [&](int k) { return int(x + k * cellW + 0.5); };
    auto edgeY = [&](int k) { return int(y + k * cellH + 0.5); };
    const double sw = source->getWidth(), sh = source->getHeight();
    for (int cj = 0; cj + 1 < rows; ++cj) {
        const int y0 = edgeY(cj), ch = edgeY(cj + 1) - y0;
        if (ch <= 0) continue;
        for (int ci = 0; ci + 1 < perRow; ++ci) {
            const int x0 = edgeX(ci), cw = edgeX(ci + 1) - x0;
            if (cw <= 0) continue;
            const MeshPoint p00 = point(ci, cj), p10 = point(ci + 1, cj), p01 = point(ci, cj + 1),
                            p11 = point(ci + 1, cj + 1);
            const double w = cw, h = ch, wh = w * h;
            auto across = [&](double MeshPoint::*c) { return (p10.*c - p00.*c) / w; };
            auto down = [&](double MeshPoint::*c) { return (p01.*c - p00.*c) / h; };
            auto twist = [&](double MeshPoint::*c) { return ((p11.*c - p01.*c) - (p10.*c - p00.*c)) / wh; };
            if (varyingAlpha)
                DeltaBlitAlpha(dest, source, x0, y0, cw, ch, p00.x, p00.y, sw, sh, across(&MeshPoint::x),
                               across(&MeshPoint::y), down(&MeshPoint::x), down(&MeshPoint::y),
                               twist(&MeshPoint::x), twist(&MeshPoint::y), false, p00.a, across(&MeshPoint::a),
                               down(&MeshPoint::a), twist(&MeshPoint::a), mode);
            else
                DeltaBlit(dest, source, x0, y0, cw, ch, p00.x, p00.y, sw, sh, across(&MeshPoint::x),
                          across(&MeshPoint::y), down(&MeshPoint::x), down(&MeshPoint::y), twist(&MeshPoint::x),
                          twist(&MeshPoint::y), false, alpha, mode);
        }
    }
}

}  // namespace

void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                     float sourceX, float sourceY, float sourceWidth, float sourceHeight, float angle,
                     bool clipToSource, float alpha, PIX_DrawMode mode, float xOffset, float yOffset) {
    if (destWidth == 0 || destHeight == 0 || !PIX_HasPixels(dest) || !PIX_HasPixels(source)) return;
    SourceWindow window;
    int left = 0, top = 0;
    if (!SourceWindowFor(*source, clipToSource, sourceX, sourceY, sourceWidth, sourceHeight, window, left, top)) return;
    double sx = sourceX, sy = sourceY, sw = sourceWidth, sh = sourceHeight;
    if (destWidth < 0) {
        sx += sw;
        sw = -sw;
    }
    if (destHeight < 0) {
        sy += sh;
        sh = -sh;
    }
    if (!pix::Unmirror(destX, destWidth) || !pix::Unmirror(destY, destHeight)) return;
    const double dw = destWidth, dh = destHeight;
    const double a = sw / dw, b = sh / dh, c = std::cos(double(angle)), s = std::sin(double(angle));
    Mapping m{};
    m.dsdx = a * c;
    m.dtdx = -b * s;
    m.dsdy = a * s;
    m.dtdy = b * c;
    // The rectangle's corner maps so that its centre lands on the source centre
    // (moved by the offsets); positions are then taken at destination pixel centres,
    // which makes quarter and half turns exact permutations instead of shifting the
    // image by a pixel and dropping an edge row.
    m.s = sx + xOffset - (dw * a * c + dh * a * s - sw) / 2 + 0.5 * (m.dsdx + m.dsdy) - left;
    m.t = sy + yOffset - (dh * b * c - dw * b * s - sh) / 2 + 0.5 * (m.dtdx + m.dtdy) - top;
    const bool filter = PIX_IsBilinear(mode);
    if (filter) {
        // Bilinear weights count from pixel centres.
        m.s -= 0.5;
        m.t -= 0.5;
    }
    const int weight = PIX_AlphaWeight(alpha);
    DeltaWalk walk;
    // Rounding keeps cos and sin of quarter turns (off by ~1e-8) on exact positions.
    if (weight == 0 || !SetUpWalk(*dest, destX, destY, destWidth, destHeight, m, true, walk)) return;
    const int sampling = filter ? 2 : 0;
    pix::WithCombiner(mode, weight, [&]<class Op>() { RunDelta(walk, window, sampling, FixedWeight<Op>{weight}); });
}

void PIX_DeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                   float sourceX, float sourceY, float sourceWidth, float sourceHeight, float dsdx, float dtdx,
                   float dsdy, float dtdy, float dsdxdy, float dtdxdy, bool clipToSource, float alpha,
                   PIX_DrawMode mode) {
    DeltaBlit(dest, source, destX, destY, destWidth, destHeight, sourceX, sourceY, sourceWidth, sourceHeight, dsdx,
              dtdx, dsdy, dtdy, dsdxdy, dtdxdy, clipToSource, alpha, mode);
}

void PIX_DeltaBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth,
                        int destHeight, float sourceX, float sourceY, float sourceWidth, float sourceHeight,
                        float dsdx, float dtdx, float dsdy, float dtdy, float dsdxdy, float dtdxdy, bool clipToSource,
                        float alpha, float dadx, float dady, float dadxdy, PIX_DrawMode mode) {
    DeltaBlitAlpha(dest, source, destX, destY, destWidth, destHeight, sourceX, sourceY, sourceWidth, sourceHeight,
                   dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy, clipToSource, alpha, dadx, dady, dadxdy, mode);
}

namespace {

// Reads grid point (i, j) of `Stride` values each: x, y and, with three, alpha.
template <int Stride, class T>
auto GridReader(const T* points, int perRow) {
    return [points, perRow](int i, int j) {
        const T* p = points + Stride * (int64_t(j) * perRow + i);
        return MeshPoint{double(p[0]), double(p[1]), Stride > 2 ? double(p[Stride - 1]) : 0.0};
    };
}

}  // namespace

void PIX_TransformBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                       const float* points, int pointsPerRow, int pointRows, float alpha, PIX_DrawMode mode) {
    if (!points) return;
    MeshBlit(dest, source, destX, destY, destWidth, destHeight, pointsPerRow, pointRows,
             GridReader<2>(points, pointsPerRow), false, alpha, mode);
}

void PIX_TransformBlit2(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                        const double* points, int pointsPerRow, int pointRows, float alpha, PIX_DrawMode mode) {
    if (!points) return;
    MeshBlit(dest, source, destX, destY, destWidth, destHeight, pointsPerRow, pointRows,
             GridReader<2>(points, pointsPerRow), false, alpha, mode);
}

void PIX_TransformBlit2Alpha(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth,
                             int destHeight, const double* points, int pointsPerRow, int pointRows,
                             PIX_DrawMode mode) {
    if (!points) return;
    MeshBlit(dest, source, destX, destY, destWidth, destHeight, pointsPerRow, pointRows,
             GridReader<3>(points, pointsPerRow), true, 1.0f, mode);
}

void PIX_DeltaBlitRow(uint8_t* dest, const uint8_t* source, int width, int height, int32_t s, int32_t t,
                      int32_t dsdx, int32_t dtdx, int32_t dsdy, int32_t dtdy, int32_t dsdxdy, int32_t dtdxdy,
                      int windowWidth, int windowHeight, int sourceStride, int destStride, int weight,
                      uint32_t filterBits, PIX_CombineFunc combine) {
    if (!dest || !source || !combine || width <= 0 || height <= 0 || windowWidth <= 0 || windowHeight <= 0) return;
    const DeltaWalk walk{dest, destStride, width, height, s, t, dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy};
    const SourceWindow window{source, sourceStride, windowWidth, windowHeight};
    RunDelta(walk, window, filterBits == 0x100 ? 1 : 0, FunctionWeight{combine, weight});
}
