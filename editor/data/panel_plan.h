// The panels as lists of controls in the order they are made: what each control is,
// its parameter, image, place and text style, what the panel keeps it for and the
// groups that show and hide it. The panel is built from these lists; the skin
// generator and the tests read them to know where every control and every text the
// program draws lies, in each skin and view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/gui_types.h"
#include "editor/data/panel_bitmaps.h"
#include "editor/data/panel_groups.h"
#include "editor/data/skin.h"

namespace qd {

// The parts of the GUI, in the order they are made.
enum class PanelPart { kSynthPage, kKeyboard, kManagerPage, kAboutBox };

enum class ControlKind : uint8_t {
    kLoad,             // no control: the image is loaded ahead of its first use
    kPicture,          // an image, bound to a parameter when one is given
    kSwitch,           // the image's frames are its states
    kContact,          // a momentary button
    kSlider,           // a knob strip moved vertically, with its gearing
    kSlider2,          // the same, drawn with the MIDI-sync slider's variant
    kSlider3,          // the same, drawn with the mod wheel's variant
    kText,             // a text the program draws (text: what it shows at first)
    kValueText,        // the parameter's value text
    kSpinner,          // the parameter's display text, changed by dragging
    kUserText,         // a field the user types into
    kInvisibleSwitch,  // click areas over the artwork
    kInvisibleSelect,
    kRowSelect,     // the program list's rows (vertical)
    kGridSelect,    // the bank grid (option: columns; rows the same)
    kFader,         // option: the length
    kFileSelector,  // option: 0 open, 1 save; text: the extensions
    kRadioButtons,  // option: the number of buttons
    kEqGraph,
    kKeyboard,
    kAboutBox,
};

// Whether a kind's control takes its size from its image: one frame of it at the
// item's corner (the keyboard: one frame per octave; a fader: the frame's width and
// the item's length). The other kinds have their whole rectangle in the item.
bool SizedByImage(ControlKind kind);

// The text styles of the texts the program draws.
enum class TextRole : uint8_t {
    kNone,
    kValue,       // slider value texts
    kFlexiPlus,   // "(+)"
    kFlexiLearn,  // "LEARN"
    kProgramName,
    kTracking,  // the tracking priority's value text
    kFlexiSpinner,
    kSlotSpinner,  // the save-from-instrument box's program number
    kMidiSpinner,
    kField,        // the manager's user-name and search fields
    kSecretField,  // the password field
    kListRow,
    kSlotNumber,
    kSlotName,
};

IText TextStyleOf(TextRole role, Skin skin);

// What the panel keeps a control for; `index` tells several of one kind apart.
enum class Keep : uint8_t {
    kNone,
    kBackground,
    kBackground2,
    kVcoSaveBg,
    kFlexiSaveBg,
    kFlexiPlus,
    kFlexiLearn,
    kFxBackground,
    kFxTabHighlight,
    kProgramName,
    kSyncedSlider,  // LFO rate, delay 1 and delay 2, whose ranges follow MIDI sync
    kMidiSyncSlider,
    kFlexiRangeSlider,
    kFlexiLed,
    kEqGraph,
    kSourceList,
    kRangeList,
    kFileSelector,  // firmware, load, load "pr4 pr3 prg", save, write one
    kSaveFromQdBg,
    kMidiCCSpinner,
    kModWheel,
    kKeyboard,
    kAboutBox,
    // The manager page.
    kManagerBackground,
    kActionButton,
    kDbModeBackground,
    kLocalButton,
    kGlobalButton,
    kLoginBackground,
    kLoginButton,
    kUserName,
    kPassword,
    kListRow,
    kRowSelector,
    kScrollBar,
    kSlotMark,
    kSlotPicture,
    kSlotNumber,
    kSlotName,
    kSearch,
    kSlotSelector,
    kPlayNote,
    kCount
};

// What the builder does to a control's visibility as soon as it is made: nothing,
// hide it, or show it on purpose (as the "orig" panel does with its chosen
// background, after hiding both).
enum class Start : uint8_t { kAsMade, kHidden, kShown };

struct PlanItem {
    ControlKind kind;
    int param = -1;  // bound to it; a value text's is the one it shows (the text is bound to none)
    Bmp image = kBmpNone;
    // The control's rectangle; only its top-left corner for a kind sized by its
    // image (SizedByImage).
    IRECT rect;
    TextRole style = TextRole::kNone;
    std::string text;
    double gearing = 1.0;
    int option = 0;
    Start start = Start::kAsMade;
    bool attached = true;    // false: made but never attached, so never drawn
    bool textLater = false;  // the text is set once the control is attached
    Keep keep = Keep::kNone;
    int index = 0;
    uint32_t groups = 0;  // GroupBit of every group that shows and hides it
    // Shown, hidden or moved by the view layout or the editor core as the parameters
    // say (the cutoff pair, the Flexi range sliders and LEDs, the tab highlights, the
    // polarity switches, the manager's scroll bar and play-note button, the about box).
    bool followsState = false;
};

// Every control of one part in one skin, in the order the panel makes them.
std::vector<PlanItem> PanelPlan(PanelPart part, Skin skin);

// The views a user reaches, each showing the page with these groups.
enum class PanelView { kMain, kOverdrive, kEqBands, kEqGraph, kSourceList, kRangeList, kManager, kAboutBox };
uint32_t GroupsShownIn(PanelView view);

// Whether `item` is shown in `view` at the parameters' defaults. An item of a group
// is shown with its group; the others as they were made.
bool ShownIn(const PlanItem& item, PanelView view);

}  // namespace qd
