// The font cache: one corrected request per font, and nothing cached when a font
// cannot be made.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/font_cache.h"
#include "raster/cached_font.h"

namespace {

// A native font that remembers the height it was asked for.
struct FakeNative : HGDIOBJ__ {
    explicit FakeNative(int h) : HGDIOBJ__(WAPI_OBJ_FONT), height(h) { ++live; }
    ~FakeNative() override { --live; }
    int height;
    static inline int live = 0;
};

// A font whose line height follows a rule of the native height, like a real face whose
// cell is taller or shorter than the height asked for.
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

TEST(FontCache, AFontThatCannotBeMadeIsNotCached) {
    const int fontsBefore = FakeFont::live, nativesBefore = FakeNative::live;
    const int cached = FontCache::Instance().Count();
    for (int failAt : {0, 1}) {  // the first request, or the corrected second one
        std::vector<int> heights;
        EXPECT_EQ(FindOrMakeFont(10, 0, 0, 0, "NoSuchFace", Makers([](int h) { return h + 3; }, &heights, failAt)),
                  nullptr);
        EXPECT_EQ(FakeFont::live, fontsBefore);
        EXPECT_EQ(FakeNative::live, nativesBefore);  // the first native font went with its font
    }
    EXPECT_EQ(FontCache::Instance().Count(), cached);
    // The next attempt tries again and can succeed.
    std::vector<int> heights;
    EXPECT_NE(FindOrMakeFont(10, 0, 0, 0, "NoSuchFace", Makers([](int h) { return h; }, &heights)), nullptr);
}

}  // namespace
