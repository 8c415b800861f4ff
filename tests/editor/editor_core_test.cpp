// The editor core: keyboard notes on the MIDI output, the note-state table and the
// menu commands.
#include <tuple>

#include "editor_fixture.h"
#include "editor/data/param_table.h"
#include "editor/menu_commands.h"
#include "screens/keyboard_control.h"
#include "editor/skin_choice.h"

using namespace edtest;

namespace {

using Bytes = std::vector<uint8_t>;

// kbdChannel: [midi] kbdmidioutch, null: missing.
struct NoteCase { const char *outdev, *kbdChannel; int note; bool on; double velocity; std::vector<Bytes> sent; };

const NoteCase kNoteCases[] = {
    {"Synth Port", nullptr, 60, true, 0.0, {{0x90, 60, 1}, {0xF0, 0x00, 0x21, 0x11, 0x05, 0x50, 60, 1, 0xF7}}},
    // trunc(0.5 x 126 + 0.5) + 1 = 64.
    {"Synth Port", "3", 83, true, 0.5, {{0x93, 83, 64}, {0xF0, 0x00, 0x21, 0x11, 0x05, 0x50, 83, 64, 0xF7}}},
    // The channel setting keeps its low four bits.
    {"Synth Port", "17", 60, false, 0.7, {{0x81, 60, 0}, {0xF0, 0x00, 0x21, 0x11, 0x05, 0x51, 60, 0, 0xF7}}},
    {"off", nullptr, 60, true, 1.0, {}},
    {"Synth Port", nullptr, -1, true, 1.0, {}},
};

class NoteTest : public EditorTest, public ::testing::WithParamInterface<NoteCase> {};

}  // namespace

TEST_P(NoteTest, KeyboardNoteSendsNoteAndSysExOnTheKeyboardChannel) {
    const NoteCase& c = GetParam();
    if (c.kbdChannel) WriteIni(std::string("[midi]\nkbdmidioutch=") + c.kbdChannel + "\n");
    Make(c.outdev);
    output.sent.clear();
    Screens()->Keyboard()->SetVelocity(c.velocity);
    editor->PlayKeyboardNote(c.note, c.on);
    EXPECT_EQ(output.sent, c.sent);
    // Playing never marks a key as held.
    EXPECT_EQ(editor->HeldNotes(), 0);
}

INSTANTIATE_TEST_SUITE_P(Notes, NoteTest, ::testing::ValuesIn(kNoteCases));

TEST_F(EditorTest, KobrelOutputIsGreetedOnceAtStart) {
    Make("Kobrel MIDI 1");
    const std::vector<Bytes> greeting = {{0xF0, 0x00, 0x21, 0x11, 0x04, 0x02, 0x72, 0x00, 0xF7}};
    EXPECT_EQ(output.sent, greeting);
    editor.reset();
    output.sent.clear();
    Make("Other Synth");
    EXPECT_TRUE(output.sent.empty());
}

TEST_F(EditorTest, KeyboardInputKeepsTheNoteStateTable) {
    Make();
    struct Step { uint8_t status, note, velocity; int held; };
    const Step steps[] = {
        {0x90, 60, 100, 1}, {0x91, 64, 1, 2},  // any channel
        {0x90, 60, 90, 2},                       // repeated Note On: still one key
        {0xB0, 62, 127, 2}, {0xE0, 0, 64, 2},   // not notes
        {0x80, 60, 0, 1},   {0x90, 64, 0, 0},    // velocity 0 is a Note Off
        {0x80, 64, 0, 0},                        // Note Off of a free key
    };
    for (const Step& s : steps) {
        editor->ProcessKeyboardMidi(IMidiMessage(0, s.status, s.note, s.velocity));
        EXPECT_EQ(editor->HeldNotes(), s.held) << int(s.status) << " " << int(s.note);
    }
    EXPECT_EQ(editor->NoteState(60), 0);
    editor->ProcessKeyboardMidi(IMidiMessage(0, 0x90, 127, 1));
    EXPECT_EQ(std::tuple(editor->NoteState(127), editor->NoteState(128)), std::tuple(1, 0));
    EXPECT_TRUE(output.sent.empty());
}

TEST_F(EditorTest, MenuCommandsReachEveryBranch) {
    Make();
    EXPECT_FALSE(editor->ManagerView());
    EXPECT_TRUE(editor->OnMenuCommand(qd::kMenuManagerView));
    EXPECT_TRUE(editor->ManagerView());

    EXPECT_TRUE(editor->OnMenuCommand(qd::kMenuAbout));
    EXPECT_EQ(Screens()->AboutBox()->GetValue(), 1.0);
    EXPECT_FALSE(Screens()->AboutBox()->IsHidden());

    EXPECT_TRUE(editor->OnMenuCommand(qd::kMenuScale75));
    EXPECT_EQ(std::pair(G()->Width(), G()->Height()), std::pair(855, 600));
    EXPECT_TRUE(editor->OnMenuCommand(qd::kMenuScale100));

    // A skin is only stored; the panel stays what it is until the next start.
    const std::pair<int, const char*> skins[] = {
        {qd::kMenuSkinLcd, "lcd"}, {qd::kMenuSkinSolid, "solid"}, {qd::kMenuSkinSpace, "space"}};
    for (auto [command, name] : skins) {
        EXPECT_TRUE(editor->OnMenuCommand(command));
        EXPECT_EQ(std::tuple(Ini("gui", "background"), editor->Skin()), std::tuple(name, qd::kSkinSpace));
    }
    EXPECT_FALSE(editor->OnMenuCommand(qd::kMenuQuit));
    EXPECT_FALSE(editor->OnMenuCommand(0));

    editor.reset();
    EXPECT_EQ(std::tuple(Ini("gui", "manager"), Ini("gui", "guiscale")), std::tuple("true", "1.000000000000000"));
}

// Seeded random calls with any arguments: the sanitizer run catches what a guard misses.
TEST_F(EditorTest, RandomArgumentsNeitherCrashNorSendBadBytes) {
    Make("Synth Port");
    output.sent.clear();
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int i = 0; i < 1000; ++i) {
        const int a = int(next() % 400) - 100;
        Screens()->Keyboard()->SetVelocity(double(int(next() % 300) - 100) / 100.0);
        editor->PlayKeyboardNote(a, next() & 1);
        editor->ProcessKeyboardMidi(IMidiMessage(0, uint8_t(next()), uint8_t(next()), uint8_t(next())));
        editor->RefreshFlexiTargets(a, next() & 1);
        editor->SetFlexiDestination(int(next() % 6) - 1, a);
        if (i % 50 == 0) editor->UpdateLfoSyncRanges(int(next() % 3)), editor->UpdateDelaySyncRanges(int(next() % 4));
        // Scale commands are left out: each rescales every image, too slow for a loop.
        const int commands[] = {qd::kMenuAbout, qd::kMenuSkinLcd, qd::kMenuSkinSpace, qd::kMenuQuit, 0, -1, 99999};
        if (i % 100 == 0) editor->OnMenuCommand(commands[next() % 7]);
        char text[kParamTextFieldSize];
        qd::ParamDisplayText(qd::kParamTable[next() % qd::kParamCount], a, text, int(next() % 40));
        EXPECT_FALSE(qd::ChooseSkin(std::string(1 + size_t(next() % 20), char(next()))).writeBack);
    }
    // Every data byte stays below 0x80 whatever the note and velocity asked for.
    for (const Bytes& m : output.sent) {
        const size_t end = m.size() == 3 ? 3 : m.size() - 1;  // a System Exclusive message ends in F7
        for (size_t k = 1; k < end; ++k) EXPECT_LT(m[k], 0x80) << k;
    }
    EXPECT_GE(editor->HeldNotes(), 0);
}
