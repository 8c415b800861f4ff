// The panel's tooltips: a parameter's name for the sound's knobs and switches, a fixed
// text for the program file buttons, none for the rest.
#pragma once

namespace qd {

// The file buttons' parameters; their texts also go to the file selectors beside them.
inline constexpr int kTooltipLoadParam = 202;
inline constexpr int kTooltipSaveParam = 204;
inline constexpr int kTooltipWriteParam = 206;

bool TooltipIsParamName(int param);
// The fixed text for `param`, or null.
const char* TooltipText(int param);

}  // namespace qd
