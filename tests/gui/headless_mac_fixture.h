// The window back end on the headless platform: a plug-in, its IGraphicsMac and, once
// opened, the headless view that stands in for the window.
#pragma once

#include "gui/cocoa_view.h"
#include "gui/igraphics_mac.h"
#include "platform/headless_backend.h"
#include "recording_graphics.h"

namespace guitest {

class HeadlessMacFixture : public ::testing::Test {
protected:
    HeadlessMacFixture(int nParams, int width, int height)
        : plug(nParams, &log), graphics(new IGraphicsMac(&plug, width, height, 0)) {}
    void SetUp() override { platform::InstallBackend(&backend); }
    void TearDown() override {
        if (plug.GetGUI() != graphics) delete graphics;  // never attached: still ours
        platform::InstallBackend(nullptr);
    }
    LogControl* Add(const char* name, const IRECT& r, int param = -1) {
        auto* c = new LogControl(&plug, &log, name, r, param);
        graphics->AttachControl(c);
        return c;
    }
    platform::HeadlessView* Open() {
        plug.AttachGraphics(graphics);
        EXPECT_NE(graphics->OpenWindow(nullptr), nullptr);
        hv = static_cast<platform::HeadlessView*>(graphics->GetView()->nativeView());
        log.clear();
        return hv;
    }

    platform::HeadlessBackend backend;
    Log log;
    LogPlug plug;
    IGraphicsMac* graphics;
    platform::HeadlessView* hv = nullptr;
};

}  // namespace guitest
