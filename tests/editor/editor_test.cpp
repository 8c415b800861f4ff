// The editor as it starts and runs: what the settings choose, the greeting on the MIDI
// output, the note-state table, the menu commands, the Flexi buttons' images and the
// tooltips. What each view shows is the views test's.
#include <cstdio>
#include <tuple>

#include "editor/menu_commands.h"
#include "editor/skin_choice.h"
#include "editor_fixture.h"
#include "raster/png.h"

using namespace edtest;

TEST_F(EditorTest, SettingsChooseTheSkinTheManagerViewAndTheRememberBox) {
    // ini: settings.ini before the start (null: no file); after: the skin setting after
    // it; remember: parameter 340.
    struct Case { const char* ini; qd::Skin skin; const char* after; bool manager; double remember; };
    const Case cases[] = {
        {nullptr, qd::kSkinSpace, "space", false, 0.0},
        {"[gui]\nbackground=\n", qd::kSkinSpace, "space", false, 0.0},
        {"[gui]\nbackground=solid\nmanager=true\n[dbase]\nmemo=true\n", qd::kSkinSolid, "solid", true, 1.0},
        {"[gui]\nbackground=lcd\nmanager=TRUE\n[dbase]\nmemo=false\n", qd::kSkinLcd, "lcd", false, 0.0},
        {"[gui]\nbackground=LCD\n", qd::kSkinSpace, "LCD", false, 0.0},
        // Only 15 characters are read: "lcdlcdlcdlcdlcd" is no skin name either.
        {"[gui]\nbackground=lcdlcdlcdlcdlcdl\n", qd::kSkinSpace, "lcdlcdlcdlcdlcdl", false, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        editor.reset();
        std::remove(ini.c_str());
        Make(c.ini ? c.ini : "");
        EXPECT_EQ(std::tuple(editor->Skin(), Ini("gui", "background"), editor->ManagerView(), Shown(307),
                             editor->GetParam(340)->Value()),
                  std::tuple(c.skin, c.after, c.manager, c.manager, c.remember));
        // The panel is the chosen one: "lcd" has one background, "solid" hides the first.
        EXPECT_EQ(std::pair(Screens()->ControlsMade(), G()->GetControl(1)->IsHidden()),
                  std::pair(c.skin == qd::kSkinLcd ? 425 : 427, c.skin == qd::kSkinSolid));
    }
    // The manager's state: the cache beside settings.ini and 100 empty bank slots.
    EXPECT_EQ(std::pair(editor->CacheFolder(), editor->BankSlotCount()),
              std::pair(dir.path() + "/RODiradu4/cache/", 100));
    EXPECT_TRUE(editor->GetBankSlot(0)->empty && editor->GetBankSlot(99)->empty);
}

TEST_F(EditorTest, FlexiButtonsTakeTheirImagesFullSize) {
    for (bool lcd : {false, true}) {
        Make(lcd ? "[gui]\nbackground=lcd\n" : "");
        // Read the image independently of the bitmap cache: a frame is half of the file's
        // half-size image, plus the gap pixel a rescale puts after each frame.
        const char* file = lcd ? "/img/lcd/flexi-sw-2x.png" : "/img/orig/bigbutton-2x.png";
        std::unique_ptr<PIX_IBitmap> png(PIX_LoadPNG((std::string(QD_SKIN_ROOT) + file).c_str()));
        ASSERT_TRUE(png);
        for (int p = 239; p <= 242; ++p) {
            const IRECT r = *Bound(p).at(0)->GetRECT();
            const int h = 2 * r.H() - png->getHeight() / 2;
            EXPECT_TRUE(r.W() == png->getWidth() / 2 && h >= 0 && h <= 2) << p << ": " << r.W() << " x " << r.H();
        }
    }
}

TEST_F(EditorTest, EveryControlOfAParameterTakesItsTooltip) {
    Make();
    const std::pair<int, const char*> tips[] = {
        {3, "VCO1 coarse"}, {81, "VCF modulation envelope follower"},  // the longest name, whole
        {125, ""}, {131, "Effects Chain Order"}, {187, ""}, {202, "Load program from file"},
        {203, "Save program to file"},
        {207, "Write all programs from files to QD. You have to connect two midicables!"}, {343, ""}};
    for (const auto& [param, text] : tips)
        for (IControl* c : Bound(param)) EXPECT_STREQ(c->GetTooltip(), text) << "parameter " << param;
}

TEST_F(EditorTest, KobrelOutputIsGreetedOnceAtStart) {
    Make("", "Kobrel MIDI 1");
    EXPECT_EQ(output.sent, (std::vector<Bytes>{{0xF0, 0x00, 0x21, 0x11, 0x04, 0x02, 0x72, 0x00, 0xF7}}));
    output.sent.clear();
    Make("", "Other Synth");
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
    editor->PlayKeyboardNote(60, true);  // no output chosen: nothing is sent
    EXPECT_TRUE(output.sent.empty());
}

TEST_F(EditorTest, MenuCommandsReachEveryBranch) {
    Make();
    // The views the menu opens are the views test's.
    EXPECT_TRUE(editor->OnMenuCommand(qd::kMenuManagerView) && editor->OnMenuCommand(qd::kMenuAbout));
    EXPECT_TRUE(editor->OnMenuCommand(qd::kMenuScale75));
    EXPECT_EQ(std::pair(G()->Width(), G()->Height()), std::pair(855, 600));

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
    EXPECT_EQ(std::tuple(Ini("gui", "manager"), Ini("gui", "guiscale")), std::tuple("true", "0.750000000000000"));
}
