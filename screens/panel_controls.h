// The controls the panel keeps to show, hide, move and fill later (borrowed: IGraphics
// owns them once attached), as the panel builder files them by their plan items.
#pragma once

#include "editor/data/panel_places.h"

class IBitmapOverlayControl;
class IControl;
class IFaderControl;
class IFileSelectorControl;
class IInvisibleMatrixSelectControl;
class IInvisibleSelectControl3;
class IKeyboardControl;
class IParaGraphicEq;
class ISpinnerControl;
class ITextControl;
class IUserTextControl;

namespace qd {

// The program manager page's.
struct ManagerControls {
    IControl* background = nullptr;
    IControl* buttons[manager::kActionButtons] = {};
    // The database-mode group: its background and the local and global switches.
    IControl* dbModeBackground = nullptr;
    IControl* localButton = nullptr;
    IControl* globalButton = nullptr;
    // The log-in group.
    IControl* loginBackground = nullptr;
    IControl* loginButton = nullptr;
    IUserTextControl* userName = nullptr;
    IUserTextControl* password = nullptr;
    ITextControl* rows[manager::kListRows] = {};
    IInvisibleSelectControl3* rowSelector = nullptr;
    IFaderControl* scrollBar = nullptr;
    IControl* slotMarks[manager::kBankSlots] = {};
    IControl* slotPictures[manager::kBankSlots] = {};
    ITextControl* slotNumbers[manager::kBankSlots] = {};
    ITextControl* slotNames[manager::kBankSlots] = {};
    IUserTextControl* search = nullptr;
    IInvisibleMatrixSelectControl* slotSelector = nullptr;
    IControl* playNote = nullptr;
};

struct PanelControls {
    static constexpr int kValueTextCount = 186;  // parameters 3 to 188, indexed by parameter - 3
    ITextControl* valueTexts[kValueTextCount] = {};
    ITextControl* programName = nullptr;
    ITextControl* flexiPlus[kFlexiSlotCount] = {};
    ITextControl* flexiLearn[kFlexiSlotCount] = {};
    IControl* background = nullptr;
    IControl* background2 = nullptr;
    IControl* vcoSaveBg = nullptr;
    IControl* flexiSaveBg = nullptr;
    IControl* saveFromQdBg = nullptr;
    IControl* fxBackgrounds[4] = {};  // modulation, overdrive, equalizer bands, equalizer graph
    IControl* fxTabHighlights[kFxTabs] = {};
    IControl* sourceList = nullptr;
    IControl* rangeList = nullptr;
    IControl* flexiLeds[kFlexiSlotCount] = {};
    IControl* syncedSliders[3] = {};  // LFO rate, delay 1, delay 2
    IControl* midiSyncSlider = nullptr;
    IControl* flexiRangeSliders[2 * kFlexiSlotCount] = {};
    IControl* modWheel = nullptr;
    IFileSelectorControl* fileSelectors[5] = {};  // firmware, load, load "pr4 pr3 prg", save, write one
    ISpinnerControl* midiCCSpinner = nullptr;
    IParaGraphicEq* eqGraph = nullptr;
    IKeyboardControl* keyboard = nullptr;
    IBitmapOverlayControl* aboutBox = nullptr;
    ManagerControls manager;
};

}  // namespace qd
