// The standalone-application form of the plug-in: no host to inform, MIDI through
// the shell's output port, and the main window resized with the GUI.
#pragma once

#include <cstdint>

#include "plug/module_base.h"

// The shell's MIDI output port. A short message or a whole System Exclusive
// message goes out as one call; the answer is false when nothing could be sent.
class IMidiOutput {
public:
    virtual ~IMidiOutput() = default;
    virtual bool SendMessage(const uint8_t* bytes, int size) = 0;
};

// The shell's main window: its content area in screen pixels, origin top-left.
class IStandaloneWindow {
public:
    virtual ~IStandaloneWindow() = default;
    virtual bool GetRect(int* left, int* top, int* right, int* bottom) = 0;
    virtual void SetPosition(int x, int y, int width, int height) = 0;
};

class IModuleStandalone : public IModuleBase {
public:
    IModuleStandalone(int nParams, IMidiOutput* midiOut = nullptr);

    // Neither the output nor the window is owned.
    void SetMainWindow(IStandaloneWindow* window) { mMainWindow = window; }

    // There is no host in the standalone form.
    void InformHostOfParamChange(int /*paramIdx*/, double /*normalizedValue*/) override {}
    void BeginInformHostOfParamChange(int /*paramIdx*/) override {}
    void EndInformHostOfParamChange(int /*paramIdx*/) override {}

    void ResizeGraphics(int width, int height) override;
    bool SendMidiMsg(IMidiMessage* msg) override;
    bool SendSysEx(ISysExMessage* msg) override;

    // Called after the main window took the new GUI size.
    virtual void OnWindowResize() {}

private:
    IMidiOutput* mMidiOut = nullptr;
    IStandaloneWindow* mMainWindow = nullptr;
};
