// Bitmaps clipped to the draw rectangle, strip frames, strip rescaling and the font cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "gui/bitmap_cache.h"
#include "gui/font_cache.h"
#include "gui/igraphics.h"
#include "raster/cached_font.h"
#include "raster/fill.h"
#include "raster/strip_resample.h"
#include "fixtures.h"

namespace {

using guitest::RecordingGraphics;

// A cleared back buffer whose draw rectangle tests may set.
class DrawGraphics : public RecordingGraphics {
public:
    DrawGraphics(int w, int h) : RecordingGraphics(nullptr, w, h) {
        PrepDraw();
        PIX_Clear(GetDrawBitmap(), 0);
        mDrawRECT = IRECT(0, 0, w, h);
    }
    void SetDrawRect(const IRECT& r) { mDrawRECT = r; }
    uint32_t At(int x, int y) const { return *PIX_PixelAddress(*GetDrawBitmap(), x, y); }
};

// A w x h bitmap whose pixel (x, y) is fn(x, y).
using PixelFn = std::function<uint32_t(int x, int y)>;

PIX_MemBitmap* Made(int w, int h, const PixelFn& fn) {
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

// Stands in for the back end's image loader: images by file name, every load noted.
class FakeImages {
public:
    void Add(const std::string& name, int w, int h, PixelFn fn) { mImages[name] = {w, h, std::move(fn)}; }
    ImageLoader Loader() {
        return [this](int, const char* name) -> PIX_IBitmap* {
            names.push_back(name);
            auto it = mImages.find(name);
            return it == mImages.end() ? nullptr : Made(it->second.w, it->second.h, it->second.fn);
        };
    }
    std::vector<std::string> names;

private:
    struct Image { int w, h; PixelFn fn; };
    std::map<std::string, Image> mImages;
};

uint32_t Px(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

PixelFn Solid(uint32_t v) { return [v](int, int) { return v; }; }

TEST(RescaleStrips, SizesFollowTheScaleWithAGapPerFrame) {
    struct Case { int id, w, h; unsigned rs; double scale; int frames; bool horizontal; int expectW, expectH; } cases[] = {
        {1101, 300, 90, 2, 1.5, 3, true, 228, 67},   // 150 x 1.5 = 225 + 3 gap pixels; 67.5 truncates
        {1102, 300, 90, 2, 1.5, 3, false, 225, 70},  // gaps go below each frame
        {1104, 301, 91, 2, 1.0, 1, true, 150, 45},   // odd file sizes divide down
        {1107, 300, 90, 0, 1.0, 1, true, 300, 90},   // a resource scale of 0 counts as 1
        {1108, 300, 90, 0xffffffffu, 1.0, 1, true, 0, 0},  // one beyond the int range stays positive
        {1109, 40, 20, 1, 0.1, 1, false, 4, 2},  {1110, 40, 20, 1, std::nan(""), 1, false, 0, 0},
        {1111, 40, 20, 1, 1e300, 1, false, 0, 0}, {1112, 40, 20, 1, 1.0, INT32_MAX, true, 0, 0},
    };
    FakeImages images;
    std::vector<IBitmapStrip*> strips;
    for (const Case& c : cases) {
        const std::string name = "r" + std::to_string(c.id) + ".png";
        images.Add(name, c.w, c.h, Solid(0xff808080));
        strips.push_back(LoadStrip(images.Loader(), c.rs, c.id, name.c_str(), c.frames, c.horizontal));
    }
    // Until the first rescale a strip at resource scale 2 has its GUI size but no pixels.
    EXPECT_EQ(std::tuple(strips[0]->width, strips[0]->height, strips[0]->bitmap->getWidth()), std::tuple(150, 45, 1));
    // Every strip is rescaled at its own resource scale, so run each case's scale in turn
    // and check only that case.
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        RescaleStrips(images.Loader(), c.rs, c.scale);
        const IBitmapStrip& s = *strips[i];
        EXPECT_EQ(std::tuple(s.width, s.height, s.bitmap->getWidth(), s.bitmap->getHeight()),
                  std::tuple(c.expectW, c.expectH, c.expectW, c.expectH)) << "case " << c.id;
    }
    // A missing image gives an empty record that rescaling skips; so does a missing loader.
    IBitmapStrip* missing = LoadStrip(images.Loader(), 2, 1003, "missing.png", 4, true);
    RescaleStrips(images.Loader(), 2, 1.0);
    EXPECT_TRUE(missing->IsEmpty() && missing->width == 0 && LoadStrip(nullptr, 2, 1004, "x.png", 1, false)->IsEmpty());
}

TEST(RescaleStrips, ReloadsByACopyOfTheCallersFileName) {
    FakeImages images;
    images.Add("copied.png", 4, 4, Solid(0xffffffff));
    char name[32];
    std::strcpy(name, "copied.png");
    IBitmapStrip* s = LoadStrip(images.Loader(), 1, 1301, name, 1, true);
    std::strcpy(name, "overwritten");
    RescaleStrips(images.Loader(), 1, 2.0);
    EXPECT_EQ(std::tuple(images.names.back(), s->width), std::tuple("copied.png", 8));
}

// Start-up decodes each file once; a later scale change decodes it again unless the strip
// holds all its pixels (at scale 2; odd.png loses a column and a row there). The pixels are
// always a fresh decode's.
TEST(RescaleStrips, ScaleChangesReadEachFileOnceUnlessTheStripHoldsTheImage) {
    FakeImages images;
    const PixelFn art = [](int x, int y) { return PIX_MakePixel(255 - x, x * 7 + y, y * 3, (x ^ y) * 5); };
    struct Case { const char* name; int w, h, frames; bool horizontal, heldAt2; } cases[] = {
        {"knob.png", 24, 96, 4, false, true}, {"row.png", 50, 30, 3, true, true},
        {"odd.png", 21, 13, 1, false, false}, {"even.png", 20, 14, 1, false, true},
    };
    std::vector<IBitmapStrip*> strips;
    for (const Case& c : cases) {
        images.Add(c.name, c.w, c.h, art);
        strips.push_back(LoadStrip(images.Loader(), 2, 1701 + int(strips.size()), c.name, c.frames, c.horizontal));
    }
    // A second load before any rescale shares the bitmap and reads nothing.
    EXPECT_EQ(LoadStrip(images.Loader(), 2, 1701, "knob.png", 4, false)->bitmap, strips[0]->bitmap);
    EXPECT_EQ(images.names.size(), std::size(cases));
    double previous = 0.0;  // none yet: the images decoded by the loads serve
    for (double scale : {1.5, 2.0, 1.0, 0.5, 2.0, 2.0, 1.5}) {
        const size_t before = images.names.size();
        RescaleStrips(images.Loader(), 2, scale);
        // The list is process-wide: other tests' entries ask for their own names.
        const std::vector<std::string> reads(images.names.begin() + long(before), images.names.end());
        for (size_t i = 0; i < strips.size(); ++i) {
            const Case& c = cases[i];
            const long want = previous == 0.0 || (previous == 2.0 && c.heldAt2) ? 0 : 1;
            EXPECT_EQ(std::count(reads.begin(), reads.end(), c.name), want) << c.name << " " << previous << " to " << scale;
            const IBitmapStrip& s = *strips[i];
            std::unique_ptr<PIX_IBitmap> fresh(images.Loader()(0, c.name));
            const int w = int(c.w / 2 * scale) + (c.frames > 1 && c.horizontal ? c.frames : 0);
            const int h = int(c.h / 2 * scale) + (c.frames > 1 && !c.horizontal ? c.frames : 0);
            PIX_MemBitmap expected(w, h, 4);
            ScaleStripFrames(*fresh, expected, c.frames, c.horizontal);
            ASSERT_EQ(std::tuple(s.width, s.height), std::tuple(w, h)) << c.name << " " << scale;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(Px(*s.bitmap, x, y), Px(expected, x, y)) << c.name << " " << scale << " " << x << "," << y;
        }
        previous = scale;
    }
}

// A native font that remembers the height it was asked for.
struct FakeNative : HGDIOBJ__ {
    explicit FakeNative(int h) : HGDIOBJ__(WAPI_OBJ_FONT), height(h) { ++live; }
    ~FakeNative() override { --live; }
    int height;
    static inline int live = 0;
};

// A font whose line height follows a rule of the native height, as a real face's cell may.
class FakeFont : public PIX_IFont {
public:
    explicit FakeFont(std::function<int(int)> rule) : mRule(std::move(rule)) { ++live; }
    ~FakeFont() override {
        delete mNative;
        --live;
    }
    void SetFromHFont(HGDIOBJ font, int) override {
        if (mNative != font) delete mNative;
        mNative = static_cast<FakeNative*>(font);
    }
    HGDIOBJ GetHFont() const override { return mNative; }
    int GetLineHeight() const override { return mRule(mNative->height); }
    PIX_PixelValue SetTextColor(PIX_PixelValue c) override { return c; }
    PIX_PixelValue SetBkColor(PIX_PixelValue c) override { return c; }
    PIX_PixelValue SetEffectColor(PIX_PixelValue c) override { return c; }
    int SetBkMode(int m) override { return m; }
    void SetCombineMode(PIX_DrawMode, float) override {}
    int DrawText(PIX_IBitmap*, const char*, int, RECT*, unsigned) override { return 0; }
    PIX_PixelValue GetTextColor() const override { return 0; }
    int DrawGlyph(PIX_IBitmap*, int, int, int, const RECT*) override { return 0; }
    static inline int live = 0;

private:
    std::function<int(int)> mRule;
    FakeNative* mNative = nullptr;
};

// Records the height of every request; request number `failAt` (0-based) fails.
FontMakers Makers(std::function<int(int)> rule, std::vector<int>* heights, int failAt = -1) {
    return {[rule] { return static_cast<PIX_IFont*>(new FakeFont(rule)); },
            [=](const FontRequest& r) -> HGDIOBJ {
                heights->push_back(r.height);
                return int(heights->size()) - 1 == failAt ? nullptr : new FakeNative(r.height);
            }};
}

TEST(FontCache, CorrectsTheHeightOnce) {
    struct Case { const char* face; int size; std::function<int(int)> rule; std::vector<int> heights; } cases[] = {
        {"HeightExact", 12, [](int h) { return h; }, {12}},
        {"HeightTall", 10, [](int h) { return h + 3; }, {10, 8}},      // 100 / 13 + 0.5 -> 8
        {"HeightShort", 20, [](int h) { return h - 4; }, {20, 25}},    // 400 / 16 -> 25
        {"HeightTiny", 1, [](int h) { return h + 2; }, {2, 1}},        // size 1 asks for 2; 4.0 / 4
        {"HeightStillOff", 10, [](int h) { return h * 2; }, {10, 5}},  // no third try
        {"HeightZero", 10, [](int) { return 0; }, {10}},               // nothing to correct by
    };
    for (Case& c : cases) {
        std::vector<int> heights;
        PIX_IFont* font = FindOrMakeFont(c.size, 0, 0, 0, c.face, Makers(c.rule, &heights));
        EXPECT_NE(font, nullptr) << c.face;
        EXPECT_EQ(heights, c.heights) << c.face;
        EXPECT_EQ(FindOrMakeFont(c.size, 0, 0, 0, c.face, Makers(c.rule, &heights)), font) << "cached";
    }
}

}  // namespace
