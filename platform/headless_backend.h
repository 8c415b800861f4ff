// A back end without a display for tests: it records what the engine showed, drew and
// asked for, lets a test send input, and answers menus, dialogs and panels from a
// script the test sets up beforehand.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

class HeadlessBackend;

class HeadlessTextField : public TextField {
public:
    HeadlessTextField(class HeadlessView* view, const TextFieldSetup& setup);
    ~HeadlessTextField() override;
    std::string StringValue() const override { return mText; }
    void SetDelegate(TextFieldDelegate* delegate) override { mDelegate = delegate; }
    const TextFieldSetup& Setup() const override { return mSetup; }

    // Types character by character (UTF-8 sequences stay whole); the formatter may
    // refuse each one. Answers how many characters were taken.
    int Type(const std::string& text);
    void PressReturn();
    void PressEscape();
    void LoseFocus();

private:
    friend class HeadlessView;
    HeadlessView* mView;
    TextFieldSetup mSetup;
    TextFieldDelegate* mDelegate;
    std::string mText;
};

class HeadlessView : public View {
public:
    HeadlessView(HeadlessBackend* backend, const Rect& frame, ViewClient* client);
    ~HeadlessView() override;

    // View
    void SetNeedsDisplayInRect(const Rect& rect) override;
    void SetNeedsDisplay() override;
    void SetFrameSize(double width, double height) override;
    Rect Frame() const override { return mFrame; }
    bool CanDraw() const override { return mCanDraw; }
    double BackingScaleFactor() const override { return mScale; }
    bool HasDrawContext() const override { return mDrawing; }
    bool DrawImage(const ImageRef& image, const Rect& dest) override;
    std::unique_ptr<TextField> AddTextField(const TextFieldSetup& setup) override;
    void PopUpContextMenu(Menu& menu, const Point& location) override;
    void AddToolTipRect(const Rect& rect) override { toolTipRects.push_back(rect); }
    void RemoveAllToolTips() override { toolTipRects.clear(); }
    void MakeFirstResponder() override { firstResponder = true; }
    void MakeKeyAndOrderFront() override { ++orderedFront; }

    // Input, as a window system would deliver it (view coordinates).
    void MouseDown(double x, double y, unsigned mods = 0, int clicks = 1);
    void MouseUp(double x, double y, unsigned mods = 0);
    void MouseDragged(double x, double y, unsigned mods = 0);
    void RightMouseDown(double x, double y, unsigned mods = 0);
    void RightMouseUp(double x, double y, unsigned mods = 0);
    void RightMouseDragged(double x, double y, unsigned mods = 0);
    void MouseMoved(double x, double y, unsigned mods = 0);
    void ScrollWheel(double x, double y, double deltaY, unsigned mods = 0);
    // Answers whether the view took the key; keys it passed on are kept in passedOnKeys.
    bool KeyDown(int keyCode, const std::string& characters, unsigned mods = 0);
    // The tooltip shown when the mouse rests at `p`: empty outside every tooltip rect.
    std::string ToolTipAt(const Point& p);

    // Runs the client's drawing for what was asked to be redrawn; false when nothing was.
    bool Display();
    void SetCanDraw(bool canDraw) { mCanDraw = canDraw; }
    void SetBackingScaleFactor(double scale) { mScale = scale; }
    HeadlessTextField* ActiveTextField() const { return mTextFields.empty() ? nullptr : mTextFields.back(); }
    int TextFieldCount() const { return int(mTextFields.size()); }

    // What the view was asked and shown.
    std::vector<Rect> invalidatedRects;
    std::vector<Rect> frameSizes;  // every SetFrameSize, in order
    bool needsDisplay = false;
    Rect pendingRect;  // union of what waits to be drawn
    std::vector<Rect> drawnRects;
    struct Shown {
        std::vector<uint8_t> pixels;  // A, R, G, B
        int width = 0, height = 0;
        Rect dest;
    };
    std::vector<Shown> shownImages;
    std::vector<Rect> toolTipRects;
    std::vector<KeyEvent> passedOnKeys;
    bool firstResponder = false;
    int orderedFront = 0;

private:
    friend class HeadlessTextField;
    HeadlessBackend* mBackend;
    Rect mFrame;
    ViewClient* mClient;
    bool mCanDraw = true;
    bool mDrawing = false;
    double mScale = 1.0;
    std::vector<HeadlessTextField*> mTextFields;
};

class HeadlessBackend : public Backend {
public:
    HeadlessBackend() = default;
    ~HeadlessBackend() override;

    std::unique_ptr<Window> CreateWindow(const std::string& title, int width, int height,
                                         bool borderless) override;
    std::unique_ptr<View> CreateView(Window* parent, const Rect& frame, ViewClient* client) override;
    std::unique_ptr<Timer> ScheduleTimer(double seconds, std::function<void()> callback) override;
    AlertResponse RunAlert(const AlertSetup& setup) override;
    std::string RunFilePanel(const FilePanelSetup& setup) override;
    bool OpenURL(const std::string& url) override;
    bool ClipboardText(std::string* text) override;
    bool HideCursor() override;
    bool ShowCursor() override;
    Point MouseLocation() override { return mouseLocation; }
    void WarpCursor(const Point& p) override { warps.push_back(p), mouseLocation = p; }
    void SetCursor(int cursorId) override { cursors.push_back(cursorId); }
    Rect WorkArea() override { return workArea; }
    void RunMainLoop() override;
    void QuitMainLoop() override { mQuit = true; }

    // Windows this back end made: the user's close (false when the handler kept the
    // window open), the menu bar and whether it is shown.
    bool RequestClose(Window* window);
    Menu* MenuBarOf(Window* window);
    bool IsShown(Window* window);
    // A key pressed while the window has the keyboard, as far as its menu bar is
    // concerned: the enabled item with that key equivalent is chosen. False when none is.
    bool PressKeyEquivalent(Window* window, const KeyEvent& key);

    // Fires every live timer once, `times` times over.
    void FireTimers(int times = 1);

    // ---- Script: answers taken in order; when a list runs dry the answer is the
    // dismissal (menu: nothing chosen, alert: Closed, panel: cancelled).
    // A menu answer is the path of item indices through submenus; empty dismisses.
    std::deque<std::vector<int>> menuAnswers;
    std::deque<AlertResponse> alertAnswers;
    std::deque<std::string> filePanelAnswers;  // empty string cancels
    // Runs while a menu, alert or panel is open (to check what keeps running then).
    std::function<void()> whileModal;
    std::string clipboard;
    bool clipboardHasText = false;
    bool openURLSucceeds = true;
    bool cursorCanHide = true;

    // ---- Records.
    struct ShownMenuItem {
        int depth;  // 0 for the top menu
        std::string title;
        bool separator, enabled, checked;
        int indentation;
    };
    std::vector<std::vector<ShownMenuItem>> shownMenus;  // one flattened list per menu shown
    std::vector<Point> menuLocations;
    std::vector<AlertSetup> alerts;
    std::vector<FilePanelSetup> filePanels;
    std::vector<std::string> openedURLs;
    std::vector<int> cursors;
    std::vector<Point> warps;
    Point mouseLocation{100, 100};
    Rect workArea{0, 0, 1920, 1050};
    int menuBarHeight = 0;  // of every window given a menu bar
    bool cursorHidden = false;

protected:
    void WakeMainThread() override {}

private:
    friend class HeadlessView;
    friend class HeadlessTimer;
    struct TimerSlot {
        std::function<void()> callback;
        bool live = true;
    };
    std::vector<std::shared_ptr<TimerSlot>> mTimers;
    std::vector<HeadlessView*> mViews;
    bool mQuit = false;
};

}  // namespace platform
