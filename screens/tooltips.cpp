#include "screens/tooltips.h"

#include "editor/data/param_table.h"

namespace qd {

namespace {

using namespace param;

struct Range {
    int first, last;
};

// Every sound parameter but the fourth Flexi curve, the reserved effect numbers and
// the Flexi slots' modes and range control polarities; and the equalizer's view buttons.
constexpr Range kNamed[] = {{kVco1Coarse, kFlexi4Offset},
                            {kDelayMode, kOverdriveLevel},
                            {kEqualizerOn, kPortamentoMode},
                            {kOdBlendInstrument, kNewCutoff},
                            {kParametricButton, kGraphButton}};

constexpr ParamText kTexts[] = {
    {kLoadProgram, "Load program from file"},
    {kSaveProgram, "Save program to file"},
    {kWriteProgram, "Select and write program from file to QD"},
    {kWriteAllPrograms, "Write all programs from files to QD. You have to connect two midicables!"},
};

}  // namespace

bool TooltipIsParamName(int param) {
    for (const Range& r : kNamed)
        if (param >= r.first && param <= r.last) return true;
    return false;
}

const char* TooltipText(int param) { return TextOf(kTexts, param); }

}  // namespace qd
