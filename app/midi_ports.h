// The shell's MIDI ports on RtMidi (ALSA): one output to the instrument and two
// inputs (the instrument, a keyboard). A port is chosen by its name; "off" opens
// nothing. An RtMidi failure (no sequencer, a port gone) is reported once on the
// error stream and the port is then treated as "off"; nothing here throws.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "plug/module_standalone.h"

class RtMidiIn;
class RtMidiOut;

namespace qdapp {

// Every failure leaves its port "off"; the first one is reported, as the reason MIDI
// is off for this run, and the rest only counted.
class MidiErrorLog {
public:
    explicit MidiErrorLog(std::ostream& out) : mOut(out) {}
    void Report(const std::string& what);
    int Count() const { return mCount; }

private:
    std::ostream& mOut;
    int mCount = 0;
};

// What the input and the output port share: the RtMidi object (RtMidiIn or RtMidiOut),
// made on first use, and opening by name.
template <class Api>
class MidiPort {
public:
    virtual ~MidiPort();
    // The ports the system offers; empty when MIDI cannot be had.
    std::vector<std::string> PortNames();
    // Opens the port of that name. False, with nothing open, for "off", an unknown
    // name or a failure.
    bool Open(const std::string& name);
    void Close();
    bool IsOpen() const { return mOpen; }

protected:
    explicit MidiPort(MidiErrorLog* log);
    // Around opening and closing (the input's callback).
    virtual void BeforeOpen() {}
    virtual void BeforeClose() {}
    // Runs `work`, reporting an RtMidi failure; false when it failed.
    bool Guarded(const std::function<void()>& work);

    MidiErrorLog* mLog;
    std::unique_ptr<Api> mApi;
    bool mOpen = false;

private:
    bool Create();
};

extern template class MidiPort<RtMidiIn>;
extern template class MidiPort<RtMidiOut>;

class MidiOutputPort : public MidiPort<RtMidiOut>, public IMidiOutput {
public:
    explicit MidiOutputPort(MidiErrorLog* log) : MidiPort(log) {}
    ~MidiOutputPort() override;
    // Short message or whole System Exclusive message; false while closed.
    bool SendMessage(const uint8_t* bytes, int size) override;
};

// Bytes of one incoming message, on the MIDI thread.
using MidiInputHandler = std::function<void(const uint8_t* bytes, int size)>;

class MidiInputPort : public MidiPort<RtMidiIn> {
public:
    MidiInputPort(MidiErrorLog* log, MidiInputHandler handler) : MidiPort(log), mHandler(std::move(handler)) {}
    ~MidiInputPort() override;

private:
    void BeforeOpen() override;
    // Stops the callback before the port closes.
    void BeforeClose() override;
    static void Callback(double, std::vector<unsigned char>* message, void* self);
    MidiInputHandler mHandler;
};

// The index of `name` among `ports`, or -1; "off" and empty names are never found.
int FindPort(const std::vector<std::string>& ports, const std::string& name);

}  // namespace qdapp
