#include "gui/standalone_window.h"

#include <algorithm>

#include "gui/gui_resize.h"
#include "gui/igraphics.h"
#include "platform/platform.h"

bool PlatformStandaloneWindow::GetRect(int* left, int* top, int* right, int* bottom) {
    if (!mWindow) return false;
    const platform::Rect r = mWindow->ScreenFrame();
    if (left) *left = int(r.x);
    if (top) *top = int(r.y);
    if (right) *right = int(r.x + r.width);
    if (bottom) *bottom = int(r.y + r.height);
    return true;
}

void PlatformStandaloneWindow::SetPosition(int x, int y, int width, int height) {
    if (!mWindow || width <= 0 || height <= 0) return;
    mWindow->SetContentSize(width, height);
    mWindow->SetPosition(x, y);
}

void FitGUIScaleToScreen(IModuleBase* plug, platform::Window* window) {
    if (!plug) return;
    platform::Backend* backend = platform::CurrentBackend();
    const platform::Rect area = backend ? backend->WorkArea() : platform::Rect{};
    const int menuBar = window ? window->MenuBarHeight() : 0;
    IModuleGUIResize* resize = plug->GetGUIResize();
    // A menu bar that leaves no room still leaves the smallest scale, not the stored one;
    // a work area of no size is one the back end does not know.
    const int height = area.height > 0 ? std::max(int(area.height) - menuBar, 1) : int(area.height);
    if (resize) resize->FitStoredScaleToArea(int(area.width), height);
    plug->ReloadGUIScale();

    IGraphics* graphics = plug->GetGUI();
    if (!window || !graphics || area.width <= 0 || area.height <= 0) return;
    const double x = area.x + std::max(0.0, (area.width - graphics->Width()) / 2.0);
    const double y = area.y + std::max(0.0, (area.height - graphics->Height() - menuBar) / 2.0);
    window->SetPosition(int(x), int(y));
}
