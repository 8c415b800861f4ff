#include "gui/gui_resize.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui/igraphics.h"
#include "plug/module_base.h"
#include "plug/param.h"
#include "platform/folders.h"
#include "winapi/cursor.h"
#include "winapi/profile.h"

namespace {

constexpr const char* kSection = "gui";
constexpr const char* kScaleKey = "guiscale";
// Read when the key is missing: any value that fails SanitizeScale means "not stored".
constexpr const char* kMissingValue = "-1.0";
constexpr double kNoMaximum = 999999999999.0;

// Shared by every instance of the process, as the images are.
double sAppliedScale = 1.0;
bool sResizeApplied = false;
// The scale the images were last rescaled to; 0 until the first rescale.
double sBitmapScale = 0.0;

void SetCursorId(int id) { WAPI_SetCursor(WAPI_LoadCursor(id)); }

int Trunc(double v) {
    // Saturates instead of overflowing for absurd sizes.
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return int(v);
}

}  // namespace

// ---- Conversions ----

IRECT IModuleGUIResize::ToIRECT(const DRECT& r) { return {Trunc(r.L), Trunc(r.T), Trunc(r.R), Trunc(r.B)}; }

IRECT IModuleGUIResize::ScaleDRECT(const DRECT& r, double xRatio, double yRatio) {
    return {Trunc((r.L + 0.4999) * xRatio), Trunc((r.T + 0.4999) * yRatio), Trunc((r.R + 0.4999) * xRatio),
            Trunc((r.B + 0.4999) * yRatio)};
}

double IModuleGUIResize::SanitizeScale(double stored, double minimum, double maximum) {
    if (!std::isfinite(stored) || stored <= 0.0) stored = 1.0;
    return std::clamp(stored, minimum, std::max(minimum, maximum));
}

void IModuleGUIResize::ResetProcessState() {
    sAppliedScale = 1.0;
    sResizeApplied = false;
    sBitmapScale = 0.0;
}

int IModuleGUIResize::ViewRecord::Find(const IControl* pControl) const {
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i] == pControl) return int(i);
    return -1;
}

// ---- Construction ----

IModuleGUIResize::IModuleGUIResize(IModuleBase* plug, IGraphics* pGraphics, int gripSize, int gripMinimum)
    : IControl(plug, IRECT()),
      mGraphics(pGraphics),
      mReferenceWidth(pGraphics ? pGraphics->Width() : 0),
      mReferenceHeight(pGraphics ? pGraphics->Height() : 0),
      mGripSize(gripSize),
      mGripMinimum(gripMinimum) {
    mBaseWidth = mReferenceWidth;
    mBaseHeight = mReferenceHeight;
    // The window is at the reference size until a scale is applied to it.
    mPixelWidth = mReferenceWidth;
    mPixelHeight = mReferenceHeight;
    mViews.push_back({0, mReferenceWidth, mReferenceHeight, 0.0, 0.0, kNoMaximum, kNoMaximum});

    auto* viewIdx = new IParam;
    viewIdx->InitInt("view mode", -1, -1, -1);
    auto* width = new IParam;
    width->InitDouble("window width", -1.0, -1.0, 1000000.0, 1.0);
    auto* height = new IParam;
    height->InitDouble("window height", -1.0, -1.0, 1000000.0, 1.0);
    for (IParam* p : {viewIdx, width, height})
        if (!mInternalParams.Add(p)) delete p;

    if (mGraphics) {
        CMN_String folder(nullptr, 1024);
        mGraphics->AppSupportPath(&folder);
        // Without a settings folder nothing is read or written (never a file at the root).
        if (folder.GetLength() > 0) {
            std::string path = std::string(folder.Get()) + "/" + kPlugEffectName;
            platform::MakeFolders(path, 0700);
            mSettingsPath.Set((path + "/settings.ini").c_str());
        }
    }
    const double stored = GetSettingDouble(kScaleKey);
    mScale = SanitizeScale(stored, mMinScale, mMaxScale);
    // A missing or unusable value is replaced, so the file shows the scale in use.
    if (!std::isfinite(stored) || stored <= 0.0) SetSettingDouble(kScaleKey, mScale);

    mGripRECT = IRECT(mReferenceWidth - gripSize, mReferenceHeight - gripSize, mReferenceWidth, mReferenceHeight);
    mRECT = mTargetRECT = mGripRECT;
    if (mGraphics) mGraphics->HandleMouseOver(true);
}

IModuleGUIResize::~IModuleGUIResize() { mInternalParams.DeleteAll(true); }

// ---- Configuration ----

void IModuleGUIResize::ComputePixelSize() {
    mPixelWidth = Trunc(mBaseWidth * mScale);
    mPixelHeight = Trunc(mBaseHeight * mScale);
}

void IModuleGUIResize::ClampBaseToLimits() {
    const ViewMode& v = mViews[size_t(mViewIndex)];
    mBaseWidth = std::clamp(mBaseWidth, v.minWidth, std::max(v.minWidth, v.maxWidth));
    mBaseHeight = std::clamp(mBaseHeight, v.minHeight, std::max(v.minHeight, v.maxHeight));
}

void IModuleGUIResize::SelectViewMode(int id) {
    mViewIndex = 0;
    for (size_t i = 0; i < mViews.size(); ++i)
        if (mViews[i].id == id) mViewIndex = int(i);
    mBaseWidth = mViews[size_t(mViewIndex)].width;
    mBaseHeight = mViews[size_t(mViewIndex)].height;
}

void IModuleGUIResize::AddNewView(int id, int width, int height) {
    mViews.push_back({id, width, height, 0.0, 0.0, kNoMaximum, kNoMaximum});
}

void IModuleGUIResize::SetGUIScaleRatio(double scale) {
    // NaN would pass the clamp and spread into every rectangle.
    if (std::isnan(scale)) return;
    mScale = std::clamp(scale, mMinScale, std::max(mMinScale, mMaxScale));
    sAppliedScale = mScale;
    ComputePixelSize();
}

void IModuleGUIResize::SetGUIScaleLimits(double minimumPercent, double maximumPercent) {
    mMinScale = minimumPercent / 100.0;
    mMaxScale = maximumPercent / 100.0;
    mScale = std::clamp(mScale, mMinScale, std::max(mMinScale, mMaxScale));
}

void IModuleGUIResize::SetWindowSizeLimits(int viewIndex, double minWidth, double minHeight, double maxWidth,
                                           double maxHeight) {
    if (viewIndex < 0 || viewIndex >= GetViewModeCount()) return;
    ViewMode& v = mViews[size_t(viewIndex)];
    v.minWidth = minWidth, v.minHeight = minHeight, v.maxWidth = maxWidth, v.maxHeight = maxHeight;
    ClampBaseToLimits();
}

void IModuleGUIResize::SetWindowSize(double width, double height) {
    mBaseWidth = width, mBaseHeight = height;
    ClampBaseToLimits();
}

void IModuleGUIResize::SetWindowWidth(double width) { SetWindowSize(width, mBaseHeight); }

void IModuleGUIResize::SetWindowHeight(double height) { SetWindowSize(mBaseWidth, height); }

void IModuleGUIResize::UseHandles(int thickness, int secondSize, int choice) {
    mHandlesInUse = true;
    mHandleWidth = thickness;
    mHandleHeight = secondSize;
    mHandleChoice = choice;
}

IRECT IModuleGUIResize::CornerGripRECT() const {
    const int s = std::max(Trunc(mGripSize * mScale), mGripMinimum);
    return {mPixelWidth - s, mPixelHeight - s, mPixelWidth, mPixelHeight};
}

// ---- Settings ----

double IModuleGUIResize::GetSettingDouble(const char* key) {
    if (!mUnkeptKey.empty() && mUnkeptKey == key) return std::atof(mUnkeptValue.c_str());
    GetPrivateProfileString(kSection, key, kMissingValue, mValueBuf, sizeof mValueBuf, mSettingsPath.Get());
    return std::atof(mValueBuf);
}

bool IModuleGUIResize::SetSettingDouble(const char* key, double value) {
    std::snprintf(mValueBuf, sizeof mValueBuf, "%.15f", value);
    const bool kept = WritePrivateProfileString(kSection, key, mValueBuf, mSettingsPath.Get());
    if (!kept) {
        mUnkeptKey = key;
        mUnkeptValue = mValueBuf;
    } else if (mUnkeptKey == key) {
        mUnkeptKey.clear();
    }
    return kept;
}

int IModuleGUIResize::GetSettingInt(const char* key) {
    return GetPrivateProfileInt(kSection, key, -1, mSettingsPath.Get());
}

bool IModuleGUIResize::SetSettingUInt(const char* key, unsigned value) {
    std::snprintf(mValueBuf, sizeof mValueBuf, "%u", value);
    return WritePrivateProfileString(kSection, key, mValueBuf, mSettingsPath.Get());
}

// ---- Layout records ----

IModuleGUIResize::ViewRecord* IModuleGUIResize::CurrentRecord() {
    return mViewIndex < int(mRecords.size()) ? &mRecords[size_t(mViewIndex)] : nullptr;
}

void IModuleGUIResize::LiveEditSetLayout(int view, int controlIdx, bool hidden, const DRECT& draw,
                                         const DRECT& target) {
    if (view < 0 || view >= int(mRecords.size())) return;
    ViewRecord& rec = mRecords[size_t(view)];
    if (controlIdx < 0 || controlIdx >= int(rec.controls.size())) return;
    rec.hidden[size_t(controlIdx)] = hidden;
    rec.draw[size_t(controlIdx)] = draw;
    rec.target[size_t(controlIdx)] = target;
}

// ---- Operations ----

IModuleGUIResize* IModuleGUIResize::AttachGUIResize() {
    if (!mGraphics) return this;
    const int w = mGraphics->Width(), h = mGraphics->Height();
    mVertical = new VerticalResizing(mPlug, mGraphics, IRECT(0, h - mHandleHeight, w, h));
    mHorisontal = new HorisontalResizing(mPlug, mGraphics, IRECT(w - mHandleWidth, 0, w, h));
    mGraphics->AttachControl(mVertical);
    mGraphics->AttachControl(mHorisontal);
    mVertical->Hide(!mHandlesInUse || mHandleChoice == 0);
    mHorisontal->Hide(!mHandlesInUse || mHandleChoice == 1);

    // Each instance records its own controls: a layout copied from another instance
    // would point at that instance's controls.
    ViewRecord rec;
    const int n = mGraphics->NControls();
    for (int i = 0; i < n; ++i) {
        IControl* c = mGraphics->GetControl(i);
        rec.controls.push_back(c);
        rec.reference.push_back(c);
        rec.draw.push_back(ToDRECT(*c->GetRECT()));
        rec.target.push_back(ToDRECT(*c->GetTargetRECT()));
        rec.hidden.push_back(c->IsHidden());
    }
    mRecords.assign(mViews.size(), rec);

    // Once per process: the strips hold no pixels until their first rescale.
    if (sBitmapScale <= 0.0) RescaleBitmaps();
    AfterGUIResizeAll();
    return this;
}

void IModuleGUIResize::AfterGUIResizeAll() {
    if (!mGraphics) return;
    const int n = mGraphics->NControls();
    for (int i = 0; i < n; ++i) mGraphics->GetControl(i)->AfterGUIResize(mScale);
    mControlsScale = mScale;
    mGraphics->SetAllControlsDirty();
}

void IModuleGUIResize::ResizeBackgroundToBase() {
    IControl* bg = mGraphics ? mGraphics->GetControl(0) : nullptr;
    if (!bg || bg == this) return;
    const IRECT r(0, 0, Trunc((mBaseWidth + 0.4999) * mScale), Trunc((mBaseHeight + 0.4999) * mScale));
    *bg->GetRECT() = r;
    bg->SetTargetRECT(r);
}

void IModuleGUIResize::MoveControl(int controlIdx, int which, double x, double y) {
    IControl* c = mGraphics ? mGraphics->GetControl(controlIdx) : nullptr;
    if (!c) return;
    const int px = Trunc(x * mScale), py = Trunc(y * mScale);
    auto move = [&](IRECT& r) { r = IRECT(px, py, px + r.W(), py + r.H()); };
    if (which == 0 || which == 1) move(*c->GetRECT());
    if (which == 0 || which == 2) {
        IRECT t = *c->GetTargetRECT();
        move(t);
        c->SetTargetRECT(t);
    }
    ViewRecord* rec = CurrentRecord();
    const int i = rec ? rec->Find(c) : -1;
    if (i < 0) return;
    auto store = [&](DRECT& r) { r = {x, y, x + (r.R - r.L), y + (r.B - r.T)}; };
    if (which == 0 || which == 1) store(rec->draw[size_t(i)]);
    if (which == 0 || which == 2) store(rec->target[size_t(i)]);
}

void IModuleGUIResize::PlaceHandles() {
    if (!mHandlesInUse) return;
    if (mHorisontal) {
        *mHorisontal->GetRECT() = IRECT(mPixelWidth - mHandleWidth, 0, mPixelWidth, mPixelHeight);
        mHorisontal->SetTargetRECT(*mHorisontal->GetRECT());
    }
    if (mVertical) {
        *mVertical->GetRECT() = IRECT(0, mPixelHeight - mHandleHeight, mPixelWidth, mPixelHeight);
        mVertical->SetTargetRECT(*mVertical->GetRECT());
    }
}

void IModuleGUIResize::PlaceGrip() {
    mGripRECT = CornerGripRECT();
    mRECT = mTargetRECT = mGripRECT;
}

void IModuleGUIResize::CoverWindow() { mRECT = mTargetRECT = IRECT(0, 0, mPixelWidth, mPixelHeight); }

void IModuleGUIResize::RescaleControls() {
    const ViewRecord* rec = CurrentRecord();
    if (!mGraphics || !rec) return;
    const int n = mGraphics->NControls();
    for (int i = 1; i < n; ++i) {
        IControl* c = mGraphics->GetControl(i);
        // This control is attached after the layout was recorded: it has no entry.
        const int k = rec->Find(c);
        if (k < 0) continue;
        *c->GetRECT() = ScaleDRECT(rec->draw[size_t(k)], mScale, mScale);
        c->SetTargetRECT(ScaleDRECT(rec->target[size_t(k)], mScale, mScale));
        c->Hide(rec->hidden[size_t(k)] != 0);
    }
    PlaceHandles();
}

void IModuleGUIResize::RestoreControlPointers() {
    if (!mGraphics || mReferenceView >= int(mRecords.size())) return;
    ViewRecord* rec = CurrentRecord();
    if (!rec) return;
    const ViewRecord& ref = mRecords[size_t(mReferenceView)];
    // A view may hold its own control in the slot of a reference control.
    for (size_t i = 0; i < ref.reference.size() && i < rec->controls.size(); ++i) {
        const int idx = mGraphics->GetControlIdx(ref.reference[i]);
        if (idx > 0 && rec->controls[i] != ref.reference[i]) mGraphics->ReplaceControl(idx, rec->controls[i]);
    }
}

void IModuleGUIResize::StoreInternalParams() {
    const double values[3] = {double(mViewIndex), mBaseWidth, mBaseHeight};
    for (int i = 0; i < 3; ++i)
        if (IParam* p = mInternalParams.Get(i)) p->Set(std::clamp(values[i], p->GetMin(), std::max(p->GetMin(), p->GetMax())));
}

void IModuleGUIResize::ReadInternalParams() {
    if (mStoredValuesRestored) return;
    mStoredValuesRestored = true;
    IParam* view = mInternalParams.Get(0);
    IParam* width = mInternalParams.Get(1);
    IParam* height = mInternalParams.Get(2);
    if (view && view->Value() > -0.5 && int(view->Value()) < GetViewModeCount()) mViewIndex = int(view->Value());
    if (width && width->Value() > -0.5) mBaseWidth = width->Value();
    if (height && height->Value() > -0.5) mBaseHeight = height->Value();
}

void IModuleGUIResize::ResizeWindow() {
    if (mGraphics) mGraphics->Resize(mPixelWidth, mPixelHeight);
}

void IModuleGUIResize::RescaleBitmaps() {
    if (!mGraphics) return;
    mGraphics->RescaleBitmaps(mScale);
    sBitmapScale = mScale;
}

void IModuleGUIResize::BitmapsFollowScale() {
    if (!IsAlmostEqual(sBitmapScale, mScale)) RescaleBitmaps();
}

void IModuleGUIResize::ApplyLayoutToControls() {
    RestoreControlPointers();
    PlaceHandles();
    ResizeBackgroundToBase();
    RescaleControls();
    if (mPlug) mPlug->ApplyViewLayout(mViewIndex, mBaseWidth, mBaseHeight);
}

void IModuleGUIResize::ResizeToStoredScale() {
    const double stored = GetSettingDouble(kScaleKey);
    if (!IsAlmostEqual(stored, mScale)) SetSettingDouble(kScaleKey, mScale);
    if (mGraphics) mGraphics->SetGUIScale(mScale);
    ComputePixelSize();
    StoreInternalParams();

    // During a grip drag only the window follows; the layout is rebuilt once, at mouse-up.
    if (mPending && mScalingEnabled && mScalingAllowed) {
        ResizeWindow();
        sResizeApplied = true;
        return;
    }
    ApplyLayoutToControls();
    if (!mScalingEnabled) {
        BitmapsFollowScale();
        AfterGUIResizeAll();
        ResizeWindow();
        if (mGraphics) mGraphics->SetAllControlsDirty();
        PlaceGrip();
        return;
    }
    if (mScalingAllowed)
        RescaleBitmaps();
    else
        BitmapsFollowScale();
    AfterGUIResizeAll();
    ResizeWindow();
    sResizeApplied = true;
    // The grip would otherwise stay where the old window size had its corner.
    if (!mPending) PlaceGrip();
}

void IModuleGUIResize::LoadScaleFromSettings() {
    ReadInternalParams();
    const int oldWidth = mPixelWidth, oldHeight = mPixelHeight;
    mScale = SanitizeScale(GetSettingDouble(kScaleKey), mMinScale, mMaxScale);
    if (mGraphics) mGraphics->SetGUIScale(mScale);
    ComputePixelSize();
    ApplyLayoutToControls();
    PlaceGrip();
    // The same window size is not enough: the attach step told the controls and the
    // images the scale read at construction, which the screen fit may have lowered
    // since, down to one that keeps the window's size (2.0 lowered to 1.0).
    if (mPixelWidth == oldWidth && mPixelHeight == oldHeight && IsAlmostEqual(mControlsScale, mScale) &&
        IsAlmostEqual(sBitmapScale, mScale)) {
        sAppliedScale = mScale;
        return;
    }
    BitmapsFollowScale();
    AfterGUIResizeAll();
    ResizeWindow();
    mNotice = false;
    sAppliedScale = mScale;
}

bool IModuleGUIResize::FitStoredScaleToArea(int width, int height) {
    const double stored = SanitizeScale(GetSettingDouble(kScaleKey), mMinScale, mMaxScale);
    if (width <= 0 || height <= 0 || mBaseWidth <= 0 || mBaseHeight <= 0) return false;
    if (Trunc(mBaseWidth * stored) <= width && Trunc(mBaseHeight * stored) <= height) return false;
    // The largest scale at which both sides fit; below the minimum the window stays
    // larger than the area.
    const double fitted = std::clamp(std::min(width / mBaseWidth, height / mBaseHeight), mMinScale,
                                     std::max(mMinScale, mMaxScale));
    if (fitted >= stored) return false;
    SetSettingDouble(kScaleKey, fitted);
    // As the file gives it back, to 15 decimals: the scale LoadScaleFromSettings applies,
    // so the images are not brought to a scale a hair away from it.
    mScale = SanitizeScale(GetSettingDouble(kScaleKey), mMinScale, mMaxScale);
    return true;
}

// ---- Mouse ----

void IModuleGUIResize::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* pMod) {
    if (mNotice) return;
    SetCursorId(IDC_SIZENWSE);
    if (pMod && pMod->L && mScalingEnabled && mScalingAllowed && mControlAndClick) {
        CoverWindow();
        mPending = true;
    } else if (pMod && pMod->R) {
        OnGUIResized();
    }
}

void IModuleGUIResize::OnMouseDrag(int x, int y, int /*dX*/, int /*dY*/, IMouseMod* /*pMod*/) {
    if (mNotice) return;
    if (mControlAndClick) {
        const double sum = mBaseWidth + mBaseHeight;
        if (sum > 0) SetGUIScaleRatio((x + y) / sum);
    } else if (mScale > 0) {
        SetWindowSize(x / mScale, y / mScale);
    }
    if (mScalingEnabled && mScalingAllowed && mControlAndClick) {
        CoverWindow();
    } else {
        const int s = std::max(Trunc(mGripSize * mScale), mGripMinimum);
        mRECT = mTargetRECT = IRECT(x - s, y - s, x, y);
    }
    mResizing = true;
    ResizeToStoredScale();
}

void IModuleGUIResize::OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {
    SetCursorId(IDC_ARROW);
    if (mScalingEnabled && mScalingAllowed && !mNotice) {
        RescaleBitmaps();
        // The drag only resized the window; the layout follows once, here.
        ResizeBackgroundToBase();
        RescaleControls();
        AfterGUIResizeAll();
        mPending = mResizing = false;
        sAppliedScale = mScale;
    }
    mPending = false;
    PlaceGrip();
    if (mPlug) mPlug->ApplyViewLayout(mViewIndex, mBaseWidth, mBaseHeight);
}

void IModuleGUIResize::OnMouseOver(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {
    if (!mNotice) SetCursorId(IDC_SIZENWSE);
}

void IModuleGUIResize::OnMouseOut() { SetCursorId(IDC_ARROW); }

// ---- Drawing ----

bool IModuleGUIResize::Draw(IGraphics* pGraphics) {
    if (mNotice) {
        CoverWindow();
        DrawReopenNotice(pGraphics);
    } else {
        DrawHandle(pGraphics);
    }
    return true;
}

void IModuleGUIResize::DrawBackground(IGraphics* pGraphics, IRECT* pR) {
    if (pGraphics) pGraphics->FillIRect(&kBackgroundColor, pR ? pR : &mRECT);
}

void IModuleGUIResize::DrawReopenNotice(IGraphics* pGraphics) {
    if (!pGraphics) return;
    pGraphics->FillIRect(&kBackgroundColor, &mRECT);
    const int size = mReferenceWidth > 0 ? Trunc(pGraphics->Width() * 77.0 / mReferenceWidth) : 0;
    IText text(size, COLOR_WHITE, "Arial", IText::kStyleItalic, IText::kAlignNear);
    const int h = pGraphics->Height();
    const int top = std::max(h / 2 - size, 0);
    IRECT first(0, top, mRECT.R, mRECT.B);
    IRECT second(0, h / 2 + (top - (h / 2 - size)), mRECT.R, mRECT.B);
    pGraphics->DrawIText(&text, "  Reopen plugin interface", &first);
    pGraphics->DrawIText(&text, "  to get new size...", &second);
}

void IModuleGUIResize::DrawHandle(IGraphics* pGraphics) {
    if (!pGraphics) return;
    // From mouse-down to the first drag the control covers the window; the grip stays
    // a grip instead of a triangle across the whole panel.
    const IRECT r = mPending ? CornerGripRECT() : mRECT;
    const int w = r.W();
    for (int i = 0; i < w; ++i) {
        const double f = double(w - i) / w;
        const IChannelBlend blend(IChannelBlend::kBlendClobber, float(1.0 - f * f * f));
        pGraphics->DrawLine(&COLOR_WHITE, float(r.L + i), float(r.B), float(r.R), float(r.B - w + i), &blend, true);
    }
}

bool IModuleGUIResize::IsDirty() {
    if (mScalingEnabled && sResizeApplied && !mNotice && !mPending && !IsAlmostEqual(sAppliedScale, mScale)) {
        // Another instance applied a scale this one has not taken.
        mNotice = true;
        CoverWindow();
        return true;
    }
    return mNotice || IControl::IsDirty();
}

// ---- Edge handles ----

EdgeResizing::EdgeResizing(IModuleBase* plug, IGraphics* pGraphics, const IRECT& rect, bool horizontal)
    : IControl(plug, rect), mGraphics(pGraphics), mHorizontal(horizontal) {
    if (mGraphics) mGraphics->HandleMouseOver(true);
}

void EdgeResizing::OnMouseDown(int, int, IMouseMod*) { SetCursorId(mHorizontal ? IDC_SIZEWE : IDC_SIZENS); }

void EdgeResizing::OnMouseOver(int, int, IMouseMod*) { SetCursorId(mHorizontal ? IDC_SIZEWE : IDC_SIZENS); }

void EdgeResizing::OnMouseOut() { SetCursorId(IDC_ARROW); }

void EdgeResizing::OnMouseDrag(int x, int y, int, int, IMouseMod*) {
    IModuleGUIResize* r = mPlug ? mPlug->GetGUIResize() : nullptr;
    if (!r || r->GetGUIScaleRatio() <= 0) return;
    if (mHorizontal)
        r->SetWindowWidth(x / r->GetGUIScaleRatio());
    else
        r->SetWindowHeight(y / r->GetGUIScaleRatio());
    r->ResizeToStoredScale();
}
