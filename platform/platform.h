// The window-system services the GUI engine needs, behind one interface with two back
// ends: a desktop one on GTK 3 and a headless one that tests drive. Only the back ends
// know a window system; everything here is plain C++.
//
// Coordinates given to and by a view are view coordinates: points, origin at the
// bottom-left corner, y upwards. The view client converts them to GUI pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace platform {

// Modifier bits carried by input events.
inline constexpr unsigned kShiftKeyMask = 0x20000;
inline constexpr unsigned kControlKeyMask = 0x40000;
inline constexpr unsigned kAlternateKeyMask = 0x80000;  // Alt
inline constexpr unsigned kCommandKeyMask = 0x100000;   // Super

// Key codes of the keys that are told apart by position rather than by character.
inline constexpr int kKeyCodeSpace = 49;
inline constexpr int kKeyCodeLeft = 123;
inline constexpr int kKeyCodeRight = 124;
inline constexpr int kKeyCodeDown = 125;
inline constexpr int kKeyCodeUp = 126;
inline constexpr int kKeyCodeOther = 0xffff;

struct Point {
    double x = 0, y = 0;
};

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
    bool Contains(const Point& p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
    bool operator==(const Rect&) const = default;
};

struct Color {
    double red = 0, green = 0, blue = 0, alpha = 1;  // 0..1
};

struct MouseEvent {
    Point location;  // view coordinates
    unsigned modifierFlags = 0;
    int clickCount = 1;
};

struct WheelEvent {
    Point location;
    unsigned modifierFlags = 0;
    double deltaY = 0;  // whole steps, positive away from the user
};

struct KeyEvent {
    int keyCode = kKeyCodeOther;
    std::string charactersIgnoringModifiers;  // UTF-8; one character for an ordinary key
    unsigned modifierFlags = 0;
};

// ---- Menus -------------------------------------------------------------------

class Menu;
class MenuItem;

class MenuReceiver {
public:
    virtual ~MenuReceiver() = default;
    virtual void OnMenuSelection(MenuItem* item) = 0;
};

class MenuItem {
public:
    std::string title;
    bool separator = false;
    bool enabled = true;
    bool stateOn = false;  // check mark
    int indentationLevel = 0;
    MenuReceiver* target = nullptr;  // told when the item is chosen; null for items with a submenu
    Menu* menu = nullptr;            // the menu the item is in
    std::unique_ptr<Menu> submenu;
    // In a window's menu bar: the key that chooses the item while the window has the
    // keyboard, shown beside it. One lower-case character held with the modifiers of
    // keyEquivalentModifierMask (kControlKeyMask...); empty for none.
    std::string keyEquivalent;
    unsigned keyEquivalentModifierMask = 0;
};

class Menu {
public:
    virtual ~Menu() = default;
    MenuItem& AddItem(std::string title, MenuReceiver* target);
    MenuItem& AddSeparatorItem();
    void SetSubmenu(MenuItem& item, std::unique_ptr<Menu> submenu);
    int IndexOfItem(const MenuItem* item) const;  // -1 when not in this menu
    int NumberOfItems() const { return int(mItems.size()); }
    MenuItem* ItemAt(int index) const;

private:
    std::vector<std::unique_ptr<MenuItem>> mItems;
};

// ---- Text fields -----------------------------------------------------------------

class TextField;

class TextFieldFormatter {
public:
    virtual ~TextFieldFormatter() = default;
    // Asked with the whole text as it would be after each edit; false refuses the edit.
    virtual bool IsPartialStringValid(const std::string& partial) = 0;
};

class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    // Return, Tab or loss of focus.
    virtual void ControlTextDidEndEditing(TextField* field) = 0;
    // Escape.
    virtual void ControlTextDidCancel(TextField* field) = 0;
};

struct TextFieldSetup {
    Rect frame;  // view coordinates
    bool secure = false;
    std::string fontName;
    int fontSize = 12;
    int alignment = -1;  // 0 left, 1 centre, 2 right, other: the field's default
    Color textColor{0, 0, 0, 1};
    Color backgroundColor{1, 1, 1, 1};
    std::string text;
    TextFieldFormatter* formatter = nullptr;  // not owned; must outlive the field
    TextFieldDelegate* delegate = nullptr;
};

// A text field over a view; destroying it removes it from the view.
class TextField {
public:
    virtual ~TextField() = default;
    virtual std::string StringValue() const = 0;
    // A cleared delegate hears nothing more, also not the focus loss of the removal.
    virtual void SetDelegate(TextFieldDelegate* delegate) = 0;
    virtual const TextFieldSetup& Setup() const = 0;
};

// ---- Views, windows and timers -----------------------------------------------------

class ViewClient {
public:
    virtual ~ViewClient() = default;
    virtual void DrawRect(const Rect& dirty) = 0;
    virtual void MouseDown(const MouseEvent&) {}
    virtual void MouseUp(const MouseEvent&) {}
    virtual void MouseDragged(const MouseEvent&) {}
    virtual void RightMouseDown(const MouseEvent&) {}
    virtual void RightMouseUp(const MouseEvent&) {}
    virtual void RightMouseDragged(const MouseEvent&) {}
    virtual void MouseMoved(const MouseEvent&) {}
    virtual void ScrollWheel(const WheelEvent&) {}
    // True when the key was taken (handled or dropped); false passes it on to the window.
    virtual bool KeyDown(const KeyEvent&) { return false; }
    // The text for the tooltip area the mouse rests in; empty shows none.
    virtual std::string ToolTipText() { return {}; }
};

struct ImageRef {
    const uint8_t* pixels = nullptr;  // bytes A, R, G, B per pixel, colours premultiplied
    int width = 0, height = 0;        // in pixels
    int rowBytes = 0;
    // Widened so that an absurd width cannot wrap the row check.
    bool HasPixels() const { return pixels && width > 0 && height > 0 && rowBytes >= int64_t(width) * 4; }
};

class View {
public:
    virtual ~View() = default;
    virtual void SetNeedsDisplayInRect(const Rect& rect) = 0;
    virtual void SetNeedsDisplay() = 0;
    virtual void SetFrameSize(double width, double height) = 0;
    virtual Rect Frame() const = 0;
    // False while the window is hidden or minimised: requested redraws will not come.
    virtual bool CanDraw() const = 0;
    // Device pixels per point (2 on a double-density screen).
    virtual double BackingScaleFactor() const = 0;
    // Only while the client's DrawRect runs: draws the image into `dest` (points).
    virtual bool HasDrawContext() const = 0;
    virtual bool DrawImage(const ImageRef& image, const Rect& dest) = 0;
    virtual std::unique_ptr<TextField> AddTextField(const TextFieldSetup& setup) = 0;
    // Modal until dismissed; a chosen item is reported to its target before this returns.
    virtual void PopUpContextMenu(Menu& menu, const Point& location) = 0;
    virtual void AddToolTipRect(const Rect& rect) = 0;
    virtual void RemoveAllToolTips() = 0;
    // Gives the keyboard focus back to the view (after a text field).
    virtual void MakeFirstResponder() = 0;
    // Raises the view's window and makes it the one receiving keys.
    virtual void MakeKeyAndOrderFront() = 0;
};

class Window {
public:
    virtual ~Window() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void SetContentSize(int width, int height) = 0;
    // Called when the user closes the window; answering false keeps it open.
    virtual void SetCloseHandler(std::function<bool()> handler) = 0;
    // Screen pixels, origin top-left: where the content area is and how big it is.
    virtual Rect ScreenFrame() const = 0;
    virtual void SetPosition(int x, int y) = 0;
    // Keeps this window above `parent` (null: free-standing).
    virtual void SetTransientFor(Window* parent) = 0;
    // A menu bar above the content: each item of `bar` carries a submenu whose items
    // tell their targets. Not owned; it must outlive the window.
    virtual void SetMenuBar(Menu* bar) = 0;
    // Screen pixels the menu bar adds above the content; 0 without one. (The window
    // manager's frame, if any, is its own and not counted.)
    virtual int MenuBarHeight() const = 0;
};

class Timer {
public:
    virtual ~Timer() = default;
    virtual void Invalidate() = 0;
};

// ---- Dialogs ----------------------------------------------------------------------

struct AlertSetup {
    std::string header, message;
    std::string defaultButton;    // empty: the system's "OK"
    std::string alternateButton;  // empty: none
    std::string otherButton;      // empty: none
};

enum class AlertResponse { Default, Alternate, Other, Closed };

struct FilePanelSetup {
    bool save = false;
    std::string directory;
    std::string fileName;
    std::vector<std::string> allowedTypes;  // extensions without the dot; empty allows all
};

// ---- The back end -----------------------------------------------------------------

class Backend {
public:
    Backend();
    virtual ~Backend() = default;

    // A top-level window; `borderless` for child panels.
    virtual std::unique_ptr<Window> CreateWindow(const std::string& title, int width, int height,
                                                 bool borderless = false) = 0;
    // A view of `frame` in the parent window's content (or in none when null).
    virtual std::unique_ptr<View> CreateView(Window* parent, const Rect& frame, ViewClient* client) = 0;
    // Repeats every `seconds` on the main thread, also while a menu or dialog is open.
    virtual std::unique_ptr<Timer> ScheduleTimer(double seconds, std::function<void()> callback) = 0;

    virtual AlertResponse RunAlert(const AlertSetup& setup) = 0;
    // The chosen path, or empty when cancelled.
    virtual std::string RunFilePanel(const FilePanelSetup& setup) = 0;
    virtual bool OpenURL(const std::string& url) = 0;
    virtual bool ClipboardText(std::string* text) = 0;

    virtual bool HideCursor() = 0;
    virtual bool ShowCursor() = 0;
    // Screen pixels, origin top-left.
    virtual Point MouseLocation() = 0;
    virtual void WarpCursor(const Point& screenPoint) = 0;
    virtual void SetCursor(int cursorId) = 0;
    // Screen pixels, origin top-left: the part of the main screen that windows may use
    // (without panels and docks). Empty when it is not known.
    virtual Rect WorkArea() { return {}; }

    virtual void RunMainLoop() = 0;
    virtual void QuitMainLoop() = 0;

    bool IsMainThread() const { return std::this_thread::get_id() == mMainThread; }
    // Runs `work` on the main thread and waits for it; at once when already there.
    void PerformOnMainThreadAndWait(const std::function<void()>& work);
    // Runs what other threads asked for; back ends call it from their main loop.
    void RunPendingMainThreadWork();

protected:
    // Makes the main loop call RunPendingMainThreadWork soon.
    virtual void WakeMainThread() = 0;

private:
    std::thread::id mMainThread;
    std::mutex mQueueMutex;
    std::deque<std::function<void()>> mQueue;
};

// The process's back end (null until one is installed). Installing also routes the
// Win32-style cursor changes to it.
Backend* CurrentBackend();
void InstallBackend(Backend* backend);

}  // namespace platform
