// Working record of the layout editor. The plug-in creates it and fills the
// attach-time lists when its graphics are attached; only the layout editor reads
// it afterwards.
#pragma once

#include <string>
#include <vector>

#include "common/cmn_string.h"
#include "common/ptr_list.h"
#include "common/typed_buf.h"
#include "common/gui_types.h"

class IControl;

// "No rubber-band group" is written with these sentinel corners.
inline constexpr IRECT kLiveEditNoRect(999999999, 999999999, 0, 0);

// One layout of the panel: per attach index the rectangles and hidden flag, the
// control order of the graphics, and the controls marked for deletion.
struct LiveEditSnapshot {
    std::vector<IRECT> draw, target;
    std::vector<bool> hidden;
    std::vector<IControl*> order;
    std::vector<int> deleted;

    friend bool operator==(const LiveEditSnapshot&, const LiveEditSnapshot&) = default;
};

// The undo list of one view mode; the position is -1 while it is empty.
struct LiveEditHistory {
    std::vector<LiveEditSnapshot> snapshots;
    int position = -1;
};

struct LiveEditState {
    LiveEditState() = default;
    ~LiveEditState();
    LiveEditState(const LiveEditState&) = delete;
    LiveEditState& operator=(const LiveEditState&) = delete;

    const char* fontName = "Tahoma";
    IColor neutralColor{255, 255, 255, 255};
    IColor drawColor{255, 50, 255, 50};
    IColor targetColor{255, 255, 50, 50};
    IColor shadowColor{255, 30, 30, 30};
    IColor groupColor{255, 255, 255, 255};
    IColor textColor{255, 255, 255, 255};
    IColor labelBackground{122, 0, 0, 0};

    IRECT selectionDraw, selectionTarget;
    IRECT dragStartDraw, dragStartTarget;
    IRECT groupRect = kLiveEditNoRect;
    IRECT secondRect = kLiveEditNoRect;
    int selected = -1;
    int previousSelected = -1;
    int pressX = 0, pressY = 0;
    int gridStep = 1;
    bool resizeGripActive = false;
    bool gridShown = false;

    CMN_TypedBuf<IRECT> attachDrawRects;
    CMN_TypedBuf<IRECT> attachTargetRects;
    CMN_TypedBuf<bool> attachVisible;
    CMN_PtrList<IControl> attachOrder;
    CMN_TypedBuf<int> zOrderFrom, zOrderTo;
    CMN_PtrList<IControl> currentOrder;
    CMN_PtrList<CMN_String> viewModeTexts;  // owned
    CMN_TypedBuf<int> deleted;
    CMN_TypedBuf<int> group;
    CMN_TypedBuf<IRECT> groupDrawRects, groupTargetRects;

    int viewMode = 0;
    int viewModeCount = 1;
    bool headerRead = false;
    bool snapshotPending = true;
    bool lastWasUndo = false, lastWasRedo = false;
    bool groupActive = false;
    bool mouseCoordinatesShown = false;
    bool lastLeft = false, lastRight = false;
    int lastPressX = 0, lastPressY = 0;
    int handleSize = 0;
    int snapReferenceMode = 0;

    std::vector<LiveEditSnapshot> currentSnapshots;  // per view mode
    std::vector<LiveEditHistory> histories;          // per view mode
    // The header text last handed to the file, so that an unchanged layout is not
    // written again on every frame.
    std::string lastHeaderText;
    bool headerWriteFailed = false;
};
