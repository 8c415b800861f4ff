#include "gui/live_edit_views.h"

#include <cstdlib>
#include <cstring>

#include "gui/gui_resize.h"
#include "plug/module_base.h"

namespace {

LiveEditViewsResolver gResolver = nullptr;

// The view modes of the plug-in's GUI-resize control.
class GUIResizeViews : public LiveEditViews {
public:
    IModuleGUIResize* resize = nullptr;
    int ViewModeIndex() override { return resize->GetViewModeIndex(); }
    int ViewModeCount() override { return resize->GetViewModeCount(); }
    double GUIScaleRatio() override { return resize->GetGUIScaleRatio(); }
    void ShowViewMode(int index) override {
        // Views are selected by id; the editor registers its views with their indices as ids.
        resize->SelectViewMode(index);
        resize->RestoreControlPointers();
        resize->RescaleControls();
    }
    void SetLayout(int viewMode, int controlIdx, int, const IRECT& draw, const IRECT& target, bool hidden) override {
        resize->LiveEditSetLayout(viewMode, controlIdx, hidden, IModuleGUIResize::ToDRECT(draw),
                                  IModuleGUIResize::ToDRECT(target));
    }
};

}  // namespace

void SetLiveEditViewsResolver(LiveEditViewsResolver resolver) { gResolver = resolver; }

LiveEditViews* LiveEditViewsOf(const IModuleBase* plug) {
    IModuleGUIResize* resize = plug ? plug->GetGUIResize() : nullptr;
    if (!resize) return nullptr;
    if (gResolver) return gResolver(resize);
    static GUIResizeViews views;
    views.resize = resize;
    return &views;
}

bool LiveEditSwitchOn() {
#ifdef QD_LIVE_EDIT
    return true;
#else
    const char* env = std::getenv("QD_LIVE_EDIT");
    return env && std::strcmp(env, "1") == 0;
#endif
}
