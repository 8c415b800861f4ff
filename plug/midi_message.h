// MIDI message records the plug-in sends and receives.
#pragma once

#include <cstdint>

struct IMidiMessage {
    int32_t offset = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;

    IMidiMessage() = default;
    IMidiMessage(int sampleOffset, uint8_t statusByte, uint8_t dataByte1, uint8_t dataByte2)
        : offset(sampleOffset), status(statusByte), data1(dataByte1), data2(dataByte2) {}

    void MakeNoteOnMsg(int note, int velocity, int sampleOffset, int channel = 0);
    void MakeNoteOffMsg(int note, int sampleOffset, int channel = 0);

    // Bytes on the wire for this status (1 to 3); 0 for a data byte in place of a status.
    int WireLength() const;
};

// A System Exclusive message (F0 ... F7), or a single clock byte 0xF8 passed on from
// the keyboard input. The record does not own the bytes.
struct ISysExMessage {
    int32_t offset = 0;
    int32_t size = 0;
    const uint8_t* data = nullptr;

    ISysExMessage() = default;
    ISysExMessage(int sampleOffset, const uint8_t* bytes, int byteCount)
        : offset(sampleOffset), size(byteCount), data(bytes) {}
};
