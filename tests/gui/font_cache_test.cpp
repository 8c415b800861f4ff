#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "gui/font_cache.h"
#include "raster/cached_font.h"
#include "recording_graphics.h"

namespace {

// A native font that remembers the height it was asked for.
struct FakeNative : HGDIOBJ__ {
    explicit FakeNative(int h) : HGDIOBJ__(WAPI_OBJ_FONT), height(h) { ++live; }
    ~FakeNative() override { --live; }
    int height;
    static inline std::atomic<int> live{0};
};

// A font whose line height follows a rule of the native height, like a real face whose
// cell is taller or shorter than the height asked for.
class FakeFont : public guitest::StubFont {
public:
    explicit FakeFont(std::function<int(int)> rule) : rule_(std::move(rule)) { ++live; }
    ~FakeFont() override {
        delete native_;
        --live;
    }
    void SetFromHFont(HGDIOBJ font, int flags) override {
        if (native_ != font) delete native_;
        native_ = static_cast<FakeNative*>(font);
        flags_ = flags;
        lineHeight_ = rule_(native_->height);
    }
    HGDIOBJ GetHFont() const override { return native_; }
    int GetLineHeight() const override { return lineHeight_; }
    int Flags() const { return flags_; }
    static inline std::atomic<int> live{0};

private:
    std::function<int(int)> rule_;
    FakeNative* native_ = nullptr;
    int flags_ = 0, lineHeight_ = 0;
};

// Records every request; `failAt` makes that request (0-based) fail.
struct Maker {
    std::function<int(int)> rule = [](int h) { return h; };
    int failAt = -1;
    std::vector<FontRequest> requests;
    std::vector<std::string> faces;
    int fontsMade = 0;

    FontMakers Makers() {
        return {[this] {
                    ++fontsMade;
                    return static_cast<PIX_IFont*>(new FakeFont(rule));
                },
                [this](const FontRequest& r) -> HGDIOBJ {
                    requests.push_back(r);
                    faces.emplace_back(r.face);
                    if (int(requests.size()) - 1 == failAt) return nullptr;
                    return new FakeNative(r.height);
                }};
    }
    std::vector<int> Heights() {
        std::vector<int> h;
        for (const FontRequest& r : requests) h.push_back(r.height);
        return h;
    }
};

}  // namespace

TEST(FontCache, CorrectsTheHeightOnce) {
    struct Case {
        const char* face;
        int size;
        std::function<int(int)> rule;
        std::vector<int> heights;
    } cases[] = {
        {"HeightExact", 12, [](int h) { return h; }, {12}},
        {"HeightTall", 10, [](int h) { return h + 2; }, {10, 8}},      // 100 / 12 + 0.5 -> 8
        {"HeightShort", 20, [](int h) { return h - 4; }, {20, 25}},    // 400 / 16 -> 25
        {"HeightTiny", 1, [](int h) { return h + 2; }, {2, 1}},        // size 1 asks for 2; 4.0 / 4
        {"HeightStillOff", 10, [](int h) { return h * 2; }, {10, 5}},  // no third try
        {"HeightZero", 10, [](int) { return 0; }, {10}},               // nothing to correct by
    };
    for (Case& c : cases) {
        Maker maker;
        maker.rule = c.rule;
        EXPECT_NE(FindOrMakeFont(c.size, 0, 0, 0, c.face, maker.Makers()), nullptr) << c.face;
        EXPECT_EQ(maker.Heights(), c.heights) << c.face;
    }
}

TEST(FontCache, AsksForWeightSlantQualityAndAngleOfTheStyle) {
    struct Case { int style, quality, orientation, weight; bool italic; int nativeQuality, escapement; } cases[] = {
        {1, 1, 0, 700, false, 3, 0}, {2, 2, 45, 400, true, 4, 450}, {0, -1, -90, 400, false, 3, -900},
        // Tenths of an absurd angle saturate rather than wrap to the opposite sign.
        {0, 0, INT32_MAX, 400, false, 0, INT32_MAX}, {0, 0, INT32_MIN, 400, false, 0, INT32_MIN},
    };
    int n = 0;
    for (const Case& c : cases) {
        Maker maker;
        const std::string face = "StyleFace" + std::to_string(n++);
        ASSERT_NE(FindOrMakeFont(10, c.orientation, c.style, c.quality, face.c_str(), maker.Makers()), nullptr);
        ASSERT_EQ(maker.requests.size(), 1u);
        const FontRequest& r = maker.requests[0];
        EXPECT_EQ(std::tuple(r.weight, r.italic, r.quality, r.escapement, maker.faces[0]),
                  std::tuple(c.weight, c.italic, c.nativeQuality, c.escapement, face));
    }
}

TEST(FontCache, AFontThatCannotBeMadeIsNotCached) {
    const int fontsBefore = FakeFont::live, nativesBefore = FakeNative::live;
    const int cached = FontCache::Instance().Count();
    for (int failAt : {0, 1}) {
        Maker maker;
        maker.rule = [](int h) { return h + 3; };  // forces a second request
        maker.failAt = failAt;
        EXPECT_EQ(FindOrMakeFont(10, 0, 0, 0, "NoSuchFace", maker.Makers()), nullptr);
        EXPECT_EQ(FakeFont::live, fontsBefore);
        EXPECT_EQ(FakeNative::live, nativesBefore);  // the first native font went with its font
    }
    EXPECT_EQ(FontCache::Instance().Count(), cached);
    // The next attempt tries again and can succeed.
    Maker maker;
    EXPECT_NE(FindOrMakeFont(10, 0, 0, 0, "NoSuchFace", maker.Makers()), nullptr);
}

TEST(FontCache, AFaceWithoutTerminatorIsReadOnlyToItsLength) {
    char face[kFontFaceSize];
    std::memset(face, 'x', sizeof face);  // no zero byte anywhere
    Maker maker;
    PIX_IFont* f = FindOrMakeFont(9, 0, 0, 0, face, maker.Makers());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(maker.faces[0], std::string(kFontFaceSize - 1, 'x'));
    EXPECT_EQ(FindOrMakeFont(9, 0, 0, 0, face, maker.Makers()), f);
    EXPECT_EQ(FindOrMakeFont(9, 0, 0, 0, nullptr, maker.Makers()), FindOrMakeFont(9, 0, 0, 0, "", maker.Makers()));
}

