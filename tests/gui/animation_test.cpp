// Named animations: runs, reversals, the easing curves and the curve preview.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "gui/animation.h"

namespace {

// Steps a run until it reports an end value; returns every value it gave.
std::vector<double> RunToEnd(IModuleAnimation& a, bool forward, int f, int b, double from, double to) {
    std::vector<double> values;
    do {
        values.push_back(a.Start("x", forward, f, b, 0, 0, from, to));
    } while (a.IsAnyActive() && values.size() < 10000);
    return values;
}

TEST(Animation, RunsVisitEachStepRestAndReverseByTheShareCovered) {
    IModuleAnimation a;
    EXPECT_EQ(a.Start("x", false, 5, 5, 0, 0, -2, 7), -2);  // a new backward animation rests at `from`
    EXPECT_FALSE(a.IsAnyActive());
    for (int step = 0; step < 4; ++step) {
        EXPECT_DOUBLE_EQ(a.Start("fade", true, 4, 4, 1, 1, 10, 30), 10 + 20 * (step / 4.0) * (step / 4.0)) << step;
        EXPECT_TRUE(a.IsAnyActive());
    }
    EXPECT_EQ(a.Start("fade", true, 4, 4, 1, 1, 10, 30), 30);
    EXPECT_FALSE(a.IsAnyActive());
    EXPECT_EQ(a.Start("fade", true, 4, 4, 1, 1, 10, 30), 30);

    IModuleAnimation full;
    RunToEnd(full, true, 3, 3, 0, 100);
    const std::vector<double> back = RunToEnd(full, false, 3, 5, 0, 100);  // the full length back
    ASSERT_EQ(back.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_NEAR(back[i], 100 - 20.0 * i, 1e-12) << i;
    IModuleAnimation once;
    once.Start("x", true, 4, 4, 0, 0, 0, 1);
    EXPECT_EQ(RunToEnd(once, true, 100, 1, 0, 1).size(), 4u) << "later counts in one direction are ignored";
    // Four steps into a forward run of 10, then back: q = trunc(B / F x 4) steps.
    struct Case { int callF, callB; size_t calls; } backward[] = {
        {10, 20, 9}, {2, 20, 41}, {1000, 20, 1}, {10, 0, 1}, {0, 20, 21},  // F = 0: the whole backward run
    };
    for (const auto& c : backward) {
        IModuleAnimation r;
        for (int i = 0; i < 4; ++i) r.Start("x", true, 10, 20, 0, 0, 0, 10);
        EXPECT_EQ(RunToEnd(r, false, c.callF, c.callB, 0, 10).size(), c.calls) << c.callF << "/" << c.callB;
    }
    // Two steps into a backward run of 4, then forward: F - trunc(F / B x 2) steps.
    Case forward[] = {{6, 4, 4}, {6, 12, 6}, {6, 1, 1},  // the share exceeds F: the run ends at once, not never
                      {6, 0, 1}};                        // B = 0: the whole share
    for (const auto& c : forward) {
        IModuleAnimation r;
        RunToEnd(r, true, 4, 4, 0, 8);
        r.Start("x", false, 4, 4, 0, 0, 0, 8);
        r.Start("x", false, 4, 4, 0, 0, 0, 8);
        EXPECT_EQ(RunToEnd(r, true, c.callF, c.callB, 0, 8).size(), c.calls) << c.callF << "/" << c.callB;
    }
}

TEST(Animation, FuzzedCallSequencesStayFiniteAndEveryRunEnds) {
    std::mt19937 rng(20261206);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    const char* names[] = {"a", "b", "c", "d"};
    constexpr int kMaxSteps = 40;
    for (int round = 0; round < 200; ++round) {
        IModuleAnimation a;
        a.SetBezierPoints(real(0, 1), real(-2, 3), real(0, 1), real(-2, 3));
        const double from = real(-1000, 1000), to = real(-1000, 1000);
        auto start = [&](const char* name, bool forward) {
            return a.Start(name, forward, pick(-3, kMaxSteps), pick(-3, kMaxSteps), pick(0, 40), pick(0, 40), from, to);
        };
        for (int call = 0; call < 300; ++call) {
            if (pick(0, 9) == 0) a.SetFlag();
            ASSERT_TRUE(std::isfinite(start(names[pick(0, 3)], pick(0, 1) == 1))) << round << " call " << call;
        }
        // Whatever state the sequence left, a run ends in one direction, at that
        // direction's end value; a reversal may scale a run by up to kMaxSteps.
        for (const char* name : names) {
            if (a.FindByName(name) < 0) continue;
            const bool forward = pick(0, 1) == 1;
            double v = 0;
            for (int call = 0; call <= kMaxSteps * kMaxSteps + 1; ++call)
                ASSERT_TRUE(std::isfinite(v = start(name, forward)));
            EXPECT_EQ(v, forward ? to : from) << "round " << round << " " << name;
        }
        EXPECT_FALSE(a.IsAnyActive());
    }
}

TEST(Ease, CurveTable) {
    struct Case { int curve; double t, e; } cases[] = {
        {0, 0.3, 0.3}, {1, 0.5, 0.25}, {2, 0.5, 0.75}, {3, 0.25, 0.125}, {3, 0.75, 0.875},
        {4, 0.5, 0.125}, {5, 0.5, 0.875}, {6, 0.25, 0.0625}, {6, 0.75, 0.9375},
        {7, 0.5, 0.0625}, {8, 0.5, 0.9375}, {9, 0.25, 0.03125}, {9, 0.75, 0.96875},
        {10, 0.5, 0.03125}, {11, 0.5, 0.96875}, {12, 0.25, 0.015625}, {12, 0.75, 0.984375},
        {13, 0.5, 1 - std::sqrt(0.5)}, {14, 0.5, std::sqrt(0.5)}, {15, 0.5, 0.5},
        {16, 0.6, 0.2}, {17, 0.4, 0.8}, {18, 0.25, 0.5 * (1 - std::sqrt(0.75))},
        {18, 0.75, 0.5 * (1 + std::sqrt(0.75))}, {19, 0.5, 0.03125}, {20, 0.5, 0.96875},
        {21, 0.25, 0.015625}, {21, 0.75, 0.984375},
        {22, 0.5, -std::sqrt(0.5) / 32}, {23, 0.5, 1 + std::sqrt(0.5) / 32},
        {24, 0.25, -std::sqrt(0.5) / 64}, {24, 0.75, 1 + std::sqrt(0.5) / 64},
        {25, 0.5, -0.375}, {26, 0.5, 1.375}, {27, 0.25, -0.1875}, {27, 0.75, 1.1875},
        {28, 0.5, 0.28125}, {29, 0.2, 0.3025}, {29, 0.5, 0.71875}, {29, 0.8, 0.9122437673130194},
        {29, 0.95, 0.973}, {30, 0.25, 0.140625}, {30, 0.75, 0.859375}, {34, 0.5, 0.5},
        {40, 0.25, 0.25004889510459538},  // the default custom curve: the straight line, within 0.001
        // Newton's method from s = t, at most 10 steps, stopping within 0.001 in x.
        {36, 0.05, 0.006054219713175745}, {36, 0.3, 0.5763682415974828}, {36, 0.7, 0.9613384592384231},
        {31, 0.1, 0.09326250000000004}, {31, 0.5, 0.8024139389617437}, {37, 0.3, 0.08005215582706078},
        {37, 0.9, 0.9755143649958777},
    };
    for (const auto& c : cases) {
        IModuleAnimation a;
        EXPECT_NEAR(a.Ease(c.curve, 0, 1, c.t), c.e, 1e-12) << "curve " << c.curve << " t " << c.t;
        EXPECT_NEAR(a.Ease(c.curve, 100, 50, c.t), 100 - 50 * c.e, 1e-9) << c.curve;
    }
    IModuleAnimation a;
    a.SetBezierPoints(0.3, -0.4, 0.6, 1.5);
    for (int k = 0; k < IModuleAnimation::kNumCurves; ++k)  // every curve runs from 0 to 1
        EXPECT_TRUE(std::abs(a.Ease(k, 0, 1, 0.0)) < 1e-9 && std::abs(a.Ease(k, 0, 1, 1.0) - 1) < 1e-9)
            << IModuleAnimation::CurveLabel(k);
    EXPECT_TRUE(a.Ease(19, 3, 9, 0.0) == 3.0 && a.Ease(21, 3, 9, 1.0) == 9.0);  // exactly, not 2^-10 away
    a.SetFlag();  // smoothing applies to one evaluation only, and an unknown curve keeps it
    for (int unknown : {41, -1, INT32_MIN}) EXPECT_EQ(a.Ease(unknown, 5, 9, 0.25), 0.0) << unknown;
    EXPECT_DOUBLE_EQ(a.Ease(0, 0, 1, 0.25), 0.15625);
    EXPECT_DOUBLE_EQ(a.Ease(0, 0, 1, 0.25), 0.25);
    // x(s) = 4s^3 - 3s^2 is flat at s = 0.5, Newton's start for t = 0.5: the solver stops there.
    a.SetBezierPoints(0, 0, -1, 1);
    EXPECT_DOUBLE_EQ(a.Ease(40, 0, 1, 0.5), 0.5);
}

}  // namespace
