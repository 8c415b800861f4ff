#include <string>

#include "common/heap_buf.h"
#include "controls_fixture.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/url_control.h"
#include "gui/controls/user_text_controls.h"
#include "gui/controls/value_text_controls.h"

using namespace ctltest;

namespace {

using Selects = ControlsFixture;

TEST_F(Selects, AreasReportPositionEventAndModifier) {
    auto* s1 = Add(new IInvisibleSelectControl(&plug, IRECT(0, 50, 40, 150), kParamUnit));
    s1->OnMouseDown(5, 75, &left);
    EXPECT_EQ(s1->GetValue(), 0.0) << "a press alone changes nothing";
    s1->OnMouseUp(5, 75, &left);
    EXPECT_EQ(s1->GetValue(), 0.25);

    // The wheel sets the value around 0.5; keys go on.
    auto* s3 = Add(new IInvisibleSelectControl3(&plug, IRECT(0, 0, 10, 200), kParamUnit));
    int modifier = -1;
    s3->OnMouseWheel(0, 0, &left, -2);
    EXPECT_DOUBLE_EQ(s3->GetValue(), 0.48);
    s3->OnMouseWheel(0, 0, &shift, -2);
    EXPECT_DOUBLE_EQ(s3->GetValue(), 0.498);
    EXPECT_FALSE(s3->OnKeyDown(0, 0, KEY_SPACE));
    s3->GetLastSelection(&modifier);
    EXPECT_EQ(modifier, kSelectKeySpace);
}

TEST_F(Selects, MatrixCellsClampAtEveryEdge) {
    // 4 columns x 25 rows over 80 x 250 pixels: cells of 20 x 10.
    auto* m = Add(new IInvisibleMatrixSelectControl(&plug, IRECT(100, 20, 180, 270), kParamUnit));
    m->SetGrid(4, 25);
    struct Case {
        int x, y, cell;
    } cases[] = {{145, 55, 14}, {100, 20, 0}, {179, 269, 99}, {180, 25, 3}, {250, 25, 3},  // right: not the next row
                 {150, 270, 98}, {150, 900, 98},  // below: not cell 100
                 {40, 25, 0}, {150, -30, 2}};
    for (Case c : cases) {
        m->OnMouseUp(c.x, c.y, &left);  // releases and drags arrive captured, from anywhere
        EXPECT_EQ(IInvisibleMatrixSelectControl::CellFromValue(plug.GetParam(kParamUnit)->Value(), 100), c.cell)
            << c.x << "," << c.y;
    }
    for (int cell = 0; cell < 100; ++cell)
        EXPECT_EQ(IInvisibleMatrixSelectControl::CellFromValue(cell / 100.0, 100), cell) << "29/100 * 100 < 29";
    m->OnMouseWheel(145, 55, &shift, 3);
    EXPECT_TRUE(m->GetWheelUp());
    EXPECT_DOUBLE_EQ(m->GetValue(), 0.14);
}

TEST_F(Selects, SpinnerWheelMovesOneParameterStep) {
    IParam own;
    own.InitInt("own", 0, 0, 127);
    struct Case {
        int paramIdx;
        IMouseMod mod;
        int d;
        double start, expected;
    } cases[] = {{kParamMidi, left, 1, 0.0, 1 / 127.0}, {kParamMidi, left, -3, 10 / 127.0, 7 / 127.0},
                 {kParamMidi, left, 1, 1.0, 1.0},       {-1, left, 2, 0.0, 2 / 127.0},  // its own parameter
                 {kParamStepless, shift, -1, 0.5, 0.499}, {kParamStepless, left, 1, 0.5, 0.51}};
    for (Case c : cases) {
        auto* s = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), c.paramIdx, nullptr, &own));
        s->SetValueFromPlug(c.start);
        s->OnMouseWheel(0, 0, &c.mod, c.d);
        EXPECT_NEAR(s->GetValue(), c.expected, 1e-9) << c.paramIdx << " " << c.d;
    }
}

TEST_F(Selects, SpinnerShowsTheValue) {
    IParam own;
    own.InitDouble("own", 0.0, 0.0, 10.0, 0.0, "dB");
    own.SetDisplayPrecision(1);
    auto* s = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), kParamMidi, nullptr));
    auto* withOwn = Add(new ISpinnerControl(&plug, IRECT(0, 0, 40, 100), -1, nullptr, &own, true, true));
    s->SetValueFromPlug(64 / 127.0);
    s->OnMouseDrag(0, 0, 0, -20, &left);  // a fifth of the height
    withOwn->SetValueFromPlug(0.25);
    for (IControl* c : std::initializer_list<IControl*>{s, withOwn}) DrawAlone(c);
    EXPECT_STREQ(s->GetTextString(), "89");
    EXPECT_STREQ(withOwn->GetTextString(), "2.5 dB") << "the own parameter follows the control";
}

using Dialogs = ControlsFixture;

TEST_F(Dialogs, FileSelectorTogglesOnlyWhenAFileIsChosen) {
    auto* fs = Add(new IFileSelectorControl(&plug, IRECT(10, 10, 30, 30), kParamUnit, Strip(1, 20, 20),
                                            IFileSelectorControl::kFileSave, "/tmp/start/", "syx mid"));
    Open();
    backend.filePanelAnswers = {"/a/b/one.syx", "", "/c/two.syx"};
    backend.whileModal = [&] { DrawAlone(fs); };
    struct Step {
        double value;
        const char* file;
        bool sent;
    } steps[] = {{1.0, "/a/b/one.syx", true}, {1.0, "/a/b/one.syx", false}, {0.0, "/c/two.syx", true}};
    for (const Step& st : steps) {
        log.clear();
        fs->OnMouseDown(15, 15, &left);
        EXPECT_EQ(Pixel(15, 15), FrameColor(1)) << "the bitmap shows while the dialog is open";
        EXPECT_EQ(fs->GetValue(), st.value);
        CMN_String file;
        fs->GetLastSelectedFile(&file);
        EXPECT_STREQ(file.Get(), st.file) << "a cancelled dialog keeps the last file";
        EXPECT_EQ(!log.empty(), st.sent);
        fs->SetClean();
        EXPECT_EQ(fs->IsDirty(), st.sent) << "a finished selection reports dirty once more";
        EXPECT_FALSE(fs->IsDirty());
    }
    EXPECT_EQ(backend.filePanels[1].directory + backend.filePanels[1].fileName, "/a/b/one.syx")
        << "the next dialog opens on the last file";
}

TEST_F(Dialogs, UrlFallsBackAndUserTextsComeBackFromTheEntry) {
    const std::string longURL = "https://example.org/" + std::string(400, 'x');
    auto* url = Add(new IURLControl(&plug, IRECT(0, 0, 10, 10), longURL.c_str(), "https://b.example.org/"));
    EXPECT_EQ(std::string(url->GetURL()), longURL.substr(0, IURLControl::kMaxURLLength - 1));
    Open();
    backend.openURLSucceeds = false;
    url->OnMouseDown(1, 1, &left);
    EXPECT_EQ(backend.openedURLs, (std::vector<std::string>{url->GetURL(), "https://b.example.org/"}));

    IText secure;
    secure.mEntryKind = IText::kEntrySecure;
    auto* pw = Add(new IUserTextControl(&plug, IRECT(0, 20, 100, 40), &secure, "abc"));
    auto* alg = Add(new AlgDisplay(&plug, IRECT(0, 60, 100, 80), nullptr, "7"));
    for (auto [c, isSecure] : {std::pair<IControl*, bool>{pw, true}, {alg, false}}) {
        c->OnMouseDown(1, c->GetRECT()->T + 1, &left);
        platform::HeadlessTextField* field = hv->ActiveTextField();
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->Setup().secure, isSecure);
        field->Type("12");
        field->PressReturn();
    }
    CMN_HeapBuf buf;
    pw->GetText(&buf);
    ASSERT_EQ(buf.GetSize(), 6);
    EXPECT_STREQ(static_cast<const char*>(buf.Get()), "abc12");
    EXPECT_STREQ(alg->GetTextString(), "712");
}

}  // namespace
