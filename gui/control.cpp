#include "gui/control.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "gui/igraphics.h"
#include "plug/module_base.h"

IControl::IControl(IModuleBase* plug, const IRECT& rect, int paramIdx, IChannelBlend blend)
    : mPlug(plug), mRECT(rect), mTargetRECT(rect), mParamIdx(paramIdx), mBlend(blend) {}

IControl::~IControl() = default;

void IControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* pMod) {
    if (pMod && pMod->R) PromptUserInput();
}

void IControl::OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {}

void IControl::OnMouseDrag(int /*x*/, int /*y*/, int /*dX*/, int /*dY*/, IMouseMod* /*pMod*/) {}

void IControl::OnMouseDblClick(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {
    if (mDefaultValue >= 0.0) {
        mValue = mDefaultValue;
        SetDirty(true);
    }
}

void IControl::OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* /*pMod*/, int /*d*/) {}

bool IControl::OnKeyDown(int /*x*/, int /*y*/, int /*key*/) { return false; }

void IControl::OnMouseOver(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {}

void IControl::OnMouseOut() {}

void IControl::AfterGUIResize(double /*guiScale*/) {}

void IControl::SetValueFromPlug(double value) {
    // The first value that reaches the control is also what a double click restores.
    if (mDefaultValue < 0.0) mValue = mDefaultValue = value;
    if (mValue != value) {
        mValue = value;
        SetDirty(false);
        mRedraw = true;
    }
}

void IControl::SetValueFromUserInput(double value) {
    if (mValue != value) {
        mValue = value;
        SetDirty(true);
        mRedraw = true;
    }
}

void IControl::TextFromTextEntry(const char* /*text*/) {}

void IControl::Hide(bool hide) {
    mHide = hide;
    mRedraw = true;
    SetDirty(false);
}

void IControl::GrayOut(bool gray) {
    mGrayed = gray;
    mBlend.weight = gray ? 0.25f : 1.0f;
    SetDirty(false);
}

void IControl::MoveTo(int x, int y) {
    // right + (x - left), saturated at the int range rather than wrapped.
    auto moved = [](int to, int size) { return int(std::clamp<int64_t>(int64_t(to) + size, INT32_MIN, INT32_MAX)); };
    mRECT = IRECT(x, y, moved(x, mRECT.W()), moved(y, mRECT.H()));
    mTargetRECT = mRECT;
    SetDirty(false);
}

bool IControl::IsHit(int x, int y) { return !mTargetRECT.Empty() && mTargetRECT.Contains(x, y); }

IParam* IControl::LookUpParam() const { return mPlug && mParamIdx >= 0 ? mPlug->GetParam(mParamIdx) : nullptr; }

void IControl::SetDirty(bool pushParamToPlug) {
    // Written so that a NaN value falls to the low end instead of reaching the plug-in.
    if (!(mValue >= mClampLo))
        mValue = mClampLo;
    else if (mClampHi < mValue)
        mValue = mClampHi;
    MarkDirty();
    if (pushParamToPlug && mPlug && mParamIdx >= 0) mPlug->SetParameterFromGUI(mParamIdx, mValue);

    if (!mValDisplayControl && !mNameDisplayControl) return;
    // Looked up here rather than taken from the push above: a redraw without a push
    // must still find the parameter, and an index past the list finds none.
    IParam* param = LookUpParam();
    if (!param) return;
    if (mValDisplayControl) {
        char display[kParamDisplayTextSize];
        param->GetDisplayForHost(param->Value(), false, display, true);
        char text[2 * kParamTextFieldSize + 2];
        std::snprintf(text, sizeof text, "%.32s %.32s", display, param->GetLabelForHost());
        ShowInDisplay(mValDisplayControl, text);
    }
    if (mNameDisplayControl) ShowInDisplay(mNameDisplayControl, param->GetNameForHost());
}

void IControl::ShowInDisplay(IControl* display, const char* text) {
    // A display already showing the text is neither redrawn nor sent it again.
    const auto* shown = dynamic_cast<const IShownText*>(display);
    const char* current = shown ? shown->GetShownText() : nullptr;
    if (current && std::strcmp(current, text) == 0) return;
    display->SetDirty(false);
    display->TextFromTextEntry(text);
}

void IControl::MarkDirty() {
    mDirty = true;
    if (mOwner) mOwner->NoteDirtyControl();
}

void IControl::SetClean() {
    if (mRedraw)
        MarkDirty();
    else
        mDirty = false;
    mRedraw = false;
}

bool IControl::IsDirty() { return mDirty; }

void IControl::OnIdle() {}

void IControl::SetAuxParamValueFromPlug(int auxParamIdx, double value) {
    AuxParam* aux = GetAuxParam(auxParamIdx);
    if (aux && aux->value != value) {
        aux->value = value;
        SetDirty(false);
        mRedraw = true;
    }
}

void IControl::PromptUserInput() {
    if (mParamIdx < 0 || mDisablePrompt) return;
    IParam* param = LookUpParam();
    if (!param) return;
    IRECT rect = mRECT;
    if (param->GetNDisplayTexts() == 0) {
        // A 40 x 16 entry centred on the control, the centre taken in single precision.
        const int cx = int((float(mRECT.L) + float(mRECT.R)) * 0.5f);
        const int cy = int((float(mRECT.T) + float(mRECT.B)) * 0.5f);
        rect = IRECT(cx - 20, cy - 8, cx + 20, cy + 8);
    }
    PromptUserInputInRect(&rect);
}

void IControl::PromptUserInputInRect(IRECT* pR) {
    if (mParamIdx < 0 || mDisablePrompt || !pR) return;
    IParam* param = LookUpParam();
    IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
    if (!param || !graphics) return;
    graphics->PromptUserInput(this, param, pR);
    mRedraw = true;
}

int IControl::AuxParamIdx(int paramIdx) const {
    const int n = mAuxParams.GetSize();
    for (int i = 0; i < n; ++i)
        if (mAuxParams.GetAt(i)->paramIdx == paramIdx) return i;
    return -1;
}

void IControl::AddAuxParam(int paramIdx) {
    if (mAuxParams.Add(AuxParam{0.0, paramIdx}) && mOwner) mOwner->IndexParam(this, paramIdx);
}

void IControl::SetAllAuxParamsFromGUI() {
    if (!mPlug) return;
    const int n = mAuxParams.GetSize();
    for (int i = 0; i < n; ++i) {
        const AuxParam* aux = mAuxParams.GetAt(i);
        mPlug->SetParameterFromGUI(aux->paramIdx, aux->value);
    }
}
