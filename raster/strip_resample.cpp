#include "raster/strip_resample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/fill.h"

void ResampleArea(const PIX_IBitmap& src, int sx, int sy, int sw, int sh,
                  PIX_IBitmap& dst, int dx, int dy, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || !PIX_HasPixels(&src) || !PIX_HasPixels(&dst)) return;

    // Readable source: the area as far as it lies inside the bitmap.
    const int64_t ax0 = std::max(sx, 0), ay0 = std::max(sy, 0);
    const int64_t ax1 = std::min<int64_t>(int64_t(sx) + sw, src.getWidth());
    const int64_t ay1 = std::min<int64_t>(int64_t(sy) + sh, src.getHeight());
    // Written destination: the area as far as it lies inside the bitmap.
    const int xBegin = int(std::clamp<int64_t>(-int64_t(dx), 0, dw));
    const int xEnd = int(std::clamp<int64_t>(int64_t(dst.getWidth()) - dx, 0, dw));
    const int yBegin = int(std::clamp<int64_t>(-int64_t(dy), 0, dh));
    const int yEnd = int(std::clamp<int64_t>(int64_t(dst.getHeight()) - dy, 0, dh));
    if (xBegin >= xEnd || yBegin >= yEnd) return;

    // One source pixel per destination pixel (double-size artwork at a GUI scale of 2):
    // every tap but the pixel itself weighs 0, so the rows are copied as they are.
    if (sw == dw && sh == dh && ax0 == sx && ay0 == sy && ax1 == int64_t(sx) + sw && ay1 == int64_t(sy) + sh) {
        for (int y = yBegin; y < yEnd; ++y)
            std::memmove(PIX_PixelAddress(dst, dx + xBegin, dy + y), PIX_PixelAddress(src, sx + xBegin, sy + y),
                         size_t(xEnd - xBegin) * 4);
        return;
    }

    const double rx = double(sw) / dw, ry = double(sh) / dh;
    const int kx = std::max(int(rx + 0.99999999999), 0);
    const int ky = std::max(int(ry + 0.99999999999), 0);
    const double n = double(kx) * ky;
    const double norm = n > 0 ? 1.0 / n : 1.0;

    // Every tap's 2 x 2 bilinear neighbourhood overlaps the next one's, so the kx x ky
    // taps add up to one pass over (kx + 1) x (ky + 1) source pixels, each weighted by
    // its column's and its row's share: (1 - w) for the first, w for the last and 1 in
    // between. The sums are the same; the work is a quarter of it.
    std::vector<int64_t> firstColumn(size_t(xEnd - xBegin));
    std::vector<double> columnFraction(firstColumn.size());
    for (int x = xBegin; x < xEnd; ++x) {
        const double fx = rx * x;
        firstColumn[size_t(x - xBegin)] = int64_t(sx) + int(fx);
        columnFraction[size_t(x - xBegin)] = fx - int(fx);
    }
    auto rowShare = [ky](int j, double w) { return j == 0 ? 1 - w : j == ky ? w : 1.0; };
    std::vector<const uint8_t*> rows(size_t(ky) + 1);

    for (int y = yBegin; y < yEnd; ++y) {
        const double fy = ry * y;
        const int iy = int(fy);
        const double wy = fy - iy;
        for (int j = 0; j <= ky; ++j) {
            const int64_t r = int64_t(sy) + iy + j;
            rows[size_t(j)] =
                r >= ay0 && r < ay1 ? reinterpret_cast<const uint8_t*>(PIX_PixelAddress(src, 0, int(r))) : nullptr;
        }
        auto* out = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dst, dx + xBegin, dy + y));
        for (size_t k = 0; k < firstColumn.size(); ++k, out += 4) {
            const int64_t c0 = firstColumn[k];
            const double wx = columnFraction[k];
            // Columns outside the area (or the bitmap) count as 0.
            const int iBegin = int(std::clamp<int64_t>(ax0 - c0, 0, kx + 1));
            const int iEnd = int(std::clamp<int64_t>(ax1 - c0, 0, kx + 1));
            double sum[4] = {0, 0, 0, 0};
            for (int j = 0; j <= ky; ++j) {
                const uint8_t* row = rows[size_t(j)];
                if (!row) continue;
                // The column shares split the row into its first column, the inner ones
                // (share 1) and its last column (kx >= 1, so they never coincide), which
                // keeps the share test out of the per-pixel loop.
                double rowSum[4] = {0, 0, 0, 0};
                const uint8_t* p = row + (c0 + iBegin) * 4;
                int i = iBegin;
                if (i == 0 && i < iEnd) {
                    for (int c = 0; c < 4; ++c) rowSum[c] += p[c] * (1 - wx);
                    ++i;
                    p += 4;
                }
                for (const int inner = std::min(iEnd, kx); i < inner; ++i, p += 4)
                    for (int c = 0; c < 4; ++c) rowSum[c] += p[c];
                if (i < iEnd)
                    for (int c = 0; c < 4; ++c) rowSum[c] += p[c] * wx;
                const double v = rowShare(j, wy);
                for (int c = 0; c < 4; ++c) sum[c] += rowSum[c] * v;
            }
            for (int c = 0; c < 4; ++c) out[c] = uint8_t(std::min(int(sum[c] * norm), 255));
        }
    }
}

void ScaleStripFrames(const PIX_IBitmap& src, PIX_IBitmap& dst, int frames, bool horizontal) {
    const int sw = src.getWidth(), sh = src.getHeight();
    const int dw = dst.getWidth(), dh = dst.getHeight();
    if (frames < 2) {
        ResampleArea(src, 0, 0, sw, sh, dst, 0, 0, dw, dh);
        return;
    }
    PIX_Clear(&dst, 0);
    const int srcSide = horizontal ? sw : sh;
    const int dstSide = horizontal ? dw : dh;
    const int srcFrame = srcSide / frames;
    const int dstFrame = (dstSide - frames) / frames;
    if (srcFrame < 1 || dstFrame < 1) return;  // more frames than pixels: nothing to draw
    for (int f = 0; f < frames; ++f) {
        const int s = int(double(srcSide) * f / frames + 0.5);
        const int d = int(double(dstSide) * f / frames + 0.5);
        if (horizontal)
            ResampleArea(src, s, 0, srcFrame, sh, dst, d, 0, dstFrame, dh);
        else
            ResampleArea(src, 0, s, sw, srcFrame, dst, 0, d, dw, dstFrame);
    }
}
