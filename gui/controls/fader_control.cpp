#include "gui/controls/fader_control.h"

#include "gui/igraphics.h"

namespace {

// A fine step with Shift or Control held.
double WheelStep(const IMouseMod* pMod) { return pMod && (pMod->S || pMod->C) ? 0.001 : 0.01; }

}  // namespace

IFaderControl::IFaderControl(IModuleBase* plug, int x, int y, int len, int paramIdx, IBitmapStrip* pBitmap,
                             int direction, bool onlyHandle)
    : IControl(plug, IRECT(), paramIdx), mLen(len), mDirection(direction), mOnlyHandle(onlyHandle), mBitmap(pBitmap) {
    const int bw = pBitmap ? pBitmap->width : 0, bh = pBitmap ? pBitmap->height : 0;
    if (mDirection == kVertical) {
        mHandleHeadroom = bh;
        mRECT = mTargetRECT = IRECT(x, y, x + bw, y + len);
    } else {
        mHandleHeadroom = bw;
        mRECT = mTargetRECT = IRECT(x, y, x + len, y + bh);
    }
    mUnscaledLen = mLen;
    mUnscaledHandleHeadroom = mHandleHeadroom;
}

IRECT IFaderControl::HandleRectForValue(double value) const {
    if (value < 0.0) value = mValue;
    const int bw = mBitmap ? mBitmap->width : 0, bh = mBitmap ? mBitmap->height : 0;
    IRECT r(mRECT.L, mRECT.T, mRECT.L + bw, mRECT.T + bh);
    const int travel = mLen - mHandleHeadroom;
    if (mDirection == kVertical) {
        const int dy = int(travel * (1.0 - value));
        r.T += dy;
        r.B += dy;
    } else {
        const int dx = int(value * travel);
        r.L += dx;
        r.R += dx;
    }
    return r;
}

void IFaderControl::SnapToMouse(int x, int y) {
    const int travel = mLen - mHandleHeadroom;
    // A track no longer than its handle has nowhere to slide: the value stays.
    if (travel != 0) {
        const int half = mHandleHeadroom / 2;
        if (mDirection == kVertical)
            mValue = 1.0 - double(y - mRECT.T - half) / travel;
        else
            mValue = double(x - mRECT.L - half) / travel;
    }
    SetDirty(true);
}

void IFaderControl::OnMouseDown(int x, int y, IMouseMod* pMod) {
    if (pMod && pMod->R) {
        PromptUserInput();
        return;
    }
    SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, IMouseMod*) { SnapToMouse(x, y); }

void IFaderControl::OnMouseWheel(int, int, IMouseMod* pMod, int d) {
    mValue += d * WheelStep(pMod);
    SetDirty(true);
}

bool IFaderControl::Draw(IGraphics* pGraphics) {
    if (!mBitmap) return true;
    IRECT r = HandleRectForValue(-1.0);
    return pGraphics->DrawBitmapState(mBitmap, &r, 1, &mBlend);
}

bool IFaderControl::IsHit(int x, int y) {
    if (!mOnlyHandle) return IControl::IsHit(x, y);
    const IRECT r = HandleRectForValue(-1.0);
    return !r.Empty() && r.Contains(x, y);
}

void IFaderControl::AfterGUIResize(double guiScale) {
    mHandleHeadroom = int(mUnscaledHandleHeadroom * guiScale);
    mLen = int(mUnscaledLen * guiScale);
}
