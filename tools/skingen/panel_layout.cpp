#include "tools/skingen/panel_layout.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "editor/data/param_table.h"
#include "tools/skingen/painter.h"

namespace skingen {

namespace {

struct SectionDef {
    Page page;
    const char* title;
    std::vector<int> params;  // sliders, labelled
    std::vector<Box> extra;   // other controls the frame must enclose
};

// Slider 32 x 44 from (x, y - 12); its value text below it.
Box SliderBox(int x, int y) { return {float(x), float(y - 12), 32, 44}; }
Box ValueBox(int x, int y, bool lcd) { return {float(x - 8), float(y + (lcd ? 27 : 33)), 48, 16}; }

const qd::PanelPoint& Point(int param) { return qd::kParamPositions[param - qd::kFirstProgramParam]; }

// Short forms for names that do not fit a slider column once their section's prefix
// is gone.
struct ShortForm {
    int param;
    const char* text;
};
constexpr ShortForm kShortForms[] = {
    {51, "v2 trans"},   {52, "v3 trans"},   {53, "instr."},     {54, "v1 vol"},    {55, "v2 vol"},
    {56, "v3 vol"},     {57, "dist"},       {58, "tone"},       {59, "instr."},    {60, "VCF lin"},
    {61, "VCF log"},    {62, "amp A"},      {63, "amp D"},      {64, "amp S"},     {65, "amp R"},
    {66, "filter A"},   {67, "filter D"},   {68, "filter S"},   {69, "filter R"},  {70, "mode"},
    {71, "noise A"},    {72, "noise D"},    {73, "instr."},     {74, "dist"},      {75, "dist AR"},
    {76, "inv AR"},     {77, "noise"},      {79, "cutoff"},     {80, "cutoff 2"},  {81, "env fol"},
    {82, "accent"},     {83, "AD gen"},     {84, "pitch fol"},  {85, "type"},      {86, "Q"},
    {88, "porta"},       {90, "bend"},       {91, "transp."},    {93, "priority"},  {94, "rate"},
    {95, "delay"},      {96, "VCF"},        {97, "VCO"},        {127, "sync"},     {132, "instr."},
    {133, "VCF"},       {134, "on/off"},    {135, "LFO A"},     {136, "LFO B"},    {137, "level 1"},
    {138, "delay 1"},   {139, "mod 1A"},    {140, "mod 1B"},    {141, "level 2"},  {142, "delay 2"},
    {143, "mod 2A"},    {144, "mod 2B"},    {145, "feedback"},  {146, "damping"},  {147, "on/off"},
    {148, "drive"},     {149, "level"},     {182, "instr."},    {183, "VCF"},      {160, "on/off"},
    {161, "bass frq"},  {162, "bass slp"},  {163, "bass"},      {164, "mid1 frq"}, {165, "mid1 Q"},
    {166, "mid1"},      {167, "mid2 frq"},  {168, "mid2 Q"},    {169, "mid2"},     {170, "treb frq"},
    {171, "treb slp"},  {172, "treble"},    {184, "instr."},    {185, "VCF"},
};

// VCO column names without "VCOn ": the long ones shortened.
constexpr const char* kVcoShort[][2] = {
    {"saw env decay", "saw dec"}, {"saw env ampmod", "saw amp"}, {"PWM offset", "PWM ofs"},
    {"PWM LFO frq", "PWM frq"},   {"PWM LFO depth", "PWM dep"},
};

std::vector<SectionDef> Definitions() {
    auto range = [](int first, int last) {
        std::vector<int> v;
        for (int p = first; p <= last; ++p) v.push_back(p);
        return v;
    };
    auto switchAt = [](float x, float y) -> Box { return Box{x, y, 20, 14}; };
    std::vector<SectionDef> defs;
    for (int n = 0; n < 4; ++n)
        defs.push_back({Page::kSound, n == 0 ? "VCO1" : n == 1 ? "VCO2" : n == 2 ? "VCO3" : "VCO4",
                        range(3 + 12 * n, 14 + 12 * n), {}});
    defs.push_back({Page::kSound, "MIXER", {91, 73, 74, 75, 76, 77}, {}});
    defs.push_back({Page::kSound, "FILTER", {79, 80, 86, 85, 81, 83, 82, 84}, {}});
    defs.push_back({Page::kSound, "ENVELOPES", {70, 62, 63, 64, 65, 66, 67, 68, 69, 71, 72}, {}});
    defs.push_back({Page::kSound, "LFO", range(94, 97), {}});
    defs.push_back({Page::kSound, "VOICES", range(51, 58), {}});
    // Portamento, keys and output share one frame: their controls interleave.
    defs.push_back({Page::kSound, "PLAY", {88, 90, 127, 93, 59, 60, 61},
                    {switchAt(872, 458), switchAt(908, 458), switchAt(889, 513), {875, 500, 48, 16}}});
    defs.push_back({Page::kModulation, "MODULATION", range(132, 146), {}});
    defs.push_back({Page::kDrive, "OVERDRIVE", {147, 182, 183, 148, 149}, {}});
    defs.push_back({Page::kEqBands, "EQUALIZER", {160, 184, 185, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170,
                                                  171, 172},
                    {}});
    defs.push_back({Page::kEqGraph, "EQUALIZER", {160, 184, 185}, {{640, 593, 460, 115}}});
    return defs;
}

// Short sliders are 30 x 40 at their own place, not the rule's.
Box ControlOf(int param) {
    const auto& pt = Point(param);
    if (param == 93) return {936, 493, 30, 40};
    if (param == 127) return {936, 438, 30, 40};
    return SliderBox(pt.x, pt.y);
}

Box ValueOf(int param, bool lcd) {
    if (param == 93) return {928, float(lcd ? 493 : 490), 48, 16};
    if (param == 127) return {928, float(lcd ? 432 : 435), 48, 16};
    const auto& pt = Point(param);
    return ValueBox(pt.x, pt.y, lcd);
}

}  // namespace

std::string ShortLabel(int param) {
    for (const auto& s : kShortForms)
        if (s.param == param) return s.text;
    if (param < 0 || param >= qd::kParamCount) return {};
    std::string name = qd::kParamTable[param].name;
    // The oscillators' names: "VCOn <column>" (and one "VCO <column>").
    if (name.rfind("VCO", 0) == 0) {
        const size_t space = name.find(' ');
        if (space != std::string::npos) name = name.substr(space + 1);
        for (const auto& s : kVcoShort)
            if (name == s[0]) return s[1];
    }
    return name;
}

std::vector<Box> ControlBoxes(bool lcd) {
    std::vector<Box> boxes;
    for (int param = qd::kFirstProgramParam; param < qd::kFirstProgramParam + qd::kProgramEntryCount; ++param) {
        const auto& pt = Point(param);
        if (pt.x == 0 && pt.y == 0) continue;
        // Flexi curves and switches stand at places of their own (below); the Flexi
        // mode and polarity entries only mark where a slot's range texts go.
        if ((param >= 104 && param <= 125) || (param >= 174 && param <= 181)) continue;
        if (param == 78 || param == 87 || param == 89 || param == 92 || param == 131 || param == 173) continue;
        boxes.push_back(ControlOf(param));
        boxes.push_back(ValueOf(param, lcd));
    }
    const float y0 = lcd ? 10 : 11;
    const Box fixed[] = {
        // Program bar: file buttons, name, display, default, previous, next.
        {46, y0, 40, 18}, {90, y0, 40, 18}, {132, y0, 56, 18}, {196, y0, 56, 18}, {36, 30, 232, 16},
        {129, 47, 56, 26}, {71, 49, 54, 24}, {186, 49, 28, 24}, {218, 49, 28, 24},
        // Tracking priority switch and text.
        {408, 36, 20, 14}, {369, 24, 98, 20},
        // Switches with their value texts.
        {768, 148, 20, 14}, {754, 135, 48, 16}, {768, 198, 20, 14}, {754, 185, 48, 16}, {872, 458, 20, 14},
        {858, 445, 48, 16}, {908, 458, 20, 14}, {894, 445, 48, 16}, {889, 513, 20, 14}, {875, 500, 48, 16},
        // Effects: tabs, order switch, equalizer view buttons.
        {523, 565, 380, 20}, {906, 565, 90, 20}, {1010, 565, 58, 19},
        // Bottom row: save buttons, copy, MIDI spinners, wheel, keyboard, random, reset, select, clear.
        {18, 730, 44, 56}, {196, 730, 60, 22}, {262, 730, 30, 85}, {293, 730, 20, 64}, {316, 728, 490, 68},
        {822, 730, 48, 52}, {1066, 730, 70, 52}};
    boxes.insert(boxes.end(), std::begin(fixed), std::end(fixed));
    for (int n = 0; n < 4; ++n) {
        const float d = 168.0f * n;
        const Box flexi[] = {{478 + d, 11, 70, 16}, {478 + d, 35, 70, 16}, {478 + d, 56, 50, 18},
                             {532 + d, 47, 20, 12}, {551 + d, 71, 60, 12}, {570 + d, 50, 22, 20},
                             {559 + d, 9, 80, 36}};
        boxes.insert(boxes.end(), std::begin(flexi), std::end(flexi));
    }
    for (const float x : {66.0f, 140.0f, 874.0f, 922.0f, 1002.0f}) boxes.push_back({x, 731, 12, 51});
    return boxes;
}

std::vector<Section> PageSections(Page page, bool lcd) {
    const std::vector<Box> controls = ControlBoxes(lcd);
    const TextStyle style{kLabelSize, false, 0, Align::kCentre};
    const float lh = 11;
    std::vector<Section> out;
    for (const auto& def : Definitions()) {
        if (def.page != page) continue;
        Section s{def.title, {}, {}, {}};
        // Candidate places of a label relative to its control and value text: above
        // the slider, under the value text, right of the control.
        auto candidates = [&](int param) {
            const Box c = ControlOf(param), v = ValueOf(param, lcd);
            const float cx = c.x + c.w / 2;
            return std::vector<Box>{{cx - kLabelWidth / 2, c.y - lh - 1, kLabelWidth, lh},
                                    {cx - kLabelWidth / 2, v.y + v.h + 1, kLabelWidth, lh},
                                    {c.x + c.w + 1, c.y + c.h / 2 - lh / 2, kLabelWidth, lh}};
        };
        auto clear = [&](Box b, const std::string& text) {
            // Only the text's own width counts, centred in the box.
            const float w = std::min(kLabelWidth, TextWidth(text, style) + 2);
            if (b.x + kLabelWidth / 2 - w / 2 > b.x) b = {b.x + kLabelWidth / 2 - w / 2, b.y, w, b.h};
            for (const auto& o : controls)
                if (b.Overlaps(o)) return false;
            return true;
        };
        // One place for the whole section where it fits, so that a row reads alike.
        int chosen = -1;
        for (int k = 0; k < 3 && chosen < 0; ++k) {
            bool all = true;
            for (int p : def.params) all = all && clear(candidates(p)[size_t(k)], ShortLabel(p));
            if (all) chosen = k;
        }
        for (int p : def.params) {
            const auto cands = candidates(p);
            const std::string text = ShortLabel(p);
            int k = chosen;
            for (int i = 0; k < 0 && i < 3; ++i)
                if (clear(cands[size_t(i)], text)) k = i;
            if (k >= 0) s.labels.push_back({cands[size_t(k)], text});
        }
        // The frame encloses the sliders, their value texts, labels and extra controls.
        float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
        auto grow = [&](const Box& b) {
            x0 = std::min(x0, b.x);
            y0 = std::min(y0, b.y);
            x1 = std::max(x1, b.x + b.w);
            y1 = std::max(y1, b.y + b.h);
        };
        for (int p : def.params) {
            grow(ControlOf(p));
            grow(ValueOf(p, lcd));
        }
        const float contentTop = y0;
        for (const auto& l : s.labels) grow({l.box.x + 4, l.box.y, l.box.w - 8, l.box.h});
        for (const auto& b : def.extra) grow(b);
        // A title over a label row needs room; over a slider's top end, which holds
        // only the track, the frame may sit close (the top row is tight under the
        // program bar and the Flexi slots).
        const float pad = y0 < contentTop ? 8 : 2;
        s.frame = {x0 - 6, y0 - pad, x1 - x0 + 12, y1 - y0 + pad + 4};
        // The title sits on the top edge at the left; where a control of the row above
        // would cover it, on the bottom edge instead.
        const TextStyle titleStyle{kTitleSize, true, 0, Align::kLeft};
        const float tw = TextWidth(s.title, titleStyle) + 4;
        s.title_box = {s.frame.x + 9, s.frame.y - 7, tw, 13};
        auto hidden = [&](const Box& b) {
            for (const auto& o : controls)
                if (b.Overlaps(o)) return true;
            return false;
        };
        if (hidden(s.title_box)) {
            s.frame.h += 8;
            s.title_box.y = s.frame.y + s.frame.h - 7;
        }
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace skingen
