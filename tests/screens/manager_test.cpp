// The program manager page on a whole editor: its settings and state, its start
// state, and what showing and hiding it leaves visible.
#include "gui/controls/user_text_controls.h"
#include "live_fixture.h"

using namespace livetest;

using Manager = LiveTest;

TEST_F(Manager, SettingsChooseTheViewAndTheRememberBox) {
    // remember: parameter 340.
    struct Case { const char* ini; bool view; double remember; };
    const Case cases[] = {
        {"", false, 0.0},
        {"[gui]\nmanager=true\n[dbase]\nmemo=true\n", true, 1.0},
        {"[gui]\nmanager=TRUE\n[dbase]\nmemo=false\n", false, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        Make(c.ini);
        EXPECT_EQ(editor->ManagerView(), c.view);
        EXPECT_EQ(editor->GetParam(340)->Value(), c.remember);
        EXPECT_EQ(Shown(307), c.view);
        // The page's state: the cache beside settings.ini and 100 empty bank slots.
        EXPECT_EQ(editor->CacheFolder(), dir.path() + "/RODiradu4/cache/");
        EXPECT_EQ(editor->BankSlotCount(), 100);
        EXPECT_TRUE(editor->GetBankSlot(0)->mEmpty && editor->GetBankSlot(99)->mEmpty);
    }
}

TEST_F(Manager, ShowingThePageKeepsSlotZeroAndTheGroupsHidden) {
    Make();
    const qd::PanelControls& m = Screens()->Controls();
    auto hidden = [&](qd::Keep keep, int index = 0) { return m.Get(keep, index)->IsHidden(); };
    using K = qd::Keep;
    // rows: program list rows; mode: the manager mode number.
    struct Case { int rows, mode; bool hide; };
    const Case cases[] = {{46, 0, false}, {47, 0, false}, {47, 3, false}, {47, 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, mode " << c.mode << ", hide " << c.hide);
        editor->ProgramRows().Resize(c.rows);
        editor->SetManagerMode(c.mode);
        editor->SetManagerGroup1Hidden(false);
        editor->SetManagerGroup2Hidden(false);
        editor->SetManagerPanelHidden(c.hide);
        EXPECT_EQ(Shown(335), !c.hide && c.rows >= 47);
        EXPECT_EQ(Shown(336), !c.hide && c.mode == 0);
        EXPECT_EQ(hidden(K::kListRow, 46), c.hide);
        for (int k : {1, 99}) EXPECT_EQ(hidden(K::kSlotNumber, k) || hidden(K::kSlotPicture, k), c.hide);
        EXPECT_TRUE(hidden(K::kSlotMark, 0) && hidden(K::kSlotPicture, 0) && hidden(K::kSlotNumber, 0));
        for (int p : {337, 338, 339, 340}) EXPECT_FALSE(Shown(p)) << p;
        EXPECT_TRUE(hidden(K::kLoginBackground) && hidden(K::kPassword) && hidden(K::kDbModeBackground));
    }
    EXPECT_STREQ(m.Get<ITextControl>(K::kSlotNumber, 1)->GetTextString(), "01");
    EXPECT_STREQ(m.Get<ITextControl>(K::kSlotNumber, 99)->GetTextString(), "99");
    EXPECT_TRUE(m.Get<IUserTextControl>(K::kPassword)->IsSecure() && !m.Get<IUserTextControl>(K::kUserName)->IsSecure());
}
