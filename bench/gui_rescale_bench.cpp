// A GUI scale change rescales every loaded strip from its double-size source: 130
// images of the editor's kinds (two panel backgrounds, knob and slider strips, buttons
// and labels), each decoded from PNG as the editor's loader does. The peer decodes the
// same files and scales each whole image with pixman's bilinear filter; our case
// reports "x_peer" against it and the milliseconds of one whole scale change.
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <png.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/bitmap_hash.h"
#include "bench/peer_timing.h"
#include "gui/bitmap_cache.h"
#include "raster/bitmap.h"
#include "raster/png.h"

namespace {

struct Image {
    int id, width, height, frames;
    bool horizontal;
    std::vector<unsigned char> png;
};

std::vector<unsigned char> EncodePNG(int w, int h, int seed) {
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
            p[0] = uint8_t(x * 3 + seed), p[1] = uint8_t(y * 5), p[2] = uint8_t((x ^ y) + seed), p[3] = uint8_t(255 - (x & 63));
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = unsigned(w), image.height = unsigned(h);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<unsigned char> out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    return out;
}

// Sizes of the double-size files: a background pair, 24 knobs of 64 frames, 60
// two-frame sliders and switches, 44 labels and buttons.
const std::vector<Image>& EditorImages() {
    static const std::vector<Image> images = [] {
        std::vector<Image> v;
        int id = 7000;
        auto add = [&](int n, int w, int h, int frames, bool horizontal) {
            for (int i = 0; i < n; ++i) v.push_back({id++, w, h, frames, horizontal, EncodePNG(w, h, i)});
        };
        add(2, 2280, 1600, 1, false);
        add(24, 96, 96 * 64, 64, false);
        add(60, 48 * 2, 96, 2, true);
        add(44, 200, 40, 1, false);
        return v;
    }();
    return images;
}

PIX_IBitmap* Decode(int id, const char*) {
    const std::vector<Image>& images = EditorImages();
    if (id < 7000 || id >= 7000 + int(images.size())) return nullptr;
    const Image& im = images[size_t(id - 7000)];
    return PIX_LoadPNGFromMemory(im.png.data(), im.png.size());
}

const std::vector<IBitmapStrip*>& LoadEditorStrips() {
    static const std::vector<IBitmapStrip*> strips = [] {
        std::vector<IBitmapStrip*> v;
        for (const Image& im : EditorImages())
            v.push_back(LoadStrip(Decode, 2, im.id, "bench.png", im.frames, im.horizontal));
        return v;
    }();
    return strips;
}

std::string Key(const benchmark::State& state) { return std::to_string(state.range(0)); }

int64_t Pixels(double scale) {
    int64_t n = 0;
    for (const Image& im : EditorImages()) n += int64_t(im.width / 2 * scale) * int64_t(im.height / 2 * scale);
    return n;
}

// range(0): the GUI scale in percent.
void BM_PixmanRescaleEditor(benchmark::State& state) {
    const double scale = state.range(0) / 100.0;
    EditorImages();  // encoded once, outside the timing
    bench::PeerNs()[Key(state)] = bench::TimedLoop(state, [&] {
        for (const Image& im : EditorImages()) {
            std::unique_ptr<PIX_IBitmap> src(Decode(im.id, nullptr));
            const int dw = int(im.width / 2 * scale), dh = int(im.height / 2 * scale);
            std::vector<uint32_t> dst(size_t(dw) * dh);
            pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, src->getWidth(), src->getHeight(),
                                                         static_cast<uint32_t*>(src->getBits()), src->getRowSpan() * 4);
            pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, dw, dh, dst.data(), dw * 4);
            pixman_transform_t t;
            pixman_transform_init_scale(&t, pixman_double_to_fixed(double(src->getWidth()) / dw),
                                        pixman_double_to_fixed(double(src->getHeight()) / dh));
            pixman_image_set_transform(s, &t);
            pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
            pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, dw, dh);
            benchmark::DoNotOptimize(dst.data());
            pixman_image_unref(s);
            pixman_image_unref(d);
        }
    });
    state.SetItemsProcessed(state.iterations() * Pixels(scale));
}

// The decoding alone, the part of a scale change that no resampler can save.
void BM_DecodeEditorImages(benchmark::State& state) {
    EditorImages();
    for (auto _ : state)
        for (const Image& im : EditorImages()) delete Decode(im.id, nullptr);
}

void BM_RescaleEditorStrips(benchmark::State& state) {
    const double scale = state.range(0) / 100.0;
    const std::vector<IBitmapStrip*>& strips = LoadEditorStrips();
    const double ns = bench::TimedLoop(state, [&] { RescaleStrips(Decode, 2, scale); });
    state.counters["ms_per_change"] = ns / 1e6;
    uint32_t hash = 2166136261u;
    for (const IBitmapStrip* s : strips) hash = bench::BitmapHash(*s->bitmap, hash);
    state.counters["hash"] = double(hash);
    bench::Report(state, Key(state), ns, Pixels(scale));
}


#define SCALE_CASES Arg(50)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_PixmanRescaleEditor)->SCALE_CASES;
BENCHMARK(BM_RescaleEditorStrips)->SCALE_CASES;
BENCHMARK(BM_DecodeEditorImages)->Unit(benchmark::kMillisecond);

}  // namespace
