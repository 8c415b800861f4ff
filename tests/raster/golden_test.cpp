// Reference images of what the editor draws: shapes, blits, scaled and rotated
// images and text, each checked by eye once.
#include <array>

#include "raster_test_util.h"
#include "support/golden.h"

namespace {

constexpr int kW = 64, kH = 48;

// A 16 x 12 picture with every channel and alpha varying, for the blits to move.
PIX_MemBitmap& Picture() {
    static PIX_MemBitmap* bm = [] {
        auto* p = new PIX_MemBitmap(16, 12);
        FillWith(*p, [](int x, int y) {
            return PIX_MakePixel(255 - 12 * y, 16 * x, 255 - 20 * y, (x ^ y) & 1 ? 220 : 30);
        });
        return p;
    }();
    return *bm;
}

void Text(PIX_IBitmap* bm, int flags, PIX_PixelValue colour, int x, int y, const char* text, int bkMode = 0,
          uint32_t mode = PIX_MODE_COPY, float alpha = 1.0f) {
    PIX_CachedFont f;
    f.SetCombineMode(mode, alpha);
    f.SetFromHFont(CreateFont(14, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"), PIX_FONT_OWNS_HFONT | flags);
    f.SetTextColor(colour);
    f.SetEffectColor(PIX_MakePixel(255, 0, 0, 0));
    f.SetBkMode(bkMode);
    f.SetBkColor(PIX_MakePixel(255, 30, 60, 90));
    RECT r{x, y, 64, 48};
    f.DrawText(bm, text, -1, &r, 0);
}

const uint32_t kYellow = PIX_MakePixel(255, 255, 255, 0), kBlue = PIX_MakePixel(255, 0, 0, 255);
const uint32_t kWhite = PIX_MakePixel(255, 255, 255, 255), kRed = PIX_MakePixel(255, 255, 0, 0);
const uint32_t kBlack = PIX_MakePixel(255, 0, 0, 0);

const std::pair<const char*, void (*)(PIX_IBitmap*)> kGoldens[] = {
    {"triangles", [](PIX_IBitmap* bm) {
         PIX_FillTriangle(bm, 4, 40, 30, 3, 40, 44, kYellow, 1.0f, 0);
         PIX_FillTriangle(bm, 20, 20, 62, 10, 50, 47, kBlue, 0.5f, 0);
         PIX_FillTriangle(bm, -10, 30, 70, 35, 20, 60, kWhite, 0.3f, PIX_MODE_ADD);
         PIX_FillTriangle(bm, 45, -5, 63, 0, 60, 25, kRed, 1.0f, PIX_MODE_MULTIPLY);
     }},
    {"lines", [](PIX_IBitmap* bm) {
         for (int i = 0; i < 16; ++i) {
             const double a = i * std::numbers::pi / 8;
             const int x = 20 + int(std::lround(17 * std::cos(a))), y = 22 + int(std::lround(17 * std::sin(a)));
             PIX_Line(bm, 20, 22, x, y, kWhite, 1.0f, 0, (i & 1) != 0);
         }
         PIX_FLine(bm, 40.3f, 2.7f, 61.8f, 45.2f, kYellow, 1.0f, 0, true);
         PIX_FLine(bm, 40.3f, 45.2f, 63.5f, 30.1f, kYellow, 0.6f, 0, true);
         PIX_Line(bm, 38, 46, 63, 46, kRed, 0.5f, 0, false);
     }},
    {"dashed_lines", [](PIX_IBitmap* bm) {
         PIX_DashedLine(bm, 2, 3, 61, 3, 2, 2, kWhite, 1.0f, 0);
         PIX_DashedLine(bm, 2, 44, 61, 44, 5, 3, kYellow, 0.5f, 0);
         PIX_DashedLine(bm, 3, 5, 3, 42, 1, 1, kWhite, 1.0f, 0);
         PIX_DashedLine(bm, 60, 42, 60, 5, 4, 2, kRed, 1.0f, PIX_MODE_ADD);
     }},
    {"quadratic_curves", [](PIX_IBitmap* bm) {
         PIX_DrawQBezier(bm, -5.0f, 40.0f, 20.0f, -10.0f, 40.0f, 30.0f, kWhite, 1.0f, 0, true, 1.0f);
         PIX_DrawQBezier(bm, 30.0f, 30.0f, 45.0f, 60.0f, 70.0f, 10.0f, kYellow, 1.0f, 0, true, 1.0f);
         PIX_DrawQBezier(bm, 2.0f, 10.0f, 30.0f, 40.0f, 60.0f, 5.0f, kRed, 1.0f, 0, false, 2.0f);
     }},
    {"antialiased_discs", [](PIX_IBitmap* bm) {
         PIX_FillCircle(bm, 12.0f, 12.0f, 9.5f, kWhite, 1.0f, 0, true);
         PIX_FillCircle(bm, 35.3f, 14.6f, 5.25f, kYellow, 1.0f, 0, true);
         PIX_FillCircle(bm, 52.0f, 34.0f, 14.0f, kBlue, 0.7f, 0, true);
         PIX_FillCircle(bm, 20.0f, 36.0f, 3.0f, kRed, 1.0f, 0, true);
         PIX_FillCircle(bm, 30.0f, 40.0f, 1.5f, kWhite, 1.0f, 0, true);
         PIX_FillCircle(bm, -2.0f, 47.0f, 6.6f, kWhite, 1.0f, PIX_MODE_ADD, true);
         PIX_Circle(bm, 35.0f, 30.0f, 7.4f, kWhite, 1.0f, 0, true);
     }},
    {"outlines_and_arcs", [](PIX_IBitmap* bm) {
         PIX_DrawRect(bm, 2, 3, 12, 8, kWhite, 1.0f, 0);
         PIX_BorderedRect(bm, 18, 3, 10, 8, kBlue, kYellow, 1.0f, 0);
         PIX_RoundRect(bm, 32, 2, 28, 20, 10, kWhite, 1.0f, 0, false);
         PIX_RoundRect(bm, 4, 24, 24, 20, 6, kYellow, 1.0f, 0, true);
         PIX_Arc(bm, 46, 36, 9.5f, 0.3f, 2.5f, kRed, 1.0f, 0, false);
         PIX_Arc(bm, 46, 36, 6.0f, -2.0f, 1.0f, kWhite, 1.0f, 0, true);
     }},
    {"blits", [](PIX_IBitmap* bm) {
         const uint32_t modes[] = {PIX_MODE_COPY, PIX_MODE_ADD, PIX_MODE_DODGE, PIX_MODE_MULTIPLY, PIX_MODE_OVERLAY,
                                   PIX_MODE_HSVADJUST};
         for (int i = 0; i < 6; ++i) {
             PIX_Blit(bm, &Picture(), (i % 4) * 16, (i / 4) * 12, 0, 0, 16, 12, 0.75f, modes[i]);
             PIX_Blit(bm, &Picture(), (i % 4) * 16, 24 + (i / 4) * 12, 0, 0, 16, 12, 1.0f,
                      modes[i] | PIX_MODE_USE_SOURCE_ALPHA);
         }
         PIX_Blit(bm, &Picture(), 32, 12, 2, 2, 12, 8, 0.5f, PIX_MODE_COPY);
         PIX_Blit(bm, &Picture(), 48, 12, 0, 0, 16, 12, 1.0f, 0xf2);  // green into alpha
         PIX_Blit(bm, &Picture(), 40, 40, 0, 0, 16, 12, 1.0f, PIX_MODE_COPY);  // clipped
     }},
    {"scaled_blits", [](PIX_IBitmap* bm) {
         PIX_ScaledBlit(bm, &Picture(), 0, 0, 24, 18, 0, 0, 16, 12, 1.0f, PIX_MODE_COPY);
         PIX_ScaledBlit(bm, &Picture(), 24, 0, 24, 18, 0, 0, 16, 12, 1.0f, PIX_MODE_FILTER_BILINEAR);
         PIX_ScaledBlit(bm, &Picture(), 48, 0, 8, 6, 0, 0, 16, 12, 1.0f, PIX_MODE_FILTER_BILINEAR);  // 3 x 3 box
         PIX_ScaledBlit(bm, &Picture(), 56, 0, 4, 3, 0, 0, 16, 12, 1.0f, PIX_MODE_FILTER_BILINEAR);  // 5 x 5 box
         PIX_ScaledBlit(bm, &Picture(), 30, 36, -30, 12, 0, 0, 16, 12, 0.8f, PIX_MODE_FILTER_BILINEAR);
         PIX_ScaledBlit(bm, &Picture(), 32, 20, 20, 28, 2.5f, 1.25f, 9.0f, 9.5f, 1.0f,
                        PIX_MODE_FILTER_BILINEAR | PIX_MODE_USE_SOURCE_ALPHA);
         PIX_ScaledBlit(bm, &Picture(), 54, 20, 10, 10, 0, 0, 16, 12, 0.5f, PIX_MODE_COPY);
     }},
    {"rotated_and_mesh_blits", [](PIX_IBitmap* bm) {
         PIX_RotatedBlit(bm, &Picture(), 0, 0, 24, 24, 0, 0, 16, 12, 0.5f, true, 1.0f, PIX_MODE_COPY);
         PIX_RotatedBlit(bm, &Picture(), 24, 0, 24, 24, 0, 0, 16, 12, -1.1f, false, 1.0f,
                         PIX_MODE_FILTER_BILINEAR | PIX_MODE_USE_SOURCE_ALPHA, 2.0f, -1.5f);
         PIX_DeltaBlit(bm, &Picture(), 0, 26, 30, 20, 1, 0, 16, 12, 0.5f, 0.1f, 0.3f, 0.5f, 0.01f, 0, false, 0.9f,
                       PIX_MODE_FILTER_BILINEAR);
         const float grid[] = {0, 0, 8, 2, 16, 0, 2, 6, 8, 6, 14, 6, 0, 12, 8, 10, 16, 12};
         PIX_TransformBlit(bm, &Picture(), 34, 26, 28, 20, grid, 3, 3, 1.0f, PIX_MODE_FILTER_BILINEAR);
     }},
    {"text", [](PIX_IBitmap* bm) {
         Text(bm, 0, kWhite, 1, 0, "Qd caf\xE9");  // Latin-1 draws as UTF-8 would
         Text(bm, PIX_FONT_OUTLINE, kYellow, 1, 16, "Mg \xE2\x82\xAC");
         Text(bm, PIX_FONT_SHADOW | PIX_FONT_MONO, kWhite, 34, 16, "Wy");
         Text(bm, PIX_FONT_VERTICAL, kRed, 1, 30, "Av");
         Text(bm, PIX_FONT_VERTICAL | PIX_FONT_VERTICAL_BOTTOMUP, kBlue, 50, 30, "Av");
     }},
    {"text_effects", [](PIX_IBitmap* bm) {
         Text(bm, PIX_FONT_INVERT, kWhite, 1, 0, "Inv");
         Text(bm, PIX_FONT_BLUR, kYellow, 34, 0, "Bl");
         Text(bm, PIX_FONT_SHADOW, kWhite, 1, 16, "Sh", 1);
         Text(bm, 0, kRed, 34, 16, "bk", 1);
         Text(bm, PIX_FONT_OUTLINE | PIX_FONT_VERTICAL, kWhite, 1, 30, "Ov");
     }},
    {"text_modes", [](PIX_IBitmap* bm) {
         for (uint32_t mode = 0; mode < 6; ++mode) {
             Text(bm, 0, PIX_MakePixel(255, 40, 180, 220), 1 + 10 * int(mode), 0, "W", 0, mode, 0.6f);
             Text(bm, PIX_FONT_MONO, PIX_MakePixel(255, 220, 90, 30), 1 + 10 * int(mode), 16, "W", 0,
                  mode | PIX_MODE_USE_SOURCE_ALPHA, 1.5f);
             Text(bm, PIX_FONT_OUTLINE, kYellow, 1 + 10 * int(mode), 32, "W", 0, mode, 0.8f);
         }
     }},
    {"curves", [](PIX_IBitmap* bm) {
         PIX_DrawQBezier(bm, 5.2f, 5.0f, 6.2f, 6.0f, 7.2f, 5.0f, kWhite, 1.0f, 0, false, 1.5f);  // one line
         PIX_DrawQBezier(bm, 36.0f, 20.0f, 18.0f, -5.0f, 3.0f, 25.0f, kYellow, 1.0f, 0, true, 0.0f);
         PIX_DrawQBezier(bm, -10.0f, 5.0f, 20.0f, 5.0f, 80.0f, 25.0f, kRed, 1.0f, 0, false, -3.0f);
         PIX_FillCBezier(bm, 2.0f, 25.0f, 12.0f, 25.0f, 26.0f, 47.0f, 36.0f, 47.0f, 36, kBlue, 0.7f, 0, 1.0f);
         PIX_FillCBezierX(bm, 40.0f, 20.0f, 60.0f, 24.0f, 44.0f, 38.0f, 62.0f, 47.0f, 50, kWhite, 0.5f, PIX_MODE_ADD,
                          1.0f);
         PIX_DrawCBezier(bm, 2.0f, 46.0f, 20.0f, 10.0f, 44.0f, 60.0f, 63.0f, 2.0f, kWhite, 1.0f, 0, true, 1.0f);
     }},
    {"scaled_positions", [](PIX_IBitmap* bm) {
         // Scale 1: whole positions round to the unscaled blit, a filtered half position
         // interpolates and stops where the right neighbour runs out.
         const struct { float sx; uint32_t mode; } rows[] = {{2.4f, 0}, {2.6f, 0}, {2.02f, PIX_MODE_FILTER_BILINEAR},
                                                              {1.98f, PIX_MODE_FILTER_BILINEAR},
                                                              {2.5f, PIX_MODE_FILTER_BILINEAR}};
         for (int i = 0; i < 5; ++i) PIX_ScaledBlit(bm, &Picture(), 0, 9 * i, 16, 8, rows[i].sx, 0, 16, 8, 1.0f,
                                                    rows[i].mode);
         PIX_ScaledBlit(bm, &Picture(), 20, 0, 24, 18, 0, 0, 16, 12, 1.0f, PIX_MODE_FILTER_BILINEAR);  // 1.5x
         PIX_ScaledBlit(bm, &Picture(), 20, 20, 32, 24, 0, 0, 16, 12, 0.5f,
                        PIX_MODE_COPY | PIX_MODE_FILTER_BILINEAR);  // half weight blends, not averages
         PIX_DeltaBlit(bm, &Picture(), 50, 0, 12, 16, 0, 0, 16, 12, 0, 1, 1, 0, 0, 0, false, 1.0f, 0);  // transpose
         PIX_DeltaBlit(bm, &Picture(), 54, 20, 8, 6, 0, 0, 16, 12, 2, 0, 0, 2, 0, 0, false, 1.0f, 0);  // halving
         PIX_DeltaBlit(bm, &Picture(), 54, 30, 10, 12, 15.5f, 0, 16, 12, -1, 0, 0, 1, 0, 0, false, 1.0f, 0);
     }},
    {"line_rules", [](PIX_IBitmap* bm) {
         // A point, a line clipped at the left, one drawn upwards, a diagonal; the minor
         // coordinate moving at the half-pixel crossing, a tie included.
         for (const auto& l : {std::array{4, 4, 4, 4}, {-5, 0, 3, 0}, {2, 8, 2, 6}, {1, 15, 4, 12}, {8, 0, 12, 2},
                               {17, 0, 15, 5}})
             PIX_Line(bm, l[0], l[1], l[2], l[3], kWhite, 1.0f, 0, false);
         // Off the whole-word paths an anti-aliased diagonal takes 3w/4, its side w/4.
         PIX_Line(bm, 26, 1, 23, 4, 0, 0.5f, 0, true);
         // A float line from pixel centre to centre; shorter than a pixel, nothing
         // anti-aliased but one plain pixel; weight-0 partners left alone, even in HSV mode.
         PIX_FLine(bm, 1.5f, 20.0f, 5.5f, 20.0f, kWhite, 1.0f, 0, true);
         PIX_FLine(bm, 8.3f, 20.0f, 8.9f, 20.2f, kWhite, 1.0f, 0, true);
         PIX_FLine(bm, 10.3f, 20.0f, 10.9f, 20.2f, kWhite, 1.0f, 0, false);
         PIX_FLine(bm, 1.0f, 24.0f, 8.0f, 24.0f, 0x80808080u, 1.0f, PIX_MODE_HSVADJUST, true);
         // Centres round down: -2.5 lands on column -3, as truncation would not.
         PIX_FillCircle(bm, -2.5f, 34.0f, 4.6f, kYellow, 1.0f, 0, false);
         PIX_Circle(bm, -0.5f, 44.0f, 1.5f, kWhite, 1.0f, 0, true);
     }},
    {"curve_outlines", [](PIX_IBitmap* bm) {
         // Cut by three edges, doubling back, steep across the top and bottom; pieces as
         // fine as 0.7 pixels, in three modes.
         PIX_DrawCBezier(bm, -6, 30, 10, -20, 40, 60, 70, 8, kWhite, 1.0f, 0, true, 0.7f);
         PIX_DrawCBezier(bm, 3, 2, 40, 2, 0, 45, 37, 45, kYellow, 0.45f, PIX_MODE_ADD, true, 0.7f);
         PIX_DrawCBezier(bm, 50, -9, 51, 60, 52, -9, 53, 60, kRed, 1.0f, PIX_MODE_MULTIPLY, true, 0.7f);
     }},
    {"convex_polygons", [](PIX_IBitmap* bm) {
         // Added twice where two overlap; a ring of more points than the inline buffer
         // holds; one reaching past three edges.
         std::vector<int> xs, ys;
         for (int i = 0; i < 600; ++i) {
             xs.push_back(int(std::lround(16 + 14 * std::cos(i * 0.01047))));
             ys.push_back(int(std::lround(24 + 20 * std::sin(i * 0.01047))));
         }
         PIX_FillConvexPolygon(bm, xs.data(), ys.data(), 600, PIX_MakePixel(255, 40, 80, 120), 1.0f, PIX_MODE_ADD);
         const int hx[] = {30, 44, 52, 48, 36, 26}, hy[] = {6, 2, 14, 30, 34, 20};
         PIX_FillConvexPolygon(bm, hx, hy, 6, PIX_MakePixel(255, 120, 60, 20), 1.0f, PIX_MODE_ADD);
         const int bx[] = {40, 90, 70, 20}, by[] = {-10, 20, 70, 40};
         PIX_FillConvexPolygon(bm, bx, by, 4, kBlue, 0.5f, 0);
     }},
    {"gradients", [](PIX_IBitmap* bm) {
         // Each mode over its own patch, reaching past the edges; the source-alpha and
         // filter flags ignored, an unknown mode drawing nothing; channels run past 0..1.
         const uint32_t modes[] = {0, 1, 2, 3, 4, 5, 0x10003, 0x100, 6};
         for (int i = 0; i < 9; ++i)
             PIX_GradRect(bm, i % 3 * 22 - 3, i / 3 * 16 - 2, 22, 17, 0.5f - i % 2, 0.25f, 1, 1 + 0.5f * (i % 2),
                          1 / 32.f, -1 / 16.f, 0.04f, -1 / 16.f, 0, 1 / 8.f, -1 / 8.f, 1 / 64.f, modes[i]);
     }},
    {"delta_blits", [](PIX_IBitmap* bm) {
         // A per-row change of the per-pixel step, clipped at the top left, mapped as the
         // unclipped blit maps it; opacity growing past full strength across each strip,
         // every mode clamped at each pixel's own weight, the source-alpha bit ignored.
         PIX_DeltaBlit(bm, &Picture(), -5, -7, 37, 40, 0.2f, 0.4f, 16, 12, 0.25f, 0.125f, 0.0625f, 0.375f, 0.03125f,
                       -0.015625f, false, 1.0f, 0);
         for (uint32_t i = 0; i < 12; ++i)
             PIX_DeltaBlitAlpha(bm, &Picture(), 32 + i % 2 * 16, i / 2 * 5, 16, 4, 0, 0, 16, 12, 1, 0, 0, 1, 0, 0,
                                false, 0.25f, 1.0f / 16, 0, 0, i / 2 | (i % 2 ? PIX_MODE_USE_SOURCE_ALPHA : 0u));
     }},
    {"bitmap_ops", [](PIX_IBitmap* bm) {
         // Masked clears reaching past the edges, channel scales and offsets inside a
         // clipped rectangle, and a fill that reaches rows only through its start column.
         PIX_ClearRect(bm, -2, 1, 12, 100, 0xff00ffffu, 0);
         PIX_ClearRect(bm, 60, 44, INT32_MAX, INT32_MAX, 0, 0xffffffffu);
         PIX_MultiplyAddRect(bm, 14, -3, 14, 12, 0.5f, 2, 1, 1, 0, 0, 1, -20);
         PIX_MultiplyAddRect(bm, 14, 12, 14, 12, 3, 1, -1, 1, 0, 300, 0, 0);
         const char* rows[] = {"..#..", ".....", "#...#", "..#..", "....."};
         for (int y = 0; y < 5; ++y)
             for (int x = 0; x < 5; ++x)
                 PIX_FillRect(bm, 34 + 4 * x, 10 + 4 * y, 4, 4, rows[y][x] == '#' ? kRed : kBlack, 1.0f, 0);
         PIX_SimpleFill(bm, 45, 18, PIX_MakePixel(0, 0, 255, 0), 0xffffff00u, kBlack);
     }},
    {"small_circles", [](PIX_IBitmap* bm) {
         const float radii[] = {0.4f, 1.0f, 1.5f, 2.0f, 2.01f, 3.0f};  // masks, then the drawer
         for (int i = 0; i < 6; ++i) {
             PIX_Circle(bm, 5.0f + 10 * i, 5.0f, radii[i], kWhite, 1.0f, 0, false);
             PIX_FillCircle(bm, 5.0f + 10 * i, 16.0f, radii[i], kYellow, 1.0f, 0, false);
             PIX_Circle(bm, 5.0f + 10 * i, 27.0f, radii[i], kWhite, 1.0f, 0, true);
             PIX_FillCircle(bm, 5.3f + 10 * i, 38.6f, radii[i], kBlue, 1.0f, 0, true);
         }
     }},
};

TEST(Golden, Images) {
    for (const auto& [name, draw] : kGoldens) {
        CanaryBitmap bm(kW, kH);
        for (int y = 0; y < kH; ++y)  // a soft gradient, so that blends show
            for (int x = 0; x < kW; ++x) bm.at(x, y) = PIX_MakePixel(255, 40 + y * 3, 60 + x, 90);
        draw(&bm);
        EXPECT_EQ(bm.damagedCanaries(), 0) << name;
        EXPECT_TRUE(testutil::MatchesGolden(bm, std::string("raster_") + name));
    }
}

}  // namespace
