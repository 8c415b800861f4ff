// The bodies of the vector row kernels, written once over a small set of 16-bit lane
// operations and compiled once per instruction set (SSE2 and AVX2 files). Everything
// here has internal linkage: each file's copy is built for its own instruction set and
// must never be merged with another's by the linker.
//
// The copy blend's truncating division works on the magnitude of each byte difference
// in 16-bit lanes: a byte times a keep factor up to 256 fits 16 bits, so the division
// is one multiply and one shift, and the sign is put back afterwards.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <type_traits>

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
    static V Zero() { return _mm_setzero_si128(); }
    static V Lo(V v) { return _mm_unpacklo_epi8(v, Zero()); }
    static V Hi(V v) { return _mm_unpackhi_epi8(v, Zero()); }
    static V Pack(V lo, V hi) { return _mm_packus_epi16(lo, hi); }
    static V Mul(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V Shr8(V a) { return _mm_srli_epi16(a, 8); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    // m ? a : b, lane by lane, for masks of all ones or all zeros.
    static V Select(V m, V a, V b) { return _mm_or_si128(_mm_and_si128(m, a), _mm_andnot_si128(m, b)); }
    // Byte lanes.
    static V AddSat8(V a, V b) { return _mm_adds_epu8(a, b); }
    static V SubSat8(V a, V b) { return _mm_subs_epu8(a, b); }
    static V Sub8(V a, V b) { return _mm_sub_epi8(a, b); }
    static V Eq8(V a, V b) { return _mm_cmpeq_epi8(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }
    // 32-bit lanes.
    static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm_sub_epi32(a, b); }
    static V Eq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
    static V Shl16Of32(V a) { return _mm_slli_epi32(a, 16); }
    // kPixels bytes, each widened to the 32-bit lane of its pixel.
    static V Widen(const uint8_t* p) {
        int32_t four;
        __builtin_memcpy(&four, p, 4);
        return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), Zero()), Zero());
    }
    static V MulHi(V a, V b) { return _mm_mulhi_epu16(a, b); }
    // Whether every pixel's alpha byte is 0, or every one is 255.
    static bool AllTransparent(V v) {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, Set32(0xff)), Zero())) == 0xffff;
    }
    static bool AllOpaque(V v) {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(v, Set32(0xffffff00u)), Set32(0xffffffffu))) == 0xffff;
    }
    static bool Mixed(V v) { return !AllOpaque(v) && !AllTransparent(v); }
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
    static V Zero() { return _mm256_setzero_si256(); }
    static V Lo(V v) { return _mm256_unpacklo_epi8(v, Zero()); }
    static V Hi(V v) { return _mm256_unpackhi_epi8(v, Zero()); }
    static V Pack(V lo, V hi) { return _mm256_packus_epi16(lo, hi); }
    static V Mul(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V Shr8(V a) { return _mm256_srli_epi16(a, 8); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Select(V m, V a, V b) { return _mm256_blendv_epi8(b, a, m); }
    static V AddSat8(V a, V b) { return _mm256_adds_epu8(a, b); }
    static V SubSat8(V a, V b) { return _mm256_subs_epu8(a, b); }
    static V Sub8(V a, V b) { return _mm256_sub_epi8(a, b); }
    static V Eq8(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
    static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
    static V Eq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
    static V Shl16Of32(V a) { return _mm256_slli_epi32(a, 16); }
    static V Widen(const uint8_t* p) {
        return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
    }
    static V MulHi(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    static bool AllTransparent(V v) { return _mm256_testz_si256(v, Set32(0xff)); }
    static bool AllOpaque(V v) { return _mm256_testc_si256(v, Set32(0xff)); }
    // Neither wholly clear nor wholly opaque, in the one test the common case pays.
    static bool Mixed(V v) { return _mm256_testnzc_si256(v, Set32(0xff)); }
};
#endif

// s + (d - s) k / 256 truncated toward zero on bytes, for a keep factor k in 0..256 per
// pixel held in both 16-bit lanes of that pixel. Even bytes are scaled in the low halves
// of the lanes and odd bytes in the high halves, in place: no unpacking, and k = 256
// (the old byte kept whole) fits.
template <class O>
inline typename O::V CopyBytesKeep(typename O::V d, typename O::V s, typename O::V k) {
    const auto up = O::SubSat8(s, d);
    const auto diff = O::Or(O::SubSat8(d, s), up);
    const auto low = O::Set16(0x00ff);
    const auto even = O::Shr8(O::Mul(O::And(diff, low), k));
    const auto odd = O::AndNot(low, O::Mul(O::Shr8(diff), k));
    const auto q = O::Or(even, odd);
    const auto e = O::Eq8(up, O::Zero());
    return O::Sub8(s, O::Sub8(O::Xor(q, e), e));
}

// The same for one k in 0..255 for every byte, given as k << 8 in the 16-bit lanes of
// the low and high unpacked halves: the high half of diff (k << 8) is diff k >> 8.
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

// A keep factor of each pixel's low 16-bit lane copied to its high lane.
template <class O>
inline typename O::V BothLanes(typename O::V k) {
    return O::Or(k, O::Shl16Of32(k));
}

// The source-alpha copy: the alpha byte grows by the low byte of grow (saturating), the
// colour keeps k / 256 of the old. A pixel that must stay as it was has k = 256 and
// grows by 0, so it needs no selection of its own.
template <class O>
inline typename O::V SourceAlphaBytes(typename O::V d, typename O::V s, typename O::V grow, typename O::V k) {
    return O::Select(O::Set32(0xff), O::AddSat8(d, grow), CopyBytesKeep<O>(d, s, k));
}

// Keep factors from 32-bit lanes x in 0..255: the full-strength one, 255 - x but 256
// (everything) where x = 0, and the weighted one, 256 - x w / 256 for w in 0..255.
template <class O>
inline typename O::V FullKeep(typename O::V x) {
    return BothLanes<O>(O::Sub32(O::Xor(x, O::Set32(0xff)), O::Eq32(x, O::Zero())));
}
template <class O>
inline typename O::V WeightedKeep(typename O::V x, typename O::V w16, typename O::V* share) {
    *share = O::Shr8(O::Mul(x, w16));
    return BothLanes<O>(O::Sub32(O::Set32(256), *share));
}

template <class O, bool Full>
int SourceAlphaCopyRow(uint32_t* dst, const uint32_t* src, int n, int w) {
    const auto alphaByte = O::Set32(0xff);
    const auto w16 = O::Set16(w);
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels) {
        const auto s = O::Load(src + i);
        const auto a = O::And(s, alphaByte);
        if constexpr (Full) {
            // Artwork is mostly wholly opaque or wholly clear: such a block is the source
            // itself (alpha 255 keeps none of the old colour and saturates the alpha
            // byte) or nothing. Otherwise the alpha byte grows by a.
            if (O::Mixed(s))
                O::Store(dst + i, SourceAlphaBytes<O>(O::Load(dst + i), s, s, FullKeep<O>(a)));
            else if (O::AllOpaque(s))
                O::Store(dst + i, s);
        } else {
            // ws = (a + 1) w / 256 grows the alpha byte; a = 0 gives ws = 0 at the
            // weights below 256 this form serves.
            typename O::V ws;
            const auto k = WeightedKeep<O>(O::Add32(a, O::Set32(1)), w16, &ws);
            O::Store(dst + i, SourceAlphaBytes<O>(O::Load(dst + i), s, ws, k));
        }
    }
    return i;
}

// One colour through coverage bytes, every byte of the pixel toward it: at full
// strength a pixel of coverage c takes weight c + 1, else c w / 256; coverage 0 keeps
// the pixel. x holds the coverage in each pixel's 32-bit lane.
template <class O>
inline typename O::V CoverageBlock(typename O::V d, typename O::V x, typename O::V c, int w, typename O::V w16) {
    typename O::V share;
    return CopyBytesKeep<O>(d, c, w == 256 ? FullKeep<O>(x) : WeightedKeep<O>(x, w16, &share));
}

// Glyph rows are mostly blank or solid ink, which need no blending.
template <class O>
int CoverageCopyRow(uint32_t* dst, const uint8_t* cov, int n, typename O::V c, int w, typename O::V w16) {
    using Block = std::conditional_t<O::kPixels == 8, uint64_t, uint32_t>;
    int i = 0;
    for (; i + O::kPixels <= n; i += O::kPixels) {
        Block bytes;
        __builtin_memcpy(&bytes, cov + i, sizeof bytes);
        if (bytes == 0) continue;
        if (w == 256 && bytes == Block(~Block(0)))
            O::Store(dst + i, c);
        else
            O::Store(dst + i, CoverageBlock<O>(O::Load(dst + i), O::Widen(cov + i), c, w, w16));
    }
    return i;
}

#if defined(__SSE2__)
// The last one to three pixels of a row as one SSE2 block, read and written in pieces
// so that nothing past the row is touched.
inline void CoverageCopyTail(uint32_t* dst, const uint8_t* cov, int r, __m128i c, int w, __m128i w16) {
    uint32_t bytes = cov[0];
    if (r > 1) bytes |= uint32_t(cov[1]) << 8;
    if (r > 2) bytes |= uint32_t(cov[2]) << 16;
    if (bytes == 0) return;
    __m128i d = r == 1 ? _mm_cvtsi32_si128(int(dst[0])) : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst));
    if (r == 3) d = _mm_unpacklo_epi64(d, _mm_cvtsi32_si128(int(dst[2])));
    const __m128i zero = _mm_setzero_si128();
    const __m128i x = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(bytes)), zero), zero);
    const __m128i out = CoverageBlock<Sse2Ops>(d, x, c, w, w16);
    if (r == 1) {
        dst[0] = uint32_t(_mm_cvtsi128_si32(out));
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), out);
    if (r == 3) dst[2] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(out, 8)));
}

// A whole glyph (rows of n pixels) in one call: the per-row cost of a call and of a
// scalar tail would otherwise be much of the cost of a small glyph.
template <class O>
int CoverageCopyArea(uint32_t* dst, int64_t dstStep, const uint8_t* cov, int64_t covStep, int n, int rows,
                     uint32_t colour, int w) {
    if (w < 0 || w > 256 || n < 1) return 0;
    const auto c = O::Set32(colour);
    const auto w16 = O::Set16(w);
    const __m128i c4 = _mm_set1_epi32(int(colour)), w4 = _mm_set1_epi16(short(w));
    for (int y = 0; y < rows; ++y, dst += dstStep, cov += covStep) {
        int i = CoverageCopyRow<O>(dst, cov, n, c, w, w16);
        if constexpr (O::kPixels > 4) i += CoverageCopyRow<Sse2Ops>(dst + i, cov + i, n - i, c4, w, w4);
        if (i < n) CoverageCopyTail(dst + i, cov + i, n - i, c4, w, w4);
    }
    return n;
}
#endif

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
