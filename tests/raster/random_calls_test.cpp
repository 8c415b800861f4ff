// Seeded random arguments for every drawing call, the sanitizer run's main target:
// null and pixel-less bitmaps, empty, negative and far-off rectangles, non-finite
// floats, every mode. Each call must leave both bitmaps' surroundings alone, read
// nothing outside its source, and never crash.

#include <cfloat>
#include <climits>
#include <cmath>

#include "raster_test_util.h"

namespace {

struct Args {
    explicit Args(uint32_t seed) : rng(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
    // Mostly near the bitmaps, sometimes far off or at the int limits.
    int Coord() {
        const int k = Int(0, 9);
        return k == 0 ? (Int(0, 1) ? INT_MIN : INT_MAX) : k == 1 ? Int(-100000, 100000) : Int(-40, 60);
    }
    float Real() {
        const int k = Int(0, 39);
        if (k == 0) return NAN;
        if (k == 1) return Int(0, 1) ? INFINITY : -FLT_MAX;
        return k == 2 ? (Int(0, 1) ? 1e30f : -3e9f) : k == 3 ? float(Int(-100000, 100000)) : Uniform(-40, 60);
    }
    // Mostly opaque or a plain fraction, so that most calls draw.
    float Alpha() {
        const int k = Int(0, 9);
        return k == 0 ? Real() : k == 1 ? Uniform(-1.5f, 2.0f) : k < 5 ? Uniform(0.0f, 1.0f) : 1.0f;
    }
    uint32_t Mode() {
        static const uint32_t kExtra[] = {PIX_MODE_USE_SOURCE_ALPHA, PIX_MODE_FILTER_BILINEAR, PIX_MODE_CHANNEL_COPY};
        return uint32_t(Int(0, 6)) | (Int(0, 1) ? kExtra[Int(0, 2)] : 0u);
    }
    uint32_t Colour() { return uint32_t(rng()); }
    std::mt19937 rng;
};

using Call = std::function<void(PIX_IBitmap* d, PIX_IBitmap* s, Args& a)>;

// Runs the call with the same arguments on two pairs whose sources differ only in the
// canaries beside their rows: different results mean a read outside the source, a
// changed canary a write outside the destination. Sources are bottom-up every third
// round, destinations every fifth.
testing::AssertionResult StaysInsideBothBitmaps(const Call& call, Args& a, int round) {
    const uint32_t seed = a.Colour();
    const int sw = a.Int(1, 24), sh = a.Int(1, 24), dw = a.Int(1, 32), dh = a.Int(1, 32);
    CanaryBitmap srcA(sw, sh, round % 3 == 0, 2, 0x11111111u), srcB(sw, sh, round % 3 == 0, 2, 0xeeeeeeeeu);
    CanaryBitmap dstA(dw, dh, round % 5 == 0), dstB(dw, dh, round % 5 == 0);
    FillRandom(srcA, seed), FillRandom(srcB, seed), FillRandom(dstA, seed + 1), FillRandom(dstB, seed + 1);
    Args second = a;
    call(&dstA, &srcA, a);
    call(&dstB, &srcB, second);
    if (CountDifferent(dstA, dstB)) return testing::AssertionFailure() << "read outside the source";
    return dstA.damagedCanaries() ? testing::AssertionFailure() << "wrote outside the destination"
                                  : testing::AssertionSuccess();
}

// One font on the glyph path, one allowed to draw natively.
PIX_CachedFont& Font(bool native) {
    static PIX_CachedFont* fonts[2] = {};
    if (!fonts[native]) {
        fonts[native] = new PIX_CachedFont;
        fonts[native]->SetFromHFont(CreateFont(13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                                    PIX_FONT_OWNS_HFONT | (native ? PIX_FONT_ALLOW_NATIVE : PIX_FONT_OUTLINE));
    }
    return *fonts[native];
}

const std::pair<const char*, Call> kCalls[] = {
    {"Blit", [](auto d, auto s, Args& a) {
         PIX_Blit(d, s, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Alpha(), a.Mode());
     }},
    {"ScaledBlit", [](auto d, auto s, Args& a) {
         // Source rectangles around the source, a fifth of them at scale 1.
         const float sw = s ? float(s->getWidth()) : 8, sh = s ? float(s->getHeight()) : 8;
         const int w = a.Int(-80, 80), h = a.Int(-80, 80);
         const bool one = a.Int(0, 4) == 0;
         const float fx = a.Int(0, 9) ? a.Uniform(-10, sw + 10) : a.Real(), fy = a.Uniform(-10, sh + 10);
         PIX_ScaledBlit(d, s, a.Int(-30, 50), a.Int(-30, 50), w, h, fx, fy, one ? float(w) : a.Uniform(-60, 60),
                        one ? float(h) : a.Uniform(-60, 60), a.Alpha(), a.Mode());
     }},
    {"RotatedBlit", [](auto d, auto s, Args& a) {
         PIX_RotatedBlit(d, s, a.Coord(), a.Coord(), a.Int(-80, 80), a.Int(-80, 80), a.Real(), a.Real(), a.Real(),
                         a.Real(), a.Real(), a.Int(0, 1), a.Alpha(), a.Mode(), a.Real(), a.Real());
     }},
    {"DeltaBlitAlpha", [](auto d, auto s, Args& a) {
         auto step = [&] { return a.Uniform(-3, 3); };
         PIX_DeltaBlitAlpha(d, s, a.Coord(), a.Coord(), a.Int(-80, 80), a.Int(-80, 80), a.Real(), a.Real(),
                            a.Real(), a.Real(), step(), step(), step(), step(), step() / 50, step() / 50, a.Int(0, 1),
                            a.Alpha(), step() / 10, step() / 10, step() / 100, a.Mode());
     }},
    {"TransformBlit", [](auto d, auto s, Args& a) {
         double points[4 * 3 * 3];
         for (double& p : points) p = a.Real();
         PIX_TransformBlit2Alpha(d, s, a.Coord(), a.Coord(), a.Int(-80, 80), a.Int(-80, 80), points, a.Int(0, 4),
                                 a.Int(0, 3), a.Mode());
     }},
    {"Blur", [](auto d, auto s, Args& a) {
         PIX_Blur(d, s, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Coord());
         PIX_HalveBlitAA(d, s);
         PIX_BitmapCmpEx(d, s, a.Colour(), nullptr);
     }},
    {"GradRect", [](auto d, auto, Args& a) {
         PIX_GradRect(d, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Real(), a.Real(), a.Real(), a.Real(),
                      a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Mode());
     }},
    {"Fills", [](auto d, auto, Args& a) {
         PIX_FillRect(d, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Colour(), a.Alpha(), a.Mode());
         PIX_ClearRect(d, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Colour(), a.Colour());
         PIX_PutPixel(d, a.Coord(), a.Coord(), a.Colour(), a.Alpha(), a.Mode());
         PIX_BorderedRect(d, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Colour(), a.Colour(), a.Alpha(), a.Mode());
         PIX_MultiplyAddRect(d, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Real(), a.Real(), a.Real(), a.Real(),
                             a.Real(), a.Real(), a.Real(), a.Real());
         PIX_SimpleFill(d, a.Coord(), a.Coord(), a.Colour(), a.Colour(), a.Colour());
         PIX_SetAlphaFromColorMask(d, a.Colour());
         PIX_Clear(d, a.Colour());
     }},
    {"Resample", [](auto d, auto s, Args& a) {
         if (d && s)
             ResampleArea(*s, a.Coord(), a.Coord(), a.Coord(), a.Coord(), *d, a.Coord(), a.Coord(), a.Coord(),
                          a.Coord());
     }},
    {"Glyph", [](auto d, auto, Args& a) {
         uint8_t mask[12 * 10];
         for (uint8_t& m : mask) m = uint8_t(a.Int(0, 255));
         PIX_DrawGlyph(d, a.Coord(), a.Coord(), a.Colour(), mask, a.Int(-2, 12), a.Int(-2, 12), a.Int(-2, 10),
                       a.Alpha(), a.Mode());
     }},
    {"Lines", [](auto d, auto, Args& a) {
         PIX_Line(d, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Colour(), a.Alpha(), a.Mode(), a.Int(0, 1));
         PIX_DashedLine(d, a.Coord(), a.Coord(), a.Coord(), a.Coord(), a.Int(-2, 5), a.Int(-2, 5), a.Colour(),
                        a.Alpha(), a.Mode());
         auto near = [&] { return a.Uniform(-200, 200); };
         PIX_FLine(d, near(), near(), near(), near(), a.Colour(), a.Alpha(), a.Mode(), a.Int(0, 1));
         PIX_FLine(d, a.Real(), a.Real(), a.Real(), a.Real(), a.Colour(), a.Alpha(), a.Mode(), a.Int(0, 1));
     }},
    {"Circles", [](auto d, auto, Args& a) {
         PIX_FillCircle(d, a.Real(), a.Real(), a.Real(), a.Colour(), a.Alpha(), a.Mode(), a.Int(0, 1));
         PIX_Circle(d, a.Real(), a.Real(), a.Real(), a.Colour(), a.Alpha(), a.Mode(), a.Int(0, 1));
         PIX_Arc(d, a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Colour(), a.Alpha(), a.Mode(), a.Int(0, 1));
         PIX_RoundRect(d, a.Real(), a.Real(), a.Real(), a.Real(), a.Int(-5, 30), a.Colour(), a.Alpha(), a.Mode(),
                       a.Int(0, 1));
     }},
    {"Polygons", [](auto d, auto, Args& a) {
         int xs[7], ys[7];
         for (int i = 0; i < 7; ++i) xs[i] = a.Coord(), ys[i] = a.Coord();
         PIX_FillConvexPolygon(d, xs, ys, a.Int(0, 7), a.Colour(), a.Alpha(), a.Mode());
         PIX_FillTriangle(d, xs[0], ys[0], xs[1], ys[1], xs[2], ys[2], a.Colour(), a.Alpha(), a.Mode());
     }},
    {"Curves", [](auto d, auto, Args& a) {
         auto near = [&] { return a.Uniform(-200, 200); };
         PIX_DrawQBezier(d, near(), near(), near(), near(), near(), near(), a.Colour(), a.Alpha(), a.Mode(),
                         a.Int(0, 1), a.Real());
         PIX_FillCBezier(d, near(), near(), near(), near(), near(), near(), near(), near(), a.Int(-40, 60),
                         a.Colour(), a.Alpha(), a.Mode(), near());
         // Huge and non-finite control points must finish: the piece count is capped.
         PIX_DrawCBezier(d, a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Colour(),
                         a.Alpha(), a.Mode(), a.Int(0, 1), a.Real());
         PIX_FillCBezierX(d, a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(), a.Real(),
                          a.Int(-40, 60), a.Colour(), a.Alpha(), a.Mode(), a.Real());
     }},
    {"Text", [](auto d, auto, Args& a) {
         static const char* kTexts[] = {"Mg\nq\xC3\xA9", "\x80\xE2\x82", "", "caf\xE9 \xF0\x9F\x98\x80"};
         RECT r{a.Coord(), a.Coord(), a.Coord(), a.Coord()};
         const unsigned formats[] = {0, DT_CENTER | DT_VCENTER, DT_RIGHT | DT_BOTTOM, DT_NOCLIP, DT_SINGLELINE};
         PIX_CachedFont& f = Font(a.Int(0, 1));
         f.SetCombineMode(a.Mode(), a.Alpha());
         f.SetBkMode(a.Int(0, 1));
         f.DrawText(d, kTexts[a.Int(0, 3)], a.Int(-1, 6), a.Int(0, 5) ? &r : nullptr, formats[a.Int(0, 4)]);
         f.DrawGlyph(d, 'W', a.Coord(), a.Coord(), &r);
     }},
};

TEST(RandomCalls, StayInsideTheirBitmapsAndSurviveBadArguments) {
    for (const auto& [name, call] : kCalls) {
        Args a(std::hash<std::string>{}(name) & 0xffffffu);
        for (int round = 0; round < 300; ++round) {
            ASSERT_TRUE(StaysInsideBothBitmaps(call, a, round)) << name << " round " << round;
            // The same arguments with a missing or pixel-less bitmap on either side.
            PIX_MemBitmap empty(0, 0), some(8, 8);
            using Pair = std::pair<PIX_IBitmap*, PIX_IBitmap*>;
            for (auto [d, s] : {Pair{nullptr, &some}, Pair{&some, nullptr}, Pair{&empty, &empty}}) {
                Args nulls = a;
                call(d, s, nulls);
            }
        }
    }
}

}  // namespace
