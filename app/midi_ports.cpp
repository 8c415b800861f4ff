#include "app/midi_ports.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <type_traits>

#include "plug/device_settings.h"

namespace qdapp {

namespace {

// RtMidi's own client names; the system shows them beside the ports we open.
constexpr const char* kInputClient = "RtMidi Input Client";
constexpr const char* kOutputClient = "RtMidi Output Client";
constexpr unsigned kInputQueueLimit = 100;

// Failures come back through the error callback rather than as exceptions escaping
// RtMidi's own threads; warnings go the same way so nothing prints behind our back.
void OnRtMidiError(RtMidiError::Type, const std::string& text, void* log) {
    static_cast<MidiErrorLog*>(log)->Report(text);
}

// RtMidi prints a failure to std::cerr before it throws, and the ALSA library prints
// its own line before that; the one report of MidiErrorLog replaces both.
class QuietMidiLibraries {
public:
    QuietMidiLibraries() : mSaved(std::cerr.rdbuf(mSink.rdbuf())) {
        snd_lib_error_set_handler(&QuietMidiLibraries::DropAlsaMessage);
    }
    ~QuietMidiLibraries() {
        snd_lib_error_set_handler(nullptr);
        std::cerr.rdbuf(mSaved);
    }
    QuietMidiLibraries(const QuietMidiLibraries&) = delete;
    QuietMidiLibraries& operator=(const QuietMidiLibraries&) = delete;

private:
    static void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
    std::ostringstream mSink;
    std::streambuf* mSaved;
};

}  // namespace

void MidiErrorLog::Report(const std::string& what) {
    if (mCount++ == 0) mOut << "MIDI unavailable, treated as \"off\": " << what << std::endl;
}

int FindPort(const std::vector<std::string>& ports, const std::string& name) {
    if (name.empty() || name == kDeviceOff) return -1;
    auto it = std::find(ports.begin(), ports.end(), name);
    return it == ports.end() ? -1 : int(it - ports.begin());
}

template <class Api>
MidiPort<Api>::MidiPort(MidiErrorLog* log) : mLog(log) {}

template <class Api>
MidiPort<Api>::~MidiPort() = default;

template <class Api>
bool MidiPort<Api>::Guarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const RtMidiError& e) {
        mLog->Report(e.getMessage());
        return false;
    }
}

template <class Api>
bool MidiPort<Api>::Create() {
    if (mApi) return true;
    std::string failure;
    {
        QuietMidiLibraries quiet;
        try {
            if constexpr (std::is_same_v<Api, RtMidiIn>)
                mApi = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, kInputClient, kInputQueueLimit);
            else
                mApi = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kOutputClient);
            mApi->setErrorCallback(OnRtMidiError, mLog);
        } catch (const RtMidiError& e) {
            mApi.reset();
            failure = e.getMessage();
        }
    }
    if (!mApi) mLog->Report(failure);
    return mApi != nullptr;
}

template <class Api>
std::vector<std::string> MidiPort<Api>::PortNames() {
    std::vector<std::string> names;
    if (!Create()) return names;
    Guarded([&] {
        const unsigned n = mApi->getPortCount();
        for (unsigned i = 0; i < n; ++i) names.push_back(mApi->getPortName(i));
    });
    return names;
}

template <class Api>
bool MidiPort<Api>::Open(const std::string& name) {
    Close();
    if (name == kDeviceOff) return false;
    const int index = FindPort(PortNames(), name);
    if (index < 0 || !mApi) return false;
    // With the error callback set RtMidi reports a failed open there, not by throwing.
    Guarded([&] {
        BeforeOpen();
        mApi->openPort(unsigned(index), std::is_same_v<Api, RtMidiIn> ? kInputClient : kOutputClient);
        mOpen = mApi->isPortOpen();
    });
    return mOpen;
}

template <class Api>
void MidiPort<Api>::Close() {
    if (!mApi || !mOpen) return;
    Guarded([&] {
        BeforeClose();
        mApi->closePort();
    });
    mOpen = false;
}

template class MidiPort<RtMidiIn>;
template class MidiPort<RtMidiOut>;

MidiOutputPort::~MidiOutputPort() { Close(); }

bool MidiOutputPort::SendMessage(const uint8_t* bytes, int size) {
    if (!mOpen || !mApi || !bytes || size <= 0) return false;
    return Guarded([&] { mApi->sendMessage(bytes, size_t(size)); });
}

MidiInputPort::~MidiInputPort() { Close(); }

void MidiInputPort::BeforeOpen() {
    mApi->setCallback(&MidiInputPort::Callback, this);
    mApi->ignoreTypes(false, false, true);
}

void MidiInputPort::BeforeClose() { mApi->cancelCallback(); }

void MidiInputPort::Callback(double, std::vector<unsigned char>* message, void* self) {
    auto* port = static_cast<MidiInputPort*>(self);
    if (message && !message->empty() && port->mHandler) port->mHandler(message->data(), int(message->size()));
}

}  // namespace qdapp
