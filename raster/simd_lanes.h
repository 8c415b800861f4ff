// The vector lanes every kernel body of the raster library is written over: one struct
// per instruction set with the same operations, so that a body is written once as a
// template and compiled once per set (raster/simd_sse2.cpp, raster/simd_avx2.cpp). The
// SSE2 lanes also carry the bilinear rule of raster/scaled_blit_sampling.h, which every
// file that samples builds for the baseline set.
// Everything here has internal linkage: each file's copy is built for its own
// instruction set and must never be merged with another's by the linker.
//
// V holds kPixels pixels, as bytes, 16-bit or 32-bit lanes as the operation says; VD
// holds the four channels of one pixel as doubles.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

#if defined(__SSE2__)
struct Sse2Lanes {
    using V = __m128i;
    static constexpr int kPixels = 4;

    static V Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    // The first r pixels (1 to 3), nothing past them touched.
    static V LoadPixels(const uint32_t* p, int r) {
        V v = r == 1 ? Pixel(p[0]) : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        if (r == 3) v = _mm_unpacklo_epi64(v, Pixel(p[2]));
        return v;
    }
    static void StorePixels(uint32_t* p, V v, int r) {
        if (r == 1) {
            p[0] = uint32_t(_mm_cvtsi128_si32(v));
            return;
        }
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
        if (r == 3) p[2] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
    }
    // One pixel in the first lane, the others 0.
    static V Pixel(uint32_t p) { return _mm_cvtsi32_si128(int(p)); }
    static V Set16(int v) { return _mm_set1_epi16(short(v)); }
    static V Set32(uint32_t v) { return _mm_set1_epi32(int(v)); }
    static V Zero() { return _mm_setzero_si128(); }
    // v, v + d, v + 2d, ... with 32-bit wrap-around.
    static V Ramp(int32_t v, int32_t d) {
        const uint32_t u = uint32_t(v), e = uint32_t(d);
        return _mm_setr_epi32(int(u), int(u + e), int(u + 2 * e), int(u + 3 * e));
    }

    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    // m ? a : b, lane by lane, for masks of all ones or all zeros.
    static V Select(V m, V a, V b) { return _mm_or_si128(_mm_and_si128(m, a), _mm_andnot_si128(m, b)); }

    // Byte lanes.
    static V AddSat8(V a, V b) { return _mm_adds_epu8(a, b); }
    static V SubSat8(V a, V b) { return _mm_subs_epu8(a, b); }
    static V Sub8(V a, V b) { return _mm_sub_epi8(a, b); }
    static V Eq8(V a, V b) { return _mm_cmpeq_epi8(a, b); }
    // The low and high halves' bytes widened to 16-bit lanes, and back with saturation.
    static V Lo(V v) { return Zip8(v, Zero()); }
    static V Hi(V v) { return _mm_unpackhi_epi8(v, Zero()); }
    static V Pack(V lo, V hi) { return _mm_packus_epi16(lo, hi); }
    // The low halves' bytes of a and b taken in turn: a0 b0 a1 b1 ...
    static V Zip8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    // The low (high) 64 bits of a and of b, side by side.
    static V Lo64(V a, V b) { return _mm_unpacklo_epi64(a, b); }
    static V Hi64(V a, V b) { return _mm_unpackhi_epi64(a, b); }

    // 16-bit lanes.
    static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
    static V Mul16(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V MulHi16(V a, V b) { return _mm_mulhi_epu16(a, b); }
    template <int N> static V Srl16(V a) { return _mm_srli_epi16(a, N); }
    // Signed 16-bit lanes multiplied, each pair of neighbouring products summed in 32 bits.
    static V MulAdd16(V a, V b) { return _mm_madd_epi16(a, b); }

    // 32-bit lanes.
    static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm_sub_epi32(a, b); }
    static V Eq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
    static V Gt32(V a, V b) { return _mm_cmpgt_epi32(a, b); }
    template <int N> static V Srl32(V a) { return _mm_srli_epi32(a, N); }
    template <int N> static V Sra32(V a) { return _mm_srai_epi32(a, N); }
    template <int N> static V Sll32(V a) { return _mm_slli_epi32(a, N); }
    static V NonNegative(V a) { return _mm_andnot_si128(_mm_srai_epi32(a, 31), a); }
    // Low 32 bits of each product.
    static V Mul32(V a, V b) {
        const V even = _mm_mul_epu32(a, b), odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
        return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                  _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    }
    // The bytes of `four`, each widened to the 32-bit lane of its pixel; kPixels bytes
    // from p the same way.
    static V WidenBytes(uint32_t four) {
        return _mm_unpacklo_epi16(Lo(Pixel(four)), Zero());
    }
    static V Widen(const uint8_t* p) {
        uint32_t four;
        __builtin_memcpy(&four, p, 4);
        return WidenBytes(four);
    }

    // Whether every pixel's alpha byte is 0, or every one is 255.
    static bool AllTransparent(V v) {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, Set32(0xff)), Zero())) == 0xffff;
    }
    static bool AllOpaque(V v) {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(v, Set32(0xffffff00u)), Set32(0xffffffffu))) == 0xffff;
    }
    static bool Mixed(V v) { return !AllOpaque(v) && !AllTransparent(v); }
    // The four 32-bit lanes as the bytes of one pixel, each saturated to 0..255.
    static uint32_t SaturatedPixel(V v) {
        const V words = _mm_packs_epi32(v, v);
        return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
    }

    // A byte channel (in a 32-bit lane) times a weight up to 65536. pmaddwd takes signed
    // 16-bit halves, so the weight is split at bit 7 and the channel paired with itself
    // times 128: c (w & 127) + 128 c (w >> 7) = c w, every factor inside 16 signed bits.
    static V Weight(V w) {
        return _mm_or_si128(_mm_and_si128(w, Set32(127)), _mm_slli_epi32(_mm_srli_epi32(w, 7), 16));
    }
    static V MulChannel(V c, V weight) { return MulAdd16(_mm_or_si128(c, _mm_slli_epi32(c, 23)), weight); }
    // Byte `Byte` of each pixel in its 32-bit lane.
    template <int Byte> static V Channel(V p) {
        if constexpr (Byte == 3) return Srl32<24>(p);
        else return And(Srl32<8 * Byte>(p), Set32(255));
    }
    // The pixel at each byte offset from origin.
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
        const __m128 x = _mm_castsi128_ps(_mm_unpacklo_epi64(pair(0), pair(1)));
        const __m128 y = _mm_castsi128_ps(_mm_unpacklo_epi64(pair(2), pair(3)));
        left = _mm_castps_si128(_mm_shuffle_ps(x, y, _MM_SHUFFLE(2, 0, 2, 0)));
        right = _mm_castps_si128(_mm_shuffle_ps(x, y, _MM_SHUFFLE(3, 1, 3, 1)));
    }

    // One pixel's channels as doubles, in two registers.
    struct VD {
        __m128d lo, hi;
    };
    static VD LoadD(const double* p) { return {_mm_loadu_pd(p), _mm_loadu_pd(p + 2)}; }
    static void StoreD(double* p, VD v) {
        _mm_storeu_pd(p, v.lo);
        _mm_storeu_pd(p + 2, v.hi);
    }
    static VD SetD(double v) { return {_mm_set1_pd(v), _mm_set1_pd(v)}; }
    static VD ZeroD() { return {_mm_setzero_pd(), _mm_setzero_pd()}; }
    static VD AddD(VD a, VD b) { return {_mm_add_pd(a.lo, b.lo), _mm_add_pd(a.hi, b.hi)}; }
    static VD MulD(VD a, VD b) { return {_mm_mul_pd(a.lo, b.lo), _mm_mul_pd(a.hi, b.hi)}; }
    static VD WidenD(const uint8_t* pixel) {
        const V i = Widen(pixel);
        return {_mm_cvtepi32_pd(i), _mm_cvtepi32_pd(_mm_srli_si128(i, 8))};
    }
    // Each channel truncated to int, then saturated to a byte (negative to 0).
    static uint32_t BytesD(VD v) {
        return SaturatedPixel(_mm_unpacklo_epi64(_mm_cvttpd_epi32(v.lo), _mm_cvttpd_epi32(v.hi)));
    }
};
#endif

#if defined(__AVX2__)
// The same operations on 256-bit registers; unpacking, packing and the 64-bit halves
// stay inside each 128-bit half, so pixels come back in their order.
struct Avx2Lanes {
    using V = __m256i;
    static constexpr int kPixels = 8;

    static V Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V Set16(int v) { return _mm256_set1_epi16(short(v)); }
    static V Set32(uint32_t v) { return _mm256_set1_epi32(int(v)); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Ramp(int32_t v, int32_t d) {
        return _mm256_add_epi32(Set32(uint32_t(v)),
                                _mm256_mullo_epi32(Set32(uint32_t(d)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    }

    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Select(V m, V a, V b) { return _mm256_blendv_epi8(b, a, m); }

    static V AddSat8(V a, V b) { return _mm256_adds_epu8(a, b); }
    static V SubSat8(V a, V b) { return _mm256_subs_epu8(a, b); }
    static V Sub8(V a, V b) { return _mm256_sub_epi8(a, b); }
    static V Eq8(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
    static V Lo(V v) { return _mm256_unpacklo_epi8(v, Zero()); }
    static V Hi(V v) { return _mm256_unpackhi_epi8(v, Zero()); }
    static V Pack(V lo, V hi) { return _mm256_packus_epi16(lo, hi); }

    static V Mul16(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V MulHi16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    template <int N> static V Srl16(V a) { return _mm256_srli_epi16(a, N); }

    static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
    static V Eq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
    static V Gt32(V a, V b) { return _mm256_cmpgt_epi32(a, b); }
    template <int N> static V Srl32(V a) { return _mm256_srli_epi32(a, N); }
    template <int N> static V Sra32(V a) { return _mm256_srai_epi32(a, N); }
    template <int N> static V Sll32(V a) { return _mm256_slli_epi32(a, N); }
    static V NonNegative(V a) { return _mm256_max_epi32(a, _mm256_setzero_si256()); }
    static V Mul32(V a, V b) { return _mm256_mullo_epi32(a, b); }
    static V Widen(const uint8_t* p) {
        return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
    }

    static bool AllOpaque(V v) { return _mm256_testc_si256(v, Set32(0xff)); }
    // Neither wholly clear nor wholly opaque, in the one test the common case pays.
    static bool Mixed(V v) { return _mm256_testnzc_si256(v, Set32(0xff)); }

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

    // No fused multiply-add is enabled for this file: it would round once where the
    // resampling rule rounds twice.
    using VD = __m256d;
    static VD LoadD(const double* p) { return _mm256_loadu_pd(p); }
    static void StoreD(double* p, VD v) { _mm256_storeu_pd(p, v); }
    static VD SetD(double v) { return _mm256_set1_pd(v); }
    static VD ZeroD() { return _mm256_setzero_pd(); }
    static VD AddD(VD a, VD b) { return _mm256_add_pd(a, b); }
    static VD MulD(VD a, VD b) { return _mm256_mul_pd(a, b); }
    static VD WidenD(const uint8_t* pixel) {
        int32_t p;
        __builtin_memcpy(&p, pixel, 4);
        return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(p)));
    }
    static uint32_t BytesD(VD v) { return Sse2Lanes::SaturatedPixel(_mm256_cvttpd_epi32(v)); }
};
#endif

}  // namespace
