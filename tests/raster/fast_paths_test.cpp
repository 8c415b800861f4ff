// The fast-path table walked entry by entry: each rounding against the general copy
// formula, and each operation against its entry (the drawn pixels are exactly the
// rounding's result).
#include <cstdlib>

#include "raster/fast_paths.h"
#include "raster_test_util.h"

namespace {

using pix::FastOp;

uint32_t Rounded(pix::Rounding r, uint32_t d, uint32_t c) {
    uint32_t out = 0;
    pix::WithRounding(r, [&]<pix::Rounding R>() { out = pix::RoundedCopy<R>(d, c); });
    return out;
}

// Draws with the operation of an entry at weight w; colourAt gives the colour each
// drawn pixel was given, mine says which pixels the entry draws.
struct Probe {
    std::function<void(PIX_IBitmap&, float alpha)> draw;
    std::function<uint32_t(int x, int y)> colourAt;
    std::function<bool(int x, int y)> mine;
};

constexpr uint32_t kColour = 0x9c3a61e5u;

Probe ProbeFor(FastOp op, const PIX_IBitmap& src) {
    using D = PIX_IBitmap&;
    auto all = [](int, int) { return true; };
    auto solid = [](int, int) { return kColour; };
    auto at = [&src](int x, int y) { return *PIX_PixelAddress(src, x, y); };
    auto line = [](int y1, int y2, bool aa) {
        return [=](D d, float a) { PIX_Line(&d, 0, y1, 7, y2, kColour, a, PIX_MODE_COPY, aa); };
    };
    switch (op) {
        case FastOp::Blit:
            return {[&src](D d, float a) { PIX_Blit(&d, &src, 0, 0, 0, 0, 8, 8, a, PIX_MODE_COPY); }, at, all};
        case FastOp::ScaledBlit:
            return {[&src](D d, float a) {
                        PIX_ScaledBlit(&d, const_cast<PIX_IBitmap*>(&src), 0, 0, 8, 8, 0, 0, 4, 4, a, PIX_MODE_COPY);
                    },
                    [at](int x, int y) { return at(x / 2, y / 2); }, all};
        case FastOp::Fill:
            return {[](D d, float a) { PIX_FillRect(&d, 0, 0, 8, 8, kColour, a, PIX_MODE_COPY); }, solid, all};
        case FastOp::LineRun: return {line(3, 3, false), solid, all};
        case FastOp::Outline: return {line(0, 3, false), solid, all};
        case FastOp::AADiagonalMain:
        case FastOp::AADiagonalSide:
            return {line(0, 7, true), solid, [op](int x, int y) { return (x == y) == (op == FastOp::AADiagonalMain); }};
        case FastOp::ThresholdedGlyph:
            return {[](D d, float a) {
                        PIX_CachedFont f;
                        f.SetFromHFont(CreateFont(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans"),
                                       PIX_FONT_OWNS_HFONT | PIX_FONT_MONO);
                        f.SetTextColor(kColour);
                        f.SetCombineMode(PIX_MODE_COPY, a);
                        RECT r{0, 0, 8, 8};
                        f.DrawText(&d, "W", -1, &r, 0);
                    },
                    solid, all};
    }
    return {};
}

TEST(FastPaths, EveryEntryRoundsCloseToTheCopyFormulaAndIsWhatItsOperationDraws) {
    std::mt19937 rng(5);
    for (const pix::FastPath& f : pix::kFastPaths) {
        // The weight the general loop would use: the anti-aliased diagonal splits the
        // call's weight three to one between the line and its side.
        const int op = int(f.op);
        const int w = f.op == FastOp::AADiagonalMain ? 3 * f.weight / 4
                      : f.op == FastOp::AADiagonalSide ? f.weight / 4 : f.weight;
        EXPECT_EQ(pix::RoundingWeight(f.rounding), w) << "op " << op << " weight " << f.weight;
        // A store is exact; each further truncated term may lose 1.
        int worst = 0;
        for (int d = 0; d < 256; ++d)
            for (int c = 0; c < 256; ++c) {
                const int got = int(Rounded(f.rounding, uint32_t(d), uint32_t(c)) & 255);
                worst = std::max(worst, std::abs(got - pix::channel::Copy(d, c, w)));
            }
        const int terms = f.rounding == pix::Rounding::Store         ? 0
                          : f.rounding == pix::Rounding::Quarter ||
                                  f.rounding == pix::Rounding::ThreeQuarters ? 2 : 1;
        EXPECT_LE(worst, terms) << "op " << op << " weight " << f.weight;

        // An alpha giving the entry's weight, exactly or with a fraction left over.
        const float alpha = float((f.weight + (f.exactAlpha ? 0.0 : 0.5)) / 256.0);
        PIX_MemBitmap src(8, 8), before(8, 8), after(8, 8);
        FillRandom(src, rng());
        FillRandom(before, rng());
        PIX_Copy(&after, &before);
        const Probe probe = ProbeFor(f.op, src);
        probe.draw(after, alpha);
        int drawn = 0, wrong = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint32_t b = Px(before, x, y), a = Px(after, x, y);
                if (a == b || !probe.mine(x, y)) continue;
                ++drawn;
                wrong += a != Rounded(f.rounding, b, probe.colourAt(x, y));
            }
        EXPECT_GT(drawn, 0) << "op " << op << " weight " << f.weight;
        EXPECT_EQ(wrong, 0) << "op " << op << " weight " << f.weight;
    }
}

}  // namespace
