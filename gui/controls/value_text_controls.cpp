#include "gui/controls/value_text_controls.h"

#include <algorithm>

#include "gui/igraphics.h"
#include "plug/module_base.h"
#include "plug/param.h"

namespace {

// Room GetDisplayForHost may fill.
constexpr int kDisplayBufSize = 128;

}  // namespace

void ParamValueText(const IParam* pParam, bool withLabel, CMN_String* pOut) {
    pOut->Set("");
    if (!pParam) return;
    char display[kDisplayBufSize] = "";
    pParam->GetDisplayForHost(display, true);
    pOut->Set(display);
    if (withLabel) {
        pOut->Append(" ");
        pOut->Append(pParam->GetLabelForHost());
    }
}

// ---- ISpinnerControl ----

ISpinnerControl::ISpinnerControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText,
                                 IParam* pOwnParam, bool showValue, bool showLabel, int direction, double gearing)
    : ITextControl(plug, rect, pText, ""),
      mDirection(direction),
      mGearing(gearing),
      mShowValue(showValue),
      mShowLabel(showLabel),
      mOwnParam(pOwnParam) {
    mParamIdx = paramIdx;
}

IParam* ISpinnerControl::GetSpinnerParam() const {
    if (mParamIdx >= 0) return mPlug ? mPlug->GetParam(mParamIdx) : nullptr;
    return mOwnParam;
}

void ISpinnerControl::OnMouseDrag(int, int, int dX, int dY, IMouseMod*) {
    const int extent = mDirection == kVertical ? mRECT.T - mRECT.B : mRECT.R - mRECT.L;
    if (extent == 0 || mGearing == 0.0) return;
    mValue += (mDirection == kVertical ? dY : dX) / double(extent) / mGearing;
    SetDirty(true);
}

void ISpinnerControl::OnMouseWheel(int, int, IMouseMod* pMod, int d) {
    const IParam* param = GetSpinnerParam();
    if (!param) {
        mValue += d * 0.01;
    } else if (param->GetStep() == 0.0) {
        mValue += d * (pMod && (pMod->S || pMod->C) ? 0.001 : 0.01);
    } else {
        // The step is in the parameter's units: one notch is one step of the
        // parameter, not a jump across its whole range.
        mValue = param->GetNormalized(param->FromNormalized(mValue) + d * param->GetStep());
    }
    mValue = std::clamp(mValue, 0.0, 1.0);
    SetDirty(true);
}

bool ISpinnerControl::Draw(IGraphics* pGraphics) {
    if (mOwnParam) mOwnParam->SetNormalized(mValue);
    if (mShowValue) ParamValueText(GetSpinnerParam(), mShowLabel, &mStr);
    return ITextControl::Draw(pGraphics);
}

void ISpinnerControl::PromptValue(IRECT rect) {
    IParam* param = GetSpinnerParam();
    IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
    if (!param || !graphics || mDisablePrompt) return;
    graphics->PromptUserInput(this, param, &rect);
    mRedraw = true;
}

// ---- ICaptionControl ----

ICaptionControl::ICaptionControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText,
                                 bool showLabel)
    : ITextControl(plug, rect, pText, ""), mShowLabel(showLabel) {
    mParamIdx = paramIdx;
}

void ICaptionControl::OnMouseDown(int, int, IMouseMod* pMod) {
    if (!pMod || !(pMod->L || pMod->R)) return;
    PromptUserInput();
    SetDirty(true);
}

void ICaptionControl::OnMouseDblClick(int, int, IMouseMod*) { PromptUserInput(); }

bool ICaptionControl::Draw(IGraphics* pGraphics) {
    ParamValueText(mPlug ? mPlug->GetParam(mParamIdx) : nullptr, mShowLabel, &mStr);
    return ITextControl::Draw(pGraphics);
}
