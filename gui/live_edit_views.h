// What the layout editor needs of the GUI-resize control, and the switch that lets
// the layout editor run at all.
#pragma once

#include "gui/types.h"

class IModuleBase;
class IModuleGUIResize;

// The view modes of a plug-in with a GUI-resize control, as the layout editor sees
// them. Indices are view-mode indices, not view ids.
class LiveEditViews {
public:
    virtual ~LiveEditViews() = default;
    virtual int ViewModeIndex() = 0;
    virtual int ViewModeCount() = 0;
    virtual double GUIScaleRatio() = 0;
    // Makes view mode `index` current and applies its stored layout to the controls.
    virtual void ShowViewMode(int index) = 0;
    // Stores one control's unscaled layout in view mode `viewMode`.
    virtual void SetLayout(int viewMode, int controlIdx, int currentIdx, const IRECT& draw, const IRECT& target,
                           bool hidden) = 0;
};

// Replaces how the GUI-resize control's view modes are reached (tests install fakes);
// null goes back to the control itself.
using LiveEditViewsResolver = LiveEditViews* (*)(IModuleGUIResize*);
void SetLiveEditViewsResolver(LiveEditViewsResolver resolver);

// The view modes of the plug-in's GUI-resize control; null when it has none.
LiveEditViews* LiveEditViewsOf(const IModuleBase* plug);

// True when the layout editor may run: built with QD_LIVE_EDIT=ON, or started with the
// environment variable QD_LIVE_EDIT=1. Nothing else switches it on.
bool LiveEditSwitchOn();
