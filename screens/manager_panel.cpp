// The program-manager page: QDEditor::BuildManagerPanel and its show/hide groups. The
// buttons only set their parameters; what they do belongs to the program library.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "editor/qd_editor.h"
#include "gui/controls/fader_control.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/user_text_controls.h"
#include "gui/igraphics_mac.h"
#include "winapi/profile.h"

namespace {

using qd::kManagerBankSlots;
using qd::kManagerListRows;

enum ManagerBmp {
    kPmBackground,
    kPmSelectDisk,
    kPmSelectAll,
    kPmUnselectAll,
    kPmUploadToQd,
    kPmDownloadFromQd,
    kPmUploadToQdDatabase,
    kPmSendToBank,
    kPmSaveToDisk,
    kPmNew,
    kPmLoadFromDisk,
    kPmInvertSelection,
    kPmProgram,
    kPmProgramSelect,
    kPmOverwrite,
    kPmPlayNote,
    kPmScrollBar,
    kPmLocal,
    kPmGlobal,
    kPmLogin,
    kPmLoginBg,
    kPmSelectDirBg,
    kPmCheckbox,
    kPmCount
};

struct ManagerImage {
    int id;
    const char* name;
    int frames;
};

constexpr ManagerImage kImages[kPmCount] = {
    {301, "pm-background", 1},       {302, "pm-selectdisk", 2},        {303, "pm-selectall", 2},
    {304, "pm-unselectall", 2},      {305, "pm-uploadtoqd", 2},        {306, "pm-downloadfromqd", 2},
    {307, "pm-uploadtoqddatabase", 2}, {308, "pm-sendtobank", 2},      {309, "pm-savetodisk", 2},
    {310, "pm-new", 2},              {311, "pm-loadfromdisk", 2},      {312, "pm-invertselection", 2},
    {313, "pm-program", 7},          {314, "pm-programselect", 2},     {315, "pm-overwrite", 2},
    {317, "pm-playnote", 2},         {318, "pm-scrollbar", 1},         {319, "pm-local", 2},
    {320, "pm-global", 2},           {321, "pm-login", 2},             {322, "pm-loginbg", 1},
    {323, "pm-selectdirbg", 1},      {324, "checkbox", 2},
};

struct ButtonPlace {
    ManagerBmp bmp;
    int param, x, y;
};

constexpr ButtonPlace kActionButtons[qd::kManagerActionButtons] = {
    {kPmSelectDisk, 307, 22, 35},          {kPmNew, 312, 324, 35},          {kPmSaveToDisk, 315, 493, 35},
    {kPmSelectAll, 308, 84, 35},           {kPmUnselectAll, 309, 84, 64},   {kPmInvertSelection, 310, 188, 35},
    {kPmSendToBank, 311, 188, 64},         {kPmLoadFromDisk, 313, 387, 35}, {kPmDownloadFromQd, 314, 387, 64},
    {kPmUploadToQdDatabase, 316, 557, 35}, {kPmUploadToQd, 317, 557, 64},   {kPmOverwrite, 330, 942, 64},
};

struct CheckBoxPlace {
    int param, x, y;
};

constexpr CheckBoxPlace kCheckBoxes[] = {
    {318, 668, 70}, {319, 668, 31}, {321, 668, 57}, {320, 668, 44}, {323, 668, 83}, {324, 736, 83},
    {325, 826, 31}, {326, 826, 44}, {327, 826, 57}, {328, 826, 70}, {329, 826, 83},
};

// The page's own parameters, shown and hidden with it, in that order.
constexpr int kPageParams[] = {307, 312, 315, 308, 309, 310, 311, 313, 314, 316, 317, 330,
                               318, 319, 321, 320, 323, 324, 325, 326, 327, 328, 329};

constexpr int kLocalParam = 337, kGlobalParam = 338, kLoginParam = 339, kRememberParam = 340;
constexpr int kRowParam = 332, kSlotParam = 333, kScrollParam = 335, kPlayNoteParam = 336;
constexpr int kOptionParam = 324;  // the check box set on at start

constexpr int kRowTop = 118, kRowHeight = 14, kRowLeft = 24, kRowRight = 274;
constexpr int kSlotColumns = 10, kSlotLeft = 308, kSlotTop = 108, kSlotStepX = 82;
constexpr double kSlotStepY = 68.5;

IText ManagerStyle(const char* face, int size, const IColor& color, int align, int entry = IText::kEntryPlain) {
    IText t(size, color, face, IText::kStyleBold, align);
    t.mEntryKind = entry;
    return t;
}

}  // namespace

void QDEditor::BuildManagerPanel() {
    std::memset(mManagerFlags, 0, sizeof mManagerFlags);
    mManagerMode = 0;

    const size_t slash = mSettingsPath.find_last_of('/');
    mCacheFolder = (slash == std::string::npos ? std::string() : mSettingsPath.substr(0, slash)) + "/cache/";

    char value[16] = {};
    GetPrivateProfileString("gui", "manager", "", value, sizeof value, mSettingsPath.c_str());
    mManagerView = std::strcmp(value, "true") == 0;

    IGraphicsMac* g = mGraphicsMac;
    IBitmapStrip* strips[kPmCount];
    for (int i = 0; i < kPmCount; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "img/manager/%s-2x.png", kImages[i].name);
        strips[i] = g->LoadBitmapStrip(kImages[i].id, file, kImages[i].frames, false);
    }
    auto attach = [&](auto* control) {
        g->AttachControl(control);
        return control;
    };
    auto picture = [&](int x, int y, ManagerBmp bmp) { return attach(new IBitmapControl(this, x, y, -1, strips[bmp])); };
    auto contact = [&](int x, int y, int param, ManagerBmp bmp) {
        return attach(new IContactControl(this, x, y, param, strips[bmp]));
    };
    qd::ManagerControls& m = mManager;

    m.background = picture(0, 0, kPmBackground);
    for (int i = 0; i < qd::kManagerActionButtons; ++i) {
        const ButtonPlace& b = kActionButtons[i];
        m.buttons[i] = contact(b.x, b.y, b.param, b.bmp);
    }

    m.dbModeBackground = picture(0, 0, kPmSelectDirBg);
    m.localButton = contact(22, 35, kLocalParam, kPmLocal);
    m.globalButton = contact(162, 35, kGlobalParam, kPmGlobal);

    const IText field = ManagerStyle("Arial", 15, COLOR_BLACK, IText::kAlignCenter);
    const IText secret = ManagerStyle("Arial", 15, COLOR_BLACK, IText::kAlignCenter, IText::kEntrySecure);
    m.loginBackground = picture(0, 0, kPmLoginBg);
    m.loginButton = contact(115, 70, kLoginParam, kPmLogin);
    m.userName = attach(new IUserTextControl(this, IRECT(68, 21, 258, 37), &field));
    m.password = attach(new IUserTextControl(this, IRECT(68, 45, 258, 61), &secret));
    attach(new ISwitchControl(this, 226, 74, kRememberParam, strips[kPmCheckbox]));
    SetManagerGroup2Hidden(true);
    SetManagerGroup1Hidden(true);

    char memo[16] = {};
    GetPrivateProfileString("dbase", "memo", "", memo, sizeof memo, mSettingsPath.c_str());
    if (std::strcmp(memo, "true") == 0) SetParameterFromGUI(kRememberParam, 1.0);
    if (std::strcmp(memo, "false") == 0) SetParameterFromGUI(kRememberParam, 0.0);

    for (const CheckBoxPlace& c : kCheckBoxes) attach(new ISwitchControl(this, c.x, c.y, c.param, strips[kPmCheckbox]));

    const IText rowStyle = ManagerStyle("Monaco", 12, IColor(255, 200, 200, 200), IText::kAlignNear);
    for (int k = 0; k < kManagerListRows; ++k) {
        const IRECT r(kRowLeft, kRowTop + kRowHeight * k, kRowRight, kRowTop + kRowHeight * (k + 1));
        m.rows[k] = attach(new ITextControl(this, r, &rowStyle));
    }
    GetParam(kRowParam)->InitDouble("", 0.0, 0.0, kManagerListRows, 0.001);
    m.rowSelector = attach(new IInvisibleSelectControl3(
        this, IRECT(kRowLeft, kRowTop, kRowRight, kRowTop + kRowHeight * kManagerListRows), kRowParam));

    GetParam(kScrollParam)->InitDouble("Scroll", 0.0, 0.0, 1.0, 0.001);
    m.scrollBar = attach(new IFaderControl(this, 276, 116, 660, kScrollParam, strips[kPmScrollBar], 0));

    auto slotX = [](int k) { return kSlotStepX * (k % kSlotColumns) + kSlotLeft; };
    auto slotY = [](int k, int dy) { return int(kSlotStepY * (k / kSlotColumns) + kSlotTop + dy); };
    for (int k = 0; k < kManagerBankSlots; ++k) {
        m.slotMarks[k] = picture(slotX(k), slotY(k, 0), kPmProgramSelect);
        m.slotPictures[k] = picture(slotX(k), slotY(k, 0), kPmProgram);
    }
    m.slotMarks[0]->Hide(true);
    m.slotPictures[0]->Hide(true);
    const IText numberStyle = ManagerStyle("Verdana", 22, IColor(255, 220, 220, 220), IText::kAlignNear);
    const IText nameStyle = ManagerStyle("Monaco", 10, IColor(255, 220, 220, 220), IText::kAlignCenter);
    for (int k = 0; k < kManagerBankSlots; ++k) {
        char number[8];
        std::snprintf(number, sizeof number, "%02d", k);
        const int x = slotX(k);
        m.slotNumbers[k] = attach(new ITextControl(this, IRECT(x + 8, slotY(k, 2), x + 48, slotY(k, 26)), &numberStyle, number));
        m.slotNames[k] = attach(new ITextControl(this, IRECT(x + 4, slotY(k, 23), x + 72, slotY(k, 63)), &nameStyle));
    }
    m.slotNumbers[0]->Hide(true);
    m.slotNames[0]->Hide(true);

    m.search = attach(new IUserTextControl(this, IRECT(880, 37, 1100, 53), &field));

    GetParam(kSlotParam)->InitDouble("", 0.0, 0.0, kManagerBankSlots, 0.001);
    m.slotSelector = attach(new IInvisibleMatrixSelectControl(this, IRECT(308, 108, 1120, 788), kSlotParam));
    m.slotSelector->SetGrid(kSlotColumns, kManagerBankSlots / kSlotColumns);

    m.playNote = contact(317, 112, kPlayNoteParam, kPmPlayNote);

    const int had = mBankSlots.GetSize();
    mBankSlots.Resize(kBankSlotCount);
    for (int i = had; i < mBankSlots.GetSize(); ++i) *mBankSlots.GetAt(i) = BankSlot{};
    for (int i = 0; i < mBankSlots.GetSize(); ++i) mBankSlots.GetAt(i)->mEmpty = true;

    SetParameterFromGUI(kOptionParam, 1.0);
    mManagerFlags[0] = 1;
}

void QDEditor::SetManagerPanelHidden(bool hide) {
    IGraphicsMac* g = mGraphicsMac;
    qd::ManagerControls& m = mManager;
    if (!g || !m.background) return;
    m.background->Hide(hide);
    for (int p : kPageParams) g->HideControl(p, hide);
    for (ITextControl* row : m.rows) row->Hide(hide);
    m.rowSelector->Hide(hide);
    for (int k = 1; k < kManagerBankSlots; ++k) {
        m.slotMarks[k]->Hide(hide);
        m.slotPictures[k]->Hide(hide);
        m.slotNumbers[k]->Hide(hide);
        m.slotNames[k]->Hide(hide);
    }
    g->HideControl(kScrollParam, hide);
    m.search->Hide(hide);
    m.slotSelector->Hide(hide);
    g->HideControl(kPlayNoteParam, hide);
    if (!hide) {
        if (mManagerMode != 0) g->HideControl(kPlayNoteParam, true);
        if (mProgramRows.GetSize() < kManagerListRows) g->HideControl(kScrollParam, true);
    }
    SetManagerGroup1Hidden(true);
    SetManagerGroup2Hidden(true);
}

void QDEditor::SetManagerGroup1Hidden(bool hide) {
    qd::ManagerControls& m = mManager;
    if (!m.loginBackground) return;
    m.loginBackground->Hide(hide);
    m.userName->Hide(hide);
    m.password->Hide(hide);
    mGraphicsMac->HideControl(kLoginParam, hide);
    mGraphicsMac->HideControl(kRememberParam, hide);
}

void QDEditor::SetManagerGroup2Hidden(bool hide) {
    qd::ManagerControls& m = mManager;
    if (!m.dbModeBackground) return;
    m.dbModeBackground->Hide(hide);
    mGraphicsMac->HideControl(kGlobalParam, hide);
    mGraphicsMac->HideControl(kLocalParam, hide);
}
