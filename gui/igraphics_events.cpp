// Routing of mouse, wheel and key input to the controls, and the parameter prompt.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "gui/control.h"
#include "gui/igraphics.h"
#include "gui/popup_menu.h"
#include "plug/module_base.h"

int IGraphics::FindHitControl(int x, int y, bool mouseOver) const {
    for (int i = NControls() - 1; i >= 0; --i) {
        IControl* control = GetControl(i);
        if (control->IsHidden()) continue;
        if (control->IsGrayed() && !(mouseOver && control->GetMOWhenGrayed())) continue;
        if (control->IsHit(x, y)) return i;
    }
    return -1;
}

int IGraphics::FindMouseControl(int x, int y, bool mouseOver) const {
    return mMouseCapture >= 0 ? mMouseCapture : FindHitControl(x, y, mouseOver);
}

void IGraphics::ClearMouseCapture() {
    mMouseCapture = -1;
    mMouseX = mMouseY = -1;
}

int IGraphics::GetLiveEditControlIdx(int x, int y) const {
    if (mLiveEditSelected >= 0) return mLiveEditSelected;
    for (int i = NControls() - 1 - NFixedTrailingControls(); i >= 0; --i) {
        const IControl* control = GetControl(i);
        const IRECT* draw = control->GetRECT();
        const IRECT* target = control->GetTargetRECT();
        switch (mLiveEditMode) {
        case 0:
            if (draw->Contains(x, y) && *draw == *target) return i;
            break;
        case 1:
            if (draw->Contains(x, y)) return i;
            break;
        case 2:
            if (target->Contains(x, y)) return i;
            break;
        default:
            return -1;
        }
    }
    return -1;
}

void IGraphics::OnMouseDown(int x, int y, IMouseMod* pMod) {
    const int liveIdx = GetLiveEditControlIdx(x, y);
    if (liveIdx >= 0) mLiveEditSelected = liveIdx;
    if (pMod) mMouseMod = *pMod;
    ClearMouseCapture();
    const int c = FindHitControl(x, y, false);
    if (c < 0) return;
    mMouseCapture = c;
    mMouseX = x;
    mMouseY = y;
    IControl* control = GetControl(c);
    const int paramIdx = control->ParamIdx();
    if (paramIdx >= 0 && mPlug) mPlug->BeginInformHostOfParamChange(paramIdx);
    if (ControlGetsMouse()) control->OnMouseDown(x, y, pMod);
}

void IGraphics::OnMouseUp(int x, int y, IMouseMod* pMod) {
    mLiveEditSelected = -1;
    if (pMod) {
        mMouseMod.L = pMod->L;
        mMouseMod.R = pMod->R;
        mMouseMod.S = pMod->S;
        mMouseMod.A = pMod->A;
    }
    mMouseMod.C = false;
    // The event names the button that was released; the copy keeps what is still down.
    mMouseMod.L = mMouseMod.R = false;
    const int c = mMouseCapture >= 0 ? mMouseCapture : FindHitControl(x, y, false);
    ClearMouseCapture();
    IControl* control = GetControl(c);
    if (!control) return;
    const int paramIdx = control->ParamIdx();
    if (ControlGetsMouse()) control->OnMouseUp(x, y, pMod);
    if (paramIdx >= 0 && mPlug) mPlug->EndInformHostOfParamChange(paramIdx);
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* pMod) {
    mMouseDragged = true;
    if (pMod) {
        mMouseMod.S = pMod->S;
        mMouseMod.A = pMod->A;
    }
    IControl* control = GetControl(mMouseCapture);
    if (!control) return;
    // Deltas run from the previous drag event, not from the press.
    const int dX = x - mMouseX, dY = y - mMouseY;
    if (dX == 0 && dY == 0) return;
    mMouseX = x;
    mMouseY = y;
    if (ControlGetsMouse()) control->OnMouseDrag(x, y, dX, dY, pMod);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* pMod) {
    ClearMouseCapture();
    const int c = FindHitControl(x, y, false);
    IControl* control = GetControl(c);
    if (!control) return false;
    if (!control->GetDblAsSingleClick()) {
        if (ControlGetsMouse()) control->OnMouseDblClick(x, y, pMod);
        return false;
    }
    mMouseCapture = c;
    mMouseX = x;
    mMouseY = y;
    if (ControlGetsMouse()) control->OnMouseDown(x, y, pMod);
    return true;
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* pMod) {
    if (pMod) mMouseMod.S = pMod->S;
    if (!mHandleMouseOver) return false;
    const int c = mMouseCapture >= 0 ? mMouseCapture : FindHitControl(x, y, true);
    IControl* control = GetControl(c);
    if (!control) return true;
    mMouseX = x;
    mMouseY = y;
    control->OnMouseOver(x, y, pMod);
    // The new control hears of the mouse before the old one hears it has gone.
    if (mMouseOver >= 0 && mMouseOver != c)
        if (IControl* previous = GetControl(mMouseOver)) previous->OnMouseOut();
    mMouseOver = c;
    return true;
}

void IGraphics::OnMouseOut() {
    const int n = NControls();
    for (int i = 0; i < n; ++i) GetControl(i)->OnMouseOut();
    mMouseOver = -1;
}

void IGraphics::OnMouseWheel(int x, int y, IMouseMod* pMod, int d) {
    const int c = mMouseCapture >= 0 ? mMouseCapture : FindHitControl(x, y, false);
    if (IControl* control = GetControl(c)) control->OnMouseWheel(x, y, pMod, d);
}

bool IGraphics::OnKeyDown(int x, int y, int key) {
    if (mLiveEdit && key == KEY_ALPHA_E) SetAllControlsDirty();
    mLastKey = key;
    // Keys the panel itself does not take (background or nothing under the mouse)
    // go to the key catcher; without one the answer is false and the view passes
    // the key on.
    int c = mMouseCapture >= 0 ? mMouseCapture : FindHitControl(x, y, false);
    if (c >= 1) {
        if (IControl* control = GetControl(c)) return control->OnKeyDown(x, y, key);
    }
    return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, key) : false;
}

int IGraphics::StoreParamUnderMouse(int x, int y) {
    const int c = mMouseCapture >= 0 ? mMouseCapture : FindHitControl(x, y, false);
    const IControl* control = c >= 1 ? GetControl(c) : nullptr;
    mLastParamUnderMouse = control ? control->ParamIdx() : -1;
    return mLastParamUnderMouse;
}

int IGraphics::TakeParamUnderMouse() {
    const int paramIdx = mLastParamUnderMouse;
    mLastParamUnderMouse = -1;
    return paramIdx;
}

void IGraphics::PromptUserInput(IControl* pControl, IParam* pParam, IRECT* pR) {
    if (!pControl || !pParam || !pR) return;
    const int n = pParam->GetNDisplayTexts();
    const IParam::EParamType type = pParam->Type();
    const bool listed = type == IParam::kTypeEnum || type == IParam::kTypeBool;
    char current[kParamDisplayTextSize];
    pParam->GetDisplayForHost(pParam->Value(), false, current, listed);

    // A menu needs texts to list: an enum without any (or with a single one) is
    // edited as a number instead of offering an empty menu.
    if (listed && n >= 2) {
        IPopupMenu menu;
        for (int i = 0; i < n; ++i) {
            const char* text = pParam->GetDisplayText(i);
            const bool checked = std::strcmp(text, current) == 0;
            menu.AddItem(new IPopupMenuItem(text, checked ? IPopupMenuItem::kChecked : 0));
        }
        IPopupMenu* chosen = CreateIPopupMenu(&menu, pR);
        if (chosen && chosen->GetChosenItemIdx() >= 0)
            pControl->SetValueFromUserInput(pParam->GetNormalized(chosen->GetChosenItemIdx()));
        return;
    }
    CreateTextEntry(pControl, pControl->GetText(), pR, current, pParam);
}

namespace {

// The number at the start of `text`, as C's atof reads it; false when the text
// does not start with a (finite) number.
bool ReadNumber(const char* text, double* value) {
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

}  // namespace

void IGraphics::SetFromStringAfterPrompt(IControl* pControl, IParam* pParam, const char* str) {
    if (!pControl || !pParam || !str) return;
    const IParam::EParamType type = pParam->Type();
    double value = 0.0;
    int mapped = 0;
    if ((type == IParam::kTypeBool || type == IParam::kTypeEnum) && pParam->MapDisplayText(str, &mapped)) {
        value = mapped;
    } else if (ReadNumber(str, &value)) {
        if (pParam->GetNegateDisplay()) value = -value;
    } else {
        // Neither a listed text nor a number: the value stays as it is rather than
        // silently becoming 0.
        return;
    }
    pControl->SetValueFromUserInput(pParam->GetNormalized(value));
}
