#include "gui/controls/knob_controls.h"

#include <cmath>

#include "gui/bitmap_control.h"
#include "gui/igraphics.h"
#include "plug/module_base.h"

namespace {

bool Fine(const IMouseMod* pMod) { return pMod && (pMod->S || pMod->C); }

}  // namespace

IKnobControl::IKnobControl(IModuleBase* plug, const IRECT& rect, int paramIdx, int direction, double gearing,
                           IChannelBlend blend)
    : IControl(plug, rect, paramIdx, blend), mDirection(direction), mGearing(gearing) {}

void IKnobControl::OnMouseDrag(int, int, int dX, int dY, IMouseMod* pMod) {
    const double g = Fine(pMod) ? mGearing * 10.0 : mGearing;
    if (mDirection == kVertical) {
        if (mRECT.T != mRECT.B) mValue += double(dY) / double(mRECT.T - mRECT.B) / g;
    } else {
        if (mRECT.R != mRECT.L) mValue += double(dX) / double(mRECT.R - mRECT.L) / g;
    }
    SetDirty(true);
}

void IKnobControl::OnMouseWheel(int, int, IMouseMod* pMod, int d) {
    mValue += d * (Fine(pMod) ? 0.001 : 0.01);
    SetDirty(true);
}

IKnobLineControl::IKnobLineControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IColor* pColor,
                                   double innerRadius, double outerRadius, double minAngle, double maxAngle,
                                   int direction, double gearing)
    : IKnobControl(plug, rect, paramIdx, direction, gearing, IChannelBlend(IChannelBlend::kBlendClobber)),
      mColor(pColor ? *pColor : COLOR_BLACK),
      mMinAngle(float(minAngle)),
      mMaxAngle(float(maxAngle)),
      mInnerRadius(float(innerRadius)),
      mOuterRadius(outerRadius == 0.0 ? 0.5f * float(rect.W()) : float(outerRadius)) {}

bool IKnobLineControl::Draw(IGraphics* pGraphics) {
    const double a = mMinAngle + mValue * (double(mMaxAngle) - mMinAngle);
    const float s = std::sin(float(a)), c = std::cos(float(a));
    const float cx = (mRECT.L + mRECT.R) * 0.5f, cy = (mRECT.T + mRECT.B) * 0.5f;
    float r1 = mInnerRadius, r2 = mOuterRadius;
    // Without a resize control the radii stay as given.
    if (mPlug && mPlug->GetGUIResize()) {
        r1 *= float(mGUIScale);
        r2 *= float(mGUIScale);
    }
    return pGraphics->DrawLine(&mColor, cx + s * r1, cy - c * r1, cx + s * r2, cy - c * r2, &mBlend, true);
}

IKnobRotaterControl::IKnobRotaterControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                                         double minAngle, double maxAngle, int yOffsetZeroDeg, int direction,
                                         double gearing)
    : IKnobControl(plug, IRECT(x, y, x + (pBitmap ? pBitmap->width : 0), y + (pBitmap ? pBitmap->height : 0)),
                   paramIdx, direction, gearing),
      mMinAngle(minAngle),
      mMaxAngle(maxAngle),
      mYOffset(yOffsetZeroDeg),
      mBitmap(pBitmap) {}

bool IKnobRotaterControl::Draw(IGraphics* pGraphics) {
    if (!mBitmap) return true;
    const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
    return pGraphics->DrawRotatedBitmap(mBitmap, (mRECT.L + mRECT.R) / 2, (mRECT.T + mRECT.B) / 2, angle, mYOffset,
                                        &mBlend);
}

IKnobMultiBase::IKnobMultiBase(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap, int direction,
                               double gearing)
    : IKnobControl(plug, IBitmapControl::FrameRect(x, y, pBitmap), paramIdx, direction, gearing), mBitmap(pBitmap) {}

int IKnobMultiBase::CurrentFrame() const {
    double v = mValue;
    if (mSteps > 0) v = std::round(v * mSteps) / mSteps;
    return FrameForValue(mBitmap ? mBitmap->frames : 1, v);
}

bool IKnobMultiBase::Draw(IGraphics* pGraphics) {
    if (!mBitmap) return true;
    return pGraphics->DrawBitmapState(mBitmap, &mRECT, CurrentFrame(), &mBlend);
}

void IKnobMultiControl::OnMouseDown(int, int, IMouseMod*) { SetDirty(true); }

void IKnobMultiControl2::OnMouseDown(int, int, IMouseMod*) {
    mPressed = true;
    SetDirty(true);
}

void IKnobMultiControl2::OnMouseUp(int, int, IMouseMod*) {
    mPressed = false;
    SetDirty(true);
}

void IKnobMultiControl3::OnMouseDown(int, int, IMouseMod* pMod) {
    if (pMod && pMod->R) mRightClick = true;
    SetDirty(true);
}

bool IKnobMultiControl3::TakeRightClick() {
    const bool taken = mRightClick;
    mRightClick = false;
    return taken;
}

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IModuleBase* plug, int x, int y, int paramIdx,
                                                   IBitmapStrip* pBase, IBitmapStrip* pMask, IBitmapStrip* pTop,
                                                   double minAngle, double maxAngle, int direction, double gearing)
    : IKnobControl(plug, IRECT(x, y, x + (pBase ? pBase->width : 0), y + (pBase ? pBase->height : 0)), paramIdx,
                   direction, gearing),
      mBase(pBase),
      mMask(pMask),
      mTop(pTop),
      mMinAngle(minAngle),
      mMaxAngle(maxAngle) {}

bool IKnobRotatingMaskControl::Draw(IGraphics* pGraphics) {
    if (!mBase || !mMask || !mTop) return true;
    const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
    return pGraphics->DrawRotatedMask(mBase, mMask, mTop, mRECT.L, mRECT.T, angle, &mBlend);
}
