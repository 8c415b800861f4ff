// The platform-neutral GUI engine the plug-in owns: the control list, the
// parameter fan-out, dirty-rectangle redraw into a back buffer, and the routing of
// mouse and key input. Everything a window system must do is a virtual operation
// that a back end supplies.
#pragma once

#include <cstdint>
#include <vector>

#include "common/cmn_string.h"
#include "common/gui_types.h"
#include "common/ptr_list.h"
#include "gui/bitmap_cache.h"
#include "raster/bitmap.h"

class IControl;
class IModuleBase;
class IParam;
class IPopupMenu;

class IGraphics {
public:
    static constexpr int kDefaultFPS = 120;

    // An fps of 0 or less means the default.
    IGraphics(IModuleBase* plug, int width, int height, int fps = 0);
    virtual ~IGraphics();
    IGraphics(const IGraphics&) = delete;
    IGraphics& operator=(const IGraphics&) = delete;

    // ---- Window system: supplied by the back end (in slot order) ----
    // Shows the given rectangle of the back buffer; false when it could not.
    virtual bool DrawScreen(IRECT* pR) = 0;
    // Measuring is DrawIText in measure mode (igraphics_drawing.cpp); a back end may wrap it.
    virtual bool MeasureIText(IText* pTxt, const char* str, IRECT* pR) { return DrawIText(pTxt, str, pR, true); }
    virtual void EndUserInput() = 0;
    virtual void Resize(int width, int height);
    virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
    virtual const char* GetGUIAPI() { return ""; }
    // Answers 1 for OK or Yes, 7 for No, 2 for Cancel.
    virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
    // Shows the menu in pR; answers the menu the user chose from (with its chosen
    // index set), or null when nothing was chosen.
    virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pR) = 0;
    // Opens a text entry; when it ends the back end calls SetFromStringAfterPrompt
    // (with a parameter) or the control's TextFromTextEntry (without one).
    virtual void CreateTextEntry(IControl* pControl, IText* pText, IRECT* pR, const char* str, IParam* pParam) = 0;
    virtual void HostPath(CMN_String* pPath) = 0;
    virtual void PluginPath(CMN_String* pPath) = 0;
    virtual void DesktopPath(CMN_String* pPath) = 0;
    virtual void DocumentsPath(CMN_String* pPath) = 0;
    virtual void AppSupportPath(CMN_String* pPath, bool isSystem = false) = 0;
    virtual void MusicPath(CMN_String* pPath) = 0;
    // action 1 saves, anything else opens; `extensions` are separated by spaces.
    virtual void PromptForFile(CMN_String* pFilename, int action, CMN_String* pDir, const char* extensions) = 0;
    virtual bool UnusedOSQuery() = 0;
    virtual bool OpenURL(const char* url) = 0;
    virtual void* OpenWindow(void* pParentView) = 0;
    virtual int UnusedQuery() { return 0; }
    virtual void OpenChildWindow(void* /*pParentWindow*/) {}
    virtual void CloseChildWindow() {}
    virtual void CloseWindow() = 0;
    virtual void* GetWindow() = 0;
    virtual bool GetTextFromClipboard(CMN_String* pStr) = 0;
    virtual void HideMouseCursor() {}
    virtual void ShowMouseCursor() {}
    virtual void RegisterToolTips() = 0;
    // A new bitmap the caller owns, or null when the image cannot be had.
    virtual PIX_IBitmap* OSLoadBitmap(int id, const char* fileName) = 0;

    // ---- Size and back buffer ----
    // (Re)makes the back buffer at the current size; false when it has no pixels.
    bool PrepDraw();
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    int FPS() const { return mFPS; }
    IModuleBase* GetPlug() const { return mPlug; }
    PIX_SysBitmap* GetDrawBitmap() const { return mDrawBitmap; }
    void SetResourceScale(unsigned scale) { mResourceScale = scale; }
    void SetGUIScale(double scale) { mGUIScale = scale; }

    // ---- Control list (owned; later index drawn later and hit first) ----
    // Returns the control's stored index, which now holds the last index.
    int& AttachControl(IControl* pControl);
    // A background covering the window (a solid colour, or frame 1 of an image strip's
    // size) put first in the list, behind every control attached so far.
    void AttachPanelBackground(const IColor* pColor);
    void AttachBackground(int id, const char* fileName);
    void ReplaceControl(int idx, IControl* pControl);
    void MoveControlBehind(int from, int to);
    void SwapControls(int a, int b);
    // Takes the control out of the list without deleting it.
    void RemoveControl(int idx);
    int GetControlIdx(IControl* pControl) const;
    void SetKeyCatcher(IControl* pControl);
    int NControls() const { return mControls.GetSize(); }
    // Null for an index outside the list.
    IControl* GetControl(int idx) const { return mControls.Get(idx); }

    // ---- Parameter operations: every control bound to the parameter, in list order ----
    // They find the controls through an index kept as controls join and leave the list
    // (a control's own parameter is fixed once it is in a list; an auxiliary parameter
    // added later joins the index then).
    void SetParameterFromPlug(int paramIdx, double value, bool normalized);
    void HideControl(int paramIdx, bool hide);
    void GrayOutControl(int paramIdx, bool gray);
    void MoveControl(int paramIdx, int x, int y);
    void SetControlsFromUserInput(int paramIdx, double normalizedValue);
    bool IsControlHidden(int paramIdx) const;
    void ClampControl(int paramIdx, double lo, double hi, bool normalized);
    void HideControlAt(int idx, bool hide);
    void GrayOutControlAt(int idx, bool gray);
    void MoveControlAt(int idx, int x, int y);
    void SetControlFromPlugAt(int idx, double normalizedValue);
    void SetAllControlsDirty();
    void AssignParamNameToolTips();
    void IdleAllControls();
    void SetRectRedraw(bool rectRedraw);

    // ---- Redraw ----
    // Widens *pR by every dirty control; on quiet ticks runs the plug-in's idle hook
    // every second time. True when something must be redrawn.
    bool IsDirty(IRECT* pR);
    // Draws the controls that meet *pR into the back buffer and shows it. Controls under
    // one that hides the whole rectangle (IControl::IsOpaqueOver) are not drawn.
    bool Draw(IRECT* pR);
    // A listed control became dirty: the next tick looks at the list. Until then, and
    // while no animation runs, a tick knows without looking that nothing is dirty.
    void NoteDirtyControl() { mMaybeDirty = true; }

    // ---- Input ----
    void OnMouseDown(int x, int y, IMouseMod* pMod);
    void OnMouseUp(int x, int y, IMouseMod* pMod);
    void OnMouseDrag(int x, int y, IMouseMod* pMod);
    bool OnMouseDblClick(int x, int y, IMouseMod* pMod);
    bool OnMouseOver(int x, int y, IMouseMod* pMod);
    void OnMouseOut();
    void OnMouseWheel(int x, int y, IMouseMod* pMod, int d);
    bool OnKeyDown(int x, int y, int key);
    int FindMouseControl(int x, int y, bool mouseOver) const;
    void ClearMouseCapture();
    int StoreParamUnderMouse(int x, int y);
    int TakeParamUnderMouse();
    int GetMouseCapture() const { return mMouseCapture; }
    int GetMouseOver() const { return mMouseOver; }
    const IMouseMod* GetMouseMod() const { return &mMouseMod; }
    void HandleMouseOver(bool canHandle) { mHandleMouseOver = canHandle; }
    void EnableTooltips(bool enable) { mEnableTooltips = enable; }
    bool TooltipsEnabled() const { return mEnableTooltips; }

    // Pop-up menu for enum and bool parameters, text entry for the rest.
    void PromptUserInput(IControl* pControl, IParam* pParam, IRECT* pR);
    void SetFromStringAfterPrompt(IControl* pControl, IParam* pParam, const char* str);

    // ---- Layout editor hooks ----
    int GetLiveEditControlIdx(int x, int y) const;
    void SetLiveEditMode(int mode) { mLiveEditMode = mode; }
    bool LiveEditHoldsMouse() const { return mLiveEditHoldsMouse; }

    // ---- Drawing: bitmaps, primitives and text (igraphics_drawing.cpp) ----
    // Bitmaps. Strip records live in the process-wide caches until the process ends; a
    // missing image gives an empty record that draws nothing.
    IBitmapStrip* LoadBitmapStrip(int id, const char* fileName, int frames = 1, bool horizontal = false);
    void RescaleBitmaps(double scale);
    void ScaleBitmap(const PIX_IBitmap* pSrc, PIX_IBitmap* pDest, int frames, bool horizontal);
    IBitmapStrip ScaleBitmapStrip(const IBitmapStrip* pBitmap, int width, int height);
    IBitmapStrip CropBitmapStrip(const IBitmapStrip* pBitmap, const IRECT* pR);
    void KeepBitmap(const IBitmapStrip* pBitmap);
    void DropBitmap(IBitmapStrip* pBitmap);

    // Primitives: each draws into the back buffer with an optional blend (null: weight
    // 1.0, copy weighted by source alpha) and answers true; false only for a missing
    // colour, rectangle or strip argument.
    bool DrawBitmap(const IBitmapStrip* pBitmap, const IRECT* pDest, int srcX, int srcY,
                    const IChannelBlend* pBlend = nullptr);
    // True when DrawBitmapState with these arguments sets every pixel of `r` (inside the
    // back buffer) whatever lay beneath: r inside the destination and the frame, full
    // weight, and a copy that stores the image or an image opaque all over r.
    bool BitmapStateCovers(const IBitmapStrip* pBitmap, const IRECT* pDest, int frame, const IChannelBlend* pBlend,
                           const IRECT& r);
    // frame is 1-based.
    bool DrawBitmapState(const IBitmapStrip* pBitmap, const IRECT* pDest, int frame,
                         const IChannelBlend* pBlend = nullptr);
    // angle in radians.
    bool DrawRotatedBitmap(const IBitmapStrip* pBitmap, int destCtrX, int destCtrY, double angle,
                           int yOffsetZeroDeg = 0, const IChannelBlend* pBlend = nullptr);
    // angle in degrees; the three strips share the base's size.
    bool DrawRotatedMask(const IBitmapStrip* pBase, const IBitmapStrip* pMask, const IBitmapStrip* pTop, int x, int y,
                         double angle, const IChannelBlend* pBlend = nullptr);
    bool DrawPoint(const IColor* pColor, float x, float y, const IChannelBlend* pBlend = nullptr);
    // Stores the colour as it is, without blending; a point outside the buffer is ignored.
    bool ForcePixel(const IColor* pColor, int x, int y);
    bool DrawLine(const IColor* pColor, float x1, float y1, float x2, float y2, const IChannelBlend* pBlend = nullptr,
                  bool antiAlias = false);
    // Angles in radians, 0 up, growing clockwise.
    bool DrawArc(const IColor* pColor, float cx, float cy, float r, float minAngle, float maxAngle,
                 const IChannelBlend* pBlend = nullptr, bool antiAlias = false);
    bool DrawCircle(const IColor* pColor, float cx, float cy, float r, const IChannelBlend* pBlend = nullptr,
                    bool antiAlias = false);
    bool DrawRoundRect(const IColor* pColor, const IRECT* pR, const IChannelBlend* pBlend = nullptr,
                       int cornerRadius = 5, bool antiAlias = false);
    bool FillRoundRect(const IColor* pColor, const IRECT* pR, const IChannelBlend* pBlend = nullptr,
                       int cornerRadius = 5, bool antiAlias = false);
    bool FillCircle(const IColor* pColor, int cx, int cy, float r, const IChannelBlend* pBlend = nullptr,
                    bool antiAlias = false);
    bool FillCubicBezier(const IColor* pColor, int fillToY, float x0, float y0, float x1, float y1, float x2, float y2,
                         float x3, float y3, float alpha = 1.0f, float tolerance = 0.5f);
    // Quadratic through (x0, y0), control (x1, y1) and end (x2, y2).
    bool DrawQBezier(const IColor* pColor, float x0, float y0, float x1, float y1, float x2, float y2,
                     float alpha = 1.0f, bool antiAlias = true, float tolerance = 1.0f);
    bool FillTriangle(const IColor* pColor, int x1, int y1, int x2, int y2, int x3, int y3,
                      const IChannelBlend* pBlend = nullptr);
    bool FillConvexPolygon(const IColor* pColor, const int* x, const int* y, int nPoints,
                           const IChannelBlend* pBlend = nullptr);
    bool DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi);
    bool DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi);
    bool DrawRectOutline(const IColor* pColor, const IRECT* pR);
    // frac (clamped to 0..1) of the way across (from the left) or up (from the bottom).
    bool DrawVerticalLineInRect(const IColor* pColor, const IRECT* pR, float frac);
    bool DrawHorizontalLineInRect(const IColor* pColor, const IRECT* pR, float frac);
    // angle in radians, 0 up, growing clockwise.
    bool DrawRadialLine(const IColor* pColor, float cx, float cy, float angle, float rMin, float rMax,
                        const IChannelBlend* pBlend = nullptr, bool antiAlias = false);
    bool FillIRect(const IColor* pColor, const IRECT* pR, const IChannelBlend* pBlend = nullptr);
    IColor GetPixelColor(int x, int y);
    bool DrawBlurredBitmap(const IBitmapStrip* pBitmap, int destX, int destY, const IRECT* pSrc);
    void* GetBackBufferBits();

    // Text. Draws (or with `measure` sets *pR to the text's box) and answers true; false
    // when no font can be made for the style.
    bool DrawIText(IText* pTxt, const char* str, IRECT* pR, bool measure = false);
    // DrawIText that leaves every pixel outside the rectangle alone: the text is placed in
    // it the same way and cut at its edges. A caller that has measured the text in this
    // style passes its width and height, so a partial redraw does not measure it again.
    bool DrawITextInside(IText* pTxt, const char* str, const IRECT& r, int width = -1, int height = -1);
    PIX_IFont* CacheFont(IText* pTxt);
    // Text from a strip holding one frame per character from the space up.
    bool DrawBitmapText(const IBitmapStrip* pBitmap, const IRECT* pR, const IText* pTxt, const IChannelBlend* pBlend,
                        const char* str, bool vCenter, bool multiline, int charWidth, int charHeight, int charOffset);

protected:
    // The resize control and its two handles stay at the end of the list.
    int NFixedTrailingControls() const;
    void InsertControl(int idx, IControl* pControl);
    void RenumberControls();
    // Topmost control that is neither hidden nor grayed (nor, with `mouseOver`, grayed
    // without taking part in mouse-over) and is hit at (x, y); -1 for none.
    int FindHitControl(int x, int y, bool mouseOver) const;
    // True when the control's input handler runs (the layout editor may hold the mouse).
    bool ControlGetsMouse() const { return !(mLiveEdit && mLiveEditHoldsMouse); }
    IParam* GetParam(int paramIdx) const;
    // Calls fn(control) on every control bound to the parameter, in list order, and
    // answers whether the index names a parameter (one that names none reaches no control).
    template <class Fn>
    bool ForEachControlOf(int paramIdx, Fn fn) const;
    // The controls bound to the parameter as their own or as an auxiliary one, in list
    // order; empty for an index that names no parameter.
    const std::vector<IControl*>& ControlsOf(int paramIdx) const;
    // The control joins (leaves) the lists of its parameters; it must hold its place in
    // the numbered control list when it joins.
    void IndexControl(IControl* pControl);
    void UnindexControl(IControl* pControl);
    void IndexParam(IControl* pControl, int paramIdx);
    // DrawIText's work; with `clip` nothing outside `r` is touched. `width` and `height`:
    // the text's measured size, or -1 when it is still to be measured.
    bool DrawTextInto(IText* pTxt, const char* str, const IRECT& r, bool clip, int width, int height);
    // One overlay frame of the layout editor (live_edit.cpp).
    void RunLiveEdit();
    // The part of `dest` inside the draw rectangle, from (srcX, srcY) of the bitmap on.
    // `stablePixels`: the bitmap keeps its pixels from call to call (a strip, not the
    // scratch bitmap), so what is known of its alpha holds.
    void BlitToDraw(const PIX_IBitmap* bm, const IRECT& dest, int srcX, int srcY, const IChannelBlend* pBlend,
                    bool stablePixels);
    // The first control Draw must draw for the rectangle: the topmost that hides all of
    // it, or 0.
    int FirstVisibleControl(const IRECT& r);

    CMN_PtrList<IControl> mControls{4096};
    std::vector<std::vector<IControl*>> mControlsByParam;  // see ControlsOf
    IModuleBase* mPlug;
    IRECT mDrawRECT;
    bool mCursorHidden = false;
    int mHiddenCursorX = -1, mHiddenCursorY = -1;
    PIX_SysBitmap* mDrawBitmap = nullptr;
    PIX_MemBitmap* mTmpBitmap = nullptr;
    int mWidth, mHeight, mFPS;
    int mIdleTicks = 0;
    bool mMaybeDirty = true;                // see NoteDirtyControl
    bool mRedrawing = false;                // inside Draw's control loops, where fills are clipped
    std::vector<uint32_t> mKeptTextPixels;  // what a text covers outside the draw rectangle
    int mMouseCapture = -1, mMouseOver = -1, mMouseX = 0, mMouseY = 0;
    int mLastParamUnderMouse = -1;
    bool mHandleMouseOver = false;
    bool mRectRedraw = true;
    bool mEnableTooltips = false;
    IControl* mKeyCatcher = nullptr;
    unsigned mResourceScale = 1;
    double mGUIScale = 1.0;
    int mLiveEditMode = 0;
    bool mLiveEdit = false;
    IMouseMod mMouseMod;
    int mLiveEditGrid = 1;
    int mLiveEditSnapDistance = 0;
    int mLastKey = -1;
    bool mLiveEditHoldsMouse = false;
    int mLiveEditSelected = -1;
    bool mMouseDragged = false;
    // Set by a back end's resize.
    int mBackEndWidth = 0, mBackEndHeight = 0;

    friend class IControl;  // an auxiliary parameter added to a listed control joins the index
};
