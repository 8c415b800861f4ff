// The bodies of the sampling kernels, written once over the lanes of
// raster/simd_lanes.h and compiled once per instruction set.
//
// One lane is one destination pixel: positions, fractions and weights live side by
// side, each channel is weighted in its own pass, and the four taps are fetched by
// byte offset from the window's origin.
#pragma once

#include <cstdint>

#include "raster/sample_kernels.h"
#include "raster/simd_lanes.h"

namespace {

// The pixel pairs at byte offsets from origin, and at columns of a row.
template <class O>
inline void PairsAt(const uint8_t* origin, typename O::V offsets, typename O::V& left, typename O::V& right) {
    alignas(32) int32_t o[O::kPixels];
    O::Store(reinterpret_cast<uint32_t*>(o), offsets);
    O::Pairs([origin, &o](int k) { return origin + o[k]; }, left, right);
}
template <class O>
inline void PairsInRow(const uint8_t* row, const int32_t* columns, typename O::V& left, typename O::V& right) {
    O::Pairs([row, columns](int k) { return row + int64_t(columns[k]) * 4; }, left, right);
}

// (p00 f00 + p10 f10 + p01 f01 + p11 f11) >> 16 per byte, with f11 = fx fy >> 16 and
// the other weights making up 65536, as pix::Bilinear computes it. Without the bottom
// row (fy = 0, where its weights are 0) two taps make the same sums.
template <class O, bool BothRows = true>
inline typename O::V Interpolate(typename O::V p00, typename O::V p10, typename O::V p01, typename O::V p11,
                                 typename O::V fx, typename O::V fy, typename O::V f11) {
    using V = typename O::V;
    const V w00 = O::Weight(O::Sub32(O::Add32(O::Set32(65536), f11), O::Add32(fx, fy)));
    const V w10 = O::Weight(O::Sub32(fx, f11)), w01 = O::Weight(O::Sub32(fy, f11)), w11 = O::Weight(f11);
    auto channel = [&]<int Byte>() {
        const V top = O::Add32(O::MulChannel(O::template Channel<Byte>(p00), w00),
                               O::MulChannel(O::template Channel<Byte>(p10), w10));
        if constexpr (!BothRows) return O::template Srl32<16>(top);
        const V bottom = O::Add32(O::MulChannel(O::template Channel<Byte>(p01), w01),
                                  O::MulChannel(O::template Channel<Byte>(p11), w11));
        return O::template Srl32<16>(O::Add32(top, bottom));
    };
    return O::Or(O::Or(channel.template operator()<0>(), O::template Sll32<8>(channel.template operator()<1>())),
                 O::Or(O::template Sll32<16>(channel.template operator()<2>()),
                       O::template Sll32<24>(channel.template operator()<3>())));
}

template <class O>
int NearestWalk(uint32_t* out, const pix::SourceWindow& src, int32_t s, int32_t t, int32_t ds, int32_t dt, int n) {
    using V = typename O::V;
    V sv = O::Ramp(s, ds), tv = O::Ramp(t, dt);
    const V sStep = O::Set32(uint32_t(ds) * O::kPixels), tStep = O::Set32(uint32_t(dt) * O::kPixels);
    const V stride = O::Set32(uint32_t(src.stride));
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels, sv = O::Add32(sv, sStep), tv = O::Add32(tv, tStep)) {
        const V offset =
            O::Add32(O::Mul32(O::template Sra32<16>(tv), stride), O::template Sll32<2>(O::template Sra32<16>(sv)));
        O::Store(out + i, O::Gather(src.origin, offset));
    }
    return i;
}

// The last column and row interpolate one way only. There both taps of the pair are
// the edge pixel, which sums its weights to pix::Bilinear's one-way result; the pair
// is read from one column to the left, so nothing beyond the window is read, and a
// window one pixel wide is left to the scalar sampler.
template <class O>
int BilinearWalk(uint32_t* out, const pix::SourceWindow& src, int32_t s, int32_t t, int32_t ds, int32_t dt, int n) {
    using V = typename O::V;
    if (src.width < 2) return 0;
    V sv = O::Ramp(s, ds), tv = O::Ramp(t, dt);
    const V sStep = O::Set32(uint32_t(ds) * O::kPixels), tStep = O::Set32(uint32_t(dt) * O::kPixels);
    const V stride = O::Set32(uint32_t(src.stride));
    const V lastX = O::Set32(uint32_t(src.width - 1)), lastY = O::Set32(uint32_t(src.height - 1));
    const V fraction = O::Set32(0xffff), four = O::Set32(4);
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels, sv = O::Add32(sv, sStep), tv = O::Add32(tv, tStep)) {
        const V sc = O::NonNegative(sv), tc = O::NonNegative(tv);
        const V x = O::template Srl32<16>(sc), y = O::template Srl32<16>(tc);
        const V innerX = O::Gt32(lastX, x), innerY = O::Gt32(lastY, y);
        const V fx = O::And(sc, fraction), fy = O::And(tc, fraction);
        const V top =
            O::Sub32(O::Add32(O::Mul32(y, stride), O::template Sll32<2>(x)), O::Sub32(four, O::And(innerX, four)));
        V p00, p10, p01, p11;
        PairsAt<O>(src.origin, top, p00, p10);
        PairsAt<O>(src.origin, O::Add32(top, O::And(innerY, stride)), p01, p11);
        O::Store(out + i, Interpolate<O>(O::Select(innerX, p00, p10), p10, O::Select(innerX, p01, p11), p11, fx, fy,
                                         O::MulHi16(fx, fy)));
    }
    return i;
}

// Interpolates between the pixel pairs of two rows. A horizontal fraction of 65536
// (the last column: the pair was read one column to the left) weights the right
// pixel alone, as pix::Bilinear's one-way rule does.
template <class O, bool BothRows>
int BilinearColumnRow(uint32_t* out, const uint8_t* top, const uint8_t* bottom, const pix::PairColumns& columns,
                      uint32_t fy) {
    using V = typename O::V;
    const V fyv = O::Set32(fy), zero = O::Set32(0);
    const int n = int(columns.left.size());
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels) {
        V p00, p10, p01 = zero, p11 = zero;
        PairsInRow<O>(top, columns.left.data() + i, p00, p10);
        if constexpr (BothRows) PairsInRow<O>(bottom, columns.left.data() + i, p01, p11);
        const V fxv = O::Load(columns.fx.data() + i);
        const V f11 = BothRows ? O::template Srl32<16>(O::Mul32(fxv, fyv)) : zero;
        O::Store(out + i, Interpolate<O, BothRows>(p00, p10, p01, p11, fxv, fyv, f11));
    }
    return i;
}

// A row that lands on a source row (fy = 0) reads that row alone.
template <class O>
int BilinearColumns(uint32_t* out, const uint8_t* top, const uint8_t* bottom, const pix::PairColumns& columns,
                    uint32_t fy) {
    return fy ? BilinearColumnRow<O, true>(out, top, bottom, columns, fy)
              : BilinearColumnRow<O, false>(out, top, bottom, columns, fy);
}

template <class O>
constexpr pix::SampleKernels SampleKernelsOf(pix::SimdLevel level) {
    return {level, NearestWalk<O>, BilinearWalk<O>, BilinearColumns<O>};
}

}  // namespace
