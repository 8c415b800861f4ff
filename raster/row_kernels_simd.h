// The bodies of the vector row kernels, written once over a small set of 16-bit lane
// operations and compiled once per instruction set (SSE2 and AVX2 files). Everything
// here has internal linkage: each file's copy is built for its own instruction set and
// must never be merged with another's by the linker.
//
// Work is done in 16-bit lanes, two (SSE2) or four (AVX2) pixels per register: a byte
// difference times a keep factor up to 256 fits 16 bits, so the truncating division of
// the copy blend is one multiply and one shift of the difference's magnitude.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "raster/row_kernels.h"

namespace {

#if defined(__SSE2__)
struct Sse2Ops {
    using V = __m128i;
    static constexpr int kPixels = 4;
    static V Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V Set16(int v) { return _mm_set1_epi16(short(v)); }
    static V Set32(uint32_t v) { return _mm_set1_epi32(int(v)); }
    static V Set64(uint64_t v) { return _mm_set1_epi64x(int64_t(v)); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Lo(V v) { return _mm_unpacklo_epi8(v, Zero()); }
    static V Hi(V v) { return _mm_unpackhi_epi8(v, Zero()); }
    static V Pack(V lo, V hi) { return _mm_packus_epi16(lo, hi); }
    static V Add(V a, V b) { return _mm_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm_sub_epi16(a, b); }
    static V Mul(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V Shr8(V a) { return _mm_srli_epi16(a, 8); }
    static V Min(V a, V b) { return _mm_min_epi16(a, b); }
    static V Max(V a, V b) { return _mm_max_epi16(a, b); }
    static V Gt(V a, V b) { return _mm_cmpgt_epi16(a, b); }
    static V Eq(V a, V b) { return _mm_cmpeq_epi16(a, b); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    // m ? a : b, lane by lane, for masks of all ones or all zeros.
    static V Select(V m, V a, V b) { return _mm_or_si128(_mm_and_si128(m, a), _mm_andnot_si128(m, b)); }
    // Each pixel's alpha lane copied to its four lanes.
    static V BroadcastAlpha(V v) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0), 0); }
    // Byte lanes.
    static V AddSat8(V a, V b) { return _mm_adds_epu8(a, b); }
    static V SubSat8(V a, V b) { return _mm_subs_epu8(a, b); }
    static V Sub8(V a, V b) { return _mm_sub_epi8(a, b); }
    static V Eq8(V a, V b) { return _mm_cmpeq_epi8(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    // Bytes to the high halves of 16-bit lanes (v << 8), and the high half of a product.
    static V LoHigh(V v) { return _mm_unpacklo_epi8(Zero(), v); }
    static V HiHigh(V v) { return _mm_unpackhi_epi8(Zero(), v); }
    static V MulHi(V a, V b) { return _mm_mulhi_epu16(a, b); }
    // Whether every pixel's alpha byte is 0, or every one is 255.
    static bool AllTransparent(V v) {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, Set32(0xff)), Zero())) == 0xffff;
    }
    static bool AllOpaque(V v) {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(v, Set32(0xffffff00u)), Set32(0xffffffffu))) == 0xffff;
    }
    // Each pixel's alpha byte copied to its four bytes.
    static V BroadcastAlpha8(V v) {
        const V a = _mm_and_si128(v, Set32(0xff));
        const V a2 = _mm_or_si128(a, _mm_slli_epi32(a, 8));
        return _mm_or_si128(a2, _mm_slli_epi32(a2, 16));
    }
};
#endif

#if defined(__AVX2__)
// The same lane operations on 256-bit registers; unpacking and packing stay inside
// each 128-bit half, so pixels come back in their order.
struct Avx2Ops {
    using V = __m256i;
    static constexpr int kPixels = 8;
    static V Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V Set16(int v) { return _mm256_set1_epi16(short(v)); }
    static V Set32(uint32_t v) { return _mm256_set1_epi32(int(v)); }
    static V Set64(uint64_t v) { return _mm256_set1_epi64x(int64_t(v)); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Lo(V v) { return _mm256_unpacklo_epi8(v, Zero()); }
    static V Hi(V v) { return _mm256_unpackhi_epi8(v, Zero()); }
    static V Pack(V lo, V hi) { return _mm256_packus_epi16(lo, hi); }
    static V Add(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Sub(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V Mul(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V Shr8(V a) { return _mm256_srli_epi16(a, 8); }
    static V Min(V a, V b) { return _mm256_min_epi16(a, b); }
    static V Max(V a, V b) { return _mm256_max_epi16(a, b); }
    static V Gt(V a, V b) { return _mm256_cmpgt_epi16(a, b); }
    static V Eq(V a, V b) { return _mm256_cmpeq_epi16(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Select(V m, V a, V b) { return _mm256_blendv_epi8(b, a, m); }
    static V BroadcastAlpha(V v) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0), 0); }
    static V AddSat8(V a, V b) { return _mm256_adds_epu8(a, b); }
    static V SubSat8(V a, V b) { return _mm256_subs_epu8(a, b); }
    static V Sub8(V a, V b) { return _mm256_sub_epi8(a, b); }
    static V Eq8(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V LoHigh(V v) { return _mm256_unpacklo_epi8(Zero(), v); }
    static V HiHigh(V v) { return _mm256_unpackhi_epi8(Zero(), v); }
    static V MulHi(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    static bool AllTransparent(V v) { return _mm256_testz_si256(v, Set32(0xff)); }
    static bool AllOpaque(V v) {
        return _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_or_si256(v, Set32(0xffffff00u)), Set32(0xffffffffu))) ==
               -1;
    }
    static V BroadcastAlpha8(V v) {
        const V spread = _mm256_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12,
                                          0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
        return _mm256_shuffle_epi8(v, spread);
    }
};
#endif

// s + (d - s) k / 256 truncated toward zero, on lanes holding bytes: the magnitude of
// the difference is scaled and then added to or taken from s.
template <class O>
inline typename O::V CopyLanes(typename O::V d, typename O::V s, typename O::V k) {
    const auto q = O::Shr8(O::Mul(O::Sub(O::Max(d, s), O::Min(d, s)), k));
    const auto minus = O::Gt(s, d);
    return O::Add(s, O::Sub(O::Xor(q, minus), minus));
}

// The source-alpha copy at weight w in 16-bit lanes d and s: the alpha byte grows by
// ws = (a + 1) w >> 8, the colour keeps 256 - ws (which may be 256, beyond a byte).
template <class O>
inline typename O::V SourceAlphaLanes(typename O::V d, typename O::V s, typename O::V w) {
    const auto a = O::BroadcastAlpha(s);
    const auto grow = O::Shr8(O::Mul(O::Add(a, O::Set16(1)), w));
    const auto keep = O::Sub(O::Set16(256), grow);
    const auto colour = CopyLanes<O>(d, s, keep);
    const auto alpha = O::Min(O::Add(d, grow), O::Set16(255));
    // Lane 0 of every pixel (64 bits of lanes) is its alpha byte.
    const auto isAlpha = O::Set64(0xffff);
    const auto out = O::Select(isAlpha, alpha, colour);
    return O::Select(O::Eq(a, O::Zero()), d, out);
}

// s + (d - s) k / 256 truncated toward zero on bytes, for k in 0..255 given as k << 8
// in the 16-bit lanes of the low and high halves: only the scaling of the difference
// needs 16-bit lanes, and the high half of diff (k << 8) is diff k >> 8.
template <class O>
inline typename O::V CopyBytes(typename O::V d, typename O::V s, typename O::V kLo, typename O::V kHi) {
    const auto up = O::SubSat8(s, d);
    const auto diff = O::Or(O::SubSat8(d, s), up);
    const auto q = O::Pack(O::MulHi(O::Lo(diff), kLo), O::MulHi(O::Hi(diff), kHi));
    // d >= s: s + q; otherwise s - q. With e all ones where d >= s, (q ^ e) - e is -q
    // there and q elsewhere.
    const auto e = O::Eq8(up, O::Zero());
    return O::Sub8(s, O::Sub8(O::Xor(q, e), e));
}

// The full-weight source-alpha copy on bytes: keep = 255 - a fits one.
template <class O>
inline typename O::V SourceAlphaFullBytes(typename O::V d, typename O::V s) {
    const auto a = O::BroadcastAlpha8(s);
    const auto keep = O::Xor(a, O::Set32(0xffffffffu));
    const auto colour = CopyBytes<O>(d, s, O::LoHigh(keep), O::HiHigh(keep));
    const auto out = O::Select(O::Set32(0xff), O::AddSat8(d, a), colour);
    return O::Select(O::Eq8(a, O::Zero()), d, out);
}

template <class O, bool Full>
int SourceAlphaCopyRow(uint32_t* dst, const uint32_t* src, int n, int w) {
    const auto w16 = O::Set16(w);
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels) {
        const auto s = O::Load(src + i);
        if constexpr (Full) {
            // Artwork is mostly wholly opaque or wholly clear: such a block is the source
            // itself (alpha 255 keeps none of the old colour and saturates the alpha
            // byte) or nothing.
            if (O::AllOpaque(s))
                O::Store(dst + i, s);
            else if (!O::AllTransparent(s))
                O::Store(dst + i, SourceAlphaFullBytes<O>(O::Load(dst + i), s));
        } else {
            const auto d = O::Load(dst + i);
            O::Store(dst + i, O::Pack(SourceAlphaLanes<O>(O::Lo(d), O::Lo(s), w16),
                                      SourceAlphaLanes<O>(O::Hi(d), O::Hi(s), w16)));
        }
    }
    return i;
}

// Every byte toward the source (Constant: one colour) with keep factor k. k = 256 (a
// weight of 0) keeps every byte as it is.
template <class O, bool Constant>
int CopyWeightedRow(uint32_t* dst, const uint32_t* src, uint32_t colour, int n, int k) {
    if (k == 256) return n;
    if (k < 0 || k > 255) return 0;
    const auto k16 = O::Set16(k << 8);
    const auto c = O::Set32(colour);
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels)
        O::Store(dst + i, CopyBytes<O>(O::Load(dst + i), Constant ? c : O::Load(src + i), k16, k16));
    return i;
}

template <class O>
int StoreRow(uint32_t* dst, int n, uint32_t colour) {
    const auto c = O::Set32(colour);
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels) O::Store(dst + i, c);
    return i;
}

}  // namespace
