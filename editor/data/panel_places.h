// Where the panels put their controls, in unscaled GUI pixels (the page is 1140 x 800),
// named by what stands there. A Place is a control's top-left corner: the control is
// as large as one frame of its image. The per-skin record holds what the "lcd" panel
// places, draws or colours differently from the "orig" one ("space" and "solid").
//
// The sliders of the sound program stand at their points of kParamPositions
// (param_table.h): the slider's top-left corner kSliderLift above the point, its value
// text by the skin's rule (RuleValueText).
#pragma once

#include "common/gui_types.h"
#include "editor/data/panel_bitmaps.h"
#include "editor/data/param_table.h"
#include "editor/data/skin.h"

namespace qd {

struct Place {
    int x, y;
};

inline constexpr int kPanelWidth = 1140, kPanelHeight = 800;

// How far above its table point a slider's top edge stands; the Flexi range texts
// that stand in for a knob take the knob's place the same way.
inline constexpr int kSliderLift = 12;

// The Flexi slots: slot n stands kFlexiStep * n to the right of slot 1's places.
inline constexpr int kFlexiSlotCount = 4;
inline constexpr int kFlexiStep = 168;
inline constexpr IRECT kFlexiSourceSpinner{478, 11, 548, 27};
inline constexpr IRECT kFlexiRangeSpinner{478, 35, 548, 51};
inline constexpr IRECT kFlexiPlusText{532, 47, 552, 59};
inline constexpr IRECT kFlexiLearnText{551, 71, 611, 83};
inline constexpr Place kFlexiButton{570, 50};
inline constexpr Place kFlexiModeSwitch{478, 56};
// Where the Flexi range sliders wait, off the page, until the view layout places them.
inline constexpr Place kFlexiRangeParking{300, -40};
inline constexpr Place kTrackingSwitch{408, 36};

// The effects: four tabs side by side (overdrive, equalizer, chorus, delay), each with
// a click area kFxTabClickWidth wide; the order switch right of them.
inline constexpr int kFxTabs = 4;
// The tabs from the left, as the builders place them; the panel keeps each tab's
// highlight (the effect-on and modulation-mode indicators) by this number.
enum FxTab { kFxTabOverdrive, kFxTabEqualizer, kFxTabChorus, kFxTabDelay };
inline constexpr int kFxTabX[kFxTabs] = {523, 618, 713, 808};
inline constexpr int kFxTabClickWidth = 100;
inline constexpr int kFxOrderSwitchX = 906;
inline constexpr IRECT kFxRadioButtons{524, 565, 810, 581};  // "orig" only, never shown
inline constexpr IRECT kParametricEqButton{1010, 565, 1037, 584};
inline constexpr IRECT kGraphEqButton{1041, 565, 1068, 584};

// The list overlays: four columns of entries under a bar that closes the list.
inline constexpr int kListColumns = 4;
inline constexpr IRECT kListColumn{23, 180, 295, 680};  // the first; the others follow
inline constexpr int kListColumnStep = 272;
inline constexpr IRECT kCloseListArea{0, 0, 1140, 120};
inline constexpr Place kPolaritySwitch{575, 100};

// The bottom row and the program box.
inline constexpr Place kVcoSaveButton{18, 730};
inline constexpr Place kFlexiSaveButton{18, 760};
inline constexpr Place kRandomButton{822, 758};
inline constexpr Place kResetButton{822, 730};
inline constexpr Place kSelectAllButton{1066, 730};
inline constexpr Place kClearAllButton{1066, 758};
// Four check boxes per column (copy from, copy to, and the randomiser's three).
inline constexpr int kCheckboxColumns[] = {66, 140, 874, 922, 1002};
inline constexpr int kCheckboxRows = 4;
inline constexpr int kCheckboxTop = 731, kCheckboxStep = 13;
inline constexpr IRECT kMidiChannelSpinner{262, 730, 292, 770};
inline constexpr IRECT kMidiCCSpinner{262, 775, 292, 815};
inline constexpr Place kModWheelSlider{293, 730};
inline constexpr IRECT kFirmwareSelector{0, 0, 40, 16};
// The save-from-instrument box: the program slot and the button that fetches it.
inline constexpr IRECT kSlotSpinner{548, 348, 588, 388};
inline constexpr IRECT kReceiveButton{524, 404, 600, 444};
// Value texts beside switches that stand where both skins put them.
inline constexpr IRECT kPortamentoSlopeText{858, 445, 906, 461};
inline constexpr IRECT kPortamentoModeText{894, 445, 942, 461};

// Around the page.
inline constexpr Place kKeyboardPlace{316, 728};
inline constexpr Place kAboutBoxPlace{70, 0};
inline constexpr IRECT kAboutCloseArea{0, 0, 20, 20};  // inside the box

// The program manager page (the same in every skin).
namespace manager {

inline constexpr int kListRows = 47;
inline constexpr int kActionButtons = 12;
inline constexpr int kBankSlots = 100;

struct ButtonPlace {
    Bmp image;
    int param;
    Place at;
};
// clang-format off
inline constexpr ButtonPlace kActionButtonPlaces[kActionButtons] = {
    {kBmpPmSelectDisk, param::kSelectDisk, {22, 35}}, {kBmpPmNew, param::kNewBank, {324, 35}},
    {kBmpPmSaveToDisk, param::kSaveToDisk, {493, 35}}, {kBmpPmSelectAll, param::kSelectAllPrograms, {84, 35}},
    {kBmpPmUnselectAll, param::kUnselectAllPrograms, {84, 64}},
    {kBmpPmInvertSelection, param::kInvertSelection, {188, 35}}, {kBmpPmSendToBank, param::kSendToBank, {188, 64}},
    {kBmpPmLoadFromDisk, param::kLoadFromDisk, {387, 35}}, {kBmpPmDownloadFromQd, param::kDownloadFromQd, {387, 64}},
    {kBmpPmUploadToQdDatabase, param::kUploadToQdDatabase, {557, 35}},
    {kBmpPmUploadToQd, param::kUploadToQd, {557, 64}}, {kBmpPmOverwrite, param::kOverwrite, {942, 64}},
};
// clang-format on

struct CheckBoxPlace {
    int param;
    Place at;
};
// Two columns of check boxes: the categories (with "All Categories" beside the last)
// and what the list shows and is sorted by; in the order they are made.
inline constexpr int kCategoryColumn = 668, kShowSortColumn = 826;
inline constexpr CheckBoxPlace kCheckBoxes[] = {
    {param::kCategoryFx, {kCategoryColumn, 70}},   {param::kCategoryBass, {kCategoryColumn, 31}},
    {param::kCategoryMidi, {kCategoryColumn, 57}}, {param::kCategoryGtr, {kCategoryColumn, 44}},
    {param::kCategoryEwi, {kCategoryColumn, 83}},  {param::kAllCategories, {736, 83}},
    {param::kShowNames, {kShowSortColumn, 31}},    {param::kShowAuthors, {kShowSortColumn, 44}},
    {param::kSortByName, {kShowSortColumn, 57}},   {param::kSortByDate, {kShowSortColumn, 70}},
    {param::kOnlyRated, {kShowSortColumn, 83}},
};

inline constexpr Place kLocalButton{22, 35};
inline constexpr Place kGlobalButton{162, 35};
inline constexpr Place kLoginButton{115, 70};
inline constexpr IRECT kUserNameField{68, 21, 258, 37};
inline constexpr IRECT kPasswordField{68, 45, 258, 61};
inline constexpr Place kRememberBox{226, 74};
// The program list: rows kRowHeight high from kRowTop, kRowLeft to kRowRight.
inline constexpr int kRowTop = 118, kRowHeight = 14, kRowLeft = 24, kRowRight = 274;
inline constexpr Place kScrollBar{276, 116};
inline constexpr int kScrollLength = 660;
// The bank: slot k in column k % 10 and row k / 10.
inline constexpr int kSlotColumns = 10, kSlotLeft = 308, kSlotTop = 108, kSlotStepX = 82;
inline constexpr double kSlotStepY = 68.5;
inline constexpr IRECT kSlotNumberText{8, 2, 48, 26};  // from the slot's corner
inline constexpr IRECT kSlotNameText{4, 23, 72, 63};
inline constexpr IRECT kSlotSelector{308, 108, 1120, 788};
inline constexpr IRECT kSearchField{880, 37, 1100, 53};
inline constexpr Place kPlayNoteButton{317, 112};

// The top-left corner of bank slot k, and of the list row k.
Place SlotCorner(int k);
IRECT ListRow(int k);

}  // namespace manager

// What the "lcd" panel places, draws and colours differently from the "orig" one.
struct SkinPlaces {
    bool lcd;
    int valueTextTop;  // a value text of the rule starts this far below its table point
    // Text colours and sizes (the text styles are in panel_plan.h).
    IColor learnColor;  // "(+)" and "LEARN"
    IColor programNameColor;
    IColor flexiSpinnerColor;
    int flexiSpinnerStyle;
    int midiSpinnerSize;
    IColor trackingTextColor;
    int trackingTextSize, trackingTextStyle;
    // Images of the controls the families draw differently.
    Bmp onOffSwitch;          // VCF type and slope, portamento slope and mode, trigger mode
    Bmp flexiButton;          // the four Flexi buttons
    Bmp trackingSwitch;       // tracking priority
    bool filteredLoadHidden;  // the program-load selector with the extension filter
    bool radioButtons;        // the hidden effect radio buttons (kFxRadioButtons)
    // The effect tabs, their highlights and click areas, and the order switch.
    int fxTabTop, fxTabBottom;
    int listOverlayTop;
    Place flexiLedOffset;  // from its Flexi button
    // The program box.
    IRECT programName;
    Place sevenSegment;
    Place defaultButton, prevButton, nextButton;
    Place loadButton, saveButton, writeOneButton, writeAllButton;
    IRECT loadSelector, saveSelector, writeSelector;
    Place copyButton;
    IRECT eqGraph;
    // Switches and the short slider, with their value texts.
    Place vcfTypeSwitch, vcfSlopeSwitch, portamentoSlopeSwitch, trigModeSwitch, portamentoModeSwitch;
    Place oscSyncSwitch;
    Place keyPrioritySlider;
    IRECT vcfTypeText, vcfSlopeText, trigModeText, keyPriorityText, midiSyncText, trackingText;
};

const SkinPlaces& PlacesOf(Skin skin);

// The value text of the rule for program parameter `param` (3 to 186).
IRECT RuleValueText(int param, Skin skin);

}  // namespace qd
