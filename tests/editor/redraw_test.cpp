// What a timer tick redraws shows what a full redraw shows there, for every skin at
// 100 % and 200 %: leaving out the controls under an opaque one and the fills outside
// the dirty rectangle must not change a pixel that is shown.
#include "editor/menu_commands.h"
#include "editor_fixture.h"
#include "gui/controls/knob_controls.h"

using namespace edtest;

namespace {

using RedrawCase = std::pair<const char*, int>;  // settings, scale menu command
const RedrawCase kRedrawCases[] = {
    {"[gui]\nbackground=space\n", qd::kMenuScale100}, {"[gui]\nbackground=space\n", qd::kMenuScale200},
    {"[gui]\nbackground=solid\n", qd::kMenuScale100}, {"[gui]\nbackground=solid\n", qd::kMenuScale200},
    {"[gui]\nbackground=lcd\n", qd::kMenuScale100},   {"[gui]\nbackground=lcd\n", qd::kMenuScale200},
};

class RedrawTest : public EditorTest, public ::testing::WithParamInterface<RedrawCase> {
protected:
    std::vector<uint32_t> Pixels(const IRECT& r) {
        PIX_IBitmap* bm = G()->GetDrawBitmap();
        std::vector<uint32_t> out;
        for (int y = std::max(r.T, 0); y < std::min(r.B, bm->getHeight()); ++y)
            for (int x = std::max(r.L, 0); x < std::min(r.R, bm->getWidth()); ++x)
                out.push_back(*PIX_PixelAddress(*bm, x, y));
        return out;
    }
    // Ticks until nothing is dirty, each checked against a full redraw; answers how many.
    int Ticks(const char* what) {
        int ticks = 0;
        for (IRECT d; G()->IsDirty(&d); d = IRECT(), ++ticks) {
            G()->Draw(&d);
            const std::vector<uint32_t> shown = Pixels(d);
            G()->SetAllControlsDirty();
            IRECT all(0, 0, G()->Width(), G()->Height());
            G()->Draw(&all);
            EXPECT_TRUE(shown == Pixels(d)) << what << " (" << d.L << ", " << d.T << ", " << d.R << ", " << d.B << ")";
        }
        return ticks;
    }
};

}  // namespace

TEST_P(RedrawTest, EveryTickShowsWhatAFullRedrawShows) {
    WriteIni(GetParam().first);
    Make();
    editor->OnMenuCommand(GetParam().second);
    EXPECT_GT(Ticks("start"), 0);
    IControl* knob = nullptr;
    for (int i = 0; i < G()->NControls() && !knob; ++i)
        if (auto* k = dynamic_cast<IKnobControl*>(G()->GetControl(i)); k && !k->IsHidden()) knob = k;
    ASSERT_NE(knob, nullptr);
    for (double v : {0.0, 0.37, 1.0}) {
        knob->SetValueFromUserInput(v);
        EXPECT_GT(Ticks("knob"), 0);
    }
    // The manager page opens over most of the panel and closes; the about box shows and
    // hides over it.
    for (bool hide : {false, true}) {
        editor->SetManagerPanelHidden(hide);
        EXPECT_GT(Ticks("manager page"), 0);
        Screens()->AboutBox()->SetValueFromUserInput(hide ? 0.0 : 1.0);
        EXPECT_GT(Ticks("about box"), 0);
    }
    editor->SetEqualizerPanelHidden(false);
    EXPECT_GT(Ticks("equalizer"), 0);
}

INSTANTIATE_TEST_SUITE_P(Skins, RedrawTest, ::testing::ValuesIn(kRedrawCases));
