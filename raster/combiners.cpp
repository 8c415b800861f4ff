#include "raster/combiners.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<uint16_t, 256> MakeReciprocals() {
    std::array<uint16_t, 256> t{};
    for (int i = 1; i < 256; ++i) t[i] = uint16_t(65536 / i - 1);
    return t;
}

}  // namespace

constexpr std::array<uint16_t, 256> PIX_ReciprocalTable = MakeReciprocals();

namespace pix {

void HSVAdjustPixel(uint8_t* d, int r, int g, int b, int a, int w) {
    const int R = d[1], G = d[2], B = d[3];
    int base, diff, max, min;
    if (R >= G && R > B) {
        max = R;
        base = G >= B ? 0 : 383;
        diff = G - B;
        min = G < B ? G : B;
    } else if (G > R && G > B) {
        max = G;
        base = 128;
        diff = B - R;
        min = R < B ? R : B;
    } else {
        max = B;
        base = 256;
        diff = R - G;
        min = R < G ? R : G;
    }
    const int delta = max - min;
    int hue = base + ((PIX_ReciprocalTable[delta] + 1) * diff) / 1024;
    int sat = (delta * PIX_ReciprocalTable[max]) / 256;
    int val = max;

    hue += ((r + r / 2 - 192) * w) / 256;
    if (hue < 0) hue += 384;
    else if (hue > 383) hue -= 384;
    sat = Clamp255(sat + ((g - 128) * w) / 128);
    val = Clamp255(val + ((b - 128) * w) / 128);

    // Hue far outside 0..383 (weights above 256) stays in the end sectors.
    const int k = hue <= 63 ? 0 : (hue >= 320 ? 5 : hue >> 6);
    const int f = hue - 64 * k;
    const int p = ((256 - sat) * val) >> 8;
    const int t = ((16384 - (64 - f) * sat) * val) >> 14;
    const int q = ((16384 - f * sat) * val) >> 14;
    int nr, ng, nb;
    switch (k) {
        case 0: nr = val; ng = t; nb = p; break;
        case 1: nr = q; ng = val; nb = p; break;
        case 2: nr = p; ng = val; nb = t; break;
        case 3: nr = p; ng = q; nb = val; break;
        case 4: nr = t; ng = p; nb = val; break;
        default: nr = val; ng = p; nb = q; break;
    }
    d[0] = uint8_t(a);
    d[1] = uint8_t(nr);
    d[2] = uint8_t(ng);
    d[3] = uint8_t(nb);
}

}  // namespace pix

#define PIX_DEFINE_COMBINE_PIXELS(NAME, Policy, number, keeps)                                  \
    void PIX_CombinePixels##Policy(uint8_t* p, int r, int g, int b, int a, int w) {                \
        pix::Policy::apply(p, r, g, b, a, w);                                                      \
    }                                                                                              \
    void PIX_CombinePixels##Policy##SourceAlpha(uint8_t* p, int r, int g, int b, int a, int w) {   \
        pix::Policy##SourceAlpha::apply(p, r, g, b, a, w);                                         \
    }
PIX_BLEND_MODES(PIX_DEFINE_COMBINE_PIXELS)
#undef PIX_DEFINE_COMBINE_PIXELS
void PIX_CombinePixelsCopyFull(uint8_t* p, int r, int g, int b, int a, int w) { pix::CopyFull::apply(p, r, g, b, a, w); }
void PIX_CombinePixelsCopySourceAlphaFull(uint8_t* p, int r, int g, int b, int a) {
    pix::CopySourceAlphaFull::apply(p, r, g, b, a, 256);
}
void PIX_CombinePixelsCopyClamp(uint8_t* p, int r, int g, int b, int a, int w) {
    pix::CopyClamp::apply(p, r, g, b, a, w);
}
void PIX_CombinePixelsMultiplyClamp(uint8_t* p, int r, int g, int b, int a, int w) {
    pix::MultiplyClamp::apply(p, r, g, b, a, w);
}

namespace {

void CopySourceAlphaFullWeighted(uint8_t* p, int r, int g, int b, int a, int) {
    PIX_CombinePixelsCopySourceAlphaFull(p, r, g, b, a);
}

// The named function of each policy, so that callers holding a function pointer see
// the same one whichever way they obtained it.
template <class Op> constexpr PIX_CombineFunc kNamed = nullptr;
template <> constexpr PIX_CombineFunc kNamed<pix::CopyFull> = PIX_CombinePixelsCopyFull;
template <> constexpr PIX_CombineFunc kNamed<pix::CopySourceAlphaFull> = CopySourceAlphaFullWeighted;
#define PIX_NAME_COMBINER(NAME, Policy, number, keeps)                                  \
    template <> constexpr PIX_CombineFunc kNamed<pix::Policy> = PIX_CombinePixels##Policy; \
    template <>                                                                          \
    constexpr PIX_CombineFunc kNamed<pix::Policy##SourceAlpha> = PIX_CombinePixels##Policy##SourceAlpha;
PIX_BLEND_MODES(PIX_NAME_COMBINER)
#undef PIX_NAME_COMBINER

}  // namespace

PIX_CombineFunc PIX_SelectCombiner(uint32_t mode, int weight) {
    PIX_CombineFunc f = nullptr;
    pix::WithCombiner(mode, weight, [&]<class Op>() { f = kNamed<Op>; });
    return f;
}

void PIX_CombinePixelsByMode(uint8_t* p, int r, int g, int b, int a, int weight, uint32_t mode) {
    pix::WithCombiner(mode, weight, [&]<class Op>() { Op::apply(p, r, g, b, a, weight); });
}

void PIX_CombinePixelsByModeClamp(uint8_t* p, int r, int g, int b, int a, int weight, uint32_t mode) {
    auto sat = [](int v) { return std::clamp(v, -pix::kPixMaxClampChannel, pix::kPixMaxClampChannel); };
    r = sat(r), g = sat(g), b = sat(b), a = sat(a), weight = sat(weight);
    pix::WithClampCombiner(mode, weight, [&]<class Op>() { Op::apply(p, r, g, b, a, weight); });
}

PIX_PixelValue PIX_CombineColors(PIX_PixelValue dest, PIX_PixelValue source, uint32_t mode, float alpha) {
    // Single precision here, unlike the drawing calls.
    const int weight = PIX_AlphaWeight(double(alpha * 256.0f) / 256.0);
    uint8_t bytes[4] = {uint8_t(dest), uint8_t(dest >> 8), uint8_t(dest >> 16), uint8_t(dest >> 24)};
    PIX_CombinePixelsByMode(bytes, PIX_PixelR(source), PIX_PixelG(source), PIX_PixelB(source), PIX_PixelA(source),
                            weight, mode);
    return PIX_MakePixel(bytes[0], bytes[1], bytes[2], bytes[3]);
}
