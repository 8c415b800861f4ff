// Where the background pictures put their section frames, titles and slider labels:
// worked out from the panel's plan (editor/data/panel_plan.h) and the names the panel
// binds, so that every label stands over its own control and none hides under another.
#pragma once

#include <string>
#include <vector>

#include "editor/data/panel_plan.h"
#include "tools/skingen/manifest.h"

namespace skingen {

struct Box {
    float x, y, w, h;
    bool Overlaps(const Box& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
};

struct Label {
    Box box;
    std::string text;
};

struct Section {
    std::string title;
    Box frame;
    Box titleBox;  // on the frame's top edge
    std::vector<Label> labels;
};

enum class Page { kSound, kModulation, kDrive, kEqBands, kEqGraph };

// The framed sections of one page, in drawing order, in the skin's panel family.
std::vector<Section> PageSections(const Manifest& manifest, Page page, qd::Skin skin);

// The short name a label shows for a parameter: its bound name without the section's
// prefix, or its short form where that would not fit a slider column.
std::string ShortLabel(int param);

// One frame of a plan image in GUI pixels, as the manifest gives it for the skin's
// folder; 0 x 0 for an image the manifest lacks.
Box ImageFrame(const Manifest& manifest, qd::Bmp image, qd::Skin skin);

// Where a plan item lies: its own rectangle, or its image's frame at its corner.
Box ItemBox(const Manifest& manifest, const qd::PlanItem& item, qd::Skin skin);

// The rectangles of every control and program-drawn text of the synthesizer page and
// the keyboard that the view can show.
std::vector<Box> ControlBoxes(const Manifest& manifest, qd::Skin skin, qd::PanelView view);

// Those of every view the page's picture is seen in (the sound page under each effect
// panel, an effect panel in its own view), which its labels must keep clear of.
std::vector<Box> PageControlBoxes(const Manifest& manifest, Page page, qd::Skin skin);

// Label text size in GUI pixels and the widest a label may be.
inline constexpr float kLabelSize = 8.0f;
inline constexpr float kLabelWidth = 46.0f;
inline constexpr float kTitleSize = 10.0f;

}  // namespace skingen
