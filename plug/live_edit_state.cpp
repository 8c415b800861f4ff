#include "plug/live_edit_state.h"

LiveEditState::~LiveEditState() {
    // The control lists only borrow (IGraphics owns the controls); the texts are ours.
    viewModeTexts.DeleteAll(true);
}
