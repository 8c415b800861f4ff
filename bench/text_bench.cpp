// Text drawing with warm caches: the glyph-cache path and the native path of the cached
// font against cairo_show_text with the same font file and size. Each case of ours
// reports "x_peer", cairo's time divided by its own (above 1: faster than cairo).
#include <benchmark/benchmark.h>

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/bitmap_hash.h"
#include "bench/peer_timing.h"
#include "raster/bitmap.h"
#include "raster/cached_font.h"

namespace {

constexpr int kCharHeight = 13;  // em size in pixels, the size cairo is given
constexpr int kWidth = 800, kHeight = 600;

const std::vector<std::string>& Strings() {
    static const std::vector<std::string> strings = [] {
        std::mt19937 rng(42);
        const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,:-";
        std::vector<std::string> v(200);
        for (auto& s : v) {
            for (int i = 0; i < 20; ++i) s += alphabet[rng() % alphabet.size()];
        }
        return v;
    }();
    return strings;
}

HGDIOBJ MakeFont() { return CreateFont(-kCharHeight, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"); }

constexpr const char* kPeerKey = "text";

void BM_Text_Cairo(benchmark::State& state) {
    HGDIOBJ probe = MakeFont();
    FT_Library lib;
    FT_Init_FreeType(&lib);
    FT_Face face;
    if (!probe || FT_New_Face(lib, WAPI_GetFontFile(probe), 0, &face) != 0) {
        state.SkipWithError("no font");
        return;
    }
    DeleteObject(probe);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_font_face_t* cface = cairo_ft_font_face_create_for_ft_face(face, 0);
    cairo_set_font_face(cr, cface);
    cairo_set_font_size(cr, kCharHeight);
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, opts);
    cairo_set_source_rgb(cr, 1, 1, 1);
    const auto& strings = Strings();
    auto draw = [&] {
        for (size_t i = 0; i < strings.size(); ++i) {
            cairo_move_to(cr, double(i % 4 * 200), double(i / 4 * 12 + 12));
            cairo_show_text(cr, strings[i].c_str());
        }
        cairo_surface_flush(surface);
    };
    draw();  // warm the glyph cache
    bench::PeerNs()[kPeerKey] = bench::TimedLoop(state, draw);
    state.SetItemsProcessed(state.iterations() * int64_t(strings.size()));
    cairo_font_options_destroy(opts);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    cairo_font_face_destroy(cface);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}

void DrawWithCachedFont(benchmark::State& state, int flags) {
    PIX_CachedFont font;
    font.SetFromHFont(MakeFont(), flags);
    font.SetTextColor(PIX_MakePixel(255, 255, 255, 255));
    PIX_SysBitmap bitmap(kWidth, kHeight);
    std::memset(bitmap.getBits(), 0, size_t(bitmap.getRowSpan()) * kHeight * 4);
    const auto& strings = Strings();
    auto draw = [&] {
        for (size_t i = 0; i < strings.size(); ++i) {
            const int x = int(i % 4 * 200), y = int(i / 4 * 12);
            RECT r{x, y, x + 200, y + 16};
            font.DrawText(&bitmap, strings[i].c_str(), -1, &r, DT_SINGLELINE);
        }
    };
    draw();  // warm the caches; one pass over a clear bitmap, hashed
    state.counters["hash"] = double(bench::BitmapHash(bitmap));
    bench::Report(state, kPeerKey, bench::TimedLoop(state, draw), int64_t(strings.size()));
}

void BM_Text_GlyphPath(benchmark::State& state) { DrawWithCachedFont(state, PIX_FONT_OWNS_HFONT); }
void BM_Text_NativePath(benchmark::State& state) {
    DrawWithCachedFont(state, PIX_FONT_OWNS_HFONT | PIX_FONT_ALLOW_NATIVE);
}

}  // namespace

// Cairo first: the cases after it read its time for their ratio.
BENCHMARK(BM_Text_Cairo);
BENCHMARK(BM_Text_GlyphPath);
BENCHMARK(BM_Text_NativePath);
