// The pixel and mode words shared by every raster operation.
#pragma once

#include <cmath>
#include <cstdint>

// A A | R << 8 | G << 16 | B << 24 pixel: bytes in memory are alpha, red, green, blue.
using PIX_PixelValue = uint32_t;
using PIX_DrawMode = uint32_t;

enum : uint32_t {
    PIX_MODE_COPY = 0,
    PIX_MODE_ADD = 1,
    PIX_MODE_DODGE = 2,
    PIX_MODE_MULTIPLY = 3,
    PIX_MODE_OVERLAY = 4,
    PIX_MODE_HSVADJUST = 5,
    PIX_MODE_MASK = 0xff,
    PIX_MODE_CHANNEL_COPY = 0xf0,
    PIX_MODE_FILTER_BILINEAR = 0x100,
    PIX_MODE_USE_SOURCE_ALPHA = 0x10000,
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

inline constexpr bool PIX_IsBilinear(PIX_DrawMode mode) { return (mode & 0xff00) == 0x100; }
inline constexpr bool PIX_IsChannelCopy(PIX_DrawMode mode) { return (mode & 0xf0) == 0xf0; }

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
