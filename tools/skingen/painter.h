// Drawing in GUI pixels onto a bitmap made at twice that size: every skin image is
// drawn once here and shown crisp at 200 %.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/pixel.h"

namespace skingen {

// Pixels of the file per GUI pixel.
inline constexpr int kScale = 2;

// 0xRRGGBB as an opaque pixel.
inline constexpr PIX_PixelValue Rgb(uint32_t hex, int alpha = 255) {
    return PIX_MakePixel(alpha, int(hex >> 16 & 255), int(hex >> 8 & 255), int(hex & 255));
}
// a + (b - a) t per channel, alpha included.
PIX_PixelValue Mix(PIX_PixelValue a, PIX_PixelValue b, float t);

enum class Align { kLeft, kCentre, kRight };

struct TextStyle {
    float size = 9;  // em height in GUI pixels
    bool bold = false;
    PIX_PixelValue colour = Rgb(0xffffff);
    Align align = Align::kCentre;
    bool onControl = false;  // a button's or switch's own word, not a label beside it
};

// A text as drawn, in GUI pixels of the image's frame: its box, and the rectangle the
// text itself takes in it (as wide as the text, as high as its line).
struct DrawnText {
    float x, y, w, h;
    float tx, ty, tw, th;
    std::string text;
    bool onControl;
};

// Wraps one bitmap; coordinates are GUI pixels relative to an origin that moves from
// frame to frame of a strip. Shape outlines that meet a transparent surround are drawn
// hard-edged by the callers; the anti-aliased operations are meant for opaque ground.
class Painter {
public:
    explicit Painter(PIX_IBitmap& bitmap) : mBitmap(bitmap) {}

    void SetOrigin(float x, float y) {
        mOriginX = x;
        mOriginY = y;
    }
    // Every text drawn from now on is added to `log` (null: none is).
    void SetTextLog(std::vector<DrawnText>* log) { mLog = log; }

    void Fill(float x, float y, float w, float h, PIX_PixelValue c, float alpha = 1.0f);
    // Top colour to bottom colour (or left to right with horizontal).
    void Gradient(float x, float y, float w, float h, PIX_PixelValue c0, PIX_PixelValue c1, bool horizontal = false);
    // Hard-edged rounded rectangle, so that its outside stays wholly transparent.
    void RoundFill(float x, float y, float w, float h, float r, PIX_PixelValue c);
    // Rounded rectangle with a vertical gradient, hard-edged like RoundFill.
    void RoundGradient(float x, float y, float w, float h, float r, PIX_PixelValue top, PIX_PixelValue bottom);
    // Rectangle outline t GUI pixels thick, inside the rectangle.
    void Frame(float x, float y, float w, float h, PIX_PixelValue c, float t = 1, float alpha = 1.0f);
    // Anti-aliased line of about `width` GUI pixels.
    void Line(float x1, float y1, float x2, float y2, PIX_PixelValue c, float width = 1);
    void Disc(float cx, float cy, float r, PIX_PixelValue c, bool antialias = true, float alpha = 1.0f);
    // Convex polygon through n points (x, y pairs in GUI pixels).
    void Polygon(const float* xy, int n, PIX_PixelValue c);
    // Text in the box; returns the drawn text's width in GUI pixels.
    float Text(float x, float y, float w, float h, const std::string& text, const TextStyle& style);

    int Px(float v) const { return int(v * kScale + (v >= 0 ? 0.5f : -0.5f)); }

private:
    PIX_IBitmap& mBitmap;
    float mOriginX = 0, mOriginY = 0;
    std::vector<DrawnText>* mLog = nullptr;
};

// Width of the text in GUI pixels at the style's size, and the height of its line.
float TextWidth(const std::string& text, const TextStyle& style);
float TextHeight(const TextStyle& style);

}  // namespace skingen
