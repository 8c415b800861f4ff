#include "raster/scaled_blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "raster/blit.h"
#include "raster/combiners.h"
#include "raster/fast_paths.h"
#include "raster/sample_kernels.h"
#include "raster/scaled_blit_sampling.h"
#include "raster/spans.h"

namespace {

using pix::SourceWindow;

using pix::BilinearSampler;
using pix::NearestSampler;

// Destination block and the 16.16 source walk; every (column, row) of the block
// samples inside the source window.
struct Walk {
    uint8_t* dest;
    int64_t destStride;
    int width, height;
    int64_t sx, dx, sy, dy;
};

// Walk and window by value: the destination writes cannot then alias them, so they
// stay in registers.
template <class Op, class Sampler>
void ScaledRows(const Walk g, const SourceWindow src, int weight) {
    const pix::WalkKernel kernel = pix::KernelFor<Sampler>(pix::ActiveSampleKernels(), src);
    for (int j = 0; j < g.height; ++j)
        pix::SampleAndBlendRow<Op, Sampler>(reinterpret_cast<uint32_t*>(g.dest + j * g.destStride), kernel, src, g.sx,
                                            g.sy + j * g.dy, g.dx, 0, g.width, weight);
}

// The box reductions: each destination pixel is the mean of the (2R + 1)^2 taps
// around its source pixel that lie in the window, the fractions unused. The columns'
// sums down a row's taps are made once per row, so each pixel adds 2R + 1 column
// sums instead of (2R + 1)^2 pixels. Steps are forward (at least 1.7).
template <class Op, int R>
void BoxRows(const Walk g, const SourceWindow src, int weight) {
    const int first = std::max(int(g.sx >> 16) - R, 0);
    const int last = std::min(int((g.sx + (g.width - 1) * g.dx) >> 16) + R, src.width - 1);
    // Four channel sums per column from `first`: at most 5 x 255 each.
    std::vector<uint16_t> sums(4 * size_t(last - first + 1));
    for (int j = 0; j < g.height; ++j) {
        const int y = int((g.sy + j * g.dy) >> 16);
        const int y0 = std::max(y - R, 0), y1 = std::min(y + R, src.height - 1);
        std::fill(sums.begin(), sums.end(), uint16_t(0));
        for (int ty = y0; ty <= y1; ++ty) {
            const uint8_t* row = src.at(first, ty);
            uint16_t* sum = sums.data();
            for (size_t k = 0; k < sums.size(); ++k) sum[k] = uint16_t(sum[k] + row[k]);
        }
        uint8_t* d = g.dest + j * g.destStride;
        int64_t px = g.sx;
        for (int i = 0; i < g.width; ++i, px += g.dx) {
            const int x = int(px >> 16);
            const int x0 = std::max(x - R, 0), x1 = std::min(x + R, src.width - 1);
            const uint16_t* c = sums.data() + 4 * size_t(x0 - first);
            uint32_t total[4] = {0, 0, 0, 0};
            if (x1 - x0 == 2 * R) {  // the whole box across: a loop of fixed length
                for (int t = 0; t <= 2 * R; ++t)
                    for (int k = 0; k < 4; ++k) total[k] += c[4 * t + k];
            } else {
                for (int t = 0; t <= x1 - x0; ++t)
                    for (int k = 0; k < 4; ++k) total[k] += c[4 * t + k];
            }
            const uint64_t rec = pix::kBoxReciprocal[size_t((x1 - x0 + 1) * (y1 - y0 + 1))];
            auto mean = [rec](uint32_t t) { return int((t * rec) >> 24); };
            Op::apply(d + 4 * i, mean(total[1]), mean(total[2]), mean(total[3]), mean(total[0]), weight);
        }
    }
}

// Bilinear scaling without rotation reads the same columns at the same fractions in
// every row: the columns are worked out once for the whole blit. False (nothing
// drawn) where the kernels cannot take the window.
template <class Op>
bool BilinearColumnRows(const Walk& g, const SourceWindow& src, int weight) {
    const pix::SampleKernels& kernels = pix::ActiveSampleKernels();
    // Small blits are left to the walk, which needs no set-up.
    if (g.width < 16 || g.height < 4 || kernels.level == pix::SimdLevel::None || src.width < 2 ||
        !pix::KernelsReach(src))
        return false;
    const int n = g.width;
    const pix::PairColumns columns(g.sx, g.dx, n, src.width);
    std::vector<uint32_t> block(std::is_same_v<Op, pix::CopyFull> ? 0 : size_t(n));
    for (int j = 0; j < g.height; ++j) {
        const int64_t py = g.sy + j * g.dy;
        const int y = int(py >> 16);
        const uint8_t* top = src.at(0, y);
        const uint8_t* bottom = y < src.height - 1 ? top + src.stride : top;
        auto* d = reinterpret_cast<uint32_t*>(g.dest + j * g.destStride);
        uint32_t* out = block.empty() ? d : block.data();
        int i = kernels.bilinearColumns(out, top, bottom, columns, uint32_t(py & 0xffff));
        for (; i < n; ++i) out[i] = BilinearSampler::get(src, g.sx + i * g.dx, py).v;
        if (!block.empty()) pix::BlendRow<Op>(d, out, n, weight);
    }
    return true;
}

// The nearest sample stored with a shortcut's rounding.
template <pix::Rounding R>
void RoundedRows(const Walk& g, const SourceWindow& src) {
    const pix::WalkKernel kernel = pix::KernelFor<NearestSampler>(pix::ActiveSampleKernels(), src);
    for (int j = 0; j < g.height; ++j)
        pix::SampleThroughBlocks<NearestSampler>(
            reinterpret_cast<uint32_t*>(g.dest + j * g.destStride), kernel, src, g.sx, g.sy + j * g.dy, g.dx, 0,
            g.width, [](uint32_t* d, const uint32_t* b, int m) { pix::BlendRowRounded<R>(d, b, m); });
}

bool NearWhole(float v) { return std::fabs(v - std::floor(v + 0.5f)) < 0.03f; }

// Scale 1 at a whole source position: the unscaled blit does it exactly and faster.
// Mirrored sizes stay on the scaled path, which knows how to walk backwards.
bool BlitUnscaled(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                  float sourceX, float sourceY, float alpha, PIX_DrawMode mode) {
    if (destWidth < 0 || destHeight < 0) return false;
    // Positions this far out lie outside every bitmap; they must not reach an int conversion.
    if (!(std::fabs(sourceX) < 1e9f && std::fabs(sourceY) < 1e9f)) return true;
    const int64_t left = int64_t(sourceX + 0.5f), top = int64_t(sourceY + 0.5f);
    if (std::abs(left) > INT32_MAX / 2 || std::abs(top) > INT32_MAX / 2) return true;
    // The far edges saturate: a size near INT_MAX would otherwise wrap the rectangle
    // to an empty one.
    const auto far = [](int64_t v) { return int(std::min<int64_t>(v, INT32_MAX)); };
    const PIX_Rect rect{int(left), int(top), far(left + destWidth), far(top + destHeight)};
    PIX_BlitRect(dest, source, destX, destY, &rect, alpha, mode);
    return true;
}

// One axis of the set-up: destination start and length, float source start and
// size, and the sampling limit, reduced to the 16.16 walk that stays inside.
struct Axis {
    int dest, length;
    int64_t start, step;
    int limit;
};

// Returns false when nothing along this axis can be drawn.
bool SetUpAxis(int destPos, int destSize, float srcPos, float srcSize, int destExtent, int srcExtent, Axis& out,
               float& stepOut) {
    const bool mirrored = destSize < 0;
    const float unmirroredPos = srcPos;
    if (mirrored) {
        if (!pix::Unmirror(destPos, destSize)) return false;
        srcPos += srcSize;
        srcSize = -srcSize;
    }
    const float step = srcSize / float(destSize);
    stepOut = step;
    // The limit belongs to the source rectangle, so it is taken before the walk is
    // moved for clipping: clipping the destination must not widen what is sampled.
    const double limitF = std::trunc(double(srcPos) + std::max(double(srcSize), 0.0) + 0.999999);
    if (!(limitF >= 1.0)) return false;
    const int limit = limitF > srcExtent ? srcExtent : int(limitF);
    int64_t s, d;
    if (!pix::ToFixed(step, d)) return false;
    if (mirrored && d < 0) {
        // Walk the unmirrored positions backwards: starting on the right edge instead
        // would sample nothing in the first column and lose the first source column.
        if (!pix::ToFixed(unmirroredPos, s)) return false;
        s -= (int64_t(destSize) - 1) * d;
    } else if (!pix::ToFixed(srcPos, s)) {
        return false;
    }
    if (destPos < 0) {
        if (int64_t(destSize) + destPos <= 0) return false;
        s += -int64_t(destPos) * d;
        destSize += destPos;
        destPos = 0;
    }
    if (destSize <= 0 || destPos >= destExtent) return false;
    destSize = std::min(destSize, destExtent - destPos);
    if (d > 0) {
        if (s < 0) {
            const int64_t n = ((d - 1) - s) / d;
            if (n >= destSize) return false;
            destPos += int(n);
            destSize -= int(n);
            s += n * d;
        }
        if (((destSize - 1) * d + s) / 65536 >= srcExtent)
            destSize = int(std::min<int64_t>(destSize, (int64_t(srcExtent) * 65536 - 65536 - s) / d));
        if (destSize <= 0) return false;
    }
    const pix::Span inside = pix::InsideRange(s, d, int64_t(limit) * 65536, destSize);
    if (inside.empty()) return false;
    out = {destPos + inside.first, inside.last - inside.first, s + inside.first * d, d, limit};
    return true;
}

}  // namespace

void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* source, int destX, int destY, int destWidth, int destHeight,
                    float sourceX, float sourceY, float sourceWidth, float sourceHeight, float alpha,
                    PIX_DrawMode mode) {
    if (!dest || !source || destWidth == 0 || destHeight == 0 || alpha == 0.0f) return;
    const bool filter = PIX_IsBilinear(mode);
    if (std::fabs(sourceWidth - float(destWidth)) < 0.001f && std::fabs(sourceHeight - float(destHeight)) < 0.001f &&
        (!filter || (NearWhole(sourceX) && NearWhole(sourceY)))) {
        if (BlitUnscaled(dest, source, destX, destY, destWidth, destHeight, sourceX, sourceY, alpha, mode)) return;
    }
    if (!PIX_HasPixels(dest) || !PIX_HasPixels(source)) return;
    Axis ax, ay;
    float stepX = 0, stepY = 0;
    if (!SetUpAxis(destX, destWidth, sourceX, sourceWidth, dest->getWidth(), source->getWidth(), ax, stepX)) return;
    if (!SetUpAxis(destY, destHeight, sourceY, sourceHeight, dest->getHeight(), source->getHeight(), ay, stepY))
        return;
    const int weight = PIX_AlphaWeight(alpha);
    if (weight == 0) return;

    const SourceWindow src = pix::WindowOf(*source, 0, 0, ax.limit, ay.limit);
    const Walk walk{reinterpret_cast<uint8_t*>(PIX_PixelAddress(*dest, ax.dest, ay.dest)), PIX_RowStep(*dest) * 4,
                    ax.length, ay.length, ax.start, ax.step, ay.start, ay.step};

    if (const pix::FastPath* f = pix::FindFastPath(pix::FastOp::ScaledBlit, mode, weight, false)) {
        pix::WithRounding(f->rounding, [&]<pix::Rounding R>() { RoundedRows<R>(walk, src); });
        return;
    }
    // The box kernels are for forward steps only: a mirrored shrink (negative step)
    // interpolates bilinearly.
    const bool box = filter && stepX >= 1.7f && stepY >= 1.7f;
    const bool wide = std::max(std::abs(ax.step), std::abs(ay.step)) > 0x30000;
    pix::WithCombiner(mode, weight, [&]<class Op>() {
        if (box && wide)
            BoxRows<Op, 2>(walk, src, weight);
        else if (box)
            BoxRows<Op, 1>(walk, src, weight);
        else if (!filter)
            ScaledRows<Op, NearestSampler>(walk, src, weight);
        else if (!BilinearColumnRows<Op>(walk, src, weight))
            ScaledRows<Op, BilinearSampler>(walk, src, weight);
    });
}
