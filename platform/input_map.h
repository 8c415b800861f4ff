// What the desktop back end receives from X11 (modifier state bits, keysyms, button
// presses with their times) turned into the view's events. Kept out of the back end
// so that the mapping runs and is tested without a display.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace platform {

// The X11 modifier state bits, as GDK hands them on. X11 reports the Super key as
// Mod4; the toolkit's own Super and Meta bits appear only when it maps them itself.
namespace x11 {
inline constexpr unsigned kShiftMask = 1u << 0;
inline constexpr unsigned kControlMask = 1u << 2;
inline constexpr unsigned kMod1Mask = 1u << 3;  // Alt
inline constexpr unsigned kMod4Mask = 1u << 6;  // Super
inline constexpr unsigned kSuperMask = 1u << 26;
inline constexpr unsigned kMetaMask = 1u << 28;

// The keysyms told apart by position.
inline constexpr unsigned kKeySpace = 0x0020;
inline constexpr unsigned kKeyLeft = 0xff51;
inline constexpr unsigned kKeyUp = 0xff52;
inline constexpr unsigned kKeyRight = 0xff53;
inline constexpr unsigned kKeyDown = 0xff54;
inline constexpr unsigned kKeyKpSpace = 0xff80;
inline constexpr unsigned kKeyKpLeft = 0xff96;
inline constexpr unsigned kKeyKpUp = 0xff97;
inline constexpr unsigned kKeyKpRight = 0xff98;
inline constexpr unsigned kKeyKpDown = 0xff99;
}  // namespace x11

unsigned ModifierFlagsFromX11(unsigned state);
// The other way, for the key equivalents of menu items; Command is Super.
unsigned X11StateFromModifierFlags(unsigned flags);

// A key press from its keysym and the character the toolkit gives for it (0 for none).
KeyEvent KeyEventFromX11(unsigned keysym, char32_t character, unsigned state);

// Counts the presses of a double or triple click: a press of the same button within
// the interval and distance of the one before counts one more, any other starts at 1.
class ClickCounter {
public:
    int Press(unsigned button, uint32_t timeMs, double x, double y, uint32_t maxIntervalMs, double maxDistance);

private:
    uint32_t mLastTime = 0;
    unsigned mLastButton = 0;
    double mLastX = 0, mLastY = 0;
    int mCount = 0;
};

}  // namespace platform
