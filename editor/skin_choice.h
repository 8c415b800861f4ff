// Which panel the "[gui] background" setting builds. The value is compared exactly,
// letter case included, and only its first 15 characters are read.
#pragma once

#include <string_view>

#include "editor/data/skin.h"

namespace qd {

inline constexpr int kSkinSettingSize = 16;  // the setting is read into this many bytes

struct SkinChoice {
    Skin skin;
    bool lcdBuilder;       // the "lcd" panel rather than the "orig" one
    bool firstBackground;  // the "orig" panel's "background" picture rather than "background2"
    bool writeBack;        // store "space" as the setting (it was missing or empty)
};

// `value` is the setting as read, already cut to 15 characters.
SkinChoice ChooseSkin(std::string_view value);

// The setting's value for a skin: "space", "solid" or "lcd".
const char* SkinSettingName(Skin skin);

}  // namespace qd
