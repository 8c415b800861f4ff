// The editor's three skins. "space" and "solid" are the "orig" panel family (they
// differ only in their background picture), "lcd" the other family.
#pragma once

namespace qd {

enum Skin { kSkinSpace = 0, kSkinSolid = 1, kSkinLcd = 2 };

inline constexpr bool IsLcd(Skin skin) { return skin == kSkinLcd; }

}  // namespace qd
