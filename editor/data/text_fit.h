// How each text the program draws is fitted into its control's rectangle: the part of the
// rectangle it may take, its box. Decided here once, for the panel, which draws every
// text inside its box (smaller when the text is wider), and for the skin artwork, which
// draws the lcd's windows round the boxes.
#pragma once

#include "common/gui_types.h"
#include "editor/data/panel_plan.h"
#include "editor/data/skin.h"

namespace qd {

// How far the artwork's window under a value text reaches beside its box.
inline constexpr int kWindowMargin = 2;

// The most characters a value text of the parameter shows: its number at either end of
// its range, or its longest display text.
int WidestValueText(int param);

// The box of a text item, unscaled. A value text's is as wide as the widest of its texts
// in the value face, centred in the rectangle, and as high as its line; texts whose
// rectangles overlap get boxes clear of each other. Any other text's box is its whole
// rectangle.
IRECT TextBoxOf(const PlanItem& item, Skin skin);

}  // namespace qd
