// What the editor core asks of its panel. screens/ implements it and the editor owns
// it: the editor's panel operations (CreateGUI, the show/hide groups, the Flexi targets
// and the MIDI-sync ranges, the view layout, the EQ graph updates) hand on to it, and
// the panel reaches back through the editor's public operations. What the panel shows
// and every decision about it (the list mode, the equalizer views, which ranges follow
// MIDI sync and which Flexi sliders stand in for a knob) are the panel's.
#pragma once

#include <memory>

#include "editor/data/panel_groups.h"
#include "editor/data/panel_plan.h"

class QDEditor;

namespace qd {

class EditorPanel {
public:
    virtual ~EditorPanel() = default;

    // Makes the controls of one part of the GUI and attaches them; `skin` picks the
    // synthesizer page's family and background.
    virtual void Build(PanelPart part, Skin skin) = 0;
    // Once the graphics are attached: every control's tooltip.
    virtual void SetTooltips() = 0;
    virtual void SetHidden(PanelGroup group, bool hide) = 0;
    // The range sliders of every Flexi slot that modulates program entry `programIndex`
    // hidden or shown; true when a slot does.
    virtual bool RefreshFlexiTargets(int programIndex, bool hide) = 0;
    // The range of the LFO rate (of the two delay times) as MIDI sync says: synced for
    // a mode other than 0; the Flexi ranges that modulate it follow.
    virtual void UpdateLfoSyncRanges(int mode) = 0;
    virtual void UpdateDelaySyncRanges(int mode) = 0;
    // The whole arrangement rebuilt from the parameters and the program buffer.
    virtual void ApplyViewLayout() = 0;
    // The EQ graph's bands from the parameters (choosing the graph view) or from the
    // program buffer.
    virtual void UpdateEqGraph(bool fromParams) = 0;
    // Every value text from its parameter.
    virtual void RefreshValueTexts() = 0;
    // The value text and whatever group, list, tab or graph follows the parameter.
    virtual void OnParamChange(int paramIdx) = 0;
    // The hardware keyboard's notes changed: draw the keyboard again.
    virtual void RedrawKeyboard() = 0;
    // The velocity (0 to 1) of the last key struck on the on-screen keyboard; false
    // when there is no keyboard.
    virtual bool KeyboardVelocity(double* velocity) const = 0;
    virtual void ShowAboutBox() = 0;
};

using PanelFactory = std::unique_ptr<EditorPanel> (*)(QDEditor& editor);

}  // namespace qd
