#include "screens/panel_builder.h"

#include <cstdio>

#include "editor/data/live_params.h"
#include "editor/data/text_fit.h"
#include "editor/qd_editor.h"
#include "gui/controls/fader_control.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/knob_controls.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/user_text_controls.h"
#include "gui/controls/value_text_controls.h"
#include "gui/igraphics_mac.h"
#include "screens/keyboard_control.h"

namespace qd {

namespace {

// Both skins draw the EQ graph alike.
IParaGraphicEqSettings EqGraphSettings() {
    IParaGraphicEqSettings eq;
    eq.nBands = 4;
    eq.minFreq = 20.0f;
    eq.maxFreq = 12000.0f;
    eq.minGain = -24.0f;
    eq.maxGain = 24.0f;
    eq.handleRadius = 4.0f;
    eq.gridColor = COLOR_WHITE;
    eq.curveColor = COLOR_RED;
    eq.handleColor = COLOR_YELLOW;
    eq.fourthColor = COLOR_YELLOW;
    eq.labelBGColor = IColor(100, 0, 0, 0);
    std::snprintf(eq.freqLabels, sizeof eq.freqLabels, "%s",
                  "25, 50, 100, 200, 300, 500, 1000, 2000, 3000, 5000, 7000, 10000");
    std::snprintf(eq.gainLabels, sizeof eq.gainLabels, "%s", "-18, -12, -6, 0, 6, 12, 18");
    return eq;
}

}  // namespace

IBitmapStrip* PanelBuilder::Strip(Bmp bmp) {
    if (!mStrips[bmp]) {
        const bool lcd = IsLcd(mSkin);
        const std::string file = BitmapPath(bmp, lcd);
        mStrips[bmp] =
            mEditor.Graphics()->LoadBitmapStrip(BitmapId(bmp, lcd), file.c_str(), PanelBitmap(bmp).frames, false);
    }
    return mStrips[bmp];
}

IControl* PanelBuilder::Make(const PlanItem& item) {
    IModuleBase* plug = &mEditor;
    const IRECT& r = item.rect;
    const int x = r.L, y = r.T, p = item.param;
    const IText style = TextStyleOf(item.style, mSkin);
    switch (item.kind) {
        case ControlKind::kLoad: Strip(item.image); return nullptr;
        case ControlKind::kPicture: return new IBitmapControl(plug, x, y, p, Strip(item.image));
        case ControlKind::kSwitch: return new ISwitchControl(plug, x, y, p, Strip(item.image));
        case ControlKind::kContact: return new IContactControl(plug, x, y, p, Strip(item.image));
        case ControlKind::kSlider:
            return new IKnobMultiControl(plug, x, y, p, Strip(item.image), IKnobControl::kVertical, item.gearing);
        case ControlKind::kSlider2:
            return new IKnobMultiControl2(plug, x, y, p, Strip(item.image), IKnobControl::kVertical, item.gearing);
        case ControlKind::kSlider3:
            return new IKnobMultiControl3(plug, x, y, p, Strip(item.image), IKnobControl::kVertical, item.gearing);
        case ControlKind::kText: return new ITextControl(plug, r, &style, item.textLater ? "" : item.text.c_str());
        case ControlKind::kValueText: {
            auto* text = new ITextControl(plug, r, &style, "");
            const IRECT box = TextBoxOf(item, mSkin);
            text->SetTextInsets(box.L - r.L, box.T - r.T, r.R - box.R);
            return text;
        }
        case ControlKind::kSpinner:
            return new ISpinnerControl(plug, r, p, &style, nullptr, true, true, ISpinnerControl::kVertical,
                                       item.gearing);
        case ControlKind::kUserText: return new IUserTextControl(plug, r, &style);
        case ControlKind::kInvisibleSwitch: return new IInvisibleSwitchControl(plug, r, p);
        case ControlKind::kInvisibleSelect: return new IInvisibleSelectControl(plug, r, p);
        case ControlKind::kRowSelect: return new IInvisibleSelectControl3(plug, r, p);
        case ControlKind::kGridSelect: {
            auto* grid = new IInvisibleMatrixSelectControl(plug, r, p);
            grid->SetGrid(item.option, manager::kBankSlots / item.option);
            return grid;
        }
        case ControlKind::kFader: return new IFaderControl(plug, x, y, item.option, p, Strip(item.image), 0);
        case ControlKind::kFileSelector:
            return new IFileSelectorControl(plug, r, p, Strip(item.image), item.option, "", item.text.c_str());
        case ControlKind::kRadioButtons:
            return new IRadioButtonsControl(plug, r, p, item.option, Strip(item.image),
                                            IRadioButtonsControl::kRightToLeft, false);
        case ControlKind::kEqGraph: return new IParaGraphicEq(plug, r, p, EqGraphSettings());
        case ControlKind::kKeyboard: {
            IBitmapStrip* keys = Strip(item.image);
            return new IKeyboardControl(&mEditor, x, y, keys, Strip(kBmpOctave));
        }
        case ControlKind::kAboutBox: return new IBitmapOverlayControl(plug, x, y, Strip(item.image), kAboutCloseArea);
    }
    return nullptr;
}

int PanelBuilder::Build(const std::vector<PlanItem>& plan, Skin skin) {
    mSkin = skin;
    int made = 0;
    for (const PlanItem& item : plan) {
        IControl* control = Make(item);
        if (!control) continue;
        ++made;
        mControls.File(item, control);
        if (item.attached) mEditor.Graphics()->AttachControl(control);
        if (item.textLater) static_cast<ITextControl*>(control)->SetTextFromPlug(item.text.c_str());
        // The radio buttons are never shown; their parameter is set to the first.
        if (item.kind == ControlKind::kRadioButtons) mEditor.SetParameterFromGUI2(item.param, 0.0);
        if (item.start != Start::kAsMade) control->Hide(item.start == Start::kHidden);
    }
    return made;
}

}  // namespace qd
