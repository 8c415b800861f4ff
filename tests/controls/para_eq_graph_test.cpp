#include <cmath>
#include <random>
#include <string>

#include "controls_fixture.h"
#include "gui/controls/para_eq_graph.h"

using namespace ctltest;

namespace {

IParaGraphicEqSettings Settings(float fmin, float fmax, float gmin = -24.0f, float gmax = 24.0f) {
    IParaGraphicEqSettings s;
    s.minFreq = fmin;
    s.maxFreq = fmax;
    s.minGain = gmin;
    s.maxGain = gmax;
    s.handleRadius = 4.0f;
    return s;
}

IParaGraphicEqBand Band(int index, int type, float freq, float gain, float width) {
    IParaGraphicEqBand b;
    b.index = index;
    b.type = type;
    b.freq = freq;
    b.gain = gain;
    b.width = width;
    b.minFreq = 20.0f;
    b.maxFreq = 20000.0f;
    b.minGain = -24.0f;
    b.maxGain = 24.0f;
    b.minWidth = 0.5f;
    b.maxWidth = 1.15f;
    return b;
}

using EqGraph = ControlsFixture;

TEST_F(EqGraph, AxisAndGainScaleSettle) {
    struct Case {
        float fmin, fmax, gmin, gmax;
        float effMin, effMax, octaves;
        float gainAtTop;  // the gain that reaches the top edge
    };
    const Case cases[] = {
        {5, 30000, -30, 30, 20, 22000, 10.103f, 30},  {20, 12000, -24, 24, 20, 12000, 9.2288f, 24},
        {10, 24000, 0, 0, 10, 24000, 11.2288f, 40},   {9.9f, 50, -50, 12, 20, 50, 1.3219f, 12},
        {500, 400, -6, 60, 20, 400, 4.3219f, 40},     {30000, 40000, -6, 6, 20, 22000, 10.103f, 6},
        {22000, 30000, -6, 6, 20, 22000, 10.103f, 6},
    };
    for (const Case& c : cases) {
        IParaGraphicEq eq(&plug, IRECT(0, 0, 100, 50), -1, Settings(c.fmin, c.fmax, c.gmin, c.gmax));
        EXPECT_EQ(eq.MinFreq(), c.effMin) << c.fmin << ".." << c.fmax;
        EXPECT_EQ(eq.MaxFreq(), c.effMax) << c.fmin << ".." << c.fmax;
        EXPECT_NEAR(eq.Octaves(), c.octaves, 1e-3);
        EXPECT_NEAR(eq.GainToY(c.gainAtTop), 1.0f, 1e-6);
        EXPECT_NEAR(eq.GainToY(0.0f), 0.5f, 1e-6);
    }
    IParaGraphicEq eq(&plug, IRECT(0, 0, 100, 50), -1, Settings(20, 12000));
    EXPECT_NEAR(eq.FreqToX(1000.0f), 0.611f, 1e-3);
    EXPECT_NEAR(eq.FreqToX(20.0f), 0.0f, 1e-6);
    EXPECT_NEAR(eq.FreqToX(12000.0f), 1.0f, 1e-6);
    EXPECT_NEAR(eq.GainToY(-40.0f), 0.5f - 40.0f / 48.0f, 1e-6);
}

TEST_F(EqGraph, LabelsParseCapAndPlace) {
    struct Case {
        std::string freq, gain;
        std::vector<std::string> freqTexts, gainTexts;
    };
    std::string many;
    for (int i = 1; i <= 25; ++i) many += std::to_string(i) + (i < 25 ? "," : "");
    const Case cases[] = {
        {"25, 50, 1000", "-18, 0, 18", {"25", "50", "1k"}, {"-18", "0", "18"}},
        {"2500,12000, 0, 20", "", {"2.5k", "12k", "20"}, {}},
        {"", " ", {}, {}},
    };
    for (const Case& c : cases) {
        IParaGraphicEqSettings s = Settings(20, 12000);
        std::snprintf(s.freqLabels, sizeof s.freqLabels, "%s", c.freq.c_str());
        std::snprintf(s.gainLabels, sizeof s.gainLabels, "%s", c.gain.c_str());
        IParaGraphicEq eq(&plug, IRECT(0, 0, 100, 50), -1, s);
        ASSERT_EQ(eq.NFreqLabels(), int(c.freqTexts.size())) << c.freq;
        for (int i = 0; i < eq.NFreqLabels(); ++i) EXPECT_EQ(eq.FreqLabelText(i), c.freqTexts[i]);
        ASSERT_EQ(eq.NGainLabels(), int(c.gainTexts.size())) << c.gain;
        for (int i = 0; i < eq.NGainLabels(); ++i) EXPECT_EQ(eq.GainLabelText(i), c.gainTexts[i]);
    }
    IParaGraphicEqSettings s = Settings(20, 12000);
    std::snprintf(s.freqLabels, sizeof s.freqLabels, "%s", "25, 50, 1000");
    std::snprintf(s.gainLabels, sizeof s.gainLabels, "%s", "-18, 0, 18");
    IParaGraphicEq eq(&plug, IRECT(0, 0, 100, 50), -1, s);
    EXPECT_NEAR(eq.FreqLabelPos(2), 0.611f, 1e-3);
    EXPECT_NEAR(eq.GainLabelPos(0), 0.875f, 1e-6);  // measured from the top
    EXPECT_NEAR(eq.GainLabelPos(1), 0.5f, 1e-6);
    EXPECT_NEAR(eq.GainLabelPos(2), 0.125f, 1e-6);

    // Both tables hold 20: longer lists are cut, gains as well as frequencies.
    std::snprintf(s.freqLabels, sizeof s.freqLabels, "%s", many.c_str());
    std::snprintf(s.gainLabels, sizeof s.gainLabels, "%s", many.c_str());
    IParaGraphicEq capped(&plug, IRECT(0, 0, 100, 50), -1, s);
    EXPECT_EQ(capped.NFreqLabels(), IParaGraphicEq::kMaxLabels);
    EXPECT_EQ(capped.NGainLabels(), IParaGraphicEq::kMaxLabels);
}

TEST_F(EqGraph, HandlesGrabWithinNinePixelsAndDragTheBand) {
    // 10 octaves over 200 pixels: 640 Hz sits at x 100, 0 dB at y 50.
    auto* eq = Add(new IParaGraphicEq(&plug, IRECT(50, 20, 250, 120), kParamUnit, Settings(20, 20480)));
    eq->SetBand(Band(0, IParaGraphicEqBand::kLowShelf, 60, 0, 1));
    eq->SetBand(Band(2, IParaGraphicEqBand::kPeak, 640, 0, 1));
    eq->OnMouseDown(150, 70, &left);
    eq->OnMouseDrag(160, 70, 10, 0, &left);
    EXPECT_EQ(eq->GetValue(), 0.0) << "a drag before the first draw has no size to map onto";
    eq->OnMouseUp(160, 70, &left);
    DrawAlone(eq);

    struct Case {
        int dx, dy;
    };
    for (Case c : {Case{9, 9}, {-9, -9}, {9, -9}, {0, 10}, {0, -10}, {11, 0}, {-11, 0}, {0, 0}}) {
        const bool expected = std::abs(c.dx) < 10 && std::abs(c.dy) < 10;
        eq->SetValueFromPlug(0.0);
        eq->OnMouseDown(150 + c.dx, 70 + c.dy, &left);
        EXPECT_EQ(eq->GetValue(), expected ? 2 / 3.0 : 0.0) << c.dx << "," << c.dy;
        eq->OnMouseUp(0, 0, &left);
    }

    // A left drag to the middle column and a quarter from the top: 640 Hz, +12 dB.
    eq->OnMouseDown(150, 70, &left);
    eq->OnMouseDrag(150, 45, 0, -25, &left);
    IParaGraphicEqBand got;
    eq->GetBand(&got);
    EXPECT_EQ(got.index, 2);
    EXPECT_NEAR(got.freq, 640.0f, 0.01f);
    EXPECT_NEAR(got.gain, 12.0f, 1e-4);
    EXPECT_NEAR(plug.GetParam(kParamUnit)->Value(), 2 / 3.0, 1e-3);
    eq->OnMouseDrag(500, 500, 350, 455, &left);  // far outside: held by the band's limits
    eq->GetBand(&got);
    EXPECT_EQ(got.freq, 20000.0f);
    EXPECT_EQ(got.gain, -24.0f);
    eq->OnMouseUp(0, 0, &left);

    // A right drag changes the width in tenths, within the band's limits.
    eq->SetBand(Band(2, IParaGraphicEqBand::kPeak, 640, 0, 1));
    DrawAlone(eq);
    eq->OnMouseDown(150, 70, &right);
    struct WidthStep {
        int dX, dY;
        float width;
    };
    for (WidthStep w : {WidthStep{0, -1, 1.1f}, {0, -1, 1.15f}, {1, 0, 1.15f}, {0, 1, 1.05f}, {-1, 0, 0.95f},
                        {0, 0, 0.95f}, {-1, 5, 0.85f}}) {
        eq->OnMouseDrag(150, 70, w.dX, w.dY, &right);
        eq->GetBand(&got);
        EXPECT_NEAR(got.width, w.width, 1e-5) << w.dX << "," << w.dY;
    }
    eq->OnMouseUp(150, 70, &right);
}

TEST_F(EqGraph, BandCountAndIndexesAreChecked) {
    IParaGraphicEqSettings s = Settings(20, 20480);
    s.nBands = 12;
    IParaGraphicEq many(&plug, IRECT(0, 0, 200, 100), -1, s);
    EXPECT_EQ(many.NBands(), IParaGraphicEq::kMaxBands);
    many.SetBand(Band(10, 0, 640, 6, 1));
    many.SetBand(Band(-1, 0, 640, 6, 1));
    IParaGraphicEqBand got;
    many.GetBand(&got);
    EXPECT_EQ(got.freq, 0.0f) << "bands outside the count are ignored";

    s.nBands = 1;
    auto* one = Add(new IParaGraphicEq(&plug, IRECT(0, 0, 200, 100), kParamUnit, s));
    one->SetBand(Band(0, 0, 640, 0, 1));
    DrawAlone(one);
    one->SetValueFromPlug(0.5);
    one->OnMouseDown(100, 50, &left);
    EXPECT_EQ(one->GetValue(), 0.0) << "one band: value 0, not 0/0";
}

TEST_F(EqGraph, CurvesPeakAndShelveWhereTheBandsSit) {
    // 10 octaves over 200 x 96 pixels; +12 dB of +-24 is a quarter of the height up.
    auto* eq = Add(new IParaGraphicEq(&plug, IRECT(0, 0, 200, 96), -1, Settings(20, 20480)));
    struct Case {
        int type;
        float width;
        std::vector<std::pair<int, float>> columns;  // column, expected offset
    };
    const Case cases[] = {
        {IParaGraphicEqBand::kPeak, 1.0f, {{100, -24.0f}, {60, 0.0f}, {140, 0.0f}}},
        // Slope 2: the shelf turns over 0.1 * 2 = 20 % of the width, columns 80 to 120.
        {IParaGraphicEqBand::kLowShelf, 2.0f, {{0, -24.0f}, {80, -24.0f}, {100, -12.0f}, {120, 0.0f}, {199, 0.0f}}},
        {IParaGraphicEqBand::kHighShelf, 2.0f, {{0, 0.0f}, {80, 0.0f}, {100, -12.0f}, {120, -24.0f}, {199, -24.0f}}},
    };
    for (const Case& c : cases) {
        eq->SetBand(Band(0, c.type, 640, 12, c.width));
        DrawAlone(eq);
        for (auto [col, offset] : c.columns)
            EXPECT_NEAR(eq->SummedCurve()[col], offset, 1e-3) << "type " << c.type << " column " << col;
        // Nothing goes past the gain (the peak's right foot dips a hair the other way).
        for (size_t i = 0; i < eq->SummedCurve().size(); ++i) {
            const float v = eq->SummedCurve()[i];
            EXPECT_TRUE(v <= 0.1f && v >= -24.001f) << "type " << c.type << " column " << i << ": " << v;
        }
    }
}

TEST_F(EqGraph, ValueLabelTexts) {
    struct Case {
        int type;
        float freq, gain, width;
        const char* text;
    };
    const Case cases[] = {
        {IParaGraphicEqBand::kPeak, 250, 3, 1, "250.00Hz\n3dB\nQ=1.41"},
        {IParaGraphicEqBand::kPeak, 2500, -4.25f, 2, " 2.50kHz\n-4.25dB\nQ=0.667"},
        {IParaGraphicEqBand::kLowShelf, 999.999f, 0, 0.75f, "1000.00Hz\n0dB\nS=0.9"},
        {IParaGraphicEqBand::kHighShelf, 12000, 12.5f, 1, "12.00kHz\n12.5dB\nS=0.65"},
        {7, 50, 1, 3, "50.00Hz\n1dB\nB=3"},
    };
    for (const Case& c : cases) {
        char text[96];
        IParaGraphicEq::FormatValueLabel(Band(0, c.type, c.freq, c.gain, c.width), text, sizeof text);
        EXPECT_STREQ(text, c.text);
    }
}

// Bands anywhere, of any kind, on graphs of any width: nothing is written outside the
// curves and nothing but finite numbers reaches the drawing.
TEST_F(EqGraph, AnyBandsOnAnyGraphStayInBounds) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> freq(-100.0f, 40000.0f), gain(-60.0f, 60.0f), width(-3.0f, 30.0f);
    std::uniform_int_distribution<int> type(-1, 4);
    IParaGraphicEqSettings s = Settings(20, 12000);
    s.nBands = 4;
    std::snprintf(s.freqLabels, sizeof s.freqLabels, "%s", "0, -5, 25, 50, 1000, 100000");
    std::snprintf(s.gainLabels, sizeof s.gainLabels, "%s", "-90, 0, 90");
    for (int w : {0, 1, 16, 17, 300, 9000}) {
        auto* eq = Add(new IParaGraphicEq(&plug, IRECT(0, 0, w, 200), -1, s));
        for (int round = 0; round < 20; ++round) {
            for (int i = 0; i < 4; ++i) {
                IParaGraphicEqBand b = Band(i, type(rng), freq(rng), gain(rng), width(rng));
                if (round % 5 == 0) b.freq = 0.0f;
                if (round % 7 == 0) b.width = 0.0f;
                eq->SetBand(b);
            }
            DrawAlone(eq);
            ASSERT_EQ(int(eq->SummedCurve().size()), w);
            for (float v : eq->SummedCurve()) ASSERT_TRUE(std::isfinite(v));
            eq->OnMouseDown(w / 2, 100, &left);
            eq->OnMouseDrag(w / 2 + 3, 90, 3, -10, &left);
            eq->OnMouseUp(w / 2 + 3, 90, &left);
        }
        eq->Reset();  // frequency 0 everywhere
        DrawAlone(eq);
    }
}

}  // namespace
