// The blend arithmetic: every combiner against an independent reference, the vector
// kernels at every level against the scalar rules, and the fast-path table.
#include <cstdlib>

#include "raster/fast_paths.h"
#include "raster_test_util.h"

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

// Every mode of the list, plain and weighted by source alpha, through the selection
// table at each weight, against the reference; the two-colour form gives the same.
// Destination and source pixels are derived from one byte each, by bijections per
// channel, so every channel meets every (destination byte, source byte) pair.
TEST(Combiners, EveryModeBytePairAndWeightMatchesReference) {
    for (size_t m = 0; m < std::size(kPixBlendModes); ++m)
        for (bool srcAlpha : {false, true}) {
            const uint32_t mode = kPixBlendModes[m].mode | (srcAlpha ? PIX_MODE_USE_SOURCE_ALPHA : 0u);
            int failures = 0;
            for (int w : {0, 1, 64, 127, 128, 255, 256}) {
                // Weight 0 and a plain copy below weight 1 draw nothing; a full-weight copy
                // has its own form.
                const bool none = w == 0 || (kReference[m] == ref::kCopy && !srcAlpha && w < 1);
                const ref::Kind kind = kReference[m] == ref::kCopy && w == 256 ? ref::kCopyFull : kReference[m];
                for (int d = 0; d < 256 && failures < 5; ++d)
                    for (int s = 0; s < 256 && failures < 5; ++s) {
                        uint8_t got[4] = {uint8_t(d), uint8_t(d + 85), uint8_t(255 - d), uint8_t(d * 7 + 3)}, want[4];
                        std::memcpy(want, got, 4);
                        const int r = (s + 37) & 255, g = (s * 3) & 255, b = 255 - s, a = s;
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

// Fills pass their weight as the alpha channel too, so at alpha 64 both are 16384: the
// overlay product overflowed there once.
TEST(FuzzRegression, OverlayHoldsItsNoOverflowPromiseForEverySaturatedWeight) {
    const auto overlay = [](int d, int s, int w) { return int(ref::channel(ref::kOverlay, d, s, w)); };
    for (int w : {kPixMaxWeight, -kPixMaxWeight, 4096, 256, 0})
        for (int s : {0, 127, 128, 255, w})
            for (int d = 0; d < 256; ++d)
                ASSERT_EQ(pix::channel::Overlay(d, s, w), overlay(d, s, w)) << w << " " << s << " " << d;
    for (float alpha : {64.0f, 1000.0f, -64.0f}) {
        CanaryBitmap bm(2, 1);
        bm.at(0, 0) = bm.at(1, 0) = PIX_MakePixel(200, 30, 128, 255);
        PIX_FillRect(&bm, 0, 0, 2, 1, PIX_MakePixel(255, 0, 90, 200), alpha, PIX_MODE_OVERLAY);
        const int w = PIX_AlphaWeight(alpha);
        EXPECT_EQ(bm.at(1, 0),
                  PIX_MakePixel(overlay(200, w, w), overlay(30, 0, w), overlay(128, 90, w), overlay(255, 200, w)));
    }
}

// The vector kernels at every level this machine runs against the scalar rule they
// stand for, at every length 0..67 into rows at every alignment within a 32-byte
// vector, with canaries after the row. Row kernels do a prefix and the combiner
// finishes the row, exactly as the blits and fills use them.

using pix::RowKernels;
using pix::SimdLevel;

constexpr uint32_t kCanary = 0xdeadbeefu;
constexpr int kMaxLength = 67, kAlignments = 8, kSlack = 4;

// Random pixels whose alpha is 0, 255 or anything, as anti-aliased artwork has: for
// `kind` 0 mixed pixel by pixel, otherwise in runs of `kind` pixels alike, so that
// whole vectors come wholly clear or wholly opaque.
uint32_t RandomPixel(std::mt19937& rng, int kind = 0, int index = 0) {
    const uint32_t p = rng(), pick = kind ? (index / kind * 2654435761u >> 7) % 4 : rng() % 4;
    return pick == 0 ? p & ~0xffu : pick == 1 ? p | 0xffu : p;
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
    for (int w : {0, 77, 255, 256})
        cases.push_back({"coverage w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) {
                             uint8_t cov[80];
                             for (int i = 0; i < n; ++i) cov[i] = uint8_t(PIX_PixelA(s[i]));
                             return k.coverageCopy(d, 0, cov, 0, n, 1, PIX_MakePixel(255, 200, 30, 90), w);
                         },
                         [w](uint8_t* d, uint32_t s) {
                             const int c = int(PIX_PixelA(s));
                             if (c) pix::Copy::apply(d, 200, 30, 90, 255, w == 256 ? c + 1 : c * w / 256);
                         }});
    for (int w : {0, 1, 51, 128, 255, 256}) {
        cases.push_back({"copy w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) { return k.copyWeighted(d, s, n, 256 - w); },
                         Scalar<pix::Copy>(w)});
        cases.push_back({"fill w" + std::to_string(w),
                         [w](R k, uint32_t* d, const uint32_t* s, int n) {
                             return k.fillWeighted(d, n, s[0], 256 - w);
                         },
                         Scalar<pix::Copy>(w), true});
    }
    return cases;
}

TEST(RowKernels, MatchTheScalarCombinersAtEveryLengthAndAlignment) {
    const std::vector<SimdLevel> levels = MachineLevels();
    const pix::KernelTables& active = pix::ActiveKernels();
    EXPECT_EQ(&active, pix::KernelsFor(levels.back()));
    EXPECT_EQ(&pix::ActiveRowKernels(), &active.row);
    EXPECT_EQ(&pix::ActiveSampleKernels(), &active.sample);
    // A level this machine lacks gives the next one down that it runs.
    for (SimdLevel asked : {SimdLevel::None, SimdLevel::Sse2, SimdLevel::Avx2}) {
        SimdLevel below = SimdLevel::None;
        for (SimdLevel l : levels)
            if (l <= asked) below = l;
        EXPECT_EQ(&pix::KernelsUpTo(asked), pix::KernelsFor(below)) << int(asked);
    }
    std::mt19937 rng(19);
    for (const KernelCase& c : Cases())
        for (SimdLevel level : levels)
            for (int n = 0; n <= kMaxLength; ++n)
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
                    const int done = c.kernel(pix::KernelsFor(level)->row, d, src + offset, n);
                    ASSERT_TRUE(done >= 0 && done <= n && (level == SimdLevel::None || n < 4 || done > 0)) << c.name;
                    for (int i = done; i < n; ++i) c.scalar(reinterpret_cast<uint8_t*>(d + i), src[offset + i]);
                    ASSERT_EQ(std::vector<uint32_t>(dst, dst + expected.size()), expected)
                        << c.name << ", level " << int(level) << ", length " << n << ", offset " << offset;
                }
}

// The sampling kernels on random windows (padded rows, bottom-up rows, one pixel wide or
// high) and random walks that start anywhere, far outside included, in any direction:
// the row is clipped to the window as the blits clip it, so the kernel sees every edge.

template <class Sampler>
uint32_t Sample(const pix::SourceWindow& w, int64_t s, int64_t t) { return Sampler::get(w, s, t).v; }

// A walk along the row at t with the column-table kernel: the row below is the row
// itself on the last row, as the scaled blit passes it.
int ColumnsKernel(const pix::SampleKernels& k, uint32_t* out, const pix::SourceWindow& w, int64_t s, int64_t t,
                  int64_t ds, int n) {
    if (w.width < 2) return 0;
    const int y = int(t >> 16);
    const pix::PairColumns columns(s, ds, n, w.width);
    return k.bilinearColumns(out, w.at(0, y), w.at(0, y < w.height - 1 ? y + 1 : y), columns, uint32_t(t & 0xffff));
}

TEST(SampleKernels, MatchTheScalarSamplersOnEveryWalkLengthAndAlignment) {
    using K = pix::SampleKernels;
    // The walk kernel (none: the column-table one, which walks along one row only, as
    // unrotated scaling does), the sampler's position bias and the sampler.
    using Scalar = uint32_t (*)(const pix::SourceWindow&, int64_t, int64_t);
    const struct { const char* name; pix::WalkKernel K::*kernel; int64_t bias; Scalar scalar; } cases[] = {
        {"nearest", &K::nearest, pix::NearestSampler::kBias, Sample<pix::NearestSampler>},
        {"bilinear", &K::bilinear, pix::BilinearSampler::kBias, Sample<pix::BilinearSampler>},
        {"centred bilinear", &K::bilinear, pix::CentredBilinearSampler::kBias, Sample<pix::CentredBilinearSampler>},
        {"bilinear columns", nullptr, pix::BilinearSampler::kBias, Sample<pix::BilinearSampler>},
    };
    std::mt19937 rng(23);
    auto uniform = [&rng](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
    for (const auto& c : cases)
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
            // A walk whose clipped run is as long as the length asked for, or the longest
            // of a few tries; a quarter of them start on whole pixels.
            int64_t s = 0, t = 0, ds = 0, dt = 0;
            pix::Span run{0, 0};
            for (int attempt = 0; attempt < 64 && run.last - run.first < n; ++attempt) {
                const bool whole = uniform(0, 3) == 0;
                const int64_t s0 = uniform(-3 * width, 4 * width) * 65536 + (whole ? 0 : uniform(0, 0xffff));
                const int64_t t0 = uniform(-3 * height, 4 * height) * 65536 + (whole ? 0 : uniform(0, 0xffff));
                const int64_t ds0 = uniform(-0x18000, 0x18000);
                const int64_t dt0 = uniform(0, 3) && c.kernel ? uniform(-0x18000, 0x18000) : 0;
                const pix::Span r = pix::Intersect(pix::InsideRange(s0 + c.bias, ds0, int64_t(width) << 16, 1024),
                                                   pix::InsideRange(t0 + c.bias, dt0, int64_t(height) << 16, 1024));
                if (r.last - r.first > run.last - run.first)
                    run = r, s = s0 + r.first * ds0, t = t0 + r.first * dt0, ds = ds0, dt = dt0;
            }
            const int length = std::min(n, run.last - run.first);
            for (SimdLevel level : MachineLevels())
                for (int offset = 0; offset < kAlignments; ++offset) {
                    alignas(32) uint32_t out[kAlignments + kMaxLength + kSlack];
                    for (uint32_t& p : out) p = kCanary;
                    const K& k = pix::KernelsFor(level)->sample;
                    const int done = c.kernel ? (k.*c.kernel)(out + offset, window, int32_t(s), int32_t(t), int32_t(ds),
                                                              int32_t(dt), length)
                                              : ColumnsKernel(k, out + offset, window, s, t, ds, length);
                    ASSERT_TRUE(done >= 0 && done <= length) << c.name;
                    // Bilinear kernels leave windows one pixel wide to the scalar sampler.
                    if (level != SimdLevel::None && length >= 8 && (width > 1 || c.kernel == &K::nearest)) {
                        ASSERT_GT(done, 0) << c.name;
                    }
                    for (int i = 0; i < kAlignments + kMaxLength + kSlack; ++i) {
                        const int k = i - offset;
                        const uint32_t expected =
                            k >= 0 && k < done ? c.scalar(window, s + k * ds, t + k * dt) : kCanary;
                        ASSERT_EQ(out[i], expected) << c.name << ", level " << int(level) << ", length " << length
                                                    << ", window " << width << "x" << height << ", sample " << k;
                    }
                }
        }
}

// The fast-path table walked entry by entry: each rounding against the general copy
// formula, and each operation against its entry (the drawn pixels are exactly the
// rounding's result).
using pix::FastOp;

uint32_t Rounded(pix::Rounding r, uint32_t d, uint32_t c) {
    uint32_t out = 0;
    pix::WithRounding(r, [&]<pix::Rounding R>() { out = pix::RoundedCopy<R>(d, c); });
    return out;
}

// Draws with the operation of an entry at weight w; colourAt gives the colour each
// drawn pixel was given, mine says which pixels the entry draws.
struct Probe {
    std::function<void(PIX_IBitmap&, float alpha)> draw;
    std::function<uint32_t(int x, int y)> colourAt;
    std::function<bool(int x, int y)> mine;
};

constexpr uint32_t kColour = 0x9c3a61e5u;

Probe ProbeFor(FastOp op, const PIX_IBitmap& src) {
    using D = PIX_IBitmap&;
    auto all = [](int, int) { return true; };
    auto solid = [](int, int) { return kColour; };
    auto at = [&src](int x, int y) { return *PIX_PixelAddress(src, x, y); };
    auto line = [](int y1, int y2, bool aa) {
        return [=](D d, float a) { PIX_Line(&d, 0, y1, 7, y2, kColour, a, PIX_MODE_COPY, aa); };
    };
    switch (op) {
        case FastOp::Blit:
            return {[&src](D d, float a) { PIX_Blit(&d, &src, 0, 0, 0, 0, 8, 8, a, PIX_MODE_COPY); }, at, all};
        case FastOp::ScaledBlit:
            return {[&src](D d, float a) {
                        PIX_ScaledBlit(&d, const_cast<PIX_IBitmap*>(&src), 0, 0, 8, 8, 0, 0, 4, 4, a, PIX_MODE_COPY);
                    },
                    [at](int x, int y) { return at(x / 2, y / 2); }, all};
        case FastOp::Fill:
            return {[](D d, float a) { PIX_FillRect(&d, 0, 0, 8, 8, kColour, a, PIX_MODE_COPY); }, solid, all};
        case FastOp::LineRun: return {line(3, 3, false), solid, all};
        case FastOp::Outline: return {line(0, 3, false), solid, all};
        case FastOp::AADiagonalMain:
        case FastOp::AADiagonalSide:
            return {line(0, 7, true), solid, [op](int x, int y) { return (x == y) == (op == FastOp::AADiagonalMain); }};
        case FastOp::ThresholdedGlyph:
            return {[](D d, float a) {
                        PIX_CachedFont f;
                        f.SetFromHFont(CreateFont(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                                       PIX_FONT_OWNS_HFONT | PIX_FONT_MONO);
                        f.SetTextColor(kColour);
                        f.SetCombineMode(PIX_MODE_COPY, a);
                        RECT r{0, 0, 8, 8};
                        f.DrawText(&d, "W", -1, &r, 0);
                    },
                    solid, all};
    }
    return {};
}

TEST(FastPaths, EveryEntryRoundsCloseToTheCopyFormulaAndIsWhatItsOperationDraws) {
    std::mt19937 rng(5);
    for (const pix::FastPath& f : pix::kFastPaths) {
        // The weight the general loop would use: the anti-aliased diagonal splits the
        // call's weight three to one between the line and its side.
        const int op = int(f.op);
        const int w = f.op == FastOp::AADiagonalMain ? 3 * f.weight / 4
                      : f.op == FastOp::AADiagonalSide ? f.weight / 4 : f.weight;
        EXPECT_EQ(pix::RoundingWeight(f.rounding), w) << "op " << op << " weight " << f.weight;
        // A store is exact; each further truncated term may lose 1.
        int worst = 0;
        for (int d = 0; d < 256; ++d)
            for (int c = 0; c < 256; ++c) {
                const int got = int(Rounded(f.rounding, uint32_t(d), uint32_t(c)) & 255);
                worst = std::max(worst, std::abs(got - pix::channel::Copy(d, c, w)));
            }
        const int terms = f.rounding == pix::Rounding::Store         ? 0
                          : f.rounding == pix::Rounding::Quarter ||
                                  f.rounding == pix::Rounding::ThreeQuarters ? 2 : 1;
        EXPECT_LE(worst, terms) << "op " << op << " weight " << f.weight;

        // An alpha giving the entry's weight, exactly or with a fraction left over.
        const float alpha = float((f.weight + (f.exactAlpha ? 0.0 : 0.5)) / 256.0);
        PIX_MemBitmap src(8, 8), before(8, 8), after(8, 8);
        FillRandom(src, rng());
        FillRandom(before, rng());
        PIX_Copy(&after, &before);
        const Probe probe = ProbeFor(f.op, src);
        probe.draw(after, alpha);
        int drawn = 0, wrong = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint32_t b = Px(before, x, y), a = Px(after, x, y);
                if (a == b || !probe.mine(x, y)) continue;
                ++drawn;
                wrong += a != Rounded(f.rounding, b, probe.colourAt(x, y));
            }
        EXPECT_GT(drawn, 0) << "op " << op << " weight " << f.weight;
        EXPECT_EQ(wrong, 0) << "op " << op << " weight " << f.weight;
    }
}

}  // namespace
