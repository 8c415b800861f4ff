// The colours of the panel looks and the manager page: one record per look, so that
// every image of a folder is drawn from the same set.
#pragma once

#include "tools/skingen/painter.h"

namespace skingen {

// kSpace and kSolid: the two "orig" backgrounds. kOrig: every other "orig" image,
// which serves both backgrounds and so takes neutral greys.
enum class Look { kSpace, kSolid, kLcd, kManager, kOrig };

struct Palette {
    PIX_PixelValue panelTop, panelBottom;  // page ground, top to bottom
    PIX_PixelValue sectionFill;            // inside a framed section
    PIX_PixelValue frame;                  // section frames
    PIX_PixelValue title;                  // section titles
    PIX_PixelValue label;                  // slider names
    PIX_PixelValue trackGroove, trackHighlight;
    PIX_PixelValue capTop, capBottom, capEdge, capGrip;
    PIX_PixelValue faceTop, faceBottom;  // button faces, off
    PIX_PixelValue litTop, litBottom;    // button faces, on
    PIX_PixelValue faceEdge, faceLight;  // outline and the light top edge
    PIX_PixelValue word, litWord;        // button words off and on
    PIX_PixelValue accent;               // selections, highlights
    PIX_PixelValue well;                 // recessed areas: lists, screens
    PIX_PixelValue screenLine;           // drawing on a screen
    // Grounds of the texts the program draws: dark windows for its white and red
    // texts, light ones for its black texts.
    PIX_PixelValue display, paper;
    bool stars;  // star dust in empty areas
};

const Palette& PaletteFor(Look look);

// The four Flexi slot colours, slot 1 to 4.
inline constexpr PIX_PixelValue kFlexiAccents[4] = {Rgb(0xe0483e), Rgb(0x3e7be0), Rgb(0x9a4fe0), Rgb(0x3ec46d)};

}  // namespace skingen
