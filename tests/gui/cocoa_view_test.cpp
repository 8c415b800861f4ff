// The panel view driven through the headless back end: input mapping, coordinates,
// keys, menus and text entry as a window system would deliver them.
#include <gtest/gtest.h>

#include <tuple>
#include "headless_mac_fixture.h"

using namespace guitest;
using platform::HeadlessView;
using platform::kAlternateKeyMask;
using platform::kCommandKeyMask;
using platform::kControlKeyMask;
using platform::kShiftKeyMask;

namespace {

struct ViewFixture : HeadlessMacFixture {
    ViewFixture() : HeadlessMacFixture(4, 200, 300) {}
    void SetUp() override {
        HeadlessMacFixture::SetUp();
        plug.GetParam(0)->InitInt("int", 0, -100, 100);
        plug.GetParam(1)->InitDouble("double", 0, -10, 10, 0.01);
        plug.GetParam(2)->InitEnum("enum", 0, 3);
        Add("bg", IRECT(0, 0, 200, 300));
    }
    platform::HeadlessTextField* Entry() { return hv->ActiveTextField(); }
    // A view point for the GUI pixel (x, y) of the 300-high panel, undoing the offsets.
    static double VX(int x) { return x + 2 + 0.5; }
    static double VY(int y) { return 300 - y - 3 + 0.5; }
};

std::string Mods(const IMouseMod* m) {
    return std::string(m->L ? "L" : "") + (m->R ? "R" : "") + (m->S ? "S" : "") + (m->C ? "C" : "") + (m->A ? "A" : "");
}

TEST_F(ViewFixture, MouseTable) {
    Add("knob", IRECT(0, 0, 100, 150));
    graphics->HandleMouseOver(true);
    Open();
    struct Case { bool right; unsigned flags; int clicks; const char* expected, *mods; } cases[] = {
        {false, 0, 1, "knob down 8,97", "L"},
        {false, kShiftKeyMask | kAlternateKeyMask, 1, "knob down 8,97", "LSA"},
        {false, kCommandKeyMask, 1, "knob down 8,97", "LR"},  // Command-click is a right click
        {false, kControlKeyMask, 1, "knob down 8,97", "LC"},
        {false, 0, 2, "knob dbl 8,97", ""},
        {true, kShiftKeyMask, 1, "knob down 8,97", "RS"},
    };
    for (const Case& c : cases) {
        // (10.7, 200.2) in the view is GUI (8, 97).
        c.right ? hv->RightMouseDown(10.7, 200.2, c.flags) : hv->MouseDown(10.7, 200.2, c.flags, c.clicks);
        const std::string down = log.back(), mods = Mods(graphics->GetMouseMod());
        c.right ? hv->RightMouseUp(10.7, 200.2, c.flags) : hv->MouseUp(10.7, 200.2, c.flags);
        EXPECT_EQ(std::tuple(down, mods, log.back()), std::tuple(c.expected, c.mods, "knob up 8,97")) << c.expected;
    }
    hv->ScrollWheel(10.7, 200.2, 2.7);  // whole steps only
    hv->ScrollWheel(10.7, 200.2, -0.9);
    hv->MouseMoved(10.7, 200.2);
    EXPECT_EQ(Log(log.end() - 3, log.end()), (Log{"knob wheel 2", "knob wheel 0", "knob over"}));
}

TEST_F(ViewFixture, KeyTable) {
    LogControl* knob = Add("knob", IRECT(0, 0, 100, 150));
    knob->keyAnswer = true;
    Open();
    hv->MouseMoved(VX(10), VY(10));  // keys go to the last mouse position
    struct Case { int keyCode; const char* chars; int expected; bool passedOn; } cases[] = {
        {12, "q", 31, false}, {12, "Q", 31, false}, {0, "a", 15, false}, {6, "z", 40, false}, {29, "0", 5, false},
        {25, "9", 14, false}, {platform::kKeyCodeLeft, "\xef\x9c\x82", 3, false},
        {platform::kKeyCodeRight, "\xef\x9c\x83", 4, false}, {platform::kKeyCodeDown, "\xef\x9c\x81", 2, false},
        {platform::kKeyCodeUp, "\xef\x9c\x80", 1, false}, {platform::kKeyCodeSpace, " ", 0, false},
        {24, "+", -1, true}, {36, "\r", -1, true}, {50, "\xc3\xa9", -1, true},  // one non-ASCII character: passed on
        {0, "ab", -1, false}, {0, "", -1, false},                               // composed input: dropped
    };
    for (const Case& c : cases) {
        log.clear();
        hv->passedOnKeys.clear();
        hv->KeyDown(c.keyCode, c.chars);
        EXPECT_EQ(log, c.expected >= 0 ? Log{"knob key " + std::to_string(c.expected)} : Log{}) << c.chars;
        EXPECT_EQ(hv->passedOnKeys.size(), c.passedOn ? 1u : 0u) << c.chars;
    }
    knob->keyAnswer = false;  // a key that no control takes goes on to the window too
    hv->passedOnKeys.clear();
    hv->KeyDown(12, "q");
    EXPECT_EQ(hv->passedOnKeys.size(), 1u);
}

TEST_F(ViewFixture, MenuItemsAsShown) {
    Open();
    IPopupMenu menu, sub;
    menu.SetPrefix(2);
    menu.AddItem("alpha");
    menu.AddItem("beta", -1, IPopupMenuItem::kDisabled | IPopupMenuItem::kChecked);
    menu.AddItem("title", -1, IPopupMenuItem::kTitle);
    menu.AddItem("ignored text", -1, IPopupMenuItem::kSeparator);
    sub.AddItem("x");
    menu.AddItem("more", &sub);
    for (int i = 0; i < 6; ++i) menu.AddItem("f");
    menu.CheckItemAlone(5);                      // clears beta's check
    menu.SetItemStyle(6, 1, true);               // style 1: disabled
    EXPECT_FALSE(menu.CheckItem(12, true) || menu.IsItemChecked(1) || !menu.IsItemChecked(5));
    EXPECT_STREQ(menu.GetItemText(4), "more");
    IRECT r(10, 20, 30, 40);
    EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &r), nullptr);  // nothing scripted: dismissed
    ASSERT_EQ(backend.shownMenus.size(), 1u);
    // Each item as "depth:title", then "-" disabled, "+" checked, ">" indented, "=" separator.
    std::string shown;
    for (const auto& i : backend.shownMenus[0])
        shown += std::to_string(i.depth) + ":" + i.title + (i.enabled ? "" : "-") + (i.checked ? "+" : "") +
                 (i.indentation ? ">" : "") + (i.separator ? "=" : "") + "|";
    EXPECT_EQ(shown, "0:01: alpha|0:02: beta-|0:03: title>|0:=|0:05: more|1:x|0:06: f+|0:07: f-|0:08: f|0:09: f|"
                     "0:10: f|0:11: f|");  // the submenu has no prefix of its own
    EXPECT_EQ(std::pair(backend.menuLocations[0].x, backend.menuLocations[0].y), std::pair(10.0, 259 - 4.0));
}

TEST_F(ViewFixture, EntryFilterByParameterType) {
    LogControl* c = Add("c", IRECT(10, 20, 30, 40));
    Open();
    plug.GetParam(3)->InitInt("capped", 0, 0, 100000);
    struct Case { int param, length; const char* typed, *kept; } cases[] = {
        {0, 0, "1.5a", "15"}, {0, 0, "-12+", "-12+"}, {1, 0, "-1.5", "-1.5"}, {1, 0, "1e3", "13"},
        {2, 0, "2x", "2"},    {-1, 0, "any text.", "any text."},
        {3, 3, "123456", "123"},  // the entry length caps a parameter entry
    };
    for (const Case& k : cases) {
        if (k.length) c->SetTextEntryLength(k.length);
        graphics->CreateTextEntry(c, c->GetText(), c->GetRECT(), "", k.param >= 0 ? plug.GetParam(k.param) : nullptr);
        ASSERT_NE(Entry(), nullptr);
        Entry()->Type(k.typed);
        EXPECT_EQ(Entry()->StringValue(), k.kept) << k.typed;
        graphics->EndUserInput();
        EXPECT_EQ(Entry(), nullptr);
    }
    CocoaFormatter_vQDEditor_sa formatter;
    formatter.setMaximumValue(127);
    EXPECT_TRUE(formatter.IsPartialStringValid("127") && !formatter.IsPartialStringValid("128"));
    IText style(20, COLOR_RED, "Tahoma", IText::kStyleNormal, IText::kAlignFar);
    graphics->CreateTextEntry(c, &style, c->GetRECT(), "start", nullptr);
    const platform::TextFieldSetup& s = Entry()->Setup();
    EXPECT_EQ(s.frame, (platform::Rect{10, 259, 21, 21}));
    EXPECT_EQ(std::tuple(s.fontSize, s.alignment, Entry()->StringValue()), std::tuple(18, 2, "start"));
}

TEST_F(ViewFixture, EntriesCommitCancelAndGiveWayToTheNextOne) {
    LogControl* text = Add("text", IRECT(0, 0, 100, 20));
    LogControl* knob = Add("knob", IRECT(0, 30, 100, 50), 0);
    LogControl* password = Add("password", IRECT(0, 60, 100, 80));
    password->GetText()->mEntryKind = IText::kEntrySecure;
    Open();
    graphics->CreateTextEntry(text, text->GetText(), text->GetRECT(), "old", nullptr);
    Entry()->Type("er");
    Entry()->PressReturn();
    EXPECT_EQ(std::tuple(text->lastText, Entry()), std::tuple("older", nullptr));

    graphics->CreateTextEntry(knob, knob->GetText(), knob->GetRECT(), "", plug.GetParam(0));
    Entry()->Type("-40");
    Entry()->LoseFocus();
    EXPECT_DOUBLE_EQ(knob->GetValue(), plug.GetParam(0)->GetNormalized(-40));

    graphics->CreateTextEntry(text, text->GetText(), text->GetRECT(), "keep", nullptr);
    Entry()->Type("X");
    Entry()->PressEscape();
    EXPECT_EQ(Entry(), nullptr);
    graphics->CreateTextEntry(text, text->GetText(), text->GetRECT(), "wheel", nullptr);
    hv->ScrollWheel(VX(10), VY(10), 1);  // the wheel ends a plain entry without taking its text
    EXPECT_EQ(std::tuple(Entry(), text->lastText), std::tuple(nullptr, "older"));

    // Starting an entry commits the running one, also on the same control.
    graphics->CreateTextEntry(text, text->GetText(), text->GetRECT(), "user", nullptr);
    Entry()->Type("1");
    graphics->CreateTextEntry(password, password->GetText(), password->GetRECT(), "", nullptr);
    EXPECT_EQ(std::tuple(text->lastText, hv->TextFieldCount(), Entry()->Setup().secure), std::tuple("user1", 1, true));
    Entry()->Type("x");
    graphics->CreateTextEntry(password, password->GetText(), password->GetRECT(), "b", nullptr);
    EXPECT_EQ(std::tuple(password->lastText, Entry()->StringValue()), std::tuple("x", "b"));
    graphics->CreateTextEntry(nullptr, nullptr, text->GetRECT(), "c", nullptr);  // no control: nothing
    EXPECT_EQ(Entry()->StringValue(), "b");
}

TEST_F(ViewFixture, TooltipFollowsTheMouseOverControl) {
    graphics->EnableTooltips(true);
    graphics->HandleMouseOver(true);
    LogControl* a = Add("a", IRECT(0, 0, 50, 50));
    LogControl* b = Add("b", IRECT(60, 0, 100, 50));
    LogControl* hidden = Add("h", IRECT(0, 60, 50, 100));
    LogControl* nothing = Add("nothing", IRECT(0, 0, 0, 0));
    nothing->SetTargetRECT(IRECT());
    a->SetTooltip("Cutoff");
    b->SetTooltip("");
    hidden->Hide(true);
    Open();
    EXPECT_EQ(hv->toolTipRects.size(), 3u);  // bg, a and b; not the hidden or empty one
    hv->MouseMoved(VX(10), VY(10));
    EXPECT_EQ(hv->ToolTipAt({VX(70), VY(10)}), "Cutoff");  // the control under the mouse decides
    hv->MouseMoved(VX(70), VY(10));
    EXPECT_EQ(hv->ToolTipAt({VX(70), VY(10)}), "");
    // A mouse-over index left behind by a shrunken list finds no control.
    hv->MouseMoved(VX(10), VY(10));
    while (graphics->NControls() > 1) graphics->RemoveControl(graphics->NControls() - 1);
    EXPECT_EQ(hv->ToolTipAt({VX(10), VY(10)}), "");
    for (LogControl* c : {a, b, hidden, nothing}) delete c;
}

}  // namespace
