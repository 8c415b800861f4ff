#include "screens/panel_controls.h"

#include "editor/data/param_table.h"
#include "gui/controls/text_controls.h"
#include "gui/igraphics.h"

namespace qd {

void PanelControls::File(const PlanItem& item, IControl* control) {
    if (item.kind == ControlKind::kValueText)
        mValueTexts[item.param - kFirstProgramParam] = static_cast<ITextControl*>(control);
    if (item.keep == Keep::kNone) return;
    std::vector<IControl*>& all = mKept[size_t(item.keep)];
    if (all.size() <= size_t(item.index)) all.resize(size_t(item.index) + 1);
    all[size_t(item.index)] = control;
}

ITextControl* PanelControls::ValueText(int param) const {
    const int slot = param - kFirstProgramParam;
    return slot >= 0 && slot < kValueTextCount ? mValueTexts[slot] : nullptr;
}

void PanelControls::DeleteUnattachedValueTexts(const IGraphics* graphics) {
    for (ITextControl*& text : mValueTexts) {
        if (!text || (graphics && graphics->GetControlIdx(text) >= 0)) continue;
        delete text;
        text = nullptr;
    }
}

}  // namespace qd
