// The synthesizer page: QDEditor::BuildOrigSkinLayout and QDEditor::BuildLcdSkinLayout
// run the same steps; every difference between them comes from the SkinLayout record.
#include <cstdio>
#include <string>

#include "editor/data/param_table.h"
#include "editor/qd_editor.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/knob_controls.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/value_text_controls.h"
#include "gui/igraphics_mac.h"
#include "screens/panel_layout.h"

namespace {

using qd::Bmp;

enum class Kind { kSlider, kSlider2, kSwitch };

// One row of the sound and effects slider tables. A slider stands at the parameter's
// table point less 12 pixels; its value text follows the skin's rule unless the row
// gives a rectangle. Switches and the key-priority slider have places of their own,
// which the skin record holds.
struct SliderRow {
    int param;
    Kind kind;
    Bmp bmp;
    double gearing;
};

constexpr SliderRow kSoundSliders[] = {
    {51, Kind::kSlider, qd::kBmpVslider6, 0.4},   {52, Kind::kSlider, qd::kBmpVslider6, 0.4},
    {53, Kind::kSlider, qd::kBmpVslider, 1.0},    {54, Kind::kSlider, qd::kBmpVslider, 1.0},
    {55, Kind::kSlider, qd::kBmpVslider, 1.0},    {56, Kind::kSlider, qd::kBmpVslider, 1.0},
    {57, Kind::kSlider, qd::kBmpVslider, 1.0},    {58, Kind::kSlider, qd::kBmpVslider, 1.0},
    {59, Kind::kSlider, qd::kBmpVslider, 1.0},    {60, Kind::kSlider, qd::kBmpVslider, 1.0},
    {61, Kind::kSlider, qd::kBmpVslider, 1.0},    {62, Kind::kSlider, qd::kBmpVslider, 1.0},
    {63, Kind::kSlider, qd::kBmpVslider, 1.0},    {64, Kind::kSlider, qd::kBmpVslider, 1.0},
    {65, Kind::kSlider, qd::kBmpVslider, 1.0},    {66, Kind::kSlider, qd::kBmpVslider, 1.0},
    {67, Kind::kSlider, qd::kBmpVslider, 1.0},    {68, Kind::kSlider, qd::kBmpVslider, 1.0},
    {69, Kind::kSlider, qd::kBmpVslider, 1.0},    {70, Kind::kSlider, qd::kBmpVslider3, 0.4},
    {71, Kind::kSlider, qd::kBmpVslider, 1.0},    {72, Kind::kSlider, qd::kBmpVslider, 1.0},
    {73, Kind::kSlider, qd::kBmpVslider, 1.0},    {74, Kind::kSlider, qd::kBmpVslider, 1.0},
    {75, Kind::kSlider, qd::kBmpVslider, 1.0},    {76, Kind::kSlider, qd::kBmpVslider, 1.0},
    {77, Kind::kSlider, qd::kBmpVslider, 1.0},    {78, Kind::kSwitch, qd::kBmpSyncButton, 0.0},
    {79, Kind::kSlider, qd::kBmpVslider, 1.0},    {80, Kind::kSlider, qd::kBmpVslider, 1.0},
    {81, Kind::kSlider, qd::kBmpVslider, 1.0},    {82, Kind::kSlider, qd::kBmpVslider, 1.0},
    {83, Kind::kSlider, qd::kBmpVslider, 1.0},    {84, Kind::kSlider, qd::kBmpVslider2, 0.4},
    {85, Kind::kSlider, qd::kBmpVslider5, 0.4},   {86, Kind::kSlider, qd::kBmpVslider, 1.0},
    {87, Kind::kSwitch, qd::kBmpSyncButton, 0.0}, {88, Kind::kSlider, qd::kBmpVslider, 1.0},
    {89, Kind::kSwitch, qd::kBmpSyncButton, 0.0}, {90, Kind::kSlider, qd::kBmpVslider, 1.0},
    {91, Kind::kSlider, qd::kBmpVslider, 1.0},    {92, Kind::kSwitch, qd::kBmpSyncButton, 0.0},
    {93, Kind::kSlider, qd::kBmpVsliderShort4, 0.4}, {94, Kind::kSlider, qd::kBmpVslider, 1.0},
    {95, Kind::kSlider, qd::kBmpVslider, 1.0},    {96, Kind::kSlider, qd::kBmpVslider, 1.0},
    {97, Kind::kSlider, qd::kBmpVslider, 1.0},    {127, Kind::kSlider2, qd::kBmpVsliderShort4, 0.4},
    {186, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
};

constexpr SliderRow kEffectSliders[] = {
    {132, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {133, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {134, Kind::kSlider, qd::kBmpVslider2, 0.4},   {135, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {136, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {137, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {138, Kind::kSlider, qd::kBmpVslider, 1.0},    {139, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {140, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {141, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {142, Kind::kSlider, qd::kBmpVslider, 1.0},    {143, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {144, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {145, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {146, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {148, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {149, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {147, Kind::kSlider, qd::kBmpVslider2, 1.0},
    {182, Kind::kSlider, qd::kBmpVslider2, 1.0},   {183, Kind::kSlider, qd::kBmpVslider2, 1.0},
    {161, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {162, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {163, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {164, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {165, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {166, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {167, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {168, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {169, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {170, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {171, Kind::kSlider, qd::kBmpVsliderFx, 1.0},  {172, Kind::kSlider, qd::kBmpVsliderFx, 1.0},
    {160, Kind::kSlider, qd::kBmpVslider2, 1.0},   {184, Kind::kSlider, qd::kBmpVslider2, 1.0},
    {185, Kind::kSlider, qd::kBmpVslider2, 1.0},
};

constexpr int kVcoCount = 4, kVcoColumns = 12, kFlexiStep = 168;
constexpr int kFlexiRangeSliderX = 300, kFlexiRangeSliderY = -40;
constexpr int kSliderLift = 12;

IText Style(int size, const IColor& color, int style, int align, int quality = 0) {
    return IText(size, color, "Monaco", style, align, 0, quality);
}

}  // namespace

class PanelBuilder {
public:
    PanelBuilder(QDEditor* editor, const qd::SkinLayout& layout)
        : ed_(editor), g_(editor->mGraphicsMac), L_(layout) {}

    void Build(bool showFirstBackground);

private:
    IBitmapStrip* Strip(Bmp bmp);
    template <class C>
    C* Add(C* control) {
        ++made_;
        g_->AttachControl(control);
        return control;
    }
    IRECT At(int x, int y, Bmp bmp) { return IBitmapControl::FrameRect(x, y, Strip(bmp)); }
    IControl* Picture(int x, int y, Bmp bmp, int param = -1) {
        return Add(new IBitmapControl(ed_, x, y, param, Strip(bmp)));
    }
    IControl* Switch(int x, int y, int param, Bmp bmp) { return Add(new ISwitchControl(ed_, x, y, param, Strip(bmp))); }
    IControl* Contact(int x, int y, int param, Bmp bmp) { return Add(new IContactControl(ed_, x, y, param, Strip(bmp))); }
    IControl* InvisibleSwitch(const IRECT& r, int param) { return Add(new IInvisibleSwitchControl(ed_, r, param)); }
    IRECT RuleText(int param) const;
    ITextControl* ValueText(int param, const IRECT& r, const IText& style, bool attach = true);
    IControl* Slider(const SliderRow& row);
    IFileSelectorControl* FileSelector(const IRECT& r, int param, int action, const char* extensions);

    void Backgrounds(bool showFirst);
    void FlexiTexts();
    void EffectBackgrounds();
    void UnattachedValueTexts();
    void SliderBlocks();
    void FlexiRow();
    void EffectTabs();
    void ListOverlays();
    void Buttons();
    void FileControls();
    void Spinners();

    QDEditor* ed_;
    IGraphicsMac* g_;
    const qd::SkinLayout& L_;
    IBitmapStrip* strips_[qd::kBmpCount] = {};
    int made_ = 0;
    const IText valueStyle_ = Style(11, COLOR_WHITE, IText::kStyleBold, IText::kAlignCenter);

    friend class QDEditor;
};

IBitmapStrip* PanelBuilder::Strip(Bmp bmp) {
    if (!strips_[bmp]) {
        const qd::BitmapRow& row = qd::PanelBitmap(bmp);
        const int id = L_.lcd ? row.lcdId : row.origId;
        const std::string file = std::string(L_.dir) + row.name + "-2x.png";
        strips_[bmp] = g_->LoadBitmapStrip(id, file.c_str(), row.frames, false);
    }
    return strips_[bmp];
}

IRECT PanelBuilder::RuleText(int param) const {
    const qd::PanelPoint& p = qd::kParamPositions[param - qd::kFirstProgramParam];
    return IRECT(p.x - 8, p.y + L_.valueTextTop, p.x + 40, p.y + L_.valueTextTop + 16);
}

ITextControl* PanelBuilder::ValueText(int param, const IRECT& r, const IText& style, bool attach) {
    auto* text = new ITextControl(ed_, r, &style, "");
    ed_->mValueTexts[param - qd::kFirstProgramParam] = text;
    if (attach)
        Add(text);
    else
        ++made_;
    return text;
}

IControl* PanelBuilder::Slider(const SliderRow& row) {
    const qd::PanelPoint& p = qd::kParamPositions[row.param - qd::kFirstProgramParam];
    IControl* control = nullptr;
    IRECT text = RuleText(row.param);
    switch (row.param) {
        case 78: control = Switch(L_.switch78.x, L_.switch78.y, 78, L_.onOffSwitch), text = L_.text78; break;
        case 87: control = Switch(L_.switch87.x, L_.switch87.y, 87, L_.onOffSwitch), text = L_.text87; break;
        case 89: control = Switch(L_.switch89.x, L_.switch89.y, 89, L_.onOffSwitch), text = {858, 445, 906, 461}; break;
        case 92: control = Switch(L_.switch92.x, L_.switch92.y, 92, L_.onOffSwitch), text = L_.text92; break;
        case 93:
            control = Add(new IKnobMultiControl(ed_, L_.slider93.x, L_.slider93.y, 93, Strip(row.bmp),
                                                IKnobControl::kVertical, row.gearing));
            text = L_.text93;
            break;
        case 127:
            control = Add(new IKnobMultiControl2(ed_, p.x, p.y - kSliderLift, 127, Strip(row.bmp),
                                                 IKnobControl::kVertical, row.gearing));
            text = L_.text127;
            ed_->mSlider127 = control;
            break;
        default:
            control = Add(new IKnobMultiControl(ed_, p.x, p.y - kSliderLift, row.param, Strip(row.bmp),
                                                IKnobControl::kVertical, row.gearing));
            break;
    }
    if (row.param == 45) ed_->mSlider45 = control;
    if (row.param == 138) ed_->mSlider138 = control;
    if (row.param == 142) ed_->mSlider142 = control;
    ITextControl* value = ValueText(row.param, text, valueStyle_);
    if (row.param == 186) {
        // The new filter's cutoff shares the vintage one's place; the view shows one.
        value->Hide(true);
        g_->HideControl(186, true);
    }
    return control;
}

IFileSelectorControl* PanelBuilder::FileSelector(const IRECT& r, int param, int action, const char* extensions) {
    return Add(new IFileSelectorControl(ed_, r, param, Strip(qd::kBmpFopen), action, "", extensions));
}

void PanelBuilder::Backgrounds(bool showFirst) {
    ed_->mBackground = Picture(0, 0, qd::kBmpBackground);
    if (!L_.lcd) {
        ed_->mBackground2 = Picture(0, 0, qd::kBmpBackground2);
        ed_->mBackground->Hide(true);
        ed_->mBackground2->Hide(true);
        (showFirst ? ed_->mBackground : ed_->mBackground2)->Hide(false);
    } else {
        ed_->mBackground->Hide(false);
    }
    ed_->mVcoSaveBg = Picture(0, 0, qd::kBmpVcoSaveBg);
    ed_->mFlexiSaveBg = Picture(0, 0, qd::kBmpFlexiSaveBg);
    ed_->mFlexiSaveBg->Hide(true);
}

void PanelBuilder::FlexiTexts() {
    // The sliders and buttons of the page, loaded in one block before any is used.
    const Bmp sliderStrips[] = {qd::kBmpCurves,        qd::kBmpVsliderFlexiRedSpare, qd::kBmpVsliderFlexiRed,
                            qd::kBmpVsliderFlexiBlue, qd::kBmpVsliderFlexiPurple, qd::kBmpVsliderFlexiGreen,
                            qd::kBmpVslider,       qd::kBmpVsliderFx,          qd::kBmpVslider2,
                            qd::kBmpVslider3,      qd::kBmpVslider4,           qd::kBmpVslider5,
                            qd::kBmpVslider6,      qd::kBmpVsliderShort4,      qd::kBmpBigButton};
    for (Bmp b : sliderStrips) Strip(b);
    if (L_.lcd) {
        Strip(qd::kBmpFxBgMod);
    } else {
        Strip(qd::kBmpSyncButton);
    }
    Strip(qd::kBmpLed);

    for (int n = 0; n < QDEditor::kFlexiSlots; ++n) {
        const int d = kFlexiStep * n;
        const IText plusStyle = Style(10, L_.learnColor, IText::kStyleBold, IText::kAlignNear);
        auto* plus = new ITextControl(ed_, IRECT(532 + d, 47, 552 + d, 59), &plusStyle);
        ed_->mFlexiPlus[n] = Add(plus);
        plus->SetTextFromPlug("(+)");
        const IText learnStyle = Style(10, L_.learnColor, IText::kStyleBold, IText::kAlignCenter);
        auto* learn = new ITextControl(ed_, IRECT(551 + d, 71, 611 + d, 83), &learnStyle);
        ed_->mFlexiLearn[n] = Add(learn);
        learn->SetTextFromPlug("LEARN");
    }
}

void PanelBuilder::EffectBackgrounds() {
    const Bmp backgrounds[] = {qd::kBmpFxBgMod, qd::kBmpFxBgDrive, qd::kBmpFxBgEq, qd::kBmpFxBgEq2};
    for (int i = 0; i < 4; ++i) ed_->mFxBackgrounds[i] = Picture(0, 0, backgrounds[i]);
    const int tabX[] = {523, 618, 713, 808};
    for (int i = 0; i < 4; ++i) {
        ed_->mFxTabHighlights[i] = Picture(tabX[i], L_.fxTabTop, qd::kBmpFxSwH);
        ed_->mFxTabHighlights[i]->Hide(true);
    }
    const IText nameStyle = Style(12, L_.programNameColor, IText::kStyleBold, IText::kAlignCenter);
    ed_->mProgramName = Add(new ITextControl(ed_, L_.programName, &nameStyle, "Last Used Program"));
    Switch(L_.switch173.x, L_.switch173.y, 173, L_.onOffSwitch);
    ValueText(173, IRECT(894, 445, 942, 461), valueStyle_);
}

void PanelBuilder::UnattachedValueTexts() {
    for (int p = 98; p <= 124; ++p) ValueText(p, RuleText(p), valueStyle_, false);
}

void PanelBuilder::SliderBlocks() {
    Picture(L_.sevenSeg.x, L_.sevenSeg.y, qd::kBmpSevenSeg, 211);
    for (int n = 0; n < kVcoCount; ++n) {
        for (int k = 0; k < kVcoColumns; ++k) {
            const int param = qd::kFirstProgramParam + kVcoColumns * n + k;
            Slider({param, Kind::kSlider, qd::kBmpVslider, 1.0});
        }
    }
    for (const SliderRow& row : kSoundSliders) {
        SliderRow r = row;
        if (r.kind == Kind::kSwitch) r.bmp = L_.onOffSwitch;
        Slider(r);
    }
    for (const SliderRow& row : kEffectSliders) Slider(row);
    Switch(906, L_.fxTabTop, 131, qd::kBmpFxOrderSw);
}

void PanelBuilder::FlexiRow() {
    const Bmp rangeStrips[] = {qd::kBmpVsliderFlexiRed, qd::kBmpVsliderFlexiBlue, qd::kBmpVsliderFlexiPurple,
                               qd::kBmpVsliderFlexiGreen};
    for (int i = 0; i < 8; ++i) {
        const int param = 231 + i;
        ed_->mFlexiRangeSliders[i] = Add(new IKnobMultiControl(ed_, kFlexiRangeSliderX, kFlexiRangeSliderY, param,
                                                               Strip(rangeStrips[i / 2]), IKnobControl::kVertical, 1.0));
        g_->HideControl(param, true);
    }
    ed_->mRangeSpacing = IBitmapControl::FrameWidth(Strip(qd::kBmpVsliderFlexiRed));

    Switch(L_.switch187.x, L_.switch187.y, 187, qd::kBmpSyncButton);
    Switch(408, 36, 188, L_.trackingSwitch);
    ValueText(188, L_.text188, L_.style188);

    for (int n = 0; n < QDEditor::kFlexiSlots; ++n) Contact(570 + kFlexiStep * n, 50, 239 + n, L_.flexiButton);
    for (int n = 0; n < QDEditor::kFlexiSlots; ++n)
        ed_->mFlexiLeds[n] = Contact(570 + kFlexiStep * n + L_.ledOffset.x, 50 + L_.ledOffset.y, 243 + n, qd::kBmpLed);

    // The curve sliders stand at their table points themselves.
    for (int param : {104, 111, 118, 125}) {
        const qd::PanelPoint& p = qd::kParamPositions[param - qd::kFirstProgramParam];
        Add(new IKnobMultiControl(ed_, p.x, p.y, param, Strip(qd::kBmpCurves), IKnobControl::kVertical, 3.0));
    }

    const IText spinnerStyle = Style(11, L_.flexiSpinnerColor, L_.flexiSpinnerStyle, IText::kAlignCenter, 2);
    for (int n = 0; n < QDEditor::kFlexiSlots; ++n) {
        const int d = kFlexiStep * n;
        Add(new ISpinnerControl(ed_, IRECT(478 + d, 11, 548 + d, 27), 247 + 2 * n, &spinnerStyle, nullptr, true, true,
                                ISpinnerControl::kVertical, 10.0));
        Add(new ISpinnerControl(ed_, IRECT(478 + d, 35, 548 + d, 51), 248 + 2 * n, &spinnerStyle, nullptr, true, true,
                                ISpinnerControl::kVertical, 10.0));
    }
    for (int n = 0; n < QDEditor::kFlexiSlots; ++n) Switch(478 + kFlexiStep * n, 56, 174 + 2 * n, qd::kBmpFlexiMode);

    if (!L_.lcd) {
        Add(new IRadioButtonsControl(ed_, IRECT(524, 565, 810, 581), 293, 3, Strip(qd::kBmpFxSw),
                                     IRadioButtonsControl::kRightToLeft, false));
        ed_->SetParameterFromGUI2(293, 0.0);
        g_->HideControl(293, true);
    }
}

void PanelBuilder::EffectTabs() {
    const int tabX[] = {523, 618, 713, 808};
    const Bmp tabs[] = {qd::kBmpOdSw, qd::kBmpEqSw, qd::kBmpChSw, qd::kBmpDlSw};
    const int tabParams[] = {267, 268, 269, 305};
    const int labelParams[] = {294, 295, 296, 306};
    for (int i = 0; i < 4; ++i) Switch(tabX[i], L_.fxTabTop, tabParams[i], tabs[i]);
    for (int i = 0; i < 4; ++i)
        InvisibleSwitch(IRECT(tabX[i], L_.fxTabTop, tabX[i] + 100, L_.fxTabBottom), labelParams[i]);

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
    std::snprintf(eq.freqLabels, sizeof eq.freqLabels, "%s", "25, 50, 100, 200, 300, 500, 1000, 2000, 3000, 5000, 7000, 10000");
    std::snprintf(eq.gainLabels, sizeof eq.gainLabels, "%s", "-18, -12, -6, 0, 6, 12, 18");
    ed_->mEqGraph = Add(new IParaGraphicEq(ed_, L_.eqGraph, 290, eq));

    const int openerParams[] = {255, 259, 256, 260, 257, 261, 258, 262};
    for (int i = 0; i < 8; ++i) {
        const int d = kFlexiStep * (i / 2), top = i % 2 ? 35 : 11;
        InvisibleSwitch(IRECT(478 + d, top, 548 + d, top + 16), openerParams[i]);
    }
}

void PanelBuilder::ListOverlays() {
    ed_->mSourceList = Picture(0, L_.listOverlayTop, qd::kBmpSourceList);
    ed_->mSourceList->Hide(true);
    ed_->mRangeList = Picture(0, L_.listOverlayTop, qd::kBmpRangeList);
    for (int i = 0; i < 4; ++i) Add(new IInvisibleSelectControl(ed_, IRECT(23 + 272 * i, 180, 295 + 272 * i, 680), 263 + i));
    InvisibleSwitch(IRECT(0, 0, 1140, 120), 300);
    g_->HideControl(300, true);
    for (int param : {175, 177, 179, 181}) Switch(575, 100, param, qd::kBmpPolarSw2);
    for (int param : {175, 177, 179, 181}) g_->HideControl(param, true);
    // The range list, not the source list: the source list is hidden already, and the
    // range list left visible would lie over the whole panel and take every click.
    ed_->SetRangeListHidden(true);
    for (int param : {300, 263, 264, 265, 266}) g_->HideControl(param, true);
}

void PanelBuilder::Buttons() {
    Contact(18, 730, 303, qd::kBmpVcoSaveSw);
    Contact(18, 760, 304, qd::kBmpFlexiSaveSw);
    Contact(L_.copy.x, L_.copy.y, 212, qd::kBmpCopy);
    Contact(L_.defaults.x, L_.defaults.y, 213, qd::kBmpDefault);
    Contact(822, 758, 214, qd::kBmpRandom);
    Contact(822, 730, 215, qd::kBmpReset);
    Contact(1066, 730, 216, qd::kBmpSelectAll);
    Contact(1066, 758, 217, qd::kBmpClearAll);
    const int columns[] = {66, 140, 874, 922, 1002};
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r) Switch(columns[c], 731 + 13 * r, 270 + 4 * c + r, qd::kBmpCheckbox);
    Contact(L_.prev.x, L_.prev.y, 209, qd::kBmpPrevBtn);
    Contact(L_.next.x, L_.next.y, 210, qd::kBmpNextBtn);
    InvisibleSwitch(IRECT(1010, 565, 1037, 584), 291);
    InvisibleSwitch(IRECT(1041, 565, 1068, 584), 292);
}

void PanelBuilder::FileControls() {
    auto& sel = ed_->mFileSelectors;
    sel[0] = FileSelector(IRECT(0, 0, 40, 16), 208, IFileSelectorControl::kFileOpen, "qd4");
    sel[0]->Hide(true);
    sel[1] = FileSelector(L_.fileLoad, 201, IFileSelectorControl::kFileOpen, "");
    sel[1]->Hide(true);
    sel[2] = FileSelector(L_.fileLoad, 201, IFileSelectorControl::kFileOpen, "pr4 pr3 prg");
    if (L_.filteredLoadHidden) sel[2]->Hide(true);
    sel[3] = FileSelector(L_.fileSave, 203, IFileSelectorControl::kFileSave, "pr4");
    sel[4] = FileSelector(L_.fileWrite, 205, IFileSelectorControl::kFileOpen, "pr4 pr3 prg");
    Contact(L_.fload.x, L_.fload.y, 202, qd::kBmpFload);
    Contact(L_.fsave.x, L_.fsave.y, 204, qd::kBmpFsave);
    Contact(L_.fwriteOne.x, L_.fwriteOne.y, 206, qd::kBmpFwriteOne);
    Contact(L_.fwriteAll.x, L_.fwriteAll.y, 207, qd::kBmpFwriteAll);
    ed_->mSaveFromQdBg = Picture(0, 0, qd::kBmpSaveFromQdBg);
}

void PanelBuilder::Spinners() {
    const IText slotStyle = Style(30, COLOR_BLACK, IText::kStyleNormal, IText::kAlignCenter);
    Add(new ISpinnerControl(ed_, IRECT(548, 348, 588, 388), 301, &slotStyle, nullptr, true, true,
                            ISpinnerControl::kVertical, 10.0));
    InvisibleSwitch(IRECT(524, 404, 600, 444), 302);
    const IText midiStyle = Style(L_.midiSpinnerSize, COLOR_BLACK, IText::kStyleBold, IText::kAlignCenter);
    Add(new ISpinnerControl(ed_, IRECT(262, 730, 292, 770), 341, &midiStyle, nullptr, true, true,
                            ISpinnerControl::kVertical, 10.0));
    ed_->mMidiCCSpinner = Add(new ISpinnerControl(ed_, IRECT(262, 775, 292, 815), 342, &midiStyle, nullptr, true, true,
                                                  ISpinnerControl::kVertical, 10.0));
    ed_->mModWheel = Add(new IKnobMultiControl3(ed_, 293, 730, 343, Strip(qd::kBmpModWheel), IKnobControl::kVertical, 1.0));
}

void PanelBuilder::Build(bool showFirstBackground) {
    Backgrounds(showFirstBackground);
    FlexiTexts();
    EffectBackgrounds();
    UnattachedValueTexts();
    SliderBlocks();
    FlexiRow();
    EffectTabs();
    ListOverlays();
    Buttons();
    FileControls();
    Spinners();
    ed_->mControlsMade = made_;
}

void QDEditor::BuildOrigSkinLayout(bool showFirstBackground) {
    PanelBuilder(this, qd::OrigLayout()).Build(showFirstBackground);
}

void QDEditor::BuildLcdSkinLayout() { PanelBuilder(this, qd::LcdLayout()).Build(true); }
