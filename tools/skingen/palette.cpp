#include "tools/skingen/palette.h"

namespace skingen {

namespace {

// The "orig" folder serves "space" and "solid" alike, so its controls take neutral
// greys that read on the blue-black and on the warm grey ground.
constexpr Palette kSpace{
    Rgb(0x0d1420), Rgb(0x16213a), Rgb(0x111a2c), Rgb(0x3a5a8c), Rgb(0x9fc3ff), Rgb(0xc4d6f0),
    Rgb(0x03050a), Rgb(0x4a5f82),
    Rgb(0xe4e8ee), Rgb(0x9aa3b0), Rgb(0x20252e), Rgb(0x3a404c),
    Rgb(0x3b4250), Rgb(0x262b35), Rgb(0x5a8fd8), Rgb(0x2f5ea8), Rgb(0x0a0d12), Rgb(0x6c7688),
    Rgb(0xd8dee8), Rgb(0xffffff),
    Rgb(0x5aa2ff), Rgb(0x070b13), Rgb(0x7fb4ff),
    true};

// The same controls on another ground: page, section, frame, text and well colours.
constexpr Palette OnGround(PIX_PixelValue top, PIX_PixelValue bottom, PIX_PixelValue fill, PIX_PixelValue frame,
                           PIX_PixelValue title, PIX_PixelValue label, PIX_PixelValue well) {
    Palette p = kSpace;
    p.panelTop = top;
    p.panelBottom = bottom;
    p.sectionFill = fill;
    p.frame = frame;
    p.title = title;
    p.label = label;
    p.well = well;
    p.stars = false;
    return p;
}

constexpr Palette kSolid =
    OnGround(Rgb(0x2b2b2b), Rgb(0x2b2b2b), Rgb(0x313131), Rgb(0x555555), Rgb(0xe0e0e0), Rgb(0xd0d0d0), Rgb(0x1a1a1a));

constexpr Palette kManager =
    OnGround(Rgb(0x1b1d22), Rgb(0x1b1d22), Rgb(0x24272e), Rgb(0x3a3f4a), Rgb(0xcfd6e4), Rgb(0xb8c0cf), Rgb(0x24272e));

constexpr Palette kInset =
    OnGround(Rgb(0x1c1f26), Rgb(0x1c1f26), Rgb(0x1c1f26), Rgb(0x4b5568), Rgb(0xa9c4f0), Rgb(0xc8d0dc), Rgb(0x111318));

constexpr Palette kLcd{
    Rgb(0xd8dcd0), Rgb(0xd8dcd0), Rgb(0xcfd4c6), Rgb(0x8a9080), Rgb(0x202418), Rgb(0x202418),
    Rgb(0x8d9384), Rgb(0xf4f6ef),
    Rgb(0x3a3f34), Rgb(0x1c2018), Rgb(0x0e100b), Rgb(0xa8ae9e),
    Rgb(0xeef0e8), Rgb(0xc4c9ba), Rgb(0x9fcf6a), Rgb(0x6fa83c), Rgb(0x6a7062), Rgb(0xffffff),
    Rgb(0x202418), Rgb(0x10140a),
    Rgb(0x3c7a1e), Rgb(0xb9c2a6), Rgb(0x1f2a12),
    false};

}  // namespace

const Palette& PaletteFor(Look look) {
    switch (look) {
        case Look::kSpace: return kSpace;
        case Look::kSolid: return kSolid;
        case Look::kLcd: return kLcd;
        case Look::kManager: return kManager;
        case Look::kInset: return kInset;
    }
    return kSpace;
}

}  // namespace skingen
