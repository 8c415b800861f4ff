// The plans in editor/data describe the panel the editor really builds: every
// attached control in its order, with its parameter and place, in every skin, and
// which of them each view shows (the skin generator and the skin checks rely on it).
#include <string>
#include <vector>

#include "editor/data/panel_plan.h"
#include "editor/menu_commands.h"
#include "editor/skin_choice.h"
#include "live_fixture.h"

using namespace livetest;

namespace {

// The attached controls of the whole GUI, in the order CreateGUI makes them.
std::vector<qd::PlanItem> AttachedPlan(qd::Skin skin) {
    std::vector<qd::PlanItem> all;
    for (auto part : {qd::PanelPart::kSynthPage, qd::PanelPart::kKeyboard, qd::PanelPart::kManagerPage,
                      qd::PanelPart::kAboutBox})
        for (qd::PlanItem& item : qd::PanelPlan(part, skin))
            if (item.kind != qd::ControlKind::kLoad && item.attached) all.push_back(std::move(item));
    return all;
}

class PanelPlan : public LiveTest {
protected:
    // Every control but the panel background (first) and the resize control with its
    // handles (last) against its item, and whether the view shows it as ShownIn says.
    void Check(const std::vector<qd::PlanItem>& plan, qd::PanelView view, const char* what) {
        SCOPED_TRACE(what);
        ASSERT_EQ(G()->GetControlIdx(Screens()->AboutBox()), int(plan.size()));
        int wrong = 0;
        for (size_t i = 0; i < plan.size() && wrong < 5; ++i) {
            const qd::PlanItem& item = plan[i];
            const IControl* c = G()->GetControl(int(i) + 1);
            const IRECT r = *c->GetRECT();
            const bool placed = qd::SizedByImage(item.kind) ? r.L == item.rect.L && r.T == item.rect.T : r == item.rect;
            const int bound = item.kind == qd::ControlKind::kValueText ? -1 : item.param;
            // The view layout moves, shows and hides the controls that follow the parameters.
            const bool shown = c->IsHidden() != qd::ShownIn(item, view);
            const bool ok = c->ParamIdx() == bound && (item.followsState || (placed && shown));
            if (!ok) {
                ++wrong;
                ADD_FAILURE() << "control " << i + 1 << " (parameter " << c->ParamIdx() << ") at " << r.L << ", "
                              << r.T << " is not its plan item (parameter " << item.param << ")";
            }
        }
    }
};

}  // namespace

TEST_F(PanelPlan, EveryControlStandsWhereThePlanSaysAndEachViewShowsItsGroups) {
    using V = qd::PanelView;
    // The user's way to each view, from the main view.
    struct Step { int param; int command; V view; const char* what; };
    const Step steps[] = {
        {294, 0, V::kOverdrive, "overdrive tab"},  {295, 0, V::kEqGraph, "equalizer tab"},
        {291, 0, V::kEqBands, "parametric view"},  {296, 0, V::kMain, "chorus tab"},
        {255, 0, V::kSourceList, "source list"},   {300, 0, V::kMain, "list closed"},
        {261, 0, V::kRangeList, "range list"},     {300, 0, V::kMain, "list closed"},
        {0, qd::kMenuManagerView, V::kManager, "manager page"}, {0, qd::kMenuManagerView, V::kMain, "manager closed"},
        {0, qd::kMenuAbout, V::kAboutBox, "about box"},
    };
    for (const qd::Skin skin : {qd::kSkinSpace, qd::kSkinSolid, qd::kSkinLcd}) {
        SCOPED_TRACE(skin);
        Make(std::string("[gui]\nbackground=") + qd::SkinSettingName(skin) + "\n");
        const std::vector<qd::PlanItem> plan = AttachedPlan(skin);
        Check(plan, V::kMain, "at start");
        for (const Step& s : steps) {
            if (s.command)
                editor->OnMenuCommand(s.command);
            else
                Edit(s.param, 1);
            Check(plan, s.view, s.what);
        }
    }
}
