// Knobs: vertical or horizontal drags and the wheel turn into a normalised value,
// shown as a line, a rotated bitmap, a film-strip frame or a rotated masked bitmap.
#pragma once

#include "gui/bitmap_cache.h"
#include "gui/control.h"

class IKnobControl : public IControl {
public:
    enum EDirection { kVertical = 0, kHorizontal = 1 };

    IKnobControl(IModuleBase* plug, const IRECT& rect, int paramIdx, int direction = kVertical,
                 double gearing = 1.0, IChannelBlend blend = IChannelBlend());
    // A drag over the whole side at gearing 1 covers the whole range; Shift or Control
    // is ten times finer.
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    void OnMouseWheel(int x, int y, IMouseMod* pMod, int d) override;

protected:
    int mDirection;
    double mGearing;
};

// A line from an inner to an outer radius at the value's angle (radians, 0 up,
// clockwise).
class IKnobLineControl : public IKnobControl {
public:
    // An outer radius of 0 becomes half the rectangle's width.
    IKnobLineControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IColor* pColor, double innerRadius = 0.0,
                     double outerRadius = 0.0, double minAngle = -0.75 * 3.14159265358979323846,
                     double maxAngle = 0.75 * 3.14159265358979323846, int direction = kVertical,
                     double gearing = 1.0);
    bool Draw(IGraphics* pGraphics) override;
    void AfterGUIResize(double guiScale) override { mGUIScale = guiScale; }

protected:
    IColor mColor;
    float mMinAngle, mMaxAngle, mInnerRadius, mOuterRadius;
    double mGUIScale = 1.0;
};

// A bitmap rotated about the control's centre.
class IKnobRotaterControl : public IKnobControl {
public:
    // Angles in radians; the draw rectangle is the bitmap's size at (x, y).
    IKnobRotaterControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                        double minAngle = -0.75 * 3.14159265358979323846,
                        double maxAngle = 0.75 * 3.14159265358979323846, int yOffsetZeroDeg = 0,
                        int direction = kVertical, double gearing = 1.0);
    bool Draw(IGraphics* pGraphics) override;

protected:
    double mMinAngle, mMaxAngle;
    int mYOffset;
    IBitmapStrip* mBitmap;
};

// The film-strip knobs share their drawing and their step setting.
class IKnobMultiBase : public IKnobControl {
public:
    IKnobMultiBase(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap, int direction = kVertical,
                   double gearing = 1.0);
    bool Draw(IGraphics* pGraphics) override;
    // n detents: the value is drawn at the nearest of n evenly spaced positions.
    void SetSteps(int n) { mSteps = n > 0 ? n - 1 : 0; }
    // The frame drawn for the current value.
    int CurrentFrame() const;

protected:
    IBitmapStrip* mBitmap;
    int mSteps = 0;
};

class IKnobMultiControl : public IKnobMultiBase {
public:
    using IKnobMultiBase::IKnobMultiBase;
    // A click without a drag sends the current value again.
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
};

class IKnobMultiControl2 : public IKnobMultiBase {
public:
    using IKnobMultiBase::IKnobMultiBase;
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseUp(int x, int y, IMouseMod* pMod) override;
    // True between mouse-down and mouse-up.
    bool GetMouseFlag() const { return mPressed; }

protected:
    bool mPressed = false;
};

class IKnobMultiControl3 : public IKnobMultiBase {
public:
    using IKnobMultiBase::IKnobMultiBase;
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    // True once after each right-button press.
    bool TakeRightClick();

protected:
    bool mRightClick = false;
};

// A base bitmap, a mask rotated by the value and a top bitmap (angles in degrees).
class IKnobRotatingMaskControl : public IKnobControl {
public:
    IKnobRotatingMaskControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBase,
                             IBitmapStrip* pMask, IBitmapStrip* pTop, double minAngle = -135.0,
                             double maxAngle = 135.0, int direction = kVertical, double gearing = 1.0);
    bool Draw(IGraphics* pGraphics) override;

protected:
    IBitmapStrip *mBase, *mMask, *mTop;
    double mMinAngle, mMaxAngle;
};
