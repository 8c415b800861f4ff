#include "screens/keyboard_control.h"

#include "gui/igraphics.h"

namespace {

IRECT KeyboardRect(int x, int y, const IBitmapStrip* keys) {
    const int w = keys ? keys->width : 0;
    const int h = keys ? keys->height / IKeyboardControl::kKeysFrames : 0;
    return IRECT(x, y, x + IKeyboardControl::kOctaves * w, y + h);
}

}  // namespace

IKeyboardControl::IKeyboardControl(IModuleBase* plug, int x, int y, IBitmapStrip* keys, IBitmapStrip* octave)
    : IControl(plug, KeyboardRect(x, y, keys)), mKeys(keys), mOctave(octave), mOctaveWidth(keys ? keys->width : 0) {
    mDblAsSingleClick = true;
}

bool IKeyboardControl::Draw(IGraphics* pGraphics) {
    if (mOctave && mOctaveWidth != mOctave->width) mOctaveWidth = mOctave->width;
    for (int i = 0; i < kOctaves; ++i) {
        IRECT r(mRECT.L + i * mOctaveWidth, mRECT.T, mRECT.L + (i + 1) * mOctaveWidth, mRECT.B);
        pGraphics->DrawBitmapState(mOctave, &r, 1, &mBlend);
    }
    return true;
}
