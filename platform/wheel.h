// Turns smooth wheel and touchpad deltas into the whole steps the GUI engine counts.
#pragma once

namespace platform {

class WheelAccumulator {
public:
    // Adds a delta (positive away from the user) and answers the whole steps to send
    // now; the fraction is kept for the next delta.
    int Add(double delta);
    // Forgets the fraction (the pointer left the view, a gesture ended).
    void Reset() { mPending = 0; }

private:
    double mPending = 0;
};

}  // namespace platform
