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
    std::vector<Rect> draws;
};

TEST(HeadlessMenu, ScriptedChoicesWhileTimersRun) {
    struct Case { std::vector<int> path; const char* chosen; } cases[] = {  // null: nothing reported
        {{0}, "one"}, {{1}, nullptr}, {{2}, nullptr}, {{3}, nullptr},  // separator, disabled, submenu owner
        {{3, 1}, "y"}, {{3, 5}, nullptr}, {{9}, nullptr}, {{}, nullptr}, {{0, 0}, nullptr},
    };
    for (const Case& c : cases) {
        HeadlessBackend b;
        RecordingClient client;
        auto view = b.CreateView(nullptr, {0, 0, 100, 100}, &client);
        Receiver r;
        Menu menu;
        menu.AddItem("one", &r);
        menu.AddSeparatorItem();
        menu.AddItem("off", &r).enabled = false;
        auto sub = std::make_unique<Menu>();
        sub->AddItem("x", &r);
        sub->AddItem("y", &r);
        menu.SetSubmenu(menu.AddItem("sub", nullptr), std::move(sub));
        int ticks = 0;
        auto timer = b.ScheduleTimer(0.01, [&] { ++ticks; });
        b.whileModal = [&] { b.FireTimers(3); };
        b.menuAnswers.push_back(c.path);
        view->PopUpContextMenu(menu, {5, 6});
        EXPECT_EQ(ticks, 3);
        if (!c.chosen) {
            EXPECT_TRUE(r.chosen.empty());
            continue;
        }
        ASSERT_EQ(r.chosen.size(), 1u);
        EXPECT_EQ(r.chosen[0]->title, c.chosen);
        EXPECT_EQ(r.chosen[0]->menu->IndexOfItem(r.chosen[0]), c.path.back());
    }
}

TEST(HeadlessView, DisplayDrawsTheUnionOfRequestsOnceItCanDraw) {
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
    EXPECT_EQ(client.draws, (std::vector<Rect>{{10, 5, 50, 15}}));
    EXPECT_FALSE(hv->Display());
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
    auto late = view->AddTextField(setup);  // a field that outlives its view must not touch it
    view.reset();
    late.reset();
}

TEST(HeadlessBackend, MainThreadWorkAndCursorsWaitForThePump) {
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

    InstallBackend(&b);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZENS));
    std::thread other([] { WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZEWE)); });
    while (b.cursors.size() < 2) b.RunPendingMainThreadWork();
    other.join();
    InstallBackend(nullptr);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_ARROW));
    EXPECT_EQ(b.cursors, (std::vector<int>{IDC_SIZENS, IDC_SIZEWE}));
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
    ta.reset();
    b.FireTimers(1);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(b.LiveTimerCount(), 0);
}

}  // namespace
