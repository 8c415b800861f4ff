// The standalone shell's main window on the platform layer, and the start-up step
// that keeps a stored GUI scale within the screen.
#pragma once

#include "plug/module_standalone.h"

namespace platform {
class Window;
}

// Resizing keeps the window's top-left corner: the size asked for is the content's,
// and the window manager adds its own title bar.
class PlatformStandaloneWindow : public IStandaloneWindow {
public:
    // The window is not owned.
    explicit PlatformStandaloneWindow(platform::Window* window) : mWindow(window) {}
    bool GetRect(int* left, int* top, int* right, int* bottom) override;
    void SetPosition(int x, int y, int width, int height) override;

private:
    platform::Window* mWindow;
};

// The room the panel has on the screen: the work area's width, and its height less the
// window's menu bar (at least one pixel, so a bar that leaves no room still asks for the
// smallest scale). 0 x 0 when the back end knows no work area, which fits any scale.
struct PanelRoom {
    int width = 0, height = 0;
};
PanelRoom PanelRoomOnScreen(const platform::Window* window);

// The start-up fit: lowers a stored GUI scale at which the window (the panel and the
// window's menu bar) would be wider or taller than the screen's work area, stores it,
// applies the stored scale (IModuleBase::ReloadGUIScale), and centres the window in the
// work area, its top-left corner inside it. Without a window only the panel is fitted.
// A plug-in that fitted its scale to PanelRoomOnScreen before its panel was attached
// has nothing left to lower: the images were brought to the fitted scale once, there.
void FitGUIScaleToScreen(IModuleBase* plug, platform::Window* window);
