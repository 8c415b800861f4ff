// An invisible button that opens a web address, or a backup address when the first
// cannot be opened.
#pragma once

#include "gui/control.h"

class IURLControl : public IControl {
public:
    static constexpr int kMaxURLLength = 256;  // bytes, with the terminating zero

    // Longer texts are cut to fit.
    IURLControl(IModuleBase* plug, const IRECT& rect, const char* url, const char* backupURL = nullptr,
                const char* errorMsg = nullptr);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    bool Draw(IGraphics*) override { return true; }

protected:
    char mURL[kMaxURLLength] = {};
    char mBackupURL[kMaxURLLength] = {};
    char mErrMsg[kMaxURLLength] = {};
};
