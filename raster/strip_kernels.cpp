#include "raster/strip_kernels.h"

#include <algorithm>

namespace pix {

namespace {

size_t NoBoxRow2(const uint32_t*, const uint32_t*, uint32_t*, size_t) { return 0; }
size_t NoBoxRow4(const uint32_t* const*, uint32_t*, size_t) { return 0; }

void WidenScalar(const uint8_t* bytes, size_t pixels, double* out) {
    for (size_t i = 0; i < pixels * 4; ++i) out[i] = bytes[i];
}

void ColumnSumsScalar(const double* row, const DoubleTaps& columns, int64_t leftmost, double* out) {
    const size_t n = columns.first.size() - 1;
    for (size_t x = 0; x < n; ++x, out += 4) {
        double sum[4] = {0, 0, 0, 0};
        for (int t = columns.first[x]; t < columns.first[x + 1]; ++t) {
            const double* p = row + (columns.index[size_t(t)] - leftmost) * 4;
            const double w = columns.weight[size_t(t)];
            for (int c = 0; c < 4; ++c) sum[c] += p[c] * w;
        }
        for (int c = 0; c < 4; ++c) out[c] = sum[c];
    }
}

void RowOutScalar(const double* const* sums, const double* shares, int count, size_t n, double norm, uint8_t* out) {
    for (size_t x = 0; x < n; ++x, out += 4)
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int j = 0; j < count; ++j) sum += sums[j][x * 4 + size_t(c)] * shares[j];
            out[c] = uint8_t(std::min(int(sum * norm), 255));
        }
}

}  // namespace

const StripKernels kPlainStripKernels = {SimdLevel::None, NoBoxRow2, NoBoxRow4, WidenScalar, ColumnSumsScalar,
                                         RowOutScalar};

}  // namespace pix
