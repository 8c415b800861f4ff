#include "tools/skingen/panel_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <span>

#include "editor/data/keyboard_geometry.h"
#include "editor/data/panel_groups.h"
#include "editor/data/param_table.h"
#include "editor/data/text_fit.h"
#include "tools/skingen/painter.h"

namespace skingen {

namespace {

using qd::ControlKind;
using namespace qd::param;

struct SectionDef {
    Page page;
    const char* title;
    std::vector<int> params;  // sliders, labelled
    // Switches with their value texts, and value texts, that the frame encloses; below
    // the sliders' row in a part of their own with `annex`.
    std::vector<int> extras = {};
    bool annex = false;
    bool eqGraph = false;
};

// Short forms for names that do not fit a slider column once their section's prefix
// is gone.
constexpr qd::ParamText kShortForms[] = {
    {kVoice2Transposition, "v2 trans"},
    {kVoice3Transposition, "v3 trans"},
    {kVoicesInstrumentVolume, "instr."},
    {kVoice1Volume, "v1 vol"},
    {kVoice2Volume, "v2 vol"},
    {kVoice3Volume, "v3 vol"},
    {kDistortionGrade, "dist"},
    {kDistortionTone, "tone"},
    {kOutputInstrumentVolume, "instr."},
    {kVcfVolumeLinear, "VCF lin"},
    {kVcfVolumeLog, "VCF log"},
    {kVcaAttack, "amp A"},
    {kVcaDecay, "amp D"},
    {kVcaSustain, "amp S"},
    {kVcaRelease, "amp R"},
    {kVcfAttack, "filter A"},
    {kVcfDecay, "filter D"},
    {kVcfSustain, "filter S"},
    {kVcfRelease, "filter R"},
    {kEnvelopeMode, "mode"},
    {kNoiseAttack, "noise A"},
    {kNoiseDecay, "noise D"},
    {kMixerInstrumentVolume, "instr."},
    {kDistortionVolume, "dist"},
    {kDistortionThroughAr, "dist AR"},
    {kVcoThroughInverseAr, "inv AR"},
    {kNoiseVolume, "noise"},
    {kVintageCutoff, "cutoff"},
    {kVcf2Cutoff, "cutoff 2"},
    {kVcfEnvFollower, "env fol"},
    {kVcfAccent, "accent"},
    {kVcfAdGenerator, "AD gen"},
    {kVcfPitchFollow, "pitch fol"},
    {kVcfType, "type"},
    {kVcfQ, "Q"},
    {kPortamentoTime, "porta"},
    {kPitchBendRange, "bend"},
    {kVcoTranspose, "transp."},
    {kKeyPriority, "priority"},
    {kLfoFrequency, "rate"},
    {kLfoDelay, "delay"},
    {kLfoVcfDepth, "VCF"},
    {kLfoVcoDepth, "VCO"},
    {kMidiSync, "sync"},
    {kModBlendInstrument, "instr."},
    {kModBlendVcf, "VCF"},
    {kModOnOff, "on/off"},
    {kModLfoAFrq, "LFO A"},
    {kModLfoBFrq, "LFO B"},
    {kModLevel1, "level 1"},
    {kDelay1Time, "delay 1"},
    {kMod1A, "mod 1A"},
    {kMod1B, "mod 1B"},
    {kModLevel2, "level 2"},
    {kDelay2Time, "delay 2"},
    {kMod2A, "mod 2A"},
    {kMod2B, "mod 2B"},
    {kFeedbackLevel, "feedback"},
    {kFeedbackDamping, "damping"},
    {kOverdriveOn, "on/off"},
    {kOverdriveDrive, "drive"},
    {kOverdriveLevel, "level"},
    {kOdBlendInstrument, "instr."},
    {kOdBlendVcf, "VCF"},
    {kEqualizerOn, "on/off"},
    {kEqBassFrq, "bass frq"},
    {kEqBassSlope, "bass slp"},
    {kEqBassBoost, "bass"},
    {kEqMid1Frq, "mid1 frq"},
    {kEqMid1Q, "mid1 Q"},
    {kEqMid1Boost, "mid1"},
    {kEqMid2Frq, "mid2 frq"},
    {kEqMid2Q, "mid2 Q"},
    {kEqMid2Boost, "mid2"},
    {kEqTrebleFrq, "treb frq"},
    {kEqTrebleSlope, "treb slp"},
    {kEqTrebleBoost, "treble"},
    {kEqBlendInstrument, "instr."},
    {kEqBlendVcf, "VCF"},
};

// VCO column names without "VCOn ": the long ones shortened.
constexpr const char* kVcoShort[][2] = {
    {"saw env decay", "saw dec"}, {"saw env ampmod", "saw amp"}, {"PWM offset", "PWM ofs"},
    {"PWM LFO frq", "PWM frq"},   {"PWM LFO depth", "PWM dep"},
};

std::vector<SectionDef> Definitions() {
    auto run = [](int first, int last) {
        std::vector<int> v;
        for (int p = first; p <= last; ++p) v.push_back(p);
        return v;
    };
    auto of = [](std::span<const int> params) { return std::vector<int>(params.begin(), params.end()); };
    std::vector<SectionDef> defs;
    const char* vcos[] = {"VCO1", "VCO2", "VCO3", "VCO4"};
    const int vcoStep = kVco2Coarse - kVco1Coarse;
    for (int n = 0; n < 4; ++n)
        defs.push_back({Page::kSound, vcos[n], run(kVco1Coarse + vcoStep * n, kVco1Volume + vcoStep * n)});
    defs.push_back({Page::kSound,
                    "MIXER",
                    {kVcoTranspose, kMixerInstrumentVolume, kDistortionVolume, kDistortionThroughAr,
                     kVcoThroughInverseAr, kNoiseVolume}});
    defs.push_back(
        {Page::kSound,
         "FILTER",
         {kVintageCutoff, kVcf2Cutoff, kVcfQ, kVcfType, kVcfEnvFollower, kVcfAdGenerator, kVcfAccent, kVcfPitchFollow},
         {kFilterMode, kVcfSlope},
         true});
    defs.push_back({Page::kSound,
                    "ENVELOPES",
                    {kEnvelopeMode, kVcaAttack, kVcaDecay, kVcaSustain, kVcaRelease, kVcfAttack, kVcfDecay, kVcfSustain,
                     kVcfRelease, kNoiseAttack, kNoiseDecay}});
    defs.push_back({Page::kSound, "LFO", run(kLfoFrequency, kLfoVcoDepth)});
    defs.push_back({Page::kSound, "VOICES", run(kVoice2Transposition, kDistortionTone)});
    // Portamento, keys and output share one frame: their controls interleave.
    defs.push_back({Page::kSound,
                    "PLAY",
                    {kPortamentoTime, kPitchBendRange, kMidiSync, kKeyPriority, kOutputInstrumentVolume,
                     kVcfVolumeLinear, kVcfVolumeLog},
                    {kPortamentoSlope, kPortamentoMode, kTrigMode}});
    // The effect panels: the groups the panel shows and hides them by.
    defs.push_back({Page::kModulation, "MODULATION", of(qd::groups::kChorus)});
    defs.push_back({Page::kDrive, "OVERDRIVE", of(qd::groups::kOverdrive)});
    defs.push_back({Page::kEqBands, "EQUALIZER", of(qd::groups::kEqBands)});
    defs.push_back({Page::kEqGraph, "EQUALIZER", of(qd::groups::kEqGraphAware), {}, false, true});
    return defs;
}

bool IsSliderKind(ControlKind k) { return k == ControlKind::kSlider || k == ControlKind::kSlider2; }

// What the view shows of the item as a control (the pictures without a parameter are
// artwork, the click areas and file selectors draw nothing there). Of the controls that
// follow the parameters, those on the page count wherever their group is shown; the
// Flexi range sliders wait off the page until they are placed on a knob that is
// counted anyway.
bool CanShow(const qd::PlanItem& item, qd::PanelView view) {
    switch (item.kind) {
        case ControlKind::kLoad:
        case ControlKind::kInvisibleSwitch:
        case ControlKind::kInvisibleSelect:
        case ControlKind::kRowSelect:
        case ControlKind::kGridSelect:
        case ControlKind::kFileSelector: return false;
        case ControlKind::kPicture:
            if (item.param < 0) return false;
            break;
        default: break;
    }
    if (!item.attached) return false;
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

// The width the frames keep for a value text: its widest text at a generous 7 px a
// character, more than its box takes, so that the sections keep the outlines and title
// places they were laid out with.
float ValueTextRoom(int param) {
    constexpr float kAdvance = 7.0f;
    return float(qd::WidestValueText(param)) * kAdvance;
}

// Where a parameter's control and value text lie on the page, from the plan: the value
// text's rectangle, its box (qd::TextBoxOf) and the room the frames keep for it.
struct ParamBoxes {
    Box control{}, visible{}, value{}, text{}, room{};
};

constexpr float kLabelHeight = 11;
constexpr float kLabelMargin = 1.5f;   // kept clear beside a label's text (1 above and below)
constexpr float kPadX = 4, kPadY = 3;  // between a frame and what it holds

class PageGeometry {
public:
    PageGeometry(const Manifest& manifest, Page page, qd::Skin skin) : mLcd(qd::IsLcd(skin)) {
        const auto plan = qd::PanelPlan(qd::PanelPart::kSynthPage, skin);
        for (const qd::PlanItem& item : plan) {
            if (item.param < 0 || !item.attached) continue;
            ParamBoxes& b = mParams[item.param];
            const Box box = ItemBox(manifest, item, skin);
            if (item.kind == ControlKind::kValueText) {
                const IRECT text = qd::TextBoxOf(item, skin);
                const float w = std::min(box.w, ValueTextRoom(item.param));
                b.value = box;
                b.text = {float(text.L), float(text.T), float(text.W()), float(text.H())};
                b.room = Box{box.x + (box.w - w) / 2, box.y + 2, w, box.h - 4}.Grown(3, 1);
            } else if (item.kind == ControlKind::kEqGraph) {
                mEqGraph = box;
            } else if (b.control.w == 0) {
                b.control = b.visible = box;
                if (IsSliderKind(item.kind) && item.image != qd::kBmpCurves) {
                    const SliderRows rows = SliderRowsOf(qd::PanelBitmap(item.image).name, mLcd);
                    const float half = qd::PanelBitmap(item.image).frames <= 6 ? kCapWidth / 2 + 5 : kCapWidth / 2;
                    b.visible = {box.x + box.w / 2 - half, box.y + rows.top, 2 * half, rows.bottom - rows.top};
                }
            }
        }
        for (const qd::PanelView view : ViewsOf(page))
            for (const qd::PlanItem& item : plan)
                if (CanShow(item, view)) mControls.push_back(ItemBox(manifest, item, skin));
        for (const qd::PlanItem& item : qd::PanelPlan(qd::PanelPart::kKeyboard, skin))
            mControls.push_back(ItemBox(manifest, item, skin));
    }
    bool Lcd() const { return mLcd; }
    const ParamBoxes& Of(int param) const {
        static const ParamBoxes none{};
        const auto it = mParams.find(param);
        return it == mParams.end() ? none : it->second;
    }
    Box EqGraph() const { return mEqGraph; }
    // Whether b overlaps no control but those lying wholly inside `except`.
    bool Clear(const Box& b, const std::vector<Box>& except = {}) const {
        for (const auto& o : mControls) {
            if (!b.Overlaps(o)) continue;
            bool own = false;
            for (const Box& e : except) own = own || e.Contains(o);
            if (!own) return false;
        }
        return true;
    }

private:
    bool mLcd;
    std::vector<Box> mControls;
    std::map<int, ParamBoxes> mParams;
    Box mEqGraph{};
};

const TextStyle kLabelStyle{kLabelSize, false, 0, Align::kCentre};

// The text of a label centred in its box (only the text's own width counts).
Box TextBox(const Label& l) {
    const float w = std::min(l.box.w, TextWidth(l.text, kLabelStyle));
    return {l.box.x + (l.box.w - w) / 2, l.box.y, w, l.box.h};
}

// Candidate places of a label: above the slider, under the value text, right of the
// slider's track; each a few pixels aside where a text of the program stands close.
constexpr int kCandidates = 3;
constexpr float kNudges[] = {0, 2, -2, 4, -4, 6, -6};
Label Candidate(const PageGeometry& page, int param, int k, float dx = 0) {
    const ParamBoxes& b = page.Of(param);
    const float cx = b.control.x + b.control.w / 2 + dx;
    const std::string text = ShortLabel(param);
    switch (k) {
        case 0: return {{cx - kLabelWidth / 2, b.control.y - kLabelHeight - 1, kLabelWidth, kLabelHeight}, text};
        case 1: return {{cx - kLabelWidth / 2, b.value.B() + 1, kLabelWidth, kLabelHeight}, text};
        default: {
            const float w = TextWidth(text, kLabelStyle) + 4, y = b.visible.y + b.visible.h / 2 - kLabelHeight / 2;
            return {{b.visible.R() + 2, y, w, kLabelHeight}, text};
        }
    }
}

// The label of candidate k, nudged as little as needed to stand clear of every
// control; false when no nudge will do.
bool PlaceLabel(const PageGeometry& page, int param, int k, Label* out) {
    for (const float dx : kNudges) {
        const Label l = Candidate(page, param, k, dx);
        if (page.Clear(TextBox(l).Grown(kLabelMargin, 1))) {
            *out = l;
            return true;
        }
        if (k == 2) break;  // right of the track it may not move
    }
    return false;
}

// The union of boxes.
Box Around(const std::vector<Box>& boxes) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (const Box& b : boxes) {
        if (b.w <= 0 || b.h <= 0) continue;
        x0 = std::min(x0, b.x);
        y0 = std::min(y0, b.y);
        x1 = std::max(x1, b.R());
        y1 = std::max(y1, b.B());
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

// The lcd's window under a value text's box: from the row under the top of its line,
// where no glyph reaches, to a little below its foot.
Box Ground(const Box& text) {
    constexpr float m = qd::kWindowMargin;
    return {text.x - m, text.y + 1, text.w + 2 * m, text.h + 3};
}

// A section as laid out, with what its frames must hold (their content).
struct Laid {
    const SectionDef* def;
    Section s;
    std::vector<Box> content;  // one per frame
};

// The content of a section's frames: sliders, value texts, labels and extras.
void Contents(const PageGeometry& page, Laid& laid) {
    const SectionDef& def = *laid.def;
    std::vector<Box> main, annex;
    for (int p : def.params) {
        main.push_back(page.Of(p).visible);
        main.push_back(page.Of(p).room);
    }
    for (const Label& l : laid.s.labels) main.push_back(TextBox(l));
    if (def.eqGraph) main.push_back(page.EqGraph());
    for (int p : def.extras) {
        (def.annex ? annex : main).push_back(page.Of(p).visible);
        (def.annex ? annex : main).push_back(page.Of(p).room);
    }
    laid.content = {Around(main)};
    if (annex.empty()) return;
    // The annex takes what lies below the row; the row's frame widens over it.
    const Box a = Around(annex), m = laid.content[0];
    laid.content[0] = Around({m, {a.x, m.y, a.w, 1}});
    laid.content.push_back({a.x, m.B(), a.w, std::max(0.0f, a.B() - m.B())});
}

// Whether two pages are seen together: the sound page with each effect panel.
bool Compatible(Page a, Page b) { return a == b || a == Page::kSound || b == Page::kSound; }

// Neighbouring frames that would overlap or stand a few pixels apart share one line,
// midway between their contents.
constexpr float kWallGap = 9;
void Walls(std::vector<Laid>& all) {
    for (Laid& a : all)
        for (Laid& b : all) {
            if (&a == &b || !Compatible(a.def->page, b.def->page)) continue;
            for (size_t i = 0; i < a.s.frames.size(); ++i)
                for (size_t j = 0; j < b.s.frames.size(); ++j) {
                    Box &fa = a.s.frames[i], &fb = b.s.frames[j];
                    const Box &ca = a.content[i], &cb = b.content[j];
                    const float yOverlap = std::min(fa.B(), fb.B()) - std::max(fa.y, fb.y);
                    const float xOverlap = std::min(fa.R(), fb.R()) - std::max(fa.x, fb.x);
                    if (ca.R() <= cb.x && yOverlap > 6 && fa.R() + kWallGap > fb.x) {
                        const float wall = std::floor((ca.R() + cb.x) / 2);
                        fa.w = wall + 1 - fa.x;
                        fb.w += fb.x - wall;
                        fb.x = wall;
                    } else if (ca.B() <= cb.y && xOverlap > 6 && fa.B() + kWallGap > fb.y) {
                        const float wall = std::floor((ca.B() + cb.y) / 2);
                        fa.h = wall + 1 - fa.y;
                        fb.h += fb.y - wall;
                        fb.y = wall;
                    }
                }
        }
}

// Whether a box is free for `self`'s frame (`title` false: its own controls may lie in
// it) or title: clear of every control and label, and of the frames of the sections
// seen with it (its own annex too, for a title).
bool Free(const PageGeometry& page, const std::vector<Laid>& all, const Laid& self, const Box& b, bool title) {
    std::vector<Box> own;
    if (!title) own.push_back(Around(self.content).Grown(1, 1));
    if (!page.Clear(b, own)) return false;
    for (const Laid& o : all) {
        if (!Compatible(o.def->page, self.def->page)) continue;
        for (const Label& l : o.s.labels)
            if (TextBox(l).Overlaps(b)) return false;
        for (size_t i = &o == &self ? (title ? 1 : o.s.frames.size()) : 0; i < o.s.frames.size(); ++i)
            if (o.s.frames[i].Overlaps(b)) return false;
    }
    return true;
}

// The titles of a row (the sections whose sliders share a top) go on the same edge,
// the top where there is room for it, else the bottom: the frames move out by the room
// a tab takes inside them, and each title takes the first place on the edge that is
// free.
constexpr float kTabHeight = 13, kTabInside = 6, kTabRoom = 7;
template <class Geometry>
void PlaceTitles(const std::vector<Laid*>& row, const std::vector<Laid>& all, Geometry geometry) {
    const TextStyle titleStyle{kTitleSize, true, 0, Align::kLeft};
    for (const bool top : {true, false}) {
        bool room = true;
        for (const Laid* laid : row) {
            const Box& f = laid->s.frames[0];
            const Box strip{f.x + 1, top ? f.y - kTabRoom : f.B(), f.w - 2, kTabRoom};
            room = room && (laid->def->eqGraph || Free(geometry(laid->def->page), all, *laid, strip, false));
        }
        if (!room) continue;
        for (Laid* laid : row) {
            Section& s = laid->s;
            Box& f = s.frames[0];
            // The graph's frame stays on the bottom row's line.
            if (!laid->def->eqGraph) {
                if (top) f.y -= kTabRoom;
                f.h += kTabRoom;
            }
            const float tw = TextWidth(s.title, titleStyle) + 4;
            const float y = top ? f.y - (kTabHeight - kTabInside - 1) : f.B() - kTabInside - 1;
            s.titleBox = {f.x + 9, y, tw, kTabHeight};
            for (float dx = 9; dx + tw + 9 < f.w; dx += 2)
                if (Free(geometry(laid->def->page), all, *laid, {f.x + dx - 4, y, tw + 4, kTabHeight}, true)) {
                    s.titleBox.x = f.x + dx;
                    break;
                }
        }
        return;
    }
    for (Laid* laid : row)
        laid->s.titleBox = {laid->s.frames[0].x + 9, laid->s.frames[0].y - 7, TextWidth(laid->s.title, titleStyle) + 4,
                            kTabHeight};
}

std::vector<Laid> LayAll(const Manifest& manifest, qd::Skin skin, const std::vector<SectionDef>& defs) {
    std::map<Page, std::unique_ptr<PageGeometry>> pages;
    auto geometry = [&](Page p) -> const PageGeometry& {
        auto& g = pages[p];
        if (!g) g = std::make_unique<PageGeometry>(manifest, p, skin);
        return *g;
    };
    // Rows: the sections whose sliders share a top, on the sound page or an effect panel.
    std::vector<Laid> all;
    for (const SectionDef& def : defs) all.push_back({&def, {def.title, {}, {}, {}}, {}});
    std::map<float, std::vector<Laid*>> rows;
    for (Laid& laid : all) rows[geometry(laid.def->page).Of(laid.def->params[0]).control.y].push_back(&laid);
    // Labels: one place for a row where it fits all of them, so that a row reads alike;
    // otherwise the first that fits each.
    for (auto& [y, row] : rows) {
        int chosen = -1;
        Label l;
        for (int k = 0; k < kCandidates && chosen < 0; ++k) {
            bool fits = true;
            for (const Laid* o : row)
                for (int p : o->def->params) fits = fits && PlaceLabel(geometry(o->def->page), p, k, &l);
            if (fits) chosen = k;
        }
        for (Laid* o : row) {
            const PageGeometry& page = geometry(o->def->page);
            for (int p : o->def->params) {
                bool placed = chosen >= 0 && PlaceLabel(page, p, chosen, &l);
                for (int k = 0; !placed && k < kCandidates; ++k) placed = PlaceLabel(page, p, k, &l);
                if (placed) o->s.labels.push_back(l);
            }
        }
    }
    for (Laid& laid : all) {
        Contents(geometry(laid.def->page), laid);
        for (const Box& c : laid.content)
            laid.s.frames.push_back({c.x - kPadX, c.y - kPadY, c.w + 2 * kPadX, c.h + 2 * kPadY});
        // The graph's frame reaches down to the bottom row's line.
        if (laid.def->eqGraph) laid.s.frames[0].h = kBottomRowTop + 1 - laid.s.frames[0].y;
        if (laid.s.frames.size() > 1) {
            // The annex hangs from the row's frame.
            Box& a = laid.s.frames[1];
            a.h += a.y - (laid.s.frames[0].B() - 1);
            a.y = laid.s.frames[0].B() - 1;
        }
    }
    Walls(all);
    for (Laid& laid : all)
        if (laid.s.frames.size() > 1) laid.s.frames[1].x = std::max(laid.s.frames[1].x, laid.s.frames[0].x);
    // A row's frames line up at the top where they can.
    for (auto& [y, row] : rows) {
        float top = 1e9f;
        for (const Laid* laid : row) top = std::min(top, laid->s.frames[0].y);
        for (Laid* laid : row) {
            Box& f = laid->s.frames[0];
            if (f.y > top && Free(geometry(laid->def->page), all, *laid, {f.x + 1, top, f.w - 2, f.y - top}, false)) {
                f.h += f.y - top;
                f.y = top;
            }
        }
        PlaceTitles(row, all, geometry);
    }
    return all;
}

// Dark windows behind the lcd's value texts, one for each. Where two would come closer
// than kWindowGap, both give way on the sides that face each other, never into their
// texts' boxes.
constexpr float kWindowGap = 2;
std::vector<Box> ValueGrounds(const PageGeometry& page, const std::vector<SectionDef>& defs, Page p) {
    std::vector<Box> texts;
    for (const SectionDef& def : defs) {
        if (def.page != p) continue;
        for (const auto* list : {&def.params, &def.extras})
            for (int param : *list)
                if (page.Of(param).text.w > 0) texts.push_back(page.Of(param).text);
    }
    std::vector<Box> grounds;
    for (const Box& text : texts) grounds.push_back(Ground(text));
    // Pulls one window's end back (not past aLimit) and the next one's start on (not past
    // bLimit) until they stand the gap apart, half each where both have room.
    auto part = [](float& aEnd, float aLimit, float& bStart, float bLimit) {
        const float need = aEnd + kWindowGap - bStart;
        if (need <= 0) return;
        const float roomA = std::max(0.0f, aEnd - aLimit), roomB = std::max(0.0f, bLimit - bStart);
        const float b = std::min(need - std::min(need / 2, roomA), roomB);
        aEnd -= std::min(need - b, roomA);
        bStart += b;
    };
    for (size_t i = 0; i < grounds.size(); ++i)
        for (size_t j = 0; j < grounds.size(); ++j) {
            Box &a = grounds[i], &b = grounds[j];
            const Box &ta = texts[i], &tb = texts[j];
            if (i == j || !a.Grown(kWindowGap, kWindowGap).Overlaps(b)) continue;
            // They part along the axis on which their texts stand furthest apart.
            const float dx = tb.x - ta.R(), dy = tb.y - ta.B();
            if (dx >= 0 && dx >= dy) {
                float right = a.R(), left = b.x;
                part(right, ta.R(), left, tb.x);
                a.w = right - a.x;
                b.w -= left - b.x;
                b.x = left;
            } else if (dy >= 0) {
                float bottom = a.B(), top = b.y;
                part(bottom, ta.B(), top, tb.y);
                a.h = bottom - a.y;
                b.h -= top - b.y;
                b.y = top;
            }
        }
    return grounds;
}

}  // namespace

std::string ShortLabel(int param) {
    if (const char* text = qd::TextOf(kShortForms, param)) return text;
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

SliderRows SliderRowsOf(const std::string& image, bool lcd) {
    if (image == "vslidershort4") return {14, 37};
    return {1, lcd ? 38.0f : 43.0f};
}

std::vector<Box> ControlBoxes(const Manifest& manifest, qd::Skin skin, qd::PanelView view, qd::PanelPart part,
                              int after) {
    std::vector<Box> boxes;
    for (const auto p : {part, qd::PanelPart::kKeyboard}) {
        if (p == qd::PanelPart::kKeyboard && part != qd::PanelPart::kSynthPage) continue;
        const auto plan = qd::PanelPlan(p, skin);
        for (size_t i = 0; i < plan.size(); ++i)
            if ((p != part || int(i) > after) && CanShow(plan[i], view))
                boxes.push_back(ItemBox(manifest, plan[i], skin));
    }
    return boxes;
}

PageLayout LayoutOf(const Manifest& manifest, Page page, qd::Skin skin) {
    const std::vector<SectionDef> defs = Definitions();
    PageLayout out;
    for (Laid& laid : LayAll(manifest, skin, defs))
        if (laid.def->page == page) out.sections.push_back(std::move(laid.s));
    if (qd::IsLcd(skin)) out.valueGrounds = ValueGrounds(PageGeometry(manifest, page, skin), defs, page);
    return out;
}

}  // namespace skingen
