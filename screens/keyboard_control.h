// The five-octave on-screen keyboard (notes 24 to 83): clicking and dragging play
// notes on the instrument, and the keys the hardware keyboard holds are drawn down.
#pragma once

#include "editor/data/keyboard_geometry.h"
#include "gui/bitmap_cache.h"
#include "gui/control.h"

class QDEditor;

class IKeyboardControl : public IControl {
public:
    static constexpr int kOctaves = qd::keyboard::kOctaves;
    static constexpr int kKeysFrames = qd::keyboard::kKeysPerOctave;
    static constexpr int kNoKey = -1;
    static constexpr int kNoSoundingKey = -100;

    // `keys` is the 12-frame strip of pressed keys, `octave` one octave at rest; neither
    // is owned.
    IKeyboardControl(QDEditor* editor, int x, int y, IBitmapStrip* keys, IBitmapStrip* octave);

    // The key index (0 to 59) under the point, or -1; sets the velocity on a hit.
    int KeyAtPoint(int x, int y);

    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseUp(int x, int y, IMouseMod* pMod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    void OnMouseWheel(int, int, IMouseMod*, int) override {}
    bool Draw(IGraphics* pGraphics) override;
    // The octave at rest when `background`, else the octave with key `key` (0 to 11)
    // down. The first int is not read.
    virtual bool DrawKey(IGraphics* pGraphics, IRECT* pR, int, int key, bool background);

    // 0 to 1, from the height at which the last key was struck.
    double Velocity() const { return mVelocity; }
    void SetVelocity(double velocity) { mVelocity = velocity; }
    int HeldKey() const { return mHeldKey; }
    int SoundingKey() const { return mSoundingKey; }

private:
    void NoteOff(int key);
    IRECT OctaveRect(int octave) const;

    QDEditor* mEditor;
    IBitmapStrip* mKeys;
    IBitmapStrip* mOctave;
    int mKeyX[kKeysFrames];
    int mOctaveWidth;
    int mNOctaves;
    int mHeldKey;
    int mBaseNote;
    int mLastKey;
    int mBlackWidth = qd::keyboard::kBlackKeyWidth;
    int mBlackHeight = qd::keyboard::kBlackKeyHeight;
    double mVelocity = 0.0;
    int mSoundingKey = kNoSoundingKey;
};
