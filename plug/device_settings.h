// The shell's MIDI device choice: port names as settings.ini stores them ("off" for
// none) and the channels of the preferences, which last only while the program runs.
#pragma once

#include <cstring>

inline constexpr int kDeviceNameSize = 100;
inline constexpr const char* kDeviceOff = "off";

struct DeviceSettings {
    char inDevice[kDeviceNameSize] = "off";   // the instrument's input
    char inBDevice[kDeviceNameSize] = "off";  // the keyboard's input
    char outDevice[kDeviceNameSize] = "off";  // to the instrument
    int inChannel = 0;
    int inBChannel = 0;
    int outChannel = 0;

    bool OutputIsOff() const { return std::strcmp(outDevice, kDeviceOff) == 0; }
};
