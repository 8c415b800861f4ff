// Scaling the whole panel between two limits and resizing its base size per view
// mode. The resize control is attached last, above every other control: idle it is a
// small grip in the bottom-right corner, during a drag it covers the window. It keeps
// every control's unscaled rectangles and hidden state per view mode and rebuilds the
// control rectangles from them whenever the scale or the window size changes. The
// scale is stored in the settings file, so the next start opens at the same size.
#pragma once

#include <string>
#include <vector>

#include "common/cmn_string.h"
#include "common/ptr_list.h"
#include "gui/control.h"

class IGraphics;
class IModuleBase;
class IParam;

// A rectangle in unscaled pixels.
struct DRECT {
    double L = 0, T = 0, R = 0, B = 0;
    friend constexpr bool operator==(const DRECT&, const DRECT&) = default;
};

class IModuleGUIResize : public IControl {
public:
    // Scales closer than this are the same scale.
    static constexpr double kScaleEpsilon = 1e-10;
    static constexpr IColor kBackgroundColor{255, 25, 25, 25};

    IModuleGUIResize(IModuleBase* plug, IGraphics* pGraphics, int gripSize, int gripMinimum);
    ~IModuleGUIResize() override;

    // ---- Conversions (every control rectangle is rescaled with ScaleDRECT) ----
    static DRECT ToDRECT(const IRECT& r) { return {double(r.L), double(r.T), double(r.R), double(r.B)}; }
    static IRECT ToIRECT(const DRECT& r);
    // Each side trunc((side + 0.4999) x ratio), so half pixels round up the same way at
    // every scale.
    static IRECT ScaleDRECT(const DRECT& r, double xRatio, double yRatio);
    static bool IsAlmostEqual(double a, double b, double epsilon = kScaleEpsilon) { return a - b < epsilon && b - a < epsilon; }
    // A stored scale as the settings file gave it: anything that is not a positive
    // finite number (missing key, garbage, NaN) is 1.0; then clamped to the limits.
    static double SanitizeScale(double stored, double minimum, double maximum);

    // ---- Configuration ----
    void SelectViewMode(int id);
    void AddNewView(int id, int width, int height);
    void SetGUIScaleRatio(double scale);
    void SetGUIScaleLimits(double minimumPercent, double maximumPercent);
    void SetWindowSizeLimits(int viewIndex, double minWidth, double minHeight, double maxWidth, double maxHeight);
    void SetWindowSize(double width, double height);
    void SetWindowWidth(double width);
    void SetWindowHeight(double height);
    // Choice 0 keeps only the right-edge handle, 1 only the bottom-edge one, others both.
    void UseHandles(int thickness, int secondSize, int choice);
    void EnableGUIScaling() { mScalingEnabled = true; }
    void UseControlAndClickForGUIScaling(bool use) { mControlAndClick = use; }
    void ClearResizePending() { mScalingAllowed = false; }

    double GetGUIScaleRatio() const { return mScale; }
    int GetViewModeIndex() const { return mViewIndex; }
    int GetViewModeCount() const { return int(mViews.size()); }
    bool IsGUIResizing() const { return mResizing; }
    int GetPixelWidth() const { return mPixelWidth; }
    // The grip's rectangle for the current pixel size and scale.
    IRECT CornerGripRECT() const;

    // ---- Settings ("gui" section) ----
    double GetSettingDouble(const char* key);
    bool SetSettingDouble(const char* key, double value);
    int GetSettingInt(const char* key);
    bool SetSettingUInt(const char* key, unsigned value);

    // ---- Operations ----
    // Adds the edge handles and records the layout of every attached control; the caller
    // attaches this control last.
    IModuleGUIResize* AttachGUIResize();
    void MoveControl(int controlIdx, int which, double x, double y);
    void RescaleControls();
    void RestoreControlPointers();
    // Commits the current scale and base size: stores it, relayouts and resizes the window.
    void ResizeToStoredScale();
    // Applies the stored scale (start-up and after another instance changed it).
    void LoadScaleFromSettings();
    // Lowers the stored scale, within the limits, so that the panel at its base size
    // is at most `width` x `height` pixels, stores it and takes it as the scale that the
    // attach or LoadScaleFromSettings applies; true when it was lowered. Called before
    // the attach, it spares the images a first rescale at a scale that is not kept.
    bool FitStoredScaleToArea(int width, int height);
    // Stores a control's layout in one view's record.
    void LiveEditSetLayout(int view, int controlIdx, bool hidden, const DRECT& draw, const DRECT& target);

    // ---- Control ----
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseUp(int x, int y, IMouseMod* pMod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    void OnMouseOver(int x, int y, IMouseMod* pMod) override;
    void OnMouseOut() override;
    bool Draw(IGraphics* pGraphics) override;
    bool IsDirty() override;
    virtual void DrawBackground(IGraphics* pGraphics, IRECT* pR);
    virtual void DrawReopenNotice(IGraphics* pGraphics);
    virtual void DrawHandle(IGraphics* pGraphics);
    virtual void OnGUIResized() {}

    // Forgets what the process-wide state remembers (a fresh start, for tests).
    static void ResetProcessState();

private:
    struct ViewMode {
        int id;
        int width, height;
        double minWidth, minHeight, maxWidth, maxHeight;
    };
    struct ViewRecord {
        std::vector<IControl*> controls;
        std::vector<IControl*> reference;
        std::vector<DRECT> draw;
        std::vector<DRECT> target;
        std::vector<char> hidden;
        int Find(const IControl* pControl) const;
    };

    void ComputePixelSize();
    void ClampBaseToLimits();
    void PlaceHandles();
    void PlaceGrip();
    void CoverWindow();
    void ApplyLayoutToControls();
    void StoreInternalParams();
    void ReadInternalParams();
    void ResizeWindow();
    void AfterGUIResizeAll();
    void ResizeBackgroundToBase();
    // The images are process-wide: they are rescaled whenever the scale being applied
    // is not the one they were last rescaled to, whichever step applied that one.
    void RescaleBitmaps();
    void BitmapsFollowScale();
    ViewRecord* CurrentRecord();

    int mViewIndex = 0;
    std::vector<ViewMode> mViews;
    std::vector<ViewRecord> mRecords;
    bool mControlAndClick = false;
    int mReferenceView = 0;
    IGraphics* mGraphics;
    double mScale = 1.0, mMinScale = 0.0, mMaxScale = 1e9;
    double mBaseWidth, mBaseHeight;
    int mHandleWidth = 0, mHandleHeight = 0;
    int mHandleChoice = 2;
    bool mHandlesInUse = false;
    int mReferenceWidth, mReferenceHeight;
    int mPixelWidth, mPixelHeight;
    int mGripSize, mGripMinimum;
    bool mPending = false, mResizing = false, mNotice = false;
    bool mScalingEnabled = false, mScalingAllowed = true;
    bool mStoredValuesRestored = false;
    // The scale this instance's controls were last told (AfterGUIResize); 0 before.
    double mControlsScale = 0.0;
    IRECT mGripRECT;
    CMN_String mSettingsPath{nullptr, 1024};
    char mValueBuf[128] = {};
    // A value the settings file could not keep (unwritable, no settings folder) stands
    // for this run in its place, so a scale lowered to fit the screen or chosen from the
    // menu is not taken back by the next read of the file.
    std::string mUnkeptKey, mUnkeptValue;
    CMN_PtrList<IParam> mInternalParams{4096};
    // The edge handles, owned by IGraphics once attached.
    IControl* mHorisontal = nullptr;
    IControl* mVertical = nullptr;
};

// An edge handle: dragging it sets the base width (right edge) or height (bottom edge).
class EdgeResizing : public IControl {
public:
    EdgeResizing(IModuleBase* plug, IGraphics* pGraphics, const IRECT& rect, bool horizontal);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    void OnMouseOver(int x, int y, IMouseMod* pMod) override;
    void OnMouseOut() override;
    bool Draw(IGraphics*) override { return true; }

private:
    IGraphics* mGraphics;
    bool mHorizontal;
};

class HorisontalResizing : public EdgeResizing {
public:
    HorisontalResizing(IModuleBase* plug, IGraphics* pGraphics, const IRECT& rect)
        : EdgeResizing(plug, pGraphics, rect, true) {}
};

class VerticalResizing : public EdgeResizing {
public:
    VerticalResizing(IModuleBase* plug, IGraphics* pGraphics, const IRECT& rect)
        : EdgeResizing(plug, pGraphics, rect, false) {}
};
