// Text drawn from a bitmap font: a strip with one frame per character from the space up.
#pragma once

#include "common/cmn_string.h"
#include "gui/bitmap_cache.h"
#include "gui/control.h"

class IBitmapTextControl : public IControl {
public:
    // The strip is copied; a null strip gives a control that draws nothing.
    IBitmapTextControl(IModuleBase* plug, const IRECT& rect, const IBitmapStrip* pFont, const char* text = "",
                       const IText* pText = nullptr, int charWidth = 6, int charHeight = 12, int charOffset = 0,
                       bool multiLine = false, bool vCenter = true);
    ~IBitmapTextControl() override;

    // Stores the text and asks for a redraw when it differs from the current one.
    void SetText(const char* text);

    bool Draw(IGraphics* pGraphics) override;

protected:
    CMN_String mStr;
    int mCharWidth, mCharHeight, mCharOffset;
    IBitmapStrip mTextBitmap;
    bool mMultiLine;
    bool mVCentre;
};
