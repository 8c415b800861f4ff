// Makes the controls of a panel plan (editor/data/panel_plan.h) in its order, attaches
// them and files the ones the panel keeps.
#pragma once

#include <vector>

#include "editor/data/panel_plan.h"
#include "screens/panel_controls.h"

struct IBitmapStrip;
class IControl;
class IGraphicsMac;
class QDEditor;

namespace qd {

class PanelBuilder {
public:
    PanelBuilder(QDEditor& editor, PanelControls& controls) : mEditor(editor), mControls(controls) {}

    // Makes every item of `plan`; the answer is the number of controls made, attached
    // or not.
    int Build(const std::vector<PlanItem>& plan, Skin skin);
    // The image, loaded on first use.
    IBitmapStrip* Strip(Bmp bmp);

private:
    IControl* Make(const PlanItem& item);

    QDEditor& mEditor;
    PanelControls& mControls;
    Skin mSkin = kSkinSpace;
    IBitmapStrip* mStrips[kBmpCount] = {};
};

}  // namespace qd
