#include "raster/bitmap_ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "raster/fill.h"
#include "raster/spans.h"

namespace {

// trunc(v x 256), saturated far beyond any byte arithmetic so the conversion is defined.
int64_t Fixed8(float v) {
    const double f = double(v) * 256.0;
    if (std::isnan(f)) return 0;
    return int64_t(std::clamp(f, -1e12, 1e12));
}

}  // namespace

void PIX_MultiplyAddRect(PIX_IBitmap* bitmap, int x, int y, int width, int height, float redScale,
                         float greenScale, float blueScale, float alphaScale, float redAdd, float greenAdd,
                         float blueAdd, float alphaAdd) {
    pix::Box r;
    if (!pix::ClipBox(bitmap, x, y, width, height, r)) return;
    // Byte order A, R, G, B.
    const int64_t scale[4] = {Fixed8(alphaScale), Fixed8(redScale), Fixed8(greenScale), Fixed8(blueScale)};
    const int64_t add[4] = {Fixed8(alphaAdd), Fixed8(redAdd), Fixed8(greenAdd), Fixed8(blueAdd)};
    for (int j = 0; j < r.h; ++j) {
        auto* p = reinterpret_cast<uint8_t*>(PIX_PixelAddress(*bitmap, r.x, r.y + j));
        for (int i = 0; i < r.w * 4; ++i) {
            const int64_t v = (p[i] * scale[i & 3] + add[i & 3]) >> 8;
            p[i] = uint8_t(std::clamp<int64_t>(v, 0, 255));
        }
    }
}

void PIX_ProcessRect(PIX_IBitmap* bitmap, int x, int y, int width, int height, PIX_PixelCallback callback,
                     void* context) {
    pix::Box r;
    if (!callback || !pix::ClipBox(bitmap, x, y, width, height, r)) return;
    for (int j = 0; j < r.h; ++j) {
        uint32_t* p = PIX_PixelAddress(*bitmap, r.x, r.y + j);
        for (int i = 0; i < r.w; ++i) callback(p + i, context);
    }
}

void PIX_SetAlphaFromColorMask(PIX_IBitmap* bitmap, PIX_PixelValue color) {
    if (!PIX_HasPixels(bitmap)) return;
    const int width = bitmap->getWidth(), height = bitmap->getHeight();
    for (int j = 0; j < height; ++j) {
        uint32_t* p = PIX_PixelAddress(*bitmap, 0, j);
        for (int i = 0; i < width; ++i) {
            const uint32_t rgb = p[i] & 0xffffff00u;
            p[i] = rgb | (rgb == color ? 0u : 255u);
        }
    }
}

void PIX_SimpleFill(PIX_IBitmap* bitmap, int x, int y, PIX_PixelValue newColor, uint32_t compareMask,
                    uint32_t keepMask) {
    if (!PIX_HasPixels(bitmap) || x < 0 || y < 0 || x >= bitmap->getWidth() || y >= bitmap->getHeight()) return;
    const int width = bitmap->getWidth(), height = bitmap->getHeight();
    const uint32_t target = *PIX_PixelAddress(*bitmap, x, y) & compareMask;
    auto matches = [&](uint32_t p) { return (p & compareMask) == target; };
    auto fill = [&](uint32_t& p) { p = (p & keepMask) | newColor; };
    auto fillRow = [&](uint32_t* row) {
        fill(row[x]);
        for (int i = x + 1; i < width && matches(row[i]); ++i) fill(row[i]);
        for (int i = x - 1; i >= 0 && matches(row[i]); --i) fill(row[i]);
    };
    for (int j = y; j < height; ++j) {
        uint32_t* row = PIX_PixelAddress(*bitmap, 0, j);
        if (!matches(row[x])) break;
        fillRow(row);
    }
    for (int j = y - 1; j >= 0; --j) {
        uint32_t* row = PIX_PixelAddress(*bitmap, 0, j);
        if (!matches(row[x])) break;
        fillRow(row);
    }
}

void PIX_HalveBlitAA(PIX_IBitmap* dest, PIX_IBitmap* source) {
    if (!PIX_HasPixels(dest) || !PIX_HasPixels(source)) return;
    const int width = std::min(dest->getWidth(), source->getWidth() / 2);
    const int height = std::min(dest->getHeight(), source->getHeight() / 2);
    const auto* src = static_cast<const uint32_t*>(source->getBits());
    auto* dst = static_cast<uint32_t*>(dest->getBits());
    const int64_t srcSpan = source->getRowSpan(), dstSpan = dest->getRowSpan();
    using pix::QuarterOf;
    for (int j = 0; j < height; ++j) {
        const uint32_t* r0 = src + 2 * j * srcSpan;
        const uint32_t* r1 = r0 + srcSpan;
        uint32_t* d = dst + j * dstSpan;
        for (int i = 0; i < width; ++i)
            d[i] = QuarterOf(r0[2 * i]) + QuarterOf(r0[2 * i + 1]) + QuarterOf(r1[2 * i]) + QuarterOf(r1[2 * i + 1]);
    }
}

int PIX_BitmapCmp(const PIX_IBitmap* a, const PIX_IBitmap* b, int* diffRect) {
    return PIX_BitmapCmpEx(a, b, 0xffffffffu, diffRect);
}

int PIX_BitmapCmpEx(const PIX_IBitmap* a, const PIX_IBitmap* b, uint32_t channelMask, int* diffRect) {
    if (diffRect) std::fill(diffRect, diffRect + 4, 0);
    if (!a || !b) return a ? 1 : (b ? -1 : 0);
    if (a->getWidth() != b->getWidth()) return b->getWidth() - a->getWidth();
    if (a->getHeight() != b->getHeight()) return b->getHeight() - a->getHeight();
    // Without pixels there is nothing to compare; one side missing them orders like null.
    const bool pa = PIX_HasPixels(a), pb = PIX_HasPixels(b);
    if (!pa || !pb) return pa ? 1 : (pb ? -1 : 0);
    const int width = a->getWidth(), height = a->getHeight();
    if (!diffRect) {
        for (int j = 0; j < height; ++j) {
            const uint32_t* ra = PIX_PixelAddress(*a, 0, j);
            const uint32_t* rb = PIX_PixelAddress(*b, 0, j);
            if (channelMask == 0xffffffffu) {
                const int c = std::memcmp(ra, rb, size_t(width) * 4);
                if (c != 0) return c < 0 ? -1 : 1;
            } else {
                for (int i = 0; i < width; ++i)
                    if ((ra[i] ^ rb[i]) & channelMask) return 1;
            }
        }
        return 0;
    }
    int left = width, top = height, right = -1, bottom = -1;
    for (int j = 0; j < height; ++j) {
        const uint32_t* ra = PIX_PixelAddress(*a, 0, j);
        const uint32_t* rb = PIX_PixelAddress(*b, 0, j);
        for (int i = 0; i < width; ++i) {
            if ((ra[i] ^ rb[i]) & channelMask) {
                left = std::min(left, i);
                right = std::max(right, i);
                top = std::min(top, j);
                bottom = j;
            }
        }
    }
    if (right < 0) return 0;
    diffRect[0] = left;
    diffRect[1] = top;
    diffRect[2] = right - left + 1;
    diffRect[3] = bottom - top + 1;
    return 1;
}
