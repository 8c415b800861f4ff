// The panel view of the window back end and its helpers: the view runs the redraw
// timer, draws, and turns window-system input into IGraphics calls; the menu classes
// show an IPopupMenu and report the choice; the formatter filters text entry.
#pragma once

#include <memory>
#include <string>

#include "common/gui_types.h"
#include "platform/platform.h"

class IControl;
class IGraphicsMac;
class IParam;
class IPopupMenu;

// UTF-8 text for the window system; a null text becomes an empty one.
std::string ToNSString(const char* text);

class IGraphicsMenuRcvr_vQDEditor_sa : public platform::MenuReceiver {
public:
    void OnMenuSelection(platform::MenuItem* item) override { nsMenuItem = item; }
    platform::MenuItem* MenuItem() const { return nsMenuItem; }

private:
    platform::MenuItem* nsMenuItem = nullptr;
};

class IGraphicsNSMenu_vQDEditor_sa : public platform::Menu {
public:
    IGraphicsNSMenu_vQDEditor_sa(IPopupMenu* menu, IGraphicsMenuRcvr_vQDEditor_sa* receiver);
    IPopupMenu* AssociatedIPopupMenu() const { return mIPopupMenu; }

private:
    IPopupMenu* mIPopupMenu;
};

class CocoaFormatter_vQDEditor_sa : public platform::TextFieldFormatter {
public:
    bool IsPartialStringValid(const std::string& partial) override;
    // An empty set with filtering on refuses every character; `filter` false: no filter.
    void setAcceptableCharacterSet(const std::string& characters, bool filter = true) {
        filterCharacterSet = characters;
        hasFilter = filter;
    }
    void setMaximumLength(int length) { maxLength = length; }
    void setMaximumValue(int value) { maxValue = value; }

private:
    // The formatter's own field names, which its users know it by, not the house's mName.
    std::string filterCharacterSet;
    bool hasFilter = false;
    int maxLength = 0;  // 0: no limit
    int maxValue = 0;   // 0: no limit
};

class IGraphicsCocoa_vQDEditor_sa : public platform::ViewClient, public platform::TextFieldDelegate {
public:
    // Makes the view of the panel's size in `parent` (none when null) and starts its
    // redraw timer at the engine's frame rate.
    IGraphicsCocoa_vQDEditor_sa(IGraphicsMac* graphics, platform::Window* parent);
    ~IGraphicsCocoa_vQDEditor_sa() override;

    // ViewClient
    void DrawRect(const platform::Rect& rect) override;
    void MouseDown(const platform::MouseEvent& e) override;
    void MouseUp(const platform::MouseEvent& e) override;
    void MouseDragged(const platform::MouseEvent& e) override;
    void RightMouseDown(const platform::MouseEvent& e) override;
    void RightMouseUp(const platform::MouseEvent& e) override;
    void RightMouseDragged(const platform::MouseEvent& e) override;
    void MouseMoved(const platform::MouseEvent& e) override;
    void ScrollWheel(const platform::WheelEvent& e) override;
    bool KeyDown(const platform::KeyEvent& e) override;
    std::string ToolTipText() override;

    // TextFieldDelegate
    void ControlTextDidEndEditing(platform::TextField* field) override;
    void ControlTextDidCancel(platform::TextField* field) override;

    void onTimer();
    void getMouseXY(const platform::MouseEvent& e, int* x, int* y);
    void killTimer();
    void removeFromSuperview();
    IPopupMenu* createIPopupMenu(IPopupMenu* menu, const platform::Rect& rect);
    void createTextEntry(IControl* control, IParam* param, const IText* style, const char* text,
                         const platform::Rect& rect);
    void endUserInput();
    void registerToolTip(const IRECT* rect);
    void removeAllToolTips();

    bool isOpaque() const { return mGraphics != nullptr; }
    IGraphicsMac* graphics() const { return mGraphics; }
    void detachGraphics() { mGraphics = nullptr; }
    platform::View* nativeView() const { return mView.get(); }
    bool textEntryRunning() const { return mTextFieldView || mSecureTextFieldView; }

    // GUI rectangle to view rectangle, and back, for a panel `height` pixels high.
    static platform::Rect ToViewRect(const IRECT& r, int height);
    static IRECT ToGUIRect(const platform::Rect& r, int height);

private:
    IMouseMod LeftMod(unsigned flags) const;
    IMouseMod RightMod(unsigned flags) const;
    // Maps the event's position and modifiers, then calls `call` (x, y, modifiers).
    template <class Call>
    void Dispatch(const platform::MouseEvent& e, bool right, Call&& call);
    // Release and drag are the same for both buttons but for the modifiers.
    void ButtonUp(const platform::MouseEvent& e, bool right);
    void ButtonDragged(const platform::MouseEvent& e, bool right);
    // Removes the text fields without telling their delegate (this view).
    void DropTextFields();

    IGraphicsMac* mGraphics;
    std::unique_ptr<platform::Timer> mTimer;
    std::unique_ptr<platform::TextField> mTextFieldView;
    std::unique_ptr<platform::TextField> mSecureTextFieldView;
    IControl* mEdControl = nullptr;
    IParam* mEdParam = nullptr;
    int mPrevX = 0, mPrevY = 0;
    std::unique_ptr<CocoaFormatter_vQDEditor_sa> mFormatter;
    std::unique_ptr<platform::View> mView;
};
