// Putting the back buffer on screen: the conversion from the engine's byte order to
// the desktop's native pixel words, against pixman doing the same format change.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bench/peer_timing.h"
#include "platform/image_convert.h"

namespace {

struct Panel {
    int w, h;
    std::vector<uint32_t> src, dst;
    explicit Panel(int64_t sizeIndex)
        : w(sizeIndex ? 2280 : 1140), h(sizeIndex ? 1600 : 800), src(size_t(w) * h), dst(src.size()) {
        std::mt19937 rng(7);
        for (auto& p : src) p = rng();
    }
    std::string Key() const { return "show " + std::to_string(w) + "x" + std::to_string(h); }
};

void BM_ShowBackBuffer_Pixman(benchmark::State& state) {
    Panel p(state.range(0));
    // b8g8r8a8 words are A, R, G, B bytes in memory on a little-endian machine.
    pixman_image_t* s = pixman_image_create_bits(PIXMAN_b8g8r8a8, p.w, p.h, p.src.data(), p.w * 4);
    pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, p.w, p.h, p.dst.data(), p.w * 4);
    bench::PeerNs()[p.Key()] = bench::TimedLoop(state, [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, p.w, p.h);
        benchmark::DoNotOptimize(p.dst.data());
    });
    pixman_image_unref(s);
    pixman_image_unref(d);
    state.SetItemsProcessed(state.iterations() * p.w * p.h);
}

void BM_ShowBackBuffer_Ours(benchmark::State& state) {
    Panel p(state.range(0));
    const double ns = bench::TimedLoop(state, [&] {
        platform::ArgbBytesToNativeWords(reinterpret_cast<const uint8_t*>(p.src.data()), p.w * 4, p.dst.data(), p.w,
                                         p.w, p.h);
        benchmark::DoNotOptimize(p.dst.data());
    });
    bench::Report(state, p.Key(), ns, int64_t(p.w) * p.h);
}

BENCHMARK(BM_ShowBackBuffer_Pixman)->Arg(0)->Arg(1);
BENCHMARK(BM_ShowBackBuffer_Ours)->Arg(0)->Arg(1);

}  // namespace
