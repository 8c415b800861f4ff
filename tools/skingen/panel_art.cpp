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

// The page ground at height y, for the gaps that titles cut into frame lines.
PIX_PixelValue GroundAt(const ArtContext& c, float y) {
    return Mix(c.pal.panelTop, c.pal.panelBottom, std::clamp(y / 800.0f, 0.0f, 1.0f));
}

// A filled frame with its title on a tab over the edge the title box lies on (the
// top left corner when no box is given). The tab is filled, so that the title is
// drawn on opaque ground in the overlay pictures too.
void FramedArea(const ArtContext& c, const Box& f, const std::string& title, const Box* at = nullptr) {
    c.p.Fill(f.x, f.y, f.w, f.h, c.pal.sectionFill);
    c.p.Frame(f.x, f.y, f.w, f.h, c.pal.frame, 1);
    if (title.empty()) return;
    const TextStyle st{kTitleSize, true, c.pal.title, Align::kLeft};
    const float tw = TextWidth(title, st);
    const Box b = at ? *at : Box{f.x + 9, f.y - 7, tw + 4, 13};
    const Box tab{b.x - 4, b.y, tw + 8, 13};
    const bool top = b.y + 7 < f.y + f.h / 2;
    c.p.Fill(tab.x, tab.y, tab.w, tab.h, c.pal.frame);
    c.p.Fill(tab.x + 1, tab.y + (top ? 1 : 0), tab.w - 2, tab.h - 1, c.pal.sectionFill);
    c.p.Text(b.x, b.y, tw + 4, 13, title, st);
}

void SectionsOf(const ArtContext& c, Page page) {
    const TextStyle label{kLabelSize, false, c.pal.label, Align::kCentre};
    // Frames first, so that no neighbour's fill cuts a label off.
    const auto sections = PageSections(c.manifest, page, SkinOf(c));
    for (const auto& s : sections) FramedArea(c, s.frame, s.title, &s.titleBox);
    for (const auto& s : sections)
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

// The names of the bottom row's check boxes stand right of them.
constexpr float kCheckboxNameGap = 15;
float CheckboxRow(int i) { return float(qd::kCheckboxTop + qd::kCheckboxStep * i); }

// The names of a column of the randomiser's check boxes (column 2 to 4 of the row).
void CheckboxNames(const ArtContext& c, int column) {
    constexpr int kFirstCheckbox = 270;
    const TextStyle st{8.0f, false, c.pal.label, Align::kLeft};
    for (int i = 0; i < qd::kCheckboxRows; ++i) {
        const std::string name = qd::kParamTable[kFirstCheckbox + qd::kCheckboxRows * column + i].name;
        c.p.Text(qd::kCheckboxColumns[column] + kCheckboxNameGap, CheckboxRow(i) - 0.5f, 60, 13, name, st);
    }
}

Box BoxOf(const IRECT& r, float grow = 0) { return {r.L - grow, r.T - grow, r.W() + 2 * grow, r.H() + 2 * grow}; }

}  // namespace

void DrawBackground(const ArtContext& c) {
    c.p.Gradient(0, 0, c.w, c.h, c.pal.panelTop, c.pal.panelBottom);
    if (c.pal.stars) Stars(c);
    // Program bar and Flexi slots: filled, not framed, since the first row of
    // sections starts right under their controls. Each slot's name takes its colour.
    c.p.RoundFill(8, 5, 300, 66, 4, c.pal.sectionFill);
    const Box name = BoxOf(qd::PlacesOf(SkinOf(c)).programName, 1);
    c.p.Fill(name.x, name.y, name.w, name.h, Mix(c.pal.sectionFill, Rgb(0), 0.35f));
    for (int n = 0; n < qd::kFlexiSlotCount; ++n) {
        // Each slot on its own ground from its spinners to its curve, named beside its button.
        const float x = float(qd::kFlexiSourceSpinner.L - 4 + qd::kFlexiStep * n);
        c.p.RoundFill(x, 5, 162, 66, 4, c.pal.sectionFill);
        c.p.Fill(x, 5, 162, 1.5f, kFlexiAccents[n]);
        const TextStyle st{8.5f, true, IsLcd(c) ? Mix(kFlexiAccents[n], Rgb(0), 0.35f) : kFlexiAccents[n],
                           Align::kLeft};
        c.p.Text(qd::kFlexiButton.x + 27 + qd::kFlexiStep * n, 50, 40, 12, "FLEXI " + std::to_string(n + 1), st);
    }
    // The tracking priority's switch and value text under its name.
    const TextStyle small{kLabelSize, false, c.pal.label, Align::kCentre};
    const float tracking = float(qd::PlacesOf(SkinOf(c)).trackingText.L - 5);
    c.p.RoundFill(tracking, 5, 106, 50, 4, c.pal.sectionFill);
    c.p.Text(tracking, 9, 106, 12, "tracking priority", small);
    SectionsOf(c, Page::kSound);
    // Bottom row: the MIDI spinners, the randomiser's buttons and check boxes.
    FramedArea(c, {float(qd::kMidiChannelSpinner.L - 6), 714, 58, 84}, "MIDI");
    FramedArea(c, {float(qd::kResetButton.x - 8), 714, 324, 84}, "RANDOMIZE");
    for (int column = 2; column < 5; ++column) CheckboxNames(c, column);
}

void DrawSaveLabels(const ArtContext& c) {
    // Transparent but for the copy block at the bottom left.
    const bool flexi = c.spec.name == "flexisavebg";
    FramedArea(c, {8, 714, 244, 84}, flexi ? "COPY FLEXI" : "COPY VCO");
    // The copy's two check-box columns: from and to.
    const float from = qd::kCheckboxColumns[0] + kCheckboxNameGap, to = qd::kCheckboxColumns[1] + kCheckboxNameGap;
    const TextStyle head{8.0f, true, c.pal.label, Align::kLeft};
    c.p.Text(from, 718, 40, 12, "from", head);
    c.p.Text(to, 718, 40, 12, "to", head);
    const TextStyle st{8.0f, false, c.pal.label, Align::kLeft};
    for (int i = 0; i < qd::kCheckboxRows; ++i) {
        const std::string name = (flexi ? "Flexi " : "VCO ") + std::to_string(i + 1);
        c.p.Text(from, CheckboxRow(i) - 0.5f, 56, 13, name, st);
        c.p.Text(to, CheckboxRow(i) - 0.5f, 56, 13, name, st);
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
        const Box graph = BoxOf(qd::PlacesOf(SkinOf(c)).eqGraph);
        DrawWell(c, graph.x, graph.y, graph.w, graph.h);
    }
    if (page == Page::kEqBands || page == Page::kEqGraph) {
        const Box para = BoxOf(qd::kParametricEqButton), graph = BoxOf(qd::kGraphEqButton);
        DrawButtonFace(c, para.x, para.y, para.w, para.h, page == Page::kEqBands, "para");
        DrawButtonFace(c, graph.x, graph.y, graph.w, graph.h, page == Page::kEqGraph, "graph");
    }
}

void DrawListOverlay(const ArtContext& c) {
    const bool ranges = c.spec.name == "rangelist";
    const PIX_PixelValue sheet = IsLcd(c) ? Rgb(0xe6e9e0) : Rgb(0x0b111c);
    const PIX_PixelValue ink = IsLcd(c) ? Rgb(0x202418) : Rgb(0xdfe9ff);
    c.p.Fill(0, 0, c.w, c.h, sheet);
    // Close area across the top.
    const float close = float(qd::kCloseListArea.B);
    c.p.Fill(0, 0, c.w, close, Mix(sheet, c.pal.frame, 0.25f));
    c.p.Fill(0, close - 1, c.w, 1, c.pal.frame);
    const TextStyle title{14, true, c.pal.title, Align::kLeft};
    c.p.Text(23, 40, 500, 24, ranges ? "FLEXI DESTINATION" : "FLEXI SOURCE", title);
    const TextStyle hint{9, false, Mix(ink, sheet, 0.35f), Align::kLeft};
    c.p.Text(23, 66, 600, 14, "choose an entry below, or click this bar to close the list", hint);
    c.p.Line(1100, 48, 1116, 64, ink, 2);
    c.p.Line(1116, 48, 1100, 64, ink, 2);
    // Entries: the sources' display texts, or the sound page's sliders by name. They
    // share the four columns evenly, top to bottom, on the rows of the list selects
    // (one row per value of a column's parameter), so a click lands on one entry.
    std::vector<std::string> entries;
    if (ranges) {
        for (int p = qd::kFirstProgramParam; p <= 97; ++p) {
            const auto& pt = qd::kParamPositions[p - qd::kFirstProgramParam];
            const bool isSwitch = p == 78 || p == 87 || p == 89 || p == 92;
            if ((pt.x || pt.y) && !isSwitch) entries.push_back(qd::kParamTable[p].name);
        }
    } else {
        char text[64];
        for (int i = 0; qd::ParamDisplayText(qd::kParamTable[247], i, text, int(sizeof text)); ++i)
            entries.emplace_back(text);
    }
    const IRECT& column = qd::kListColumn;
    const int rows = qd::kParamTable[263].max + 1;
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
