// A handle bitmap that slides along a track.
#pragma once

#include "gui/bitmap_cache.h"
#include "gui/control.h"

class IFaderControl : public IControl {
public:
    enum EDirection { kVertical = 0, kHorizontal = 1 };

    // Vertical: {x, y, x + handle width, y + len}; horizontal: {x, y, x + len, y + handle height}.
    IFaderControl(IModuleBase* plug, int x, int y, int len, int paramIdx, IBitmapStrip* pBitmap,
                  int direction = kVertical, bool onlyHandle = false);

    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    void OnMouseWheel(int x, int y, IMouseMod* pMod, int d) override;
    bool Draw(IGraphics* pGraphics) override;
    bool IsHit(int x, int y) override;
    void AfterGUIResize(double guiScale) override;

    // Puts the handle's centre under the mouse.
    virtual void SnapToMouse(int x, int y);
    // The handle's rectangle for a value, or for the current value when it is negative.
    IRECT HandleRectForValue(double value) const;

protected:
    int mLen, mHandleHeadroom;
    int mUnscaledLen, mUnscaledHandleHeadroom;
    int mDirection;
    bool mOnlyHandle;
    IBitmapStrip* mBitmap;
};
