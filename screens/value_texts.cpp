// The value texts beside the knobs and the about box, which the editor core reaches
// through the screens' controls.
#include "editor/qd_editor.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/value_text_controls.h"
#include "gui/igraphics_mac.h"

void QDEditor::RefreshValueText(int paramIdx) {
    ITextControl* text = ValueText(paramIdx);
    IParam* param = GetParam(paramIdx);
    if (!text || !param) return;
    CMN_String display;
    ParamValueText(param, false, &display);
    text->SetTextFromPlug(display.Get());
}

void QDEditor::DeleteUnattachedValueTexts() {
    // The texts of parameters 98 to 124 are made but never attached, so no one else
    // would ever delete them.
    for (ITextControl*& text : mValueTexts) {
        if (!text || (mGraphicsMac && mGraphicsMac->GetControlIdx(text) >= 0)) continue;
        delete text;
        text = nullptr;
    }
}

void QDEditor::ShowAboutBox() {
    if (!mAboutBox) return;
    mAboutBox->Hide(false);
    mAboutBox->SetValueFromPlug(1.0);
}
