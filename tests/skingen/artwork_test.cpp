#include <gtest/gtest.h>

#include <tuple>
#include <algorithm>
#include <string>

#include "editor/data/keyboard_geometry.h"
#include "skingen/drawn_images.h"
#include "tools/skingen/painter.h"
#include "tools/skingen/panel_layout.h"

namespace {

namespace kb = qd::keyboard;

uint32_t At(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

// The keyboard control's hit test inside one octave at scale 1, as its description
// gives it: black keys left to right by their offsets, then sevenths of the width.
int ReferenceKey(int xin, int dy) {
    const int offsets[5] = {9, 25, 51, 66, 81}, keys[5] = {1, 3, 6, 8, 10};
    if (dy < 42)
        for (int i = 0; i < 5; ++i) {
            if (xin < offsets[i]) break;
            if (xin < offsets[i] + 10) return keys[i];
        }
    const int w = int(xin / (98 / 7.0));
    return 2 * w - (w >= 3 ? 1 : 0);
}

}  // namespace

TEST(SkinKeyboard, GeometryAgreesWithTheHitTestEverywhere) {
    for (int y = 0; y < kb::kKeyHeight; ++y)
        for (int x = 0; x < kb::kOctaveWidth; ++x) ASSERT_EQ(kb::KeyAt(x, y), ReferenceKey(x, y)) << x << "," << y;
    EXPECT_EQ(std::tuple(kb::KeyAt(-1, 0), kb::KeyAt(kb::kOctaveWidth, 0)), std::tuple(-1, -1));
    EXPECT_EQ(kb::KeyAt(0, kb::kKeyHeight), -1);
}

// Frame k of the keys strip shows key k pressed and leaves everything else to the
// octave picture beneath: at 2x, every pixel is drawn exactly where KeyAt says key k.
TEST(SkinKeyboard, KeysFrameKCoversExactlyKeyK) {
    const DrawnImage* keys = FindDrawn("orig", "keys");
    ASSERT_TRUE(keys && keys->bitmap);
    const int fh = keys->bitmap->getHeight() / 12;
    for (int k = 0; k < 12; ++k) {
        int wrong = 0;
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < keys->bitmap->getWidth(); ++x) {
                const bool drawn = PIX_PixelA(At(*keys->bitmap, x, k * fh + y)) != 0;
                wrong += drawn != (kb::KeyAt(x / 2, y / 2) == k);
            }
        EXPECT_EQ(wrong, 0) << "key " << k;
    }
}

TEST(SkinSevenSegment, ShowsEveryNumberAndABlankFrame) {
    // Segments a to g per digit, written out independently of the generator.
    const char* const lit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg",
                                 "abcdfg"};
    const DrawnImage* d = FindDrawn("orig", "sevenseg");
    ASSERT_TRUE(d && d->bitmap);
    const float dh = 26 - 8, dw = dh * 0.55f, gap = dw * 0.45f, x0 = (56 - 2 * dw - gap) / 2, t = dw * 0.2f;
    auto isLit = [&](int frame, float gx, float gy) {
        const uint32_t p = At(*d->bitmap, int(gx * 2), int((frame * 26 + gy) * 2));
        return PIX_PixelR(p) > 200 && PIX_PixelG(p) < 100;
    };
    for (int frame = 0; frame <= 100; ++frame)
        for (int digit = 0; digit < 2; ++digit) {
            const float x = x0 + digit * (dw + gap), y = 4;
            const float probe[7][2] = {{x + dw / 2, y + t / 2},      {x + dw - t / 2, y + dh / 4},
                                       {x + dw - t / 2, y + 3 * dh / 4}, {x + dw / 2, y + dh - t / 2},
                                       {x + t / 2, y + 3 * dh / 4},  {x + t / 2, y + dh / 4},
                                       {x + dw / 2, y + dh / 2}};
            std::string seen;
            for (int s = 0; s < 7; ++s)
                if (isLit(frame, probe[s][0], probe[s][1])) seen += char('a' + s);
            const int value = digit == 0 ? frame / 10 : frame % 10;
            EXPECT_EQ(seen, frame == 100 ? "" : lit[value]) << "frame " << frame << " digit " << digit;
        }
}
