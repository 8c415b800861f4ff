// The bodies of the strip resampler's kernels, written once over the lanes of
// raster/simd_lanes.h and compiled once per instruction set.
//
// Every sum is taken in the order the plain rule takes it, so the doubles come out
// the same bits: a share of 1 multiplies exactly and a sum starting from its first
// product equals one starting from 0 (nothing here is negative). Columns with the usual
// tap counts get loops the compiler unrolls.
#pragma once

#include <cstdint>
#include <cstring>

#include "raster/simd_lanes.h"
#include "raster/strip_kernels.h"

namespace {

#if defined(__SSE2__)
// The block means in SSE2 at every level: the 16-bit sums of two 2 x 2 means fit one
// register, those of a 4 x 4 mean one as well.
inline Sse2Lanes::V BoxPair2(const uint32_t* a, const uint32_t* b) {
    using O = Sse2Lanes;
    const O::V top = O::Load(a), bottom = O::Load(b);
    const O::V left = O::Add16(O::Lo(top), O::Lo(bottom)), right = O::Add16(O::Hi(top), O::Hi(bottom));
    return O::Srl16<2>(O::Add16(O::Lo64(left, right), O::Hi64(left, right)));
}

// Four means a step: with two a step, the loop's speed hung on where it landed in memory.
inline size_t BoxRow2(const uint32_t* a, const uint32_t* b, uint32_t* out, size_t n) {
    using O = Sse2Lanes;
    size_t i = 0;
    for (; i + 4 <= n; i += 4)
        O::Store(out + i, O::Pack(BoxPair2(a + 2 * i, b + 2 * i), BoxPair2(a + 2 * i + 4, b + 2 * i + 4)));
    for (; i + 2 <= n; i += 2) {
        const O::V sum = BoxPair2(a + 2 * i, b + 2 * i);
        O::StorePixels(out + i, O::Pack(sum, sum), 2);
    }
    return i;
}

inline size_t BoxRow4(const uint32_t* const rows[4], uint32_t* out, size_t n) {
    using O = Sse2Lanes;
    for (size_t i = 0; i < n; ++i) {
        O::V low = O::Zero(), high = O::Zero();
        for (int j = 0; j < 4; ++j) {
            const O::V p = O::Load(rows[j] + 4 * i);
            low = O::Add16(low, O::Lo(p));
            high = O::Add16(high, O::Hi(p));
        }
        const O::V sum = O::Add16(low, high);
        const O::V mean = O::Srl16<4>(O::Add16(sum, O::Hi64(sum, sum)));
        O::StorePixels(out + i, O::Pack(mean, mean), 1);
    }
    return n;
}
#endif

template <class O>
void WidenRow(const uint8_t* bytes, size_t pixels, double* out) {
    for (size_t i = 0; i < pixels; ++i) O::StoreD(out + i * 4, O::WidenD(bytes + i * 4));
}

template <class O, int kTaps>
inline typename O::VD ColumnSum(const double* p, const double* w, int count) {
    auto sum = O::MulD(O::LoadD(p), O::SetD(w[0]));
    const int n = kTaps > 0 ? kTaps : count;
    for (int t = 1; t < n; ++t) sum = O::AddD(sum, O::MulD(O::LoadD(p + 4 * t), O::SetD(w[t])));
    return sum;
}

template <class O>
void ColumnSums(const double* row, const pix::DoubleTaps& columns, int64_t leftmost, double* out) {
    const size_t n = columns.first.size() - 1;
    const int* first = columns.first.data();
    const int64_t* index = columns.index.data();
    const double* weight = columns.weight.data();
    for (size_t x = 0; x < n; ++x, out += 4) {
        const int t0 = first[x], count = first[x + 1] - t0;
        if (count == 0) {
            O::StoreD(out, O::ZeroD());
            continue;
        }
        const double* p = row + (index[t0] - leftmost) * 4;
        const double* w = weight + t0;
        typename O::VD sum;
        switch (count) {
            case 2: sum = ColumnSum<O, 2>(p, w, count); break;
            case 3:
                // The middle tap of a ratio between 1 and 2 weighs 1: its product is itself.
                sum = w[1] == 1.0 ? O::AddD(O::AddD(O::MulD(O::LoadD(p), O::SetD(w[0])), O::LoadD(p + 4)),
                                            O::MulD(O::LoadD(p + 8), O::SetD(w[2])))
                                  : ColumnSum<O, 3>(p, w, count);
                break;
            case 4: sum = ColumnSum<O, 4>(p, w, count); break;
            default: sum = ColumnSum<O, 0>(p, w, count); break;
        }
        O::StoreD(out, sum);
    }
}

template <class O, int kRows, bool kMiddleIsOne = false>
void RowOutOf(const double* const* sums, const double* shares, int count, size_t n, double norm, uint8_t* out) {
    const int rows = kRows > 0 ? kRows : count;
    const auto scale = O::SetD(norm);
    for (size_t x = 0; x < n; ++x, out += 4) {
        auto sum = O::MulD(O::LoadD(sums[0] + x * 4), O::SetD(shares[0]));
        for (int j = 1; j < rows; ++j) {
            const auto s = O::LoadD(sums[j] + x * 4);
            sum = O::AddD(sum, kMiddleIsOne && j == 1 ? s : O::MulD(s, O::SetD(shares[j])));
        }
        const uint32_t bytes = O::BytesD(O::MulD(sum, scale));
        std::memcpy(out, &bytes, 4);
    }
}

template <class O>
void RowOut(const double* const* sums, const double* shares, int count, size_t n, double norm, uint8_t* out) {
    switch (count) {
        case 0: std::memset(out, 0, n * 4); break;
        case 2: RowOutOf<O, 2>(sums, shares, count, n, norm, out); break;
        case 3:
            if (shares[1] == 1.0)
                RowOutOf<O, 3, true>(sums, shares, count, n, norm, out);
            else
                RowOutOf<O, 3>(sums, shares, count, n, norm, out);
            break;
        default: RowOutOf<O, 0>(sums, shares, count, n, norm, out); break;
    }
}

#if defined(__SSE2__)
template <class O>
constexpr pix::StripKernels StripKernelsOf(pix::SimdLevel level) {
    return {level, BoxRow2, BoxRow4, WidenRow<O>, ColumnSums<O>, RowOut<O>};
}
#endif

}  // namespace
