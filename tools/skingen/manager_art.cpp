#include <string>

#include "editor/data/param_table.h"
#include "tools/skingen/art.h"

namespace skingen {

namespace {

// Slot card accents: empty, filled, then the categories in the order the program
// category's texts give them (BASS, GTR, MIDI, FX, EWI).
constexpr PIX_PixelValue kSlotAccents[7] = {Rgb(0x3a3f4a), Rgb(0x8a96ac), Rgb(0xe0483e), Rgb(0xe0a03e),
                                            Rgb(0x3e7be0), Rgb(0x9a4fe0), Rgb(0x3ec46d)};

void Box(const ArtContext& c, float x, float y, float w, float h) {
    c.p.RoundFill(x, y, w, h, 4, c.pal.frame);
    c.p.RoundFill(x + 1, y + 1, w - 2, h - 2, 3, c.pal.sectionFill);
}

// A check box's name without the "Show " or "Sort by " that its column title says.
void NameAt(const ArtContext& c, float x, float y, int param) {
    std::string name = qd::kParamTable[param].name;
    for (const char* prefix : {"Show ", "Sort by "})
        if (name.rfind(prefix, 0) == 0) name = name.substr(std::string(prefix).size());
    const TextStyle st{8.5f, false, c.pal.label, Align::kLeft};
    c.p.Text(x + 16, y - 1, 52, 14, name, st);
}

}  // namespace

void DrawManagerPage(const ArtContext& c) {
    c.p.Fill(0, 0, c.w, c.h, c.pal.panelTop);
    // Action bar, with the categories and options beside it.
    Box(c, 14, 26, 644, 70);
    Box(c, 662, 24, 210, 74);
    const TextStyle head{8.5f, true, c.pal.title, Align::kLeft};
    c.p.Text(668, 12, 120, 12, "CATEGORIES", head);
    c.p.Text(826, 12, 120, 12, "SHOW / SORT BY", head);
    const struct {
        float x, y;
        int param;
    } checks[] = {{668, 31, 319}, {668, 44, 320}, {668, 57, 321}, {668, 70, 318}, {668, 83, 323}, {736, 83, 324},
                  {826, 31, 325}, {826, 44, 326}, {826, 57, 327}, {826, 70, 328}, {826, 83, 329}};
    for (const auto& k : checks) NameAt(c, k.x, k.y, k.param);
    // Search field and its label.
    c.p.Text(880, 22, 120, 12, "SEARCH", head);
    c.p.Fill(879, 36, 222, 18, c.pal.frame);
    c.p.Fill(880, 37, 220, 16, Rgb(0xffffff));
    // Program list with its scroll track, and the bank grid.
    c.p.Text(24, 102, 200, 12, "PROGRAMS", head);
    DrawWell(c, 22, 114, 284, 664);
    c.p.Fill(276, 116, 28, 660, Mix(c.pal.well, Rgb(0), 0.35f));
    c.p.Text(310, 94, 200, 12, "BANK", head);
    DrawWell(c, 306, 106, 816, 684);
    for (int col = 1; col < 10; ++col) c.p.Fill(308 + 82.0f * col - 4, 110, 1, 676, Mix(c.pal.well, c.pal.frame, 0.5f));
    for (int row = 1; row < 10; ++row) c.p.Fill(310, 108 + 68.5f * row - 1, 812, 1, Mix(c.pal.well, c.pal.frame, 0.5f));
}

void DrawSlotCard(const ArtContext& c) {
    const PIX_PixelValue accent = kSlotAccents[c.frame % 7];
    const bool empty = c.frame == 0;
    c.p.RoundFill(0, 0, c.w, c.h, 4, empty ? Rgb(0x2a2e36) : Mix(accent, Rgb(0), 0.55f));
    c.p.RoundGradient(1, 1, c.w - 2, c.h - 2, 3, empty ? Rgb(0x22252c) : Rgb(0x343944),
                      empty ? Rgb(0x1f2228) : Rgb(0x2a2e37));
    if (!empty) c.p.Fill(2, 1, c.w - 4, 2.5f, accent);
    c.p.Fill(6, 27, c.w - 12, 0.5f, Mix(Rgb(0x343944), accent, empty ? 0.3f : 0.6f));
}

void DrawSlotSelect(const ArtContext& c) {
    if (c.frame == 0) return;
    c.p.Frame(0, 0, c.w, c.h, c.pal.accent, 2);
}

void DrawPlayNote(const ArtContext& c) {
    const bool on = c.frame == 1;
    DrawButtonFace(c, 0, 0, c.w, c.h, on, "");
    const float cx = c.w / 2, cy = c.h / 2 - 6;
    const float pts[] = {cx - 7, cy - 9, cx - 7, cy + 9, cx + 10, cy};
    c.p.Polygon(pts, 3, on ? c.pal.litWord : c.pal.word);
    const TextStyle st{8.5f, true, on ? c.pal.litWord : c.pal.word, Align::kCentre};
    c.p.Text(0, c.h - 20, c.w, 14, "play note", st);
}

void DrawScrollHandle(const ArtContext& c) {
    c.p.RoundFill(2, 0, c.w - 4, c.h, 4, c.pal.faceEdge);
    c.p.RoundGradient(3, 1, c.w - 6, c.h - 2, 3, c.pal.capTop, c.pal.capBottom);
    for (int i = -1; i <= 1; ++i) c.p.Fill(9, c.h / 2 + 4.0f * i - 0.5f, c.w - 18, 1, c.pal.capGrip);
}

void DrawLoginBox(const ArtContext& c) {
    Box(c, 0, 0, c.w, c.h);
    const TextStyle st{9, false, c.pal.label, Align::kRight};
    c.p.Text(4, 21, 58, 16, "user", st);
    c.p.Text(4, 45, 58, 16, "password", st);
    c.p.Text(140, 72, 80, 16, "remember", st);
    for (const float y : {21.0f, 45.0f}) {
        c.p.Fill(67, y - 1, 192, 18, c.pal.frame);
        c.p.Fill(68, y, 190, 16, Rgb(0xffffff));
    }
}

void DrawModeBox(const ArtContext& c) {
    Box(c, 0, 0, c.w, c.h);
    const TextStyle st{9, true, c.pal.title, Align::kLeft};
    c.p.Text(22, 10, 260, 18, "PROGRAM DATABASE", st);
}

}  // namespace skingen
