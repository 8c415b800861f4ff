#include <string>

#include "editor/data/panel_places.h"
#include "editor/data/param_table.h"
#include "tools/skingen/art.h"
#include "tools/skingen/panel_layout.h"

namespace skingen {

namespace {

// Slot card accents: empty, filled, then the categories in the order the program
// category's texts give them (BASS, GTR, MIDI, FX, EWI).
constexpr PIX_PixelValue kSlotAccents[7] = {Rgb(0x3a3f4a), Rgb(0x8a96ac), Rgb(0xe0483e), Rgb(0xe0a03e),
                                            Rgb(0x3e7be0), Rgb(0x9a4fe0), Rgb(0x3ec46d)};

void RoundBox(const ArtContext& c, float x, float y, float w, float h) {
    c.p.RoundFill(x, y, w, h, 4, c.pal.frame);
    c.p.RoundFill(x + 1, y + 1, w - 2, h - 2, 3, c.pal.sectionFill);
}

// The overwrite button, the last of the action buttons, stands in the options box.
constexpr const qd::manager::ButtonPlace& kOverwrite =
    qd::manager::kActionButtonPlaces[qd::manager::kActionButtons - 1];

// A check box's name without the "Show " or "Sort by " that its column title says,
// right of the box and as wide as the room up to the next box, field or button on its
// row.
void NameAt(const ArtContext& c, float x, float y, int param) {
    namespace m = qd::manager;
    std::string name = qd::kParamTable[param].name;
    for (const char* prefix : {"Show ", "Sort by "})
        if (name.rfind(prefix, 0) == 0) name = name.substr(std::string(prefix).size());
    const Box row{x + 16, y - 1, 1000, 14};
    float right = 1130;
    for (const auto& k : m::kCheckBoxes)
        if (k.at.x > x && k.at.y == y) right = std::min(right, float(k.at.x));
    const Box field{float(m::kSearchField.L), float(m::kSearchField.T), float(m::kSearchField.W()),
                    float(m::kSearchField.H())};
    const Box overwrite = {float(kOverwrite.at.x), float(kOverwrite.at.y),
                           ImageFrame(c.manifest, kOverwrite.image, qd::kSkinSpace).w,
                           ImageFrame(c.manifest, kOverwrite.image, qd::kSkinSpace).h};
    for (const Box& b : {field, overwrite})
        if (b.y < row.B() && row.y < b.B()) right = std::min(right, b.x);
    const TextStyle st{8.0f, false, c.pal.label, Align::kLeft};
    c.p.Text(row.x, row.y, right - 2 - row.x, row.h, name, st);
}

}  // namespace

void DrawManagerPage(const ArtContext& c) {
    namespace m = qd::manager;
    c.p.Fill(0, 0, c.w, c.h, c.pal.panelTop);
    // Action bar, and beside it one box for the categories, the options, the search
    // field and the overwrite button, each with its heading above.
    RoundBox(c, 14, 26, 644, 70);
    RoundBox(c, 662, 24, 468, 74);
    const TextStyle head{8.5f, true, c.pal.title, Align::kLeft};
    c.p.Text(float(m::kCategoryColumn), 11, 120, 12, "CATEGORIES", head);
    c.p.Text(float(m::kShowSortColumn), 11, 100, 12, "SHOW / SORT BY", head);
    for (const auto& k : m::kCheckBoxes) NameAt(c, float(k.at.x), float(k.at.y), k.param);
    // Search field, its heading centred over it.
    const IRECT& search = m::kSearchField;
    c.p.Text(float(search.L), 11, float(search.W()), 12, "SEARCH", {8.5f, true, c.pal.title, Align::kCentre});
    c.p.Fill(search.L - 1.0f, search.T - 1.0f, search.W() + 2.0f, search.H() + 2.0f, c.pal.frame);
    c.p.Fill(float(search.L), float(search.T), float(search.W()), float(search.H()), Rgb(0xffffff));
    // Program list with its scroll track, and the bank grid.
    const float trackW = ImageFrame(c.manifest, qd::kBmpPmScrollBar, qd::kSkinSpace).w;
    c.p.Text(float(m::kRowLeft), 102, 200, 12, "PROGRAMS", head);
    DrawWell(c, m::kRowLeft - 2.0f, m::kScrollBar.y - 2.0f, m::kScrollBar.x + trackW + 2.0f - (m::kRowLeft - 2.0f),
             m::kScrollLength + 4.0f);
    c.p.Fill(float(m::kScrollBar.x), float(m::kScrollBar.y), trackW, float(m::kScrollLength),
             Mix(c.pal.well, Rgb(0), 0.35f));
    const IRECT& bank = m::kSlotSelector;
    c.p.Text(bank.L + 2.0f, 94, 200, 12, "BANK", head);
    DrawWell(c, bank.L - 2.0f, bank.T - 2.0f, bank.W() + 4.0f, bank.H() + 4.0f);
    const PIX_PixelValue line = Mix(c.pal.well, c.pal.frame, 0.5f);
    const int slotRows = m::kBankSlots / m::kSlotColumns;
    for (int col = 1; col < m::kSlotColumns; ++col)
        c.p.Fill(m::kSlotLeft + float(m::kSlotStepX) * col - 4, bank.T + 2.0f, 1, bank.H() - 4.0f, line);
    for (int row = 1; row < slotRows; ++row)
        c.p.Fill(bank.L + 2.0f, float(m::kSlotTop + m::kSlotStepY * row - 1), float(bank.W()), 1, line);
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
    RoundBox(c, 0, 0, c.w, c.h);
    const TextStyle st{9, false, c.pal.label, Align::kRight};
    namespace m = qd::manager;
    // The names left of the fields and of the check box.
    c.p.Text(4, float(m::kUserNameField.T), 58, 16, "user", st);
    c.p.Text(4, float(m::kPasswordField.T), 58, 16, "password", st);
    c.p.Text(m::kRememberBox.x - 86.0f, m::kRememberBox.y - 2.0f, 80, 16, "remember", st);
    for (const IRECT& field : {m::kUserNameField, m::kPasswordField}) {
        c.p.Fill(field.L - 1.0f, field.T - 1.0f, field.W() + 2.0f, field.H() + 2.0f, c.pal.frame);
        c.p.Fill(float(field.L), float(field.T), float(field.W()), float(field.H()), Rgb(0xffffff));
    }
}

void DrawModeBox(const ArtContext& c) {
    RoundBox(c, 0, 0, c.w, c.h);
    const TextStyle st{9, true, c.pal.title, Align::kLeft};
    c.p.Text(22, 10, 260, 18, "PROGRAM DATABASE", st);
}

}  // namespace skingen
