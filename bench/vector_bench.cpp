// Vector drawing on a 1024 x 768 bitmap against cairo drawing the same geometry into an
// image surface of the same size, anti-aliasing matched (NONE for plain shapes, GRAY for
// anti-aliased ones). Each case of ours reports "x_peer", cairo's time divided by its
// own (above 1: faster than cairo); the cairo case of a pair runs first.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstring>
#include <random>
#include <vector>

#include "bench/bitmap_hash.h"
#include "bench/peer_timing.h"
#include "raster/bezier.h"
#include "raster/bitmap.h"
#include "raster/circle.h"
#include "raster/line.h"
#include "raster/polygon.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;
constexpr PIX_PixelValue kColour = PIX_MakePixel(255, 230, 180, 40);

struct Segment {
    float x1, y1, x2, y2;
};
struct Disc {
    float x, y, r;
};

std::vector<Segment> RandomSegments(int n, float reach, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> cx(0, kWidth), cy(0, kHeight), d(-reach, reach);
    std::vector<Segment> v(n);
    for (auto& s : v) {
        const float x = cx(rng), y = cy(rng);
        s = {x + d(rng), y + d(rng), x + d(rng), y + d(rng)};
    }
    return v;
}

const std::vector<Segment>& Triangles() {  // x1,y1,x2,y2 and the next entry's x1,y1 as the third point
    static const auto v = RandomSegments(20000, 30, 1);
    return v;
}
const std::vector<Segment>& Lines() {
    static const auto v = RandomSegments(100000, 50, 2);
    return v;
}
const std::vector<Segment>& FarLines() {
    static const auto v = RandomSegments(10000, 1e6f, 3);
    return v;
}
const std::vector<Disc>& Discs() {
    static const auto v = [] {
        std::mt19937 rng(4);
        std::uniform_real_distribution<float> x(0, kWidth), y(0, kHeight), r(2, 20);
        std::vector<Disc> d(5000);
        for (auto& c : d) c = {x(rng), y(rng), r(rng)};
        return d;
    }();
    return v;
}

// A long cubic sweeping across the bitmap and back, drawn 100 times with shifts.
constexpr int kCurves = 100;
constexpr float kCurve[8] = {-40, 700, 300, -600, 800, 1400, 1100, 60};

struct CairoCanvas {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    explicit CairoCanvas(cairo_antialias_t aa) {
        cairo_set_antialias(cr, aa);
        cairo_set_line_width(cr, 1.0);
        cairo_set_source_rgb(cr, 230 / 255.0, 180 / 255.0, 40 / 255.0);
    }
    ~CairoCanvas() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

void RunCairo(benchmark::State& state, const char* name, cairo_antialias_t aa, void (*draw)(cairo_t*)) {
    CairoCanvas c(aa);
    bench::PeerNs()[name] = bench::TimedLoop(state, [&] {
        draw(c.cr);
        cairo_surface_flush(c.surface);
    });
}

// shapes: how many each iteration draws, reported as items.
void RunOurs(benchmark::State& state, const char* name, int shapes, void (*draw)(PIX_IBitmap*)) {
    PIX_MemBitmap bm(kWidth, kHeight, 4);
    std::memset(bm.getBits(), 0, size_t(bm.getRowSpan()) * kHeight * 4);
    draw(&bm);
    state.counters["hash"] = double(bench::BitmapHash(bm));
    const double ns = bench::TimedLoop(state, [&] {
        draw(&bm);
        benchmark::DoNotOptimize(bm.getBits());
    });
    bench::Report(state, name, ns, shapes);
}

// ---- The cases, each as a cairo drawer and ours. ----

void CairoTriangles(cairo_t* cr) {
    const auto& t = Triangles();
    for (size_t i = 0; i + 1 < t.size(); i += 2) {
        cairo_move_to(cr, t[i].x1, t[i].y1);
        cairo_line_to(cr, t[i].x2, t[i].y2);
        cairo_line_to(cr, t[i + 1].x1, t[i + 1].y1);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}
void OurTriangles(PIX_IBitmap* bm) {
    const auto& t = Triangles();
    for (size_t i = 0; i + 1 < t.size(); i += 2)
        PIX_FillTriangle(bm, int(t[i].x1), int(t[i].y1), int(t[i].x2), int(t[i].y2), int(t[i + 1].x1),
                         int(t[i + 1].y1), kColour, 1.0f, 0);
}

// Lines are stroked through pixel centres on cairo's side, so both draw the same pixels.
void CairoLines(cairo_t* cr, const std::vector<Segment>& v) {
    for (const auto& s : v) {
        cairo_move_to(cr, int(s.x1) + 0.5, int(s.y1) + 0.5);
        cairo_line_to(cr, int(s.x2) + 0.5, int(s.y2) + 0.5);
        cairo_stroke(cr);
    }
}
void CairoPlainLines(cairo_t* cr) { CairoLines(cr, Lines()); }
void OurPlainLines(PIX_IBitmap* bm) {
    for (const auto& s : Lines()) PIX_Line(bm, int(s.x1), int(s.y1), int(s.x2), int(s.y2), kColour, 1.0f, 0, false);
}
void CairoAALines(cairo_t* cr) {
    for (const auto& s : Lines()) {
        cairo_move_to(cr, s.x1 + 0.5, s.y1 + 0.5);
        cairo_line_to(cr, s.x2 + 0.5, s.y2 + 0.5);
        cairo_stroke(cr);
    }
}
void OurAALines(PIX_IBitmap* bm) {
    for (const auto& s : Lines()) PIX_FLine(bm, s.x1, s.y1, s.x2, s.y2, kColour, 1.0f, 0, true);
}
void OurAAIntLines(PIX_IBitmap* bm) {
    for (const auto& s : Lines()) PIX_Line(bm, int(s.x1), int(s.y1), int(s.x2), int(s.y2), kColour, 1.0f, 0, true);
}

void CairoDiscs(cairo_t* cr) {
    for (const auto& d : Discs()) {
        cairo_arc(cr, d.x, d.y, d.r, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}
void OurDiscs(PIX_IBitmap* bm) {
    for (const auto& d : Discs()) PIX_FillCircle(bm, d.x, d.y, d.r, kColour, 1.0f, 0, true);
}

void CairoCubic(cairo_t* cr) {
    for (int i = 0; i < kCurves; ++i) {
        cairo_move_to(cr, kCurve[0], kCurve[1] + i);
        cairo_curve_to(cr, kCurve[2], kCurve[3] + i, kCurve[4], kCurve[5] + i, kCurve[6], kCurve[7] + i);
        cairo_stroke(cr);
    }
}
void OurCubic(PIX_IBitmap* bm) {
    for (int i = 0; i < kCurves; ++i)
        PIX_DrawCBezier(bm, kCurve[0], kCurve[1] + i, kCurve[2], kCurve[3] + i, kCurve[4], kCurve[5] + i, kCurve[6],
                        kCurve[7] + i, kColour, 1.0f, 0, true, 1.0f);
}

void CairoFarLines(cairo_t* cr) { CairoLines(cr, FarLines()); }
void OurFarLines(PIX_IBitmap* bm) {
    for (const auto& s : FarLines())
        PIX_Line(bm, int(s.x1), int(s.y1), int(s.x2), int(s.y2), kColour, 1.0f, 0, false);
}
void OurFarAALines(PIX_IBitmap* bm) {
    for (const auto& s : FarLines()) PIX_FLine(bm, s.x1, s.y1, s.x2, s.y2, kColour, 1.0f, 0, true);
}
void CairoFarAALines(cairo_t* cr) {
    for (const auto& s : FarLines()) {
        cairo_move_to(cr, s.x1, s.y1);
        cairo_line_to(cr, s.x2, s.y2);
        cairo_stroke(cr);
    }
}

#define QD_VECTOR_PAIR(Name, Shapes, AA, CairoFn, OurFn)                                            \
    void BM_Vector_##Name##_Cairo(benchmark::State& s) { RunCairo(s, "vector/" #Name, AA, CairoFn); }        \
    void BM_Vector_##Name(benchmark::State& s) { RunOurs(s, "vector/" #Name, Shapes, OurFn); }                 \
    BENCHMARK(BM_Vector_##Name##_Cairo)->Unit(benchmark::kMillisecond);                              \
    BENCHMARK(BM_Vector_##Name)->Unit(benchmark::kMillisecond);

QD_VECTOR_PAIR(Triangles10k, 10000, CAIRO_ANTIALIAS_NONE, CairoTriangles, OurTriangles)
QD_VECTOR_PAIR(Lines100kPlain, 100000, CAIRO_ANTIALIAS_NONE, CairoPlainLines, OurPlainLines)
QD_VECTOR_PAIR(Lines100kAA, 100000, CAIRO_ANTIALIAS_GRAY, CairoAALines, OurAALines)
QD_VECTOR_PAIR(Lines100kAAInteger, 100000, CAIRO_ANTIALIAS_GRAY, CairoPlainLines, OurAAIntLines)
QD_VECTOR_PAIR(Discs5kAA, 5000, CAIRO_ANTIALIAS_GRAY, CairoDiscs, OurDiscs)
QD_VECTOR_PAIR(LongCubicAA, kCurves, CAIRO_ANTIALIAS_GRAY, CairoCubic, OurCubic)
QD_VECTOR_PAIR(FarLines10kPlain, 10000, CAIRO_ANTIALIAS_NONE, CairoFarLines, OurFarLines)
QD_VECTOR_PAIR(FarLines10kAA, 10000, CAIRO_ANTIALIAS_GRAY, CairoFarAALines, OurFarAALines)

}  // namespace
