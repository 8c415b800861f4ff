// The bodies of the sampling kernels, written once over a few 32-bit lane operations
// and compiled once per instruction set (SSE2 and AVX2 files). Everything here has
// internal linkage: each file's copy is built for its own instruction set and must
// never be merged with another's by the linker.
//
// One lane is one destination pixel: positions, fractions and weights live side by
// side, each channel is weighted in its own pass, and the four taps are fetched by
// byte offset from the window's origin.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "raster/sample_kernels.h"

namespace {

#if defined(__SSE2__)
struct Sse2Lanes {
    using V = __m128i;
    static constexpr int kPixels = 4;
    static V Set(int32_t v) { return _mm_set1_epi32(v); }
    // v, v + d, v + 2d, ... with 32-bit wrap-around.
    static V Ramp(int32_t v, int32_t d) {
        const uint32_t u = uint32_t(v), e = uint32_t(d);
        return _mm_setr_epi32(int(u), int(u + e), int(u + 2 * e), int(u + 3 * e));
    }
    static void Store(uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V Add(V a, V b) { return _mm_add_epi32(a, b); }
    static V Sub(V a, V b) { return _mm_sub_epi32(a, b); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    template <int N> static V Srl(V a) { return _mm_srli_epi32(a, N); }
    template <int N> static V Sra(V a) { return _mm_srai_epi32(a, N); }
    template <int N> static V Sll(V a) { return _mm_slli_epi32(a, N); }
    static V Gt(V a, V b) { return _mm_cmpgt_epi32(a, b); }
    static V NonNegative(V a) { return _mm_andnot_si128(_mm_srai_epi32(a, 31), a); }
    // High halves of the products of the low 16-bit halves (the high halves are 0).
    static V MulHi16(V a, V b) { return _mm_mulhi_epu16(a, b); }
    // Low 32 bits of each product.
    static V Mul(V a, V b) {
        const V even = _mm_mul_epu32(a, b), odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
        return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                  _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    }
    // A byte channel times a weight up to 65536. pmaddwd takes signed 16-bit halves, so
    // the weight is split at bit 7 and the channel paired with itself times 128:
    // c (w & 127) + 128 c (w >> 7) = c w, every factor inside 16 signed bits.
    static V Weight(V w) { return _mm_or_si128(_mm_and_si128(w, Set(127)), _mm_slli_epi32(_mm_srli_epi32(w, 7), 16)); }
    static V MulChannel(V c, V weight) { return _mm_madd_epi16(_mm_or_si128(c, _mm_slli_epi32(c, 23)), weight); }
    template <int Byte> static V Channel(V p) {
        if constexpr (Byte == 3) return Srl<24>(p);
        else return And(Srl<8 * Byte>(p), Set(255));
    }
    static V Gather(const uint8_t* origin, V offsets) {
        alignas(16) int32_t o[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(o), offsets);
        auto at = [origin](int32_t off) {
            uint32_t v;
            __builtin_memcpy(&v, origin + off, 4);
            return int(v);
        };
        return _mm_setr_epi32(at(o[0]), at(o[1]), at(o[2]), at(o[3]));
    }
    // The pixel at each of four addresses and the pixel after it: left and right.
    template <class At>
    static void Pairs(At at, V& left, V& right) {
        auto pair = [&at](int k) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at(k))); };
        Split(_mm_unpacklo_epi64(pair(0), pair(1)), _mm_unpacklo_epi64(pair(2), pair(3)), left, right);
    }
    static void Split(V a, V b, V& left, V& right) {
        const __m128 x = _mm_castsi128_ps(a), y = _mm_castsi128_ps(b);
        left = _mm_castps_si128(_mm_shuffle_ps(x, y, _MM_SHUFFLE(2, 0, 2, 0)));
        right = _mm_castps_si128(_mm_shuffle_ps(x, y, _MM_SHUFFLE(3, 1, 3, 1)));
    }
    static V Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static V Select(V m, V a, V b) { return _mm_or_si128(_mm_and_si128(m, a), _mm_andnot_si128(m, b)); }
};
#endif

#if defined(__AVX2__)
struct Avx2Lanes {
    using V = __m256i;
    static constexpr int kPixels = 8;
    static V Set(int32_t v) { return _mm256_set1_epi32(v); }
    static V Ramp(int32_t v, int32_t d) {
        return _mm256_add_epi32(Set(v), _mm256_mullo_epi32(Set(d), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    }
    static void Store(uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V Add(V a, V b) { return _mm256_add_epi32(a, b); }
    static V Sub(V a, V b) { return _mm256_sub_epi32(a, b); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    template <int N> static V Srl(V a) { return _mm256_srli_epi32(a, N); }
    template <int N> static V Sra(V a) { return _mm256_srai_epi32(a, N); }
    template <int N> static V Sll(V a) { return _mm256_slli_epi32(a, N); }
    static V Gt(V a, V b) { return _mm256_cmpgt_epi32(a, b); }
    static V NonNegative(V a) { return _mm256_max_epi32(a, _mm256_setzero_si256()); }
    static V MulHi16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    static V Mul(V a, V b) { return _mm256_mullo_epi32(a, b); }
    static V Weight(V w) { return w; }
    static V MulChannel(V c, V weight) { return _mm256_mullo_epi32(c, weight); }
    template <int Byte> static V Channel(V p) {
        const V pick = _mm256_setr_epi8(Byte, -1, -1, -1, Byte + 4, -1, -1, -1, Byte + 8, -1, -1, -1, Byte + 12, -1,
                                        -1, -1, Byte, -1, -1, -1, Byte + 4, -1, -1, -1, Byte + 8, -1, -1, -1,
                                        Byte + 12, -1, -1, -1);
        return _mm256_shuffle_epi8(p, pick);
    }
    static V Gather(const uint8_t* origin, V offsets) {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(origin), offsets, 1);
    }
    // Scalar loads: on the machines measured they beat the gather instructions. Pixels
    // 0, 1, 4, 5 go to one register and 2, 3, 6, 7 to the other, so that splitting the
    // pairs within each 128-bit lane gives them back in order.
    template <class At>
    static void Pairs(At at, V& left, V& right) {
        auto pair = [&at](int k) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at(k))); };
        auto quad = [&](int a, int b) { return _mm_unpacklo_epi64(pair(a), pair(b)); };
        const __m256 x = _mm256_castsi256_ps(_mm256_set_m128i(quad(4, 5), quad(0, 1)));
        const __m256 y = _mm256_castsi256_ps(_mm256_set_m128i(quad(6, 7), quad(2, 3)));
        left = _mm256_castps_si256(_mm256_shuffle_ps(x, y, _MM_SHUFFLE(2, 0, 2, 0)));
        right = _mm256_castps_si256(_mm256_shuffle_ps(x, y, _MM_SHUFFLE(3, 1, 3, 1)));
    }
    static V Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static V Select(V m, V a, V b) { return _mm256_blendv_epi8(b, a, m); }
};
#endif

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
    const V w00 = O::Weight(O::Sub(O::Add(O::Set(65536), f11), O::Add(fx, fy)));
    const V w10 = O::Weight(O::Sub(fx, f11)), w01 = O::Weight(O::Sub(fy, f11)), w11 = O::Weight(f11);
    auto channel = [&]<int Byte>() {
        const V top = O::Add(O::MulChannel(O::template Channel<Byte>(p00), w00),
                             O::MulChannel(O::template Channel<Byte>(p10), w10));
        if constexpr (!BothRows) return O::template Srl<16>(top);
        const V bottom = O::Add(O::MulChannel(O::template Channel<Byte>(p01), w01),
                                O::MulChannel(O::template Channel<Byte>(p11), w11));
        return O::template Srl<16>(O::Add(top, bottom));
    };
    return O::Or(O::Or(channel.template operator()<0>(), O::template Sll<8>(channel.template operator()<1>())),
                 O::Or(O::template Sll<16>(channel.template operator()<2>()),
                       O::template Sll<24>(channel.template operator()<3>())));
}

template <class O>
int NearestWalk(uint32_t* out, const pix::SourceWindow& src, int32_t s, int32_t t, int32_t ds, int32_t dt, int n) {
    using V = typename O::V;
    V sv = O::Ramp(s, ds), tv = O::Ramp(t, dt);
    const V sStep = O::Set(int32_t(uint32_t(ds) * O::kPixels)), tStep = O::Set(int32_t(uint32_t(dt) * O::kPixels));
    const V stride = O::Set(int32_t(src.stride));
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels, sv = O::Add(sv, sStep), tv = O::Add(tv, tStep)) {
        const V offset = O::Add(O::Mul(O::template Sra<16>(tv), stride), O::template Sll<2>(O::template Sra<16>(sv)));
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
    const V sStep = O::Set(int32_t(uint32_t(ds) * O::kPixels)), tStep = O::Set(int32_t(uint32_t(dt) * O::kPixels));
    const V stride = O::Set(int32_t(src.stride)), lastX = O::Set(src.width - 1), lastY = O::Set(src.height - 1);
    const V fraction = O::Set(0xffff), four = O::Set(4);
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels, sv = O::Add(sv, sStep), tv = O::Add(tv, tStep)) {
        const V sc = O::NonNegative(sv), tc = O::NonNegative(tv);
        const V x = O::template Srl<16>(sc), y = O::template Srl<16>(tc);
        const V innerX = O::Gt(lastX, x), innerY = O::Gt(lastY, y);
        const V fx = O::And(sc, fraction), fy = O::And(tc, fraction);
        const V top = O::Sub(O::Add(O::Mul(y, stride), O::template Sll<2>(x)), O::Sub(four, O::And(innerX, four)));
        V p00, p10, p01, p11;
        PairsAt<O>(src.origin, top, p00, p10);
        PairsAt<O>(src.origin, O::Add(top, O::And(innerY, stride)), p01, p11);
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
    const V fyv = O::Set(int32_t(fy)), zero = O::Set(0);
    const int n = int(columns.left.size());
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels) {
        V p00, p10, p01 = zero, p11 = zero;
        PairsInRow<O>(top, columns.left.data() + i, p00, p10);
        if constexpr (BothRows) PairsInRow<O>(bottom, columns.left.data() + i, p01, p11);
        const V fxv = O::Load(columns.fx.data() + i);
        const V f11 = BothRows ? O::template Srl<16>(O::Mul(fxv, fyv)) : zero;
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

}  // namespace
