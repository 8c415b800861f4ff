#include "gui/bitmap_control.h"

#include <cmath>

#include "gui/igraphics.h"

int FrameForValue(int frames, double value) {
    if (frames < 2) return 1;
    if (!(value == value)) return 1;  // NaN picks no frame but the first
    const double i = std::trunc((frames - 1) * value + 0.5);
    if (i < 0.0) return 1;
    if (i >= frames - 1) return frames;
    return int(i) + 1;
}

IPanelControl::IPanelControl(IModuleBase* plug, const IRECT& rect, const IColor* pColor)
    : IControl(plug, rect, -1), mColor(pColor ? *pColor : COLOR_BLACK) {}

bool IPanelControl::Draw(IGraphics* pGraphics) {
    return pGraphics->FillIRect(&mColor, &mRECT, &mBlend);
}

int IBitmapControl::FrameWidth(const IBitmapStrip* pBitmap) {
    if (!pBitmap) return 0;
    return pBitmap->horizontal && pBitmap->frames > 0 ? pBitmap->width / pBitmap->frames : pBitmap->width;
}

int IBitmapControl::FrameHeight(const IBitmapStrip* pBitmap) {
    if (!pBitmap) return 0;
    return !pBitmap->horizontal && pBitmap->frames > 0 ? pBitmap->height / pBitmap->frames : pBitmap->height;
}

IRECT IBitmapControl::FrameRect(int x, int y, const IBitmapStrip* pBitmap) {
    return IRECT(x, y, x + FrameWidth(pBitmap), y + FrameHeight(pBitmap));
}

IBitmapControl::IBitmapControl(IModuleBase* plug, int x, int y, int paramIdx, IBitmapStrip* pBitmap,
                               IChannelBlend blend)
    : IControl(plug, FrameRect(x, y, pBitmap), paramIdx, blend), mBitmap(pBitmap) {}

bool IBitmapControl::Draw(IGraphics* pGraphics) {
    if (!mBitmap) return true;
    return pGraphics->DrawBitmapState(mBitmap, &mRECT, FrameForValue(mBitmap->frames, mValue), &mBlend);
}

bool IBitmapControl::IsOpaqueOver(IGraphics* pGraphics, const IRECT& r) {
    return mBitmap && pGraphics->BitmapStateCovers(mBitmap, &mRECT, FrameForValue(mBitmap->frames, mValue), &mBlend, r);
}
