// The editor's constant tables: its 344 parameters, where the panel puts the
// controls of the program's parameters, and the program's value limits.
//
// How to read them:
// - kParamTable[i] is parameter i as the list in param_list.h gives it; param::kName
//   is its number, by the name the list gives it.
// - Parameters 3 to 186 are the sound program: parameter p is program entry p - 3.
//   kParamPositions[p - 3] is the unscaled panel point (x, y) of p's slider: the
//   slider's top-left corner is (x, y - 12) and its value text spans
//   (x - 8, y + 33) to (x + 40, y + 49) in the "space"/"solid" skins and
//   (x - 8, y + 27) to (x + 40, y + 43) in the "lcd" skin. Entries of (0, 0) have no
//   slider; switches whose place the panel gives elsewhere carry the point where a
//   Flexi slot's range texts stand when the slot modulates them.
// - ProgramValueLimits(entry) is the program entry's minimum and maximum, taken from
//   the parameter table so the two cannot disagree.
// - Slider ranges follow the bitmap strips: a strip of N frames gives 0 to N - 1.
#pragma once

#include <cstdint>
#include <span>

#include "editor/data/param_list.h"

namespace qd {

namespace param {

enum Id : int {
#define QD_PARAM_ID(number, id, name, kind, min, max, defaultValue, texts) id = number,
    QD_PARAMS(QD_PARAM_ID)
#undef QD_PARAM_ID
};

}  // namespace param

enum class ParamKind : uint8_t { kBool, kInt, kEnum, kDouble };

struct ParamSpec {
    int index;
    const char* name;
    ParamKind kind;
    int min;
    int max;
    int defaultValue;
    const char* texts;
};

struct PanelPoint {
    int param;  // 3 to 186; the entry is param - 3
    int x;
    int y;
};

struct ValueLimits {
    int min;
    int max;
};

inline constexpr int kParamCount = 0
#define QD_PARAM_ONE(...) +1
    QD_PARAMS(QD_PARAM_ONE)
#undef QD_PARAM_ONE
    ;
inline constexpr int kFirstProgramParam = param::kVco1Coarse;
inline constexpr int kProgramEntryCount = param::kNewCutoff - kFirstProgramParam + 1;

// The program entry of program parameter `paramIdx`.
constexpr int EntryOf(int paramIdx) { return paramIdx - kFirstProgramParam; }

extern const ParamSpec kParamTable[kParamCount];
extern const PanelPoint kParamPositions[kProgramEntryCount];

// A text for one parameter, in the tables of such texts (tooltips, short labels).
struct ParamText {
    int param;
    const char* text;
};

// The text `table` gives `paramIdx`, or null.
const char* TextOf(std::span<const ParamText> table, int paramIdx);

// Minimum and maximum of program entry `entry` (0 to 183); {0, 0} outside.
ValueLimits ProgramValueLimits(int entry);

// Display text number `n` (counted from the minimum) of `spec`, copied into `out`
// (at most `size` bytes, NUL included); false when there is no such text.
bool ParamDisplayText(const ParamSpec& spec, int n, char* out, int size);

}  // namespace qd
