#include "gui/controls/switch_controls.h"

#include <cmath>

#include "gui/igraphics.h"

ISwitchControl::ISwitchControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                               IChannelBlend blend)
    : IBitmapControl(plug, x, y, paramIdx, pBitmap, blend) {}

void ISwitchControl::OnMouseDown(int, int, IMouseMod*) {
    const int frames = mBitmap ? mBitmap->frames : 1;
    mValue += frames >= 2 ? 1.0 / (frames - 1) : 1.0;
    if (mValue > 1.001) mValue = 0.0;
    SetDirty(true);
}

void ISwitchControl::OnMouseDblClick(int x, int y, IMouseMod* pMod) { OnMouseDown(x, y, pMod); }

ISwitchPopUpControl::ISwitchPopUpControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                                         IChannelBlend blend)
    : ISwitchControl(plug, x, y, paramIdx, pBitmap, blend) {}

void ISwitchPopUpControl::OnMouseDown(int, int, IMouseMod*) {
    PromptUserInput();
    SetDirty(true);
}

ISwitchFramesControl::ISwitchFramesControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                                           bool imagesAreHorizontal, int blendMethod)
    : ISwitchControl(plug, x, y, paramIdx, pBitmap, IChannelBlend(blendMethod)) {
    mDisablePrompt = false;
    const int frames = pBitmap && pBitmap->frames > 0 ? pBitmap->frames : 1;
    const int h = mRECT.H() / frames, w = mRECT.W() / frames;
    for (int i = 0; i < frames; ++i) {
        IRECT r = imagesAreHorizontal ? IRECT(mRECT.L + i * w, mRECT.T, mRECT.L + (i + 1) * w, mRECT.B)
                                      : IRECT(mRECT.L, mRECT.T + i * h, mRECT.R, mRECT.T + (i + 1) * h);
        mDisp.Add(r);
    }
}

void ISwitchFramesControl::OnMouseDown(int x, int y, IMouseMod*) {
    const int n = mDisp.GetSize();
    for (int i = 0; i < n; ++i) {
        if (mDisp.GetAt(i)->Contains(x, y)) {
            // A single area has nowhere to go but 0.
            mValue = n > 1 ? double(i) / (n - 1) : 0.0;
            break;
        }
    }
    SetDirty(true);
}

IContactControl::IContactControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap)
    : ISwitchControl(plug, x, y, paramIdx, pBitmap) {}

void IContactControl::OnMouseUp(int, int, IMouseMod*) {
    mValue = 0.0;
    SetDirty(true);
}

IBitmapOverlayControl::IBitmapOverlayControl(IModuleBase* plug, int x, int y, IBitmapStrip* pBitmap,
                                             const IRECT& targetArea)
    : ISwitchControl(plug, x, y, -1, pBitmap), mTargetArea(targetArea), mTargetAreaUnscaled(targetArea) {
    IBitmapOverlayControl::AfterGUIResize(1.0);
}

bool IBitmapOverlayControl::Draw(IGraphics* pGraphics) {
    if (mValue < 0.5) {
        mTargetRECT = mTargetArea;
        return true;
    }
    mTargetRECT = mRECT;
    return IBitmapControl::Draw(pGraphics);
}

bool IBitmapOverlayControl::IsOpaqueOver(IGraphics* pGraphics, const IRECT& r) {
    return mValue >= 0.5 && IBitmapControl::IsOpaqueOver(pGraphics, r);
}

void IBitmapOverlayControl::AfterGUIResize(double guiScale) {
    const IRECT& u = mTargetAreaUnscaled;
    mTargetArea = IRECT(int(u.L * guiScale), int(u.T * guiScale), int(u.R * guiScale), int(u.B * guiScale));
}

IInvisibleSwitchControl::IInvisibleSwitchControl(IModuleBase* plug, const IRECT& rect, int paramIdx)
    : IControl(plug, rect, paramIdx, IChannelBlend(IChannelBlend::kBlendClobber)) {}

void IInvisibleSwitchControl::OnMouseDown(int, int, IMouseMod*) {
    mValue = mValue < 0.5 ? 1.0 : 0.0;
    SetDirty(true);
}

IRadioButtonsControl::IRadioButtonsControl(IModuleBase* plug, const IRECT& rect, int paramIdx, int nButtons,
                                           IBitmapStrip* pBitmap, int direction, bool reverse)
    : IControl(plug, rect, paramIdx),
      mUnscaledRECT(rect),
      mBitmap(pBitmap),
      mDirection(direction),
      mReverse(reverse),
      mNButtons(nButtons > 0 ? nButtons : 0) {
    mRECTs.Resize(mNButtons);
    if (mRECTs.GetSize() != mNButtons) mNButtons = mRECTs.GetSize();
    IRadioButtonsControl::AfterGUIResize(1.0);
}

void IRadioButtonsControl::AfterGUIResize(double s) {
    const int n = mNButtons;
    if (n <= 0) return;
    const int w = mBitmap ? mBitmap->width : 0;
    const int h = mBitmap && mBitmap->frames > 0 ? mBitmap->height / mBitmap->frames : 0;
    const int t = int(mUnscaledRECT.T * s), b = int(mUnscaledRECT.B * s);
    const int l = int(mUnscaledRECT.L * s), r = int(mUnscaledRECT.R * s);
    // One button has no gap to share out.
    auto gapOf = [n](int span, int size) { return n > 1 ? (span - n * size) / (n - 1) : 0; };
    for (int i = 0; i < n; ++i) {
        IRECT* pR = mRECTs.GetAt(i);
        if (mDirection == kTopToBottom) {
            const int gap = gapOf(b - t, h), y = mRECT.T + i * (h + gap);
            *pR = IRECT(mRECT.L, y, mRECT.L + w, y + h);
        } else if (mDirection == kRightToLeft) {
            const int gap = gapOf(r - l, w), x = r - w - gap - i * (w + gap);
            *pR = IRECT(x, t, x + w, t + h);
        } else {
            const int gap = gapOf(b - t, h), y = b - gap - i * (h + gap);
            *pR = IRECT(l, y - h, l + w, y);
        }
    }
}

void IRadioButtonsControl::OnMouseDown(int x, int y, IMouseMod* pMod) {
    if (pMod && pMod->R) {
        PromptUserInput();
        return;
    }
    for (int i = 0; i < mNButtons; ++i) {
        if (mRECTs.GetAt(i)->Contains(x, y)) {
            mValue = mNButtons > 1 ? double(i) / (mNButtons - 1) : 0.0;
            break;
        }
    }
    SetDirty(true);
}

int IRadioButtonsControl::SelectedButton() const {
    return FrameForValue(mNButtons, mValue) - 1;
}

bool IRadioButtonsControl::Draw(IGraphics* pGraphics) {
    if (!mBitmap) return true;
    const int selected = SelectedButton();
    for (int i = 0; i < mNButtons; ++i)
        pGraphics->DrawBitmapState(mBitmap, mRECTs.GetAt(i), i == selected ? 2 : 1, &mBlend);
    return true;
}
