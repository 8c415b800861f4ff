// Plain values of the GUI framework: rectangles, colours, text styles, mouse
// modifiers, blends and key codes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>

class PIX_IFont;

// Integer rectangle in GUI pixels, y downwards, right and bottom exclusive. Only the
// all-zero rectangle is empty: one with L == R but other values set still counts.
struct IRECT {
    int L = 0, T = 0, R = 0, B = 0;

    constexpr IRECT() = default;
    constexpr IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

    constexpr bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
    // Saturated: corners at the ends of the int range give the largest size, not a wrap.
    constexpr int W() const { return Span(L, R); }
    constexpr int H() const { return Span(T, B); }

    // Grows this rectangle to take in `rhs`. An empty `rhs` changes nothing; uniting
    // into an empty rectangle gives `rhs` itself.
    void Union(const IRECT& rhs) {
        if (rhs.Empty()) return;
        if (Empty()) {
            *this = rhs;
            return;
        }
        L = std::min(L, rhs.L);
        T = std::min(T, rhs.T);
        R = std::max(R, rhs.R);
        B = std::max(B, rhs.B);
    }

    // The redraw test: both non-empty, and `rhs` starts before this one ends with the
    // right and bottom edges inclusive, so a rectangle that only touches this one's
    // right or bottom edge still meets it.
    constexpr bool Meets(const IRECT& rhs) const {
        return !Empty() && !rhs.Empty() && R >= rhs.L && L < rhs.R && B >= rhs.T && T < rhs.B;
    }

    // Left and top inclusive, right and bottom exclusive.
    constexpr bool Contains(int x, int y) const { return x >= L && x < R && y >= T && y < B; }

    friend constexpr bool operator==(const IRECT&, const IRECT&) = default;

private:
    static constexpr int Span(int from, int to) {
        const int64_t d = int64_t(to) - from;
        return d > INT32_MAX ? INT32_MAX : d < INT32_MIN ? INT32_MIN : int(d);
    }
};

// Colour {A, R, G, B}, each 0 to 255, alpha first.
struct IColor {
    int A = 255, R = 0, G = 0, B = 0;

    constexpr IColor() = default;
    constexpr IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

    friend constexpr bool operator==(const IColor&, const IColor&) = default;
};

inline constexpr IColor COLOR_BLACK(255, 0, 0, 0);
inline constexpr IColor COLOR_GRAY(255, 127, 127, 127);
inline constexpr IColor COLOR_WHITE(255, 255, 255, 255);
inline constexpr IColor COLOR_RED(255, 255, 0, 0);
inline constexpr IColor COLOR_GREEN(255, 0, 255, 0);
inline constexpr IColor COLOR_BLUE(255, 0, 0, 255);
inline constexpr IColor COLOR_YELLOW(255, 255, 255, 0);
inline constexpr IColor COLOR_ORANGE(255, 255, 127, 0);

inline constexpr int kITextFaceSize = 32;

// Text style of a control and of the text entry opened for it.
struct IText {
    enum EStyle { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
    enum EAlign { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };
    enum EEntryKind { kEntryPlain = 0, kEntrySecure = 1 };

    char font[kITextFaceSize] = "Monaco";
    int size = 10;
    IColor color = COLOR_BLACK;
    IColor textEntryBGColor = COLOR_WHITE;
    IColor textEntryFGColor = COLOR_BLACK;
    int style = kStyleNormal;
    int align = kAlignCenter;
    int entryKind = kEntryPlain;
    int orientation = 0;  // degrees
    int quality = 0;      // 0 to 3
    PIX_IFont* cached = nullptr;

    IText() = default;
    IText(int textSize, const IColor& textColor, const char* textFont = nullptr, int textStyle = kStyleNormal,
          int textAlign = kAlignCenter, int textOrientation = 0, int textQuality = 0)
        : size(textSize),
          color(textColor),
          style(textStyle),
          align(textAlign),
          orientation(textOrientation),
          quality(textQuality) {
        if (textFont) std::snprintf(font, sizeof font, "%s", textFont);
    }
};

// Modifiers with every mouse event. A Command-click sets R as well as L.
struct IMouseMod {
    bool L = false, R = false, S = false, C = false, A = false;

    constexpr IMouseMod() = default;
    constexpr IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false)
        : L(l), R(r), S(s), C(c), A(a) {}
};

// How a control's bitmaps are blended: a method (1 copy, 2 add, 3 dodge, anything
// else copy weighted by source alpha) and a weight; grayed-out controls use 0.25.
struct IChannelBlend {
    enum EBlendMethod { kBlendNone = 0, kBlendClobber = 1, kBlendAdd = 2, kBlendColorDodge = 3 };

    int method = kBlendNone;
    float weight = 1.0f;

    constexpr IChannelBlend() = default;
    constexpr IChannelBlend(int blendMethod, float blendWeight = 1.0f) : method(blendMethod), weight(blendWeight) {}
};

// Key codes handed to controls; no other key reaches them.
enum IGUIKeyCode {
    KEY_SPACE = 0,
    KEY_UPARROW = 1,
    KEY_DOWNARROW = 2,
    KEY_LEFTARROW = 3,
    KEY_RIGHTARROW = 4,
    KEY_DIGIT_0 = 5,
    KEY_DIGIT_9 = 14,
    KEY_ALPHA_A = 15,
    KEY_ALPHA_E = 19,
    KEY_ALPHA_Z = 40,
};
