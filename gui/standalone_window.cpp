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

namespace {

platform::Rect WorkArea() {
    platform::Backend* backend = platform::CurrentBackend();
    return backend ? backend->WorkArea() : platform::Rect{};
}

}  // namespace

PanelRoom PanelRoomOnScreen(const platform::Window* window) {
    const platform::Rect area = WorkArea();
    if (area.width <= 0 || area.height <= 0) return {};
    const int menuBar = window ? window->MenuBarHeight() : 0;
    return {int(area.width), std::max(int(area.height) - menuBar, 1)};
}

void FitGUIScaleToScreen(IModuleBase* plug, platform::Window* window) {
    if (!plug) return;
    const platform::Rect area = WorkArea();
    const int menuBar = window ? window->MenuBarHeight() : 0;
    const PanelRoom room = PanelRoomOnScreen(window);
    if (IModuleGUIResize* resize = plug->GetGUIResize()) resize->FitStoredScaleToArea(room.width, room.height);
    plug->ReloadGUIScale();

    IGraphics* graphics = plug->GetGUI();
    if (!window || !graphics || area.width <= 0 || area.height <= 0) return;
    const double x = area.x + std::max(0.0, (area.width - graphics->Width()) / 2.0);
    const double y = area.y + std::max(0.0, (area.height - graphics->Height() - menuBar) / 2.0);
    window->SetPosition(int(x), int(y));
}
