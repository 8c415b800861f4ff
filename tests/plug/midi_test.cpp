#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "plug/module_standalone.h"

namespace {

struct RecordingOutput : IMidiOutput {
    std::vector<std::vector<uint8_t>> sent;
    bool accept = true;
    bool SendMessage(const uint8_t* bytes, int size) override {
        sent.emplace_back(bytes, bytes + size);
        return accept;
    }
};

struct Plug : IModuleStandalone {
    using IModuleStandalone::IModuleStandalone;
    int resizes = 0;
    void OnWindowResize() override { ++resizes; }
};

struct FakeWindow : IStandaloneWindow {
    int l = 100, t = 50, r = 1240, b = 872;
    int x = 0, y = 0, w = 0, h = 0;
    bool GetRect(int* pl, int* pt, int* pr, int* pb) override {
        *pl = l, *pt = t, *pr = r, *pb = b;
        return true;
    }
    void SetPosition(int px, int py, int pw, int ph) override { x = px, y = py, w = pw, h = ph; }
};

}  // namespace

TEST(MidiMessage, NoteBuildersMaskChannelAndDataBytes) {
    struct Case { bool on; int note, velocity, channel; uint8_t status, d1, d2; } cases[] = {
        {true, 60, 100, 0, 0x90, 60, 100},
        {true, 60, 100, 15, 0x9f, 60, 100},
        {true, 60, 100, 16, 0x90, 60, 100},    // channel from a broken settings file
        {true, 60, 100, 0x7e, 0x9e, 60, 100},  // never turns into another message type
        {true, 200, 300, 1, 0x91, 200 & 0x7f, 300 & 0x7f},
        {false, 61, 99, 3, 0x83, 61, 0},
        {false, 61, 99, 19, 0x83, 61, 0},
        {false, 61, 99, -1, 0x8f, 61, 0},
    };
    for (const auto& c : cases) {
        IMidiMessage m;
        if (c.on)
            m.MakeNoteOnMsg(c.note, c.velocity, 7, c.channel);
        else
            m.MakeNoteOffMsg(c.note, 7, c.channel);
        EXPECT_EQ(m.mStatus, c.status) << c.channel;
        EXPECT_EQ(m.mData1, c.d1);
        EXPECT_EQ(m.mData2, c.d2);
        EXPECT_EQ(m.mOffset, 7);
    }
}

TEST(Standalone, SendsShortMessagesWithTheirWireLength) {
    RecordingOutput out;
    Plug plug(0, &out);
    struct Case { uint8_t status; size_t length; } cases[] = {
        {0x90, 3}, {0xb3, 3}, {0xc0, 2}, {0xd5, 2}, {0xe0, 3}, {0xf8, 1}, {0xf2, 3}, {0xf3, 2},
    };
    for (const auto& c : cases) {
        IMidiMessage m(0, c.status, 1, 2);
        EXPECT_TRUE(plug.SendMidiMsg(&m));
        ASSERT_EQ(out.sent.back().size(), c.length) << int(c.status);
        EXPECT_EQ(out.sent.back()[0], c.status);
    }
    IMidiMessage dataOnly(0, 0x40, 1, 2);
    EXPECT_FALSE(plug.SendMidiMsg(&dataOnly));
    out.accept = false;
    IMidiMessage noteOn;
    noteOn.MakeNoteOnMsg(60, 1, 0, 0);
    EXPECT_FALSE(plug.SendMidiMsg(&noteOn));  // a failed send is not reported as success
}

TEST(Standalone, SysExGoesOutWholeAndFailsWithoutOutput) {
    const uint8_t bytes[] = {0xf0, 0x00, 0x21, 0x11, 0x04, 0x02, 0x72, 0x00, 0xf7};
    ISysExMessage sysex(0, bytes, int(sizeof bytes));
    Plug silent(0);
    EXPECT_FALSE(silent.SendSysEx(&sysex));
    IMidiMessage m;
    m.MakeNoteOnMsg(60, 1, 0, 0);
    EXPECT_FALSE(silent.SendMidiMsg(&m));

    RecordingOutput out;
    Plug plug(0, &out);
    EXPECT_TRUE(plug.SendSysEx(&sysex));
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0], std::vector<uint8_t>(bytes, bytes + sizeof bytes));
    ISysExMessage empty(0, nullptr, 4);
    EXPECT_FALSE(plug.SendSysEx(&empty));
    ISysExMessage negative(0, bytes, -1);
    EXPECT_FALSE(plug.SendSysEx(&negative));
    EXPECT_FALSE(plug.SendSysEx(nullptr));
    EXPECT_EQ(out.sent.size(), 1u);

    // The default input hooks pass messages straight on.
    plug.ProcessSysEx(&sysex);
    plug.ProcessMidiMsg(&m);
    EXPECT_EQ(out.sent.size(), 3u);
}

TEST(Standalone, ResizeKeepsTheBottomEdgeAndAddsTheTitleBar) {
    Plug plug(0);
    plug.ResizeGraphics(570, 400);  // no window yet: only the hook
    EXPECT_EQ(plug.resizes, 1);
    FakeWindow window;
    plug.SetMainWindow(&window);
    plug.ResizeGraphics(570, 400);
    EXPECT_EQ(window.x, 100);
    EXPECT_EQ(window.y, 872 - 22 - 400);
    EXPECT_EQ(window.w, 570);
    EXPECT_EQ(window.h, 422);
    EXPECT_EQ(plug.resizes, 2);
}
