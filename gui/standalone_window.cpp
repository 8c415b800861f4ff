#include "gui/standalone_window.h"

#include "gui/gui_resize.h"
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

void FitGUIScaleToScreen(IModuleBase* plug) {
    if (!plug) return;
    platform::Backend* backend = platform::CurrentBackend();
    IModuleGUIResize* resize = plug->GetGUIResize();
    if (backend && resize) resize->FitStoredScaleToHeight(int(backend->WorkArea().height));
    plug->ReloadGUIScale();
}
