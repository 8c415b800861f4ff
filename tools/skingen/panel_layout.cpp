#include "tools/skingen/panel_layout.h"

#include <algorithm>
#include <map>

#include "editor/data/keyboard_geometry.h"
#include "editor/data/live_params.h"
#include "editor/data/param_table.h"
#include "tools/skingen/painter.h"

namespace skingen {

namespace {

using qd::ControlKind;

struct SectionDef {
    Page page;
    const char* title;
    std::vector<int> params;  // sliders, labelled
    // Other controls and value texts the frame must enclose, and the EQ graph.
    std::vector<int> extraControls = {};
    std::vector<int> extraTexts = {};
    bool eqGraph = false;
};

// Short forms for names that do not fit a slider column once their section's prefix
// is gone.
struct ShortForm {
    int param;
    const char* text;
};
constexpr ShortForm kShortForms[] = {
    {51, "v2 trans"},  {52, "v3 trans"}, {53, "instr."},    {54, "v1 vol"},    {55, "v2 vol"},   {56, "v3 vol"},
    {57, "dist"},      {58, "tone"},     {59, "instr."},    {60, "VCF lin"},   {61, "VCF log"},  {62, "amp A"},
    {63, "amp D"},     {64, "amp S"},    {65, "amp R"},     {66, "filter A"},  {67, "filter D"}, {68, "filter S"},
    {69, "filter R"},  {70, "mode"},     {71, "noise A"},   {72, "noise D"},   {73, "instr."},   {74, "dist"},
    {75, "dist AR"},   {76, "inv AR"},   {77, "noise"},     {79, "cutoff"},    {80, "cutoff 2"}, {81, "env fol"},
    {82, "accent"},    {83, "AD gen"},   {84, "pitch fol"}, {85, "type"},      {86, "Q"},        {88, "porta"},
    {90, "bend"},      {91, "transp."},  {93, "priority"},  {94, "rate"},      {95, "delay"},    {96, "VCF"},
    {97, "VCO"},       {127, "sync"},    {132, "instr."},   {133, "VCF"},      {134, "on/off"},  {135, "LFO A"},
    {136, "LFO B"},    {137, "level 1"}, {138, "delay 1"},  {139, "mod 1A"},   {140, "mod 1B"},  {141, "level 2"},
    {142, "delay 2"},  {143, "mod 2A"},  {144, "mod 2B"},   {145, "feedback"}, {146, "damping"}, {147, "on/off"},
    {148, "drive"},    {149, "level"},   {182, "instr."},   {183, "VCF"},      {160, "on/off"},  {161, "bass frq"},
    {162, "bass slp"}, {163, "bass"},    {164, "mid1 frq"}, {165, "mid1 Q"},   {166, "mid1"},    {167, "mid2 frq"},
    {168, "mid2 Q"},   {169, "mid2"},    {170, "treb frq"}, {171, "treb slp"}, {172, "treble"},  {184, "instr."},
    {185, "VCF"},
};

// VCO column names without "VCOn ": the long ones shortened.
constexpr const char* kVcoShort[][2] = {
    {"saw env decay", "saw dec"}, {"saw env ampmod", "saw amp"}, {"PWM offset", "PWM ofs"},
    {"PWM LFO frq", "PWM frq"},   {"PWM LFO depth", "PWM dep"},
};

std::vector<SectionDef> Definitions() {
    using namespace qd::live;
    auto range = [](int first, int last) {
        std::vector<int> v;
        for (int p = first; p <= last; ++p) v.push_back(p);
        return v;
    };
    std::vector<SectionDef> defs;
    for (int n = 0; n < 4; ++n)
        defs.push_back({Page::kSound,
                        n == 0   ? "VCO1"
                        : n == 1 ? "VCO2"
                        : n == 2 ? "VCO3"
                                 : "VCO4",
                        range(3 + 12 * n, 14 + 12 * n)});
    defs.push_back({Page::kSound, "MIXER", {91, 73, 74, 75, 76, 77}});
    defs.push_back({Page::kSound, "FILTER", {79, 80, 86, 85, 81, 83, 82, 84}});
    defs.push_back({Page::kSound, "ENVELOPES", {70, 62, 63, 64, 65, 66, 67, 68, 69, 71, 72}});
    defs.push_back({Page::kSound, "LFO", range(94, 97)});
    defs.push_back({Page::kSound, "VOICES", range(51, 58)});
    // Portamento, keys and output share one frame: their controls interleave.
    defs.push_back({Page::kSound,
                    "PLAY",
                    {88, 90, 127, 93, 59, 60, 61},
                    {kPortamentoSlope, kPortamentoMode, kTrigMode},
                    {kTrigMode}});
    defs.push_back({Page::kModulation, "MODULATION", range(132, 146)});
    defs.push_back({Page::kDrive, "OVERDRIVE", {147, 182, 183, 148, 149}});
    defs.push_back(
        {Page::kEqBands, "EQUALIZER", {160, 184, 185, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172}});
    defs.push_back({Page::kEqGraph, "EQUALIZER", {160, 184, 185}, {}, {}, true});
    return defs;
}

// Where a parameter's control and value text lie on the page, from the plan.
struct ParamBoxes {
    Box control{}, value{};
};

class PageGeometry {
public:
    PageGeometry(const Manifest& manifest, Page page, qd::Skin skin)
        : mControls(PageControlBoxes(manifest, page, skin)) {
        for (const qd::PlanItem& item : qd::PanelPlan(qd::PanelPart::kSynthPage, skin)) {
            if (item.param < 0 || !item.attached) continue;
            if (item.kind == ControlKind::kValueText)
                mParams[item.param].value = ItemBox(manifest, item, skin);
            else if (item.kind == ControlKind::kEqGraph)
                mEqGraph = ItemBox(manifest, item, skin);
            else if (!mParams.count(item.param) || mParams[item.param].control.w == 0)
                mParams[item.param].control = ItemBox(manifest, item, skin);
        }
    }
    const std::vector<Box>& Controls() const { return mControls; }
    Box Control(int param) const { return Find(param).control; }
    Box Value(int param) const { return Find(param).value; }
    Box EqGraph() const { return mEqGraph; }
    bool Clear(const Box& b) const {
        for (const auto& o : mControls)
            if (b.Overlaps(o)) return false;
        return true;
    }

private:
    ParamBoxes Find(int param) const {
        const auto it = mParams.find(param);
        return it == mParams.end() ? ParamBoxes{} : it->second;
    }
    std::vector<Box> mControls;
    std::map<int, ParamBoxes> mParams;
    Box mEqGraph{};
};

const TextStyle kLabelStyle{kLabelSize, false, 0, Align::kCentre};
constexpr float kLabelHeight = 11;
constexpr int kCandidates = 3;

// Candidate places of a label relative to its control and value text: above the
// slider, under the value text, right of the control.
Box Candidate(const PageGeometry& page, int param, int k) {
    const Box c = page.Control(param), v = page.Value(param);
    const float cx = c.x + c.w / 2;
    switch (k) {
        case 0: return {cx - kLabelWidth / 2, c.y - kLabelHeight - 1, kLabelWidth, kLabelHeight};
        case 1: return {cx - kLabelWidth / 2, v.y + v.h + 1, kLabelWidth, kLabelHeight};
        default: return {c.x + c.w + 1, c.y + c.h / 2 - kLabelHeight / 2, kLabelWidth, kLabelHeight};
    }
}

// Whether a label's text, centred in its box (only the text's own width counts), is
// clear of every control.
bool LabelClear(const PageGeometry& page, Box b, const std::string& text) {
    const float w = std::min(kLabelWidth, TextWidth(text, kLabelStyle) + 2);
    if (b.x + kLabelWidth / 2 - w / 2 > b.x) b = {b.x + kLabelWidth / 2 - w / 2, b.y, w, b.h};
    return page.Clear(b);
}

std::vector<Label> PlaceLabels(const PageGeometry& page, const SectionDef& def) {
    // One place for the whole section where it fits, so that a row reads alike.
    int chosen = -1;
    for (int k = 0; k < kCandidates && chosen < 0; ++k) {
        bool all = true;
        for (int p : def.params) all = all && LabelClear(page, Candidate(page, p, k), ShortLabel(p));
        if (all) chosen = k;
    }
    std::vector<Label> labels;
    for (int p : def.params) {
        const std::string text = ShortLabel(p);
        int k = chosen;
        for (int i = 0; k < 0 && i < kCandidates; ++i)
            if (LabelClear(page, Candidate(page, p, i), text)) k = i;
        if (k >= 0) labels.push_back({Candidate(page, p, k), text});
    }
    return labels;
}

// The frame encloses the sliders, their value texts, labels and extra controls.
Box FrameAround(const PageGeometry& page, const SectionDef& def, const std::vector<Label>& labels) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    auto grow = [&](const Box& b) {
        x0 = std::min(x0, b.x);
        y0 = std::min(y0, b.y);
        x1 = std::max(x1, b.x + b.w);
        y1 = std::max(y1, b.y + b.h);
    };
    for (int p : def.params) {
        grow(page.Control(p));
        grow(page.Value(p));
    }
    const float contentTop = y0;
    for (const auto& l : labels) grow({l.box.x + 4, l.box.y, l.box.w - 8, l.box.h});
    for (int p : def.extraControls) grow(page.Control(p));
    for (int p : def.extraTexts) grow(page.Value(p));
    if (def.eqGraph) grow(page.EqGraph());
    // A title over a label row needs room; over a slider's top end, which holds only
    // the track, the frame may sit close (the top row is tight under the program bar
    // and the Flexi slots).
    const float pad = y0 < contentTop ? 8 : 2;
    return {x0 - 6, y0 - pad, x1 - x0 + 12, y1 - y0 + pad + 4};
}

// The title sits on the top edge at the left; where a control of the row above would
// cover it, on the bottom edge instead.
void PlaceTitle(const PageGeometry& page, Section& s) {
    const TextStyle titleStyle{kTitleSize, true, 0, Align::kLeft};
    const float tw = TextWidth(s.title, titleStyle) + 4;
    s.titleBox = {s.frame.x + 9, s.frame.y - 7, tw, 13};
    if (!page.Clear(s.titleBox)) {
        s.frame.h += 8;
        s.titleBox.y = s.frame.y + s.frame.h - 7;
    }
}

// Whether the view can show the item as a control (the pictures without a parameter
// are artwork). Of the controls that follow the parameters, those on the page count
// wherever their group is shown; the Flexi range sliders wait off the page until they
// are placed on a knob that is counted anyway.
bool CanShow(const qd::PlanItem& item, qd::PanelView view) {
    if (item.kind == ControlKind::kLoad || !item.attached) return false;
    if (item.kind == ControlKind::kPicture && item.param < 0) return false;
    if (item.followsState) return item.rect.T >= 0 && (!item.groups || (item.groups & qd::GroupsShownIn(view)));
    return qd::ShownIn(item, view);
}

// The views in which a page's picture is seen: the background under every effect
// panel, each effect panel in its own view.
std::vector<qd::PanelView> ViewsOf(Page page) {
    using V = qd::PanelView;
    switch (page) {
        case Page::kSound: return {V::kMain, V::kOverdrive, V::kEqBands, V::kEqGraph};
        case Page::kModulation: return {V::kMain};
        case Page::kDrive: return {V::kOverdrive};
        case Page::kEqBands: return {V::kEqBands};
        case Page::kEqGraph: return {V::kEqGraph};
    }
    return {};
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

Box ImageFrame(const Manifest& manifest, qd::Bmp image, qd::Skin skin) {
    if (image == qd::kBmpNone) return {};
    const qd::BitmapRow& row = qd::PanelBitmap(image);
    const std::string folder = row.folder ? row.folder : qd::IsLcd(skin) ? "img/lcd/" : "img/orig/";
    // "img/<dir>/"
    const std::string dir = folder.substr(4, folder.size() - 5);
    const ImageSpec* spec = FindImage(manifest, dir, row.name);
    return spec ? Box{0, 0, float(spec->guiWidth), float(spec->guiHeight)} : Box{};
}

Box ItemBox(const Manifest& manifest, const qd::PlanItem& item, qd::Skin skin) {
    const IRECT& r = item.rect;
    if (!qd::SizedByImage(item.kind)) return {float(r.L), float(r.T), float(r.W()), float(r.H())};
    const Box frame = ImageFrame(manifest, item.image, skin);
    switch (item.kind) {
        case ControlKind::kKeyboard: return {float(r.L), float(r.T), frame.w * qd::keyboard::kOctaves, frame.h};
        case ControlKind::kFader: return {float(r.L), float(r.T), frame.w, float(item.option)};
        default: return {float(r.L), float(r.T), frame.w, frame.h};
    }
}

std::vector<Box> ControlBoxes(const Manifest& manifest, qd::Skin skin, qd::PanelView view) {
    std::vector<Box> boxes;
    for (const auto part : {qd::PanelPart::kSynthPage, qd::PanelPart::kKeyboard})
        for (const qd::PlanItem& item : qd::PanelPlan(part, skin))
            if (CanShow(item, view)) boxes.push_back(ItemBox(manifest, item, skin));
    return boxes;
}

std::vector<Box> PageControlBoxes(const Manifest& manifest, Page page, qd::Skin skin) {
    std::vector<Box> boxes;
    for (const qd::PanelView view : ViewsOf(page)) {
        const std::vector<Box> shown = ControlBoxes(manifest, skin, view);
        boxes.insert(boxes.end(), shown.begin(), shown.end());
    }
    return boxes;
}

std::vector<Section> PageSections(const Manifest& manifest, Page page, qd::Skin skin) {
    const PageGeometry geometry(manifest, page, skin);
    std::vector<Section> out;
    for (const auto& def : Definitions()) {
        if (def.page != page) continue;
        Section s{def.title, {}, {}, PlaceLabels(geometry, def)};
        s.frame = FrameAround(geometry, def, s.labels);
        PlaceTitle(geometry, s);
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace skingen
