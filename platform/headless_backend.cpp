#include "platform/headless_backend.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace platform {

namespace {

class HeadlessWindow : public Window {
public:
    explicit HeadlessWindow(const HeadlessBackend* owner) : backend(owner) {}
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    void SetContentSize(int w, int h) override { width = w, height = h; }
    void SetCloseHandler(std::function<bool()> handler) override { closeHandler = std::move(handler); }
    Rect ScreenFrame() const override { return {double(x), double(y), double(width), double(height)}; }
    void SetPosition(int px, int py) override { x = px, y = py; }
    void SetTransientFor(Window* p) override { parent = p; }
    void SetMenuBar(Menu* bar) override { menuBar = bar; }
    int MenuBarHeight() const override { return menuBar ? backend->menuBarHeight : 0; }

    const HeadlessBackend* backend;
    Menu* menuBar = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    Window* parent = nullptr;
    bool visible = false;
    std::function<bool()> closeHandler;
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
    explicit HeadlessTimer(std::shared_ptr<HeadlessBackend::TimerSlot> slot) : slot_(std::move(slot)) {}
    ~HeadlessTimer() override { Invalidate(); }
    void Invalidate() override { slot_->live = false; }

private:
    std::shared_ptr<HeadlessBackend::TimerSlot> slot_;
};

// ---- Text field ----------------------------------------------------------------------

HeadlessTextField::HeadlessTextField(HeadlessView* view, const TextFieldSetup& setup)
    : view_(view), setup_(setup), delegate_(setup.delegate), text_(setup.text) {
    view_->textFields_.push_back(this);
    view_->firstResponder = false;
}

HeadlessTextField::~HeadlessTextField() {
    if (!view_) return;
    auto& fields = view_->textFields_;
    fields.erase(std::remove(fields.begin(), fields.end(), this), fields.end());
}

int HeadlessTextField::Type(const std::string& text) {
    int taken = 0;
    for (size_t i = 0; i < text.size();) {
        size_t len = 1;
        while (i + len < text.size() && (uint8_t(text[i + len]) & 0xc0) == 0x80) ++len;
        std::string candidate = text_ + text.substr(i, len);
        if (!setup_.formatter || setup_.formatter->IsPartialStringValid(candidate)) {
            text_ = candidate;
            ++taken;
        }
        i += len;
    }
    return taken;
}

// The delegate may destroy this field; nothing is touched after calling it.
void HeadlessTextField::PressReturn() {
    if (TextFieldDelegate* d = delegate_) d->ControlTextDidEndEditing(this);
}
void HeadlessTextField::LoseFocus() {
    if (TextFieldDelegate* d = delegate_) d->ControlTextDidEndEditing(this);
}
void HeadlessTextField::PressEscape() {
    if (TextFieldDelegate* d = delegate_) d->ControlTextDidCancel(this);
}

// ---- View -----------------------------------------------------------------------------

HeadlessView::HeadlessView(HeadlessBackend* backend, Window* parentWindow, const Rect& frame, ViewClient* client)
    : parent(parentWindow), backend_(backend), frame_(frame), client_(client) {
    backend_->views_.push_back(this);
    firstResponder = true;
}

HeadlessView::~HeadlessView() {
    for (HeadlessTextField* f : textFields_) f->view_ = nullptr;
    auto& v = backend_->views_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void HeadlessView::SetNeedsDisplayInRect(const Rect& rect) {
    invalidatedRects.push_back(rect);
    pendingRect = Union(pendingRect, rect);
    needsDisplay = true;
}

void HeadlessView::SetNeedsDisplay() { SetNeedsDisplayInRect({0, 0, frame_.width, frame_.height}); }

void HeadlessView::SetFrameSize(double width, double height) {
    frame_.width = width;
    frame_.height = height;
    frameSizes.push_back(frame_);
}

bool HeadlessView::DrawImage(const ImageRef& image, const Rect& dest) {
    if (!drawing_ || !image.HasPixels()) return false;
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
    backend_->shownMenus.push_back(std::move(flat));
    backend_->menuLocations.push_back(location);
    if (backend_->whileModal) backend_->whileModal();
    if (backend_->menuAnswers.empty()) return;
    std::vector<int> path = backend_->menuAnswers.front();
    backend_->menuAnswers.pop_front();
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

void HeadlessView::MouseDown(double x, double y, unsigned m, int c) { client_->MouseDown(Ev(x, y, m, c)); }
void HeadlessView::MouseUp(double x, double y, unsigned m) { client_->MouseUp(Ev(x, y, m)); }
void HeadlessView::MouseDragged(double x, double y, unsigned m) { client_->MouseDragged(Ev(x, y, m)); }
void HeadlessView::RightMouseDown(double x, double y, unsigned m) { client_->RightMouseDown(Ev(x, y, m)); }
void HeadlessView::RightMouseUp(double x, double y, unsigned m) { client_->RightMouseUp(Ev(x, y, m)); }
void HeadlessView::MouseMoved(double x, double y, unsigned m) { client_->MouseMoved(Ev(x, y, m)); }

void HeadlessView::ScrollWheel(double x, double y, double deltaY, unsigned m) {
    client_->ScrollWheel({{x, y}, m, deltaY});
}

bool HeadlessView::KeyDown(int keyCode, const std::string& characters, unsigned m) {
    KeyEvent e{keyCode, characters, m};
    bool taken = client_->KeyDown(e);
    if (!taken) passedOnKeys.push_back(e);
    return taken;
}

std::string HeadlessView::ToolTipAt(const Point& p) {
    for (const Rect& r : toolTipRects)
        if (r.Contains(p)) return client_->ToolTipText();
    return {};
}

bool HeadlessView::Display() {
    if (!needsDisplay || !canDraw_) return false;
    Rect r = pendingRect;
    needsDisplay = false;
    pendingRect = {};
    drawnRects.push_back(r);
    drawing_ = true;
    client_->DrawRect(r);
    drawing_ = false;
    return true;
}

// ---- Back end ---------------------------------------------------------------------------

HeadlessBackend::~HeadlessBackend() {
    if (CurrentBackend() == this) InstallBackend(nullptr);
}

std::unique_ptr<Window> HeadlessBackend::CreateWindow(const std::string&, int width, int height, bool) {
    auto w = std::make_unique<HeadlessWindow>(this);
    w->width = width;
    w->height = height;
    return w;
}

bool HeadlessBackend::RequestClose(Window* window) {
    auto* w = static_cast<HeadlessWindow*>(window);
    if (!w || (w->closeHandler && !w->closeHandler())) return false;
    w->visible = false;
    return true;
}

Menu* HeadlessBackend::MenuBarOf(Window* window) { return window ? static_cast<HeadlessWindow*>(window)->menuBar : nullptr; }

bool HeadlessBackend::IsShown(Window* window) { return window && static_cast<HeadlessWindow*>(window)->visible; }

std::unique_ptr<View> HeadlessBackend::CreateView(Window* parent, const Rect& frame, ViewClient* client) {
    return std::make_unique<HeadlessView>(this, parent, frame, client);
}

std::unique_ptr<Timer> HeadlessBackend::ScheduleTimer(double, std::function<void()> callback) {
    auto slot = std::make_shared<TimerSlot>();
    slot->callback = std::move(callback);
    timers_.push_back(slot);
    return std::make_unique<HeadlessTimer>(slot);
}

void HeadlessBackend::FireTimers(int times) {
    for (int t = 0; t < times; ++t) {
        auto snapshot = timers_;  // a callback may add or stop timers
        for (auto& slot : snapshot)
            if (slot->live) slot->callback();
        std::erase_if(timers_, [](const auto& s) { return !s->live; });
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
    quit_ = false;
    while (!quit_) {
        RunPendingMainThreadWork();
        FireTimers();
        for (HeadlessView* v : std::vector<HeadlessView*>(views_)) v->Display();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace platform
