// Texts that show a parameter's value: a spinner that follows drags and the wheel,
// and a caption that prompts for a new value.
#pragma once

#include "gui/controls/text_controls.h"

class ISpinnerControl : public ITextControl {
public:
    enum EDirection { kVertical = 0, kHorizontal = 1 };

    // `pOwnParam` (not owned, may be null) stands in when the index names no parameter.
    ISpinnerControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText, IParam* pOwnParam = nullptr,
                    bool showValue = true, bool showLabel = false, int direction = kVertical,
                    double gearing = 1.0);
    void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
    // One notch moves the parameter by one step in its own units.
    void OnMouseWheel(int x, int y, IMouseMod* pMod, int d) override;
    bool Draw(IGraphics* pGraphics) override;
    void PromptValue(IRECT rect);
    // The plug-in's parameter at the index, else the own parameter.
    IParam* GetSpinnerParam() const;

protected:
    int mDirection;
    double mGearing;
    bool mShowValue, mShowLabel;
    IParam* mOwnParam;
};

class ICaptionControl : public ITextControl {
public:
    ICaptionControl(IModuleBase* plug, const IRECT& rect, int paramIdx, const IText* pText, bool showLabel = true);
    void OnMouseDown(int x, int y, IMouseMod* pMod) override;
    void OnMouseDblClick(int x, int y, IMouseMod* pMod) override;
    bool Draw(IGraphics* pGraphics) override;

protected:
    bool mShowLabel;
};

// "<display text>" or "<display text> <label>" of a parameter's current value;
// empty without a parameter.
void ParamValueText(const IParam* pParam, bool withLabel, CMN_String* pOut);
