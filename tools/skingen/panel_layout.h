// Where the background pictures put their section frames, titles, slider labels and
// the grounds of the program's value texts: worked out from the panel's plan
// (editor/data/panel_plan.h) and the names the panel binds, so that every label stands
// clear of every control and every text the program draws has a ground to be read on.
#pragma once

#include <string>
#include <vector>

#include "editor/data/panel_plan.h"
#include "tools/skingen/manifest.h"

namespace skingen {

struct Box {
    float x, y, w, h;
    float R() const { return x + w; }
    float B() const { return y + h; }
    Box Grown(float dx, float dy) const { return {x - dx, y - dy, w + 2 * dx, h + 2 * dy}; }
    bool Overlaps(const Box& o) const { return x < o.R() && o.x < R() && y < o.B() && o.y < B(); }
    bool Contains(const Box& o) const { return o.x >= x && o.R() <= R() && o.y >= y && o.B() <= B(); }
};

struct Label {
    Box box;
    std::string text;
};

struct Section {
    std::string title;
    // The main rectangle first; any other joins it under one outline (the Flexi
    // switches of the filter stand below its row).
    std::vector<Box> frames;
    Box titleBox;  // the title's tab, across the top or the bottom edge
    std::vector<Label> labels;
};

enum class Page { kSound, kModulation, kDrive, kEqBands, kEqGraph };

struct PageLayout {
    std::vector<Section> sections;
    std::vector<Box> valueGrounds;  // the lcd's dark windows behind the white value texts
};

// The framed sections of one page, in drawing order, in the skin's panel family.
PageLayout LayoutOf(const Manifest& manifest, Page page, qd::Skin skin);

// The short name a label shows for a parameter: its bound name without the section's
// prefix, or its short form where that would not fit a slider column.
std::string ShortLabel(int param);

// One frame of a plan image in GUI pixels, as the manifest gives it for the skin's
// folder; 0 x 0 for an image the manifest lacks.
Box ImageFrame(const Manifest& manifest, qd::Bmp image, qd::Skin skin);

// Where a plan item lies: its own rectangle, or its image's frame at its corner.
Box ItemBox(const Manifest& manifest, const qd::PlanItem& item, qd::Skin skin);

// The rows of a slider image's frame its track and cap take: the lcd's sliders end
// above their value texts, the short sliders leave their tops to the texts over them.
struct SliderRows {
    float top, bottom;
};
SliderRows SliderRowsOf(const std::string& image, bool lcd);
inline constexpr float kCapWidth = 18, kCapHeight = 9;

// The rectangles of every visible control and program-drawn text of a part (the
// synthesizer page with the keyboard) that the view shows, of those the panel makes
// after item `after` of the part (the ones drawn over its picture).
std::vector<Box> ControlBoxes(const Manifest& manifest, qd::Skin skin, qd::PanelView view, qd::PanelPart part,
                              int after);

// Label text size in GUI pixels and the widest a label may be.
inline constexpr float kLabelSize = 8.0f;
inline constexpr float kLabelWidth = 46.0f;
inline constexpr float kTitleSize = 10.0f;
// The top line of the bottom row's frames (the copy block, MIDI, the randomiser).
inline constexpr float kBottomRowTop = 710;

}  // namespace skingen
