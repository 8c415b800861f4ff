#include "screens/editor_screens.h"

#include "editor/data/param_table.h"
#include "editor/qd_editor.h"
#include "gui/bitmap_control.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/value_text_controls.h"
#include "gui/igraphics_mac.h"
#include "screens/keyboard_control.h"
#include "screens/panel_builder.h"
#include "screens/tooltips.h"

namespace qd {

std::unique_ptr<EditorPanel> MakeEditorScreens(QDEditor& editor) { return std::make_unique<EditorScreens>(editor); }

EditorScreens::EditorScreens(QDEditor& editor) : mEditor(editor) {}

EditorScreens::~EditorScreens() { DeleteUnattachedValueTexts(); }

IGraphicsMac* EditorScreens::Graphics() const { return mEditor.Graphics(); }

void EditorScreens::Build(PanelPart part, Skin skin) {
    PanelBuilder builder(mEditor, mControls);
    const int made = builder.Build(PanelPlan(part, skin), skin);
    if (part != PanelPart::kSynthPage) return;
    mControlsMade = made;
    mRangeSpacing = IBitmapControl::FrameWidth(builder.Strip(kBmpVsliderFlexiRed));
}

void EditorScreens::SetTooltips() {
    IGraphicsMac* g = Graphics();
    for (int i = 0; i < g->NControls(); ++i) {
        IControl* control = g->GetControl(i);
        const int param = control->ParamIdx();
        if (TooltipIsParamName(param)) {
            if (IParam* p = mEditor.GetParam(param)) control->SetTooltip(p->GetNameForHost());
        } else if (const char* text = TooltipText(param)) {
            control->SetTooltip(text);
        }
    }
    // The selectors lie over the file buttons and take their mouse-overs, so they carry
    // the buttons' texts; the pass above left the ones bound to 201, 203 and 205 empty.
    IFileSelectorControl* const* selectors = mControls.fileSelectors;
    if (selectors[2]) selectors[2]->SetTooltip(TooltipText(kTooltipLoadParam));
    if (selectors[3]) selectors[3]->SetTooltip(TooltipText(kTooltipSaveParam));
    if (selectors[4]) selectors[4]->SetTooltip(TooltipText(kTooltipWriteParam));
    g->HandleMouseOver(true);
    g->EnableTooltips(true);
}

ITextControl* EditorScreens::ValueText(int paramIdx) const {
    const int slot = paramIdx - kFirstProgramParam;
    return slot >= 0 && slot < PanelControls::kValueTextCount ? mControls.valueTexts[slot] : nullptr;
}

void EditorScreens::RefreshValueText(int paramIdx) {
    ITextControl* text = ValueText(paramIdx);
    IParam* param = mEditor.GetParam(paramIdx);
    if (!text || !param) return;
    CMN_String display;
    ParamValueText(param, false, &display);
    text->SetTextFromPlug(display.Get());
}

void EditorScreens::RefreshValueTexts() {
    for (int p = kFirstProgramParam; p < kFirstProgramParam + PanelControls::kValueTextCount; ++p) RefreshValueText(p);
}

void EditorScreens::OnParamChange(int paramIdx) {
    RefreshValueText(paramIdx);
    ReactOnScreen(paramIdx);
}

void EditorScreens::DeleteUnattachedValueTexts() {
    // The texts of parameters 98 to 124 are made but never attached, so no one else
    // would ever delete them.
    IGraphicsMac* g = Graphics();
    for (ITextControl*& text : mControls.valueTexts) {
        if (!text || (g && g->GetControlIdx(text) >= 0)) continue;
        delete text;
        text = nullptr;
    }
}

void EditorScreens::RedrawKeyboard() {
    if (mControls.keyboard) mControls.keyboard->SetDirty(false);
}

bool EditorScreens::KeyboardVelocity(double* velocity) const {
    if (!mControls.keyboard) return false;
    *velocity = mControls.keyboard->Velocity();
    return true;
}

void EditorScreens::ShowAboutBox() {
    if (!mControls.aboutBox) return;
    mControls.aboutBox->Hide(false);
    mControls.aboutBox->SetValueFromPlug(1.0);
}

}  // namespace qd
