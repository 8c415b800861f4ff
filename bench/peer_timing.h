// Timing shared by the benchmarks that run a peer library first and then report our
// case against it as "x_peer": the peer's time divided by ours (above 1: faster).
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

namespace bench {

// Nanoseconds per iteration of each peer case, by a key both cases build alike.
inline std::map<std::string, double>& PeerNs() {
    static std::map<std::string, double> m;
    return m;
}

template <class Body>
double TimedLoop(benchmark::State& state, Body&& body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) body();
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    return state.iterations() ? ns / double(state.iterations()) : 0;
}

inline void Report(benchmark::State& state, const std::string& key, double ns, int64_t pixels) {
    const double peer = PeerNs()[key];
    if (peer > 0 && ns > 0) state.counters["x_peer"] = peer / ns;
    state.SetItemsProcessed(state.iterations() * pixels);
}

}  // namespace bench
