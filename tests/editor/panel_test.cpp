// The panel as CreateGUI leaves it: which skin the setting builds, the controls in
// their order, what starts hidden, the tooltips and the keyboard's place.
#include <numeric>

#include "editor_fixture.h"
#include "gui/bitmap_control.h"
#include "raster/png.h"
#include "screens/keyboard_control.h"
#include "screens/skin_choice.h"

using namespace edtest;

namespace {

// The builder's attach order written out from the panel's build steps, one entry per
// attached control: its parameter, -1 for none.
std::vector<int> ExpectedPanelParams(bool lcd) {
    std::vector<int> v;
    auto none = [&](int n) { v.insert(v.end(), size_t(n), -1); };
    auto range = [&](int first, int last) {
        for (int p = first; p <= last; ++p) v.push_back(p);
    };
    auto withText = [&](std::initializer_list<int> params) {
        for (int p : params) v.insert(v.end(), {p, -1});
    };
    none(lcd ? 3 : 4);  // backgrounds, "vcosavebg", "flexisavebg"
    none(8 + 4 + 4 + 1);  // Flexi texts, effect backgrounds, tab highlights, program name
    withText({173});
    v.push_back(211);
    for (int p = 3; p <= 50; ++p) withText({p});
    for (int p = 51; p <= 97; ++p) withText({p});
    withText({127, 186});
    for (int p = 132; p <= 146; ++p) withText({p});
    withText({148, 149, 147, 182, 183});
    for (int p = 161; p <= 172; ++p) withText({p});
    withText({160, 184, 185});
    v.push_back(131);
    range(231, 238);
    v.insert(v.end(), {187, 188, -1});
    range(239, 246);
    v.insert(v.end(), {104, 111, 118, 125});
    range(247, 254);
    v.insert(v.end(), {174, 176, 178, 180});
    if (!lcd) v.push_back(293);
    v.insert(v.end(), {267, 268, 269, 305, 294, 295, 296, 306, 290, 255, 259, 256, 260, 257, 261, 258, 262, -1, -1});
    range(263, 266);
    v.insert(v.end(), {300, 175, 177, 179, 181, 303, 304});
    range(212, 217);
    range(270, 289);
    v.insert(v.end(), {209, 210, 291, 292, 208, 201, 201, 203, 205, 202, 204, 206, 207, -1, 301, 302, 341, 342, 343});
    return v;
}

struct SkinCase {
    const char* ini;  // settings.ini before the start; null: no file
    int skin;
    bool lcd;
    bool firstBackground;
    const char* backgroundAfter;
};

const SkinCase kSkinCases[] = {
    {nullptr, qd::kSkinSpace, false, true, "space"},
    {"[gui]\nbackground=\n", qd::kSkinSpace, false, true, "space"},
    {"[gui]\nbackground=space\n", qd::kSkinSpace, false, true, "space"},
    {"[gui]\nbackground=solid\n", qd::kSkinSolid, false, false, "solid"},
    {"[gui]\nbackground=lcd\n", qd::kSkinLcd, true, true, "lcd"},
    {"[gui]\nbackground=Solid\n", qd::kSkinSpace, false, true, "Solid"},
    {"[gui]\nbackground=LCD\n", qd::kSkinSpace, false, true, "LCD"},
    // Only 15 characters are read: "lcdlcdlcdlcdlcd" is no skin name either.
    {"[gui]\nbackground=lcdlcdlcdlcdlcdl\n", qd::kSkinSpace, false, true, "lcdlcdlcdlcdlcdl"},
};

class SkinTest : public EditorTest, public ::testing::WithParamInterface<SkinCase> {};

}  // namespace

TEST_P(SkinTest, SettingBuildsItsPanelInOrderAndWritesBackOnlyWhenMissing) {
    const SkinCase& c = GetParam();
    if (c.ini) WriteIni(c.ini);
    Make();
    EXPECT_EQ(editor->Skin(), c.skin);
    EXPECT_EQ(Ini("gui", "background"), c.backgroundAfter);

    const std::vector<int> expected = ExpectedPanelParams(c.lcd);
    ASSERT_EQ(expected.size(), c.lcd ? 398u : 400u);
    EXPECT_EQ(editor->ControlsMade(), c.lcd ? 425 : 427);
    std::vector<int> actual;
    for (size_t i = 0; i < expected.size(); ++i) actual.push_back(G()->GetControl(int(i) + 1)->ParamIdx());
    EXPECT_EQ(actual, expected);

    // Panel background first; after the panel the keyboard, the manager page (its
    // play-note button last), then the about box.
    EXPECT_EQ(G()->GetControl(0)->ParamIdx(), -1);
    EXPECT_EQ(G()->GetControl(int(expected.size()) + 1), static_cast<IControl*>(editor->Keyboard()));
    EXPECT_EQ(G()->GetControl(int(expected.size()) + 2), editor->Manager().background);
    const int playNote = G()->GetControlIdx(editor->Manager().playNote);
    EXPECT_EQ(G()->GetControl(playNote + 1), static_cast<IControl*>(editor->AboutBox()));

    // The "orig" panel has both backgrounds and shows the one its skin chose.
    if (!c.lcd) {
        EXPECT_EQ(G()->GetControl(1)->IsHidden(), !c.firstBackground);
        EXPECT_EQ(G()->GetControl(2)->IsHidden(), c.firstBackground);
    } else {
        EXPECT_FALSE(G()->GetControl(1)->IsHidden());
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, SkinTest, ::testing::ValuesIn(kSkinCases));

TEST(SkinChoice, ComparesExactly) {
    EXPECT_TRUE(qd::ChooseSkin("").writeBack);
    EXPECT_FALSE(qd::ChooseSkin("space ").writeBack);
    EXPECT_EQ(qd::ChooseSkin("space ").skin, qd::kSkinSpace);
    EXPECT_EQ(qd::ChooseSkin(std::string_view("lcd\0x", 5)).skin, qd::kSkinSpace);
}

class PanelTest : public EditorTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        if (GetParam()) WriteIni("[gui]\nbackground=lcd\n");
        Make();
    }
};

TEST_P(PanelTest, OnlyTheOnDemandGroupsStartHidden) {
    const bool lcd = GetParam();
    std::vector<int> hidden = {186, 175, 177, 179, 181, 300, 263, 264, 265, 266, 208, 301, 302, 290, 291, 292,
                               147, 148, 149, 182, 183, 160, 184, 185};
    for (int p = 231; p <= 238; ++p) hidden.push_back(p);
    for (int p = 161; p <= 172; ++p) hidden.push_back(p);
    if (!lcd) hidden.push_back(293);
    const int panelEnd = lcd ? 399 : 401;
    int hiddenUnbound = 0;
    bool seenLoad = false;
    for (int i = 1; i < panelEnd; ++i) {
        IControl* c = G()->GetControl(i);
        const int p = c->ParamIdx();
        if (p < 0) {
            hiddenUnbound += c->IsHidden();
        } else if (p == 201) {
            // The unfiltered program-load selector is hidden; the filtered one only in "orig".
            EXPECT_EQ(c->IsHidden(), !seenLoad || !lcd);
            seenLoad = true;
        } else {
            EXPECT_EQ(c->IsHidden(), std::find(hidden.begin(), hidden.end(), p) != hidden.end()) << "parameter " << p;
        }
    }
    // "background2", "flexisavebg", four tab highlights, both list overlays, the save
    // picture, three effect backgrounds and the value texts of 186 and both effects.
    EXPECT_EQ(hiddenUnbound, (lcd ? 0 : 1) + 1 + 4 + 2 + 1 + 3 + 1 + 5 + 15);
    for (int p = 132; p <= 146; ++p) EXPECT_FALSE(editor->ValueText(p)->IsHidden()) << p;
    EXPECT_FALSE(editor->ValueText(79)->IsHidden());
    EXPECT_TRUE(editor->ValueText(186)->IsHidden());
}

TEST_P(PanelTest, TooltipsNameTheSoundAndTheFileButtons) {
    const std::pair<int, const char*> expected[] = {
        {3, "VCO1 coarse"},
        {21, "VCO PWM LFO frq"},
        {45, "VCO4 PWM LFO frq"},
        {104, "FLEXI1 CURVE"},
        {125, ""},
        {127, "MIDI Sync"},
        {131, "Effects Chain Order"},
        {173, "portamento mode"},
        {187, ""},
        {202, "Load program from file"},
        {203, "Save program to file"},
        {205, "Select and write program from file to QD"},
        {207, "Write all programs from files to QD. You have to connect two midicables!"},
        {208, ""},
        {292, "4 Band Paragraphic Equalizer"},
        {343, ""},
    };
    for (const auto& [param, text] : expected) {
        const std::vector<IControl*> bound = Bound(param);
        ASSERT_FALSE(bound.empty()) << param;
        for (IControl* c : bound) EXPECT_STREQ(c->GetTooltip(), text) << "parameter " << param;
    }
    EXPECT_TRUE(G()->TooltipsEnabled());
}

TEST_P(PanelTest, KeyboardAndFlexiButtonsTakeTheirImagesFullSize) {
    const IRECT* kb = editor->Keyboard()->GetRECT();
    EXPECT_EQ(kb->L, 316);
    EXPECT_EQ(kb->T, 728);
    EXPECT_EQ(kb->W(), 490);

    // Read the image independently of the bitmap cache: a frame is half of the file's
    // half-size image, plus the gap pixel a rescale puts after each frame.
    const std::string file = std::string(QD_SKIN_ROOT) + (GetParam() ? "/img/lcd/flexi-sw-2x.png" : "/img/orig/bigbutton-2x.png");
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

TEST_P(PanelTest, ValueTextsFollowTheSkinsRuleAndTheFlexiTextsAreNeverAttached) {
    const int top = GetParam() ? 27 : 33;
    EXPECT_EQ(*editor->ValueText(3)->GetRECT(), IRECT(25 - 8, 88 + top, 25 + 40, 88 + top + 16));
    EXPECT_EQ(*editor->ValueText(172)->GetRECT(), IRECT(1080 - 8, 559 + top, 1080 + 40, 559 + top + 16));
    for (int p = 98; p <= 124; ++p) {
        ASSERT_NE(editor->ValueText(p), nullptr);
        EXPECT_LT(G()->GetControlIdx(editor->ValueText(p)), 0);
    }
    for (int p : {125, 126, 128, 150, 174, 181, 187}) EXPECT_EQ(editor->ValueText(p), nullptr) << p;
    EXPECT_STREQ(editor->ValueText(53)->GetTextString(), "100");
    EXPECT_STREQ(editor->ValueText(78)->GetTextString(), "vintage");
}

INSTANTIATE_TEST_SUITE_P(Skins, PanelTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "lcd" : "orig"; });
