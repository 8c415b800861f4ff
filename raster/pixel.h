// The pixel and mode words shared by every raster operation.
#pragma once

#include <cmath>
#include <cstdint>

// A A | R << 8 | G << 16 | B << 24 pixel: bytes in memory are alpha, red, green, blue.
using PIX_PixelValue = uint32_t;
using PIX_DrawMode = uint32_t;

// The blend modes, one line each: X(NAME, Policy, number, zeroWeightKeepsPixel).
// NAME makes PIX_MODE_NAME; Policy names the combiners pix::Policy and
// pix::PolicySourceAlpha and the functions PIX_CombinePixelsPolicy and
// PIX_CombinePixelsPolicySourceAlpha; the last column says whether weight 0 leaves a
// pixel exactly as it was (the span loops then need no coverage test).
#define PIX_BLEND_MODES(X)                      \
    X(COPY, Copy, 0, true)                      \
    X(ADD, Add, 1, true)                        \
    X(DODGE, Dodge, 2, true)                    \
    X(MULTIPLY, Multiply, 3, true)              \
    X(OVERLAY, Overlay, 4, true)                \
    X(HSVADJUST, HSVAdjust, 5, false)

enum : uint32_t {
#define PIX_MODE_ENUM_ENTRY(NAME, Policy, number, keeps) PIX_MODE_##NAME = number,
    PIX_BLEND_MODES(PIX_MODE_ENUM_ENTRY)
#undef PIX_MODE_ENUM_ENTRY
    PIX_MODE_MASK = 0xff,
    PIX_MODE_CHANNEL_COPY = 0xf0,
    PIX_MODE_FILTER_MASK = 0xff00,
    PIX_MODE_FILTER_BILINEAR = 0x100,
    PIX_MODE_USE_SOURCE_ALPHA = 0x10000,
    // The bits that choose a combiner: the blend mode and the source-alpha flag.
    PIX_MODE_COMBINER_MASK = PIX_MODE_USE_SOURCE_ALPHA | PIX_MODE_MASK,
    // The combiner bits and the filter byte: zero only for a plain unfiltered copy.
    PIX_MODE_COMBINER_FILTER_MASK = PIX_MODE_USE_SOURCE_ALPHA | PIX_MODE_FILTER_MASK | PIX_MODE_MASK,
};

// Every blend mode with its name, for walking them all.
struct PIX_BlendModeInfo {
    uint32_t mode;
    const char* name;
};
inline constexpr PIX_BlendModeInfo kPixBlendModes[] = {
#define PIX_MODE_INFO_ENTRY(NAME, Policy, number, keeps) {PIX_MODE_##NAME, #Policy},
    PIX_BLEND_MODES(PIX_MODE_INFO_ENTRY)
#undef PIX_MODE_INFO_ENTRY
};

// Byte positions of the channels inside a pixel.
enum : int { PIX_CHANNEL_A = 0, PIX_CHANNEL_R = 1, PIX_CHANNEL_G = 2, PIX_CHANNEL_B = 3 };

inline constexpr PIX_PixelValue PIX_MakePixel(int a, int r, int g, int b) {
    return uint32_t(a & 255) | uint32_t(r & 255) << 8 | uint32_t(g & 255) << 16 | uint32_t(b & 255) << 24;
}
inline constexpr int PIX_PixelA(PIX_PixelValue p) { return int(p & 255); }
inline constexpr int PIX_PixelR(PIX_PixelValue p) { return int(p >> 8 & 255); }
inline constexpr int PIX_PixelG(PIX_PixelValue p) { return int(p >> 16 & 255); }
inline constexpr int PIX_PixelB(PIX_PixelValue p) { return int(p >> 24 & 255); }

inline constexpr bool PIX_IsBilinear(PIX_DrawMode mode) {
    return (mode & PIX_MODE_FILTER_MASK) == PIX_MODE_FILTER_BILINEAR;
}
inline constexpr bool PIX_IsChannelCopy(PIX_DrawMode mode) {
    return (mode & PIX_MODE_CHANNEL_COPY) == PIX_MODE_CHANNEL_COPY;
}

// Largest weight magnitude (alpha 64). Beyond it the combiners' 32-bit products could
// overflow, so weights saturate here; the system's callers pass alpha 0..1.
inline constexpr int kPixMaxWeight = 1 << 14;

// Opacity to integer weight: trunc(alpha x 256) in double precision, 256 = opaque.
// Values above 1 are kept (the combiners use them as they are) up to +-kPixMaxWeight;
// NaN gives 0.
inline int PIX_AlphaWeight(double alpha) {
    const double w = alpha * 256.0;
    if (std::isnan(w)) return 0;
    if (w >= kPixMaxWeight) return kPixMaxWeight;
    if (w <= -kPixMaxWeight) return -kPixMaxWeight;
    return int(w);
}

// Float to 16.16 fixed point, saturating; NaN gives 0.
inline int32_t PIX_ToFixed16(double v) {
    const double f = v * 65536.0;
    if (std::isnan(f)) return 0;
    if (f >= 2147483647.0) return INT32_MAX;
    if (f <= -2147483648.0) return INT32_MIN;
    return int32_t(f);
}
