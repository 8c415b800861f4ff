// The program-manager page's state, without its controls: the live-panel work builds
// the page itself and fills SetManagerPanelHidden in. What the editor keeps across
// runs (the manager view flag, the cache folder, the 100 bank slots) is here already.
#include <cstring>

#include "editor/qd_editor.h"
#include "winapi/profile.h"

void QDEditor::BuildManagerPanel() {
    std::memset(mManagerFlags, 0, sizeof mManagerFlags);
    mManagerMode = 0;

    const size_t slash = mSettingsPath.find_last_of('/');
    mCacheFolder = (slash == std::string::npos ? std::string() : mSettingsPath.substr(0, slash)) + "/cache/";

    char value[16] = {};
    GetPrivateProfileString("gui", "manager", "", value, sizeof value, mSettingsPath.c_str());
    mManagerView = std::strcmp(value, "true") == 0;

    const int had = mBankSlots.GetSize();
    mBankSlots.Resize(kBankSlotCount);
    for (int i = had; i < mBankSlots.GetSize(); ++i) *mBankSlots.GetAt(i) = BankSlot{};
    for (int i = 0; i < mBankSlots.GetSize(); ++i) mBankSlots.GetAt(i)->mEmpty = true;
}

void QDEditor::SetManagerPanelHidden(bool) {}
