// The controls the panel keeps to show, hide, move and fill later (borrowed: IGraphics
// owns them once attached), filed by what their plan item keeps them for.
#pragma once

#include <vector>

#include "editor/data/panel_plan.h"
#include "editor/data/param_table.h"

class IControl;
class IGraphics;
class ITextControl;

namespace qd {

class PanelControls {
public:
    // The value texts' slots: one per program parameter and the tracking priority
    // after them.
    static constexpr int kValueTextCount = param::kTrackingPriority - kFirstProgramParam + 1;

    void File(const PlanItem& item, IControl* control);
    // The control kept as `keep` number `index`, or null.
    template <class T = IControl>
    T* Get(Keep keep, int index = 0) const {
        const std::vector<IControl*>& all = mKept[size_t(keep)];
        return index >= 0 && size_t(index) < all.size() ? static_cast<T*>(all[size_t(index)]) : nullptr;
    }
    int Count(Keep keep) const { return int(mKept[size_t(keep)].size()); }
    // The value text of parameter `param` (3 to 188), or null.
    ITextControl* ValueText(int param) const;
    // Frees the value texts that were made but never attached to `graphics`, which
    // no one else would ever delete.
    void DeleteUnattachedValueTexts(const IGraphics* graphics);

private:
    std::vector<IControl*> mKept[size_t(Keep::kCount)];
    ITextControl* mValueTexts[kValueTextCount] = {};
};

}  // namespace qd
