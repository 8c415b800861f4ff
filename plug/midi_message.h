// MIDI message records the plug-in sends and receives.
#pragma once

#include <cstdint>

struct IMidiMessage {
    int32_t mOffset = 0;
    uint8_t mStatus = 0;
    uint8_t mData1 = 0;
    uint8_t mData2 = 0;

    IMidiMessage() = default;
    IMidiMessage(int offset, uint8_t status, uint8_t data1, uint8_t data2)
        : mOffset(offset), mStatus(status), mData1(data1), mData2(data2) {}

    void MakeNoteOnMsg(int note, int velocity, int offset, int channel = 0);
    void MakeNoteOffMsg(int note, int offset, int channel = 0);

    // Bytes on the wire for this status (1 to 3); 0 for a data byte in place of a status.
    int WireLength() const;
};

// A System Exclusive message (F0 ... F7), or a single clock byte 0xF8 passed on from
// the keyboard input. The record does not own the bytes.
struct ISysExMessage {
    int32_t mOffset = 0;
    int32_t mSize = 0;
    const uint8_t* mData = nullptr;

    ISysExMessage() = default;
    ISysExMessage(int offset, const uint8_t* data, int size) : mOffset(offset), mSize(size), mData(data) {}
};
