#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/headless_backend.h"
#include "winapi/cursor.h"

using namespace platform;

namespace {

struct Receiver : MenuReceiver {
    void OnMenuSelection(MenuItem* item) override { chosen.push_back(item); }
    std::vector<MenuItem*> chosen;
};

struct RecordingClient : ViewClient {
    void DrawRect(const Rect& r) override { draws.push_back(r); }
    void MouseDown(const MouseEvent& e) override { log.push_back("down " + std::to_string(e.clickCount)); }
    bool KeyDown(const KeyEvent& e) override { return e.charactersIgnoringModifiers == "a"; }
    std::string ToolTipText() override { return "tip"; }
    std::vector<Rect> draws;
    std::vector<std::string> log;
};

// A menu of: 0 "one", 1 separator, 2 "off" (disabled), 3 "sub" -> {0 "x", 1 "y"}.
std::unique_ptr<Menu> SampleMenu(Receiver* r) {
    auto m = std::make_unique<Menu>();
    m->AddItem("one", r);
    m->AddSeparatorItem();
    m->AddItem("off", r).enabled = false;
    auto sub = std::make_unique<Menu>();
    sub->AddItem("x", r);
    sub->AddItem("y", r).stateOn = true;
    MenuItem& s = m->AddItem("sub", nullptr);
    m->SetSubmenu(s, std::move(sub));
    return m;
}

TEST(HeadlessMenu, ScriptedChoices) {
    struct Case {
        std::vector<int> path;
        const char* chosen;  // null: nothing reported
    } cases[] = {
        {{0}, "one"}, {{1}, nullptr}, {{2}, nullptr}, {{3}, nullptr},  // separator, disabled, submenu owner
        {{3, 1}, "y"}, {{3, 5}, nullptr}, {{9}, nullptr}, {{}, nullptr}, {{0, 0}, nullptr},
    };
    for (const Case& c : cases) {
        HeadlessBackend b;
        RecordingClient client;
        auto view = b.CreateView(nullptr, {0, 0, 100, 100}, &client);
        Receiver r;
        auto menu = SampleMenu(&r);
        b.menuAnswers.push_back(c.path);
        view->PopUpContextMenu(*menu, {5, 6});
        if (!c.chosen) {
            EXPECT_TRUE(r.chosen.empty());
            continue;
        }
        ASSERT_EQ(r.chosen.size(), 1u);
        EXPECT_EQ(r.chosen[0]->title, c.chosen);
        // The chosen item knows its menu and place, as the view needs to report it.
        EXPECT_EQ(r.chosen[0]->menu->IndexOfItem(r.chosen[0]), c.path.back());
    }
}

TEST(HeadlessMenu, RecordsWhatWasShown) {
    HeadlessBackend b;
    RecordingClient client;
    auto view = b.CreateView(nullptr, {0, 0, 100, 100}, &client);
    Receiver r;
    auto menu = SampleMenu(&r);
    int ticks = 0;
    auto timer = b.ScheduleTimer(0.01, [&] { ++ticks; });
    b.whileModal = [&] { b.FireTimers(3); };
    view->PopUpContextMenu(*menu, {5, 6});
    EXPECT_EQ(ticks, 3);
    ASSERT_EQ(b.shownMenus.size(), 1u);
    const auto& s = b.shownMenus[0];
    ASSERT_EQ(s.size(), 6u);
    EXPECT_TRUE(s[1].separator);
    EXPECT_FALSE(s[2].enabled);
    EXPECT_EQ(s[4].depth, 1);
    EXPECT_EQ(s[5].title, "y");
    EXPECT_TRUE(s[5].checked);
    EXPECT_EQ(b.menuLocations[0].x, 5);
}

TEST(HeadlessView, DisplayDrawsTheUnionOfRequests) {
    HeadlessBackend b;
    RecordingClient client;
    auto view = b.CreateView(nullptr, {0, 0, 300, 200}, &client);
    auto* hv = static_cast<HeadlessView*>(view.get());
    EXPECT_FALSE(hv->Display());
    view->SetNeedsDisplayInRect({10, 10, 10, 10});
    view->SetNeedsDisplayInRect({50, 5, 10, 10});
    hv->SetCanDraw(false);
    EXPECT_FALSE(hv->Display());  // hidden: the request waits
    hv->SetCanDraw(true);
    EXPECT_TRUE(hv->Display());
    ASSERT_EQ(client.draws.size(), 1u);
    EXPECT_EQ(client.draws[0], (Rect{10, 5, 50, 15}));
    EXPECT_FALSE(hv->Display());
}

TEST(HeadlessView, DrawImageOnlyInsideDrawing) {
    HeadlessBackend b;
    struct Drawer : ViewClient {
        View* view = nullptr;
        bool result = false;
        void DrawRect(const Rect&) override {
            static const uint8_t px[] = {255, 1, 2, 3, 255, 4, 5, 6, 0, 0, 0, 0};
            result = view->DrawImage({px, 2, 1, 12}, {0, 0, 2, 1});
        }
    } client;
    auto view = b.CreateView(nullptr, {0, 0, 2, 1}, &client);
    client.view = view.get();
    uint8_t px[4] = {};
    EXPECT_FALSE(view->DrawImage({px, 1, 1, 4}, {0, 0, 1, 1}));
    view->SetNeedsDisplay();
    static_cast<HeadlessView*>(view.get())->Display();
    EXPECT_TRUE(client.result);
    auto& shown = static_cast<HeadlessView*>(view.get())->shownImages;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].pixels, (std::vector<uint8_t>{255, 1, 2, 3, 255, 4, 5, 6}));  // row padding dropped
}

TEST(HeadlessView, KeysAndTooltips) {
    HeadlessBackend b;
    RecordingClient client;
    auto view = b.CreateView(nullptr, {0, 0, 100, 100}, &client);
    auto* hv = static_cast<HeadlessView*>(view.get());
    EXPECT_TRUE(hv->KeyDown(kKeyCodeOther, "a"));
    EXPECT_FALSE(hv->KeyDown(kKeyCodeOther, "b"));
    ASSERT_EQ(hv->passedOnKeys.size(), 1u);
    EXPECT_EQ(hv->passedOnKeys[0].charactersIgnoringModifiers, "b");
    view->AddToolTipRect({10, 10, 20, 20});
    EXPECT_EQ(hv->ToolTipAt({15, 15}), "tip");
    EXPECT_EQ(hv->ToolTipAt({30, 30}), "");  // right and top edges are outside
    view->RemoveAllToolTips();
    EXPECT_EQ(hv->ToolTipAt({15, 15}), "");
}

struct DigitsOnly : TextFieldFormatter {
    bool IsPartialStringValid(const std::string& s) override {
        return s.size() <= 4 && s.find_first_not_of("0123456789") == std::string::npos;
    }
};

struct EndLog : TextFieldDelegate {
    void ControlTextDidEndEditing(TextField* f) override { log.push_back("end " + f->StringValue()); }
    void ControlTextDidCancel(TextField* f) override { log.push_back("cancel " + f->StringValue()); }
    std::vector<std::string> log;
};

TEST(HeadlessTextField, FilterCommitCancel) {
    HeadlessBackend b;
    RecordingClient client;
    auto view = b.CreateView(nullptr, {0, 0, 100, 100}, &client);
    auto* hv = static_cast<HeadlessView*>(view.get());
    DigitsOnly digits;
    EndLog log;
    TextFieldSetup setup;
    setup.text = "1";
    setup.formatter = &digits;
    setup.delegate = &log;
    auto field = view->AddTextField(setup);
    ASSERT_EQ(hv->ActiveTextField(), field.get());
    EXPECT_EQ(hv->ActiveTextField()->Type("2a.3456"), 3);  // "a" and "." refused, then the length cap
    EXPECT_EQ(field->StringValue(), "1234");
    hv->ActiveTextField()->PressReturn();
    hv->ActiveTextField()->Backspace();
    hv->ActiveTextField()->PressEscape();
    field->SetDelegate(nullptr);
    hv->ActiveTextField()->LoseFocus();  // no delegate: nothing heard
    EXPECT_EQ(log.log, (std::vector<std::string>{"end 1234", "cancel 123"}));
    field.reset();
    EXPECT_EQ(hv->ActiveTextField(), nullptr);
    // A field that outlives its view must not touch it.
    auto late = view->AddTextField(setup);
    view.reset();
    late.reset();
}

TEST(HeadlessBackend, MainThreadWorkWaitsForThePump) {
    HeadlessBackend b;
    std::atomic<bool> ran{false}, returned{false};
    std::thread t([&] {
        b.PerformOnMainThreadAndWait([&] { ran = b.IsMainThread(); });
        returned = true;
    });
    while (!returned) b.RunPendingMainThreadWork();
    t.join();
    EXPECT_TRUE(ran);
    bool direct = false;
    b.PerformOnMainThreadAndWait([&] { direct = true; });  // on the main thread: at once
    EXPECT_TRUE(direct);
}

TEST(HeadlessBackend, TimersStopWhenInvalidated) {
    HeadlessBackend b;
    int a = 0, c = 0;
    auto ta = b.ScheduleTimer(1.0 / 120, [&] { ++a; });
    std::unique_ptr<Timer> tc;
    tc = b.ScheduleTimer(0.5, [&] {
        if (++c == 2) tc->Invalidate();  // stops itself from inside its callback
    });
    b.FireTimers(5);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(c, 2);
    ta.reset();
    b.FireTimers(1);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b.LiveTimerCount(), 0);
}

TEST(HeadlessBackend, CursorChangesReachTheInstalledBackend) {
    HeadlessBackend b;
    InstallBackend(&b);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZENS));
    std::thread t([] { WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZEWE)); });
    while (b.cursors.size() < 2) b.RunPendingMainThreadWork();
    t.join();
    InstallBackend(nullptr);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_ARROW));
    EXPECT_EQ(b.cursors, (std::vector<int>{IDC_SIZENS, IDC_SIZEWE}));
}

}  // namespace
