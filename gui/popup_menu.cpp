#include "gui/popup_menu.h"

#include <algorithm>

IPopupMenuItem::IPopupMenuItem(const char* text, int flags, IPopupMenu* submenu)
    : mText(text, 128), mSubmenu(submenu), mFlags(flags) {}

int IPopupMenuItem::FlagForStyle(int style) {
    switch (style) {
        case 1: return kDisabled;
        case 2: return kTitle;
        case 3: return kChecked;
        case 4: return kSeparator;
        default: return 0;
    }
}

void IPopupMenuItem::SetChecked(bool checked) { SetStyle(checked, 3); }

void IPopupMenuItem::SetStyle(bool on, int style) {
    const int flag = FlagForStyle(style);
    mFlags = on ? (mFlags | flag) : (mFlags & ~flag);
}

IPopupMenu::~IPopupMenu() { mMenuItems.DeleteAll(true); }

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* item, int index) {
    if (!item) return nullptr;
    const int count = mMenuItems.GetSize();
    const int at = index == -1 ? count : std::clamp(index, 0, count);
    if (!mMenuItems.Insert(at, item)) {
        delete item;
        return nullptr;
    }
    return item;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, int flags) {
    return AddItem(new IPopupMenuItem(text, flags), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu) {
    return AddItem(new IPopupMenuItem(text, 0, submenu), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, IPopupMenu* submenu) { return AddItem(text, -1, submenu); }

IPopupMenuItem* IPopupMenu::AddSeparator(int index) {
    return AddItem(new IPopupMenuItem("", IPopupMenuItem::kSeparator), index);
}

const char* IPopupMenu::GetItemText(int index) const {
    const IPopupMenuItem* item = GetItem(index);
    return item ? item->GetText() : "";
}

void IPopupMenu::SetPrefix(int style) {
    if (style >= 0 && style <= 3) mPrefix = style;
}

bool IPopupMenu::CheckItem(int index, bool checked) {
    IPopupMenuItem* item = GetItem(index);
    if (!item) return false;
    item->SetChecked(checked);
    return true;
}

void IPopupMenu::CheckItemAlone(int index) {
    const int count = mMenuItems.GetSize();
    for (int i = 0; i < count; ++i) mMenuItems.Get(i)->SetChecked(i == index);
}

bool IPopupMenu::IsItemChecked(int index) const {
    const IPopupMenuItem* item = GetItem(index);
    return item && item->GetChecked();
}

void IPopupMenu::SetItemStyle(int index, int style, bool on) {
    if (IPopupMenuItem* item = GetItem(index)) item->SetStyle(on, style);
}
