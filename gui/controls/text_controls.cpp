#include "gui/controls/text_controls.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "gui/igraphics.h"
#include "plug/module_base.h"

namespace {

constexpr int kMaxSecureMask = 99;

// The style a text control draws with at a GUI scale: every field of the current
// style but the size (from the unscaled one) and the cached font (made anew).
IText ScaledStyle(const IText& current, int unscaledSize, double guiScale) {
    IText t = current;
    t.size = int(unscaledSize * guiScale);
    t.cached = nullptr;
    return t;
}

// The width and height of `str` in `style`; 0 x 0 when no font can be made for it.
std::pair<int, int> Measured(IGraphics* pGraphics, const IText& style, const char* str) {
    IText near = style;
    near.align = IText::kAlignNear;
    IRECT m;
    if (!pGraphics->MeasureIText(&near, str, &m)) return {0, 0};
    return {m.R, m.B - m.T};
}

}  // namespace

bool DrawTextInside(IGraphics* pGraphics, IText* pText, const char* str, const IRECT& r) {
    if (!str || !*str) return true;
    if (!pGraphics || !pText) return false;
    const auto [width, height] = Measured(pGraphics, *pText, str);
    if (width <= r.W()) return pGraphics->DrawITextInside(pText, str, r, width, height);
    // The largest size down to two thirds that fits, found by halving the sizes left (a
    // text is no narrower at a larger size), so an absurd size costs a few measures.
    IText smaller = *pText;
    auto measuredAt = [&](int size) {
        smaller.size = size;
        smaller.cached = nullptr;
        return Measured(pGraphics, smaller, str);
    };
    const int floor = int(std::max<int64_t>(1, (2 * int64_t(pText->size) + 2) / 3));
    int lo = floor, hi = std::max(pText->size, 1) - 1, fits = 0;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        if (measuredAt(mid).first <= r.W())
            fits = mid, lo = mid + 1;
        else
            hi = mid - 1;
    }
    std::pair<int, int> size{width, height};
    if (fits > 0)
        size = measuredAt(fits);
    else if (floor < pText->size)
        size = measuredAt(floor);
    else
        smaller = *pText;
    if (size.first > r.W()) smaller.align = IText::kAlignNear;  // its beginning shows
    const IRECT line(r.L, r.T + std::max(0, height - size.second) / 2, r.R, r.B);
    return pGraphics->DrawITextInside(&smaller, str, line, size.first, size.second);
}

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
    return DrawTextInside(pGraphics, pText, str, GetTextRECT());
}

bool ITextControl::Draw(IGraphics* pGraphics) { return DrawString(pGraphics, &mText, mStr.Get()); }

void ITextControl::AfterGUIResize(double guiScale) {
    // Only the size follows the scale: the entry kind must stay, or a secure
    // field would open a visible entry after a resize.
    mText = ScaledStyle(mText, mUnscaledText.size, guiScale);
    mScale = guiScale;
}

void ITextControl::SetTextInsets(int left, int top, int right) {
    mInsetL = left;
    mInsetT = top;
    mInsetR = right;
}

IRECT ITextControl::GetTextRECT() const {
    auto scaled = [this](int inset) { return int(std::lround(inset * mScale)); };
    return IRECT(mRECT.L + scaled(mInsetL), std::min(mRECT.T + scaled(mInsetT), mRECT.B), mRECT.R - scaled(mInsetR),
                 mRECT.B);
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
    mText = IText(10, given.color, nullptr, given.style, given.align, given.orientation, given.quality);
    mText.textEntryBGColor = given.textEntryBGColor;
    mText.textEntryFGColor = given.textEntryFGColor;
    mParamIdx = paramIdx;
    mDisablePrompt = false;
}

bool ITextControl2::Draw(IGraphics* pGraphics) { return DrawString(pGraphics, &mText, mStr2.Get()); }

void ITextControl2::AfterGUIResize(double guiScale) {
    mText = ScaledStyle(mText, mText2.size, guiScale);
    mScale = guiScale;
}

void ITextControl2::SetText2(const char* str) {
    if (!str) str = "";
    if (std::strcmp(mStr2.Get(), str) == 0) return;
    SetDirty(false);
    mStr2.Set(str);
}
