// Transformed blits against pixman and PNG decoding against libpng's simplified
// API. Each peer runs first; the matching case of ours reports "x_peer", the peer's
// time divided by ours (above 1: faster than the peer).
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "bench/bitmap_hash.h"
#include "bench/peer_timing.h"
#include "raster/bitmap.h"
#include "raster/png.h"
#include "raster/scaled_blit.h"
#include "raster/transform_blit.h"

namespace {

using bench::PeerNs;
using bench::Report;
using bench::TimedLoop;

std::vector<uint32_t> RandomPixels(int n) {
    std::mt19937 rng(5);
    std::vector<uint32_t> v(static_cast<size_t>(n));
    for (auto& p : v) p = rng() | 0xff000000u;
    return v;
}

// A smooth image with some edges, like a control's artwork.
void FillArtwork(PIX_IBitmap& bm) {
    for (int y = 0; y < bm.getHeight(); ++y)
        for (int x = 0; x < bm.getWidth(); ++x) {
            const int d = (x - bm.getWidth() / 2) * (x - bm.getWidth() / 2) + (y - bm.getHeight() / 2) * (y - bm.getHeight() / 2);
            *PIX_PixelAddress(bm, x, y) = PIX_MakePixel(d < bm.getWidth() * bm.getWidth() / 4 ? 255 : 0, x * 255 / bm.getWidth(),
                                                        y * 255 / bm.getHeight(), (x ^ y) & 255);
        }
}

// Bitmaps come uninitialised; pixels a blit leaves must not make the hash differ.
void Clear(PIX_IBitmap& bm) {
    for (int y = 0; y < bm.getHeight(); ++y) std::fill_n(PIX_PixelAddress(bm, 0, y), bm.getWidth(), 0u);
}

struct PixmanPair {
    std::vector<uint32_t> srcPixels, dstPixels;
    pixman_image_t *src = nullptr, *dst = nullptr;
    PixmanPair(int sw, int sh, int dw, int dh) : srcPixels(RandomPixels(sw * sh)), dstPixels(size_t(dw * dh)) {
        src = pixman_image_create_bits(PIXMAN_a8r8g8b8, sw, sh, srcPixels.data(), sw * 4);
        dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, dw, dh, dstPixels.data(), dw * 4);
    }
    ~PixmanPair() {
        pixman_image_unref(src);
        pixman_image_unref(dst);
    }
};

// ---- Rotation by 30 degrees, bilinear -------------------------------------------

constexpr double kAngle = std::numbers::pi / 6;

void BM_Rotate30_Pixman(benchmark::State& state) {
    const int n = int(state.range(0));
    PixmanPair p(n, n, n, n);
    // Destination to source: translate to the centre, rotate, translate back.
    pixman_transform_t t;
    pixman_transform_init_translate(&t, pixman_double_to_fixed(n / 2.0), pixman_double_to_fixed(n / 2.0));
    pixman_transform_rotate(&t, nullptr, pixman_double_to_fixed(std::cos(kAngle)), pixman_double_to_fixed(std::sin(kAngle)));
    pixman_transform_translate(&t, nullptr, pixman_double_to_fixed(-n / 2.0), pixman_double_to_fixed(-n / 2.0));
    pixman_image_set_transform(p.src, &t);
    pixman_image_set_filter(p.src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    PeerNs()["rotate" + std::to_string(n)] = TimedLoop(state, [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, n, n);
        benchmark::DoNotOptimize(p.dstPixels.data());
    });
    state.SetItemsProcessed(state.iterations() * n * n);
}

void BM_Rotate30_Ours(benchmark::State& state) {
    const int n = int(state.range(0));
    PIX_MemBitmap src(n, n, 4), dst(n, n, 4);
    FillArtwork(src);
    Clear(dst);
    const double ns = TimedLoop(state, [&] {
        PIX_RotatedBlit(&dst, &src, 0, 0, n, n, 0, 0, float(n), float(n), float(kAngle), false, 1.0f,
                        PIX_MODE_COPY | PIX_MODE_FILTER_BILINEAR);
        benchmark::DoNotOptimize(dst.getBits());
    });
    Report(state, "rotate" + std::to_string(n), ns, int64_t(n) * n);
    state.counters["hash"] = double(bench::BitmapHash(dst));
}

// ---- Reductions -------------------------------------------------------------------

void ScaleTransform(pixman_image_t* img, double factor) {
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(factor), pixman_double_to_fixed(factor));
    pixman_image_set_transform(img, &t);
}

// A 2x reduction (400 x 400 to 200 x 200: our 3 x 3 box against pixman's box
// convolution) and a 1.5x one (300 x 300 to 200 x 200, bilinear on both sides).
void PixmanReduction(benchmark::State& state, const char* key, int size, double factor, bool box) {
    PixmanPair p(size, size, 200, 200);
    ScaleTransform(p.src, factor);
    if (box) {
        int nParams = 0;
        pixman_fixed_t* params = pixman_filter_create_separable_convolution(
            &nParams, pixman_double_to_fixed(factor), pixman_double_to_fixed(factor), PIXMAN_KERNEL_BOX,
            PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_BOX, 1, 1);
        pixman_image_set_filter(p.src, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, nParams);
        free(params);
    } else {
        pixman_image_set_filter(p.src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    }
    PeerNs()[key] = TimedLoop(state, [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, p.src, nullptr, p.dst, 0, 0, 0, 0, 0, 0, 200, 200);
        benchmark::DoNotOptimize(p.dstPixels.data());
    });
    state.SetItemsProcessed(state.iterations() * 200 * 200);
}

void OurReduction(benchmark::State& state, const char* key, int size) {
    PIX_MemBitmap src(size, size, 4), dst(200, 200, 4);
    FillArtwork(src);
    Clear(dst);
    const double ns = TimedLoop(state, [&] {
        PIX_ScaledBlit(&dst, &src, 0, 0, 200, 200, 0, 0, float(size), float(size), 1.0f, PIX_MODE_FILTER_BILINEAR);
        benchmark::DoNotOptimize(dst.getBits());
    });
    Report(state, key, ns, 200 * 200);
    state.counters["hash"] = double(bench::BitmapHash(dst));
}

void BM_Halve_Pixman(benchmark::State& state) { PixmanReduction(state, "halve", 400, 2.0, true); }
void BM_Halve_Ours(benchmark::State& state) { OurReduction(state, "halve", 400); }
void BM_Scale15_Pixman(benchmark::State& state) { PixmanReduction(state, "scale1.5", 300, 1.5, false); }
void BM_Scale15_Ours(benchmark::State& state) { OurReduction(state, "scale1.5", 300); }

// ---- PNG decoding -----------------------------------------------------------------

// A skin-sized RGBA image (a knob strip or a panel), encoded once with libpng.
const std::vector<unsigned char>& SkinPng(int w, int h) {
    static std::map<std::pair<int, int>, std::vector<unsigned char>> cache;
    auto& out = cache[{w, h}];
    if (!out.empty()) return out;
    PIX_MemBitmap art(w, h, 4);
    FillArtwork(art);
    std::vector<unsigned char> rgba(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = *PIX_PixelAddress(art, x, y);
            unsigned char* o = &rgba[(size_t(y) * size_t(w) + size_t(x)) * 4];
            o[0] = uint8_t(PIX_PixelR(p));
            o[1] = uint8_t(PIX_PixelG(p));
            o[2] = uint8_t(PIX_PixelB(p));
            o[3] = uint8_t(PIX_PixelA(p));
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    return out;
}

std::string PngKey(benchmark::State& state) {
    return "png" + std::to_string(state.range(0)) + "x" + std::to_string(state.range(1));
}

void BM_DecodePNG_Simplified(benchmark::State& state) {
    const auto& data = SkinPng(int(state.range(0)), int(state.range(1)));
    std::vector<unsigned char> pixels(size_t(state.range(0) * state.range(1) * 4));
    PeerNs()[PngKey(state)] = TimedLoop(state, [&] {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_memory(&image, data.data(), data.size());
        image.format = PNG_FORMAT_ARGB;
        png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
        benchmark::DoNotOptimize(pixels.data());
    });
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}

void BM_DecodePNG_Ours(benchmark::State& state) {
    const auto& data = SkinPng(int(state.range(0)), int(state.range(1)));
    PIX_MemBitmap bm;
    const double ns = TimedLoop(state, [&] {
        benchmark::DoNotOptimize(PIX_LoadPNGFromMemory(data.data(), data.size(), &bm));
    });
    Report(state, PngKey(state), ns, state.range(0) * state.range(1));
    state.counters["hash"] = double(bench::BitmapHash(bm));
}

}  // namespace

BENCHMARK(BM_Rotate30_Pixman)->Arg(100)->Arg(200);
BENCHMARK(BM_Rotate30_Ours)->Arg(100)->Arg(200);
BENCHMARK(BM_Halve_Pixman);
BENCHMARK(BM_Halve_Ours);
BENCHMARK(BM_Scale15_Pixman);
BENCHMARK(BM_Scale15_Ours);
BENCHMARK(BM_DecodePNG_Simplified)->Args({128, 128})->Args({96, 6144})->Args({1200, 800});
BENCHMARK(BM_DecodePNG_Ours)->Args({128, 128})->Args({96, 6144})->Args({1200, 800});
