#include "platform/gtk_backend.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "platform/folders.h"
#include "platform/image_convert.h"
#include "platform/input_map.h"
#include "platform/wheel.h"
#include "winapi/cursor.h"

namespace platform {

namespace {

class GtkBackendImpl;
GtkBackendImpl* gGtk = nullptr;
// While a window is being destroyed its entries lose focus; that is no commit, and
// nothing may take the focus in a window that is going away.
int gWindowsClosing = 0;

// The input mapping works on the X11 numbers the toolkit passes through.
static_assert(x11::kShiftMask == GDK_SHIFT_MASK && x11::kControlMask == GDK_CONTROL_MASK &&
              x11::kMod1Mask == GDK_MOD1_MASK && x11::kMod4Mask == GDK_MOD4_MASK &&
              x11::kSuperMask == GDK_SUPER_MASK && x11::kMetaMask == GDK_META_MASK);
static_assert(x11::kKeySpace == GDK_KEY_space && x11::kKeyLeft == GDK_KEY_Left && x11::kKeyUp == GDK_KEY_Up &&
              x11::kKeyRight == GDK_KEY_Right && x11::kKeyDown == GDK_KEY_Down &&
              x11::kKeyKpSpace == GDK_KEY_KP_Space && x11::kKeyKpLeft == GDK_KEY_KP_Left &&
              x11::kKeyKpUp == GDK_KEY_KP_Up && x11::kKeyKpRight == GDK_KEY_KP_Right &&
              x11::kKeyKpDown == GDK_KEY_KP_Down);


// ---- Windows ------------------------------------------------------------------------

class GtkWindowImpl : public Window {
public:
    GtkWindowImpl(const std::string& title, int contentWidth, int contentHeight, bool borderless);
    ~GtkWindowImpl() override;
    void Show() override { gtk_widget_show_all(window); }
    void Hide() override { gtk_widget_hide(window); }
    void SetContentSize(int contentWidth, int contentHeight) override {
        width = contentWidth, height = contentHeight;
        gtk_widget_set_size_request(fixed, contentWidth, contentHeight);
        gtk_window_resize(GTK_WINDOW(window), contentWidth, contentHeight);
    }
    void SetCloseHandler(std::function<bool()> handler) override { closeHandler = std::move(handler); }
    Rect ScreenFrame() const override {
        int x = 0, y = 0;
        gtk_window_get_position(GTK_WINDOW(window), &x, &y);
        return {double(x), double(y), double(width), double(height)};
    }
    void SetPosition(int x, int y) override { gtk_window_move(GTK_WINDOW(window), x, y); }
    void SetTransientFor(Window* parent) override {
        auto* p = static_cast<GtkWindowImpl*>(parent);
        gtk_window_set_transient_for(GTK_WINDOW(window), p ? GTK_WINDOW(p->window) : nullptr);
    }
    void SetMenuBar(Menu* bar) override;
    int MenuBarHeight() const override {
        if (!menuBar) return 0;
        int natural = 0;
        gtk_widget_get_preferred_height(menuBar, nullptr, &natural);
        return natural;
    }

    GtkWidget* window;
    GtkWidget* fixed;
    GtkWidget* menuBar = nullptr;
    int width, height;
    std::function<bool()> closeHandler;
};

// ---- Timers -------------------------------------------------------------------------

struct TimerSlot {
    std::function<void()> callback;
    bool live = true;
    guint source = 0;
};

class GtkTimerImpl : public Timer {
public:
    explicit GtkTimerImpl(std::shared_ptr<TimerSlot> slot) : mSlot(std::move(slot)) {}
    ~GtkTimerImpl() override { Invalidate(); }
    void Invalidate() override {
        mSlot->live = false;
        if (mSlot->source) g_source_remove(mSlot->source);
        mSlot->source = 0;
    }

private:
    std::shared_ptr<TimerSlot> mSlot;
};

// ---- Views --------------------------------------------------------------------------

class GtkViewImpl;

class GtkTextFieldImpl : public TextField {
public:
    GtkTextFieldImpl(GtkViewImpl* owner, const TextFieldSetup& fieldSetup);
    ~GtkTextFieldImpl() override;
    std::string StringValue() const override { return entry ? gtk_entry_get_text(GTK_ENTRY(entry)) : ""; }
    void SetDelegate(TextFieldDelegate* handler) override { delegate = handler; }
    const TextFieldSetup& Setup() const override { return setup; }

    GtkWidget* entry;
    GtkViewImpl* view;
    TextFieldSetup setup;
    TextFieldDelegate* delegate;
    bool widgetGone = false;  // destroyed with its window
};

class GtkViewImpl : public View {
public:
    GtkViewImpl(GtkWindowImpl* parent, const Rect& viewFrame, ViewClient* viewClient);
    ~GtkViewImpl() override;

    void SetNeedsDisplayInRect(const Rect& r) override {
        if (!area) return;
        double top = Top(r);
        int x0 = int(std::floor(r.x)), y0 = int(std::floor(top));
        int x1 = int(std::ceil(r.x + r.width)), y1 = int(std::ceil(top + r.height));
        if (x1 > x0 && y1 > y0) gtk_widget_queue_draw_area(area, x0, y0, x1 - x0, y1 - y0);
    }
    void SetNeedsDisplay() override {
        if (area) gtk_widget_queue_draw(area);
    }
    void SetFrameSize(double width, double height) override {
        frame.width = width;
        frame.height = height;
        if (area) gtk_widget_set_size_request(area, int(width), int(height));
    }
    Rect Frame() const override { return frame; }
    bool CanDraw() const override {
        if (!area || !gtk_widget_get_mapped(area)) return false;
        GdkWindow* w = gtk_widget_get_window(area);
        if (!w || !gdk_window_is_viewable(w)) return false;
        GdkWindow* top = gdk_window_get_toplevel(w);
        return !(gdk_window_get_state(top) & (GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_WITHDRAWN));
    }
    double BackingScaleFactor() const override { return area ? gtk_widget_get_scale_factor(area) : 1.0; }
    bool HasDrawContext() const override { return cairo != nullptr; }
    bool DrawImage(const ImageRef& image, const Rect& dest) override;
    std::unique_ptr<TextField> AddTextField(const TextFieldSetup& setup) override {
        if (widgetsGone) return nullptr;
        return std::make_unique<GtkTextFieldImpl>(this, setup);
    }
    void PopUpContextMenu(Menu& menu, const Point& location) override;
    void AddToolTipRect(const Rect& r) override { toolTips.push_back(r); }
    void RemoveAllToolTips() override { toolTips.clear(); }
    void MakeFirstResponder() override {
        if (area && gWindowsClosing == 0) gtk_widget_grab_focus(area);
    }
    void MakeKeyAndOrderFront() override {
        if (!area) return;
        GtkWidget* top = gtk_widget_get_toplevel(area);
        if (gtk_widget_is_toplevel(top)) gtk_window_present(GTK_WINDOW(top));
    }

    // Event handlers.
    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
    static gboolean OnButtonPress(GtkWidget*, GdkEventButton* e, gpointer self);
    static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* e, gpointer self);
    static gboolean OnMotion(GtkWidget*, GdkEventMotion* e, gpointer self);
    static gboolean OnScroll(GtkWidget*, GdkEventScroll* e, gpointer self);
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* e, gpointer self);
    static gboolean OnQueryTooltip(GtkWidget*, gint x, gint y, gboolean, GtkTooltip* tip, gpointer self);
    static gboolean OnChildPosition(GtkOverlay*, GtkWidget* child, GdkRectangle* alloc, gpointer self);
    static void OnDestroy(GtkWidget*, gpointer self);

    // The toolkit counts y downwards from the top, the view upwards from the bottom.
    Point ToView(double x, double y) const { return {x, frame.height - y}; }
    double Top(const Rect& r) const { return frame.height - r.y - r.height; }
    MouseEvent ButtonEvent(const GdkEventButton* e) const {
        return {ToView(e->x, e->y), ModifierFlagsFromX11(e->state), clickCount};
    }

    GtkWidget* overlay;
    GtkWidget* area;
    bool widgetsGone = false;  // destroyed with their window
    Rect frame;
    ViewClient* client;
    cairo_t* cairo = nullptr;
    std::vector<uint32_t> scratch;  // the converted pixels of the latest DrawImage
    std::vector<Rect> toolTips;
    std::set<GtkTextFieldImpl*> fields;
    WheelAccumulator wheel;
    // Click counting is done here so that every press reports its count.
    ClickCounter clicks;
    int clickCount = 0;
};

// ---- Back end -----------------------------------------------------------------------

class GtkBackendImpl : public Backend {
public:
    GtkBackendImpl() { gGtk = this; }
    ~GtkBackendImpl() override {
        if (CurrentBackend() == this) InstallBackend(nullptr);
        if (gGtk == this) gGtk = nullptr;
    }

    std::unique_ptr<Window> CreateWindow(const std::string& title, int width, int height,
                                         bool borderless) override {
        auto w = std::make_unique<GtkWindowImpl>(title, width, height, borderless);
        mWindows.insert(w.get());
        return w;
    }
    std::unique_ptr<View> CreateView(Window* parent, const Rect& frame, ViewClient* client) override {
        return std::make_unique<GtkViewImpl>(static_cast<GtkWindowImpl*>(parent), frame, client);
    }
    std::unique_ptr<Timer> ScheduleTimer(double seconds, std::function<void()> callback) override;
    AlertResponse RunAlert(const AlertSetup& setup) override;
    std::string RunFilePanel(const FilePanelSetup& setup) override;
    bool OpenURL(const std::string& url) override {
        GError* err = nullptr;
        gboolean ok = g_app_info_launch_default_for_uri(url.c_str(), nullptr, &err);
        if (err) g_error_free(err);
        return ok;
    }
    bool ClipboardText(std::string* text) override {
        gchar* t = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
        if (!t) return false;
        if (text) *text = t;
        g_free(t);
        return true;
    }
    bool HideCursor() override {
        mHidden = true;
        ApplyCursor();
        return true;
    }
    bool ShowCursor() override {
        mHidden = false;
        ApplyCursor();
        return true;
    }
    Point MouseLocation() override {
        GdkDevice* p = Pointer();
        int x = 0, y = 0;
        if (p) gdk_device_get_position(p, nullptr, &x, &y);
        return {double(x), double(y)};
    }
    void WarpCursor(const Point& pt) override {
        if (GdkDevice* p = Pointer())
            gdk_device_warp(p, gdk_display_get_default_screen(gdk_display_get_default()), int(pt.x), int(pt.y));
    }
    Rect WorkArea() override {
        GdkDisplay* d = gdk_display_get_default();
        GdkMonitor* m = d ? gdk_display_get_primary_monitor(d) : nullptr;
        if (!m && d && gdk_display_get_n_monitors(d) > 0) m = gdk_display_get_monitor(d, 0);
        if (!m) return {};
        GdkRectangle r;
        gdk_monitor_get_workarea(m, &r);
        return {double(r.x), double(r.y), double(r.width), double(r.height)};
    }
    void SetCursor(int cursorId) override {
        mCursorId = cursorId;
        ApplyCursor();
    }
    void RunMainLoop() override { gtk_main(); }
    void QuitMainLoop() override {
        if (gtk_main_level() > 0) gtk_main_quit();
    }

    void Forget(GtkWindowImpl* w) { mWindows.erase(w); }
    GtkWindow* MainWindow() const {
        for (GtkWindowImpl* w : mWindows)
            if (gtk_widget_get_visible(w->window)) return GTK_WINDOW(w->window);
        return nullptr;
    }

protected:
    void WakeMainThread() override {
        g_idle_add(
            [](gpointer self) -> gboolean {
                static_cast<GtkBackendImpl*>(self)->RunPendingMainThreadWork();
                return G_SOURCE_REMOVE;
            },
            this);
    }

private:
    static GdkDevice* Pointer() {
        GdkDisplay* d = gdk_display_get_default();
        GdkSeat* seat = d ? gdk_display_get_default_seat(d) : nullptr;
        return seat ? gdk_seat_get_pointer(seat) : nullptr;
    }
    void ApplyCursor() {
        GdkDisplay* d = gdk_display_get_default();
        const char* name = mCursorId == IDC_SIZENWSE ? "nwse-resize"
                           : mCursorId == IDC_SIZEWE ? "ew-resize"
                           : mCursorId == IDC_SIZENS ? "ns-resize"
                                                     : "default";
        GdkCursor* c = mHidden ? gdk_cursor_new_for_display(d, GDK_BLANK_CURSOR) : gdk_cursor_new_from_name(d, name);
        for (GtkWindowImpl* w : mWindows)
            if (GdkWindow* gw = gtk_widget_get_window(w->window)) gdk_window_set_cursor(gw, c);
        if (c) g_object_unref(c);
    }

    std::set<GtkWindowImpl*> mWindows;
    bool mHidden = false;
    int mCursorId = IDC_ARROW;
};

GtkWindowImpl::GtkWindowImpl(const std::string& title, int contentWidth, int contentHeight, bool borderless)
    : width(contentWidth), height(contentHeight) {
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_object_ref_sink(window);
    gtk_window_set_title(GTK_WINDOW(window), title.c_str());
    gtk_window_set_decorated(GTK_WINDOW(window), !borderless);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, contentWidth, contentHeight);
    gtk_container_add(GTK_CONTAINER(window), fixed);
    g_signal_connect(window, "delete-event", G_CALLBACK(+[](GtkWidget* w, GdkEvent*, gpointer self) -> gboolean {
                         auto* win = static_cast<GtkWindowImpl*>(self);
                         // The owner destroys the window; closing only hides it until then.
                         if (!win->closeHandler || win->closeHandler()) gtk_widget_hide(w);
                         return TRUE;
                     }),
                     this);
}

namespace {

// A key equivalent becomes the item's accelerator: the toolkit shows it beside the item
// and, while the window has the keyboard, activates the item by it before the view sees
// the key, so the key goes the way a click on the item goes.
void AddKeyEquivalent(GtkWidget* item, const MenuItem& it, GtkAccelGroup* accel) {
    if (it.keyEquivalent.empty()) return;
    gunichar c = g_utf8_get_char_validated(it.keyEquivalent.c_str(), gssize(it.keyEquivalent.size()));
    if (c == gunichar(-1) || c == gunichar(-2)) return;
    const guint keyval = gdk_unicode_to_keyval(g_unichar_tolower(c));
    const auto mods = GdkModifierType(X11StateFromModifierFlags(it.keyEquivalentModifierMask));
    if (gtk_accelerator_valid(keyval, mods))
        gtk_widget_add_accelerator(item, "activate", accel, keyval, mods, GTK_ACCEL_VISIBLE);
}

GtkWidget* BuildGtkMenuBarMenu(Menu& menu, GtkAccelGroup* accel) {
    GtkWidget* gm = gtk_menu_new();
    for (int i = 0; i < menu.NumberOfItems(); ++i) {
        MenuItem* it = menu.ItemAt(i);
        GtkWidget* gi = it->separator ? gtk_separator_menu_item_new() : gtk_menu_item_new_with_label(it->title.c_str());
        if (!it->separator) {
            gtk_widget_set_sensitive(gi, it->enabled);
            if (it->submenu) {
                gtk_menu_item_set_submenu(GTK_MENU_ITEM(gi), BuildGtkMenuBarMenu(*it->submenu, accel));
            } else {
                g_signal_connect(gi, "activate", G_CALLBACK(+[](GtkMenuItem*, gpointer data) {
                                     auto* item = static_cast<MenuItem*>(data);
                                     if (item->target) item->target->OnMenuSelection(item);
                                 }),
                                 it);
                AddKeyEquivalent(gi, *it, accel);
            }
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(gm), gi);
    }
    return gm;
}

}  // namespace

void GtkWindowImpl::SetMenuBar(Menu* bar) {
    if (!bar) return;
    // The content moves into a box under the bar; the view keeps its place in it.
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* barWidget = gtk_menu_bar_new();
    GtkAccelGroup* accel = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(window), accel);
    g_object_unref(accel);  // the window holds it
    for (int i = 0; i < bar->NumberOfItems(); ++i) {
        MenuItem* it = bar->ItemAt(i);
        GtkWidget* top = gtk_menu_item_new_with_label(it->title.c_str());
        if (it->submenu) gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), BuildGtkMenuBarMenu(*it->submenu, accel));
        gtk_menu_shell_append(GTK_MENU_SHELL(barWidget), top);
    }
    g_object_ref(fixed);
    gtk_container_remove(GTK_CONTAINER(window), fixed);
    gtk_box_pack_start(GTK_BOX(box), barWidget, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), fixed, TRUE, TRUE, 0);
    g_object_unref(fixed);
    gtk_container_add(GTK_CONTAINER(window), box);
    // Shown at once (the window itself stays hidden) so that its height is known before
    // the window is placed.
    gtk_widget_show_all(box);
    menuBar = barWidget;
}

GtkWindowImpl::~GtkWindowImpl() {
    if (gGtk) gGtk->Forget(this);
    ++gWindowsClosing;
    gtk_widget_destroy(window);
    --gWindowsClosing;
    g_object_unref(window);
}

std::unique_ptr<Timer> GtkBackendImpl::ScheduleTimer(double seconds, std::function<void()> callback) {
    auto slot = std::make_shared<TimerSlot>();
    slot->callback = std::move(callback);
    guint ms = guint(std::clamp(std::lround(seconds * 1000.0), 1L, long(INT_MAX)));
    auto* hold = new std::shared_ptr<TimerSlot>(slot);
    slot->source = g_timeout_add_full(
        G_PRIORITY_DEFAULT, ms,
        [](gpointer data) -> gboolean {
            std::shared_ptr<TimerSlot> s = *static_cast<std::shared_ptr<TimerSlot>*>(data);
            if (!s->live) return G_SOURCE_REMOVE;
            s->callback();
            if (s->live) return G_SOURCE_CONTINUE;
            s->source = 0;
            return G_SOURCE_REMOVE;
        },
        hold, [](gpointer data) { delete static_cast<std::shared_ptr<TimerSlot>*>(data); });
    return std::make_unique<GtkTimerImpl>(slot);
}

AlertResponse GtkBackendImpl::RunAlert(const AlertSetup& setup) {
    GtkWidget* d = gtk_message_dialog_new(MainWindow(), GTK_DIALOG_MODAL, GTK_MESSAGE_INFO, GTK_BUTTONS_NONE, "%s",
                                          setup.header.c_str());
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(d), "%s", setup.message.c_str());
    gtk_window_set_title(GTK_WINDOW(d), setup.header.c_str());
    enum { kDefault = 1, kAlternate = 2, kOther = 3 };
    if (!setup.otherButton.empty()) gtk_dialog_add_button(GTK_DIALOG(d), setup.otherButton.c_str(), kOther);
    if (!setup.alternateButton.empty()) gtk_dialog_add_button(GTK_DIALOG(d), setup.alternateButton.c_str(), kAlternate);
    gtk_dialog_add_button(GTK_DIALOG(d), setup.defaultButton.empty() ? "OK" : setup.defaultButton.c_str(), kDefault);
    gtk_dialog_set_default_response(GTK_DIALOG(d), kDefault);
    int r = gtk_dialog_run(GTK_DIALOG(d));
    gtk_widget_destroy(d);
    switch (r) {
        case kDefault: return AlertResponse::Default;
        case kAlternate: return AlertResponse::Alternate;
        case kOther: return AlertResponse::Other;
        default: return AlertResponse::Closed;
    }
}

std::string GtkBackendImpl::RunFilePanel(const FilePanelSetup& setup) {
    GtkFileChooserAction action = setup.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
    GtkWidget* d = gtk_file_chooser_dialog_new(setup.save ? "Save" : "Open", MainWindow(), action, "_Cancel",
                                               GTK_RESPONSE_CANCEL, setup.save ? "_Save" : "_Open",
                                               GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* fc = GTK_FILE_CHOOSER(d);
    if (setup.save) gtk_file_chooser_set_do_overwrite_confirmation(fc, TRUE);
    if (!setup.directory.empty()) gtk_file_chooser_set_current_folder(fc, setup.directory.c_str());
    if (!setup.fileName.empty()) {
        if (setup.save)
            gtk_file_chooser_set_current_name(fc, setup.fileName.c_str());
        else
            gtk_file_chooser_set_filename(fc, (setup.directory + "/" + setup.fileName).c_str());
    }
    if (!setup.allowedTypes.empty()) {
        GtkFileFilter* filter = gtk_file_filter_new();
        const FileFilter patterns = FileFilterFor(setup.allowedTypes);
        for (const std::string& pattern : patterns.patterns) gtk_file_filter_add_pattern(filter, pattern.c_str());
        gtk_file_filter_set_name(filter, patterns.label.c_str());
        gtk_file_chooser_add_filter(fc, filter);
    }
    std::string chosen;
    if (gtk_dialog_run(GTK_DIALOG(d)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* f = gtk_file_chooser_get_filename(fc)) {
            chosen = f;
            g_free(f);
        }
    }
    gtk_widget_destroy(d);
    if (chosen.empty()) return chosen;
    if (setup.save) return WithAllowedExtension(chosen, setup.allowedTypes);
    if (char* real = realpath(chosen.c_str(), nullptr)) {
        chosen = real;
        std::free(real);
    }
    return chosen;
}

// ---- View implementation ------------------------------------------------------------------

GtkViewImpl::GtkViewImpl(GtkWindowImpl* parent, const Rect& viewFrame, ViewClient* viewClient)
    : frame(viewFrame), client(viewClient) {
    overlay = gtk_overlay_new();
    g_object_ref_sink(overlay);
    area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, int(viewFrame.width), int(viewFrame.height));
    gtk_container_add(GTK_CONTAINER(overlay), area);
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                    GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK |
                                    GDK_LEAVE_NOTIFY_MASK | GDK_FOCUS_CHANGE_MASK);
    gtk_widget_set_can_focus(area, TRUE);
    gtk_widget_set_has_tooltip(area, TRUE);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnButtonPress), this);
    g_signal_connect(area, "button-release-event", G_CALLBACK(OnButtonRelease), this);
    g_signal_connect(area, "motion-notify-event", G_CALLBACK(OnMotion), this);
    g_signal_connect(area, "scroll-event", G_CALLBACK(OnScroll), this);
    g_signal_connect(area, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(area, "query-tooltip", G_CALLBACK(OnQueryTooltip), this);
    // A scroll fraction left from before the pointer went away must not add to the next gesture.
    g_signal_connect(area, "leave-notify-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                         static_cast<GtkViewImpl*>(self)->wheel.Reset();
                         return FALSE;
                     }),
                     this);
    g_signal_connect(overlay, "get-child-position", G_CALLBACK(OnChildPosition), this);
    g_signal_connect(overlay, "destroy", G_CALLBACK(OnDestroy), this);
    if (parent) {
        int top = int(parent->height - viewFrame.y - viewFrame.height);
        gtk_fixed_put(GTK_FIXED(parent->fixed), overlay, int(viewFrame.x), top < 0 ? 0 : top);
        gtk_widget_show_all(overlay);
        gtk_widget_grab_focus(area);
    }
}

GtkViewImpl::~GtkViewImpl() {
    for (GtkTextFieldImpl* f : fields) f->view = nullptr;
    g_signal_handlers_disconnect_by_data(overlay, this);
    if (!widgetsGone) {
        g_signal_handlers_disconnect_by_data(area, this);
        gtk_widget_destroy(overlay);
    }
    g_object_unref(overlay);
}

void GtkViewImpl::OnDestroy(GtkWidget*, gpointer self) {
    // The window went away before the view: stop touching the widgets.
    auto* v = static_cast<GtkViewImpl*>(self);
    v->widgetsGone = true;
    v->area = nullptr;
    // Entries must not outlive the window they were in (the window's last references to
    // them go when it is finalised).
    for (GtkTextFieldImpl* f : v->fields) {
        f->widgetGone = true;
        f->delegate = nullptr;
        g_signal_handlers_disconnect_by_data(f->entry, f);
        g_object_unref(f->entry);
        f->entry = nullptr;
    }
}

gboolean GtkViewImpl::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    v->cairo = cr;
    v->client->DrawRect({x1, v->frame.height - y2, x2 - x1, y2 - y1});
    v->cairo = nullptr;
    return TRUE;
}

bool GtkViewImpl::DrawImage(const ImageRef& image, const Rect& dest) {
    if (!cairo || !image.HasPixels() || dest.width <= 0 || dest.height <= 0) return false;
    double sx = image.width / dest.width, sy = image.height / dest.height;
    double top = Top(dest);
    // Only the pixels under the clip are converted.
    double x1, y1, x2, y2;
    cairo_clip_extents(cairo, &x1, &y1, &x2, &y2);
    int px0 = std::clamp(int(std::floor((x1 - dest.x) * sx)), 0, image.width);
    int px1 = std::clamp(int(std::ceil((x2 - dest.x) * sx)), 0, image.width);
    int py0 = std::clamp(int(std::floor((y1 - top) * sy)), 0, image.height);
    int py1 = std::clamp(int(std::ceil((y2 - top) * sy)), 0, image.height);
    if (px1 <= px0 || py1 <= py0) return true;
    const int w = px1 - px0, h = py1 - py0;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, w);
    if (stride <= 0) return false;
    // The block is kept from frame to frame; a fresh surface would allocate and zero one
    // on every redraw only for it to be overwritten.
    scratch.resize(size_t(stride / 4) * size_t(h));
    ArgbBytesToNativeWords(image.pixels + ptrdiff_t(py0) * image.rowBytes + px0 * 4, image.rowBytes, scratch.data(),
                           stride / 4, w, h);
    cairo_surface_t* s = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(scratch.data()),
                                                             CAIRO_FORMAT_ARGB32, w, h, stride);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return false;
    }
    cairo_surface_set_device_scale(s, sx, sy);
    cairo_save(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cairo, s, dest.x + px0 / sx, top + py0 / sy);
    cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cairo, dest.x + px0 / sx, top + py0 / sy, w / sx, h / sy);
    cairo_fill(cairo);
    cairo_restore(cairo);
    cairo_surface_finish(s);  // nothing may still read the block when the next frame reuses it
    cairo_surface_destroy(s);
    return true;
}

gboolean GtkViewImpl::OnButtonPress(GtkWidget* w, GdkEventButton* e, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    if (e->type != GDK_BUTTON_PRESS) return TRUE;  // the toolkit's own double-click events
    gtk_widget_grab_focus(w);  // ends a running text entry first, as a click on the view does
    GtkSettings* st = gtk_widget_get_settings(w);
    int dblTime = 400, dblDist = 5;
    g_object_get(st, "gtk-double-click-time", &dblTime, "gtk-double-click-distance", &dblDist, nullptr);
    v->clickCount = v->clicks.Press(e->button, e->time, e->x, e->y, guint32(std::max(dblTime, 0)), dblDist);
    if (e->button == 1) v->client->MouseDown(v->ButtonEvent(e));
    if (e->button == 3) v->client->RightMouseDown(v->ButtonEvent(e));
    return TRUE;
}

gboolean GtkViewImpl::OnButtonRelease(GtkWidget*, GdkEventButton* e, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    if (e->button == 1) v->client->MouseUp(v->ButtonEvent(e));
    if (e->button == 3) v->client->RightMouseUp(v->ButtonEvent(e));
    return TRUE;
}

gboolean GtkViewImpl::OnMotion(GtkWidget*, GdkEventMotion* e, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    MouseEvent m{v->ToView(e->x, e->y), ModifierFlagsFromX11(e->state), 1};
    if (e->state & GDK_BUTTON1_MASK)
        v->client->MouseDragged(m);
    else if (e->state & GDK_BUTTON3_MASK)
        v->client->RightMouseDragged(m);
    else
        v->client->MouseMoved(m);
    return TRUE;
}

gboolean GtkViewImpl::OnScroll(GtkWidget*, GdkEventScroll* e, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    int steps = 0;
    switch (e->direction) {
        case GDK_SCROLL_UP: steps = v->wheel.Add(1); break;
        case GDK_SCROLL_DOWN: steps = v->wheel.Add(-1); break;
        case GDK_SCROLL_SMOOTH: {
            double dx = 0, dy = 0;
            gdk_event_get_scroll_deltas(reinterpret_cast<GdkEvent*>(e), &dx, &dy);
            steps = v->wheel.Add(-dy);
            break;
        }
        default: break;
    }
    if (steps != 0) v->client->ScrollWheel({v->ToView(e->x, e->y), ModifierFlagsFromX11(e->state), double(steps)});
    return TRUE;
}

gboolean GtkViewImpl::OnKeyPress(GtkWidget*, GdkEventKey* e, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    if (e->is_modifier) return FALSE;
    const KeyEvent k = KeyEventFromX11(e->keyval, gdk_keyval_to_unicode(e->keyval), e->state);
    return v->client->KeyDown(k) ? TRUE : FALSE;
}

gboolean GtkViewImpl::OnQueryTooltip(GtkWidget*, gint x, gint y, gboolean, GtkTooltip* tip, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    Point p = v->ToView(x, y);
    for (const Rect& r : v->toolTips) {
        if (!r.Contains(p)) continue;
        std::string text = v->client->ToolTipText();
        if (text.empty()) return FALSE;
        gtk_tooltip_set_text(tip, text.c_str());
        GdkRectangle tipArea{int(r.x), int(v->Top(r)), int(r.width), int(r.height)};
        gtk_tooltip_set_tip_area(tip, &tipArea);
        return TRUE;
    }
    return FALSE;
}

gboolean GtkViewImpl::OnChildPosition(GtkOverlay*, GtkWidget* child, GdkRectangle* alloc, gpointer self) {
    auto* v = static_cast<GtkViewImpl*>(self);
    for (GtkTextFieldImpl* f : v->fields) {
        if (f->entry != child) continue;
        const Rect& r = f->setup.frame;
        alloc->x = int(r.x);
        alloc->y = int(v->Top(r));
        alloc->width = std::max(1, int(r.width));
        alloc->height = std::max(1, int(r.height));
        return TRUE;
    }
    return FALSE;
}

// ---- Menus -------------------------------------------------------------------------------

struct MenuRun {
    GMainLoop* loop = nullptr;
    MenuItem* chosen = nullptr;
};

struct MenuLink {
    MenuRun* run;
    MenuItem* item;
};

GtkWidget* BuildGtkMenu(Menu& menu, MenuRun* run) {
    GtkWidget* gm = gtk_menu_new();
    for (int i = 0; i < menu.NumberOfItems(); ++i) {
        MenuItem* it = menu.ItemAt(i);
        GtkWidget* gi;
        if (it->separator) {
            gi = gtk_separator_menu_item_new();
        } else {
            gi = it->stateOn ? gtk_check_menu_item_new_with_label(it->title.c_str())
                             : gtk_menu_item_new_with_label(it->title.c_str());
            if (it->stateOn) gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(gi), TRUE);
            if (it->indentationLevel > 0)
                gtk_widget_set_margin_start(gtk_bin_get_child(GTK_BIN(gi)), 16 * it->indentationLevel);
            gtk_widget_set_sensitive(gi, it->enabled);
            if (it->submenu) {
                gtk_menu_item_set_submenu(GTK_MENU_ITEM(gi), BuildGtkMenu(*it->submenu, run));
            } else {
                auto* link = new MenuLink{run, it};
                g_signal_connect_data(gi, "activate", G_CALLBACK(+[](GtkMenuItem*, gpointer data) {
                                          auto* l = static_cast<MenuLink*>(data);
                                          l->run->chosen = l->item;
                                      }),
                                      link, [](gpointer data, GClosure*) { delete static_cast<MenuLink*>(data); },
                                      GConnectFlags(0));
            }
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(gm), gi);
        gtk_widget_show(gi);
    }
    return gm;
}

void GtkViewImpl::PopUpContextMenu(Menu& menu, const Point& location) {
    if (!area || !gtk_widget_get_realized(area)) return;
    MenuRun run;
    GtkWidget* gm = BuildGtkMenu(menu, &run);
    gtk_menu_attach_to_widget(GTK_MENU(gm), area, nullptr);
    run.loop = g_main_loop_new(nullptr, FALSE);
    g_signal_connect(gm, "deactivate", G_CALLBACK(+[](GtkMenuShell*, gpointer data) {
                         // The chosen item's activation follows the deactivation; quit after it.
                         g_idle_add(
                             [](gpointer l) -> gboolean {
                                 g_main_loop_quit(static_cast<GMainLoop*>(l));
                                 return G_SOURCE_REMOVE;
                             },
                             data);
                     }),
                     run.loop);
    GdkRectangle at{int(location.x), int(frame.height - location.y), 1, 1};
    gtk_menu_popup_at_rect(GTK_MENU(gm), gtk_widget_get_window(area), &at, GDK_GRAVITY_NORTH_WEST,
                           GDK_GRAVITY_NORTH_WEST, nullptr);
    if (gtk_widget_get_visible(gm)) g_main_loop_run(run.loop);
    g_main_loop_unref(run.loop);
    gtk_widget_destroy(gm);
    if (run.chosen && run.chosen->target) run.chosen->target->OnMenuSelection(run.chosen);
}

// ---- Text fields ---------------------------------------------------------------------------

GtkTextFieldImpl::GtkTextFieldImpl(GtkViewImpl* owner, const TextFieldSetup& fieldSetup)
    : view(owner), setup(fieldSetup), delegate(fieldSetup.delegate) {
    entry = gtk_entry_new();
    g_object_ref_sink(entry);
    gtk_entry_set_visibility(GTK_ENTRY(entry), !fieldSetup.secure);
    gtk_entry_set_has_frame(GTK_ENTRY(entry), FALSE);
    gtk_entry_set_text(GTK_ENTRY(entry), fieldSetup.text.c_str());
    if (fieldSetup.alignment >= 0 && fieldSetup.alignment <= 2)
        gtk_entry_set_alignment(GTK_ENTRY(entry), fieldSetup.alignment * 0.5f);
    auto rgba = [](const Color& c) {
        char b[96];
        std::snprintf(b, sizeof b, "rgba(%d,%d,%d,%.3f)", int(std::lround(c.red * 255)), int(std::lround(c.green * 255)),
                      int(std::lround(c.blue * 255)), c.alpha);
        return std::string(b);
    };
    std::string family;
    for (char c : fieldSetup.fontName)
        if (c != '"' && c != '\\' && c != ';' && c != '}') family += c;
    std::string css =
        "entry { font-family: \"" + family + "\"; font-size: " + std::to_string(std::max(1, fieldSetup.fontSize)) +
        "px; color: " + rgba(fieldSetup.textColor) + "; background-color: " + rgba(fieldSetup.backgroundColor) +
        "; background-image: none; border: none; box-shadow: none; outline: none; padding: 0 2px; "
        "min-height: 0; border-radius: 0; }";
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(entry), GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);

    g_signal_connect(entry, "insert-text",
                     G_CALLBACK(+[](GtkEditable* ed, gchar* text, gint len, gint* pos, gpointer self) {
                         auto* f = static_cast<GtkTextFieldImpl*>(self);
                         if (!f->setup.formatter) return;
                         std::string cur = gtk_entry_get_text(GTK_ENTRY(ed));
                         const char* at = g_utf8_offset_to_pointer(cur.c_str(), *pos);
                         size_t offset = size_t(at - cur.c_str());
                         std::string proposed = cur.substr(0, offset) +
                                                std::string(text, len < 0 ? std::strlen(text) : size_t(len)) +
                                                cur.substr(offset);
                         if (!f->setup.formatter->IsPartialStringValid(proposed))
                             g_signal_stop_emission_by_name(ed, "insert-text");
                     }),
                     this);
    g_signal_connect(entry, "activate", G_CALLBACK(+[](GtkEntry*, gpointer self) {
                         auto* f = static_cast<GtkTextFieldImpl*>(self);
                         if (TextFieldDelegate* d = f->delegate) d->ControlTextDidEndEditing(f);
                     }),
                     this);
    g_signal_connect(entry, "focus-out-event", G_CALLBACK(+[](GtkWidget* w, GdkEvent*, gpointer self) -> gboolean {
                         auto* f = static_cast<GtkTextFieldImpl*>(self);
                         // The whole window losing focus leaves the entry running, and a
                         // window being destroyed commits nothing.
                         GtkWidget* top = gtk_widget_get_toplevel(w);
                         if (gWindowsClosing > 0 || gtk_widget_in_destruction(w)) return FALSE;
                         if (gtk_widget_is_toplevel(top) && gtk_window_get_focus(GTK_WINDOW(top)) == w) return FALSE;
                         if (TextFieldDelegate* d = f->delegate) d->ControlTextDidEndEditing(f);
                         return FALSE;
                     }),
                     this);
    g_signal_connect(entry, "key-press-event", G_CALLBACK(+[](GtkWidget*, GdkEventKey* e, gpointer self) -> gboolean {
                         auto* f = static_cast<GtkTextFieldImpl*>(self);
                         if (e->keyval != GDK_KEY_Escape) return FALSE;
                         if (TextFieldDelegate* d = f->delegate) d->ControlTextDidCancel(f);
                         return TRUE;
                     }),
                     this);
    view->fields.insert(this);
    gtk_overlay_add_overlay(GTK_OVERLAY(view->overlay), entry);
    gtk_widget_show(entry);
    gtk_widget_grab_focus(entry);
}

GtkTextFieldImpl::~GtkTextFieldImpl() {
    delegate = nullptr;
    if (view) view->fields.erase(this);
    if (widgetGone) return;
    g_signal_handlers_disconnect_by_data(entry, this);
    gtk_widget_destroy(entry);
    g_object_unref(entry);
}

}  // namespace

std::unique_ptr<Backend> CreateGtkBackend() {
    if (gGtk) return nullptr;  // one per process
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
    return std::make_unique<GtkBackendImpl>();
}

void RunGtkMainLoopFor(double seconds) {
    gint64 end = g_get_monotonic_time() + gint64(seconds * 1e6);
    while (g_get_monotonic_time() < end) {
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
    }
}

bool ReadBackShownPixels(View* view, std::vector<uint8_t>* argb, int* width, int* height) {
    auto* v = dynamic_cast<GtkViewImpl*>(view);
    if (!v || !v->area || !argb) return false;
    GdkWindow* w = gtk_widget_get_window(v->area);
    if (!w || !gdk_window_is_viewable(w)) return false;
    int wd = gtk_widget_get_allocated_width(v->area), ht = gtk_widget_get_allocated_height(v->area);
    GdkPixbuf* pb = gdk_pixbuf_get_from_window(w, 0, 0, wd, ht);
    if (!pb) return false;
    int n = gdk_pixbuf_get_n_channels(pb), stride = gdk_pixbuf_get_rowstride(pb);
    int pw = gdk_pixbuf_get_width(pb), ph = gdk_pixbuf_get_height(pb);
    const guchar* px = gdk_pixbuf_read_pixels(pb);
    argb->assign(size_t(pw) * ph * 4, 0);
    for (int y = 0; y < ph; ++y)
        for (int x = 0; x < pw; ++x) {
            const guchar* s = px + y * stride + x * n;
            uint8_t* d = &(*argb)[(size_t(y) * pw + x) * 4];
            d[0] = n == 4 ? s[3] : 255;
            d[1] = s[0];
            d[2] = s[1];
            d[3] = s[2];
        }
    g_object_unref(pb);
    if (width) *width = pw;
    if (height) *height = ph;
    return true;
}

namespace {

// What the item's accelerator label shows beside the text: the accelerator of the closure
// it watches, when that is marked visible.
std::string ShownAccelerator(GtkWidget* label) {
    if (!GTK_IS_ACCEL_LABEL(label)) return {};
    GClosure* closure = nullptr;
    g_object_get(label, "accel-closure", &closure, nullptr);
    GtkAccelGroup* group = closure ? gtk_accel_group_from_accel_closure(closure) : nullptr;
    auto same = +[](GtkAccelKey*, GClosure* c, gpointer data) -> gboolean { return c == data; };
    GtkAccelKey* key = group ? gtk_accel_group_find(group, same, closure) : nullptr;
    std::string text;
    if (key && (key->accel_flags & GTK_ACCEL_VISIBLE)) {
        gchar* shown = gtk_accelerator_get_label(key->accel_key, key->accel_mods);
        text = shown;
        g_free(shown);
    }
    if (closure) g_closure_unref(closure);
    return text;
}

void CollectMenuItems(GtkWidget* menu, std::vector<std::string>* out) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* c = children; c; c = c->next) {
        GtkWidget* item = GTK_WIDGET(c->data);
        if (!GTK_IS_MENU_ITEM(item) || GTK_IS_SEPARATOR_MENU_ITEM(item)) continue;
        if (GtkWidget* sub = gtk_menu_item_get_submenu(GTK_MENU_ITEM(item)); sub && GTK_IS_MENU_BAR(menu)) {
            CollectMenuItems(sub, out);
            continue;
        }
        const std::string accel = ShownAccelerator(gtk_bin_get_child(GTK_BIN(item)));
        out->push_back(std::string(gtk_menu_item_get_label(GTK_MENU_ITEM(item))) + (accel.empty() ? "" : "\t" + accel));
    }
    g_list_free(children);
}

}  // namespace

std::vector<std::string> ShownMenuBarItems(Window* window) {
    std::vector<std::string> items;
    auto* w = dynamic_cast<GtkWindowImpl*>(window);
    if (w && w->menuBar) CollectMenuItems(w->menuBar, &items);
    return items;
}

void MakeToolkitCriticalsFatal() {
    g_log_set_always_fatal(GLogLevelFlags(G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL));
}

bool ViewOriginOnScreen(View* view, int* x, int* y) {
    auto* v = dynamic_cast<GtkViewImpl*>(view);
    if (!v || !v->area) return false;
    GdkWindow* w = gtk_widget_get_window(v->area);
    if (!w) return false;
    gdk_window_get_origin(w, x, y);
    return true;
}

}  // namespace platform
