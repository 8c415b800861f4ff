// Blits and fills against memcpy and pixman on the same sizes and pixel values. The
// peer cases run first; each case of ours reports "x_<peer>", the peer's time divided
// by ours (above 1: faster than the peer). pixman works on its native a8r8g8b8 images.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench/bitmap_hash.h"
#include "bench/peer_timing.h"
#include "raster/bitmap.h"
#include "raster/blit.h"
#include "raster/fill.h"

namespace {

constexpr int kCopyW = 2280, kCopyH = 1600;
constexpr int kDestW = 1024, kDestH = 768;
constexpr int kSprite = 100, kDraws = 1000;

void Randomize(uint32_t* p, size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    for (size_t i = 0; i < n; ++i) p[i] = rng();
}

// A bitmap of random pixels with a spread of alpha values (a quarter transparent, a
// quarter opaque), as an anti-aliased sprite has.
void RandomSprite(PIX_MemBitmap& bm, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) {
            uint32_t p = rng();
            const int pick = int(rng() % 4);
            p = (p & ~0xffu) | (pick == 0 ? 0u : pick == 1 ? 255u : (p & 255));
            PIX_PixelAddress(bm, x, y)[0] = p;
        }
}

// The same sprite premultiplied in pixman's a8r8g8b8 layout.
std::vector<uint32_t> PixmanSprite(const PIX_MemBitmap& bm) {
    std::vector<uint32_t> v(size_t(bm.getWidth()) * bm.getHeight());
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) {
            const uint32_t p = PIX_PixelAddress(bm, x, y)[0];
            const uint32_t a = PIX_PixelA(p);
            const auto pm = [a](uint32_t c) { return c * a / 255; };
            v[size_t(y) * bm.getWidth() + x] =
                a << 24 | pm(PIX_PixelR(p)) << 16 | pm(PIX_PixelG(p)) << 8 | pm(PIX_PixelB(p));
        }
    return v;
}

struct Positions {
    std::vector<std::pair<int, int>> at;
    Positions() {
        std::mt19937 rng(9);
        for (int i = 0; i < kDraws; ++i)
            at.emplace_back(int(rng() % (kDestW - kSprite)), int(rng() % (kDestH - kSprite)));
    }
};
const Positions& Spots() {
    static const Positions p;
    return p;
}

// ---- Opaque copy of 2280 x 1600 ----------------------------------------------------------

void BM_Copy_memcpy(benchmark::State& state) {
    std::vector<uint32_t> src(size_t(kCopyW) * kCopyH), dst(src.size());
    Randomize(src.data(), src.size(), 1);
    bench::PeerNs()["copy_memcpy"] =
        bench::TimedLoop(state, [&] { std::memcpy(dst.data(), src.data(), src.size() * 4); benchmark::ClobberMemory(); });
    state.SetItemsProcessed(state.iterations() * int64_t(src.size()));
}

void BM_Copy_pixman(benchmark::State& state) {
    std::vector<uint32_t> src(size_t(kCopyW) * kCopyH), dst(src.size());
    Randomize(src.data(), src.size(), 1);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kCopyW, kCopyH, src.data(), kCopyW * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kCopyW, kCopyH, dst.data(), kCopyW * 4);
    bench::PeerNs()["copy_pixman"] = bench::TimedLoop(state, [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, kCopyW, kCopyH);
        benchmark::ClobberMemory();
    });
    pixman_image_unref(s);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * int64_t(src.size()));
}

double Hash(const PIX_IBitmap& bm) { return double(bench::BitmapHash(bm)); }

void BM_Copy_ours(benchmark::State& state) {
    PIX_MemBitmap src(kCopyW, kCopyH, 4), dst(kCopyW, kCopyH, 4);
    Randomize(static_cast<uint32_t*>(src.getBits()), size_t(src.getRowSpan()) * kCopyH, 1);
    const double ns = bench::TimedLoop(state, [&] {
        PIX_BlitRect(&dst, &src, 0, 0, nullptr, 1.0f, PIX_MODE_COPY);
        benchmark::ClobberMemory();
    });
    state.counters["hash"] = Hash(dst);
    const double mem = bench::PeerNs()["copy_memcpy"], pix = bench::PeerNs()["copy_pixman"];
    if (ns > 0 && mem > 0) state.counters["x_memcpy"] = mem / ns;
    if (ns > 0 && pix > 0) state.counters["x_pixman"] = pix / ns;
    state.SetItemsProcessed(state.iterations() * int64_t(kCopyW) * kCopyH);
}

// ---- A 100 x 100 sprite drawn 1000 times ----------------------------------------------------

void SpritePixman(benchmark::State& state, const char* key, double alpha) {
    PIX_MemBitmap sprite(kSprite, kSprite, 4);
    RandomSprite(sprite, 2);
    auto src = PixmanSprite(sprite);
    std::vector<uint32_t> dst(size_t(kDestW) * kDestH);
    Randomize(dst.data(), dst.size(), 3);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kSprite, kSprite, src.data(), kSprite * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kDestW, kDestH, dst.data(), kDestW * 4);
    const pixman_color_t grey{0, 0, 0, uint16_t(alpha * 65535)};
    pixman_image_t* mask = alpha < 1.0 ? pixman_image_create_solid_fill(&grey) : nullptr;
    bench::PeerNs()[key] = bench::TimedLoop(state, [&] {
        for (const auto& [x, y] : Spots().at)
            pixman_image_composite32(PIXMAN_OP_OVER, s, mask, d, 0, 0, 0, 0, x, y, kSprite, kSprite);
        benchmark::ClobberMemory();
    });
    if (mask) pixman_image_unref(mask);
    pixman_image_unref(s);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * int64_t(kDraws) * kSprite * kSprite);
}

void SpriteOurs(benchmark::State& state, const char* key, float alpha) {
    PIX_MemBitmap sprite(kSprite, kSprite, 4), dst(kDestW, kDestH, 4);
    RandomSprite(sprite, 2);
    const auto canvas = [&] { Randomize(static_cast<uint32_t*>(dst.getBits()), size_t(dst.getRowSpan()) * kDestH, 3); };
    const auto draw = [&] {
        for (const auto& [x, y] : Spots().at)
            PIX_BlitRect(&dst, &sprite, x, y, nullptr, alpha, PIX_MODE_USE_SOURCE_ALPHA);
    };
    canvas();
    draw();
    state.counters["hash"] = Hash(dst);
    canvas();
    const double ns = bench::TimedLoop(state, [&] {
        draw();
        benchmark::ClobberMemory();
    });
    bench::Report(state, key, ns, int64_t(kDraws) * kSprite * kSprite);
}

void BM_Sprite_pixman_over(benchmark::State& state) { SpritePixman(state, "sprite", 1.0); }
void BM_Sprite_ours_0x10000(benchmark::State& state) { SpriteOurs(state, "sprite", 1.0f); }
void BM_Sprite_pixman_over_mask025(benchmark::State& state) { SpritePixman(state, "sprite025", 0.25); }
void BM_Sprite_ours_0x10000_alpha025(benchmark::State& state) { SpriteOurs(state, "sprite025", 0.25f); }

// ---- Rectangle fills over 1024 x 768 -----------------------------------------------------

constexpr uint32_t kFillColour = 0xff204080;  // our layout: A 0x80, R 0x40, G 0x20, B 0xff

void BM_Fill_pixman_fill(benchmark::State& state) {
    std::vector<uint32_t> dst(size_t(kDestW) * kDestH);
    bench::PeerNs()["fill256"] = bench::TimedLoop(state, [&] {
        pixman_fill(dst.data(), kDestW, 32, 0, 0, kDestW, kDestH, 0x80402080);
        benchmark::ClobberMemory();
    });
    state.SetItemsProcessed(state.iterations() * int64_t(dst.size()));
}

void FillPixmanOver(benchmark::State& state, const char* key, double alpha) {
    std::vector<uint32_t> dst(size_t(kDestW) * kDestH);
    Randomize(dst.data(), dst.size(), 5);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kDestW, kDestH, dst.data(), kDestW * 4);
    const uint16_t a = uint16_t(alpha * 65535);
    const pixman_color_t c{uint16_t(0x40 * a / 255), uint16_t(0x20 * a / 255), uint16_t(0xff * a / 255), a};
    pixman_image_t* solid = pixman_image_create_solid_fill(&c);
    bench::PeerNs()[key] = bench::TimedLoop(state, [&] {
        pixman_image_composite32(PIXMAN_OP_OVER, solid, nullptr, d, 0, 0, 0, 0, 0, 0, kDestW, kDestH);
        benchmark::ClobberMemory();
    });
    pixman_image_unref(solid);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * int64_t(dst.size()));
}

void FillOurs(benchmark::State& state, const char* key, float alpha) {
    PIX_MemBitmap dst(kDestW, kDestH, 4);
    Randomize(static_cast<uint32_t*>(dst.getBits()), size_t(dst.getRowSpan()) * kDestH, 5);
    const double ns = bench::TimedLoop(state, [&] {
        PIX_FillRect(&dst, 0, 0, kDestW, kDestH, kFillColour, alpha, PIX_MODE_COPY);
        benchmark::ClobberMemory();
    });
    bench::Report(state, key, ns, int64_t(kDestW) * kDestH);
}

void BM_Fill_ours_w256(benchmark::State& state) { FillOurs(state, "fill256", 1.0f); }
void BM_Fill_pixman_over_a128(benchmark::State& state) { FillPixmanOver(state, "fill128", 0.5); }
void BM_Fill_ours_w128(benchmark::State& state) { FillOurs(state, "fill128", 0.5f); }
void BM_Fill_pixman_over_a51(benchmark::State& state) { FillPixmanOver(state, "fill51", 0.2); }
void BM_Fill_ours_w51(benchmark::State& state) { FillOurs(state, "fill51", 0.2f); }

}  // namespace

BENCHMARK(BM_Copy_memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Copy_pixman)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Copy_ours)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sprite_pixman_over)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sprite_ours_0x10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sprite_pixman_over_mask025)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sprite_ours_0x10000_alpha025)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill_pixman_fill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill_ours_w256)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill_pixman_over_a128)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill_ours_w128)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill_pixman_over_a51)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fill_ours_w51)->Unit(benchmark::kMicrosecond);
