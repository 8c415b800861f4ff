#include <gtest/gtest.h>

#include <cmath>
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
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x) *PIX_PixelAddress(*GetDrawBitmap(), x, y) = v;
    }
    uint32_t At(int x, int y) const { return *PIX_PixelAddress(*GetDrawBitmap(), x, y); }
};

// A bitmap whose pixel (x, y) says where it came from.
PIX_MemBitmap* Numbered(int w, int h) {
    auto* bm = new PIX_MemBitmap(w, h, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) *PIX_PixelAddress(*bm, x, y) = PIX_MakePixel(255, x, y, 7);
    return bm;
}

// A strip of `frames` frames of size fw x fh; every pixel of frame k (1-based) is red k.
PIX_MemBitmap* Frames(int frames, int fw, int fh, bool horizontal) {
    auto* bm = new PIX_MemBitmap(horizontal ? fw * frames : fw, horizontal ? fh : fh * frames, 4);
    for (int y = 0; y < bm->getHeight(); ++y)
        for (int x = 0; x < bm->getWidth(); ++x)
            *PIX_PixelAddress(*bm, x, y) = PIX_MakePixel(255, 1 + (horizontal ? x / fw : y / fh), 0, 0);
    return bm;
}

const IChannelBlend kCopy(IChannelBlend::kBlendClobber, 1.0f);

}  // namespace

TEST(DrawBitmap, BlitsOnlyThePartInsideTheDrawRectangle) {
    std::unique_ptr<PIX_MemBitmap> src(Numbered(10, 10));
    const IBitmapStrip strip{src.get(), 10, 10, 1, false};
    struct Case { IRECT draw, dest; int srcX, srcY; } cases[] = {
        {{0, 0, 20, 20}, {5, 5, 15, 15}, 0, 0},     // wholly inside
        {{8, 0, 20, 20}, {5, 5, 15, 15}, 0, 0},     // draw rectangle cuts the left
        {{0, 7, 20, 20}, {5, 5, 15, 15}, 0, 0},     // ... the top
        {{0, 0, 11, 20}, {5, 5, 15, 15}, 0, 0},     // ... the right
        {{0, 0, 20, 12}, {5, 5, 15, 15}, 0, 0},     // ... the bottom
        {{6, 6, 9, 9}, {5, 5, 15, 15}, 2, 3},       // inside the destination, with a source offset
        {{0, 0, 20, 20}, {-4, -3, 6, 7}, 0, 0},     // destination off the buffer's top left
        {{0, 0, 20, 20}, {15, 16, 25, 26}, 0, 0},   // ... off its bottom right
        {{0, 0, 5, 5}, {5, 5, 15, 15}, 0, 0},       // touching only: nothing
        {{16, 16, 20, 20}, {5, 5, 15, 15}, 0, 0},   // apart: nothing
        {{0, 0, 20, 20}, {0, 0, 0, 0}, 0, 0},       // empty destination: nothing
        {{0, 0, 20, 20}, {2, 2, 18, 18}, 4, 4},     // larger than what the source has left
    };
    for (const Case& c : cases) {
        DrawGraphics g(20, 20);
        g.SetDrawRect(c.draw);
        EXPECT_TRUE(g.DrawBitmap(&strip, &c.dest, c.srcX, c.srcY, &kCopy));
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                uint32_t expect = 0;
                const int sx = c.srcX + x - c.dest.L, sy = c.srcY + y - c.dest.T;
                if (c.dest.Meets(c.draw) && IRECT(c.dest).Contains(x, y) && c.draw.Contains(x, y) && sx >= 0 &&
                    sx < 10 && sy >= 0 && sy < 10)
                    expect = PIX_MakePixel(255, sx, sy, 7);
                ASSERT_EQ(g.At(x, y), expect) << "case " << &c - cases << " at " << x << "," << y;
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
            {&strip, 1, 1}, {&strip, 2, 2}, {&strip, 4, 4}, {&strip, 0, 1}, {&strip, -3, 1}, {&single, 3, 1}};
        const IRECT dest(10, 10, 35, 35);
        for (const Case& c : cases) {
            DrawGraphics g(40, 40);
            g.DrawBitmapState(c.strip, &dest, c.frame, &kCopy);
            EXPECT_EQ(PIX_PixelR(g.At(10, 10)), c.drawn) << "frame " << c.frame;
            EXPECT_EQ(PIX_PixelR(g.At(34, 34)), c.drawn) << "frame " << c.frame;
            EXPECT_EQ(g.At(35, 35) | g.At(9, 9), 0u);
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

    // A bitmap the cache does not own is left alone.
    PIX_MemBitmap own(2, 2, 4);
    IBitmapStrip foreign{&own, 2, 2, 1, false};
    g.DropBitmap(&foreign);
    EXPECT_EQ(foreign.bitmap, &own);
}

TEST(DrawBitmapText, LaysCharactersOutInCells) {
    // Frames for the space (frame 1) up to 'Y' (frame 58), 4 x 6 pixels each.
    std::unique_ptr<PIX_MemBitmap> font(Frames(58, 4, 6, true));
    const IBitmapStrip strip{font.get(), font->getWidth(), 6, 58, true};
    struct Case {
        const char* what;
        IRECT rect;
        int align;
        bool vCenter, multiline;
        int cw, ch, offset;
        const char* text;
        std::vector<std::string> rows;  // frame digits per cell row (first pixel of each 4-wide cell), '.' none
    } cases[] = {
        {"left, one line", {0, 0, 40, 6}, 0, false, false, 4, 6, 0, "!\"#", {"234......."}},
        {"single line cuts at the box", {0, 0, 8, 6}, 0, false, false, 4, 6, 0, "!\"#", {"23........"}},
        {"right", {0, 0, 40, 6}, 2, false, false, 4, 6, 0, "!\"#", {".......234"}},
        {"centred", {0, 0, 40, 6}, 1, false, false, 4, 6, 0, "!\"", {"....23...."}},
        {"bad alignment is left", {0, 0, 40, 6}, 7, false, false, 4, 6, 0, "!\"", {"23........"}},
        {"gap between characters", {0, 0, 40, 6}, 0, false, false, 4, 6, 4, "!\"#", {"2.3.4....."}},
        // 40 pixels of text in a 14-pixel box: three characters a line, four lines.
        {"multi-line keeps every character", {0, 0, 14, 24}, 0, false, true, 4, 6, 0, "!\"#$%&'()*",
         {"234.......", "567.......", "890.......", "1........."}},
        {"multi-line that fits", {0, 0, 40, 12}, 0, false, true, 4, 6, 0, "!\"", {"23........", ".........."}},
        {"narrower than a character", {0, 0, 3, 6}, 0, false, false, 4, 6, 0, "!\"", {".........."}},
    };
    for (const Case& c : cases) {
        DrawGraphics g(40, 24);
        IText style;
        style.mAlign = c.align;
        EXPECT_TRUE(g.DrawBitmapText(&strip, &c.rect, &style, &kCopy, c.text, c.vCenter, c.multiline, c.cw, c.ch,
                                     c.offset));
        for (size_t row = 0; row < c.rows.size(); ++row) {
            std::string got;
            for (int cell = 0; cell < 10; ++cell) {
                const uint32_t p = g.At(cell * 4, int(row) * 6);
                got += p ? char('0' + PIX_PixelR(p) % 10) : '.';
            }
            EXPECT_EQ(got, c.rows[row]) << c.what << ", row " << row;
        }
    }
}

namespace {

// The back buffer as text, rows split by '|': '#' where something was drawn.
std::string Picture(const DrawGraphics& g) {
    std::string rows;
    for (int y = 0; y < g.Height(); ++y) {
        if (y) rows += '|';
        for (int x = 0; x < g.Width(); ++x) rows += g.At(x, y) ? '#' : '.';
    }
    return rows;
}

}  // namespace

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
             g.DrawPoint(&white, 5.0f, -1e30f);
         },
         "..#.......|..#.......|..#.......|##########|..#.......|..#.......|..#......."},
        {"vertical and horizontal", 10, 7,
         [&](DrawGraphics& g) {
             g.DrawVerticalLine(&white, 0, 4, 6);
             g.DrawHorizontalLine(&white, 0, 9, 7);
         },
         ".......###|..........|..........|..........|#.........|#.........|#........."},
        {"vertical at 60 percent", 10, 7, [&](DrawGraphics& g) { g.DrawVerticalLineInRect(&white, &box, 0.6f); },
         "..........|.....#....|.....#....|.....#....|.....#....|.....#....|.........."},
        {"fraction clamps", 10, 7,
         [&](DrawGraphics& g) {
             g.DrawVerticalLineInRect(&white, &box, -3.0f);
             g.DrawHorizontalLineInRect(&white, &box, 7.0f);
         },
         "..........|..######..|..#.......|..#.......|..#.......|..#.......|.........."},
        {"horizontal a quarter up", 10, 7, [&](DrawGraphics& g) { g.DrawHorizontalLineInRect(&white, &box, 0.25f); },
         "..........|..........|..........|..........|..######..|..........|.........."},
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
        {"rounded outline", 12, 10, [&](DrawGraphics& g) { g.DrawRoundRect(&white, &round, nullptr, 3, false); },
         "............|...#######..|..#.......#.|.#.........#|.#.........#|"
         ".#.........#|.#.........#|.#.........#|..#.......#.|...#######.."},
        {"right half arc", 12, 10, [&](DrawGraphics& g) { g.DrawArc(&white, 6, 5, 4, 0.0f, float(M_PI)); },
         "............|......###...|.........#..|..........#.|..........#.|"
         "..........#.|..........#.|..........#.|.........#..|......###..."},
        {"fill below a flat curve", 12, 10,
         [&](DrawGraphics& g) { g.FillCubicBezier(&white, 9, 0, 4, 4, 4, 8, 4, 11, 4); },
         "............|............|............|............|###########.|"
         "###########.|###########.|###########.|###########.|###########."},
    };
    for (const Case& c : cases) {
        DrawGraphics g(c.w, c.h);
        c.draw(g);
        EXPECT_EQ(Picture(g), c.picture) << c.what;
    }
}

TEST(DrawRotatedMask, LayersMaskAndTopOverTheBaseWithoutItsAlpha) {
    // At angle 0 every stage is a plain per-pixel combine, so the expected pixel is the
    // chain of combiners the stages name.
    const uint32_t base = PIX_MakePixel(255, 10, 20, 30), mask = PIX_MakePixel(200, 40, 50, 60),
                   top = PIX_MakePixel(100, 90, 80, 70), back = PIX_MakePixel(255, 1, 2, 3);
    auto fill = [](uint32_t v) {
        auto* bm = new PIX_MemBitmap(4, 4, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) *PIX_PixelAddress(*bm, x, y) = v;
        return std::unique_ptr<PIX_MemBitmap>(bm);
    };
    auto b = fill(base), m = fill(mask), t = fill(top);
    const IBitmapStrip sb{b.get(), 4, 4, 1, false}, sm{m.get(), 4, 4, 1, false}, st{t.get(), 4, 4, 1, false};
    auto combine = [](uint32_t d, uint32_t s, PIX_DrawMode mode) {
        PIX_SelectCombiner(mode, 256)(reinterpret_cast<uint8_t*>(&d), PIX_PixelR(s), PIX_PixelG(s), PIX_PixelB(s),
                                      PIX_PixelA(s), 256);
        return d;
    };
    uint32_t expect = combine(base & 0xFFFFFF00u, mask, 0x10001);
    expect = combine(expect, top, 0x10000);
    expect = combine(back, expect, 0x10000);

    DrawGraphics g(8, 8);
    g.Clear(back);
    EXPECT_TRUE(g.DrawRotatedMask(&sb, &sm, &st, 2, 3, 0.0));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(g.At(x, y), x >= 2 && x < 6 && y >= 3 && y < 7 ? expect : back) << x << "," << y;
    // An odd width turns about a half pixel; it still stays inside its box.
    const IBitmapStrip odd{b.get(), 3, 4, 1, false};
    g.Clear(back);
    g.DrawRotatedMask(&odd, &sm, &st, 0, 0, 45.0);
    for (int i = 0; i < 64; ++i) ASSERT_TRUE((i % 8 < 3 && i / 8 < 4) || g.At(i % 8, i / 8) == back) << i;
}

TEST(ForcePixel, StoresInsideAndIgnoresOutside) {
    DrawGraphics g(6, 4);
    const IColor c(0, 1, 2, 3);  // stored as is, even fully transparent
    struct Case { int x, y; bool inside; } cases[] = {
        {0, 0, true}, {5, 3, true}, {-1, 0, false}, {6, 0, false}, {0, 4, false}, {0, -1, false}};
    for (const Case& k : cases) {
        g.Clear(0xdeadbeef);
        EXPECT_TRUE(g.ForcePixel(&c, k.x, k.y));
        for (int i = 0; i < 24; ++i)
            EXPECT_EQ(g.At(i % 6, i / 6), k.inside && i == k.y * 6 + k.x ? PIX_MakePixel(0, 1, 2, 3) : 0xdeadbeef);
    }
}

