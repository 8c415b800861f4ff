#include "recording_graphics.h"

#include <thread>

namespace guitest {

IPopupMenu* RecordingGraphics::CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pR) {
    ClearMouseCapture();
    std::vector<MenuItemSeen> items;
    for (int i = 0; i < pMenu->GetNItems(); ++i)
        items.push_back({pMenu->GetItem(i)->GetText(), pMenu->GetItem(i)->GetFlags()});
    menus.push_back(items);
    menuRects.push_back(*pR);
    if (menuReplies.empty()) return nullptr;
    const int reply = menuReplies.front();
    menuReplies.pop_front();
    if (reply < 0) return nullptr;
    pMenu->SetChosenItemIdx(reply);
    return pMenu;
}

bool LogPlug::MutexHeldElsewhere() {
    bool taken = false;
    std::thread probe([&] {
        taken = GetMutex()->TryLock();
        if (taken) GetMutex()->Unlock();
    });
    probe.join();
    return !taken;
}

}  // namespace guitest
