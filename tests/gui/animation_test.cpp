// The easing curves.
#include <gtest/gtest.h>

#include <cmath>

#include "gui/animation.h"

namespace {

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
