// Scripted doubles for the GUI engine: a recording back end, logging controls and plug-in, panels.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/igraphics_mac.h"
#include "gui/popup_menu.h"
#include "platform/headless_backend.h"
#include "plug/module_standalone.h"

namespace guitest {

// One shared event log per test: controls, plug-in and back end append to it.
using Log = std::vector<std::string>;

struct MenuItemSeen { std::string text; int flags; };

template <class T>
bool TakeFront(std::deque<T>* queue, T* out) {
    if (queue->empty()) return false;
    *out = queue->front();
    queue->pop_front();
    return true;
}

// The window back end without a platform, which fails its services quietly, but for what
// the tests script.
class RecordingGraphics : public IGraphicsMac {
public:
    RecordingGraphics(IModuleBase* plug, int width, int height, Log* log = nullptr)
        : IGraphicsMac(plug, width, height, 0), mLog(log) {}

    // Replies, in order: a menu index (-1 dismissed), an entered text (nullopt cancelled),
    // a message box answer (then OK, 1).
    std::deque<int> menuReplies, messageBoxReplies;
    std::deque<std::optional<std::string>> textReplies;
    std::vector<IRECT> screens, menuRects;  // what was asked
    std::vector<std::vector<MenuItemSeen>> menus;
    struct TextEntry { std::string text; IRECT rect; };
    std::vector<TextEntry> textEntries;
    std::vector<std::string> messageBoxes;
    bool screenResult = true;

    bool DrawScreen(IRECT* pR) override {
        screens.push_back(*pR);
        if (mLog) mLog->push_back("screen");
        return screenResult;
    }
    IPopupMenu* CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pR) override {
        ClearMouseCapture();
        menus.emplace_back();
        for (int i = 0; i < pMenu->GetNItems(); ++i)
            menus.back().push_back({pMenu->GetItem(i)->GetText(), pMenu->GetItem(i)->GetFlags()});
        menuRects.push_back(*pR);
        int reply = -1;
        if (!TakeFront(&menuReplies, &reply) || reply < 0) return nullptr;
        pMenu->SetChosenItemIdx(reply);
        return pMenu;
    }
    void CreateTextEntry(IControl* pControl, IText*, IRECT* pR, const char* str, IParam* pParam) override {
        textEntries.push_back({str ? str : "", *pR});
        std::optional<std::string> reply;
        if (!TakeFront(&textReplies, &reply) || !reply) return;
        if (pParam)
            SetFromStringAfterPrompt(pControl, pParam, reply->c_str());
        else
            pControl->TextFromTextEntry(reply->c_str());
    }
    int ShowMessageBox(const char* text, const char*, int) override {
        messageBoxes.push_back(text ? text : "");
        int reply = 1;
        TakeFront(&messageBoxReplies, &reply);
        return reply;
    }
    void EndUserInput() override {}

    // Test access to state the engine keeps to itself.
    void SetLiveEdit(bool on, bool holdsMouse) { mLiveEdit = on, mLiveEditHoldsMouse = holdsMouse; }
    void DropBackBuffer() { delete mDrawBitmap, mDrawBitmap = nullptr; }

private:
    Log* mLog;
};

// A control that logs what reaches it as "<name> <event>".
class LogControl : public IControl, public IShownText {
public:
    LogControl(IModuleBase* plug, Log* log, const char* name, const IRECT& rect, int paramIdx = -1)
        : IControl(plug, rect, paramIdx), mLog(log), mName(name) {}

    bool keyAnswer = false;
    std::string lastText;

    bool Draw(IGraphics*) override { return Note("draw"), true; }
    void OnMouseDown(int x, int y, IMouseMod* pMod) override {
        Note("down " + Pos(x, y));
        IControl::OnMouseDown(x, y, pMod);
    }
    void OnMouseUp(int x, int y, IMouseMod*) override { Note("up " + Pos(x, y)); }
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod*) override {
        Note("drag " + Pos(x, y) + " d" + Pos(dX, dY));
    }
    void OnMouseDblClick(int x, int y, IMouseMod* pMod) override {
        Note("dbl " + Pos(x, y));
        IControl::OnMouseDblClick(x, y, pMod);
    }
    void OnMouseWheel(int, int, IMouseMod*, int d) override { Note("wheel " + std::to_string(d)); }
    bool OnKeyDown(int, int, int key) override { return Note("key " + std::to_string(key)), keyAnswer; }
    void OnMouseOver(int, int, IMouseMod*) override { Note("over"); }
    void OnMouseOut() override { Note("out"); }
    void TextFromTextEntry(const char* text) override {
        lastText = text;
        Note(std::string("text ") + text);
    }
    const char* GetShownText() const override { return lastText.c_str(); }

private:
    static std::string Pos(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    void Note(const std::string& s) {
        if (mLog) mLog->push_back(mName + " " + s);
    }
    Log* mLog;
    std::string mName;
};

// A plug-in that logs its hooks and whether the parameter hooks run under its mutex.
class LogPlug : public IModuleStandalone {
public:
    LogPlug(int nParams, Log* log) : IModuleStandalone(nParams), mLog(log) {}

    void OnParamChange(int idx) override {
        Note("change " + std::to_string(idx) + (MutexHeldElsewhere() ? " locked" : " unlocked"));
    }
    void InformHostOfParamChange(int idx, double) override { Note("inform " + std::to_string(idx)); }
    void BeginInformHostOfParamChange(int idx) override { Note("begin " + std::to_string(idx)); }
    void EndInformHostOfParamChange(int idx) override { Note("end " + std::to_string(idx)); }
    void OnIdle() override { Note("idle"); }

    // True when another thread cannot take the mutex, i.e. this thread holds it.
    bool MutexHeldElsewhere() {
        bool taken = false;
        std::thread([&] {
            if ((taken = GetMutex()->TryLock())) GetMutex()->Unlock();
        }).join();
        return !taken;
    }

private:
    void Note(const std::string& s) {
        if (mLog) mLog->push_back(s);
    }
    Log* mLog;
};

// A plug-in with `nParams` parameters and graphics that are the plug-in's once attached.
template <class Graphics>
class PanelFixture : public ::testing::Test {
protected:
    PanelFixture(int nParams, Graphics* g) : plug(nParams, &log), graphics(g) {}
    ~PanelFixture() override {
        if (plug.GetGUI() != graphics) delete graphics;
    }
    void Attach() { plug.AttachGraphics(graphics); }
    LogControl* Add(const char* name, const IRECT& r, int param = -1) {
        auto* c = new LogControl(&plug, &log, name, r, param);
        graphics->AttachControl(c);
        return c;
    }
    // Clean twice: a control changed during a tick stays dirty for one more.
    void CleanAll() {
        for (int i = 0; i < graphics->NControls(); ++i)
            for (int twice = 0; twice < 2; ++twice) graphics->GetControl(i)->SetClean();
    }

    Log log;
    LogPlug plug;
    Graphics* graphics;
};

class GuiFixture : public PanelFixture<RecordingGraphics> {
protected:
    explicit GuiFixture(int nParams, int width = 100, int height = 100)
        : PanelFixture(nParams, new RecordingGraphics(&plug, width, height, &log)) {}
};

// The headless platform outlives the panel, whose view tells it when it goes.
struct HeadlessPlatform { platform::HeadlessBackend backend; };

// The window back end on the headless platform; Open() gives the view that stands in for the window.
class HeadlessMacFixture : protected HeadlessPlatform, public PanelFixture<IGraphicsMac> {
protected:
    HeadlessMacFixture(int nParams, int width, int height)
        : PanelFixture(nParams, new IGraphicsMac(&plug, width, height, 0)) {}
    void SetUp() override { platform::InstallBackend(&backend); }
    void TearDown() override {
        if (plug.GetGUI() != graphics) delete graphics;  // never attached: still ours
        graphics = nullptr;
        platform::InstallBackend(nullptr);
    }
    platform::HeadlessView* Open() {
        Attach();
        EXPECT_NE(graphics->OpenWindow(nullptr), nullptr);
        hv = static_cast<platform::HeadlessView*>(graphics->GetView()->nativeView());
        log.clear();
        return hv;
    }

    platform::HeadlessView* hv = nullptr;
};

}  // namespace guitest
