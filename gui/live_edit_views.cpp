#include "gui/live_edit_views.h"

#include <cstdlib>
#include <cstring>

#include "plug/module_base.h"

namespace {

LiveEditViewsResolver gResolver = nullptr;

class SingleView : public LiveEditViews {
public:
    double mScale = 1.0;
    int ViewModeIndex() override { return 0; }
    int ViewModeCount() override { return 1; }
    double GUIScaleRatio() override { return mScale; }
    void ShowViewMode(int) override {}
    void SetLayout(int, int, int, const IRECT&, const IRECT&, bool) override {}
};

}  // namespace

void SetLiveEditViewsResolver(LiveEditViewsResolver resolver) { gResolver = resolver; }

LiveEditViews* LiveEditViewsOf(const IModuleBase* plug, double guiScale) {
    IModuleGUIResize* resize = plug ? plug->GetGUIResize() : nullptr;
    if (!resize) return nullptr;
    if (gResolver)
        if (LiveEditViews* views = gResolver(resize)) return views;
    static SingleView single;
    single.mScale = guiScale;
    return &single;
}

bool LiveEditSwitchOn() {
#ifdef QD_LIVE_EDIT
    return true;
#else
    const char* env = std::getenv("QD_LIVE_EDIT");
    return env && std::strcmp(env, "1") == 0;
#endif
}
