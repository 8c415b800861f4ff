// The program manager page's controls that the editor keeps (borrowed: IGraphics owns
// them once attached).
#pragma once

class IControl;
class IFaderControl;
class IInvisibleMatrixSelectControl;
class IInvisibleSelectControl3;
class ITextControl;
class IUserTextControl;

namespace qd {

inline constexpr int kManagerListRows = 47;
inline constexpr int kManagerActionButtons = 12;
inline constexpr int kManagerBankSlots = 100;

struct ManagerControls {
    IControl* background = nullptr;
    IControl* buttons[kManagerActionButtons] = {};
    // The database-mode group: its background and the local and global switches.
    IControl* dbModeBackground = nullptr;
    IControl* localButton = nullptr;
    IControl* globalButton = nullptr;
    // The log-in group.
    IControl* loginBackground = nullptr;
    IControl* loginButton = nullptr;
    IUserTextControl* userName = nullptr;
    IUserTextControl* password = nullptr;
    ITextControl* rows[kManagerListRows] = {};
    IInvisibleSelectControl3* rowSelector = nullptr;
    IFaderControl* scrollBar = nullptr;
    IControl* slotMarks[kManagerBankSlots] = {};
    IControl* slotPictures[kManagerBankSlots] = {};
    ITextControl* slotNumbers[kManagerBankSlots] = {};
    ITextControl* slotNames[kManagerBankSlots] = {};
    IUserTextControl* search = nullptr;
    IInvisibleMatrixSelectControl* slotSelector = nullptr;
    IControl* playNote = nullptr;
};

}  // namespace qd
