// Where the background pictures put their section frames, titles and slider labels:
// worked out from the parameter position table and the names the panel binds, so
// that every label stands over its own control and none hides under another.
#pragma once

#include <string>
#include <vector>

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
    Box title_box;  // on the frame's top edge
    std::vector<Label> labels;
};

enum class Page { kSound, kModulation, kDrive, kEqBands, kEqGraph };

// The framed sections of one page, in drawing order; `lcd` selects that skin's value
// text rule and control places.
std::vector<Section> PageSections(Page page, bool lcd);

// The short name a label shows for a parameter: its bound name without the section's
// prefix, or its short form where that would not fit a slider column.
std::string ShortLabel(int param);

// The rectangles of every control and value text the panel builders place, as they
// lie on the page (so that no label is put under one).
std::vector<Box> ControlBoxes(bool lcd);

// Label text size in GUI pixels and the widest a label may be.
inline constexpr float kLabelSize = 8.0f;
inline constexpr float kLabelWidth = 46.0f;
inline constexpr float kTitleSize = 10.0f;

}  // namespace skingen
