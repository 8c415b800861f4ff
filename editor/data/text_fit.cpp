#include "editor/data/text_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "editor/data/param_table.h"

namespace qd {

namespace {

// Unscaled pixels a character of the value face takes: its fixed pitch rounds to 5 px at
// 100 %, 8 at 140 % (5.7 unscaled), 8 at 147 % (5.4) and 11 at 200 % (5.5). Boxes are made
// for 5.5, so that only the 140 % scale draws the widest texts a size smaller.
constexpr double kValueCharWidth = 5.5;

int ValueWidth(int param) { return int(std::ceil(WidestValueText(param) * kValueCharWidth)) + 1; }

// The crowded corner of the PLAY section, in both panels: the portamento's slope and mode
// texts stand side by side over their switches, the MIDI sync's text over the mode's and
// beside the bend's, the sync's slider with its scale (from x = 937) right of the mode's.
// Their rectangles overlap; each text takes a part of its own clear of the others.
struct CornerPart {
    int param, left, right;
};
constexpr CornerPart kPlayCorner[] = {
    {param::kPortamentoSlope, 858, 902},  // "exponential" at 8 px
    {param::kPortamentoMode, 905, 935},   // "always" and "legato" at 100 %
    {param::kMidiSync, 937, 974},         // "Delay 2" at 100 %
};

}  // namespace

int WidestValueText(int param) {
    const ParamSpec& spec = kParamTable[param];
    char text[64];
    int chars = std::max(std::snprintf(text, sizeof text, "%d", spec.min),
                         std::snprintf(text, sizeof text, "%d", spec.max));
    for (int n = 0; ParamDisplayText(spec, n, text, int(sizeof text)); ++n) chars = std::max(chars, int(std::strlen(text)));
    return chars;
}

IRECT TextBoxOf(const PlanItem& item, Skin skin) {
    const IRECT& r = item.rect;
    if (item.kind != ControlKind::kValueText || item.style != TextRole::kValue) return r;
    const int line = TextStyleOf(item.style, skin).size;
    const int w = std::min(r.W(), ValueWidth(item.param));
    IRECT box(r.L + (r.W() - w) / 2, r.T, r.L + (r.W() - w) / 2 + w, r.T + line);
    for (const CornerPart& part : kPlayCorner)
        if (part.param == item.param) box.L = part.left, box.R = part.right;
    return box;
}

}  // namespace qd
