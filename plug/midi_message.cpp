#include "plug/midi_message.h"

namespace {

// A channel above 15 (it can come from the settings file) must not spill into the
// message type nibble, and a data byte must stay below 0x80 or the receiver takes
// it for a status byte.
uint8_t Status(int type, int channel) { return uint8_t(type | (channel & 0x0f)); }
uint8_t DataByte(int v) { return uint8_t(v & 0x7f); }

}  // namespace

void IMidiMessage::MakeNoteOnMsg(int note, int velocity, int sampleOffset, int channel) {
    offset = sampleOffset;
    status = Status(0x90, channel);
    data1 = DataByte(note);
    data2 = DataByte(velocity);
}

void IMidiMessage::MakeNoteOffMsg(int note, int sampleOffset, int channel) {
    offset = sampleOffset;
    status = Status(0x80, channel);
    data1 = DataByte(note);
    data2 = 0;
}

int IMidiMessage::WireLength() const {
    if (status < 0x80) return 0;
    if (status < 0xf0) {
        const int type = status & 0xf0;
        return type == 0xc0 || type == 0xd0 ? 2 : 3;
    }
    switch (status) {
    case 0xf1:
    case 0xf3:
        return 2;
    case 0xf2:
        return 3;
    default:
        return 1;
    }
}
