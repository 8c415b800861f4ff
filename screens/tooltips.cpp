#include "screens/tooltips.h"

namespace qd {

namespace {

struct Range {
    int first, last;
};

constexpr Range kNamed[] = {{3, 124}, {126, 149}, {160, 173}, {182, 186}, {291, 292}};

struct Fixed {
    int param;
    const char* text;
};

constexpr Fixed kTexts[] = {
    {202, "Load program from file"},
    {204, "Save program to file"},
    {206, "Select and write program from file to QD"},
    {207, "Write all programs from files to QD. You have to connect two midicables!"},
};

}  // namespace

bool TooltipIsParamName(int param) {
    for (const Range& r : kNamed)
        if (param >= r.first && param <= r.last) return true;
    return false;
}

const char* TooltipText(int param) {
    for (const Fixed& f : kTexts)
        if (f.param == param) return f.text;
    return nullptr;
}

}  // namespace qd
