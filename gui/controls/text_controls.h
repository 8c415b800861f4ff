// Static and editable texts drawn with the control's text style.
#pragma once

#include "common/cmn_string.h"
#include "gui/control.h"

class ITextControl : public IControl {
public:
    ITextControl(IModuleBase* plug, const IRECT& rect, const IText* pText, const char* str = "");
    bool Draw(IGraphics* pGraphics) override;
    // Scales the font size from the unscaled style; every other style field stays.
    void AfterGUIResize(double guiScale) override;

    // The part of the rectangle the text may take: unscaled insets from its left, top and
    // right edges, which follow the GUI scale. The text is placed in that part as its style
    // says and never drawn outside it.
    void SetTextInsets(int left, int top, int right);
    IRECT GetTextRECT() const;

    // Marks the control dirty only when the text changes.
    void SetTextFromPlug(const char* str);
    // Does not mark the control dirty.
    void SetTextColor(const IColor& color) { mText.color = color; }
    const char* GetTextString() const { return mStr.Get(); }

protected:
    // Draws `str` with `pText` into the draw rectangle; nothing (and true) when empty.
    bool DrawString(IGraphics* pGraphics, IText* pText, const char* str);

    CMN_String mStr{nullptr, 128};
    IText mUnscaledText;
    int mInsetL = 0, mInsetT = 0, mInsetR = 0;
    double mScale = 1.0;
};

// A text that opens a text entry for its parameter on a click; a secure one shows
// only asterisks.
class IEditableTextControl : public ITextControl {
public:
    IEditableTextControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText, const char* str,
                         bool flag = false, bool secure = false);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    bool Draw(IGraphics* pGraphics) override;
    // Null means no background.
    void SetBackgroundColor(const IColor* pColor);

protected:
    IRECT mTextEntryRect;
    IColor mBGColor{0, 0, 0, 0};
    bool mFlag;
    bool mSecure;
};

// A second text, drawn with the control's style at size 10.
class ITextControl2 : public ITextControl {
public:
    ITextControl2(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText, void* pUser = nullptr);
    bool Draw(IGraphics* pGraphics) override;
    void AfterGUIResize(double guiScale) override;

    void SetText2(const char* str);
    void SetTextColor2(const IColor& color) { mText.color = color; }

protected:
    CMN_String mStr2{nullptr, 128};
    IText mText2;
    void* mUser;
};

// Draws `str` inside `r` and nowhere else: at the style's size when it is no wider than
// r, else at the largest size down to two thirds of it that is, on the middle of the line
// the style's size takes; a text wider still starts at r's left edge and is cut at its
// right one. Every text control draws through it, whatever the length of its text.
bool DrawTextInside(IGraphics* pGraphics, IText* pText, const char* str, const IRECT& r);

// Asterisks standing for a secure text of `length` characters, at most 99 of them.
const char* SecureMask(int length);
