#include "platform/input_map.h"

#include <cmath>

namespace platform {

namespace {

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xF0 | ((c >> 18) & 0x07));
        s += char(0x80 | ((c >> 12) & 0x3F));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}

// Keys without a character still send one, from a private-use block, so that
// function keys are passed on like ordinary unhandled keys.
constexpr char32_t kNoCharacterBase = 0xF700;

}  // namespace

unsigned ModifierFlagsFromX11(unsigned state) {
    unsigned m = 0;
    if (state & x11::kShiftMask) m |= kShiftKeyMask;
    if (state & x11::kControlMask) m |= kControlKeyMask;
    if (state & x11::kMod1Mask) m |= kAlternateKeyMask;
    if (state & (x11::kMod4Mask | x11::kSuperMask | x11::kMetaMask)) m |= kCommandKeyMask;
    return m;
}

unsigned X11StateFromModifierFlags(unsigned flags) {
    unsigned state = 0;
    if (flags & kShiftKeyMask) state |= x11::kShiftMask;
    if (flags & kControlKeyMask) state |= x11::kControlMask;
    if (flags & kAlternateKeyMask) state |= x11::kMod1Mask;
    if (flags & kCommandKeyMask) state |= x11::kSuperMask;
    return state;
}

KeyEvent KeyEventFromX11(unsigned keysym, char32_t character, unsigned state) {
    KeyEvent k;
    k.modifierFlags = ModifierFlagsFromX11(state);
    switch (keysym) {
        case x11::kKeyLeft: case x11::kKeyKpLeft: k.keyCode = kKeyCodeLeft; break;
        case x11::kKeyRight: case x11::kKeyKpRight: k.keyCode = kKeyCodeRight; break;
        case x11::kKeyDown: case x11::kKeyKpDown: k.keyCode = kKeyCodeDown; break;
        case x11::kKeyUp: case x11::kKeyKpUp: k.keyCode = kKeyCodeUp; break;
        case x11::kKeySpace: case x11::kKeyKpSpace: k.keyCode = kKeyCodeSpace; break;
        default: break;
    }
    const bool valid = character != 0 && character < 0x110000 && !(character >= 0xD800 && character < 0xE000);
    k.charactersIgnoringModifiers = Utf8(valid ? character : kNoCharacterBase + (keysym & 0xff));
    return k;
}

int ClickCounter::Press(unsigned button, uint32_t timeMs, double x, double y, uint32_t maxIntervalMs,
                        double maxDistance) {
    // Unsigned: a clock that went backwards gives a huge interval, so a new click.
    const bool repeat = mCount > 0 && button == mLastButton && timeMs - mLastTime <= maxIntervalMs &&
                        std::fabs(x - mLastX) <= maxDistance && std::fabs(y - mLastY) <= maxDistance;
    mCount = repeat ? mCount + 1 : 1;
    mLastButton = button;
    mLastTime = timeMs;
    mLastX = x;
    mLastY = y;
    return mCount;
}

}  // namespace platform
