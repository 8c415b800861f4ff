#include "platform/headless_backend.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

namespace platform {

namespace {

class HeadlessWindow : public Window {
public:
    explicit HeadlessWindow(const HeadlessBackend* owner, int width, int height)
        : mBackend(owner), mWidth(width), mHeight(height) {}
    void Show() override { mVisible = true; }
    void Hide() override { mVisible = false; }
    void SetContentSize(int w, int h) override { mWidth = w, mHeight = h; }
    void SetCloseHandler(std::function<bool()> handler) override { mCloseHandler = std::move(handler); }
    Rect ScreenFrame() const override { return {double(mX), double(mY), double(mWidth), double(mHeight)}; }
    void SetPosition(int x, int y) override { mX = x, mY = y; }
    void SetTransientFor(Window*) override {}
    void SetMenuBar(Menu* bar) override { mMenuBar = bar; }
    int MenuBarHeight() const override { return mMenuBar ? mBackend->menuBarHeight : 0; }

    // The user's close: false when the handler kept the window open.
    bool RequestClose() {
        if (mCloseHandler && !mCloseHandler()) return false;
        mVisible = false;
        return true;
    }
    Menu* MenuBar() const { return mMenuBar; }
    bool Visible() const { return mVisible; }

private:
    const HeadlessBackend* mBackend;
    Menu* mMenuBar = nullptr;
    int mX = 0, mY = 0, mWidth, mHeight;
    bool mVisible = false;
    std::function<bool()> mCloseHandler;
};

Rect Union(const Rect& a, const Rect& b) {
    if (a.width <= 0 || a.height <= 0) return b;
    if (b.width <= 0 || b.height <= 0) return a;
    double l = std::min(a.x, b.x), t = std::min(a.y, b.y);
    double r = std::max(a.x + a.width, b.x + b.width), u = std::max(a.y + a.height, b.y + b.height);
    return {l, t, r - l, u - t};
}

}  // namespace

class HeadlessTimer : public Timer {
public:
    explicit HeadlessTimer(std::shared_ptr<HeadlessBackend::TimerSlot> slot) : mSlot(std::move(slot)) {}
    ~HeadlessTimer() override { Invalidate(); }
    void Invalidate() override { mSlot->live = false; }

private:
    std::shared_ptr<HeadlessBackend::TimerSlot> mSlot;
};

// ---- Text field ----------------------------------------------------------------------

HeadlessTextField::HeadlessTextField(HeadlessView* view, const TextFieldSetup& setup)
    : mView(view), mSetup(setup), mDelegate(setup.delegate), mText(setup.text) {
    mView->mTextFields.push_back(this);
    mView->firstResponder = false;
}

HeadlessTextField::~HeadlessTextField() {
    if (!mView) return;
    auto& fields = mView->mTextFields;
    fields.erase(std::remove(fields.begin(), fields.end(), this), fields.end());
}

int HeadlessTextField::Type(const std::string& text) {
    int taken = 0;
    for (size_t i = 0; i < text.size();) {
        size_t len = 1;
        while (i + len < text.size() && (uint8_t(text[i + len]) & 0xc0) == 0x80) ++len;
        std::string candidate = mText + text.substr(i, len);
        if (!mSetup.formatter || mSetup.formatter->IsPartialStringValid(candidate)) {
            mText = candidate;
            ++taken;
        }
        i += len;
    }
    return taken;
}

// The delegate may destroy this field; nothing is touched after calling it.
void HeadlessTextField::PressReturn() {
    if (TextFieldDelegate* d = mDelegate) d->ControlTextDidEndEditing(this);
}
void HeadlessTextField::LoseFocus() {
    if (TextFieldDelegate* d = mDelegate) d->ControlTextDidEndEditing(this);
}
void HeadlessTextField::PressEscape() {
    if (TextFieldDelegate* d = mDelegate) d->ControlTextDidCancel(this);
}

// ---- View -----------------------------------------------------------------------------

HeadlessView::HeadlessView(HeadlessBackend* backend, const Rect& frame, ViewClient* client)
    : mBackend(backend), mFrame(frame), mClient(client) {
    mBackend->mViews.push_back(this);
    firstResponder = true;
}

HeadlessView::~HeadlessView() {
    for (HeadlessTextField* f : mTextFields) f->mView = nullptr;
    auto& v = mBackend->mViews;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void HeadlessView::SetNeedsDisplayInRect(const Rect& rect) {
    invalidatedRects.push_back(rect);
    pendingRect = Union(pendingRect, rect);
    needsDisplay = true;
}

void HeadlessView::SetNeedsDisplay() { SetNeedsDisplayInRect({0, 0, mFrame.width, mFrame.height}); }

void HeadlessView::SetFrameSize(double width, double height) {
    mFrame.width = width;
    mFrame.height = height;
    frameSizes.push_back(mFrame);
}

bool HeadlessView::DrawImage(const ImageRef& image, const Rect& dest) {
    if (!mDrawing || !image.HasPixels()) return false;
    Shown s;
    s.width = image.width;
    s.height = image.height;
    s.dest = dest;
    s.pixels.resize(size_t(image.width) * image.height * 4);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(&s.pixels[size_t(y) * image.width * 4], image.pixels + size_t(y) * image.rowBytes,
                    size_t(image.width) * 4);
    shownImages.push_back(std::move(s));
    return true;
}

std::unique_ptr<TextField> HeadlessView::AddTextField(const TextFieldSetup& setup) {
    return std::make_unique<HeadlessTextField>(this, setup);
}

void HeadlessView::PopUpContextMenu(Menu& menu, const Point& location) {
    std::vector<HeadlessBackend::ShownMenuItem> flat;
    std::function<void(const Menu&, int)> walk = [&](const Menu& m, int depth) {
        for (int i = 0; i < m.NumberOfItems(); ++i) {
            const MenuItem* it = m.ItemAt(i);
            flat.push_back({depth, it->title, it->separator, it->enabled, it->stateOn, it->indentationLevel});
            if (it->submenu) walk(*it->submenu, depth + 1);
        }
    };
    walk(menu, 0);
    mBackend->shownMenus.push_back(std::move(flat));
    mBackend->menuLocations.push_back(location);
    if (mBackend->whileModal) mBackend->whileModal();
    if (mBackend->menuAnswers.empty()) return;
    std::vector<int> path = mBackend->menuAnswers.front();
    mBackend->menuAnswers.pop_front();
    Menu* m = &menu;
    for (size_t i = 0; i < path.size(); ++i) {
        MenuItem* item = m->ItemAt(path[i]);
        if (!item) return;
        if (i + 1 < path.size()) {
            if (!item->submenu) return;
            m = item->submenu.get();
            continue;
        }
        // As in a real menu, only an enabled ordinary item can be chosen.
        if (item->separator || !item->enabled || item->submenu || !item->target) return;
        item->target->OnMenuSelection(item);
    }
}

static MouseEvent Ev(double x, double y, unsigned mods, int clicks = 1) { return {{x, y}, mods, clicks}; }

void HeadlessView::MouseDown(double x, double y, unsigned m, int c) { mClient->MouseDown(Ev(x, y, m, c)); }
void HeadlessView::MouseUp(double x, double y, unsigned m) { mClient->MouseUp(Ev(x, y, m)); }
void HeadlessView::MouseDragged(double x, double y, unsigned m) { mClient->MouseDragged(Ev(x, y, m)); }
void HeadlessView::RightMouseDown(double x, double y, unsigned m) { mClient->RightMouseDown(Ev(x, y, m)); }
void HeadlessView::RightMouseUp(double x, double y, unsigned m) { mClient->RightMouseUp(Ev(x, y, m)); }
void HeadlessView::RightMouseDragged(double x, double y, unsigned m) { mClient->RightMouseDragged(Ev(x, y, m)); }
void HeadlessView::MouseMoved(double x, double y, unsigned m) { mClient->MouseMoved(Ev(x, y, m)); }

void HeadlessView::ScrollWheel(double x, double y, double deltaY, unsigned m) {
    mClient->ScrollWheel({{x, y}, m, deltaY});
}

bool HeadlessView::KeyDown(int keyCode, const std::string& characters, unsigned m) {
    KeyEvent e{keyCode, characters, m};
    bool taken = mClient->KeyDown(e);
    if (!taken) passedOnKeys.push_back(e);
    return taken;
}

std::string HeadlessView::ToolTipAt(const Point& p) {
    for (const Rect& r : toolTipRects)
        if (r.Contains(p)) return mClient->ToolTipText();
    return {};
}

bool HeadlessView::Display() {
    if (!needsDisplay || !mCanDraw) return false;
    Rect r = pendingRect;
    needsDisplay = false;
    pendingRect = {};
    drawnRects.push_back(r);
    mDrawing = true;
    mClient->DrawRect(r);
    mDrawing = false;
    return true;
}

// ---- Back end ---------------------------------------------------------------------------

HeadlessBackend::~HeadlessBackend() {
    if (CurrentBackend() == this) InstallBackend(nullptr);
}

std::unique_ptr<Window> HeadlessBackend::CreateWindow(const std::string&, int width, int height, bool) {
    return std::make_unique<HeadlessWindow>(this, width, height);
}

bool HeadlessBackend::RequestClose(Window* window) {
    return window && static_cast<HeadlessWindow*>(window)->RequestClose();
}

Menu* HeadlessBackend::MenuBarOf(Window* window) {
    return window ? static_cast<HeadlessWindow*>(window)->MenuBar() : nullptr;
}

bool HeadlessBackend::PressKeyEquivalent(Window* window, const KeyEvent& key) {
    std::string typed = key.charactersIgnoringModifiers;
    for (char& c : typed) c = char(std::tolower(static_cast<unsigned char>(c)));
    std::function<MenuItem*(Menu*)> find = [&](Menu* menu) -> MenuItem* {
        for (int i = 0; menu && i < menu->NumberOfItems(); ++i) {
            MenuItem* item = menu->ItemAt(i);
            if (MenuItem* inner = item->submenu ? find(item->submenu.get()) : nullptr) return inner;
            if (!item->separator && item->enabled && item->target && !item->keyEquivalent.empty() &&
                item->keyEquivalent == typed && item->keyEquivalentModifierMask == key.modifierFlags)
                return item;
        }
        return nullptr;
    };
    MenuItem* item = find(MenuBarOf(window));
    if (item) item->target->OnMenuSelection(item);
    return item != nullptr;
}

bool HeadlessBackend::IsShown(Window* window) { return window && static_cast<HeadlessWindow*>(window)->Visible(); }

std::unique_ptr<View> HeadlessBackend::CreateView(Window*, const Rect& frame, ViewClient* client) {
    return std::make_unique<HeadlessView>(this, frame, client);
}

std::unique_ptr<Timer> HeadlessBackend::ScheduleTimer(double, std::function<void()> callback) {
    auto slot = std::make_shared<TimerSlot>();
    slot->callback = std::move(callback);
    mTimers.push_back(slot);
    return std::make_unique<HeadlessTimer>(slot);
}

void HeadlessBackend::FireTimers(int times) {
    for (int t = 0; t < times; ++t) {
        auto snapshot = mTimers;  // a callback may add or stop timers
        for (auto& slot : snapshot)
            if (slot->live) slot->callback();
        std::erase_if(mTimers, [](const auto& s) { return !s->live; });
    }
}

AlertResponse HeadlessBackend::RunAlert(const AlertSetup& setup) {
    alerts.push_back(setup);
    if (whileModal) whileModal();
    if (alertAnswers.empty()) return AlertResponse::Closed;
    AlertResponse r = alertAnswers.front();
    alertAnswers.pop_front();
    return r;
}

std::string HeadlessBackend::RunFilePanel(const FilePanelSetup& setup) {
    filePanels.push_back(setup);
    if (whileModal) whileModal();
    if (filePanelAnswers.empty()) return {};
    std::string r = filePanelAnswers.front();
    filePanelAnswers.pop_front();
    return r;
}

bool HeadlessBackend::OpenURL(const std::string& url) {
    openedURLs.push_back(url);
    return openURLSucceeds;
}

bool HeadlessBackend::ClipboardText(std::string* text) {
    if (!clipboardHasText) return false;
    if (text) *text = clipboard;
    return true;
}

bool HeadlessBackend::HideCursor() {
    if (!cursorCanHide) return false;
    cursorHidden = true;
    return true;
}

bool HeadlessBackend::ShowCursor() {
    cursorHidden = false;
    return true;
}

void HeadlessBackend::RunMainLoop() {
    mQuit = false;
    while (!mQuit) {
        RunPendingMainThreadWork();
        FireTimers();
        for (HeadlessView* v : std::vector<HeadlessView*>(mViews)) v->Display();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace platform
