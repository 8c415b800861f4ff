#include "gui/igraphics.h"

#include <algorithm>

#include "gui/bitmap_control.h"
#include "gui/control.h"
#include "gui/gui_resize.h"
#include "gui/live_edit_views.h"
#include "plug/module_base.h"

IGraphics::IGraphics(IModuleBase* plug, int width, int height, int fps)
    : mPlug(plug), mWidth(width), mHeight(height), mFPS(fps > 0 ? fps : kDefaultFPS), mLiveEdit(LiveEditSwitchOn()) {}

IGraphics::~IGraphics() {
    delete mKeyCatcher;
    mKeyCatcher = nullptr;
    mControls.DeleteAll(true);
    delete mDrawBitmap;
    delete mTmpBitmap;
}

// ---- Size and back buffer ----

bool IGraphics::PrepDraw() {
    // A second call replaces the bitmaps instead of leaking the first ones.
    delete mDrawBitmap;
    delete mTmpBitmap;
    mDrawBitmap = new PIX_SysBitmap(mWidth, mHeight);
    mTmpBitmap = new PIX_MemBitmap(0, 0, 4);
    return PIX_HasPixels(mDrawBitmap);
}

void IGraphics::Resize(int width, int height) {
    mWidth = width;
    mHeight = height;
    PrepDraw();
    if (mPlug) mPlug->ResizeGraphics(width, height);
}

// ---- Control list ----

int IGraphics::NFixedTrailingControls() const { return mPlug && mPlug->GetGUIResize() ? 3 : 0; }

void IGraphics::RenumberControls() {
    const int n = NControls();
    for (int i = 0; i < n; ++i) GetControl(i)->SetIndex(i);
}

void IGraphics::InsertControl(int idx, IControl* pControl) {
    if (!pControl) return;
    if (!mControls.Insert(idx, pControl)) {
        // The list could not grow; the control is ours all the same.
        delete pControl;
        return;
    }
    pControl->mOwner = this;
    NoteDirtyControl();  // a control comes dirty (asking it could have side effects)
    RenumberControls();
    IndexControl(pControl);
}

int& IGraphics::AttachControl(IControl* pControl) {
    static int sNoIndex;
    const int n = NControls();
    InsertControl(n, pControl);
    if (NControls() == n) {
        sNoIndex = -1;
        return sNoIndex;
    }
    return GetControl(n)->IndexRef();
}

void IGraphics::AttachPanelBackground(const IColor* pColor) {
    InsertControl(0, new IPanelControl(mPlug, IRECT(0, 0, mWidth, mHeight), pColor));
}

void IGraphics::AttachBackground(int id, const char* fileName) {
    IBitmapStrip* strip = LoadBitmapStrip(id, fileName, 1);
    InsertControl(0, new IBitmapControl(mPlug, 0, 0, -1, strip, IChannelBlend(IChannelBlend::kBlendClobber)));
}

void IGraphics::ReplaceControl(int idx, IControl* pControl) {
    const int n = NControls() - NFixedTrailingControls();
    if (!pControl || idx <= 0 || idx >= n) return;
    IControl* old = GetControl(idx);
    UnindexControl(old);
    old->mOwner = nullptr;
    mControls.Delete(idx, false);
    mControls.Insert(idx, pControl);
    pControl->mOwner = this;
    NoteDirtyControl();  // a control comes dirty (asking it could have side effects)
    RenumberControls();
    IndexControl(pControl);
}

void IGraphics::MoveControlBehind(int from, int to) {
    const int n = NControls() - NFixedTrailingControls();
    if (from < 1 || from > n - 1 || to < 1 || to > n - 1) return;
    IControl* control = GetControl(from);
    UnindexControl(control);
    mControls.Delete(from, false);
    to = std::clamp(to, 0, NControls());
    mControls.Insert(to, control);
    RenumberControls();
    IndexControl(control);
}

void IGraphics::SwapControls(int a, int b) {
    const int n = NControls() - NFixedTrailingControls();
    if (a < 1 || a > n - 1 || b < 1 || b > n - 1 || a == b) return;
    IControl* ca = GetControl(a);
    IControl* cb = GetControl(b);
    UnindexControl(ca);
    UnindexControl(cb);
    // Same-size slots: replace in place, so no allocation can fail half-way.
    mControls.Delete(a, false);
    mControls.Insert(a, cb);
    mControls.Delete(b, false);
    mControls.Insert(b, ca);
    RenumberControls();
    IndexControl(ca);
    IndexControl(cb);
}

void IGraphics::RemoveControl(int idx) {
    IControl* control = GetControl(idx);
    if (!control) return;
    UnindexControl(control);
    if (!mControls.Delete(idx, false)) return;
    control->mOwner = nullptr;
    RenumberControls();
}

int IGraphics::GetControlIdx(IControl* pControl) const { return pControl ? mControls.Find(pControl) : -1; }

void IGraphics::SetKeyCatcher(IControl* pControl) {
    if (pControl == mKeyCatcher) return;
    delete mKeyCatcher;
    mKeyCatcher = pControl;
}

// ---- Parameter operations ----

IParam* IGraphics::GetParam(int paramIdx) const { return mPlug ? mPlug->GetParam(paramIdx) : nullptr; }

const std::vector<IControl*>& IGraphics::ControlsOf(int paramIdx) const {
    static const std::vector<IControl*> kNone;
    return paramIdx >= 0 && size_t(paramIdx) < mControlsByParam.size() ? mControlsByParam[size_t(paramIdx)] : kNone;
}

void IGraphics::IndexParam(IControl* pControl, int paramIdx) {
    // Only parameters the plug-in has: the operations reach no others.
    if (!GetParam(paramIdx)) return;
    if (size_t(paramIdx) >= mControlsByParam.size()) mControlsByParam.resize(size_t(paramIdx) + 1);
    std::vector<IControl*>& bound = mControlsByParam[size_t(paramIdx)];
    if (std::find(bound.begin(), bound.end(), pControl) != bound.end()) return;
    // Controls join at the end of the list as a rule, so the search is short.
    const auto at = std::upper_bound(bound.begin(), bound.end(), pControl->GetIndex(),
                                     [](int index, const IControl* c) { return index < c->GetIndex(); });
    bound.insert(at, pControl);
}

void IGraphics::IndexControl(IControl* pControl) {
    IndexParam(pControl, pControl->ParamIdx());
    const int n = pControl->mAuxParams.GetSize();
    for (int i = 0; i < n; ++i) IndexParam(pControl, pControl->mAuxParams.GetAt(i)->paramIdx);
}

void IGraphics::UnindexControl(IControl* pControl) {
    auto leave = [&](int paramIdx) {
        if (paramIdx < 0 || size_t(paramIdx) >= mControlsByParam.size()) return;
        std::vector<IControl*>& bound = mControlsByParam[size_t(paramIdx)];
        bound.erase(std::remove(bound.begin(), bound.end(), pControl), bound.end());
    };
    leave(pControl->ParamIdx());
    const int n = pControl->mAuxParams.GetSize();
    for (int i = 0; i < n; ++i) leave(pControl->mAuxParams.GetAt(i)->paramIdx);
}

template <class Fn>
bool IGraphics::ForEachControlOf(int paramIdx, Fn fn) const {
    if (!GetParam(paramIdx)) return false;
    // By number, fetched afresh: a control's answer may attach another and move the lists.
    for (size_t i = 0; i < ControlsOf(paramIdx).size(); ++i)
        if (IControl* control = ControlsOf(paramIdx)[i]; control->ParamIdx() == paramIdx) fn(control);
    return true;
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
    // An index that names no parameter would otherwise reach every unbound control.
    IParam* param = GetParam(paramIdx);
    if (!param) return;
    if (!normalized) value = param->GetNormalized(value);
    for (size_t i = 0; i < ControlsOf(paramIdx).size(); ++i) {
        IControl* control = ControlsOf(paramIdx)[i];
        if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
        const int aux = control->AuxParamIdx(paramIdx);
        if (aux >= 0) control->SetAuxParamValueFromPlug(aux, value);
    }
}

void IGraphics::HideControl(int paramIdx, bool hide) {
    ForEachControlOf(paramIdx, [&](IControl* control) { control->Hide(hide); });
}

void IGraphics::GrayOutControl(int paramIdx, bool gray) {
    ForEachControlOf(paramIdx, [&](IControl* control) { control->GrayOut(gray); });
}

void IGraphics::MoveControl(int paramIdx, int x, int y) {
    ForEachControlOf(paramIdx, [&](IControl* control) { control->MoveTo(x, y); });
}

void IGraphics::SetControlsFromUserInput(int paramIdx, double normalizedValue) {
    ForEachControlOf(paramIdx, [&](IControl* control) { control->SetValueFromUserInput(normalizedValue); });
}

bool IGraphics::IsControlHidden(int paramIdx) const {
    // The last control bound to the parameter answers.
    bool hidden = false;
    ForEachControlOf(paramIdx, [&](IControl* control) { hidden = control->IsHidden(); });
    return hidden;
}

void IGraphics::ClampControl(int paramIdx, double lo, double hi, bool normalized) {
    IParam* param = GetParam(paramIdx);
    if (!param) return;
    if (!normalized) {
        lo = param->GetNormalized(lo);
        hi = param->GetNormalized(hi);
    }
    ForEachControlOf(paramIdx, [&](IControl* control) { control->Clamp(lo, hi); });
}

void IGraphics::HideControlAt(int idx, bool hide) {
    if (IControl* control = GetControl(idx)) control->Hide(hide);
}

void IGraphics::GrayOutControlAt(int idx, bool gray) {
    if (IControl* control = GetControl(idx)) control->GrayOut(gray);
}

void IGraphics::MoveControlAt(int idx, int x, int y) {
    if (IControl* control = GetControl(idx)) control->MoveTo(x, y);
}

void IGraphics::SetControlFromPlugAt(int idx, double normalizedValue) {
    if (IControl* control = GetControl(idx)) control->SetValueFromPlug(normalizedValue);
}

void IGraphics::SetAllControlsDirty() {
    const int n = NControls();
    for (int i = 0; i < n; ++i) GetControl(i)->SetDirty(false);
}

void IGraphics::AssignParamNameToolTips() {
    const int n = NControls();
    for (int i = 0; i < n; ++i) {
        IControl* control = GetControl(i);
        if (IParam* param = GetParam(control->ParamIdx())) control->SetTooltip(param->GetNameForHost());
    }
}

void IGraphics::IdleAllControls() {
    const int n = NControls();
    for (int i = 0; i < n; ++i) GetControl(i)->OnIdle();
}

void IGraphics::SetRectRedraw(bool rectRedraw) {
    mRectRedraw = rectRedraw;
    SetAllControlsDirty();
}

// ---- Redraw ----

bool IGraphics::IsDirty(IRECT* pR) {
    bool dirty = false;
    // A quiet panel costs no walk of the list: nothing was marked dirty since the last
    // walk found nothing, no animation runs, and the resize control (which also follows
    // other instances' scale) has nothing to show.
    IModuleGUIResize* resize = mPlug ? mPlug->GetGUIResize() : nullptr;
    if (mMaybeDirty || IModuleAnimation::AnyActiveAnywhere() || (resize && resize->IsDirty())) {
        mMaybeDirty = false;
        const int n = NControls();
        for (int i = 0; i < n; ++i) {
            IControl* control = GetControl(i);
            if (control->GetAnimation()->IsAnyActive()) control->SetDirty(true);
            if (control->IsDirty()) {
                if (pR) pR->Union(*control->GetRECT());
                dirty = true;
            }
        }
        if (dirty) mMaybeDirty = true;
    }
    if (dirty) {
        mIdleTicks = 0;
        return true;
    }
    // The plug-in idles on every second quiet tick, never on a tick that redraws.
    if (mIdleTicks++ <= 0) return false;
    if (mPlug) mPlug->OnIdle();
    mIdleTicks = 0;
    return false;
}

bool IGraphics::Draw(IRECT* pR) {
    // While the grip is dragged the window changes size on every move: the panel is
    // covered until the layout is rebuilt at mouse-up.
    if (IModuleGUIResize* resize = mPlug ? mPlug->GetGUIResize() : nullptr; resize && resize->IsGUIResizing()) {
        if (!PIX_HasPixels(mDrawBitmap)) return false;
        IRECT all(0, 0, mWidth, mHeight);
        resize->DrawBackground(this, &all);
        return DrawScreen(&all);
    }
    const int n = NControls();
    if (n == 0) return true;
    // Without a back buffer there is nowhere to draw: report it, keep the controls dirty.
    if (!pR || !PIX_HasPixels(mDrawBitmap)) return false;

    mRedrawing = true;
    if (mRectRedraw) {
        mDrawRECT = *pR;
        for (int i = FirstVisibleControl(*pR); i < n; ++i) {
            IControl* control = GetControl(i);
            if (!control->IsHidden() && pR->Meets(*control->GetRECT())) control->Draw(this);
        }
        for (int i = 0; i < n; ++i) GetControl(i)->SetClean();
    } else if (GetControl(0)->IsDirty()) {
        mDrawRECT = *GetControl(0)->GetRECT();
        for (int i = 0; i < n; ++i) {
            IControl* control = GetControl(i);
            if (i == 0 || !control->IsHidden()) {
                control->Draw(this);
                control->SetClean();
            }
        }
    } else {
        for (int i = 1; i < n; ++i) {
            IControl* dirty = GetControl(i);
            if (!dirty->IsDirty()) continue;
            mDrawRECT = *dirty->GetRECT();
            for (int j = 0; j < n; ++j) {
                IControl* control = GetControl(j);
                if (control->IsHidden()) continue;
                if (j == i || control->GetRECT()->Meets(mDrawRECT)) control->Draw(this);
            }
            dirty->SetClean();
        }
    }
    mRedrawing = false;
    if (mLiveEdit) RunLiveEdit();
    return DrawScreen(pR);
}

int IGraphics::FirstVisibleControl(const IRECT& r) {
    // Only the back buffer's part of the rectangle is ever shown.
    const IRECT shown(std::max(r.L, 0), std::max(r.T, 0), std::min(r.R, mDrawBitmap->getWidth()),
                      std::min(r.B, mDrawBitmap->getHeight()));
    if (shown.L >= shown.R || shown.T >= shown.B) return 0;
    for (int i = NControls() - 1; i > 0; --i) {
        IControl* control = GetControl(i);
        const IRECT* c = control->GetRECT();
        if (control->IsHidden() || shown.L < c->L || shown.T < c->T || shown.R > c->R || shown.B > c->B) continue;
        if (control->IsOpaqueOver(this, shown)) return i;
    }
    return 0;
}
