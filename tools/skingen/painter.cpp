#include "tools/skingen/painter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

#include "raster/bezier.h"
#include "raster/blit.h"
#include "raster/cached_font.h"
#include "raster/circle.h"
#include "raster/fill.h"
#include "raster/line.h"
#include "raster/polygon.h"

namespace skingen {

namespace {

// One cached font per size and weight, for the whole run: glyphs are rendered once.
// The set is never destroyed: its fonts' native objects belong to the windowing
// layer's registry, itself a static that may be gone before this one at exit.
PIX_CachedFont& FontFor(const TextStyle& style) {
    static auto& fonts = *new std::map<std::pair<int, bool>, std::unique_ptr<PIX_CachedFont>>;
    const int px = std::max(1, int(std::lround(style.size * kScale)));
    auto& slot = fonts[{px, style.bold}];
    if (!slot) {
        slot = std::make_unique<PIX_CachedFont>();
        // Negative height: the em size, as a type size is given.
        slot->SetFromHFont(CreateFont(-px, 0, 0, 0, style.bold ? 700 : 400, 0, 0, 0, 0, 0, 0, 0, 0, "sans-serif"),
                           PIX_FONT_OWNS_HFONT);
        slot->SetCombineMode(PIX_MODE_COPY, 1.0f);
    }
    return *slot;
}

unsigned AlignFlags(Align a) {
    switch (a) {
        case Align::kLeft: return 0;
        case Align::kCentre: return DT_CENTER;
        case Align::kRight: return DT_RIGHT;
    }
    return 0;
}

}  // namespace

PIX_PixelValue Mix(PIX_PixelValue a, PIX_PixelValue b, float t) {
    auto ch = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return PIX_MakePixel(ch(PIX_PixelA(a), PIX_PixelA(b)), ch(PIX_PixelR(a), PIX_PixelR(b)),
                         ch(PIX_PixelG(a), PIX_PixelG(b)), ch(PIX_PixelB(a), PIX_PixelB(b)));
}

void Painter::Fill(float x, float y, float w, float h, PIX_PixelValue c, float alpha) {
    const int x0 = Px(x + mOriginX), y0 = Px(y + mOriginY), x1 = Px(x + mOriginX + w), y1 = Px(y + mOriginY + h);
    PIX_FillRect(&mBitmap, x0, y0, x1 - x0, y1 - y0, c, alpha, PIX_MODE_COPY);
}

void Painter::Gradient(float x, float y, float w, float h, PIX_PixelValue c0, PIX_PixelValue c1, bool horizontal) {
    const int x0 = Px(x + mOriginX), y0 = Px(y + mOriginY), x1 = Px(x + mOriginX + w), y1 = Px(y + mOriginY + h);
    const int steps = std::max(1, horizontal ? x1 - x0 : y1 - y0);
    auto f = [](int v) { return v / 255.0f; };
    const float dr = (f(PIX_PixelR(c1)) - f(PIX_PixelR(c0))) / steps;
    const float dg = (f(PIX_PixelG(c1)) - f(PIX_PixelG(c0))) / steps;
    const float db = (f(PIX_PixelB(c1)) - f(PIX_PixelB(c0))) / steps;
    const float da = (f(PIX_PixelA(c1)) - f(PIX_PixelA(c0))) / steps;
    PIX_GradRect(&mBitmap, x0, y0, x1 - x0, y1 - y0, f(PIX_PixelR(c0)), f(PIX_PixelG(c0)), f(PIX_PixelB(c0)),
                 f(PIX_PixelA(c0)), horizontal ? dr : 0, horizontal ? dg : 0, horizontal ? db : 0, horizontal ? da : 0,
                 horizontal ? 0 : dr, horizontal ? 0 : dg, horizontal ? 0 : db, horizontal ? 0 : da, PIX_MODE_COPY);
}

void Painter::RoundFill(float x, float y, float w, float h, float r, PIX_PixelValue c) {
    RoundGradient(x, y, w, h, r, c, c);
}

void Painter::RoundGradient(float x, float y, float w, float h, float r, PIX_PixelValue top, PIX_PixelValue bottom) {
    const int x0 = Px(x + mOriginX), y0 = Px(y + mOriginY), x1 = Px(x + mOriginX + w), y1 = Px(y + mOriginY + h);
    const float rr = r * kScale;
    const int rows = y1 - y0;
    for (int py = y0; py < y1; ++py) {
        // Inset of this row: the corner circle sampled at the pixel centre.
        const float cy = py + 0.5f;
        float dy = 0;
        if (cy < y0 + rr) dy = y0 + rr - cy;
        if (cy > y1 - rr) dy = cy - (y1 - rr);
        int inset = 0;
        if (dy > 0) inset = int(std::ceil(rr - std::sqrt(std::max(0.0f, rr * rr - dy * dy)) - 0.5f));
        const float t = rows > 1 ? float(py - y0) / float(rows - 1) : 0.0f;
        PIX_FillRect(&mBitmap, x0 + inset, py, x1 - x0 - 2 * inset, 1, Mix(top, bottom, t), 1.0f, PIX_MODE_COPY);
    }
}

void Painter::Frame(float x, float y, float w, float h, PIX_PixelValue c, float t, float alpha) {
    Fill(x, y, w, t, c, alpha);
    Fill(x, y + h - t, w, t, c, alpha);
    Fill(x, y + t, t, h - 2 * t, c, alpha);
    Fill(x + w - t, y + t, t, h - 2 * t, c, alpha);
}

void Painter::Line(float x1, float y1, float x2, float y2, PIX_PixelValue c, float width) {
    const float ax = (x1 + mOriginX) * kScale, ay = (y1 + mOriginY) * kScale;
    const float bx = (x2 + mOriginX) * kScale, by = (y2 + mOriginY) * kScale;
    const float len = std::hypot(bx - ax, by - ay);
    if (len <= 0) return;
    // Parallel one-pixel strokes across the width, offset along the normal.
    const float nx = -(by - ay) / len, ny = (bx - ax) / len;
    const int strokes = std::max(1, int(std::lround(width * kScale)));
    for (int i = 0; i < strokes; ++i) {
        const float o = i - (strokes - 1) / 2.0f;
        PIX_FLine(&mBitmap, ax + nx * o, ay + ny * o, bx + nx * o, by + ny * o, c, 1.0f, PIX_MODE_COPY, true);
    }
}

void Painter::Disc(float cx, float cy, float r, PIX_PixelValue c, bool antialias, float alpha) {
    PIX_FillCircle(&mBitmap, (cx + mOriginX) * kScale, (cy + mOriginY) * kScale, r * kScale, c, alpha, PIX_MODE_COPY,
                   antialias);
}

void Painter::Polygon(const float* xy, int n, PIX_PixelValue c) {
    int xs[16], ys[16];
    n = std::min(n, 16);
    for (int i = 0; i < n; ++i) {
        xs[i] = Px(xy[2 * i] + mOriginX);
        ys[i] = Px(xy[2 * i + 1] + mOriginY);
    }
    PIX_FillConvexPolygon(&mBitmap, xs, ys, n, c, 1.0f, PIX_MODE_COPY);
}

float Painter::Text(float x, float y, float w, float h, const std::string& text, const TextStyle& style) {
    PIX_CachedFont& font = FontFor(style);
    font.SetTextColor(style.colour);
    RECT r{Px(x + mOriginX), Px(y + mOriginY), Px(x + mOriginX + w), Px(y + mOriginY + h)};
    const int x0 = std::max(0, int(r.left)), y0 = std::max(0, int(r.top));
    const int x1 = std::min(mBitmap.getWidth(), int(r.right)), y1 = std::min(mBitmap.getHeight(), int(r.bottom));
    bool clear = true;
    for (int py = y0; py < y1 && clear; ++py)
        for (int px = x0; px < x1 && clear; ++px) clear = PIX_PixelA(*PIX_PixelAddress(mBitmap, px, py)) == 0;
    font.DrawText(&mBitmap, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER | AlignFlags(style.align));
    // On a transparent ground the glyphs' edges took their coverage as alpha but their
    // colour faded towards black: the whole box takes the text's colour, its clear
    // pixels too, so that the text blends as itself over whatever lies beneath, also
    // where a scaled blit averages it with its clear surround.
    if (clear)
        for (int py = y0; py < y1; ++py)
            for (int px = x0; px < x1; ++px) {
                PIX_PixelValue* p = PIX_PixelAddress(mBitmap, px, py);
                *p = PIX_MakePixel(PIX_PixelA(*p), PIX_PixelR(style.colour), PIX_PixelG(style.colour),
                                   PIX_PixelB(style.colour));
            }
    const float width = TextWidth(text, style);
    if (mLog) {
        const float tx = style.align == Align::kLeft     ? x
                         : style.align == Align::kCentre ? x + (w - width) / 2
                                                         : x + w - width;
        const float th = TextHeight(style);
        mLog->push_back({x, y, w, h, tx, y + (h - th) / 2, width, th, text, style.onControl});
    }
    return width;
}

namespace {

RECT Measure(const std::string& text, const TextStyle& style) {
    RECT r{};
    FontFor(style).DrawText(nullptr, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return r;
}

}  // namespace

float TextWidth(const std::string& text, const TextStyle& style) {
    const RECT r = Measure(text, style);
    return float(r.right - r.left) / kScale;
}

float TextHeight(const TextStyle& style) {
    const RECT r = Measure("Xg", style);
    return float(r.bottom - r.top) / kScale;
}

}  // namespace skingen
