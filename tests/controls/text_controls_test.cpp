#include <cstring>
#include <string>

#include "controls_fixture.h"
#include "gui/controls/text_controls.h"

using namespace ctltest;

namespace {

using Texts = ControlsFixture;

TEST_F(Texts, TextFromPlugMarksDirtyOnlyWhenItChanges) {
    IText style(12, COLOR_WHITE);
    auto* t = Add(new ITextControl(&plug, IRECT(0, 0, 80, 20), &style, "abc"));
    EXPECT_FALSE(t->IsPromptDisabled());
    t->SetClean();
    t->SetTextFromPlug("abc");
    EXPECT_FALSE(t->IsDirty());
    t->SetTextFromPlug("abd");
    EXPECT_TRUE(t->IsDirty());
    EXPECT_STREQ(t->GetTextString(), "abd");
    t->SetClean();
    t->SetTextColor(COLOR_RED);
    EXPECT_FALSE(t->IsDirty());
    EXPECT_EQ(t->GetText()->mColor, COLOR_RED);

    DrawAlone(t);
    bool drawn = false;
    for (int y = 0; y < 20 && !drawn; ++y)
        for (int x = 0; x < 80 && !drawn; ++x) drawn = !(Pixel(x, y) == COLOR_BLACK);
    EXPECT_TRUE(drawn) << "the text reaches the back buffer";
}

TEST_F(Texts, ResizeScalesOnlyTheSize) {
    IText style(10, COLOR_BLUE, "Courier", IText::kStyleItalic, IText::kAlignFar);
    style.mEntryKind = IText::kEntrySecure;
    style.mTextEntryBGColor = COLOR_YELLOW;
    auto* t = Add(new IEditableTextControl(&plug, IRECT(10, 10, 90, 30), kParamUnit, &style, "pw", false, true));
    struct Case {
        double scale;
        int size;
    };
    for (Case c : {Case{1.5, 15}, {0.5, 5}, {1.0, 10}, {1.99, 19}}) {
        t->AfterGUIResize(c.scale);
        const IText* s = t->GetText();
        EXPECT_EQ(s->mSize, c.size) << c.scale;
        EXPECT_STREQ(s->mFont, "Courier");
        EXPECT_EQ(s->mColor, COLOR_BLUE);
        EXPECT_EQ(s->mTextEntryBGColor, COLOR_YELLOW);
        EXPECT_EQ(s->mStyle, IText::kStyleItalic);
        EXPECT_EQ(s->mAlign, IText::kAlignFar);
        EXPECT_EQ(s->mEntryKind, IText::kEntrySecure) << "a secure field stays secure after a resize";
        EXPECT_EQ(s->mCached, nullptr);
    }
    // So the entry it opens after a resize still hides what is typed.
    Open();
    t->AfterGUIResize(1.5);
    t->OnMouseDown(12, 12, &left);
    ASSERT_NE(hv->ActiveTextField(), nullptr);
    EXPECT_TRUE(hv->ActiveTextField()->Setup().secure);
    EXPECT_TRUE(t->GetDblAsSingleClick());
}

TEST_F(Texts, SecureTextsShowAtMost99Asterisks) {
    for (int n : {0, 1, 3, 98, 99, 100, 120, -4})
        EXPECT_EQ(std::string(SecureMask(n)), std::string(n < 0 ? 0 : n > 99 ? 99 : n, '*')) << n;

    IText style(10, COLOR_WHITE);
    auto* t = Add(new IEditableTextControl(&plug, IRECT(0, 0, 60, 20), -1, &style, "", false, false));
    const IColor bg(255, 10, 20, 30);
    t->SetBackgroundColor(&bg);
    DrawAlone(t);
    EXPECT_EQ(Pixel(59, 19), bg);
    t->SetBackgroundColor(nullptr);
    EXPECT_EQ(t->GetBackgroundColor().A, 0);
    DrawAlone(t);
    EXPECT_EQ(Pixel(59, 19), COLOR_BLACK);
    t->OnMouseDown(1, 1, &left);  // no parameter: no entry, no crash
}

TEST_F(Texts, SecondTextHasItsOwnStringAndSize) {
    IText style(20, COLOR_GREEN, "Courier", IText::kStyleBold, IText::kAlignNear);
    auto* t = Add(new ITextControl2(&plug, IRECT(0, 0, 60, 20), kParamUnit, &style));
    EXPECT_EQ(t->ParamIdx(), kParamUnit);
    EXPECT_EQ(t->GetText()->mSize, 10);
    EXPECT_STREQ(t->GetText()->mFont, "Monaco");
    EXPECT_EQ(t->GetText()->mStyle, IText::kStyleBold);
    EXPECT_EQ(t->GetText()->mColor, COLOR_GREEN);
    t->AfterGUIResize(2.0);
    EXPECT_EQ(t->GetText()->mSize, 20);
    t->SetClean();
    t->SetText2("x");
    EXPECT_TRUE(t->IsDirty());
    EXPECT_STREQ(t->GetText2(), "x");
    EXPECT_STREQ(t->GetTextString(), "");
    t->SetTextColor2(COLOR_RED);
    EXPECT_EQ(t->GetText()->mColor, COLOR_RED);
}

}  // namespace
