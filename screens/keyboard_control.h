// The on-screen keyboard as the panel places it: five octaves of the keys strip at
// (316, 728), bound to no parameter. Playing it and showing held notes are added by
// the live-panel work; until then it draws the octaves at rest and plays nothing.
#pragma once

#include "gui/bitmap_cache.h"
#include "gui/control.h"

class IKeyboardControl : public IControl {
public:
    static constexpr int kOctaves = 5;
    static constexpr int kKeysFrames = 12;

    // `keys` is the 12-frame strip of pressed keys, `octave` one octave at rest; neither
    // is owned.
    IKeyboardControl(IModuleBase* plug, int x, int y, IBitmapStrip* keys, IBitmapStrip* octave);

    bool Draw(IGraphics* pGraphics) override;
    void OnMouseWheel(int, int, IMouseMod*, int) override {}

    // 0 to 1, from the height at which the last key was struck.
    double Velocity() const { return mVelocity; }
    void SetVelocity(double velocity) { mVelocity = velocity; }

private:
    IBitmapStrip* mKeys;
    IBitmapStrip* mOctave;
    int mOctaveWidth;
    double mVelocity = 0.0;
};
