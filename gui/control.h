// Base of every on-screen control: a rectangle to paint, a rectangle that takes the
// mouse, an optional binding to one plug-in parameter and a normalised value.
#pragma once

#include "common/cmn_string.h"
#include "common/gui_types.h"
#include "common/typed_buf.h"
#include "gui/animation.h"

class IGraphics;
class IModuleBase;
class IParam;

// Implemented by the text controls, so that a control linked to one as its value or
// name display can tell whether the text it would show is already there.
class IShownText {
public:
    virtual const char* GetShownText() const = 0;

protected:
    ~IShownText() = default;
};

class IControl {
public:
    struct AuxParam {
        double value;  // normalised
        int paramIdx;
    };

    // Text entries for number parameters accept this many characters unless a
    // control asks for another length.
    static constexpr int kDefaultTextEntryLength = 7;

    IControl(IModuleBase* plug, const IRECT& rect, int paramIdx = -1, IChannelBlend blend = IChannelBlend());
    virtual ~IControl();
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // Events. With the right button a plain control prompts for its parameter.
    virtual void OnMouseDown(int x, int y, IMouseMod* pMod);
    virtual void OnMouseUp(int x, int y, IMouseMod* pMod);
    virtual void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod);
    // Resets to the default value once the control has one.
    virtual void OnMouseDblClick(int x, int y, IMouseMod* pMod);
    virtual void OnMouseWheel(int x, int y, IMouseMod* pMod, int d);
    virtual bool OnKeyDown(int x, int y, int key);
    virtual void OnMouseOver(int x, int y, IMouseMod* pMod);
    virtual void OnMouseOut();

    virtual bool Draw(IGraphics* pGraphics) = 0;
    // True when Draw, as the control stands, sets every pixel of `r` whatever lay
    // beneath, so the controls under it need not be drawn there. A control that draws
    // otherwise than its base class answers for its own drawing.
    virtual bool IsOpaqueOver(IGraphics* /*pGraphics*/, const IRECT& /*r*/) { return false; }
    virtual void AfterGUIResize(double guiScale);

    // Values. From the plug-in: the control redraws but pushes nothing back. From
    // the user: the value also goes to the plug-in.
    virtual void SetValueFromPlug(double value);
    virtual void SetValueFromUserInput(double value);
    // A text entry opened for a control without a parameter ends here.
    virtual void TextFromTextEntry(const char* text);

    virtual void Hide(bool hide);
    virtual void GrayOut(bool gray);
    // Moves the draw rectangle's top-left corner to (x, y); the target rectangle
    // becomes the moved draw rectangle.
    virtual void MoveTo(int x, int y);
    virtual bool IsHit(int x, int y);

    // Clamps the value and marks the control for redrawing; with `pushParamToPlug`
    // the value also goes to the bound parameter.
    virtual void SetDirty(bool pushParamToPlug = true);
    // The redraw request survives one draw, so a control changed during a tick is
    // drawn on the next tick as well.
    virtual void SetClean();
    virtual bool IsDirty();
    virtual void OnIdle();
    virtual void SetAuxParamValueFromPlug(int auxParamIdx, double value);

    void PromptUserInput();
    void PromptUserInputInRect(IRECT* pR);

    AuxParam* GetAuxParam(int idx) { return mAuxParams.GetAt(idx); }
    int AuxParamIdx(int paramIdx) const;
    void AddAuxParam(int paramIdx);
    void SetAllAuxParamsFromGUI();

    int ParamIdx() const { return mParamIdx; }
    // Position in the IGraphics control list; IGraphics renumbers after every change.
    int GetIndex() const { return mIndex; }
    int& IndexRef() { return mIndex; }
    void SetIndex(int idx) { mIndex = idx; }

    IRECT* GetRECT() { return &mRECT; }
    const IRECT* GetRECT() const { return &mRECT; }
    IRECT* GetTargetRECT() { return &mTargetRECT; }
    const IRECT* GetTargetRECT() const { return &mTargetRECT; }
    void SetTargetRECT(const IRECT& rect) { mTargetRECT = rect; }

    double GetValue() const { return mValue; }
    double GetDefaultValue() const { return mDefaultValue; }
    void Clamp(double lo, double hi) {
        mClampLo = lo;
        mClampHi = hi;
    }

    bool IsHidden() const { return mHide; }
    bool IsGrayed() const { return mGrayed; }
    void SetPromptDisabled(bool disabled) { mDisablePrompt = disabled; }
    bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
    bool GetMOWhenGrayed() const { return mMOWhenGrayed; }

    IText* GetText() { return &mText; }
    int GetTextEntryLength() const { return mTextEntryLength; }
    void SetTextEntryLength(int length) { mTextEntryLength = length; }

    // Neither display control is owned.
    void SetValueDisplayControl(IControl* control) { mValDisplayControl = control; }
    void SetNameDisplayControl(IControl* control) { mNameDisplayControl = control; }

    const char* GetTooltip() const { return mTooltip.Get(); }
    void SetTooltip(const char* text) { mTooltip.Set(text); }

    IModuleAnimation* GetAnimation() { return &mAnimation; }

protected:
    int mTextEntryLength = kDefaultTextEntryLength;
    IText mText;
    IModuleBase* mPlug;
    IRECT mRECT;
    IRECT mTargetRECT;
    int mParamIdx;
    int mIndex = 0;
    CMN_TypedBuf<AuxParam> mAuxParams{4096};
    double mValue = 0.0;
    double mDefaultValue = -1.0;  // negative: not known until the first value arrives
    double mClampLo = 0.0;
    double mClampHi = 1.0;
    bool mDirty = true;
    bool mHide = false;
    bool mGrayed = false;
    bool mRedraw = false;
    bool mDisablePrompt = true;
    bool mDblAsSingleClick = false;
    bool mMOWhenGrayed = false;
    IChannelBlend mBlend;
    IControl* mValDisplayControl = nullptr;
    IControl* mNameDisplayControl = nullptr;
    CMN_String mTooltip{nullptr, 128};
    IModuleAnimation mAnimation;

private:
    friend class IGraphics;  // keeps mOwner, and files the control under its parameters
    // Tells the list holding the control that it became dirty.
    void MarkDirty();

    IGraphics* mOwner = nullptr;  // the IGraphics whose list holds the control
    IParam* LookUpParam() const;
    static void ShowInDisplay(IControl* display, const char* text);
};
