#include <string>

#include "common/heap_buf.h"
#include "controls_fixture.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/url_control.h"
#include "gui/controls/user_text_controls.h"

using namespace ctltest;

namespace {

using Dialogs = ControlsFixture;

TEST_F(Dialogs, FileSelectorTogglesOnlyWhenAFileIsChosen) {
    auto* fs = Add(new IFileSelectorControl(&plug, IRECT(0, 0, 20, 20), kParamUnit, Strip(1, 20, 20),
                                            IFileSelectorControl::kFileSave, "/tmp/start/", "syx mid"));
    Open();
    backend.filePanelAnswers = {"/a/b/one.syx", "", "/c/two.syx"};
    struct Step {
        double value;
        const char* file;
        bool sent;
    };
    const Step steps[] = {{1.0, "/a/b/one.syx", true}, {1.0, "/a/b/one.syx", false}, {0.0, "/c/two.syx", true}};
    for (const Step& st : steps) {
        log.clear();
        fs->OnMouseDown(5, 5, &left);
        EXPECT_TRUE(fs->IsDirty()) << "redrawn to take the dialog's bitmap away";
        fs->SetClean();
        EXPECT_EQ(fs->GetValue(), st.value);
        CMN_String file;
        fs->GetLastSelectedFile(&file);
        EXPECT_STREQ(file.Get(), st.file) << "a cancelled dialog keeps the last file";
        EXPECT_EQ(!log.empty(), st.sent);
        if (st.sent) {
            EXPECT_EQ(fs->GetState(), IFileSelectorControl::kDone);
            EXPECT_TRUE(fs->IsDirty()) << "a finished selection reports dirty once more";
        }
        EXPECT_FALSE(fs->IsDirty());
        EXPECT_EQ(fs->GetState(), IFileSelectorControl::kIdle);
    }
    ASSERT_EQ(backend.filePanels.size(), 3u);
    EXPECT_TRUE(backend.filePanels[0].save);
    EXPECT_EQ(backend.filePanels[0].directory, "/tmp/start/");
    EXPECT_EQ(backend.filePanels[0].allowedTypes, (std::vector<std::string>{"syx", "mid"}));
    EXPECT_EQ(backend.filePanels[1].directory, "/a/b/") << "the next dialog starts where the last file was";
    EXPECT_EQ(backend.filePanels[1].fileName, "/a/b/one.syx");
}

TEST_F(Dialogs, FileSelectorSplitsPathsAndDrawsOnlyWhileSelecting) {
    auto* fs = Add(new IFileSelectorControl(&plug, IRECT(10, 10, 30, 30), -1, Strip(2, 20, 20), 0, "/d/", ""));
    struct Case {
        const char* path;
        const char* dir;
        const char* file;
    };
    for (Case c : {Case{"/a/b/c.pr4", "/a/b/", "c.pr4"}, {"plain.pr4", "/a/b/", "plain.pr4"}, {"/x/", "/x/", ""},
                   {"/", "/", ""}}) {
        fs->SetLastSelectedFile(c.path);
        CMN_String dir, file;
        fs->GetDirectory(&dir);
        fs->GetLastSelectedFile(&file);
        EXPECT_STREQ(dir.Get(), c.dir) << c.path;
        EXPECT_STREQ(file.Get(), c.file) << c.path;
    }
    DrawAlone(fs);
    EXPECT_EQ(Pixel(15, 15), COLOR_BLACK) << "idle: nothing drawn";
    // While the dialog is open the control shows its bitmap from the top-left corner.
    Open();
    backend.whileModal = [&] { DrawAlone(fs); };
    backend.filePanelAnswers = {"/d/x"};
    fs->OnMouseDown(12, 12, &left);
    EXPECT_EQ(Pixel(15, 15), FrameColor(1));
}

TEST_F(Dialogs, UrlFallsBackToItsBackupAndBoundsItsTexts) {
    const std::string longURL = "https://example.org/" + std::string(400, 'x');
    auto* url = Add(new IURLControl(&plug, IRECT(0, 0, 10, 10), longURL.c_str(), "https://backup.example.org/",
                                    nullptr));
    EXPECT_EQ(std::string(url->GetURL()), longURL.substr(0, IURLControl::kMaxURLLength - 1));
    EXPECT_STREQ(url->GetErrorMessage(), "");
    Open();
    backend.openURLSucceeds = false;
    url->OnMouseDown(1, 1, &left);
    ASSERT_EQ(backend.openedURLs.size(), 2u);
    EXPECT_EQ(backend.openedURLs[1], "https://backup.example.org/");

    backend.openURLSucceeds = true;
    backend.openedURLs.clear();
    url->OnMouseDown(1, 1, &left);
    EXPECT_EQ(backend.openedURLs.size(), 1u);

    auto* none = Add(new IURLControl(&plug, IRECT(0, 0, 10, 10), nullptr, nullptr, nullptr));
    backend.openedURLs.clear();
    none->OnMouseDown(1, 1, &left);
    EXPECT_TRUE(backend.openedURLs.empty());
}

TEST_F(Dialogs, UserTextComesBackFromTheEntry) {
    IText secure(10, COLOR_WHITE);
    secure.mEntryKind = IText::kEntrySecure;
    auto* pw = Add(new IUserTextControl(&plug, IRECT(0, 0, 100, 20), &secure, "abc"));
    auto* name = Add(new IUserTextControl(&plug, IRECT(0, 30, 100, 50), nullptr, nullptr));
    auto* alg = Add(new AlgDisplay(&plug, IRECT(0, 60, 100, 80), nullptr, "7"));
    EXPECT_TRUE(pw->IsSecure());
    EXPECT_FALSE(name->IsSecure());
    EXPECT_EQ(pw->ParamIdx(), -1);
    Open();

    struct Case {
        IControl* control;
        const char* typed;
        bool secure;
    };
    for (Case c : {Case{pw, "s3cret", true}, {name, "My sound", false}, {alg, "12", false}}) {
        c.control->OnMouseDown(1, c.control->GetRECT()->T + 1, &left);
        platform::HeadlessTextField* field = hv->ActiveTextField();
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->Setup().secure, c.secure);
        while (!field->StringValue().empty()) field->Backspace();
        field->Type(c.typed);
        field->PressReturn();
    }
    CMN_HeapBuf buf;
    pw->GetText(&buf);
    ASSERT_EQ(buf.GetSize(), 7);
    EXPECT_STREQ(static_cast<const char*>(buf.Get()), "s3cret");
    EXPECT_STREQ(name->GetTextString(), "My sound");
    EXPECT_STREQ(alg->GetTextString(), "12");

    name->SetText(nullptr);
    name->GetText(&buf);
    EXPECT_EQ(buf.GetSize(), 1);

    const std::string huge(70000, 'q');
    name->TextFromTextEntry(huge.c_str());
    EXPECT_EQ(std::string(name->GetTextString()).size(), size_t(kMaxEnteredText));
}

}  // namespace
