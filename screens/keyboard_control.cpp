#include "screens/keyboard_control.h"

#include <algorithm>

#include "editor/data/keyboard_geometry.h"
#include "editor/qd_editor.h"
#include "gui/gui_resize.h"
#include "gui/igraphics.h"

namespace {

// Octaves, held key, base note, last key index.
constexpr int kKeyboardSetup[] = {qd::keyboard::kOctaves, -1, 24, 59};
constexpr double kVelocitySpan = 0.9;  // of a key's height: below that the velocity is full

IRECT KeyboardRect(int x, int y, const IBitmapStrip* keys) {
    const int w = keys ? keys->width : 0;
    const int h = keys ? keys->height / IKeyboardControl::kKeysFrames : 0;
    return IRECT(x, y, x + IKeyboardControl::kOctaves * w, y + h);
}

}  // namespace

IKeyboardControl::IKeyboardControl(QDEditor* editor, int x, int y, IBitmapStrip* keys, IBitmapStrip* octave)
    : IControl(editor, KeyboardRect(x, y, keys)),
      mEditor(editor),
      mKeys(keys),
      mOctave(octave),
      mOctaveWidth(keys ? keys->width : 0),
      mNOctaves(kKeyboardSetup[0]),
      mHeldKey(kKeyboardSetup[1]),
      mBaseNote(kKeyboardSetup[2]),
      mLastKey(kKeyboardSetup[3]) {
    std::copy(std::begin(qd::keyboard::kKeyX), std::end(qd::keyboard::kKeyX), mKeyX);
    mDblAsSingleClick = true;
}

int IKeyboardControl::KeyAtPoint(int x, int y) {
    const IRECT& t = mTargetRECT;
    if (x < t.L || y < t.T || x >= t.R || y >= t.B || mOctaveWidth <= 0) return kNoKey;
    const int dx = x - t.L, dy = y - t.T;
    const int octave = dx / mOctaveWidth;
    const int xin = dx - octave * mOctaveWidth;

    const IModuleGUIResize* resize = mPlug ? mPlug->GetGUIResize() : nullptr;
    const double s = resize ? resize->GetGUIScaleRatio() : 1.0;
    const int blackH = int(mBlackHeight * s), blackW = int(mBlackWidth * s);
    if (dy < blackH && octave < mNOctaves) {
        for (int key = 0; key < qd::keyboard::kKeysPerOctave; ++key) {
            if (!qd::keyboard::IsBlackKey(key)) continue;
            const int left = int(mKeyX[key] * s);
            if (xin < left) break;
            if (xin < left + blackW) {
                mVelocity = std::min(1.0, dy / (blackH * kVelocitySpan));
                return 12 * octave + key;
            }
        }
    }
    const int w = int(xin / ((mKeys ? mKeys->width : mOctaveWidth) / 7.0));
    const int key = 2 * w - (w >= 3 ? 1 : 0);
    mVelocity = std::min(1.0, dy / (mRECT.H() * kVelocitySpan));
    return 12 * octave + key;
}

void IKeyboardControl::NoteOff(int key) {
    if (mEditor) mEditor->PlayKeyboardNote(mBaseNote + key, false);
}

void IKeyboardControl::OnMouseDown(int x, int y, IMouseMod* pMod) {
    if (pMod && pMod->R) return;
    const int k = KeyAtPoint(x, y);
    if (k < 0 || k == mHeldKey || k > mLastKey) return;
    if (k != mSoundingKey) {
        NoteOff(mSoundingKey);
        if (mEditor) mEditor->PlayKeyboardNote(mBaseNote + k, true);
        mSoundingKey = k;
    }
    if (!mEditor || mEditor->NoteState(mBaseNote + k) == 0) {
        mHeldKey = k;
        SetDirty(true);
    }
}

void IKeyboardControl::OnMouseDrag(int x, int y, int, int, IMouseMod* pMod) { OnMouseDown(x, y, pMod); }

void IKeyboardControl::OnMouseUp(int, int, IMouseMod*) {
    // The note the mouse started ends, whatever lies under the pointer now and even
    // when the hardware keyboard held that key (so it was never marked as held).
    if (mHeldKey < 0 && mSoundingKey < 0) return;
    if (mSoundingKey >= 0) NoteOff(mSoundingKey);
    mSoundingKey = kNoSoundingKey;
    mHeldKey = kNoKey;
    SetDirty(true);
}

IRECT IKeyboardControl::OctaveRect(int octave) const {
    return IRECT(mRECT.L + octave * mOctaveWidth, mRECT.T, mRECT.L + (octave + 1) * mOctaveWidth, mRECT.B);
}

bool IKeyboardControl::Draw(IGraphics* pGraphics) {
    if (mOctave && mOctaveWidth != mOctave->width) mOctaveWidth = mOctave->width;
    for (int i = 0; i < mNOctaves; ++i) {
        IRECT r = OctaveRect(i);
        DrawKey(pGraphics, &r, 0, 0, true);
    }
    if (!mEditor || (mEditor->HeldNotes() == 0 && mHeldKey < 0)) return true;
    for (int k = 0; k <= mLastKey; ++k) {
        if (!mEditor->NoteState(mBaseNote + k) && k != mHeldKey) continue;
        IRECT r = OctaveRect(k / 12);
        DrawKey(pGraphics, &r, 0, k % 12, false);
    }
    return true;
}

bool IKeyboardControl::DrawKey(IGraphics* pGraphics, IRECT* pR, int, int key, bool background) {
    if (background) return pGraphics->DrawBitmapState(mOctave, pR, 0, &mBlend);
    return pGraphics->DrawBitmapState(mKeys, pR, key + 1, &mBlend);
}
