#include "raster/alpha_runs.h"

#include <algorithm>
#include <cstring>

#include "raster/blit.h"
#include "raster/spans.h"

namespace {

// Shorter stretches are not worth a run of their own: an opaque one is blended (which
// stores it all the same), a transparent gap between two runs is blended over (which
// leaves it alone all the same).
constexpr int kMinPiece = 8;

enum class Kind : uint8_t { Transparent, Opaque, Mixed };

Kind KindOf(uint32_t pixel) {
    const int a = PIX_PixelA(pixel);
    return a == 0 ? Kind::Transparent : a == 255 ? Kind::Opaque : Kind::Mixed;
}

struct Piece {
    int x0, x1;
    Kind kind;
};

// The row as maximal stretches of one kind, short ones folded into their neighbours.
void MeasureRow(const uint32_t* row, int width, std::vector<Piece>& pieces) {
    pieces.clear();
    for (int x = 0; x < width;) {
        const Kind k = KindOf(row[x]);
        int end = x + 1;
        while (end < width && KindOf(row[end]) == k) ++end;
        pieces.push_back({x, end, k});
        x = end;
    }
    const size_t n = pieces.size();
    for (size_t i = 0; i < n; ++i) {
        Piece& p = pieces[i];
        const bool shortPiece = p.x1 - p.x0 < kMinPiece;
        if (p.kind == Kind::Opaque && shortPiece) p.kind = Kind::Mixed;
        if (p.kind == Kind::Transparent && shortPiece && i > 0 && i + 1 < n) p.kind = Kind::Mixed;
    }
    // Neighbouring mixed pieces become one.
    size_t out = 0;
    for (size_t i = 0; i < n; ++i) {
        if (out > 0 && pieces[i].kind == Kind::Mixed && pieces[out - 1].kind == Kind::Mixed)
            pieces[out - 1].x1 = pieces[i].x1;
        else
            pieces[out++] = pieces[i];
    }
    pieces.resize(out);
}

}  // namespace

PIX_AlphaRuns::PIX_AlphaRuns(const PIX_IBitmap& bm) {
    if (!PIX_HasPixels(&bm)) {
        mRowStart.assign(1, 0);
        return;
    }
    mWidth = bm.getWidth();
    mHeight = bm.getHeight();
    mRowStart.reserve(size_t(mHeight) + 1);
    mRowStart.push_back(0);
    mAllOpaque = true;
    std::vector<Piece> pieces;
    for (int y = 0; y < mHeight; ++y) {
        MeasureRow(PIX_PixelAddress(bm, 0, y), mWidth, pieces);
        for (const Piece& p : pieces)
            if (p.kind != Kind::Transparent) mRuns.push_back({p.x0, p.x1, p.kind == Kind::Opaque});
        mRowStart.push_back(uint32_t(mRuns.size()));
        mAllOpaque = mAllOpaque && pieces.size() == 1 && pieces[0].kind == Kind::Opaque;
    }
}

bool PIX_AlphaRuns::IsOpaque(int left, int top, int right, int bottom) const {
    if (left < 0 || top < 0 || right > mWidth || bottom > mHeight || left >= right || top >= bottom) return false;
    if (mAllOpaque) return true;
    for (int y = top; y < bottom; ++y) {
        const Run* end = RowEnd(y);
        // The last run starting at or before `left` is the only one that can hold it.
        const Run* r = std::upper_bound(RowBegin(y), end, left, [](int x, const Run& run) { return x < run.x0; });
        if (r == RowBegin(y)) return false;
        --r;
        if (!r->opaque || r->x1 < right) return false;
    }
    return true;
}

void PIX_BlitSourceAlphaRuns(PIX_IBitmap* dst, const PIX_IBitmap* src, const PIX_AlphaRuns& runs, int dx, int dy,
                             int sx, int sy, int sw, int sh) {
    constexpr PIX_DrawMode kMode = PIX_MODE_COPY | PIX_MODE_USE_SOURCE_ALPHA;
    if (!dst || !src) return;
    if (dst == src || runs.Width() != src->getWidth() || runs.Height() != src->getHeight()) {
        PIX_Blit(dst, src, dx, dy, sx, sy, sw, sh, 1.0f, kMode);
        return;
    }
    const PIX_Rect rect = pix::SourceRect(sx, sy, sw, sh);
    pix::BlitArea area;
    if (!pix::ClipBlit(*dst, *src, dx, dy, &rect, area)) return;

    const int left = area.sx, right = area.sx + area.w;
    uint32_t* drow = PIX_PixelAddress(*dst, area.dx, area.dy);
    const int64_t dstep = PIX_RowStep(*dst);
    for (int row = area.sy; row < area.sy + area.h; ++row, drow += dstep) {
        const uint32_t* srow = PIX_PixelAddress(*src, 0, row);
        for (const PIX_AlphaRuns::Run* run = runs.RowBegin(row); run != runs.RowEnd(row); ++run) {
            if (run->x0 >= right) break;
            const int a = std::max(run->x0, left), e = std::min(run->x1, right);
            if (a >= e) continue;
            uint32_t* d = drow + (a - left);
            if (run->opaque)
                std::memcpy(d, srow + a, size_t(e - a) * 4);
            else
                pix::BlendRow<pix::CopySourceAlphaFull>(d, srow + a, e - a, 256);
        }
    }
}
