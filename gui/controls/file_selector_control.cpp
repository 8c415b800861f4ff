#include "gui/controls/file_selector_control.h"

#include <cstring>

#include "gui/igraphics.h"
#include "plug/module_base.h"

IFileSelectorControl::IFileSelectorControl(IModuleBase* plug, const IRECT& rect, int paramIdx, IBitmapStrip* pBitmap,
                                           int fileAction, const char* dir, const char* extensions)
    : IControl(plug, rect, paramIdx), mFileAction(fileAction), mBitmap(pBitmap) {
    mDir.Set(dir ? dir : "");
    mExtensions.Set(extensions ? extensions : "");
}

void IFileSelectorControl::OnMouseDown(int, int, IMouseMod*) {
    IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
    if (!graphics) return;
    mState = kSelecting;
    SetDirty(false);
    // The dialog starts on the last file's name; its folder is the directory.
    const char* slash = std::strrchr(mFile.Get(), '/');
    CMN_String chosen(slash ? slash + 1 : mFile.Get());
    graphics->PromptForFile(&chosen, mFileAction, &mDir, mExtensions.Get());
    if (chosen.GetLength() == 0) {
        // Cancelled: the last file stays and the editor hears nothing.
        mState = kIdle;
        return;
    }
    mFile.Set(chosen.Get());
    mValue += 1.0;
    if (mValue > 1.0) mValue = 0.0;
    mState = kDone;
    SetDirty(true);
}

bool IFileSelectorControl::Draw(IGraphics* pGraphics) {
    if (mState != kSelecting || !mBitmap) return true;
    return pGraphics->DrawBitmap(mBitmap, &mRECT, 0, 0, nullptr);
}

bool IFileSelectorControl::IsDirty() {
    if (mDirty) return true;
    if (mState == kDone) {
        mState = kIdle;
        return true;
    }
    return false;
}

void IFileSelectorControl::SetLastSelectedFile(const char* path) {
    if (!path) return;
    const char* slash = std::strrchr(path, '/');
    if (!slash) {
        mFile.Set(path);
        return;
    }
    mDir.Set(path, int(slash - path) + 1);
    mFile.Set(slash + 1);
}
