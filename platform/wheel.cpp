#include "platform/wheel.h"

#include <cmath>

namespace platform {

int WheelAccumulator::Add(double delta) {
    if (!std::isfinite(delta)) return 0;
    pending_ += delta;
    // Steps are bounded so that a runaway delta cannot overflow the int.
    double steps = std::trunc(pending_);
    if (steps > 1000) steps = 1000;
    if (steps < -1000) steps = -1000;
    pending_ -= steps;
    if (std::fabs(pending_) >= 1) pending_ = 0;
    return int(steps);
}

}  // namespace platform
