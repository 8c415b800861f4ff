#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "platform/input_map.h"
#include "platform/wheel.h"

using namespace platform;

TEST(InputMap, ModifiersAndKeysFromX11) {
    struct Case { unsigned state, flags; } modifiers[] = {
        {0, 0}, {x11::kShiftMask | x11::kControlMask, kShiftKeyMask | kControlKeyMask},
        {x11::kMod1Mask, kAlternateKeyMask},
        {x11::kMod4Mask, kCommandKeyMask},  // how X11 reports Super
        {x11::kSuperMask, kCommandKeyMask}, {x11::kMetaMask, kCommandKeyMask},
        {1u << 1 | 1u << 4 | 1u << 8, 0},  // Caps Lock, Num Lock and a button: no modifier
    };
    for (const auto& c : modifiers) EXPECT_EQ(ModifierFlagsFromX11(c.state), c.flags) << std::hex << c.state;

    struct Key { unsigned keysym; char32_t character; int keyCode; const char* text; } keys[] = {
        {x11::kKeyLeft, 0, kKeyCodeLeft, "\xEF\x9D\x91"},  // no character: U+F700 + low byte
        {x11::kKeyKpLeft, 0, kKeyCodeLeft, "\xEF\x9E\x96"},   {x11::kKeyRight, 0, kKeyCodeRight, "\xEF\x9D\x93"},
        {x11::kKeyDown, 0, kKeyCodeDown, "\xEF\x9D\x94"},     {x11::kKeyKpUp, 0, kKeyCodeUp, "\xEF\x9E\x97"},
        {x11::kKeySpace, U' ', kKeyCodeSpace, " "},            {'q', U'q', kKeyCodeOther, "q"},
        {0xe9, U'\u00e9', kKeyCodeOther, "\xC3\xA9"},          {0x20ac, U'\u20ac', kKeyCodeOther, "\xE2\x82\xAC"},
        {0x1000000 + 0x1F600, U'\U0001F600', kKeyCodeOther, "\xF0\x9F\x98\x80"},
        {0xffbe, 0, kKeyCodeOther, "\xEF\x9E\xBE"},      // F1
        {0xffbe, 0xD800, kKeyCodeOther, "\xEF\x9E\xBE"},  // a surrogate is no character
    };
    for (const auto& k : keys) {
        const KeyEvent e = KeyEventFromX11(k.keysym, k.character, x11::kMod4Mask);
        EXPECT_EQ(std::tuple(e.keyCode, e.charactersIgnoringModifiers, e.modifierFlags),
                  std::tuple(k.keyCode, k.text, kCommandKeyMask)) << std::hex << k.keysym;
    }
}

TEST(InputMap, ClicksCountWithinTimeAndDistanceOfTheOneBefore) {
    struct Press { unsigned button; uint32_t time; double x, y; int count; } presses[] = {
        {1, 1000, 10, 10, 1}, {1, 1400, 15, 5, 2}, {1, 1800, 15, 5, 3},  // at the limits: 400 ms, 5 px
        {1, 2201, 15, 5, 1},                                             // too late
        {1, 2300, 20.5, 5, 1},                                           // too far
        {3, 2400, 20.5, 5, 1}, {3, 2400, 20.5, 5, 2},                    // another button
        {3, 2300, 20.5, 5, 1},                                           // the clock went back
        {3, 0xFFFFFF00u, 0, 0, 1}, {3, 0x80, 0, 0, 2},                   // across the 32-bit wrap
    };
    ClickCounter counter;
    for (const auto& p : presses) EXPECT_EQ(counter.Press(p.button, p.time, p.x, p.y, 400, 5), p.count) << p.time;
}

TEST(InputMap, WheelGivesWholeStepsAndTheFractionCarries) {
    struct Case { std::vector<double> deltas; std::vector<int> steps; } cases[] = {
        {{1, -1, 3}, {1, -1, 3}},      {{0.4, 0.4, 0.4}, {0, 0, 1}},  // 1.2 in all: one step, 0.2 kept
        {{0.6, -0.3, 0.8}, {0, 0, 1}}, {{-0.5, -0.7, 0.1}, {0, -1, 0}}, {{2.5, 0.5}, {2, 1}},
        {{1e300, 0.5}, {1000, 0}},     // bounded, and the remainder dropped
        {{std::nan(""), 1}, {0, 1}},
    };
    for (const Case& c : cases) {
        WheelAccumulator w;
        std::vector<int> steps;
        for (double d : c.deltas) steps.push_back(w.Add(d));
        EXPECT_EQ(steps, c.steps) << c.deltas[0];
    }
}

// A row width in bytes that would wrap an int once let a shown image read past its pixels.
TEST(ImageRef, OnlyReadableImagesHavePixels) {
    static const uint8_t px[16] = {};
    EXPECT_EQ(std::tuple(ImageRef{px, 2, 2, 16}.HasPixels(), ImageRef{px, 2, 2, 7}.HasPixels(),
                         ImageRef{px, INT_MAX, 1, INT_MAX}.HasPixels()),
              std::tuple(true, false, false));  // padded rows; rows shorter than the width
}
