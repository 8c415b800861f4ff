// Seeded random edits, Flexi destinations and mouse events on the whole panel: under
// the sanitizers nothing may read or write out of bounds, and one effect stays shown.
#include <random>

#include "live_fixture.h"
#include "screens/keyboard_control.h"

using namespace livetest;

TEST_F(LiveTest, RandomEditsBreakNothingAndOneEffectStaysShown) {
    Make();
    std::mt19937 rng(1234);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    IMouseMod left(true);
    for (int step = 0; step < 3000; ++step) {
        if (const int what = pick(0, 9); what == 0) {
            editor->SetFlexiDestination(pick(-2, 5), pick(-300, 300));
        } else if (what == 1) {
            editor->ApplyViewLayout(pick(-1, 1), 1140, 800);
        } else if (what == 2) {
            const int x = pick(300, 820), y = pick(700, 800);
            G()->OnMouseDown(x, y, &left);
            G()->OnMouseDrag(x + pick(-50, 50), y + pick(-50, 50), &left);
            G()->OnMouseUp(x + pick(-500, 500), y + pick(-500, 500), &left);
        } else if (const int p = pick(3, 310); p < 201 || p > 208) {  // file buttons open dialogs
            Edit(p, std::uniform_real_distribution<double>(-1000.0, 1000.0)(rng));
        }
    }
    editor->ApplyViewLayout(0, 1140, 800);
    EXPECT_EQ(int(Shown(135)) + int(Shown(148)) + int(Shown(290) || Shown(165) || Shown(184)), 1);
    EXPECT_EQ(Screens()->Keyboard()->SoundingKey(), -100);
}
