#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "raster/combiners.h"
#include "raster/row_kernels.h"
#include "raster/sample_kernels.h"

// A scalar reference written from the blend arithmetic alone, in 64 bits with explicit
// truncating division, sharing nothing with the library's code.
namespace ref {

int64_t tdiv(int64_t n, int64_t d) {
    const int64_t q = (n < 0 ? -n : n) / (d < 0 ? -d : d);
    return (n < 0) != (d < 0) ? -q : q;
}
int64_t clamp(int64_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
uint8_t low(int64_t v) { return uint8_t(uint64_t(v) & 255); }

enum Kind { kCopyFull, kCopy, kAdd, kDodge, kMultiply, kOverlay, kHSV };

int64_t channel(Kind k, int64_t d, int64_t s, int64_t w) {
    switch (k) {
        case kCopy: return s + tdiv((d - s) * (256 - w), 256);
        case kAdd: return clamp(d + tdiv(s * w, 256));
        case kDodge: {
            const int64_t divisor = 256 - tdiv(s * w, 256);
            int64_t q = d * 256;
            if (divisor >= 2) q = q / divisor;
            return q < 256 ? q : 255;
        }
        case kMultiply: {
            const uint32_t f = uint32_t(int32_t(s * w + (256 - w) * 256));
            return int64_t((uint32_t(f * uint32_t(d))) >> 16);
        }
        case kOverlay: {
            const int64_t t = s * w + (256 - w) * 128;
            const int64_t x = (tdiv((32768 - t) * d, 256) + t) * d;
            const int64_t v = x >> 15;
            return (v < 0 || v > 255) ? (x < 0 ? 0 : 255) : v;
        }
        default: return 0;
    }
}

int recip(int i) { return i == 0 ? 0 : 65536 / i - 1; }

void hsv(uint8_t* px, int64_t r, int64_t g, int64_t b, int64_t a, int64_t w) {
    const int64_t R = px[1], G = px[2], B = px[3];
    int64_t base, diff, mx, mn;
    if (R >= G && R > B) { mx = R; base = G >= B ? 0 : 383; diff = G - B; mn = std::min(G, B); }
    else if (G > R && G > B) { mx = G; base = 128; diff = B - R; mn = std::min(R, B); }
    else { mx = B; base = 256; diff = R - G; mn = std::min(R, G); }
    const int64_t delta = mx - mn;
    int64_t hue = base + tdiv((recip(int(delta)) + 1) * diff, 1024);
    int64_t sat = tdiv(delta * recip(int(mx)), 256);
    int64_t val = mx;
    hue += tdiv((r + tdiv(r, 2) - 192) * w, 256);
    if (hue < 0) hue += 384;
    else if (hue > 383) hue -= 384;
    sat = clamp(sat + tdiv((g - 128) * w, 128));
    val = clamp(val + tdiv((b - 128) * w, 128));
    const int64_t k = hue <= 63 ? 0 : hue <= 127 ? 1 : hue <= 191 ? 2 : hue <= 255 ? 3 : hue <= 319 ? 4 : 5;
    const int64_t f = hue - 64 * k, s = sat, v = val;
    const int64_t p = ((256 - s) * v) >> 8;
    const int64_t t = ((16384 - (64 - f) * s) * v) >> 14;
    const int64_t q = ((16384 - f * s) * v) >> 14;
    const int64_t table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    px[0] = low(a);
    px[1] = low(table[k][0]);
    px[2] = low(table[k][1]);
    px[3] = low(table[k][2]);
}

// One pixel under (kind, source alpha flag, full-weight form); bytes A, R, G, B.
void combine(uint8_t* px, Kind k, bool srcAlpha, int64_t r, int64_t g, int64_t b, int64_t a, int64_t w) {
    const int64_t src[4] = {a, r, g, b};
    if (!srcAlpha) {
        if (k == kCopyFull) { for (int i = 0; i < 4; ++i) px[i] = low(src[i]); return; }
        if (k == kHSV) { hsv(px, r, g, b, a, w); return; }
        for (int i = 0; i < 4; ++i) px[i] = low(channel(k, px[i], src[i], w));
        return;
    }
    if (k == kCopyFull) {
        if (a == 0) return;
        if (a == 255) { px[0] = 255; for (int i = 1; i < 4; ++i) px[i] = low(src[i]); return; }
        for (int i = 1; i < 4; ++i) px[i] = low(src[i] + tdiv((px[i] - src[i]) * (255 - a), 256));
        px[0] = low(std::min<int64_t>(255, px[0] + a));
        return;
    }
    const int64_t ws = tdiv((a + 1) * w, 256);
    if (k == kCopy) {
        if (a == 0) return;
        for (int i = 1; i < 4; ++i) px[i] = low(channel(kCopy, px[i], src[i], ws));
        px[0] = low(std::min<int64_t>(255, px[0] + ws));
        return;
    }
    if ((k == kAdd || k == kMultiply) && a == 0) return;
    combine(px, k, false, r, g, b, a, ws);
}

}  // namespace ref

namespace {

// The reference of each mode in the order of the mode list: a mode added to the list
// fails to compile here until the reference knows it.
constexpr ref::Kind kReference[] = {ref::kCopy, ref::kAdd, ref::kDodge, ref::kMultiply, ref::kOverlay, ref::kHSV};
static_assert(std::size(kReference) == std::size(kPixBlendModes));

const int kWeights[] = {0, 1, 64, 127, 128, 255, 256};

// Destination and source pixels derived from one byte each, by bijections per channel,
// so every channel meets every (destination byte, source byte) pair.
void DestBytes(int d, uint8_t* px) {
    px[0] = uint8_t(d);
    px[1] = uint8_t(d + 85);
    px[2] = uint8_t(255 - d);
    px[3] = uint8_t(d * 7 + 3);
}
void SourceChannels(int s, int& r, int& g, int& b, int& a) {
    a = s;
    r = (s + 37) & 255;
    g = (s * 3) & 255;
    b = 255 - s;
}

// Every mode of the list, plain and weighted by source alpha, through the selection
// table at each weight, against the reference; the two-colour form gives the same.
TEST(Combiners, EveryModeBytePairAndWeightMatchesReference) {
    for (size_t m = 0; m < std::size(kPixBlendModes); ++m)
        for (bool srcAlpha : {false, true}) {
            const uint32_t mode = kPixBlendModes[m].mode | (srcAlpha ? PIX_MODE_USE_SOURCE_ALPHA : 0u);
            int failures = 0;
            for (int w : kWeights) {
                // Weight 0 and a plain copy below weight 1 draw nothing; a full-weight copy
                // has its own form.
                const bool none = w == 0 || (kReference[m] == ref::kCopy && !srcAlpha && w < 1);
                const ref::Kind kind = kReference[m] == ref::kCopy && w == 256 ? ref::kCopyFull : kReference[m];
                for (int d = 0; d < 256 && failures < 5; ++d)
                    for (int s = 0; s < 256 && failures < 5; ++s) {
                        uint8_t got[4], want[4];
                        DestBytes(d, got);
                        std::memcpy(want, got, 4);
                        int r, g, b, a;
                        SourceChannels(s, r, g, b, a);
                        uint32_t colours;
                        std::memcpy(&colours, got, 4);
                        colours = PIX_CombineColors(colours, PIX_MakePixel(a, r, g, b), mode, float(w) / 256);
                        PIX_CombinePixelsByMode(got, r, g, b, a, w, mode);
                        if (!none) ref::combine(want, kind, srcAlpha, r, g, b, a, w);
                        if ((std::memcmp(got, want, 4) != 0 || std::memcmp(&colours, want, 4) != 0) && ++failures)
                            ADD_FAILURE() << kPixBlendModes[m].name << (srcAlpha ? " source alpha" : "") << " w=" << w
                                          << " d=" << d << " s=" << s;
                    }
            }
        }
}

// Weights and channels outside the sweep: negative weights, and the clamped forms
// (copy and multiply only) with channels far outside 0..255.
TEST(Combiners, OutOfRangeChannelsAndWeights) {
    const struct { uint32_t mode; int r, g, b, a, w; uint32_t dest, want; } cases[] = {
        {1, 255, 255, 255, 255, -256, PIX_MakePixel(10, 200, 3, 0), 0},
        {0, -10, 300, 5, 400, 256, 0x80808080, PIX_MakePixel(255, 0, 255, 5)},
        {0, -5, 300, 100, 999, 256, 0, PIX_MakePixel(255, 0, 255, 100)},
        {0x10000, -10, 300, 5, 255, 256, 0, PIX_MakePixel(255, 0, 255, 5)},
        {0x10000, 300, 300, 300, 300, 128, PIX_MakePixel(200, 0, 0, 0), PIX_MakePixel(255, 176, 176, 176)},
        {3, 1000, -1000, 255, 255, 256, 0x80808080, PIX_MakePixel(127, 255, 0, 127)},
        {3, -300, 600, 255, 255, 256, 0xffffffff, PIX_MakePixel(254, 0, 255, 254)},
        {1, 1000, -1000, 0, 0, 256, 0x80808080, PIX_MakePixel(128, 255, 0, 128)},
        {0, 1 << 30, 0, 0, 0, 256, 0, PIX_MakePixel(0, 255, 0, 0)},
    };
    for (const auto& c : cases) {
        uint32_t px = c.dest;
        PIX_CombinePixelsByModeClamp(reinterpret_cast<uint8_t*>(&px), c.r, c.g, c.b, c.a, c.w, c.mode);
        EXPECT_EQ(px, c.want) << std::hex << c.mode << " got " << px;
    }
}

// Every vector row kernel, at every level this machine runs, against the scalar
// combiners on seeded random rows of every length 0..67 at every start alignment
// within a 32-byte vector. The kernel does a prefix; the combiner finishes the row,
// exactly as the blits and fills use them. Pixels after the row are canaries.

using pix::RowKernels;
using pix::SimdLevel;

constexpr uint32_t kCanary = 0xdeadbeefu;

// Random pixels whose alpha is 0, 255 or anything, as anti-aliased artwork has: for
// `kind` 0 mixed pixel by pixel, otherwise in runs of `kind` pixels alike, so that
// whole vectors come wholly clear or wholly opaque.
uint32_t RandomPixel(std::mt19937& rng, int kind = 0, int index = 0) {
    const uint32_t p = rng();
    switch (kind ? (index / kind * 2654435761u >> 7) % 4 : rng() % 4) {
        case 0: return p & ~0xffu;
        case 1: return p | 0xffu;
        default: return p;
    }
}

struct KernelCase {
    std::string name;
    // Runs the kernel's prefix; returns how many pixels it did.
    std::function<int(const RowKernels&, uint32_t*, const uint32_t*, int)> kernel;
    // The combiner for one pixel: destination bytes, source pixel.
    std::function<void(uint8_t*, uint32_t)> scalar;
    bool constantSource = false;
};

template <class Op>
std::function<void(uint8_t*, uint32_t)> Scalar(int w) {
    return [w](uint8_t* d, uint32_t s) { Op::apply(d, PIX_PixelR(s), PIX_PixelG(s), PIX_PixelB(s), PIX_PixelA(s), w); };
}

std::vector<KernelCase> Cases() {
    using R = const RowKernels&;
    std::vector<KernelCase> cases = {
        {"source alpha full", [](R k, uint32_t* d, const uint32_t* s, int n) { return k.sourceAlphaCopyFull(d, s, n); },
         Scalar<pix::CopySourceAlphaFull>(256)},
        {"fill store", [](R k, uint32_t* d, const uint32_t* s, int n) { return k.fillStore(d, n, s[0]); },
         Scalar<pix::CopyFull>(256), true},
    };
    for (int w : {0, 1, 64, 127, 128, 200, 255})
        cases.push_back({"source alpha w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) { return k.sourceAlphaCopy(d, s, n, w); },
                         Scalar<pix::CopySourceAlpha>(w)});
    // Glyph coverage is the source's alpha byte, drawn in one colour.
    for (int w : {0, 77, 255, 256}) {
        constexpr uint32_t kInk = PIX_MakePixel(255, 200, 30, 90);
        cases.push_back({"coverage w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) {
                             uint8_t cov[80];
                             for (int i = 0; i < n; ++i) cov[i] = uint8_t(PIX_PixelA(s[i]));
                             return k.coverageCopy(d, 0, cov, 0, n, 1, kInk, w);
                         },
                         [w](uint8_t* d, uint32_t s) {
                             const int c = int(PIX_PixelA(s));
                             if (c) pix::Copy::apply(d, 200, 30, 90, 255, w == 256 ? c + 1 : c * w / 256);
                         }});
    }
    for (int w : {0, 1, 51, 128, 255, 256}) {
        cases.push_back({"copy w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) { return k.copyWeighted(d, s, n, 256 - w); },
                         Scalar<pix::Copy>(w)});
        cases.push_back({"fill w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) { return k.fillWeighted(d, n, s[0], 256 - w); },
                         Scalar<pix::Copy>(w), true});
    }
    return cases;
}

TEST(RowKernels, MatchTheScalarCombinersAtEveryLengthAndAlignment) {
    std::vector<SimdLevel> levels;
    for (SimdLevel l : {SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2})
        if (pix::RowKernelsFor(l)) levels.push_back(l);
    EXPECT_EQ(pix::ActiveRowKernels().level, levels.back());
    std::mt19937 rng(19);
    constexpr int kMaxLength = 67, kAlignments = 8, kSlack = 4;
    for (const KernelCase& c : Cases()) {
        for (SimdLevel level : levels) {
            const RowKernels& k = *pix::RowKernelsFor(level);
            for (int n = 0; n <= kMaxLength; ++n) {
                for (int offset = 0; offset < kAlignments; ++offset) {
                    alignas(32) uint32_t dst[kAlignments + kMaxLength + kSlack], src[kAlignments + kMaxLength];
                    const int kind = int(rng() % 3) * 6;  // mixed, or runs of 6 or 12
                    for (int i = 0; i < kAlignments + kMaxLength; ++i) src[i] = RandomPixel(rng, kind, i);
                    if (c.constantSource)
                        for (uint32_t& p : src) p = src[offset];
                    for (uint32_t& p : dst) p = RandomPixel(rng);
                    for (int i = 0; i < kSlack; ++i) dst[offset + n + i] = kCanary;
                    std::vector<uint32_t> expected(dst, dst + offset + n + kSlack);
                    for (int i = 0; i < n; ++i)
                        c.scalar(reinterpret_cast<uint8_t*>(&expected[size_t(offset + i)]), src[offset + i]);

                    uint32_t* d = dst + offset;
                    const int done = c.kernel(k, d, src + offset, n);
                    ASSERT_TRUE(done >= 0 && done <= n) << c.name;
                    if (level != SimdLevel::None && n >= 4) {
                        ASSERT_GT(done, 0) << c.name;
                    }
                    for (int i = done; i < n; ++i) c.scalar(reinterpret_cast<uint8_t*>(d + i), src[offset + i]);
                    for (size_t i = 0; i < expected.size(); ++i)
                        ASSERT_EQ(dst[i], expected[i]) << c.name << ", level " << int(level) << ", length " << n
                                                       << ", offset " << offset << ", pixel " << i;
                }
            }
        }
    }
}

// The sampling kernels against the scalar samplers they stand for, on random windows
// (padded rows, bottom-up rows, one pixel wide or high) and random walks that start
// anywhere, far outside included, in any direction: the row is clipped to the
// window as the blits clip it, so the kernel sees every edge. Each walk is sampled at
// every length 0..67 into an output at every alignment, with canaries after it.

using Walk = std::function<int(const pix::SampleKernels&, uint32_t*, const pix::SourceWindow&, int64_t, int64_t,
                                int64_t, int64_t, int)>;

struct SampleCase {
    std::string name;
    Walk kernel;
    int64_t bias;
    std::function<uint32_t(const pix::SourceWindow&, int64_t, int64_t)> scalar;
    bool alongRow = false;  // walks along one row only, as unrotated scaling does
};

template <class Sampler>
SampleCase Sampled(std::string name, pix::WalkKernel pix::SampleKernels::*kernel) {
    return {std::move(name),
            [kernel](const pix::SampleKernels& k, uint32_t* out, const pix::SourceWindow& w, int64_t s, int64_t t,
                     int64_t ds, int64_t dt, int n) {
                return (k.*kernel)(out, w, int32_t(s), int32_t(t), int32_t(ds), int32_t(dt), n);
            },
            Sampler::kBias, [](const pix::SourceWindow& w, int64_t s, int64_t t) { return Sampler::get(w, s, t).v; }};
}

TEST(SampleKernels, MatchTheScalarSamplersOnEveryWalkLengthAndAlignment) {
    using K = pix::SampleKernels;
    SampleCase columns = Sampled<pix::BilinearSampler>("bilinear columns", nullptr);
    columns.alongRow = true;
    // The row below is the row itself on the last row, as the scaled blit passes it.
    columns.kernel = [](const K& k, uint32_t* out, const pix::SourceWindow& w, int64_t s, int64_t t, int64_t ds,
                        int64_t, int n) {
        if (w.width < 2) return 0;
        const pix::PairColumns c(s, ds, n, w.width);
        const int y = int(t >> 16);
        return k.bilinearColumns(out, w.at(0, y), w.at(0, y < w.height - 1 ? y + 1 : y), c, uint32_t(t & 0xffff));
    };
    const SampleCase cases[] = {
        Sampled<pix::NearestSampler>("nearest", &K::nearest),
        Sampled<pix::BilinearSampler>("bilinear", &K::bilinear),
        Sampled<pix::CentredBilinearSampler>("centred bilinear", &K::bilinear),
        columns,
    };
    std::vector<SimdLevel> levels;
    for (SimdLevel l : {SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2})
        if (pix::SampleKernelsFor(l)) levels.push_back(l);
    EXPECT_EQ(pix::ActiveSampleKernels().level, pix::ActiveRowKernels().level);
    std::mt19937 rng(23);
    auto uniform = [&rng](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
    constexpr int kMaxLength = 67, kAlignments = 8, kSlack = 4;
    for (const SampleCase& c : cases) {
        for (int walk = 0; walk < 4 * (kMaxLength + 1); ++walk) {
            const int n = walk % (kMaxLength + 1);
            // The window: 1 to 40 pixels each way, rows padded, stored either way up.
            const int width = int(uniform(0, 3) ? uniform(1, 40) : 1), height = int(uniform(0, 3) ? uniform(1, 40) : 1);
            const int pitch = width + int(uniform(0, 3));
            std::vector<uint32_t> pixels(size_t(pitch * height));
            for (uint32_t& p : pixels) p = RandomPixel(rng);
            const bool bottomUp = uniform(0, 1);
            const pix::SourceWindow window{
                reinterpret_cast<const uint8_t*>(pixels.data() + (bottomUp ? pitch * (height - 1) : 0)),
                (bottomUp ? -4 : 4) * int64_t(pitch), width, height};
            // A walk whose clipped run is as long as the length asked for, or the
            // longest of a few tries; a quarter of them along a row, as scaling walks.
            int64_t s = 0, t = 0, ds = 0, dt = 0;
            pix::Span run{0, 0};
            for (int attempt = 0; attempt < 64 && run.last - run.first < n; ++attempt) {
                // A quarter of the walks start on whole pixels.
                const bool whole = uniform(0, 3) == 0;
                const int64_t s0 = uniform(-3 * width, 4 * width) * 65536 + (whole ? 0 : uniform(0, 0xffff));
                const int64_t t0 = uniform(-3 * height, 4 * height) * 65536 + (whole ? 0 : uniform(0, 0xffff));
                const int64_t ds0 = uniform(-0x18000, 0x18000);
                const int64_t dt0 = uniform(0, 3) && !c.alongRow ? uniform(-0x18000, 0x18000) : 0;
                const pix::Span r = pix::Intersect(
                    pix::InsideRange(s0 + c.bias, ds0, int64_t(width) << 16, 1024),
                    pix::InsideRange(t0 + c.bias, dt0, int64_t(height) << 16, 1024));
                if (r.last - r.first > run.last - run.first) {
                    run = r;
                    s = s0 + r.first * ds0;
                    t = t0 + r.first * dt0;
                    ds = ds0;
                    dt = dt0;
                }
            }
            const int length = std::min(n, run.last - run.first);
            for (SimdLevel level : levels) {
                const pix::SampleKernels& kernels = *pix::SampleKernelsFor(level);
                for (int offset = 0; offset < kAlignments; ++offset) {
                    alignas(32) uint32_t out[kAlignments + kMaxLength + kSlack];
                    for (uint32_t& p : out) p = kCanary;
                    const int done = c.kernel(kernels, out + offset, window, s, t, ds, dt, length);
                    ASSERT_TRUE(done >= 0 && done <= length) << c.name;
                    // Bilinear kernels leave windows one pixel wide to the scalar sampler.
                    if (level != SimdLevel::None && length >= 8 && (width > 1 || c.name == "nearest")) {
                        ASSERT_GT(done, 0) << c.name;
                    }
                    for (int i = 0; i < kAlignments + kMaxLength + kSlack; ++i) {
                        const int k = i - offset;
                        const uint32_t expected = k >= 0 && k < done ? c.scalar(window, s + k * ds, t + k * dt)
                                                                     : kCanary;
                        ASSERT_EQ(out[i], expected) << c.name << ", level " << int(level) << ", length " << length
                                                    << ", window " << width << "x" << height << ", sample " << k;
                    }
                }
            }
        }
    }
}

}  // namespace
