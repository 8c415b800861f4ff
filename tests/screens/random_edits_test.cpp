// Seeded random edits, calls with any arguments and mouse events on the whole editor:
// under the sanitizers nothing may read or write out of bounds, no data byte sent
// reaches 0x80, and one effect stays shown.
#include <random>

#include "editor/data/param_table.h"
#include "editor/editor_fixture.h"
#include "editor/menu_commands.h"
#include "editor/skin_choice.h"
#include "screens/keyboard_control.h"

using namespace edtest;

TEST_F(EditorTest, RandomEditsAndArgumentsBreakNothing) {
    Make("", "Synth Port");
    std::mt19937 rng(1234);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    IMouseMod left(true);
    // Scale commands are left out: each rescales every image, too slow for a loop.
    const int commands[] = {qd::kMenuAbout, qd::kMenuSkinLcd, qd::kMenuSkinSpace, qd::kMenuQuit, 0, -1, 99999};
    for (int step = 0; step < 3000; ++step) {
        const int a = pick(-300, 300), x = pick(300, 820), y = pick(700, 800);
        char text[kParamTextFieldSize];
        switch (pick(0, 9)) {
            case 0: editor->SetFlexiDestination(pick(-2, 5), a); break;
            case 1: editor->ApplyViewLayout(pick(-1, 1), 1140, 800); break;
            case 2: G()->OnMouseDown(x, y, &left), G()->OnMouseDrag(x + a / 6, y - a / 6, &left); break;
            case 3: G()->OnMouseUp(x + a * 2, y - a * 2, &left); break;
            case 4: Screens()->Keyboard()->SetVelocity(a / 100.0), editor->PlayKeyboardNote(a, a & 1); break;
            case 5: editor->ProcessKeyboardMidi(IMidiMessage(0, uint8_t(a), uint8_t(x), uint8_t(y))); break;
            case 6:
                editor->RefreshFlexiTargets(a, pick(0, 1));
                editor->SetFlexiRangeControlsHidden(pick(-2, 5), pick(0, 1));
                editor->UpdateLfoSyncRanges(pick(-1, 2));
                editor->UpdateDelaySyncRanges(pick(-1, 3));
                if (step % 20 == 0) editor->OnMenuCommand(commands[pick(0, 6)]);
                break;
            case 7:
                qd::ParamDisplayText(qd::kParamTable[pick(0, qd::kParamCount - 1)], a, text, pick(0, 40));
                EXPECT_FALSE(qd::ChooseSkin(std::string(size_t(pick(1, 20)), char(a))).writeBack);
                break;
            default:
                if (const int p = pick(3, 310); p < 201 || p > 208)  // file buttons open dialogs
                    Edit(p, std::uniform_real_distribution<double>(-1000.0, 1000.0)(rng));
        }
    }
    for (const Bytes& m : output.sent) {
        const size_t end = m.size() == 3 ? 3 : m.size() - 1;  // a System Exclusive message ends in F7
        for (size_t k = 1; k < end; ++k) EXPECT_LT(m[k], 0x80) << k;
    }
    G()->OnMouseUp(0, 0, &left);
    editor->ApplyViewLayout(0, 1140, 800);
    EXPECT_EQ(int(Shown(135)) + int(Shown(148)) + int(Shown(290) || Shown(165) || Shown(184)), 1);
    EXPECT_EQ(Screens()->Keyboard()->SoundingKey(), -100);
    EXPECT_GE(editor->HeldNotes(), 0);
}
