#include <algorithm>
#include <cmath>
#include <string>

#include "editor/data/keyboard_geometry.h"
#include "tools/skingen/art.h"
#include "tools/skingen/button_words.h"
#include "tools/skingen/panel_layout.h"

namespace skingen {

namespace {

constexpr PIX_PixelValue kClear = PIX_MakePixel(0, 0, 0, 0);

// Cap centre of a vertical slider in frame k of n: bottom end for 0, top for n - 1.
float CapCentre(int k, int n, float top, float bottom) {
    return n > 1 ? bottom - (bottom - top) * float(k) / float(n - 1) : bottom;
}

void Track(const ArtContext& c, float cx, float top, float bottom) {
    c.p.Fill(cx - 1.5f, top - 1, 3, bottom - top + 2, c.pal.trackHighlight);
    c.p.Fill(cx - 1.5f, top - 1, 2, bottom - top + 1, c.pal.trackGroove);
}

void Ticks(const ArtContext& c, float cx, float top, float bottom, int stops, float half) {
    for (int i = 0; i < stops; ++i) {
        const float y = CapCentre(i, stops, top, bottom);
        c.p.Fill(cx - half - 5, y - 0.5f, 4, 1, c.pal.label);
        c.p.Fill(cx + half + 1, y - 0.5f, 4, 1, c.pal.label);
    }
}

void Cap(const ArtContext& c, float cx, float cy, float w, float h, PIX_PixelValue top, PIX_PixelValue bottom) {
    c.p.RoundFill(cx - w / 2, cy - h / 2, w, h, 2, c.pal.capEdge);
    c.p.RoundGradient(cx - w / 2 + 1, cy - h / 2 + 1, w - 2, h - 2, 1.5f, top, bottom);
    c.p.Fill(cx - w / 2 + 2, cy - 1.5f, w - 4, 0.5f, c.pal.capGrip);
    c.p.Fill(cx - w / 2 + 2, cy + 1.0f, w - 4, 0.5f, c.pal.capGrip);
    c.p.Fill(cx - w / 2 + 2, cy - 0.5f, w - 4, 0.5f, c.pal.capEdge);
}

void Slider(const ArtContext& c, float capW, float capH, int stops, PIX_PixelValue top, PIX_PixelValue bottom) {
    const SliderRows rows = SliderRowsOf(c.spec.name, c.look == Look::kLcd);
    const float cx = c.w / 2, travelTop = rows.top + capH / 2, travelBottom = rows.bottom - capH / 2;
    Track(c, cx, travelTop, travelBottom);
    if (stops > 0) Ticks(c, cx, travelTop, travelBottom, stops, capW / 2);
    Cap(c, cx, CapCentre(c.frame, c.spec.frames, travelTop, travelBottom), capW, capH, top, bottom);
}

// One of seven segments of a digit cell at (x, y), w x h: a hexagon along its axis.
void Segment(const ArtContext& c, float x, float y, float w, float h, int seg, PIX_PixelValue colour) {
    const float t = w * 0.2f, g = 0.6f;
    const float mid = y + h / 2;
    auto horizontal = [&](float yc) {
        const float pts[] = {x + g,     yc, x + t / 2 + g,     yc - t / 2, x + w - t / 2 - g, yc - t / 2,
                             x + w - g, yc, x + w - t / 2 - g, yc + t / 2, x + t / 2 + g,     yc + t / 2};
        c.p.Polygon(pts, 6, colour);
    };
    auto vertical = [&](float xc, float y0, float y1) {
        const float pts[] = {xc, y0 + g, xc + t / 2, y0 + t / 2 + g, xc + t / 2, y1 - t / 2 - g,
                             xc, y1 - g, xc - t / 2, y1 - t / 2 - g, xc - t / 2, y0 + t / 2 + g};
        c.p.Polygon(pts, 6, colour);
    };
    switch (seg) {
        case 0: horizontal(y + t / 2); break;
        case 1: vertical(x + w - t / 2, y + t / 2, mid); break;
        case 2: vertical(x + w - t / 2, mid, y + h - t / 2); break;
        case 3: horizontal(y + h - t / 2); break;
        case 4: vertical(x + t / 2, mid, y + h - t / 2); break;
        case 5: vertical(x + t / 2, y + t / 2, mid); break;
        case 6: horizontal(mid); break;
    }
}

// Segments a to g lit per digit.
constexpr unsigned char kDigitSegments[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

}  // namespace

void DrawButtonFace(const ArtContext& c, float x, float y, float w, float h, bool on, const std::string& word) {
    c.p.RoundFill(x, y, w, h, 3, c.pal.faceEdge);
    c.p.RoundGradient(x + 1, y + 1, w - 2, h - 2, 2, on ? c.pal.litTop : c.pal.faceTop,
                      on ? c.pal.litBottom : c.pal.faceBottom);
    c.p.Fill(x + 3, y + 1, w - 6, 1, Mix(on ? c.pal.litTop : c.pal.faceTop, c.pal.faceLight, 0.55f));
    if (word.empty()) return;
    // The word keeps clear of the edges (less on the smallest faces); one too long for
    // a comfortable size breaks onto two lines where the face is tall enough.
    TextStyle st{std::min(9.5f, h * 0.46f), true, on ? c.pal.litWord : c.pal.word, Align::kCentre, true};
    const float room = w - 2 * std::clamp(w * 0.08f, 2.0f, kWordMargin), dy = on ? 0.5f : 0;
    while (st.size > 8.5f && TextWidth(word, st) > room) st.size -= 0.5f;
    // The break that gives the narrower longer line.
    size_t space = std::string::npos;
    float widest = 1e9f;
    for (size_t at = word.find(' '); at != std::string::npos; at = word.find(' ', at + 1)) {
        const float w2 = std::max(TextWidth(word.substr(0, at), st), TextWidth(word.substr(at + 1), st));
        if (w2 < widest) widest = w2, space = at;
    }
    if (TextWidth(word, st) > room && space != std::string::npos && h >= 2 * TextHeight(st)) {
        const std::string first = word.substr(0, space), second = word.substr(space + 1);
        while (st.size > 5 && std::max(TextWidth(first, st), TextWidth(second, st)) > room) st.size -= 0.5f;
        const float lineH = h / 2 - 1;
        c.p.Text(x, y + 1 + dy, w, lineH, first, st);
        c.p.Text(x, y + 1 + lineH + dy, w, lineH, second, st);
        return;
    }
    while (st.size > 5 && TextWidth(word, st) > room) st.size -= 0.5f;
    c.p.Text(x, y + dy, w, h - dy, word, st);
}

void DrawCheckbox(const ArtContext& c, float x, float y, float s, bool on) {
    c.p.Fill(x, y, s, s, c.pal.faceEdge);
    c.p.Gradient(x + 1, y + 1, s - 2, s - 2, on ? c.pal.litTop : c.pal.faceBottom,
                 on ? c.pal.litBottom : c.pal.faceTop);
    if (!on) return;
    c.p.Line(x + s * 0.24f, y + s * 0.52f, x + s * 0.43f, y + s * 0.72f, c.pal.litWord, 1.5f);
    c.p.Line(x + s * 0.43f, y + s * 0.72f, x + s * 0.78f, y + s * 0.28f, c.pal.litWord, 1.5f);
}

void DrawWell(const ArtContext& c, float x, float y, float w, float h) {
    c.p.Fill(x, y, w, h, c.pal.well);
    c.p.Fill(x, y, w, 1, Mix(c.pal.well, Rgb(0), 0.5f));
    c.p.Fill(x, y, 1, h, Mix(c.pal.well, Rgb(0), 0.5f));
    c.p.Fill(x, y + h - 1, w, 1, Mix(c.pal.well, c.pal.faceLight, 0.25f));
}

void DrawVSlider(const ArtContext& c) {
    const int n = c.spec.frames;
    Slider(c, kCapWidth, kCapHeight, n <= 6 ? n : 0, c.pal.capTop, c.pal.capBottom);
}

void DrawShortSlider(const ArtContext& c) {
    Slider(c, kCapWidth, kCapHeight - 1, c.spec.frames, c.pal.capTop, c.pal.capBottom);
}

void DrawFlexiSlider(const ArtContext& c) {
    int slot = 0;
    if (c.spec.name.find("blue") != std::string::npos) slot = 1;
    if (c.spec.name.find("purple") != std::string::npos) slot = 2;
    if (c.spec.name.find("green") != std::string::npos) slot = 3;
    const PIX_PixelValue a = kFlexiAccents[slot];
    Slider(c, 12, 8, 0, Mix(a, Rgb(0xffffff), 0.35f), Mix(a, Rgb(0), 0.25f));
}

void DrawWordButton(const ArtContext& c) { DrawButtonFace(c, 0, 0, c.w, c.h, c.frame == 1, ButtonWord(c.spec.name)); }

void DrawPrevNext(const ArtContext& c) {
    DrawButtonFace(c, 0, 0, c.w, c.h, c.frame == 1, "");
    const bool next = c.spec.name == "nextbtn";
    const float cx = c.w / 2, cy = c.h / 2 + (c.frame == 1 ? 0.5f : 0), s = c.h * 0.22f;
    const float pts[] = {cx + (next ? -s : s), cy - s * 1.2f,        cx + (next ? -s : s),
                         cy + s * 1.2f,        cx + (next ? s : -s), cy};
    c.p.Polygon(pts, 3, c.frame == 1 ? c.pal.litWord : c.pal.word);
}

void DrawBigButton(const ArtContext& c) {
    const bool on = c.frame == 1;
    DrawButtonFace(c, 0, 0, c.w, c.h, on, "");
    const float cx = c.w / 2, cy = c.h / 2;
    c.p.Disc(cx, cy, 3.2f, c.pal.faceEdge);
    c.p.Disc(cx, cy, 2.4f, on ? Rgb(0xfff2c0) : Mix(c.pal.faceBottom, Rgb(0), 0.3f));
}

// A ring round a see-through body and a small knob: the oscillator sync switch stands
// on a slider's track, whose cap shows through it.
void DrawSyncButton(const ArtContext& c) {
    const bool on = c.frame == 1;
    const float r = c.h / 2;
    auto see = [](PIX_PixelValue v, int a) { return PIX_MakePixel(a, PIX_PixelR(v), PIX_PixelG(v), PIX_PixelB(v)); };
    c.p.RoundFill(0, 0, c.w, c.h, r, c.pal.faceEdge);
    c.p.RoundFill(1, 1, c.w - 2, c.h - 2, r - 1, on ? c.pal.litTop : c.pal.faceLight);
    c.p.RoundFill(2, 2, c.w - 4, c.h - 4, r - 2, see(on ? c.pal.litBottom : c.pal.faceBottom, on ? 150 : 90));
    const float kx = on ? c.w - r : r;
    c.p.Disc(kx, r, r - 3.5f, c.pal.capEdge, false);
    c.p.Disc(kx, r, r - 4.2f, on ? c.pal.capTop : c.pal.capBottom, false);
}

void DrawLed(const ArtContext& c) {
    const bool on = c.frame == 1;
    const float cx = c.w / 2, cy = c.h / 2, r = std::min(c.w, c.h) / 2 - 1;
    c.p.Disc(cx, cy, r + 0.5f, Rgb(0x140404), false);
    if (on) {
        // Radial glow: rings from dark red at the rim to near white at the centre.
        for (int i = 0; i <= 10; ++i) {
            const float t = i / 10.0f;
            c.p.Disc(cx, cy, r * (1 - t * 0.85f), Mix(Rgb(0xa01010), Rgb(0xffd0c0), t * t));
        }
    } else {
        c.p.Disc(cx, cy, r - 0.5f, Rgb(0x4a0c0c));
        c.p.Disc(cx - r * 0.3f, cy - r * 0.3f, r * 0.3f, Rgb(0x7a2a2a));
    }
}

void DrawCheckboxImage(const ArtContext& c) { DrawCheckbox(c, 0, 0, std::min(c.w, c.h), c.frame == 1); }

void DrawSevenSegment(const ArtContext& c) {
    c.p.RoundFill(0, 0, c.w, c.h, 3, Rgb(0x2a2a2a));
    c.p.RoundFill(1, 1, c.w - 2, c.h - 2, 2, Rgb(0x050505));
    const bool blank = c.frame >= 100;
    const int digits[2] = {c.frame / 10 % 10, c.frame % 10};
    const float dh = c.h - 8, dw = dh * 0.55f, gap = dw * 0.45f;
    const float x0 = (c.w - 2 * dw - gap) / 2;
    for (int d = 0; d < 2; ++d) {
        const float x = x0 + d * (dw + gap);
        for (int s = 0; s < 7; ++s) {
            const bool lit = !blank && (kDigitSegments[digits[d]] >> s & 1);
            Segment(c, x, 4, dw, dh, s, lit ? Rgb(0xff2a1a) : Rgb(0x2a0806));
        }
    }
}

void DrawFlexiMode(const ArtContext& c) {
    const bool on = c.frame == 1;
    c.p.RoundFill(0, 0, c.w, c.h, 3, c.pal.faceEdge);
    const float half = (c.w - 2) / 2;
    for (int side = 0; side < 2; ++side) {
        const bool lit = (side == 1) == on;
        c.p.Gradient(1 + side * half, 1, half, c.h - 2, lit ? c.pal.litTop : c.pal.faceTop,
                     lit ? c.pal.litBottom : c.pal.faceBottom);
        TextStyle st{7.5f, true, lit ? c.pal.litWord : c.pal.word, Align::kCentre, true};
        c.p.Text(1 + side * half, 1, half, c.h - 2, side ? "B" : "A", st);
    }
    c.p.Fill(c.w / 2 - 0.5f, 1, 1, c.h - 2, c.pal.faceEdge);
}

void DrawPolaritySwitch(const ArtContext& c) {
    DrawButtonFace(c, 0, 0, c.w, c.h, c.frame == 1, c.frame == 1 ? "-" : "+");
}

// The effect tabs and the order switch lie across the effect sliders: a tinted glass
// band that lets the sliders' caps show through, its word haloed so that it reads over
// a cap as over the panel.
void GlassFace(const ArtContext& c, float h, bool on, const std::string& word) {
    auto see = [](PIX_PixelValue v, int a) { return PIX_MakePixel(a, PIX_PixelR(v), PIX_PixelG(v), PIX_PixelB(v)); };
    c.p.RoundFill(0, 0, c.w, h, 3, see(c.pal.faceEdge, 200));
    c.p.RoundGradient(1, 1, c.w - 2, h - 2, 2, see(on ? c.pal.litTop : c.pal.faceTop, on ? 190 : 150),
                      see(on ? c.pal.litBottom : c.pal.faceBottom, on ? 190 : 150));
    // The halo in the face's own colour on the side away from the word's.
    const PIX_PixelValue ink = on ? c.pal.litWord : c.pal.word;
    const bool lightInk = PIX_PixelR(ink) + PIX_PixelG(ink) + PIX_PixelB(ink) > 3 * 128;
    const PIX_PixelValue face =
        on ? (lightInk ? c.pal.litBottom : c.pal.litTop) : (lightInk ? c.pal.faceEdge : c.pal.faceTop);
    const TextStyle halo{8.5f, true, face, Align::kCentre, true};
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy) c.p.Text(0.5f + dx * 0.5f, 1 + dy * 0.5f, c.w - 1, h - 2, word, halo);
    c.p.Text(0.5f, 1, c.w - 1, h - 2, word, {8.5f, true, ink, Align::kCentre, true});
}

void DrawOrderSwitch(const ArtContext& c) {
    GlassFace(c, c.h, c.frame == 1, c.frame == 1 ? "EQ > drive" : "drive > EQ");
}

void DrawEffectTab(const ArtContext& c) {
    // The bottom two rows stay clear: the effect-on bar under the tab shows there.
    GlassFace(c, c.h - 2, c.frame == 1, ButtonWord(c.spec.name));
}

void DrawTabHighlight(const ArtContext& c) { c.p.Fill(4, c.h - 2, c.w - 8, 2, c.pal.accent); }

void DrawRadioTab(const ArtContext& c) {
    const bool on = c.frame == 1;
    c.p.Fill(0, 0, c.w, c.h, c.pal.faceEdge);
    c.p.Fill(1, 1, c.w - 2, c.h - 2, on ? c.pal.faceTop : c.pal.faceBottom);
}

void DrawCurves(const ArtContext& c) {
    c.p.RoundFill(0, 0, c.w, c.h, 3, c.pal.faceEdge);
    c.p.RoundFill(1, 1, c.w - 2, c.h - 2, 2, c.pal.well);
    const float x0 = 4, y0 = 4, w = c.w - 8, h = c.h - 8;
    c.p.Fill(x0, y0 + h, w, 0.5f, Mix(c.pal.well, c.pal.screenLine, 0.35f));
    c.p.Fill(x0, y0, 0.5f, h, Mix(c.pal.well, c.pal.screenLine, 0.35f));
    // 80 response curves from strongly logarithmic through linear to strongly
    // exponential: frame k raises the input to 2^((k - 39.5) / 13).
    const float g = std::pow(2.0f, (float(c.frame) - 39.5f) / 13.0f);
    float px = x0, py = y0 + h;
    for (int i = 1; i <= 32; ++i) {
        const float t = i / 32.0f;
        const float x = x0 + w * t, y = y0 + h - h * std::pow(t, g);
        c.p.Line(px, py, x, y, c.pal.screenLine, 1.2f);
        px = x;
        py = y;
    }
}

void DrawModWheel(const ArtContext& c) {
    c.p.RoundFill(0, 0, c.w, c.h, 3, Rgb(0x050608));
    const float x = 3, y = 3, w = c.w - 6, h = c.h - 6;
    // A cylinder seen side on: shade by the cosine of the angle under each row, and
    // move the ribs by the frame so that turning the wheel turns them.
    const float phase = float(c.frame) / float(std::max(1, c.spec.frames - 1));
    const int rows = int(h * kScale);
    for (int i = 0; i < rows; ++i) {
        const float v = (i + 0.5f) / rows * 2 - 1;
        const float lit = std::sqrt(std::max(0.0f, 1 - v * v));
        c.p.Fill(x, y + float(i) / kScale, w, 1.0f / kScale, Mix(Rgb(0x0c0e12), Rgb(0x6a7282), lit));
    }
    const float spacing = 0.16f;
    for (int k = -8; k <= 8; ++k) {
        const float a = (k * spacing + phase * spacing * 6) - spacing * 3;
        if (a <= -1.4f || a >= 1.4f) continue;
        const float ry = y + h / 2 + std::sin(a) * h / 2;
        const float shade = std::cos(a);
        c.p.Fill(x + 1, ry - 0.4f, w - 2, 0.8f, Mix(Rgb(0x0c0e12), Rgb(0x1a1d24), 1 - shade));
    }
    // Position mark on the wheel's rim.
    const float ma = (phase - 0.5f) * 2.2f;
    const float my = y + h / 2 - std::sin(ma) * h / 2;
    c.p.Fill(x + 1, my - 1, w - 2, 2, Mix(c.pal.accent, Rgb(0), 1 - std::cos(ma) * 0.8f));
}

void DrawOctave(const ArtContext& c) {
    using namespace qd::keyboard;
    const float sx = c.w / kOctaveWidth, sy = c.h / kKeyHeight;
    c.p.Fill(0, 0, c.w, c.h, Rgb(0x1a1a1a));
    for (int key = 0; key < kKeysPerOctave; ++key) {
        if (IsBlackKey(key)) continue;
        const KeyRect r = KeyRectOf(key);
        c.p.Gradient(r.x * sx + 0.5f, 0, r.w * sx - 1, r.h * sy - 1, Rgb(0xf4f4f0), Rgb(0xd6d6d0));
        c.p.Fill(r.x * sx + 0.5f, r.h * sy - 3, r.w * sx - 1, 2, Rgb(0xbcbcb4));
    }
    for (int key = 0; key < kKeysPerOctave; ++key) {
        if (!IsBlackKey(key)) continue;
        const KeyRect r = KeyRectOf(key);
        c.p.Fill(r.x * sx, 0, r.w * sx, r.h * sy, Rgb(0x050505));
        c.p.Gradient(r.x * sx + 1, 0, r.w * sx - 2, r.h * sy - 3, Rgb(0x2a2a2c), Rgb(0x141416));
        c.p.Fill(r.x * sx + 1.5f, r.h * sy - 5, r.w * sx - 3, 2, Rgb(0x3a3a3e));
    }
}

void DrawKeys(const ArtContext& c) {
    using namespace qd::keyboard;
    // Frame k holds key k pressed and nothing else: the octave picture shows through.
    const float sx = c.w / kOctaveWidth, sy = c.h / kKeyHeight;
    const int key = c.frame;
    const KeyRect r = KeyRectOf(key);
    if (IsBlackKey(key)) {
        c.p.Fill(r.x * sx, 0, r.w * sx, r.h * sy, Rgb(0x050505));
        c.p.Gradient(r.x * sx + 1, 0, r.w * sx - 2, r.h * sy - 1.5f, Rgb(0x1d3f78), Rgb(0x2f66c0));
        return;
    }
    c.p.Fill(r.x * sx, 0, r.w * sx, r.h * sy, Rgb(0x1a1a1a));
    c.p.Gradient(r.x * sx + 0.5f, 0, r.w * sx - 1, r.h * sy - 1, Rgb(0xb8d0f4), Rgb(0x86aee8));
    // Leave the black neighbours to the octave picture.
    for (int b : {key - 1, key + 1}) {
        if (b < 0 || b >= kKeysPerOctave || !IsBlackKey(b)) continue;
        const KeyRect br = KeyRectOf(b);
        c.p.Fill(br.x * sx, 0, br.w * sx, br.h * sy, kClear);
    }
}

void DrawSelecting(const ArtContext& c) { c.p.Frame(0, 0, c.w, c.h, c.pal.accent, 1.5f); }

}  // namespace skingen
