#include "platform/wheel.h"

#include <cmath>

namespace platform {

int WheelAccumulator::Add(double delta) {
    if (!std::isfinite(delta)) return 0;
    mPending += delta;
    // Steps are bounded so that a runaway delta cannot overflow the int.
    double steps = std::trunc(mPending);
    if (steps > 1000) steps = 1000;
    if (steps < -1000) steps = -1000;
    mPending -= steps;
    if (std::fabs(mPending) >= 1) mPending = 0;
    return int(steps);
}

}  // namespace platform
