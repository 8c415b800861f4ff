// The window back end on the headless platform: input, keys, menus, text entry, skin
// images, the screen copy and the idle cadence.
#include <gtest/gtest.h>


#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "fixtures.h"
#include "platform/folders.h"
#include "temp_dir.h"

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

// Whichever tooltip rectangle the window reports, the text is that of the control under
// the mouse; the panel's longest parameter name comes through whole.
TEST_F(ViewFixture, TooltipFollowsTheMouseOverControl) {
    graphics->EnableTooltips(true);
    graphics->HandleMouseOver(true);
    plug.GetParam(3)->InitInt("VCF modulation envelope follower", 0, 0, 127);
    LogControl* a = Add("a", IRECT(0, 0, 50, 50), 3);
    LogControl* b = Add("b", IRECT(60, 0, 100, 50));
    LogControl* hidden = Add("h", IRECT(0, 60, 50, 100));
    LogControl* empty = Add("empty", IRECT(0, 0, 0, 0));
    LogControl* c = Add("c", IRECT(120, 0, 180, 50));
    empty->SetTargetRECT(IRECT());
    a->SetTooltip(plug.GetParam(3)->GetNameForHost());
    hidden->SetTooltip("hidden");
    c->SetTooltip("Resonance");
    hidden->Hide(true);
    Open();
    EXPECT_EQ(hv->toolTipRects.size(), 4u);  // bg, a, b and c; not the hidden or empty one
    // Where the mouse rests -> the text shown when the window asks for the rectangle of b.
    const struct { int x, y; const char* text; } cases[] = {
        {10, 10, "VCF modulation envelope follower"}, {70, 10, ""}, {130, 10, "Resonance"},
        {10, 70, ""},    // the hidden control gives way to the background, which has none
        {190, 200, ""},  // the background
    };
    for (const auto& k : cases) {
        hv->MouseMoved(VX(k.x), VY(k.y));
        EXPECT_EQ(hv->ToolTipAt({VX(70), VY(10)}), k.text) << k.x << "," << k.y;
    }
    EXPECT_EQ(hv->ToolTipAt({VX(190), VY(310)}), "");  // outside every rectangle: none

    // The mouse-over index of c outlives c's removal: it finds no control, and the
    // next move finds the right one.
    hv->MouseMoved(VX(130), VY(10));
    for (int i = graphics->NControls() - 1; i > 1; --i) graphics->RemoveControl(i);
    EXPECT_EQ(hv->ToolTipAt({VX(130), VY(10)}), "");
    hv->MouseMoved(VX(10), VY(10));
    EXPECT_EQ(hv->ToolTipAt({VX(10), VY(10)}), "VCF modulation envelope follower");
    hv->MouseMoved(VX(130), VY(10));  // where c was: the background
    EXPECT_EQ(hv->ToolTipAt({VX(10), VY(10)}), "");
    for (LogControl* removed : {b, hidden, empty, c}) delete removed;
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
    IRECT r(10, 20, 30, 40);
    EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &r), nullptr);  // nothing scripted: dismissed
    ASSERT_EQ(backend.shownMenus.size(), 1u);
    // Each item as "depth:title", then "-" disabled, "+" checked, ">" indented, "=" separator.
    std::string shown;
    for (const auto& i : backend.shownMenus[0])
        shown += std::to_string(i.depth) + ":" + i.title + (i.enabled ? "" : "-") + (i.checked ? "+" : "") +
                 (i.indentation ? ">" : "") + (i.separator ? "=" : "") + "|";
    EXPECT_EQ(shown, "0:01: alpha|0:02: beta-+|0:03: title>|0:=|0:05: more|1:x|0:06: f|0:07: f|0:08: f|0:09: f|"
                     "0:10: f|0:11: f|");  // the submenu has no prefix of its own
    EXPECT_EQ(std::pair(backend.menuLocations[0].x, backend.menuLocations[0].y), std::pair(10.0, 259 - 4.0));
}

// The model's check and style operations, which the editor's own menus do not use.
TEST(PopupMenu, CheckAndStyleOperations) {
    IPopupMenu menu;
    for (const char* t : {"a", "b", "c", "d"}) menu.AddItem(t, -1, IPopupMenuItem::kChecked);
    menu.CheckItemAlone(1);
    EXPECT_EQ(std::vector<bool>({menu.IsItemChecked(0), menu.IsItemChecked(1), menu.IsItemChecked(2),
                                 menu.IsItemChecked(3), menu.IsItemChecked(4), menu.IsItemChecked(-1)}),
              std::vector<bool>({false, true, false, false, false, false}));
    EXPECT_TRUE(menu.CheckItem(2, true));
    EXPECT_FALSE(menu.CheckItem(9, true));
    menu.SetItemStyle(0, 1, true);   // disabled
    menu.SetItemStyle(0, 4, true);   // separator
    menu.SetItemStyle(0, 9, true);   // no such style
    menu.SetItemStyle(7, 1, true);   // no such item
    menu.GetItem(3)->SetStyle(true, 2);
    menu.GetItem(1)->SetChecked(false);
    EXPECT_EQ(std::vector<int>({menu.GetItem(0)->GetFlags(), menu.GetItem(1)->GetFlags(), menu.GetItem(2)->GetFlags(),
                                menu.GetItem(3)->GetFlags()}),
              std::vector<int>({IPopupMenuItem::kDisabled | IPopupMenuItem::kSeparator, 0, IPopupMenuItem::kChecked,
                                IPopupMenuItem::kTitle}));
    EXPECT_EQ(std::string(menu.GetItemText(2)) + "|" + menu.GetItemText(4) + "|" + menu.GetItemText(-1), "c||");
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
    password->GetText()->entryKind = IText::kEntrySecure;
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
}

// A 4 x 3 panel, at home in a scratch folder.
struct MacFixture : HeadlessMacFixture {
    MacFixture() : HeadlessMacFixture(1, 4, 3) {}
    testutil::TempDir tmp;
    const std::string home = tmp.path();
    testutil::ScopedEnv homeEnv{"HOME", home.c_str()};
};

TEST_F(MacFixture, MessageBoxAnswersPerLayout) {  // 1 OK or Yes, 7 No, 2 Cancel, 0 closed without one
    using R = platform::AlertResponse;
    const int cases[][3] = {{4, int(R::Alternate), 7}, {4, int(R::Closed), 0}, {3, int(R::Other), 2},
                            {3, int(R::Closed), 2},    {1, int(R::Alternate), 2}, {0, int(R::Default), 1}};
    for (const auto& [type, response, answer] : cases) {
        backend.alertAnswers.push_back(R(response));
        EXPECT_EQ(graphics->ShowMessageBox("text", "caption", type), answer) << type << " " << response;
    }
}

// Without a remembered folder the dialog opens in the user's Desktop folder as a real
// path, which the folder string then keeps, chosen or cancelled.
TEST_F(MacFixture, FileDialogStartsInTheDesktopAndRemembersTheFolder) {
    testutil::ScopedEnv configHome("XDG_CONFIG_HOME", nullptr);
    CMN_String name("prog.pr4"), dir("");
    graphics->PromptForFile(&name, 1, &dir, "pr4 pr3");
    EXPECT_EQ(std::tuple(std::string(name.Get()), std::string(dir.Get()), backend.filePanels.size()),
              std::tuple("", "", 0u));  // no window: only the name is emptied
    Open();
    std::filesystem::create_directories(home + "/.config");
    const struct {
        const char* userDirs;  // the XDG user-folder file, or none
        const char* remembered;  // the folder string, or none at all
        const char* answer;    // the file chosen, "" cancelled
        std::string shownIn, keptFolder, keptName;
    } cases[] = {
        {nullptr, "", "", home + "/Desktop", home + "/Desktop", ""},
        {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "", "", home + "/Schreibtisch", home + "/Schreibtisch", ""},
        {"XDG_DESKTOP_DIR=\"/srv/desk\"\n", "", "/srv/desk/a.pr4", "/srv/desk", "/srv/desk/", "/srv/desk/a.pr4"},
        {nullptr, "/data", "/data/banks/bass.pr3", "/data", "/data/banks/", "/data/banks/bass.pr3"},
        {nullptr, nullptr, "", home + "/Desktop", "", ""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(home + "/.config/user-dirs.dirs");
        if (c.userDirs) std::ofstream(home + "/.config/user-dirs.dirs") << c.userDirs;
        name.Set("prog.pr4");
        dir.Set(c.remembered ? c.remembered : "");
        backend.filePanelAnswers.push_back(c.answer);
        graphics->PromptForFile(&name, 1, c.remembered ? &dir : nullptr, "pr4  pr3");
        ASSERT_FALSE(backend.filePanels.empty());
        const platform::FilePanelSetup& s = backend.filePanels.back();
        EXPECT_EQ(std::tuple(s.directory, s.fileName, s.save, s.allowedTypes),
                  std::tuple(c.shownIn, "prog.pr4", true, std::vector<std::string>{"pr4", "pr3"})) << c.shownIn;
        EXPECT_EQ(std::tuple(std::string(dir.Get()), std::string(name.Get())), std::tuple(c.keptFolder, c.keptName))
            << c.shownIn;
    }
    graphics->PromptForFile(&name, 0, &dir, nullptr);  // open: any type
    EXPECT_EQ(std::tuple(backend.filePanels.back().save, backend.filePanels.back().allowedTypes.size()),
              std::tuple(false, 0u));
}

TEST_F(MacFixture, ImageNameRule) {
    namespace fs = std::filesystem;
    const std::string& dir = home;  // the skin's bundle
    fs::create_directories(dir + "/Resources/img");
    for (const char* to : {"/Resources/knob.png", "/Resources/img/panel.png", "/Resources/noext"})
        fs::copy_file(fs::path(QD_TEST_DATA_DIR) / "pngsuite" / "basn2c08.png", dir + to);
    std::ofstream(dir + "/Resources/photo.jpg") << "not an image";
    platform::RegisterBundle({"test.mac.bundle", dir, dir + "/qdeditor", dir + "/Resources"});
    graphics->SetBundleID("test.mac.bundle");
    struct Case { const char* name; bool loads; } cases[] = {
        {"knob.png", true},  {"knob.PNG", true}, {"knob.Png", true},     {"img/panel.png", true},
        {"photo.jpg", false}, {"noext", false},  {"missing.png", false}, {".png", false},
        {"../Resources/knob.png", false},        {nullptr, false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<PIX_IBitmap> bm(graphics->OSLoadBitmap(0, c.name));
        EXPECT_EQ(bm ? bm->getWidth() : 0, c.loads ? 32 : 0) << (c.name ? c.name : "null");
    }
    graphics->SetBundleID("unknown.bundle");
    EXPECT_EQ(std::unique_ptr<PIX_IBitmap>(graphics->OSLoadBitmap(0, "knob.png")), nullptr);
}

TEST_F(MacFixture, DrawScreenShowsTheBackBufferAtEveryDensity) {
    graphics->AttachControl(new LogControl(&plug, nullptr, "c", IRECT()));  // an empty list shows nothing
    HeadlessView* hv = Open();
    PIX_SysBitmap* bm = graphics->GetDrawBitmap();
    for (int i = 0; i < 12; ++i) *PIX_PixelAddress(*bm, i % 4, i / 4) = 0xff000000u | uint32_t(i / 4 << 8 | i % 4);
    // Shows the view's rectangle `r` at `scale` and compares the part of it given in GUI pixels.
    auto show = [&](int scale, const platform::Rect& r) {
        hv->SetBackingScaleFactor(scale);
        hv->shownImages.clear();
        hv->SetNeedsDisplayInRect(r);
        hv->Display();
        ASSERT_EQ(hv->shownImages.size(), 1u);
        const auto& shown = hv->shownImages[0];
        ASSERT_EQ(std::tuple(shown.width, shown.height), std::tuple(4 * scale, 3 * scale));
        EXPECT_EQ(shown.dest, (platform::Rect{0, 0, 4, 3}));  // the panel's size in points
        const IRECT g = IGraphicsCocoa_vQDEditor_sa::ToGUIRect(r, 3);
        for (int y = scale * g.T; y < scale * g.B; ++y)
            for (int x = scale * g.L; x < scale * g.R; ++x)
                EXPECT_EQ(std::memcmp(&shown.pixels[(y * 4 * scale + x) * 4], PIX_PixelAddress(*bm, x / scale, y / scale),
                                      4), 0) << scale << ": " << x << "," << y;
    };
    show(1, {0, 0, 4, 3});
    show(2, {0, 0, 4, 3});
    // At double density a redraw of (1, 1, 3, 2) takes only that part of the back buffer
    // again; a full redraw then shows every changed pixel.
    for (int i = 0; i < 12; ++i) *PIX_PixelAddress(*bm, i % 4, i / 4) ^= 0x00ff0000u;
    show(2, {1, 1, 2, 1});
    show(2, {0, 0, 4, 3});
}

TEST_F(MacFixture, HiddenWindowKeepsTheIdleCadence) {
    LogControl* c = new LogControl(&plug, &log, "c", IRECT(0, 0, 4, 3));
    graphics->AttachControl(c);
    HeadlessView* hv = Open();
    hv->SetCanDraw(false);
    log.clear();
    backend.FireTimers(1);  // dirty: drawn into the back buffer, no screen
    EXPECT_EQ(log, (Log{"c draw"}));
    EXPECT_TRUE(hv->invalidatedRects.empty());
    backend.FireTimers(4);
    EXPECT_EQ(log, (Log{"c draw", "idle", "idle"}));
    hv->SetCanDraw(true);  // shown again: redraws are asked of the window as usual
    c->SetDirty(false);
    backend.FireTimers(1);
    EXPECT_EQ(hv->invalidatedRects.size(), 1u);
}

}  // namespace
