// The bodies of the vector row kernels, written once over the lanes of
// raster/simd_lanes.h and compiled once per instruction set.
//
// The copy blend's truncating division works on the magnitude of each byte difference
// in 16-bit lanes: a byte times a keep factor up to 256 fits 16 bits, so the division
// is one multiply and one shift, and the sign is put back afterwards.
#pragma once

#include <cstdint>
#include <type_traits>

#include "raster/row_kernels.h"
#include "raster/simd_lanes.h"

namespace {

// s + (d - s) k / 256 truncated toward zero on bytes, for a keep factor k in 0..256 per
// pixel held in both 16-bit lanes of that pixel. Even bytes are scaled in the low halves
// of the lanes and odd bytes in the high halves, in place: no unpacking, and k = 256
// (the old byte kept whole) fits.
template <class O>
inline typename O::V CopyBytesKeep(typename O::V d, typename O::V s, typename O::V k) {
    const auto up = O::SubSat8(s, d);
    const auto diff = O::Or(O::SubSat8(d, s), up);
    const auto low = O::Set16(0x00ff);
    const auto even = O::template Srl16<8>(O::Mul16(O::And(diff, low), k));
    const auto odd = O::AndNot(low, O::Mul16(O::template Srl16<8>(diff), k));
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
    const auto q = O::Pack(O::MulHi16(O::Lo(diff), kLo), O::MulHi16(O::Hi(diff), kHi));
    // d >= s: s + q; otherwise s - q. With e all ones where d >= s, (q ^ e) - e is -q
    // there and q elsewhere.
    const auto e = O::Eq8(up, O::Zero());
    return O::Sub8(s, O::Sub8(O::Xor(q, e), e));
}

// A keep factor of each pixel's low 16-bit lane copied to its high lane.
template <class O>
inline typename O::V BothLanes(typename O::V k) {
    return O::Or(k, O::template Sll32<16>(k));
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
    *share = O::template Srl16<8>(O::Mul16(x, w16));
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
inline void CoverageCopyTail(uint32_t* dst, const uint8_t* cov, int r, Sse2Lanes::V c, int w, Sse2Lanes::V w16) {
    uint32_t bytes = cov[0];
    if (r > 1) bytes |= uint32_t(cov[1]) << 8;
    if (r > 2) bytes |= uint32_t(cov[2]) << 16;
    if (bytes == 0) return;
    const auto d = Sse2Lanes::LoadPixels(dst, r);
    Sse2Lanes::StorePixels(dst, CoverageBlock<Sse2Lanes>(d, Sse2Lanes::WidenBytes(bytes), c, w, w16), r);
}

// A whole glyph (rows of n pixels) in one call: the per-row cost of a call and of a
// scalar tail would otherwise be much of the cost of a small glyph.
template <class O>
int CoverageCopyArea(uint32_t* dst, int64_t dstStep, const uint8_t* cov, int64_t covStep, int n, int rows,
                     uint32_t colour, int w) {
    if (w < 0 || w > 256 || n < 1) return 0;
    const auto c = O::Set32(colour);
    const auto w16 = O::Set16(w);
    const auto c4 = Sse2Lanes::Set32(colour), w4 = Sse2Lanes::Set16(w);
    for (int y = 0; y < rows; ++y, dst += dstStep, cov += covStep) {
        int i = CoverageCopyRow<O>(dst, cov, n, c, w, w16);
        if constexpr (O::kPixels > 4) i += CoverageCopyRow<Sse2Lanes>(dst + i, cov + i, n - i, c4, w, w4);
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

#if defined(__SSE2__)
// The entries of a level's table. Past the level's own vectors a row's last block of
// four pixels goes through SSE2, so short sprite rows stay in vectors.
template <class O>
int SourceAlphaCopyFull(uint32_t* dst, const uint32_t* src, int n) {
    const int i = SourceAlphaCopyRow<O, true>(dst, src, n, 256);
    return O::kPixels == 4 ? i : i + SourceAlphaCopyRow<Sse2Lanes, true>(dst + i, src + i, n - i, 256);
}
template <class O>
int SourceAlphaCopy(uint32_t* dst, const uint32_t* src, int n, int w) {
    const int i = SourceAlphaCopyRow<O, false>(dst, src, n, w);
    return O::kPixels == 4 ? i : i + SourceAlphaCopyRow<Sse2Lanes, false>(dst + i, src + i, n - i, w);
}
template <class O>
int CopyWeighted(uint32_t* dst, const uint32_t* src, int n, int k) {
    const int i = CopyWeightedRow<O, false>(dst, src, 0, n, k);
    return O::kPixels == 4 ? i : i + CopyWeightedRow<Sse2Lanes, false>(dst + i, src + i, 0, n - i, k);
}
template <class O>
int FillWeighted(uint32_t* dst, int n, uint32_t colour, int k) {
    const int i = CopyWeightedRow<O, true>(dst, nullptr, colour, n, k);
    return O::kPixels == 4 ? i : i + CopyWeightedRow<Sse2Lanes, true>(dst + i, nullptr, colour, n - i, k);
}
template <class O>
int FillStore(uint32_t* dst, int n, uint32_t colour) {
    const int i = StoreRow<O>(dst, n, colour);
    return O::kPixels == 4 ? i : i + StoreRow<Sse2Lanes>(dst + i, n - i, colour);
}

template <class O>
constexpr pix::RowKernels RowKernelsOf(pix::SimdLevel level) {
    return {level, SourceAlphaCopyFull<O>, SourceAlphaCopy<O>, CopyWeighted<O>, FillWeighted<O>, FillStore<O>,
            CoverageCopyArea<O>};
}
#endif

}  // namespace
