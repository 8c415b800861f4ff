// What the engine knows of its skin bitmaps' alpha, measured once per bitmap and kept
// until the bitmaps' pixels change. Strip bitmaps change only when the strips are
// rescaled or dropped, and both forget every measurement; a bitmap whose size or pixel
// block is no longer what was measured is measured again. Drawing is main-thread work,
// and so is this.
#pragma once

#include "raster/alpha_runs.h"

namespace bitmap_alpha {

// Smaller blits and cover tests do not measure: a measured bitmap pays off over large
// areas (the panel's backgrounds and overlays), not over a knob's frame.
inline constexpr int64_t kMinMeasuredArea = 128 * 128;

// The runs of a bitmap whose pixels stay as they are, measured now when they are not
// known yet and `area` (the pixels the caller is about to draw or test) is worth it;
// null otherwise.
const PIX_AlphaRuns* RunsOf(const PIX_IBitmap* bm, int64_t area);

// The strips' pixels changed: every measurement is stale.
void ForgetAll();

}  // namespace bitmap_alpha
