// Putting the back buffer on screen: the conversion from the engine's byte order to
// the desktop's native pixel words, against pixman doing the same format change. The
// peer runs first; ours reports "x_peer", the peer's time divided by ours.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/image_convert.h"

namespace {

double gPeerNs[2];  // per panel size

struct Panel {
    int w, h;
    std::vector<uint32_t> src, dst;
    Panel(int width, int height) : w(width), h(height), src(size_t(width) * height), dst(src.size()) {
        std::mt19937 rng(7);
        for (auto& p : src) p = rng();
    }
};

const int kSizes[2][2] = {{1140, 800}, {2280, 1600}};

template <class Body>
double NsPerIteration(benchmark::State& state, Body&& body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) body();
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    return state.iterations() ? ns / double(state.iterations()) : 0;
}

void BM_ShowBackBuffer_Pixman(benchmark::State& state) {
    Panel p(kSizes[state.range(0)][0], kSizes[state.range(0)][1]);
    // b8g8r8a8 words are A, R, G, B bytes in memory on a little-endian machine.
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_b8g8r8a8, p.w, p.h, p.src.data(), p.w * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, p.w, p.h, p.dst.data(), p.w * 4);
    gPeerNs[state.range(0)] = NsPerIteration(state, [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, p.w, p.h);
        benchmark::DoNotOptimize(p.dst.data());
    });
    pixman_image_unref(s);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void BM_ShowBackBuffer_Ours(benchmark::State& state) {
    Panel p(kSizes[state.range(0)][0], kSizes[state.range(0)][1]);
    double ns = NsPerIteration(state, [&] {
        platform::ArgbBytesToNativeWords(reinterpret_cast<const uint8_t*>(p.src.data()), p.w * 4, p.dst.data(), p.w,
                                         p.w, p.h);
        benchmark::DoNotOptimize(p.dst.data());
    });
    if (gPeerNs[state.range(0)] > 0 && ns > 0) state.counters["x_peer"] = gPeerNs[state.range(0)] / ns;
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

BENCHMARK(BM_ShowBackBuffer_Pixman)->Arg(0)->Arg(1);
BENCHMARK(BM_ShowBackBuffer_Ours)->Arg(0)->Arg(1);

}  // namespace
