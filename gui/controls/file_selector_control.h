// A button that opens the system's file dialog and keeps the chosen file.
#pragma once

#include "common/cmn_string.h"
#include "gui/bitmap_cache.h"
#include "gui/control.h"

class IFileSelectorControl : public IControl {
public:
    enum EFileAction { kFileOpen = 0, kFileSave = 1 };
    enum EState { kIdle = 0, kSelecting = 1, kDone = 2 };

    // `extensions` are separated by spaces; the bitmap (not owned) shows while the
    // dialog is open.
    IFileSelectorControl(IModuleBase* plug, const IRECT& rect, int paramIdx, IBitmapStrip* pBitmap,
                         int fileAction = kFileOpen, const char* dir = "", const char* extensions = "");
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    bool Draw(IGraphics* pGraphics) override;
    // A finished selection reports dirty exactly once more.
    bool IsDirty() override;

    void GetLastSelectedFile(CMN_String* pOut) const { pOut->Set(mFile.Get()); }
    // Splits a path at its last "/" into directory (with the slash) and file.
    void SetLastSelectedFile(const char* path);
    void GetDirectory(CMN_String* pOut) const { pOut->Set(mDir.Get()); }
    void SetDirectory(const char* dir) { mDir.Set(dir); }

protected:
    CMN_String mDir{nullptr, 128}, mFile{nullptr, 128}, mExtensions{nullptr, 128};
    int mFileAction;
    int mState = kIdle;
    IBitmapStrip* mBitmap;
};
