// Every view, in every skin at 100 % and 200 %, reached the user's way (clicks, a drag, the
// menu), shows the controls the panel's plan gives it; every timer tick shows what a full
// redraw shows; every text the program draws has a contrast of at least 4.5 : 1 (WCAG) with
// the ground under its ink (the pixels that change when it is drawn at alpha 0), the ground
// their median by luminance. QD_CONTRAST_REPORT=file appends every text's reading to it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

#include "editor/editor_fixture.h"
#include "editor/menu_commands.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/controls/user_text_controls.h"

using namespace edtest;

namespace {

using V = qd::PanelView;

// A view and the user's way to it from the one before: a click on (or a drag `drag`
// pixels up from) the shown control bound to `param` (-1: the about box), or a menu command.
struct Step { const char* name; int param, command, drag; V view; bool measured; };
const Step kSteps[] = {
    {"main", 0, 0, 0, V::kMain, true},                           {"slider dragged", 3, 0, 30, V::kMain, false},
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
struct Text { std::string control, text; IRECT rect; uint32_t colour; std::function<void(bool)> hide; };

using Case = std::pair<std::string, int>;  // the skin setting, the scale in per cent

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
            const IRECT r = *c->GetRECT(), p(item.rect.L * s, item.rect.T * s, item.rect.R * s, item.rect.B * s);
            const bool placed = qd::SizedByImage(item.kind) ? r.L == p.L && r.T == p.T : r == p;
            const int bound = item.kind == qd::ControlKind::kValueText ? -1 : item.param;
            if (c->ParamIdx() == bound && (item.followsState || (placed && c->IsHidden() != qd::ShownIn(item, view))))
                continue;
            ADD_FAILURE() << "control " << i + 1 << " (parameter " << c->ParamIdx() << ") at " << r.L << ", " << r.T
                          << (c->IsHidden() ? ", hidden," : ", shown,") << " is not its plan item (parameter "
                          << item.param << " at " << p.L << ", " << p.T << ") in this view";
            ++wrong;
        }
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
            texts.push_back({what, s, *c->GetRECT(), Opaque(style->mColor),
                             [style, a = style->mColor.A](bool hide) { style->mColor.A = hide ? 0 : a; }});
        }
        IParaGraphicEq* graph = Screens()->EqGraph();
        for (int i = 0, n = graph->NFreqLabels(); !graph->IsHidden() && i < n + graph->NGainLabels(); ++i) {
            char* label = const_cast<char*>(i < n ? graph->FreqLabelText(i) : graph->GainLabelText(i - n));
            texts.push_back({"EQ graph label", label, *graph->GetRECT(), Opaque(GraphColour::Of(*graph)),
                             [label, first = label[0]](bool hide) { label[0] = hide ? '\0' : first; }});
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

    IRECT mAll, mTicked;
    std::vector<uint32_t> mFull;
};

}  // namespace

TEST_P(Views, ShowTheirPlanTickLikeAFullRedrawAndHaveLegibleTexts) {
    const auto [skin, percent] = GetParam();
    Make(std::string("[gui]\nbackground=") + skin + "\n", "off", false);
    const std::vector<qd::PlanItem> plan = AttachedPlan(editor->Skin());
    CheckPlan(plan, V::kMain, 1.0);  // as built, before the view layout sets it right
    editor->ReloadGUIScale();
    editor->OnMenuCommand(percent == 200 ? qd::kMenuScale200 : qd::kMenuScale100);
    mAll = IRECT(0, 0, G()->Width(), G()->Height());
    const std::string name = skin + (" " + std::to_string(percent)) + " %";
    std::string report;
    std::map<std::string, std::string> failing;  // a line for each text below 4.5 : 1, and its views
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
        if (s.command) editor->OnMenuCommand(s.command);
        EXPECT_GT(Settle(), 0);
        const IControl* v = s.drag ? Screens()->ValueText(s.param) : nullptr;  // drawn with its slider
        EXPECT_TRUE(!v || (mTicked.Contains(v->GetRECT()->L, v->GetRECT()->T) &&
                           mTicked.Contains(v->GetRECT()->R - 1, v->GetRECT()->B - 1)));
        CheckPlan(plan, s.view, percent / 100.0);
        for (const Text& t : s.measured ? Texts(plan) : std::vector<Text>()) {
            uint32_t ground;
            IRECT ink;
            if (!Ground(t, &ground, &ink)) continue;
            const double a = Luminance(t.colour), b = Luminance(ground);
            const double ratio = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
            const IRECT& r = t.control == "EQ graph label" ? ink : t.rect;
            char line[512];
            std::snprintf(line, sizeof line, "%s at (%d, %d, %d, %d): \"%s\" #%06X on #%06X, %.2f : 1",
                          t.control.c_str(), r.L, r.T, r.R, r.B, t.text.c_str(), Rgb(t.colour), Rgb(ground), ratio);
            report += name + '\t' + s.name + '\t' + std::to_string(ratio) + '\t' + line + '\n';
            if (ratio < 4.5) failing[line] += (failing[line].empty() ? "" : " / ") + std::string(s.name);
        }
    }
    for (const auto& [line, views] : failing) ADD_FAILURE() << name << ", " << views << ": " << line;
    if (const char* path = std::getenv("QD_CONTRAST_REPORT")) std::ofstream(path, std::ios::app) << report;
}

INSTANTIATE_TEST_SUITE_P(Skins, Views,
                         ::testing::Values(Case{"space", 100}, Case{"space", 200}, Case{"solid", 100},
                                           Case{"solid", 200}, Case{"lcd", 100}, Case{"lcd", 200}));
