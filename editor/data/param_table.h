// The editor's constant tables: its 344 parameters, where the panel puts the
// controls of the program's parameters, and the program's value limits.
//
// How to read them:
// - kParamTable[i] is parameter i: the name the panel and the tooltips show, its
//   kind, its range (minimum to maximum, in the parameter's own units), its default,
//   and its display texts, one per value from the minimum up, separated by '|'
//   (null when the value is shown as a number).
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

namespace qd {

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

inline constexpr int kParamCount = 344;
inline constexpr int kFirstProgramParam = 3;
inline constexpr int kProgramEntryCount = 184;

extern const ParamSpec kParamTable[kParamCount];
extern const PanelPoint kParamPositions[kProgramEntryCount];

// Minimum and maximum of program entry `entry` (0 to 183); {0, 0} outside.
ValueLimits ProgramValueLimits(int entry);

// Display text number `n` (counted from the minimum) of `spec`, copied into `out`
// (at most `size` bytes, NUL included); false when there is no such text.
bool ParamDisplayText(const ParamSpec& spec, int n, char* out, int size);

}  // namespace qd
