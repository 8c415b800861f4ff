#include "gui/controls/select_controls.h"

#include <algorithm>

namespace {

int ModifierKind(const IMouseMod* pMod) {
    if (!pMod) return kSelectModNone;
    if (pMod->S) return kSelectModShift;
    return pMod->C ? kSelectModControl : kSelectModNone;
}

double WheelStep(const IMouseMod* pMod) { return pMod && (pMod->S || pMod->C) ? 0.001 : 0.01; }

}  // namespace

// ---- IInvisibleSelectControl ----

IInvisibleSelectControl::IInvisibleSelectControl(IModuleBase* plug, const IRECT& rect, int paramIdx)
    : IControl(plug, rect, paramIdx, IChannelBlend(IChannelBlend::kBlendClobber)),
      mHeight(rect.H()),
      mTop(rect.T) {}

bool IInvisibleSelectControl::ValueFromPoint(int, int y, double* pValue) {
    mHeight = mRECT.H();
    mTop = mRECT.T;
    // An area of no height has no positions to choose from.
    if (mHeight == 0) return false;
    *pValue = double(y - mTop) / mHeight;
    return true;
}

void IInvisibleSelectControl::OnMouseUp(int x, int y, IMouseMod*) {
    if (!ValueFromPoint(x, y, &mValue)) return;
    SetDirty(true);
}

// ---- IInvisibleSelectControl2 ----

IInvisibleSelectControl2::IInvisibleSelectControl2(IModuleBase* plug, const IRECT& rect, int paramIdx,
                                                   bool horizontal)
    : IControl(plug, rect, paramIdx, IChannelBlend(IChannelBlend::kBlendClobber)),
      mVertical(!horizontal),
      mHeight(rect.H()),
      mWidth(rect.W()),
      mTop(rect.T),
      mLeft(rect.L) {}

bool IInvisibleSelectControl2::ValueFromPoint(int x, int y, double* pValue) {
    const int extent = mVertical ? mHeight : mWidth;
    if (extent == 0) return false;
    *pValue = mVertical ? double(y - mTop) / extent : double(x - mLeft) / extent;
    return true;
}

void IInvisibleSelectControl2::Select(int state, int x, int y) {
    if (!ValueFromPoint(x, y, &mValue)) return;
    mMouseState = state;
    SetDirty(true);
}

void IInvisibleSelectControl2::OnMouseDown(int x, int y, IMouseMod*) { Select(kSelectDown, x, y); }
void IInvisibleSelectControl2::OnMouseUp(int x, int y, IMouseMod*) { Select(kSelectUp, x, y); }
void IInvisibleSelectControl2::OnMouseDrag(int x, int y, int, int, IMouseMod*) { Select(kSelectDrag, x, y); }

// ---- The event-recording areas ----

IEventRecordingSelect::IEventRecordingSelect(IModuleBase* plug, const IRECT& rect, int paramIdx)
    : IControl(plug, rect, paramIdx, IChannelBlend(IChannelBlend::kBlendClobber)),
      mHeight(rect.H()),
      mWidth(rect.W()),
      mTop(rect.T),
      mLeft(rect.L) {}

void IEventRecordingSelect::Select(int event, int x, int y, const IMouseMod* pMod) {
    double value;
    if (!ValueFromPoint(x, y, &value)) return;
    mLastX = x;
    mLastY = y;
    mEvent = event;
    mModifier = ModifierKind(pMod);
    mValue = value;
    SetDirty(true);
}

bool IEventRecordingSelect::OnKeyDown(int, int, int key) {
    // Space and arrow up reach the editor as modifier kinds; the key itself goes on.
    if (key == KEY_SPACE) mModifier = kSelectKeySpace;
    if (key == KEY_UPARROW) mModifier = kSelectKeyUp;
    return false;
}

IInvisibleSelectControl3::IInvisibleSelectControl3(IModuleBase* plug, const IRECT& rect, int paramIdx,
                                                   bool horizontal)
    : IEventRecordingSelect(plug, rect, paramIdx), mVertical(!horizontal) {}

bool IInvisibleSelectControl3::ValueFromPoint(int x, int y, double* pValue) {
    if (mVertical) {
        mHeight = mRECT.H();
        mTop = mRECT.T;
    } else {
        mWidth = mRECT.W();
        mLeft = mRECT.L;
    }
    const int extent = mVertical ? mHeight : mWidth;
    if (extent == 0) return false;
    *pValue = mVertical ? double(y - mTop) / extent : double(x - mLeft) / extent;
    return true;
}

void IInvisibleSelectControl3::OnMouseWheel(int, int, IMouseMod* pMod, int d) {
    mEvent = kSelectWheel;
    mValue = 0.5 + d * WheelStep(pMod);
    SetDirty(true);
}

// ---- IInvisibleMatrixSelectControl ----

void IInvisibleMatrixSelectControl::SetGrid(int columns, int rows) {
    mColumns = std::max(columns, 0);
    mRows = std::max(rows, 0);
}

int IInvisibleMatrixSelectControl::CellFromPoint(int x, int y) {
    mHeight = mRECT.H();
    mTop = mRECT.T;
    mWidth = mRECT.W();
    mLeft = mRECT.L;
    if (mHeight <= 0 || mWidth <= 0 || mColumns <= 0 || mRows <= 0) return -1;
    // A drag or release captured from outside the grid picks the nearest edge cell,
    // not one of the next row or past the end.
    const double fy = double(y - mTop) / mHeight, fx = double(x - mLeft) / mWidth;
    const int column = int(std::clamp(mColumns * fx, 0.0, mColumns - 1.0));
    const int row = int(std::clamp(mRows * fy, 0.0, mRows - 1.0));
    return column + row * mColumns;
}

bool IInvisibleMatrixSelectControl::ValueFromPoint(int x, int y, double* pValue) {
    const int cell = CellFromPoint(x, y);
    if (cell < 0) return false;
    *pValue = double(cell) / (double(mColumns) * mRows);
    return true;
}

int IInvisibleMatrixSelectControl::CellFromValue(double value, int cells) {
    if (cells <= 0 || !(value >= 0.0)) return 0;
    // value * cells is a hair below the cell for most cells (29/100 * 100 gives
    // 28.999...), so round rather than truncate.
    return std::min(int(value * cells + 0.5), cells - 1);
}

void IInvisibleMatrixSelectControl::OnMouseWheel(int x, int y, IMouseMod* pMod, int d) {
    if (CellFromPoint(x, y) < 0) return;
    mWheelUp = d > 0;
    Select(kSelectWheel, x, y, pMod);
}
