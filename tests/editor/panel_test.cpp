// The panel as CreateGUI leaves it: which skin the setting builds, the controls after
// the panel, and what starts hidden.
#include <tuple>

#include "editor_fixture.h"
#include "raster/png.h"
#include "screens/keyboard_control.h"
#include "editor/skin_choice.h"

using namespace edtest;

namespace {

// ini: settings.ini before the start, null: no file.
struct SkinCase { const char* ini; int skin; bool lcd; bool firstBackground; const char* backgroundAfter; };

const SkinCase kSkinCases[] = {
    {nullptr, qd::kSkinSpace, false, true, "space"},
    {"[gui]\nbackground=\n", qd::kSkinSpace, false, true, "space"},
    {"[gui]\nbackground=solid\n", qd::kSkinSolid, false, false, "solid"},
    {"[gui]\nbackground=lcd\n", qd::kSkinLcd, true, true, "lcd"},
    {"[gui]\nbackground=LCD\n", qd::kSkinSpace, false, true, "LCD"},
    // Only 15 characters are read: "lcdlcdlcdlcdlcd" is no skin name either.
    {"[gui]\nbackground=lcdlcdlcdlcdlcdl\n", qd::kSkinSpace, false, true, "lcdlcdlcdlcdlcdl"},
};

class SkinTest : public EditorTest, public ::testing::WithParamInterface<SkinCase> {};

}  // namespace

TEST_P(SkinTest, SettingBuildsItsPanelAndWritesBackOnlyWhenMissing) {
    const SkinCase& c = GetParam();
    if (c.ini) WriteIni(c.ini);
    Make();
    EXPECT_EQ(std::tuple(editor->Skin(), Ini("gui", "background")), std::tuple(c.skin, c.backgroundAfter));

    EXPECT_EQ(Screens()->ControlsMade(), c.lcd ? 425 : 427);
    const int panelControls = c.lcd ? 398 : 400;
    int bound = 0;
    for (int i = 1; i <= panelControls; ++i) bound += G()->GetControl(i)->ParamIdx() >= 0;
    EXPECT_EQ(bound, c.lcd ? 241 : 242);

    // Panel background first; after the panel the keyboard, the manager page (its
    // play-note button last), then the about box.
    EXPECT_EQ(G()->GetControl(0)->ParamIdx(), -1);
    EXPECT_EQ(G()->GetControl(panelControls + 1), static_cast<IControl*>(Screens()->Keyboard()));
    EXPECT_EQ(G()->GetControl(panelControls + 2), Screens()->Controls().Get(qd::Keep::kManagerBackground));
    const int playNote = G()->GetControlIdx(Screens()->Controls().Get(qd::Keep::kPlayNote));
    EXPECT_EQ(G()->GetControl(playNote + 1), static_cast<IControl*>(Screens()->AboutBox()));

    // The "orig" panel has both backgrounds and shows the one its skin chose.
    if (!c.lcd) {
        EXPECT_EQ(G()->GetControl(1)->IsHidden(), !c.firstBackground);
        EXPECT_EQ(G()->GetControl(2)->IsHidden(), c.firstBackground);
    } else {
        EXPECT_FALSE(G()->GetControl(1)->IsHidden());
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, SkinTest, ::testing::ValuesIn(kSkinCases));

TEST_F(EditorTest, FlexiButtonsTakeTheirImagesFullSize) {
    for (bool lcd : {false, true}) {
        if (lcd) WriteIni("[gui]\nbackground=lcd\n");
        Make();
        // Read the image independently of the bitmap cache: a frame is half of the file's
        // half-size image, plus the gap pixel a rescale puts after each frame.
        const std::string file =
            std::string(QD_SKIN_ROOT) + (lcd ? "/img/lcd/flexi-sw-2x.png" : "/img/orig/bigbutton-2x.png");
        std::unique_ptr<PIX_IBitmap> png(PIX_LoadPNG(file.c_str()));
        ASSERT_TRUE(png);
        for (int p = 239; p <= 242; ++p) {
            const IRECT r = *Bound(p).at(0)->GetRECT();
            EXPECT_EQ(r.W(), png->getWidth() / 2) << p;
            EXPECT_GE(2 * r.H(), png->getHeight() / 2) << p;
            EXPECT_LE(2 * r.H(), png->getHeight() / 2 + 2) << p;
            EXPECT_EQ(r.L, 570 + 168 * (p - 239));
        }
    }
}

TEST_F(EditorTest, TooltipsKeyboardPlaceAndTheGroupsHiddenAtStart) {
    Make();
    const std::pair<int, const char*> tips[] = {
        {3, "VCO1 coarse"}, {125, ""}, {131, "Effects Chain Order"}, {187, ""}, {202, "Load program from file"},
        {203, "Save program to file"},
        {207, "Write all programs from files to QD. You have to connect two midicables!"}, {343, ""}};
    for (const auto& [param, text] : tips)
        for (IControl* c : Bound(param)) EXPECT_STREQ(c->GetTooltip(), text) << "parameter " << param;
    const IRECT* kb = Screens()->Keyboard()->GetRECT();
    EXPECT_EQ(std::tuple(kb->L, kb->T, kb->W()), std::tuple(316, 728, 490));
    // Program-number selector, list overlays' columns, Flexi range sliders, both effect
    // panels but the modulation one: hidden; the sound's own sliders shown.
    for (int p : {301, 302, 263, 266, 231, 238, 290, 291, 147, 161, 172, 300})
        for (IControl* c : Bound(p)) EXPECT_TRUE(c->IsHidden()) << p;
    for (int p : {3, 97, 132, 146, 127})
        for (IControl* c : Bound(p)) EXPECT_FALSE(c->IsHidden()) << p;
}
