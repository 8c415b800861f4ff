// Every view, in every skin at 100 %, 200 % and the fitted start scales 140 % and 147 %,
// reached the user's way (clicks, a drag, the menu), shows the controls the panel's plan
// gives it; every timer tick shows what a full redraw shows; every text the program draws
// has a contrast of at least 4.5 : 1 (WCAG) with the ground under its ink (the pixels that
// change when it is drawn at alpha 0), the ground their median by luminance; and no text's
// ink comes closer than 2 px to another's (half a space beside it on a line), nor its
// window (the ground the artwork draws under it alone) touches another text's window or
// ink, also with every value text at its widest. QD_CONTRAST_REPORT=file appends every
// text's contrast reading to it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

#include "editor/data/param_table.h"
#include "editor/editor_fixture.h"
#include "editor/menu_commands.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/controls/user_text_controls.h"

using namespace edtest;

namespace {

using V = qd::PanelView;

// A view and the user's way to it from the one before: a click on (or a drag `drag`
// pixels up from) the shown control bound to `param` (-1: the about box), a menu command,
// or (kWidest) every value text's parameter set to its widest text.
constexpr int kWidest = -1;
struct Step { const char* name; int param, command, drag; V view; bool measured; };
const Step kSteps[] = {
    {"main", 0, 0, 0, V::kMain, true},                           {"slider dragged", 3, 0, 30, V::kMain, false},
    {"widest values", 0, kWidest, 0, V::kMain, true},
    {"overdrive", 294, 0, 0, V::kOverdrive, true},               {"eq graph", 295, 0, 0, V::kEqGraph, true},
    {"eq para", 291, 0, 0, V::kEqBands, true},                   {"chorus", 296, 0, 0, V::kMain, false},
    {"source list", 255, 0, 0, V::kSourceList, true},            {"list closed", 300, 0, 0, V::kMain, false},
    {"range list", 259, 0, 0, V::kRangeList, true},              {"list closed", 300, 0, 0, V::kMain, false},
    {"manager", 0, qd::kMenuManagerView, 0, V::kManager, true},
    {"manager closed", 0, qd::kMenuManagerView, 0, V::kMain, false},
    {"about box", 0, qd::kMenuAbout, 0, V::kAboutBox, true},     {"about closed", -1, 0, 0, V::kMain, false},
};

double Luminance(uint32_t p) {
    auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(PIX_PixelR(p) / 255.0) + 0.7152 * linear(PIX_PixelG(p) / 255.0) +
           0.0722 * linear(PIX_PixelB(p) / 255.0);
}
int Rgb(uint32_t p) { return PIX_PixelR(p) << 16 | PIX_PixelG(p) << 8 | PIX_PixelB(p); }
uint32_t Opaque(const IColor& c) { return PIX_MakePixel(255, c.R, c.G, c.B); }

// The graph draws its labels in its grid colour, which it keeps to itself.
struct GraphColour : IParaGraphicEq {
    static IColor Of(const IParaGraphicEq& g) { return (g.*&GraphColour::mSettings).gridColor; }
};
// A text on screen: what draws it, where, in which colour, and how to take it out.
struct Text {
    std::string control, text;
    IRECT rect;
    uint32_t colour;
    std::function<void(bool)> hide;
    int space;  // the width of a space in its style
};

using Case = std::tuple<std::string, int>;  // the skin setting, the scale in per cent

class Views : public EditorTest, public ::testing::WithParamInterface<Case> {
protected:
    uint32_t& At(int x, int y) { return *PIX_PixelAddress(*G()->GetDrawBitmap(), x, y); }
    std::vector<uint32_t> Pixels(const IRECT& r) {
        std::vector<uint32_t> out;
        for (int y = r.T; y < r.B; ++y) out.insert(out.end(), &At(r.L, y), &At(r.L, y) + r.W());
        return out;
    }
    // Draws each tick as the timer and the window do, each against a full redraw, and
    // keeps the last full redraw and all that the ticks drew. Answers the ticks.
    int Settle() {
        int ticks = 0;
        mTicked = IRECT();
        for (IRECT d; G()->IsDirty(&d); d = IRECT(), ++ticks) {
            d = IRECT(std::max(d.L, 0), std::max(d.T, 0), std::min(d.R, mAll.R), std::min(d.B, mAll.B));
            const std::vector<uint32_t> before = Pixels(mAll);
            G()->Draw(&d);
            mTicked.Union(d);
            const std::vector<uint32_t> after = Pixels(mAll), shown = Pixels(d);
            int outside = 0;  // a tick leaves alone what lies outside its rectangle
            for (int y = 0; y < mAll.B; ++y)
                for (int x = 0; x < mAll.R; ++x) outside += !d.Contains(x, y) && before[size_t(y) * mAll.R + x] != after[size_t(y) * mAll.R + x];
            G()->SetAllControlsDirty();
            G()->Draw(&mAll);
            EXPECT_TRUE(shown == Pixels(d) && outside == 0)
                << "a tick at " << d.L << ", " << d.T << " to " << d.R << ", " << d.B << " (" << outside << " changed outside)";
        }
        mFull = Pixels(mAll);
        return ticks;
    }

    // Every control against its plan item, shown as the view shows it (the layout shows,
    // hides and moves those that follow the parameters by itself).
    void CheckPlan(const std::vector<qd::PlanItem>& plan, V view, double s) {
        ASSERT_EQ(G()->GetControlIdx(Screens()->AboutBox()), int(plan.size()));
        for (size_t i = 0, wrong = 0; i < plan.size() && wrong < 5; ++i) {
            const qd::PlanItem& item = plan[i];
            const IControl* c = G()->GetControl(int(i) + 1);
            const IRECT r = *c->GetRECT(),
                        p = IModuleGUIResize::ScaleDRECT(IModuleGUIResize::ToDRECT(item.rect), s, s);
            // The view layout places the effect tabs with a rounding of its own.
            const int slack = s == std::floor(s) ? 0 : 1;
            auto near = [slack](int a, int b) { return std::abs(a - b) <= slack; };
            const bool placed = near(r.L, p.L) && near(r.T, p.T) &&
                                (qd::SizedByImage(item.kind) || (near(r.R, p.R) && near(r.B, p.B)));
            const int bound = item.kind == qd::ControlKind::kValueText ? -1 : item.param;
            if (c->ParamIdx() == bound && (item.followsState || (placed && c->IsHidden() != qd::ShownIn(item, view))))
                continue;
            ADD_FAILURE() << "control " << i + 1 << " (parameter " << c->ParamIdx() << ") at " << r.L << ", " << r.T
                          << (c->IsHidden() ? ", hidden," : ", shown,") << " is not its plan item (parameter "
                          << item.param << " at " << p.L << ", " << p.T << ") in this view";
            ++wrong;
        }
    }

    int SpaceWidth(IText style) {
        style.align = IText::kAlignNear;
        style.cached = nullptr;
        IRECT r;
        G()->MeasureIText(&style, " ", &r);
        return r.R;
    }

    // The texts shown: the text controls' and the graph's labels.
    std::vector<Text> Texts(const std::vector<qd::PlanItem>& plan) {
        std::vector<Text> texts;
        for (size_t i = 0; i < plan.size(); ++i) {
            IControl* c = G()->GetControl(int(i) + 1);
            const char* s = "";
            if (auto* text = dynamic_cast<ITextControl*>(c)) s = text->GetTextString();
            if (auto* field = dynamic_cast<IUserTextControl*>(c)) s = field->GetTextString();
            if (c->IsHidden() || !*s) continue;
            const qd::ControlKind k = plan[i].kind;
            std::string what = k == qd::ControlKind::kSpinner ? "spinner" : "text";
            if (k == qd::ControlKind::kValueText) what = "value text";
            if (plan[i].param >= 0) what += " of parameter " + std::to_string(plan[i].param);
            IText* style = c->GetText();
            texts.push_back({what, s, *c->GetRECT(), Opaque(style->color),
                             [style, a = style->color.A](bool hide) { style->color.A = hide ? 0 : a; },
                             SpaceWidth(*style)});
        }
        IParaGraphicEq* graph = Screens()->EqGraph();
        const int space = SpaceWidth(IText(9, COLOR_WHITE, "Monaco", IText::kStyleBold));
        for (int i = 0, n = graph->NFreqLabels(); !graph->IsHidden() && i < n + graph->NGainLabels(); ++i) {
            char* label = const_cast<char*>(i < n ? graph->FreqLabelText(i) : graph->GainLabelText(i - n));
            texts.push_back({"EQ graph label", label, *graph->GetRECT(), Opaque(GraphColour::Of(*graph)),
                             [label, first = label[0]](bool hide) { label[0] = hide ? '\0' : first; }, space});
        }
        return texts;
    }

    // Draws the region round the text without it, wider until its ink (the pixels that
    // change) stays inside. Answers the ground and the ink's bounds; false without ink.
    bool Ground(const Text& t, uint32_t* ground, IRECT* ink) {
        for (int m = 4;; m *= 4) {
            IRECT r(std::max(t.rect.L - m, 0), std::max(t.rect.T - m, 0), std::min(t.rect.R + m, mAll.R),
                    std::min(t.rect.B + m, mAll.B));
            t.hide(true);
            G()->Draw(&r);
            t.hide(false);
            std::vector<uint32_t> under;
            *ink = IRECT(r.R, r.B, r.L, r.T);
            for (int y = r.T; y < r.B; ++y)
                for (int x = r.L; x < r.R; ++x) {
                    if (At(x, y) == mFull[size_t(y) * mAll.R + x]) continue;
                    under.push_back(At(x, y));
                    *ink = IRECT(std::min(ink->L, x), std::min(ink->T, y), std::max(ink->R, x + 1),
                                 std::max(ink->B, y + 1));
                }
            if (under.empty()) return false;
            if ((ink->L == r.L && r.L > 0) || (ink->T == r.T && r.T > 0) || (ink->R == r.R && r.R < mAll.R) ||
                (ink->B == r.B && r.B < mAll.B))
                continue;
            auto darker = [](uint32_t a, uint32_t b) { return Luminance(a) < Luminance(b); };
            std::nth_element(under.begin(), under.begin() + under.size() / 2, under.end(), darker);
            *ground = under[under.size() / 2];
            return true;
        }
    }

    // The window the artwork draws under a text: the pixels of its ground's colour joined
    // to those under its ink, in the full picture. Ground that spreads past the text's
    // rectangle by more than three of its widths or two of its heights is the open page
    // (a section's fill, a plate of several controls): no window then.
    IRECT Window(const Text& t, const IRECT& ink, uint32_t ground) {
        const int w = 3 * t.rect.W(), h = 2 * t.rect.H();
        const IRECT limit(std::max(t.rect.L - w, 0), std::max(t.rect.T - h, 0), std::min(t.rect.R + w, mAll.R),
                          std::min(t.rect.B + h, mAll.B));
        auto near = [&](int x, int y) {
            const uint32_t p = mFull[size_t(y) * mAll.R + x];
            return std::abs(PIX_PixelR(p) - PIX_PixelR(ground)) <= 24 &&
                   std::abs(PIX_PixelG(p) - PIX_PixelG(ground)) <= 24 &&
                   std::abs(PIX_PixelB(p) - PIX_PixelB(ground)) <= 24;
        };
        std::vector<uint8_t> seen(size_t(limit.W()) * limit.H());
        std::vector<std::pair<int, int>> todo;
        auto visit = [&](int x, int y) {
            uint8_t& s = seen[size_t(y - limit.T) * limit.W() + (x - limit.L)];
            if (!s && near(x, y)) todo.emplace_back(x, y);
            s = 1;
        };
        for (int y = ink.T; y < ink.B; ++y)
            for (int x = ink.L; x < ink.R; ++x) visit(x, y);
        IRECT window(ink.R, ink.B, ink.L, ink.T);
        while (!todo.empty()) {
            const auto [x, y] = todo.back();
            todo.pop_back();
            if (x == limit.L || y == limit.T || x == limit.R - 1 || y == limit.B - 1) return IRECT();
            window = IRECT(std::min(window.L, x), std::min(window.T, y), std::max(window.R, x + 1),
                           std::max(window.B, y + 1));
            visit(x - 1, y), visit(x + 1, y), visit(x, y - 1), visit(x, y + 1);
        }
        return window.L < window.R ? window : IRECT();
    }

    // Every value text's parameter at the value whose text is the widest.
    void WidestValues(const std::vector<qd::PlanItem>& plan) {
        for (const qd::PlanItem& item : plan) {
            if (item.kind != qd::ControlKind::kValueText) continue;
            const qd::ParamSpec& spec = qd::kParamTable[item.param];
            char text[64];
            int widest = std::to_string(spec.min).size() < std::to_string(spec.max).size() ? spec.max : spec.min;
            for (int n = 0, most = 0; qd::ParamDisplayText(spec, n, text, int(sizeof text)); ++n)
                if (int(std::strlen(text)) > most) most = int(std::strlen(text)), widest = spec.min + n;
            Edit(item.param, widest);
        }
    }

    IRECT mAll, mTicked;
    std::vector<uint32_t> mFull;
};

// Free pixels between two boxes along the axis that parts them most; negative when they overlap.
int Gap(const IRECT& a, const IRECT& b) {
    return std::max(std::max(b.L - a.R, a.L - b.R), std::max(b.T - a.B, a.T - b.B));
}
std::string Box(const IRECT& r) {
    return "(" + std::to_string(r.L) + ", " + std::to_string(r.T) + ", " + std::to_string(r.R) + ", " +
           std::to_string(r.B) + ")";
}

}  // namespace

TEST_P(Views, ShowTheirPlanTickLikeAFullRedrawAndHaveLegibleTextsClearOfEachOther) {
    const auto [skin, percent] = GetParam();
    // The fitted scales are those the start gives a window that fits the screen: stored.
    const bool fitted = percent != 100 && percent != 200;
    Make("[gui]\nbackground=" + skin + "\nguiscale=" + std::to_string(fitted ? percent / 100.0 : 1.0) + "\n", "off",
         false);
    const std::vector<qd::PlanItem> plan = AttachedPlan(editor->Skin());
    CheckPlan(plan, V::kMain, 1.0);  // as built, before the view layout sets it right
    editor->ReloadGUIScale();
    if (!fitted) editor->OnMenuCommand(percent == 200 ? qd::kMenuScale200 : qd::kMenuScale100);
    mAll = IRECT(0, 0, G()->Width(), G()->Height());
    const std::string name = skin + (" " + std::to_string(percent)) + " %";
    std::string report;
    // A line for each text below 4.5 : 1 and each pair of texts too close, and their views.
    std::map<std::string, std::string> failing;
    for (const Step& s : kSteps) {
        SCOPED_TRACE(s.name);
        IControl* c = s.param < 0 ? Screens()->AboutBox() : nullptr;
        if (s.param > 0)
            for (IControl* b : Bound(s.param)) c = b->IsHidden() ? c : b;
        if (c) {
            const int x = (c->GetRECT()->L + c->GetRECT()->R) / 2, y = (c->GetRECT()->T + c->GetRECT()->B) / 2;
            IMouseMod left(true);
            G()->OnMouseDown(x, y, &left);
            if (s.drag) G()->OnMouseDrag(x, y - s.drag, &left);
            G()->OnMouseUp(x, y - s.drag, &left);
        }
        if (s.command == kWidest) WidestValues(plan);
        if (s.command > 0) editor->OnMenuCommand(s.command);
        EXPECT_GT(Settle(), 0);
        const IControl* v = s.drag ? Screens()->ValueText(s.param) : nullptr;  // drawn with its slider
        EXPECT_TRUE(!v || (mTicked.Contains(v->GetRECT()->L, v->GetRECT()->T) &&
                           mTicked.Contains(v->GetRECT()->R - 1, v->GetRECT()->B - 1)));
        CheckPlan(plan, s.view, percent / 100.0);
        struct Placed {
            std::string what;
            IRECT ink, window;
            int space;
        };
        std::vector<Placed> placed;
        for (const Text& t : s.measured ? Texts(plan) : std::vector<Text>()) {
            uint32_t ground;
            IRECT ink;
            if (!Ground(t, &ground, &ink)) continue;
            const double a = Luminance(t.colour), b = Luminance(ground);
            const double ratio = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
            const bool label = t.control == "EQ graph label";  // drawn on the graph's own screen
            const IRECT& r = label ? ink : t.rect;
            char line[512];
            std::snprintf(line, sizeof line, "%s at (%d, %d, %d, %d): \"%s\" #%06X on #%06X, %.2f : 1",
                          t.control.c_str(), r.L, r.T, r.R, r.B, t.text.c_str(), Rgb(t.colour), Rgb(ground), ratio);
            report += name + '\t' + s.name + '\t' + std::to_string(ratio) + '\t' + line + '\n';
            if (ratio < 4.5) failing[line] += (failing[line].empty() ? "" : " / ") + std::string(s.name);
            placed.push_back(
                {t.control + " \"" + t.text + "\"", ink, label ? IRECT() : Window(t, ink, ground), t.space});
        }
        for (const Placed& a : placed)
            for (const Placed& b : placed) {
                // Texts side by side on one line stand half a space apart, well clear of the
                // gaps between the letters of a word, or they read as one word.
                const bool oneLine = a.ink.T < b.ink.B && b.ink.T < a.ink.B;
                const int least = oneLine ? std::max(2, (std::min(a.space, b.space) + 1) / 2) : 2;
                std::string line;
                if (&a < &b && Gap(a.ink, b.ink) < least)
                    line = a.what + " ink " + Box(a.ink) + " and " + b.what + " ink " + Box(b.ink) + ": " +
                           std::to_string(Gap(a.ink, b.ink)) + " px apart";
                else if (&a != &b && !a.window.Empty() && Gap(a.window, b.ink) < 1)
                    line = a.what + " window " + Box(a.window) + " touches " + b.what + " ink " + Box(b.ink);
                else if (&a < &b && !a.window.Empty() && !b.window.Empty() && Gap(a.window, b.window) < 1)
                    line = a.what + " window " + Box(a.window) + " touches " + b.what + " window " + Box(b.window);
                if (!line.empty()) failing[line] += (failing[line].empty() ? "" : " / ") + std::string(s.name);
            }
    }
    for (const auto& [line, views] : failing) ADD_FAILURE() << name << ", " << views << ": " << line;
    if (const char* path = std::getenv("QD_CONTRAST_REPORT")) std::ofstream(path, std::ios::app) << report;
}

INSTANTIATE_TEST_SUITE_P(Skins, Views,
                         ::testing::Combine(::testing::Values(std::string("space"), std::string("solid"),
                                                              std::string("lcd")),
                                            ::testing::Values(100, 140, 147, 200)));
