#include "plug/midi_message.h"

namespace {

// A channel above 15 (it can come from the settings file) must not spill into the
// message type nibble, and a data byte must stay below 0x80 or the receiver takes
// it for a status byte.
uint8_t Status(int type, int channel) { return uint8_t(type | (channel & 0x0f)); }
uint8_t DataByte(int v) { return uint8_t(v & 0x7f); }

}  // namespace

void IMidiMessage::MakeNoteOnMsg(int note, int velocity, int offset, int channel) {
    mOffset = offset;
    mStatus = Status(0x90, channel);
    mData1 = DataByte(note);
    mData2 = DataByte(velocity);
}

void IMidiMessage::MakeNoteOffMsg(int note, int offset, int channel) {
    mOffset = offset;
    mStatus = Status(0x80, channel);
    mData1 = DataByte(note);
    mData2 = 0;
}

int IMidiMessage::WireLength() const {
    if (mStatus < 0x80) return 0;
    if (mStatus < 0xf0) {
        const int type = mStatus & 0xf0;
        return type == 0xc0 || type == 0xd0 ? 2 : 3;
    }
    switch (mStatus) {
    case 0xf1:
    case 0xf3:
        return 2;
    case 0xf2:
        return 3;
    default:
        return 1;
    }
}
