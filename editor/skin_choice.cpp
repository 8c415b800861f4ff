#include "editor/skin_choice.h"

namespace qd {

namespace {

struct SkinRow {
    const char* name;
    SkinChoice choice;
};

constexpr SkinRow kSkins[] = {
    {"space", {kSkinSpace, false, true, false}},
    {"solid", {kSkinSolid, false, false, false}},
    {"lcd", {kSkinLcd, true, false, false}},
};

}  // namespace

SkinChoice ChooseSkin(std::string_view value) {
    if (value.empty()) return {kSkinSpace, false, true, true};
    for (const SkinRow& row : kSkins)
        if (value == row.name) return row.choice;
    // Anything else gives the first skin and is left in the file as the user wrote it.
    return kSkins[0].choice;
}

const char* SkinSettingName(Skin skin) {
    for (const SkinRow& row : kSkins)
        if (row.choice.skin == skin) return row.name;
    return kSkins[0].name;
}

}  // namespace qd
