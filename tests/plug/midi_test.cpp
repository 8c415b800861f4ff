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
        EXPECT_EQ(std::vector<int>({m.mStatus, m.mData1, m.mData2, m.mOffset}), std::vector<int>({c.status, c.d1, c.d2, 7}))
            << c.channel;
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
        EXPECT_EQ(out.sent, (c.length ? std::vector<std::vector<uint8_t>>{{wire, wire + c.length}}
                                       : std::vector<std::vector<uint8_t>>{})) << int(c.status);
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
