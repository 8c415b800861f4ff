#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "plug/module_standalone.h"
#include "plug/param.h"

TEST(ParamNormalise, ValuesMapThroughShapeAndBack) {
    struct Case { double min, max, shape, value, normalized; } cases[] = {
        {0, 100, 1.0, 25, 0.25},    {-50, 50, 1.0, 0, 0.5},
        {0, 100, 2.0, 25, 0.5},     // sqrt(0.25)
        {0, 100, 0.5, 25, 0.0625},  // 0.25^2
        {0, 100, 1.0, 150, 1.0},    {0, 100, 1.0, -3, 0.0},  // clamped
        {20, 20000, 3.0, 20, 0.0},  {20, 20000, 3.0, 20000, 1.0},
    };
    for (const auto& c : cases) {
        IParam p;
        p.InitDouble("x", c.min, c.min, c.max, 0.0, "", "", c.shape);
        EXPECT_NEAR(p.GetNormalized(c.value), c.normalized, 1e-12) << c.min << ".." << c.max << " ^" << c.shape;
        p.SetNormalized(c.normalized);
        EXPECT_NEAR(p.Value(), std::fmin(std::fmax(c.value, c.min), c.max), 1e-9) << "round trip of " << c.value;
    }
    IParam i, e;
    i.InitInt("transpose", 0, -24, 24);
    e.InitEnum("wave", 0, 7);
    for (int v = -24; v <= 24; ++v) {
        i.SetNormalized(i.GetNormalized(v));
        EXPECT_EQ(i.Value(), v);
        if (v < 0 || v >= 7) continue;
        e.SetNormalized(e.GetNormalized(v) + (v % 2 ? 0.04 : -0.04));  // off-centre still rounds to the step
        EXPECT_EQ(e.Value(), v);
    }
}

// Random ranges, shapes, precisions and inputs, NaN and infinities among them: values
// stay finite and in range, and display texts inside their buffer.
TEST(ParamNormalise, RandomRangesAndInputsStayFiniteInRangeAndInTheBuffer) {
    std::mt19937 rng(20261206);
    auto real = [&] {
        static constexpr double kEdges[] = {NAN, INFINITY, -INFINITY, 1e300, -1e300, 0.0};
        const int k = std::uniform_int_distribution<int>(0, 9)(rng);
        return k < 6 ? kEdges[k] : std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
    };
    for (int i = 0; i < 2000; ++i) {
        IParam p;
        const double lo = std::fmin(real(), 1e300), hi = std::fmax(real(), lo);
        if (!std::isfinite(lo) || !std::isfinite(hi)) continue;
        p.InitDouble("r", lo, lo, hi, std::fabs(real()), "", "", real());
        p.SetDisplayPrecision(std::uniform_int_distribution<int>(-5, 400)(rng));
        p.SetNormalized(real());
        EXPECT_TRUE(std::isfinite(p.Value()) && p.Value() >= lo && p.Value() <= hi) << lo << ".." << hi;
        EXPECT_TRUE(std::isfinite(p.GetNormalized(real())));
        std::string text(kParamDisplayTextSize + 16, '#');
        p.GetDisplayForHost(real(), i % 2, text.data(), true);
        EXPECT_LT(std::strlen(text.c_str()), size_t(kParamDisplayTextSize));
        EXPECT_EQ(text.substr(kParamDisplayTextSize), std::string(16, '#'));
    }
}

TEST(ParamDisplay, NumbersTextsAndNegation) {
    IParam ip, dp, neg, texts, big;
    ip.InitInt("level", 0, -100, 100);
    dp.InitDouble("time", 0, 0, 10, 0.01);
    neg.InitInt("depth", 0, -64, 63);
    neg.SetNegateDisplay(true);
    texts.InitEnum("mode", 0, 3, "dB");
    for (auto [v, text] : {std::pair(0, "off"), std::pair(1, ""), std::pair(2, "on")}) texts.SetDisplayText(v, text);
    big.InitDouble("big", 0, -1e30, 1e30, 1.0);
    big.SetDisplayPrecision(0);
    struct Case { const IParam* p; double value; bool normalized, withTexts; const char* text; } cases[] = {
        {&ip, 42.9, false, true, "42"},   {&ip, -42.9, false, true, "-42"}, {&ip, 0.75, true, true, "50"},
        {&dp, 3.14159, false, true, "3.14"},
        {&neg, -3, false, true, "3"},     {&neg, 5, false, true, "-5"},
        {&texts, 0, false, true, "off"},  {&texts, 1, false, true, "1"},  // an empty text falls back to the number
        {&texts, 2, false, false, "2"},   {&texts, 1.0, true, true, "on"},
        {&big, 1e30, false, true, "2147483647"},  // saturated, not undefined
    };
    for (const auto& c : cases) {
        char text[kParamDisplayTextSize];
        c.p->GetDisplayForHost(c.value, c.normalized, text, c.withTexts);
        EXPECT_STREQ(text, c.text) << c.value;
    }
    int value = -1;
    EXPECT_TRUE(texts.MapDisplayText("on", &value) && value == 2 && !texts.MapDisplayText("On", &value));
    EXPECT_EQ(std::string(texts.GetLabelForHost()) + "|" + ip.GetLabelForHost(), "|");  // "off" shows, not "dB"
    texts.Set(1);
    EXPECT_STREQ(texts.GetLabelForHost(), "dB");
}

namespace {

struct RecordingOutput : IMidiOutput {
    std::vector<std::vector<uint8_t>> sent;
    bool accept = true;
    bool SendMessage(const uint8_t* bytes, int size) override {
        sent.emplace_back(bytes, bytes + size);
        return accept;
    }
};

TEST(MidiMessage, NoteBuildersMaskChannelAndDataBytes) {
    struct Case { bool on; int note, velocity, channel; uint8_t status, d1, d2; } cases[] = {
        {true, 60, 100, 0, 0x90, 60, 100},     {true, 60, 100, 15, 0x9f, 60, 100},
        {true, 60, 100, 16, 0x90, 60, 100},    // channel from a broken settings file
        {true, 60, 100, 0x7e, 0x9e, 60, 100},  // never turns into another message type
        {true, 200, 300, 1, 0x91, 200 & 0x7f, 300 & 0x7f},
        {false, 61, 99, 19, 0x83, 61, 0},      {false, 61, 99, -1, 0x8f, 61, 0},
    };
    for (const auto& c : cases) {
        IMidiMessage m;
        c.on ? m.MakeNoteOnMsg(c.note, c.velocity, 7, c.channel) : m.MakeNoteOffMsg(c.note, 7, c.channel);
        EXPECT_EQ(std::tuple(m.status, m.data1, m.data2, m.offset), std::tuple(c.status, c.d1, c.d2, 7)) << c.note;
    }
}

// Each message goes out whole, as one call, and a send that failed is not reported as
// success.
TEST(Standalone, SendsMessagesWholeAndReportsFailedSends) {
    RecordingOutput out;
    IModuleStandalone plug(0, &out), silent(0);
    struct Case { uint8_t status; size_t length; } cases[] = {
        {0x90, 3}, {0xb3, 3}, {0xc0, 2}, {0xd5, 2}, {0xe0, 3}, {0xf8, 1}, {0xf2, 3}, {0xf3, 2}, {0xf1, 2}, {0xfe, 1},
        {0x40, 0},  // a bare data byte is no message
    };
    for (const auto& c : cases) {
        out.sent.clear();
        IMidiMessage m(0, c.status, 1, 2);
        EXPECT_EQ(plug.SendMidiMsg(&m), c.length > 0) << int(c.status);
        const uint8_t wire[] = {c.status, 1, 2};
        EXPECT_EQ(out.sent, std::vector(c.length > 0, std::vector<uint8_t>(wire, wire + c.length))) << int(c.status);
    }
    const uint8_t bytes[] = {0xf0, 0x00, 0x21, 0x11, 0x04, 0x02, 0x72, 0x00, 0xf7};
    ISysExMessage sysex(0, bytes, int(sizeof bytes)), empty(0, nullptr, 4), negative(0, bytes, -1);
    IMidiMessage noteOn(0, 0x90, 60, 1);
    out.sent.clear();
    EXPECT_EQ(std::vector<bool>({plug.SendSysEx(&sysex), plug.SendSysEx(&empty), plug.SendSysEx(&negative),
                                 silent.SendSysEx(&sysex), silent.SendMidiMsg(&noteOn)}),
              std::vector<bool>({true, false, false, false, false}));
    EXPECT_EQ(out.sent, std::vector<std::vector<uint8_t>>{std::vector<uint8_t>(bytes, bytes + sizeof bytes)});
    out.accept = false;
    EXPECT_FALSE(plug.SendSysEx(&sysex) || plug.SendMidiMsg(&noteOn));
}

}  // namespace
