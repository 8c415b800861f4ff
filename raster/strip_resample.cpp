#include "raster/strip_resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/fill.h"

namespace {

// With weights that are whole multiples of 1 / 65536 (the ratios of the GUI scales that
// halve or quarter the artwork, 2 and 4, give only 0) and few taps, every product and
// sum of the double arithmetic below is exact: a byte times a 16-bit fraction, their
// sums, times another 16-bit fraction, all far inside 53 bits. Integers then give the
// same sums, one multiply per tap and no conversions; only the last scaling by the
// normaliser stays in double, as it is. Returns false (nothing done) otherwise.
constexpr int kFractionBits = 16;
constexpr int64_t kOne = int64_t(1) << kFractionBits;
constexpr int kMaxRowTaps = 64;

bool WholeFraction(double w, int32_t& out) {
    const double scaled = w * double(kOne);
    if (scaled != std::floor(scaled)) return false;
    out = int32_t(scaled);
    return true;
}

// One tap of a column or row: where it starts, relative to the first, and its weight.
struct Tap {
    int offset;
    int32_t weight;
};

// The taps of one destination column (or row) with a nonzero weight, at most span + 1.
// Those outside [lo, hi) of the source count as 0 and are left out as well.
bool TapsOf(double fraction, int span, int64_t first, int64_t lo, int64_t hi, std::vector<Tap>& out) {
    int32_t w;
    if (!WholeFraction(fraction, w)) return false;
    for (int i = 0; i <= span; ++i) {
        const int64_t weight = i == 0 ? kOne - w : i == span ? w : kOne;
        if (weight != 0 && first + i >= lo && first + i < hi) out.push_back({i, int32_t(weight)});
    }
    return true;
}

bool ResampleExactly(const PIX_IBitmap& src, int sx, int sy, int64_t ax0, int64_t ay0, int64_t ax1, int64_t ay1,
                     PIX_IBitmap& dst, int dx, int dy, int xBegin, int xEnd, int yBegin, int yEnd, double rx,
                     double ry, int kx, int ky, double norm) {
    // A column's sum of kx + 1 bytes at weights up to kOne stays in 31 bits; the whole
    // sum with its row weights in 53, which keeps the double arithmetic exact too.
    if (kx + 1 > 64 || ky + 1 > kMaxRowTaps || int64_t(kx + 1) * (ky + 1) >= 8192) return false;
    const size_t columns = size_t(xEnd - xBegin);
    std::vector<Tap> columnTaps;
    std::vector<int> columnTapCount(columns);
    std::vector<int64_t> columnStart(columns);  // byte offset of the first tap in a row
    columnTaps.reserve(columns * size_t(kx + 1));
    for (int x = xBegin; x < xEnd; ++x) {
        const double fx = rx * x;
        const int64_t c0 = int64_t(sx) + int(fx);
        const size_t before = columnTaps.size();
        if (!TapsOf(fx - int(fx), kx, c0, ax0, ax1, columnTaps)) return false;
        columnTapCount[size_t(x - xBegin)] = int(columnTaps.size() - before);
        columnStart[size_t(x - xBegin)] = c0 * 4;
    }
    std::vector<std::vector<Tap>> rowTaps(size_t(yEnd - yBegin));
    std::vector<int64_t> firstRow(rowTaps.size());
    for (int y = yBegin; y < yEnd; ++y) {
        const double fy = ry * y;
        firstRow[size_t(y - yBegin)] = int64_t(sy) + int(fy);
        if (!TapsOf(fy - int(fy), ky, firstRow[size_t(y - yBegin)], ay0, ay1, rowTaps[size_t(y - yBegin)]))
            return false;
    }

    // Whole ratios (every weight 0 or 1) with a power-of-two tap count: the sum times
    // the normaliser is a plain sum of bytes shifted, done two channels to a word.
    bool whole = (int64_t(kx) * ky & (int64_t(kx) * ky - 1)) == 0;
    for (const Tap& t : columnTaps) whole = whole && t.weight == kOne;
    for (const std::vector<Tap>& rows : rowTaps)
        for (const Tap& t : rows) whole = whole && t.weight == kOne;
    if (whole && kx * ky <= 256) {
        int shift = 0;
        while ((1 << shift) < kx * ky) ++shift;
        for (int y = yBegin; y < yEnd; ++y) {
            const std::vector<Tap>& rows = rowTaps[size_t(y - yBegin)];
            const int64_t r0 = firstRow[size_t(y - yBegin)];
            const uint32_t* lines[kMaxRowTaps];
            const size_t rowCount = rows.size();
            for (size_t j = 0; j < rowCount; ++j) lines[j] = PIX_PixelAddress(src, 0, int(r0 + rows[j].offset));
            uint32_t* out = PIX_PixelAddress(dst, dx + xBegin, dy + y);
            const Tap* taps = columnTaps.data();
            for (size_t k = 0; k < columns; ++k) {
                const int count = columnTapCount[k];
                const int64_t column = columnStart[k] / 4;
                // Bytes 0 and 2 in the low and high 16 bits of `even`, 1 and 3 of `odd`;
                // at most 256 bytes each, so no field overflows into the next.
                uint32_t even = 0, odd = 0;
                for (size_t j = 0; j < rowCount; ++j)
                    for (int t = 0; t < count; ++t) {
                        const uint32_t p = lines[j][column + taps[t].offset];
                        even += p & 0x00ff00ffu;
                        odd += p >> 8 & 0x00ff00ffu;
                    }
                taps += count;
                even = even >> shift & 0x00ff00ffu;  // each field's sum is below 256 << shift
                odd = odd >> shift & 0x00ff00ffu;
                out[k] = even | odd << 8;
            }
        }
        return true;
    }

    constexpr double kUnscale = 1.0 / double(kOne * kOne);
    for (int y = yBegin; y < yEnd; ++y) {
        const std::vector<Tap>& rows = rowTaps[size_t(y - yBegin)];
        const int64_t r0 = firstRow[size_t(y - yBegin)];
        const uint8_t* lines[kMaxRowTaps];
        int32_t lineWeights[kMaxRowTaps];
        const size_t rowCount = rows.size();
        for (size_t j = 0; j < rowCount; ++j) {
            lines[j] = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(src, 0, int(r0 + rows[j].offset)));
            lineWeights[j] = rows[j].weight;
        }
        auto* out = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dst, dx + xBegin, dy + y));
        const Tap* taps = columnTaps.data();
        for (size_t k = 0; k < columns; ++k, out += 4) {
            const int count = columnTapCount[k];
            const int64_t column = columnStart[k];
            int64_t sum[4] = {0, 0, 0, 0};
            for (size_t j = 0; j < rowCount; ++j) {
                const uint8_t* line = lines[j] + column;
                int32_t part[4] = {0, 0, 0, 0};
                for (int t = 0; t < count; ++t) {
                    const uint8_t* p = line + taps[t].offset * 4;
                    for (int c = 0; c < 4; ++c) part[c] += p[c] * taps[t].weight;
                }
                for (int c = 0; c < 4; ++c) sum[c] += int64_t(part[c]) * lineWeights[j];
            }
            taps += count;
            for (int c = 0; c < 4; ++c) out[c] = uint8_t(std::min(int(double(sum[c]) * kUnscale * norm), 255));
        }
    }
    return true;
}

}  // namespace

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
    if (ResampleExactly(src, sx, sy, ax0, ay0, ax1, ay1, dst, dx, dy, xBegin, xEnd, yBegin, yEnd, rx, ry, kx, ky,
                        norm))
        return;
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
