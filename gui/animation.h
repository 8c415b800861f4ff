// Named, reversible value animations with easing curves; every control carries one
// record as its last member.
#pragma once

#include <cstdint>
#include <vector>

#include "common/cmn_string.h"
#include "common/ptr_list.h"
#include "common/typed_buf.h"

class IGraphics;

// Geometry and texts of an easing-curve preview square, computed apart from the
// drawing so that they can be checked without a back buffer.
struct IAnimationCurvePreview {
    struct Label {
        const char* text;
        int left, top, right, bottom;
    };
    struct Point {
        int x, y;
    };
    int left = 0, top = 0, right = 0, bottom = 0;  // the filled square
    float x0 = 0, xr = 0, yt = 0, yb = 0;          // x axis (x0, yb)-(xr, yb), y axis (x0, yb)-(x0, yt)
    int textSize = 0;
    std::vector<Label> labels;  // curve name (absent for an unknown curve), "XY0", "X1", "Y1"
    std::vector<Point> points;  // curve pixels inside the back buffer
};

class IModuleAnimation {
public:
    static constexpr int kNumCurves = 41;
    static constexpr int kLinearCurve = 0;
    static constexpr int kCustomBezierCurve = 40;

    IModuleAnimation() = default;
    ~IModuleAnimation();
    IModuleAnimation(const IModuleAnimation&) = delete;
    IModuleAnimation& operator=(const IModuleAnimation&) = delete;

    // One step of the named animation in the requested direction (created on first
    // use, reversed when the direction changes); returns its value for this step.
    double Start(const char* name, bool forward, int forwardSteps, int backwardSteps, int forwardCurve,
                 int backwardCurve, double from, double to);
    int FindByName(const char* name) const;
    double Ease(int curve, double from, double to, double t);
    void SetBezierPoints(double x1, double y1, double x2, double y2);
    void SetFlag() { mSmoothNext = true; }
    bool IsAnyActive() const { return mActiveCount > 0; }
    // Whether any animation of any control runs: while none does, no control needs a
    // look for one.
    static bool AnyActiveAnywhere() { return sActiveCount > 0; }

    // The preview square of a curve at (x, y) with side `size`, keeping only curve
    // points inside a back buffer of the given size.
    IAnimationCurvePreview BuildCurvePreview(int curve, int size, int x, int y, int bufferWidth,
                                             int bufferHeight);
    // Paints that square into the graphics' back buffer and marks every control dirty.
    void DrawCurvePreview(IGraphics* graphics, int curve, int size, int x, int y);

    // The label the preview shows for a curve; null for an unknown curve number.
    static const char* CurveLabel(int curve);

private:
    bool Append(const char* name, bool forward, int forwardSteps, int backwardSteps, double from, double to);
    double CurveValue(int curve, double p) const;
    // The steps of Start: turning animation i round, then one step either way.
    void Reverse(int i, bool forward, int forwardSteps, int backwardSteps, double from, double to);
    double StepForward(int i, int curve, double to);
    double StepBackward(int i, int curve, double from);
    void SetActive(int i, bool active);

    CMN_TypedBuf<bool> mActive{64};
    CMN_TypedBuf<bool> mForward{64};
    CMN_PtrList<CMN_String> mNames{64};
    CMN_TypedBuf<bool> mSpareFlags{64};
    CMN_TypedBuf<int32_t> mPosition{64};
    CMN_TypedBuf<double> mFrom{64};
    CMN_TypedBuf<double> mTo{64};
    CMN_TypedBuf<double> mStartValue{64};
    CMN_TypedBuf<double> mCurrentValue{64};
    CMN_TypedBuf<int32_t> mForwardSteps{64};
    CMN_TypedBuf<int32_t> mBackwardSteps{64};
    CMN_TypedBuf<bool> mJumpToEnd{64};
    double mBezierX1 = 0.0;
    double mBezierY1 = 0.0;
    double mBezierX2 = 1.0;
    double mBezierY2 = 1.0;
    bool mSmoothNext = false;
    int mActiveCount = 0;     // entries of mActive that are true
    static int sActiveCount;  // the same over every record (main thread only)
};
