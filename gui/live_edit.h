// The layout editor: an overlay over the running panel that shows every control's
// draw and target rectangles and lets a skin developer move, resize, group, snap,
// hide, reorder and mark controls for deletion, with undo per view mode. Each change
// rewrites the layout header (live_edit_header.h).
#pragma once

#include "common/gui_types.h"
#include "plug/live_edit_state.h"

class IControl;
class IGraphics;
class LiveEditViews;
class PIX_IBitmap;

// Edit modes: which rectangles the editor works on.
enum LiveEditMode { kLiveEditBoth = 0, kLiveEditDraw = 1, kLiveEditTarget = 2 };

// Keys the editor takes from the graphics' last key code.
inline constexpr int kLiveEditKeyHold = 19;    // E: hold or release the mouse
inline constexpr int kLiveEditKeyBoth = 16;    // B
inline constexpr int kLiveEditKeyDraw = 18;    // D
inline constexpr int kLiveEditKeyTarget = 34;  // T

// Everything one overlay frame reads and changes: the state, the engine, and the
// graphics' own layout-editor fields (by pointer, since the frame updates them).
struct LiveEditFrame {
    LiveEditState* state = nullptr;
    IGraphics* graphics = nullptr;
    LiveEditViews* views = nullptr;  // null without a GUI-resize control
    PIX_IBitmap* buffer = nullptr;
    double scale = 1.0;
    int mouseX = 0, mouseY = 0, width = 0, height = 0;
    IMouseMod mod;
    int gridSetting = 1;
    int snapDistance = 0;
    int* editMode = nullptr;
    int* lastKey = nullptr;
    bool* holdsMouse = nullptr;
    int* selected = nullptr;  // the control the mouse press found, -1 none
    bool* mouseDragged = nullptr;
    // The graphics' right-button flag: the context menu takes the release with it.
    bool* rightButton = nullptr;
};

// One overlay frame, after the controls are drawn.
void LiveEdit(LiveEditFrame* f);

// What the rows of the layout editor's context menu do; the menu's table puts them
// in order.
enum class LiveEditMenuAction {
    kSeparator,
    kUndo,
    kRedo,
    kResetPosition,
    kResetSize,
    kMerge,
    kHide,
    kBringToFront,
    kSendToBack,
    kBringForward,
    kSendBackward,
    kDeselect,
    kGrid,
    kMouseCoordinates,
    kResetView,
    kDelete,
};
// The row of the context menu that carries `action`, separators counted; -1 for a
// separator.
int LiveEditMenuRow(LiveEditMenuAction action);
// Shows the context menu at the mouse and carries out the choice.
void LiveEditContextMenu(LiveEditFrame* f);

void LiveEditUndo(LiveEditFrame* f);
void LiveEditRedo(LiveEditFrame* f);
void LiveEditPushUndo(LiveEditFrame* f);
void LiveEditStoreCurrentLayout(LiveEditFrame* f);
void LiveEditDropDuplicateUndo(LiveEditFrame* f);

// True when the control's attach index is marked for deletion.
bool LiveEditIsDeleted(const LiveEditState* state, const IControl* control);
