// Controls on the headless window back end, strips of solid distinct frames, one control drawn alone.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui/fixtures.h"
#include "plug/param.h"
#include "raster/bitmap.h"

namespace ctltest {

enum { kParamUnit = 0, kParamMidi = 1, kParamStepless = 2, kNParams = 3 };

// Frame f (1-based) of a test strip is filled with FrameColor(f).
inline IColor FrameColor(int f) { return IColor(255, (40 * f) & 255, (255 - 30 * f) & 255, f & 255); }

class ControlsFixture : public guitest::HeadlessMacFixture {
protected:
    ControlsFixture() : HeadlessMacFixture(kNParams, 400, 300) {}
    void SetUp() override {
        HeadlessMacFixture::SetUp();
        plug.GetParam(kParamUnit)->InitDouble("unit", 0.0, 0.0, 1.0, 0.001);
        plug.GetParam(kParamMidi)->InitInt("midi", 0, 0, 127);
        plug.GetParam(kParamStepless)->InitDouble("free", 0.0, -10.0, 10.0, 0.0);
    }

    // `frames` frames of w x h pixels, side by side or stacked.
    IBitmapStrip* Strip(int frames, int w, int h, bool horizontal = false) {
        auto& bm = mBitmaps.emplace_back(std::make_unique<PIX_MemBitmap>(horizontal ? w * frames : w,
                                                                         horizontal ? h : h * frames));
        auto* bits = static_cast<PIX_PixelValue*>(bm->getBits());
        for (int y = 0; y < bm->getHeight(); ++y)
            for (int x = 0; x < bm->getWidth(); ++x) {
                const IColor c = FrameColor((horizontal ? x / w : y / h) + 1);
                bits[y * bm->getRowSpan() + x] = PIX_MakePixel(c.A, c.R, c.G, c.B);
            }
        return mStrips.emplace_back(new IBitmapStrip{bm.get(), bm->getWidth(), bm->getHeight(), frames, horizontal})
            .get();
    }

    template <typename T> T* Add(T* c) { return graphics->AttachControl(c), c; }

    // Opaque black back buffer, then one attached control drawn through the engine's
    // redraw with the others hidden meanwhile.
    void DrawAlone(IControl* c) {
        ASSERT_TRUE(graphics->PrepDraw());
        IRECT all(0, 0, graphics->Width(), graphics->Height());
        graphics->FillIRect(&COLOR_BLACK, &all, nullptr);
        std::vector<IControl*> others;
        for (int i = 0; i < graphics->NControls(); ++i)
            if (IControl* o = graphics->GetControl(i); o != c && !o->IsHidden()) others.push_back(o), o->Hide(true);
        graphics->Draw(&all);
        for (IControl* o : others) o->Hide(false);
    }
    IColor Pixel(int x, int y) { return graphics->GetPixelColor(x, y); }

    IMouseMod left{true}, right{false, true}, shift{true, false, true}, control{true, false, false, true};

private:
    std::vector<std::unique_ptr<PIX_MemBitmap>> mBitmaps;
    std::vector<std::unique_ptr<IBitmapStrip>> mStrips;
};

}  // namespace ctltest
