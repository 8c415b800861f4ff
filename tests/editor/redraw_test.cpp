// What a timer tick redraws shows what a full redraw shows there, for every skin at
// 100 % and 200 %: the dirty rectangle's redraw leaves out the controls hidden under an
// opaque one and the fills outside it, and must not change a pixel of what is shown.
#include <cstring>
#include <vector>

#include "editor/menu_commands.h"
#include "editor_fixture.h"
#include "gui/controls/knob_controls.h"

using namespace edtest;

namespace {

struct RedrawCase {
    const char* ini;
    int scaleCommand;
};

const RedrawCase kRedrawCases[] = {
    {"[gui]\nbackground=space\n", qd::kMenuScale100}, {"[gui]\nbackground=space\n", qd::kMenuScale200},
    {"[gui]\nbackground=solid\n", qd::kMenuScale100}, {"[gui]\nbackground=solid\n", qd::kMenuScale200},
    {"[gui]\nbackground=lcd\n", qd::kMenuScale100},   {"[gui]\nbackground=lcd\n", qd::kMenuScale200},
};

class RedrawTest : public EditorTest, public ::testing::WithParamInterface<RedrawCase> {
protected:
    // The back buffer's pixels inside r.
    std::vector<uint32_t> Pixels(const IRECT& r) {
        PIX_IBitmap* bm = G()->GetDrawBitmap();
        std::vector<uint32_t> out;
        for (int y = std::max(r.T, 0); y < std::min(r.B, bm->getHeight()); ++y)
            for (int x = std::max(r.L, 0); x < std::min(r.R, bm->getWidth()); ++x)
                out.push_back(*PIX_PixelAddress(*bm, x, y));
        return out;
    }
    void DrawAll() {
        for (int i = 0; i < G()->NControls(); ++i) G()->GetControl(i)->SetDirty(false);
        IRECT all(0, 0, G()->Width(), G()->Height());
        G()->Draw(&all);
    }
    // Runs ticks until nothing is dirty; each redrawn rectangle must show what a full
    // redraw shows there. Answers the number of redrawing ticks.
    int TicksMatchFullRedraws(const char* what) {
        int ticks = 0;
        for (IRECT d; G()->IsDirty(&d); d = IRECT()) {
            G()->Draw(&d);
            const std::vector<uint32_t> shown = Pixels(d);
            DrawAll();
            EXPECT_TRUE(shown == Pixels(d)) << what << ": tick " << ticks << " redrew (" << d.L << ", " << d.T
                                            << ", " << d.R << ", " << d.B << ")";
            if (++ticks > 8) break;
        }
        return ticks;
    }
};

}  // namespace

TEST_P(RedrawTest, EveryTickShowsWhatAFullRedrawShows) {
    WriteIni(GetParam().ini);
    Make();
    editor->OnMenuCommand(GetParam().scaleCommand);
    DrawAll();
    while (G()->IsDirty(nullptr)) DrawAll();  // the start-up ticks
    EXPECT_FALSE(G()->IsDirty(nullptr));

    IControl* knob = nullptr;
    for (int i = 0; i < G()->NControls() && !knob; ++i)
        if (auto* k = dynamic_cast<IKnobControl*>(G()->GetControl(i)); k && !k->IsHidden()) knob = k;
    ASSERT_NE(knob, nullptr);
    for (double v : {0.0, 0.37, 1.0}) {
        knob->SetValueFromUserInput(v);
        EXPECT_GE(TicksMatchFullRedraws("knob"), 1);
    }
    // The manager page opens over most of the panel and closes again; the about box
    // shows and hides over it.
    for (bool hide : {false, true}) {
        editor->SetManagerPanelHidden(hide);
        EXPECT_GE(TicksMatchFullRedraws(hide ? "manager closed" : "manager open"), 1);
        editor->AboutBox()->SetValueFromUserInput(hide ? 0.0 : 1.0);
        EXPECT_GE(TicksMatchFullRedraws("about box"), 1);
    }
    editor->SetEqualizerPanelHidden(false);
    EXPECT_GE(TicksMatchFullRedraws("equalizer"), 1);
    EXPECT_FALSE(G()->IsDirty(nullptr));
}

INSTANTIATE_TEST_SUITE_P(Skins, RedrawTest, ::testing::ValuesIn(kRedrawCases));
