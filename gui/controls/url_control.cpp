#include "gui/controls/url_control.h"

#include <cstdio>

#include "gui/igraphics.h"
#include "plug/module_base.h"

namespace {

// Texts longer than the field are cut, never copied past it.
void CopyBounded(char (&dst)[IURLControl::kMaxURLLength], const char* src) {
    if (src && *src) std::snprintf(dst, sizeof dst, "%s", src);
}

}  // namespace

IURLControl::IURLControl(IModuleBase* plug, const IRECT& rect, const char* url, const char* backupURL,
                         const char* errorMsg)
    : IControl(plug, rect, -1) {
    CopyBounded(mURL, url);
    CopyBounded(mBackupURL, backupURL);
    CopyBounded(mErrMsg, errorMsg);
}

void IURLControl::OnMouseDown(int, int, IMouseMod*) {
    IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
    if (!graphics) return;
    bool opened = mURL[0] && graphics->OpenURL(mURL);
    if (!opened && mBackupURL[0]) graphics->OpenURL(mBackupURL);
}
