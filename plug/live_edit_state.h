// Working record of the layout editor. The plug-in creates it and fills the
// attach-time lists when its graphics are attached; only the layout editor reads
// it afterwards.
#pragma once

#include <string>
#include <vector>

#include "common/cmn_string.h"
#include "common/ptr_list.h"
#include "common/typed_buf.h"
#include "gui/types.h"

class IControl;

// "No rubber-band group" is written with these sentinel corners.
inline constexpr IRECT kLiveEditNoRect(999999999, 999999999, 0, 0);

// One layout of the panel: per attach index the rectangles and hidden flag, the
// control order of the graphics, and the controls marked for deletion.
struct LiveEditSnapshot {
    std::vector<IRECT> mDraw, mTarget;
    std::vector<bool> mHidden;
    std::vector<IControl*> mOrder;
    std::vector<int> mDeleted;

    friend bool operator==(const LiveEditSnapshot&, const LiveEditSnapshot&) = default;
};

// The undo list of one view mode; the position is -1 while it is empty.
struct LiveEditHistory {
    std::vector<LiveEditSnapshot> mSnapshots;
    int mPosition = -1;
};

struct LiveEditState {
    LiveEditState() = default;
    ~LiveEditState();
    LiveEditState(const LiveEditState&) = delete;
    LiveEditState& operator=(const LiveEditState&) = delete;

    const char* mFontName = "Tahoma";
    IColor mNeutralColor{255, 255, 255, 255};
    IColor mDrawColor{255, 50, 255, 50};
    IColor mTargetColor{255, 255, 50, 50};
    IColor mShadowColor{255, 30, 30, 30};
    IColor mGroupColor{255, 255, 255, 255};
    IColor mTextColor{255, 255, 255, 255};
    IColor mLabelBackground{122, 0, 0, 0};

    IRECT mSelectionDraw, mSelectionTarget;
    IRECT mDragStartDraw, mDragStartTarget;
    IRECT mGroupRect = kLiveEditNoRect;
    IRECT mSecondRect = kLiveEditNoRect;
    int mSelected = -1;
    int mPreviousSelected = -1;
    int mPressX = 0, mPressY = 0;
    int mGridStep = 1;
    bool mResizeGripActive = false;
    bool mGridShown = false;

    CMN_TypedBuf<IRECT> mAttachDrawRects;
    CMN_TypedBuf<IRECT> mAttachTargetRects;
    CMN_TypedBuf<bool> mAttachVisible;
    CMN_PtrList<IControl> mAttachOrder;
    CMN_TypedBuf<int> mZOrderFrom, mZOrderTo;
    CMN_PtrList<IControl> mCurrentOrder;
    CMN_PtrList<CMN_String> mViewModeTexts;  // owned
    CMN_TypedBuf<int> mDeleted;
    CMN_TypedBuf<int> mGroup;
    CMN_TypedBuf<IRECT> mGroupDrawRects, mGroupTargetRects;

    int mViewMode = 0;
    int mViewModeCount = 1;
    bool mHeaderRead = false;
    bool mSnapshotPending = true;
    bool mLastWasUndo = false, mLastWasRedo = false;
    bool mGroupActive = false;
    bool mMouseCoordinatesShown = false;
    bool mLastLeft = false, mLastRight = false;
    int mLastPressX = 0, mLastPressY = 0;
    int mHandleSize = 0;
    int mSnapReferenceMode = 0;

    std::vector<LiveEditSnapshot> mCurrentSnapshots;  // per view mode
    std::vector<LiveEditHistory> mHistories;          // per view mode
    // The header text last handed to the file, so that an unchanged layout is not
    // written again on every frame.
    std::string mLastHeaderText;
    bool mHeaderWriteFailed = false;
};
