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

void RecordingGraphics::CreateTextEntry(IControl* pControl, IText*, IRECT* pR, const char* str, IParam* pParam) {
    textEntries.push_back({str ? str : "", *pR});
    if (textReplies.empty()) return;
    const std::optional<std::string> reply = textReplies.front();
    textReplies.pop_front();
    if (reply && pParam)
        SetFromStringAfterPrompt(pControl, pParam, reply->c_str());
    else if (reply)
        pControl->TextFromTextEntry(reply->c_str());
}

int RecordingGraphics::ShowMessageBox(const char* text, const char*, int) {
    messageBoxes.push_back(text ? text : "");
    if (messageBoxReplies.empty()) return 1;
    const int reply = messageBoxReplies.front();
    messageBoxReplies.pop_front();
    return reply;
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
