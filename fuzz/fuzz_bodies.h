// The per-input bodies of the fuzz targets. Each takes one input and answers null, or
// a description of the broken promise it found; memory and undefined-behaviour faults
// are left to the sanitizers. The libFuzzer programs and the normal test suite (which
// replays every input that ever failed) call the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qdfuzz {

using FuzzBody = const char* (*)(const uint8_t* data, size_t size);

const char* Png(const uint8_t* data, size_t size);
const char* Profile(const uint8_t* data, size_t size);
const char* Text(const uint8_t* data, size_t size);
const char* Vector(const uint8_t* data, size_t size);
const char* Blit(const uint8_t* data, size_t size);
const char* LayoutHeader(const uint8_t* data, size_t size);

// Loads what every body shares and keeps for the whole process (the fonts), so that
// the fuzzer's leak check does not take those one-time allocations for a leak.
void PrepareSharedState();

struct FuzzTarget {
    const char* name;  // also the folder of its corpus and regressions
    FuzzBody body;
};

inline constexpr FuzzTarget kFuzzTargets[] = {
    {"png", Png}, {"profile", Profile}, {"text", Text}, {"vector", Vector}, {"blit", Blit},
    {"layout_header", LayoutHeader},
};

}  // namespace qdfuzz
