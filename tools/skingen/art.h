// The drawing of each kind of skin image. Every function draws one frame of a strip at
// the painter's origin; the generator moves the origin from frame to frame.
#pragma once

#include <string>

#include "tools/skingen/manifest.h"
#include "tools/skingen/palette.h"

namespace skingen {

struct ArtContext {
    const Manifest& manifest;  // for the size of any other image
    Painter& p;
    const Palette& pal;
    Look look;
    const ImageSpec& spec;
    int frame;   // 0 to frames - 1
    float w, h;  // one frame, GUI pixels
};

using ArtFn = void (*)(const ArtContext&);

// The function that draws the named image, or null for a name no function knows.
ArtFn ArtFor(const std::string& name);

// Shared pieces (controls_art.cpp), used by the panels too. A button's word keeps up
// to kWordMargin clear of its face's edges.
inline constexpr float kWordMargin = 5;
void DrawButtonFace(const ArtContext& c, float x, float y, float w, float h, bool on, const std::string& word);
void DrawCheckbox(const ArtContext& c, float x, float y, float size, bool on);
// A recessed area with a darker rim.
void DrawWell(const ArtContext& c, float x, float y, float w, float h);

// Controls (controls_art.cpp).
void DrawVSlider(const ArtContext& c);
void DrawFlexiSlider(const ArtContext& c);
void DrawShortSlider(const ArtContext& c);
void DrawWordButton(const ArtContext& c);
void DrawBigButton(const ArtContext& c);
void DrawSyncButton(const ArtContext& c);
void DrawLed(const ArtContext& c);
void DrawCheckboxImage(const ArtContext& c);
void DrawSevenSegment(const ArtContext& c);
void DrawFlexiMode(const ArtContext& c);
void DrawPolaritySwitch(const ArtContext& c);
void DrawOrderSwitch(const ArtContext& c);
void DrawEffectTab(const ArtContext& c);
void DrawTabHighlight(const ArtContext& c);
void DrawRadioTab(const ArtContext& c);
void DrawCurves(const ArtContext& c);
void DrawModWheel(const ArtContext& c);
void DrawKeys(const ArtContext& c);
void DrawOctave(const ArtContext& c);
void DrawSelecting(const ArtContext& c);
void DrawPrevNext(const ArtContext& c);

// Pages and overlays (panel_art.cpp).
void DrawBackground(const ArtContext& c);
void DrawSaveLabels(const ArtContext& c);
void DrawEffectPanel(const ArtContext& c);
void DrawListOverlay(const ArtContext& c);
void DrawSaveFromBox(const ArtContext& c);
void DrawAbout(const ArtContext& c);

// Manager page (manager_art.cpp).
void DrawManagerPage(const ArtContext& c);
void DrawSlotCard(const ArtContext& c);
void DrawSlotSelect(const ArtContext& c);
void DrawPlayNote(const ArtContext& c);
void DrawScrollHandle(const ArtContext& c);
void DrawLoginBox(const ArtContext& c);
void DrawModeBox(const ArtContext& c);

}  // namespace skingen
