#include "plug/module_base.h"

#include "gui/control.h"
#include "gui/gui_resize.h"
#include "gui/igraphics.h"

IModuleBase::IModuleBase(int nParams) : mParams(4096), mLiveEditState(new LiveEditState) {
    for (int i = 0; i < nParams; ++i) {
        IParam* param = new IParam;
        if (!mParams.Add(param)) {
            delete param;
            break;
        }
    }
}

IModuleBase::~IModuleBase() {
    if (mGUIResize && (!mGraphics || mGraphics->GetControlIdx(mGUIResize) < 0)) delete mGUIResize;
    mGUIResize = nullptr;
    // The graphics go first: their controls point at our parameters and at us.
    delete mGraphics;
    mGraphics = nullptr;
    DestroyLiveEditState();
    mParams.DeleteAll(true);
}

void IModuleBase::DestroyLiveEditState() {
    delete mLiveEditState;
    mLiveEditState = nullptr;
}

void IModuleBase::SetGUIResize(IModuleGUIResize* resize) {
    if (resize == mGUIResize) return;
    if (mGUIResize && (!mGraphics || mGraphics->GetControlIdx(mGUIResize) < 0)) delete mGUIResize;
    mGUIResize = resize;
}

void IModuleBase::ReloadGUIScale() {
    // Only a GUI-resize control stores a scale; without one there is nothing to reload.
    if (mGUIResize) mGUIResize->LoadScaleFromSettings();
}

void IModuleBase::SetParameterFromGUI(int paramIdx, double normalizedValue) {
    CMN_MutexLock lock(mMutex);
    IParam* param = GetParam(paramIdx);
    if (!param) return;
    param->SetNormalized(normalizedValue);
    InformHostOfParamChange(paramIdx, normalizedValue);
    OnParamChange(paramIdx);
}

void IModuleBase::SetParameterFromGUI2(int paramIdx, double value) {
    CMN_MutexLock lock(mMutex);
    IParam* param = GetParam(paramIdx);
    if (!param) return;
    param->Set(value);
    OnParamChange(paramIdx);
}

void IModuleBase::RedrawParamControls() {
    if (!mGraphics) return;
    CMN_MutexLock lock(mMutex);
    const int n = NParams();
    for (int i = 0; i < n; ++i) mGraphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
}

void IModuleBase::AttachGraphics(IGraphics* graphics) {
    if (!graphics) return;
    CMN_MutexLock lock(mMutex);
    // Attaching the same graphics again refreshes values and drawing but must not
    // record the controls a second time.
    const bool again = graphics == mGraphics;
    // The resize control goes last, above every control, with its handles below it.
    const bool heldByOld = mGUIResize && mGraphics && mGraphics->GetControlIdx(mGUIResize) >= 0;
    if (mGUIResize && !heldByOld && graphics->GetControlIdx(mGUIResize) < 0)
        graphics->AttachControl(mGUIResize->AttachGUIResize());
    const int n = NParams();
    for (int i = 0; i < n; ++i) graphics->SetParameterFromPlug(i, GetParam(i)->GetNormalized(), true);
    graphics->PrepDraw();
    if (!again) {
        // The old graphics own the resize control they hold.
        if (heldByOld) mGUIResize = nullptr;
        delete mGraphics;
        mGraphics = graphics;
        RecordLiveEditLayout(graphics);
    }
}

void IModuleBase::RecordLiveEditLayout(IGraphics* graphics) {
    LiveEditState* state = mLiveEditState;
    if (!graphics || !state) return;
    const int n = graphics->NControls();
    for (int i = 0; i < n; ++i) {
        IControl* control = graphics->GetControl(i);
        state->attachDrawRects.Add(*control->GetRECT());
        state->attachTargetRects.Add(*control->GetTargetRECT());
        state->attachVisible.Add(!control->IsHidden());
        state->attachOrder.Add(control);
        state->currentOrder.Add(control);
    }
}
