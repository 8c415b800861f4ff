// The editor's panel: the synthesizer page of the chosen skin, the on-screen keyboard,
// the program manager page and the about box, their show/hide groups, the view layout
// and the EQ graph. The editor owns it (made by MakeEditorScreens) and calls it
// through EditorPanel; it reaches back through the editor's public operations.
#pragma once

#include <memory>

#include "editor/editor_panel.h"
#include "screens/panel_controls.h"

class IBitmapOverlayControl;
class IGraphicsMac;
class IKeyboardControl;
class IParaGraphicEq;

namespace qd {

struct EffectGroup;

class EditorScreens : public EditorPanel {
public:
    explicit EditorScreens(QDEditor& editor);
    ~EditorScreens() override;

    void Build(PanelPart part, Skin skin) override;
    void SetTooltips() override;
    void SetHidden(PanelGroup group, bool hide) override;
    bool RefreshFlexiTargets(int programIndex, bool hide) override;
    void UpdateLfoSyncRanges(int mode) override;
    void UpdateDelaySyncRanges(int mode) override;
    void ApplyViewLayout() override;
    void UpdateEqGraph(bool fromParams) override;
    void RefreshValueTexts() override;
    void OnParamChange(int paramIdx) override;
    void RedrawKeyboard() override;
    bool KeyboardVelocity(double* velocity) const override;
    void ShowAboutBox() override;

    // The controls it keeps, for its own steps and for the tests.
    const PanelControls& Controls() const { return mControls; }
    IKeyboardControl* Keyboard() const;
    IBitmapOverlayControl* AboutBox() const;
    IParaGraphicEq* EqGraph() const;
    IControl* FxTabHighlight(int i) const { return mControls.Get(Keep::kFxTabHighlight, i); }
    // The value text of parameter `paramIdx` (3 to 188), or null.
    ITextControl* ValueText(int paramIdx) const { return mControls.ValueText(paramIdx); }
    // The number of controls the synthesizer page's builder made, attached or not.
    int ControlsMade() const { return mControlsMade; }
    bool EqParametricView() const { return mEqParametricView; }
    // 0 to 3 while the source list of Flexi slot 1 to 4 is open (or was the last open),
    // 4 to 7 for its range list.
    int ListMode() const { return mListMode; }

private:
    IGraphicsMac* Graphics() const;
    void RefreshValueText(int paramIdx);

    // Show/hide groups (show_hide_groups.cpp).
    void HideKept(Keep keep, bool hide, int index = 0);
    void SetEffectGroupHidden(const EffectGroup& group, bool hide);
    void SetRangeListHidden(bool hide);
    void SetSourceListHidden(bool hide);
    void SetFlexiRangeControlsHidden(int slot, bool hide);
    void SetCaptionGroupHidden(bool hide);
    void SetManagerPanelHidden(bool hide);
    void SetManagerLoginHidden(bool hide);
    void SetManagerDbModeHidden(bool hide);

    // The view layout's steps (view_layout.cpp).
    // The slot's destination when it is a program entry, else -1.
    int FlexiTarget(int slot) const;
    double CurrentScale() const;
    int TruncParam(int paramIdx) const;
    void ShowCutoffKnob();
    void PlaceFlexiRangeTexts(int slot, double scale);
    void ShowSelectedEffect();
    void ShowModulationIndicators();
    void ShowEffectOnIndicators();
    void PlaceEffectTabs(double scale);

    // The ranges that follow MIDI sync (sync_ranges.cpp).
    void ApplySyncRanges();
    void ApplyFlexiSyncedRange(int slot);
    // The synced or declared range of `paramIdx`, and of the Flexi ranges that modulate it.
    void SetSyncedRange(int paramIdx, bool synced);

    // What follows a parameter change (param_reactions.cpp).
    void ReactOnScreen(int paramIdx);
    void SelectEffectTab(int tabParam);
    // Sets the parameter through the hook unless it holds the value; true when it did.
    bool ChangeParam(int paramIdx, int value);
    void OpenFlexiList(int mode);
    void CloseListView();

    // The EQ graph (eq_graph_update.cpp).
    void ChooseEqView(bool parametric);
    void SetEqBands(const int* values);
    void ApplyGraphBandToKnobs();

    QDEditor& mEditor;
    PanelControls mControls;
    int mControlsMade = 0;
    int mRangeSpacing = 0;  // from Range A to Range B of a Flexi slot's range texts
    int mListMode = 0;
    bool mEqParametricView = false;
    bool mEqGraphView = true;
    // Set while the three knobs take a dragged band's values one by one, so the graph
    // takes the band once, from all three.
    bool mKnobsFollowGraph = false;
};

std::unique_ptr<EditorPanel> MakeEditorScreens(QDEditor& editor);

}  // namespace qd
