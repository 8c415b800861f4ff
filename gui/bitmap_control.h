// The two controls the engine itself attaches as the panel background: a solid
// colour and a bitmap showing the frame its value chooses. Every strip-drawing
// control of the control library builds on IBitmapControl.
#pragma once

#include "gui/bitmap_cache.h"
#include "gui/control.h"

// 1-based frame a strip of `frames` frames shows for a normalised value:
// trunc((frames - 1) * value + 0.5) + 1, limited to 1..frames.
int FrameForValue(int frames, double value);

class IPanelControl : public IControl {
public:
    IPanelControl(IModuleBase* plug, const IRECT& rect, const IColor* pColor);
    bool Draw(IGraphics* pGraphics) override;

protected:
    IColor mColor;
};

class IBitmapControl : public IControl {
public:
    // Draw rectangle: one frame at (x, y). The strip is not owned; null draws nothing.
    IBitmapControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                   IChannelBlend blend = IChannelBlend());
    bool Draw(IGraphics* pGraphics) override;
    // Opaque where the frame Draw shows is, at full weight.
    bool IsOpaqueOver(IGraphics* pGraphics, const IRECT& r) override;

    // One frame's size along and across a strip.
    static int FrameWidth(const IBitmapStrip* pBitmap);
    static int FrameHeight(const IBitmapStrip* pBitmap);
    // One frame's rectangle with its top-left corner at (x, y).
    static IRECT FrameRect(int x, int y, const IBitmapStrip* pBitmap);

protected:
    IBitmapStrip* mBitmap;
};
