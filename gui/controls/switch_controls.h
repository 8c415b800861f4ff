// The discrete controls: switches that step through their frames on each click, a
// momentary contact, click areas, radio-button rows and an overlay that opens and
// closes. A click always ends in SetDirty(true), so the new value reaches the plug-in.
#pragma once

#include "common/typed_buf.h"
#include "gui/bitmap_control.h"

class ISwitchControl : public IBitmapControl {
public:
    ISwitchControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                   IChannelBlend blend = IChannelBlend());
    // Any button steps to the next frame, wrapping to 0 after the last.
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    // A double click is one more click.
    void OnMouseDblClick(int x, int y, IMouseMod* pMod) override;
};

// A switch that opens the parameter's menu or text entry instead of stepping.
class ISwitchPopUpControl : public ISwitchControl {
public:
    ISwitchPopUpControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                        IChannelBlend blend = IChannelBlend());
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
};

// A switch cut into one click area per frame; a click picks the frame under it.
class ISwitchFramesControl : public ISwitchControl {
public:
    ISwitchFramesControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                         bool imagesAreHorizontal = false, int blendMethod = IChannelBlend::kBlendNone);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;

protected:
    CMN_TypedBuf<IRECT> mDisp{4096};
};

// A switch whose value returns to 0 when the button is released.
class IContactControl : public ISwitchControl {
public:
    IContactControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap);
    void OnMouseUp(int x, int y, IMouseMod* pMod) override;
};

// A picture that opens on a click in a small closed area and closes on a click
// anywhere on it.
class IBitmapOverlayControl : public ISwitchControl {
public:
    IBitmapOverlayControl(IModuleBase* plug, int x, int y, IBitmapStrip* pBitmap, const IRECT& targetArea);
    bool Draw(IGraphics* pGraphics) override;
    bool IsOpaqueOver(IGraphics* pGraphics, const IRECT& r) override;
    void AfterGUIResize(double guiScale) override;
    const IRECT& GetClosedTarget() const { return mTargetArea; }

protected:
    IRECT mTargetArea;
    IRECT mTargetAreaUnscaled;
};

// A click area that toggles between 0 and 1 and draws nothing.
class IInvisibleSwitchControl : public IControl {
public:
    IInvisibleSwitchControl(IModuleBase* plug, const IRECT& rect, int paramIdx);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    bool Draw(IGraphics*) override { return true; }
};

// A row of buttons, one image strip of two frames (off, on) for all; a click on
// button i of n gives i / (n - 1).
class IRadioButtonsControl : public IControl {
public:
    enum EDirection { kTopToBottom = 0, kRightToLeft = 1, kBottomToTop = 2 };

    IRadioButtonsControl(IModuleBase* plug, const IRECT& rect, int paramIdx, int nButtons, IBitmapStrip* pBitmap,
                         int direction = kTopToBottom, bool reverse = false);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    bool Draw(IGraphics* pGraphics) override;
    // Lays the buttons out again from the unscaled rectangle.
    void AfterGUIResize(double guiScale) override;
    const IRECT* GetButton(int i) { return mRECTs.GetAt(i); }
    // The button the value selects, 0-based.
    int SelectedButton() const;

protected:
    CMN_TypedBuf<IRECT> mRECTs{4096};
    IRECT mUnscaledRECT;
    IBitmapStrip* mBitmap;
    int mDirection;
    bool mReverse;
    int mNButtons;
};
