// The EQ graph: its axis, labels and gain scale, its handles, the shape of each curve and the value label.
#include <cmath>
#include <tuple>

#include "controls_fixture.h"
#include "gui/controls/para_eq_graph.h"

using namespace ctltest;

namespace {

IParaGraphicEqSettings Settings(float fmin, float fmax, float gmin = -24, float gmax = 24, const char* freqs = "",
                                const char* gains = "") {
    IParaGraphicEqSettings s;
    s.minFreq = fmin, s.maxFreq = fmax, s.minGain = gmin, s.maxGain = gmax, s.handleRadius = 4;
    std::snprintf(s.freqLabels, sizeof s.freqLabels, "%s", freqs);
    std::snprintf(s.gainLabels, sizeof s.gainLabels, "%s", gains);
    return s;
}

IParaGraphicEqBand Band(int index, int type, float freq, float gain, float width) {
    return IParaGraphicEqBand{index, type, gain, freq, width, 20, 20000, -24, 24, 0.5f, 1.15f};
}

using EqGraph = ControlsFixture;

TEST_F(EqGraph, AxisGainScaleAndLabels) {
    // The axis as Reset settles it: its ends (x 0 and 1), its octaves (the x of twice its
    // lower end), and the gains that reach the top and the bottom.
    struct Case {
        float fmin, fmax, gmin, gmax, effMin, effMax, octaves, gainAtTop, gainAtBottom;
    } cases[] = {{5, 30000, -30, 30, 20, 22000, 10.103f, 30, -30},  {20, 12000, -24, 24, 20, 12000, 9.2288f, 24, -24},
                 {10, 24000, 0, 0, 10, 24000, 11.2288f, 40, -40},   {500, 400, -6, 60, 20, 400, 4.3219f, 40, -6},
                 {22000, 30000, -50, 6, 20, 22000, 10.103f, 6, -40}};  // an empty axis otherwise
    for (Case c : cases) {
        SCOPED_TRACE(testing::Message() << c.fmin << ".." << c.fmax << " Hz, " << c.gmin << ".." << c.gmax << " dB");
        IParaGraphicEq eq(&plug, IRECT(0, 0, 100, 50), -1, Settings(c.fmin, c.fmax, c.gmin, c.gmax));
        EXPECT_NEAR(eq.FreqToX(c.effMin), 0.0f, 1e-6);
        EXPECT_NEAR(eq.FreqToX(c.effMax), 1.0f, 1e-5);
        EXPECT_NEAR(1.0f / eq.FreqToX(2 * c.effMin), c.octaves, 1e-3);
        EXPECT_NEAR(eq.GainToY(c.gainAtTop), 1.0f, 1e-6);
        EXPECT_NEAR(eq.GainToY(c.gainAtBottom), 0.0f, 1e-6);
    }
    IParaGraphicEq eq(&plug, IRECT(0, 0, 100, 50), -1, Settings(20, 12000, -24, 24, "25, 50, 1000,2500, 0", "-18, 0, 18"));
    EXPECT_NEAR(eq.FreqToX(1000), 0.611f, 1e-3);
    ASSERT_EQ(eq.NFreqLabels(), 4) << "0 Hz has no place on the axis";
    const char* texts[] = {"25", "50", "1k", "2.5k"};
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(eq.FreqLabelText(i), texts[i]);
    EXPECT_NEAR(eq.FreqLabelPos(2), 0.611f, 1e-3);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(eq.GainLabelPos(i), 0.875f - 0.375f * i, 1e-6);  // from the top
    const char* many = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25";
    IParaGraphicEq capped(&plug, IRECT(0, 0, 100, 50), -1, Settings(20, 12000, -24, 24, many, many));
    EXPECT_EQ(std::tuple(capped.NFreqLabels(), capped.NGainLabels()), std::tuple(20, 20)) << "both label lists capped";
}

TEST_F(EqGraph, HandlesGrabWithinNinePixelsAndDragTheBand) {
    // 10 octaves over 200 pixels: 640 Hz sits at x 100, 0 dB at y 50.
    auto* eq = Add(new IParaGraphicEq(&plug, IRECT(50, 20, 250, 120), kParamUnit, Settings(20, 20480)));
    eq->SetBand(Band(2, IParaGraphicEqBand::kPeak, 640, 0, 1));
    eq->SetBand(Band(10, IParaGraphicEqBand::kPeak, 100, 0, 1));  // outside the count: ignored
    DrawAlone(eq);
    for (auto [dx, dy] : {std::pair{9, 9}, {-9, -9}, {9, -9}, {0, 10}, {0, -10}, {11, 0}, {-11, 0}}) {
        eq->SetValueFromPlug(0.0);
        eq->OnMouseDown(150 + dx, 70 + dy, &left);
        EXPECT_EQ(eq->GetValue(), std::abs(dx) < 10 && std::abs(dy) < 10 ? 2 / 3.0 : 0.0) << dx << "," << dy;
        eq->OnMouseUp(0, 0, &left);
    }
    // Left drag to the middle column, a quarter from the top: 640 Hz, +12 dB.
    eq->OnMouseDown(150, 70, &left);
    eq->OnMouseDrag(150, 45, 0, -25, &left);
    IParaGraphicEqBand got;
    eq->GetBand(&got);
    EXPECT_EQ(std::tuple(got.index, std::round(got.freq * 100), std::round(got.gain * 1e4)),
              std::tuple(2, 64000.0f, 120000.0f));
    EXPECT_NEAR(plug.GetParam(kParamUnit)->Value(), 2 / 3.0, 1e-3);
    eq->OnMouseUp(0, 0, &left);
    // Right drag: the width in tenths within its limits.
    eq->SetBand(Band(2, IParaGraphicEqBand::kPeak, 640, 0, 1));
    eq->OnMouseDown(150, 70, &right);
    for (auto [dX, dY, width] : {std::tuple{0, -1, 1.1f}, {0, -1, 1.15f}, {1, 0, 1.15f}, {0, 1, 1.05f},
                                 {-1, 0, 0.95f}, {0, 0, 0.95f}}) {
        eq->OnMouseDrag(150, 70, dX, dY, &right);
        eq->GetBand(&got);
        EXPECT_NEAR(got.width, width, 1e-5) << dX << "," << dY;
    }
    IParaGraphicEqSettings s = Settings(20, 20480);
    s.nBands = 1;
    auto* one = Add(new IParaGraphicEq(&plug, IRECT(0, 0, 200, 100), kParamUnit, s));
    one->SetBand(Band(0, 0, 640, 0, 1));
    DrawAlone(one);
    one->SetValueFromPlug(0.5);
    one->OnMouseDown(100, 50, &left);
    EXPECT_EQ(one->GetValue(), 0.0) << "one band: value 0, not 0/0";
}

TEST_F(EqGraph, CurvesAndValueLabel) {
    // 10 octaves over 200 x 96 pixels; +12 dB of +-24 is 24 pixels up.
    auto* eq = Add(new IParaGraphicEq(&plug, IRECT(0, 0, 200, 96), -1, Settings(20, 20480)));
    struct Case { int type; float width; std::vector<std::pair<int, float>> columns; } cases[] = {
        // A one-octave peak: its top at 640 Hz, back to 0 one octave (20 columns) beside it.
        {IParaGraphicEqBand::kPeak, 1, {{100, -24}, {79, 0}, {121, 0}, {60, 0}, {140, 0}}},
        // Slope 2: the shelf turns over a fifth of the width, columns 80 to 120.
        {IParaGraphicEqBand::kLowShelf, 2, {{0, -24}, {79, -24}, {80, -24}, {100, -12}, {120, 0}, {199, 0}}},
        {IParaGraphicEqBand::kHighShelf, 2, {{0, 0}, {80, 0}, {100, -12}, {120, -24}, {199, -24}}},
    };
    for (const Case& c : cases) {
        eq->SetBand(Band(0, c.type, 640, 12, c.width));
        DrawAlone(eq);
        for (auto [col, offset] : c.columns)
            EXPECT_NEAR(eq->SummedCurve()[col], offset, 1e-3) << "type " << c.type << " column " << col;
    }
    // Two bands add up; a cut below 0 dB goes down by its own scale.
    eq->SetBand(Band(0, IParaGraphicEqBand::kPeak, 640, 12, 1));
    eq->SetBand(Band(1, IParaGraphicEqBand::kLowShelf, 640, -6, 2));
    DrawAlone(eq);
    EXPECT_NEAR(eq->SummedCurve()[100], -24 + 6, 1e-3);
    EXPECT_NEAR(eq->SummedCurve()[10], 12, 1e-3);
    eq->SetBand(Band(1, IParaGraphicEqBand::kLowShelf, 640, 0, 2));

    struct Label {
        int type;
        float freq, gain, width;
        const char* text;
    } labels[] = {{0, 250, 3, 1, "250.00Hz\n3dB\nQ=1.41"},
                  {0, 2500, -4.25f, 2, " 2.50kHz\n-4.25dB\nQ=0.667"},
                  {1, 999.999f, 0, 0.75f, "1000.00Hz\n0dB\nS=0.9"},
                  {2, 7000, 15, 1.15f, " 7.00kHz\n15dB\nS=0.5"},
                  {7, 50, 1, 3, "50.00Hz\n1dB\nB=3"}};
    for (Label l : labels) {
        char text[96];
        IParaGraphicEq::FormatValueLabel(Band(0, l.type, l.freq, l.gain, l.width), text, sizeof text);
        EXPECT_STREQ(text, l.text);
    }
}

}  // namespace
