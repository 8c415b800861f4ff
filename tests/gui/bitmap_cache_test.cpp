// Strip loading at the resource scale and rescaling for the GUI scale: sizes, gaps,
// frames kept apart, and each file decoded only when a rescale needs it.
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
#include "raster/strip_resample.h"

namespace {

using PixelFn = std::function<uint32_t(int x, int y)>;

// Stands in for the back end's image loader: images by file name, every load noted.
class FakeImages {
public:
    void Add(const std::string& name, int w, int h, PixelFn fn) { mImages[name] = {w, h, std::move(fn)}; }
    ImageLoader Loader() {
        return [this](int, const char* name) -> PIX_IBitmap* {
            names.push_back(name);
            auto it = mImages.find(name);
            if (it == mImages.end()) return nullptr;
            auto* bm = new PIX_MemBitmap(it->second.w, it->second.h, 4);
            for (int y = 0; y < bm->getHeight(); ++y)
                for (int x = 0; x < bm->getWidth(); ++x) *PIX_PixelAddress(*bm, x, y) = it->second.fn(x, y);
            return bm;
        };
    }
    std::vector<std::string> names;

private:
    struct Image { int w, h; PixelFn fn; };
    std::map<std::string, Image> mImages;
};

uint32_t Px(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

PixelFn Solid(uint32_t v) {
    return [v](int, int) { return v; };
}

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

TEST(RescaleStrips, FramesNeverBleedIntoEachOther) {
    // Frame 1 red, frame 2 blue, side by side; and the same stacked.
    const uint32_t red = PIX_MakePixel(255, 255, 0, 0), blue = PIX_MakePixel(255, 0, 0, 255);
    FakeImages images;
    images.Add("h.png", 200, 50, [&](int x, int) { return x < 100 ? red : blue; });
    images.Add("v.png", 50, 200, [&](int, int y) { return y < 100 ? red : blue; });
    IBitmapStrip* h = LoadStrip(images.Loader(), 2, 1401, "h.png", 2, true);
    IBitmapStrip* v = LoadStrip(images.Loader(), 2, 1402, "v.png", 2, false);
    for (double scale : {0.7, 1.0, 1.5, 2.0}) {
        RescaleStrips(images.Loader(), 2, scale);
        for (IBitmapStrip* s : {h, v}) {
            const int side = s->horizontal ? s->width : s->height, frame = (side - 2) / 2, second = s->FrameStart(2);
            for (int a = 0; a < (s->horizontal ? s->height : s->width); ++a)
                for (int b = 0; b < side; ++b) {
                    const uint32_t p = s->horizontal ? Px(*s->bitmap, b, a) : Px(*s->bitmap, a, b);
                    const uint32_t want = b < frame ? red : b >= second && b < second + frame ? blue : 0u;
                    ASSERT_EQ(p == 0, want == 0) << "gap, scale " << scale << " at " << b;
                    ASSERT_EQ(p & want, p) << "scale " << scale << " at " << b;  // no colour of the other frame
                }
        }
    }
}

// Start-up decodes each file once, for the first rescale; every later scale change
// decodes it again, except after a scale of 2 where the strip holds all of the image's
// pixels (odd.png loses its last column and row there). The pixels are always those of a
// fresh decode.
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

}  // namespace
