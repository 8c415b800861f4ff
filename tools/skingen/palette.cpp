#include "tools/skingen/palette.h"

namespace skingen {

namespace {

// The "orig" folder serves "space" and "solid" alike, so its pictures take neutral
// greys that sit on the blue-black as on the warm grey ground.
constexpr Palette kOrig{
    Rgb(0x202226), Rgb(0x1a1c20), Rgb(0x222428), Rgb(0x50545c), Rgb(0xe2e5ea), Rgb(0xc9cdd4),
    Rgb(0x060708), Rgb(0x5a5e66),
    Rgb(0xe6e8eb), Rgb(0x9ca0a7), Rgb(0x1c1e22), Rgb(0x3c3f46),
    Rgb(0x474a51), Rgb(0x2c2e33), Rgb(0x5a8fd8), Rgb(0x2f5ea8), Rgb(0x0b0c0e), Rgb(0x7a7e86),
    Rgb(0xe0e3e8), Rgb(0xffffff),
    Rgb(0x5aa2ff), Rgb(0x101114), Rgb(0xd4d8de),
    Rgb(0x08090b), Rgb(0xd5d8dd),
    false};

// The same controls on another ground: page, section, frame, text, well and window
// colours.
constexpr Palette OnGround(PIX_PixelValue top, PIX_PixelValue bottom, PIX_PixelValue fill, PIX_PixelValue frame,
                           PIX_PixelValue title, PIX_PixelValue label, PIX_PixelValue well,
                           PIX_PixelValue display, bool stars) {
    Palette p = kOrig;
    p.panelTop = top;
    p.panelBottom = bottom;
    p.sectionFill = fill;
    p.frame = frame;
    p.title = title;
    p.label = label;
    p.well = well;
    p.display = display;
    p.stars = stars;
    return p;
}

constexpr Palette kSpace = OnGround(Rgb(0x0d1420), Rgb(0x16213a), Rgb(0x111a2c), Rgb(0x3a5a8c), Rgb(0x9fc3ff),
                                    Rgb(0xc4d6f0), Rgb(0x070b13), Rgb(0x05070b), true);

constexpr Palette kSolid = OnGround(Rgb(0x2b2b2b), Rgb(0x2b2b2b), Rgb(0x313131), Rgb(0x555555), Rgb(0xe0e0e0),
                                    Rgb(0xd0d0d0), Rgb(0x1a1a1a), Rgb(0x080808), false);

constexpr Palette kManager = OnGround(Rgb(0x1b1d22), Rgb(0x1b1d22), Rgb(0x24272e), Rgb(0x3a3f4a), Rgb(0xcfd6e4),
                                      Rgb(0xb8c0cf), Rgb(0x24272e), Rgb(0x08090b), false);

constexpr Palette kLcd{
    Rgb(0xd8dcd0), Rgb(0xd8dcd0), Rgb(0xcfd4c6), Rgb(0x8a9080), Rgb(0x202418), Rgb(0x202418),
    Rgb(0x8d9384), Rgb(0xf4f6ef),
    Rgb(0x3a3f34), Rgb(0x1c2018), Rgb(0x0e100b), Rgb(0xa8ae9e),
    Rgb(0xeef0e8), Rgb(0xc4c9ba), Rgb(0x9fcf6a), Rgb(0x6fa83c), Rgb(0x6a7062), Rgb(0xffffff),
    Rgb(0x202418), Rgb(0x10140a),
    Rgb(0x3c7a1e), Rgb(0xb9c2a6), Rgb(0x1f2a12),
    Rgb(0x1f2619), Rgb(0xc3cca8),
    false};

}  // namespace

const Palette& PaletteFor(Look look) {
    switch (look) {
        case Look::kSpace: return kSpace;
        case Look::kSolid: return kSolid;
        case Look::kLcd: return kLcd;
        case Look::kManager: return kManager;
        case Look::kOrig: return kOrig;
    }
    return kOrig;
}

}  // namespace skingen
