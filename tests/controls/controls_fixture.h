// Controls on the headless window back end: a plug-in with a few parameters, image
// strips whose frames are solid, distinct colours, and helpers to draw a control
// alone into the back buffer and read its pixels back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui/headless_mac_fixture.h"
#include "plug/param.h"
#include "raster/bitmap.h"

namespace ctltest {

// Parameters every test may bind to.
enum { kParamUnit = 0, kParamMidi = 1, kParamStepless = 2, kNParams = 4 };

// Frame f (1-based) of a test strip is filled with FrameColor(f).
inline IColor FrameColor(int frame) { return IColor(255, (40 * frame) & 255, (255 - 30 * frame) & 255, frame & 255); }

class ControlsFixture : public guitest::HeadlessMacFixture {
protected:
    ControlsFixture() : HeadlessMacFixture(kNParams, 400, 300) {}

    void SetUp() override {
        HeadlessMacFixture::SetUp();
        plug.GetParam(kParamUnit)->InitDouble("unit", 0.0, 0.0, 1.0, 0.001);
        plug.GetParam(kParamMidi)->InitInt("midi", 0, 0, 127);
        plug.GetParam(kParamStepless)->InitDouble("free", 0.0, -10.0, 10.0, 0.0);
    }

    // A strip of `frames` frames of w x h pixels each, side by side or stacked.
    IBitmapStrip* Strip(int frames, int w, int h, bool horizontal = false) {
        const int bw = horizontal ? w * frames : w, bh = horizontal ? h : h * frames;
        auto bm = std::make_unique<PIX_MemBitmap>(bw, bh);
        auto* bits = static_cast<PIX_PixelValue*>(bm->getBits());
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x) {
                const int f = (horizontal ? x / w : y / h) + 1;
                const IColor c = FrameColor(f);
                bits[y * bm->getRowSpan() + x] = PIX_MakePixel(c.A, c.R, c.G, c.B);
            }
        auto strip = std::make_unique<IBitmapStrip>();
        strip->bitmap = bm.get();
        strip->width = bw;
        strip->height = bh;
        strip->frames = frames;
        strip->horizontal = horizontal;
        bitmaps_.push_back(std::move(bm));
        strips_.push_back(std::move(strip));
        return strips_.back().get();
    }

    // Attaches a control (the graphics own it from here on).
    template <typename T>
    T* Add(T* c) {
        graphics->AttachControl(c);
        return c;
    }

    // Clears the back buffer to opaque black and draws one attached control into it
    // through the engine's redraw, the others hidden meanwhile.
    void DrawAlone(IControl* c) {
        ASSERT_TRUE(graphics->PrepDraw());
        IRECT all(0, 0, graphics->Width(), graphics->Height());
        graphics->FillIRect(&COLOR_BLACK, &all, nullptr);
        std::vector<IControl*> others;
        for (int i = 0; i < graphics->NControls(); ++i) {
            IControl* o = graphics->GetControl(i);
            if (o != c && !o->IsHidden()) others.push_back(o), o->Hide(true);
        }
        graphics->Draw(&all);
        for (IControl* o : others) o->Hide(false);
    }
    IColor Pixel(int x, int y) { return graphics->GetPixelColor(x, y); }

    IMouseMod left{true}, right{false, true}, shift{true, false, true}, control{true, false, false, true};

private:
    std::vector<std::unique_ptr<PIX_MemBitmap>> bitmaps_;
    std::vector<std::unique_ptr<IBitmapStrip>> strips_;
};

}  // namespace ctltest
