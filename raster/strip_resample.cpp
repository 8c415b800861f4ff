#include "raster/strip_resample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "raster/fill.h"
#include "raster/strip_kernels.h"

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
    // w is in [0, 1): truncation is the floor, without a library call.
    const double scaled = w * double(kOne);
    if (scaled != double(int64_t(scaled))) return false;
    out = int32_t(scaled);
    return true;
}

// One tap of a column or row: where it starts, relative to the first, and its weight.
struct Tap {
    int offset;
    int32_t weight;
};

// The taps of every destination row, one flat list.
struct TapRows {
    std::vector<Tap> taps;
    std::vector<size_t> start{0};
    std::span<const Tap> operator[](size_t i) const { return {taps.data() + start[i], start[i + 1] - start[i]}; }
};

// Row addresses without the bitmap's virtual calls on every row.
struct Rows {
    explicit Rows(const PIX_IBitmap& bm) : top(PIX_PixelAddress(bm, 0, 0)), step(PIX_RowStep(bm)) {}
    uint32_t* At(int64_t x, int64_t y) const { return top + (y * step + x); }
    uint32_t* top;
    int64_t step;
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

// Halving and quartering of an area inside its bitmap: every fraction is 0, so the rule
// is the k x k block's sum divided by k * k, truncated. Straight to the block means, no
// tap tables (a scale change resamples many small frames).
bool BoxMeans(const PIX_IBitmap& src, int sx, int sy, int sw, int sh, PIX_IBitmap& dst, int dx, int dy, int dw, int dh,
              int xBegin, int xEnd, int yBegin, int yEnd, const pix::StripKernels& kernels) {
    const int k = sw == 2 * int64_t(dw) && sh == 2 * int64_t(dh)   ? 2
                  : sw == 4 * int64_t(dw) && sh == 4 * int64_t(dh) ? 4
                                                                   : 0;
    if (!k || sx < 0 || sy < 0 || int64_t(sx) + sw > src.getWidth() || int64_t(sy) + sh > src.getHeight()) return false;
    const Rows srcRows(src), dstRows(dst);
    const size_t n = size_t(xEnd - xBegin);
    const int shift = k == 2 ? 2 : 4;
    for (int y = yBegin; y < yEnd; ++y) {
        const uint32_t* lines[4];
        for (int j = 0; j < k; ++j) lines[j] = srcRows.At(sx + int64_t(k) * xBegin, sy + int64_t(k) * y + j);
        uint32_t* out = dstRows.At(dx + xBegin, dy + y);
        const size_t done = k == 2 ? kernels.boxRow2(lines[0], lines[1], out, n) : kernels.boxRow4(lines, out, n);
        for (size_t x = done; x < n; ++x) {
            uint32_t p = 0;
            for (int c = 0; c < 32; c += 8) {
                uint32_t sum = 0;
                for (int j = 0; j < k; ++j)
                    for (int i = 0; i < k; ++i) sum += lines[j][x * size_t(k) + size_t(i)] >> c & 255;
                p |= (sum >> shift) << c;
            }
            out[x] = p;
        }
    }
    return true;
}

bool ResampleExactly(const PIX_IBitmap& src, int sx, int sy, int64_t ax0, int64_t ay0, int64_t ax1, int64_t ay1,
                     PIX_IBitmap& dst, int dx, int dy, int xBegin, int xEnd, int yBegin, int yEnd, double rx, double ry,
                     int kx, int ky, double norm) {
    const Rows srcRows(src), dstRows(dst);
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
    TapRows rowTaps;
    rowTaps.taps.reserve(size_t(yEnd - yBegin) * size_t(ky + 1));
    rowTaps.start.reserve(size_t(yEnd - yBegin) + 1);
    std::vector<int64_t> firstRow(size_t(yEnd - yBegin));
    for (int y = yBegin; y < yEnd; ++y) {
        const double fy = ry * y;
        firstRow[size_t(y - yBegin)] = int64_t(sy) + int(fy);
        if (!TapsOf(fy - int(fy), ky, firstRow[size_t(y - yBegin)], ay0, ay1, rowTaps.taps)) return false;
        rowTaps.start.push_back(rowTaps.taps.size());
    }

    // Whole ratios (every weight 0 or 1) with a power-of-two tap count: the sum times
    // the normaliser is a plain sum of bytes shifted, done two channels to a word.
    bool whole = (int64_t(kx) * ky & (int64_t(kx) * ky - 1)) == 0;
    for (const Tap& t : columnTaps) whole = whole && t.weight == kOne;
    for (const Tap& t : rowTaps.taps) whole = whole && t.weight == kOne;
    if (whole && kx * ky <= 256) {
        int shift = 0;
        while ((1 << shift) < kx * ky) ++shift;
        for (int y = yBegin; y < yEnd; ++y) {
            const std::span<const Tap> rows = rowTaps[size_t(y - yBegin)];
            const int64_t r0 = firstRow[size_t(y - yBegin)];
            const uint32_t* lines[kMaxRowTaps];
            const size_t rowCount = rows.size();
            for (size_t j = 0; j < rowCount; ++j) lines[j] = srcRows.At(0, r0 + rows[j].offset);
            uint32_t* out = dstRows.At(dx + xBegin, dy + y);
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
        const std::span<const Tap> rows = rowTaps[size_t(y - yBegin)];
        const int64_t r0 = firstRow[size_t(y - yBegin)];
        const uint8_t* lines[kMaxRowTaps];
        int32_t lineWeights[kMaxRowTaps];
        const size_t rowCount = rows.size();
        for (size_t j = 0; j < rowCount; ++j) {
            lines[j] = reinterpret_cast<const uint8_t*>(srcRows.At(0, r0 + rows[j].offset));
            lineWeights[j] = rows[j].weight;
        }
        auto* out = reinterpret_cast<uint8_t*>(dstRows.At(dx + xBegin, dy + y));
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

// ---------------------------------------------------------------------------------------
// Every other ratio, in double arithmetic. Every tap's 2 x 2 bilinear neighbourhood
// overlaps the next one's, so the kx x ky taps add up to one pass over (kx + 1) x
// (ky + 1) source pixels, each weighted by its column's and its row's share: (1 - w) for
// the first, w for the last and 1 in between. A destination byte is
//
//     min(int(sum over rows j of (sum over columns i of p(i, j) * cw(i)) * rw(j) * norm), 255)
//
// each sum taken in ascending order from 0, rows and columns outside the area left out.
// The inner sum depends on the source row and the destination column only, so it is
// made once per source row and kept while destination rows still need it: the same
// products added in the same order give the same doubles. A share of 1 multiplies
// exactly and a share of 0 adds exactly 0 to a sum that is never negative, so neither
// changes a bit, which lets every tap be one multiply and add in vector lanes.

using pix::DoubleTaps;

// The taps of destinations [begin, end) with nonzero weight, for an area starting at
// `origin` whose readable part is [lo, hi).
DoubleTaps MakeDoubleTaps(double ratio, int k, int64_t origin, int begin, int end, int64_t lo, int64_t hi) {
    DoubleTaps taps;
    taps.first.reserve(size_t(end - begin) + 1);
    for (int d = begin; d < end; ++d) {
        taps.first.push_back(int(taps.index.size()));
        const double f = ratio * d;
        const int64_t first = origin + int(f);
        const double w = f - int(f);
        // Only the taps inside [lo, hi): a huge ratio must not walk its whole span.
        const int64_t iEnd = std::min<int64_t>(int64_t(k) + 1, hi - first);
        for (int64_t i = std::max<int64_t>(0, lo - first); i < iEnd; ++i) {
            const double share = i == 0 ? 1 - w : i == k ? w : 1.0;
            if (share == 0) continue;
            taps.index.push_back(first + i);
            taps.weight.push_back(share);
        }
    }
    taps.first.push_back(int(taps.index.size()));
    return taps;
}

void ResampleInDoubles(const PIX_IBitmap& src, int sx, int sy, int64_t ax0, int64_t ay0, int64_t ax1, int64_t ay1,
                       PIX_IBitmap& dst, int dx, int dy, int xBegin, int xEnd, int yBegin, int yEnd, double rx,
                       double ry, int kx, int ky, double norm, const pix::StripKernels& kernels) {
    const Rows srcRows(src), dstRows(dst);
    const DoubleTaps columns = MakeDoubleTaps(rx, kx, sx, xBegin, xEnd, ax0, ax1);
    const DoubleTaps rows = MakeDoubleTaps(ry, ky, sy, yBegin, yEnd, ay0, ay1);
    const size_t width = size_t(xEnd - xBegin);

    // The source columns any tap reads, widened once per source row.
    int64_t leftmost = 0, rightmost = 0;
    if (!columns.index.empty()) {
        const auto [lo, hi] = std::minmax_element(columns.index.begin(), columns.index.end());
        leftmost = *lo, rightmost = *hi + 1;
    }
    std::vector<double> widened(size_t(rightmost - leftmost) * 4);

    // A destination row reads at most ky + 1 consecutive source rows (and none outside
    // the area) and the window only moves down, so slot r % slots holds row r for as
    // long as anything needs it.
    const size_t slots = size_t(std::clamp<int64_t>(std::min<int64_t>(int64_t(ky) + 1, ay1 - ay0), 1, INT32_MAX));
    std::vector<double> sums(slots * width * 4);
    std::vector<int64_t> slotRow(slots, -1);
    std::vector<const double*> rowSums(slots);

    for (int y = yBegin; y < yEnd; ++y) {
        const int t0 = rows.first[size_t(y - yBegin)], t1 = rows.first[size_t(y - yBegin) + 1];
        for (int t = t0; t < t1; ++t) {
            const int64_t r = rows.index[size_t(t)];
            const size_t slot = size_t(r % int64_t(slots));
            double* out = sums.data() + slot * width * 4;
            rowSums[size_t(t - t0)] = out;
            if (slotRow[slot] == r) continue;
            slotRow[slot] = r;
            const auto* bytes = reinterpret_cast<const uint8_t*>(srcRows.At(leftmost, r));
            kernels.widen(bytes, widened.size() / 4, widened.data());
            kernels.columnSums(widened.data(), columns, leftmost, out);
        }
        kernels.rowOut(rowSums.data(), rows.weight.data() + t0, t1 - t0, width, norm,
                       reinterpret_cast<uint8_t*>(dstRows.At(dx + xBegin, dy + y)));
    }
}

}  // namespace

void ResampleArea(const PIX_IBitmap& src, int sx, int sy, int sw, int sh, PIX_IBitmap& dst, int dx, int dy, int dw,
                  int dh, pix::SimdLevel level) {
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

    // A machine without the level asked for takes the next one down.
    const pix::StripKernels& kernels = pix::KernelsUpTo(level).strip;
    // The plain level takes the tap-by-tap rule for the block means too.
    if (kernels.level != pix::SimdLevel::None &&
        BoxMeans(src, sx, sy, sw, sh, dst, dx, dy, dw, dh, xBegin, xEnd, yBegin, yEnd, kernels))
        return;
    if (ResampleExactly(src, sx, sy, ax0, ay0, ax1, ay1, dst, dx, dy, xBegin, xEnd, yBegin, yEnd, rx, ry, kx, ky, norm))
        return;
    ResampleInDoubles(src, sx, sy, ax0, ay0, ax1, ay1, dst, dx, dy, xBegin, xEnd, yBegin, yEnd, rx, ry, kx, ky, norm,
                      kernels);
}

namespace {

// Where frame f lies along the strip, in the source and in the destination.
struct FrameLayout {
    int frames, srcSide, dstSide, srcFrame, dstFrame;
    int Source(int f) const { return int(double(srcSide) * f / frames + 0.5); }
    int Destination(int f) const { return int(double(dstSide) * f / frames + 0.5); }
};

FrameLayout LayoutOf(int sw, int sh, int dw, int dh, int frames, bool horizontal) {
    const int srcSide = horizontal ? sw : sh, dstSide = horizontal ? dw : dh;
    return {frames, srcSide, dstSide, srcSide / frames, (dstSide - frames) / frames};
}

// Pixels of frame f that lie inside the source.
int InsideSource(const FrameLayout& l, int f) { return std::min(l.srcFrame, l.srcSide - l.Source(f)); }

}  // namespace

void ScaleStripFrames(const PIX_IBitmap& src, PIX_IBitmap& dst, int frames, bool horizontal, pix::SimdLevel level) {
    const int sw = src.getWidth(), sh = src.getHeight();
    const int dw = dst.getWidth(), dh = dst.getHeight();
    if (frames < 2) {
        ResampleArea(src, 0, 0, sw, sh, dst, 0, 0, dw, dh, level);
        return;
    }
    const FrameLayout l = LayoutOf(sw, sh, dw, dh, frames, horizontal);
    if (l.srcFrame < 1 || l.dstFrame < 1) {  // more frames than pixels: nothing to draw
        PIX_Clear(&dst, 0);
        return;
    }
    // Every frame writes its whole area, so only what lies between frames is cleared.
    auto clear = [&](int from, int to) {
        if (from < to)
            horizontal ? PIX_ClearRect(&dst, from, 0, to - from, dh, 0, 0)
                       : PIX_ClearRect(&dst, 0, from, dw, to - from, 0, 0);
    };
    int covered = 0;
    for (int f = 0; f < frames; ++f) {
        const int d = l.Destination(f);
        clear(covered, d);
        covered = std::max(covered, d + l.dstFrame);
    }
    clear(covered, l.dstSide);
    for (int f = 0; f < frames; ++f) {
        const int s = l.Source(f), d = l.Destination(f);
        if (horizontal)
            ResampleArea(src, s, 0, l.srcFrame, sh, dst, d, 0, l.dstFrame, dh, level);
        else
            ResampleArea(src, 0, s, sw, l.srcFrame, dst, 0, d, dw, l.dstFrame, level);
    }
}

bool StripScaleCopiesEveryPixel(int sw, int sh, int dw, int dh, int frames, bool horizontal) {
    if (sw < 1 || sh < 1) return false;
    if (frames < 2) return sw == dw && sh == dh;
    if (horizontal ? sh != dh : sw != dw) return false;
    const FrameLayout l = LayoutOf(sw, sh, dw, dh, frames, horizontal);
    if (l.srcFrame < 1 || l.srcFrame != l.dstFrame) return false;
    for (int f = 0; f < frames; ++f)
        if (const int n = InsideSource(l, f); n > 0 && l.Destination(f) + n > l.dstSide) return false;
    return true;
}

void UnscaleStripCopy(const PIX_IBitmap& scaled, PIX_IBitmap& image, int frames, bool horizontal) {
    const int sw = image.getWidth(), sh = image.getHeight();
    if (!StripScaleCopiesEveryPixel(sw, sh, scaled.getWidth(), scaled.getHeight(), frames, horizontal) ||
        !PIX_HasPixels(&image) || !PIX_HasPixels(&scaled))
        return;
    if (frames < 2) {
        for (int y = 0; y < sh; ++y)
            std::memcpy(PIX_PixelAddress(image, 0, y), PIX_PixelAddress(scaled, 0, y), size_t(sw) * 4);
        return;
    }
    PIX_Clear(&image, 0);
    const FrameLayout l = LayoutOf(sw, sh, scaled.getWidth(), scaled.getHeight(), frames, horizontal);
    for (int f = 0; f < frames; ++f) {
        const int n = InsideSource(l, f), s = l.Source(f), d = l.Destination(f);
        if (horizontal)
            for (int y = 0; n > 0 && y < sh; ++y)
                std::memcpy(PIX_PixelAddress(image, s, y), PIX_PixelAddress(scaled, d, y), size_t(n) * 4);
        else
            for (int i = 0; i < n; ++i)
                std::memcpy(PIX_PixelAddress(image, 0, s + i), PIX_PixelAddress(scaled, 0, d + i), size_t(sw) * 4);
    }
}
