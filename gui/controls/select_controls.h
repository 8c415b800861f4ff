// Invisible areas that report where and how they were clicked; the editor polls the
// last event after the value has reached it through the parameter.
#pragma once

#include "gui/control.h"

// Event kinds and modifier kinds the selection areas record.
enum ESelectEvent { kSelectDown = 0, kSelectUp = 1, kSelectDrag = 2, kSelectDblClick = 3, kSelectWheel = 4 };
enum ESelectModifier {
    kSelectModNone = 0,
    kSelectModShift = 1,
    kSelectModControl = 2,
    kSelectKeySpace = 3,
    kSelectKeyUp = 4
};

// A vertical area: value = position of the release from the top.
class IInvisibleSelectControl : public IControl {
public:
    IInvisibleSelectControl(IModuleBase* plug, const IRECT& rect, int paramIdx);
    void OnMouseUp(int x, int y, IMouseMod* pMod) override;
    bool Draw(IGraphics*) override { return true; }
    // The value for a point, recording nothing; false for an area of no height.
    bool ValueFromPoint(int x, int y, double* pValue);

protected:
    int mHeight, mTop;
};

class IInvisibleSelectControl2 : public IControl {
public:
    IInvisibleSelectControl2(IModuleBase* plug, const IRECT& rect, int paramIdx, bool horizontal = false);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseUp(int x, int y, IMouseMod* pMod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    bool Draw(IGraphics*) override { return true; }
    void GetMouseState(int* pState) const { *pState = mMouseState; }
    bool ValueFromPoint(int x, int y, double* pValue);

protected:
    void Select(int state, int x, int y);

    bool mVertical;
    int mHeight, mWidth, mTop, mLeft;
    int mMouseState = kSelectDown;
};

// The areas that record every mouse event with its point and modifier for the editor
// to poll. A point maps to a value through ValueFromPoint; an area or grid without
// extent has none, and its events are ignored.
class IEventRecordingSelect : public IControl {
public:
    IEventRecordingSelect(IModuleBase* plug, const IRECT& rect, int paramIdx);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override { Select(kSelectDown, x, y, pMod); }
    void OnMouseUp(int x, int y, IMouseMod* pMod) override { Select(kSelectUp, x, y, pMod); }
    void OnMouseDrag(int x, int y, int, int, IMouseMod* pMod) override { Select(kSelectDrag, x, y, pMod); }
    void OnMouseDblClick(int x, int y, IMouseMod* pMod) override { Select(kSelectDblClick, x, y, pMod); }
    // Records space and arrow up; never takes the key.
    bool OnKeyDown(int x, int y, int key) override;
    bool Draw(IGraphics*) override { return true; }

    void GetSelection(int* pEvent) const { *pEvent = mEvent; }
    void GetLastSelection(int* pModifier) const { *pModifier = mModifier; }
    // The value for a point, recording nothing; false when the point has none.
    virtual bool ValueFromPoint(int x, int y, double* pValue) = 0;

protected:
    void Select(int event, int x, int y, const IMouseMod* pMod);

    int mHeight, mWidth, mTop, mLeft;
    int mLastX = 0, mLastY = 0;
    int mEvent = kSelectDown;
    int mModifier = kSelectModNone;
};

class IInvisibleSelectControl3 : public IEventRecordingSelect {
public:
    IInvisibleSelectControl3(IModuleBase* plug, const IRECT& rect, int paramIdx, bool horizontal = false);
    // Sets the value to 0.5 + d steps, so the editor reads the direction and size.
    void OnMouseWheel(int x, int y, IMouseMod* pMod, int d) override;
    void GetRange(int* pX, int* pY) const {
        *pX = mLastX;
        *pY = mLastY;
    }
    bool ValueFromPoint(int x, int y, double* pValue) override;

protected:
    bool mVertical;
};

// A grid of columns x rows cells; value = cell / (columns * rows), cells counted
// along the rows.
class IInvisibleMatrixSelectControl : public IEventRecordingSelect {
public:
    IInvisibleMatrixSelectControl(IModuleBase* plug, const IRECT& rect, int paramIdx)
        : IEventRecordingSelect(plug, rect, paramIdx) {}
    void SetGrid(int columns, int rows);
    void OnMouseWheel(int x, int y, IMouseMod* pMod, int d) override;

    void GetLastPoint(int* pX, int* pY) const {
        *pX = mLastX;
        *pY = mLastY;
    }
    bool GetWheelUp() const { return mWheelUp; }
    // The cell under a point, clamped into the grid; -1 for an empty area or grid.
    int CellFromPoint(int x, int y);
    bool ValueFromPoint(int x, int y, double* pValue) override;
    // The cell a value of a grid of `cells` cells stands for, rounded back to the
    // nearest cell.
    static int CellFromValue(double value, int cells);

protected:
    int mColumns = 0, mRows = 0;
    bool mWheelUp = false;
};
