// A GUI scale change rescales every loaded strip from its double-size source: every
// image of the "space" panel as the build draws it (backgrounds, knob and slider strips,
// buttons and labels, with the frame counts of the artwork's manifest), each decoded from
// PNG as the editor's loader does. The peer decodes the same files and scales each whole
// image with pixman's bilinear filter; our case reports "x_peer" against it and the
// milliseconds of one whole scale change.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
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

// The manifest's rows for the "space" panel's folder: name and frame count; the panels
// load every strip with its frames stacked.
const std::vector<Image>& EditorImages() {
    static const std::vector<Image> images = [] {
        std::vector<Image> v;
        std::ifstream manifest(QD_SKIN_MANIFEST);
        for (std::string line; std::getline(manifest, line);) {
            std::istringstream row(line);
            std::string dirs, name, origId, lcdId, frames;
            if (line.empty() || line[0] == '#' || !std::getline(row, dirs, '\t') || !std::getline(row, name, '\t') ||
                !std::getline(row, origId, '\t') || !std::getline(row, lcdId, '\t') || !std::getline(row, frames, '\t'))
                continue;
            if (dirs != "orig" && dirs.rfind("orig+", 0) != 0) continue;
            std::ifstream file(std::string(QD_SKIN_ROOT) + "/img/orig/" + name + "-2x.png", std::ios::binary);
            Image im{7000 + int(v.size()), 0, 0, std::stoi(frames), false,
                     {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()}};
            std::unique_ptr<PIX_IBitmap> bm(PIX_LoadPNGFromMemory(im.png.data(), im.png.size()));
            if (!bm) continue;
            im.width = bm->getWidth(), im.height = bm->getHeight();
            v.push_back(std::move(im));
        }
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
    // The same pixels however the files were written.
    uint32_t hash = 2166136261u;
    for (const Image& im : EditorImages()) hash = bench::BitmapHash(*std::unique_ptr<PIX_IBitmap>(Decode(im.id, nullptr)), hash);
    state.counters["hash"] = double(hash);
    state.counters["images"] = double(EditorImages().size());
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
