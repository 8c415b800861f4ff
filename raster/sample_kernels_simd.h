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
};
#endif

// (p00 f00 + p10 f10 + p01 f01 + p11 f11) >> 16 per byte, with f11 = fx fy >> 16 and
// the other weights making up 65536, as pix::Bilinear computes it.
template <class O>
inline typename O::V Interpolate(typename O::V p00, typename O::V p10, typename O::V p01, typename O::V p11,
                                 typename O::V fx, typename O::V fy) {
    using V = typename O::V;
    const V f11 = O::MulHi16(fx, fy);
    const V w00 = O::Weight(O::Sub(O::Add(O::Set(65536), f11), O::Add(fx, fy)));
    const V w10 = O::Weight(O::Sub(fx, f11)), w01 = O::Weight(O::Sub(fy, f11)), w11 = O::Weight(f11);
    auto channel = [&]<int Byte>() {
        const V top = O::Add(O::MulChannel(O::template Channel<Byte>(p00), w00),
                             O::MulChannel(O::template Channel<Byte>(p10), w10));
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

// The last column and row interpolate one way only: there the neighbour is the pixel
// itself at weight 0, which gives pix::Bilinear's one-way result without reading
// beyond the window.
template <class O>
int BilinearWalk(uint32_t* out, const pix::SourceWindow& src, int32_t s, int32_t t, int32_t ds, int32_t dt, int n) {
    using V = typename O::V;
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
        const V o00 = O::Add(O::Mul(y, stride), O::template Sll<2>(x));
        const V right = O::And(innerX, four), o01 = O::Add(o00, O::And(innerY, stride));
        const V p00 = O::Gather(src.origin, o00), p10 = O::Gather(src.origin, O::Add(o00, right));
        const V p01 = O::Gather(src.origin, o01), p11 = O::Gather(src.origin, O::Add(o01, right));
        O::Store(out + i, Interpolate<O>(p00, p10, p01, p11, fx, fy));
    }
    return i;
}

}  // namespace
