// The layout header the layout editor writes: a source file whose class re-applies
// the edited layout to the controls, for the default view and per view mode of the
// GUI-resize control. The writer and the reader share the line shapes defined here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct LiveEditState;
class IControl;
class IGraphics;
class LiveEditViews;

inline constexpr const char* kLiveEditHeaderFile = "LiveEditLayout.h";
// A header larger than this is not ours: it is read as missing.
inline constexpr size_t kLiveEditMaxHeaderBytes = size_t(4) << 20;

// The class name written above a control's lines, in the form the reader looks for.
std::string LiveEditClassName(const IControl* control);

// The section texts of view modes 0 to count - 1 found in `text`: the generated lines
// between a section's start marker and the end marker after it. A section without
// both markers in that order stays empty; lines of any other shape are dropped. Lines
// may end in CR LF and trailing blanks; the texts come back with LF ends only.
std::vector<std::string> LiveEditParseLayoutHeader(std::string_view text, int count);

// Reads the header at `path` into the state's per-view-mode texts (once per run: it
// sets the header-read flag). A missing, unreadable or oversized file, or anything but
// a regular file (a FIFO would never answer), leaves them empty.
void LiveEditReadLayoutHeader(LiveEditState* state, const char* path = kLiveEditHeaderFile);

// The whole header for the state's controls. `views` is null without a GUI-resize
// control; with one, view mode `viewMode`'s text is rebuilt from the controls
// (unscaled by `guiScale`) and every control's layout is handed to `views`.
std::string LiveEditBuildLayoutHeader(double guiScale, LiveEditState* state, IGraphics* graphics,
                                      LiveEditViews* views, int viewMode);

// Builds the header and saves it when it differs from the text last saved. False when
// it could not be saved.
bool LiveEditWriteLayoutHeader(double guiScale, LiveEditState* state, IGraphics* graphics, LiveEditViews* views,
                               int viewMode, const char* path = kLiveEditHeaderFile);

// Writes `text` to `path` through a temporary file renamed into place, so a failed
// write leaves the old file whole. False on any failure, and when anything but a
// regular file stands under the name (it is left alone).
bool LiveEditSaveLayoutFile(const std::string& text, const char* path = kLiveEditHeaderFile);
