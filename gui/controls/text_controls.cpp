#include "gui/controls/text_controls.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gui/igraphics.h"
#include "plug/module_base.h"

namespace {

constexpr int kMaxSecureMask = 99;

// The style a text control draws with at a GUI scale: every field of the current
// style but the size (from the unscaled one) and the cached font (made anew).
IText ScaledStyle(const IText& current, int unscaledSize, double guiScale) {
    IText t = current;
    t.mSize = int(unscaledSize * guiScale);
    t.mCached = nullptr;
    return t;
}

}  // namespace

const char* SecureMask(int length) {
    static const std::string mask(kMaxSecureMask, '*');
    return mask.c_str() + kMaxSecureMask - std::clamp(length, 0, kMaxSecureMask);
}

ITextControl::ITextControl(IModuleBase* plug, const IRECT& rect, const IText* pText, const char* str)
    : IControl(plug, rect, -1) {
    if (pText) mText = *pText;
    mUnscaledText = mText;
    mStr.Set(str ? str : "");
    ITextControl::AfterGUIResize(1.0);
    mDisablePrompt = false;
}

bool ITextControl::DrawString(IGraphics* pGraphics, IText* pText, const char* str) {
    if (!str || !*str) return true;
    return pGraphics->DrawIText(pText, str, &mRECT);
}

bool ITextControl::Draw(IGraphics* pGraphics) { return DrawString(pGraphics, &mText, mStr.Get()); }

void ITextControl::AfterGUIResize(double guiScale) {
    // Only the size follows the scale: the entry kind must stay, or a secure
    // field would open a visible entry after a resize.
    mText = ScaledStyle(mText, mUnscaledText.mSize, guiScale);
}

void ITextControl::SetTextFromPlug(const char* str) {
    if (!str) str = "";
    if (std::strcmp(mStr.Get(), str) == 0) return;
    SetDirty(false);
    mStr.Set(str);
}

IEditableTextControl::IEditableTextControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText,
                                           const char* str, bool flag, bool secure)
    : ITextControl(plug, rect, pText, str), mTextEntryRect(rect), mFlag(flag), mSecure(secure) {
    mParamIdx = paramIdx;
    mDblAsSingleClick = true;
}

void IEditableTextControl::OnMouseDown(int, int, IMouseMod*) {
    IParam* param = mPlug ? mPlug->GetParam(mParamIdx) : nullptr;
    IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
    if (!param || !graphics || mDisablePrompt) return;
    graphics->PromptUserInput(this, param, &mTextEntryRect);
    mRedraw = true;
}

bool IEditableTextControl::Draw(IGraphics* pGraphics) {
    if (mBGColor.A != 0 && !pGraphics->FillIRect(&mBGColor, &mRECT)) return false;
    if (mSecure) return DrawString(pGraphics, &mText, SecureMask(mStr.GetLength()));
    return ITextControl::Draw(pGraphics);
}

void IEditableTextControl::SetBackgroundColor(const IColor* pColor) {
    if (pColor)
        mBGColor = *pColor;
    else
        mBGColor.A = 0;
}

ITextControl2::ITextControl2(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText, void* pUser)
    : ITextControl(plug, rect, pText, ""), mUser(pUser) {
    // The second text keeps the default face and size; it takes the given colours,
    // style, alignment, orientation and quality.
    IText given = pText ? *pText : IText();
    mText2 = IText();
    mText = IText(10, given.mColor, nullptr, given.mStyle, given.mAlign, given.mOrientation, given.mQuality);
    mText.mTextEntryBGColor = given.mTextEntryBGColor;
    mText.mTextEntryFGColor = given.mTextEntryFGColor;
    mParamIdx = paramIdx;
    mDisablePrompt = false;
}

bool ITextControl2::Draw(IGraphics* pGraphics) { return DrawString(pGraphics, &mText, mStr2.Get()); }

void ITextControl2::AfterGUIResize(double guiScale) { mText = ScaledStyle(mText, mText2.mSize, guiScale); }

void ITextControl2::SetText2(const char* str) {
    if (!str) str = "";
    if (std::strcmp(mStr2.Get(), str) == 0) return;
    SetDirty(false);
    mStr2.Set(str);
}
