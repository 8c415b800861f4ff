// The drawing side of IGraphics: image strips, primitives over the raster library, text.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "gui/bitmap_alpha.h"
#include "gui/bitmap_cache.h"
#include "gui/font_cache.h"
#include "gui/igraphics.h"
#include "raster/bezier.h"
#include "raster/blit.h"
#include "raster/cached_font.h"
#include "raster/circle.h"
#include "raster/fill.h"
#include "raster/line.h"
#include "raster/polygon.h"
#include "raster/scaled_blit.h"
#include "raster/strip_resample.h"
#include "raster/transform_blit.h"
#include "raster/vector_spans.h"

namespace {

using pix::SatInt;
using pix::SatInt64;

constexpr PIX_DrawMode kNoBlendMode = PIX_MODE_COPY | PIX_MODE_USE_SOURCE_ALPHA;
// The raster mode words of the blend methods: clobber, add, colour dodge.
constexpr PIX_DrawMode kBlendModeByMethod[3] = {PIX_MODE_COPY, PIX_MODE_ADD | PIX_MODE_USE_SOURCE_ALPHA,
                                                PIX_MODE_DODGE | PIX_MODE_USE_SOURCE_ALPHA};

PIX_DrawMode ModeOfMethod(int method) {
    const int i = method - IChannelBlend::kBlendClobber;
    return i >= 0 && i < 3 ? kBlendModeByMethod[i] : kNoBlendMode;
}

// The raster mode word and alpha of a control's blend.
PIX_DrawMode BlendMode(const IChannelBlend* pBlend) { return pBlend ? ModeOfMethod(pBlend->method) : kNoBlendMode; }

float BlendWeight(const IChannelBlend* pBlend) { return pBlend ? pBlend->weight : 1.0f; }

PIX_PixelValue Pixel(const IColor& c) { return PIX_MakePixel(c.A, c.R, c.G, c.B); }

// Text alignment as drawn: 0 left, 1 centre, 2 right; a value outside that range is
// taken as left rather than as right, so a bad style never pushes text out of its box.
int Alignment(int align) { return align == 1 || align == 2 ? align : 0; }

}  // namespace

// ---- Bitmaps ---------------------------------------------------------------------------

IBitmapStrip* IGraphics::LoadBitmapStrip(int id, const char* fileName, int frames, bool horizontal) {
    return LoadStrip([this](int i, const char* name) { return OSLoadBitmap(i, name); }, mResourceScale, id, fileName,
                     frames, horizontal);
}

void IGraphics::RescaleBitmaps(double scale) {
    RescaleStrips([this](int i, const char* name) { return OSLoadBitmap(i, name); }, mResourceScale, scale);
    bitmap_alpha::ForgetAll();
}

void IGraphics::ScaleBitmap(const PIX_IBitmap* pSrc, PIX_IBitmap* pDest, int frames, bool horizontal) {
    if (pSrc && pDest) ScaleStripFrames(*pSrc, *pDest, frames, horizontal);
}

IBitmapStrip IGraphics::ScaleBitmapStrip(const IBitmapStrip* pBitmap, int width, int height) {
    if (!pBitmap || !pBitmap->bitmap) return {};
    auto* bm = new PIX_MemBitmap(width, height, 4);
    PIX_ScaledBlit(bm, pBitmap->bitmap, 0, 0, bm->getWidth(), bm->getHeight(), 0.0f, 0.0f,
                   float(pBitmap->bitmap->getWidth()), float(pBitmap->bitmap->getHeight()), 1.0f,
                   PIX_MODE_FILTER_BILINEAR);
    if (!BitmapCache::Instance().Add(-1, bm)) {
        delete bm;
        return {};
    }
    return {bm, bm->getWidth(), bm->getHeight(), pBitmap->frames, pBitmap->horizontal};
}

IBitmapStrip IGraphics::CropBitmapStrip(const IBitmapStrip* pBitmap, const IRECT* pR) {
    if (!pBitmap || !pBitmap->bitmap || !pR) return {};
    auto* bm = new PIX_MemBitmap(pR->W(), pR->H(), 4);
    PIX_Blit(bm, pBitmap->bitmap, 0, 0, pR->L, pR->T, pR->W(), pR->H(), 1.0f, PIX_MODE_COPY);
    if (!BitmapCache::Instance().Add(-1, bm)) {
        delete bm;
        return {};
    }
    return {bm, bm->getWidth(), bm->getHeight(), pBitmap->frames, pBitmap->horizontal};
}

void IGraphics::KeepBitmap(const IBitmapStrip* pBitmap) {
    if (!pBitmap || !pBitmap->bitmap) return;
    BitmapCache& cache = BitmapCache::Instance();
    CMN_MutexLock lock(cache.Mutex());
    // Kept twice, a drop would delete it while its second entry still pointed at it.
    if (!cache.Holds(pBitmap->bitmap)) cache.Add(-1, pBitmap->bitmap);
}

void IGraphics::DropBitmap(IBitmapStrip* pBitmap) {
    if (!pBitmap || !pBitmap->bitmap) return;
    PIX_IBitmap* bm = pBitmap->bitmap;
    BitmapCache& cache = BitmapCache::Instance();
    {
        CMN_MutexLock lock(cache.Mutex());
        // Only what the cache owns is deleted; every strip record showing it goes blank
        // and leaves the rescale walk, so nothing touches the freed pixels afterwards.
        if (!cache.Remove(bm)) return;
        ScaledBitmapList::Instance().ForgetBitmap(bm);
    }
    bitmap_alpha::ForgetAll();
    delete bm;
    *pBitmap = IBitmapStrip{nullptr, 0, 0, pBitmap->frames, pBitmap->horizontal};
}

// ---- Bitmap drawing --------------------------------------------------------------------

namespace {

// The part of `dest` inside the draw rectangle; all zero when they do not meet.
IRECT ClipToDraw(const IRECT& dest, const IRECT& draw) {
    if (!dest.Meets(draw)) return IRECT();
    return IRECT(std::max(dest.L, draw.L), std::max(dest.T, draw.T), std::min(dest.R, draw.R),
                 std::min(dest.B, draw.B));
}

int64_t Area(const IRECT& r) { return int64_t(std::max(r.W(), 0)) * std::max(r.H(), 0); }

// Where the ink of a text laid out in `box` may fall: its measured block placed as the
// alignment places it (the block holds the whole line cell), widened for glyphs that
// overhang their advance (a slanted or emboldened face).
IRECT TextInkBounds(const IRECT& box, int align, int width, int height) {
    const int64_t left = align == 1 ? (int64_t(box.L) + box.R) / 2 - width / 2
                         : align == 2 ? int64_t(box.R) - width
                                      : int64_t(box.L);
    const int64_t side = std::max(height / 4, 2), edge = 2;
    return IRECT(SatInt64(left - side), SatInt64(int64_t(box.T) - edge), SatInt64(left + width + side),
                 SatInt64(int64_t(box.T) + height + edge));
}

// The font's format flags for a style: placed by its alignment, cut at the rectangle
// only when `clip`.
unsigned TextFlags(const IText& style, bool clip) {
    const int align = Alignment(style.align);
    unsigned flags = clip ? 0u : unsigned(DT_NOCLIP);
    if (style.color.A < 255) flags |= PIX_DT_USE_TEXT_ALPHA;
    if (align == 1) flags |= DT_CENTER;
    if (align == 2) flags |= DT_RIGHT;
    return flags;
}

// Keeps the pixels of `area` that lie outside `keepInside` (in `store`, reused from
// call to call) and puts them back when it goes; nothing to do when the area lies inside.
class KeptOutside {
public:
    KeptOutside(PIX_IBitmap* bitmap, const IRECT& area, const IRECT& keepInside, std::vector<uint32_t>& store)
        : mBitmap(bitmap),
          mArea(ClipToDraw(area, IRECT(0, 0, bitmap->getWidth(), bitmap->getHeight()))),
          mInside(keepInside),
          mPixels(store) {
        mPixels.clear();
        if (Area(mArea) == 0 || (mArea.L >= mInside.L && mArea.T >= mInside.T && mArea.R <= mInside.R &&
                                 mArea.B <= mInside.B))
            return;
        for (int y = mArea.T; y < mArea.B; ++y) {
            const uint32_t* row = PIX_PixelAddress(*mBitmap, mArea.L, y);
            mPixels.insert(mPixels.end(), row, row + mArea.W());
        }
    }
    ~KeptOutside() {
        if (mPixels.empty()) return;
        const uint32_t* kept = mPixels.data();
        const int w = mArea.W();
        for (int y = mArea.T; y < mArea.B; ++y, kept += w) {
            uint32_t* row = PIX_PixelAddress(*mBitmap, mArea.L, y);
            if (y < mInside.T || y >= mInside.B) {
                std::memcpy(row, kept, size_t(w) * sizeof(uint32_t));
                continue;
            }
            const int left = std::clamp(mInside.L - mArea.L, 0, w), right = std::clamp(mInside.R - mArea.L, 0, w);
            std::memcpy(row, kept, size_t(left) * sizeof(uint32_t));
            std::memcpy(row + right, kept + right, size_t(w - right) * sizeof(uint32_t));
        }
    }
    KeptOutside(const KeptOutside&) = delete;
    KeptOutside& operator=(const KeptOutside&) = delete;

private:
    PIX_IBitmap* mBitmap;
    IRECT mArea;
    IRECT mInside;
    std::vector<uint32_t>& mPixels;
};

}  // namespace

void IGraphics::BlitToDraw(const PIX_IBitmap* bm, const IRECT& dest, int srcX, int srcY, const IChannelBlend* pBlend,
                           bool stablePixels) {
    const IRECT r = ClipToDraw(dest, mDrawRECT);
    // The source offset saturates: a destination at the end of the int range is no wrap.
    const int sx = SatInt64(int64_t(srcX) + r.L - dest.L), sy = SatInt64(int64_t(srcY) + r.T - dest.T);
    const float weight = BlendWeight(pBlend);
    const PIX_DrawMode mode = BlendMode(pBlend);
    // The skins' images at full strength: their transparent and opaque stretches need
    // no blending. Same pixels as the plain blit.
    if (stablePixels && weight == 1.0f && mode == kNoBlendMode)
        if (const PIX_AlphaRuns* runs = bitmap_alpha::RunsOf(bm, Area(r))) {
            PIX_BlitSourceAlphaRuns(mDrawBitmap, bm, *runs, r.L, r.T, sx, sy, r.W(), r.H());
            return;
        }
    PIX_Blit(mDrawBitmap, bm, r.L, r.T, sx, sy, r.W(), r.H(), weight, mode);
}

bool IGraphics::DrawBitmap(const IBitmapStrip* pBitmap, const IRECT* pDest, int srcX, int srcY,
                           const IChannelBlend* pBlend) {
    if (!pBitmap || !pDest) return false;
    if (!pBitmap->bitmap) return true;  // a missing image leaves its control blank
    BlitToDraw(pBitmap->bitmap, *pDest, srcX, srcY, pBlend, true);
    return true;
}

bool IGraphics::BitmapStateCovers(const IBitmapStrip* pBitmap, const IRECT* pDest, int frame,
                                  const IChannelBlend* pBlend, const IRECT& r) {
    if (!pBitmap || !pBitmap->bitmap || !pDest || Area(r) == 0) return false;
    if (r.L < pDest->L || r.T < pDest->T || r.R > pDest->R || r.B > pDest->B) return false;
    if (BlendWeight(pBlend) != 1.0f) return false;
    const PIX_IBitmap* bm = pBitmap->bitmap;
    const int offset = pBitmap->FrameStart(frame);
    const int64_t sx = int64_t(r.L) - pDest->L + (pBitmap->horizontal ? offset : 0);
    const int64_t sy = int64_t(r.T) - pDest->T + (pBitmap->horizontal ? 0 : offset);
    if (sx < 0 || sy < 0 || sx + r.W() > bm->getWidth() || sy + r.H() > bm->getHeight()) return false;
    const PIX_DrawMode mode = BlendMode(pBlend);
    if (mode == PIX_MODE_COPY) return true;  // stores the image, alpha and all
    if (mode != kNoBlendMode) return false;
    const PIX_AlphaRuns* runs = bitmap_alpha::RunsOf(bm, Area(r));
    return runs && runs->IsOpaque(int(sx), int(sy), int(sx + r.W()), int(sy + r.H()));
}

bool IGraphics::DrawBitmapState(const IBitmapStrip* pBitmap, const IRECT* pDest, int frame,
                                const IChannelBlend* pBlend) {
    if (!pBitmap || !pDest) return false;
    const int offset = pBitmap->FrameStart(frame);
    return pBitmap->horizontal ? DrawBitmap(pBitmap, pDest, offset, 0, pBlend)
                               : DrawBitmap(pBitmap, pDest, 0, offset, pBlend);
}

bool IGraphics::DrawRotatedBitmap(const IBitmapStrip* pBitmap, int destCtrX, int destCtrY, double angle,
                                  int yOffsetZeroDeg, const IChannelBlend* pBlend) {
    if (!pBitmap) return false;
    PIX_IBitmap* bm = pBitmap->bitmap;
    if (!bm) return true;
    const int w = pBitmap->width, h = pBitmap->height;
    PIX_RotatedBlit(mDrawBitmap, bm, SatInt64(int64_t(destCtrX) - w / 2), SatInt64(int64_t(destCtrY) - h / 2), w, h, 0.0f, 0.0f, float(bm->getWidth()),
                    float(bm->getHeight()), float(angle), false, BlendWeight(pBlend),
                    PIX_MODE_FILTER_BILINEAR | BlendMode(pBlend), 0.0f, float(yOffsetZeroDeg));
    return true;
}

bool IGraphics::DrawRotatedMask(const IBitmapStrip* pBase, const IBitmapStrip* pMask, const IBitmapStrip* pTop,
                                int x, int y, double angle, const IChannelBlend* pBlend) {
    if (!pBase || !pMask || !pTop) return false;
    if (!pBase->bitmap || !pMask->bitmap || !pTop->bitmap) return true;
    const int w = pBase->width, h = pBase->height;
    const float xOffset = (w & 1) ? -0.5f : 0.0f;  // keeps an odd-width needle on its pixel column
    const float rad = float(angle * std::numbers::pi / 180.0);
    if (!mTmpBitmap) mTmpBitmap = new PIX_MemBitmap(0, 0, 4);
    PIX_Copy(mTmpBitmap, pBase->bitmap);
    PIX_ClearRect(mTmpBitmap, 0, 0, w, h, PIX_MakePixel(0, 255, 255, 255), 0);  // alpha cleared, colour kept
    PIX_RotatedBlit(mTmpBitmap, pMask->bitmap, 0, 0, w, h, 0.0f, 0.0f, float(pMask->bitmap->getWidth()),
                    float(pMask->bitmap->getHeight()), rad, true, 1.0f,
                    ModeOfMethod(IChannelBlend::kBlendAdd) | PIX_MODE_FILTER_BILINEAR, xOffset, 0.0f);
    PIX_RotatedBlit(mTmpBitmap, pTop->bitmap, 0, 0, w, h, 0.0f, 0.0f, float(pTop->bitmap->getWidth()),
                    float(pTop->bitmap->getHeight()), rad, true, 1.0f,
                    kNoBlendMode | PIX_MODE_FILTER_BILINEAR, xOffset, 0.0f);
    const IRECT dest(x, y, SatInt64(int64_t(x) + w), SatInt64(int64_t(y) + h));
    BlitToDraw(mTmpBitmap, dest, 0, 0, pBlend, false);  // the scratch changes with every call
    return true;
}

bool IGraphics::DrawBlurredBitmap(const IBitmapStrip* pBitmap, int destX, int destY, const IRECT* pSrc) {
    if (!pBitmap || !pSrc) return false;
    PIX_Blur(mDrawBitmap, pBitmap->bitmap, destX, destY, pSrc->L, pSrc->T, pSrc->W(), pSrc->H());
    return true;
}

// ---- Points, fills and lines ------------------------------------------------------------

bool IGraphics::DrawPoint(const IColor* pColor, float x, float y, const IChannelBlend* pBlend) {
    if (!pColor) return false;
    PIX_PutPixel(mDrawBitmap, SatInt(x + 0.5), SatInt(y + 0.5), Pixel(*pColor), BlendWeight(pBlend), BlendMode(pBlend));
    return true;
}

bool IGraphics::ForcePixel(const IColor* pColor, int x, int y) {
    if (!pColor) return false;
    if (!PIX_HasPixels(mDrawBitmap) || x < 0 || y < 0 || x >= mDrawBitmap->getWidth() ||
        y >= mDrawBitmap->getHeight())
        return true;
    *PIX_PixelAddress(*mDrawBitmap, x, y) = Pixel(*pColor);
    return true;
}

IColor IGraphics::GetPixelColor(int x, int y) {
    const PIX_PixelValue p = PIX_GetPixel(mDrawBitmap, x, y);
    return IColor(PIX_PixelA(p), PIX_PixelR(p), PIX_PixelG(p), PIX_PixelB(p));
}

bool IGraphics::FillIRect(const IColor* pColor, const IRECT* pR, const IChannelBlend* pBlend) {
    if (!pColor || !pR) return false;
    // During a redraw nothing outside the draw rectangle is shown, so a fill (the panel
    // background's, every redraw) covers only its share of it.
    const IRECT r = mRedrawing ? ClipToDraw(*pR, mDrawRECT) : *pR;
    PIX_FillRect(mDrawBitmap, r.L, r.T, r.W(), r.H(), Pixel(*pColor), BlendWeight(pBlend), BlendMode(pBlend));
    return true;
}

bool IGraphics::FillTriangle(const IColor* pColor, int x1, int y1, int x2, int y2, int x3, int y3,
                             const IChannelBlend* pBlend) {
    if (!pColor) return false;
    PIX_FillTriangle(mDrawBitmap, x1, y1, x2, y2, x3, y3, Pixel(*pColor), BlendWeight(pBlend), BlendMode(pBlend));
    return true;
}

bool IGraphics::FillConvexPolygon(const IColor* pColor, const int* x, const int* y, int nPoints,
                                  const IChannelBlend* pBlend) {
    if (!pColor) return false;
    if (x && y && nPoints >= 3)
        PIX_FillConvexPolygon(mDrawBitmap, x, y, nPoints, Pixel(*pColor), BlendWeight(pBlend), BlendMode(pBlend));
    return true;
}

bool IGraphics::DrawLine(const IColor* pColor, float x1, float y1, float x2, float y2, const IChannelBlend* pBlend,
                         bool antiAlias) {
    if (!pColor) return false;
    PIX_Line(mDrawBitmap, SatInt(x1), SatInt(y1), SatInt(x2), SatInt(y2), Pixel(*pColor), BlendWeight(pBlend),
             int(BlendMode(pBlend)), antiAlias);
    return true;
}

bool IGraphics::DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi) {
    if (!pColor) return false;
    PIX_Line(mDrawBitmap, xi, yLo, xi, yHi, Pixel(*pColor), 1.0f, PIX_MODE_COPY, false);
    return true;
}

bool IGraphics::DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi) {
    if (!pColor) return false;
    PIX_Line(mDrawBitmap, xLo, yi, xHi, yi, Pixel(*pColor), 1.0f, PIX_MODE_COPY, false);
    return true;
}

// The outline runs along R and B themselves, one pixel outside the rectangle's area.
bool IGraphics::DrawRectOutline(const IColor* pColor, const IRECT* pR) {
    if (!pColor || !pR) return false;
    const PIX_PixelValue c = Pixel(*pColor);
    PIX_Line(mDrawBitmap, pR->L, pR->T, pR->R, pR->T, c, 1.0f, PIX_MODE_COPY, false);
    PIX_Line(mDrawBitmap, pR->L, pR->B, pR->R, pR->B, c, 1.0f, PIX_MODE_COPY, false);
    PIX_Line(mDrawBitmap, pR->L, pR->T, pR->L, pR->B, c, 1.0f, PIX_MODE_COPY, false);
    PIX_Line(mDrawBitmap, pR->R, pR->T, pR->R, pR->B, c, 1.0f, PIX_MODE_COPY, false);
    return true;
}

namespace {

double Fraction(float f) { return f > 0.0f ? std::min(double(f), 1.0) : 0.0; }  // NaN gives 0

}  // namespace

bool IGraphics::DrawVerticalLineInRect(const IColor* pColor, const IRECT* pR, float frac) {
    if (!pColor || !pR) return false;
    const int x = SatInt(pR->L + std::trunc(double(pR->W()) * Fraction(frac)));
    PIX_Line(mDrawBitmap, x, pR->T, x, pR->B, Pixel(*pColor), 1.0f, PIX_MODE_COPY, false);
    return true;
}

bool IGraphics::DrawHorizontalLineInRect(const IColor* pColor, const IRECT* pR, float frac) {
    if (!pColor || !pR) return false;
    const int y = SatInt(pR->B - std::trunc(double(pR->H()) * Fraction(frac)));
    PIX_Line(mDrawBitmap, pR->L, y, pR->R, y, Pixel(*pColor), 1.0f, PIX_MODE_COPY, false);
    return true;
}

bool IGraphics::DrawRadialLine(const IColor* pColor, float cx, float cy, float angle, float rMin, float rMax,
                               const IChannelBlend* pBlend, bool antiAlias) {
    if (!pColor) return false;
    const double s = std::sin(double(angle)), c = std::cos(double(angle));
    PIX_Line(mDrawBitmap, SatInt(cx + rMin * s), SatInt(cy - rMin * c), SatInt(cx + rMax * s), SatInt(cy - rMax * c),
             Pixel(*pColor), BlendWeight(pBlend), int(BlendMode(pBlend)), antiAlias);
    return true;
}

bool IGraphics::DrawArc(const IColor* pColor, float cx, float cy, float r, float minAngle, float maxAngle,
                        const IChannelBlend* pBlend, bool antiAlias) {
    if (!pColor) return false;
    PIX_Arc(mDrawBitmap, cx, cy, r, minAngle, maxAngle, Pixel(*pColor), BlendWeight(pBlend), int(BlendMode(pBlend)),
            antiAlias);
    return true;
}

bool IGraphics::DrawCircle(const IColor* pColor, float cx, float cy, float r, const IChannelBlend* pBlend,
                           bool antiAlias) {
    if (!pColor) return false;
    PIX_Circle(mDrawBitmap, cx, cy, r, Pixel(*pColor), BlendWeight(pBlend), int(BlendMode(pBlend)), antiAlias);
    return true;
}

bool IGraphics::FillCircle(const IColor* pColor, int cx, int cy, float r, const IChannelBlend* pBlend,
                           bool antiAlias) {
    if (!pColor) return false;
    PIX_FillCircle(mDrawBitmap, float(cx), float(cy), r, Pixel(*pColor), BlendWeight(pBlend), int(BlendMode(pBlend)),
                   antiAlias);
    return true;
}

bool IGraphics::DrawRoundRect(const IColor* pColor, const IRECT* pR, const IChannelBlend* pBlend, int cornerRadius,
                              bool antiAlias) {
    if (!pColor || !pR) return false;
    PIX_RoundRect(mDrawBitmap, float(pR->L), float(pR->T), float(pR->W()), float(pR->H()), cornerRadius,
                  Pixel(*pColor), BlendWeight(pBlend), int(BlendMode(pBlend)), antiAlias);
    return true;
}

// A cross of three rectangles with a disc in each corner.
bool IGraphics::FillRoundRect(const IColor* pColor, const IRECT* pR, const IChannelBlend* pBlend, int cornerRadius,
                              bool antiAlias) {
    if (!pColor || !pR) return false;
    const PIX_PixelValue colour = Pixel(*pColor);
    const float alpha = BlendWeight(pBlend);
    const PIX_DrawMode mode = BlendMode(pBlend);
    const int64_t c = cornerRadius, L = pR->L, T = pR->T, R = pR->R, B = pR->B, w = R - L, h = B - T;
    auto fill = [&](int64_t x, int64_t y, int64_t fw, int64_t fh) {
        // Sides beyond the int range only come from absurd radii: nothing to fill then.
        if (x < INT32_MIN || y < INT32_MIN || fw > INT32_MAX || fh > INT32_MAX || x > INT32_MAX || y > INT32_MAX)
            return;
        PIX_FillRect(mDrawBitmap, int(x), int(y), int(fw), int(fh), colour, alpha, mode);
    };
    fill(L + c, T, w - 2 * c, h);
    fill(L, T + c, c, h - 2 * c);
    fill(R - c, T + c, c, h - 2 * c);
    const float r = float(cornerRadius);
    PIX_FillCircle(mDrawBitmap, float(L + c), float(T + c), r, colour, alpha, int(mode), antiAlias);
    PIX_FillCircle(mDrawBitmap, float(R - c - 1), float(B - c - 1), r, colour, alpha, int(mode), antiAlias);
    PIX_FillCircle(mDrawBitmap, float(R - c - 1), float(T + c), r, colour, alpha, int(mode), antiAlias);
    PIX_FillCircle(mDrawBitmap, float(L + c), float(B - c - 1), r, colour, alpha, int(mode), antiAlias);
    return true;
}

bool IGraphics::FillCubicBezier(const IColor* pColor, int fillToY, float x0, float y0, float x1, float y1, float x2,
                                float y2, float x3, float y3, float alpha, float tolerance) {
    if (!pColor) return false;
    PIX_FillCBezier(mDrawBitmap, x0, y0, x1, y1, x2, y2, x3, y3, fillToY, Pixel(*pColor), alpha, int(kNoBlendMode),
                    tolerance);
    return true;
}

bool IGraphics::DrawQBezier(const IColor* pColor, float x0, float y0, float x1, float y1, float x2, float y2,
                            float alpha, bool antiAlias, float tolerance) {
    if (!pColor) return false;
    PIX_DrawQBezier(mDrawBitmap, x0, y0, x1, y1, x2, y2, Pixel(*pColor), alpha, int(kNoBlendMode), antiAlias,
                    tolerance);
    return true;
}

void* IGraphics::GetBackBufferBits() { return mDrawBitmap ? mDrawBitmap->getBits() : nullptr; }

// ---- Text -------------------------------------------------------------------------------

PIX_IFont* IGraphics::CacheFont(IText* pTxt) {
    if (!pTxt) return nullptr;
    PIX_IFont* font = FindOrMakeFont(pTxt->size, pTxt->orientation, pTxt->style, pTxt->quality, pTxt->font);
    if (font) pTxt->cached = font;
    return font;
}

bool IGraphics::DrawIText(IText* pTxt, const char* str, IRECT* pR, bool measure) {
    if (!str || !*str) return true;
    if (!pTxt || !pR) return false;
    if (!measure) return DrawTextInto(pTxt, str, *pR, false, -1, -1);
    PIX_IFont* font = pTxt->cached ? pTxt->cached : CacheFont(pTxt);
    if (!font) return false;
    font->SetTextColor(Pixel(pTxt->color));
    const int align = Alignment(pTxt->align);
    RECT m{0, 0, 0, 0};
    font->DrawText(mDrawBitmap, str, -1, &m, TextFlags(*pTxt, false) | DT_CALCRECT);
    const int w = m.right, h = m.bottom;
    // Edges saturate at the int range, like every other coordinate the engine derives.
    if (align == 1) {
        const int mid = SatInt((double(pR->L) + pR->R) * 0.5);
        pR->L = SatInt64(int64_t(mid) - w / 2);
        pR->R = SatInt64(int64_t(pR->L) + w);
    } else if (align == 0) {
        // Left-aligned measuring answers the width in R rather than an edge: the layout
        // editor, the one caller, reads R as the label's width.
        pR->R = w;
    } else {
        pR->L = SatInt64(int64_t(pR->R) - w);
    }
    pR->B = SatInt64(int64_t(pR->T) + h);
    return true;
}

bool IGraphics::DrawITextInside(IText* pTxt, const char* str, const IRECT& r, int width, int height) {
    if (!str || !*str) return true;
    return pTxt && DrawTextInto(pTxt, str, r, true, width, height);
}

bool IGraphics::DrawTextInto(IText* pTxt, const char* str, const IRECT& box, bool clip, int width, int height) {
    PIX_IFont* font = pTxt->cached ? pTxt->cached : CacheFont(pTxt);
    if (!font) return false;
    font->SetTextColor(Pixel(pTxt->color));

    const int align = Alignment(pTxt->align);
    const unsigned flags = TextFlags(*pTxt, clip);
    RECT r{box.L, box.T, box.R, box.B};
    // Outside a redraw, or in one that covers the whole buffer, nothing is left to keep.
    if (!mRedrawing || (mDrawRECT.L <= 0 && mDrawRECT.T <= 0 && mDrawRECT.R >= mDrawBitmap->getWidth() &&
                        mDrawRECT.B >= mDrawBitmap->getHeight())) {
        font->DrawText(mDrawBitmap, str, -1, &r, flags);
        return true;
    }
    // A redraw repaints the ground only inside the draw rectangle; text that reached
    // past it would be blended a second time over its own old pixels there, and its
    // edges would thicken. What the text covers outside is kept and put back.
    if (width < 0 || height < 0) {
        RECT m{0, 0, 0, 0};
        font->DrawText(mDrawBitmap, str, -1, &m, flags | DT_NOCLIP | DT_CALCRECT);
        width = m.right, height = m.bottom;
    }
    IRECT ink = TextInkBounds(box, align, width, height);
    if (clip) ink = ClipToDraw(ink, box);
    if (!ink.Meets(mDrawRECT)) return true;  // it would all be put back
    KeptOutside kept(mDrawBitmap, ink, mDrawRECT, mKeptTextPixels);
    font->DrawText(mDrawBitmap, str, -1, &r, flags);
    return true;
}

bool IGraphics::DrawBitmapText(const IBitmapStrip* pBitmap, const IRECT* pR, const IText* pTxt,
                               const IChannelBlend* pBlend, const char* str, bool vCenter, bool multiline,
                               int charWidth, int charHeight, int charOffset) {
    if (!pBitmap || !pR || !pTxt) return false;
    if (!str || !*str) return true;
    // Without a character cell or a box there is nothing to lay out (and nothing to
    // divide by).
    const int rw = pR->W();
    if (charWidth <= 0 || charHeight <= 0 || rw <= 0) return true;

    const int64_t len = int64_t(std::strlen(str));
    const int64_t tw = len * charWidth;
    int64_t y0 = pR->T;
    if (vCenter) y0 += (int64_t(pR->B) - (int64_t(pR->T) + charHeight)) / 2;
    int64_t x0 = pR->L;
    switch (Alignment(pTxt->align)) {
    case 1: x0 = pR->L + (pR->R - (tw + pR->L)) / 2; break;
    case 2: x0 = pR->R - tw; break;
    default: break;
    }

    int64_t perLine = len, lines = 1;
    if (!multiline || tw > rw) perLine = rw / charWidth;
    if (perLine < 1) return true;
    // Enough lines for every character: the last line may be short.
    if (multiline && tw > rw) lines = (len + perLine - 1) / perLine;

    int64_t i = 0;
    for (int64_t l = 0; l < lines && i < len; ++l) {
        int64_t x = x0;
        const int64_t y = y0 + l * charHeight;
        for (int64_t k = 0; k < perLine && i < len; ++k, ++i) {
            const IRECT cell(SatInt64(x), SatInt64(y), SatInt64(x + charWidth),
                             SatInt64(y + charHeight));
            DrawBitmapState(pBitmap, &cell, int(static_cast<unsigned char>(str[i])) - 31, pBlend);
            x += int64_t(charWidth) + charOffset;
        }
    }
    return true;
}
