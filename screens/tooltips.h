// The panel's tooltips: a parameter's name for the sound's knobs and switches, a fixed
// text for the program file buttons, none for the rest.
#pragma once

namespace qd {

bool TooltipIsParamName(int param);
// The fixed text for `param`, or null.
const char* TooltipText(int param);

}  // namespace qd
