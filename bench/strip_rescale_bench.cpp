// Rescaling an image strip for the GUI scale against pixman's bilinear scaling of the
// same sizes. The peer runs first; our case reports "x_peer", the peer's time divided
// by ours (above 1: faster than the peer).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <string>
#include <vector>

#include "bench/bitmap_hash.h"
#include "bench/peer_timing.h"
#include "gui/bitmap_cache.h"
#include "raster/strip_resample.h"
#include "raster/bitmap.h"

namespace {

using bench::PeerNs;
using bench::Report;
using bench::TimedLoop;

std::string Key(const benchmark::State& state) {
    return std::to_string(state.range(0)) + "/" + std::to_string(state.range(1));
}

void Artwork(PIX_IBitmap& bm) {
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x)
            *PIX_PixelAddress(bm, x, y) = PIX_MakePixel(255, x & 255, y & 255, (x ^ y) & 255);
}

// Source side 512; destination side range(0) for a strip of range(1) frames.
void BM_PixmanBilinear(benchmark::State& state) {
    const int sw = 512, dw = int(state.range(0));
    std::vector<uint32_t> src(size_t(sw) * sw, 0xff336699u), dst(size_t(dw) * dw);
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, sw, sw, src.data(), sw * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, dw, dw, dst.data(), dw * 4);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / dw), pixman_double_to_fixed(double(sw) / dw));
    pixman_image_set_transform(s, &t);
    pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    PeerNs()[Key(state)] = TimedLoop(state, [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, dw, dw);
        benchmark::DoNotOptimize(dst.data());
    });
    pixman_image_unref(s);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * dw * dw);
}

void BM_ScaleStripFrames(benchmark::State& state) {
    const int sw = 512, dw = int(state.range(0)), frames = int(state.range(1));
    PIX_MemBitmap src(sw, sw, 4), dst(frames >= 2 ? dw + frames : dw, dw, 4);
    Artwork(src);
    const double ns = TimedLoop(state, [&] {
        ScaleStripFrames(src, dst, frames, true);
        benchmark::DoNotOptimize(dst.getBits());
    });
    Report(state, Key(state), ns, int64_t(dw) * dw);
    state.counters["hash"] = double(bench::BitmapHash(dst));
}

// Halving (GUI scale 1 of 2x artwork), 1.5x of that, and a 4-frame strip halved.
#define STRIP_CASES Args({256, 1})->Args({384, 1})->Args({256, 4})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_PixmanBilinear)->STRIP_CASES;
BENCHMARK(BM_ScaleStripFrames)->STRIP_CASES;

}  // namespace
