// Platform-independent model of a pop-up menu: items with texts, flags and optional
// submenus, shown by the window back end, which writes the chosen index back.
#pragma once

#include "common/cmn_string.h"
#include "common/ptr_list.h"

class IPopupMenu;

class IPopupMenuItem {
public:
    enum Flags {
        kDisabled = 1,
        kTitle = 2,  // indented one level
        kChecked = 4,
        kSeparator = 8,
    };

    explicit IPopupMenuItem(const char* text, int flags = 0, IPopupMenu* submenu = nullptr);
    IPopupMenuItem(const IPopupMenuItem&) = delete;
    IPopupMenuItem& operator=(const IPopupMenuItem&) = delete;

    void SetChecked(bool checked);
    // Style numbers 1 to 4 stand for the flags 1, 2, 4 and 8; others change nothing.
    void SetStyle(bool on, int style);

    const char* GetText() const { return mText.Get(); }
    IPopupMenu* GetSubmenu() const { return mSubmenu; }
    int GetFlags() const { return mFlags; }
    bool GetChecked() const { return (mFlags & kChecked) != 0; }
    bool GetEnabled() const { return (mFlags & kDisabled) == 0; }
    bool GetIsTitle() const { return (mFlags & kTitle) != 0; }
    bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }

    // The flag a style number stands for, or 0 for an unknown style.
    static int FlagForStyle(int style);

private:
    CMN_String mText;
    IPopupMenu* mSubmenu;  // not owned: whoever built the submenu frees it
    int mFlags;
};

class IPopupMenu {
public:
    IPopupMenu() = default;
    ~IPopupMenu();
    IPopupMenu(const IPopupMenu&) = delete;
    IPopupMenu& operator=(const IPopupMenu&) = delete;

    // The menu takes the item. Index -1 appends; any other index is clamped to 0..count.
    // Returns the item, or null when it could not be added (a given item is then
    // deleted, since the menu had taken it).
    IPopupMenuItem* AddItem(IPopupMenuItem* item, int index = -1);
    IPopupMenuItem* AddItem(const char* text, int index = -1, int flags = 0);
    IPopupMenuItem* AddItem(const char* text, int index, IPopupMenu* submenu);
    IPopupMenuItem* AddItem(const char* text, IPopupMenu* submenu);
    IPopupMenuItem* AddSeparator(int index = -1);

    IPopupMenuItem* GetItem(int index) const { return mMenuItems.Get(index); }
    const char* GetItemText(int index) const;
    int GetNItems() const { return mMenuItems.GetSize(); }

    // Number prefix shown before each item: 0 none, 1 "%1d: ", 2 "%02d: ", 3 "%03d: ".
    void SetPrefix(int style);
    int GetPrefix() const { return mPrefix; }

    int GetChosenItemIdx() const { return mChosenItemIdx; }
    void SetChosenItemIdx(int index) { mChosenItemIdx = index; }

    bool CheckItem(int index, bool checked);
    // Checks the item at `index` and clears every other; an index outside the list
    // only clears.
    void CheckItemAlone(int index);
    bool IsItemChecked(int index) const;
    void SetItemStyle(int index, int style, bool on);

private:
    int mPrefix = 0;
    int mChosenItemIdx = -1;
    CMN_PtrList<IPopupMenuItem> mMenuItems{4096};
};
