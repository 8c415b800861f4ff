// Millisecond time for intervals (wraps after about 49.7 days, like the classic call).
#pragma once

#include <cstdint>

// Milliseconds from a monotonic clock, so a change of the wall clock never makes an
// interval negative or huge.
uint32_t GetTickCount();
