// Bitmaps and the drawing operations beyond the goldens: blits, fills, blur, sampling and
// resampling against references from the rules, bottom-up bitmaps, the line clippers'
// crossings, and fills and circles clipped at every edge.

#include <numeric>
#include <tuple>

#include "raster_test_util.h"

namespace {

TEST(Bitmaps, AbsurdSizesGiveNoPixelsSysBitmapsKeepTheirContextAndClearSparesThePadding) {
    for (auto [w, h] : {std::pair{65536, 65536}, {INT32_MAX, 2}, {INT32_MAX, INT32_MAX}, {-5, 10}, {10, -5}, {0, 10}}) {
        PIX_MemBitmap bm(4, 4, 4);
        EXPECT_TRUE(bm.resize(w, h));
        EXPECT_EQ(std::tuple(bm.getWidth(), bm.getHeight(), bm.getBits()), std::tuple(0, 0, (void*)nullptr)) << w;
    }
    EXPECT_EQ(PIX_SysBitmap(40000, 40000).getBits(), nullptr);
    PIX_SysBitmap bm(10, 5);
    EXPECT_EQ(bm.getRowSpan(), 12);
    const auto context = std::pair(bm.getDC(), bm.getBits());
    EXPECT_TRUE(bm.resize(8, 5));
    EXPECT_EQ(std::pair(bm.getDC(), bm.getBits()), context);
    EXPECT_TRUE(bm.resize(13, 5));
    EXPECT_EQ(bm.getRowSpan(), 16);
    EXPECT_FALSE(bm.resize(0, 5));
    EXPECT_EQ(bm.getDC(), nullptr);
    CanaryBitmap cleared(9, 6, true);  // the padding between rows kept
    PIX_Clear(&cleared, 0x12345678);
    EXPECT_EQ(cleared.pixels(), std::vector<uint32_t>(54, 0x12345678));
    EXPECT_EQ(cleared.damagedCanaries(), 0);
}

// Mostly near a bitmap of the given size, now and then at the ends of the int range.
int Near(std::mt19937& rng, int size) {
    if (rng() % 16 == 0) return rng() % 2 ? INT32_MAX - int(rng() % 64) : INT32_MIN + int(rng() % 64);
    return int(rng() % (size + 12)) - 8;
}

// What a blit does to one destination pixel, from the rules alone.
uint32_t ReferencePixel(uint32_t d, uint32_t s, float alpha, uint32_t mode) {
    if ((mode & 0xf0) == 0xf0) {
        const int from = mode & 3, to = mode >> 2 & 3;
        return (d & ~(255u << (8 * to))) | (s >> (8 * from) & 255) << (8 * to);
    }
    if ((mode & 0x100ff) == 0 && (alpha == 1.0f || alpha == 0.5f) && FastCopy(d, s, Weight(alpha))) return d;
    return Blend(d, s, Weight(alpha), mode);
}

// A blit by brute force: every source pixel of the rectangle lands at its own offset
// from (dx, dy), or nowhere. `srcPix` is the source before the call, which is the
// destination's own pixels in a blit within one bitmap.
std::vector<uint32_t> ReferenceBlit(const CanaryBitmap& dst, const std::vector<uint32_t>& srcPix, int sw, int sh,
                                    int dx, int dy, const PIX_Rect* rect, float alpha, uint32_t mode) {
    std::vector<uint32_t> out = dst.pixels();
    if (alpha == 0.0f) return out;
    const int64_t l = rect ? rect->left : 0, t = rect ? rect->top : 0;
    const int64_t r = rect ? rect->right : sw, b = rect ? rect->bottom : sh;
    for (int64_t sy = std::max<int64_t>(t, 0); sy < std::min<int64_t>(b, sh); ++sy)
        for (int64_t sx = std::max<int64_t>(l, 0); sx < std::min<int64_t>(r, sw); ++sx) {
            const int64_t tx = dx + (sx - l), ty = dy + (sy - t);
            if (tx < 0 || ty < 0 || tx >= dst.getWidth() || ty >= dst.getHeight()) continue;
            uint32_t& px = out[size_t(ty * dst.getWidth() + tx)];
            px = ReferencePixel(px, srcPix[size_t(sy * sw + sx)], alpha, mode);
        }
    return out;
}

const std::vector<uint32_t> kBlitModes = ModeWords(true, {0x100, 0x10101, 6, 0x10006, 0xf1, 0xfc, 0xf6, 0x100f9});
// 0.501 just above the half path, 0.999 just below the full one.
const float kAlphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.501f, 0.003f, 0.0f, 0.2f, 1.5f, -0.5f, 0.999f};

// Every eighth blit stays within one wide bitmap, its areas overlapping in any
// direction (several 256-pixel chunks a row): every source pixel is read before it is
// overwritten, as if from a copy taken before the call.
TEST(Blit, RandomAndSelfOverlappingBlitsMatchReferenceAndKeepCanaries) {
    std::mt19937 rng(2024);
    int changed = 0;
    for (int iter = 0; iter < 1900; ++iter) {
        const bool self = iter % 8 == 0;
        CanaryBitmap dst(self ? 700 : 1 + rng() % 40, self ? 12 : 1 + rng() % 30, rng() % 2);
        CanaryBitmap other(1 + rng() % 40, 1 + rng() % 30, rng() % 2);
        CanaryBitmap& src = self ? dst : other;
        dst.randomize(rng);
        other.randomize(rng);
        int dx = Near(rng, dst.getWidth()), dy = Near(rng, dst.getHeight());
        PIX_Rect rect{Near(rng, src.getWidth()), Near(rng, src.getHeight()), 0, 0};
        rect.right = int(std::min<int64_t>(INT32_MAX, int64_t(rect.left) + rng() % 50));
        rect.bottom = int(std::min<int64_t>(INT32_MAX, int64_t(rect.top) + rng() % 40));
        if (self) {
            const int shifts[][2] = {{3, 2}, {-5, 1}, {0, -1}, {7, 0}, {-1, 0}, {0, 1}, {300, 0}, {-300, 1}, {0, 0}};
            const auto& s = shifts[rng() % std::size(shifts)];
            rect = {2, 1, 650, 10};
            dx = rect.left + s[0], dy = rect.top + s[1];
        }
        const PIX_Rect* r = !self && rng() % 5 == 0 ? nullptr : &rect;
        const float alpha = kAlphas[rng() % std::size(kAlphas)];
        const uint32_t mode = kBlitModes[rng() % std::size(kBlitModes)];

        const auto want = ReferenceBlit(dst, src.pixels(), src.getWidth(), src.getHeight(), dx, dy, r, alpha, mode);
        changed += want != dst.pixels();
        PIX_BlitRect(&dst, &src, dx, dy, r, alpha, mode);
        ASSERT_EQ(dst.pixels(), want) << "iter " << iter << " mode " << mode << " alpha " << alpha;
        ASSERT_EQ(dst.damagedCanaries() + other.damagedCanaries(), 0) << "iter " << iter;
    }
    EXPECT_GT(changed, 500);  // the sweep must not be mostly clipped away
}

// Rows as the skins' images have them: stretches, long and short, of transparent,
// opaque, any, nearly opaque and nearly transparent alpha, the last two catching a
// run taken for what it is not.
void PaintAlphaStretches(CanaryBitmap& bm, std::mt19937& rng) {
    bm.randomize(rng);
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0, kind = 0, end = 0; x < bm.getWidth(); ++x) {
            if (x == end) kind = int(rng() % 5), end = x + 1 + int(rng() % (rng() % 4 == 0 ? 40 : 9));
            const uint32_t alpha[] = {0, 255, uint32_t(rng() & 255), uint32_t(254 + rng() % 2), uint32_t(rng() % 2)};
            bm.at(x, y) = (bm.at(x, y) & ~255u) | alpha[kind];
        }
}

// The blit that skips transparent and copies opaque stretches is the plain source-alpha
// blit, clipping included; a rectangle reported opaque is, and one of 8 or more opaque
// pixels a row is reported so.
TEST(Blit, AlphaRunsGiveThePlainSourceAlphaBlitAndTellOpaqueRectangles) {
    std::mt19937 rng(77);
    for (int iter = 0; iter < 600; ++iter) {
        CanaryBitmap src(1 + rng() % 90, 1 + rng() % 12, rng() % 2), dst(1 + rng() % 90, 1 + rng() % 12, rng() % 2);
        PaintAlphaStretches(src, rng);
        bool allOpaque = true;
        for (int y = 0; y < src.getHeight(); ++y)
            for (int x = 0; x < src.getWidth(); ++x) {
                if (iter % 10 == 0) src.at(x, y) |= 255;
                allOpaque &= (src.at(x, y) & 255) == 255;
            }
        const PIX_AlphaRuns runs(src);
        EXPECT_EQ(runs.AllOpaque(), allOpaque && src.getWidth() >= 8) << "iter " << iter;
        dst.randomize(rng);
        CanaryBitmap want(dst.getWidth(), dst.getHeight());
        want.assign(dst.pixels());
        const int sx = Near(rng, src.getWidth()), sy = Near(rng, src.getHeight()), dx = Near(rng, dst.getWidth()),
                  dy = Near(rng, dst.getHeight()), sw = int(rng() % 100) - 4, sh = int(rng() % 16) - 2;
        PIX_Blit(&want, &src, dx, dy, sx, sy, sw, sh, 1.0f, PIX_MODE_COPY | PIX_MODE_USE_SOURCE_ALPHA);
        PIX_BlitSourceAlphaRuns(&dst, &src, runs, dx, dy, sx, sy, sw, sh);
        ASSERT_EQ(dst.pixels(), want.pixels()) << "iter " << iter;
        ASSERT_EQ(dst.damagedCanaries(), 0) << "iter " << iter;

        for (int k = 0; k < 8; ++k) {
            const int l = int(rng() % (src.getWidth() + 4)) - 2, t = int(rng() % (src.getHeight() + 2)) - 1;
            const int r = l + int(rng() % 20), b = t + 1 + int(rng() % 3);
            bool opaque = l >= 0 && t >= 0 && r <= src.getWidth() && b <= src.getHeight() && l < r;
            for (int y = t; opaque && y < b; ++y)
                for (int x = l; x < r; ++x) opaque &= (src.at(x, y) & 255) == 255;
            if (opaque != runs.IsOpaque(l, t, r, b)) { EXPECT_TRUE(opaque && r - l < 8) << iter << ": " << l; }
        }
    }
}

// The blur of the w x h area at (x0, y0) of `from`, byte by byte, written into the
// pixels `to` (row length `toWidth`) at (X, Y): the centre halved, each neighbour an
// eighth, or a quarter where the area's edge leaves only one neighbour on that axis.
void ReferenceBlur(const std::vector<uint32_t>& from, int fromWidth, int x0, int y0, int w, int h,
                   std::vector<uint32_t>& to, int toWidth, int X, int Y) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = 0;
            for (int sh = 0; sh < 32; sh += 8) {
                auto b = [&](int xx, int yy) { return int(from[size_t(y0 + yy) * fromWidth + x0 + xx] >> sh & 255); };
                auto side = [](int i, int n, auto at) {
                    return i == 0 ? at(1) / 4 : i == n - 1 ? at(n - 2) / 4 : at(i - 1) / 8 + at(i + 1) / 8;
                };
                v |= uint32_t(b(x, y) / 2 + side(x, w, [&](int i) { return b(i, y); }) +
                              side(y, h, [&](int j) { return b(x, j); }))
                     << sh;
            }
            to[size_t(Y + y) * toWidth + X + x] = v;
        }
}

// Random areas from one bitmap to another; then every third blur in place or shifted
// over its own source in every direction, narrow (stack rows) and wide (heap rows):
// always the blur of the pixels as they were.
TEST(Blur, RandomAreasInPlaceAndOverlappingMatchReference) {
    std::mt19937 rng(99);
    for (int iter = 0; iter < 400; ++iter) {
        if (iter % 3 == 0 && iter < 96) {
            const int shifts[][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {3, 2}, {-2, -3}, {5, -1}};
            const auto& s = shifts[iter / 3 % 8];
            const int width = iter % 2 ? 9 : 1500;
            CanaryBitmap bm(width + 12, 12, iter % 4 == 0);
            bm.randomize(rng);
            auto want = bm.pixels();
            ReferenceBlur(bm.pixels(), bm.getWidth(), 4, 4, width, 5, want, bm.getWidth(), 4 + s[0], 4 + s[1]);
            PIX_Blur(&bm, &bm, 4 + s[0], 4 + s[1], 4, 4, width, 5);
            ASSERT_EQ(bm.pixels(), want) << "width " << width << " shift " << s[0] << "," << s[1];
            ASSERT_EQ(bm.damagedCanaries(), 0);
            continue;
        }
        CanaryBitmap src(1 + rng() % 30, 1 + rng() % 20, rng() % 2), dst(1 + rng() % 30, 1 + rng() % 20, rng() % 2);
        src.randomize(rng);
        dst.randomize(rng);
        const int sx = int(rng() % 40) - 8, sy = int(rng() % 30) - 8, dx = int(rng() % 40) - 8,
                  dy = int(rng() % 30) - 8, sw = int(rng() % 40), sh = int(rng() % 30);
        // The area as the rules clip it, computed independently.
        int l = std::max(sx, 0), t = std::max(sy, 0);
        int r = std::min(sx + sw, src.getWidth()), b = std::min(sy + sh, src.getHeight());
        int X = dx, Y = dy;
        if (X < 0) l -= X, X = 0;
        if (Y < 0) t -= Y, Y = 0;
        r = std::min(r, l + dst.getWidth() - X);
        b = std::min(b, t + dst.getHeight() - Y);
        auto want = dst.pixels();
        if (r - l >= 2 && b - t >= 2)
            ReferenceBlur(src.pixels(), src.getWidth(), l, t, r - l, b - t, want, dst.getWidth(), X, Y);
        PIX_Blur(&dst, &src, dx, dy, sx, sy, sw, sh);
        ASSERT_EQ(dst.pixels(), want) << "iter " << iter;
        ASSERT_EQ(dst.damagedCanaries() + src.damagedCanaries(), 0);
    }
}

// Fills give each pixel the colour at the call's weight times the colour's alpha (with
// the source-alpha flag), which is also the alpha the combiner gets.
uint32_t ReferenceFill(uint32_t d, uint32_t c, float alpha, uint32_t mode) {
    double a = alpha;
    if (mode & 0x10000) a *= PIX_PixelA(c) / 255.0;
    if (a == 0.0) return d;
    const int w = Weight(a), low = mode & 0xff;
    if (low == 0 && FastCopy(d, c, w)) return d;
    return Blend(d, c, w, low, w);
}

uint32_t ReferencePut(uint32_t d, uint32_t c, float alpha, uint32_t mode) {
    const int w = Weight(alpha), low = mode & 0xff;
    return low == 0 && FastCopy(d, c, w) ? d : Blend(d, c, w, low);
}

// Coverage scales the weight, so the full-weight forms give way to the general ones.
uint32_t ReferenceGlyph(uint32_t d, uint32_t c, int m, float alpha, uint32_t mode) {
    const int w = Weight(alpha), low = mode & 0xff;
    if (m == 0 || w == 0 || low > 5 || (low == 0 && w < 1)) return d;
    const PIX_CombineFunc byLow[] = {PIX_CombinePixelsCopy,     PIX_CombinePixelsAdd,     PIX_CombinePixelsDodge,
                                     PIX_CombinePixelsMultiply, PIX_CombinePixelsOverlay, PIX_CombinePixelsHSVAdjust};
    byLow[low](reinterpret_cast<uint8_t*>(&d), PIX_PixelR(c), PIX_PixelG(c), PIX_PixelB(c), PIX_PixelA(c), m * w / 256);
    return d;
}

const std::vector<uint32_t> kFillModes = ModeWords(true, {0x10006, 0x100, 6, 0xf0});

// Rectangles, glyph masks and single pixels in turn, clipped at every edge.
TEST(Fills, RandomRectsGlyphsAndPixelsMatchReferenceAndKeepCanaries) {
    std::mt19937 rng(17);
    for (int iter = 0; iter < 4800; ++iter) {
        const int kind = iter % 3;  // rectangle, glyph, pixel
        CanaryBitmap bm(1 + rng() % 40, 1 + rng() % 25, rng() % 2);
        bm.randomize(rng);
        int x = Near(rng, bm.getWidth()), y = Near(rng, bm.getHeight());
        int w = rng() % 8 == 0 ? INT32_MAX : int(rng() % 50) - 4, h = int(rng() % 40) - 4, span = 0;
        uint32_t colour = rng();
        if (rng() % 4 == 0) colour = (colour & ~0xffu) | (rng() % 2 ? 128 : 0);
        const float alpha = kAlphas[rng() % std::size(kAlphas)];
        const uint32_t mode = kFillModes[rng() % std::size(kFillModes)];
        std::vector<uint8_t> mask;
        if (kind == 1) {
            w = 1 + rng() % 20, h = 1 + rng() % 15, span = w + int(rng() % 3);
            for (int i = 0; i < span * h; ++i) mask.push_back(uint8_t(rng() % 3 ? rng() % 4 ? rng() : 255 : 0));
            if (rng() % 10 == 0) x = -w + int(rng() % 3) - 1;
        }
        if (kind == 2) w = h = 1;
        auto want = bm.pixels();
        for (int64_t py = std::max(y, 0); py < std::min<int64_t>(int64_t(y) + h, bm.getHeight()); ++py)
            for (int64_t px = std::max(x, 0); px < std::min<int64_t>(int64_t(x) + w, bm.getWidth()); ++px) {
                uint32_t& p = want[size_t(py * bm.getWidth() + px)];
                p = kind == 0   ? ReferenceFill(p, colour, alpha, mode)
                    : kind == 2 ? ReferencePut(p, colour, alpha, mode)
                                : ReferenceGlyph(p, colour, mask[size_t((py - y) * span + px - x)], alpha, mode);
            }
        if (kind == 0) PIX_FillRect(&bm, x, y, w, h, colour, alpha, mode);
        else if (kind == 2) PIX_PutPixel(&bm, x, y, colour, alpha, mode);
        else if (span == w && iter % 2) PIX_DrawGlyphEx(&bm, x, y, colour, mask.data(), w, h, alpha, mode);
        else PIX_DrawGlyph(&bm, x, y, colour, mask.data(), w, span, h, alpha, mode);
        ASSERT_EQ(bm.pixels(), want) << "iter " << iter << " mode " << mode << " alpha " << alpha;
        ASSERT_EQ(bm.damagedCanaries(), 0) << "iter " << iter;
    }
}

// The mean of the source's taps within `radius` of (cx, cy), byte by byte.
uint32_t BoxMean(PIX_IBitmap& b, int cx, int cy, int radius) {
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        int sum = 0, n = 0;
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (x >= 0 && y >= 0 && x < b.getWidth() && y < b.getHeight()) sum += Px(b, x, y) >> 8 * c & 255, ++n;
        out |= uint32_t(sum / n) << (8 * c);
    }
    return out;
}

TEST(ScaledBlit, FilteredReductionsAreBoxMeansAndMirroredOnesBilinear) {
    // `offset` moves the source rectangle past the bitmap's far edges: a walk that would
    // leave the bitmap stops a whole step before its last column and row, and the
    // pixels beyond are left.
    const struct { int srcSize, destSize, factor, radius, offset; } cases[] = {
        {100, 50, 2, 1, 0},   // halving: 3 x 3
        {100, 25, 4, 2, 0},   // quartering: 5 x 5
        {99, 33, 3, 1, 0},    // exactly 3.0 still takes 3 x 3
        {90, 45, 2, 1, 0},    {100, 50, 2, 1, 51}, {100, 25, 4, 2, 26},
    };
    for (const auto& c : cases) {
        PIX_MemBitmap src(c.srcSize, c.srcSize, 4), dst(c.destSize, c.destSize, 4);
        FillRandom(src, 7);
        Fill(dst, 0);
        PIX_ScaledBlit(&dst, &src, 0, 0, c.destSize, c.destSize, float(c.offset), float(c.offset), float(c.srcSize),
                       float(c.srcSize), 1.0f, PIX_MODE_FILTER_BILINEAR);
        const bool leaves = c.offset + (c.destSize - 1) * c.factor >= c.srcSize;
        const int drawn = leaves ? (c.srcSize - 1 - c.offset) / c.factor : c.destSize;
        EXPECT_EQ(CountMismatches(dst, [&](int x, int y) {
                      if (x >= drawn || y >= drawn) return 0u;
                      return BoxMean(src, c.offset + x * c.factor, c.offset + y * c.factor, c.radius);
                  }), 0) << c.srcSize << " -> " << c.destSize << " from " << c.offset;
    }
    // A mirrored shrink interpolates rather than taking a box kernel: at whole steps every
    // fraction is 0, so the filtered result is the nearest-pixel one.
    for (int mirror = 1; mirror < 4; ++mirror) {
        PIX_MemBitmap src(40, 40, 4), nearest(20, 20, 4), filtered(20, 20, 4);
        FillRandom(src, 3);
        const int w = mirror & 1 ? -10 : 10, h = mirror & 2 ? -10 : 10;
        for (auto [bm, mode] : {std::pair{&nearest, 0u}, std::pair{&filtered, uint32_t(PIX_MODE_FILTER_BILINEAR)}}) {
            Fill(*bm, 0);
            PIX_ScaledBlit(bm, &src, w < 0 ? 15 : 5, h < 0 ? 15 : 5, w, h, 0, 0, 40, 40, 1.0f, mode);
        }
        EXPECT_EQ(CountDifferent(nearest, filtered), 0) << mirror;
    }
}

// Bottom-up bitmaps (source, destination or both) hold their images in image order:
// every form that addresses pixels itself draws the same picture on them.
TEST(FlippedBitmaps, EveryFormIsAddressedInImageOrder) {
    static constexpr uint32_t kOne = 0x01010101u;
    static const float grid[] = {0.5f, 0, 7, 1, 0, 5, 6.5f, 4.5f};
    using B = PIX_IBitmap&;
    const std::pair<const char*, void (*)(B, B)> draws[] = {
        {"scaled", [](B d, B s) { PIX_ScaledBlit(&d, &s, 1, 1, 11, 7, 0.25f, 0.5f, 5, 3, 1.0f, 0); }},
        {"scaled filtered", [](B d, B s) { PIX_ScaledBlit(&d, &s, 1, 1, 11, 7, 0.25f, 0.5f, 5, 3, 1.0f, 0x10103); }},
        {"mesh", [](B d, B s) { PIX_TransformBlit(&d, &s, 1, 1, 7, 6, grid, 2, 2, 1.0f, 0); }},
        {"rotated", [](B d, B s) { PIX_RotatedBlit(&d, &s, -1, 1, 9, 8, 0, 0, 7, 5, 0.5f, false, 1.0f, 0x100); }},
        {"delta", [](B d, B s) {
             PIX_DeltaBlit(&d, &s, 1, 0, 8, 9, 0.5f, 4.5f, 7, 5, 0.75f, -0.25f, 0.125f, 0.5f, 0, 0, false, 1.0f, 0x100);
         }},
        {"delta alpha", [](B d, B s) {
             PIX_DeltaBlitAlpha(&d, &s, 0, 1, 9, 7, 0, 0, 7, 5, 0.75f, 0, 0, 0.6f, 0, 0, 0, 0.2f, 0.1f, 0.05f, 0, 0);
         }},
        {"line", [](B d, B) { PIX_Line(&d, 0, 0, 9, 4, ~0u, 1.0f, 0, false); }},
        {"anti-aliased float line", [](B d, B) { PIX_FLine(&d, 0.5f, 7.0f, 9.0f, 2.5f, ~0u, 1.0f, 0, true); }},
        {"curve", [](B d, B) { PIX_DrawCBezier(&d, -1, 8, 3, -4, 9, 12, 13, 1, ~0u, 0.6f, 0, true, 0.7f); }},
        {"gradient", [](B d, B) { PIX_GradRect(&d, -1, 2, 9, 9, 1, 0, 1, 1, -0.1f, 0.1f, 0, 0, 0, 0.1f, 0.2f, 0, 3); }},
        {"disc", [](B d, B) { PIX_FillCircle(&d, 5.0f, 3.0f, 3.3f, kOne, 1.0f, PIX_MODE_ADD, false); }},
        {"anti-aliased disc", [](B d, B) { PIX_FillCircle(&d, 5.0f, 3.0f, 3.3f, kOne, 1.0f, PIX_MODE_ADD, true); }},
        {"circle", [](B d, B) { PIX_Circle(&d, 6.0f, 4.0f, 4.6f, ~0u, 1.0f, 0, false); }},
        {"anti-aliased circle", [](B d, B) { PIX_Circle(&d, 6.0f, 4.0f, 4.6f, ~0u, 1.0f, 0, true); }},
        {"arc", [](B d, B) { PIX_Arc(&d, 5.0f, 5.0f, 4.0f, 0.5f, 2.0f, 0xff00ff00u, 1.0f, 0, false); }},
        {"anti-aliased arc", [](B d, B) { PIX_Arc(&d, 5.0f, 5.0f, 4.0f, 0.5f, 2.0f, 0xff00ff00u, 1.0f, 0, true); }},
    };
    for (const auto& [name, draw] : draws) EXPECT_EQ(FlippedDifference(7, 5, 12, 9, 4, draw), 0) << name;
}

// Random positions, fractions near 0 and near 1 included, against the bilinear rule
// evaluated directly in 64-bit arithmetic, through the blit and its row worker alone.
TEST(DeltaBlit, BilinearSamplesFollowTheRuleExactly) {
    std::mt19937 rng(2024);
    PIX_MemBitmap src(5, 4, 4), dst(1, 1, 4);
    FillRandom(src, 88);
    const uint32_t fractions[] = {0, 1, 0x8000, 0xfffe, 0xffff};
    for (int round = 0; round < 3000; ++round) {
        const int x = int(rng() % 5), y = int(rng() % 4);
        const uint32_t fx = round % 3 ? rng() & 0xffff : fractions[rng() % 5];
        const uint32_t fy = round % 5 ? rng() & 0xffff : fractions[rng() % 5];
        const int64_t fx64 = fx, fy64 = fy, f11 = (fx64 * fy64) >> 16;
        const int64_t f10 = fx64 - f11, f01 = fy64 - f11, f00 = 65536 - fx64 - fy64 + f11;
        const int xr = std::min(x + 1, 4), yb = std::min(y + 1, 3);  // the last column and row pair with themselves
        uint32_t want = 0;
        for (int c = 0; c < 4; ++c) {
            auto at = [&](int px, int py) { return int64_t(Px(src, px, py) >> 8 * c & 255); };
            want |= uint32_t((at(x, y) * f00 + at(xr, y) * f10 + at(x, yb) * f01 + at(xr, yb) * f11) >> 16) << (8 * c);
        }
        Fill(dst, 0);
        const float s = float(x) + float(fx) / 65536.0f, t = float(y) + float(fy) / 65536.0f;
        PIX_DeltaBlit(&dst, &src, 0, 0, 1, 1, s, t, 5, 4, 1, 0, 0, 1, 0, 0, false, 1.0f, 0x100);
        ASSERT_EQ(Px(dst, 0, 0), want) << x << "," << y << " fx " << fx << " fy " << fy;
        uint32_t viaRow = 0;
        PIX_DeltaBlitRow(reinterpret_cast<uint8_t*>(&viaRow), static_cast<const uint8_t*>(src.getBits()), 1, 1,
                         int32_t(uint32_t(x) << 16 | fx), int32_t(uint32_t(y) << 16 | fy), 65536, 0, 0, 65536, 0, 0,
                         5, 4, src.getRowSpan() * 4, 4, 256, 0x100, PIX_CombinePixelsCopyFull);
        ASSERT_EQ(viaRow, want) << x << "," << y << " fx " << fx << " fy " << fy;
    }
}

// The visit order, and rectangles at the ends of the int range clipped without wrapping.
TEST(ProcessRect, VisitsTheClippedRectangleRowByRow) {
    PIX_MemBitmap bm(5, 4, 4);
    FillWith(bm, [](int x, int y) { return y * 10 + x; });
    std::vector<uint32_t> seen;
    const auto record = [](uint32_t* p, void* v) { static_cast<std::vector<uint32_t>*>(v)->push_back(*p); };
    PIX_ProcessRect(&bm, 3, -1, 9, 3, record, &seen);
    EXPECT_EQ(seen, (std::vector<uint32_t>{3, 4, 13, 14}));
    const struct { int x, y, w, h, visits; } extremes[] = {
        {5, 0, 5, 4, 0},   {-1, 0, INT32_MIN, 4, 0}, {0, -1, 5, INT32_MIN, 0}, {INT32_MIN, 0, INT32_MAX, 4, 0},
        {INT32_MAX, 0, INT32_MAX, 4, 0}, {-3, -2, INT32_MAX, INT32_MAX, 20}, {4, 3, INT32_MAX, INT32_MAX, 1},
    };
    for (const auto& c : extremes) {
        int visits = 0;
        PIX_ProcessRect(&bm, c.x, c.y, c.w, c.h, [](uint32_t*, void* n) { ++*static_cast<int*>(n); }, &visits);
        EXPECT_EQ(visits, c.visits) << c.x << "," << c.y << " " << c.w << "x" << c.h;
    }
}

TEST(BitmapCmp, OrdersBySizeThenBytesAndBoundsTheDifferencesUnderTheMask) {
    PIX_MemBitmap a(6, 5, 4), b(6, 5, 4), wide(7, 5, 4), tall(6, 3, 4);
    Fill(a, 0x10203040u);
    Fill(b, 0x10203040u);
    Px(b, 4, 1) = 0x10203000u;  // alpha only, the first difference in memory order: a sorts last
    Px(b, 1, 3) = 0x11203040u;  // blue
    const struct { const PIX_IBitmap *x, *y; uint32_t mask; int plain, withRect, rect[4]; } cases[] = {
        {&a, &a, 0xffffffffu, 0, 0, {0, 0, 0, 0}},      {&a, &b, 0xffffffffu, 1, 1, {1, 1, 4, 3}},
        {&b, &a, 0xffffffffu, -1, 1, {1, 1, 4, 3}},     {&a, &b, 0xffffff00u, 1, 1, {1, 3, 1, 1}},
        {&a, &b, 0x00ff0000u, 0, 0, {0, 0, 0, 0}},      {&a, &wide, 0xffffffffu, 1, 1, {0, 0, 0, 0}},
        {&a, &tall, 0xffffffffu, -2, -2, {0, 0, 0, 0}}, {nullptr, &a, 0xffffffffu, -1, -1, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        int rect[4] = {9, 9, 9, 9};
        if (c.mask == 0xffffffffu) { EXPECT_EQ(PIX_BitmapCmp(c.x, c.y, nullptr), c.plain); }
        EXPECT_EQ(PIX_BitmapCmpEx(c.x, c.y, c.mask, nullptr), c.plain) << std::hex << c.mask;
        EXPECT_EQ(PIX_BitmapCmpEx(c.x, c.y, c.mask, rect), c.withRect) << std::hex << c.mask;
        EXPECT_EQ(std::vector<int>(rect, rect + 4), std::vector<int>(c.rect, c.rect + 4)) << std::hex << c.mask;
    }
}

// The resampling rule one destination pixel at a time in double arithmetic, the sums in
// the order the stored images were made with: per row, its bytes times their column
// shares, then that times the row's share.
void PerPixelResample(const PIX_IBitmap& src, int sx, int sy, int sw, int sh, PIX_IBitmap& dst, int dx, int dy,
                      int dw, int dh) {
    const double rx = double(sw) / dw, ry = double(sh) / dh;
    const int kx = int(rx + 0.99999999999), ky = int(ry + 0.99999999999);
    auto inside = [&](int64_t x, int64_t y) {
        return x >= std::max(sx, 0) && y >= std::max(sy, 0) && x < int64_t(sx) + sw && y < int64_t(sy) + sh &&
               x < src.getWidth() && y < src.getHeight();
    };
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            if (x + dx < 0 || y + dy < 0 || x + dx >= dst.getWidth() || y + dy >= dst.getHeight()) continue;
            const double fx = rx * x, fy = ry * y, wx = fx - int(fx), wy = fy - int(fy);
            auto* out = reinterpret_cast<uint8_t*>(PIX_PixelAddress(dst, x + dx, y + dy));
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int j = 0; j <= ky; ++j) {
                    const int64_t row = int64_t(sy) + int(fy) + j;
                    double rowSum = 0;
                    for (int i = 0; i <= kx; ++i) {
                        const int64_t col = int64_t(sx) + int(fx) + i;
                        if (!inside(col, row)) continue;
                        const int p = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(src, int(col), int(row)))[c];
                        rowSum += i == 0 ? p * (1 - wx) : i == kx ? p * wx : p;
                    }
                    sum += rowSum * (j == 0 ? 1 - wy : j == ky ? wy : 1.0);
                }
                out[c] = uint8_t(std::min(int(sum * (1.0 / (kx * ky))), 255));
            }
        }
}

// Every ratio class at each vector level, byte for byte against the per-pixel rule:
// areas clipped by either bitmap, flat runs whose sums land on whole values.
TEST(ResampleArea, EveryLevelMatchesThePerPixelRule) {
    std::mt19937 rng(19);
    PIX_MemBitmap src(203, 157, 4);
    FillWith(src, [&](int x, int y) { return y % 7 < 3 ? 0xff000000u | (x / 9 * 0x0a0b0c) : uint32_t(rng()); });
    // Source area, destination size and offset: a growth, 4/3 (the 150 % step from
    // double-size art), 2 and 4 (inside, reaching past the bitmap, clipped), 3, non-binary
    // shrinks above 2, a 40:1 shrink, 1:1 inside and past the edge; then random ones.
    struct Case { int sx, sy, sw, sh, dw, dh, dx, dy; };
    std::vector<Case> cases = {
        {5, 3, 40, 30, 97, 71, 0, 0},     {0, 0, 200, 152, 150, 114, 0, 0}, {8, 4, 96, 96, 72, 72, 0, 0},
        {0, 0, 202, 156, 101, 78, 0, 0},  {2, 2, 200, 152, 50, 38, 0, 0},   {1, 0, 201, 156, 67, 52, 0, 0},
        {3, 5, 190, 150, 71, 53, 0, 0},   {0, 0, 200, 150, 5, 4, 0, 0},     {-7, -3, 120, 90, 90, 67, 0, 0},
        {150, 100, 80, 80, 60, 60, 0, 0}, {0, 0, 160, 120, 80, 60, -9, -4}, {0, 0, 160, 120, 120, 90, 30, 20},
        {-6, 0, 160, 120, 80, 60, 0, 0},  {4, 4, 100, 100, 100, 100, 0, 0}, {-2, 0, 100, 100, 100, 100, 0, 0},
        {0, 0, 16, 8, 64, 32, 0, 0},      {0, 0, 4, 4, 4, 4, -2, 0},
    };
    for (int round = 0; round < 40; ++round)
        cases.push_back({int(rng() % 9) - 3, int(rng() % 9) - 3, 1 + int(rng() % 200), 1 + int(rng() % 150),
                         1 + int(rng() % 150), 1 + int(rng() % 120), int(rng() % 5) - 2, int(rng() % 5) - 2});
    for (const Case& c : cases) {
        PIX_MemBitmap want(c.dw + 6, c.dh + 4, 4), got(c.dw + 6, c.dh + 4, 4);
        Fill(want, 0x5a5a5a5a);
        PerPixelResample(src, c.sx, c.sy, c.sw, c.sh, want, c.dx, c.dy, c.dw, c.dh);
        for (pix::SimdLevel level : MachineLevels()) {
            Fill(got, 0x5a5a5a5a);
            ResampleArea(src, c.sx, c.sy, c.sw, c.sh, got, c.dx, c.dy, c.dw, c.dh, level);
            ASSERT_EQ(CountDifferent(got, want), 0) << c.sx << "," << c.sy << " " << c.sw << "x" << c.sh << " to "
                                                    << c.dw << "x" << c.dh << " level " << int(level);
        }
    }
}

// Strips: each frame on its own, by the per-pixel rule, the gaps between frames cleared
// whatever the destination held.
TEST(ScaleStripFrames, EveryLevelMatchesThePerPixelRuleFrameByFrame) {
    std::mt19937 rng(23);
    PIX_MemBitmap src(96, 130, 4);
    FillWith(src, [&](int, int) { return uint32_t(rng()) | 0x01010101u; });
    // Frames, direction, destination size (the gap pixels included).
    struct Case { int frames; bool horizontal; int dw, dh; } cases[] = {
        {3, true, 75, 97},  {5, false, 48, 70},  {2, true, 98, 130},    {4, false, 96, 134},
        {7, true, 40, 30},  {5, false, 24, 37},  {130, false, 96, 300}, {200, true, 96, 130},
    };
    for (const Case& c : cases) {
        PIX_MemBitmap want(c.dw, c.dh, 4), got(c.dw, c.dh, 4);
        Fill(want, 0);
        const int srcSide = c.horizontal ? 96 : 130, dstSide = c.horizontal ? c.dw : c.dh;
        const int srcFrame = srcSide / c.frames, dstFrame = (dstSide - c.frames) / c.frames;
        for (int f = 0; srcFrame > 0 && dstFrame > 0 && f < c.frames; ++f) {
            const int s = int(double(srcSide) * f / c.frames + 0.5), d = int(double(dstSide) * f / c.frames + 0.5);
            if (c.horizontal) PerPixelResample(src, s, 0, srcFrame, 130, want, d, 0, dstFrame, c.dh);
            else PerPixelResample(src, 0, s, 96, srcFrame, want, 0, d, c.dw, dstFrame);
        }
        for (pix::SimdLevel level : MachineLevels()) {
            Fill(got, 0x5a5a5a5a);
            ScaleStripFrames(src, got, c.frames, c.horizontal, level);
            ASSERT_EQ(CountDifferent(got, want), 0) << c.frames << (c.horizontal ? " across" : " down") << " level "
                                                    << int(level);
        }
    }
}

TEST(ClipLine, Cases) {
    const struct { std::vector<int> in, out; } cases[] = {  // out empty: rejected
        {{-10, 5, 20, 5}, {0, 5, 9, 5}},   {{3, 3, 6, 7}, {3, 3, 6, 7}},     {{-5, -1, 3, -1}, {}},
        {{-4, -4, 13, 13}, {0, 0, 9, 9}},  {{5, 20, 5, -20}, {5, 9, 5, 0}},  {{-20, 0, 0, 20}, {}},
        // Crossings truncated, bottom and right ones taken at 10 then put on row or column 9.
        {{0, 0, 20, 40}, {0, 0, 5, 9}},    {{-20, 2, 20, 6}, {0, 4, 9, 5}},  {{3, -30, 7, 30}, {5, 0, 5, 9}},
        {{-7, 1, 14, 8}, {0, 3, 9, 6}},
    };
    for (const auto& c : cases) {
        std::vector<int> v = c.in;
        EXPECT_EQ(PIX_ClipLine(&v[0], &v[1], &v[2], &v[3], 10, 10), !c.out.empty()) << c.in[0] << "," << c.in[1];
        if (!c.out.empty()) { EXPECT_EQ(v, c.out); }
    }
    // The float clipper, one crossing with each edge; the bottom and right ones are
    // taken at row or column 9, then put on 8.
    const std::vector<float> floats[][2] = {{{2, -4, 6, 4}, {4, 0, 6, 4}}, {{-4, 2, 4, 6}, {0, 4, 4, 6}},
                                            {{2, 5, 6, 13}, {2, 5, 4, 8}}, {{5, 2, 13, 6}, {5, 2, 8, 4}}};
    for (const auto& [in, out] : floats) {
        std::vector<float> v = in;
        EXPECT_TRUE(PIX_ClipFLine(&v[0], &v[1], &v[2], &v[3], 10, 10));
        EXPECT_EQ(v, out) << in[0] << "," << in[1];
    }
    std::vector<int> v = {-10, 25, 40, 25};
    EXPECT_TRUE(PIX_ClipLineToRect(&v[0], &v[1], &v[2], &v[3], 10, 20, 20, 30));
    EXPECT_EQ(v, (std::vector{10, 25, 19, 25}));
}

// Clipping: a small bitmap gets exactly the pixels that the same shape, moved by whole
// pixels, gives inside a larger one, for shapes reaching far past every edge; polygons
// drawn into the larger one with their vertices in another order.
TEST(VectorCrop, FillsAndCircles) {
    constexpr int kW = 23, kH = 17, kShift = 40;
    // Coordinates spread well past every edge of the small bitmap (and some inside).
    const auto coord = [](std::mt19937& rng, int size) { return int(rng() % (5 * size)) - 2 * size; };
    const float alphas[] = {1.0f, 0.5f, 0.75f, 0.3f};
    std::mt19937 rng(21);
    for (int iter = 0; iter < 1400; ++iter) {
        const uint32_t colour = rng(), mode = kPixBlendModes[rng() % std::size(kPixBlendModes)].mode;
        const float alpha = alphas[rng() % 4];
        std::function<void(PIX_IBitmap*, int offset)> draw;
        if (iter % 2) {
            const int n = 3 + int(rng() % 4);
            std::vector<int> xs(n), ys(n), order(n);
            for (int i = 0; i < n; ++i) xs[i] = coord(rng, kW), ys[i] = coord(rng, kH);
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), rng);
            draw = [=](PIX_IBitmap* bm, int o) {
                std::vector<int> sx(n), sy(n);
                for (int i = 0; i < n; ++i) sx[i] = xs[i] + o, sy[i] = ys[i] + o;
                if (n == 3) PIX_FillTriangle(bm, sx[0], sy[0], sx[1], sy[1], sx[2], sy[2], colour, alpha, mode);
                PIX_FillTrapezoid(bm, sx[0], sx[1], sy[0], sx[2], sx[1] + 3, sy[2], colour, alpha, mode);
                for (int i = 0; o && i < n; ++i) sx[i] = xs[order[i]] + o, sy[i] = ys[order[i]] + o;
                if (n > 3) PIX_FillConvexPolygon(bm, sx.data(), sy.data(), n, colour, alpha, mode);
            };
        } else {
            // Centres on a quarter-pixel grid, so that moving them is exact in float; large
            // radii enter the octant walk far from its start.
            const float cx = coord(rng, kW) * 0.25f + kW * 0.4f, cy = coord(rng, kH) * 0.25f + kH * 0.4f;
            const float r = rng() % 8 ? float(rng() % 400) * 0.07f : float(rng() % 4000) * 0.25f;
            const bool aa = rng() & 1, filled = rng() & 1;
            draw = [=](PIX_IBitmap* bm, int o) {
                (filled ? PIX_FillCircle : PIX_Circle)(bm, cx + o, cy + o, r, colour, alpha, mode, aa);
            };
        }
        CanaryBitmap small(kW, kH), large(kW + 2 * kShift, kH + 2 * kShift);
        draw(&small, 0);
        draw(&large, kShift);
        ASSERT_EQ(small.damagedCanaries(), 0) << iter;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) ASSERT_EQ(small.at(x, y), large.at(x + kShift, y + kShift)) << iter;
    }
}

}  // namespace
