// One octave of the on-screen keyboard, in unscaled GUI pixels: where each of the 12
// keys lies. The keyboard artwork is drawn from these rectangles and the keyboard
// control's hit test reads the same numbers, so a click lands on the key it shows.
#pragma once

#include <initializer_list>

namespace qd::keyboard {

inline constexpr int kOctaves = 5;
inline constexpr int kKeysPerOctave = 12;
inline constexpr int kWhiteKeys = 7;
inline constexpr int kWhiteKeyWidth = 14;
inline constexpr int kOctaveWidth = kWhiteKeys * kWhiteKeyWidth;  // 98
inline constexpr int kKeyHeight = 68;                             // white keys, the frame height
inline constexpr int kBlackKeyWidth = 10;
inline constexpr int kBlackKeyHeight = 42;

// Left edge of key 0 to 11 inside an octave. The black keys' entries (1, 3, 6, 8, 10)
// place them; the white keys' entries are as the control's table has them, while a
// white key's drawn and hit area is its seventh of the octave (WhiteIndex).
inline constexpr int kKeyX[kKeysPerOctave] = {0, 9, 14, 25, 28, 42, 51, 56, 66, 70, 81, 84};

inline constexpr bool IsBlackKey(int key) {
    return key == 1 || key == 3 || key == 6 || key == 8 || key == 10;
}

// 0 to 6 for the white keys C D E F G A B, -1 for a black key or a key outside 0..11.
inline constexpr int WhiteIndex(int key) {
    constexpr int kIndex[kKeysPerOctave] = {0, -1, 1, -1, 2, 3, -1, 4, -1, 5, -1, 6};
    return key >= 0 && key < kKeysPerOctave ? kIndex[key] : -1;
}

struct KeyRect {
    int x, y, w, h;
};

// The key's whole rectangle at scale 1; a white key's top part under its black
// neighbours belongs to them.
inline constexpr KeyRect KeyRectOf(int key) {
    if (key < 0 || key >= kKeysPerOctave) return {0, 0, 0, 0};
    if (IsBlackKey(key)) return {kKeyX[key], 0, kBlackKeyWidth, kBlackKeyHeight};
    return {WhiteIndex(key) * kWhiteKeyWidth, 0, kWhiteKeyWidth, kKeyHeight};
}

// The key under (x, y) inside one octave at scale 1, -1 outside it: black keys first,
// tried from left to right, then the white key of that seventh.
inline constexpr int KeyAt(int x, int y) {
    if (x < 0 || y < 0 || x >= kOctaveWidth || y >= kKeyHeight) return -1;
    if (y < kBlackKeyHeight)
        for (int key : {1, 3, 6, 8, 10})
            if (x >= kKeyX[key] && x < kKeyX[key] + kBlackKeyWidth) return key;
    const int w = x / kWhiteKeyWidth;
    return w * 2 - (w >= 3 ? 1 : 0);
}

}  // namespace qd::keyboard
