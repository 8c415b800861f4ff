// A bitmap's alpha measured once, row by row: where it is transparent, where opaque.
// The source-alpha copy at full weight leaves the destination alone under a
// transparent pixel and stores an opaque one as it is, so a blit that knows the runs
// blends only what lies between, and a caller can tell whether a rectangle of the
// bitmap hides whatever is beneath it.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/bitmap.h"

class PIX_AlphaRuns {
public:
    // Measures the bitmap's pixels as they are now; the runs describe nothing else, so
    // the owner measures again when the pixels change.
    explicit PIX_AlphaRuns(const PIX_IBitmap& bm);

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    bool AllOpaque() const { return mAllOpaque; }
    // True when every pixel of the rectangle (right and bottom exclusive) lies in the
    // bitmap and has alpha 255. May answer false for a short opaque stretch.
    bool IsOpaque(int left, int top, int right, int bottom) const;

    // The pixels of row y that are not transparent: [x0, x1), `opaque` when all of them
    // have alpha 255 (a run that is not opaque may hold pixels of any alpha).
    struct Run {
        int x0, x1;
        bool opaque;
    };
    const Run* RowBegin(int y) const { return mRuns.data() + mRowStart[size_t(y)]; }
    const Run* RowEnd(int y) const { return mRuns.data() + mRowStart[size_t(y) + 1]; }

private:
    int mWidth = 0;
    int mHeight = 0;
    bool mAllOpaque = false;
    std::vector<uint32_t> mRowStart;  // height + 1 offsets into mRuns
    std::vector<Run> mRuns;
};

// Exactly PIX_Blit (dst, src, dx, dy, sx, sy, sw, sh, 1.0f, PIX_MODE_COPY |
// PIX_MODE_USE_SOURCE_ALPHA), for `runs` measured from src's present pixels: transparent
// runs are skipped, opaque ones copied, the rest blended. Runs of another size, or a
// source that is the destination, take the plain blit.
void PIX_BlitSourceAlphaRuns(PIX_IBitmap* dst, const PIX_IBitmap* src, const PIX_AlphaRuns& runs, int dx, int dy,
                             int sx, int sy, int sw, int sh);
