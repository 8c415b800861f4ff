// Pixel combiners: how one destination pixel takes one source colour under a blend
// mode and an integer weight (256 = full strength).
//
// Every combiner is a policy type with one static function
//     static void apply(uint8_t* d, int r, int g, int b, int a, int w);
// where d points at the alpha byte of a pixel (bytes A, R, G, B). Row and span loops
// are templates over the policy, chosen once per call through WithCombiner or
// WithSolidCombiner, so the mode is never switched on per pixel.
//
// Weights: callers obtain them from PIX_AlphaWeight, which saturates at
// +-kPixMaxWeight; inside that range none of the products below can overflow.
// Source channels are 0..255 except for the *Clamp combiners (see there) and the
// alpha channel of fills, which is the weight itself.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "raster/pixel.h"

// floor(65536 / i) - 1 for i = 1..255, 0 for i = 0. Used by the HSV conversion only.
extern const std::array<uint16_t, 256> PIX_ReciprocalTable;

namespace pix {

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Channel formulas: d the destination byte, s the source channel, w the weight.
// Integer division truncates toward zero throughout, as C++ does.
namespace channel {

// d = s + (d - s)(256 - w) / 256
inline int Copy(int d, int s, int w) { return s + ((d - s) * (256 - w)) / 256; }

// d = clamp(d + s w / 256)
inline int Add(int d, int s, int w) { return Clamp255(d + (s * w) / 256); }

// divisor = 256 - s w / 256; d = min(255, d 256 / divisor), the division skipped
// for divisors below 2 (so 0 stays 0 and anything else saturates).
inline int Dodge(int d, int s, int w) {
    const int divisor = 256 - (s * w) / 256;
    unsigned q = unsigned(d) * 256u;
    if (divisor >= 2) q /= unsigned(divisor);
    return q < 256u ? int(q) : 255;
}

// d = ((s w + (256 - w) 256) d) >> 16, unsigned
inline int Multiply(int d, int s, int w) {
    return int((unsigned(s * w + (256 - w) * 256) * unsigned(d)) >> 16);
}

// t = s w + (256 - w) 128; x = ((32768 - t) d / 256 + t) d; d = x >> 15, saturated.
// In 64 bits: fills hand their weight in as the alpha channel too, and with s and w
// both at kPixMaxWeight, (32768 - t) d is far beyond 32 bits.
inline int Overlay(int d, int s, int w) {
    const int64_t t = int64_t(s) * w + int64_t(256 - w) * 128;
    const int64_t x = (((32768 - t) * d) / 256 + t) * d;
    const int64_t v = x >> 15;
    if (v < 0 || v > 255) return x < 0 ? 0 : 255;
    return v;
}

}  // namespace channel

// Weight of a source pixel under PIX_MODE_USE_SOURCE_ALPHA: (a + 1) w / 256.
inline int SourceAlphaWeight(int a, int w) { return ((a + 1) * w) / 256; }

// Applies one channel formula to the four byte pairs alike.
template <int (*F)(int, int, int)>
struct ByteWise {
    static void apply(uint8_t* d, int r, int g, int b, int a, int w) {
        d[0] = uint8_t(F(d[0], a, w));
        d[1] = uint8_t(F(d[1], r, w));
        d[2] = uint8_t(F(d[2], g, w));
        d[3] = uint8_t(F(d[3], b, w));
    }
};

// The HSV adjustment: r, g, b are hue, saturation and value offsets centred on 128;
// a becomes the alpha byte.
void HSVAdjustPixel(uint8_t* d, int r, int g, int b, int a, int w);

// ---- Plain modes -------------------------------------------------------------------

struct CopyFull {
    static void apply(uint8_t* d, int r, int g, int b, int a, int /*w*/) {
        d[0] = uint8_t(a);
        d[1] = uint8_t(r);
        d[2] = uint8_t(g);
        d[3] = uint8_t(b);
    }
};
struct Copy : ByteWise<channel::Copy> {};
struct Add : ByteWise<channel::Add> {};
struct Dodge : ByteWise<channel::Dodge> {};
struct Multiply : ByteWise<channel::Multiply> {};
struct Overlay : ByteWise<channel::Overlay> {};
struct HSVAdjust {
    static void apply(uint8_t* d, int r, int g, int b, int a, int w) { HSVAdjustPixel(d, r, g, b, a, w); }
};

// ---- Weighted by the source alpha --------------------------------------------------

// The source-alpha forms leave the pixel alone for a transparent source by selecting
// the old bytes rather than returning early, which keeps their row loops vectorisable.
inline void KeepUnless(bool draw, uint8_t* d, const int* v) {
    const int m = -int(draw);
    for (int i = 0; i < 4; ++i) d[i] = uint8_t((v[i] & m) | (d[i] & ~m));
}

// Full weight: the alpha byte grows by a (not a + 1 as the general form would give).
// An opaque source (a = 255) stores the colour with alpha 255, which the formula gives
// by itself: keep = 0 and min(255, dA + 255) = 255.
struct CopySourceAlphaFull {
    static void apply(uint8_t* d, int r, int g, int b, int a, int /*w*/) {
        const int keep = 255 - a;
        const int da = d[0] + a;
        const int v[4] = {da < 255 ? da : 255, r + ((d[1] - r) * keep) / 256, g + ((d[2] - g) * keep) / 256,
                          b + ((d[3] - b) * keep) / 256};
        KeepUnless(a != 0, d, v);
    }
};

struct CopySourceAlpha {
    static void apply(uint8_t* d, int r, int g, int b, int a, int w) {
        const int ws = SourceAlphaWeight(a, w);
        const int da = d[0] + ws;
        const int v[4] = {da < 255 ? da : 255, channel::Copy(d[1], r, ws), channel::Copy(d[2], g, ws),
                          channel::Copy(d[3], b, ws)};
        KeepUnless(a != 0, d, v);
    }
};

// Add and multiply skip transparent source pixels; dodge, overlay and HSV do not.
template <class Plain, bool SkipTransparent>
struct SourceAlphaWeighted {
    static void apply(uint8_t* d, int r, int g, int b, int a, int w) {
        if constexpr (SkipTransparent) {
            uint8_t t[4] = {d[0], d[1], d[2], d[3]};
            Plain::apply(t, r, g, b, a, SourceAlphaWeight(a, w));
            const int v[4] = {t[0], t[1], t[2], t[3]};
            KeepUnless(a != 0, d, v);
        } else {
            Plain::apply(d, r, g, b, a, SourceAlphaWeight(a, w));
        }
    }
};
struct AddSourceAlpha : SourceAlphaWeighted<Add, true> {};
struct DodgeSourceAlpha : SourceAlphaWeighted<Dodge, false> {};
struct MultiplySourceAlpha : SourceAlphaWeighted<Multiply, true> {};
struct OverlaySourceAlpha : SourceAlphaWeighted<Overlay, false> {};
struct HSVAdjustSourceAlpha : SourceAlphaWeighted<HSVAdjust, false> {};

// ---- Clamped forms, for source channels outside 0..255 ------------------------------
// Valid for channels within +-kPixMaxClampChannel (callers saturate to it) and weights
// within +-kPixMaxClampChannel as well.
inline constexpr int kPixMaxClampChannel = 1024;

namespace channel {
inline int CopyClamp(int d, int s, int w) { return Clamp255(Copy(d, s, w)); }
// Signed 64-bit: a negative source darkens to 0 instead of wrapping to a huge unsigned.
inline int MultiplyClamp(int d, int s, int w) {
    const int64_t v = (int64_t(s * w + (256 - w) * 256) * d) >> 16;
    return v < 0 ? 0 : (v > 255 ? 255 : int(v));
}
}  // namespace channel

struct CopyClamp : ByteWise<channel::CopyClamp> {};
struct MultiplyClamp : ByteWise<channel::MultiplyClamp> {};
struct CopyFullClamp {
    static void apply(uint8_t* d, int r, int g, int b, int a, int /*w*/) {
        CopyFull::apply(d, Clamp255(r), Clamp255(g), Clamp255(b), Clamp255(a), 256);
    }
};
struct CopySourceAlphaFullClamp {
    static void apply(uint8_t* d, int r, int g, int b, int a, int /*w*/) {
        if (a == 0) return;
        if (a == 255) {
            CopyFull::apply(d, Clamp255(r), Clamp255(g), Clamp255(b), 255, 256);
            return;
        }
        const int keep = 255 - a;
        d[1] = uint8_t(Clamp255(r + ((d[1] - r) * keep) / 256));
        d[2] = uint8_t(Clamp255(g + ((d[2] - g) * keep) / 256));
        d[3] = uint8_t(Clamp255(b + ((d[3] - b) * keep) / 256));
        d[0] = uint8_t(Clamp255(d[0] + a));
    }
};
struct CopySourceAlphaClamp {
    static void apply(uint8_t* d, int r, int g, int b, int a, int w) {
        if (a == 0) return;
        const int ws = SourceAlphaWeight(a, w);
        d[1] = uint8_t(channel::CopyClamp(d[1], r, ws));
        d[2] = uint8_t(channel::CopyClamp(d[2], g, ws));
        d[3] = uint8_t(channel::CopyClamp(d[3], b, ws));
        d[0] = uint8_t(Clamp255(d[0] + ws));
    }
};
struct MultiplySourceAlphaClamp : SourceAlphaWeighted<MultiplyClamp, true> {};

// ---- Selection ---------------------------------------------------------------------
// The one table from mode word and weight to combiner, generated from PIX_BLEND_MODES.

// Full weight has forms of its own where the general formula would cost more for the
// same bytes (the plain copy) or where the full-weight result is a rule of its own (the
// source-alpha copy: the alpha byte grows by a rather than a + 1).
template <class Op> struct FullWeightForm { using type = Op; };
template <> struct FullWeightForm<Copy> { using type = CopyFull; };
template <> struct FullWeightForm<CopySourceAlpha> { using type = CopySourceAlphaFull; };

// For sources outside 0..255 copy and multiply clamp; the rest need no other form.
template <class Op> struct ClampForm { using type = Op; };
template <> struct ClampForm<CopyFull> { using type = CopyFullClamp; };
template <> struct ClampForm<Copy> { using type = CopyClamp; };
template <> struct ClampForm<CopySourceAlphaFull> { using type = CopySourceAlphaFullClamp; };
template <> struct ClampForm<CopySourceAlpha> { using type = CopySourceAlphaClamp; };
template <> struct ClampForm<Multiply> { using type = MultiplyClamp; };
template <> struct ClampForm<MultiplySourceAlpha> { using type = MultiplySourceAlphaClamp; };

// A plain copy below weight 1 draws nothing; the other modes take any nonzero weight.
template <class Op, class Fn>
bool SelectByWeight(int weight, Fn& fn) {
    if constexpr (std::is_same_v<Op, Copy>)
        if (weight < 1) return false;
    if (weight == 256)
        fn.template operator()<typename FullWeightForm<Op>::type>();
    else
        fn.template operator()<Op>();
    return true;
}

// Blits: by mode & PIX_MODE_COMBINER_MASK. Weight 0 and any value outside the table
// draw nothing (returns false, fn not called).
template <class Fn>
bool WithCombiner(uint32_t mode, int weight, Fn&& fn) {
    if (weight == 0) return false;
    switch (mode & PIX_MODE_COMBINER_MASK) {
#define PIX_COMBINER_CASES(NAME, Policy, number, keeps) \
    case PIX_MODE_##NAME: return SelectByWeight<Policy>(weight, fn); \
    case PIX_MODE_USE_SOURCE_ALPHA | PIX_MODE_##NAME: return SelectByWeight<Policy##SourceAlpha>(weight, fn);
        PIX_BLEND_MODES(PIX_COMBINER_CASES)
#undef PIX_COMBINER_CASES
        default: return false;
    }
}

// Solid colours and vector drawing: by the low byte alone, PIX_MODE_USE_SOURCE_ALPHA
// ignored.
template <class Fn>
bool WithSolidCombiner(uint32_t mode, int weight, Fn&& fn) {
    return WithCombiner(mode & PIX_MODE_MASK, weight, static_cast<Fn&&>(fn));
}

// The table of WithCombiner for sources outside 0..255.
template <class Fn>
bool WithClampCombiner(uint32_t mode, int weight, Fn&& fn) {
    return WithCombiner(mode, weight, [&]<class Op>() { fn.template operator()<typename ClampForm<Op>::type>(); });
}

}  // namespace pix

// ---- The single-pixel C-style entry points ----------------------------------------------

using PIX_CombineFunc = void (*)(uint8_t*, int, int, int, int, int);

#define PIX_DECLARE_COMBINE_PIXELS(NAME, Policy, number, keeps)                \
    void PIX_CombinePixels##Policy(uint8_t* p, int r, int g, int b, int a, int w); \
    void PIX_CombinePixels##Policy##SourceAlpha(uint8_t* p, int r, int g, int b, int a, int w);
PIX_BLEND_MODES(PIX_DECLARE_COMBINE_PIXELS)
#undef PIX_DECLARE_COMBINE_PIXELS
void PIX_CombinePixelsCopyFull(uint8_t* p, int r, int g, int b, int a, int w);
void PIX_CombinePixelsCopySourceAlphaFull(uint8_t* p, int r, int g, int b, int a);
void PIX_CombinePixelsCopyClamp(uint8_t* p, int r, int g, int b, int a, int w);
void PIX_CombinePixelsMultiplyClamp(uint8_t* p, int r, int g, int b, int a, int w);

// The combiner for a drawing call, or null when nothing is to be drawn. The full-weight
// source-alpha copy comes wrapped to the common signature.
PIX_CombineFunc PIX_SelectCombiner(uint32_t mode, int weight);

// The whole selection table for one pixel; weight 0 or a mode outside it does nothing.
void PIX_CombinePixelsByMode(uint8_t* p, int r, int g, int b, int a, int weight, uint32_t mode);
// The same for source channels that may lie outside 0..255: copy and multiply results
// are clamped. Channels are first saturated to +-kPixMaxClampChannel.
void PIX_CombinePixelsByModeClamp(uint8_t* p, int r, int g, int b, int a, int weight, uint32_t mode);

// Combines two colours as one destination pixel; alpha 1.0 is full weight (computed in
// single precision). A zero weight or a mode outside the table returns dest unchanged.
PIX_PixelValue PIX_CombineColors(PIX_PixelValue dest, PIX_PixelValue source, uint32_t mode, float alpha);
