#include "gui/cocoa_view.h"

#include <cstdio>
#include <cstdlib>

#include "gui/control.h"
#include "gui/igraphics_mac.h"
#include "gui/popup_menu.h"
#include "plug/param.h"

using platform::MouseEvent;
using platform::Rect;

namespace {

// Characters, not bytes: a UTF-8 sequence counts once.
int CharacterCount(const std::string& text) {
    int n = 0;
    for (char c : text) n += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return n;
}

}  // namespace

std::string ToNSString(const char* text) { return text ? text : ""; }

// ---- Menus ----------------------------------------------------------------------------------

IGraphicsNSMenu_vQDEditor_sa::IGraphicsNSMenu_vQDEditor_sa(IPopupMenu* menu, IGraphicsMenuRcvr_vQDEditor_sa* receiver)
    : mIPopupMenu(menu) {
    static const char* const kPrefixFormats[] = {nullptr, "%1d: ", "%02d: ", "%03d: "};
    const int prefix = menu->GetPrefix();
    for (int i = 0; i < menu->GetNItems(); ++i) {
        IPopupMenuItem* item = menu->GetItem(i);
        std::string title = ToNSString(item->GetText());
        if (prefix >= 1 && prefix <= 3) {
            char number[16];
            std::snprintf(number, sizeof number, kPrefixFormats[prefix], i + 1);
            title.insert(0, number);
        }
        if (IPopupMenu* sub = item->GetSubmenu()) {
            platform::MenuItem& entry = AddItem(title, nullptr);
            SetSubmenu(entry, std::make_unique<IGraphicsNSMenu_vQDEditor_sa>(sub, receiver));
        } else if (item->GetIsSeparator()) {
            AddSeparatorItem();
        } else {
            platform::MenuItem& entry = AddItem(title, receiver);
            entry.indentationLevel = item->GetIsTitle() ? 1 : 0;
            entry.stateOn = item->GetChecked();
            entry.enabled = item->GetEnabled();
        }
    }
}

// ---- Formatter ------------------------------------------------------------------------------

bool CocoaFormatter_vQDEditor_sa::IsPartialStringValid(const std::string& partial) {
    if (hasFilter) {
        for (char c : partial)
            if (filterCharacterSet.find(c) == std::string::npos) return false;
    }
    if (maxLength != 0 && CharacterCount(partial) > maxLength) return false;
    if (maxValue != 0) return std::atoi(partial.c_str()) <= maxValue;
    return true;
}

// ---- View -----------------------------------------------------------------------------------

Rect IGraphicsCocoa_vQDEditor_sa::ToViewRect(const IRECT& r, int h) {
    return {double(r.L), double(h - 1 - r.B), double(r.R - r.L + 1), double(r.B + 1 - r.T)};
}

IRECT IGraphicsCocoa_vQDEditor_sa::ToGUIRect(const Rect& r, int h) {
    IRECT g;
    g.L = int(r.x);
    g.R = g.L + int(r.width);
    g.T = h - (int(r.y) + int(r.height));
    g.B = h - int(r.y);
    return g;
}

IGraphicsCocoa_vQDEditor_sa::IGraphicsCocoa_vQDEditor_sa(IGraphicsMac* graphics, platform::Window* parent)
    : mGraphics(graphics) {
    platform::Backend* backend = platform::CurrentBackend();
    if (!backend) return;
    mView = backend->CreateView(parent, {0, 0, double(graphics->Width()), double(graphics->Height())}, this);
    mTimer = backend->ScheduleTimer(1.0 / graphics->FPS(), [this] { onTimer(); });
}

IGraphicsCocoa_vQDEditor_sa::~IGraphicsCocoa_vQDEditor_sa() {
    killTimer();
    DropTextFields();  // before the view they sit on
    mView.reset();
}

void IGraphicsCocoa_vQDEditor_sa::onTimer() {
    if (!mGraphics || !mView) return;
    IRECT r;
    if (!mGraphics->IsDirty(&r)) return;
    if (mView->CanDraw()) {
        mView->SetNeedsDisplayInRect(ToViewRect(r, mGraphics->Height()));
    } else {
        // A hidden or minimised window is never asked to draw, so the controls would
        // stay dirty and the idle hook would never run again. Drawing into the back
        // buffer alone cleans them; the window repaints in full when it shows again.
        mGraphics->Draw(&r);
    }
}

void IGraphicsCocoa_vQDEditor_sa::DrawRect(const Rect& rect) {
    if (!mGraphics) return;
    IRECT r = ToGUIRect(rect, mGraphics->Height());
    mGraphics->Draw(&r);
}

void IGraphicsCocoa_vQDEditor_sa::getMouseXY(const MouseEvent& e, int* x, int* y) {
    if (!mGraphics) return;
    // The offsets of 2 and 3 pixels are part of how the panel has always mapped the
    // pointer; the skins' hit areas are laid out for them.
    *x = int(e.location.x) - 2;
    *y = mGraphics->Height() - int(e.location.y) - 3;
    mPrevX = *x;
    mPrevY = *y;
}

IMouseMod IGraphicsCocoa_vQDEditor_sa::LeftMod(unsigned f) const {
    return IMouseMod(true, (f & platform::kCommandKeyMask) != 0, (f & platform::kShiftKeyMask) != 0,
                     (f & platform::kControlKeyMask) != 0, (f & platform::kAlternateKeyMask) != 0);
}

IMouseMod IGraphicsCocoa_vQDEditor_sa::RightMod(unsigned f) const {
    return IMouseMod(false, true, (f & platform::kShiftKeyMask) != 0, (f & platform::kControlKeyMask) != 0,
                     (f & platform::kAlternateKeyMask) != 0);
}

template <class Call>
void IGraphicsCocoa_vQDEditor_sa::Dispatch(const MouseEvent& e, bool right, Call&& call) {
    if (!mGraphics) return;
    int x = 0, y = 0;
    getMouseXY(e, &x, &y);
    IMouseMod m = right ? RightMod(e.modifierFlags) : LeftMod(e.modifierFlags);
    call(x, y, &m);
}

void IGraphicsCocoa_vQDEditor_sa::MouseDown(const MouseEvent& e) {
    Dispatch(e, false, [&](int x, int y, IMouseMod* m) {
        if (e.clickCount >= 2)
            mGraphics->OnMouseDblClick(x, y, m);
        else
            mGraphics->OnMouseDown(x, y, m);
    });
}

void IGraphicsCocoa_vQDEditor_sa::ButtonUp(const MouseEvent& e, bool right) {
    Dispatch(e, right, [&](int x, int y, IMouseMod* m) { mGraphics->OnMouseUp(x, y, m); });
}

void IGraphicsCocoa_vQDEditor_sa::ButtonDragged(const MouseEvent& e, bool right) {
    Dispatch(e, right, [&](int x, int y, IMouseMod* m) {
        if (!mTextFieldView) mGraphics->OnMouseDrag(x, y, m);
    });
}

void IGraphicsCocoa_vQDEditor_sa::MouseUp(const MouseEvent& e) { ButtonUp(e, false); }

void IGraphicsCocoa_vQDEditor_sa::MouseDragged(const MouseEvent& e) { ButtonDragged(e, false); }

void IGraphicsCocoa_vQDEditor_sa::RightMouseDown(const MouseEvent& e) {
    Dispatch(e, true, [&](int x, int y, IMouseMod* m) { mGraphics->OnMouseDown(x, y, m); });
}

void IGraphicsCocoa_vQDEditor_sa::RightMouseUp(const MouseEvent& e) { ButtonUp(e, true); }

void IGraphicsCocoa_vQDEditor_sa::RightMouseDragged(const MouseEvent& e) { ButtonDragged(e, true); }

void IGraphicsCocoa_vQDEditor_sa::MouseMoved(const MouseEvent& e) {
    Dispatch(e, false, [&](int x, int y, IMouseMod* m) { mGraphics->OnMouseOver(x, y, m); });
}

void IGraphicsCocoa_vQDEditor_sa::ScrollWheel(const platform::WheelEvent& e) {
    if (!mGraphics) return;
    if (mTextFieldView) endUserInput();
    Dispatch({e.location, e.modifierFlags, 1}, false,
             [&](int x, int y, IMouseMod* m) { mGraphics->OnMouseWheel(x, y, m, int(e.deltaY)); });
}

bool IGraphicsCocoa_vQDEditor_sa::KeyDown(const platform::KeyEvent& e) {
    const std::string& chars = e.charactersIgnoringModifiers;
    if (CharacterCount(chars) != 1) return true;  // composed input is dropped

    int code = -1;
    switch (e.keyCode) {
        case platform::kKeyCodeLeft: code = KEY_LEFTARROW; break;
        case platform::kKeyCodeRight: code = KEY_RIGHTARROW; break;
        case platform::kKeyCodeDown: code = KEY_DOWNARROW; break;
        case platform::kKeyCodeUp: code = KEY_UPARROW; break;
        case platform::kKeyCodeSpace: code = KEY_SPACE; break;
        default: {
            char c = chars.size() == 1 ? chars[0] : 0;
            if (c >= '0' && c <= '9') code = KEY_DIGIT_0 + (c - '0');
            else if (c >= 'A' && c <= 'Z') code = KEY_ALPHA_A + (c - 'A');
            else if (c >= 'a' && c <= 'z') code = KEY_ALPHA_A + (c - 'a');
        }
    }
    if (code < 0) return false;  // to the next responder
    if (!mGraphics) return false;
    return mGraphics->OnKeyDown(mPrevX, mPrevY, code);
}

void IGraphicsCocoa_vQDEditor_sa::killTimer() {
    if (mTimer) mTimer->Invalidate();
    mTimer.reset();
}

void IGraphicsCocoa_vQDEditor_sa::removeFromSuperview() {
    if (mTextFieldView || mSecureTextFieldView) endUserInput();
    if (IGraphicsMac* g = mGraphics) {
        mGraphics = nullptr;
        g->CloseWindow();
    }
    removeAllToolTips();
    killTimer();
    mView.reset();
}

IPopupMenu* IGraphicsCocoa_vQDEditor_sa::createIPopupMenu(IPopupMenu* menu, const Rect& rect) {
    if (!menu || !mView) return nullptr;
    IGraphicsMenuRcvr_vQDEditor_sa receiver;
    IGraphicsNSMenu_vQDEditor_sa nsMenu(menu, &receiver);
    // Just below the rectangle's bottom edge (view y grows upwards).
    mView->PopUpContextMenu(nsMenu, {rect.x, rect.y - 4.0});
    platform::MenuItem* item = receiver.MenuItem();
    if (!item) return nullptr;
    auto* owner = dynamic_cast<IGraphicsNSMenu_vQDEditor_sa*>(item->menu);
    IPopupMenu* chosen = owner ? owner->AssociatedIPopupMenu() : nullptr;
    int index = owner ? owner->IndexOfItem(item) : -1;
    if (!chosen || index < 0) return nullptr;
    chosen->SetChosenItemIdx(index);
    return chosen;
}

void IGraphicsCocoa_vQDEditor_sa::createTextEntry(IControl* control, IParam* param, const IText* style,
                                                  const char* text, const Rect& rect) {
    if (!control || !mView) return;
    // Two entries at once would send the typed text to the wrong control: the running
    // one is committed and ended first.
    if (mTextFieldView)
        ControlTextDidEndEditing(mTextFieldView.get());
    else if (mSecureTextFieldView)
        ControlTextDidEndEditing(mSecureTextFieldView.get());
    if (!mView) return;  // the commit may have taken the view off its window

    static const IText kDefaultStyle;
    if (!style) style = &kDefaultStyle;
    platform::TextFieldSetup setup;
    setup.frame = rect;
    setup.secure = style->entryKind == IText::kEntrySecure;
    setup.fontName = style->font;
    setup.fontSize = int(style->size * 0.9);
    setup.alignment = style->align >= 0 && style->align <= 2 ? style->align : -1;
    auto color = [](const IColor& c) {
        return platform::Color{c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0};
    };
    setup.textColor = color(style->textEntryFGColor);
    setup.backgroundColor = color(style->textEntryBGColor);
    setup.text = ToNSString(text);
    setup.delegate = this;
    mFormatter.reset();
    if (param) {
        mFormatter = std::make_unique<CocoaFormatter_vQDEditor_sa>();
        const char* chars = "";
        switch (param->Type()) {
            case IParam::kTypeBool:
            case IParam::kTypeInt:
            case IParam::kTypeEnum: chars = "0123456789-+"; break;
            case IParam::kTypeDouble: chars = "0123456789.-+"; break;
            default: break;
        }
        mFormatter->setAcceptableCharacterSet(chars);
        mFormatter->setMaximumLength(control->GetTextEntryLength());
        setup.formatter = mFormatter.get();
    }
    std::unique_ptr<platform::TextField> field = mView->AddTextField(setup);
    if (!field) return;
    (setup.secure ? mSecureTextFieldView : mTextFieldView) = std::move(field);
    mView->MakeKeyAndOrderFront();
    mEdParam = param;
    mEdControl = control;
}

void IGraphicsCocoa_vQDEditor_sa::DropTextFields() {
    // A field losing its focus as it goes must not report an end of editing.
    for (auto* field : {&mTextFieldView, &mSecureTextFieldView}) {
        if (*field) (*field)->SetDelegate(nullptr);
        field->reset();
    }
}

void IGraphicsCocoa_vQDEditor_sa::endUserInput() {
    DropTextFields();
    if (mView) mView->MakeFirstResponder();
    mFormatter.reset();  // only after the fields, which use it
    mEdControl = nullptr;
    mEdParam = nullptr;
}

void IGraphicsCocoa_vQDEditor_sa::ControlTextDidEndEditing(platform::TextField*) {
    platform::TextField* field = mTextFieldView ? mTextFieldView.get() : mSecureTextFieldView.get();
    if (!field) return;
    std::string text = field->StringValue();
    IControl* control = mEdControl;
    IParam* param = mEdParam;
    // The field goes first, so whatever the control does with the text cannot meet it.
    endUserInput();
    if (mGraphics && control) {
        if (param)
            mGraphics->SetFromStringAfterPrompt(control, param, text.c_str());
        else
            control->TextFromTextEntry(text.c_str());
    }
    if (mView) mView->SetNeedsDisplay();
}

void IGraphicsCocoa_vQDEditor_sa::ControlTextDidCancel(platform::TextField*) {
    endUserInput();
    if (mView) mView->SetNeedsDisplay();
}

void IGraphicsCocoa_vQDEditor_sa::registerToolTip(const IRECT* rect) {
    if (mView && mGraphics && rect) mView->AddToolTipRect(ToViewRect(*rect, mGraphics->Height()));
}

void IGraphicsCocoa_vQDEditor_sa::removeAllToolTips() {
    if (mView) mView->RemoveAllToolTips();
}

std::string IGraphicsCocoa_vQDEditor_sa::ToolTipText() {
    if (!mGraphics) return {};
    int idx = mGraphics->GetMouseOver();
    // The index may be stale (-1, or past a list that shrank).
    IControl* c = idx >= 0 && idx < mGraphics->NControls() ? mGraphics->GetControl(idx) : nullptr;
    if (!c) return {};
    return ToNSString(c->GetTooltip());
}
