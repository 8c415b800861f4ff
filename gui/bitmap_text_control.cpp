#include "gui/bitmap_text_control.h"

#include <cstring>

#include "gui/igraphics.h"

IBitmapTextControl::IBitmapTextControl(IModuleBase* plug, const IRECT& rect, const IBitmapStrip* pFont,
                                       const char* text, const IText* pText, int charWidth, int charHeight,
                                       int charOffset, bool multiLine, bool vCenter)
    : IControl(plug, rect),
      mStr(text),
      mCharWidth(charWidth),
      mCharHeight(charHeight),
      mCharOffset(charOffset),
      mTextBitmap(pFont ? *pFont : IBitmapStrip{}),
      mMultiLine(multiLine),
      mVCentre(vCenter) {
    if (pText) mText = *pText;
}

IBitmapTextControl::~IBitmapTextControl() = default;

void IBitmapTextControl::SetText(const char* text) {
    if (!text) text = "";
    if (std::strcmp(text, mStr.Get()) == 0) return;
    SetDirty(false);
    mStr.Set(text);
}

bool IBitmapTextControl::Draw(IGraphics* pGraphics) {
    const char* text = mStr.Get();
    if (pGraphics && *text)
        pGraphics->DrawBitmapText(&mTextBitmap, &mRECT, &mText, &mBlend, text, mVCentre, mMultiLine, mCharWidth,
                                  mCharHeight, mCharOffset);
    return true;
}
