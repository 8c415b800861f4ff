// The engine's drawing: bitmaps clipped to the draw rectangle, strip frames, run-time
// strips, bitmap text and the primitives' own coordinate rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "gui/bitmap_cache.h"
#include "gui/igraphics.h"
#include "raster/combiners.h"
#include "recording_graphics.h"

namespace {

using guitest::RecordingGraphics;

// A back end whose images come from a table and whose draw rectangle tests may set.
class DrawGraphics : public RecordingGraphics {
public:
    DrawGraphics(int w, int h) : RecordingGraphics(nullptr, w, h) {
        PrepDraw();
        mDrawRECT = IRECT(0, 0, w, h);
        Clear(0);
    }
    std::function<PIX_IBitmap*(const char*)> images;
    PIX_IBitmap* OSLoadBitmap(int, const char* name) override { return images ? images(name) : nullptr; }

    void SetDrawRect(const IRECT& r) { mDrawRECT = r; }
    void Clear(uint32_t v) {
        for (int i = 0; i < Width() * Height(); ++i) *PIX_PixelAddress(*GetDrawBitmap(), i % Width(), i / Width()) = v;
    }
    uint32_t At(int x, int y) const { return *PIX_PixelAddress(*GetDrawBitmap(), x, y); }
    // The back buffer as text, rows split by '|': '#' where something was drawn.
    std::string Picture() const {
        std::string rows;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x) rows += std::string(y && !x ? "|" : "") + (At(x, y) ? '#' : '.');
        return rows;
    }
};

// A w x h bitmap whose pixel (x, y) is fn(x, y).
PIX_MemBitmap* Made(int w, int h, const std::function<uint32_t(int, int)>& fn) {
    auto* bm = new PIX_MemBitmap(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) *PIX_PixelAddress(*bm, x, y) = fn(x, y);
    return bm;
}

// A strip of `frames` frames of size fw x fh; every pixel of frame k (1-based) is red k.
PIX_MemBitmap* Frames(int frames, int fw, int fh, bool horizontal) {
    return Made(horizontal ? fw * frames : fw, horizontal ? fh : fh * frames,
                [=](int x, int y) { return PIX_MakePixel(255, 1 + (horizontal ? x / fw : y / fh), 0, 0); });
}

const IChannelBlend kCopy(IChannelBlend::kBlendClobber, 1.0f);

TEST(DrawBitmap, BlitsOnlyThePartInsideTheDrawRectangle) {
    std::unique_ptr<PIX_MemBitmap> src(Made(10, 10, [](int x, int y) { return PIX_MakePixel(255, x, y, 7); }));
    const IBitmapStrip strip{src.get(), 10, 10, 1, false};
    struct Case { IRECT draw, dest; int srcX, srcY; } cases[] = {
        {{8, 0, 20, 20}, {5, 5, 15, 15}, 0, 0},    // the draw rectangle cuts the left
        {{0, 7, 20, 20}, {5, 5, 15, 15}, 0, 0},    // ... the top
        {{0, 0, 11, 20}, {5, 5, 15, 15}, 0, 0},    // ... the right
        {{0, 0, 20, 12}, {5, 5, 15, 15}, 0, 0},    // ... the bottom
        {{6, 6, 9, 9}, {5, 5, 15, 15}, 2, 3},      // inside the destination, with a source offset
        {{0, 0, 20, 20}, {-4, -3, 6, 7}, 0, 0},    // destination off the buffer's top left
        {{0, 0, 20, 20}, {15, 16, 25, 26}, 0, 0},  // ... off its bottom right
        {{0, 0, 5, 5}, {5, 5, 15, 15}, 0, 0},      // touching only: nothing
        {{0, 0, 20, 20}, {2, 2, 18, 18}, 4, 4},    // larger than what the source has left
    };
    for (const Case& c : cases) {
        DrawGraphics g(20, 20);
        g.SetDrawRect(c.draw);
        EXPECT_TRUE(g.DrawBitmap(&strip, &c.dest, c.srcX, c.srcY, &kCopy));
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const int sx = c.srcX + x - c.dest.L, sy = c.srcY + y - c.dest.T;
                const bool in = c.dest.Contains(x, y) && c.draw.Contains(x, y) && sx < 10 && sy < 10;
                ASSERT_EQ(g.At(x, y), in ? PIX_MakePixel(255, sx, sy, 7) : 0u) << &c - cases << ": " << x << "," << y;
            }
    }
}

TEST(DrawBitmapState, DrawsTheAskedFrameInPlace) {
    for (bool horizontal : {true, false}) {
        std::unique_ptr<PIX_MemBitmap> bm(Frames(4, 25, 25, horizontal));
        const IBitmapStrip strip{bm.get(), bm->getWidth(), bm->getHeight(), 4, horizontal};
        const IBitmapStrip single{bm.get(), bm->getWidth(), bm->getHeight(), 1, horizontal};
        // Frame 0 or below draws frame 1, as does any frame of a one-frame strip.
        struct Case { const IBitmapStrip* strip; int frame, drawn; } cases[] = {
            {&strip, 2, 2}, {&strip, 4, 4}, {&strip, -3, 1}, {&single, 3, 1}};
        const IRECT dest(10, 10, 35, 35);
        for (const Case& c : cases) {
            DrawGraphics g(40, 40);
            g.DrawBitmapState(c.strip, &dest, c.frame, &kCopy);
            EXPECT_EQ(std::tuple(PIX_PixelR(g.At(10, 10)), PIX_PixelR(g.At(34, 34)), g.At(35, 35) | g.At(9, 9)),
                      std::tuple(c.drawn, c.drawn, 0u)) << "frame " << c.frame;
        }
    }
}

TEST(RuntimeStrips, KeepTheirOrientationAndDropCleanly) {
    DrawGraphics g(10, 10);
    g.images = [](const char*) -> PIX_IBitmap* { return Frames(2, 10, 10, true); };
    IBitmapStrip* loaded = g.LoadBitmapStrip(2101, "drop.png", 2, true);
    IBitmapStrip* again = g.LoadBitmapStrip(2101, "drop.png", 2, true);
    const int listed = ScaledBitmapList::Instance().Count();

    const IRECT cropRect(5, 0, 15, 10);
    auto red = [](const IBitmapStrip& s, int x, int y) { return PIX_PixelR(*PIX_PixelAddress(*s.bitmap, x, y)); };
    IBitmapStrip crop = g.CropBitmapStrip(loaded, &cropRect);
    EXPECT_EQ(std::tuple(crop.horizontal, crop.width, red(crop, 0, 0), red(crop, 5, 0)), std::tuple(true, 10, 1, 2));
    IBitmapStrip s = g.ScaleBitmapStrip(loaded, 10, 5);
    EXPECT_EQ(std::tuple(s.horizontal, s.frames, s.width, s.height, red(s, 0, 0), red(s, 9, 4)),
              std::tuple(true, 2, 10, 5, 1, 2));

    // Keeping twice must not let a drop leave a dangling entry behind.
    const int cached = BitmapCache::Instance().Count();
    g.KeepBitmap(&crop);
    g.KeepBitmap(&crop);
    EXPECT_EQ(BitmapCache::Instance().Count(), cached);
    g.DropBitmap(&crop);
    EXPECT_TRUE(crop.bitmap == nullptr && BitmapCache::Instance().Count() == cached - 1);

    // Dropping a loaded strip blanks every record of it and takes them out of the rescale.
    g.DropBitmap(loaded);
    EXPECT_EQ(ScaledBitmapList::Instance().Count(), listed - 2);
    g.RescaleBitmaps(2.0);
    EXPECT_TRUE(loaded->IsEmpty() && again->IsEmpty());
}

TEST(DrawBitmapText, LaysCharactersOutInCells) {
    // Frames for the space (frame 1) up to 'Y' (frame 58), 4 x 6 pixels each.
    std::unique_ptr<PIX_MemBitmap> font(Frames(58, 4, 6, true));
    const IBitmapStrip strip{font.get(), font->getWidth(), 6, 58, true};
    // `rows`: frame digits per cell row (first pixel of each 4-wide cell), '.' for none.
    struct Case { IRECT rect; int align; bool multiline; int offset; const char* text; const char* rows; } cases[] = {
        {{0, 0, 8, 6}, 0, false, 0, "!\"#", "23........"},  // one line cuts at the box
        {{0, 0, 40, 6}, 2, false, 0, "!\"#", ".......234"},
        {{0, 0, 40, 6}, 1, false, 0, "!\"", "....23...."},
        {{0, 0, 40, 6}, 0, false, 4, "!\"#", "2.3.4....."},  // a gap between characters
        // 40 pixels of text in a 14-pixel box: three characters a line, four lines.
        {{0, 0, 14, 24}, 0, true, 0, "!\"#$%&'()*", "234.......567.......890.......1........."},
        {{0, 0, 3, 6}, 0, false, 0, "!\"", ".........."},  // narrower than a character
    };
    for (const Case& c : cases) {
        DrawGraphics g(40, 24);
        IText style;
        style.mAlign = c.align;
        EXPECT_TRUE(g.DrawBitmapText(&strip, &c.rect, &style, &kCopy, c.text, false, c.multiline, 4, 6, c.offset));
        std::string got;
        for (size_t cell = 0; cell < std::strlen(c.rows); ++cell) {
            const uint32_t p = g.At(int(cell % 10) * 4, int(cell / 10) * 6);
            got += p ? char('0' + PIX_PixelR(p) % 10) : '.';
        }
        EXPECT_EQ(got, c.rows) << c.text << " in " << c.rect.R;
    }
}

// The primitives with rules of their own; those that only hand their arguments to the
// raster library are its tests' business.
TEST(ShapePrimitives, LandOnTheirPixels) {
    const IColor white = COLOR_WHITE;
    const IRECT box(2, 1, 7, 5), round(1, 1, 11, 9);
    using Draw = std::function<void(DrawGraphics&)>;
    struct Case { const char* what; int w, h; Draw draw; const char* picture; } cases[] = {
        {"outline includes R and B", 10, 7, [&](DrawGraphics& g) { g.DrawRectOutline(&white, &box); },
         "..........|..######..|..#....#..|..#....#..|..#....#..|..######..|.........."},
        {"float ends truncate", 10, 7, [&](DrawGraphics& g) { g.DrawLine(&white, 1.9f, 2.9f, 5.99f, 2.2f); },
         "..........|..........|.#####....|..........|..........|..........|.........."},
        // Ends past the int range saturate and clip instead of wrapping; a point there is dropped.
        {"far-off ends", 10, 7,
         [&](DrawGraphics& g) {
             g.DrawLine(&white, -1e30f, 3.0f, 1e30f, 3.0f);
             g.DrawRadialLine(&white, 2.0f, 0.0f, 0.0f, 0.0f, -1e30f);
             g.DrawPoint(&white, 1e30f, 1.0f);
         },
         "..#.......|..#.......|..#.......|##########|..#.......|..#.......|..#......."},
        {"fractions of a rectangle, clamped", 10, 7,
         [&](DrawGraphics& g) {
             g.DrawVerticalLineInRect(&white, &box, 0.6f);
             g.DrawVerticalLineInRect(&white, &box, -3.0f);
             g.DrawHorizontalLineInRect(&white, &box, 0.25f);
             g.DrawHorizontalLineInRect(&white, &box, 7.0f);
         },
         "..........|..######..|..#..#....|..#..#....|..######..|..#..#....|.........."},
        // Downwards the float angle lies a hair past pi: both ends truncate one pixel
        // toward the upper left.
        {"radial up and down", 10, 7,
         [&](DrawGraphics& g) {
             g.DrawRadialLine(&white, 4.0f, 3.0f, 0.0f, 1.0f, 3.0f);
             g.DrawRadialLine(&white, 8.0f, 2.0f, float(M_PI), 2.0f, 4.0f);
         },
         "....#.....|....#.....|....#.....|.......#..|.......#..|.......#..|.........."},
        {"filled rounded rectangle", 12, 10, [&](DrawGraphics& g) { g.FillRoundRect(&white, &round, nullptr, 3, false); },
         "............|...######...|..########..|.##########.|.##########.|"
         ".##########.|.##########.|..########..|...######...|............"},
    };
    for (const Case& c : cases) {
        DrawGraphics g(c.w, c.h);
        c.draw(g);
        EXPECT_EQ(g.Picture(), c.picture) << c.what;
    }
}

TEST(DrawRotatedMask, LayersMaskAndTopOverTheBaseWithoutItsAlpha) {
    // At angle 0 every stage is a plain per-pixel combine, so the expected pixel is the
    // chain of combiners the stages name.
    const uint32_t base = PIX_MakePixel(255, 10, 20, 30), mask = PIX_MakePixel(200, 40, 50, 60),
                   top = PIX_MakePixel(100, 90, 80, 70), back = PIX_MakePixel(255, 1, 2, 3);
    auto fill = [](uint32_t v) { return std::unique_ptr<PIX_MemBitmap>(Made(4, 4, [v](int, int) { return v; })); };
    auto b = fill(base), m = fill(mask), t = fill(top);
    const IBitmapStrip sb{b.get(), 4, 4, 1, false}, sm{m.get(), 4, 4, 1, false}, st{t.get(), 4, 4, 1, false};
    auto combine = [](uint32_t d, uint32_t s, PIX_DrawMode mode) {
        PIX_SelectCombiner(mode, 256)(reinterpret_cast<uint8_t*>(&d), PIX_PixelR(s), PIX_PixelG(s), PIX_PixelB(s),
                                      PIX_PixelA(s), 256);
        return d;
    };
    const uint32_t expect = combine(back, combine(combine(base & 0xFFFFFF00u, mask, 0x10001), top, 0x10000), 0x10000);

    DrawGraphics g(8, 8);
    g.Clear(back);
    EXPECT_TRUE(g.DrawRotatedMask(&sb, &sm, &st, 2, 3, 0.0));
    for (int i = 0; i < 64; ++i) {
        const int x = i % 8, y = i / 8;
        ASSERT_EQ(g.At(x, y), x >= 2 && x < 6 && y >= 3 && y < 7 ? expect : back) << x << "," << y;
    }
    // An odd width turns about a half pixel; it still stays inside its box.
    const IBitmapStrip odd{b.get(), 3, 4, 1, false};
    g.Clear(back);
    g.DrawRotatedMask(&odd, &sm, &st, 0, 0, 45.0);
    for (int i = 0; i < 64; ++i) ASSERT_TRUE((i % 8 < 3 && i / 8 < 4) || g.At(i % 8, i / 8) == back) << i;
}

}  // namespace
