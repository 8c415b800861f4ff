#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/data/panel_places.h"
#include "editor/data/param_table.h"
#include "tools/skingen/art.h"
#include "tools/skingen/panel_layout.h"

namespace skingen {

namespace {

bool IsLcd(const ArtContext& c) { return c.look == Look::kLcd; }
// The panel family the image belongs to; "space" stands for the "orig" family.
qd::Skin SkinOf(const ArtContext& c) { return IsLcd(c) ? qd::kSkinLcd : qd::kSkinSpace; }

// The page ground at height y.
PIX_PixelValue GroundAt(const ArtContext& c, float y) {
    return Mix(c.pal.panelTop, c.pal.panelBottom, std::clamp(y / 800.0f, 0.0f, 1.0f));
}

// Whether a point lies inside any of the boxes.
bool InAny(const std::vector<Box>& boxes, float x, float y) {
    for (const Box& b : boxes)
        if (x >= b.x && x < b.R() && y >= b.y && y < b.B()) return true;
    return false;
}

// The 1 px outline of the union of boxes: every file pixel inside whose neighbour one
// GUI pixel away lies outside, so that joined boxes share one outline.
void Outline(const ArtContext& c, const std::vector<Box>& boxes, PIX_PixelValue colour) {
    const Box all = [&] {
        Box a = boxes[0];
        for (const Box& b : boxes) {
            const float x1 = std::max(a.R(), b.R()), y1 = std::max(a.B(), b.B());
            a.x = std::min(a.x, b.x);
            a.y = std::min(a.y, b.y);
            a.w = x1 - a.x;
            a.h = y1 - a.y;
        }
        return a;
    }();
    const float s = 1.0f / kScale;
    for (float y = all.y; y < all.B(); y += s)
        for (float x = all.x; x < all.R(); x += s) {
            const float cx = x + s / 2, cy = y + s / 2;
            if (!InAny(boxes, cx, cy)) continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx) edge = !InAny(boxes, cx + dx, cy + dy);
            if (edge) c.p.Fill(x, y, s, s, colour);
        }
}

// A framed area (boxes joined under one outline), its fill first.
void FramedArea(const ArtContext& c, const std::vector<Box>& boxes) {
    for (const Box& b : boxes) c.p.Fill(b.x, b.y, b.w, b.h, c.pal.sectionFill);
    Outline(c, boxes, c.pal.frame);
}

// A section's title on a tab across the frame edge its box lies on, filled so that
// the title is drawn on opaque ground in the overlay pictures too.
void TitleTab(const ArtContext& c, const Section& s) {
    const TextStyle st{kTitleSize, true, c.pal.title, Align::kLeft};
    const Box& b = s.titleBox;
    const Box& f = s.frames[0];
    const bool top = b.y + b.h / 2 < f.y + f.h / 2;
    c.p.Fill(b.x - 4, b.y, b.w + 4, b.h, c.pal.frame);
    c.p.Fill(b.x - 3, b.y + (top ? 1 : 0), b.w + 2, b.h - 1, c.pal.sectionFill);
    c.p.Text(b.x, b.y, b.w, b.h, s.title, st);
}

// A bottom-row area: open at the panel's bottom edge, its title inside the top-left
// corner (the equalizer's graph frame shares the top line).
void BottomArea(const ArtContext& c, float x, float w) {
    FramedArea(c, {{x, kBottomRowTop, w, qd::kPanelHeight + 1 - kBottomRowTop}});
}
void BottomTitle(const ArtContext& c, float x, const std::string& title) {
    const TextStyle st{kTitleSize, true, c.pal.title, Align::kLeft};
    c.p.Text(x + 5, kBottomRowTop + 2, TextWidth(title, st) + 4, 13, title, st);
}
// The copy block's area is the background's; its words are the copy pictures'.
constexpr float kCopyLeft = 8;
float MidiLeft() { return float(qd::kMidiChannelSpinner.L - 3); }

void SectionsOf(const ArtContext& c, Page page) {
    const TextStyle label{kLabelSize, false, c.pal.label, Align::kCentre};
    const PageLayout layout = LayoutOf(c.manifest, page, SkinOf(c));
    // Fills first, so that no neighbour's fill cuts a line or a label off.
    for (const auto& s : layout.sections)
        for (const Box& b : s.frames) c.p.Fill(b.x, b.y, b.w, b.h, c.pal.sectionFill);
    for (const Box& g : layout.valueGrounds) c.p.RoundFill(g.x, g.y, g.w, g.h, 2, c.pal.display);
    for (const auto& s : layout.sections) Outline(c, s.frames, c.pal.frame);
    for (const auto& s : layout.sections) TitleTab(c, s);
    for (const auto& s : layout.sections)
        for (const auto& l : s.labels) c.p.Text(l.box.x, l.box.y, l.box.w, l.box.h, l.text, label);
}

// Faint dust, seeded so every build draws the same sky.
void Stars(const ArtContext& c) {
    uint32_t seed = 0x2545f491u;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / float(1u << 24);
    };
    for (int i = 0; i < 1400; ++i) {
        const float x = next() * c.w, y = next() * c.h, a = 0.15f + 0.55f * next() * next();
        const float size = next() < 0.9f ? 0.5f : 1.0f;
        // Mixed with the ground beneath, so the page stays wholly opaque.
        c.p.Fill(x, y, size, size, Mix(GroundAt(c, y), Rgb(0xd8e6ff), a));
    }
}

// The names of the bottom row's check boxes stand right of them, as wide as the room
// up to the next column or button.
constexpr float kCheckboxNameGap = 15;
float CheckboxRow(int i) { return float(qd::kCheckboxTop + qd::kCheckboxStep * i); }

void CheckboxName(const ArtContext& c, float x, float right, int row, const std::string& name) {
    const TextStyle st{8.0f, false, c.pal.label, Align::kLeft};
    c.p.Text(x + kCheckboxNameGap, CheckboxRow(row) - 0.5f, right - 2 - x - kCheckboxNameGap, 13, name, st);
}

// The names of a column of the randomiser's check boxes (column 2 to 4 of the row).
void CheckboxNames(const ArtContext& c, int column) {
    const float right = column < 4 ? float(qd::kCheckboxColumns[column + 1]) : float(qd::kSelectAllButton.x);
    for (int i = 0; i < qd::kCheckboxRows; ++i)
        CheckboxName(c, float(qd::kCheckboxColumns[column]), right, i,
                     qd::kParamTable[qd::param::kCopyFromVco1 + qd::kCheckboxRows * column + i].name);
}

Box BoxOf(const IRECT& r, float grow = 0) { return {r.L - grow, r.T - grow, r.W() + 2 * grow, r.H() + 2 * grow}; }

// The Flexi slot's plate and, hanging from it through the first row's frame line, the
// tab that carries the "LEARN" under its button.
constexpr float kPlateTop = 5, kPlateHeight = 66;
void FlexiPlate(const ArtContext& c, int n) {
    const float x = float(qd::kFlexiSourceSpinner.L - 4 + qd::kFlexiStep * n);
    c.p.RoundFill(x, kPlateTop, 162, kPlateHeight, 4, c.pal.sectionFill);
    c.p.Fill(x, kPlateTop, 162, 1.5f, kFlexiAccents[n]);
}
void LearnTab(const ArtContext& c, int n) {
    const float cx = (qd::kFlexiLearnText.L + qd::kFlexiLearnText.R) / 2.0f + qd::kFlexiStep * n;
    const float top = kPlateTop + kPlateHeight - 8, bottom = qd::kFlexiLearnText.B + 1.0f;
    c.p.RoundFill(cx - 19, top, 38, bottom - top, 3, c.pal.sectionFill);
}

constexpr float kListTitleX = 300;

}  // namespace

void DrawBackground(const ArtContext& c) {
    const qd::SkinPlaces& places = qd::PlacesOf(SkinOf(c));
    c.p.Gradient(0, 0, c.w, c.h, c.pal.panelTop, c.pal.panelBottom);
    if (c.pal.stars) Stars(c);
    // Program bar and Flexi slots: filled, not framed, since the first row of sections
    // starts right under their controls. The program's name and the slots' spinners
    // show in windows: dark for the red texts, light for the lcd's black ones.
    const PIX_PixelValue window = IsLcd(c) ? c.pal.paper : c.pal.display;
    c.p.RoundFill(8, kPlateTop, 300, kPlateHeight, 4, c.pal.sectionFill);
    const Box name = BoxOf(places.programName, 1);
    c.p.RoundFill(name.x, name.y, name.w, name.h, 2, window);
    for (int n = 0; n < qd::kFlexiSlotCount; ++n) {
        FlexiPlate(c, n);
        const float d = float(qd::kFlexiStep * n);
        const Box source = BoxOf(qd::kFlexiSourceSpinner), range = BoxOf(qd::kFlexiRangeSpinner);
        c.p.RoundFill(source.x + d, source.y, source.w, source.h, 2, window);
        // The range's number only: the "(+)" stands right of it.
        c.p.RoundFill(range.x + d, range.y, qd::kFlexiPlusText.L - 2 - range.x, range.h, 2, window);
        const TextStyle st{8.0f, true, IsLcd(c) ? Mix(kFlexiAccents[n], Rgb(0), 0.45f) : kFlexiAccents[n],
                           Align::kLeft};
        c.p.Text(qd::kFlexiButton.x + 27 + d, 50, 38, 12, "FLEXI " + std::to_string(n + 1), st);
    }
    // The tracking priority's switch and value text under its name.
    const TextStyle small{kLabelSize, false, c.pal.label, Align::kCentre};
    const float tracking = float(places.trackingText.L - 5);
    c.p.RoundFill(tracking, kPlateTop, 106, 50, 4, c.pal.sectionFill);
    c.p.Text(tracking + 8, 9, 90, 12, "tracking priority", small);
    SectionsOf(c, Page::kSound);
    for (int n = 0; n < qd::kFlexiSlotCount; ++n) LearnTab(c, n);
    // Bottom row: the MIDI spinners on light plates of their own (their texts are black),
    // the randomiser's buttons and check boxes.
    BottomArea(c, kCopyLeft, MidiLeft() + 1 - kCopyLeft);
    BottomArea(c, MidiLeft(), float(qd::kKeyboardPlace.x) - MidiLeft());
    BottomTitle(c, MidiLeft(), "MIDI");
    const Box plate = BoxOf(qd::kMidiChannelSpinner);
    const float split = (qd::kMidiChannelSpinner.B + qd::kMidiCCSpinner.T) / 2.0f;
    c.p.RoundFill(plate.x + 1, plate.y + 1, plate.w - 2, split - 1 - (plate.y + 1), 3, c.pal.paper);
    c.p.RoundFill(plate.x + 1, split + 1, plate.w - 2, qd::kPanelHeight + 2 - (split + 1), 3, c.pal.paper);
    const float randomize = float(qd::kResetButton.x - 8);
    BottomArea(c, randomize, c.w - 1 - randomize);
    BottomTitle(c, randomize, "RANDOMIZE");
    for (int column = 2; column < 5; ++column) CheckboxNames(c, column);
}

void DrawSaveLabels(const ArtContext& c) {
    // Transparent but for the words of the copy block, whose area the background draws:
    // so they sit on the "space" and the "solid" ground alike.
    const bool flexi = c.spec.name == "flexisavebg";
    BottomTitle(c, kCopyLeft, flexi ? "COPY FLEXI" : "COPY VCO");
    // The copy's two check-box columns: from and to.
    const float from = qd::kCheckboxColumns[0] + kCheckboxNameGap, to = qd::kCheckboxColumns[1] + kCheckboxNameGap;
    const TextStyle head{8.0f, true, c.pal.label, Align::kLeft};
    c.p.Text(from, 718, 30, 12, "from", head);
    c.p.Text(to, 718, 30, 12, "to", head);
    const float copy = float(qd::PlacesOf(SkinOf(c)).copyButton.x);
    for (int i = 0; i < qd::kCheckboxRows; ++i) {
        const std::string name = (flexi ? "Flexi " : "VCO ") + std::to_string(i + 1);
        CheckboxName(c, float(qd::kCheckboxColumns[0]), float(qd::kCheckboxColumns[1]), i, name);
        CheckboxName(c, float(qd::kCheckboxColumns[1]), copy, i, name);
    }
}

void DrawEffectPanel(const ArtContext& c) {
    const std::string& n = c.spec.name;
    const Page page = n == "fxbgmod"     ? Page::kModulation
                      : n == "fxbgdrive" ? Page::kDrive
                      : n == "fxbgeq"    ? Page::kEqBands
                                         : Page::kEqGraph;
    SectionsOf(c, page);
    if (page == Page::kEqGraph) {
        // A dark screen: the graph draws its grid and labels in white.
        const Box graph = BoxOf(qd::PlacesOf(SkinOf(c)).eqGraph);
        c.p.Fill(graph.x - 1, graph.y - 1, graph.w + 2, graph.h + 2, c.pal.frame);
        c.p.Fill(graph.x, graph.y, graph.w, graph.h, c.pal.display);
    }
    if (page == Page::kEqBands || page == Page::kEqGraph) {
        const Box para = BoxOf(qd::kParametricEqButton), graph = BoxOf(qd::kGraphEqButton);
        DrawButtonFace(c, para.x, para.y, para.w, para.h, page == Page::kEqBands, "para");
        DrawButtonFace(c, graph.x, graph.y, graph.w, graph.h, page == Page::kEqGraph, "graph");
    }
}

void DrawListOverlay(const ArtContext& c) {
    const bool ranges = c.spec.name == "rangelist";
    const PIX_PixelValue sheet = IsLcd(c) ? Rgb(0xe6e9e0) : Rgb(0x17181c);
    const PIX_PixelValue ink = IsLcd(c) ? Rgb(0x202418) : Rgb(0xe4e7ec);
    c.p.Fill(0, 0, c.w, c.h, sheet);
    // Close area across the top. The program box's buttons stay over it at the left,
    // so its words start right of them.
    const float close = float(qd::kCloseListArea.B);
    c.p.Fill(0, 0, c.w, close, Mix(sheet, c.pal.frame, 0.25f));
    c.p.Fill(0, close - 1, c.w, 1, c.pal.frame);
    const TextStyle title{14, true, c.pal.title, Align::kLeft};
    c.p.Text(kListTitleX, 26, 400, 24, ranges ? "FLEXI DESTINATION" : "FLEXI SOURCE", title);
    const TextStyle hint{9, false, Mix(ink, sheet, 0.3f), Align::kLeft};
    c.p.Text(kListTitleX, 54, 400, 14, "choose an entry below, or click this bar to close the list", hint);
    c.p.Line(1100, 48, 1116, 64, ink, 2);
    c.p.Line(1116, 48, 1100, 64, ink, 2);
    // Entries: the sources' display texts, or the sound page's sliders by name. They
    // share the four columns evenly, top to bottom, on the rows of the list selects
    // (one row per value of a column's parameter), so a click lands on one entry.
    std::vector<std::string> entries;
    if (ranges) {
        using namespace qd::param;
        for (int p = qd::kFirstProgramParam; p <= kLfoVcoDepth; ++p) {
            const auto& pt = qd::kParamPositions[qd::EntryOf(p)];
            const bool isSwitch = p == kFilterMode || p == kVcfSlope || p == kPortamentoSlope || p == kTrigMode;
            if ((pt.x || pt.y) && !isSwitch) entries.push_back(qd::kParamTable[p].name);
        }
    } else {
        char text[64];
        for (int i = 0; qd::ParamDisplayText(qd::kParamTable[qd::param::kFlexi1Sources], i, text, int(sizeof text));
             ++i)
            entries.emplace_back(text);
    }
    const IRECT& column = qd::kListColumn;
    const int rows = qd::kParamTable[qd::param::kListColumn1].max + 1;
    const float rowH = float(column.H()) / float(rows);
    const TextStyle st{rowH * 0.5f, false, ink, Align::kLeft};
    const int perColumn = std::clamp(int(entries.size() + 3) / qd::kListColumns, 1, rows);
    for (size_t i = 0; i < entries.size() && i < size_t(qd::kListColumns * perColumn); ++i) {
        const int col = int(i) / perColumn, row = int(i) % perColumn;
        const float x = float(column.L + qd::kListColumnStep * col), y = column.T + rowH * row;
        if (row % 2 == 0) c.p.Fill(x, y, float(qd::kListColumnStep - 4), rowH, Mix(sheet, ink, 0.06f));
        c.p.Text(x + 8, y, float(qd::kListColumnStep - 16), rowH, entries[i], st);
    }
    for (int col = 1; col < qd::kListColumns; ++col)
        c.p.Fill(float(column.L + qd::kListColumnStep * col - 2), float(column.T), 1, float(column.H()),
                 Mix(sheet, c.pal.frame, 0.6f));
    if (ranges) {
        // Left of the polarity switch.
        const TextStyle pol{9, false, ink, Align::kRight};
        c.p.Text(float(qd::kPolaritySwitch.x - 155), float(qd::kPolaritySwitch.y), 150, 18, "range polarity", pol);
    }
}

void DrawSaveFromBox(const ArtContext& c) {
    const float x = 490, y = 310, w = 146, h = 156;
    c.p.RoundFill(x, y, w, h, 4, c.pal.frame);
    c.p.RoundGradient(x + 1, y + 1, w - 2, h - 2, 3, c.pal.panelBottom, c.pal.panelTop);
    const TextStyle title{10, true, c.pal.title, Align::kCentre};
    c.p.Text(x, y + 8, w, 14, "save from QD", title);
    const TextStyle st{kLabelSize, false, c.pal.label, Align::kCentre};
    c.p.Text(x, y + 24, w, 12, "program slot", st);
    const Box slot = BoxOf(qd::kSlotSpinner), frame = BoxOf(qd::kSlotSpinner, 1), receive = BoxOf(qd::kReceiveButton);
    c.p.Fill(slot.x, slot.y, slot.w, slot.h, Rgb(0xffffff));
    c.p.Frame(frame.x, frame.y, frame.w, frame.h, c.pal.frame);
    DrawButtonFace(c, receive.x, receive.y, receive.w, receive.h, false, "receive");
}

void DrawAbout(const ArtContext& c) {
    const Palette& space = PaletteFor(Look::kSpace);
    c.p.RoundFill(0, 0, c.w, c.h, 6, space.frame);
    c.p.RoundGradient(1, 1, c.w - 2, c.h - 2, 5, space.panelTop, space.panelBottom);
    // The close mark in the corner the click area covers.
    c.p.Line(6, 6, 14, 14, space.title, 1.5f);
    c.p.Line(14, 6, 6, 14, space.title, 1.5f);
    const TextStyle name{34, true, space.title, Align::kCentre};
    c.p.Text(0, 150, c.w, 50, "QD Editor", name);
    const TextStyle line{13, false, space.label, Align::kCentre};
    c.p.Text(0, 210, c.w, 20, "Sound editor and program manager for the Quadrel synthesizer", line);
    const TextStyle ver{11, false, Mix(space.label, space.panelBottom, 0.3f), Align::kCentre};
    c.p.Text(0, 250, c.w, 16, std::string("version ") + QD_VERSION_TEXT, ver);
    c.p.Fill(c.w / 2 - 80, 236, 160, 1, space.frame);
    // Four waves in the Flexi colours: sine, triangle, saw and square.
    for (int n = 0; n < 4; ++n) {
        const float x0 = 150 + 110.0f * n, y0 = 340, w = 90, h = 40;
        float px = x0, py = y0;
        for (int i = 0; i <= 60; ++i) {
            const float t = i / 60.0f, ph = t * 2 - std::floor(t * 2);
            float v = 0;
            switch (n) {
                case 0: v = std::sin(t * 4 * 3.14159265f); break;
                case 1: v = 1 - 4 * std::fabs(ph - 0.5f); break;
                case 2: v = 1 - 2 * ph; break;
                case 3: v = ph < 0.5f ? 1 : -1; break;
            }
            const float x = x0 + w * t, y = y0 - v * h / 2;
            if (i > 0) c.p.Line(px, py, x, y, kFlexiAccents[n], 1.5f);
            px = x;
            py = y;
        }
    }
}

}  // namespace skingen
