#include "app/midi_ports.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <iostream>
#include <sstream>

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
    QuietMidiLibraries() : saved_(std::cerr.rdbuf(sink_.rdbuf())) {
        snd_lib_error_set_handler(&QuietMidiLibraries::DropAlsaMessage);
    }
    ~QuietMidiLibraries() {
        snd_lib_error_set_handler(nullptr);
        std::cerr.rdbuf(saved_);
    }
    QuietMidiLibraries(const QuietMidiLibraries&) = delete;
    QuietMidiLibraries& operator=(const QuietMidiLibraries&) = delete;

private:
    static void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
    std::ostringstream sink_;
    std::streambuf* saved_;
};

}  // namespace

void MidiErrorLog::Report(const std::string& what) {
    if (count_++ == 0) out_ << "MIDI unavailable, treated as \"off\": " << what << std::endl;
}

int FindPort(const std::vector<std::string>& ports, const std::string& name) {
    if (name.empty() || name == kDeviceOff) return -1;
    auto it = std::find(ports.begin(), ports.end(), name);
    return it == ports.end() ? -1 : int(it - ports.begin());
}

MidiOutputPort::MidiOutputPort(MidiErrorLog* log) : log_(log) {}

MidiOutputPort::~MidiOutputPort() { Close(); }

bool MidiOutputPort::Create() {
    if (out_) return true;
    std::string failure;
    {
        QuietMidiLibraries quiet;
        try {
            out_ = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kOutputClient);
            out_->setErrorCallback(OnRtMidiError, log_);
        } catch (const RtMidiError& e) {
            out_.reset();
            failure = e.getMessage();
        }
    }
    if (!out_) log_->Report(failure);
    return out_ != nullptr;
}

std::vector<std::string> MidiOutputPort::PortNames() {
    std::vector<std::string> names;
    if (!Create()) return names;
    try {
        const unsigned n = out_->getPortCount();
        for (unsigned i = 0; i < n; ++i) names.push_back(out_->getPortName(i));
    } catch (const RtMidiError& e) {
        log_->Report(e.getMessage());
    }
    return names;
}

bool MidiOutputPort::Open(const std::string& name) {
    Close();
    if (name == kDeviceOff) return false;
    const int index = FindPort(PortNames(), name);
    if (index < 0 || !out_) return false;
    try {
        out_->openPort(unsigned(index), kOutputClient);
        open_ = out_->isPortOpen();
    } catch (const RtMidiError& e) {
        log_->Report(e.getMessage());
        open_ = false;
    }
    return open_;
}

void MidiOutputPort::Close() {
    if (out_ && open_) {
        try {
            out_->closePort();
        } catch (const RtMidiError& e) {
            log_->Report(e.getMessage());
        }
    }
    open_ = false;
}

bool MidiOutputPort::SendMessage(const uint8_t* bytes, int size) {
    if (!open_ || !out_ || !bytes || size <= 0) return false;
    try {
        out_->sendMessage(bytes, size_t(size));
        return true;
    } catch (const RtMidiError& e) {
        log_->Report(e.getMessage());
        return false;
    }
}

MidiInputPort::MidiInputPort(MidiErrorLog* log, MidiInputHandler handler) : log_(log), handler_(std::move(handler)) {}

MidiInputPort::~MidiInputPort() { Close(); }

bool MidiInputPort::Create() {
    if (in_) return true;
    std::string failure;
    {
        QuietMidiLibraries quiet;
        try {
            in_ = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, kInputClient, kInputQueueLimit);
            in_->setErrorCallback(OnRtMidiError, log_);
        } catch (const RtMidiError& e) {
            in_.reset();
            failure = e.getMessage();
        }
    }
    if (!in_) log_->Report(failure);
    return in_ != nullptr;
}

std::vector<std::string> MidiInputPort::PortNames() {
    std::vector<std::string> names;
    if (!Create()) return names;
    try {
        const unsigned n = in_->getPortCount();
        for (unsigned i = 0; i < n; ++i) names.push_back(in_->getPortName(i));
    } catch (const RtMidiError& e) {
        log_->Report(e.getMessage());
    }
    return names;
}

bool MidiInputPort::Open(const std::string& name) {
    Close();
    if (name == kDeviceOff) return false;
    const int index = FindPort(PortNames(), name);
    if (index < 0 || !in_) return false;
    try {
        in_->setCallback(&MidiInputPort::Callback, this);
        in_->ignoreTypes(false, false, true);
        in_->openPort(unsigned(index), kInputClient);
        open_ = in_->isPortOpen();
    } catch (const RtMidiError& e) {
        log_->Report(e.getMessage());
        open_ = false;
    }
    return open_;
}

void MidiInputPort::Close() {
    if (!in_ || !open_) return;
    try {
        in_->cancelCallback();
        in_->closePort();
    } catch (const RtMidiError& e) {
        log_->Report(e.getMessage());
    }
    open_ = false;
}

void MidiInputPort::Callback(double, std::vector<unsigned char>* message, void* self) {
    auto* port = static_cast<MidiInputPort*>(self);
    if (message && !message->empty() && port->handler_) port->handler_(message->data(), int(message->size()));
}

}  // namespace qdapp
