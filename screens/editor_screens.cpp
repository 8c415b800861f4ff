#include "screens/editor_screens.h"

#include "editor/data/param_table.h"
#include "editor/qd_editor.h"
#include "gui/bitmap_control.h"
#include "gui/controls/para_eq_graph.h"
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

EditorScreens::~EditorScreens() { mControls.DeleteUnattachedValueTexts(Graphics()); }

IGraphicsMac* EditorScreens::Graphics() const { return mEditor.Graphics(); }
IKeyboardControl* EditorScreens::Keyboard() const { return mControls.Get<IKeyboardControl>(Keep::kKeyboard); }
IBitmapOverlayControl* EditorScreens::AboutBox() const { return mControls.Get<IBitmapOverlayControl>(Keep::kAboutBox); }
IParaGraphicEq* EditorScreens::EqGraph() const { return mControls.Get<IParaGraphicEq>(Keep::kEqGraph); }

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
    // the buttons' texts; the pass above left the ones bound to the file parameters empty.
    const int files[][2] = {{2, param::kLoadProgram}, {3, param::kSaveProgram}, {4, param::kWriteProgram}};
    for (auto [selector, tooltip] : files)
        if (IControl* c = mControls.Get(Keep::kFileSelector, selector)) c->SetTooltip(TooltipText(tooltip));
    g->HandleMouseOver(true);
    g->EnableTooltips(true);
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

void EditorScreens::RedrawKeyboard() {
    if (IKeyboardControl* keyboard = Keyboard()) keyboard->SetDirty(false);
}

bool EditorScreens::KeyboardVelocity(double* velocity) const {
    IKeyboardControl* keyboard = Keyboard();
    if (!keyboard) return false;
    *velocity = keyboard->Velocity();
    return true;
}

void EditorScreens::ShowAboutBox() {
    IBitmapOverlayControl* about = AboutBox();
    if (!about) return;
    about->Hide(false);
    about->SetValueFromPlug(1.0);
}

}  // namespace qd
