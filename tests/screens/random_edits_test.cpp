// Seeded random parameter edits, Flexi destinations and mouse events on the whole
// panel: under the sanitizers nothing may read or write out of bounds, and the panel
// keeps one effect shown.
#include <random>

#include "live_fixture.h"
#include "screens/keyboard_control.h"

namespace livetest {
namespace {

using RandomEdits = LiveTest;

TEST_F(RandomEdits, NothingBreaksAndOneEffectStaysShown) {
    Make();
    std::mt19937 rng(1234);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    IMouseMod left(true);
    for (int step = 0; step < 3000; ++step) {
        switch (pick(0, 9)) {
            case 0: editor->SetFlexiDestination(pick(-2, 5), pick(-300, 300)); break;
            case 1: editor->ApplyViewLayout(pick(-1, 1), 1140, 800); break;
            case 2: {
                const int x = pick(300, 820), y = pick(700, 800);
                G()->OnMouseDown(x, y, &left);
                G()->OnMouseDrag(x + pick(-50, 50), y + pick(-50, 50), &left);
                G()->OnMouseUp(x + pick(-500, 500), y + pick(-500, 500), &left);
                break;
            }
            default: {
                const int p = pick(3, 310);
                if (p >= 201 && p <= 208) break;  // file buttons would open dialogs
                Edit(p, std::uniform_real_distribution<double>(-1000.0, 1000.0)(rng));
                break;
            }
        }
    }
    editor->ApplyViewLayout(0, 1140, 800);
    // One of the modulation, overdrive and equalizer panels is up.
    const int shown = int(Shown(135)) + int(Shown(148)) + int(Shown(290) || Shown(165) || Shown(184));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(editor->Keyboard()->HeldKey(), -1);
    EXPECT_EQ(editor->Keyboard()->SoundingKey(), -100);
}

}  // namespace
}  // namespace livetest
