#include <gtest/gtest.h>

#include <random>

#include "raster/blit.h"
#include "raster/canary_bitmap.h"

namespace {

// The blur of the w x h area at (x0, y0) of `from`, byte by byte, written into the
// CanaryBitmap pixels `to` (row length `toWidth`) at (X, Y): the centre halved, each
// neighbour an eighth, or a quarter where the area's edge leaves only one neighbour on
// that axis.
void ReferenceBlur(const std::vector<uint32_t>& from, int fromWidth, int x0, int y0, int w, int h,
                   std::vector<uint32_t>& to, int toWidth, int X, int Y) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = 0;
            for (int sh = 0; sh < 32; sh += 8) {
                auto b = [&](int xx, int yy) { return int(from[size_t(y0 + yy) * fromWidth + x0 + xx] >> sh & 255); };
                int sum = b(x, y) / 2;
                if (x == 0) sum += b(1, y) / 4;
                else if (x == w - 1) sum += b(w - 2, y) / 4;
                else sum += b(x - 1, y) / 8 + b(x + 1, y) / 8;
                if (y == 0) sum += b(x, 1) / 4;
                else if (y == h - 1) sum += b(x, h - 2) / 4;
                else sum += b(x, y - 1) / 8 + b(x, y + 1) / 8;
                v |= uint32_t(sum) << sh;
            }
            to[size_t(Y + y) * toWidth + X + x] = v;
        }
}

TEST(Blur, RandomAreasOutOfPlaceMatchReference) {
    std::mt19937 rng(99);
    for (int iter = 0; iter < 300; ++iter) {
        CanaryBitmap src(1 + rng() % 30, 1 + rng() % 20, rng() % 2), dst(1 + rng() % 30, 1 + rng() % 20, rng() % 2);
        src.randomize(rng);
        dst.randomize(rng);
        const int sx = int(rng() % 40) - 8, sy = int(rng() % 30) - 8, dx = int(rng() % 40) - 8,
                  dy = int(rng() % 30) - 8;
        const int sw = int(rng() % 40), sh = int(rng() % 30);
        // The area as the rules clip it, computed independently.
        int l = std::max(sx, 0), t = std::max(sy, 0);
        int r = std::min(sx + sw, src.getWidth()), b = std::min(sy + sh, src.getHeight());
        int X = dx, Y = dy;
        if (X < 0) l -= X, X = 0;
        if (Y < 0) t -= Y, Y = 0;
        r = std::min(r, l + dst.getWidth() - X);
        b = std::min(b, t + dst.getHeight() - Y);
        auto want = dst.pixels();
        if (r - l >= 2 && b - t >= 2)
            ReferenceBlur(src.pixels(), src.getWidth(), l, t, r - l, b - t, want, dst.getWidth(), X, Y);
        PIX_Blur(&dst, &src, dx, dy, sx, sy, sw, sh);
        ASSERT_EQ(dst.pixels(), want) << "iter " << iter;
        ASSERT_EQ(dst.damagedCanaries() + src.damagedCanaries(), 0);
    }
}

// In place, narrow (stack rows) and wide (heap rows), and with the destination shifted
// over its own source in every direction: always the blur of the pixels as they were.
TEST(Blur, InPlaceAndOverlappingMatchOutOfPlace) {
    std::mt19937 rng(5);
    const int shifts[][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {3, 2}, {-2, -3}, {5, -1}};
    for (int width : {9, 1500})
        for (bool flipped : {false, true})
            for (const auto& s : shifts) {
                CanaryBitmap bm(width + 12, 12, flipped);
                bm.randomize(rng);
                const int x0 = 4, y0 = 4, w = width, h = 5;
                auto want = bm.pixels();
                ReferenceBlur(bm.pixels(), bm.getWidth(), x0, y0, w, h, want, bm.getWidth(), x0 + s[0], y0 + s[1]);
                PIX_Blur(&bm, &bm, x0 + s[0], y0 + s[1], x0, y0, w, h);
                ASSERT_EQ(bm.pixels(), want)
                    << "width " << width << " shift " << s[0] << "," << s[1] << " flipped " << flipped;
                ASSERT_EQ(bm.damagedCanaries(), 0);
            }
}

}  // namespace
